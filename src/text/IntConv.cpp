#include "text/IntConv.h"

#include <cstdint>

namespace kav {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Position is 0-based while scanning; results are 1-based.
int ScanHex(std::string_view S, size_t i, bool Negative, int32_t& Value) {
    if (i >= S.size())
        return static_cast<int>(i) + 1;
    uint32_t Acc = 0;
    for (; i < S.size(); ++i) {
        int D = HexDigit(S[i]);
        if (D < 0 || Acc > 0x0FFFFFFFu)
            return static_cast<int>(i) + 1;
        Acc = Acc * 16 + static_cast<uint32_t>(D);
    }
    // Hexadecimal numbers cover the whole 32-bit pattern: $FFFFFFFF is -1.
    uint32_t Bits = Negative ? 0u - Acc : Acc;
    Value = static_cast<int32_t>(Bits);
    return 0;
}

int ScanDecimal(std::string_view S, size_t i, bool Negative, int32_t& Value) {
    if (i >= S.size())
        return static_cast<int>(i) + 1;
    const int64_t Limit = Negative ? 2147483648LL : 2147483647LL;
    int64_t Acc = 0;
    for (; i < S.size(); ++i) {
        char c = S[i];
        if (c < '0' || c > '9')
            return static_cast<int>(i) + 1;
        Acc = Acc * 10 + (c - '0');
        if (Acc > Limit)
            return static_cast<int>(i) + 1;
    }
    Value = static_cast<int32_t>(Negative ? -Acc : Acc);
    return 0;
}

} // namespace

int ValInt(std::string_view S, int32_t& Value) {
    size_t i = 0;
    while (i < S.size() && S[i] == ' ')
        ++i;
    bool Negative = false;
    if (i < S.size() && (S[i] == '+' || S[i] == '-')) {
        Negative = S[i] == '-';
        ++i;
    }
    if (i < S.size() && S[i] == '$')
        return ScanHex(S, i + 1, Negative, Value);
    if (i + 1 < S.size() && S[i] == '0' && (S[i + 1] == 'x' || S[i + 1] == 'X'))
        return ScanHex(S, i + 2, Negative, Value);
    return ScanDecimal(S, i, Negative, Value);
}

bool TryStrToInt(std::string_view S, int32_t& Value) {
    int32_t Parsed = 0;
    if (ValInt(S, Parsed) != 0)
        return false;
    Value = Parsed;
    return true;
}

std::string InvalidIntegerMessage(std::string_view S) {
    return "'" + std::string(S) + "' is not a valid integer value";
}

} // namespace kav
