#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kav {

// One Windows locale as the language box needs it: the identifier, the three-letter abbreviated
// language name and the language name an English Windows shows for it. Names are UTF-8.
struct LocaleInfo {
    std::uint32_t Lcid;
    std::string_view Abbreviation;
    std::string_view Name;
};

// Every locale of the built-in table, in the order the system enumerates them (LCID ascending).
std::span<const LocaleInfo> SystemLocales();

// The locale with that identifier, or nullptr.
const LocaleInfo* FindLocale(std::uint32_t Lcid);

// Locales whose abbreviated name equals Abbreviation exactly (case-sensitive), in enumeration
// order; callers that switch the keyboard let the last one win.
std::vector<const LocaleInfo*> LocalesWithAbbreviation(std::string_view Abbreviation);

// The first locale with that abbreviated name, or nullptr.
const LocaleInfo* FindLocaleByAbbreviation(std::string_view Abbreviation);

// The ANSI code page a Windows system with that locale uses for its 8-bit texts (932 for
// Japanese, 1251 for Bulgarian ...); 0 for the locales Windows keeps Unicode-only (Hindi,
// Armenian, Georgian ...), as Windows reports them.
int AnsiCodePageOf(std::uint32_t Lcid);

} // namespace kav
