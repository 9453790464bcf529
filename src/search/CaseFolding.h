#pragma once
// Letter case as the document's language sees it: a Turkish "i" is the small letter of "İ", not
// of "I", and Greek capitals carry no accents, so "αρχείο" and "ΑΡΧΕΙΟ" are the same word. The
// upper-casing is the locale's own (ICU through QLocale), applied one character at a time so
// that every folded letter stays tied to the character it came from.

#include <QLocale>
#include <QString>

#include <array>
#include <bitset>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kav {

// The locale of a language by its three-letter Windows code ("TRK", "ELL"); the C locale for
// an empty or unknown code.
QLocale LocaleOfLanguage(std::string_view Code);

class TCaseFolding {
public:
    // MatchCase: letters stay as they are.
    TCaseFolding(bool MatchCase, const QLocale& Locale);

    bool MatchCase() const { return FMatchCase; }
    // The folded form of one character (one code unit, or a surrogate pair).
    const std::u16string& Fold(const QString& Character) const;
    // The same for a character of one code unit, without building a string for it: the texts
    // of single-byte pages are folded unit by unit.
    const std::u16string& FoldUnit(char16_t Unit) const;

private:
    bool FMatchCase;
    bool FGreek;
    QLocale FLocale;
    mutable std::unordered_map<std::u16string, std::u16string> FCache;
    // The folded units below 256, looked up by value (copies of the folding keep them).
    mutable std::array<std::u16string, 256> FLowUnits;
    mutable std::bitset<256> FLowKnown;
    mutable std::unordered_map<char16_t, std::u16string> FHighUnits; // the others
};

} // namespace kav
