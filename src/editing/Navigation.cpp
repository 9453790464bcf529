#include "editing/Navigation.h"

#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "text/IntConv.h"

#include <string>

namespace kav {

TGridNavigation::TGridNavigation(TMainState& State, TStyledStringGrid& Grid, TNavigationHooks Hooks)
    : S(State), strGrid(Grid), FHooks(std::move(Hooks)) {
    strGrid.OnKeyDown = [this](int& Key, TShiftState Shift) { strGridKeyDown(Key, Shift); };
}

TGridNavigation::~TGridNavigation() {
    strGrid.OnKeyDown = nullptr;
}

int FunctionKeyNumber(int Key) {
    return Key >= Qt::Key_F1 && Key <= Qt::Key_F12 ? Key - Qt::Key_F1 + 1 : 0;
}

std::optional<TColor> ColorMarkOfKey(int Key) {
    switch (Key) {
    case Qt::Key_F5:
        return clAqua;
    case Qt::Key_F6:
        return clLime;
    case Qt::Key_F7:
        return clYellow;
    case Qt::Key_F8:
        return clFuchsia;
    case Qt::Key_F9:
        return clWhite;
    default:
        return std::nullopt;
    }
}

void TGridNavigation::strGridKeyDown(int& Key, TShiftState Shift) {
    const bool Ctrl = Shift & Qt::ControlModifier;
    const bool ShiftDown = Shift & Qt::ShiftModifier;
    const bool Alt = Shift & Qt::AltModifier;
    const int F = FunctionKeyNumber(Key);
    // The first line that matches decides, in this order.
    if (Ctrl && ShiftDown && F != 0) {
        SetBookmark(F);
    } else if (Alt && Key == Qt::Key_F11) {
        if (FHooks.PreviousMarkedRow)
            FHooks.PreviousMarkedRow();
    } else if (Alt && Key == Qt::Key_F12) {
        if (FHooks.NextMarkedRow)
            FHooks.NextMarkedRow();
    } else if (Alt) {
        // Alt with any other key belongs to the menus.
    } else if (!Ctrl && ColorMarkOfKey(Key)) {
        if (FHooks.ColorMarkKey)
            FHooks.ColorMarkKey(*ColorMarkOfKey(Key));
    } else if (Ctrl && F != 0) {
        GoToBookmark(F);
    } else if (Ctrl && (Key == Qt::Key_Home || Key == Qt::Key_Up)) {
        MoveToTranslated(FirstItemRow);
        Key = 0; // the grid's own Ctrl+Home would move on to the first column
    } else if (Ctrl && (Key == Qt::Key_End || Key == Qt::Key_Down)) {
        MoveToTranslated(strGrid.RowCount() - 1);
        Key = 0; // the grid's own Ctrl+End would move on to the last, hidden column
    }
}

void TGridNavigation::MoveToTranslated(int Row) {
    // Column first, then row: each step is an ordinary selection the view hears about.
    strGrid.SetCol(colTranslated);
    strGrid.SetRow(Row);
    strGrid.viewport()->repaint();
}

void TGridNavigation::SetBookmark(int N) {
    const int R = strGrid.Row();
    if (N < 1 || N > BookmarkCount || R < FirstItemRow || R >= strGrid.RowCount())
        return;
    const std::string Shown(strGrid.Cells(colBookmark, R));
    if (Shown == std::to_string(N)) {
        strGrid.SetCells(colBookmark, R, {});
        Bookmark(N) = -1;
        return;
    }
    // Text that is not one of our numbers is simply replaced; a number is freed only when it
    // really points at this row, so no other row loses its bookmark.
    for (int K = 1; K <= BookmarkCount; ++K)
        if (Shown == std::to_string(K) && Bookmark(K) == R)
            Bookmark(K) = -1;
    const int Old = Bookmark(N);
    if (Old >= FirstItemRow && Old < strGrid.RowCount() &&
        strGrid.Cells(colBookmark, Old) == std::to_string(N))
        strGrid.SetCells(colBookmark, Old, {});
    strGrid.SetCells(colBookmark, R, std::to_string(N));
    Bookmark(N) = R;
}

void TGridNavigation::GoToBookmark(int N) {
    if (N < 1 || N > BookmarkCount || strGrid.Row() < FirstItemRow)
        return;
    const int Target = Bookmark(N);
    if (Target >= FirstItemRow && Target < strGrid.RowCount())
        strGrid.SetTopRow(Target);
}

TGotoLineTarget GotoLineTarget(std::string_view Text, int RowCount) {
    int32_t N = 0;
    if (const int Position = ValInt(Text, N); Position != 0)
        return {Position, std::nullopt};
    if (N <= 0)
        return {};
    if (N <= RowCount - 3)
        return {0, N + 1};
    return {0, RowCount - 1};
}

} // namespace kav
