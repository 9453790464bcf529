#include "widgets/FontCharsetCombo.h"

#include "platform/FontInfo.h"

#include <stdexcept>
#include <string>
#include <utility>

#include <QCollator>
#include <QSignalBlocker>

namespace kav {

TFontCharsetComboBox::TFontCharsetComboBox(QWidget* Parent)
    : QComboBox(Parent), FDefaultCharsetCaption(QStringLiteral("(Default)")) {
    setEditable(false);
    connect(this, &QComboBox::activated, this, [this](int) { Click(); });
}

void TFontCharsetComboBox::SetFontName(const QString& Value) {
    FFontName = Value;
    Rebuild();
}

void TFontCharsetComboBox::SetAddDefaultCharset(bool Value) {
    if (Value == FAddDefaultCharset)
        return;
    FAddDefaultCharset = Value;
    Rebuild();
}

std::uint8_t TFontCharsetComboBox::Charsets(int Index) const {
    if (Index < 0 || Index >= count())
        throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
    return static_cast<std::uint8_t>(itemData(Index).toInt());
}

int TFontCharsetComboBox::IndexOfCharset(int Charset) const {
    const int Wanted = Charset & 0xFF;
    for (int I = 0; I < count(); ++I) {
        if (itemData(I).toInt() == Wanted)
            return I;
    }
    return -1;
}

void TFontCharsetComboBox::Rebuild() {
    const int Remembered = currentIndex() >= 0 ? Charsets(currentIndex()) : -1;
    {
        // One batch: the entries come and go without repaints or change signals in between;
        // OnClick below is the one notification of the new state.
        const QSignalBlocker Blocker(this);
        setUpdatesEnabled(false);
        clear();
        if (!FFontName.isEmpty()) {
            FillFromFont();
            if (FAddDefaultCharset)
                addItem(FDefaultCharsetCaption, DefaultCharset);
            SelectAfterRebuild(Remembered);
        }
        setUpdatesEnabled(true);
    }
    if (!FFontName.isEmpty())
        Click();
}

void TFontCharsetComboBox::FillFromFont() {
    for (const FontCharset& Set : FontCharsets(FFontName)) {
        if (Set.Charset != MacCharset)
            InsertSorted(Set.ScriptName, Set.Charset);
    }
}

// Keeps the entries unique by character set over the whole list, not only up to the
// insertion point, so one set never shows twice under two names.
void TFontCharsetComboBox::InsertSorted(const QString& ScriptName, int Charset) {
    if (IndexOfCharset(Charset) >= 0)
        return;
    QCollator Collator;
    Collator.setCaseSensitivity(Qt::CaseInsensitive);
    int At = 0;
    while (At < count() && Collator.compare(itemText(At), ScriptName) <= 0)
        ++At;
    insertItem(At, ScriptName, Charset);
}

void TFontCharsetComboBox::SelectAfterRebuild(int Remembered) {
    // The owner hears of the new selection once, after the rebuild, not while it is made.
    const TNotifyEvent Detached = std::exchange(FOnClick, nullptr);
    const int Found = Remembered >= 0 ? IndexOfCharset(Remembered) : -1;
    setCurrentIndex(Found >= 0 ? Found : (count() > 0 ? 0 : -1));
    FOnClick = Detached;
}

void TFontCharsetComboBox::Click() {
    if (FOnClick)
        FOnClick(this);
}

} // namespace kav
