#include "MoveRun.h"

#include "TableMover.h"

namespace {

// Back to idle however the run ends.
class RunGuard {
public:
    explicit RunGuard(MoveView& view) : view_(view) { view_.beginRun(); }
    ~RunGuard() { view_.endRun(); }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;

private:
    MoveView& view_;
};

} // namespace

void btnMoverClick(MoveContext& context, MoveView& view) {
    if (view.moving()) {
        view.AddMessage("Moving Data....(Request: Execute)");
        return;
    }
    if (!context.source.Connected() || !context.target.Connected()) {
        view.showError("請先Open Source & Target Connection!");
        return;
    }
    if (view.countCheckedSources() == 0) {
        view.showError("Source table not choice!!");
        return;
    }
    RunGuard running(view);
    view.clearResults();
    view.setTablesMaximum(view.countCheckedSources());
    view.setTablesProgress(0);
    TargetClaims claims;
    for (int i = 0; i < view.sourceCount(); ++i) {
        if (!view.sourceChecked(i)) {
            continue;
        }
        view.setTablesProgress(view.tablesProgress() + 1);
        view.setApplicationTitle("Velbrook 0.1 T:" + std::to_string(view.tablesPercentDone()) +
                                 "%");
        view.selectSource(i);
        view.processEvents();
        if (!MoveTable(context, view, view.sourceText(i), claims)) {
            break;
        }
    }
}
