#pragma once
// The undo history of one document: each step holds only the cells a command changed, with
// their bytes before and after, so that a Fill of a whole column costs the texts it replaced
// and not a copy of the table. Steps are recorded after the command has run; undo and redo
// write the recorded bytes back. Widget-free (QUndoStack is part of Qt Gui).

#include "grid/GridModel.h"

#include <QUndoStack>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace kav {

// One changed cell. The colour mark column holds its colour, written as decimal text.
struct TCellChange {
    int Col = 0;
    int Row = 0;
    std::string Before;
    std::string After;
};

// What a step keeps of a cell: its text, or for the colour mark column its colour.
std::string CellValue(const TStyledGridModel& Grid, int Col, int Row);
void SetCellValue(TStyledGridModel& Grid, int Col, int Row, const std::string& Value);

// The cells a table command may change (colour marks, translations, replacement marks and
// their copies) of a range of rows, taken before the command; Changes compares them with the
// table after it.
class TTableSnapshot {
public:
    // Rows FirstRow to LastRow, cut to the table's item rows.
    TTableSnapshot(const TStyledGridModel& Grid, int FirstRow, int LastRow);
    // The whole table.
    explicit TTableSnapshot(const TStyledGridModel& Grid);

    // Empty when nothing changed, and when the command changed the number of rows (its
    // changes cannot then be placed back row by row: see RowsChanged).
    std::vector<TCellChange> Changes(const TStyledGridModel& Grid) const;
    bool RowsChanged(const TStyledGridModel& Grid) const;

private:
    int FRowCount = 0;
    int FFirst = 0;
    std::vector<std::string> FValues; // per row, one per tracked column
};

// Rows whose translated text a list of changes touches.
int ChangedItemCount(const std::vector<TCellChange>& Changes);
// Rows a list of changes touches, in any column.
int ChangedRowCount(const std::vector<TCellChange>& Changes);

class TTableUndo {
public:
    static constexpr int StepLimit = 200;

    explicit TTableUndo(TStyledGridModel& Grid);

    QUndoStack& Stack() { return FStack; }
    // Adds a step for changes already made to the table; nothing when there are none.
    void Push(const std::string& Name, std::vector<TCellChange> Changes);
    // The bytes the kept steps hold: the texts before and after and a small record per cell.
    size_t StoredBytes() const;

    // Called after undo or redo wrote a step's cells back.
    std::function<void(const std::vector<TCellChange>&)> OnApplied;

private:
    friend class TCellsStep;
    void Apply(const std::vector<TCellChange>& Changes, bool Undo);

    TStyledGridModel& FGrid;
    QUndoStack FStack;
};

} // namespace kav
