// Builds the translation table the way the document loader does (one RowCount step per item,
// texts in columns 0 and 3 to 9, a font record in column 5) and reports time and peak memory
// per 1 000 rows. Appending must stay amortised O(1): the last chunk's time per row should be
// close to the first chunk's.

#include "grid/GridModel.h"

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

double PeakRssMb() {
    rusage Usage{};
    getrusage(RUSAGE_SELF, &Usage);
    return static_cast<double>(Usage.ru_maxrss) / 1024.0;
}

void AppendItem(kav::TStyledGridModel& Grid, int Row) {
    Grid.SetRowCount(Grid.RowCount() + 1);
    Grid.SetCells(0, Row, std::to_string(Row - 1));
    Grid.SetCells(3, Row, "Txt_Constant_Name_" + std::to_string(Row));
    Grid.SetCells(4, Row, "The default English text of item " + std::to_string(Row));
    Grid.SetCells(5, Row, "Le texte traduit de l'element " + std::to_string(Row));
    Grid.SetCells(6, Row, "120");
    Grid.SetCells(7, Row, "Arial");
    Grid.SetCells(8, Row, "Bold");
    Grid.SetCells(9, Row, "8");
    kav::TMyFont& Font = Grid.FontCell(5, Row);
    Font.SetName("Arial");
    Font.SetCharset(204);
}

} // namespace

int main() {
    constexpr int Rows = 100000;
    constexpr int Chunk = 10000;
    const double BaseMb = PeakRssMb();
    kav::TStyledGridModel Grid;
    Grid.SetColCount(12);
    Grid.SetRowCount(3);
    Grid.SetFixedRows(2);
    using TClock = std::chrono::steady_clock;
    const auto Start = TClock::now();
    auto ChunkStart = Start;
    double FirstChunkUs = 0;
    double LastChunkUs = 0;
    for (int Item = 1; Item <= Rows; ++Item) {
        AppendItem(Grid, Grid.RowCount() - 1);
        if (Item % Chunk == 0) {
            const auto Now = TClock::now();
            const double Us = std::chrono::duration<double, std::micro>(Now - ChunkStart).count();
            ChunkStart = Now;
            const double PerThousandUs = Us * 1000.0 / Chunk;
            FirstChunkUs = FirstChunkUs == 0 ? PerThousandUs : FirstChunkUs;
            LastChunkUs = PerThousandUs;
            const double Mb = PeakRssMb() - BaseMb;
            std::printf("append rows=%6d  time/1000 rows=%8.1f us  peak RSS=%7.1f MB  "
                        "per 1000 rows=%5.2f MB\n",
                        Item, PerThousandUs, Mb, Mb * 1000.0 / Item);
        }
    }
    const double TotalMs = std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
    const double Mb = PeakRssMb() - BaseMb;
    std::printf("append total: %d rows in %.1f ms, peak RSS %.1f MB (limit 150 MB: %s)\n", Rows,
                TotalMs, Mb, Mb < 150.0 ? "ok" : "EXCEEDED");
    std::printf("ratio last/first chunk time per row: %.2f\n", LastChunkUs / FirstChunkUs);
    return Mb < 150.0 ? 0 : 1;
}
