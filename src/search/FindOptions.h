#pragma once
// The find options of the find and replace dialogs: a 16-bit set, of which the search reads
// down, match case, replace all and whole word.

#include <cstdint>

namespace kav {

using TFindOptions = std::uint16_t;

constexpr TFindOptions frDown = 1u << 0;
constexpr TFindOptions frFindNext = 1u << 1;
constexpr TFindOptions frHideUpDown = 1u << 4;
constexpr TFindOptions frMatchCase = 1u << 5;
constexpr TFindOptions frReplaceAll = 1u << 10;
constexpr TFindOptions frWholeWord = 1u << 11;

} // namespace kav
