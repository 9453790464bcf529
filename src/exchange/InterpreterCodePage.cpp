#include "exchange/InterpreterCodePage.h"

#include <QString>
#include <QStringEncoder>

#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <langinfo.h>
#include <locale.h>
#endif

namespace kav {

namespace {

struct TLanguagePage {
    const char* Language; // ISO 639 code as Unix locale names start
    int CodePage;
};

// The OEM code page of each language's main Windows locale.
constexpr TLanguagePage LanguagePages[] = {
    {"en", 850}, {"fr", 850}, {"de", 850},  {"es", 850}, {"it", 850}, {"pt", 850}, {"nl", 850},
    {"da", 850}, {"sv", 850}, {"fi", 850},  {"nb", 850}, {"nn", 850}, {"no", 850}, {"is", 850},
    {"ca", 850}, {"eu", 850}, {"gl", 850},  {"ga", 850}, {"af", 850}, {"id", 850}, {"ms", 850},
    {"cs", 852}, {"sk", 852}, {"pl", 852},  {"hu", 852}, {"sl", 852}, {"hr", 852}, {"ro", 852},
    {"sq", 852}, {"bs", 852}, {"ru", 866},  {"uk", 866}, {"be", 866}, {"bg", 866}, {"kk", 866},
    {"el", 737}, {"tr", 857}, {"az", 857},  {"he", 862}, {"ar", 720}, {"lt", 775}, {"lv", 775},
    {"et", 775}, {"th", 874}, {"vi", 1258}, {"ja", 932}, {"ko", 949},
};

const char* ConverterName(int CodePage) {
    switch (CodePage) {
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1258:
        return "windows-1258";
    default:
        return nullptr;
    }
}

#ifndef _WIN32
// Whether the locale exists here and encodes in UTF-8: only then does Wine take its pages from
// it and reach file names beyond ASCII.
bool IsInstalledUtf8(const std::string& Name) {
    locale_t Locale = ::newlocale(LC_CTYPE_MASK, Name.c_str(), static_cast<locale_t>(0));
    if (Locale == static_cast<locale_t>(0))
        return false;
    const char* Codeset = ::nl_langinfo_l(CODESET, Locale);
    const bool Utf8 = Codeset && std::strcmp(Codeset, "UTF-8") == 0;
    ::freelocale(Locale);
    return Utf8;
}

std::string EnvironmentLocale() {
    for (const char* Variable : {"LC_ALL", "LC_CTYPE", "LANG"})
        if (const char* Value = std::getenv(Variable); Value && *Value)
            return Value;
    return "C";
}
#endif

} // namespace

int OemCodePageForLocale(std::string_view LocaleName) {
#ifdef _WIN32
    (void)LocaleName;
    return static_cast<int>(GetOEMCP());
#else
    if (!IsInstalledUtf8(std::string(LocaleName)))
        return AsciiOnly;
    const std::string_view Language = LocaleName.substr(0, LocaleName.find_first_of("_.@"));
    const std::string_view Territory = LocaleName.find('_') == std::string_view::npos
                                           ? std::string_view()
                                           : LocaleName.substr(LocaleName.find('_') + 1, 2);
    // The C locale is taken as United States English, like the language of its messages.
    if (Language == "C" || Language == "POSIX" || (Language == "en" && Territory == "US"))
        return 437;
    if (Language == "zh")
        return Territory == "TW" || Territory == "HK" || Territory == "MO" ? 950 : 936;
    for (const TLanguagePage& Page : LanguagePages)
        if (Language == Page.Language)
            return Page.CodePage;
    return AsciiOnly;
#endif
}

int InterpreterCodePage() {
#ifdef _WIN32
    return static_cast<int>(GetOEMCP());
#else
    return OemCodePageForLocale(EnvironmentLocale());
#endif
}

TOemText EncodeForInterpreter(const std::string& Text, int CodePage) {
    TOemText Result;
    const QString Unicode = QString::fromStdString(Text);
    const char* Name = ConverterName(CodePage);
    const QByteArray IbmName = "IBM" + QByteArray::number(CodePage);
    for (qsizetype I = 0; I < Unicode.size(); ++I) {
        const qsizetype Length = Unicode[I].isHighSurrogate() && I + 1 < Unicode.size() ? 2 : 1;
        const QString One = Unicode.mid(I, Length);
        I += Length - 1;
        if (One.size() == 1 && One[0].unicode() < 0x80) {
            Result.Bytes += static_cast<char>(One[0].unicode());
            continue;
        }
        QStringEncoder Encoder(Name ? Name : IbmName.constData());
        const QByteArray Bytes = CodePage == AsciiOnly ? QByteArray() : Encoder.encode(One);
        if (CodePage == AsciiOnly || !Encoder.isValid() || Encoder.hasError()) {
            Result.BadChar = One.toStdString();
            Result.Bytes.clear();
            return Result;
        }
        Result.Bytes.append(Bytes.constData(), static_cast<size_t>(Bytes.size()));
    }
    Result.Ok = true;
    return Result;
}

} // namespace kav
