#include "measure/DocumentFaces.h"

#include "measure/ItemCheck.h"

#include <QString>

#include <set>
#include <utility>

namespace kav {

std::vector<TDocumentFace> DocumentFaces(const TItemTable& Items, TTextMeasure& Measure,
                                         const TFontSubstitutes* Substitutes,
                                         const std::string& LanguageCode) {
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
        const TMyFont Linked = LinkedFontOf(Font, Substitutes, LanguageCode);
        const bool IsLinked = Linked.Name() != Font.Name();
        Faces.push_back({Font.Name(), Bold, IsLinked ? Linked.Name() : std::string(),
                         IsLinked ? LanguageCode : std::string(), Measure.Face(Linked)});
    }
    return Faces;
}

std::string DocumentFaceName(const TDocumentFace& Face) {
    std::string Name = Face.Name + (Face.Bold ? " bold" : "");
    if (!Face.Linked.empty())
        Name += " -> " + Face.Linked + " for " + Face.LanguageCode;
    return Name;
}

std::string DocumentFaceSource(const TDocumentFace& Face) {
    if (Face.Face.File.empty())
        return (Face.Face.Approximate ? "substitute: " : "system: ") + Face.Face.Used;
    // A file of the family in another style: its widths are only near the product's.
    return Face.Face.File + (Face.Face.Approximate ? " (another style)" : "");
}

std::string DocumentFaceLine(const TDocumentFace& Face) {
    return DocumentFaceName(Face) + ": " + DocumentFaceSource(Face);
}

} // namespace kav
