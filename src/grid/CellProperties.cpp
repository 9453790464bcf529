#include "grid/CellProperties.h"

#include <cstdint>
#include <cstdlib>

namespace kav {

int MulDiv(int A, int B, int C) {
    if (C == 0) {
        return -1;
    }
    const std::int64_t Product = static_cast<std::int64_t>(A) * B;
    const std::int64_t Half = std::llabs(C) / 2;
    const bool Negative = (Product < 0) != (C < 0);
    const std::int64_t Magnitude = (std::llabs(Product) + Half) / std::llabs(C);
    return static_cast<int>(Negative ? -Magnitude : Magnitude);
}

TMyFont::TMyFont(const TMyFont& Other)
    : FName(Other.FName), FColor(Other.FColor), FHeight(Other.FHeight), FPitch(Other.FPitch),
      FStyle(Other.FStyle), FCharset(Other.FCharset) {}

TMyFont& TMyFont::operator=(const TMyFont& Other) {
    if (this != &Other) {
        FName = Other.FName;
        FColor = Other.FColor;
        FHeight = Other.FHeight;
        FPitch = Other.FPitch;
        FStyle = Other.FStyle;
        FCharset = Other.FCharset;
        Changed();
    }
    return *this;
}

void TMyFont::SetColor(TColor Value) {
    FColor = Value;
    Changed();
}

void TMyFont::SetHeight(int Value) {
    FHeight = Value;
    Changed();
}

int TMyFont::Size() const {
    return -MulDiv(FHeight, 72, ScreenPixelsPerInch);
}

void TMyFont::SetSize(int Points) {
    SetHeight(-MulDiv(Points, ScreenPixelsPerInch, 72));
}

void TMyFont::SetName(const std::string& Value) {
    FName = Value;
    Changed();
}

void TMyFont::SetPitch(TFontPitch Value) {
    FPitch = Value;
    Changed();
}

void TMyFont::SetStyle(TFontStyles Value) {
    FStyle = Value & AllFontStyles;
    Changed();
}

void TMyFont::SetCharset(std::uint8_t Value) {
    FCharset = Value;
    Changed();
}

bool TMyFont::operator==(const TMyFont& Other) const {
    return FName == Other.FName && FColor == Other.FColor && FHeight == Other.FHeight &&
           FPitch == Other.FPitch && FStyle == Other.FStyle && FCharset == Other.FCharset;
}

void TMyFont::Changed() {
    if (FOnChange) {
        FOnChange->Changed();
    }
}

TMyBrush& TMyBrush::operator=(const TMyBrush& Other) {
    if (this != &Other) {
        FColor = Other.FColor;
        FStyle = Other.FStyle;
        Changed();
    }
    return *this;
}

void TMyBrush::SetColor(TColor Value) {
    FColor = Value;
    Changed();
}

void TMyBrush::SetStyle(TBrushStyle Value) {
    FStyle = Value;
    Changed();
}

bool TMyBrush::operator==(const TMyBrush& Other) const {
    return FColor == Other.FColor && FStyle == Other.FStyle;
}

void TMyBrush::Changed() {
    if (FOnChange) {
        FOnChange->Changed();
    }
}

void TCellProperties::Assign(const TCellProperties* Source) {
    if (!Source) {
        Align = alDefault;
        Wrap = ww_default;
        EditState = 0;
        Brush.reset();
        SelectedBrush.reset();
        Font.reset();
        SelectedFont.reset();
        return;
    }
    Align = Source->Align;
    Wrap = Source->Wrap;
    AssignSlot(Brush, Source->Brush.get());
    AssignSlot(SelectedBrush, Source->SelectedBrush.get());
    AssignSlot(Font, Source->Font.get());
    AssignSlot(SelectedFont, Source->SelectedFont.get());
    EditState = Source->EditState;
}

bool TCellProperties::IsEmpty() const {
    return Align == alDefault && Wrap == ww_default && EditState == 0 && !Brush && !SelectedBrush &&
           !Font && !SelectedFont;
}

std::unique_ptr<TCellProperties> TCellProperties::Clone() const {
    auto Copy = std::make_unique<TCellProperties>(Grid);
    Copy->Assign(this);
    return Copy;
}

void TCellProperties::AssignSlot(std::unique_ptr<TMyFont>& Slot, const TMyFont* Source) const {
    if (!Source) {
        Slot.reset();
        return;
    }
    if (!Slot) {
        Slot = std::make_unique<TMyFont>();
    }
    Slot->SetOnChange(Grid);
    Slot->Assign(*Source);
}

void TCellProperties::AssignSlot(std::unique_ptr<TMyBrush>& Slot, const TMyBrush* Source) const {
    if (!Source) {
        Slot.reset();
        return;
    }
    if (!Slot) {
        Slot = std::make_unique<TMyBrush>();
    }
    Slot->SetOnChange(Grid);
    Slot->Assign(*Source);
}

} // namespace kav
