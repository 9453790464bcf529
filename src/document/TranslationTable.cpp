#include "document/TranslationTable.h"

#include "exchange/StringUtils.h"

#include <algorithm>

namespace kav {

void ConfigureTable(TStyledGridModel& Grid) {
    Grid.SetColCount(TableColCount);
    Grid.SetRowCount(EmptyTableRowCount);
    Grid.SetFixedCols(1);
    Grid.SetFixedRows(TableFixedRows);
    Grid.SetColor(clWhite);
}

void ResetTable(TStyledGridModel& Grid) {
    for (int Row = FirstItemRow; Row < Grid.RowCount(); ++Row) {
        Grid.ClearRow(Row);
        Grid.SetColorCell(colMark, Row, clWhite);
        Grid.SetCells(colMark, Row, {});
    }
    Grid.SetRowCount(EmptyTableRowCount);
}

int AppendItem(TStyledGridModel& Grid, int Row, const StrItemLine& Item) {
    Grid.SetCells(colItem, Row, std::to_string(Row - 1));
    Grid.SetCells(colName, Row, Item.Name);
    Grid.SetCells(colDefault, Row, Item.Text);
    for (size_t i = 0; i < Item.Attributes.size() && i < 4; ++i)
        if (!Item.Attributes[i].empty())
            Grid.SetCells(colWidth + static_cast<int>(i), Row, Item.Attributes[i]);
    Grid.SetRowCount(Grid.RowCount() + 1);
    return Row + 1;
}

void RemoveBlankRows(TStyledGridModel& Grid) {
    // From the bottom up, so that every row is examined once whatever is removed.
    for (int Row = Grid.RowCount() - 1; Row >= FirstItemRow; --Row)
        if (TrimCharSet(Grid.Cells(colName, Row), TrimChars()).empty())
            Grid.RemoveRow(Row);
}

int ItemCount(const TStyledGridModel& Grid) {
    return std::max(0, Grid.RowCount() - EmptyTableRowCount);
}

int TrailingRow(const TStyledGridModel& Grid) {
    return Grid.RowCount() - 1;
}

bool IsItemRow(const TStyledGridModel& Grid, int Row) {
    return Row >= FirstItemRow && Row < Grid.RowCount() && !Grid.Cells(colName, Row).empty();
}

void ApplyTranslatedCharset(TStyledGridModel& Grid, std::uint8_t Charset) {
    for (int Row = FirstItemRow; Row < Grid.RowCount(); ++Row)
        Grid.FontCell(colTranslated, Row).SetCharset(Charset);
}

} // namespace kav
