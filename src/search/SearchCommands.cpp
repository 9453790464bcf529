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
    FHit = Hit.value_or(TCellHit{});
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
        ReplaceFoundRow();
}

void TSearchCommands::ReplaceAllWithQuestions() {
    const std::string NewText = FReplaceDialog.ReplaceText();
    auto Ask = [this](int Row) {
        // The row is the found row while the question is open, so that it is drawn with its
        // hit highlighted: the translator sees what the answer changes.
        View.SetTopRow(Row);
        View.UpdateGrid();
        S.FFoundRow = Row;
        S.FFoundCol = colTranslated;
        View.HighlightFoundText(colTranslated, Row, S.FFoundText);
        View.UpdateGrid();
        return UI.MessageDlg(ReplaceQuestion, TMsgDlgType::mtInformation,
                             mbYes | mbNo | mbCancel | mbAll);
    };
    auto Replaced = [this, &NewText](int Row, const std::string&) {
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
    UI.MessageDlg(ReplaceSummary(Result), TMsgDlgType::mtInformation, mbOK);
}

void TSearchCommands::ReplaceFoundRow() {
    // Only the translated text of the row the last Find Next found is replaced, and only
    // where the search text still stands there as the options ask; a hit in a name or a
    // default text has nothing to replace. The hit is used up, so a replacement text that
    // holds the search text is not replaced again by a second press.
    const TCellHit Hit = FHit;
    FHit = {};
    if (Hit.Col == colTranslated &&
        FEngine.ReplaceInRow(Hit.Row, S.FSearchText, FReplaceDialog.ReplaceText()) > 0) {
        Doc.SetModified(true);
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
    Dialog.SetFontCharset(S.FFontCharset);
    Dialog.SetTextCodePage(TranslatedCodePage(S));
}

void TSearchCommands::DialogClose(ISearchDialog& Dialog, int& Tag) {
    S.FDialogLeft = Dialog.Left();
    S.FDialogTop = Dialog.Top();
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

int TSearchCommands::ScrollToMarkedRow(int Row) {
    if (Row < 0)
        return -1;
    View.SetTopRow(Row);
    S.FClickedRow = Row;
    FMarkedRow = Row;
    FMarkedTop = View.TopRow();
    View.RepaintGrid();
    return Row;
}

int TSearchCommands::MarkedRowStart() const {
    const int Top = View.TopRow();
    return FMarkedRow > 0 && Top == FMarkedTop ? FMarkedRow : Top;
}

int TSearchCommands::SearchUpButtonClick() {
    return ScrollToMarkedRow(PreviousMarkedRow(Grid, MarkedRowStart()));
}

int TSearchCommands::SearchDownButtonClick() {
    const int Start = MarkedRowStart();
    if (Start >= Grid.RowCount() - 1)
        return -1;
    return ScrollToMarkedRow(NextMarkedRow(Grid, Start));
}

void TSearchCommands::UndoReplaceStringMenuClick() {
    if (FEngine.History().Undo(Grid, S.FClickedRow)) {
        Doc.SetModified(true);
        View.RepaintGrid();
    } else if (HasReplaceMark(Grid, S.FClickedRow)) {
        // A mark this session did not write: its old text alone cannot restore the row.
        UI.Beep();
    }
}

void TSearchCommands::ClearFlagMenuClick() {
    FEngine.History().Accept(Grid, S.FClickedRow);
    View.RepaintGrid();
}

void TSearchCommands::UndoAllReplaceStringMenuClick() {
    bool Changed = false;
    for (int R = FirstItemRow; R < Grid.RowCount(); ++R)
        Changed = FEngine.History().UndoAll(Grid, R) || Changed;
    if (Changed) {
        Doc.SetModified(true);
        View.RepaintGrid();
    }
}

void TSearchCommands::ClearAllFlagsMenuClick() {
    for (int R = FirstItemRow; R < Grid.RowCount(); ++R)
        FEngine.History().Accept(Grid, R);
    View.RepaintGrid();
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
