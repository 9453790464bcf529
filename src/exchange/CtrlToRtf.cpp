#include "exchange/CtrlToRtf.h"

#include "document/ToolError.h"
#include "platform/FontInfo.h"
#include "text/CodePage.h"

#include <array>

#include <QFile>
#include <QSaveFile>

namespace kav {

namespace {

constexpr std::array<TColor, 16> kColorTable{
    clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
    clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};

std::string ColorEntry(TColor Color) {
    const auto Byte = [Color](int Shift) { return std::to_string((Color >> Shift) & 0xFF); };
    return "\\red" + Byte(0) + "\\green" + Byte(8) + "\\blue" + Byte(16) + ";";
}

std::string Repeated(const char* Word, int Count) {
    std::string Result;
    for (int i = 0; i < Count; ++i)
        Result += Word;
    return Result;
}

std::string StyleWords(TFontStyles Style) {
    std::string Result;
    if (Style & fsBold)
        Result += "\\b";
    if (Style & fsItalic)
        Result += "\\i";
    if (Style & fsUnderline)
        Result += "\\ul";
    if (Style & fsStrikeOut)
        Result += "\\strike";
    return Result;
}

const char* AlignmentWord(TRtfAlignment Alignment) {
    switch (Alignment) {
    case TRtfAlignment::Right:
        return "\\qr";
    case TRtfAlignment::Center:
        return "\\qc";
    case TRtfAlignment::Left:
        break;
    }
    return "";
}

} // namespace

TRealisedFont RealiseFont(const TMyFont& Font) {
    const QString Family = QString::fromStdString(Font.Name());
    return {RealisedCharset(Family, Font.Charset()), static_cast<int>(FamilyClassOf(Family))};
}

std::string CharsetWord(int Charset) {
    // Every set gets its number: a Cyrillic or Central European font without one would make
    // word processors (and the import) read its bytes as Western letters.
    return "fcharset" + std::to_string(Charset);
}

std::string FamilyWord(int PitchAndFamily) {
    switch (PitchAndFamily & 0xF0) {
    case 0x00:
        return "fdontcare";
    case 0x20:
        return "fswiss";
    case 0x30:
        return "fmodern";
    case 0x40:
        return "fscript";
    case 0x50:
        return "fdecorative";
    default:
        return "froman";
    }
}

int ColorIndex(TColor Color) {
    for (size_t i = 0; i < kColorTable.size(); ++i)
        if (kColorTable[i] == Color)
            return static_cast<int>(i);
    return -1;
}

std::string EscapeRtfText(std::string_view Text, int CodePage) {
    static const char Hex[] = "0123456789abcdef";
    const auto HexByte = [](std::string& Out, unsigned char B) {
        Out += "\\'";
        Out += Hex[B >> 4];
        Out += Hex[B & 0x0F];
    };
    const bool DoubleByte = IsDoubleByteCodePage(CodePage);
    std::string Result;
    Result.reserve(Text.size());
    for (size_t i = 0; i < Text.size(); ++i) {
        const auto B = static_cast<unsigned char>(Text[i]);
        if (DoubleByte && IsLeadByte(CodePage, B) && i + 1 < Text.size()) {
            HexByte(Result, B);
            HexByte(Result, static_cast<unsigned char>(Text[++i]));
            continue;
        }
        if (B == '\\' || B == '{' || B == '}')
            Result += '\\';
        Result += static_cast<char>(B);
    }
    return Result;
}

void TCtrlToRTF::AddFont(const TMyFont& Font) {
    AddFont(Font, RealiseFont(Font));
}

void TCtrlToRTF::AddFont(const TMyFont& Font, const TRealisedFont& Realised) {
    const std::string Name = EscapeRtfText(Font.Name());
    for (const std::string& Entry : FFontTable)
        if (Entry.find(Name) != std::string::npos)
            return;
    FFontTable.push_back("{\\f" + std::to_string(FFontTable.size()) + "\\" +
                         FamilyWord(Realised.PitchAndFamily) + "\\" +
                         CharsetWord(Realised.Charset) + " " + Name + ";}");
}

int TCtrlToRTF::FontIndex(const std::string& Name) const {
    for (size_t i = 0; i < FFontTable.size(); ++i)
        if (FFontTable[i].find(Name) != std::string::npos)
            return static_cast<int>(i);
    return 0;
}

void TCtrlToRTF::WriteHeader() {
    FStream += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl";
    for (const std::string& Entry : FFontTable)
        FStream += Entry;
    FStream += "}{\\colortbl";
    for (TColor Color : kColorTable)
        FStream += ColorEntry(Color);
    FStream += "}";
}

void TCtrlToRTF::AddText(std::string_view Text, int Tabs, int Pars, const TMyFont& Font,
                         TRtfAlignment Alignment) {
    std::string Run = Repeated(" \\par", Pars);
    Run += "\\pard";
    Run += AlignmentWord(Alignment);
    Run += "\\plain";
    Run += Repeated(" \\tab", Tabs);
    Run += "\\f" + std::to_string(FontIndex(EscapeRtfText(Font.Name())));
    Run += "\\fs" + std::to_string(2 * Font.Size());
    Run += StyleWords(Font.Style());
    if (int Index = ColorIndex(Font.Color()); Index >= 0)
        Run += "\\cf" + std::to_string(Index);
    Run += ' ';
    Run += EscapeRtfText(Text, FCodePage);
    FStream += Run;
}

void TCtrlToRTF::SaveToFile(const std::string& FileName) {
    FStream += "\r\n}}";
    QSaveFile File(QFile::decodeName(QByteArray::fromStdString(FileName)));
    if (!File.open(QIODevice::WriteOnly))
        throw ToolError("Cannot create file \"" + FileName + "\". " +
                        File.errorString().toStdString());
    const auto Size = static_cast<qint64>(FStream.size());
    if (File.write(FStream.data(), Size) != Size || !File.commit())
        throw ToolError("Cannot write file \"" + FileName + "\". " +
                        File.errorString().toStdString());
}

} // namespace kav
