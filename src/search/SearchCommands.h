#pragma once
// The main window's search and replace commands and the handlers of the dialogs' events, on
// the table, the main-window state, the user-interface port, the grid view and the two dialog
// components. The main window connects its menus, tool buttons, keys and the components'
// events to these members.

#include "document/Document.h"
#include "document/MainState.h"
#include "document/UserInterface.h"
#include "grid/GridModel.h"
#include "search/SearchEngine.h"
#include "search/SearchPorts.h"

#include <string>

namespace kav {

class TSearchCommands {
public:
    TSearchCommands(TMainState& State, TStyledGridModel& Grid, UserInterface& UI, TDocument& Doc,
                    ISearchView& View, ISearchDialog& FindDialog, ISearchDialog& ReplaceDialog);

    // Search > Find... and Search > Replace... (and their tool buttons).
    void FindMenuClick();
    void ReplaceMenuClick();

    // OnFind of either dialog: the next hit from the search start.
    void SearchFind();
    // OnReplace: Replace All with a question per hit, or Replace in the row the last Find Next
    // found.
    void SearchReplace();

    // OnShow and OnClose of the two dialogs.
    void FindDialogShow();
    void ReplaceDialogShow();
    void FindDialogClose();
    void ReplaceDialogClose();

    // Alt+F11 / Alt+F12 and their tool buttons: scrolls the previous or next marked row to the
    // top (into view in the last screenful) and makes it the clicked row. Returns that row, or
    // -1 when there is none (nothing changes then).
    int SearchUpButtonClick();
    int SearchDownButtonClick();

    // The grid pop-up's mark commands, on FClickedRow or on every item row.
    void UndoReplaceStringMenuClick();
    void ClearFlagMenuClick();
    void UndoAllReplaceStringMenuClick();
    void ClearAllFlagsMenuClick();

    // Where a key was pressed, for the Enter key.
    enum class TKeyPlace { Elsewhere, FindWindow, ReplaceWindow, Grid };
    // The application-wide short-cut event: Enter (code 13, any modifier) in an open dialog's
    // window runs that dialog's Find Next, and in the grid the Find Next of the open dialog (the
    // find dialog when both are). True when handled: the key must then go no further. Every
    // other window (a message box, the go-to-line dialog) answers Enter itself.
    bool ApplicationShortCut(int CharCode, TKeyPlace Place);

    // The dialogs' markers that they are shown (from OnShow to OnClose); the drawing of the
    // found row reads them.
    int FindDialogTag() const { return FFindTag; }
    int ReplaceDialogTag() const { return FReplaceTag; }
    // The text the found row shows highlighted while a dialog is shown: the last hit in the
    // cell's own letters, else the dialog's search text; "" without a dialog.
    std::string FoundRowHighlightText() const;

    TSearchEngine& Engine() { return FEngine; }

private:
    void OpenDialog(ISearchDialog& Dialog);
    void DialogShow(ISearchDialog& Dialog, int& Tag);
    void DialogClose(ISearchDialog& Dialog, int& Tag);
    void ReplaceAllWithQuestions();
    void ReplaceFoundRow();
    int ScrollToMarkedRow(int Row);
    // The row marked-row navigation goes on from: the row it reached last while the view
    // still shows it as it left it (the last screenful cannot scroll that row to the top),
    // otherwise the top row.
    int MarkedRowStart() const;

    TMainState& S;
    TStyledGridModel& Grid;
    UserInterface& UI;
    TDocument& Doc;
    ISearchView& View;
    ISearchDialog& FFindDialog;
    ISearchDialog& FReplaceDialog;
    TSearchEngine FEngine;
    int FFindTag = 0;
    int FReplaceTag = 0;
    // The cell of the last Find Next hit, which "&Replace" acts on; 0 when there is none.
    TCellHit FHit;
    int FMarkedRow = 0;
    int FMarkedTop = 0;
};

} // namespace kav
