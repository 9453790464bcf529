#pragma once
// Blocks of cells as separated text, the form the clipboard carries: every cell followed by the
// separator, every line ended by CR LF.

#include "grid/GridModel.h"

#include <string>
#include <string_view>

namespace kav {

struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = -1;
    int Bottom = -1;
};

// A Right or Bottom before its start (or negative) means "to the last column/row"; negative
// starts mean 0. The block is limited to the cells the grid has.
std::string CellsToText(const TStyledGridModel& Grid, char Separator, TGridRect Rect);

// Fills cells from (Left, Top) on, never past Right and Bottom (before their start: no limit).
// The grid grows one row or column at a time as the text needs it.
void TextToCells(TStyledGridModel& Grid, std::string_view Text, char Separator, TGridRect Rect);

} // namespace kav
