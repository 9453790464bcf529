#include "editing/Navigation.h"

#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "text/IntConv.h"

#include <string>

namespace kav {

TGridNavigation::TGridNavigation(TDocument& Doc, TStyledStringGrid& Grid, TNavigationHooks Hooks)
    : Doc(Doc), strGrid(Grid), FHooks(std::move(Hooks)) {
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
    Doc.ToggleBookmark(N, strGrid.Row());
}

void TGridNavigation::GoToBookmark(int N) {
    if (strGrid.Row() < FirstItemRow)
        return;
    const int Target = Doc.BookmarkRow(N);
    if (Target >= FirstItemRow && Target < strGrid.RowCount()) {
        MoveToTranslated(Target);
        strGrid.SetTopRow(Target);
    }
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
