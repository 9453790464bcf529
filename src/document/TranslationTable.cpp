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
    StrItemView View;
    View.Name = Item.Name;
    View.Text = Item.Text;
    View.AttributeCount = static_cast<int>(std::min<size_t>(Item.Attributes.size(), 4));
    for (int i = 0; i < View.AttributeCount; ++i)
        View.Attributes[static_cast<size_t>(i)] = Item.Attributes[static_cast<size_t>(i)];
    return AppendParsedItem(Grid, Row, View);
}

int AppendParsedItem(TStyledGridModel& Grid, int Row, const StrItemView& Item) {
    Grid.SetCells(colItem, Row, std::to_string(Row - 1));
    Grid.SetCells(colName, Row, std::string(Item.Name));
    Grid.SetCells(colDefault, Row, std::string(Item.Text));
    for (int i = 0; i < Item.AttributeCount && i < 4; ++i)
        if (!Item.Attributes[static_cast<size_t>(i)].empty())
            Grid.SetCells(colWidth + i, Row, std::string(Item.Attributes[static_cast<size_t>(i)]));
    Grid.SetRowCount(Grid.RowCount() + 1);
    return Row + 1;
}

void RemoveBlankRows(TStyledGridModel& Grid) {
    // From the bottom up, so that every row is examined once whatever is removed.
    for (int Row = Grid.RowCount() - 1; Row >= FirstItemRow; --Row)
        if (IsBlankText(Grid.Cells(colName, Row)))
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
