#pragma once

#include "mover/MoveView.h"

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

// The window of a move run without any window: keeps what the run shows and
// answers its questions from a queue.
class RecordingMoveView : public MoveView {
public:
    struct SourceItem {
        std::string text;
        bool ticked = false;
    };
    struct ResultLine {
        std::string text;
        bool ticked = false;
        bool operator==(const ResultLine&) const = default;
    };

    void AddMessage(const std::string& text) override;
    void addMemoLine(const std::string& text) override;
    void addResultLine(const std::string& text, bool ticked) override;
    void clearResults() override;

    int sourceCount() const override;
    bool sourceChecked(int index) const override;
    std::string sourceText(int index) const override;
    void selectSource(int index) override;
    int countCheckedSources() const override;

    void setTablesMaximum(int maximum) override;
    void setTablesProgress(int progress) override;
    int tablesProgress() const override { return tablesProgress_; }
    int tablesPercentDone() const override;

    void setRecordMaximum(int maximum) override;
    int recordMaximum() const override { return recordMaximum_; }
    void setRecordPosition(int position) override;
    int recordPosition() const override { return recordPosition_; }
    void setRecordCounterText(const std::string& text) override;

    void setApplicationTitle(const std::string& title) override;
    void ShowConnectionState(int index, bool target) override;

    bool moving() const override { return moving_; }
    void beginRun() override;
    void endRun() override;
    bool stopRequested() const override { return stopRequested_; }
    void clearStopRequest() override { stopRequested_ = false; }

    void processEvents() override;
    void showError(const std::string& text) override;
    bool confirm(const std::string& text) override;

    // What the user does: ticks sources and presses Stop.
    void addSource(const std::string& text, bool ticked) { sources.push_back({text, ticked}); }
    void pressStop() { stopRequested_ = true; }

    std::vector<SourceItem> sources;
    std::vector<std::string> messages;
    std::vector<std::string> memo;
    std::vector<ResultLine> results;
    std::vector<std::string> counterTexts;
    std::vector<std::string> titles;
    // Header images shown during the run: {target side, image index}.
    std::vector<std::pair<bool, int>> connectionStates;
    std::vector<std::string> errors;
    std::vector<std::string> questions;
    // Answers to the confirmation questions, Yes as true; No once it is empty.
    std::deque<bool> answers;
    std::vector<int> selections;
    int eventPasses = 0;
    // Runs at every pass of the event loop, where a user could click.
    std::function<void(RecordingMoveView&)> duringEvents;
    int tablesMaximum = 0;
    bool stopEnabled = false;

private:
    int tablesProgress_ = 0;
    int recordMaximum_ = 100;
    int recordPosition_ = 0;
    bool moving_ = false;
    bool stopRequested_ = false;
};
