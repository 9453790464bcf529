#pragma once
// The translation table: the grid model seen as rows of twelve text columns. Rows 0 and 1 are
// headers, item rows start at row 2, and one empty trailing row follows the last item.

#include "document/StrFile.h"
#include "grid/GridModel.h"

#include <string>

namespace kav {

enum TTableColumn : int {
    colItem = 0,       // item number
    colBookmark = 1,   // bookmark number
    colMark = 2,       // colour mark (the cell's brush colour)
    colName = 3,       // constant name without "Txt_"
    colDefault = 4,    // default (English) text
    colTranslated = 5, // translation
    colWidth = 6,      // allowed width in pixels
    colFontName = 7,
    colFontStyle = 8,
    colFontSize = 9,
    // Hidden, and empty: an item's replacements and the texts they leave are its own
    // (TReplacements), which the drawing shows as the mark.
    colReplaced = 10,
    colVerify = 11
};

constexpr int TableColCount = 12;
constexpr int TableFixedRows = 2;
constexpr int FirstItemRow = 2;
constexpr int EmptyTableRowCount = 3;

// The table's shape and background as the main window's form gives them: twelve columns, two
// header rows, one fixed column, three rows and a white background (so rows without a colour
// mark of their own read as white).
void ConfigureTable(TStyledGridModel& Grid);

// Clears every item row (texts and colour marks) and leaves the headers and one empty row.
void ResetTable(TStyledGridModel& Grid);

// Every item row (and any row after the table's end) reads as having no colour mark (white).
void ClearColorMarks(TStyledGridModel& Grid);
// Gives Row the colour mark Color.
void PutColorMark(TStyledGridModel& Grid, int Row, TColor Color);

// Puts an item read from the default file into Row, which becomes an item row; the table grows
// by one row so that a trailing row follows. Empty attribute fields leave their cells as they
// are. Returns the next free row.
int AppendItem(TStyledGridModel& Grid, int Row, const StrItemLine& Item);
// The same from the fields of a line as the reader parsed them.
int AppendParsedItem(TStyledGridModel& Grid, int Row, const StrItemView& Item);

// Items of a loaded table (RowCount - 3, never negative).
int ItemCount(const TStyledGridModel& Grid);
int TrailingRow(const TStyledGridModel& Grid);
bool IsItemRow(const TStyledGridModel& Grid, int Row);

// Sets the character set of the translated-text font of every row from 2 on.
void ApplyTranslatedCharset(TStyledGridModel& Grid, std::uint8_t Charset);

} // namespace kav
