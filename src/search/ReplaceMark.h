#pragma once
// The replacement mark of a row (column 10) and its verification copy (column 11): written by
// every replacement, read back to undo it, cleared to accept it. A mark and its copy are always
// set and cleared together.

#include "grid/GridModel.h"

#include <string>

namespace kav {

// "[" + Position + "] <" + Old + ">  @" + New + "@".
std::string FormatReplaceMark(long long Position, const std::string& Old, const std::string& New);

struct TReplaceMark {
    std::string Old; // between the first "<" and the following ">"
    std::string New; // between the next "@" and the following "@"
};
// An old text holding ">" or a new text holding "@" does not come back whole.
TReplaceMark ParseReplaceMark(const std::string& Mark);

bool HasReplaceMark(const TStyledGridModel& Grid, int Row);

// Replaces every exact occurrence of Old in column 5 of Row by New and marks the row; Position
// is where Old stood, counted in the text before the change.
void ApplyReplacement(TStyledGridModel& Grid, int Row, long long Position, const std::string& Old,
                      const std::string& New);

// Turns every occurrence of the mark's new text in column 5 back into its old text and clears
// the mark; false (and nothing changed) for a row without a mark.
bool UndoReplacement(TStyledGridModel& Grid, int Row);
// Clears the mark and keeps the text; false for a row without a mark.
bool AcceptReplacement(TStyledGridModel& Grid, int Row);

// The nearest marked item row above or below Row, or -1.
int PreviousMarkedRow(const TStyledGridModel& Grid, int Row);
int NextMarkedRow(const TStyledGridModel& Grid, int Row);

} // namespace kav
