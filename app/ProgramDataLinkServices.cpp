#include "ProgramDataLinkServices.h"

#include "ApplicationTitle.h"
#include "ErrorReport.h"
#include "MessageDialogs.h"

void ProgramDataLinkServices::ReportError(QWidget* /*parent*/, const QString& text) {
    dialogs_.reportError(programCaption(), errorReportText(text.toStdString()));
}
