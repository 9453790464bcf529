#pragma once
// The styled string grid: cells drawn with their own alignment, wrapping, font, brush and
// selected colours from the grid model, an in-place editor that follows the cell's style, an
// edit life cycle with its four events, Tab and automatic next-cell walks, clipboard exchange of
// cell blocks, per-cell hints and the header, width and height events.
//
// Steps that must run after the current event (the end of an edit on Enter, its cancel on
// Escape, leaving a cell, restoring the editor) are queued calls on the grid.

#include "gridview/InplaceEdit.h"
#include "gridview/ShowHintRegistry.h"
#include "gridview/StringGrid.h"

#include <QSize>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>

namespace kav {

enum T_nextcell : std::uint8_t {
    nc_rightdown = 0,
    nc_downright = 1,
    nc_leftdown = 2,
    nc_downleft = 3,
    nc_leftup = 4,
    nc_upleft = 5,
    nc_rightup = 6,
    nc_upright = 7
};

enum T_lastcell : std::uint8_t { lc_newcolrow = 0, lc_stop = 1, lc_first = 2, lc_exit = 3 };

class TStyledStringGrid;

using TCellEvent = std::function<void(TStyledStringGrid* Sender, int Col, int Row)>;
using TCellEventBool =
    std::function<void(TStyledStringGrid* Sender, int Col, int Row, bool& Result)>;
using TShowHintCellProc = std::function<void(TStyledStringGrid* Sender, int Col, int Row,
                                             QString& HintStr, bool& CanShow, THintInfo& Info)>;
using TColEvent = std::function<void(TStyledStringGrid* Sender, int Col)>;
using TRowEvent = std::function<void(TStyledStringGrid* Sender, int Row)>;
using TNotifyEvent = std::function<void(TStyledStringGrid* Sender)>;
using TCellStyleHook = void (*)(TStyledStringGrid* Grid, int Col, int Row, TMyAlign& Align,
                                T_Wordwrap& Wrap);

class TStyledStringGrid : public TCustomStringGrid {
    Q_OBJECT

public:
    explicit TStyledStringGrid(QWidget* Parent = nullptr);
    ~TStyledStringGrid() override;

    bool DrawSelection() const { return FDrawSelection; }
    void SetDrawSelection(bool Value);
    bool SelectEditText = true;
    bool EditMultiline = false;
    bool AutoEditNextCell = false;
    T_nextcell NextCellEdit = nc_rightdown;
    T_nextcell NextCellTab = nc_rightdown;
    T_lastcell AfterLastCellEdit = lc_newcolrow;
    T_lastcell AfterLastCellTab = lc_first;
    // 0: no limit.
    std::uint32_t CellStringMaxLenght() const { return FCellStringMaxLenght; }
    void SetCellStringMaxLenght(std::uint32_t Value);
    bool ShowCellHints = true;
    bool AutoAdjustLastCol() const { return FAutoAdjustLastCol; }
    void SetAutoAdjustLastCol(bool Value);
    bool RedrawWhileScroll() const { return FRedrawWhileScroll; }
    void SetRedrawWhileScroll(bool Value);
    void SetGridLineWidth(int Value) override;
    TCellStyleHook CellStyleHook = nullptr;

    TCellEvent OnBeforeEdit;
    TCellEventBool OnValidateEdit;
    TCellEvent OnAfterEdit;
    TCellEvent OnCancelEdit;
    TShowHintCellProc OnShowHintCell;
    TColEvent OnFixedColClick;
    TRowEvent OnFixedRowClick;
    TNotifyEvent OnColWidthsChanged;
    TNotifyEvent OnResize;
    TNotifyEvent OnRowHeightsChanged;
    // The table's content changed under an edit in progress (see DiscardEdit).
    TNotifyEvent OnEditDiscarded;
    // Tells the user why something was refused; a warning box unless replaced.
    std::function<void(const QString& Text)> ShowMessage;
    // A character typed or pasted into the editor that the cell's code page cannot hold (or,
    // with CodePage 0, that ForbiddenChar refused); when unset, ShowMessage tells about it.
    std::function<void(const QString& Char, int CodePage)> OnRefusedChar;
    void RefuseEditText(const QString& Char, int CodePage);
    // The first character of an edited text that the cell may not hold whatever its code page
    // (the owner's rule), or the null character when every one may stay.
    std::function<QChar(int Col, int Row, const QString& Text)> ForbiddenChar;
    // Whether the cell's text may be changed at all; every editable cell when unset.
    std::function<bool(int Col, int Row)> OnCanEditCell;

    // Where the editor's typing goes. Writes the cell as it is typed when true (the platform
    // grid's way); when false the typing stays in the editor until its edit ends, and then
    // goes to OnStoreEdit, which writes it (or not) as the owner decides.
    bool EditWritesCell = true;
    std::function<void(int Col, int Row, const std::string& Bytes)> OnStoreEdit;
    // The owner's style of a cell over the model's: the font and brush it is drawn and edited
    // in. Read while painting, so it must not write anything.
    std::function<void(int Col, int Row, TMyFont& Font, TMyBrush& Brush)> OnCellStyle;
    // Cells whose text OnDrawCell writes: the grid fills them in their colours and leaves the
    // text, in the canvas font it chose, to the owner.
    std::function<bool(int Col, int Row)> OwnerDrawsText;
    // The editor was laid over its cell and styled, or loaded with its text (highlights of the
    // owner's go on it here). Opened: it has just opened on the cell, and what it selects is
    // the owner's to choose.
    std::function<void(int Col, int Row, TNewInplaceEdit& Editor, bool Opened)> OnEditorStyled;
    // The font the cell is drawn in: the model's with the owner's style.
    TMyFont StyledFont(int Col, int Row) const;
    // Styles the editor again for its cell (after the owner's style changed).
    // Opened: as if the editor had just opened on its cell.
    void RestyleEditor(bool Opened = false);
    // The grid's own paste and cut keys, when the owner does them its way.
    std::function<void()> OnPaste;
    std::function<void()> OnCut;

    // The code page the cell's bytes are shown and edited in: that of its font's character set,
    // or what CodePageOfCharset makes of that set (the owner knows what the default set stands
    // for in which column).
    int CodePageOf(int Col, int Row) const;
    std::function<int(int Col, int Row, int Charset)> CodePageOfCharset;
    QString CellText(int Col, int Row) const;

    // One step of a walk through the non-fixed cells; Rule applies past the last line.
    void NextCell(T_nextcell Direction, T_lastcell Rule, int& Col, int& Row);
    void NextEditableCell(int& Col, int& Row);

    void CopyCellsToClipboard(char Separator, TGridRect Rect);
    void PasteCellsFromClipboard(char Separator, TGridRect Rect);
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();

    void AdjustLastCol();
    QSize CellTextExtent(int Col, int Row);
    void AdjustRowHeight(int Row);

    // What the grid does once its settings are in place, as after loading its form.
    void Loaded();

    TNewInplaceEdit* Editor() const { return static_cast<TNewInplaceEdit*>(InplaceEditor()); }
    bool Editing() const { return FEditing; }
    QPoint HintCellPos() const { return FHintCellPos; }

    // The queued steps of an edit (they run after the current event).
    void PostEndEdit(int Col, int Row);
    void PostCancelEdit(int Col, int Row);
    void PostLeaveEdit(int Col, int Row);
    void PostRestoreEdit();
    // Puts the bytes back into the cell the editor shows, as Escape does.
    void RestoreCellBytes(int Col, int Row, const std::string& Bytes);

    bool CanEditModify() const override;

    // Ends the edit in progress now, as leaving its cell would, so that a command that follows
    // sees it finished (the modified flag set, its marks updated).
    void CommitEdit();
    // The content of the table was written by something other than the editor (a new or
    // reopened document, an import, a fill, a replacement): the edit in progress is not
    // committed to the new content, its queued steps are dropped, and the editor shows what
    // its cell holds now, which is also what Escape goes back to.
    void DiscardEdit();

protected:
    void DrawCell(int Col, int Row, const QRect& Rect, TGridDrawState State) override;
    virtual void PrepareCellCanvas(int Col, int Row, QRect& Rect, TGridDrawState State);
    virtual void DrawCellText(int Col, int Row, QRect& Rect, TGridDrawState State);

    TInplaceEdit* CreateEditor() override;
    bool CanEditShow() override;
    QString GetEditText(int Col, int Row) override;
    void SetEditText(int Col, int Row, const QString& Value) override;
    bool SelectAllOnShow() const override { return SelectEditText; }
    void EditorOpened() override;
    void EditorLeftCell() override;
    void EditorCellMoved(const TGridChange& Change) override;
    void KeyDown(int& Key, TShiftState Shift) override;
    void KeyPress(QChar& Key) override;
    void CharMessage(QChar Key) override;
    void MouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(Qt::MouseButton Button, TShiftState Shift, int X, int Y) override;
    void GridFocusLost() override;
    void GridFocusGained() override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    void Resized() override;
    bool TrackThumb() const override {
        return TCustomStringGrid::TrackThumb() || FRedrawWhileScroll;
    }
    bool event(QEvent* Event) override;
    void GridChanged(const TGridChange& Change) override;

private:
    bool ReplacesEditedText(const TGridChange& Change) const;
    // Typing held back for its cell (EditWritesCell false): handed over when the edit ends.
    void StorePendingEdit(int Col, int Row);
    // Runs Step after the current event unless the edit has been discarded meanwhile.
    void PostStep(std::function<void()> Step);
    void BeginStep(int Col, int Row);
    void EndStep(int Col, int Row, bool NextCell);
    void CancelStep(int Col, int Row);
    void RestoreEdit();
    void TabStep(TShiftState Shift);
    void StyleEditor(TNewInplaceEdit& Edit);
    void ShowCellHint(QString& HintStr, bool& CanShow, THintInfo& Info);
    void LastLineReached(T_nextcell Direction, T_lastcell Rule, int& Col, int& Row);
    bool ClipboardKey(int Key, TShiftState Shift);

    bool FDrawSelection = true;
    std::uint32_t FCellStringMaxLenght = 0;
    bool FAutoAdjustLastCol = false;
    bool FRedrawWhileScroll = false;
    bool FEditing = false;
    bool FRestoreEditor = false;
    // A restore of the editor is posted and has not run yet.
    bool FRestorePending = false;
    // Bumped by DiscardEdit: queued steps of an earlier generation no longer apply.
    unsigned FEditGeneration = 0;
    // The editor itself is writing its cell (typing, Escape).
    bool FWritingEditText = false;
    // The bytes typed in each cell whose edit has not ended yet (EditWritesCell false); the end
    // of an edit is posted, so the editor may already show the next cell.
    std::map<std::pair<int, int>, std::string> FPendingEdits;
    int FSavedSelStart = 0;
    int FSavedSelLength = -1;
    QPoint FHintCellPos{-1, -1};
};

} // namespace kav
