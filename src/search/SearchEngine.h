#pragma once
// Searching and replacing over the document's items without any window: the cell test, the
// downward search with its wrap to the first item row, and the replacements, each one an
// item's replacement with its mark through the command in progress. The main window's
// commands and kavtool both run on it.

#include "document/Document.h"
#include "document/UserInterface.h"
#include "search/CodePageMatch.h"
#include "search/SearchState.h"

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
    bool Stopped = false;   // the user pressed Cancel while the rows went by unasked
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
    // Letter case folds by the rules of the document's language.
    TSearchEngine(TSearchState& Search, const TDocument& Doc);

    TSearchState& State() { return S; }

    // Translated texts are in the language's code page, every other column in the system's.
    int CodePageOf(int Col) const;
    // The page in which search and replacement texts are typed.
    int TextCodePage() const;

    // The text of a searched cell: an item's name, default text or translation; "" for any
    // other cell.
    std::string_view CellText(int ACol, int ARow) const;
    // Every occurrence of Text in the cell that FSearchOptions accept (whole word, case).
    std::vector<TTextMatch> Occurrences(int ACol, int ARow, const std::string& Text);
    // True when the cell holds such an occurrence; FFoundText then holds the first one, in the
    // cell's own letters ("" when it fails).
    bool CellMatches(int ACol, int ARow, const std::string& Text);

    // Continues from FSearchRow/FSearchCol; the columns searched depend on whether the name and
    // default columns are editable. Without a hit FSearchRow becomes RowCount, so the next
    // search starts again at the first item row.
    std::optional<TCellHit> FindNext();

    // Replaces the occurrences of Text that FSearchOptions accept in the translation of Row's
    // item, through Edit, marking it with the first of them. Returns how many were replaced;
    // 0 changes nothing.
    int ReplaceInRow(TDocumentEdit& Edit, int Row, const std::string& Text,
                     const std::string& NewText);

    // Every item's translation, in order, through Edit. Ask may be empty (no questions).
    // GoOn hears each row reached once no more questions are asked, and stops the work when
    // it returns false.
    TReplaceAllResult ReplaceAllRows(TDocumentEdit& Edit, const std::string& Text,
                                     const std::string& NewText, const TAskReplace& Ask = {},
                                     const TReplacedEvent& Replaced = {},
                                     const std::function<bool(int Row)>& GoOn = {});

private:
    const TItemTable& Items() const { return Doc.Items(); }
    int RowCount() const { return Doc.Items().Grid().RowCount(); }
    bool WideSearch() const;
    std::optional<TCellHit> FindWide();
    std::optional<TCellHit> FindNarrow();
    // CellMatches for the occurrences already found in the cell.
    bool NoteFirst(int ACol, int ARow, const std::vector<TTextMatch>& Found);
    // ReplaceInRow with the occurrences already found in the row's present text.
    int ReplaceFound(TDocumentEdit& Edit, int Row, const std::vector<TTextMatch>& Found,
                     const std::string& NewText);
    const TSearchPattern& Pattern(const std::string& Text);

    TSearchState& S;
    const TDocument& Doc;
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
