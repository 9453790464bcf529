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

TMyFont LinkedFontOf(TMyFont Font, const TFontSubstitutes* Substitutes,
                     const std::string& LanguageCode) {
    if (Substitutes) {
        const std::string Face = Substitutes->Of(LanguageCode, Font.Name());
        if (!Face.empty())
            Font.SetName(Face);
    }
    return Font;
}

TItemCheck CheckItem(const TItemView& Item, int TranslatedCodePage, TTextMeasure& Measure,
                     const TItemCheckSetting& Setting) {
    TItemCheck C;
    C.State = ItemStateOf(Item);
    C.Dpi = Setting.Dpi;
    const TMyFont Own = ItemFontOf(Item);
    C.Font = LinkedFontOf(Own, Setting.Substitutes, Setting.LanguageCode);
    if (C.Font.Name() != Own.Name())
        C.LinkedFrom = Own.Name();
    // The product builds its font for the display setting from the point size, as Windows
    // does: the em height is the points at that many pixels per inch.
    if (C.Dpi != BaseDpi)
        C.Font.SetHeight(-MulDiv(RowFontOf(Item).Points, C.Dpi, 72));
    C.Text = DecodeBytes(Item.Translation, TranslatedCodePage);
    const TTextExtent Translated = Measure.MeasureText(C.Text, C.Font);
    C.Measured = Translated.Width;
    C.Approximate = Translated.Approximate;
    if (const std::optional<int> Allowed = AllowedWidthOf(Item)) {
        C.Allowed = ScaledToDpi(*Allowed, C.Dpi);
    } else {
        const TTextExtent Default = Measure.Measure(Item.Default, C.Font, DEFAULT_CHARSET);
        C.Allowed = Default.Width;
        C.Approximate = C.Approximate || Default.Approximate;
    }
    C.Fits = C.Measured <= C.Allowed;
    C.Filled = C.Measured;
    if (Setting.Samples && Setting.Samples->Fills(C.Text)) {
        const TTextExtent Filled = Measure.MeasureText(Setting.Samples->Filled(C.Text), C.Font);
        C.Filled = Filled.Width;
        C.HasSamples = true;
        C.Approximate = C.Approximate || Filled.Approximate;
    }
    C.FitsFilled = C.Filled <= C.Allowed;
    C.Face = Measure.Face(C.Font);
    return C;
}

TItemCheck CheckItem(const TItemView& Item, int TranslatedCodePage, TTextMeasure& Measure,
                     const TPlaceholderSamples* Samples) {
    TItemCheckSetting Setting;
    Setting.Samples = Samples;
    return CheckItem(Item, TranslatedCodePage, Measure, Setting);
}

std::string FilledWidthsText(const TItemCheck& Check) {
    return std::to_string(Check.Measured) + " px, " + std::to_string(Check.Filled) +
           " px with samples of " + std::to_string(Check.Allowed) + " px allowed";
}

} // namespace kav
