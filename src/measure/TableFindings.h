#pragma once
// The findings of every item row of the translation table, kept current as the table changes:
// a changed row is checked again when it is next asked for, a reloaded or reshaped table as a
// whole. The grid marks the rows, walks them and counts them from here (no widgets).

#include "document/Consistency.h"
#include "document/SameWords.h"
#include "document/SourceBaseline.h"
#include "document/Speller.h"
#include "document/TextChecks.h"
#include "grid/GridModel.h"
#include "measure/ItemCheck.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kav {

class TTextMeasure;

// What the rows are checked in: the translations' code page, the document's language and the
// program folder that holds the project's word lists.
struct TFindingContext {
    int CodePage = 0;
    std::string LanguageCode;
    std::string ProgramDir; // with its trailing "/"; empty for none
    int Dpi = BaseDpi;      // the product's display setting the widths are checked at
    bool operator==(const TFindingContext&) const = default;
};

// What the checks of a table's rows share, made once for the table: the language's words that
// stay the same and the consistency of its texts. Any of them may be missing.
struct TTableChecks {
    const TItemTable* Items = nullptr;
    const TSameWords* SameWords = nullptr;
    const TConsistency* Consistency = nullptr;
    TSpeller* Speller = nullptr; // null: no dictionary of the language
    // The English the translated file was last saved against; null: nothing changed.
    const TSourceBaseline* Baseline = nullptr;
};

// One finding with the item row it was found in.
struct TRowFinding {
    int Row = 0;
    TFinding Finding;
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
// The too-long-filled finding of a checked item: it fits as written but not with its
// placeholders holding the project's samples.
std::optional<TFinding> CheckFilledWidth(const TItemCheck& Checked, TCheckSet Checks);
// Table and Id add what needs the whole table (consistency) and the shared lists.
// The program folder's samples and substitutes, the language and the display setting of a
// context, as every check of its rows takes them.
TItemCheckSetting CheckSettingOf(const TFindingContext& Context);

TCheckedRow CheckItemRow(const TItemView& Item, const TFindingContext& Context,
                         TTextMeasure& Measure, TCheckSet Checks = AllChecks,
                         const TTableChecks* Table = nullptr, TItemId Id = NoItem);

// A finding the translator must look at: an error or a warning. An untranslated text already
// shows in its colour, so it alone does not count.
bool NeedsAttention(const TFinding& Finding);

class TTableFindings : private IGridModelObserver {
public:
    // The items are read where the grid shows them; the grid's changes say which to check
    // again.
    TTableFindings(const TItemTable& Items, TStyledGridModel& Grid,
                   std::function<TFindingContext()> Context, TTextMeasure& Measure);
    ~TTableFindings();
    TTableFindings(const TTableFindings&) = delete;
    TTableFindings& operator=(const TTableFindings&) = delete;

    // The findings of an item row (none for any other row). Valid until the next call.
    const std::vector<TFinding>& Of(int Row);
    // True when the row has a finding that NeedsAttention.
    bool Marked(int Row);
    // True when one of those is an error (the marker's colour).
    bool MarkedAsError(int Row);
    TFindingCounts Counts();
    // The next marked item row after From (Forward) or before it; -1 when there is none.
    int NextMarked(int From, bool Forward);
    // The next (or previous) item row after From whose English changed since its file was
    // saved, or -1.
    int NextChangedEnglish(int From, bool Forward) const;
    // Every finding of a kind in Kinds and of Severity (every severity when none), in the
    // order of the rows; none while the table is Pending.
    std::vector<TRowFinding> List(TCheckSet Kinds = AllChecks,
                                  std::optional<TSeverity> Severity = std::nullopt);

    // A table of this many rows or more, loaded or reshaped, is not checked row by row as it
    // is drawn: its check waits for CheckAll, which can show its progress and be stopped.
    static constexpr int CheckedWhole = 5000;
    // True while such a table waits for CheckAll: it shows no findings and counts none.
    bool Pending() const { return FPending; }
    // Checks every row that needs it, telling Progress how many of how many rows are done;
    // when Progress returns false the check stops and the table stays Pending, its findings
    // unknown rather than half counted. Returns whether the check went through.
    bool CheckAll(const std::function<bool(size_t Done, size_t Total)>& Progress);

    // Called after each change of the table (texts, rows), before anything is checked again.
    std::function<void()> OnChanged;
    // Called once for each language the table is checked in that has no spelling dictionary.
    std::function<void(const std::string& LanguageCode)> OnNoDictionary;

    // The speller of the language the table was last checked in; null without a dictionary.
    TSpeller* Speller();
    // The language the table was last checked in when it has no spelling dictionary, else "".
    std::string UncheckedSpelling() const {
        return FSpeller || FCheckedIn.LanguageCode.size() < 2 ? std::string()
                                                              : FCheckedIn.LanguageCode;
    }
    // The misspelt words of an item row's translation, as positions in its decoded text.
    std::vector<TSpellWord> MisspeltWords(int Row);
    // A word went into the project's dictionary: every row's spelling is judged again.
    void DictionaryChanged();
    // What the context holds changed in place (the product's display setting): every row is
    // checked again.
    void ContextChanged();
    // The English the document's file was saved against; the rows are checked again whenever
    // it changes (a load, an item marked as reviewed).
    void SetBaseline(const TSourceBaseline* Baseline) { FBaseline = Baseline; }
    // An item was marked as reviewed: the counts and markers follow.
    void ReviewsChanged();

private:
    // What a row's findings come to, in two bytes: how many of each severity (a row has each
    // kind at most once), whether it is marked and with an error, and whether it waits to be
    // checked again. The messages themselves are made again when a row is asked for: kept for
    // every row they would cost more than the table's own texts.
    using TRowSummary = std::uint16_t;
    static TRowSummary SummaryOf(const std::vector<TFinding>& Findings);
    void GridChanged(const TGridChange& Change) override;
    // False when Progress stopped it.
    bool Refresh(const std::function<bool(size_t, size_t)>* Progress = nullptr);
    void Recheck(int Row);
    // What a row's own findings are made of: its item's texts and fields and how its English
    // changed; 0 for a row without an item.
    std::uint64_t PrintOf(int Row) const;
    // Whether every row holds what it held when it was last checked: a table read again as it
    // was (the read-back of a save) keeps its findings instead of being checked anew.
    bool RowsAsChecked() const;
    TCheckedRow CheckRow(int Row);
    void LoadSpeller(const TFindingContext& Context);
    void Count(TRowSummary Summary, int Sign);
    TRowSummary SummaryAt(int Row);

    const TItemTable& FItems;
    TStyledGridModel& FGrid;
    std::function<TFindingContext()> FContext;
    TTextMeasure& FMeasure;
    TFindingContext FCheckedIn;
    TSameWords FSameWords;     // of FCheckedIn's language
    TConsistency FConsistency; // of the table as last checked
    std::unique_ptr<TSpeller> FSpeller;
    const TSourceBaseline* FBaseline = nullptr;
    std::uint64_t FBaselineRevision = 0; // of FBaseline as last checked
    std::string FToldNoDictionary;       // the language OnNoDictionary was last called for
    bool FAllStale = true;
    bool FPending = false;
    std::vector<TRowSummary> FRows;     // by row
    std::vector<std::uint64_t> FPrints; // by row, PrintOf as last checked
    std::vector<int> FStaleRows;        // changed since they were checked, each once
    TFindingCounts FCounts;             // the sum over FRows
    int FListedRow = -1;                // the row FListed holds the findings of
    std::vector<TFinding> FListed;
};

} // namespace kav
