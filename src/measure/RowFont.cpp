#include "measure/RowFont.h"

#include "text/IntConv.h"
#include "text/StringUtils.h"

#include <QString>

#include <algorithm>
#include <climits>

namespace kav {

std::optional<int> CellInteger(std::string_view Text) {
    const std::string Trimmed = TrimCharSet(Text, TrimChars());
    if (Trimmed.empty()) {
        return std::nullopt;
    }
    // Only decimal text: the "$" and "0x" forms of the general conversion are not widths.
    const std::string_view Digits =
        (Trimmed[0] == '-' || Trimmed[0] == '+') ? std::string_view(Trimmed).substr(1) : Trimmed;
    if (!IsDigits(Digits)) {
        return std::nullopt;
    }
    int32_t Value = 0;
    if (!TryStrToInt(Trimmed, Value)) {
        // More digits than 32 bits hold: as far out of range as it gets.
        return Trimmed[0] == '-' ? INT32_MIN : INT32_MAX;
    }
    return Value;
}

std::optional<int> AllowedWidthOf(const TItemView& Item) {
    const std::optional<int> Value = CellInteger(Item.Width);
    if (!Value) {
        return std::nullopt;
    }
    return std::clamp(*Value, 0, MaxAllowedWidth);
}

TRowFont RowFontOf(const TItemView& Item) {
    TRowFont Font;
    if (!Item.FontName.empty()) {
        Font.Name = std::string(Item.FontName);
    }
    const std::string_view Style = Item.FontStyle;
    if (!Style.empty()) {
        Font.Bold = Style.size() == 4 &&
                    QString::fromLatin1(Style.data(), 4).compare("Bold", Qt::CaseInsensitive) == 0;
    }
    if (const std::optional<int> Size = CellInteger(Item.FontSize)) {
        Font.Points = std::clamp(*Size, MinRowFontPoints, MaxRowFontPoints);
    }
    return Font;
}

TMyFont WithRowFont(TMyFont Font, const TRowFont& Row, TFontStyles BaseStyle) {
    Font.SetName(Row.Name);
    TFontStyles Style = Font.Style();
    if (Row.Bold) {
        Style = *Row.Bold ? (BaseStyle | fsBold) : (BaseStyle & ~fsBold);
    }
    Font.SetStyle(Style);
    Font.SetSize(Row.Points);
    return Font;
}

void AssignChanged(TMyFont& Target, const TMyFont& Source) {
    if (Target.Name() != Source.Name()) {
        Target.SetName(Source.Name());
    }
    if (Target.Style() != Source.Style()) {
        Target.SetStyle(Source.Style());
    }
    if (Target.Height() != Source.Height()) {
        Target.SetHeight(Source.Height());
    }
}

} // namespace kav
