#include "text/CodePage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace kav {

namespace {

// Undefined bytes of a single-byte page decode to private-use characters so that they
// survive a decode/encode round trip unchanged.
constexpr char16_t UndefinedBase = 0xF700;

struct SingleBytePage {
    std::array<char16_t, 256> ToUnicode{};
    std::unordered_map<char16_t, unsigned char> FromUnicode;
};

const SingleBytePage* BuildSingleBytePage(int CodePage) {
    QStringDecoder Decoder(CodePageName(CodePage));
    if (!Decoder.isValid())
        return nullptr;
    auto Page = std::make_unique<SingleBytePage>();
    for (int b = 0; b < 256; ++b) {
        const char Byte = static_cast<char>(b);
        Decoder.resetState();
        QString U = Decoder.decode(QByteArrayView(&Byte, 1));
        char16_t Ch = (U.size() == 1 && U[0].unicode() != 0xFFFD)
                          ? U[0].unicode()
                          : static_cast<char16_t>(UndefinedBase + b);
        Page->ToUnicode[static_cast<size_t>(b)] = Ch;
        Page->FromUnicode.emplace(Ch, static_cast<unsigned char>(b));
    }
    return Page.release();
}

const SingleBytePage* SingleByte(int CodePage) {
    static std::mutex Lock;
    static std::map<int, std::unique_ptr<const SingleBytePage>> Pages;
    std::lock_guard<std::mutex> Guard(Lock);
    auto It = Pages.find(CodePage);
    if (It == Pages.end())
        It = Pages.emplace(CodePage, BuildSingleBytePage(CodePage)).first;
    return It->second.get();
}

bool AppendMapped(const SingleBytePage& Page, const QString& Chars, std::string& Out) {
    std::string Bytes;
    for (QChar Ch : Chars) {
        auto It = Page.FromUnicode.find(Ch.unicode());
        if (It == Page.FromUnicode.end())
            return false;
        Bytes += static_cast<char>(It->second);
    }
    Out += Bytes;
    return true;
}

// Vietnamese (1258) stores many letters as a base letter plus a combining mark. A precomposed
// character the page lacks is written as its decomposition, or as the composition of all but
// one mark followed by that mark ("ệ" is "ê" and the combining dot below).
bool EncodeDecomposed(const SingleBytePage& Page, QChar Ch, std::string& Out) {
    const QString Parts = QString(Ch).normalized(QString::NormalizationForm_D);
    if (Parts.size() < 2)
        return false;
    if (AppendMapped(Page, Parts, Out))
        return true;
    for (qsizetype j = 1; j < Parts.size(); ++j) {
        QString Rest = Parts;
        Rest.remove(j, 1);
        QString Composed = Rest.normalized(QString::NormalizationForm_C);
        if (Composed.size() == 1 && AppendMapped(Page, Composed + Parts[j], Out))
            return true;
    }
    return false;
}

EncodeResult EncodeSingleByte(const SingleBytePage& Page, const QString& Text) {
    EncodeResult Result;
    std::string Out;
    Out.reserve(static_cast<size_t>(Text.size()));
    for (qsizetype i = 0; i < Text.size(); ++i) {
        QChar Ch = Text[i];
        auto It = Page.FromUnicode.find(Ch.unicode());
        if (It != Page.FromUnicode.end()) {
            Out += static_cast<char>(It->second);
            continue;
        }
        if (EncodeDecomposed(Page, Ch, Out))
            continue;
        Result.BadPos = i;
        Result.BadChar = Ch.isHighSurrogate() && i + 1 < Text.size() ? Text.mid(i, 2) : QString(Ch);
        return Result;
    }
    Result.Bytes = std::move(Out);
    return Result;
}

EncodeResult EncodeDoubleByte(const QString& Text, int CodePage) {
    EncodeResult Result;
    QStringEncoder Encoder(CodePageName(CodePage));
    QByteArray Bytes = Encoder.encode(Text);
    if (!Encoder.hasError()) {
        Result.Bytes = std::string(Bytes.constData(), static_cast<size_t>(Bytes.size()));
        return Result;
    }
    // Find the first character that fails on its own, for the message.
    for (qsizetype i = 0; i < Text.size(); ++i) {
        qsizetype Len = Text[i].isHighSurrogate() && i + 1 < Text.size() ? 2 : 1;
        QStringEncoder One(CodePageName(CodePage));
        QByteArray Ignored = One.encode(Text.mid(i, Len));
        if (One.hasError()) {
            Result.BadPos = i;
            Result.BadChar = Text.mid(i, Len);
            return Result;
        }
        i += Len - 1;
    }
    Result.BadPos = 0;
    Result.BadChar = Text.left(1);
    return Result;
}

} // namespace

std::optional<int> AnsiCodePageOverride() {
    const char* Env = std::getenv("KAVTOOL_ANSI_CODEPAGE");
    if (!Env || !*Env)
        return std::nullopt;
    const int Page = std::atoi(Env);
    return IsSupportedCodePage(Page) ? std::optional<int>(Page) : std::nullopt;
}

int SystemAnsiCodePage() {
    return AnsiCodePageOverride().value_or(1252);
}

namespace {

struct TCharsetPage {
    int Charset;
    int CodePage;
};

constexpr std::array<TCharsetPage, 14> kCharsetPages{{{0, 1252},
                                                      {161, 1253},
                                                      {162, 1254},
                                                      {163, 1258},
                                                      {177, 1255},
                                                      {178, 1256},
                                                      {186, 1257},
                                                      {204, 1251},
                                                      {222, 874},
                                                      {238, 1250},
                                                      {128, 932},
                                                      {129, 949},
                                                      {134, 936},
                                                      {136, 950}}};

} // namespace

int CodePageForCharset(int Charset) {
    for (const TCharsetPage& Entry : kCharsetPages)
        if (Entry.Charset == Charset)
            return Entry.CodePage;
    return SystemAnsiCodePage();
}

int CharsetOfCodePage(int CodePage) {
    for (const TCharsetPage& Entry : kCharsetPages)
        if (Entry.CodePage == CodePage)
            return Entry.Charset;
    return 0;
}

bool IsDoubleByteCodePage(int CodePage) {
    return CodePage == 932 || CodePage == 936 || CodePage == 949 || CodePage == 950;
}

bool IsLeadByte(int CodePage, unsigned char Byte) {
    switch (CodePage) {
    case 932:
        return (Byte >= 0x81 && Byte <= 0x9F) || (Byte >= 0xE0 && Byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return Byte >= 0x81 && Byte <= 0xFE;
    default:
        return false;
    }
}

const char* CodePageName(int CodePage) {
    switch (CodePage) {
    case 874:
        return "windows-874";
    case 932:
        return "windows-932";
    case 936:
        return "windows-936";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1252:
        return "windows-1252";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    default:
        return "";
    }
}

bool IsSupportedCodePage(int CodePage) {
    return *CodePageName(CodePage) != '\0';
}

QString DecodeBytes(std::string_view Bytes, int CodePage) {
    if (!IsSupportedCodePage(CodePage))
        CodePage = 1252;
    if (IsDoubleByteCodePage(CodePage)) {
        QStringDecoder Decoder(CodePageName(CodePage));
        return Decoder.decode(QByteArrayView(Bytes.data(), static_cast<qsizetype>(Bytes.size())));
    }
    const SingleBytePage* Page = SingleByte(CodePage);
    if (!Page)
        return QString::fromLatin1(Bytes.data(), static_cast<qsizetype>(Bytes.size()));
    QString Out(static_cast<qsizetype>(Bytes.size()), Qt::Uninitialized);
    QChar* Dest = Out.data();
    for (size_t i = 0; i < Bytes.size(); ++i)
        Dest[i] = QChar(Page->ToUnicode[static_cast<unsigned char>(Bytes[i])]);
    return Out;
}

EncodeResult EncodeText(const QString& Text, int CodePage) {
    if (!IsSupportedCodePage(CodePage))
        CodePage = 1252;
    if (IsDoubleByteCodePage(CodePage))
        return EncodeDoubleByte(Text, CodePage);
    const SingleBytePage* Page = SingleByte(CodePage);
    if (!Page) {
        EncodeResult Failed;
        Failed.BadPos = 0;
        Failed.BadChar = Text.left(1);
        return Failed;
    }
    return EncodeSingleByte(*Page, Text);
}

QString UnrepresentableMessage(const EncodeResult& Result, int CodePage) {
    return QStringLiteral("The character '%1' cannot be written in code page %2.")
        .arg(Result.BadChar, QString::fromLatin1(CodePageName(CodePage)));
}

} // namespace kav
