#pragma once
// The findings of every item row of the translation table, kept current as the table changes:
// a changed row is checked again when it is next asked for, a reloaded or reshaped table as a
// whole. The grid marks the rows, walks them and counts them from here (no widgets).

#include "document/TextChecks.h"
#include "grid/GridModel.h"
#include "measure/ItemCheck.h"

#include <functional>
#include <string>
#include <vector>

namespace kav {

class TTextMeasure;

// What the rows are checked in: the translations' code page and the document's language.
struct TFindingContext {
    int CodePage = 0;
    std::string LanguageCode;
    bool operator==(const TFindingContext&) const = default;
};

struct TFindingCounts {
    int Errors = 0;
    int Warnings = 0;
    int Infos = 0;
};

// One item row checked: the item check (state, widths, font, face) and the findings of the
// checks asked for: its width (in the item's font, as the product draws it) and its text.
struct TCheckedRow {
    TItemCheck Item;
    std::vector<TFinding> Findings;
};
TCheckedRow CheckItemRow(const TStyledGridModel& Grid, int Row, const TFindingContext& Context,
                         TTextMeasure& Measure, TCheckSet Checks = AllChecks);

// A finding the translator must look at: an error or a warning. An untranslated text already
// shows in its colour, so it alone does not count.
bool NeedsAttention(const TFinding& Finding);

class TTableFindings : private IGridModelObserver {
public:
    TTableFindings(TStyledGridModel& Grid, std::function<TFindingContext()> Context,
                   TTextMeasure& Measure);
    ~TTableFindings();
    TTableFindings(const TTableFindings&) = delete;
    TTableFindings& operator=(const TTableFindings&) = delete;

    // The findings of an item row (none for any other row).
    const std::vector<TFinding>& Of(int Row);
    // True when the row has a finding that NeedsAttention.
    bool Marked(int Row);
    TFindingCounts Counts();
    // The next marked item row after From (Forward) or before it; -1 when there is none.
    int NextMarked(int From, bool Forward);

    // Called after each change of the table (texts, rows), before anything is checked again.
    std::function<void()> OnChanged;

private:
    void GridChanged(const TGridChange& Change) override;
    void Refresh();

    TStyledGridModel& FGrid;
    std::function<TFindingContext()> FContext;
    TTextMeasure& FMeasure;
    TFindingContext FCheckedIn;
    bool FAllStale = true;
    bool FAnyStale = true;
    std::vector<std::vector<TFinding>> FRows; // by row
    std::vector<bool> FStale;                 // by row
};

} // namespace kav
