#include "gridview/StyledStringGrid.h"

#include "gridview/FontBuild.h"
#include "gridview/GridClipboard.h"
#include "text/CodePage.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QToolTip>

namespace kav {

namespace {

constexpr int HintGap = 6;

unsigned TextFlags(TMyAlign Align, T_Wordwrap Wrap) {
    unsigned Flags = DT_NOPREFIX;
    Flags |= Align == alRight ? DT_RIGHT : (Align == alCenter ? DT_CENTER : DT_LEFT);
    if (Wrap == ww_wordwrap) {
        Flags |= DT_WORDBREAK;
    } else if (Wrap == ww_ellipsis) {
        Flags |= DT_END_ELLIPSIS;
    }
    return Flags;
}

bool Matches(int Key, TShiftState Shift, QKeySequence::StandardKey Standard) {
    const QKeyCombination Combination(Shift & ~Qt::KeypadModifier, static_cast<Qt::Key>(Key));
    return QKeySequence::keyBindings(Standard).contains(QKeySequence(Combination));
}

} // namespace

TStyledStringGrid::TStyledStringGrid(QWidget* Parent) : TCustomStringGrid(Parent) {
    Model().SetEditable(true);
    ShowMessage = [this](const QString& Text) {
        QApplication::beep();
        QMessageBox::warning(this, QApplication::applicationName(), Text);
    };
    AddShowHintHandler(this, [this](QString& HintStr, bool& CanShow, THintInfo& Info) {
        ShowCellHint(HintStr, CanShow, Info);
    });
}

TStyledStringGrid::~TStyledStringGrid() {
    RemoveShowHintHandler(this);
}

// ---- settings

void TStyledStringGrid::SetDrawSelection(bool Value) {
    FDrawSelection = Value;
    InvalidateGrid();
}

void TStyledStringGrid::SetCellStringMaxLenght(std::uint32_t Value) {
    if (Value != FCellStringMaxLenght) {
        FCellStringMaxLenght = Value;
        InvalidateGrid();
    }
}

void TStyledStringGrid::SetAutoAdjustLastCol(bool Value) {
    FAutoAdjustLastCol = Value;
    if (Value) {
        AdjustLastCol();
    }
}

void TStyledStringGrid::SetRedrawWhileScroll(bool Value) {
    FRedrawWhileScroll = Value;
    UpdateScrollBars();
}

void TStyledStringGrid::SetGridLineWidth(int Value) {
    TCustomStringGrid::SetGridLineWidth(Value);
    if (FAutoAdjustLastCol) {
        AdjustLastCol();
    }
}

void TStyledStringGrid::Loaded() {
    FRestoreEditor = HasOption(goAlwaysShowEditor);
    if (FRestoreEditor && SelectEditText) {
        FSavedSelLength = -1;
    }
    HideEdit();
}

int TStyledStringGrid::CodePageOf(int Col, int Row) const {
    const int Charset = Model().CellFont(Col, Row).Charset();
    return CodePageOfCharset ? CodePageOfCharset(Col, Row, Charset) : CodePageForCharset(Charset);
}

QString TStyledStringGrid::CellText(int Col, int Row) const {
    return DecodeBytes(Cells(Col, Row), CodePageOf(Col, Row));
}

// ---- drawing

void TStyledStringGrid::DrawCell(int Col, int Row, const QRect& Rect, TGridDrawState State) {
    QRect R = Rect;
    PrepareCellCanvas(Col, Row, R, State);
    if (DefaultDrawing && !(OwnerDrawsText && OwnerDrawsText(Col, Row))) {
        DrawCellText(Col, Row, R, State);
    }
    if (OnDrawCell) {
        OnDrawCell(Col, Row, R, State);
    }
}

TMyFont TStyledStringGrid::StyledFont(int Col, int Row) const {
    TMyFont Font = Model().CellFont(Col, Row);
    if (OnCellStyle) {
        TMyBrush Brush = Model().CellBrush(Col, Row);
        OnCellStyle(Col, Row, Font, Brush);
    }
    return Font;
}

void TStyledStringGrid::PrepareCellCanvas(int Col, int Row, QRect& Rect, TGridDrawState State) {
    TCanvas& C = Canvas();
    C.Font = Model().CellFont(Col, Row);
    C.Brush = Model().CellBrush(Col, Row);
    if (OnCellStyle) {
        OnCellStyle(Col, Row, C.Font, C.Brush);
    }
    C.TransparentBackground = false;
    const bool KeepsOwnColours =
        (State & gdFocused) && !HasOption(goDrawFocusSelected) && !HasOption(goRowSelect);
    if (FDrawSelection && (State & gdSelected) && !KeepsOwnColours) {
        C.Brush.SetColor(Model().SelectedColorCell(Col, Row));
        C.Font.SetColor(Model().SelectedFontColorCell(Col, Row));
    }
    if (!DefaultDrawing) {
        return;
    }
    C.FillRect(Rect);
    const bool Fixed = Model().IsFixedCell(Col, Row);
    // The bottom answers the vertical-line option and the right edge the horizontal one.
    if (!HasOption(Fixed ? goFixedVertLine : goVertLine)) {
        Rect.setBottom(Rect.bottom() + GridLineWidth());
    }
    if (!HasOption(Fixed ? goFixedHorzLine : goHorzLine)) {
        Rect.setRight(Rect.right() + GridLineWidth());
    }
    C.TransparentBackground = true;
}

void TStyledStringGrid::DrawCellText(int Col, int Row, QRect& Rect, TGridDrawState State) {
    Q_UNUSED(State);
    TMyAlign Align = Model().AlignCell(Col, Row);
    T_Wordwrap Wrap = Model().WordwrapCell(Col, Row);
    if (CellStyleHook) {
        CellStyleHook(this, Col, Row, Align, Wrap);
    }
    Rect.adjust(2, 2, -2, -2);
    Canvas().DrawText(CellText(Col, Row), Rect, TextFlags(Align, Wrap));
}

// ---- the editor and the edit steps

TInplaceEdit* TStyledStringGrid::CreateEditor() {
    auto* Edit = new TNewInplaceEdit(this);
    Edit->OnTextLoaded = [this, Edit] {
        if (OnEditorStyled && Edit->CellCol >= 0 && Edit->CellRow >= 0) {
            OnEditorStyled(Edit->CellCol, Edit->CellRow, *Edit, false);
        }
    };
    return Edit;
}

bool TStyledStringGrid::CanEditModify() const {
    if (!TCustomStringGrid::CanEditModify())
        return false;
    const TNewInplaceEdit* Edit = Editor();
    if (!Edit || Edit->CellCol < 0)
        return true;
    return Model().EditCell(Edit->CellCol, Edit->CellRow) &&
           (!OnCanEditCell || OnCanEditCell(Edit->CellCol, Edit->CellRow));
}

void TStyledStringGrid::StyleEditor(TNewInplaceEdit& Edit) {
    Edit.SetAlignment(Model().AlignCell(Col(), Row()));
    TMyFont Font = Model().CellFont(Col(), Row());
    TMyBrush Brush = Model().CellBrush(Col(), Row());
    if (OnCellStyle) {
        OnCellStyle(Col(), Row(), Font, Brush);
    }
    Edit.setFont(BuildFont(Font));
    QPalette Palette = Edit.palette();
    Palette.setColor(QPalette::Base, ColorToQColor(Brush.Color(), palette()));
    Palette.setColor(QPalette::Text, ColorToQColor(Font.Color(), palette()));
    Edit.setPalette(Palette);
    Edit.CellCol = Col();
    Edit.CellRow = Row();
    Edit.Multiline = EditMultiline;
    Edit.setUndoRedoEnabled(EditWritesCell);
}

void TStyledStringGrid::EditorOpened() {
    TNewInplaceEdit* Edit = Editor();
    if (OnEditorStyled && Edit && Edit->CellCol >= 0 && Edit->CellRow >= 0) {
        OnEditorStyled(Edit->CellCol, Edit->CellRow, *Edit, true);
    }
}

void TStyledStringGrid::RestyleEditor(bool Opened) {
    TNewInplaceEdit* Edit = Editor();
    if (Edit && EditorShowing() && Edit->CellCol == Col() && Edit->CellRow == Row()) {
        StyleEditor(*Edit);
        if (OnEditorStyled) {
            OnEditorStyled(Col(), Row(), *Edit, Opened);
        }
    }
}

bool TStyledStringGrid::CanEditShow() {
    if (HasOption(goAlwaysShowEditor) && !EditorMode()) {
        SetEditorModeFlag(true);
    }
    bool Result = TCustomStringGrid::CanEditShow();
    TNewInplaceEdit* Edit = Editor();
    if (!Edit) {
        return Result;
    }
    if (Edit->CellCol != Col() || Edit->CellRow != Row()) {
        if (Edit->CellCol >= 0 && Edit->CellRow >= 0) {
            PostLeaveEdit(Edit->CellCol, Edit->CellRow);
        }
        Edit->EditStarted = false;
    }
    Result = Result && Model().EditCell(Col(), Row());
    if (!Result) {
        Edit->CellCol = -1;
        Edit->CellRow = -1;
        SetEditorModeFlag(false);
        return false;
    }
    StyleEditor(*Edit);
    if (!Edit->EditStarted) {
        Edit->EditStarted = true;
        BeginStep(Col(), Row());
        Edit->InitialText = CellText(Col(), Row());
        Edit->InitialBytes = Cells(Col(), Row());
    }
    return true;
}

QString TStyledStringGrid::GetEditText(int Col, int Row) {
    QString Value = CellText(Col, Row);
    Value.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (OnGetEditText) {
        OnGetEditText(Col, Row, Value);
    }
    return Value;
}

void TStyledStringGrid::SetEditText(int Col, int Row, const QString& Value) {
    const int Page = CodePageOf(Col, Row);
    // Line breaks are stored as CR LF, the way the cells hold them everywhere else.
    QString Stored = Value;
    Stored.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Stored.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    const EncodeResult Encoded = EncodeText(Stored, Page);
    if (!Encoded.Ok()) {
        RefuseEditText(Encoded.BadChar, Page);
        return;
    }
    if (!EditWritesCell) {
        FPendingEdits[{Col, Row}] = *Encoded.Bytes;
        if (OnSetEditText) {
            OnSetEditText(Col, Row, Value);
        }
        return;
    }
    FWritingEditText = true;
    Model().SetCells(Col, Row, *Encoded.Bytes);
    FWritingEditText = false;
    if (OnSetEditText) {
        OnSetEditText(Col, Row, Value);
    }
}

void TStyledStringGrid::RefuseEditText(const QString& Char, int CodePage) {
    if (OnRefusedChar) {
        OnRefusedChar(Char, CodePage);
        return;
    }
    EncodeResult Refused;
    Refused.BadChar = Char;
    ShowMessage(UnrepresentableMessage(Refused, CodePage));
}

void TStyledStringGrid::RestoreCellBytes(int Col, int Row, const std::string& Bytes) {
    if (!EditWritesCell) {
        // The cell never took the typing: only the typing goes.
        FPendingEdits.erase({Col, Row});
        return;
    }
    FWritingEditText = true;
    Model().SetCells(Col, Row, Bytes);
    FWritingEditText = false;
}

// Without the always-shown editor, moving away hides the editor: that ends the edit of the cell
// it showed, rather than leaving the end to whenever the editor shows next.
void TStyledStringGrid::EditorLeftCell() {
    TNewInplaceEdit* Edit = Editor();
    if (Edit && Edit->EditStarted && Edit->CellCol >= 0 && Edit->CellRow >= 0) {
        PostLeaveEdit(Edit->CellCol, Edit->CellRow);
    }
    if (Edit) {
        Edit->EditStarted = false;
        Edit->CellCol = -1;
        Edit->CellRow = -1;
    }
}

void TStyledStringGrid::EditorCellMoved(const TGridChange& Change) {
    if (TNewInplaceEdit* Edit = Editor()) {
        Edit->CellCol = MovedIndex(Edit->CellCol, Change, false);
        Edit->CellRow = MovedIndex(Edit->CellRow, Change, true);
    }
}

void TStyledStringGrid::PostStep(std::function<void()> Step) {
    QMetaObject::invokeMethod(
        this,
        [this, Generation = FEditGeneration, Step = std::move(Step)] {
            if (Generation == FEditGeneration)
                Step();
        },
        Qt::QueuedConnection);
}

void TStyledStringGrid::PostEndEdit(int Col, int Row) {
    PostStep([this, Col, Row] { EndStep(Col, Row, true); });
}

void TStyledStringGrid::PostCancelEdit(int Col, int Row) {
    PostStep([this, Col, Row] { CancelStep(Col, Row); });
}

void TStyledStringGrid::PostLeaveEdit(int Col, int Row) {
    PostStep([this, Col, Row] { EndStep(Col, Row, false); });
}

void TStyledStringGrid::PostRestoreEdit() {
    FRestorePending = true;
    QMetaObject::invokeMethod(
        this, [this] { RestoreEdit(); }, Qt::QueuedConnection);
}

void TStyledStringGrid::CommitEdit() {
    // Steps already queued (a cell just left) come first, in their order.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    TNewInplaceEdit* Edit = Editor();
    if (!Edit || !EditorShowing() || Edit->CellCol < 0 || Edit->CellRow < 0) {
        return;
    }
    const int C = Edit->CellCol;
    const int R = Edit->CellRow;
    EndStep(C, R, false);
    // The editor stays on its cell: a further edit there starts from what the cell holds now.
    if (EditorShowing() && Edit->CellCol == C && Edit->CellRow == R) {
        Edit->InitialText = CellText(C, R);
        Edit->InitialBytes = Cells(C, R);
        GetEditText(C, R);
    }
}

void TStyledStringGrid::DiscardEdit() {
    ++FEditGeneration;
    FPendingEdits.clear();
    if (OnEditDiscarded) {
        OnEditDiscarded(this);
    }
    TNewInplaceEdit* Edit = Editor();
    if (!Edit) {
        return;
    }
    const int C = Edit->CellCol;
    const int R = Edit->CellRow;
    if (C < 0 || R < 0 || C >= ColCount() || R >= RowCount()) {
        Edit->EditStarted = false;
        FEditing = false;
        return;
    }
    Edit->InitialText = CellText(C, R);
    Edit->InitialBytes = Cells(C, R);
    if (EditorShowing() && EditorCol() == C && EditorRow() == R) {
        Edit->LoadText(GetEditText(C, R));
    }
}

bool TStyledStringGrid::ReplacesEditedText(const TGridChange& Change) const {
    switch (Change.Kind) {
    case TGridChangeKind::TextsChanged:
    case TGridChangeKind::SizeChanged:
        return true;
    case TGridChangeKind::TextChanged: {
        const TNewInplaceEdit* Edit = Editor();
        return !FWritingEditText && Edit && Change.Col == Edit->CellCol &&
               Change.Row == Edit->CellRow;
    }
    default:
        return false;
    }
}

void TStyledStringGrid::GridChanged(const TGridChange& Change) {
    TCustomStringGrid::GridChanged(Change);
    if (ReplacesEditedText(Change)) {
        DiscardEdit();
    }
}

void TStyledStringGrid::BeginStep(int Col, int Row) {
    if (Col >= 0 && Row >= 0 && OnBeforeEdit) {
        OnBeforeEdit(this, Col, Row);
    }
    FEditing = true;
}

void TStyledStringGrid::StorePendingEdit(int Col, int Row) {
    const auto Pending = FPendingEdits.find({Col, Row});
    if (Pending == FPendingEdits.end()) {
        return;
    }
    const std::string Bytes = std::move(Pending->second);
    FPendingEdits.erase(Pending);
    if (!OnStoreEdit) {
        return;
    }
    // The editor already shows what it hands over: only a cell that then holds something else
    // (the owner refused or changed the text) reloads it.
    FWritingEditText = true;
    OnStoreEdit(Col, Row, Bytes);
    FWritingEditText = false;
    TNewInplaceEdit* Edit = Editor();
    if (Edit && Cells(Col, Row) != Bytes && EditorShowing() && EditorCol() == Col &&
        EditorRow() == Row) {
        Edit->LoadText(GetEditText(Col, Row));
    }
}

void TStyledStringGrid::EndStep(int Col, int Row, bool NextCell) {
    FEditing = false;
    if (Editor()) {
        Editor()->EditStarted = false;
    }
    if (Col >= 0 && Row >= 0) {
        StorePendingEdit(Col, Row);
        bool Ok = true;
        if (OnValidateEdit) {
            OnValidateEdit(this, Col, Row, Ok);
        }
        if (!Ok) {
            FocusCell(Col, Row);
            ShowEditor();
            FEditing = true;
        } else if (OnAfterEdit) {
            OnAfterEdit(this, Col, Row);
        }
    }
    if (NextCell && AutoEditNextCell && !FEditing && Col >= 0 && Row >= 0) {
        int C = this->Col();
        int R = this->Row();
        NextEditableCell(C, R);
        if (C >= 0 && R >= 0) {
            if (Editor()) {
                Editor()->CellCol = -1;
                Editor()->CellRow = -1;
            }
            FocusCell(C, R);
            ShowEditor();
            FEditing = true;
        }
    }
}

void TStyledStringGrid::CancelStep(int Col, int Row) {
    FEditing = false;
    if (Editor()) {
        Editor()->EditStarted = false;
    }
    if (OnCancelEdit && Col >= 0 && Row >= 0) {
        OnCancelEdit(this, Col, Row);
    }
}

void TStyledStringGrid::RestoreEdit() {
    // A key typed since the focus came back has placed its own text and caret.
    if (!FRestorePending) {
        return;
    }
    FRestorePending = false;
    ShowEditor();
    if (Editor() && !Editor()->isHidden()) {
        Editor()->SetSelection(FSavedSelStart, FSavedSelLength);
    }
}

// ---- focus

void TStyledStringGrid::GridFocusLost() {
    TNewInplaceEdit* Edit = Editor();
    if (Edit && EditorMode()) {
        FRestoreEditor = true;
        FSavedSelStart = Edit->SelStart();
        FSavedSelLength = Edit->SelLength();
        FEditing = false;
        if (!Edit->isHidden()) {
            HideEdit();
            EndStep(Col(), Row(), false);
        }
    }
    if (FEditing) {
        // A failed validation reopened the editor: the focus belongs back in the grid.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (Editor() && !Editor()->isHidden()) {
                    Editor()->setFocus(Qt::OtherFocusReason);
                } else {
                    setFocus(Qt::OtherFocusReason);
                }
            },
            Qt::QueuedConnection);
        return;
    }
    TCustomStringGrid::GridFocusLost();
}

void TStyledStringGrid::GridFocusGained() {
    TCustomStringGrid::GridFocusGained();
    if (FRestoreEditor && HasOption(goAlwaysShowEditor)) {
        PostRestoreEdit();
    }
}

// ---- keys

bool TStyledStringGrid::event(QEvent* Event) {
    if (Event->type() == QEvent::ShortcutOverride) {
        auto* Key = static_cast<QKeyEvent*>(Event);
        if (Key->matches(QKeySequence::Copy) || Key->matches(QKeySequence::Cut) ||
            Key->matches(QKeySequence::Paste) || Key->key() == Qt::Key_Insert ||
            (Key->key() == Qt::Key_Delete && (Key->modifiers() & Qt::ShiftModifier))) {
            Event->accept();
            return true;
        }
    }
    return TCustomStringGrid::event(Event);
}

bool TStyledStringGrid::ClipboardKey(int Key, TShiftState Shift) {
    const TShiftState Mods = Shift & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if ((Key == Qt::Key_Insert && Mods == Qt::ShiftModifier) ||
        Matches(Key, Shift, QKeySequence::Paste)) {
        if (OnPaste) {
            OnPaste();
        } else {
            PasteFromClipboard();
        }
    } else if ((Key == Qt::Key_Insert && Mods == Qt::ControlModifier) ||
               Matches(Key, Shift, QKeySequence::Copy)) {
        CopyToClipboard();
    } else if ((Key == Qt::Key_Delete && Mods == Qt::ShiftModifier) ||
               Matches(Key, Shift, QKeySequence::Cut)) {
        if (OnCut) {
            OnCut();
        } else {
            CutToClipboard();
        }
    } else {
        return false;
    }
    return true;
}

void TStyledStringGrid::KeyDown(int& Key, TShiftState Shift) {
    if (Key == Qt::Key_Tab && !(Shift & Qt::AltModifier)) {
        TabStep(Shift);
        Key = 0;
        return;
    }
    // The editor keeps these keys for itself and never hands them over.
    ClipboardKey(Key, Shift);
    TCustomStringGrid::KeyDown(Key, Shift);
}

void TStyledStringGrid::TabStep(TShiftState Shift) {
    const int StartCol = Col();
    const int StartRow = Row();
    int C = StartCol;
    int R = StartRow;
    const auto Direction =
        static_cast<T_nextcell>((Shift & Qt::ShiftModifier) ? (NextCellTab ^ 4) : NextCellTab);
    // Without any tab stop a walk that adds lines would never end: one round is enough.
    long long Steps = static_cast<long long>(ColCount()) * RowCount() + 1;
    for (; Steps > 0; --Steps) {
        NextCell(Direction, AfterLastCellTab, C, R);
        if (C == -1 && R == -1) {
            C = StartCol;
            R = StartRow;
            break;
        }
        if ((C == StartCol && R == StartRow) || TabStops(C)) {
            break;
        }
    }
    if (Steps == 0) {
        C = StartCol;
        R = StartRow;
    }
    FocusCell(C, R);
}

void TStyledStringGrid::KeyPress(QChar& Key) {
    if (Key == QLatin1Char('\r') && EditMultiline) {
        Key = QChar();
        return;
    }
    TCustomStringGrid::KeyPress(Key);
}

void TStyledStringGrid::CharMessage(QChar Key) {
    const bool Typed = Key == QLatin1Char('\b') || Key.unicode() >= 32;
    if (!HasOption(goEditing) || !Typed) {
        TCustomStringGrid::CharMessage(Key);
        return;
    }
    FRestorePending = false;
    ShowEditorChar(Key);
    if (!EditorMode()) {
        KeyPress(Key);
    }
}

// ---- walks

void TStyledStringGrid::NextCell(T_nextcell Direction, T_lastcell Rule, int& Col, int& Row) {
    const int FC = FixedCols();
    const int FR = FixedRows();
    bool Past = false;
    switch (Direction) {
    case nc_rightdown:
        if (++Col >= ColCount()) {
            Col = FC;
            Past = ++Row >= RowCount();
        }
        break;
    case nc_downright:
        if (++Row >= RowCount()) {
            Row = FR;
            Past = ++Col >= ColCount();
        }
        break;
    case nc_leftdown:
        if (--Col < FC) {
            Col = ColCount() - 1;
            Past = ++Row >= RowCount();
        }
        break;
    case nc_downleft:
        if (++Row >= RowCount()) {
            Row = FR;
            Past = --Col < FC;
        }
        break;
    case nc_leftup:
        if (--Col < FC) {
            Col = ColCount() - 1;
            Past = --Row < FR;
        }
        break;
    case nc_upleft:
        if (--Row < FR) {
            Row = RowCount() - 1;
            Past = --Col < FC;
        }
        break;
    case nc_rightup:
        if (++Col >= ColCount()) {
            Col = FC;
            Past = --Row < FR;
        }
        break;
    case nc_upright:
        if (--Row < FR) {
            Row = RowCount() - 1;
            Past = ++Col >= ColCount();
        }
        break;
    }
    if (Past) {
        Col = -1;
        Row = -1;
        LastLineReached(Direction, Rule, Col, Row);
    }
}

void TStyledStringGrid::LastLineReached(T_nextcell Direction, T_lastcell Rule, int& Col, int& Row) {
    const int FC = FixedCols();
    const int FR = FixedRows();
    switch (Rule) {
    case lc_stop:
        return;
    case lc_exit:
        focusNextChild();
        return;
    case lc_first: {
        const bool Right = Direction == nc_rightdown || Direction == nc_downright ||
                           Direction == nc_rightup || Direction == nc_upright;
        const bool Down = Direction == nc_rightdown || Direction == nc_downright ||
                          Direction == nc_leftdown || Direction == nc_downleft;
        Col = Right ? FC : ColCount() - 1;
        Row = Down ? FR : RowCount() - 1;
        return;
    }
    case lc_newcolrow:
        break;
    }
    switch (Direction) {
    case nc_rightdown:
        Model().InsertRow(RowCount());
        Col = FC, Row = RowCount() - 1;
        break;
    case nc_downright:
        Model().InsertCol(ColCount());
        Col = ColCount() - 1, Row = FR;
        break;
    case nc_leftdown:
        Model().InsertRow(RowCount());
        Col = ColCount() - 1, Row = RowCount() - 1;
        break;
    case nc_downleft:
        Model().InsertCol(FC);
        Col = FC, Row = FR;
        break;
    case nc_leftup:
        Model().InsertRow(FR);
        Col = ColCount() - 1, Row = FR;
        break;
    case nc_upleft:
        Model().InsertCol(FC);
        Col = FC, Row = RowCount() - 1;
        break;
    case nc_rightup:
        Model().InsertRow(FR);
        Col = FC, Row = FR;
        break;
    case nc_upright:
        Model().InsertCol(ColCount());
        Col = ColCount() - 1, Row = RowCount() - 1;
        break;
    }
}

void TStyledStringGrid::NextEditableCell(int& Col, int& Row) {
    const int StartCol = Col;
    const int StartRow = Row;
    const int Cols = ColCount();
    const int Rows = RowCount();
    do {
        NextCell(NextCellEdit, AfterLastCellEdit, Col, Row);
    } while (!(Col == StartCol && Row == StartRow) && !(Col == -1 && Row == -1) &&
             !Model().EditCell(Col, Row) && Cols == ColCount() && Rows == RowCount());
}

// ---- mouse and hints

void TStyledStringGrid::MouseDown(Qt::MouseButton Button, TShiftState Shift, int X, int Y) {
    if (X >= 0 || Y >= 0) {
        int C = -1;
        int R = -1;
        MouseToCell(X, Y, C, R);
        const bool RowHeader = C >= 0 && C < FixedCols() && R >= FixedRows();
        const bool ColHeader = R >= 0 && R < FixedRows() && C >= FixedCols();
        if (RowHeader && OnFixedRowClick) {
            OnFixedRowClick(this, R);
        } else if (ColHeader && OnFixedColClick) {
            OnFixedColClick(this, C);
        }
    }
    TCustomStringGrid::MouseDown(Button, Shift, X, Y);
}

void TStyledStringGrid::MouseMove(TShiftState Shift, int X, int Y) {
    if (FHintCellPos.x() >= 0 && FHintCellPos.y() >= 0) {
        int C = -1;
        int R = -1;
        MouseToCell(X, Y, C, R);
        if (C != FHintCellPos.x() || R != FHintCellPos.y()) {
            QToolTip::hideText();
            FHintCellPos = QPoint(-1, -1);
        }
    }
    TCustomStringGrid::MouseMove(Shift, X, Y);
}

void TStyledStringGrid::MouseUp(Qt::MouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomStringGrid::MouseUp(Button, Shift, X, Y);
    if (FAutoAdjustLastCol) {
        AdjustLastCol();
    }
}

void TStyledStringGrid::ShowCellHint(QString& HintStr, bool& CanShow, THintInfo& Info) {
    if (Info.HintControl != this || !ShowCellHints) {
        return;
    }
    int C = -1;
    int R = -1;
    MouseToCell(Info.CursorPos.x(), Info.CursorPos.y(), C, R);
    FHintCellPos = QPoint(C, R);
    const QRect Rect = CellRect(C, R);
    Info.HintPos = viewport()->mapToGlobal(QPoint(Rect.left(), Rect.bottom() + 1 + HintGap));
    Info.CursorRect = Rect;
    HintStr = DecodeBytes(Model().HintCell(C, R), CodePageOf(C, R));
    if (OnShowHintCell) {
        OnShowHintCell(this, C, R, HintStr, CanShow, Info);
    }
}

// ---- sizes

void TStyledStringGrid::ColWidthsChanged() {
    if (OnColWidthsChanged) {
        OnColWidthsChanged(this);
    }
}

void TStyledStringGrid::RowHeightsChanged() {
    if (OnRowHeightsChanged) {
        OnRowHeightsChanged(this);
    }
}

void TStyledStringGrid::Resized() {
    if (FAutoAdjustLastCol) {
        AdjustLastCol();
    }
    if (OnResize) {
        OnResize(this);
    }
}

void TStyledStringGrid::AdjustLastCol() {
    if (ColCount() < 1) {
        return;
    }
    int Widths = 0;
    for (int C = 0; C < ColCount() - 1; ++C) {
        Widths += ColWidths(C);
    }
    const bool Lines = HasOption(goVertLine) || HasOption(goFixedVertLine);
    const int LineWidths = Lines ? ColCount() * GridLineWidth() : 0;
    const int Client = viewport()->width();
    if (Client > Widths) {
        SetColWidths(ColCount() - 1, Client - Widths - LineWidths);
    }
}

QSize TStyledStringGrid::CellTextExtent(int Col, int Row) {
    TCanvas& C = Canvas();
    C.Font = StyledFont(Col, Row);
    QRect Rect(0, 0, 0, 0);
    C.DrawText(CellText(Col, Row), Rect, DT_CALCRECT | DT_RIGHT | DT_NOPREFIX);
    const int Width = Rect.width() + 4;
    const int Height = Rect.height() + 4;
    return QSize(Width <= 4 ? 0 : Width, Height <= 4 ? 0 : Height);
}

void TStyledStringGrid::AdjustRowHeight(int Row) {
    if (Row < 0 || Row >= RowCount()) {
        return;
    }
    int Height = 0;
    for (int C = 0; C < ColCount(); ++C) {
        Height = std::max(Height, CellTextExtent(C, Row).height());
    }
    SetRowHeights(Row, Height);
}

// ---- clipboard

void TStyledStringGrid::CopyCellsToClipboard(char Separator, TGridRect Rect) {
    auto Data = CellsToMimeData(Model(), Separator, Rect,
                                [this](int C, int R) { return CodePageOf(C, R); });
    QApplication::clipboard()->setMimeData(Data.release());
}

void TStyledStringGrid::PasteCellsFromClipboard(char Separator, TGridRect Rect) {
    const QMimeData* Data = QApplication::clipboard()->mimeData();
    if (!Data) {
        return;
    }
    const QString Refusal = MimeDataToCells(Model(), *Data, Separator, Rect,
                                            [this](int C, int R) { return CodePageOf(C, R); });
    if (!Refusal.isEmpty()) {
        ShowMessage(Refusal);
    }
}

void TStyledStringGrid::CopyToClipboard() {
    CopyCellsToClipboard('\t', Selection());
}

void TStyledStringGrid::CutToClipboard() {
    const TGridRect Block = NormalisedBlock(Model(), Selection());
    CopyCellsToClipboard('\t', Block);
    for (int R = Block.Top; R <= Block.Bottom; ++R) {
        for (int C = Block.Left; C <= Block.Right; ++C) {
            Model().SetCells(C, R, std::string());
        }
    }
}

void TStyledStringGrid::PasteFromClipboard() {
    PasteCellsFromClipboard('\t', Selection());
}

} // namespace kav
