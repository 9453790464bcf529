#pragma once
// The replacement mark of a row (column 10) and its verification copy (column 11), written by
// every replacement, and the memory that undoes replacements exactly. A mark and its copy are
// always set and cleared together.

#include "grid/GridModel.h"

#include <map>
#include <string>
#include <vector>

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

// The nearest marked item row above or below Row, or -1.
int PreviousMarkedRow(const TStyledGridModel& Grid, int Row);
int NextMarkedRow(const TStyledGridModel& Grid, int Row);

// The translated texts the replacements of this session overwrote, newest last per row. The
// mark alone cannot give them back: turning the new text into the old one again would also
// change occurrences of the new text that were there before. Marks are not saved, so this
// memory lives as long as the table's marks do; an entry counts only while its row still shows
// the mark and the text that replacement left (an edit drops the mark, a load rebuilds rows).
class TReplaceHistory {
public:
    // Sets the translated text of Row to After with Mark, remembering the text before. A row
    // still showing the mark of an earlier replacement stacks this one on top of it.
    void Apply(TStyledGridModel& Grid, int Row, const std::string& Mark, const std::string& After);

    // Gives Row the text it had before its newest replacement, and the mark of the one before
    // that if any. False, with nothing changed, for a row without a mark or whose mark this
    // session did not write.
    bool Undo(TStyledGridModel& Grid, int Row);
    // Every replacement of Row, newest first; true when any was undone.
    bool UndoAll(TStyledGridModel& Grid, int Row);
    // Clears the mark and keeps the text; false for a row without a mark.
    bool Accept(TStyledGridModel& Grid, int Row);

private:
    struct TStep {
        std::string Before;
        std::string Mark;
        std::string After;
    };
    // The row's steps when its cells still show the newest one, else null.
    std::vector<TStep>* Current(const TStyledGridModel& Grid, int Row);

    std::map<int, std::vector<TStep>> FSteps;
};

} // namespace kav
