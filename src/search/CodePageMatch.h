#pragma once
// Finding a text in a cell the way the translator reads it: both byte strings are decoded from
// their own code pages, compared in Unicode (upper-cased by the rules of the document's language
// unless case matters) and every hit is reported as byte positions in the cell, so accented,
// Greek, Turkish and Cyrillic letters of the windows-125x pages match whatever their case.

#include "search/CaseFolding.h"

#include <array>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

// A hit in the cell's bytes: 1-based position and byte length; Pos 0 means none.
struct TTextMatch {
    long long Pos = 0;
    long long Len = 0;
    bool Found() const { return Pos > 0; }
};

// A search text prepared once for many cells.
class TSearchPattern {
public:
    TSearchPattern(std::string_view Text, int TextCodePage, bool MatchCase,
                   const QLocale& Locale = QLocale::c());

    // Every occurrence in Cell (bytes in CellCodePage), left to right and not overlapping; with
    // WholeWord only those that stand between blanks or the ends of Cell. An empty pattern
    // never matches.
    std::vector<TTextMatch> FindAll(std::string_view Cell, int CellCodePage, bool WholeWord) const;
    // The first of them.
    TTextMatch FindIn(std::string_view Cell, int CellCodePage) const;
    TTextMatch FindWholeWordIn(std::string_view Cell, int CellCodePage) const;

private:
    // Each byte's folded units in one single-byte code page (one character per byte there),
    // and the bytes whose units can begin a hit: cells of those pages are searched in place,
    // without decoding and folding each cell into new strings first.
    struct TByteFolds {
        int CodePage = 0;
        bool Usable = false; // false: a byte folds to more units than Units holds
        std::array<std::array<char16_t, 3>, 256> Units{};
        std::array<unsigned char, 256> Count{};
        std::array<bool, 256> Starts{};
    };
    const TByteFolds& ByteFolds(int CodePage) const;
    std::vector<TTextMatch> FindAllSingleByte(std::string_view Cell, const TByteFolds& Folds,
                                              bool WholeWord) const;

    TCaseFolding FFolding;
    std::u16string FChars;
    // Made for the first cell of each page searched (a search over several columns meets the
    // system's page and the translation's), and kept.
    mutable std::vector<std::unique_ptr<TByteFolds>> FByteFolds;
};

// The bytes of Cell at Match ("" when there is none).
std::string MatchedBytes(std::string_view Cell, const TTextMatch& Match);

// Cell with each of Matches (as FindAll gives them) replaced by New.
std::string ReplaceMatches(std::string_view Cell, const std::vector<TTextMatch>& Matches,
                           std::string_view New);

} // namespace kav
