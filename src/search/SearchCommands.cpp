#include "search/SearchCommands.h"

#include "document/Languages.h"
#include "document/TranslationTable.h"
#include "text/CodePage.h"

namespace kav {

namespace {

constexpr const char* EndOfGridMessage = "End of grid. Search string not found.";
constexpr const char* NotFoundMessage = "Search string not found";
constexpr const char* ReplaceQuestion = "Replace this occurence ?";

// Hourglass and a disabled grid for one search, undone on every way out.
class TBusyGrid {
public:
    TBusyGrid(UserInterface& UI, ISearchView& View) : FUI(UI), FView(View) {
        FUI.SetHourglass(true);
        FView.SetGridEnabled(false);
    }
    ~TBusyGrid() {
        FView.SetGridEnabled(true);
        FUI.SetHourglass(false);
    }
    TBusyGrid(const TBusyGrid&) = delete;
    TBusyGrid& operator=(const TBusyGrid&) = delete;

private:
    UserInterface& FUI;
    ISearchView& FView;
};

} // namespace

TSearchCommands::TSearchCommands(TDocument& Doc, UserInterface& UI, ISearchView& View,
                                 ISearchDialog& FindDialog, ISearchDialog& ReplaceDialog)
    : Doc(Doc), UI(UI), View(View), FFindDialog(FindDialog), FReplaceDialog(ReplaceDialog) {}

void TSearchCommands::OpenDialog(ISearchDialog& Dialog) {
    // The text searched last; the text of the cell last opened only before any search.
    Dialog.SetFindText(FLastSearched.empty() ? S.FSearchText : FLastSearched);
    Dialog.SetPosition(View.DialogLeft(), View.DialogTop());
    Dialog.Execute();
}

std::string TSearchCommands::ReplacementPair() const {
    const int Page = TranslatedCodePage(Doc.State());
    auto Shown = [Page](const std::string& Bytes) {
        return DecodeBytes(Bytes, Page).toStdString();
    };
    return "'" + Shown(FReplaceDialog.FindText()) + "' by '" + Shown(FReplaceDialog.ReplaceText()) +
           "'";
}

void TSearchCommands::FindMenuClick() {
    OpenDialog(FFindDialog);
}

void TSearchCommands::ReplaceMenuClick() {
    OpenDialog(FReplaceDialog);
}

void TSearchCommands::SearchFind() {
    if (FFindTag >= 1) {
        S.FSearchText = FFindDialog.FindText();
        S.FSearchOptions = FFindDialog.Options();
    } else if (FReplaceTag >= 1) {
        S.FSearchText = FReplaceDialog.FindText();
        S.FSearchOptions = FReplaceDialog.Options();
    }
    FLastSearched = S.FSearchText;
    TBusyGrid Busy(UI, View);
    const std::optional<TCellHit> Hit = FEngine.FindNext();
    FHit = Hit.value_or(TCellHit{});
    if (!Hit) {
        UI.MessageDlg(EndOfGridMessage, TMsgDlgType::mtInformation, mbOK);
        return;
    }
    MoveTo(Hit->Row);
    S.FFoundRow = Hit->Row;
    S.FFoundCol = Hit->Col;
    View.HighlightFoundText(Hit->Col, Hit->Row, S.FSearchText);
}

void TSearchCommands::SearchReplace() {
    TBusyGrid Busy(UI, View);
    if (FReplaceTag >= 1) {
        S.FSearchText = FReplaceDialog.FindText();
        S.FSearchOptions = FReplaceDialog.Options();
    }
    FLastSearched = FReplaceDialog.FindText();
    if ((FReplaceDialog.Options() & frReplaceAll) != 0)
        ReplaceAllWithQuestions();
    else
        ReplaceFoundRow();
}

void TSearchCommands::ReplaceAllWithQuestions() {
    const std::string NewText = FReplaceDialog.ReplaceText();
    auto Ask = [this](int Row) {
        // The row is the found and current row while the question is open, so that it is
        // drawn with its hit highlighted: the translator sees what the answer changes.
        MoveTo(Row);
        S.FFoundRow = Row;
        S.FFoundCol = colTranslated;
        View.HighlightFoundText(colTranslated, Row, S.FFoundText);
        View.UpdateGrid();
        return UI.MessageDlg(ReplaceQuestion, TMsgDlgType::mtInformation,
                             mbYes | mbNo | mbCancel | mbAll);
    };
    // Once no more questions are asked the rest goes by under the please-wait window, whose
    // Cancel stops the whole command; the grid is drawn once at the end, not at each step of
    // the progress (each drawing would check the rows replaced since the one before).
    std::optional<TPleaseWait> Wait;
    std::optional<TUpdateLock> Lock;
    std::optional<TProgress> Progress;
    auto Replaced = [this, &NewText, &Wait](int Row, const std::string&) {
        View.HighlightFoundText(colTranslated, Row, NewText);
        if (!Wait)
            View.UpdateGrid();
    };
    const int Rows = Doc.Items().Count();
    auto GoOn = [&](int Row) {
        if (!Wait) {
            Wait.emplace(UI, "Replace All: " + ReplacementPair());
            Lock.emplace(UI);
            Progress.emplace(UI, static_cast<size_t>(Rows), true);
        }
        return Progress->Step(static_cast<size_t>(Row - FirstItemRow));
    };
    TReplaceAllResult Result;
    {
        // One step for every replacement, also those made before a Cancel at a question.
        TDocumentEdit Edit(Doc, {});
        const std::string Pair = ReplacementPair();
        Edit.NameBy([Pair](const TDocumentStep& Step) {
            return CountedStepName("Replace All: " + Pair, Step.TranslationsChanged());
        });
        Result =
            FEngine.ReplaceAllRows(Edit, FReplaceDialog.FindText(), NewText, Ask, Replaced, GoOn);
        if (Result.Stopped)
            Edit.Revert();
    }
    const bool Waited = Wait.has_value();
    Lock.reset();
    Wait.reset();
    if (Waited)
        View.RepaintGrid();
    if (Result.Stopped) {
        UI.SetStatusText(StatusHint, "Replace All cancelled: nothing was replaced");
        return;
    }
    if (Result.Cancelled)
        return;
    UI.MessageDlg(ReplaceSummary(Result), TMsgDlgType::mtInformation, mbOK);
}

void TSearchCommands::ReplaceFoundRow() {
    // Only the translated text of the row the last Find Next found is replaced, and only
    // where the search text still stands there as the options ask; a hit in a name or a
    // default text has nothing to replace. The hit is used up, so a replacement text that
    // holds the search text is not replaced again by a second press.
    const TCellHit Hit = FHit;
    FHit = {};
    int Replaced = 0;
    if (Hit.Col == colTranslated) {
        TDocumentEdit Edit(Doc, "Replace: " + ReplacementPair());
        Replaced = FEngine.ReplaceInRow(Edit, Hit.Row, S.FSearchText, FReplaceDialog.ReplaceText());
    }
    if (Replaced > 0) {
        MoveTo(Hit.Row);
        View.HighlightFoundText(colTranslated, Hit.Row, FReplaceDialog.ReplaceText());
        View.RepaintGrid();
    } else {
        UI.Beep();
    }
}

void TSearchCommands::DialogShow(ISearchDialog& Dialog, int& Tag) {
    S.FSearchRow = View.TopRow();
    S.FSearchCol = 1;
    Tag = 1;
    Dialog.SetFontCharset(Doc.State().FFontCharset);
    Dialog.SetTextCodePage(TranslatedCodePage(Doc.State()));
}

void TSearchCommands::DialogClose(ISearchDialog& Dialog, int& Tag) {
    View.SetDialogPlace(Dialog.Left(), Dialog.Top());
    Tag = 0;
    S.FFoundRow = 0;
    S.FFoundCol = 0;
    FHit = {};
}

void TSearchCommands::FindDialogShow() {
    DialogShow(FFindDialog, FFindTag);
}

void TSearchCommands::ReplaceDialogShow() {
    DialogShow(FReplaceDialog, FReplaceTag);
}

void TSearchCommands::FindDialogClose() {
    DialogClose(FFindDialog, FFindTag);
}

void TSearchCommands::ReplaceDialogClose() {
    DialogClose(FReplaceDialog, FReplaceTag);
}

void TSearchCommands::MoveTo(int Row) {
    // Moving the current cell selects a cell and opens its editor, which would restart the
    // search there and take the cell's text as the search text: the search goes on as it was.
    const TSearchState Kept = S;
    View.GoToRow(Row);
    S = Kept;
}

int TSearchCommands::GoToMarked(bool Forward) {
    const TItemId Id = Doc.Items().NextMarked(ItemOfRow(View.CurrentRow()), Forward);
    if (Id == NoItem)
        return -1;
    const int Row = RowOfItem(Id);
    MoveTo(Row);
    View.RepaintGrid();
    return Row;
}

int TSearchCommands::SearchUpButtonClick() {
    return GoToMarked(false);
}

int TSearchCommands::SearchDownButtonClick() {
    return GoToMarked(true);
}

bool TSearchCommands::ApplicationShortCut(int CharCode, TKeyPlace Place) {
    if (CharCode != 13)
        return false;
    ISearchDialog* Dialog = nullptr;
    switch (Place) {
    case TKeyPlace::FindWindow:
        Dialog = &FFindDialog;
        break;
    case TKeyPlace::ReplaceWindow:
        Dialog = &FReplaceDialog;
        break;
    case TKeyPlace::Grid:
        Dialog = FFindDialog.IsOpen() ? &FFindDialog : &FReplaceDialog;
        break;
    case TKeyPlace::Elsewhere:
        return false;
    }
    if (!Dialog->IsOpen())
        return false;
    Dialog->FindNextClick();
    return true;
}

std::string TSearchCommands::FoundRowHighlightText() const {
    if (FFindTag < 1 && FReplaceTag < 1)
        return {};
    // The hit as the cell writes it: the drawing compares letters without the language's
    // rules, which would miss a Turkish "İ" found by "i".
    if (!S.FFoundText.empty())
        return S.FFoundText;
    return FFindTag >= 1 ? FFindDialog.FindText() : FReplaceDialog.FindText();
}

} // namespace kav
