#pragma once
// Searching and replacing over the translation table without any window: the cell test, the
// downward search with its wrap to the first item row, and the replacements with their marks
// and the memory that undoes them. The main window's commands and kavtool both run on it.

#include "document/MainState.h"
#include "document/UserInterface.h"
#include "grid/GridModel.h"
#include "search/CodePageMatch.h"
#include "search/ReplaceMark.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kav {

struct TCellHit {
    int Col = 0;
    int Row = 0;
};

struct TReplaceAllResult {
    bool Found = false;     // at least one cell matched
    int Count = 0;          // occurrences replaced
    int Items = 0;          // rows in which they were replaced
    bool Cancelled = false; // the user stopped at a question
};

// "Found N occurences in M items", or "Search string not found" when nothing matched.
std::string ReplaceSummary(const TReplaceAllResult& Result);

class TSearchEngine {
public:
    // Asked before each row's replacement; mrAll answers Yes for this and every later hit, mrNo
    // skips the hit, anything else stops.
    using TAskReplace = std::function<TModalResult(int Row)>;
    // Follows each row's replacement, with the text the row had before it.
    using TReplacedEvent = std::function<void(int Row, const std::string& Before)>;
    // Letter case folds by the rules of the document's language (FLanguageCode).
    TSearchEngine(TMainState& State, TStyledGridModel& Grid);

    // Translated texts are in the language's code page, every other column in the system's.
    int CodePageOf(int Col) const;
    // The page in which search and replacement texts are typed.
    int TextCodePage() const;

    // Every occurrence of Text in the cell that FSearchOptions accept (whole word, case).
    std::vector<TTextMatch> Occurrences(int ACol, int ARow, const std::string& Text);
    // True when the cell holds such an occurrence; FFoundText then holds the first one, in the
    // cell's own letters ("" when it fails).
    bool CellMatches(int ACol, int ARow, const std::string& Text);

    // Continues from FSearchRow/FSearchCol; the columns searched depend on whether the name and
    // default columns are editable. Without a hit FSearchRow becomes RowCount, so the next
    // search starts again at the first item row.
    std::optional<TCellHit> FindNext();

    // Replaces the occurrences of Text that FSearchOptions accept in the translated text of Row
    // and marks the row with the first of them. Returns how many were replaced; 0 changes
    // nothing.
    int ReplaceInRow(int Row, const std::string& Text, const std::string& NewText);

    // Every item row's translated text, in order. Ask may be empty (no questions).
    TReplaceAllResult ReplaceAllRows(const std::string& Text, const std::string& NewText,
                                     const TAskReplace& Ask = {},
                                     const TReplacedEvent& Replaced = {});

    TReplaceHistory& History() { return FHistory; }

private:
    bool WideSearch() const;
    std::optional<TCellHit> FindWide();
    std::optional<TCellHit> FindNarrow();
    // CellMatches for the occurrences already found in the cell.
    bool NoteFirst(int ACol, int ARow, const std::vector<TTextMatch>& Found);
    // ReplaceInRow with the occurrences already found in the row's present text.
    int ReplaceFound(int Row, const std::vector<TTextMatch>& Found, const std::string& NewText);
    const TSearchPattern& Pattern(const std::string& Text);

    TMainState& S;
    TStyledGridModel& Grid;
    TReplaceHistory FHistory;
    // The last pattern, with what it was made of: folding letters is the costly part.
    struct TPatternKey {
        std::string Text;
        int CodePage = 0;
        bool MatchCase = false;
        std::string Language;
        bool operator==(const TPatternKey&) const = default;
    };
    TPatternKey FPatternKey;
    std::unique_ptr<TSearchPattern> FPattern;
};

} // namespace kav
