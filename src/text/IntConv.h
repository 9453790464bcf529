#pragma once
// The integer conversion users of the tool know from its files and dialogs: leading blanks,
// an optional sign, decimal digits or a hexadecimal number after "$" or "0x", 32 bits.

#include <cstdint>
#include <string>
#include <string_view>

namespace kav {

// Converts S. Returns 0 on success, otherwise the 1-based position of the first character
// that is not accepted (Length + 1 when S ends too early, as for an empty text).
int ValInt(std::string_view S, int32_t& Value);

// True when S converts; Value receives the number.
bool TryStrToInt(std::string_view S, int32_t& Value);

// "'%s' is not a valid integer value", filled with S.
std::string InvalidIntegerMessage(std::string_view S);

} // namespace kav
