#pragma once
// A 64-bit print of a sequence of numbers and texts, to tell cheaply whether a large table is
// still what it was: equal prints are taken for equal contents (a chance difference slips
// through once in 2^64), and no copy of the texts is kept to compare.

#include <cstdint>
#include <functional>
#include <string_view>

namespace kav {

class TFingerprint {
public:
    void Add(std::uint64_t Value) {
        FPrint = (FPrint ^ Value) * 1099511628211ull;
        FPrint ^= FPrint >> 29;
    }
    // The text and its length, so that "ab" + "c" and "a" + "bc" differ.
    void Add(std::string_view Text) {
        Add(std::hash<std::string_view>{}(Text));
        Add(Text.size());
    }
    std::uint64_t Value() const { return FPrint; }

private:
    std::uint64_t FPrint = 1469598103934665603ull;
};

} // namespace kav
