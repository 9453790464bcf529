#pragma once
// The bridge from the grid's font and colour values to Qt. Fonts follow the Windows height rule
// (a negative height is the em height in pixels at 96 dpi) with full hinting and no kerning, so
// that text widths come out as the product measures them.

#include "grid/CellProperties.h"
#include "grid/Colors.h"

#include <QColor>
#include <QFont>
#include <QPalette>

namespace kav {

QFont BuildFont(const TMyFont& Font);

// System colours take the matching role of Palette; clNone is transparent.
QColor ColorToQColor(TColor Color, const QPalette& Palette);

} // namespace kav
