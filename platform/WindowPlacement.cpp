#include "WindowPlacement.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace {

QRect centredOn(const QSize& size, const QRect& area) {
    QRect frame(QPoint(0, 0), size);
    frame.moveCenter(area.center());
    return frame;
}

// Moved onto the screen; one larger than the screen keeps its top left
// corner, with the caption and the first controls, on it.
QRect onScreen(QRect frame, const QRect& screen) {
    frame.moveLeft(std::clamp(frame.left(), screen.left(),
                              std::max(screen.left(), screen.right() + 1 - frame.width())));
    frame.moveTop(std::clamp(frame.top(), screen.top(),
                             std::max(screen.top(), screen.bottom() + 1 - frame.height())));
    return frame;
}

QMargins knownMargins(const QWidget& window) {
    const QWindow* handle = window.windowHandle();
    return handle != nullptr && handle->isExposed() ? handle->frameMargins() : QMargins();
}

// Before the window manager has framed a window, the frame of another framed
// window is the best guess of its own.
QMargins guessedMargins(const QWidget& window) {
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other != &window && other->isVisible()) {
            const QMargins margins = knownMargins(*other);
            if (!margins.isNull()) {
                return margins;
            }
        }
    }
    return {};
}

class WindowPlacer : public QObject {
public:
    WindowPlacer(QWidget& window, Placement placement, const QWidget* other)
        : QObject(&window), window_(window), placement_(placement), other_(other) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_) {
            // A window restored from its icon stays where the user left it.
            if (!event->spontaneous()) {
                windowEvent(event->type());
            }
        } else if (watched == handle_ && event->type() == QEvent::Expose) {
            // Framed: place again when the frame differs from the one counted.
            const QMargins margins = knownMargins(window_);
            if (!margins.isNull() && margins != counted_) {
                place(margins);
            }
        }
        return false;
    }

private:
    void windowEvent(QEvent::Type type) {
        switch (type) {
        case QEvent::Show:
            watchHandle();
            showing_ = true;
            place(guessedMargins(window_));
            break;
        case QEvent::Resize:
            // A dialog may settle its size while it is being shown.
            if (showing_ && !exposed()) {
                place(counted_);
            }
            break;
        case QEvent::Hide:
            showing_ = false;
            break;
        default:
            break;
        }
    }

    bool exposed() const { return handle_ != nullptr && handle_->isExposed(); }

    void watchHandle() {
        QWindow* handle = window_.windowHandle();
        if (handle != handle_) {
            handle_ = handle;
            if (handle_ != nullptr) {
                handle_->installEventFilter(this);
            }
        }
    }

    void place(const QMargins& margins) {
        counted_ = margins;
        const QScreen* screen = window_.screen();
        if (screen == nullptr) {
            return;
        }
        // A window larger than the screen's free area shrinks to it, as far
        // as it can.
        const QRect area = screen->availableGeometry();
        const QSize fitting = window_.size()
                                  .boundedTo(area.size().shrunkBy(margins))
                                  .expandedTo(window_.minimumSize());
        if (fitting != window_.size()) {
            window_.resize(fitting);
        }
        const QSize frameSize = window_.size().grownBy(margins);
        QRect otherFrame;
        if (other_ != nullptr && other_->isVisible()) {
            otherFrame = other_->window()->frameGeometry();
        }
        const QRect frame = placedFrame(placement_, frameSize, area, otherFrame);
        window_.setGeometry(
            QRect(frame.topLeft() + QPoint(margins.left(), margins.top()), window_.size()));
    }

    QWidget& window_;
    Placement placement_;
    QPointer<const QWidget> other_;
    QPointer<QWindow> handle_;
    QMargins counted_;
    bool showing_ = false;
};

} // namespace

void keepPlaced(QWidget& window, Placement placement, const QWidget* other) {
    new WindowPlacer(window, placement, other);
}

QRect placedFrame(Placement placement, const QSize& frameSize, const QRect& screen,
                  const QRect& otherFrame) {
    if (placement == Placement::ScreenCentre || otherFrame.isNull()) {
        return onScreen(centredOn(frameSize, screen), screen);
    }
    QRect frame = onScreen(centredOn(frameSize, otherFrame), screen);
    if (placement == Placement::BesideWindow) {
        QRect right = frame;
        right.moveLeft(otherFrame.right() + 1);
        QRect left = frame;
        left.moveRight(otherFrame.left() - 1);
        for (QRect beside : {right, left}) {
            beside.moveTop(
                std::clamp(beside.top(), screen.top(),
                           std::max(screen.top(), screen.bottom() + 1 - frameSize.height())));
            if (screen.contains(beside)) {
                return beside;
            }
        }
    }
    return frame;
}
