#pragma once
// The per-row attributes of the translation table read as drawing values: the allowed width of
// column 6 and the row font of columns 7 to 9. The cells are meant to hold what the default
// file gave, but a hand-edited file may put anything there; unusable values read as empty and
// sizes are kept within what a font can be built with.

#include "document/Items.h"
#include "grid/CellProperties.h"

#include <optional>
#include <string>
#include <string_view>

namespace kav {

constexpr int MinRowFontPoints = 1;
constexpr int MaxRowFontPoints = 200;
constexpr int MaxAllowedWidth = 32767;
constexpr int DefaultRowFontPoints = 8;
constexpr const char* DefaultRowFontName = "Arial";

struct TRowFont {
    std::string Name = DefaultRowFontName;
    // Empty: the style is left as it is.
    std::optional<bool> Bold;
    int Points = DefaultRowFontPoints;
};

// A decimal integer with optional blanks and sign; nothing for anything else.
std::optional<int> CellInteger(std::string_view Text);

// The item's width in pixels, clamped to 0..MaxAllowedWidth; nothing when it is empty or
// unusable.
std::optional<int> AllowedWidthOf(const TItemView& Item);
// The item's font name, style and size.
TRowFont RowFontOf(const TItemView& Item);

// Font with the row's name, size and (when column 8 says so) bold; BaseStyle is the style the
// bold flag is added to or taken from.
TMyFont WithRowFont(TMyFont Font, const TRowFont& Row, TFontStyles BaseStyle);
// Copies the row font's values into Target, touching only what differs: a font the grid holds
// repaints the grid on every change, so setting equal values would repaint without end.
void AssignChanged(TMyFont& Target, const TMyFont& Source);

} // namespace kav
