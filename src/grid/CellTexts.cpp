#include "grid/CellTexts.h"

#include <functional>
#include <utility>

namespace kav {

TCellTexts::TCellTexts() : FTexts(1), FUsers(1, 0), FTable(64) {}

bool TCellTexts::Shared(const std::string& Value) {
    // A text this short lives inside the string itself, so a cell of its own would cost the
    // whole string object for a few bytes; a longer text costs its heap block either way and
    // rarely repeats, so looking it up would only add hashing to every load.
    static const size_t InPlace = std::string().capacity();
    return Value.size() <= InPlace;
}

std::uint32_t TCellTexts::HashOf(std::string_view Value) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(Value));
}

void TCellTexts::Grow() {
    std::vector<TBucket> Old(FTable.size() * 2);
    Old.swap(FTable);
    const size_t Mask = FTable.size() - 1;
    for (const TBucket& Entry : Old) {
        if (Entry.Id != EmptyId) {
            size_t I = Home(Entry.Hash);
            while (FTable[I].Id != EmptyId)
                I = (I + 1) & Mask;
            FTable[I] = Entry;
        }
    }
}

TTextId TCellTexts::NewText(std::string Value) {
    if (!FFree.empty()) {
        const TTextId Id = FFree.back();
        FFree.pop_back();
        FTexts[Id] = std::move(Value);
        FUsers[Id] = 1;
        return Id;
    }
    FTexts.push_back(std::move(Value));
    FUsers.push_back(1);
    return static_cast<TTextId>(FTexts.size() - 1);
}

TTextId TCellTexts::Acquire(std::string Value) {
    if (Value.empty())
        return EmptyId;
    if (!Shared(Value))
        return NewText(std::move(Value));
    const size_t Mask = FTable.size() - 1;
    const std::uint32_t Hash = HashOf(Value);
    size_t I = Home(Hash);
    for (; FTable[I].Id != EmptyId; I = (I + 1) & Mask) {
        if (FTable[I].Hash == Hash && FTexts[FTable[I].Id] == Value) {
            ++FUsers[FTable[I].Id];
            return FTable[I].Id;
        }
    }
    const TTextId Id = NewText(std::move(Value));
    FTable[I] = {Id, Hash};
    // At most half full, so that probes stay short.
    if (++FSharedCount * 2 > FTable.size())
        Grow();
    return Id;
}

TTextId TCellTexts::Share(TTextId Id) {
    if (Id != EmptyId)
        ++FUsers[Id];
    return Id;
}

void TCellTexts::Unlist(TTextId Id) {
    const size_t Mask = FTable.size() - 1;
    size_t Hole = Home(HashOf(FTexts[Id]));
    while (FTable[Hole].Id != Id)
        Hole = (Hole + 1) & Mask;
    // Backward shift: every later entry of the run that may live in the hole moves into it, so
    // that no lookup stops early at the freed bucket.
    for (size_t J = (Hole + 1) & Mask; FTable[J].Id != EmptyId; J = (J + 1) & Mask) {
        const size_t At = Home(FTable[J].Hash);
        const bool Stays = Hole <= J ? (Hole < At && At <= J) : (Hole < At || At <= J);
        if (!Stays) {
            FTable[Hole] = FTable[J];
            Hole = J;
        }
    }
    FTable[Hole] = TBucket();
    --FSharedCount;
}

void TCellTexts::Release(TTextId Id) {
    if (Id == EmptyId || --FUsers[Id] > 0)
        return;
    if (Shared(FTexts[Id]))
        Unlist(Id);
    std::string().swap(FTexts[Id]);
    FFree.push_back(Id);
}

} // namespace kav
