#include "grid/GridSort.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kav {

namespace {

struct TSorter {
    TStyledGridModel& Grid;
    int ColRow;
    bool ByColumn;
    TRelation Order;

    TRelation Compare(int A, int B) const {
        return ByColumn ? Grid.OnCompareCol(ColRow, A, B) : Grid.OnCompareRow(ColRow, A, B);
    }

    void Exchange(int A, int B) const {
        if (ByColumn) {
            Grid.ExchangeRows(A, B);
        } else {
            Grid.ExchangeCols(A, B);
        }
    }

    // Pivot at Hi.
    int Partition(int Lo, int Hi) const {
        int I = Lo;
        int J = Hi - 1;
        for (;;) {
            // The bound only matters for a compare function that says a text is less than
            // itself; the pivot stops the scan otherwise.
            while (I < Hi && Compare(I, Hi) == Order) {
                ++I;
            }
            while (Compare(Hi, J) == Order && J != Lo) {
                --J;
            }
            if (J <= I) {
                break;
            }
            Exchange(I, J);
            ++I;
            --J;
        }
        Exchange(I, Hi);
        return I;
    }

    // The quicksort keeps its pending ranges on the heap: an already sorted table of 100 000
    // rows would otherwise recurse 100 000 levels deep. Ranges are taken in the recursive
    // order (left part first), so the exchanges are the same.
    void Sort(int First, int Last) const {
        std::vector<std::pair<int, int>> Pending{{First, Last}};
        while (!Pending.empty()) {
            const auto [Lo, Hi] = Pending.back();
            Pending.pop_back();
            if (Hi - Lo <= 0) {
                continue;
            }
            const int P = Partition(Lo, Hi);
            Pending.emplace_back(P + 1, Hi);
            Pending.emplace_back(Lo, P - 1);
        }
    }
};

} // namespace

bool SortColRow(TStyledGridModel& Grid, int ColRow, int First, int Last, bool ByColumn,
                bool Ascending) {
    const int Count = ByColumn ? Grid.RowCount() : Grid.ColCount();
    First = std::max(First, 0);
    Last = std::min(Last, Count - 1);
    if (!(ByColumn ? Grid.OnCompareCol : Grid.OnCompareRow)) {
        return true;
    }
    const TSorter Sorter{Grid, ColRow, ByColumn, Ascending ? rel_less : rel_greater};
    Sorter.Sort(First, Last);
    return true;
}

} // namespace kav
