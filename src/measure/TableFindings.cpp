#include "measure/TableFindings.h"

#include "document/TranslationTable.h"
#include "measure/ItemCheck.h"
#include "measure/TextMeasure.h"
#include "text/CodePage.h"

#include <algorithm>

namespace kav {

namespace {

const std::vector<TFinding> NoFindings;

} // namespace

TCheckedRow CheckItemRow(const TStyledGridModel& Grid, int Row, const TFindingContext& Context,
                         TTextMeasure& Measure, TCheckSet Checks) {
    // The width is the item check's, the one rule the band and kavtool follow too.
    TCheckedRow Checked{CheckItem(Grid, Row, Context.CodePage, Measure), {}};
    // An untranslated item shows the default text: how full its space is says nothing of a
    // translation (without a width of its own it always fills 100 %). Too long is still wrong.
    const TCheckSet WidthChecks = Checked.Item.State == TItemState::Untranslated
                                      ? Checks & ~CheckBit(TFindingKind::Crowded)
                                      : Checks;
    Checked.Findings = CheckWidth(Checked.Item.Allowed, Checked.Item.Measured, WidthChecks);
    TCheckOptions Options;
    Options.Checks = Checks;
    Options.LanguageCode = Context.LanguageCode;
    const QString Default =
        DecodeBytes(Grid.Cells(colDefault, Row), CodePageForCharset(DEFAULT_CHARSET));
    for (TFinding& F : CheckTranslation(Default, Checked.Item.Text, Options))
        Checked.Findings.push_back(std::move(F));
    return Checked;
}

bool NeedsAttention(const TFinding& Finding) {
    return Finding.Severity != TSeverity::Info && Finding.Kind != TFindingKind::Untranslated;
}

TTableFindings::TTableFindings(TStyledGridModel& Grid, std::function<TFindingContext()> Context,
                               TTextMeasure& Measure)
    : FGrid(Grid), FContext(std::move(Context)), FMeasure(Measure) {
    FGrid.AddObserver(this);
}

TTableFindings::~TTableFindings() {
    FGrid.RemoveObserver(this);
}

void TTableFindings::GridChanged(const TGridChange& Change) {
    if (Change.Kind == TGridChangeKind::Repaint)
        return;
    if (Change.Kind == TGridChangeKind::TextChanged && Change.Row >= 0 &&
        static_cast<size_t>(Change.Row) < FStale.size() && !FAllStale) {
        FStale[static_cast<size_t>(Change.Row)] = true;
        FAnyStale = true;
    } else {
        FAllStale = true;
    }
    if (OnChanged)
        OnChanged();
}

void TTableFindings::Refresh() {
    const TFindingContext Context = FContext ? FContext() : TFindingContext();
    const size_t Rows = static_cast<size_t>(std::max(0, FGrid.RowCount()));
    if (FAllStale || !(Context == FCheckedIn) || FRows.size() != Rows) {
        FRows.assign(Rows, {});
        FStale.assign(Rows, true);
        FCheckedIn = Context;
        FAllStale = false;
        FAnyStale = true;
    }
    if (!FAnyStale)
        return;
    for (int Row = FirstItemRow; Row < TrailingRow(FGrid); ++Row) {
        const size_t R = static_cast<size_t>(Row);
        if (R < Rows && FStale[R]) {
            FRows[R] = IsItemRow(FGrid, Row) ? CheckItemRow(FGrid, Row, Context, FMeasure).Findings
                                             : std::vector<TFinding>();
            FStale[R] = false;
        }
    }
    FAnyStale = false;
}

const std::vector<TFinding>& TTableFindings::Of(int Row) {
    Refresh();
    if (!IsItemRow(FGrid, Row) || static_cast<size_t>(Row) >= FRows.size())
        return NoFindings;
    return FRows[static_cast<size_t>(Row)];
}

bool TTableFindings::Marked(int Row) {
    const std::vector<TFinding>& Findings = Of(Row);
    return std::any_of(Findings.begin(), Findings.end(), NeedsAttention);
}

TFindingCounts TTableFindings::Counts() {
    Refresh();
    TFindingCounts Counts;
    for (const std::vector<TFinding>& Row : FRows)
        for (const TFinding& F : Row) {
            Counts.Errors += F.Severity == TSeverity::Error;
            Counts.Warnings += F.Severity == TSeverity::Warning;
            Counts.Infos += F.Severity == TSeverity::Info;
        }
    return Counts;
}

int TTableFindings::NextMarked(int From, bool Forward) {
    Refresh();
    const int Last = TrailingRow(FGrid);
    for (int Row = Forward ? std::max(From + 1, FirstItemRow) : std::min(From - 1, Last - 1);
         Row >= FirstItemRow && Row < Last; Row += Forward ? 1 : -1)
        if (Marked(Row))
            return Row;
    return -1;
}

} // namespace kav
