#pragma once

#include <vector>

#include <QString>

namespace kav {

// Windows character-set numbers the tool works with.
enum : int {
    AnsiCharset = 0,
    DefaultCharset = 1,
    SymbolCharset = 2,
    MacCharset = 77,
    GreekCharset = 161,
    TurkishCharset = 162,
    VietnameseCharset = 163,
    HebrewCharset = 177,
    ArabicCharset = 178,
    BalticCharset = 186,
    RussianCharset = 204,
    ThaiCharset = 222,
    EastEuropeCharset = 238,
};

// A character set a font offers, with the script name Windows gives it ("Western", ...).
struct FontCharset {
    int Charset;
    QString ScriptName;
};

// The family nibble of a Windows font's pitch-and-family byte.
enum class FontFamilyClass : int {
    DontCare = 0x00,
    Roman = 0x10,
    Swiss = 0x20,
    Modern = 0x30,
    Script = 0x40,
    Decorative = 0x50,
};

// The face that actually renders Family, after fontconfig's substitution (Arial gives
// Liberation Sans where Liberation is installed).
QString RealisedFamily(const QString& Family);

// Whether Family is installed, either under its own name or through a face fontconfig
// substitutes for it on purpose (a metric-compatible alias). A name that only reaches the
// generic fallback face is not installed.
bool IsFontInstalled(const QString& Family);

// The character sets the font offers, in the order of the code-page table (Western first):
// one per code page whose letters the realised face's glyphs all cover. Empty when the font is
// not installed. Never lists the Macintosh set.
std::vector<FontCharset> FontCharsets(const QString& Family);

// The Windows script name of a character set; empty for sets the table does not know.
QString ScriptNameOfCharset(int Charset);

// The family class of the realised face, from its PANOSE classification, falling back to its
// IBM family class and then to its pitch.
FontFamilyClass FamilyClassOf(const QString& Family);

// The character set the font is realised with when Requested is asked for: Requested when the
// face offers it; for the default set, or a set the face lacks, Western when offered, else the
// first set offered; the symbol set for a face that covers no code page's letters.
int RealisedCharset(const QString& Family, int Requested);

} // namespace kav
