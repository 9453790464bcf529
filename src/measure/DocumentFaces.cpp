#include "measure/DocumentFaces.h"

#include "measure/ItemCheck.h"

#include <QString>

#include <set>
#include <utility>

namespace kav {

std::vector<TDocumentFace> DocumentFaces(const TItemTable& Items, TTextMeasure& Measure) {
    std::vector<TDocumentFace> Faces;
    std::set<std::pair<std::string, bool>> Seen;
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        const TMyFont Font = ItemFontOf(Items.View(Id));
        const bool Bold = (Font.Style() & fsBold) != 0;
        // The faces are the same for every spelling of a family, as the measuring takes them.
        const std::string Key =
            QString::fromStdString(Font.Name()).trimmed().toLower().toStdString();
        if (!Seen.emplace(Key, Bold).second)
            continue;
        Faces.push_back({Font.Name(), Bold, Measure.Face(Font)});
    }
    return Faces;
}

std::string DocumentFaceLine(const TDocumentFace& Face) {
    std::string Line = Face.Name + (Face.Bold ? " bold" : "") + ": ";
    if (Face.Face.File.empty())
        return Line + (Face.Face.Approximate ? "substitute: " : "system: ") + Face.Face.Used;
    Line += Face.Face.File;
    // A file of the family in another style: its widths are only near the product's.
    if (Face.Face.Approximate)
        Line += " (another style)";
    return Line;
}

} // namespace kav
