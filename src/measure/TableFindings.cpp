#include "measure/TableFindings.h"

#include "document/TranslationTable.h"
#include "measure/ItemCheck.h"
#include "measure/TextMeasure.h"
#include "text/CodePage.h"

#include <algorithm>

namespace kav {

namespace {

const std::vector<TFinding> NoFindings;

// The fields of a row's summary.
constexpr unsigned CountMask = 0xF;
constexpr unsigned WarningShift = 4;
constexpr unsigned InfoShift = 8;
constexpr unsigned AllCountsMask = 0xFFF;
constexpr unsigned MarkedBit = 1u << 12;
constexpr unsigned ErrorMarkBit = 1u << 13;
constexpr unsigned StaleBit = 1u << 14;

} // namespace

TCheckedRow CheckItemRow(const TItemView& Item, const TFindingContext& Context,
                         TTextMeasure& Measure, TCheckSet Checks) {
    // The width is the item check's, the one rule the band and kavtool follow too.
    TCheckedRow Checked{CheckItem(Item, Context.CodePage, Measure), {}};
    // An untranslated item shows the default text: how full its space is says nothing of a
    // translation (without a width of its own it always fills 100 %). Too long is still wrong.
    const TCheckSet WidthChecks = Checked.Item.State == TItemState::Untranslated
                                      ? Checks & ~CheckBit(TFindingKind::Crowded)
                                      : Checks;
    Checked.Findings = CheckWidth(Checked.Item.Allowed, Checked.Item.Measured, WidthChecks);
    TCheckOptions Options;
    Options.Checks = Checks;
    Options.LanguageCode = Context.LanguageCode;
    const QString Default = DecodeBytes(Item.Default, CodePageForCharset(DEFAULT_CHARSET));
    for (TFinding& F : CheckTranslation(Default, Checked.Item.Text, Options))
        Checked.Findings.push_back(std::move(F));
    return Checked;
}

bool NeedsAttention(const TFinding& Finding) {
    return Finding.Severity != TSeverity::Info && Finding.Kind != TFindingKind::Untranslated;
}

TTableFindings::TTableFindings(const TItemTable& Items, TStyledGridModel& Grid,
                               std::function<TFindingContext()> Context, TTextMeasure& Measure)
    : FItems(Items), FGrid(Grid), FContext(std::move(Context)), FMeasure(Measure) {
    FGrid.AddObserver(this);
}

TTableFindings::~TTableFindings() {
    FGrid.RemoveObserver(this);
}

TTableFindings::TRowSummary TTableFindings::SummaryOf(const std::vector<TFinding>& Findings) {
    unsigned Errors = 0, Warnings = 0, Infos = 0;
    TRowSummary Summary = 0;
    for (const TFinding& F : Findings) {
        Errors += F.Severity == TSeverity::Error;
        Warnings += F.Severity == TSeverity::Warning;
        Infos += F.Severity == TSeverity::Info;
        if (NeedsAttention(F))
            Summary |= F.Severity == TSeverity::Error ? MarkedBit | ErrorMarkBit : MarkedBit;
    }
    // Each kind is found at most once in a row, so a count never reaches the field's limit.
    return static_cast<TRowSummary>(Summary | std::min(Errors, CountMask) |
                                    std::min(Warnings, CountMask) << WarningShift |
                                    std::min(Infos, CountMask) << InfoShift);
}

void TTableFindings::Count(TRowSummary Summary, int Sign) {
    FCounts.Errors += Sign * static_cast<int>(Summary & CountMask);
    FCounts.Warnings += Sign * static_cast<int>(Summary >> WarningShift & CountMask);
    FCounts.Infos += Sign * static_cast<int>(Summary >> InfoShift & CountMask);
}

void TTableFindings::GridChanged(const TGridChange& Change) {
    if (Change.Kind == TGridChangeKind::Repaint)
        return;
    FListedRow = -1;
    if (Change.Kind == TGridChangeKind::TextChanged && Change.Row >= 0 &&
        static_cast<size_t>(Change.Row) < FRows.size() && !FAllStale) {
        TRowSummary& Summary = FRows[static_cast<size_t>(Change.Row)];
        if (!(Summary & StaleBit)) {
            Summary |= StaleBit;
            FStaleRows.push_back(Change.Row);
        }
    } else {
        FAllStale = true;
        FPending = FGrid.RowCount() >= CheckedWhole;
    }
    if (OnChanged)
        OnChanged();
}

void TTableFindings::Recheck(int Row) {
    TRowSummary& Summary = FRows[static_cast<size_t>(Row)];
    Count(Summary, -1);
    const bool Item = FItems.Contains(ItemOfRow(Row)) && IsItemRow(FGrid, Row);
    Summary =
        Item ? SummaryOf(CheckItemRow(FItems.View(ItemOfRow(Row)), FCheckedIn, FMeasure).Findings)
             : 0;
    Count(Summary, +1);
}

bool TTableFindings::Refresh(const std::function<bool(size_t, size_t)>* Progress) {
    const TFindingContext Context = FContext ? FContext() : TFindingContext();
    const size_t Rows = static_cast<size_t>(std::max(0, FGrid.RowCount()));
    if (FAllStale || !(Context == FCheckedIn) || FRows.size() != Rows) {
        FRows.assign(Rows, 0);
        FStaleRows.clear();
        FCounts = {};
        FCheckedIn = Context;
        FListedRow = -1;
        const int Last = TrailingRow(FGrid);
        const auto Total = static_cast<size_t>(std::max(0, Last - FirstItemRow));
        for (int Row = FirstItemRow; Row < Last; ++Row) {
            if (Progress && !(*Progress)(static_cast<size_t>(Row - FirstItemRow), Total))
                return false;
            Recheck(Row);
        }
        FAllStale = false;
        return true;
    }
    for (const int Row : FStaleRows) {
        FRows[static_cast<size_t>(Row)] &= static_cast<TRowSummary>(~StaleBit);
        Recheck(Row);
    }
    FStaleRows.clear();
    return true;
}

bool TTableFindings::CheckAll(const std::function<bool(size_t Done, size_t Total)>& Progress) {
    if (!Refresh(&Progress))
        return false;
    FPending = false;
    return true;
}

TTableFindings::TRowSummary TTableFindings::SummaryAt(int Row) {
    if (FPending)
        return 0;
    Refresh();
    if (!IsItemRow(FGrid, Row) || static_cast<size_t>(Row) >= FRows.size())
        return 0;
    return FRows[static_cast<size_t>(Row)];
}

const std::vector<TFinding>& TTableFindings::Of(int Row) {
    if ((SummaryAt(Row) & AllCountsMask) == 0)
        return NoFindings;
    // The same check as the one the summary was made from, on the same texts: the same list.
    if (FListedRow != Row) {
        FListed = CheckItemRow(FItems.View(ItemOfRow(Row)), FCheckedIn, FMeasure).Findings;
        FListedRow = Row;
    }
    return FListed;
}

bool TTableFindings::Marked(int Row) {
    return (SummaryAt(Row) & MarkedBit) != 0;
}

bool TTableFindings::MarkedAsError(int Row) {
    return (SummaryAt(Row) & ErrorMarkBit) != 0;
}

TFindingCounts TTableFindings::Counts() {
    if (FPending)
        return {};
    Refresh();
    return FCounts;
}

int TTableFindings::NextMarked(int From, bool Forward) {
    if (FPending)
        return -1;
    Refresh();
    const int Last = TrailingRow(FGrid);
    for (int Row = Forward ? std::max(From + 1, FirstItemRow) : std::min(From - 1, Last - 1);
         Row >= FirstItemRow && Row < Last; Row += Forward ? 1 : -1)
        if (FRows[static_cast<size_t>(Row)] & MarkedBit)
            return Row;
    return -1;
}

} // namespace kav
