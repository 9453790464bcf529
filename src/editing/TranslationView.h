#pragma once
// The translation table as the translator's view of the document's items: which cells can be
// selected, what the status bar says about the selection, what the view remembers of the last
// click, the masks of the numeric columns, the hidden columns 6 to 11 that stay at width 0,
// the row pop-up on the mark and translated columns, the hint with a cell's full text, the
// drawing of the verification marks, and the in-place editor that edits one item through the
// document's commands.
//
// The view installs itself on the grid's events when it is made and takes them back when it
// goes; the main window keeps it for as long as the grid lives.

#include "document/Document.h"
#include "document/TranslationTable.h"
#include "editing/CellDrawing.h"
#include "editing/ViewState.h"
#include "measure/TableFindings.h"

#include <QPoint>

#include <array>
#include <functional>
#include <string>
#include <vector>

class QMenu;

namespace kav {

struct TTranslationViewHooks {
    // The find and the replace window: shown, and their search texts.
    std::function<TSearchDialogState()> FindDialog;
    std::function<TSearchDialogState()> ReplaceDialog;
    // The last search hit.
    std::function<TFoundHit()> Found;
    // A cell was selected (the next search goes on after it) or its editor opened (the find
    // window starts with its text, the found cell follows it).
    std::function<void(int Col, int Row)> CellSelected;
    std::function<void(int Col, int Row, const std::string& Text)> EditorOpened;
    // A left click on the colour-mark cell of an item row.
    std::function<void(int Row)> ColorMarkClick;
    // A right click on the mark or translated cell of an item row, which is now the current
    // row: open the row pop-up centred horizontally on Global (screen coordinates, below the
    // row's translated cell).
    std::function<void(int Row, QPoint Global)> OpenRowPopup;
    // The row's untranslated item has a 100 % match in the translation memory.
    std::function<bool(int Row)> MemoryMatch;
};

class TTranslationView {
public:
    // State: what the view remembers, kept by its owner (the search windows' place is set
    // before the view exists).
    TTranslationView(TDocument& Doc, TViewState& State, TStyledStringGrid& Grid, UserInterface& UI,
                     TTranslationViewHooks Hooks);
    ~TTranslationView();
    TTranslationView(const TTranslationView&) = delete;
    TTranslationView& operator=(const TTranslationView&) = delete;

    TViewState& State() { return V; }

    void strGridDrawCell(int ACol, int ARow, const QRect& Rect, TGridDrawState State);
    void HighlightFoundText(int ACol, int ARow, const std::string& Text);
    void strGridMouseMove(TShiftState Shift, int X, int Y);
    void strGridSelectCell(int ACol, int ARow, bool& CanSelect);
    void strGridGetEditText(int ACol, int ARow, QString& Value);
    void strGridGetEditMask(int ACol, int ARow, QString& Value);
    void strGridMouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    void strGridFixedColClick(int ACol);
    void strGridColWidthsChanged();
    // The pop-up opened: it belongs to the grid only while a right press opens it.
    void pmnuGridRowActionPopup() { FRowPopupAttached = false; }
    bool RowPopupAttached() const { return FRowPopupAttached; }

    // Items changed (a command, an undo): their cells are drawn again and the editor shows
    // what its item holds now.
    void ItemsChanged(const std::vector<TItemId>& Items);
    // What the search shows changed: the editor's highlights follow.
    void HighlightsChanged();

    // Makes the translated cell of Row the current cell and scrolls Row to the top of the
    // view (as far as the last screenful lets it): the row is then the one being worked on.
    void GoToRow(int Row);
    // The same without scrolling more than needed to show the row.
    void MakeCurrent(int Row);

    TCellDrawing& Drawing() { return FDrawing; }
    TTableFindings& Findings() { return FFindings; }
    // The misspelt words of a row's translation, in the order they stand.
    using TMisspelt = TSpellWord;
    std::vector<TMisspelt> MisspeltWords(int Row);
    // Puts With in place of the word at Span of the row's translation: one undo step. False
    // (the translator told why) when the row's text changed since or With does not fit its
    // code page.
    bool ReplaceWord(int Row, const TMisspelt& Word, const QString& With);
    // Takes Word into the project's dictionary of the language; every row is checked again.
    bool AddToDictionary(const QString& Word);
    // The pop-up's "Mark as reviewed" on Row, shown for a row whose English changed since its
    // translation was saved.
    bool EnglishChanged(int Row) const;
    void MarkReviewed(int Row);

    // The columns before the translated one at their fractions of the grid's width (those the
    // translator has not sized by hand), the translated column taking all the width left over
    // (at least its own fraction).
    void FitColumns(const std::array<double, colTranslated + 1>& Fractions);
    // Fits the columns now and whenever the grid's size changes.
    void KeepColumnsFitted(const std::array<double, colTranslated + 1>& Fractions);

    // Where the row pop-up of Row opens, in viewport coordinates of the grid.
    QPoint RowPopupPoint(int Row) const;

private:
    void Install();
    void InstallEditing();
    void HideColumn(int Col);
    void UpdateHint(int Col, int Row);
    void StyleEditor(int Col, int Row, TNewInplaceEdit& Editor, bool Opened);
    void OpenRowPopup(int Row);

    TDocument& Doc;
    TViewState& V;
    TStyledStringGrid& strGrid;
    UserInterface& UI;
    TTranslationViewHooks FHooks;
    TTableFindings FFindings;
    TCellDrawing FDrawing;
    bool FRowPopupAttached = false;
    // The width each column was last fitted to, -1 before the first fit.
    std::array<int, colTranslated + 1> FFitted{-1, -1, -1, -1, -1, -1};
};

constexpr const char* UndoReplaceCaption = " Undo ... replaced string";

// The row pop-up as a right press shows it: the four replacement-mark items (found by their
// object names UndoReplaceStringMenu, ClearFlagMenu, UndoAllReplaceStringMenu and
// ClearAllFlagsMenu) visible, every other item hidden, the first caption set.
void PrepareRowActionMenu(QMenu& Menu);
// Opens Menu centred horizontally on Global.
void PopupCentred(QMenu& Menu, QPoint Global);

bool IsHiddenColumn(int Col);

// The findings one per line, "error placeholders: ..." (empty when there are none).
std::string FindingLines(const std::vector<TFinding>& Findings);

} // namespace kav
