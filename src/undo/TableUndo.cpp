#include "undo/TableUndo.h"

#include "document/TranslationTable.h"

#include <QUndoCommand>

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>

namespace kav {

namespace {

constexpr std::array<int, 4> TrackedColumns{colMark, colTranslated, colReplaced, colVerify};

} // namespace

std::string CellValue(const TStyledGridModel& Grid, int Col, int Row) {
    if (Col == colMark)
        return std::to_string(Grid.ColorCell(Col, Row));
    return std::string(Grid.Cells(Col, Row));
}

void SetCellValue(TStyledGridModel& Grid, int Col, int Row, const std::string& Value) {
    if (Col == colMark)
        Grid.SetColorCell(Col, Row, static_cast<TColor>(std::stoll(Value)));
    else
        Grid.SetCells(Col, Row, Value);
}

TTableSnapshot::TTableSnapshot(const TStyledGridModel& Grid, int FirstRow, int LastRow)
    : FRowCount(Grid.RowCount()), FFirst(std::max(FirstRow, FirstItemRow)) {
    const int Last = std::min(LastRow, Grid.RowCount() - 1);
    for (int Row = FFirst; Row <= Last; ++Row)
        for (int Col : TrackedColumns)
            FValues.push_back(CellValue(Grid, Col, Row));
}

TTableSnapshot::TTableSnapshot(const TStyledGridModel& Grid)
    : TTableSnapshot(Grid, FirstItemRow, Grid.RowCount() - 1) {}

bool TTableSnapshot::RowsChanged(const TStyledGridModel& Grid) const {
    return Grid.RowCount() != FRowCount;
}

std::vector<TCellChange> TTableSnapshot::Changes(const TStyledGridModel& Grid) const {
    std::vector<TCellChange> Changes;
    if (RowsChanged(Grid))
        return Changes;
    const int Rows = static_cast<int>(FValues.size() / TrackedColumns.size());
    size_t At = 0;
    for (int Row = FFirst; Row < FFirst + Rows; ++Row)
        for (int Col : TrackedColumns) {
            const std::string& Before = FValues[At++];
            std::string After = CellValue(Grid, Col, Row);
            if (After != Before)
                Changes.push_back({Col, Row, Before, std::move(After)});
        }
    return Changes;
}

int ChangedItemCount(const std::vector<TCellChange>& Changes) {
    std::set<int> Rows;
    for (const TCellChange& C : Changes)
        if (C.Col == colTranslated)
            Rows.insert(C.Row);
    return static_cast<int>(Rows.size());
}

int ChangedRowCount(const std::vector<TCellChange>& Changes) {
    std::set<int> Rows;
    for (const TCellChange& C : Changes)
        Rows.insert(C.Row);
    return static_cast<int>(Rows.size());
}

// A step whose changes are already in the table when it is pushed: the stack's first redo
// finds nothing to do. The texts go into one buffer, so that a Fill of a whole column keeps
// little more than the bytes it replaced.
class TCellsStep : public QUndoCommand {
public:
    TCellsStep(TTableUndo& Owner, const std::string& Name, const std::vector<TCellChange>& Changes)
        : FOwner(Owner) {
        setText(QString::fromStdString(Name));
        size_t Size = 0;
        for (const TCellChange& C : Changes)
            Size += C.Before.size() + C.After.size();
        FTexts.reserve(Size);
        FCells.reserve(Changes.size());
        for (const TCellChange& C : Changes) {
            FCells.push_back({C.Col, C.Row, static_cast<std::uint32_t>(C.Before.size()),
                              static_cast<std::uint32_t>(C.After.size())});
            FTexts += C.Before;
            FTexts += C.After;
        }
    }
    void undo() override { FOwner.Apply(Changes(), true); }
    void redo() override {
        if (FApplied)
            FOwner.Apply(Changes(), false);
        FApplied = true;
    }
    size_t Bytes() const { return FCells.capacity() * sizeof(TCell) + FTexts.capacity(); }

private:
    struct TCell {
        int Col;
        int Row;
        std::uint32_t BeforeSize;
        std::uint32_t AfterSize;
    };
    std::vector<TCellChange> Changes() const {
        std::vector<TCellChange> All;
        All.reserve(FCells.size());
        size_t At = 0;
        for (const TCell& C : FCells) {
            All.push_back({C.Col, C.Row, FTexts.substr(At, C.BeforeSize),
                           FTexts.substr(At + C.BeforeSize, C.AfterSize)});
            At += C.BeforeSize + C.AfterSize;
        }
        return All;
    }

    TTableUndo& FOwner;
    std::vector<TCell> FCells;
    std::string FTexts;
    bool FApplied = false;
};

TTableUndo::TTableUndo(TStyledGridModel& Grid) : FGrid(Grid) {
    FStack.setUndoLimit(StepLimit);
}

void TTableUndo::Push(const std::string& Name, std::vector<TCellChange> Changes) {
    if (Changes.empty())
        return;
    FStack.push(new TCellsStep(*this, Name, Changes));
}

size_t TTableUndo::StoredBytes() const {
    size_t Sum = 0;
    for (int I = 0; I < FStack.count(); ++I)
        if (const auto* Step = dynamic_cast<const TCellsStep*>(FStack.command(I)))
            Sum += Step->Bytes();
    return Sum;
}

void TTableUndo::Apply(const std::vector<TCellChange>& Changes, bool Undo) {
    // Undone newest first, so a cell changed twice in one step ends at its first bytes.
    if (Undo)
        for (auto C = Changes.rbegin(); C != Changes.rend(); ++C)
            SetCellValue(FGrid, C->Col, C->Row, C->Before);
    else
        for (const TCellChange& C : Changes)
            SetCellValue(FGrid, C.Col, C.Row, C.After);
    if (OnApplied)
        OnApplied(Changes);
}

} // namespace kav
