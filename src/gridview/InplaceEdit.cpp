#include "gridview/InplaceEdit.h"

#include "gridview/StyledStringGrid.h"
#include "text/CodePage.h"

namespace kav {

namespace {

constexpr QChar Enter('\r');
constexpr QChar Escape(27);

bool StaysInMultilineEditor(int Key) {
    switch (Key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Up:
    case Qt::Key_Right:
    case Qt::Key_Down:
        return true;
    default:
        return false;
    }
}

Qt::Alignment ToQtAlignment(TMyAlign Align) {
    switch (Align) {
    case alLeft:
        return Qt::AlignLeft;
    case alCenter:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignRight;
    }
}

} // namespace

TNewInplaceEdit::TNewInplaceEdit(TStyledStringGrid* Grid) : TInplaceEdit(Grid), FStyledGrid(Grid) {
    SetTextAlignment(ToQtAlignment(FAlignment));
}

void TNewInplaceEdit::SetAlignment(TMyAlign Value) {
    if (Value == FAlignment) {
        return;
    }
    const int Start = SelStart();
    const int Length = SelLength();
    FAlignment = Value;
    SetTextAlignment(ToQtAlignment(Value));
    SetSelection(Start, Length);
    const QRect Rect = FStyledGrid->CellRect(CellCol, CellRow);
    if (!Rect.isEmpty()) {
        setGeometry(Rect);
    }
}

void TNewInplaceEdit::KeyDown(int& Key, TShiftState Shift) {
    if (Multiline && StaysInMultilineEditor(Key)) {
        return;
    }
    TInplaceEdit::KeyDown(Key, Shift);
}

bool TNewInplaceEdit::OverLengthLimit(QChar Key) const {
    const std::uint32_t Limit = FStyledGrid->CellStringMaxLenght();
    if (Limit == 0 || Key == QLatin1Char('\b') || Key == QChar(12) || Key == Escape) {
        return false;
    }
    if (static_cast<std::uint32_t>(SelLength()) == Limit) {
        return false;
    }
    return static_cast<std::uint32_t>(Text().size()) >= Limit;
}

void TNewInplaceEdit::EnterPressed(QChar& Key) {
    if (!Multiline) {
        FStyledGrid->PostEndEdit(CellCol, CellRow);
        TInplaceEdit::KeyPress(Key);
        Key = QChar();
    } else if (!FStyledGrid->CanEditModify()) {
        Key = QChar();
    }
}

void TNewInplaceEdit::EscapePressed(QChar& Key) {
    if (!Multiline) {
        // The bytes go back as they were: decoding and encoding again may not give them back.
        FStyledGrid->RestoreCellBytes(CellCol, CellRow, InitialBytes);
        LoadText(InitialText);
        FStyledGrid->PostCancelEdit(CellCol, CellRow);
        QChar AsEnter = Enter;
        TInplaceEdit::KeyPress(AsEnter);
    }
    Key = QChar();
}

void TNewInplaceEdit::KeyPress(QChar& Key) {
    if (CellCol == -1 || CellRow == -1) {
        Key = QChar();
    } else if (Key == Enter) {
        EnterPressed(Key);
    } else if (Key == Escape) {
        EscapePressed(Key);
    } else if (Key == QLatin1Char('\t') || OverLengthLimit(Key)) {
        Key = QChar();
    } else if (!FStyledGrid->CanEditModify() || !AcceptText(TextAfterTyping(Key))) {
        Key = QChar();
    }
}

bool TNewInplaceEdit::AcceptText(const QString& NewText) {
    if (!TInplaceEdit::AcceptText(NewText)) {
        return false;
    }
    if (CellCol < 0 || CellRow < 0) {
        return true;
    }
    if (FStyledGrid->ForbiddenChar) {
        if (const QChar Refused = FStyledGrid->ForbiddenChar(CellCol, CellRow, NewText);
            !Refused.isNull()) {
            FStyledGrid->RefuseEditText(QString(Refused), 0);
            return false;
        }
    }
    const int Page = FStyledGrid->CodePageOf(CellCol, CellRow);
    const EncodeResult Encoded = EncodeText(NewText, Page);
    if (!Encoded.Ok()) {
        FStyledGrid->RefuseEditText(Encoded.BadChar, Page);
        return false;
    }
    return true;
}

} // namespace kav
