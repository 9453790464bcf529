#include "measure/ItemCheck.h"

#include "document/TranslationTable.h"
#include "measure/RowFont.h"
#include "text/CodePage.h"

namespace kav {

TItemState ItemStateOf(const TStyledGridModel& Grid, int Row) {
    const std::string_view Translated = Grid.Cells(colTranslated, Row);
    if (Translated.empty())
        return TItemState::Empty;
    return Translated == Grid.Cells(colDefault, Row) ? TItemState::Untranslated
                                                     : TItemState::Translated;
}

TMyFont ItemFontOf(const TStyledGridModel& Grid, int Row, TMyFont Base) {
    const TRowFont Item = RowFontOf(Grid, Row);
    Base.SetName(Item.Name);
    Base.SetStyle(Item.Bold.value_or(false) ? fsBold : 0);
    Base.SetSize(Item.Points);
    return Base;
}

TMyFont ItemFontOf(const TStyledGridModel& Grid, int Row) {
    TMyFont Plain;
    Plain.SetName(DefaultRowFontName);
    Plain.SetSize(DefaultRowFontPoints);
    return ItemFontOf(Grid, Row, Plain);
}

TItemCheck CheckItem(const TStyledGridModel& Grid, int Row, int TranslatedCodePage,
                     TTextMeasure& Measure) {
    TItemCheck C;
    C.State = ItemStateOf(Grid, Row);
    C.Font = ItemFontOf(Grid, Row);
    C.Text = DecodeBytes(Grid.Cells(colTranslated, Row), TranslatedCodePage);
    const TTextExtent Translated = Measure.MeasureText(C.Text, C.Font);
    C.Measured = Translated.Width;
    C.Approximate = Translated.Approximate;
    if (const std::optional<int> Allowed = AllowedWidthOf(Grid, Row)) {
        C.Allowed = *Allowed;
    } else {
        const TTextExtent Default =
            Measure.Measure(Grid.Cells(colDefault, Row), C.Font, DEFAULT_CHARSET);
        C.Allowed = Default.Width;
        C.Approximate = C.Approximate || Default.Approximate;
    }
    C.Fits = C.Measured <= C.Allowed;
    C.Face = Measure.Face(C.Font);
    return C;
}

} // namespace kav
