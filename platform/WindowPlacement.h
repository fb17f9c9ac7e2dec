#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

// Where a top-level window goes each time it is shown.
enum class Placement {
    // Its frame centred on the screen.
    ScreenCentre,
    // Its frame centred on the frame of another window.
    OverWindow,
    // Its frame right of another window's frame, else left of it, when the
    // screen has room for it there; centred on that window otherwise.
    BesideWindow,
};

// Places the window at each show on the screen's available area, counting
// the frame that the window manager draws around it; a window larger than
// that area shrinks to it as far as its minimum size allows. The frame is known only once the
// window manager has framed the window: until then it is guessed from another framed window, and
// the window is placed again when its own frame turns out different. The window owns what this
// installs; other must outlive the window.
void keepPlaced(QWidget& window, Placement placement, const QWidget* other = nullptr);

// The frame rectangle that a placement gives a window of frameSize, inside
// screen, next to a window whose frame is otherFrame. It never leaves the
// screen; when larger, its top left corner is the screen's.
QRect placedFrame(Placement placement, const QSize& frameSize, const QRect& screen,
                  const QRect& otherFrame = {});
