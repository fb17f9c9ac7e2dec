#include "ErrorReport.h"

#include "ApplicationTitle.h"
#include "MessageDialogs.h"
#include "dbaccess/values/Exceptions.h"

QString errorReportText(const std::string& message) {
    std::string text = message;
    if (!text.empty() && static_cast<unsigned char>(text.back()) > '.') {
        text += '.';
    }
    return QString::fromStdString(text);
}

std::string exceptionMessage(const std::exception& error) {
    if (const auto* own = dynamic_cast<const Exception*>(&error)) {
        return own->Message();
    }
    return error.what();
}

void runHandler(MessageDialogs& dialogs, const std::function<void()>& handler) noexcept {
    std::string message;
    try {
        handler();
        return;
    } catch (const std::exception& error) {
        message = exceptionMessage(error);
    } catch (...) {
        message = "Unknown error";
    }
    try {
        dialogs.reportError(programCaption(), errorReportText(message));
    } catch (...) {
        // Nothing is left to report with; the event loop goes on.
    }
}
