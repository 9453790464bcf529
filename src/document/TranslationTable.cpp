#include "document/TranslationTable.h"

#include "text/StringUtils.h"

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
    for (int Row = FirstItemRow; Row < Grid.RowCount(); ++Row)
        Grid.ClearRow(Row);
    ClearColorMarks(Grid);
    Grid.SetRowCount(EmptyTableRowCount);
}

void ClearColorMarks(TStyledGridModel& Grid) {
    // Without a record of its own a mark cell shows the table's white background: a table of
    // 100 000 rows needs no record per row to read as unmarked.
    Grid.DropCellRecords(colMark, FirstItemRow);
}

void PutColorMark(TStyledGridModel& Grid, int Row, TColor Color) {
    // The common case, a white mark on a row that reads white, creates no record.
    if (Grid.ColorCell(colMark, Row) != Color)
        Grid.SetColorCell(colMark, Row, Color);
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
    Grid.SetCells(colName, Row, Item.Name);
    Grid.SetCells(colDefault, Row, Item.Text);
    for (int i = 0; i < Item.AttributeCount && i < 4; ++i)
        if (!Item.Attributes[static_cast<size_t>(i)].empty())
            Grid.SetCells(colWidth + i, Row, Item.Attributes[static_cast<size_t>(i)]);
    Grid.SetRowCount(Grid.RowCount() + 1);
    return Row + 1;
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
    // One column record serves every item row (the header rows read the fixed fonts); only the
    // rows that have a font of their own (the rows drawn so far) need it set as well. A column
    // record without an edit state makes its column read-only, so a new one keeps the column's
    // present permission.
    if (!Grid.PropCol().Get(colTranslated)) {
        const bool Editable = Grid.EditCol(colTranslated);
        Grid.FontCol(colTranslated);
        Grid.SetEditCol(colTranslated, Editable);
    }
    Grid.FontCol(colTranslated).SetCharset(Charset);
    if (const TPropList* Column = Grid.PropCell().Get(colTranslated))
        for (const auto& [Row, Record] : *Column)
            if (Row >= FirstItemRow && Record->Font)
                Record->Font->SetCharset(Charset);
}

} // namespace kav
