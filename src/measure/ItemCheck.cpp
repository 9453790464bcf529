#include "measure/ItemCheck.h"

#include "measure/RowFont.h"
#include "text/CodePage.h"

namespace kav {

TItemState ItemStateOf(const TItemView& Item) {
    if (Item.Translation.empty())
        return TItemState::Empty;
    return Item.Translation == Item.Default ? TItemState::Untranslated : TItemState::Translated;
}

TMyFont ItemFontOf(const TItemView& Item, TMyFont Base) {
    const TRowFont Font = RowFontOf(Item);
    Base.SetName(Font.Name);
    Base.SetStyle(Font.Bold.value_or(false) ? fsBold : 0);
    Base.SetSize(Font.Points);
    return Base;
}

TMyFont ItemFontOf(const TItemView& Item) {
    TMyFont Plain;
    Plain.SetName(DefaultRowFontName);
    Plain.SetSize(DefaultRowFontPoints);
    return ItemFontOf(Item, Plain);
}

TItemCheck CheckItem(const TItemView& Item, int TranslatedCodePage, TTextMeasure& Measure,
                     const TPlaceholderSamples* Samples) {
    TItemCheck C;
    C.State = ItemStateOf(Item);
    C.Font = ItemFontOf(Item);
    C.Text = DecodeBytes(Item.Translation, TranslatedCodePage);
    const TTextExtent Translated = Measure.MeasureText(C.Text, C.Font);
    C.Measured = Translated.Width;
    C.Approximate = Translated.Approximate;
    if (const std::optional<int> Allowed = AllowedWidthOf(Item)) {
        C.Allowed = *Allowed;
    } else {
        const TTextExtent Default = Measure.Measure(Item.Default, C.Font, DEFAULT_CHARSET);
        C.Allowed = Default.Width;
        C.Approximate = C.Approximate || Default.Approximate;
    }
    C.Fits = C.Measured <= C.Allowed;
    C.Filled = C.Measured;
    if (Samples && Samples->Fills(C.Text)) {
        const TTextExtent Filled = Measure.MeasureText(Samples->Filled(C.Text), C.Font);
        C.Filled = Filled.Width;
        C.Approximate = C.Approximate || Filled.Approximate;
    }
    C.FitsFilled = C.Filled <= C.Allowed;
    C.Face = Measure.Face(C.Font);
    return C;
}

} // namespace kav
