#pragma once
// What the translation table paints over the grid's own cell painting: the untranslated
// (yellow) and translated (white) colour of the translated text, the row font, the band that
// marks the allowed width with the fitting part of the text in the highlight colours, the
// highlight of a replaced or found text and the row height that follows the row font.
//
// Every value written to the grid while painting is compared first: the grid repaints on each
// change, so only a real change may cause the one repaint that follows it.

#include "document/Document.h"
#include "document/UserInterface.h"
#include "editing/ViewState.h"
#include "gridview/StyledStringGrid.h"
#include "measure/CellPainting.h"
#include "measure/ItemCheck.h"
#include "measure/RowFont.h"

#include <QColor>
#include <QRect>

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kav {

class TTextMeasure;
class TTableFindings;

// A find or replace window as the drawing sees it.
struct TSearchDialogState {
    bool Shown = false;
    std::string FindText; // bytes, in the language's code page
};

// The hit of the last search, as the search state holds it.
struct TFoundHit {
    int Row = 0; // 0: none
    int Col = 0;
    std::string Text;  // in the cell's own letters
    long long Pos = 0; // 1-based byte position in the cell; 0 when not known
};

struct TCellDrawingHooks {
    std::function<TSearchDialogState()> FindDialog;
    std::function<TSearchDialogState()> ReplaceDialog;
    std::function<TFoundHit()> Found;
    // The rows' findings: a marked row gets its marker in the translated cell's corner.
    TTableFindings* Findings = nullptr;
    // The translation memory has the English of the row's untranslated item exactly: the
    // translated cell gets the memory marker in its bottom left corner.
    std::function<bool(int Row)> MemoryMatch;
};

class TCellDrawing {
public:
    TCellDrawing(const TDocument& Doc, const TViewState& View, TStyledStringGrid& Grid,
                 UserInterface& UI, TCellDrawingHooks Hooks);

    void DrawCell(int ACol, int ARow);
    // The cells whose text DrawCell writes itself, with the band over it: the translated cell
    // of an item row, except on the found row, which shows its hit instead.
    bool DrawsText(int ACol, int ARow) const;
    // Highlights the first occurrence of Text (letter case ignored) in the cell, white on red.
    // Outside a paint it asks for the cell to be repainted instead.
    void HighlightFoundText(int ACol, int ARow, const std::string& Text);
    // The translated cell's style: the item's font over the cell's (its character set stays)
    // and yellow for a text still the English one. Computed, never written into the grid.
    void StyleTranslatedCell(int ARow, TMyFont& Font, TMyBrush& Brush) const;
    TMyFont RowFont(int ARow) const;
    void AdjustRowHeight(int ARow, const TMyFont& RowFont);
    // What the editor of the translated cell shows highlighted, as spans of its text: the
    // replaced text of the item's mark, and the hit while a search window is open.
    struct TSpan {
        qsizetype Start = -1;
        qsizetype Length = 0;
    };
    std::vector<TSpan> EditorHighlights(int ACol, int ARow) const;

    // Empty when the row's widths can be trusted; otherwise why not, naming the face that
    // measured: a face that does not reproduce the item font's widths, or a text that needs
    // glyphs the face lacks.
    std::string ApproximateNote(int ARow);

    // The band of a row in viewport coordinates (empty when the row is off screen): as wide as
    // the item check allows the translation.
    QRect BandRect(int ARow);
    // The thin line at the width of the row's text with its placeholders filled (empty when
    // it has none, or the line would be past the cell).
    QRect FilledLineRect(int ARow);
    // "Width: 62 px, 148 px with samples of 140 px allowed" for a text with placeholders, at
    // the product's display setting ("... at 120 dpi"); empty for one without.
    std::string WidthNote(int ARow);
    // The highlight rectangle of Text in the cell, empty when it does not occur.
    QRect HighlightRect(int ACol, int ARow, const std::string& Text);
    // The finding marker of a row: a small triangle in the top right corner of the translated
    // cell, right of the band (empty when the row is off screen or the cell has no room).
    QRect MarkerRect(int ARow);
    // The memory marker of a row: a small triangle in the bottom left corner of the
    // translated cell (empty when the row is off screen).
    QRect MemoryMarkerRect(int ARow) const;
    // Where the wavy line under each misspelt word of the translated cell goes: under the
    // word, in the strip below the band, so that it never covers the band or the text.
    std::vector<QRect> MisspeltRects(int ARow);

private:
    bool DrawFoundRow(int ARow);
    void PaintBand(int ARow, const TMyFont& RowFont);
    TItemCheck CheckRow(int ARow, int Dpi = BaseDpi);
    // Font in the face the product links for the document's language.
    TMyFont LinkedFont(const TMyFont& Font) const;
    QRect BandRectOf(int ARow, const TItemCheck& Check);
    void PaintTranslated(int ARow, const TMyFont& RowFont);
    TCellMarker MarkerOf(int ARow);
    void PaintMemoryMarker(int ARow);
    void PaintMisspelt(int ARow);
    void ReportApproximate(const TMyFont& Font);
    QString TranslatedText(int ARow) const;
    // Start and length, in Cell's characters, of the occurrence of Text to highlight; the start
    // is -1 when there is none.
    std::pair<qsizetype, qsizetype> HitSpan(int ACol, int ARow, const QString& Cell,
                                            const std::string& Text) const;
    // What the item's newest replacement wrote into its translated cell, in Cell's characters:
    // every occurrence it replaced, or the first occurrence of its new text when the texts
    // cannot tell them.
    std::vector<TSpan> MarkSpans(int ARow, const QString& Cell) const;
    void HighlightMarks(int ARow);
    QRect SpanRect(int ACol, int ARow, const QString& Cell, TSpan Span);
    // Draws Span of the cell white on red; a paint must be under way.
    void HighlightSpan(int ACol, int ARow, const QString& Cell, TSpan Span);

    const TItemTable& Items() const { return Doc.Items(); }
    TFoundHit Found() const { return FHooks.Found ? FHooks.Found() : TFoundHit(); }
    TSearchDialogState OpenDialog() const;

    const TDocument& Doc;
    const TViewState& View;
    TStyledStringGrid& strGrid;
    UserInterface& UI;
    TCellDrawingHooks FHooks;
    TTextMeasure& FMeasure;
    std::set<std::string> FReportedFaces;
};

inline const QColor MemoryMarkerColour{0, 140, 60};
// The wavy line under a misspelt word.
inline const QColor MisspeltColour{255, 0, 0};

// Rectangle from the left, top, right and bottom edges, right and bottom exclusive.
QRect EdgeRect(int Left, int Top, int Right, int Bottom);

} // namespace kav
