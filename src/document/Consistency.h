#pragma once
// Consistency across a document: the same English text translated differently, and the same
// translation given to different English texts. Built once for the whole table in one pass
// (texts grouped by hash), then kept current item by item as translations change, so that no
// row is ever compared with every other.

#include "document/Items.h"
#include "document/TextChecks.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kav {

class TConsistency {
public:
    // Items point into the groups: a copy would point into the original, a move keeps them.
    TConsistency() = default;
    TConsistency(const TConsistency&) = delete;
    TConsistency& operator=(const TConsistency&) = delete;
    TConsistency(TConsistency&&) = default;
    TConsistency& operator=(TConsistency&&) = default;

    // Every translated item of Items (an untranslated or empty one takes no part).
    void Build(const TItemTable& Items);
    // Item Id's translation changed: its place in the groups follows. Returns the items whose
    // finding may have changed with it (Id among them).
    std::vector<TItemId> Update(const TItemTable& Items, TItemId Id);
    // The `consistency` finding of an item: a warning when its English is translated
    // differently elsewhere, naming those items; else a note when its translation stands for
    // other English texts too.
    std::optional<TFinding> Of(const TItemTable& Items, TItemId Id) const;

    // The text a comparison uses: accelerators (single &) out, blanks at the ends trimmed, so
    // that "&Open" and "Open " read as "Open".
    static std::string KeyOf(std::string_view Text);

private:
    // The items sharing one text, split by their other text (its variants). A variant names
    // its text by the key of the other map's group: each distinct text is kept once, and two
    // variants are the same text exactly when they point at the same key.
    struct TVariant {
        const std::string* Key;
        std::vector<TItemId> Items;
    };
    struct TGroup {
        std::vector<TVariant> Variants;
    };
    using TGroups = std::unordered_map<std::string, TGroup>; // nodes stay where they are
    using TNode = TGroups::value_type;
    static void Insert(TGroup& Group, const std::string* Other, TItemId Id);
    static void RemoveFrom(TGroup& Group, const std::string* Other, TItemId Id);
    static void Collect(const TNode* Node, std::vector<TItemId>& Out);
    // Up to Limit items of the group whose other text is not Other, and how many there are in
    // all.
    static std::vector<TItemId> Others(const TNode& Node, const std::string* Other, size_t Limit,
                                       size_t& Total);
    void Add(const TItemTable& Items, TItemId Id);
    void Remove(TItemId Id);
    TGroups FByDefault;     // English -> its translations
    TGroups FByTranslation; // translation -> its English texts
    // Per item, the groups it was filed under; none for an item that takes no part.
    std::vector<TNode*> FDefaultOf;
    std::vector<TNode*> FTranslationOf;
};

} // namespace kav
