#pragma once
// The string grid the styled grid builds on: fixed rows and columns that stay in place while
// the rest scrolls by whole cells, a current cell with a selection rectangle, keyboard and
// mouse navigation, column and row sizing and moving, and an editor mode with a replaceable
// in-place editor. The cells live in a TStyledGridModel that the grid observes.
//
// Only the visible cells are ever walked: the first scrolled row is kept as an index, so
// painting, hit-testing and keeping a cell in view cost the same at row 5 as at row 99 999.

#include "grid/GridModel.h"
#include "grid/GridText.h"
#include "gridview/Canvas.h"

#include <QAbstractScrollArea>

#include <functional>
#include <memory>
#include <vector>

namespace kav {

class TInplaceEdit;

enum TGridOption : unsigned {
    goFixedVertLine = 1u << 0,
    goFixedHorzLine = 1u << 1,
    goVertLine = 1u << 2,
    goHorzLine = 1u << 3,
    goRangeSelect = 1u << 4,
    goDrawFocusSelected = 1u << 5,
    goRowSizing = 1u << 6,
    goColSizing = 1u << 7,
    goRowMoving = 1u << 8,
    goColMoving = 1u << 9,
    goEditing = 1u << 10,
    goTabs = 1u << 11,
    goRowSelect = 1u << 12,
    goAlwaysShowEditor = 1u << 13,
    goThumbTracking = 1u << 14
};
using TGridOptions = unsigned;
constexpr TGridOptions DefaultGridOptions =
    goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect;

enum TGridDrawFlag : unsigned { gdSelected = 1u, gdFocused = 2u, gdFixed = 4u };
using TGridDrawState = unsigned;

using TShiftState = Qt::KeyboardModifiers;

inline bool RectContains(const TGridRect& Rect, int Col, int Row) {
    return Col >= Rect.Left && Col <= Rect.Right && Row >= Rect.Top && Row <= Rect.Bottom;
}

// One visible column or row: its index, where it starts in the viewport and its size.
struct TGridSpan {
    int Index = -1;
    int Start = 0;
    int Size = 0;
};

class TCustomStringGrid : public QAbstractScrollArea, protected IGridModelObserver {
    Q_OBJECT

public:
    explicit TCustomStringGrid(QWidget* Parent = nullptr);
    ~TCustomStringGrid() override;

    TStyledGridModel& Model() { return *FModel; }
    const TStyledGridModel& Model() const { return *FModel; }

    int ColCount() const { return FModel->ColCount(); }
    void SetColCount(int Value) { FModel->SetColCount(Value); }
    int RowCount() const { return FModel->RowCount(); }
    void SetRowCount(int Value) { FModel->SetRowCount(Value); }
    int FixedCols() const { return FModel->FixedCols(); }
    void SetFixedCols(int Value) { FModel->SetFixedCols(Value); }
    int FixedRows() const { return FModel->FixedRows(); }
    void SetFixedRows(int Value) { FModel->SetFixedRows(Value); }
    std::string_view Cells(int Col, int Row) const { return FModel->Cells(Col, Row); }
    void SetCells(int Col, int Row, std::string Value) {
        FModel->SetCells(Col, Row, std::move(Value));
    }

    // Setting a default size resets every column or row to it.
    int DefaultColWidth() const { return FDefaultColWidth; }
    void SetDefaultColWidth(int Value);
    int DefaultRowHeight() const { return FDefaultRowHeight; }
    void SetDefaultRowHeight(int Value);
    // A negative width or height hides the column or row together with its line.
    int ColWidths(int Col) const;
    void SetColWidths(int Col, int Value);
    int RowHeights(int Row) const;
    void SetRowHeights(int Row, int Value);
    int GridLineWidth() const { return FGridLineWidth; }
    virtual void SetGridLineWidth(int Value);

    TGridOptions Options() const { return FOptions; }
    virtual void SetOptions(TGridOptions Value);
    bool HasOption(TGridOption Option) const { return (FOptions & Option) != 0; }

    // When false the grid paints only the lines and leaves the cells to OnDrawCell.
    bool DefaultDrawing = true;

    int Col() const { return FCol; }
    void SetCol(int Value) { FocusCell(Value, FRow); }
    int Row() const { return FRow; }
    void SetRow(int Value) { FocusCell(FCol, Value); }
    void FocusCell(int Col, int Row) { MoveCurrent(Col, Row, true, true); }
    TGridRect Selection() const;
    void SetSelection(const TGridRect& Value);

    int TopRow() const { return FTopRow; }
    void SetTopRow(int Value);
    int LeftCol() const { return FLeftCol; }
    void SetLeftCol(int Value);
    int VisibleRowCount() const;
    int VisibleColCount() const;

    // In viewport coordinates; an empty rectangle for a cell that is not on screen.
    QRect CellRect(int Col, int Row) const;
    // -1 for a coordinate that is on no cell.
    void MouseToCell(int X, int Y, int& Col, int& Row) const;
    std::vector<TGridSpan> VisibleColSpans() const;
    std::vector<TGridSpan> VisibleRowSpans() const;

    bool TabStops(int Col) const;
    void SetTabStops(int Col, bool Value);

    bool EditorMode() const { return FEditorMode; }
    void SetEditorMode(bool Value);
    void ShowEditor();
    void HideEditor();
    // Scrolls the current cell (and the editor on it) into view.
    void ShowCurrentCell();
    // Opens the editor and types Key into it, as a character typed on the grid does.
    void ShowEditorChar(QChar Key);
    TInplaceEdit* InplaceEditor() const { return FEditor; }
    // The editor is shown over its cell (also while the window itself is hidden).
    bool EditorShowing() const;
    // The cell the editor was loaded for.
    int EditorCol() const { return FEditCol; }
    int EditorRow() const { return FEditRow; }

    TCanvas& Canvas() { return FCanvas; }
    void InvalidateCell(int Col, int Row);
    void InvalidateGrid();
    // The grid or its editor holds the focus.
    bool IsActiveControl() const;

    std::function<void(int Col, int Row, bool& CanSelect)> OnSelectCell;
    std::function<void()> OnTopLeftChanged;
    std::function<void(int Col, int Row, const QRect& Rect, TGridDrawState State)> OnDrawCell;
    std::function<void(Qt::MouseButton Button, TShiftState Shift, int X, int Y)> OnMouseDown;
    std::function<void(TShiftState Shift, int X, int Y)> OnMouseMove;
    std::function<void(Qt::MouseButton Button, TShiftState Shift, int X, int Y)> OnMouseUp;
    // Key is a Qt key code; setting it to 0 stops the grid's own handling.
    std::function<void(int& Key, TShiftState Shift)> OnKeyDown;
    // Setting Key to the null character drops it.
    std::function<void(QChar& Key)> OnKeyPress;
    std::function<void(int Col, int Row, QString& Value)> OnGetEditText;
    std::function<void(int Col, int Row, const QString& Value)> OnSetEditText;
    std::function<void(int Col, int Row, QString& Mask)> OnGetEditMask;

    // Where a row (Rows) or column index ends up after a line change of the model.
    static int MovedIndex(int Value, const TGridChange& Change, bool Rows);

    // Entry points of the in-place editor.
    void EditorKeyDown(int& Key, TShiftState Shift) { KeyDown(Key, Shift); }
    void EditorKeyPress(QChar& Key) { KeyPress(Key); }
    void EditorTextEdited(const QString& Text);
    void EditorFocusOut(Qt::FocusReason Reason) { FocusMaybeLeft(Reason); }
    void EditorFocusIn() { FocusCameIn(); }
    virtual bool CanEditModify() const;

protected:
    // Paints one cell; Rect excludes the grid lines.
    virtual void DrawCell(int Col, int Row, const QRect& Rect, TGridDrawState State);
    virtual bool SelectCell(int Col, int Row);
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged() {}
    virtual void RowHeightsChanged() {}
    // A line change moved the cells around: the editor's own record of its cell follows.
    virtual void EditorCellMoved(const TGridChange& Change) { Q_UNUSED(Change); }
    virtual TInplaceEdit* CreateEditor();
    // Asked whenever the editor may show on the current cell.
    virtual bool CanEditShow();
    virtual QString GetEditText(int Col, int Row);
    virtual void SetEditText(int Col, int Row, const QString& Value);
    virtual QString GetEditMask(int Col, int Row);
    virtual bool SelectAllOnShow() const { return true; }
    // The editor was loaded for a cell it now shows, its text selected as the grid selects it.
    virtual void EditorOpened() {}
    // The current cell moved away while the editor showed, and the editor was hidden.
    virtual void EditorLeftCell() {}
    virtual void KeyDown(int& Key, TShiftState Shift);
    virtual void KeyPress(QChar& Key);
    // A typed character that reached the grid itself (not its editor).
    virtual void CharMessage(QChar Key);
    virtual void MouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(Qt::MouseButton Button, TShiftState Shift, int X, int Y);
    // The focus went from the grid and its editor to another control, or came back.
    virtual void GridFocusLost();
    virtual void GridFocusGained() {}
    virtual void Resized() {}
    virtual bool TrackThumb() const { return HasOption(goThumbTracking); }

    void GridChanged(const TGridChange& Change) override;

    void MoveCurrent(int Col, int Row, bool MoveAnchor, bool Show);
    // Editor mode without showing or hiding anything.
    void SetEditorModeFlag(bool Value) { FEditorMode = Value; }
    void UpdateEdit();
    void HideEdit();
    void PlaceEditor();
    void UpdateScrollBars();

    void paintEvent(QPaintEvent* Event) override;
    void resizeEvent(QResizeEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;
    void mouseDoubleClickEvent(QMouseEvent* Event) override;
    void focusInEvent(QFocusEvent* Event) override;
    void focusOutEvent(QFocusEvent* Event) override;
    bool event(QEvent* Event) override;
    void scrollContentsBy(int, int) override {}

private:
    enum class TGridState { Normal, Selecting, ColSizing, RowSizing, ColMoving, RowMoving };

    void SyncSizes();
    void PaintCells(const QRect& Area);
    void PaintLines(const TGridSpan& ColSpan, const TGridSpan& RowSpan, bool Fixed);
    TGridDrawState DrawStateOf(int Col, int Row) const;
    void NavigateKey(int Key, TShiftState Shift);
    void ExtendSelection(int Col, int Row);
    void EditorFollowsCurrent();
    void ClampInView();
    int MaxTopRow() const;
    int MaxLeftCol() const;
    int NextVisibleCol(int Col, int Step) const;
    int SizingLineAt(int X, int Y, bool& IsCol) const;
    void FocusMaybeLeft(Qt::FocusReason Reason);
    void FocusCameIn();
    void BeforeLineChange(const TGridChange& Change);
    void AfterLineChange(const TGridChange& Change);
    void ResizeAfterModelChange();

    std::unique_ptr<TStyledGridModel> FModel;
    TCanvas FCanvas;
    std::vector<int> FColWidths;
    std::vector<int> FRowHeights;
    std::vector<bool> FTabStops;
    int FDefaultColWidth = 64;
    int FDefaultRowHeight = 24;
    int FGridLineWidth = 1;
    TGridOptions FOptions = DefaultGridOptions;
    int FCol = 1;
    int FRow = 1;
    int FAnchorCol = 1;
    int FAnchorRow = 1;
    int FTopRow = 1;
    int FLeftCol = 1;
    bool FEditorMode = false;
    TInplaceEdit* FEditor = nullptr;
    int FEditCol = -1;
    int FEditRow = -1;
    bool FLoadingEditor = false;
    bool FReshowEditor = false;
    bool FFocusWithin = false;
    TGridState FState = TGridState::Normal;
    int FSizingIndex = -1;
    int FSizingOrigin = 0;
    int FMoveFrom = -1;
};

} // namespace kav
