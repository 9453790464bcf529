#include "platform/FontInfo.h"

#include <algorithm>
#include <array>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>

namespace kav {

namespace {

struct CodePageLetters {
    int Charset;
    const char* ScriptName;
    // Letters that set the code page apart; a face offers the set only when it has them all.
    const char16_t* Letters;
};

// In the order Windows enumerates a face's scripts. Vietnamese takes its tone marks as
// combining characters, as code page 1258 does.
constexpr std::array kCodePages{
    CodePageLetters{AnsiCharset, "Western",
                    u"AZaz\u00c0\u00c9\u00d1\u00d6\u00dc\u00df\u00e0"
                    u"\u00e7\u00e9\u00f1\u00f6\u00fc\u00ff"},
    CodePageLetters{EastEuropeCharset, "Central European",
                    u"\u0104\u0105\u0106\u0107\u010c\u010d\u0118\u0119\u0141\u0142\u0143\u0144"
                    u"\u0150\u0151\u0158\u0159\u015a\u015b\u0160\u0161\u0164\u0165\u016e\u016f"
                    u"\u0179\u017a\u017b\u017c\u017d\u017e"},
    CodePageLetters{RussianCharset, "Cyrillic",
                    u"\u0410\u0411\u0416\u042f\u0430\u0431\u0436\u044f\u0401\u0451\u0404\u0454"
                    u"\u0407\u0457\u040e\u045e\u0402\u0452\u0409\u0459\u040b\u045b\u040f\u045f"
                    u"\u0490\u0491"},
    CodePageLetters{GreekCharset, "Greek",
                    u"\u0391\u0392\u0393\u0394\u03a9\u03b1\u03b2\u03b3\u03b4\u03c9\u03c2\u0386"
                    u"\u03ac\u0388\u03ad\u038c\u03cc\u038f\u03ce\u03ca\u03cb\u0390\u03b0"},
    CodePageLetters{TurkishCharset, "Turkish", u"\u011e\u011f\u0130\u0131\u015e\u015f"},
    CodePageLetters{HebrewCharset, "Hebrew",
                    u"\u05d0\u05d1\u05d2\u05d3\u05d4\u05d5\u05d6\u05d7\u05d8\u05d9\u05da\u05db"
                    u"\u05dc\u05dd\u05de\u05df\u05e0\u05e1\u05e2\u05e3\u05e4\u05e5\u05e6\u05e7"
                    u"\u05e8\u05e9\u05ea"},
    CodePageLetters{ArabicCharset, "Arabic",
                    u"\u0627\u0628\u062a\u062b\u062c\u062d\u062e\u062f\u0630\u0631\u0632\u0633"
                    u"\u0634\u0635\u0636\u0637\u0638\u0639\u063a\u0641\u0642\u0643\u0644\u0645"
                    u"\u0646\u0647\u0648\u064a\u067e\u0686\u0698\u06af"},
    CodePageLetters{BalticCharset, "Baltic",
                    u"\u0100\u0101\u0112\u0113\u0116\u0117\u0122\u0123\u012a\u012b\u012e\u012f"
                    u"\u0136\u0137\u013b\u013c\u0145\u0146\u014c\u014d\u0156\u0157\u016a\u016b"
                    u"\u0172\u0173"},
    CodePageLetters{VietnameseCharset, "Vietnamese",
                    u"\u0102\u0103\u00c2\u00e2\u0110\u0111\u00ca\u00ea\u00d4\u00f4\u01a0\u01a1"
                    u"\u01af\u01b0\u0300\u0301\u0303\u0309\u0323"},
    CodePageLetters{ThaiCharset, "Thai",
                    u"\u0e01\u0e02\u0e04\u0e07\u0e08\u0e09\u0e0a\u0e0b\u0e0d\u0e14\u0e15\u0e16"
                    u"\u0e17\u0e19\u0e1a\u0e1b\u0e1c\u0e1e\u0e1f\u0e20\u0e21\u0e22\u0e23\u0e25"
                    u"\u0e27\u0e28\u0e2a\u0e2b\u0e2d\u0e2e\u0e30\u0e32\u0e33\u0e40\u0e41\u0e42"},
};

// No installed face carries this name, so it reaches whatever fontconfig falls back to.
const QString kUnknownFamily = QStringLiteral("Kavrino No Such Face 7f3c");

// An empty name asks for the default face, as an empty face name does on Windows.
QFont FontOf(const QString& Family) {
    return Family.isEmpty() ? QFont() : QFont(Family);
}

QRawFont RawFontOf(const QString& Family) {
    return QRawFont::fromFont(FontOf(Family));
}

bool CoversAll(const QRawFont& Raw, const char16_t* Letters) {
    for (const char16_t* P = Letters; *P; ++P) {
        if (!Raw.supportsCharacter(QChar(*P)))
            return false;
    }
    return true;
}

std::vector<FontCharset> CoveredCharsets(const QRawFont& Raw) {
    std::vector<FontCharset> Found;
    if (!Raw.isValid())
        return Found;
    for (const CodePageLetters& Page : kCodePages) {
        if (CoversAll(Raw, Page.Letters))
            Found.push_back({Page.Charset, QString::fromLatin1(Page.ScriptName)});
    }
    return Found;
}

bool Offers(const std::vector<FontCharset>& Sets, int Charset) {
    return std::any_of(Sets.begin(), Sets.end(),
                       [&](const FontCharset& S) { return S.Charset == Charset; });
}

// PANOSE digits: family kind, serif style, proportion.
FontFamilyClass ClassFromPanose(unsigned char Kind, unsigned char Serif, unsigned char Proportion) {
    enum { LatinText = 2, HandWritten = 3, Decorative = 4, Symbol = 5, Monospaced = 9 };
    if (Kind == HandWritten)
        return FontFamilyClass::Script;
    if (Kind == Decorative || Kind == Symbol)
        return FontFamilyClass::Decorative;
    if (Kind != LatinText)
        return FontFamilyClass::DontCare;
    if (Proportion == Monospaced)
        return FontFamilyClass::Modern;
    if (Serif >= 2 && Serif <= 10)
        return FontFamilyClass::Roman;
    if (Serif >= 11 && Serif <= 15)
        return FontFamilyClass::Swiss;
    return FontFamilyClass::DontCare;
}

// The high byte of the OS/2 table's IBM family class.
FontFamilyClass ClassFromIbmClass(unsigned char IbmClass) {
    switch (IbmClass) {
    case 1:
    case 2:
    case 3:
    case 4:
    case 5:
    case 7:
        return FontFamilyClass::Roman;
    case 8:
        return FontFamilyClass::Swiss;
    case 9:
    case 12:
        return FontFamilyClass::Decorative;
    case 10:
        return FontFamilyClass::Script;
    default:
        return FontFamilyClass::DontCare;
    }
}

} // namespace

QString RealisedFamily(const QString& Family) {
    return QFontInfo(FontOf(Family)).family();
}

bool IsFontInstalled(const QString& Family) {
    if (Family.trimmed().isEmpty())
        return false;
    if (QFontDatabase::families().contains(Family, Qt::CaseInsensitive))
        return true;
    return RealisedFamily(Family).compare(RealisedFamily(kUnknownFamily), Qt::CaseInsensitive) != 0;
}

std::vector<FontCharset> FontCharsets(const QString& Family) {
    if (!IsFontInstalled(Family))
        return {};
    return CoveredCharsets(RawFontOf(Family));
}

QString ScriptNameOfCharset(int Charset) {
    for (const CodePageLetters& Page : kCodePages) {
        if (Page.Charset == Charset)
            return QString::fromLatin1(Page.ScriptName);
    }
    return {};
}

FontFamilyClass FamilyClassOf(const QString& Family) {
    const QRawFont Raw = RawFontOf(Family);
    const QByteArray Os2 = Raw.isValid() ? Raw.fontTable("OS/2") : QByteArray();
    constexpr int IbmClassAt = 30, PanoseAt = 32;
    if (Os2.size() >= PanoseAt + 10) {
        const auto Byte = [&](int At) { return static_cast<unsigned char>(Os2.at(At)); };
        const FontFamilyClass FromPanose =
            ClassFromPanose(Byte(PanoseAt), Byte(PanoseAt + 1), Byte(PanoseAt + 3));
        if (FromPanose != FontFamilyClass::DontCare)
            return FromPanose;
    }
    if (QFontInfo(FontOf(Family)).fixedPitch())
        return FontFamilyClass::Modern;
    if (Os2.size() > IbmClassAt)
        return ClassFromIbmClass(static_cast<unsigned char>(Os2.at(IbmClassAt)));
    return FontFamilyClass::DontCare;
}

int RealisedCharset(const QString& Family, int Requested) {
    const std::vector<FontCharset> Sets = CoveredCharsets(RawFontOf(Family));
    if (Sets.empty())
        return SymbolCharset;
    if (Requested != DefaultCharset && Offers(Sets, Requested))
        return Requested;
    return Offers(Sets, AnsiCharset) ? AnsiCharset : Sets.front().Charset;
}

} // namespace kav
