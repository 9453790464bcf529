#pragma once
// The texts of a grid's cells, kept apart from the cells that show them. A cell holds the
// number of its text (0: the empty text), so a table of 100 000 rows by 12 columns costs four
// bytes per cell plus one string per text. Short texts (the ones a string keeps without a heap
// block: item numbers, widths, font names and sizes, marks) are shared by every cell that shows
// them; longer ones belong to one cell each. Texts never move once made: a reference to one stays
// valid until the last cell showing it lets it go.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

using TTextId = std::uint32_t;

class TCellTexts {
public:
    static constexpr TTextId EmptyId = 0;

    TCellTexts();

    const std::string& Text(TTextId Id) const { return FTexts[Id]; }
    // A text of Value for one more cell; EmptyId for the empty text.
    TTextId Acquire(std::string Value);
    // The cell that showed Id shows something else now.
    void Release(TTextId Id);
    // One more cell shows Id (a copied cell).
    TTextId Share(TTextId Id);

private:
    // A bucket keeps the hash with the id, so that probing and growing compare numbers and
    // read the texts themselves only on a likely match.
    struct TBucket {
        TTextId Id = EmptyId;
        std::uint32_t Hash = 0;
    };

    static bool Shared(const std::string& Value);
    static std::uint32_t HashOf(std::string_view Value);
    size_t Home(std::uint32_t Hash) const { return Hash & (FTable.size() - 1); }
    void Grow();
    void Unlist(TTextId Id);
    TTextId NewText(std::string Value);

    std::deque<std::string> FTexts;   // by id; a deque never moves what it holds
    std::deque<std::uint32_t> FUsers; // cells showing each text; a deque grows without copying
    std::vector<TTextId> FFree;
    // Open addressing with linear probing over the shared texts; 0 marks a free bucket.
    std::vector<TBucket> FTable;
    size_t FSharedCount = 0;
};

} // namespace kav
