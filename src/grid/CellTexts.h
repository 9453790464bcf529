#pragma once
// The texts of a grid's cells, kept apart from the cells that show them. A cell holds the
// number of its text (0: the empty text), and the texts' bytes lie one after the other in a few
// large blocks, so a table of 100 000 rows by 12 columns costs four bytes per cell, sixteen per
// text and the bytes themselves: no heap block per text. Short texts (item numbers, widths, font
// names and sizes, marks) are shared by every cell that shows them; longer ones belong to one
// cell each.
//
// A text's bytes never move while it is shown, except in Compact: a view of a text stays valid
// until the last cell showing it lets it go, or until the next Compact.

#include "platform/LargeMemory.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace kav {

using TTextId = std::uint32_t;

class TCellTexts {
public:
    static constexpr TTextId EmptyId = 0;

    TCellTexts();
    ~TCellTexts();
    TCellTexts(const TCellTexts&) = delete;
    TCellTexts& operator=(const TCellTexts&) = delete;

    std::string_view Text(TTextId Id) const {
        const TEntry& Entry = FEntries[Id];
        return {Entry.Data, Entry.Size};
    }
    // A text of Value for one more cell; EmptyId for the empty text. Value may view a text of
    // this store.
    TTextId Acquire(std::string_view Value);
    // The cell that showed Id shows something else now.
    void Release(TTextId Id);
    // One more cell shows Id (a copied cell).
    TTextId Share(TTextId Id);
    // Room for Count more texts, Shared of them short, without growing the indexes.
    void Reserve(size_t Count, size_t Shared);
    // Moves the texts together when the bytes of texts no cell shows any more outweigh the
    // shown ones. Views of texts taken before are invalid afterwards.
    void Compact();
    // Bytes held for texts, shown or not.
    size_t Bytes() const { return FBytes.Held(); }

private:
    struct TEntry {
        const char* Data = nullptr;
        std::uint32_t Size = 0;
        std::uint32_t Users = 0;
    };
    // A bucket keeps the hash with the id, so that probing and growing compare numbers and
    // read the texts themselves only on a likely match.
    struct TBucket {
        TTextId Id = EmptyId;
        std::uint32_t Hash = 0;
    };
    // Blocks of bytes filled one after the other; a text larger than a quarter block gets one of
    // its own.
    class TBytes {
    public:
        TBytes() = default;
        TBytes(TBytes&& Other) noexcept;
        TBytes& operator=(TBytes&& Other) noexcept;
        ~TBytes() { Clear(); }
        const char* Keep(std::string_view Value);
        void Clear();
        size_t Held() const { return FHeld; }

    private:
        struct TBlock {
            char* Data;
            size_t Size;
        };
        char* NewBlock(size_t Size);

        std::vector<TBlock> FBlocks;
        char* FNext = nullptr;
        size_t FLeft = 0;
        size_t FBlockSize = 4096;
        size_t FHeld = 0;
    };

    static bool Shared(std::string_view Value);
    static std::uint32_t HashOf(std::string_view Value);
    size_t Home(std::uint32_t Hash) const { return Hash & (FTable.size() - 1); }
    // Moves the index of the shared texts to a table of Size buckets (a power of two).
    void Grow(size_t Size);
    void Unlist(TTextId Id);
    TTextId NewText(std::string_view Value);

    TBytes FBytes;
    std::vector<TEntry, TLargeAllocator<TEntry>> FEntries; // by id
    std::vector<TTextId> FFree;
    // Open addressing with linear probing over the shared texts; 0 marks a free bucket.
    std::vector<TBucket, TLargeAllocator<TBucket>> FTable;
    size_t FSharedCount = 0;
    size_t FShownBytes = 0; // bytes of the texts some cell shows
};

} // namespace kav
