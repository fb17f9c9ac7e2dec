#pragma once

#include "ProgramDataLinkServices.h"
#include "connections/ConnectionView.h"
#include "platform/BrowseDataLinkFile.h"

class TMainForm;

// The main window as the opening of connections sees it.
class MainFormConnectionView : public ConnectionView {
public:
    explicit MainFormConnectionView(TMainForm& form);

    TADOConnection& Connection(ConnectionSide side) override;
    void AddMessage(const std::string& text) override;
    void ShowConnectionState(int index, ConnectionSide side) override;
    TStrings& SourceTables() override;
    TStrings& TargetTables() override;
    void EnableSourceSelection() override;
    bool EditConnectionString(TADOConnection& connection) override;

private:
    TMainForm& form_;
    QtFileChooser chooser_;
    ProgramDataLinkServices services_;
};
