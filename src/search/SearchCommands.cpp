#include "search/SearchCommands.h"

#include "document/Languages.h"
#include "document/TranslationTable.h"
#include "search/ReplaceMark.h"

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

TSearchCommands::TSearchCommands(TMainState& State, TStyledGridModel& Grid, UserInterface& UI,
                                 TDocument& Doc, ISearchView& View, ISearchDialog& FindDialog,
                                 ISearchDialog& ReplaceDialog)
    : S(State), Grid(Grid), UI(UI), Doc(Doc), View(View), FFindDialog(FindDialog),
      FReplaceDialog(ReplaceDialog), FEngine(State, Grid) {}

void TSearchCommands::OpenDialog(ISearchDialog& Dialog) {
    Dialog.SetFindText(S.FSearchText);
    Dialog.SetPosition(S.FDialogLeft, S.FDialogTop);
    Dialog.Execute();
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
    TBusyGrid Busy(UI, View);
    const std::optional<TCellHit> Hit = FEngine.FindNext();
    if (!Hit) {
        UI.MessageDlg(EndOfGridMessage, TMsgDlgType::mtInformation, mbOK);
        return;
    }
    View.SetTopRow(Hit->Row);
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
    if ((FReplaceDialog.Options() & frReplaceAll) != 0)
        ReplaceAllWithQuestions();
    else
        ReplaceTopRow();
}

void TSearchCommands::ReplaceAllWithQuestions() {
    const std::string NewText = FReplaceDialog.ReplaceText();
    auto Ask = [this](int Row) {
        View.HighlightFoundText(colTranslated, Row, S.FFoundText);
        View.SetTopRow(Row);
        View.UpdateGrid();
        return UI.MessageDlg(ReplaceQuestion, TMsgDlgType::mtInformation,
                             mbYes | mbNo | mbCancel | mbAll);
    };
    auto Replaced = [this, &NewText](int Row) {
        View.HighlightFoundText(colTranslated, Row, NewText);
        View.UpdateGrid();
    };
    const TReplaceAllResult Result =
        FEngine.ReplaceAllRows(FReplaceDialog.FindText(), NewText, Ask, Replaced);
    // Only replacements change the document; hits that were all declined leave it as it was.
    if (Result.Count > 0)
        Doc.SetModified(true);
    if (Result.Cancelled)
        return;
    if (Result.Found)
        UI.MessageDlg("Found " + std::to_string(Result.Count) + " occurences",
                      TMsgDlgType::mtInformation, mbOK);
    else
        UI.MessageDlg(NotFoundMessage, TMsgDlgType::mtInformation, mbOK);
}

void TSearchCommands::ReplaceTopRow() {
    if (FEngine.ReplaceFound(View.TopRow(), FReplaceDialog.ReplaceText()))
        Doc.SetModified(true);
    else
        UI.Beep();
}

void TSearchCommands::DialogShow(ISearchDialog& Dialog, int& Tag) {
    S.FSearchRow = View.TopRow();
    S.FSearchCol = 1;
    Tag = 1;
    Dialog.SetFontCharset(S.FFontCharset);
    Dialog.SetTextCodePage(TranslatedCodePage(S));
}

void TSearchCommands::DialogClose(ISearchDialog& Dialog, int& Tag) {
    S.FDialogLeft = Dialog.Left();
    S.FDialogTop = Dialog.Top();
    Tag = 0;
    S.FFoundRow = 0;
    S.FFoundCol = 0;
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

int TSearchCommands::ScrollToMarkedRow(int Row) {
    if (Row < 0)
        return -1;
    View.SetTopRow(Row);
    S.FClickedRow = Row;
    return Row;
}

int TSearchCommands::SearchUpButtonClick() {
    return ScrollToMarkedRow(PreviousMarkedRow(Grid, View.TopRow()));
}

int TSearchCommands::SearchDownButtonClick() {
    if (View.TopRow() >= Grid.RowCount() - 1)
        return -1;
    return ScrollToMarkedRow(NextMarkedRow(Grid, View.TopRow()));
}

void TSearchCommands::UndoReplaceStringMenuClick() {
    if (UndoReplacement(Grid, S.FClickedRow))
        Doc.SetModified(true);
}

void TSearchCommands::ClearFlagMenuClick() {
    AcceptReplacement(Grid, S.FClickedRow);
    View.RepaintGrid();
}

void TSearchCommands::UndoAllReplaceStringMenuClick() {
    bool Changed = false;
    for (int R = FirstItemRow; R < Grid.RowCount(); ++R)
        Changed = UndoReplacement(Grid, R) || Changed;
    if (Changed)
        Doc.SetModified(true);
}

void TSearchCommands::ClearAllFlagsMenuClick() {
    for (int R = FirstItemRow; R < Grid.RowCount(); ++R)
        AcceptReplacement(Grid, R);
    View.RepaintGrid();
}

bool TSearchCommands::ApplicationShortCut(int CharCode) {
    if (CharCode != 13)
        return false;
    bool Handled = false;
    if (FFindDialog.IsOpen()) {
        FFindDialog.FindNextClick();
        Handled = true;
    }
    if (FReplaceDialog.IsOpen()) {
        FReplaceDialog.FindNextClick();
        Handled = true;
    }
    return Handled;
}

std::string TSearchCommands::FoundRowHighlightText() const {
    if (FFindTag >= 1)
        return FFindDialog.FindText();
    if (FReplaceTag >= 1)
        return FReplaceDialog.FindText();
    return {};
}

} // namespace kav
