#include "search/ReplaceMark.h"

#include "document/TranslationTable.h"
#include "text/StringUtils.h"

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

int PreviousMarkedRow(const TStyledGridModel& Grid, int Row) {
    for (int R = std::min(Row, Grid.RowCount()) - 1; R >= FirstItemRow; --R)
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

std::vector<TReplaceHistory::TStep>* TReplaceHistory::Current(const TStyledGridModel& Grid,
                                                              int Row) {
    auto Found = FSteps.find(Row);
    if (Found == FSteps.end() || Found->second.empty())
        return nullptr;
    const TStep& Newest = Found->second.back();
    const bool Shown = Grid.Cells(colReplaced, Row) == Newest.Mark &&
                       Grid.Cells(colTranslated, Row) == Newest.After &&
                       Grid.Cells(colVerify, Row) == Newest.After;
    return Shown ? &Found->second : nullptr;
}

void TReplaceHistory::Apply(TStyledGridModel& Grid, int Row, const std::string& Mark,
                            const std::string& After) {
    std::vector<TStep>* Steps = Current(Grid, Row);
    if (!Steps) {
        Steps = &FSteps[Row];
        Steps->clear();
    }
    Steps->push_back({std::string(Grid.Cells(colTranslated, Row)), Mark, After});
    Grid.SetCells(colReplaced, Row, Mark);
    Grid.SetCells(colTranslated, Row, After);
    Grid.SetCells(colVerify, Row, After);
}

bool TReplaceHistory::Undo(TStyledGridModel& Grid, int Row) {
    if (!HasReplaceMark(Grid, Row))
        return false;
    std::vector<TStep>* Steps = Current(Grid, Row);
    if (!Steps)
        return false;
    Grid.SetCells(colTranslated, Row, Steps->back().Before);
    Steps->pop_back();
    if (Steps->empty()) {
        FSteps.erase(Row);
        Grid.SetCells(colReplaced, Row, {});
        Grid.SetCells(colVerify, Row, {});
    } else {
        // The earlier replacement's text is the one just restored.
        Grid.SetCells(colReplaced, Row, Steps->back().Mark);
        Grid.SetCells(colVerify, Row, Steps->back().After);
    }
    return true;
}

bool TReplaceHistory::UndoAll(TStyledGridModel& Grid, int Row) {
    bool Any = false;
    while (Undo(Grid, Row))
        Any = true;
    return Any;
}

bool TReplaceHistory::Accept(TStyledGridModel& Grid, int Row) {
    FSteps.erase(Row);
    if (!HasReplaceMark(Grid, Row))
        return false;
    Grid.SetCells(colReplaced, Row, {});
    Grid.SetCells(colVerify, Row, {});
    return true;
}

} // namespace kav
