#pragma once

#include <string>

// What a move run needs of the window: the source list, the progress
// display, the feedback lists, the title and the dialogs.
class MoveView {
public:
    virtual ~MoveView() = default;

    // The message list; lets the event loop run.
    virtual void AddMessage(const std::string& text) = 0;
    // The move status memo and the result list ("Move Table List").
    virtual void addMemoLine(const std::string& text) = 0;
    virtual void addResultLine(const std::string& text, bool ticked) = 0;
    virtual void clearResults() = 0;

    // The source check list, read as the run reaches each item.
    virtual int sourceCount() const = 0;
    virtual bool sourceChecked(int index) const = 0;
    virtual std::string sourceText(int index) const = 0;
    // Selects and shows an item without running the selection handler.
    virtual void selectSource(int index) = 0;
    virtual int countCheckedSources() const = 0;

    // The tables gauge.
    virtual void setTablesMaximum(int maximum) = 0;
    virtual void setTablesProgress(int progress) = 0;
    virtual int tablesProgress() const = 0;
    virtual int tablesPercentDone() const = 0;

    // The record progress bar; a negative maximum raises.
    virtual void setRecordMaximum(int maximum) = 0;
    virtual int recordMaximum() const = 0;
    virtual void setRecordPosition(int position) = 0;
    virtual int recordPosition() const = 0;
    // Status bar panel 4.
    virtual void setRecordCounterText(const std::string& text) = 0;

    virtual void setApplicationTitle(const std::string& title) = 0;

    // The header image of the source or the target connection: 0 not
    // connected, 1 connected.
    virtual void ShowConnectionState(int index, bool target) = 0;

    // Idle and running: Stop enabled and the busy flag set while running.
    virtual bool moving() const = 0;
    virtual void beginRun() = 0;
    virtual void endRun() = 0;
    virtual bool stopRequested() const = 0;
    virtual void clearStopRequest() = 0;

    virtual void processEvents() = 0;
    virtual void showError(const std::string& text) = 0;
    // Yes or No; true for Yes.
    virtual bool confirm(const std::string& text) = 0;
};

// When Stop was pressed, asks "Stop Export?": true for Yes. No withdraws the
// request, so the run goes on and Stop can be pressed again.
inline bool stopConfirmed(MoveView& view) {
    if (!view.stopRequested()) {
        return false;
    }
    if (view.confirm("Stop Export?")) {
        return true;
    }
    view.clearStopRequest();
    return false;
}
