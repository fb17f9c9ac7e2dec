#pragma once

#include <QString>

// The application title is kept as the application display name. Qt's X11
// platform plugin appends that name to every top-level window title, so the
// title bar and the task bar show "Velbrook — Velbrook 0.1" while the main
// window's own caption stays "Velbrook". Qt does not re-send existing titles
// when the name changes; the main window refreshes its own (TMainForm).
QString applicationTitle();
void setApplicationTitle(const QString& title);

// The title that the window manager receives for a window with this caption,
// composed as the X11 platform plugin of Qt 6 composes it.
QString windowManagerTitle(const QString& caption);
