#include "measure/CellPainting.h"

#include "measure/TableFindings.h"
#include "measure/TextMeasure.h"

#include <QPolygon>

#include <algorithm>

namespace kav {

TCellMarker CellMarkerOf(const std::vector<TFinding>& Findings) {
    TCellMarker Marker = TCellMarker::None;
    for (const TFinding& F : Findings) {
        if (!NeedsAttention(F))
            continue;
        if (F.Severity == TSeverity::Error)
            return TCellMarker::Error;
        Marker = TCellMarker::Warning;
    }
    return Marker;
}

std::optional<TColor> TranslatedCellColour(const TItemView& Item) {
    const TItemState State = ItemStateOf(Item);
    if (State == TItemState::Empty && Item.Default.empty())
        return std::nullopt;
    return State == TItemState::Untranslated ? clYellow : clWhite;
}

void PaintTranslatedCell(QPainter& Painter, TTextMeasure& Measure, const TTranslatedCell& C) {
    if (C.Cell.isEmpty())
        return;
    // The text as the grid writes any cell's text; a translation never holds a line break.
    const QRect TextRect = C.Cell.adjusted(2, 2, -2, -2);
    Painter.save();
    Painter.setClipRect(TextRect, Qt::IntersectClip);
    Measure.Draw(Painter, TextRect.left(), TextRect.top(), C.Text, C.Font, C.Ink);
    Painter.restore();
    const QRect Band = BandRectIn(C.Cell, C.Check.Allowed);
    PaintBand(Painter, Measure, Band, C.Check, C.Font, C.BandBack, C.BandInk);
    PaintFilledLine(Painter, FilledLineRectIn(C.Cell, Band, C.Check));
    if (C.Marker != TCellMarker::None)
        PaintMarker(Painter, MarkerRectIn(C.Cell, Band), C.Marker == TCellMarker::Error);
}

QRect BandRectIn(const QRect& Cell, int Allowed) {
    if (Cell.isEmpty())
        return {};
    const int Right = std::min(Cell.left() + 1 + Allowed, Cell.left() + Cell.width());
    return QRect(Cell.left(), Cell.top() + 2, Right - Cell.left(), Cell.height() - 4);
}

void PaintBand(QPainter& Painter, TTextMeasure& Measure, const QRect& Band, const TItemCheck& Check,
               const TMyFont& Font, const QColor& Back, const QColor& Text) {
    if (Band.isEmpty())
        return;
    Painter.fillRect(Band, Back);
    Painter.save();
    Painter.setClipRect(Band, Qt::IntersectClip);
    Measure.Draw(Painter, Band.left() + 1, Band.top(), Check.Text, Font, Text);
    if (Check.Approximate) {
        // A dashed right edge: the band's width is only near the product's.
        for (int Y = Band.top(); Y <= Band.bottom(); Y += 4)
            Painter.fillRect(QRect(Band.right(), Y, 1, std::min(2, Band.bottom() - Y + 1)), Text);
    }
    Painter.restore();
}

QRect FilledLineRectIn(const QRect& Cell, const QRect& Band, const TItemCheck& Check) {
    if (Band.isEmpty() || !Check.HasSamples)
        return {};
    // The text is drawn from one pixel right of the band's left edge.
    const int X = Band.left() + 1 + Check.Filled;
    if (X >= Cell.left() + Cell.width())
        return {};
    return QRect(X, Band.top(), 1, Band.height());
}

void PaintFilledLine(QPainter& Painter, const QRect& Line) {
    if (!Line.isEmpty())
        Painter.fillRect(Line, FilledLineColour);
}

QRect MarkerRectIn(const QRect& Cell, const QRect& Band) {
    const int Size = std::min(MarkerSize, Cell.height());
    const QRect Marker(Cell.left() + Cell.width() - Size, Cell.top(), Size, Size);
    // Never over the band: a band that reaches the corner leaves no room for it.
    if (Cell.isEmpty() || Marker.intersects(Band))
        return {};
    return Marker;
}

void PaintMarker(QPainter& Painter, const QRect& M, bool Error) {
    if (M.isEmpty())
        return;
    const QPolygon Corner(
        {M.topLeft(), QPoint(M.right() + 1, M.top()), QPoint(M.right() + 1, M.bottom() + 1)});
    Painter.save();
    Painter.setPen(Qt::NoPen);
    Painter.setBrush(Error ? MarkerErrorColour : MarkerWarningColour);
    Painter.setRenderHint(QPainter::Antialiasing, false);
    Painter.drawPolygon(Corner);
    Painter.restore();
}

} // namespace kav
