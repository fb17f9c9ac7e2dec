#include "MainFormConnectionView.h"

#include "CheckListBox.h"
#include "TMainForm.h"
#include "connections/EditConnectionString.h"

#include <QToolButton>

MainFormConnectionView::MainFormConnectionView(TMainForm& form)
    : form_(form), services_(chooser_, form.dialogs()) {}

TADOConnection& MainFormConnectionView::Connection(ConnectionSide side) {
    return side == ConnectionSide::Source ? form_.ADOConnection1 : form_.ADOConnection2;
}

void MainFormConnectionView::AddMessage(const std::string& text) {
    form_.AddMessage(text);
}

void MainFormConnectionView::ShowConnectionState(int index, ConnectionSide side) {
    form_.ShowConnectionState(index, side == ConnectionSide::Source ? form_.s1 : form_.s2);
}

TStrings& MainFormConnectionView::SourceTables() {
    return form_.clstSource->Items();
}

TStrings& MainFormConnectionView::TargetTables() {
    return form_.FTargetTables;
}

void MainFormConnectionView::EnableSourceSelection() {
    form_.btnSelectAll->setEnabled(true);
    form_.btnUnSelect->setEnabled(true);
}

bool MainFormConnectionView::EditConnectionString(TADOConnection& connection) {
    return ::EditConnectionString(connection, form_.objectName(), services_);
}
