#include "search/SearchEngine.h"

#include "document/CodePage.h"
#include "document/Languages.h"
#include "document/TranslationTable.h"
#include "search/CodePageMatch.h"
#include "search/FindOptions.h"
#include "search/ReplaceMark.h"

namespace kav {

TSearchEngine::TSearchEngine(TMainState& State, TStyledGridModel& Grid) : S(State), Grid(Grid) {}

int TSearchEngine::CodePageOf(int Col) const {
    return Col == colTranslated ? TranslatedCodePage(S) : SystemAnsiCodePage();
}

int TSearchEngine::TextCodePage() const {
    return CodePageOf(colTranslated);
}

bool TSearchEngine::CellMatches(int ACol, int ARow, const std::string& Text) {
    S.FFoundText.clear();
    const std::string& Cell = Grid.Cells(ACol, ARow);
    const bool MatchCase = (S.FSearchOptions & frMatchCase) != 0;
    const TSearchPattern Pattern(Text, TextCodePage(), MatchCase);
    const int CellPage = CodePageOf(ACol);
    const TTextMatch Match = (S.FSearchOptions & frWholeWord) != 0
                                 ? Pattern.FindWholeWordIn(Cell, CellPage)
                                 : Pattern.FindIn(Cell, CellPage);
    S.FFoundText = MatchedBytes(Cell, Match);
    return Match.Found();
}

bool TSearchEngine::WideSearch() const {
    return Grid.EditCol(colName) || Grid.EditCol(colDefault);
}

std::optional<TCellHit> TSearchEngine::FindNext() {
    // The header rows are never searched, whatever start the selection left behind.
    if (S.FSearchRow < FirstItemRow)
        S.FSearchRow = FirstItemRow;
    std::optional<TCellHit> Hit = WideSearch() ? FindWide() : FindNarrow();
    if (!Hit)
        S.FSearchRow = Grid.RowCount();
    return Hit;
}

std::optional<TCellHit> TSearchEngine::FindWide() {
    if (S.FSearchRow > Grid.RowCount() - 1)
        S.FSearchRow = FirstItemRow;
    if (S.FSearchCol > colTranslated) {
        S.FSearchCol = colName;
        ++S.FSearchRow;
    }
    for (int R = S.FSearchRow; R < Grid.RowCount(); ++R) {
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
    if (S.FSearchRow > Grid.RowCount() - 1)
        S.FSearchRow = FirstItemRow;
    S.FSearchCol = colTranslated;
    for (int R = S.FSearchRow; R < Grid.RowCount(); ++R) {
        if (CellMatches(colTranslated, R, S.FSearchText)) {
            S.FSearchRow = R + 1;
            return TCellHit{colTranslated, R};
        }
    }
    return std::nullopt;
}

bool TSearchEngine::ReplaceFound(int Row, const std::string& NewText) {
    if (Row < FirstItemRow || Row >= Grid.RowCount() || S.FFoundText.empty())
        return false;
    const std::string& Before = Grid.Cells(colTranslated, Row);
    // The replacement itself is exact, so a text found in another column or before an edit
    // must be there as it is, or the mark would record a change that never happened.
    if (Before.find(S.FFoundText) == std::string::npos)
        return false;
    const int Page = CodePageOf(colTranslated);
    const long long Position = TSearchPattern(S.FFoundText, Page, false).FindIn(Before, Page).Pos;
    const std::string Old = S.FFoundText;
    ApplyReplacement(Grid, Row, Position, Old, NewText);
    return true;
}

TReplaceAllResult TSearchEngine::ReplaceAllRows(const std::string& Text, const std::string& NewText,
                                                const TAskReplace& Ask, const TRowEvent& Replaced) {
    TReplaceAllResult Result;
    bool AskEach = static_cast<bool>(Ask);
    for (int R = FirstItemRow; R < Grid.RowCount(); ++R) {
        if (!CellMatches(colTranslated, R, Text))
            continue;
        Result.Found = true;
        if (AskEach) {
            const TModalResult Answer = Ask(R);
            if (Answer == TModalResult::mrNo)
                continue;
            if (Answer == TModalResult::mrAll)
                AskEach = false;
            else if (Answer != TModalResult::mrYes) {
                Result.Cancelled = true;
                return Result;
            }
        }
        if (ReplaceFound(R, NewText)) {
            ++Result.Count;
            if (Replaced)
                Replaced(R);
        }
    }
    return Result;
}

} // namespace kav
