#pragma once
// Finding a text in a cell the way the translator reads it: both byte strings are decoded from
// their own code pages, compared in Unicode (upper-cased letter by letter unless case matters)
// and the hit is reported as byte positions in the cell, so accented and Cyrillic letters of
// the windows-125x pages match whatever their case.

#include <string>
#include <string_view>

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
    TSearchPattern(std::string_view Text, int TextCodePage, bool MatchCase);

    // First occurrence in Cell (bytes in CellCodePage); an empty pattern never matches.
    TTextMatch FindIn(std::string_view Cell, int CellCodePage) const;
    // The first occurrence, and only that one, stands between blanks or the ends of Cell.
    TTextMatch FindWholeWordIn(std::string_view Cell, int CellCodePage) const;

private:
    std::u16string FChars;
    bool FMatchCase;
};

// The bytes of Cell at Match ("" when there is none).
std::string MatchedBytes(std::string_view Cell, const TTextMatch& Match);

} // namespace kav
