// Pasting separated text into the grid model at a block taken from the input, then copying
// the whole grid out and pasting it into an empty grid: the second grid must hold the same
// texts, since pasted cells hold neither the separator nor a line break.

#include "FuzzCheck.h"
#include "grid/GridText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <climits>

using namespace kav;
using kav::fuzz::TExactBuffer;

namespace {

// Starts stay near the grid (a caller pastes at a cell it has); ends may be anything.
TGridRect Block(FuzzedDataProvider& Data) {
    TGridRect Rect;
    Rect.Left = Data.ConsumeIntegralInRange(-3, 40);
    Rect.Top = Data.ConsumeIntegralInRange(-3, 40);
    Rect.Right = Data.ConsumeBool() ? Data.ConsumeIntegralInRange(-3, 60)
                                    : Data.PickValueInArray({INT_MIN, -1, INT_MAX});
    Rect.Bottom = Data.ConsumeBool() ? Data.ConsumeIntegralInRange(-3, 60)
                                     : Data.PickValueInArray({INT_MIN, -1, INT_MAX});
    return Rect;
}

TGridRect AnyRect(FuzzedDataProvider& Data) {
    TGridRect Rect;
    Rect.Left = Data.ConsumeIntegral<int>();
    Rect.Top = Data.ConsumeIntegral<int>();
    Rect.Right = Data.ConsumeIntegral<int>();
    Rect.Bottom = Data.ConsumeIntegral<int>();
    return Rect;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Bytes, size_t Size) {
    FuzzedDataProvider Data(Bytes, Size);
    const char Separator = Data.PickValueInArray({'\t', ',', ';', ' ', '|', '\r', '\n', '\0'});
    TStyledGridModel Grid;
    Grid.SetColCount(Data.ConsumeIntegralInRange(1, 12));
    Grid.SetRowCount(Data.ConsumeIntegralInRange(1, 12));
    const int Cols = Grid.ColCount();
    const int Rows = Grid.RowCount();
    const TGridRect Rect = Block(Data);
    const TGridRect Copy = AnyRect(Data);
    const TExactBuffer Text(Data.ConsumeRemainingBytesAsString());

    TextToCells(Grid, Text.View(), Separator, Rect);
    // The grid grows only as far as the text reaches.
    const long long Reach = static_cast<long long>(Text.View().size()) + 1;
    KAV_FUZZ_CHECK(Grid.ColCount() <= std::max<long long>(Cols, std::max(Rect.Left, 0) + Reach));
    KAV_FUZZ_CHECK(Grid.RowCount() <= std::max<long long>(Rows, std::max(Rect.Top, 0) + Reach));

    const std::string Part = CellsToText(Grid, Separator, Copy);
    // Every cell at most once, each with its separator, every row with its line end.
    const size_t Cells =
        static_cast<size_t>(Grid.RowCount()) * static_cast<size_t>(Grid.ColCount());
    KAV_FUZZ_CHECK(Part.size() <=
                   Text.View().size() + Cells + 2 * static_cast<size_t>(Grid.RowCount()));
    if (Separator == '\r' || Separator == '\n')
        return 0;
    TStyledGridModel Back;
    TextToCells(Back, CellsToText(Grid, Separator, {}), Separator, {});
    for (int Row = 0; Row < Grid.RowCount(); ++Row)
        for (int Col = 0; Col < Grid.ColCount(); ++Col)
            KAV_FUZZ_CHECK(Back.Cells(Col, Row) == Grid.Cells(Col, Row));
    return 0;
}
