#include "search/SearchEngine.h"

#include "document/Languages.h"
#include "document/TranslationTable.h"
#include "search/FindOptions.h"
#include "text/CodePage.h"

namespace kav {

std::string ReplaceSummary(const TReplaceAllResult& Result) {
    if (!Result.Found)
        return "Search string not found";
    return "Found " + std::to_string(Result.Count) + " occurences in " +
           std::to_string(Result.Items) + " items";
}

TSearchEngine::TSearchEngine(TSearchState& Search, const TDocument& Doc) : S(Search), Doc(Doc) {}

int TSearchEngine::CodePageOf(int Col) const {
    return Col == colTranslated ? TranslatedCodePage(Doc.State()) : SystemAnsiCodePage();
}

std::string_view TSearchEngine::CellText(int ACol, int ARow) const {
    const TItemId Id = ItemOfRow(ARow);
    if (!Items().Contains(Id) || ACol < colName || ACol > colTranslated)
        return {};
    return Items().Field(Id, FieldOfColumn(ACol));
}

int TSearchEngine::TextCodePage() const {
    return CodePageOf(colTranslated);
}

const TSearchPattern& TSearchEngine::Pattern(const std::string& Text) {
    const int CodePage = TextCodePage();
    const bool MatchCase = (S.FSearchOptions & frMatchCase) != 0;
    const std::string& Language = Doc.State().FLanguageCode;
    // Asked once per cell searched: the key is only copied when it changed.
    if (FPattern && FPatternKey.Text == Text && FPatternKey.CodePage == CodePage &&
        FPatternKey.MatchCase == MatchCase &&
        std::string_view(Language).substr(0, 3) == FPatternKey.Language)
        return *FPattern;
    TPatternKey Key{Text, CodePage, MatchCase, Language.substr(0, 3)};
    FPattern = std::make_unique<TSearchPattern>(Text, Key.CodePage, Key.MatchCase,
                                                LocaleOfLanguage(Key.Language));
    FPatternKey = std::move(Key);
    return *FPattern;
}

std::vector<TTextMatch> TSearchEngine::Occurrences(int ACol, int ARow, const std::string& Text) {
    return Pattern(Text).FindAll(CellText(ACol, ARow), CodePageOf(ACol),
                                 (S.FSearchOptions & frWholeWord) != 0);
}

bool TSearchEngine::CellMatches(int ACol, int ARow, const std::string& Text) {
    return NoteFirst(ACol, ARow, Occurrences(ACol, ARow, Text));
}

bool TSearchEngine::NoteFirst(int ACol, int ARow, const std::vector<TTextMatch>& Found) {
    S.FFoundText.clear();
    S.FFoundPos = 0;
    if (Found.empty())
        return false;
    S.FFoundText = MatchedBytes(CellText(ACol, ARow), Found.front());
    S.FFoundPos = Found.front().Pos;
    return true;
}

bool TSearchEngine::WideSearch() const {
    const TStyledGridModel& Grid = Items().Grid();
    return Grid.EditCol(colName) || Grid.EditCol(colDefault);
}

std::optional<TCellHit> TSearchEngine::FindNext() {
    // The header rows are never searched, whatever start the selection left behind.
    if (S.FSearchRow < FirstItemRow)
        S.FSearchRow = FirstItemRow;
    std::optional<TCellHit> Hit = WideSearch() ? FindWide() : FindNarrow();
    if (!Hit)
        S.FSearchRow = RowCount();
    return Hit;
}

std::optional<TCellHit> TSearchEngine::FindWide() {
    if (S.FSearchRow > RowCount() - 1)
        S.FSearchRow = FirstItemRow;
    if (S.FSearchCol > colTranslated) {
        S.FSearchCol = colName;
        ++S.FSearchRow;
    }
    for (int R = S.FSearchRow; R < RowCount(); ++R) {
        for (int C = S.FSearchCol; C <= colTranslated; ++C) {
            if (CellMatches(C, R, S.FSearchText)) {
                S.FSearchRow = R;
                S.FSearchCol = C + 1;
                return TCellHit{C, R};
            }
        }
        S.FSearchCol = colName;
        S.FSearchRow = R + 1;
    }
    return std::nullopt;
}

std::optional<TCellHit> TSearchEngine::FindNarrow() {
    if (S.FSearchRow > RowCount() - 1)
        S.FSearchRow = FirstItemRow;
    S.FSearchCol = colTranslated;
    for (int R = S.FSearchRow; R < RowCount(); ++R) {
        if (CellMatches(colTranslated, R, S.FSearchText)) {
            S.FSearchRow = R + 1;
            return TCellHit{colTranslated, R};
        }
    }
    return std::nullopt;
}

int TSearchEngine::ReplaceInRow(TDocumentEdit& Edit, int Row, const std::string& Text,
                                const std::string& NewText) {
    if (!Items().Contains(ItemOfRow(Row)))
        return 0;
    return ReplaceFound(Edit, Row, Occurrences(colTranslated, Row, Text), NewText);
}

int TSearchEngine::ReplaceFound(TDocumentEdit& Edit, int Row, const std::vector<TTextMatch>& Found,
                                const std::string& NewText) {
    if (Found.empty())
        return 0;
    const TItemId Id = ItemOfRow(Row);
    const std::string_view Before = Items().Translation(Id);
    S.FFoundText = MatchedBytes(Before, Found.front());
    TReplacement Replacement;
    Replacement.Position = Found.front().Pos;
    Replacement.Old = S.FFoundText;
    Replacement.New = NewText;
    Replacement.After = ReplaceMatches(Before, Found, NewText);
    Edit.Replace(Id, std::move(Replacement));
    return static_cast<int>(Found.size());
}

TReplaceAllResult TSearchEngine::ReplaceAllRows(TDocumentEdit& Edit, const std::string& Text,
                                                const std::string& NewText, const TAskReplace& Ask,
                                                const TReplacedEvent& Replaced,
                                                const std::function<bool(int Row)>& GoOn) {
    TReplaceAllResult Result;
    bool AskEach = static_cast<bool>(Ask);
    // The pattern, the page and the options are looked up once, and again after each call out
    // (a question, an event), the only moments at which they could change.
    const TSearchPattern* Searched = nullptr;
    int Page = 0;
    bool WholeWord = false;
    const auto LookUp = [&] {
        Searched = &Pattern(Text);
        Page = CodePageOf(colTranslated);
        WholeWord = (S.FSearchOptions & frWholeWord) != 0;
    };
    const auto Find = [&](int R) {
        return Searched->FindAll(Items().Translation(ItemOfRow(R)), Page, WholeWord);
    };
    LookUp();
    for (int R = FirstItemRow; R < FirstItemRow + Items().Count(); ++R) {
        if (!AskEach && GoOn && !GoOn(R)) {
            Result.Stopped = true;
            return Result;
        }
        // Each row's text is searched once; the occurrences found are the ones replaced unless
        // a question let the text change in between.
        std::vector<TTextMatch> Found = Find(R);
        if (!NoteFirst(colTranslated, R, Found))
            continue;
        Result.Found = true;
        const bool Asked = AskEach;
        if (AskEach) {
            const TModalResult Answer = Ask(R);
            LookUp();
            if (Answer == TModalResult::mrNo)
                continue;
            if (Answer == TModalResult::mrAll)
                AskEach = false;
            else if (Answer != TModalResult::mrYes) {
                Result.Cancelled = true;
                return Result;
            }
        }
        // The text before is only copied for whoever is told of the replacement.
        const std::string Before = Replaced ? std::string(Items().Translation(ItemOfRow(R))) : "";
        if (Asked)
            Found = Find(R);
        if (const int Count = ReplaceFound(Edit, R, Found, NewText); Count > 0) {
            Result.Count += Count;
            ++Result.Items;
            if (Replaced) {
                Replaced(R, Before);
                LookUp();
            }
        }
    }
    return Result;
}

} // namespace kav
