#pragma once

#include "connections/DataLinkServices.h"

class MessageDialogs;

// The data link services as the program runs them: a failed Browse or Build
// is shown by the default error report, as any failed handler is.
class ProgramDataLinkServices : public StandardDataLinkServices {
public:
    ProgramDataLinkServices(FileChooser& chooser, MessageDialogs& dialogs)
        : StandardDataLinkServices(chooser), dialogs_(dialogs) {}

    void ReportError(QWidget* parent, const QString& text) override;

private:
    MessageDialogs& dialogs_;
};
