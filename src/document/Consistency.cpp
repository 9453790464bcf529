#include "document/Consistency.h"

#include <algorithm>

namespace kav {

namespace {

// How many items a message names before it counts the rest.
constexpr size_t NamedItems = 3;

bool TakesPart(const TItemView& Item) {
    return !Item.Translation.empty() && !Item.Default.empty() && Item.Translation != Item.Default;
}

std::string NamesOf(const TItemTable& Items, const std::vector<TItemId>& Ids, size_t Total) {
    std::string Out;
    for (const TItemId Id : Ids) {
        if (!Out.empty())
            Out += ", ";
        Out += "Txt_" + std::string(Items.Name(Id)) + " (" + Items.Caption(Id) + ")";
    }
    if (Total > Ids.size())
        Out += " and " + std::to_string(Total - Ids.size()) + " more";
    return Out;
}

} // namespace

std::string TConsistency::KeyOf(std::string_view Text) {
    std::string Key;
    Key.reserve(Text.size());
    for (size_t I = 0; I < Text.size(); ++I) {
        if (Text[I] == '&') {
            if (I + 1 < Text.size() && Text[I + 1] == '&')
                Key += Text[++I]; // && is a literal &
            continue;
        }
        Key += Text[I];
    }
    const size_t First = Key.find_first_not_of(" \t");
    if (First == std::string::npos)
        return std::string();
    return Key.substr(First, Key.find_last_not_of(" \t") + 1 - First);
}

void TConsistency::Insert(TGroup& Group, const std::string* Other, TItemId Id) {
    std::vector<TVariant>& Variants = Group.Variants;
    const auto It = std::find_if(Variants.begin(), Variants.end(),
                                 [&](const TVariant& V) { return V.Key == Other; });
    if (It != Variants.end())
        It->Items.insert(std::lower_bound(It->Items.begin(), It->Items.end(), Id), Id);
    else
        Variants.push_back({Other, {Id}});
}

void TConsistency::RemoveFrom(TGroup& Group, const std::string* Other, TItemId Id) {
    std::vector<TVariant>& Variants = Group.Variants;
    for (auto V = Variants.begin(); V != Variants.end(); ++V) {
        if (V->Key != Other)
            continue;
        V->Items.erase(std::remove(V->Items.begin(), V->Items.end(), Id), V->Items.end());
        if (V->Items.empty())
            Variants.erase(V);
        break;
    }
}

void TConsistency::Collect(const TNode* Node, std::vector<TItemId>& Out) {
    for (const TVariant& V : Node->second.Variants)
        Out.insert(Out.end(), V.Items.begin(), V.Items.end());
}

std::vector<TItemId> TConsistency::Others(const TNode& Node, const std::string* Other, size_t Limit,
                                          size_t& Total) {
    std::vector<TItemId> Out;
    Total = 0;
    for (const TVariant& V : Node.second.Variants) {
        if (V.Key == Other)
            continue;
        Total += V.Items.size();
        for (size_t I = 0; I < V.Items.size() && Out.size() < Limit; ++I)
            Out.push_back(V.Items[I]);
    }
    std::sort(Out.begin(), Out.end());
    return Out;
}

void TConsistency::Add(const TItemTable& Items, TItemId Id) {
    const TItemView Item = Items.View(Id);
    const size_t I = static_cast<size_t>(Id);
    if (!TakesPart(Item))
        return;
    TNode& Default = *FByDefault.try_emplace(KeyOf(Item.Default)).first;
    TNode& Translation = *FByTranslation.try_emplace(KeyOf(Item.Translation)).first;
    FDefaultOf[I] = &Default;
    FTranslationOf[I] = &Translation;
    Insert(Default.second, &Translation.first, Id);
    Insert(Translation.second, &Default.first, Id);
}

// Both variants are left before either group may go: a variant points at the other group's key.
void TConsistency::Remove(TItemId Id) {
    const size_t I = static_cast<size_t>(Id);
    TNode* Default = FDefaultOf[I];
    TNode* Translation = FTranslationOf[I];
    FDefaultOf[I] = FTranslationOf[I] = nullptr;
    RemoveFrom(Default->second, &Translation->first, Id);
    RemoveFrom(Translation->second, &Default->first, Id);
    if (Default->second.Variants.empty())
        FByDefault.erase(Default->first);
    if (Translation->second.Variants.empty())
        FByTranslation.erase(Translation->first);
}

void TConsistency::Build(const TItemTable& Items) {
    FByDefault.clear();
    FByTranslation.clear();
    const size_t Count = static_cast<size_t>(std::max(0, Items.Count()));
    FByDefault.reserve(Count);
    FByTranslation.reserve(Count);
    FDefaultOf.assign(Count, nullptr);
    FTranslationOf.assign(Count, nullptr);
    for (TItemId Id = 0; Id < Items.Count(); ++Id)
        Add(Items, Id);
}

std::vector<TItemId> TConsistency::Update(const TItemTable& Items, TItemId Id) {
    std::vector<TItemId> Affected{Id};
    if (!Items.Contains(Id) || static_cast<size_t>(Id) >= FDefaultOf.size())
        return Affected;
    const size_t I = static_cast<size_t>(Id);
    if (FDefaultOf[I]) {
        Collect(FDefaultOf[I], Affected);
        Collect(FTranslationOf[I], Affected);
        Remove(Id);
    }
    Add(Items, Id);
    if (FDefaultOf[I]) {
        Collect(FDefaultOf[I], Affected);
        Collect(FTranslationOf[I], Affected);
    }
    std::sort(Affected.begin(), Affected.end());
    Affected.erase(std::unique(Affected.begin(), Affected.end()), Affected.end());
    return Affected;
}

std::optional<TFinding> TConsistency::Of(const TItemTable& Items, TItemId Id) const {
    if (Id < 0 || static_cast<size_t>(Id) >= FDefaultOf.size() ||
        !FDefaultOf[static_cast<size_t>(Id)])
        return std::nullopt;
    const TNode& Default = *FDefaultOf[static_cast<size_t>(Id)];
    const TNode& Translation = *FTranslationOf[static_cast<size_t>(Id)];
    // The item's own variant is in both groups: alone in each (most items), it has no others.
    if (Default.second.Variants.size() == 1 && Translation.second.Variants.size() == 1)
        return std::nullopt;
    size_t Total = 0;
    const std::vector<TItemId> Differ = Others(Default, &Translation.first, NamedItems, Total);
    if (!Differ.empty())
        return TFinding{TFindingKind::Consistency, TSeverity::Warning,
                        "the same English is translated differently in " +
                            NamesOf(Items, Differ, Total)};
    const std::vector<TItemId> Shared = Others(Translation, &Default.first, NamedItems, Total);
    if (!Shared.empty())
        return TFinding{TFindingKind::Consistency, TSeverity::Info,
                        "the same translation stands for other English in " +
                            NamesOf(Items, Shared, Total)};
    return std::nullopt;
}

} // namespace kav
