#pragma once

#include <QFont>

// The system's dialog font, MS Sans Serif 8 pt, or the nearest sans-serif.
QFont systemDialogFont();
