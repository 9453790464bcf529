// Undo of a Fill of every translation of 100 000 items, against the Fill itself as the editor
// runs it (one document command: each item's state taken before, every translation set, the
// changed items kept as one step). Undo writes back only what the step changed, so the ratio
// should stay near 1.

#include "QuietUserInterface.h"
#include "document/Document.h"
#include "document/TranslationTable.h"
#include "undo/DocumentHistory.h"

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
    ConfigureTable(Grid);
    for (int Item = 0; Item < Items; ++Item)
        AppendItem(Grid, Grid.RowCount() - 1, {"ITEM_" + std::to_string(Item), "Default", {}});
    TQuietUserInterface UI;
    TDocument Doc(Grid, UI);
    double FillBest = 1e9;
    double UndoBest = 1e9;
    for (int Round = 0; Round < 5; ++Round) {
        for (int Row = FirstItemRow; Row < FirstItemRow + Items; ++Row)
            Grid.SetCells(colTranslated, Row,
                          "Le texte traduit de l'element " + std::to_string(Row));
        TDocumentHistory History(Doc);
        auto Start = std::chrono::steady_clock::now();
        {
            TDocumentEdit Edit(Doc, "Fill");
            for (TItemId Id = 0; Id < Items; ++Id)
                Edit.SetTranslation(Id, "?");
        }
        FillBest = std::min(FillBest, Ms(Start));
        Start = std::chrono::steady_clock::now();
        History.Undo();
        UndoBest = std::min(UndoBest, Ms(Start));
        if (Grid.Cells(colTranslated, FirstItemRow) != "Le texte traduit de l'element 2")
            return 1;
        if (Round == 0)
            std::printf("step: %.1f MB\n", History.StoredBytes() / 1e6);
    }
    std::printf("fill %d items: %.3f ms\nundo of the fill: %.3f ms\n", Items, FillBest, UndoBest);
    return 0;
}
