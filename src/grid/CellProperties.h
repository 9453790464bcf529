#pragma once
// Fonts, brushes and the optional property record of one cell, column or row of the grid.
// Fonts and brushes are plain values; the ones the grid owns carry a link back to it so that
// changing them through a returned reference repaints, as the callers expect.

#include "grid/Colors.h"

#include <cstdint>
#include <memory>
#include <string>

namespace kav {

enum TMyAlign : std::uint8_t { alRight = 0, alLeft = 1, alCenter = 2, alDefault = 3 };
enum T_Wordwrap : std::uint8_t { ww_none = 0, ww_wordwrap = 1, ww_ellipsis = 2, ww_default = 3 };
enum TFontPitch : std::uint8_t { fpDefault = 0, fpVariable = 1, fpFixed = 2 };
enum TBrushStyle : std::uint8_t {
    bsSolid = 0,
    bsClear = 1,
    bsHorizontal = 2,
    bsVertical = 3,
    bsFDiagonal = 4,
    bsBDiagonal = 5,
    bsCross = 6,
    bsDiagCross = 7
};

// Font styles as the bit set the form resources store.
using TFontStyles = std::uint8_t;
constexpr TFontStyles fsBold = 1;
constexpr TFontStyles fsItalic = 2;
constexpr TFontStyles fsUnderline = 4;
constexpr TFontStyles fsStrikeOut = 8;
constexpr TFontStyles AllFontStyles = 15;

constexpr std::uint8_t DEFAULT_CHARSET = 1;
constexpr int ScreenPixelsPerInch = 96;

// Receives the change notification of a font or brush held by the grid.
class IChangeNotify {
public:
    virtual void Changed() = 0;

protected:
    ~IChangeNotify() = default;
};

// Rounded a * b / c, as the platform's font size conversion does it.
int MulDiv(int A, int B, int C);

class TMyFont {
public:
    TMyFont() = default;
    // A copy takes the values only; it is not linked to the original's owner.
    TMyFont(const TMyFont& Other);
    // Assignment copies the values and keeps this font's own link (it notifies the link).
    TMyFont& operator=(const TMyFont& Other);
    void Assign(const TMyFont& Source) { *this = Source; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    // Negative for a size in points, as the platform stores it.
    int Height() const { return FHeight; }
    void SetHeight(int Value);
    int Size() const;
    void SetSize(int Points);
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value);
    TFontPitch Pitch() const { return FPitch; }
    void SetPitch(TFontPitch Value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles Value);
    std::uint8_t Charset() const { return FCharset; }
    void SetCharset(std::uint8_t Value);

    IChangeNotify* OnChange() const { return FOnChange; }
    void SetOnChange(IChangeNotify* Link) { FOnChange = Link; }

    bool operator==(const TMyFont& Other) const;

private:
    void Changed();

    std::string FName = "MS Sans Serif";
    TColor FColor = clWindowText;
    int FHeight = -11;
    TFontPitch FPitch = fpDefault;
    TFontStyles FStyle = 0;
    std::uint8_t FCharset = DEFAULT_CHARSET;
    IChangeNotify* FOnChange = nullptr;
};

class TMyBrush {
public:
    TMyBrush() = default;
    explicit TMyBrush(TColor Color, TBrushStyle Style = bsSolid) : FColor(Color), FStyle(Style) {}
    TMyBrush(const TMyBrush& Other) : FColor(Other.FColor), FStyle(Other.FStyle) {}
    TMyBrush& operator=(const TMyBrush& Other);
    void Assign(const TMyBrush& Source) { *this = Source; }

    TColor Color() const { return FColor; }
    void SetColor(TColor Value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle Value);

    IChangeNotify* OnChange() const { return FOnChange; }
    void SetOnChange(IChangeNotify* Link) { FOnChange = Link; }

    bool operator==(const TMyBrush& Other) const;

private:
    void Changed();

    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    IChangeNotify* FOnChange = nullptr;
};

// The optional properties of one cell, column or row; unset values defer to the next level.
class TCellProperties {
public:
    explicit TCellProperties(IChangeNotify* Grid) : Grid(Grid) {}
    TCellProperties(const TCellProperties&) = delete;
    TCellProperties& operator=(const TCellProperties&) = delete;

    // Null resets the record to "nothing set".
    void Assign(const TCellProperties* Source);
    bool IsEmpty() const;
    std::unique_ptr<TCellProperties> Clone() const;

    // The slot rule: a null source empties the slot; otherwise the slot gets (or keeps) its own
    // object with the source's values, linked to the grid.
    void AssignSlot(std::unique_ptr<TMyFont>& Slot, const TMyFont* Source) const;
    void AssignSlot(std::unique_ptr<TMyBrush>& Slot, const TMyBrush* Source) const;

    IChangeNotify* Grid;
    std::unique_ptr<TMyBrush> Brush;
    std::unique_ptr<TMyBrush> SelectedBrush;
    std::unique_ptr<TMyFont> Font;
    std::unique_ptr<TMyFont> SelectedFont;
    TMyAlign Align = alDefault;
    T_Wordwrap Wrap = ww_default;
    // 0 not set, 1 read-only, 2 editable.
    std::uint8_t EditState = 0;
};

} // namespace kav
