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

// The rectangle as the block writer reads it: a Right or Bottom before its start (or negative)
// reaches the last column or row, negative starts become 0, and the block stays in the grid.
TGridRect NormalisedBlock(const TStyledGridModel& Grid, TGridRect Rect);

// The cells of the block NormalisedBlock makes of Rect.
std::string CellsToText(const TStyledGridModel& Grid, char Separator, TGridRect Rect);

// Fills cells from (Left, Top) on, never past Right and Bottom (before their start: no limit).
// The grid grows one row or column at a time as the text needs it.
void TextToCells(TStyledGridModel& Grid, std::string_view Text, char Separator, TGridRect Rect);

} // namespace kav
