#include "MoveHandlers.h"

#include "ErrorReport.h"
#include "MainFormMoveView.h"
#include "TMainForm.h"
#include "mover/MoveRun.h"

#include <exception>
#include <memory>

void connectMoveHandlers(TMainForm& form) {
    auto view = std::make_shared<MainFormMoveView>(form);
    form.onMove = [&form, view] {
        MoveContext context{form.ADOConnection1, form.ADOConnection2, form.ADOTable1,
                            form.ADOTable2,      form.ADOQuery1,      form.FTargetTables,
                            form.FTableStatus};
        try {
            btnMoverClick(context, *view);
        } catch (const std::exception& error) {
            // The error report goes with its OK; what ended the run stays in the list.
            form.AddMessage(exceptionMessage(error));
            throw;
        }
    };
}
