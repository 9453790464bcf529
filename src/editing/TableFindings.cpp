#include "editing/TableFindings.h"

#include "document/CodePage.h"
#include "document/TranslationTable.h"
#include "editing/RowFont.h"
#include "measure/TextMeasure.h"

#include <algorithm>

namespace kav {

namespace {

// The row font as the product draws the translation: the row's name, size and bold on a plain
// style.
TMyFont RowFontForCheck(const TStyledGridModel& Grid, int Row) {
    TMyFont Plain;
    Plain.SetName(DefaultRowFontName);
    Plain.SetSize(DefaultRowFontPoints);
    Plain.SetStyle(0);
    return WithRowFont(Plain, RowFontOf(Grid, Row), 0);
}

const std::vector<TFinding> NoFindings;

} // namespace

std::vector<TFinding> CheckItemRow(const TStyledGridModel& Grid, int Row,
                                   const TFindingContext& Context, TTextMeasure& Measure) {
    const TMyFont Font = RowFontForCheck(Grid, Row);
    const QString Default =
        DecodeBytes(Grid.Cells(colDefault, Row), CodePageForCharset(DEFAULT_CHARSET));
    const QString Translated = DecodeBytes(Grid.Cells(colTranslated, Row), Context.CodePage);
    const std::optional<int> Allowed = AllowedWidthOf(Grid, Row);
    const int Width = Allowed ? *Allowed : Measure.Width(Default, Font);
    std::vector<TFinding> Findings = CheckWidth(Width, Measure.Width(Translated, Font));
    TCheckOptions Options;
    Options.LanguageCode = Context.LanguageCode;
    for (TFinding& F : CheckTranslation(Default, Translated, Options))
        Findings.push_back(std::move(F));
    return Findings;
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
            FRows[R] = IsItemRow(FGrid, Row) ? CheckItemRow(FGrid, Row, Context, FMeasure)
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
