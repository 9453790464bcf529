#pragma once

#include <cstdint>
#include <functional>

#include <QComboBox>

namespace kav {

// A drop-down list of the character sets (scripts) one font is installed in; each entry
// carries its Windows character-set number. The owner learns of a new selection through
// OnClick: when the user picks an entry, and once after every rebuild of the list.
class TFontCharsetComboBox : public QComboBox {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject* Sender)>;

    explicit TFontCharsetComboBox(QWidget* Parent = nullptr);

    const QString& FontName() const { return FFontName; }
    // Rebuilds the list even when the name is unchanged, so the owner can refresh it.
    void SetFontName(const QString& Value);

    bool AddDefaultCharset() const { return FAddDefaultCharset; }
    void SetAddDefaultCharset(bool Value);

    // Takes effect at the next rebuild.
    const QString& DefaultCharsetCaption() const { return FDefaultCharsetCaption; }
    void SetDefaultCharsetCaption(const QString& Value) { FDefaultCharsetCaption = Value; }

    // The character set of entry Index; throws std::out_of_range for an index outside the list.
    std::uint8_t Charsets(int Index) const;
    // The entry carrying Charset (only its low byte counts), or -1.
    int IndexOfCharset(int Charset) const;

    const TNotifyEvent& OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent Handler) { FOnClick = std::move(Handler); }

private:
    void Rebuild();
    void FillFromFont();
    void InsertSorted(const QString& ScriptName, int Charset);
    void SelectAfterRebuild(int Remembered);
    void Click();

    QString FFontName;
    bool FAddDefaultCharset = false;
    QString FDefaultCharsetCaption;
    TNotifyEvent FOnClick;
};

} // namespace kav
