#include "gridview/GridEditor.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>

namespace kav {

namespace {

bool FitsMaskChar(QChar Char, QChar MaskChar) {
    switch (MaskChar.unicode()) {
    case '0':
    case '9':
        return Char.isDigit();
    case '#':
        return Char.isDigit() || Char == QLatin1Char('+') || Char == QLatin1Char('-') ||
               Char == QLatin1Char(' ');
    case 'L':
    case 'l':
    case '?':
        return Char.isLetter();
    case 'A':
    case 'a':
        return Char.isLetterOrNumber();
    case 'C':
    case 'c':
        return true;
    default:
        return Char == MaskChar;
    }
}

} // namespace

bool TextFitsMask(const QString& Text, const QString& Mask) {
    const QString Pattern = Mask.section(QLatin1Char(';'), 0, 0);
    if (Pattern.isEmpty()) {
        return true;
    }
    if (Text.size() > Pattern.size()) {
        return false;
    }
    for (qsizetype I = 0; I < Text.size(); ++I) {
        if (!FitsMaskChar(Text[I], Pattern[I])) {
            return false;
        }
    }
    return true;
}

TInplaceEdit::TInplaceEdit(TCustomStringGrid* Grid)
    : QPlainTextEdit(Grid->viewport()), FGrid(Grid) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    document()->setDocumentMargin(1);
    connect(this, &QPlainTextEdit::textChanged, this, &TInplaceEdit::TextChangedHere);
}

void TInplaceEdit::LoadText(const QString& Value) {
    FLoading = true;
    setPlainText(Value);
    FAcceptedText = Value;
    FLoading = false;
    if (OnTextLoaded) {
        OnTextLoaded();
    }
}

void TInplaceEdit::SetText(const QString& Value) {
    setPlainText(Value);
    moveCursor(QTextCursor::End);
}

void TInplaceEdit::SetTextAlignment(Qt::Alignment Value) {
    QTextOption Option = document()->defaultTextOption();
    Option.setAlignment(Value);
    document()->setDefaultTextOption(Option);
}

int TInplaceEdit::SelStart() const {
    return textCursor().selectionStart();
}

int TInplaceEdit::SelLength() const {
    const QTextCursor Cursor = textCursor();
    return Cursor.selectionEnd() - Cursor.selectionStart();
}

void TInplaceEdit::SetSelection(int Start, int Length) {
    const int Size = static_cast<int>(Text().size());
    QTextCursor Cursor = textCursor();
    if (Length < 0) {
        Cursor.setPosition(0);
        Cursor.setPosition(Size, QTextCursor::KeepAnchor);
    } else {
        Start = std::clamp(Start, 0, Size);
        Cursor.setPosition(Start);
        Cursor.setPosition(std::min(Size, Start + Length), QTextCursor::KeepAnchor);
    }
    setTextCursor(Cursor);
}

bool TInplaceEdit::CaretAtStart() const {
    return SelLength() == 0 && SelStart() == 0;
}

bool TInplaceEdit::CaretAtEnd() const {
    return SelLength() == 0 && SelStart() == static_cast<int>(Text().size());
}

bool TInplaceEdit::AllSelected() const {
    return SelStart() == 0 && SelLength() == static_cast<int>(Text().size());
}

QString TInplaceEdit::TextAfterTyping(QChar Key) const {
    QString Result = Text();
    const int Start = SelStart();
    const int Length = SelLength();
    if (Key == QLatin1Char('\b')) {
        if (Length > 0) {
            return Result.remove(Start, Length);
        }
        return Start > 0 ? Result.remove(Start - 1, 1) : Result;
    }
    return Result.replace(Start, Length, Key == QLatin1Char('\r') ? QChar('\n') : Key);
}

void TInplaceEdit::InsertTyped(QChar Key) {
    QTextCursor Cursor = textCursor();
    if (Key == QLatin1Char('\b')) {
        if (Cursor.hasSelection()) {
            Cursor.removeSelectedText();
        } else {
            Cursor.deletePreviousChar();
        }
    } else {
        Cursor.insertText(Key == QLatin1Char('\r') ? QStringLiteral("\n") : QString(Key));
    }
    setTextCursor(Cursor);
}

void TInplaceEdit::TypeChar(QChar Key) {
    KeyPress(Key);
    if (!Key.isNull()) {
        InsertTyped(Key);
    }
}

void TInplaceEdit::ForwardToGrid(int& Key, TShiftState Shift) {
    FGrid->EditorKeyDown(Key, Shift);
    Key = 0;
}

void TInplaceEdit::KeyDown(int& Key, TShiftState Shift) {
    const bool Forward = FGrid->HasOption(goAlwaysShowEditor);
    const bool Ctrl = Shift & Qt::ControlModifier;
    switch (Key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Escape:
        ForwardToGrid(Key, Shift);
        return;
    case Qt::Key_Tab:
        if (!(Shift & Qt::AltModifier)) {
            ForwardToGrid(Key, Shift);
        }
        return;
    case Qt::Key_Left:
        if (Forward && (Ctrl || CaretAtStart() || AllSelected())) {
            ForwardToGrid(Key, Shift);
        }
        return;
    case Qt::Key_Right:
        if (Forward && (Ctrl || CaretAtEnd() || AllSelected())) {
            ForwardToGrid(Key, Shift);
        }
        return;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (Forward && Ctrl) {
            ForwardToGrid(Key, Shift);
        }
        return;
    default:
        if (FGrid->OnKeyDown) {
            FGrid->OnKeyDown(Key, Shift);
        }
    }
}

void TInplaceEdit::KeyPress(QChar& Key) {
    FGrid->EditorKeyPress(Key);
    if (Key.isNull()) {
        return;
    }
    const bool Modifying = Key.unicode() >= 32 || Key == QLatin1Char('\b');
    if (Modifying && (!FGrid->CanEditModify() || !AcceptText(TextAfterTyping(Key)))) {
        Key = QChar();
        return;
    }
    if (Key == QLatin1Char('\t') || Key == QChar(27)) {
        Key = QChar();
    } else if (Key == QLatin1Char('\r')) {
        if (SelLength() == 0) {
            SelectAllText();
        } else {
            SetSelection(static_cast<int>(Text().size()), 0);
        }
        Key = QChar();
    }
}

bool TInplaceEdit::AcceptText(const QString& NewText) {
    return TextFitsMask(NewText, FEditMask);
}

bool TInplaceEdit::IsModifyingKey(QKeyEvent* Event) const {
    return Event->key() == Qt::Key_Delete || Event->matches(QKeySequence::Cut) ||
           Event->matches(QKeySequence::Paste) || Event->matches(QKeySequence::Undo) ||
           Event->matches(QKeySequence::Redo) || Event->matches(QKeySequence::DeleteEndOfWord) ||
           Event->matches(QKeySequence::DeleteStartOfWord);
}

void TInplaceEdit::keyPressEvent(QKeyEvent* Event) {
    int Key = Event->key() == Qt::Key_Backtab ? Qt::Key_Tab : Event->key();
    TShiftState Shift = Event->modifiers();
    KeyDown(Key, Shift);
    const QString Typed = Event->text();
    QChar Char = Typed.size() == 1 ? Typed[0] : QChar();
    const bool IsChar =
        !Char.isNull() && !(Shift & Qt::ControlModifier) && Char.unicode() != 127 &&
        (Char.unicode() >= 32 || Char == QLatin1Char('\r') || Char == QLatin1Char('\t') ||
         Char == QChar(27) || Char == QLatin1Char('\b'));
    Event->accept();
    // A Ctrl key the editor has no command for (its undo when the owner keeps the history, a
    // window shortcut that is disabled) must not be taken for its letter.
    const bool Command = (Shift & Qt::ControlModifier) && !(Shift & Qt::AltModifier);
    const bool EditingKey =
        Event->matches(QKeySequence::Copy) || Event->matches(QKeySequence::Cut) ||
        Event->matches(QKeySequence::Paste) || Event->matches(QKeySequence::SelectAll) ||
        (isUndoRedoEnabled() &&
         (Event->matches(QKeySequence::Undo) || Event->matches(QKeySequence::Redo)));
    if (Command && !Typed.isEmpty() && Typed[0].isPrint() && !EditingKey)
        return;
    // What is typed goes where the translator can see it: a cell scrolled away (the wheel, the
    // scroll bar) comes back into view first.
    if (IsChar || IsModifyingKey(Event))
        FGrid->ShowCurrentCell();
    if (IsChar) {
        KeyPress(Char);
        if (!Char.isNull()) {
            InsertTyped(Char);
        }
        return;
    }
    if (Key == 0 || (IsModifyingKey(Event) && !FGrid->CanEditModify())) {
        return;
    }
    QPlainTextEdit::keyPressEvent(Event);
    // The grid has had the key already (through its key-down event or a forward); a key the
    // text editor ignores must not reach the grid a second time.
    Event->accept();
}

bool TInplaceEdit::event(QEvent* Event) {
    // Editing keys belong to the editor even where the window binds them to commands.
    if (Event->type() == QEvent::ShortcutOverride) {
        auto* Key = static_cast<QKeyEvent*>(Event);
        // Undo and redo stay here while the typing in this cell has a step to take; otherwise
        // they go on to the window, whose history holds the edits already ended.
        const bool Ctrl = (Key->modifiers() & Qt::ControlModifier) != 0;
        const bool Shift = (Key->modifiers() & Qt::ShiftModifier) != 0;
        const bool Redo = Key->matches(QKeySequence::Redo) || (Ctrl && Key->key() == Qt::Key_Y) ||
                          (Ctrl && Shift && Key->key() == Qt::Key_Z);
        const bool Undo = !Redo && Key->matches(QKeySequence::Undo);
        if (Undo || Redo) {
            const bool Own = Undo ? document()->isUndoAvailable() : document()->isRedoAvailable();
            Event->setAccepted(Own);
            return true;
        }
        if (Key->matches(QKeySequence::Copy) || Key->matches(QKeySequence::Cut) ||
            Key->matches(QKeySequence::Paste) || Key->matches(QKeySequence::SelectAll) ||
            Key->matches(QKeySequence::Undo) || Key->key() == Qt::Key_Insert ||
            Key->key() == Qt::Key_Delete) {
            Event->accept();
            return true;
        }
    }
    if (Event->type() == QEvent::KeyPress) {
        auto* Key = static_cast<QKeyEvent*>(Event);
        if (Key->key() == Qt::Key_Tab || Key->key() == Qt::Key_Backtab) {
            keyPressEvent(Key);
            return true;
        }
    }
    return QPlainTextEdit::event(Event);
}

bool TInplaceEdit::canInsertFromMimeData(const QMimeData* Source) const {
    return Source && Source->hasText();
}

void TInplaceEdit::insertFromMimeData(const QMimeData* Source) {
    if (canInsertFromMimeData(Source)) {
        insertPlainText(Source->text());
    }
}

void TInplaceEdit::TextChangedHere() {
    if (FLoading || !FGrid) {
        return;
    }
    const QString Now = Text();
    if (Now == FAcceptedText) {
        return;
    }
    if (!AcceptText(Now)) {
        const int Caret = std::min(SelStart(), static_cast<int>(FAcceptedText.size()));
        LoadText(FAcceptedText);
        SetSelection(Caret, 0);
        return;
    }
    FAcceptedText = Now;
    FGrid->EditorTextEdited(Now);
}

void TInplaceEdit::focusInEvent(QFocusEvent* Event) {
    QPlainTextEdit::focusInEvent(Event);
    if (FGrid) {
        FGrid->EditorFocusIn();
    }
}

void TInplaceEdit::focusOutEvent(QFocusEvent* Event) {
    QPlainTextEdit::focusOutEvent(Event);
    if (FGrid) {
        FGrid->EditorFocusOut(Event->reason());
    }
}

} // namespace kav
