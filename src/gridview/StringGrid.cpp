#include "gridview/StringGrid.h"

#include "gridview/FontBuild.h"
#include "gridview/GridEditor.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace kav {

namespace {

constexpr int SizingMargin = 3;

// The columns (or rows) on screen: the fixed ones, then from First on until Extent is filled.
// Hidden lines (negative size) take no room.
std::vector<TGridSpan> WalkSpans(const std::vector<int>& Sizes, int Fixed, int First, int Extent,
                                 int Line) {
    std::vector<TGridSpan> Spans;
    const int Count = static_cast<int>(Sizes.size());
    int Pos = 0;
    auto Add = [&](int Index) {
        const int Size = Sizes[static_cast<size_t>(Index)];
        if (Size < 0) {
            return;
        }
        Spans.push_back({Index, Pos, Size});
        Pos += Size + Line;
    };
    for (int I = 0; I < std::min(Fixed, Count); ++I) {
        Add(I);
    }
    for (int I = std::max(First, Fixed); I < Count && Pos < Extent; ++I) {
        Add(I);
    }
    return Spans;
}

const TGridSpan* FindSpan(const std::vector<TGridSpan>& Spans, int Index) {
    for (const TGridSpan& Span : Spans) {
        if (Span.Index == Index) {
            return &Span;
        }
    }
    return nullptr;
}

int FixedExtent(const std::vector<int>& Sizes, int Fixed, int Line) {
    int Total = 0;
    for (int I = 0; I < std::min<int>(Fixed, static_cast<int>(Sizes.size())); ++I) {
        if (Sizes[static_cast<size_t>(I)] >= 0) {
            Total += Sizes[static_cast<size_t>(I)] + Line;
        }
    }
    return Total;
}

// The smallest first line that still shows Last completely, walking back from it.
int FirstShowing(const std::vector<int>& Sizes, int Fixed, int Last, int Room, int Line) {
    int First = Last;
    int Used = std::max(0, Sizes[static_cast<size_t>(Last)]) + Line;
    while (First > Fixed) {
        const int Size = Sizes[static_cast<size_t>(First - 1)];
        const int Need = Size < 0 ? 0 : Size + Line;
        if (Used + Need > Room) {
            break;
        }
        Used += Need;
        --First;
    }
    return First;
}

// Lines fully shown from First on.
int FullyShown(const std::vector<int>& Sizes, int First, int Room, int Line) {
    int Count = 0;
    int Used = 0;
    for (int I = First; I < static_cast<int>(Sizes.size()); ++I) {
        const int Size = Sizes[static_cast<size_t>(I)];
        if (Size < 0) {
            continue;
        }
        if (Used + Size > Room) {
            break;
        }
        Used += Size + Line;
        ++Count;
    }
    return Count;
}

} // namespace

TCustomStringGrid::TCustomStringGrid(QWidget* Parent)
    : QAbstractScrollArea(Parent), FModel(std::make_unique<TStyledGridModel>()),
      FCanvas(palette()) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    FModel->AddObserver(this);
    SyncSizes();
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int Value) { SetTopRow(FixedRows() + Value); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int Value) { SetLeftCol(FixedCols() + Value); });
    UpdateScrollBars();
}

TCustomStringGrid::~TCustomStringGrid() {
    if (FEditor) {
        FEditor->DetachGrid();
    }
    FModel->RemoveObserver(this);
}

// ---- sizes

void TCustomStringGrid::SyncSizes() {
    FColWidths.resize(static_cast<size_t>(ColCount()), FDefaultColWidth);
    FRowHeights.resize(static_cast<size_t>(RowCount()), FDefaultRowHeight);
    FTabStops.resize(static_cast<size_t>(ColCount()), true);
}

void TCustomStringGrid::SetDefaultColWidth(int Value) {
    FDefaultColWidth = Value;
    std::fill(FColWidths.begin(), FColWidths.end(), Value);
    ResizeAfterModelChange();
    ColWidthsChanged();
}

void TCustomStringGrid::SetDefaultRowHeight(int Value) {
    FDefaultRowHeight = Value;
    std::fill(FRowHeights.begin(), FRowHeights.end(), Value);
    ResizeAfterModelChange();
    RowHeightsChanged();
}

int TCustomStringGrid::ColWidths(int Col) const {
    return Col >= 0 && Col < ColCount() ? FColWidths[static_cast<size_t>(Col)] : FDefaultColWidth;
}

void TCustomStringGrid::SetColWidths(int Col, int Value) {
    if (Col < 0 || Col >= ColCount() || FColWidths[static_cast<size_t>(Col)] == Value) {
        return;
    }
    FColWidths[static_cast<size_t>(Col)] = Value;
    ResizeAfterModelChange();
    ColWidthsChanged();
}

int TCustomStringGrid::RowHeights(int Row) const {
    return Row >= 0 && Row < RowCount() ? FRowHeights[static_cast<size_t>(Row)] : FDefaultRowHeight;
}

void TCustomStringGrid::SetRowHeights(int Row, int Value) {
    if (Row < 0 || Row >= RowCount() || FRowHeights[static_cast<size_t>(Row)] == Value) {
        return;
    }
    FRowHeights[static_cast<size_t>(Row)] = Value;
    ResizeAfterModelChange();
    RowHeightsChanged();
}

void TCustomStringGrid::SetGridLineWidth(int Value) {
    FGridLineWidth = std::max(0, Value);
    ResizeAfterModelChange();
}

void TCustomStringGrid::SetOptions(TGridOptions Value) {
    const TGridOptions Old = FOptions;
    FOptions = Value;
    if ((Value & goRowSelect) && !(Old & goRowSelect)) {
        FAnchorCol = FCol;
        HideEditor();
    }
    if (!(Value & goEditing)) {
        HideEditor();
    } else if ((Value & goAlwaysShowEditor) && !(Old & goAlwaysShowEditor)) {
        ShowEditor();
    }
    UpdateScrollBars();
    InvalidateGrid();
}

bool TCustomStringGrid::TabStops(int Col) const {
    return Col < 0 || Col >= ColCount() || FTabStops[static_cast<size_t>(Col)];
}

void TCustomStringGrid::SetTabStops(int Col, bool Value) {
    if (Col >= 0 && Col < ColCount()) {
        FTabStops[static_cast<size_t>(Col)] = Value;
    }
}

void TCustomStringGrid::ResizeAfterModelChange() {
    SyncSizes();
    FCol = std::clamp(FCol, std::min(FixedCols(), ColCount() - 1), ColCount() - 1);
    FRow = std::clamp(FRow, std::min(FixedRows(), RowCount() - 1), RowCount() - 1);
    FAnchorCol = std::clamp(FAnchorCol, 0, ColCount() - 1);
    FAnchorRow = std::clamp(FAnchorRow, 0, RowCount() - 1);
    FTopRow = std::clamp(FTopRow, FixedRows(), std::max(FixedRows(), MaxTopRow()));
    FLeftCol = std::clamp(FLeftCol, FixedCols(), std::max(FixedCols(), MaxLeftCol()));
    UpdateScrollBars();
    PlaceEditor();
    InvalidateGrid();
}

// ---- geometry

std::vector<TGridSpan> TCustomStringGrid::VisibleColSpans() const {
    return WalkSpans(FColWidths, FixedCols(), FLeftCol, viewport()->width(), FGridLineWidth);
}

std::vector<TGridSpan> TCustomStringGrid::VisibleRowSpans() const {
    return WalkSpans(FRowHeights, FixedRows(), FTopRow, viewport()->height(), FGridLineWidth);
}

QRect TCustomStringGrid::CellRect(int Col, int Row) const {
    const auto Cols = VisibleColSpans();
    const auto Rows = VisibleRowSpans();
    const TGridSpan* C = FindSpan(Cols, Col);
    const TGridSpan* R = FindSpan(Rows, Row);
    if (!C || !R) {
        return QRect();
    }
    return QRect(C->Start, R->Start, C->Size, R->Size);
}

void TCustomStringGrid::MouseToCell(int X, int Y, int& Col, int& Row) const {
    Col = -1;
    Row = -1;
    for (const TGridSpan& Span : VisibleColSpans()) {
        if (X >= Span.Start && X < Span.Start + Span.Size + FGridLineWidth) {
            Col = Span.Index;
        }
    }
    for (const TGridSpan& Span : VisibleRowSpans()) {
        if (Y >= Span.Start && Y < Span.Start + Span.Size + FGridLineWidth) {
            Row = Span.Index;
        }
    }
}

int TCustomStringGrid::MaxTopRow() const {
    if (RowCount() <= FixedRows()) {
        return FixedRows();
    }
    const int Room = viewport()->height() - FixedExtent(FRowHeights, FixedRows(), FGridLineWidth);
    return FirstShowing(FRowHeights, FixedRows(), RowCount() - 1, Room, FGridLineWidth);
}

int TCustomStringGrid::MaxLeftCol() const {
    if (ColCount() <= FixedCols()) {
        return FixedCols();
    }
    const int Room = viewport()->width() - FixedExtent(FColWidths, FixedCols(), FGridLineWidth);
    return FirstShowing(FColWidths, FixedCols(), ColCount() - 1, Room, FGridLineWidth);
}

int TCustomStringGrid::VisibleRowCount() const {
    const int Room = viewport()->height() - FixedExtent(FRowHeights, FixedRows(), FGridLineWidth);
    return FullyShown(FRowHeights, FTopRow, Room, FGridLineWidth);
}

int TCustomStringGrid::VisibleColCount() const {
    const int Room = viewport()->width() - FixedExtent(FColWidths, FixedCols(), FGridLineWidth);
    return FullyShown(FColWidths, FLeftCol, Room, FGridLineWidth);
}

// ---- scrolling

void TCustomStringGrid::SetTopRow(int Value) {
    Value = std::clamp(Value, FixedRows(), std::max(FixedRows(), MaxTopRow()));
    if (Value == FTopRow) {
        return;
    }
    FTopRow = Value;
    UpdateScrollBars();
    PlaceEditor();
    viewport()->update();
    TopLeftChanged();
}

void TCustomStringGrid::SetLeftCol(int Value) {
    Value = std::clamp(Value, FixedCols(), std::max(FixedCols(), MaxLeftCol()));
    if (Value == FLeftCol) {
        return;
    }
    FLeftCol = Value;
    UpdateScrollBars();
    PlaceEditor();
    viewport()->update();
    TopLeftChanged();
}

void TCustomStringGrid::TopLeftChanged() {
    if (OnTopLeftChanged) {
        OnTopLeftChanged();
    }
}

void TCustomStringGrid::UpdateScrollBars() {
    auto Setup = [this](QScrollBar* Bar, int Fixed, int Max, int First, int Page) {
        const QSignalBlocker Block(Bar);
        Bar->setRange(0, std::max(0, Max - Fixed));
        Bar->setPageStep(std::max(1, Page));
        Bar->setSingleStep(1);
        Bar->setValue(First - Fixed);
        Bar->setTracking(TrackThumb());
    };
    Setup(verticalScrollBar(), FixedRows(), MaxTopRow(), FTopRow, VisibleRowCount());
    Setup(horizontalScrollBar(), FixedCols(), MaxLeftCol(), FLeftCol, VisibleColCount());
}

void TCustomStringGrid::ClampInView() {
    if (FRow < FTopRow && FRow >= FixedRows()) {
        SetTopRow(FRow);
    } else if (FRow >= FixedRows()) {
        const int Room =
            viewport()->height() - FixedExtent(FRowHeights, FixedRows(), FGridLineWidth);
        const int First = FirstShowing(FRowHeights, FixedRows(), FRow, Room, FGridLineWidth);
        if (First > FTopRow) {
            SetTopRow(First);
        }
    }
    if (FCol < FLeftCol && FCol >= FixedCols()) {
        SetLeftCol(FCol);
    } else if (FCol >= FixedCols()) {
        const int Room = viewport()->width() - FixedExtent(FColWidths, FixedCols(), FGridLineWidth);
        const int First = FirstShowing(FColWidths, FixedCols(), FCol, Room, FGridLineWidth);
        if (First > FLeftCol) {
            SetLeftCol(First);
        }
    }
}

// ---- current cell and selection

TGridRect TCustomStringGrid::Selection() const {
    TGridRect Rect{std::min(FAnchorCol, FCol), std::min(FAnchorRow, FRow),
                   std::max(FAnchorCol, FCol), std::max(FAnchorRow, FRow)};
    if (HasOption(goRowSelect)) {
        Rect.Left = FixedCols();
        Rect.Right = ColCount() - 1;
    }
    return Rect;
}

void TCustomStringGrid::SetSelection(const TGridRect& Value) {
    if (ColCount() <= FixedCols() || RowCount() <= FixedRows()) {
        return;
    }
    auto ClampCol = [this](int C) { return std::clamp(C, FixedCols(), ColCount() - 1); };
    auto ClampRow = [this](int R) { return std::clamp(R, FixedRows(), RowCount() - 1); };
    FAnchorCol = ClampCol(Value.Right);
    FAnchorRow = ClampRow(Value.Bottom);
    const bool Moves = ClampCol(Value.Left) != FCol || ClampRow(Value.Top) != FRow;
    FCol = ClampCol(Value.Left);
    FRow = ClampRow(Value.Top);
    ClampInView();
    if (Moves) {
        EditorFollowsCurrent();
    }
    InvalidateGrid();
}

bool TCustomStringGrid::SelectCell(int Col, int Row) {
    bool Can = true;
    if (OnSelectCell) {
        OnSelectCell(Col, Row, Can);
    }
    return Can;
}

void TCustomStringGrid::MoveCurrent(int Col, int Row, bool MoveAnchor, bool Show) {
    if (ColCount() <= FixedCols() || RowCount() <= FixedRows()) {
        return;
    }
    Col = std::clamp(Col, FixedCols(), ColCount() - 1);
    Row = std::clamp(Row, FixedRows(), RowCount() - 1);
    const bool Moves = Col != FCol || Row != FRow;
    if (Moves && !SelectCell(Col, Row)) {
        return;
    }
    FCol = Col;
    FRow = Row;
    if (MoveAnchor) {
        FAnchorCol = Col;
        FAnchorRow = Row;
    }
    if (Show) {
        ClampInView();
    }
    if (Moves) {
        EditorFollowsCurrent();
    }
    InvalidateGrid();
}

void TCustomStringGrid::EditorFollowsCurrent() {
    // The always-shown editor reappears when a read-only cell is left for an editable one.
    if (HasOption(goAlwaysShowEditor) && HasOption(goEditing)) {
        UpdateEdit();
        return;
    }
    if (!FEditor || FEditor->isHidden()) {
        return;
    }
    {
        HideEditor();
        EditorLeftCell();
    }
}

void TCustomStringGrid::ExtendSelection(int Col, int Row) {
    const int AnchorCol = FAnchorCol;
    const int AnchorRow = FAnchorRow;
    MoveCurrent(Col, Row, false, true);
    FAnchorCol = AnchorCol;
    FAnchorRow = AnchorRow;
}

// ---- editor

TInplaceEdit* TCustomStringGrid::CreateEditor() {
    return new TInplaceEdit(this);
}

bool TCustomStringGrid::CanEditShow() {
    return HasOption(goEditing) && !HasOption(goRowSelect) && FEditorMode;
}

bool TCustomStringGrid::CanEditModify() const {
    return HasOption(goEditing) && FEditorMode;
}

QString TCustomStringGrid::GetEditText(int Col, int Row) {
    QString Value = QString::fromLatin1(Cells(Col, Row));
    if (OnGetEditText) {
        OnGetEditText(Col, Row, Value);
    }
    return Value;
}

void TCustomStringGrid::SetEditText(int Col, int Row, const QString& Value) {
    FModel->SetCells(Col, Row, Value.toLatin1().toStdString());
    if (OnSetEditText) {
        OnSetEditText(Col, Row, Value);
    }
}

QString TCustomStringGrid::GetEditMask(int Col, int Row) {
    QString Mask;
    if (OnGetEditMask) {
        OnGetEditMask(Col, Row, Mask);
    }
    return Mask;
}

void TCustomStringGrid::EditorTextEdited(const QString& Text) {
    if (FEditCol < 0 || FEditRow < 0) {
        return;
    }
    FLoadingEditor = true;
    SetEditText(FEditCol, FEditRow, Text);
    FLoadingEditor = false;
}

void TCustomStringGrid::SetEditorMode(bool Value) {
    if (Value) {
        ShowEditor();
    } else {
        HideEditor();
    }
}

void TCustomStringGrid::ShowEditor() {
    FEditorMode = true;
    UpdateEdit();
}

void TCustomStringGrid::HideEditor() {
    FEditorMode = false;
    HideEdit();
}

bool TCustomStringGrid::EditorShowing() const {
    return FEditor && !FEditor->isHidden();
}

void TCustomStringGrid::ShowCurrentCell() {
    ClampInView();
    PlaceEditor();
}

void TCustomStringGrid::ShowEditorChar(QChar Key) {
    ShowEditor();
    if (FEditor && !FEditor->isHidden()) {
        FEditor->TypeChar(Key);
    }
}

void TCustomStringGrid::UpdateEdit() {
    if (!FEditor) {
        FEditor = CreateEditor();
        FEditor->hide();
    }
    if (!CanEditShow()) {
        HideEdit();
        return;
    }
    const bool Fresh = FEditor->isHidden() || FEditCol != FCol || FEditRow != FRow;
    if (Fresh) {
        FEditCol = FCol;
        FEditRow = FRow;
        FEditor->SetEditMask(GetEditMask(FCol, FRow));
        FEditor->LoadText(GetEditText(FCol, FRow));
        if (SelectAllOnShow()) {
            FEditor->SelectAllText();
        } else {
            FEditor->SetSelection(static_cast<int>(FEditor->Text().size()), 0);
        }
        EditorOpened();
    }
    PlaceEditor();
    if (IsActiveControl() || (window() && window()->isActiveWindow())) {
        FEditor->setFocus(Qt::OtherFocusReason);
    }
}

void TCustomStringGrid::PlaceEditor() {
    if (!FEditor || !FEditorMode || FEditCol < 0) {
        return;
    }
    const QRect Rect = CellRect(FEditCol, FEditRow);
    if (Rect.isEmpty()) {
        FEditor->move(-Rect.width() - 10000, 0);
        return;
    }
    FEditor->setGeometry(Rect);
    if (FEditor->isHidden()) {
        FEditor->show();
    }
}

void TCustomStringGrid::HideEdit() {
    if (!FEditor || FEditor->isHidden()) {
        return;
    }
    const bool HadFocus = FEditor->hasFocus();
    FEditor->hide();
    if (HadFocus) {
        setFocus(Qt::OtherFocusReason);
    }
    InvalidateGrid();
}

// ---- model changes

void TCustomStringGrid::GridChanged(const TGridChange& Change) {
    switch (Change.Kind) {
    case TGridChangeKind::Repaint:
    case TGridChangeKind::TextsChanged:
        InvalidateGrid();
        break;
    case TGridChangeKind::TextChanged:
        InvalidateCell(Change.Col, Change.Row);
        if (!FLoadingEditor && FEditor && !FEditor->isHidden() && Change.Col == FEditCol &&
            Change.Row == FEditRow) {
            FEditor->LoadText(GetEditText(FEditCol, FEditRow));
        }
        break;
    case TGridChangeKind::SizeChanged:
        ResizeAfterModelChange();
        break;
    case TGridChangeKind::RowInserting:
    case TGridChangeKind::RowRemoving:
    case TGridChangeKind::ColInserting:
    case TGridChangeKind::RowsExchanging:
    case TGridChangeKind::ColsExchanging:
        BeforeLineChange(Change);
        break;
    default:
        AfterLineChange(Change);
        break;
    }
}

void TCustomStringGrid::BeforeLineChange(const TGridChange& Change) {
    if (!FEditor || FEditor->isHidden()) {
        return;
    }
    const bool Touched = [&] {
        switch (Change.Kind) {
        case TGridChangeKind::RowInserting:
        case TGridChangeKind::RowRemoving:
            return FEditRow >= Change.Index;
        case TGridChangeKind::ColInserting:
            return FEditCol >= Change.Index;
        case TGridChangeKind::RowsExchanging:
            return FEditRow == Change.Index || FEditRow == Change.Other;
        default:
            return FEditCol == Change.Index || FEditCol == Change.Other;
        }
    }();
    if (!Touched) {
        return;
    }
    if (Change.Kind == TGridChangeKind::RowRemoving && FEditRow == Change.Index) {
        HideEditor();
    } else {
        HideEdit();
        FReshowEditor = true;
    }
}

int TCustomStringGrid::MovedIndex(int Value, const TGridChange& Change, bool Rows) {
    using K = TGridChangeKind;
    if (Value < 0) {
        return Value;
    }
    const bool RowChange = Change.Kind == K::RowInserted || Change.Kind == K::RowRemoved ||
                           Change.Kind == K::RowsExchanged || Change.Kind == K::RowMoved;
    if (RowChange != Rows) {
        return Value;
    }
    switch (Change.Kind) {
    case K::RowInserted:
    case K::ColInserted:
        return Value >= Change.Index ? Value + 1 : Value;
    case K::RowRemoved:
        return Value > Change.Index ? Value - 1 : Value;
    case K::RowsExchanged:
    case K::ColsExchanged:
        return Value == Change.Index ? Change.Other
                                     : (Value == Change.Other ? Change.Index : Value);
    case K::RowMoved:
    case K::ColMoved:
        return Value == Change.Index ? Change.Other
                                     : (Value == Change.Other ? Change.Other + 1 : Value);
    default:
        return Value;
    }
}

void TCustomStringGrid::AfterLineChange(const TGridChange& Change) {
    SyncSizes();
    const bool Moved =
        Change.Kind == TGridChangeKind::RowMoved || Change.Kind == TGridChangeKind::ColMoved;
    if (!Moved) {
        FCol = MovedIndex(FCol, Change, false);
        FRow = MovedIndex(FRow, Change, true);
        FAnchorCol = MovedIndex(FAnchorCol, Change, false);
        FAnchorRow = MovedIndex(FAnchorRow, Change, true);
    }
    // The editor keeps to its cell, so that showing it again continues the same edit.
    FEditCol = MovedIndex(FEditCol, Change, false);
    FEditRow = MovedIndex(FEditRow, Change, true);
    EditorCellMoved(Change);
    ResizeAfterModelChange();
    if (FReshowEditor) {
        FReshowEditor = false;
        UpdateEdit();
    }
}

// ---- painting

void TCustomStringGrid::InvalidateCell(int Col, int Row) {
    const QRect Rect = CellRect(Col, Row);
    if (!Rect.isEmpty()) {
        viewport()->update(Rect.adjusted(0, 0, FGridLineWidth, FGridLineWidth));
    }
}

void TCustomStringGrid::InvalidateGrid() {
    viewport()->update();
}

bool TCustomStringGrid::IsActiveControl() const {
    return hasFocus() || (FEditor && FEditor->hasFocus());
}

TGridDrawState TCustomStringGrid::DrawStateOf(int Col, int Row) const {
    if (Col < FixedCols() || Row < FixedRows()) {
        return gdFixed;
    }
    TGridDrawState State = 0;
    if (RectContains(Selection(), Col, Row)) {
        State |= gdSelected;
    }
    if (Col == FCol && Row == FRow && IsActiveControl()) {
        State |= gdFocused;
    }
    return State;
}

void TCustomStringGrid::paintEvent(QPaintEvent* Event) {
    QPainter Painter(viewport());
    FCanvas.SetPalette(palette());
    FCanvas.Begin(&Painter);
    PaintCells(Event->rect());
    FCanvas.End();
}

void TCustomStringGrid::PaintCells(const QRect& Area) {
    QPainter& Painter = *FCanvas.Painter();
    Painter.fillRect(Area, ColorToQColor(FModel->Color(), palette()));
    const auto Cols = VisibleColSpans();
    const auto Rows = VisibleRowSpans();
    for (const TGridSpan& R : Rows) {
        if (R.Start > Area.bottom() || R.Start + R.Size + FGridLineWidth <= Area.top()) {
            continue;
        }
        for (const TGridSpan& C : Cols) {
            const QRect Rect(C.Start, R.Start, C.Size, R.Size);
            if (!Rect.adjusted(0, 0, FGridLineWidth, FGridLineWidth).intersects(Area)) {
                continue;
            }
            const TGridDrawState State = DrawStateOf(C.Index, R.Index);
            if (Rect.width() > 0 && Rect.height() > 0) {
                Painter.save();
                DrawCell(C.Index, R.Index, Rect, State);
                Painter.restore();
            }
            PaintLines(C, R, (State & gdFixed) != 0);
            if ((State & gdFocused) && !(FEditor && !FEditor->isHidden()) &&
                !HasOption(goRowSelect)) {
                Painter.save();
                QPen Pen(Qt::DotLine);
                Pen.setColor(ColorToQColor(clWindowText, palette()));
                Painter.setPen(Pen);
                Painter.setBrush(Qt::NoBrush);
                Painter.drawRect(Rect.adjusted(0, 0, -1, -1));
                Painter.restore();
            }
        }
    }
}

void TCustomStringGrid::PaintLines(const TGridSpan& C, const TGridSpan& R, bool Fixed) {
    if (FGridLineWidth <= 0) {
        return;
    }
    QPainter& Painter = *FCanvas.Painter();
    const bool Vert = HasOption(Fixed ? goFixedVertLine : goVertLine);
    const bool Horz = HasOption(Fixed ? goFixedHorzLine : goHorzLine);
    const QColor Color = ColorToQColor(Fixed ? clBtnShadow : clSilver, palette());
    if (Vert) {
        Painter.fillRect(C.Start + C.Size, R.Start, FGridLineWidth, R.Size + FGridLineWidth, Color);
    }
    if (Horz) {
        Painter.fillRect(C.Start, R.Start + R.Size, C.Size + FGridLineWidth, FGridLineWidth, Color);
    }
}

void TCustomStringGrid::DrawCell(int Col, int Row, const QRect& Rect, TGridDrawState State) {
    if (DefaultDrawing) {
        FCanvas.Font = (State & gdFixed) ? FModel->FixedFont() : FModel->Font();
        FCanvas.Brush = (State & gdFixed) ? FModel->FixedBrush() : FModel->Brush();
        if ((State & gdSelected) && !(State & gdFocused)) {
            FCanvas.Brush.SetColor(clHighlight);
            FCanvas.Font.SetColor(clHighlightText);
        }
        FCanvas.FillRect(Rect);
        QRect Text = Rect.adjusted(2, 2, -2, -2);
        FCanvas.TransparentBackground = true;
        FCanvas.DrawText(QString::fromLatin1(Cells(Col, Row)), Text, DT_LEFT | DT_NOPREFIX);
    }
    if (OnDrawCell) {
        OnDrawCell(Col, Row, Rect, State);
    }
}

void TCustomStringGrid::resizeEvent(QResizeEvent* Event) {
    QAbstractScrollArea::resizeEvent(Event);
    ResizeAfterModelChange();
    Resized();
}

// ---- keyboard

bool TCustomStringGrid::event(QEvent* Event) {
    if (Event->type() == QEvent::KeyPress && HasOption(goTabs)) {
        auto* Key = static_cast<QKeyEvent*>(Event);
        if ((Key->key() == Qt::Key_Tab || Key->key() == Qt::Key_Backtab) &&
            !(Key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(Key);
            return true;
        }
    }
    return QAbstractScrollArea::event(Event);
}

void TCustomStringGrid::keyPressEvent(QKeyEvent* Event) {
    int Key = Event->key() == Qt::Key_Backtab ? Qt::Key_Tab : Event->key();
    TShiftState Shift = Event->modifiers();
    if (Event->key() == Qt::Key_Backtab) {
        Shift |= Qt::ShiftModifier;
    }
    KeyDown(Key, Shift);
    const QString Text = Event->text();
    // A key with Ctrl (without the AltGr of other layouts) is a command, not a character.
    const bool Command = (Shift & Qt::ControlModifier) && !(Shift & Qt::AltModifier);
    if (Text.size() == 1 && Text[0].unicode() != 127 && Event->key() != Qt::Key_Backtab &&
        !Command) {
        CharMessage(Text[0]);
    }
    Event->accept();
}

void TCustomStringGrid::KeyDown(int& Key, TShiftState Shift) {
    if (OnKeyDown) {
        OnKeyDown(Key, Shift);
    }
    if (Key != 0) {
        NavigateKey(Key, Shift);
    }
}

int TCustomStringGrid::NextVisibleCol(int Col, int Step) const {
    int Next = Col + Step;
    while (Next >= FixedCols() && Next < ColCount() && ColWidths(Next) < 0) {
        Next += Step;
    }
    return Next >= FixedCols() && Next < ColCount() ? Next : Col;
}

void TCustomStringGrid::NavigateKey(int Key, TShiftState Shift) {
    const bool Ctrl = Shift & Qt::ControlModifier;
    const bool Extend = (Shift & Qt::ShiftModifier) && HasOption(goRangeSelect);
    int C = FCol;
    int R = FRow;
    const int Page = std::max(1, VisibleRowCount());
    switch (Key) {
    case Qt::Key_Up:
        --R;
        break;
    case Qt::Key_Down:
        ++R;
        break;
    case Qt::Key_Left:
        if (HasOption(goRowSelect)) {
            SetLeftCol(FLeftCol - 1);
            return;
        }
        C = NextVisibleCol(C, -1);
        break;
    case Qt::Key_Right:
        if (HasOption(goRowSelect)) {
            SetLeftCol(FLeftCol + 1);
            return;
        }
        C = NextVisibleCol(C, 1);
        break;
    case Qt::Key_PageUp:
        R -= Page;
        break;
    case Qt::Key_PageDown:
        R += Page;
        break;
    case Qt::Key_Home:
        C = FixedCols();
        R = Ctrl ? FixedRows() : R;
        break;
    case Qt::Key_End:
        C = ColCount() - 1;
        R = Ctrl ? RowCount() - 1 : R;
        break;
    case Qt::Key_Tab:
        if (!HasOption(goTabs)) {
            return;
        }
        C = (Shift & Qt::ShiftModifier) ? C - 1 : C + 1;
        if (C >= ColCount()) {
            C = FixedCols();
            ++R;
        } else if (C < FixedCols()) {
            C = ColCount() - 1;
            --R;
        }
        MoveCurrent(C, std::clamp(R, FixedRows(), RowCount() - 1), true, true);
        return;
    case Qt::Key_F2:
        if (HasOption(goEditing)) {
            ShowEditor();
        }
        return;
    default:
        return;
    }
    if (Extend) {
        ExtendSelection(C, R);
    } else {
        MoveCurrent(C, R, true, true);
    }
}

void TCustomStringGrid::CharMessage(QChar Key) {
    const bool Typed = Key == QLatin1Char('\b') || Key.unicode() >= 32;
    if (HasOption(goEditing) && Typed) {
        ShowEditorChar(Key);
        return;
    }
    KeyPress(Key);
}

void TCustomStringGrid::KeyPress(QChar& Key) {
    if (OnKeyPress) {
        OnKeyPress(Key);
    }
    if (Key == QLatin1Char('\r') && !HasOption(goAlwaysShowEditor)) {
        if (FEditorMode) {
            HideEditor();
        } else {
            ShowEditor();
        }
        Key = QChar();
    }
}

// ---- mouse

int TCustomStringGrid::SizingLineAt(int X, int Y, bool& IsCol) const {
    const int FixedHeight = FixedExtent(FRowHeights, FixedRows(), FGridLineWidth);
    const int FixedWidth = FixedExtent(FColWidths, FixedCols(), FGridLineWidth);
    if (HasOption(goColSizing) && Y < FixedHeight) {
        for (const TGridSpan& Span : VisibleColSpans()) {
            if (std::abs(X - (Span.Start + Span.Size)) <= SizingMargin) {
                IsCol = true;
                return Span.Index;
            }
        }
    }
    if (HasOption(goRowSizing) && X < FixedWidth) {
        for (const TGridSpan& Span : VisibleRowSpans()) {
            if (std::abs(Y - (Span.Start + Span.Size)) <= SizingMargin) {
                IsCol = false;
                return Span.Index;
            }
        }
    }
    return -1;
}

void TCustomStringGrid::mousePressEvent(QMouseEvent* Event) {
    const QPoint Pos = Event->position().toPoint();
    MouseDown(Event->button(), Event->modifiers(), Pos.x(), Pos.y());
}

void TCustomStringGrid::mouseMoveEvent(QMouseEvent* Event) {
    const QPoint Pos = Event->position().toPoint();
    MouseMove(Event->modifiers(), Pos.x(), Pos.y());
}

void TCustomStringGrid::mouseReleaseEvent(QMouseEvent* Event) {
    const QPoint Pos = Event->position().toPoint();
    MouseUp(Event->button(), Event->modifiers(), Pos.x(), Pos.y());
}

void TCustomStringGrid::mouseDoubleClickEvent(QMouseEvent* Event) {
    int C = -1;
    int R = -1;
    const QPoint Pos = Event->position().toPoint();
    MouseToCell(Pos.x(), Pos.y(), C, R);
    if (HasOption(goEditing) && C == FCol && R == FRow) {
        ShowEditor();
    }
}

void TCustomStringGrid::MouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y) {
    if (!IsActiveControl()) {
        setFocus(Qt::MouseFocusReason);
    }
    if (Button == Qt::LeftButton) {
        bool IsCol = false;
        const int Line = SizingLineAt(X, Y, IsCol);
        int C = -1;
        int R = -1;
        MouseToCell(X, Y, C, R);
        if (Line >= 0) {
            FState = IsCol ? TGridState::ColSizing : TGridState::RowSizing;
            FSizingIndex = Line;
            FSizingOrigin = (IsCol ? X - ColWidths(Line) : Y - RowHeights(Line));
        } else if (C >= FixedCols() && R >= 0 && R < FixedRows() && HasOption(goColMoving)) {
            FState = TGridState::ColMoving;
            FMoveFrom = C;
        } else if (R >= FixedRows() && C >= 0 && C < FixedCols() && HasOption(goRowMoving)) {
            FState = TGridState::RowMoving;
            FMoveFrom = R;
        } else if (C >= FixedCols() && R >= FixedRows()) {
            const bool WasCurrent = C == FCol && R == FRow;
            if ((Shift & Qt::ShiftModifier) && HasOption(goRangeSelect)) {
                ExtendSelection(C, R);
            } else {
                MoveCurrent(C, R, true, true);
            }
            FState = TGridState::Selecting;
            if (WasCurrent && HasOption(goEditing) && !(FEditor && !FEditor->isHidden())) {
                ShowEditor();
            }
        }
    }
    if (OnMouseDown) {
        OnMouseDown(Button, Shift, X, Y);
    }
}

void TCustomStringGrid::MouseMove(TShiftState Shift, int X, int Y) {
    switch (FState) {
    case TGridState::ColSizing:
        SetColWidths(FSizingIndex, std::max(0, X - FSizingOrigin));
        break;
    case TGridState::RowSizing:
        SetRowHeights(FSizingIndex, std::max(0, Y - FSizingOrigin));
        break;
    case TGridState::Selecting:
        if (HasOption(goRangeSelect)) {
            int C = -1;
            int R = -1;
            MouseToCell(X, Y, C, R);
            if (C >= FixedCols() && R >= FixedRows() && (C != FCol || R != FRow)) {
                ExtendSelection(C, R);
            }
        }
        break;
    case TGridState::Normal: {
        bool IsCol = false;
        const int Line = SizingLineAt(X, Y, IsCol);
        viewport()->setCursor(Line < 0 ? Qt::ArrowCursor
                                       : (IsCol ? Qt::SplitHCursor : Qt::SplitVCursor));
        break;
    }
    default:
        break;
    }
    if (OnMouseMove) {
        OnMouseMove(Shift, X, Y);
    }
}

void TCustomStringGrid::MouseUp(Qt::MouseButton Button, TShiftState Shift, int X, int Y) {
    const TGridState State = FState;
    FState = TGridState::Normal;
    int C = -1;
    int R = -1;
    MouseToCell(X, Y, C, R);
    if (State == TGridState::ColMoving && C >= FixedCols() && C != FMoveFrom) {
        FModel->MoveCol(FMoveFrom, C);
    } else if (State == TGridState::RowMoving && R >= FixedRows() && R != FMoveFrom) {
        FModel->MoveRow(FMoveFrom, R);
    }
    if (OnMouseUp) {
        OnMouseUp(Button, Shift, X, Y);
    }
}

// ---- focus and hints

void TCustomStringGrid::focusInEvent(QFocusEvent* Event) {
    QAbstractScrollArea::focusInEvent(Event);
    InvalidateGrid();
    FocusCameIn();
    // The editor shown on the current cell takes the keys, as a click on the cell gives them
    // to it: a key typed after the grid got the focus (a load, a click beside the editor)
    // edits the cell as the editor shows it.
    if (FEditor && FEditorMode && !FEditor->isHidden() && FEditCol == FCol && FEditRow == FRow)
        FEditor->setFocus(Event->reason());
}

void TCustomStringGrid::FocusCameIn() {
    if (!FFocusWithin) {
        FFocusWithin = true;
        GridFocusGained();
    }
}

void TCustomStringGrid::focusOutEvent(QFocusEvent* Event) {
    QAbstractScrollArea::focusOutEvent(Event);
    InvalidateGrid();
    FocusMaybeLeft(Event->reason());
}

// The editor is part of the grid: the focus moving between the two is no leaving. Nor is the
// window losing activation or a menu popping up, after which the focus comes straight back.
void TCustomStringGrid::FocusMaybeLeft(Qt::FocusReason Reason) {
    if (Reason == Qt::ActiveWindowFocusReason || Reason == Qt::PopupFocusReason) {
        return;
    }
    QWidget* Now = QApplication::focusWidget();
    if (Now == this || (Now && isAncestorOf(Now)) || !FFocusWithin) {
        return;
    }
    FFocusWithin = false;
    GridFocusLost();
}

void TCustomStringGrid::GridFocusLost() {
    HideEditor();
}

} // namespace kav
