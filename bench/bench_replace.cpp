// Replace All over the translated column without questions (the kavtool path), on tables of
// 10 000 to 100 000 item rows with a hit in every tenth row. The work must grow linearly: the
// time per 1 000 rows of the largest table should be close to that of the smallest.

#include "QuietUserInterface.h"
#include "document/Document.h"
#include "document/TranslationTable.h"
#include "search/FindOptions.h"
#include "search/SearchEngine.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

void FillTable(kav::TStyledGridModel& Grid, int Items) {
    kav::ConfigureTable(Grid);
    int Row = kav::FirstItemRow;
    for (int Item = 1; Item <= Items; ++Item) {
        Row = kav::AppendItem(Grid, Row, {"ITEM_" + std::to_string(Item), "Cancel the step", {}});
        // Every tenth text holds the search text twice, in another letter case.
        Grid.SetCells(kav::colTranslated, Row - 1,
                      Item % 10 == 0
                          ? "Annuler l'\xE9tape, puis ANNULER tout"
                          : "Le texte traduit de l'\xE9l\xE9ment " + std::to_string(Item));
    }
}

// Microseconds per 1 000 rows; checks the number of rows replaced and of occurrences.
double TimeReplaceAll(int Items, bool& CountOk) {
    kav::TStyledGridModel Grid;
    FillTable(Grid, Items);
    kav::TQuietUserInterface UI;
    kav::TDocument Doc(Grid, UI);
    kav::TSearchState Search;
    Search.FSearchOptions = kav::frDown | kav::frReplaceAll;
    kav::TSearchEngine Engine(Search, Doc);
    using TClock = std::chrono::steady_clock;
    const auto Start = TClock::now();
    kav::TReplaceAllResult Result;
    {
        kav::TDocumentEdit Edit(Doc, "Replace All");
        Result = Engine.ReplaceAllRows(Edit, "annuler", "Abandonner");
    }
    const double Us = std::chrono::duration<double, std::micro>(TClock::now() - Start).count();
    CountOk = Result.Items == Items / 10 && Result.Count == 2 * (Items / 10);
    std::printf("replace all rows=%6d  hits=%5d  time=%8.1f ms  time/1000 rows=%7.1f us\n", Items,
                Result.Count, Us / 1000.0, Us * 1000.0 / Items);
    return Us * 1000.0 / Items;
}

} // namespace

int main() {
    bool SmallOk = false;
    bool LargeOk = false;
    const double Small = TimeReplaceAll(10000, SmallOk);
    TimeReplaceAll(50000, SmallOk);
    const double Large = TimeReplaceAll(100000, LargeOk);
    std::printf("ratio time per row 100 000 / 10 000 rows: %.2f (linear: about 1)\n",
                Large / Small);
    return SmallOk && LargeOk ? 0 : 1;
}
