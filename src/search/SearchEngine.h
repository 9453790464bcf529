#pragma once
// Searching and replacing over the translation table without any window: the cell test, the
// downward search with its wrap to the first item row, and the replacements with their marks.
// The main window's commands and kavtool both run on it.

#include "document/MainState.h"
#include "document/UserInterface.h"
#include "grid/GridModel.h"

#include <functional>
#include <optional>
#include <string>

namespace kav {

struct TCellHit {
    int Col = 0;
    int Row = 0;
};

struct TReplaceAllResult {
    bool Found = false;     // at least one cell matched
    int Count = 0;          // replacements made
    bool Cancelled = false; // the user stopped at a question
};

class TSearchEngine {
public:
    // Asked before each replacement; mrAll answers Yes for this and every later hit, mrNo skips
    // the hit, anything else stops.
    using TAskReplace = std::function<TModalResult(int Row)>;
    using TRowEvent = std::function<void(int Row)>;

    TSearchEngine(TMainState& State, TStyledGridModel& Grid);

    // Translated texts are in the language's code page, every other column in the system's.
    int CodePageOf(int Col) const;
    // The page in which search and replacement texts are typed.
    int TextCodePage() const;

    // Tests one cell with FSearchOptions and leaves the matched text, in the cell's own
    // letters, in FFoundText ("" when it fails). Only the first occurrence counts.
    bool CellMatches(int ACol, int ARow, const std::string& Text);

    // Continues from FSearchRow/FSearchCol; the columns searched depend on whether the name and
    // default columns are editable. Without a hit FSearchRow becomes RowCount, so the next
    // search starts again at the first item row.
    std::optional<TCellHit> FindNext();

    // Replaces FFoundText in the translated text of Row and marks the row; false, with nothing
    // changed, when FFoundText is empty or no longer occurs there.
    bool ReplaceFound(int Row, const std::string& NewText);

    // Every item row's translated text, in order. Ask may be empty (no questions); Replaced
    // follows each replacement.
    TReplaceAllResult ReplaceAllRows(const std::string& Text, const std::string& NewText,
                                     const TAskReplace& Ask = {}, const TRowEvent& Replaced = {});

private:
    bool WideSearch() const;
    std::optional<TCellHit> FindWide();
    std::optional<TCellHit> FindNarrow();

    TMainState& S;
    TStyledGridModel& Grid;
};

} // namespace kav
