#include "WindowCallWaiter.h"

#include "TMainForm.h"

#include <QCoreApplication>

bool WindowCallWaiter::keepWaiting() {
    if (!form_.FMoving) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        return true;
    }
    form_.processEvents();
    if (form_.closeRequested()) {
        return false;
    }
    if (!form_.FStopRequested || form_.stopPresses() == askedPress_) {
        return true;
    }
    askedPress_ = form_.stopPresses();
    return form_.confirm(QStringLiteral("Stop Export?")) != DialogResult::Yes;
}
