#include "WindowCallWaiter.h"

#include "TMainForm.h"

#include <QCoreApplication>

bool WindowCallWaiter::keepWaiting() {
    if (!form_.FMoving) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }
    form_.processEvents();
    if (!form_.FStopRequested) {
        return true;
    }
    if (form_.confirm(QStringLiteral("Stop Export?")) == DialogResult::Yes) {
        return false;
    }
    form_.FStopRequested = false;
    return true;
}
