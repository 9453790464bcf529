#include "grid/CellTexts.h"

#include <cstring>
#include <functional>
#include <utility>

namespace kav {

namespace {

// Blocks grow from a few kilobytes (a small grid stays small) to a large block.
constexpr size_t LargestBlock = LargeBlockBytes;
// Bytes of texts no cell shows that are left in place before a Compact moves the others.
constexpr size_t CompactFloor = size_t(1) << 20;

} // namespace

TCellTexts::TBytes::TBytes(TBytes&& Other) noexcept {
    *this = std::move(Other);
}

TCellTexts::TBytes& TCellTexts::TBytes::operator=(TBytes&& Other) noexcept {
    if (this != &Other) {
        Clear();
        FBlocks = std::move(Other.FBlocks);
        FNext = std::exchange(Other.FNext, nullptr);
        FLeft = std::exchange(Other.FLeft, 0);
        FBlockSize = std::exchange(Other.FBlockSize, 4096);
        FHeld = std::exchange(Other.FHeld, 0);
        Other.FBlocks.clear();
    }
    return *this;
}

// Not zeroed: only the bytes written are ever touched.
char* TCellTexts::TBytes::NewBlock(size_t Size) {
    char* Data = Size >= LargeBlockBytes ? static_cast<char*>(AllocateLarge(Size)) : new char[Size];
    FBlocks.push_back({Data, Size});
    return Data;
}

const char* TCellTexts::TBytes::Keep(std::string_view Value) {
    if (Value.size() > FBlockSize / 4) {
        // Kept apart, so that the block being filled goes on being filled.
        char* Own = NewBlock(Value.size());
        std::memcpy(Own, Value.data(), Value.size());
        FHeld += Value.size();
        return Own;
    }
    if (Value.size() > FLeft) {
        if (!FBlocks.empty() && FBlockSize < LargestBlock)
            FBlockSize *= 2;
        FNext = NewBlock(FBlockSize);
        FLeft = FBlockSize;
    }
    char* At = FNext;
    std::memcpy(At, Value.data(), Value.size());
    FNext += Value.size();
    FLeft -= Value.size();
    FHeld += Value.size();
    return At;
}

void TCellTexts::TBytes::Clear() {
    for (const TBlock& Block : FBlocks) {
        if (Block.Size >= LargeBlockBytes)
            FreeLarge(Block.Data, Block.Size);
        else
            delete[] Block.Data;
    }
    FBlocks.clear();
    FNext = nullptr;
    FLeft = 0;
    FBlockSize = 4096;
    FHeld = 0;
}

TCellTexts::TCellTexts() : FEntries(1), FTable(64) {}

TCellTexts::~TCellTexts() = default;

bool TCellTexts::Shared(std::string_view Value) {
    // Short texts repeat (numbers, widths, font names and sizes, marks); longer ones rarely do,
    // so looking them up would only add hashing to every load.
    return Value.size() <= 15;
}

std::uint32_t TCellTexts::HashOf(std::string_view Value) {
    return static_cast<std::uint32_t>(std::hash<std::string_view>{}(Value));
}

void TCellTexts::Grow(size_t Size) {
    decltype(FTable) Old(Size);
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

void TCellTexts::Reserve(size_t Count, size_t Shared) {
    FEntries.reserve(FEntries.size() - FFree.size() + Count);
    size_t Size = FTable.size();
    while ((FSharedCount + Shared) * 2 > Size)
        Size *= 2;
    if (Size > FTable.size())
        Grow(Size);
}

TTextId TCellTexts::NewText(std::string_view Value) {
    const TEntry Entry{FBytes.Keep(Value), static_cast<std::uint32_t>(Value.size()), 1};
    FShownBytes += Value.size();
    if (!FFree.empty()) {
        const TTextId Id = FFree.back();
        FFree.pop_back();
        FEntries[Id] = Entry;
        return Id;
    }
    FEntries.push_back(Entry);
    return static_cast<TTextId>(FEntries.size() - 1);
}

TTextId TCellTexts::Acquire(std::string_view Value) {
    if (Value.empty())
        return EmptyId;
    if (!Shared(Value))
        return NewText(Value);
    const size_t Mask = FTable.size() - 1;
    const std::uint32_t Hash = HashOf(Value);
    size_t I = Home(Hash);
    for (; FTable[I].Id != EmptyId; I = (I + 1) & Mask) {
        if (FTable[I].Hash == Hash && Text(FTable[I].Id) == Value) {
            ++FEntries[FTable[I].Id].Users;
            return FTable[I].Id;
        }
    }
    const TTextId Id = NewText(Value);
    FTable[I] = {Id, Hash};
    // At most half full, so that probes stay short.
    if (++FSharedCount * 2 > FTable.size())
        Grow(FTable.size() * 2);
    return Id;
}

TTextId TCellTexts::Share(TTextId Id) {
    if (Id != EmptyId)
        ++FEntries[Id].Users;
    return Id;
}

void TCellTexts::Unlist(TTextId Id) {
    const size_t Mask = FTable.size() - 1;
    size_t Hole = Home(HashOf(Text(Id)));
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
    if (Id == EmptyId || --FEntries[Id].Users > 0)
        return;
    if (Shared(Text(Id)))
        Unlist(Id);
    FShownBytes -= FEntries[Id].Size;
    FEntries[Id] = TEntry();
    FFree.push_back(Id);
    // The last text gone (a table cleared or reloaded): its bytes go at once.
    if (FFree.size() + 1 == FEntries.size()) {
        FFree.clear();
        FEntries.resize(1);
        FBytes.Clear();
    }
}

void TCellTexts::Compact() {
    const size_t Unshown = FBytes.Held() - FShownBytes;
    if (Unshown < CompactFloor || Unshown < FShownBytes)
        return;
    TBytes Moved;
    for (TEntry& Entry : FEntries)
        if (Entry.Users > 0)
            Entry.Data = Moved.Keep({Entry.Data, Entry.Size});
    FBytes = std::move(Moved);
}

} // namespace kav
