#pragma once
// A translated cell, painted alike on the grid and on a printed page: the translation in the
// item's own font, the band of the width the product allows with the part of the translation
// that fits drawn in the highlight colours, and the corner marker of a row with findings.
// Only a QPainter: any paint device will do.

#include "document/Items.h"
#include "document/TextChecks.h"
#include "grid/CellProperties.h"
#include "measure/ItemCheck.h"

#include <QColor>
#include <QPainter>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace kav {

class TTextMeasure;

// The finding marker: its side in pixels and its colours.
constexpr int MarkerSize = 7;
inline const QColor MarkerErrorColour{220, 0, 0};
inline const QColor MarkerWarningColour{255, 140, 0};
// The thin line where the text ends once its placeholders hold their samples: in the colour of
// a warning, which is what a filled text running past the band is.
inline const QColor FilledLineColour = MarkerWarningColour;

enum class TCellMarker { None, Warning, Error };
// The marker a row's findings give its translated cell: any that needs attention marks it, in
// the error colour when one of those is an error.
TCellMarker CellMarkerOf(const std::vector<TFinding>& Findings);

// The translated cell's colour: yellow while the text is still the English one, white once
// translated; none (the cell keeps its own) for an empty item with an empty English text,
// which has nothing to compare.
std::optional<TColor> TranslatedCellColour(const TItemView& Item);

// What a translated cell shows over its background.
struct TTranslatedCell {
    QRect Cell;
    QString Text;     // as the cell holds it, one line
    TMyFont Font;     // the item's font, in the cell's character set
    QColor Ink;       // the text's colour outside the band
    TItemCheck Check; // the allowed width and the band's text
    QColor BandBack;
    QColor BandInk;
    TCellMarker Marker = TCellMarker::None;
};

// The text 2 pixels in from the cell's left and top edges (clipped 2 pixels inside the cell),
// then the band, then the marker. The background is the caller's: the grid fills it with its
// selection colours, a page with TranslatedCellColour.
void PaintTranslatedCell(QPainter& Painter, TTextMeasure& Measure, const TTranslatedCell& Cell);

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
