#pragma once
// The main window's search and replace commands and the handlers of the dialogs' events, on
// the document, the search state, the user-interface port, the grid view and the two dialog
// components. The main window connects its menus, tool buttons, keys and the components'
// events to these members. Replacements are document commands, one undo step each.

#include "document/Document.h"
#include "document/UserInterface.h"
#include "search/SearchEngine.h"
#include "search/SearchPorts.h"
#include "search/SearchState.h"

#include <string>

namespace kav {

class TSearchCommands {
public:
    TSearchCommands(TDocument& Doc, UserInterface& UI, ISearchView& View, ISearchDialog& FindDialog,
                    ISearchDialog& ReplaceDialog);

    // Where the search stands; the view sets its start when a cell is selected or opened.
    TSearchState& State() { return S; }
    const TSearchState& State() const { return S; }

    // Search > Find... and Search > Replace... (and their tool buttons).
    void FindMenuClick();
    void ReplaceMenuClick();

    // OnFind of either dialog: the next hit from the search start, made the current row.
    void SearchFind();
    // OnReplace: Replace All with a question per hit, or Replace in the row the last Find Next
    // found.
    void SearchReplace();

    // OnShow and OnClose of the two dialogs.
    void FindDialogShow();
    void ReplaceDialogShow();
    void FindDialogClose();
    void ReplaceDialogClose();

    // Alt+F11 / Alt+F12 and their tool buttons: the previous or next item with a replacement
    // mark above or below the current row becomes the current row. Returns that row, or -1
    // when there is none (nothing changes then).
    int SearchUpButtonClick();
    int SearchDownButtonClick();

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
    int GoToMarked(bool Forward);
    // Makes Row the current row (see ISearchView::GoToRow), the search state kept.
    void MoveTo(int Row);
    // "'old' by 'new'" as the Edit menu names a replacement.
    std::string ReplacementPair() const;

    TDocument& Doc;
    UserInterface& UI;
    ISearchView& View;
    ISearchDialog& FFindDialog;
    ISearchDialog& FReplaceDialog;
    TSearchState S;
    TSearchEngine FEngine{S, Doc};
    int FFindTag = 0;
    int FReplaceTag = 0;
    // The cell of the last Find Next hit, which "&Replace" acts on; 0 when there is none.
    TCellHit FHit;
    // The text of the last search or replacement, which the windows open with.
    std::string FLastSearched;
};

} // namespace kav
