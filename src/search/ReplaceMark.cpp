#include "search/ReplaceMark.h"

#include "document/TranslationTable.h"
#include "exchange/StringUtils.h"

#include <algorithm>

namespace kav {

std::string FormatReplaceMark(long long Position, const std::string& Old, const std::string& New) {
    return "[" + std::to_string(Position) + "] <" + Old + ">  @" + New + "@";
}

TReplaceMark ParseReplaceMark(const std::string& Mark) {
    TReplaceMark Parsed;
    long long P = 0;
    Parsed.Old = GetDelimited(P, Mark, '<', '>');
    Parsed.New = GetDelimited(P, Mark, '@', '@');
    return Parsed;
}

bool HasReplaceMark(const TStyledGridModel& Grid, int Row) {
    return !Grid.Cells(colReplaced, Row).empty();
}

void ApplyReplacement(TStyledGridModel& Grid, int Row, long long Position, const std::string& Old,
                      const std::string& New) {
    Grid.SetCells(colReplaced, Row, FormatReplaceMark(Position, Old, New));
    Grid.SetCells(colTranslated, Row, ReplaceAll(Grid.Cells(colTranslated, Row), Old, New));
    Grid.SetCells(colVerify, Row, Grid.Cells(colTranslated, Row));
}

bool UndoReplacement(TStyledGridModel& Grid, int Row) {
    if (!HasReplaceMark(Grid, Row))
        return false;
    const TReplaceMark Mark = ParseReplaceMark(Grid.Cells(colReplaced, Row));
    Grid.SetCells(colTranslated, Row,
                  ReplaceAll(Grid.Cells(colTranslated, Row), Mark.New, Mark.Old));
    Grid.SetCells(colReplaced, Row, {});
    Grid.SetCells(colVerify, Row, {});
    return true;
}

bool AcceptReplacement(TStyledGridModel& Grid, int Row) {
    if (!HasReplaceMark(Grid, Row))
        return false;
    Grid.SetCells(colReplaced, Row, {});
    Grid.SetCells(colVerify, Row, {});
    return true;
}

int PreviousMarkedRow(const TStyledGridModel& Grid, int Row) {
    for (int R = Row - 1; R >= FirstItemRow; --R)
        if (HasReplaceMark(Grid, R))
            return R;
    return -1;
}

int NextMarkedRow(const TStyledGridModel& Grid, int Row) {
    for (int R = std::max(Row + 1, FirstItemRow); R < Grid.RowCount(); ++R)
        if (HasReplaceMark(Grid, R))
            return R;
    return -1;
}

} // namespace kav
