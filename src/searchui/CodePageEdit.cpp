#include "searchui/CodePageEdit.h"

#include "text/CodePage.h"

#include <QMessageBox>

namespace kav {

TCodePageEdit::TCodePageEdit(QWidget* Parent) : QLineEdit(Parent), FCodePage(SystemAnsiCodePage()) {
    connect(this, &QLineEdit::textEdited, this, &TCodePageEdit::TextEdited);
}

void TCodePageEdit::SetCodePage(int CodePage) {
    FCodePage = CodePage;
    SetBytes(FBytes);
}

void TCodePageEdit::SetBytes(const std::string& Bytes) {
    FBytes = Bytes;
    FAccepted = DecodeBytes(Bytes, FCodePage);
    setText(FAccepted);
}

void TCodePageEdit::TextEdited(const QString& Text) {
    const EncodeResult Encoded = EncodeText(Text, FCodePage);
    if (!Encoded.Ok()) {
        // Back to the last text the page could hold, with the cursor where the edit began.
        const int Cursor = static_cast<int>(std::max<qsizetype>(0, Encoded.BadPos));
        setText(FAccepted);
        setCursorPosition(std::min(Cursor, static_cast<int>(FAccepted.size())));
        Refuse(UnrepresentableMessage(Encoded, FCodePage));
        return;
    }
    FAccepted = Text;
    FBytes = *Encoded.Bytes;
    if (OnBytesEdited)
        OnBytesEdited(FBytes);
}

void TCodePageEdit::Refuse(const QString& Message) {
    if (OnRefused)
        OnRefused(Message);
    else
        QMessageBox::warning(window(), window()->windowTitle(), Message);
}

} // namespace kav
