#pragma once
// Which face measures each item font a document uses: the file that holds it, or the face
// that stands in for it. kavtool fonts prints it, so a product team sees which of its fonts
// the widths still lack.

#include "document/FontSubstitutes.h"
#include "document/Items.h"
#include "measure/TextMeasure.h"

#include <string>
#include <vector>

namespace kav {

struct TDocumentFace {
    std::string Name; // the item font's name as the items spell it first
    bool Bold = false;
    // The face the language's substitute table puts in its place; empty when none does.
    std::string Linked;
    std::string LanguageCode; // the language of Linked
    TFaceInfo Face;           // what measures the item: the linked face when there is one
};

// Each item font name and weight once, in the order the items first use them.
std::vector<TDocumentFace> DocumentFaces(const TItemTable& Items, TTextMeasure& Measure,
                                         const TFontSubstitutes* Substitutes = nullptr,
                                         const std::string& LanguageCode = {});

// "Tahoma bold: substitute: DejaVu Sans", "Arial: /usr/share/.../LiberationSans-Regular.ttf",
// "MS Sans Serif -> Noto Sans CJK JP for JPN: /usr/share/.../NotoSansCJK-Regular.ttc".
std::string DocumentFaceLine(const TDocumentFace& Face);
// The two halves of the line: the item font ("Tahoma bold", "MS Sans Serif -> ... for JPN")
// and what measures it ("substitute: DejaVu Sans", a file, "system: ...").
std::string DocumentFaceName(const TDocumentFace& Face);
std::string DocumentFaceSource(const TDocumentFace& Face);

} // namespace kav
