#pragma once
// What one item row says about its translation: translated, untranslated or empty, and whether
// it fits the width the product allows, measured in the item's own font. The grid's band,
// kavtool check and kavtool stats all ask here, so they cannot disagree. No widgets: the
// measuring needs only a QGuiApplication.

#include "grid/CellProperties.h"
#include "grid/GridModel.h"
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
TItemState ItemStateOf(const TStyledGridModel& Grid, int Row);

// The font the product shows the item in: columns 7 to 9 over Base (whose colour and character
// set stay). An empty style column means normal, whatever style Base has: the item's font is
// the default file's, not the grid's.
TMyFont ItemFontOf(const TStyledGridModel& Grid, int Row, TMyFont Base);
// The same over "Arial" 8, the font of an item whose columns 7 to 9 are empty.
TMyFont ItemFontOf(const TStyledGridModel& Grid, int Row);

struct TItemCheck {
    TItemState State = TItemState::Empty;
    TMyFont Font;
    QString Text;     // the translation, decoded
    int Allowed = 0;  // pixels: column 6, or the width of the default text
    int Measured = 0; // the translation's width
    bool Fits = true;
    TFaceInfo Face; // the face that measured
    // The face does not reproduce the font's widths (Face.Approximate), or a text needs glyphs
    // the face lacks: the widths are only near the product's.
    bool Approximate = false;
};

// TranslatedCodePage decodes the translation; the default text is in the default character set.
TItemCheck CheckItem(const TStyledGridModel& Grid, int Row, int TranslatedCodePage,
                     TTextMeasure& Measure);

} // namespace kav
