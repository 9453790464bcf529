#pragma once
// What the document tells those who show it. The document holds its language, kind and
// software as values; the main window keeps its boxes, header cell and labels in step with
// them through these events instead of holding the values in its controls.

#include "document/FileKind.h"

#include <string>
#include <vector>

namespace kav {

// The product a new document is made for: it decides the default file of File > New.
enum class TSoftware : int { Kavrino = 0, Pelmor = 1 };

// The name the software box shows and the RTF export writes.
inline const char* SoftwareName(TSoftware Software) {
    return Software == TSoftware::Pelmor ? "Pelmor" : "Kavrino";
}

// The kind of document a software's new document has, and the software of a kind.
inline StrFileKind KindOfSoftware(TSoftware Software) {
    return Software == TSoftware::Pelmor ? fkUser : fkMain;
}
inline TSoftware SoftwareOfKind(StrFileKind Kind) {
    return Kind == fkUser ? TSoftware::Pelmor : TSoftware::Kavrino;
}

// Every event has an empty default: an observer overrides those it shows.
class IDocumentObserver {
public:
    virtual ~IDocumentObserver() = default;
    // The table was filled anew from files (New, Open, the read-back after a save): the
    // window gives the grid the focus.
    virtual void TableLoaded() {}
    // An Open read its file into the table; Bound tells whether the document took its name.
    virtual void FileOpened(const std::string& Path, bool Bound) { (void)Path, (void)Bound; }
    // The document's language changed: a three-letter code, empty for none.
    virtual void LanguageChanged(const std::string& Code) { (void)Code; }
    virtual void KindChanged(StrFileKind Kind) { (void)Kind; }
    virtual void SoftwareChanged(TSoftware Software) { (void)Software; }
    // A command was refused because the document has no language.
    virtual void LanguageMissing() {}
    // A command, an undo or a redo changed these items (by identity, in the order changed).
    virtual void ItemsChanged(const std::vector<int>& Items) { (void)Items; }
    // The document became modified, or as saved (or loaded) again.
    virtual void ModifiedChanged(bool Modified) { (void)Modified; }
};

} // namespace kav
