#pragma once
// What one item row says about its translation: translated, untranslated or empty, and whether
// it fits the width the product allows, measured in the item's own font. The grid's band,
// kavtool check and kavtool stats all ask here, so they cannot disagree. No widgets: the
// measuring needs only a QGuiApplication.

#include "document/FontSubstitutes.h"
#include "document/Items.h"
#include "document/PlaceholderSamples.h"
#include "document/ProductDisplay.h"
#include "grid/CellProperties.h"
#include "measure/TextMeasure.h"

#include <QString>

#include <string>

namespace kav {

enum class TItemState {
    Translated,
    Untranslated, // the default text kept as it is
    Empty,        // no translation at all
};

// Bytes only, nothing measured.
TItemState ItemStateOf(const TItemView& Item);

// The font the product shows the item in: its font name, style and size over Base (whose
// colour and character set stay). An empty style means normal, whatever style Base has: the
// item's font is the default file's, not the grid's.
TMyFont ItemFontOf(const TItemView& Item, TMyFont Base);
// The same over "Arial" 8, the font of an item whose font fields are empty.
TMyFont ItemFontOf(const TItemView& Item);

// The face the product shows Font in for the language: the substitute of its face in the table,
// else Font itself. The cell text, the band and the check all take the item's font through it.
TMyFont LinkedFontOf(TMyFont Font, const TFontSubstitutes* Substitutes,
                     const std::string& LanguageCode);

// What the product does with an item beyond the default file: the samples its placeholders
// hold, the face it links for the language, and the display setting it is shown at.
struct TItemCheckSetting {
    const TPlaceholderSamples* Samples = nullptr;
    const TFontSubstitutes* Substitutes = nullptr;
    std::string LanguageCode;
    int Dpi = BaseDpi;
};

struct TItemCheck {
    TItemState State = TItemState::Empty;
    // The font measured: the item's own, or the language's substitute of its face, at Dpi.
    TMyFont Font;
    int Dpi = BaseDpi;
    // The item's own face when the language's substitute stands in for it; empty otherwise.
    std::string LinkedFrom;
    QString Text; // the translation, decoded
    // Pixels at Dpi: the item's width scaled from 96 dpi, or the width of the default text.
    int Allowed = 0;
    int Measured = 0; // the translation's width
    bool Fits = true;
    // The translation's width with its placeholders holding their samples (Measured when it
    // has none, or no samples were given).
    int Filled = 0;
    bool FitsFilled = true;
    bool HasSamples = false; // some placeholder of the text was filled
    TFaceInfo Face;          // the face that measured
    // The face does not reproduce the font's widths (Face.Approximate), or a text needs glyphs
    // the face lacks: the widths are only near the product's.
    bool Approximate = false;
};

// TranslatedCodePage decodes the translation; the default text is in the default character set.
// Samples, when given, fill the placeholders for the second width.
TItemCheck CheckItem(const TItemView& Item, int TranslatedCodePage, TTextMeasure& Measure,
                     const TItemCheckSetting& Setting);
TItemCheck CheckItem(const TItemView& Item, int TranslatedCodePage, TTextMeasure& Measure,
                     const TPlaceholderSamples* Samples = nullptr);

// Both widths of a text with placeholders against its space, as the hint and the finding say
// them: "62 px, 148 px with samples of 140 px allowed".
std::string FilledWidthsText(const TItemCheck& Check);

} // namespace kav
