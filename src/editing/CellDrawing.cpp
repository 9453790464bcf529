#include "editing/CellDrawing.h"

#include "document/Languages.h"
#include "document/TranslationTable.h"
#include "measure/TableFindings.h"
#include "measure/TextMeasure.h"
#include "text/CodePage.h"
#include "text/StringUtils.h"

#include <QPainter>

#include <algorithm>

namespace kav {

namespace {

constexpr TColor UntranslatedColour = clYellow;
constexpr TColor TranslatedColour = clWhite;

// Letter case ignored one character at a time, so that positions stay those of the cell text.
QString UpperPerChar(const QString& Text) {
    QString Result = Text;
    for (QChar& C : Result) {
        C = C.toUpper();
    }
    return Result;
}

} // namespace

QRect EdgeRect(int Left, int Top, int Right, int Bottom) {
    if (Right <= Left || Bottom <= Top) {
        return {};
    }
    return QRect(QPoint(Left, Top), QPoint(Right - 1, Bottom - 1));
}

std::string ReplacedTextOfMark(std::string_view Mark) {
    long long P = 0;
    return GetDelimited(P, Mark, '@', '@');
}

TCellDrawing::TCellDrawing(TMainState& State, TStyledStringGrid& Grid, UserInterface& UI,
                           TCellDrawingHooks Hooks)
    : S(State), strGrid(Grid), UI(UI), FHooks(std::move(Hooks)), FMeasure(TTextMeasure::Shared()) {}

QString TCellDrawing::TranslatedText(int ARow) const {
    return DecodeBytes(strGrid.Cells(colTranslated, ARow), TranslatedCodePage(S));
}

void TCellDrawing::DrawCell(int ACol, int ARow) {
    if (ARow <= 1 || DrawFoundRow(ARow) || UpdateVerificationColour(ARow)) {
        return;
    }
    if (ACol < colTranslated || ACol > colReplaced) {
        return;
    }
    const TMyFont RowFont = ApplyRowFont(ARow);
    ReportApproximate(RowFont);
    PaintBand(ARow, RowFont);
    if (ACol == colTranslated) {
        PaintMarker(ARow);
    }
    const std::string_view Mark = strGrid.Cells(colReplaced, ARow);
    if (!Mark.empty()) {
        HighlightFoundText(colTranslated, ARow, ReplacedTextOfMark(Mark));
    }
    AdjustRowHeight(ARow, RowFont);
}

bool TCellDrawing::DrawFoundRow(int ARow) {
    if (ARow != S.FFoundRow || S.FFoundRow < 1) {
        return false;
    }
    const TSearchDialogState Find = FHooks.FindDialog ? FHooks.FindDialog() : TSearchDialogState();
    const TSearchDialogState Replace =
        FHooks.ReplaceDialog ? FHooks.ReplaceDialog() : TSearchDialogState();
    if (Find.Shown) {
        if (!Find.FindText.empty()) {
            HighlightFoundText(S.FFoundCol, S.FFoundRow, Find.FindText);
        }
    } else if (Replace.Shown && !Replace.FindText.empty()) {
        HighlightFoundText(S.FFoundCol, S.FFoundRow, Replace.FindText);
    }
    return true;
}

// True when the colour changed: the grid repaints, and that paint goes on to the band.
bool TCellDrawing::UpdateVerificationColour(int ARow) {
    TStyledGridModel& Grid = strGrid.Model();
    const TItemState State = ItemStateOf(Grid, ARow);
    // An empty row with an empty default text has nothing to compare: its colour stays.
    if (State == TItemState::Empty && Grid.Cells(colDefault, ARow).empty()) {
        return false;
    }
    const TColor Wanted = State == TItemState::Untranslated ? UntranslatedColour : TranslatedColour;
    if (Grid.ColorCell(colTranslated, ARow) == Wanted) {
        return false;
    }
    Grid.SetColorCell(colTranslated, ARow, Wanted);
    return true;
}

// The cell's text, the band and kavtool measure in the same font: the item's own.
TMyFont TCellDrawing::ApplyRowFont(int ARow) {
    TStyledGridModel& Grid = strGrid.Model();
    // A row drawn for the first time gets a font of its own: it keeps the character set the
    // row read until then (the column's).
    const std::uint8_t Charset = Grid.CellFont(colTranslated, ARow).Charset();
    TMyFont& CellFont = Grid.FontCell(colTranslated, ARow);
    if (CellFont.Charset() != Charset)
        CellFont.SetCharset(Charset);
    const TMyFont ForCell = ItemFontOf(Grid, ARow, CellFont);
    AssignChanged(CellFont, ForCell);
    TCanvas& Canvas = strGrid.Canvas();
    Canvas.Font = ItemFontOf(Grid, ARow, Canvas.Font);
    return ForCell;
}

TItemCheck TCellDrawing::CheckRow(int ARow) {
    return CheckItem(strGrid.Model(), ARow, TranslatedCodePage(S), FMeasure);
}

QRect TCellDrawing::BandRect(int ARow) {
    return BandRectOf(ARow, CheckRow(ARow));
}

QRect TCellDrawing::BandRectOf(int ARow, const TItemCheck& Check) {
    const QRect C = strGrid.CellRect(colTranslated, ARow);
    if (C.isEmpty()) {
        return {};
    }
    const int Right = C.left() + C.width();
    const int BandRight = std::min(C.left() + 1 + Check.Allowed, Right);
    return EdgeRect(C.left(), C.top() + 2, BandRight, C.top() + C.height() - 2);
}

void TCellDrawing::PaintBand(int ARow, const TMyFont& RowFont) {
    QPainter* Painter = strGrid.Canvas().Painter();
    if (!Painter) {
        return;
    }
    const TItemCheck Check = CheckRow(ARow);
    const QRect Band = BandRectOf(ARow, Check);
    if (Band.isEmpty()) {
        return;
    }
    TCanvas& Canvas = strGrid.Canvas();
    Canvas.Brush.SetColor(S.FHighlightBackColor);
    Canvas.Font.SetColor(S.FHighlightFontColor);
    Canvas.FillRect(Band);
    Canvas.Font.SetCharset(S.FFontCharset);
    Painter->save();
    Painter->setClipRect(Band, Qt::IntersectClip);
    const QColor TextColour = Canvas.ToQColor(S.FHighlightFontColor);
    FMeasure.Draw(*Painter, Band.left() + 1, Band.top(), Check.Text, RowFont, TextColour);
    if (Check.Approximate) {
        // A dashed right edge: the band's width is only near the product's.
        for (int Y = Band.top(); Y <= Band.bottom(); Y += 4) {
            Painter->fillRect(QRect(Band.right(), Y, 1, std::min(2, Band.bottom() - Y + 1)),
                              TextColour);
        }
    }
    Painter->restore();
}

QRect TCellDrawing::MarkerRect(int ARow) {
    const QRect C = strGrid.CellRect(colTranslated, ARow);
    const int Size = std::min(MarkerSize, C.height());
    const QRect Marker(C.left() + C.width() - Size, C.top(), Size, Size);
    // Never over the band: a band that reaches the corner leaves no room for it.
    if (C.isEmpty() || Marker.intersects(BandRect(ARow))) {
        return {};
    }
    return Marker;
}

void TCellDrawing::PaintMarker(int ARow) {
    QPainter* Painter = strGrid.Canvas().Painter();
    if (!Painter || !FHooks.Findings || !FHooks.Findings->Marked(ARow)) {
        return;
    }
    const QRect M = MarkerRect(ARow);
    if (M.isEmpty()) {
        return;
    }
    const bool Error = FHooks.Findings->MarkedAsError(ARow);
    const QPolygon Corner(
        {M.topLeft(), QPoint(M.right() + 1, M.top()), QPoint(M.right() + 1, M.bottom() + 1)});
    Painter->save();
    Painter->setPen(Qt::NoPen);
    Painter->setBrush(Error ? MarkerErrorColour : MarkerWarningColour);
    Painter->setRenderHint(QPainter::Antialiasing, false);
    Painter->drawPolygon(Corner);
    Painter->restore();
}

std::string TCellDrawing::ApproximateNote(int ARow) {
    const TItemCheck Check = CheckRow(ARow);
    if (Check.Face.Approximate) {
        return "Widths in " + Check.Face.Requested + " are approximate (measured with " +
               Check.Face.Used + ")";
    }
    if (Check.Approximate) {
        return "Widths are approximate: " + Check.Face.Used + " lacks glyphs of this text";
    }
    return {};
}

std::pair<qsizetype, qsizetype> TCellDrawing::HitSpan(int ACol, int ARow, const QString& Cell,
                                                      const std::string& Text) const {
    // The search knows which occurrence it found (a whole word, say, after the same letters
    // inside another word): that one is highlighted while the cell still holds it there.
    const int CodePage = strGrid.CodePageOf(ACol, ARow);
    const std::string_view Bytes = strGrid.Cells(ACol, ARow);
    if (ACol == S.FFoundCol && ARow == S.FFoundRow && S.FFoundPos > 0 && !S.FFoundText.empty()) {
        const size_t At = static_cast<size_t>(S.FFoundPos - 1);
        if (At <= Bytes.size() && Bytes.compare(At, S.FFoundText.size(), S.FFoundText) == 0)
            return {DecodeBytes(std::string_view(Bytes).substr(0, At), CodePage).size(),
                    DecodeBytes(S.FFoundText, CodePage).size()};
    }
    const QString Sought = DecodeBytes(Text, CodePage);
    return {UpperPerChar(Cell).indexOf(UpperPerChar(Sought)), Sought.size()};
}

QRect TCellDrawing::HighlightRect(int ACol, int ARow, const std::string& Text) {
    if (ACol < 1 || ARow < 2 || Text.empty()) {
        return {};
    }
    const QRect C = strGrid.CellRect(ACol, ARow);
    if (C.isEmpty()) {
        return {};
    }
    const QString Cell = strGrid.CellText(ACol, ARow);
    const auto [P, Length] = HitSpan(ACol, ARow, Cell, Text);
    if (P < 0) {
        return {};
    }
    const TMyFont& Font = strGrid.Model().CellFont(ACol, ARow);
    const int WB = FMeasure.Width(Cell.left(P), Font);
    const int WM = FMeasure.Width(Cell.mid(P, Length), Font) + 1;
    const int Right = C.left() + C.width();
    const int Left = C.left() + WB < Right + WM ? C.left() + WB : C.left();
    return EdgeRect(Left, C.top() + 2, std::min(Left + WM, Right), C.top() + C.height() - 2);
}

void TCellDrawing::HighlightFoundText(int ACol, int ARow, const std::string& Text) {
    QPainter* Painter = strGrid.Canvas().Painter();
    if (!Painter) {
        // Only a paint can draw: the found row paints its highlight then.
        strGrid.InvalidateCell(ACol, ARow);
        return;
    }
    const QRect Band = HighlightRect(ACol, ARow, Text);
    if (Band.isEmpty()) {
        return;
    }
    const QString Cell = strGrid.CellText(ACol, ARow);
    const auto [P, Length] = HitSpan(ACol, ARow, Cell, Text);
    const QString Match = Cell.mid(P, Length);
    TCanvas& Canvas = strGrid.Canvas();
    Canvas.Brush.SetColor(clRed);
    Canvas.Font.SetColor(clWhite);
    Canvas.FillRect(Band);
    Canvas.Font.SetCharset(S.FFontCharset);
    Painter->save();
    Painter->setClipRect(Band, Qt::IntersectClip);
    FMeasure.Draw(*Painter, Band.left() + 1, Band.top(), Match, Canvas.Font,
                  Canvas.ToQColor(clWhite));
    Painter->restore();
}

void TCellDrawing::AdjustRowHeight(int ARow, const TMyFont& RowFont) {
    const int H = FMeasure.MeasureText(TranslatedText(ARow), RowFont).Height;
    const int Current = strGrid.RowHeights(ARow);
    if (H + 5 > Current) {
        strGrid.SetRowHeights(ARow, H + 4);
    } else if (Current > strGrid.RowHeights(0)) {
        strGrid.SetRowHeights(ARow, strGrid.RowHeights(0));
    }
}

void TCellDrawing::ReportApproximate(const TMyFont& Font) {
    const TFaceInfo Face = FMeasure.Face(Font);
    if (!Face.Approximate || !FReportedFaces.insert(Face.Requested).second) {
        return;
    }
    UI.SetStatusText(StatusHint, "Widths in " + Face.Requested +
                                     " are approximate (measured with " + Face.Used + ")");
}

} // namespace kav
