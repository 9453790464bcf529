#pragma once
// The translation table as the translator's view of the grid: which cells can be selected, what
// the status bar says about the selection, what the main window remembers of the last click and
// the last cell opened for editing, the masks of the numeric columns, the hidden columns 6 to 11
// that stay at width 0, the row pop-up on the mark and translated columns, the hint with a
// cell's full text, the drawing of the verification marks and what follows an edit.
//
// The view installs itself on the grid's events when it is made and takes them back when it
// goes; the main window keeps it for as long as the grid lives.

#include "document/TranslationTable.h"
#include "editing/CellDrawing.h"
#include "measure/TableFindings.h"
#include "undo/TableUndo.h"

#include <QPoint>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QMenu;

namespace kav {

struct TTranslationViewHooks {
    // The find and the replace window: shown, and their search texts.
    std::function<TSearchDialogState()> FindDialog;
    std::function<TSearchDialogState()> ReplaceDialog;
    std::function<void(bool Modified)> SetModified;
    // An edit that changed its cell ended: the cells it changed (with the replacement mark it
    // dropped), already written. Without it the document is only marked modified.
    std::function<void(std::vector<TCellChange> Changes)> CellEdited;
    // A left click on the colour-mark cell of an item row.
    std::function<void(int Row)> ColorMarkClick;
    // A right click on the mark or translated cell of an item row: open the row pop-up centred
    // horizontally on Global (screen coordinates, below the row's translated cell).
    std::function<void(int Row, QPoint Global)> OpenRowPopup;
};

class TTranslationView {
public:
    TTranslationView(TMainState& State, TStyledStringGrid& Grid, UserInterface& UI,
                     TTranslationViewHooks Hooks);
    ~TTranslationView();
    TTranslationView(const TTranslationView&) = delete;
    TTranslationView& operator=(const TTranslationView&) = delete;

    void strGridDrawCell(int ACol, int ARow, const QRect& Rect, TGridDrawState State);
    void HighlightFoundText(int ACol, int ARow, const std::string& Text);
    void strGridAfterEdit(int ACol, int ARow);
    void strGridMouseMove(TShiftState Shift, int X, int Y);
    void strGridSelectCell(int ACol, int ARow, bool& CanSelect);
    void strGridGetEditText(int ACol, int ARow, QString& Value);
    void strGridGetEditMask(int ACol, int ARow, QString& Value);
    void strGridMouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    void strGridFixedColClick(int ACol);
    void strGridColWidthsChanged();
    // The row's name, default text or attributes changed (an edit, an undo): its translated
    // cell takes the row's font and height again.
    void RowAttributesChanged(int Col, int Row);
    // The pop-up opened: it belongs to the grid only while a right press opens it.
    void pmnuGridRowActionPopup() { FRowPopupAttached = false; }
    bool RowPopupAttached() const { return FRowPopupAttached; }

    TCellDrawing& Drawing() { return FDrawing; }
    TTableFindings& Findings() { return FFindings; }

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
    void HideColumn(int Col);
    void UpdateHint(int Col, int Row);

    TMainState& S;
    TStyledStringGrid& strGrid;
    UserInterface& UI;
    TTranslationViewHooks FHooks;
    TTableFindings FFindings;
    TCellDrawing FDrawing;
    bool FRowPopupAttached = false;
    // The width each column was last fitted to, -1 before the first fit.
    std::array<int, colTranslated + 1> FFitted{-1, -1, -1, -1, -1, -1};
    // The bytes of each cell the editor opened on, until its edit ends: an edit that ends with
    // the same bytes changed nothing. The end of an edit is posted, so it may arrive after the
    // editor has opened on the next cell.
    std::map<std::pair<int, int>, std::string> FOpenEdits;
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
