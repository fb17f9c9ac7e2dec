#pragma once

#include "mover/MoveView.h"

#include <QString>
#include <chrono>

class TMainForm;

// The main window as the move run sees it.
class MainFormMoveView : public MoveView {
public:
    explicit MainFormMoveView(TMainForm& form) : form_(form) {}

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
    int tablesProgress() const override;
    int tablesPercentDone() const override;

    void setRecordMaximum(int maximum) override;
    int recordMaximum() const override;
    void setRecordPosition(int position) override;
    int recordPosition() const override;
    void setRecordCounterText(const std::string& text) override;

    void setApplicationTitle(const std::string& title) override;
    void ShowConnectionState(int index, bool target) override;

    bool moving() const override;
    void beginRun() override;
    void endRun() override;
    bool stopRequested() const override;
    void clearStopRequest() override;

    void processEvents() override;
    void showError(const std::string& text) override;
    bool confirm(const std::string& text) override;

private:
    TMainForm& form_;
    std::string lastTitle_;
    // When the next pass of the event loop is due.
    std::chrono::steady_clock::time_point nextPass_;
    // The source item that the run selected last: its result line begins
    // with its name.
    QString selectedTable_;
};
