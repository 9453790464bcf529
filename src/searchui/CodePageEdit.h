#pragma once
// The single-line search field of the find and replace windows. What it holds is bytes in the
// code page of its font's character set; a character typed or pasted that the page cannot hold
// is refused, the field keeps its previous text and the refusal is reported with a message.

#include <QLineEdit>

#include <functional>
#include <string>

namespace kav {

class TCodePageEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TCodePageEdit(QWidget* Parent = nullptr);

    int CodePage() const { return FCodePage; }
    // Shows the held bytes as the new page reads them.
    void SetCodePage(int CodePage);

    const std::string& Bytes() const { return FBytes; }
    // Sets the field without raising OnBytesEdited.
    void SetBytes(const std::string& Bytes);

    // After each accepted edit by the user.
    std::function<void(const std::string&)> OnBytesEdited;
    // The message for a refused character; a warning box when unset.
    std::function<void(const QString&)> OnRefused;

private:
    void TextEdited(const QString& Text);
    void Refuse(const QString& Message);

    int FCodePage;
    std::string FBytes;
    QString FAccepted;
};

} // namespace kav
