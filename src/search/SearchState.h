#pragma once
// Where the search stands: the text and options of the last search, the cell it goes on from
// and the hit it found last. The search commands own it; the drawing of the found row reads it.

#include <cstdint>
#include <string>

namespace kav {

struct TSearchState {
    std::string FSearchText;
    std::string FFoundText;
    // Where FFoundText stands in the found cell (1-based byte position); 0 when not known.
    long long FFoundPos = 0;
    std::uint16_t FSearchOptions = 0;
    int FSearchRow = 0;
    int FSearchCol = 0;
    int FFoundRow = 0;
    int FFoundCol = 0;
};

} // namespace kav
