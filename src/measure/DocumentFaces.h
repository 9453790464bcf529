#pragma once
// Which face measures each item font a document uses: the file that holds it, or the face
// that stands in for it. kavtool fonts prints it, so a product team sees which of its fonts
// the widths still lack.

#include "document/Items.h"
#include "measure/TextMeasure.h"

#include <string>
#include <vector>

namespace kav {

struct TDocumentFace {
    std::string Name; // the item font's name as the items spell it first
    bool Bold = false;
    TFaceInfo Face;
};

// Each item font name and weight once, in the order the items first use them.
std::vector<TDocumentFace> DocumentFaces(const TItemTable& Items, TTextMeasure& Measure);

// "Tahoma bold: substitute: DejaVu Sans", "Arial: /usr/share/.../LiberationSans-Regular.ttf".
std::string DocumentFaceLine(const TDocumentFace& Face);

} // namespace kav
