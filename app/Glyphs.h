#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>
#include <array>

// A 16 x 16 tool bar glyph from the resources, with an enabled and a greyed
// disabled state, or only the enabled state when twoState is false.
QIcon toolGlyph(const QString& name, bool twoState = true);

// The entries of ImageList1: 0 not connected, 1 connected.
std::array<QPixmap, 2> connectionStateImages();

QPixmap programIcon(int size = 32);
