#pragma once
// The English a translated file was last saved against: each save keeps, beside the backups,
// the default items (text and width) of every item whose translation fits them, so that an
// item whose English text or width changed since then, or that is new, is pointed out until
// the translator edits its translation or marks it as reviewed.
//
// The side file is Backup/English/<file name>.<hash of its folder>.txt, a line per item:
// name, width and text separated by tabs, with tab, line break and backslash escaped.

#include "document/Items.h"
#include "document/TextChecks.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace kav {

enum class TSourceChange { None, Text, Width, New };

class TSourceBaseline {
public:
    // Its tables view its own buffers.
    TSourceBaseline() = default;
    TSourceBaseline(const TSourceBaseline&) = delete;
    TSourceBaseline& operator=(const TSourceBaseline&) = delete;

    // The side file of the translated file File in BackupDir (with its trailing "/").
    static std::string PathFor(const std::string& BackupDir, const std::string& File);

    // Takes the side file of File and the translations Items holds as read from File. Without
    // a side file (never saved here) nothing is marked.
    void Load(const std::string& BackupDir, const std::string& File, const TItemTable& Items);
    void Clear();
    bool Known() const { return FKnown; }

    // How the item's English differs from what its translation was saved against; None for
    // an item edited or marked as reviewed since its file was read.
    TSourceChange ChangeOf(const TItemTable& Items, TItemId Id) const;
    std::optional<TFinding> FindingOf(const TItemTable& Items, TItemId Id) const;

    // The translator checked the item against its English: it is no longer marked, and the
    // next save keeps its English as the one it was translated from.
    void MarkReviewed(const TItemTable& Items, TItemId Id);

    // Writes the side file of File for a save of Items: the current English of each item not
    // marked, the English kept before for those still marked (a new one stays new). An empty
    // text, or what went wrong, naming the file.
    std::string Save(const std::string& BackupDir, const std::string& File,
                     const TItemTable& Items) const;

    // Grows with every change of what is marked, for the findings to see when to check again.
    std::uint64_t Revision() const { return FRevision; }

private:
    // Views of FSavedBytes, or of FUnescaped for a field that held an escape.
    struct TEnglish {
        std::string_view Text;
        std::string_view Width;
    };
    // Names are looked up as the table's views, without a copy each.
    struct TNameHash {
        using is_transparent = void;
        size_t operator()(std::string_view Name) const {
            return std::hash<std::string_view>{}(Name);
        }
    };
    static std::uint64_t PrintOf(std::string_view Translation) {
        return std::hash<std::string_view>{}(Translation);
    }
    std::string_view Kept(std::string_view Field);
    bool FKnown = false;
    // The side file as read and the items' names as loaded, each in one buffer: 100 000 items
    // are not 500 000 strings.
    std::string FSavedBytes;
    std::deque<std::string> FUnescaped;
    std::unordered_map<std::string_view, TEnglish> FSaved; // by item name
    std::string FLoadedNames;
    // The print of each item's translation as read, by name: an edit is told by a change.
    std::unordered_map<std::string_view, std::uint64_t> FLoaded;
    std::unordered_set<std::string, TNameHash, std::equal_to<>> FReviewed; // marked as reviewed
    std::uint64_t FRevision = 0;
};

} // namespace kav
