#include "platform/Locales.h"

#include <algorithm>
#include <array>

namespace kav {

namespace {

// Identifiers, abbreviated names and English names as Windows reports them. Keep the table
// sorted by identifier: FindLocale searches it by halves.
constexpr std::array kLocales{
    LocaleInfo{0x0401, "ARA", "Arabic (Saudi Arabia)"},
    LocaleInfo{0x0402, "BGR", "Bulgarian (Bulgaria)"},
    LocaleInfo{0x0403, "CAT", "Catalan (Catalan)"},
    LocaleInfo{0x0404, "CHT", "Chinese (Traditional, Taiwan)"},
    LocaleInfo{0x0405, "CSY", "Czech (Czech Republic)"},
    LocaleInfo{0x0406, "DAN", "Danish (Denmark)"},
    LocaleInfo{0x0407, "DEU", "German (Germany)"},
    LocaleInfo{0x0408, "ELL", "Greek (Greece)"},
    LocaleInfo{0x0409, "ENU", "English (United States)"},
    LocaleInfo{0x040A, "ESP", "Spanish (Spain, Traditional Sort)"},
    LocaleInfo{0x040B, "FIN", "Finnish (Finland)"},
    LocaleInfo{0x040C, "FRA", "French (France)"},
    LocaleInfo{0x040D, "HEB", "Hebrew (Israel)"},
    LocaleInfo{0x040E, "HUN", "Hungarian (Hungary)"},
    LocaleInfo{0x040F, "ISL", "Icelandic (Iceland)"},
    LocaleInfo{0x0410, "ITA", "Italian (Italy)"},
    LocaleInfo{0x0411, "JPN", "Japanese (Japan)"},
    LocaleInfo{0x0412, "KOR", "Korean (Korea)"},
    LocaleInfo{0x0413, "NLD", "Dutch (Netherlands)"},
    LocaleInfo{0x0414, "NOR", "Norwegian, Bokm\u00e5l (Norway)"},
    LocaleInfo{0x0415, "PLK", "Polish (Poland)"},
    LocaleInfo{0x0416, "PTB", "Portuguese (Brazil)"},
    LocaleInfo{0x0417, "RMC", "Romansh (Switzerland)"},
    LocaleInfo{0x0418, "ROM", "Romanian (Romania)"},
    LocaleInfo{0x0419, "RUS", "Russian (Russia)"},
    LocaleInfo{0x041A, "HRV", "Croatian (Croatia)"},
    LocaleInfo{0x041B, "SKY", "Slovak (Slovakia)"},
    LocaleInfo{0x041C, "SQI", "Albanian (Albania)"},
    LocaleInfo{0x041D, "SVE", "Swedish (Sweden)"},
    LocaleInfo{0x041E, "THA", "Thai (Thailand)"},
    LocaleInfo{0x041F, "TRK", "Turkish (Turkey)"},
    LocaleInfo{0x0420, "URD", "Urdu (Islamic Republic of Pakistan)"},
    LocaleInfo{0x0421, "IND", "Indonesian (Indonesia)"},
    LocaleInfo{0x0422, "UKR", "Ukrainian (Ukraine)"},
    LocaleInfo{0x0423, "BEL", "Belarusian (Belarus)"},
    LocaleInfo{0x0424, "SLV", "Slovenian (Slovenia)"},
    LocaleInfo{0x0425, "ETI", "Estonian (Estonia)"},
    LocaleInfo{0x0426, "LVI", "Latvian (Latvia)"},
    LocaleInfo{0x0427, "LTH", "Lithuanian (Lithuania)"},
    LocaleInfo{0x0428, "TAJ", "Tajik (Cyrillic, Tajikistan)"},
    LocaleInfo{0x0429, "FAR", "Persian (Iran)"},
    LocaleInfo{0x042A, "VIT", "Vietnamese (Vietnam)"},
    LocaleInfo{0x042B, "HYE", "Armenian (Armenia)"},
    LocaleInfo{0x042C, "AZE", "Azeri (Latin, Azerbaijan)"},
    LocaleInfo{0x042D, "EUQ", "Basque (Basque)"},
    LocaleInfo{0x042E, "HSB", "Upper Sorbian (Germany)"},
    LocaleInfo{0x042F, "MKI", "Macedonian (North Macedonia)"},
    LocaleInfo{0x0432, "TSN", "Setswana (South Africa)"},
    LocaleInfo{0x0434, "XHO", "isiXhosa (South Africa)"},
    LocaleInfo{0x0435, "ZUL", "isiZulu (South Africa)"},
    LocaleInfo{0x0436, "AFK", "Afrikaans (South Africa)"},
    LocaleInfo{0x0437, "KAT", "Georgian (Georgia)"},
    LocaleInfo{0x0438, "FOS", "Faroese (Faroe Islands)"},
    LocaleInfo{0x0439, "HIN", "Hindi (India)"},
    LocaleInfo{0x043A, "MLT", "Maltese (Malta)"},
    LocaleInfo{0x043B, "SME", "Sami, Northern (Norway)"},
    LocaleInfo{0x043E, "MSL", "Malay (Malaysia)"},
    LocaleInfo{0x043F, "KKZ", "Kazakh (Kazakhstan)"},
    LocaleInfo{0x0440, "KYR", "Kyrgyz (Kyrgyzstan)"},
    LocaleInfo{0x0441, "SWK", "Kiswahili (Kenya)"},
    LocaleInfo{0x0442, "TUK", "Turkmen (Turkmenistan)"},
    LocaleInfo{0x0443, "UZB", "Uzbek (Latin, Uzbekistan)"},
    LocaleInfo{0x0444, "TTT", "Tatar (Russia)"},
    LocaleInfo{0x0445, "BNG", "Bengali (India)"},
    LocaleInfo{0x0446, "PAN", "Punjabi (India)"},
    LocaleInfo{0x0447, "GUJ", "Gujarati (India)"},
    LocaleInfo{0x0448, "ORI", "Odia (India)"},
    LocaleInfo{0x0449, "TAI", "Tamil (India)"},
    LocaleInfo{0x044A, "TEL", "Telugu (India)"},
    LocaleInfo{0x044B, "KDI", "Kannada (India)"},
    LocaleInfo{0x044C, "MYM", "Malayalam (India)"},
    LocaleInfo{0x044D, "ASM", "Assamese (India)"},
    LocaleInfo{0x044E, "MAR", "Marathi (India)"},
    LocaleInfo{0x044F, "SAN", "Sanskrit (India)"},
    LocaleInfo{0x0450, "MNN", "Mongolian (Cyrillic, Mongolia)"},
    LocaleInfo{0x0451, "BOB", "Tibetan (PRC)"},
    LocaleInfo{0x0452, "CYM", "Welsh (United Kingdom)"},
    LocaleInfo{0x0453, "KHM", "Khmer (Cambodia)"},
    LocaleInfo{0x0454, "LAO", "Lao (Lao P.D.R.)"},
    LocaleInfo{0x0456, "GLC", "Galician (Galician)"},
    LocaleInfo{0x0457, "KNK", "Konkani (India)"},
    LocaleInfo{0x045A, "SYR", "Syriac (Syria)"},
    LocaleInfo{0x045B, "SIN", "Sinhala (Sri Lanka)"},
    LocaleInfo{0x045D, "IUS", "Inuktitut (Syllabics, Canada)"},
    LocaleInfo{0x045E, "AMH", "Amharic (Ethiopia)"},
    LocaleInfo{0x0461, "NEP", "Nepali (Nepal)"},
    LocaleInfo{0x0462, "FYN", "Frisian (Netherlands)"},
    LocaleInfo{0x0463, "PAS", "Pashto (Afghanistan)"},
    LocaleInfo{0x0464, "FPO", "Filipino (Philippines)"},
    LocaleInfo{0x0465, "DIV", "Divehi (Maldives)"},
    LocaleInfo{0x0468, "HAU", "Hausa (Latin, Nigeria)"},
    LocaleInfo{0x046A, "YOR", "Yoruba (Nigeria)"},
    LocaleInfo{0x046B, "QUB", "Quechua (Bolivia)"},
    LocaleInfo{0x046C, "NSO", "Sesotho sa Leboa (South Africa)"},
    LocaleInfo{0x046D, "BAS", "Bashkir (Russia)"},
    LocaleInfo{0x046E, "LBX", "Luxembourgish (Luxembourg)"},
    LocaleInfo{0x046F, "KAL", "Greenlandic (Greenland)"},
    LocaleInfo{0x0470, "IBO", "Igbo (Nigeria)"},
    LocaleInfo{0x0478, "III", "Yi (PRC)"},
    LocaleInfo{0x047A, "MPD", "Mapudungun (Chile)"},
    LocaleInfo{0x047C, "MWK", "Mohawk (Mohawk)"},
    LocaleInfo{0x047E, "BRE", "Breton (France)"},
    LocaleInfo{0x0480, "UIG", "Uyghur (PRC)"},
    LocaleInfo{0x0481, "MRI", "Maori (New Zealand)"},
    LocaleInfo{0x0482, "OCI", "Occitan (France)"},
    LocaleInfo{0x0483, "COS", "Corsican (France)"},
    LocaleInfo{0x0484, "GSW", "Alsatian (France)"},
    LocaleInfo{0x0485, "SAH", "Yakut (Russia)"},
    LocaleInfo{0x0486, "QUT", "K'iche (Guatemala)"},
    LocaleInfo{0x0487, "KIN", "Kinyarwanda (Rwanda)"},
    LocaleInfo{0x0488, "WOL", "Wolof (Senegal)"},
    LocaleInfo{0x048C, "PRS", "Dari (Afghanistan)"},
    LocaleInfo{0x0491, "GLA", "Scottish Gaelic (United Kingdom)"},
    LocaleInfo{0x0801, "ARI", "Arabic (Iraq)"},
    LocaleInfo{0x0804, "CHS", "Chinese (Simplified, PRC)"},
    LocaleInfo{0x0807, "DES", "German (Switzerland)"},
    LocaleInfo{0x0809, "ENG", "English (United Kingdom)"},
    LocaleInfo{0x080A, "ESM", "Spanish (Mexico)"},
    LocaleInfo{0x080C, "FRB", "French (Belgium)"},
    LocaleInfo{0x0810, "ITS", "Italian (Switzerland)"},
    LocaleInfo{0x0813, "NLB", "Dutch (Belgium)"},
    LocaleInfo{0x0814, "NON", "Norwegian, Nynorsk (Norway)"},
    LocaleInfo{0x0816, "PTG", "Portuguese (Portugal)"},
    LocaleInfo{0x081A, "SRL", "Serbian (Latin, Serbia and Montenegro (Former))"},
    LocaleInfo{0x081D, "SVF", "Swedish (Finland)"},
    LocaleInfo{0x082C, "AZC", "Azeri (Cyrillic, Azerbaijan)"},
    LocaleInfo{0x082E, "DSB", "Lower Sorbian (Germany)"},
    LocaleInfo{0x083B, "SMF", "Sami, Northern (Sweden)"},
    LocaleInfo{0x083C, "IRE", "Irish (Ireland)"},
    LocaleInfo{0x083E, "MSB", "Malay (Brunei Darussalam)"},
    LocaleInfo{0x0845, "BNB", "Bengali (Bangladesh)"},
    LocaleInfo{0x0850, "MNG", "Mongolian (Traditional Mongolian, PRC)"},
    LocaleInfo{0x085D, "IUK", "Inuktitut (Latin, Canada)"},
    LocaleInfo{0x085F, "TZM", "Tamazight (Latin, Algeria)"},
    LocaleInfo{0x086B, "QUE", "Quechua (Ecuador)"},
    LocaleInfo{0x0C01, "ARE", "Arabic (Egypt)"},
    LocaleInfo{0x0C04, "ZHH", "Chinese (Traditional, Hong Kong S.A.R.)"},
    LocaleInfo{0x0C07, "DEA", "German (Austria)"},
    LocaleInfo{0x0C09, "ENA", "English (Australia)"},
    LocaleInfo{0x0C0A, "ESN", "Spanish (Spain, International Sort)"},
    LocaleInfo{0x0C0C, "FRC", "French (Canada)"},
    LocaleInfo{0x0C1A, "SRB", "Serbian (Cyrillic, Serbia and Montenegro (Former))"},
    LocaleInfo{0x0C3B, "SMG", "Sami, Northern (Finland)"},
    LocaleInfo{0x0C6B, "QUP", "Quechua (Peru)"},
    LocaleInfo{0x1001, "ARL", "Arabic (Libya)"},
    LocaleInfo{0x1004, "ZHI", "Chinese (Simplified, Singapore)"},
    LocaleInfo{0x1007, "DEL", "German (Luxembourg)"},
    LocaleInfo{0x1009, "ENC", "English (Canada)"},
    LocaleInfo{0x100A, "ESG", "Spanish (Guatemala)"},
    LocaleInfo{0x100C, "FRS", "French (Switzerland)"},
    LocaleInfo{0x101A, "HRB", "Croatian (Latin, Bosnia and Herzegovina)"},
    LocaleInfo{0x103B, "SMJ", "Sami, Lule (Norway)"},
    LocaleInfo{0x1401, "ARG", "Arabic (Algeria)"},
    LocaleInfo{0x1404, "ZHM", "Chinese (Traditional, Macao S.A.R.)"},
    LocaleInfo{0x1407, "DEC", "German (Liechtenstein)"},
    LocaleInfo{0x1409, "ENZ", "English (New Zealand)"},
    LocaleInfo{0x140A, "ESC", "Spanish (Costa Rica)"},
    LocaleInfo{0x140C, "FRL", "French (Luxembourg)"},
    LocaleInfo{0x141A, "BSB", "Bosnian (Latin, Bosnia and Herzegovina)"},
    LocaleInfo{0x143B, "SMK", "Sami, Lule (Sweden)"},
    LocaleInfo{0x1801, "ARM", "Arabic (Morocco)"},
    LocaleInfo{0x1809, "ENI", "English (Ireland)"},
    LocaleInfo{0x180A, "ESA", "Spanish (Panama)"},
    LocaleInfo{0x180C, "FRM", "French (Monaco)"},
    LocaleInfo{0x181A, "SRS", "Serbian (Latin, Bosnia and Herzegovina)"},
    LocaleInfo{0x183B, "SMA", "Sami, Southern (Norway)"},
    LocaleInfo{0x1C01, "ART", "Arabic (Tunisia)"},
    LocaleInfo{0x1C09, "ENS", "English (South Africa)"},
    LocaleInfo{0x1C0A, "ESD", "Spanish (Dominican Republic)"},
    LocaleInfo{0x1C1A, "SRN", "Serbian (Cyrillic, Bosnia and Herzegovina)"},
    LocaleInfo{0x1C3B, "SMB", "Sami, Southern (Sweden)"},
    LocaleInfo{0x2001, "ARO", "Arabic (Oman)"},
    LocaleInfo{0x2009, "ENJ", "English (Jamaica)"},
    LocaleInfo{0x200A, "ESV", "Spanish (Venezuela)"},
    LocaleInfo{0x201A, "BSC", "Bosnian (Cyrillic, Bosnia and Herzegovina)"},
    LocaleInfo{0x203B, "SMS", "Sami, Skolt (Finland)"},
    LocaleInfo{0x2401, "ARY", "Arabic (Yemen)"},
    LocaleInfo{0x2409, "ENB", "English (Caribbean)"},
    LocaleInfo{0x240A, "ESO", "Spanish (Colombia)"},
    LocaleInfo{0x241A, "SRM", "Serbian (Latin, Serbia)"},
    LocaleInfo{0x243B, "SMN", "Sami, Inari (Finland)"},
    LocaleInfo{0x2801, "ARS", "Arabic (Syria)"},
    LocaleInfo{0x2809, "ENL", "English (Belize)"},
    LocaleInfo{0x280A, "ESR", "Spanish (Peru)"},
    LocaleInfo{0x281A, "SRO", "Serbian (Cyrillic, Serbia)"},
    LocaleInfo{0x2C01, "ARJ", "Arabic (Jordan)"},
    LocaleInfo{0x2C09, "ENT", "English (Trinidad and Tobago)"},
    LocaleInfo{0x2C0A, "ESS", "Spanish (Argentina)"},
    LocaleInfo{0x2C1A, "SRP", "Serbian (Latin, Montenegro)"},
    LocaleInfo{0x3001, "ARB", "Arabic (Lebanon)"},
    LocaleInfo{0x3009, "ENW", "English (Zimbabwe)"},
    LocaleInfo{0x300A, "ESF", "Spanish (Ecuador)"},
    LocaleInfo{0x301A, "SRQ", "Serbian (Cyrillic, Montenegro)"},
    LocaleInfo{0x3401, "ARK", "Arabic (Kuwait)"},
    LocaleInfo{0x3409, "ENP", "English (Republic of the Philippines)"},
    LocaleInfo{0x340A, "ESL", "Spanish (Chile)"},
    LocaleInfo{0x3801, "ARU", "Arabic (U.A.E.)"},
    LocaleInfo{0x380A, "ESY", "Spanish (Uruguay)"},
    LocaleInfo{0x3C01, "ARH", "Arabic (Bahrain)"},
    LocaleInfo{0x3C0A, "ESZ", "Spanish (Paraguay)"},
    LocaleInfo{0x4001, "ARQ", "Arabic (Qatar)"},
    LocaleInfo{0x4009, "ENN", "English (India)"},
    LocaleInfo{0x400A, "ESB", "Spanish (Bolivia)"},
    LocaleInfo{0x4409, "ENM", "English (Malaysia)"},
    LocaleInfo{0x440A, "ESE", "Spanish (El Salvador)"},
    LocaleInfo{0x4809, "ENE", "English (Singapore)"},
    LocaleInfo{0x480A, "ESH", "Spanish (Honduras)"},
    LocaleInfo{0x4C0A, "ESI", "Spanish (Nicaragua)"},
    LocaleInfo{0x500A, "ESU", "Spanish (Puerto Rico)"},
    LocaleInfo{0x540A, "EST", "Spanish (United States)"},
};

constexpr std::uint32_t PrimaryLanguage(std::uint32_t Lcid) {
    return Lcid & 0x3FF;
}

// Languages written in Latin and Cyrillic letters: their Cyrillic locales use 1251, the Latin
// ones the page given with the language.
bool IsCyrillicLocale(std::uint32_t Lcid) {
    const LocaleInfo* Locale = FindLocale(Lcid);
    return Locale && Locale->Name.find("Cyrillic") != std::string_view::npos;
}

} // namespace

int AnsiCodePageOf(std::uint32_t Lcid) {
    switch (PrimaryLanguage(Lcid)) {
    case 0x01: // Arabic
    case 0x20: // Urdu
    case 0x29: // Persian
    case 0x80: // Uyghur
    case 0x8C: // Dari
        return 1256;
    case 0x02: // Bulgarian
    case 0x19: // Russian
    case 0x22: // Ukrainian
    case 0x23: // Belarusian
    case 0x28: // Tajik
    case 0x2F: // Macedonian
    case 0x3F: // Kazakh
    case 0x40: // Kyrgyz
    case 0x44: // Tatar
    case 0x6D: // Bashkir
    case 0x85: // Yakut
        return 1251;
    case 0x04: { // Chinese: Simplified in the PRC and Singapore, Traditional elsewhere
        const std::uint32_t Sub = Lcid >> 10;
        return Sub == 2 || Sub == 4 ? 936 : 950;
    }
    case 0x05: // Czech
    case 0x0E: // Hungarian
    case 0x15: // Polish
    case 0x18: // Romanian
    case 0x1B: // Slovak
    case 0x1C: // Albanian
    case 0x24: // Slovenian
    case 0x42: // Turkmen
        return 1250;
    case 0x1A: // Croatian, Serbian, Bosnian
        return IsCyrillicLocale(Lcid) ? 1251 : 1250;
    case 0x08:
        return 1253;
    case 0x0D:
        return 1255;
    case 0x11:
        return 932;
    case 0x12:
        return 949;
    case 0x1E:
        return 874;
    case 0x1F: // Turkish
        return 1254;
    case 0x2C: // Azeri
    case 0x43: // Uzbek
        return IsCyrillicLocale(Lcid) ? 1251 : 1254;
    case 0x25: // Estonian
    case 0x26: // Latvian
    case 0x27: // Lithuanian
        return 1257;
    case 0x2A:
        return 1258;
    case 0x50: // Mongolian: Cyrillic in Mongolia, the traditional script has no 8-bit page
        return Lcid == 0x0450 ? 1251 : 0;
    case 0x5D: // Inuktitut: syllabics have no 8-bit page
        return Lcid == 0x085D ? 1252 : 0;
    case 0x2B: // Armenian
    case 0x37: // Georgian
    case 0x39: // Hindi
    case 0x3A: // Maltese
    case 0x45:
    case 0x46:
    case 0x47:
    case 0x48:
    case 0x49:
    case 0x4A:
    case 0x4B:
    case 0x4C:
    case 0x4D:
    case 0x4E:
    case 0x4F: // the languages of India
    case 0x51: // Tibetan
    case 0x53: // Khmer
    case 0x54: // Lao
    case 0x57: // Konkani
    case 0x5A: // Syriac
    case 0x5B: // Sinhala
    case 0x5E: // Amharic
    case 0x61: // Nepali
    case 0x63: // Pashto
    case 0x65: // Divehi
    case 0x78: // Yi
    case 0x81: // Maori
        return 0;
    default:
        return 1252;
    }
}

std::span<const LocaleInfo> SystemLocales() {
    return kLocales;
}

const LocaleInfo* FindLocale(std::uint32_t Lcid) {
    const auto It =
        std::lower_bound(kLocales.begin(), kLocales.end(), Lcid,
                         [](const LocaleInfo& L, std::uint32_t Id) { return L.Lcid < Id; });
    return It != kLocales.end() && It->Lcid == Lcid ? &*It : nullptr;
}

std::vector<const LocaleInfo*> LocalesWithAbbreviation(std::string_view Abbreviation) {
    std::vector<const LocaleInfo*> Found;
    for (const LocaleInfo& L : kLocales) {
        if (L.Abbreviation == Abbreviation)
            Found.push_back(&L);
    }
    return Found;
}

const LocaleInfo* FindLocaleByAbbreviation(std::string_view Abbreviation) {
    const auto It = std::find_if(kLocales.begin(), kLocales.end(), [&](const LocaleInfo& L) {
        return L.Abbreviation == Abbreviation;
    });
    return It != kLocales.end() ? &*It : nullptr;
}

} // namespace kav
