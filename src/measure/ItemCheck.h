#pragma once
// What one item row says about its translation: translated, untranslated or empty, and whether
// it fits the width the product allows, measured in the item's own font. The grid's band,
// kavtool check and kavtool stats all ask here, so they cannot disagree. No widgets: the
// measuring needs only a QGuiApplication.

#include "document/Items.h"
#include "document/PlaceholderSamples.h"
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

struct TItemCheck {
    TItemState State = TItemState::Empty;
    TMyFont Font;
    QString Text;     // the translation, decoded
    int Allowed = 0;  // pixels: the item's width, or the width of the default text
    int Measured = 0; // the translation's width
    bool Fits = true;
    // The translation's width with its placeholders holding their samples (Measured when it
    // has none, or no samples were given).
    int Filled = 0;
    bool FitsFilled = true;
    TFaceInfo Face; // the face that measured
    // The face does not reproduce the font's widths (Face.Approximate), or a text needs glyphs
    // the face lacks: the widths are only near the product's.
    bool Approximate = false;
};

// TranslatedCodePage decodes the translation; the default text is in the default character set.
// Samples, when given, fill the placeholders for the second width.
TItemCheck CheckItem(const TItemView& Item, int TranslatedCodePage, TTextMeasure& Measure,
                     const TPlaceholderSamples* Samples = nullptr);

} // namespace kav
