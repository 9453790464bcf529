#pragma once
// What a translated cell shows beyond its text, painted alike on the grid and on a printed
// page: the band of the width the product allows, with the part of the translation that fits
// drawn in the highlight colours, and the corner marker of a row with findings.

#include "grid/CellProperties.h"
#include "measure/ItemCheck.h"

#include <QColor>
#include <QPainter>
#include <QRect>

namespace kav {

class TTextMeasure;

// The finding marker: its side in pixels and its colours.
constexpr int MarkerSize = 7;
inline const QColor MarkerErrorColour{220, 0, 0};
inline const QColor MarkerWarningColour{255, 140, 0};
// The thin line where the text ends once its placeholders hold their samples: in the colour of
// a warning, which is what a filled text running past the band is.
inline const QColor FilledLineColour = MarkerWarningColour;

// The band in a cell: from its left edge as wide as Allowed (and the cell) permits, 2 pixels
// in from the top and bottom; empty for an empty cell.
QRect BandRectIn(const QRect& Cell, int Allowed);
// Fills the band with Back and draws the translation of Check in Font and Text over it, clipped
// to the band; a dashed right edge when the widths are only approximate.
void PaintBand(QPainter& Painter, TTextMeasure& Measure, const QRect& Band, const TItemCheck& Check,
               const TMyFont& Font, const QColor& Back, const QColor& Text);
// The line at the filled width of a text with placeholders: one pixel wide, as high as the band,
// where the filled text would end; empty without placeholders or when that is past the cell.
QRect FilledLineRectIn(const QRect& Cell, const QRect& Band, const TItemCheck& Check);
void PaintFilledLine(QPainter& Painter, const QRect& Line);
// The marker in the cell's top right corner; empty when the band reaches it.
QRect MarkerRectIn(const QRect& Cell, const QRect& Band);
void PaintMarker(QPainter& Painter, const QRect& Marker, bool Error);

} // namespace kav
