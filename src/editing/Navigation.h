#pragma once
// Moving around a long translation table from the keyboard: the grid's key handler, the twelve
// bookmarks shown in column 1, and where the go-to-line dialog puts the view.

#include "document/Document.h"
#include "grid/Colors.h"
#include "gridview/StringGrid.h"

#include <functional>
#include <optional>
#include <string_view>

namespace kav {

class TStyledStringGrid;

struct TNavigationHooks {
    // Alt+F11 and Alt+F12: the previous and the next row with a replacement mark.
    std::function<void()> PreviousMarkedRow;
    std::function<void()> NextMarkedRow;
    // F5 to F9: the colour mark of the key for the current row.
    std::function<void(TColor Color)> ColorMarkKey;
};

class TGridNavigation {
public:
    // Takes the grid's key-down event for as long as it lives.
    TGridNavigation(TDocument& Doc, TStyledStringGrid& Grid, TNavigationHooks Hooks);
    ~TGridNavigation();
    TGridNavigation(const TGridNavigation&) = delete;
    TGridNavigation& operator=(const TGridNavigation&) = delete;

    // Never changes Key: the grid and its editor handle it afterwards as usual.
    void strGridKeyDown(int& Key, TShiftState Shift);
    // N from 1 to 12, acting on the current row.
    void SetBookmark(int N);
    // The bookmarked row becomes the current row, at the top of the view.
    void GoToBookmark(int N);
    // Makes the translated cell of Row the current cell.
    void MoveToTranslated(int Row);

private:
    TDocument& Doc;
    TStyledStringGrid& strGrid;
    TNavigationHooks FHooks;
};

// 1 to 12 for the keys F1 to F12, 0 for any other key.
int FunctionKeyNumber(int Key);

// The colour mark F5 to F9 give; nullopt for any other key.
std::optional<TColor> ColorMarkOfKey(int Key);

// Where "Go to Line Number" puts the view for the typed text in a table of RowCount rows.
struct TGotoLineTarget {
    int ErrorPosition = 0;     // 1-based position of the first character that is not a number
    std::optional<int> TopRow; // the row to scroll to the top; none: leave the view as it is
};
TGotoLineTarget GotoLineTarget(std::string_view Text, int RowCount);

} // namespace kav
