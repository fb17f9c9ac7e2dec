#pragma once

#include <QRect>
#include <QString>
#include <QStringList>
#include <QWidget>

// What the X server and its window manager hold for a window, read with
// xprop and xwininfo, and keys typed through xdotool as a user types them
// into the focused window.
namespace xwindows {

// The text of a UTF-8 string property such as _NET_WM_NAME, or a null string
// when the window has none.
QString textProperty(WId window, const char* property);

// The window with the frame that the window manager put around it
// (_NET_FRAME_EXTENTS); a null rectangle when either is unknown.
QRect frameGeometry(WId window);

// Types the keys (xdotool names: "Tab", "Return", "Escape") into whatever
// window has the keyboard focus.
bool typeKeys(const QStringList& keys);

} // namespace xwindows
