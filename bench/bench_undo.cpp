// Undo of a Fill of the translated column of 100 000 items, against the Fill itself as the
// editor runs it (the cells taken before, every translation set, the changed cells kept as one
// step). Undo writes back only the changed cells, so the ratio should stay near 1.

#include "document/TranslationTable.h"
#include "undo/TableUndo.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

using namespace kav;

namespace {

double Ms(std::chrono::steady_clock::time_point Start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - Start)
        .count();
}

} // namespace

int main() {
    constexpr int Items = 100000;
    TStyledGridModel Grid;
    Grid.SetColCount(colVerify + 1);
    Grid.SetRowCount(FirstItemRow + Items);
    double FillBest = 1e9;
    double UndoBest = 1e9;
    for (int Round = 0; Round < 5; ++Round) {
        for (int Row = FirstItemRow; Row < Grid.RowCount(); ++Row)
            Grid.SetCells(colTranslated, Row,
                          "Le texte traduit de l'element " + std::to_string(Row));
        TTableUndo Undo(Grid);
        auto Start = std::chrono::steady_clock::now();
        const TTableSnapshot Before(Grid);
        for (int Row = FirstItemRow; Row < Grid.RowCount(); ++Row)
            Grid.SetCells(colTranslated, Row, "?");
        Undo.Push("Fill", Before.Changes(Grid));
        FillBest = std::min(FillBest, Ms(Start));
        Start = std::chrono::steady_clock::now();
        Undo.Stack().undo();
        UndoBest = std::min(UndoBest, Ms(Start));
        if (Grid.Cells(colTranslated, FirstItemRow) != "Le texte traduit de l'element 2")
            return 1;
        if (Round == 0)
            std::printf("step: %.1f MB\n", Undo.StoredBytes() / 1e6);
    }
    std::printf("fill %d items: %.3f ms\nundo of the fill: %.3f ms\n", Items, FillBest, UndoBest);
    return 0;
}
