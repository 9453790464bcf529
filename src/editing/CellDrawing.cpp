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

TCellDrawing::TCellDrawing(const TDocument& Doc, const TViewState& View, TStyledStringGrid& Grid,
                           UserInterface& UI, TCellDrawingHooks Hooks)
    : Doc(Doc), View(View), strGrid(Grid), UI(UI), FHooks(std::move(Hooks)),
      FMeasure(TTextMeasure::Shared()) {}

QString TCellDrawing::TranslatedText(int ARow) const {
    return DecodeBytes(strGrid.Cells(colTranslated, ARow), TranslatedCodePage(Doc.State()));
}

void TCellDrawing::DrawCell(int ACol, int ARow) {
    if (ARow <= 1 || DrawFoundRow(ARow)) {
        return;
    }
    if (ACol < colTranslated || ACol > colReplaced || !Items().Contains(ItemOfRow(ARow))) {
        return;
    }
    const TMyFont Font = RowFont(ARow);
    strGrid.Canvas().Font =
        LinkedFont(ItemFontOf(Items().View(ItemOfRow(ARow)), strGrid.Canvas().Font));
    ReportApproximate(Font);
    if (ACol == colTranslated) {
        PaintTranslated(ARow, Font);
        PaintMemoryMarker(ARow);
        PaintMisspelt(ARow);
    } else {
        PaintBand(ARow, Font);
    }
    if (!Items().Marks(ItemOfRow(ARow)).empty()) {
        HighlightMarks(ARow);
    }
    AdjustRowHeight(ARow, Font);
}

TSearchDialogState TCellDrawing::OpenDialog() const {
    const TSearchDialogState Find = FHooks.FindDialog ? FHooks.FindDialog() : TSearchDialogState();
    if (Find.Shown) {
        return Find;
    }
    return FHooks.ReplaceDialog ? FHooks.ReplaceDialog() : TSearchDialogState();
}

bool TCellDrawing::DrawsText(int ACol, int ARow) const {
    const TFoundHit Hit = Found();
    return ACol == colTranslated && ARow > 1 && !(Hit.Row >= 1 && ARow == Hit.Row) &&
           Items().Contains(ItemOfRow(ARow));
}

bool TCellDrawing::DrawFoundRow(int ARow) {
    const TFoundHit Hit = Found();
    if (ARow != Hit.Row || Hit.Row < 1) {
        return false;
    }
    const TSearchDialogState Dialog = OpenDialog();
    if (Dialog.Shown && !Dialog.FindText.empty()) {
        HighlightFoundText(Hit.Col, Hit.Row, Dialog.FindText);
    }
    return true;
}

void TCellDrawing::StyleTranslatedCell(int ARow, TMyFont& Font, TMyBrush& Brush) const {
    const TItemId Id = ItemOfRow(ARow);
    if (!Items().Contains(Id)) {
        return;
    }
    const TItemView Item = Items().View(Id);
    Font = LinkedFont(ItemFontOf(Item, Font));
    if (const std::optional<TColor> Colour = TranslatedCellColour(Item)) {
        Brush.SetColor(*Colour);
    }
}

// The cell's text, the band and kavtool measure in the same font: the item's own, in the
// cell's character set.
TMyFont TCellDrawing::RowFont(int ARow) const {
    return strGrid.StyledFont(colTranslated, ARow);
}

TMyFont TCellDrawing::LinkedFont(const TMyFont& Font) const {
    return LinkedFontOf(Font, &ProjectSubstitutes(Doc.State().FProgramDir),
                        Doc.State().FLanguageCode);
}

TItemCheck TCellDrawing::CheckRow(int ARow, int Dpi) {
    // Filled with the project's samples and in the language's face, as the findings measure
    // the row; the screen shows it at the file's own 96 dpi.
    TItemCheckSetting Setting;
    Setting.Samples = &ProjectSamples(Doc.State().FProgramDir);
    Setting.Substitutes = &ProjectSubstitutes(Doc.State().FProgramDir);
    Setting.LanguageCode = Doc.State().FLanguageCode;
    Setting.Dpi = Dpi;
    return CheckItem(Items().View(ItemOfRow(ARow)), TranslatedCodePage(Doc.State()), FMeasure,
                     Setting);
}

QRect TCellDrawing::FilledLineRect(int ARow) {
    const TItemCheck Check = CheckRow(ARow);
    const QRect Cell = strGrid.CellRect(colTranslated, ARow);
    return FilledLineRectIn(Cell, BandRectIn(Cell, Check.Allowed), Check);
}

std::string TCellDrawing::WidthNote(int ARow) {
    // The widths the findings judge, at the product's display setting.
    const TItemCheck Check = CheckRow(ARow, Doc.State().FProductDpi);
    if (!Check.HasSamples)
        return {};
    const std::string At =
        Check.Dpi == BaseDpi ? std::string() : " at " + std::to_string(Check.Dpi) + " dpi";
    return "Width: " + FilledWidthsText(Check) + At;
}

QRect TCellDrawing::BandRect(int ARow) {
    return BandRectOf(ARow, CheckRow(ARow));
}

QRect TCellDrawing::BandRectOf(int ARow, const TItemCheck& Check) {
    return BandRectIn(strGrid.CellRect(colTranslated, ARow), Check.Allowed);
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
    Canvas.Brush.SetColor(View.FHighlightBackColor);
    Canvas.Font.SetColor(View.FHighlightFontColor);
    Canvas.Font.SetCharset(Doc.State().FFontCharset);
    kav::PaintBand(*Painter, FMeasure, Band, Check, RowFont,
                   Canvas.ToQColor(View.FHighlightBackColor),
                   Canvas.ToQColor(View.FHighlightFontColor));
    kav::PaintFilledLine(*Painter,
                         FilledLineRectIn(strGrid.CellRect(colTranslated, ARow), Band, Check));
}

TCellMarker TCellDrawing::MarkerOf(int ARow) {
    if (!FHooks.Findings || !FHooks.Findings->Marked(ARow)) {
        return TCellMarker::None;
    }
    return FHooks.Findings->MarkedAsError(ARow) ? TCellMarker::Error : TCellMarker::Warning;
}

void TCellDrawing::PaintTranslated(int ARow, const TMyFont& RowFont) {
    QPainter* Painter = strGrid.Canvas().Painter();
    if (!Painter) {
        return;
    }
    TCanvas& Canvas = strGrid.Canvas();
    // The grid has filled the cell in its colours (the selection's when selected) and left
    // its text to this drawing, in the colour it chose.
    TTranslatedCell Cell{strGrid.CellRect(colTranslated, ARow),
                         strGrid.CellText(colTranslated, ARow),
                         RowFont,
                         Canvas.ToQColor(Canvas.Font.Color()),
                         CheckRow(ARow),
                         Canvas.ToQColor(View.FHighlightBackColor),
                         Canvas.ToQColor(View.FHighlightFontColor),
                         MarkerOf(ARow)};
    Canvas.Brush.SetColor(View.FHighlightBackColor);
    Canvas.Font.SetColor(View.FHighlightFontColor);
    Canvas.Font.SetCharset(Doc.State().FFontCharset);
    PaintTranslatedCell(*Painter, FMeasure, Cell);
}

QRect TCellDrawing::MarkerRect(int ARow) {
    return MarkerRectIn(strGrid.CellRect(colTranslated, ARow), BandRect(ARow));
}

QRect TCellDrawing::MemoryMarkerRect(int ARow) const {
    const QRect C = strGrid.CellRect(colTranslated, ARow);
    const int Size = std::min(MarkerSize, C.height());
    return C.isEmpty() ? QRect() : QRect(C.left(), C.top() + C.height() - Size, Size, Size);
}

void TCellDrawing::PaintMemoryMarker(int ARow) {
    QPainter* Painter = strGrid.Canvas().Painter();
    if (!Painter || !FHooks.MemoryMatch || !FHooks.MemoryMatch(ARow)) {
        return;
    }
    const QRect M = MemoryMarkerRect(ARow);
    if (M.isEmpty()) {
        return;
    }
    const QPolygon Corner(
        {M.topLeft(), QPoint(M.left(), M.bottom() + 1), QPoint(M.right() + 1, M.bottom() + 1)});
    Painter->save();
    Painter->setPen(Qt::NoPen);
    Painter->setBrush(MemoryMarkerColour);
    Painter->setRenderHint(QPainter::Antialiasing, false);
    Painter->drawPolygon(Corner);
    Painter->restore();
}

std::vector<QRect> TCellDrawing::MisspeltRects(int ARow) {
    std::vector<QRect> Rects;
    if (!FHooks.Findings) {
        return Rects;
    }
    const QRect C = strGrid.CellRect(colTranslated, ARow);
    if (C.isEmpty()) {
        return Rects;
    }
    const std::vector<TSpellWord> Words = FHooks.Findings->MisspeltWords(ARow);
    if (Words.empty()) {
        return Rects;
    }
    // The cell's own text, as HighlightRect places it; the band ends 2 px above the cell's
    // bottom, which leaves the strip the line is drawn in.
    const QString Cell = strGrid.CellText(colTranslated, ARow);
    const TMyFont Font = strGrid.StyledFont(colTranslated, ARow);
    const int Right = C.left() + C.width();
    const int Bottom = C.top() + C.height();
    for (const TSpellWord& W : Words) {
        const int Left = C.left() + FMeasure.Width(Cell.left(W.Span.Start), Font);
        const int End =
            std::min(Left + FMeasure.Width(Cell.mid(W.Span.Start, W.Span.Length), Font) + 1, Right);
        if (Left < End) {
            Rects.push_back(EdgeRect(Left, Bottom - 2, End, Bottom));
        }
    }
    return Rects;
}

void TCellDrawing::PaintMisspelt(int ARow) {
    QPainter* Painter = strGrid.Canvas().Painter();
    if (!Painter) {
        return;
    }
    const std::vector<QRect> Rects = MisspeltRects(ARow);
    if (Rects.empty()) {
        return;
    }
    Painter->save();
    Painter->setRenderHint(QPainter::Antialiasing, false);
    for (const QRect& R : Rects) {
        // Two pixels up, two down: a wave in the strip's two rows.
        for (int X = R.left(); X <= R.right(); ++X) {
            const int Y = (X - R.left()) / 2 % 2 == 0 ? R.top() : R.bottom();
            Painter->fillRect(QRect(X, Y, 1, 1), MisspeltColour);
        }
    }
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
    const TFoundHit Hit = Found();
    if (ACol == Hit.Col && ARow == Hit.Row && Hit.Pos > 0 && !Hit.Text.empty()) {
        const size_t At = static_cast<size_t>(Hit.Pos - 1);
        if (At <= Bytes.size() && Bytes.compare(At, Hit.Text.size(), Hit.Text) == 0)
            return {DecodeBytes(std::string_view(Bytes).substr(0, At), CodePage).size(),
                    DecodeBytes(Hit.Text, CodePage).size()};
    }
    const QString Sought = DecodeBytes(Text, CodePage);
    return {UpperPerChar(Cell).indexOf(UpperPerChar(Sought)), Sought.size()};
}

std::vector<TCellDrawing::TSpan> TCellDrawing::MarkSpans(int ARow, const QString& Cell) const {
    std::vector<TSpan> Spans;
    const TReplacements& Marks = Items().Marks(ItemOfRow(ARow));
    if (Marks.empty()) {
        return Spans;
    }
    const std::string_view Bytes = strGrid.Cells(colTranslated, ARow);
    const int CodePage = strGrid.CodePageOf(colTranslated, ARow);
    if (Bytes == Marks.back().After) {
        for (const TByteSpan& Replaced : ReplacedSpans(Marks.back())) {
            Spans.push_back(
                {DecodeBytes(Bytes.substr(0, Replaced.Start), CodePage).size(),
                 DecodeBytes(Bytes.substr(Replaced.Start, Replaced.Length), CodePage).size()});
        }
    }
    if (Spans.empty() && !Marks.back().New.empty()) {
        const auto [P, Length] = HitSpan(colTranslated, ARow, Cell, Marks.back().New);
        if (P >= 0) {
            Spans.push_back({P, Length});
        }
    }
    return Spans;
}

void TCellDrawing::HighlightMarks(int ARow) {
    if (!strGrid.Canvas().Painter()) {
        strGrid.InvalidateCell(colTranslated, ARow);
        return;
    }
    const QString Cell = strGrid.CellText(colTranslated, ARow);
    for (const TSpan& Span : MarkSpans(ARow, Cell)) {
        HighlightSpan(colTranslated, ARow, Cell, Span);
    }
}

QRect TCellDrawing::SpanRect(int ACol, int ARow, const QString& Cell, TSpan Span) {
    const QRect C = strGrid.CellRect(ACol, ARow);
    if (C.isEmpty() || Span.Start < 0) {
        return {};
    }
    const TMyFont Font = strGrid.StyledFont(ACol, ARow);
    const int WB = FMeasure.Width(Cell.left(Span.Start), Font);
    const int WM = FMeasure.Width(Cell.mid(Span.Start, Span.Length), Font) + 1;
    const int Right = C.left() + C.width();
    const int Left = C.left() + WB < Right + WM ? C.left() + WB : C.left();
    return EdgeRect(Left, C.top() + 2, std::min(Left + WM, Right), C.top() + C.height() - 2);
}

QRect TCellDrawing::HighlightRect(int ACol, int ARow, const std::string& Text) {
    if (ACol < 1 || ARow < 2 || Text.empty()) {
        return {};
    }
    const QString Cell = strGrid.CellText(ACol, ARow);
    const auto [P, Length] = HitSpan(ACol, ARow, Cell, Text);
    return SpanRect(ACol, ARow, Cell, {P, Length});
}

void TCellDrawing::HighlightFoundText(int ACol, int ARow, const std::string& Text) {
    if (!strGrid.Canvas().Painter()) {
        // Only a paint can draw: the found row paints its highlight then.
        strGrid.InvalidateCell(ACol, ARow);
        return;
    }
    if (ACol < 1 || ARow < 2 || Text.empty()) {
        return;
    }
    const QString Cell = strGrid.CellText(ACol, ARow);
    const auto [P, Length] = HitSpan(ACol, ARow, Cell, Text);
    HighlightSpan(ACol, ARow, Cell, {P, Length});
}

void TCellDrawing::HighlightSpan(int ACol, int ARow, const QString& Cell, TSpan Span) {
    const QRect Band = SpanRect(ACol, ARow, Cell, Span);
    if (Band.isEmpty()) {
        return;
    }
    const QString Match = Cell.mid(Span.Start, Span.Length);
    QPainter* Painter = strGrid.Canvas().Painter();
    TCanvas& Canvas = strGrid.Canvas();
    Canvas.Brush.SetColor(clRed);
    Canvas.Font.SetColor(clWhite);
    Canvas.FillRect(Band);
    Canvas.Font.SetCharset(Doc.State().FFontCharset);
    Painter->save();
    Painter->setClipRect(Band, Qt::IntersectClip);
    FMeasure.Draw(*Painter, Band.left() + 1, Band.top(), Match, Canvas.Font,
                  Canvas.ToQColor(clWhite));
    Painter->restore();
}

std::vector<TCellDrawing::TSpan> TCellDrawing::EditorHighlights(int ACol, int ARow) const {
    std::vector<TSpan> Spans;
    const TItemId Id = ItemOfRow(ARow);
    if (!Items().Contains(Id)) {
        return Spans;
    }
    const QString Cell = strGrid.CellText(ACol, ARow);
    auto Add = [&](const std::string& Text) {
        if (Text.empty()) {
            return;
        }
        const auto [P, Length] = HitSpan(ACol, ARow, Cell, Text);
        if (P >= 0) {
            Spans.push_back({P, Length});
        }
    };
    if (ACol == colTranslated) {
        for (const TSpan& Span : MarkSpans(ARow, Cell)) {
            Spans.push_back(Span);
        }
    }
    const TFoundHit Hit = Found();
    const TSearchDialogState Dialog = OpenDialog();
    if (Dialog.Shown && Hit.Row == ARow && Hit.Col == ACol) {
        Add(Dialog.FindText);
    }
    return Spans;
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
