#pragma once

#include "mover/MoveView.h"

#include <string>

// A move run's view that shows nothing and keeps only the last message, for
// measuring the run itself.
class QuietMoveView : public MoveView {
public:
    void AddMessage(const std::string& text) override { last_ = text; }
    void addMemoLine(const std::string&) override {}
    void addResultLine(const std::string&, bool) override {}
    void clearResults() override {}
    int sourceCount() const override { return 0; }
    bool sourceChecked(int) const override { return false; }
    std::string sourceText(int) const override { return {}; }
    void selectSource(int) override {}
    int countCheckedSources() const override { return 0; }
    void setTablesMaximum(int) override {}
    void setTablesProgress(int) override {}
    int tablesProgress() const override { return 0; }
    int tablesPercentDone() const override { return 0; }
    void setRecordMaximum(int maximum) override { maximum_ = maximum; }
    int recordMaximum() const override { return maximum_; }
    void setRecordPosition(int position) override { position_ = position; }
    int recordPosition() const override { return position_; }
    void setRecordCounterText(const std::string&) override {}
    void setApplicationTitle(const std::string&) override {}
    bool moving() const override { return true; }
    void beginRun() override {}
    void endRun() override {}
    bool stopRequested() const override { return false; }
    void clearStopRequest() override {}
    void processEvents() override {}
    void showError(const std::string&) override {}
    bool confirm(const std::string&) override { return false; }
    void ShowConnectionState(int, bool) override {}

    const std::string& lastMessage() const { return last_; }

private:
    std::string last_;
    int maximum_ = 0;
    int position_ = 0;
};
