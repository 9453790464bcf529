#pragma once
// Sorting rows by the texts of one column, or columns by the texts of one row, through the
// grid's replaceable compare functions. Rows and columns are exchanged with their properties.

#include "grid/GridModel.h"

namespace kav {

// Sorts lines First..Last. By column: rows are ordered by column ColRow (OnCompareCol) and
// exchanged with ExchangeRows; otherwise columns by row ColRow (OnCompareRow) with ExchangeCols.
// Lines outside the grid are left out. Returns true.
bool SortColRow(TStyledGridModel& Grid, int ColRow, int First, int Last, bool ByColumn,
                bool Ascending);

} // namespace kav
