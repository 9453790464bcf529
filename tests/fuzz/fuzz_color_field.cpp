// The colour field of translated items: any bytes either convert to a 32-bit colour or are
// refused with a position inside the field. Plain decimal and hexadecimal fields are checked
// against the C library's conversion, and a converted colour must come back from the line the
// writer makes of it.

#include "FuzzCheck.h"
#include "document/StrFile.h"
#include "text/IntConv.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

using namespace kav;
using kav::fuzz::TExactBuffer;

namespace {

struct TSimpleNumber {
    bool Negative = false;
    bool Hex = false;
    std::string Digits;
};

// Blanks, a sign, "$" or "0x", then nothing but digits of the base: the forms the
// conversion accepts. Anything else is not a simple number.
std::optional<TSimpleNumber> SplitNumber(std::string_view S) {
    TSimpleNumber Number;
    size_t I = S.find_first_not_of(' ');
    if (I == std::string_view::npos)
        return std::nullopt;
    if (S[I] == '+' || S[I] == '-')
        Number.Negative = S[I++] == '-';
    if (S.substr(I).starts_with("$")) {
        Number.Hex = true;
        I += 1;
    } else if (S.substr(I).starts_with("0x") || S.substr(I).starts_with("0X")) {
        Number.Hex = true;
        I += 2;
    }
    Number.Digits = std::string(S.substr(I));
    const char* Allowed = Number.Hex ? "0123456789abcdefABCDEF" : "0123456789";
    if (Number.Digits.empty() || Number.Digits.find_first_not_of(Allowed) != std::string::npos)
        return std::nullopt;
    return Number;
}

// What the conversion must give for a simple number, or nothing when it is out of range.
std::optional<int32_t> Expected(const TSimpleNumber& Number) {
    errno = 0;
    const unsigned long long Magnitude =
        std::strtoull(Number.Digits.c_str(), nullptr, Number.Hex ? 16 : 10);
    if (errno == ERANGE)
        return std::nullopt;
    if (Number.Hex) {
        if (Magnitude > 0xFFFFFFFFull)
            return std::nullopt;
        const uint32_t Bits = static_cast<uint32_t>(Magnitude);
        return static_cast<int32_t>(Number.Negative ? 0u - Bits : Bits);
    }
    if (Magnitude > 2147483648ull)
        return std::nullopt;
    const long long Value =
        Number.Negative ? -static_cast<long long>(Magnitude) : static_cast<long long>(Magnitude);
    if (Value < INT32_MIN || Value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(Value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Bytes, size_t Size) {
    const TExactBuffer Buffer(std::string_view(reinterpret_cast<const char*>(Bytes), Size));
    const std::string_view Field = Buffer.View();
    int32_t Color = 0;
    const bool Ok = ParseColorField(Field, Color);
    if (Field.empty())
        KAV_FUZZ_CHECK(Ok && Color == NoColorMark);

    int32_t Value = 0;
    const int ErrorAt = ValInt(Field, Value);
    KAV_FUZZ_CHECK(ErrorAt >= 0 && static_cast<size_t>(ErrorAt) <= Field.size() + 1);
    KAV_FUZZ_CHECK(Field.empty() || Ok == (ErrorAt == 0));
    if (!Field.empty() && Ok)
        KAV_FUZZ_CHECK(Value == Color);

    if (const std::optional<TSimpleNumber> Number = SplitNumber(Field)) {
        const std::optional<int32_t> Want = Expected(*Number);
        KAV_FUZZ_CHECK(Ok == Want.has_value());
        KAV_FUZZ_CHECK(!Ok || Color == *Want);
    }
    if (!Ok)
        return 0;
    const std::string Line = FormatItemLine("Colour", "text", Color);
    const StrItemLine Item = ParseItemLine(Line, TranslatedAttributeCount, 1252);
    int32_t Back = 0;
    KAV_FUZZ_CHECK(ParseColorField(Item.Attributes[0], Back) && Back == Color);
    return 0;
}
