#include "measure/TableFindings.h"

#include "document/TranslationTable.h"
#include "measure/ItemCheck.h"
#include "measure/RowFont.h"
#include "measure/TextMeasure.h"
#include "text/CodePage.h"
#include "text/Fingerprint.h"

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

namespace {

// An English default that already fills 90 % of the width the product gives it leaves little
// room for any language: a note on the default, whatever the translation.
std::optional<TFinding> CheckRoomToGrow(const TItemView& Item, const TItemCheck& Checked,
                                        TTextMeasure& Measure) {
    if (Item.Default.empty() || !AllowedWidthOf(Item))
        return std::nullopt;
    const int Width = Measure.Measure(Item.Default, Checked.Font, DEFAULT_CHARSET).Width;
    const int Percent = WidthPercent(Checked.Allowed, Width);
    if (Percent >= 0 && Percent < 90)
        return std::nullopt;
    const std::string Numbers =
        " (" + std::to_string(Width) + " px of " + std::to_string(Checked.Allowed) + " px)";
    const std::string Fill =
        Percent < 0 || Percent > 100
            ? "the default text is already wider than its space"
            : "the default text fills " + std::to_string(Percent) + " % of its space";
    return TFinding{TFindingKind::RoomToGrow, SeverityOf(TFindingKind::RoomToGrow),
                    Fill + Numbers + ": little room for any language"};
}

} // namespace

std::optional<TFinding> CheckFilledWidth(const TItemCheck& Checked, TCheckSet Checks) {
    // Too long as written is the error already; this says what only the product's values add.
    if (!(Checks & CheckBit(TFindingKind::TooLongFilled)) || !Checked.Fits || Checked.FitsFilled)
        return std::nullopt;
    const int Percent = WidthPercent(Checked.Allowed, Checked.Filled);
    return TFinding{TFindingKind::TooLongFilled, SeverityOf(TFindingKind::TooLongFilled),
                    "too long with placeholder samples: " + FilledWidthsText(Checked) +
                        (Percent < 0 ? "" : " (" + std::to_string(Percent) + " %)")};
}

TItemCheckSetting CheckSettingOf(const TFindingContext& Context) {
    TItemCheckSetting Setting;
    Setting.Samples = &ProjectSamples(Context.ProgramDir);
    Setting.Substitutes = &ProjectSubstitutes(Context.ProgramDir);
    Setting.LanguageCode = Context.LanguageCode;
    Setting.Dpi = Context.Dpi;
    return Setting;
}

TCheckedRow CheckItemRow(const TItemView& Item, const TFindingContext& Context,
                         TTextMeasure& Measure, TCheckSet Checks, const TTableChecks* Table,
                         TItemId Id) {
    // The width is the item check's, the one rule the band and kavtool follow too.
    TCheckedRow Checked{CheckItem(Item, Context.CodePage, Measure, CheckSettingOf(Context)), {}};
    // An untranslated item shows the default text: how full its space is says nothing of a
    // translation (without a width of its own it always fills 100 %). Too long is still wrong.
    const TCheckSet WidthChecks = Checked.Item.State == TItemState::Untranslated
                                      ? Checks & ~CheckBit(TFindingKind::Crowded)
                                      : Checks;
    Checked.Findings = CheckWidth(Checked.Item.Allowed, Checked.Item.Measured, WidthChecks);
    if (std::optional<TFinding> F = CheckFilledWidth(Checked.Item, Checks))
        Checked.Findings.push_back(std::move(*F));
    // Pixels at another setting than the file's own say which they are.
    if (Context.Dpi != BaseDpi)
        for (TFinding& F : Checked.Findings)
            F.Message += " at " + std::to_string(Context.Dpi) + " dpi";
    TCheckOptions Options;
    Options.Checks = Checks;
    Options.LanguageCode = Context.LanguageCode;
    Options.SameWords = Table ? Table->SameWords : nullptr;
    const QString Default = DecodeBytes(Item.Default, CodePageForCharset(DEFAULT_CHARSET));
    for (TFinding& F : CheckTranslation(Default, Checked.Item.Text, Options))
        Checked.Findings.push_back(std::move(F));
    if (Checks & CheckBit(TFindingKind::Consistency) && Table && Table->Consistency && Table->Items)
        if (std::optional<TFinding> F = Table->Consistency->Of(*Table->Items, Id))
            Checked.Findings.push_back(std::move(*F));
    if (Checks & CheckBit(TFindingKind::Spelling) && Table && Table->Speller &&
        Checked.Item.State == TItemState::Translated)
        if (std::optional<TFinding> F = CheckSpelling(*Table->Speller, Default, Checked.Item.Text))
            Checked.Findings.push_back(std::move(*F));
    if (Checks & CheckBit(TFindingKind::RoomToGrow))
        if (std::optional<TFinding> F = CheckRoomToGrow(Item, Checked.Item, Measure))
            Checked.Findings.push_back(std::move(*F));
    if (Checks & CheckBit(TFindingKind::SourceChanged) && Table && Table->Baseline && Table->Items)
        if (std::optional<TFinding> F = Table->Baseline->FindingOf(*Table->Items, Id))
            Checked.Findings.push_back(std::move(*F));
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

TCheckedRow TTableFindings::CheckRow(int Row) {
    const TTableChecks Table{&FItems, &FSameWords, &FConsistency, FSpeller.get(), FBaseline};
    return CheckItemRow(FItems.View(ItemOfRow(Row)), FCheckedIn, FMeasure, AllChecks, &Table,
                        ItemOfRow(Row));
}

void TTableFindings::Recheck(int Row) {
    TRowSummary& Summary = FRows[static_cast<size_t>(Row)];
    Count(Summary, -1);
    const bool Item = FItems.Contains(ItemOfRow(Row)) && IsItemRow(FGrid, Row);
    Summary = Item ? SummaryOf(CheckRow(Row).Findings) : 0;
    Count(Summary, +1);
    FPrints[static_cast<size_t>(Row)] = PrintOf(Row);
}

std::uint64_t TTableFindings::PrintOf(int Row) const {
    const TItemId Id = ItemOfRow(Row);
    if (!FItems.Contains(Id) || !IsItemRow(FGrid, Row))
        return 0;
    const TItemView Item = FItems.View(Id);
    TFingerprint Print;
    for (const std::string_view Field : {Item.Name, Item.Default, Item.Translation, Item.Width,
                                         Item.FontName, Item.FontStyle, Item.FontSize})
        Print.Add(Field);
    if (FBaseline)
        Print.Add(static_cast<std::uint64_t>(FBaseline->ChangeOf(FItems, Id)));
    return Print.Value();
}

bool TTableFindings::RowsAsChecked() const {
    if (FPrints.size() != FRows.size())
        return false;
    const int Last = TrailingRow(FGrid);
    for (int Row = FirstItemRow; Row < Last; ++Row)
        if (FPrints[static_cast<size_t>(Row)] != PrintOf(Row))
            return false;
    return true;
}

bool TTableFindings::Refresh(const std::function<bool(size_t, size_t)>* Progress) {
    const TFindingContext Context = FContext ? FContext() : TFindingContext();
    const size_t Rows = static_cast<size_t>(std::max(0, FGrid.RowCount()));
    if (FBaseline && FBaseline->Revision() != FBaselineRevision) {
        FAllStale = true;
        FBaselineRevision = FBaseline->Revision();
    }
    if (FAllStale && Context == FCheckedIn && FRows.size() == Rows && RowsAsChecked()) {
        // Same texts in the same rows: the findings stand, and so does the consistency index,
        // which knows the items by their ids, the rows they stand in, and keeps its own copies
        // of their texts.
        for (const int Row : FStaleRows)
            FRows[static_cast<size_t>(Row)] &= static_cast<TRowSummary>(~StaleBit);
        FStaleRows.clear();
        FListedRow = -1;
        FAllStale = false;
        return true;
    }
    if (FAllStale || !(Context == FCheckedIn) || FRows.size() != Rows) {
        if (!(Context == FCheckedIn) || FAllStale)
            FSameWords = TSameWords::For(Context.ProgramDir, Context.LanguageCode);
        if (!(Context == FCheckedIn) || (FAllStale && !FSpeller))
            LoadSpeller(Context);
        FConsistency.Build(FItems);
        FRows.assign(Rows, 0);
        FPrints.assign(Rows, 0);
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
    // A changed translation can change the consistency of the items that share its English or
    // its translation, before or after the change: those are checked again with it.
    std::vector<int> Again;
    for (const int Row : FStaleRows) {
        FRows[static_cast<size_t>(Row)] &= static_cast<TRowSummary>(~StaleBit);
        for (const TItemId Id : FConsistency.Update(FItems, ItemOfRow(Row)))
            Again.push_back(RowOfItem(Id));
        Again.push_back(Row);
    }
    FStaleRows.clear();
    std::sort(Again.begin(), Again.end());
    Again.erase(std::unique(Again.begin(), Again.end()), Again.end());
    for (const int Row : Again)
        if (Row >= 0 && static_cast<size_t>(Row) < FRows.size())
            Recheck(Row);
    return true;
}

void TTableFindings::LoadSpeller(const TFindingContext& Context) {
    FSpeller = TSpeller::ForLanguage(Context.LanguageCode, Context.ProgramDir);
    if (FSpeller || Context.LanguageCode.size() < 2 || FToldNoDictionary == Context.LanguageCode)
        return;
    FToldNoDictionary = Context.LanguageCode;
    if (OnNoDictionary)
        OnNoDictionary(Context.LanguageCode);
}

TSpeller* TTableFindings::Speller() {
    Refresh();
    return FSpeller.get();
}

std::vector<TSpellWord> TTableFindings::MisspeltWords(int Row) {
    if (FPending || !Speller() || !IsItemRow(FGrid, Row) || !FItems.Contains(ItemOfRow(Row)))
        return {};
    const TItemView Item = FItems.View(ItemOfRow(Row));
    if (ItemStateOf(Item) != TItemState::Translated)
        return {};
    const QString Default = DecodeBytes(Item.Default, CodePageForCharset(DEFAULT_CHARSET));
    const QString Text = DecodeBytes(Item.Translation, FCheckedIn.CodePage);
    return kav::MisspeltWords(*FSpeller, Default, Text);
}

void TTableFindings::DictionaryChanged() {
    ContextChanged();
}

void TTableFindings::ContextChanged() {
    FAllStale = true;
    FPrints.clear(); // the same texts, judged by another dictionary
    FPending = FGrid.RowCount() >= CheckedWhole;
    FListedRow = -1;
    if (OnChanged)
        OnChanged();
}

void TTableFindings::ReviewsChanged() {
    FListedRow = -1;
    if (OnChanged)
        OnChanged();
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
        FListed = CheckRow(Row).Findings;
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

int TTableFindings::NextChangedEnglish(int From, bool Forward) const {
    if (!FBaseline || !FBaseline->Known())
        return -1;
    const int Last = TrailingRow(FGrid);
    for (int Row = Forward ? std::max(From + 1, FirstItemRow) : std::min(From - 1, Last - 1);
         Row >= FirstItemRow && Row < Last; Row += Forward ? 1 : -1) {
        const TItemId Id = ItemOfRow(Row);
        if (IsItemRow(FGrid, Row) && FItems.Contains(Id) &&
            FBaseline->ChangeOf(FItems, Id) != TSourceChange::None)
            return Row;
    }
    return -1;
}

std::vector<TRowFinding> TTableFindings::List(TCheckSet Kinds, std::optional<TSeverity> Severity) {
    std::vector<TRowFinding> Out;
    if (FPending)
        return Out;
    Refresh();
    const int Last = std::min(TrailingRow(FGrid), static_cast<int>(FRows.size()));
    for (int Row = FirstItemRow; Row < Last; ++Row) {
        // Only the rows whose summary counts a finding are checked again for their messages.
        if ((FRows[static_cast<size_t>(Row)] & AllCountsMask) == 0)
            continue;
        for (TFinding& F : CheckRow(Row).Findings)
            if ((Kinds & CheckBit(F.Kind)) && (!Severity || F.Severity == *Severity))
                Out.push_back(TRowFinding{Row, std::move(F)});
    }
    return Out;
}

} // namespace kav
