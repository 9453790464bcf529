#include "exchange/RtfReader.h"

#include "text/CodePage.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <map>

namespace kav {

namespace {

enum class TDest : std::uint8_t { Text, FontTable, Skip };

struct TGroupState {
    int Font = -1;
    int Uc = 1;
    bool Hidden = false;
    TDest Dest = TDest::Text;
};

struct TFontDef {
    int Charset = -1;
    int CodePage = 0;
};

// Destinations whose content is never shown, kept sorted for the binary search.
// clang-format off
constexpr std::array<std::string_view, 79> kSkipped{
    "aftncn", "aftnsep", "aftnsepc", "annotation", "atnauthor", "atndate", "atnicn", "atnid",
    "atnparent", "atnref", "atntime", "atrfend", "atrfstart", "author", "bkmkend", "bkmkstart",
    "buptim", "category", "colorschememapping", "colortbl", "comment", "company", "creatim",
    "datastore", "do", "doccomm", "docvar", "falt", "fchars", "fldinst", "fontemb", "fontfile",
    "footer", "footerf", "footerl", "footerr", "footnote", "ftncn", "ftnsep", "ftnsepc",
    "generator", "header", "headerf", "headerl", "headerr", "hlinkbase", "info", "keywords",
    "latentstyles", "lchars", "listoverridetable", "listpicture", "listtable", "manager",
    "mmathPr", "nonshppict", "objdata", "object", "operator", "panose", "pgdsctbl", "pict", "pn",
    "pnseclvl", "pntxta", "pntxtb", "printim", "private", "revtbl", "revtim", "rsidtbl", "shpinst",
    "shppict", "stylesheet", "subject", "template", "themedata", "title", "xmlnstbl",
};
// clang-format on

static_assert(std::is_sorted(kSkipped.begin(), kSkipped.end()));

bool IsSkipped(std::string_view Word) {
    return std::binary_search(kSkipped.begin(), kSkipped.end(), Word);
}

struct TSpecialChar {
    std::string_view Word;
    char16_t Char;
};

constexpr std::array<TSpecialChar, 12> kSpecialChars{{{"bullet", 0x2022},
                                                      {"emdash", 0x2014},
                                                      {"emspace", 0x20},
                                                      {"endash", 0x2013},
                                                      {"enspace", 0x20},
                                                      {"ldblquote", 0x201C},
                                                      {"lquote", 0x2018},
                                                      {"qmspace", 0x20},
                                                      {"rdblquote", 0x201D},
                                                      {"rquote", 0x2019},
                                                      {"zwj", 0x200D},
                                                      {"zwnj", 0x200C}}};

bool IsLetter(char C) {
    return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z');
}

bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

int HexValue(char C) {
    if (IsDigit(C))
        return C - '0';
    if (C >= 'a' && C <= 'f')
        return C - 'a' + 10;
    if (C >= 'A' && C <= 'F')
        return C - 'A' + 10;
    return -1;
}

bool IsAscii(const std::string& Bytes) {
    return std::all_of(Bytes.begin(), Bytes.end(),
                       [](char C) { return static_cast<unsigned char>(C) < 0x80; });
}

// Font numbers beyond this many definitions are ignored, which bounds the table's memory.
constexpr std::size_t MaxFonts = 4096;
constexpr std::size_t MaxWordLength = 32;
constexpr int DefaultRtfCodePage = 1252;

class TRtfParser {
public:
    TRtfParser(std::string_view Bytes, const TRtfLimits& Limits, int KeepCodePage)
        : In(Bytes), Limits(Limits), KeepCodePage(KeepCodePage) {}
    TRtfText Run();

private:
    void Fail(const std::string& What);
    void OpenGroup();
    void CloseGroup();
    void ReadControl();
    void ReadControlWord();
    void ControlWord(std::string_view Word, bool HasParam, int Param);
    void FontTableWord(std::string_view Word, int Param);
    void TextWord(std::string_view Word, bool HasParam, int Param);
    void DocumentWord(std::string_view Word, int Param);
    void ControlSymbol(char C);
    void HexEscape();
    void SkipBinary(int Count);
    void TextByte(unsigned char B);
    bool SkipReplacement();
    bool TakesReplacement(char16_t C) const;
    bool IsRunPadding(char16_t C) const;
    bool Visible() const { return Cur.Dest == TDest::Text && !Cur.Hidden; }
    void AppendByte(unsigned char B);
    void AppendChar(char16_t C);
    void Flush();
    void EndLine();
    int CurrentCodePage() const;
    void SetDocCodePage(int CodePage);

    std::string_view In;
    std::size_t Pos = 0;
    TRtfLimits Limits;
    int KeepCodePage = 0;
    std::vector<TGroupState> Stack;
    TGroupState Cur;
    std::map<int, TFontDef> Fonts;
    int DefiningFont = -1;
    int DocCodePage = DefaultRtfCodePage;
    int DefaultFont = 0;
    int SkipCount = 0;
    std::string Pending;
    int PendingCodePage = 0;
    QString Line;
    std::vector<QString> Lines;
    std::string Error;
    bool Finished = false;
};

TRtfText TRtfParser::Run() {
    while (Pos < In.size() && Error.empty() && !Finished) {
        const char C = In[Pos++];
        switch (C) {
        case '{':
            OpenGroup();
            break;
        case '}':
            CloseGroup();
            break;
        case '\\':
            ReadControl();
            break;
        case '\r':
        case '\n':
            break;
        default:
            TextByte(static_cast<unsigned char>(C));
        }
    }
    if (Error.empty() && !Finished)
        Fail("the document ends before its last group is closed");
    Flush();
    // The unfinished last paragraph counts against the limit like any other.
    if (!Line.isEmpty()) {
        if (Lines.size() >= Limits.MaxLines)
            Fail("it holds too many paragraphs");
        else
            Lines.push_back(std::move(Line));
    }
    return {std::move(Lines), std::move(Error)};
}

void TRtfParser::Fail(const std::string& What) {
    if (Error.empty())
        Error = "The RTF document is damaged at byte " + std::to_string(Pos) + ": " + What + ".";
}

void TRtfParser::OpenGroup() {
    if (Stack.size() >= static_cast<std::size_t>(Limits.MaxDepth))
        return Fail("its groups are nested too deeply");
    SkipCount = 0;
    Stack.push_back(Cur);
}

void TRtfParser::CloseGroup() {
    SkipCount = 0;
    Cur = Stack.back();
    Stack.pop_back();
    // Anything after the document's outer group is not part of it.
    Finished = Stack.empty();
}

void TRtfParser::ReadControl() {
    if (Pos >= In.size())
        return Fail("it ends inside a control word");
    if (IsLetter(In[Pos]))
        return ReadControlWord();
    ControlSymbol(In[Pos++]);
}

void TRtfParser::ReadControlWord() {
    const std::size_t Start = Pos;
    while (Pos < In.size() && IsLetter(In[Pos]))
        ++Pos;
    const std::string_view Word = In.substr(Start, std::min(Pos - Start, MaxWordLength));
    bool Negative = false;
    if (Pos + 1 < In.size() && In[Pos] == '-' && IsDigit(In[Pos + 1])) {
        Negative = true;
        ++Pos;
    }
    bool HasParam = false;
    long long Value = 0;
    for (; Pos < In.size() && IsDigit(In[Pos]); ++Pos) {
        HasParam = true;
        if (Value <= INT_MAX)
            Value = Value * 10 + (In[Pos] - '0');
    }
    Value = std::min<long long>(Value, INT_MAX);
    if (Pos < In.size() && In[Pos] == ' ')
        ++Pos;
    ControlWord(Word, HasParam, static_cast<int>(Negative ? -Value : Value));
}

void TRtfParser::ControlWord(std::string_view Word, bool HasParam, int Param) {
    if (Word == "bin")
        return SkipBinary(HasParam ? Param : 0);
    switch (Cur.Dest) {
    case TDest::Skip:
        return;
    case TDest::FontTable:
        return FontTableWord(Word, Param);
    case TDest::Text:
        break;
    }
    if (Word == "fonttbl") {
        Cur.Dest = TDest::FontTable;
        return;
    }
    if (IsSkipped(Word)) {
        Cur.Dest = TDest::Skip;
        return;
    }
    TextWord(Word, HasParam, Param);
}

void TRtfParser::FontTableWord(std::string_view Word, int Param) {
    if (Word == "f") {
        DefiningFont = Param;
        if (Fonts.size() < MaxFonts)
            Fonts.try_emplace(Param);
        return;
    }
    auto It = Fonts.find(DefiningFont);
    if (It == Fonts.end())
        return;
    if (Word == "fcharset")
        It->second.Charset = Param;
    else if (Word == "cpg")
        It->second.CodePage = Param;
}

void TRtfParser::TextWord(std::string_view Word, bool HasParam, int Param) {
    if (Word == "u") {
        const bool Dropped = SkipReplacement();
        if (!Dropped && Visible() && Param >= -32768 && Param <= 65535) {
            const auto C = static_cast<char16_t>(Param < 0 ? Param + 65536 : Param);
            if (IsRunPadding(C)) {
                SkipCount = Cur.Uc;
                return;
            }
            if (TakesReplacement(C)) {
                SkipCount = 0;
                return;
            }
            AppendChar(C);
        }
        SkipCount = Cur.Uc;
        return;
    }
    if (Word == "uc") {
        Cur.Uc = std::max(0, Param);
        return;
    }
    if (SkipReplacement())
        return;
    if (Word == "par" || Word == "line" || Word == "sect" || Word == "page" || Word == "row" ||
        Word == "nestrow")
        return EndLine();
    if (Word == "tab" || Word == "cell" || Word == "nestcell") {
        if (Visible())
            AppendChar(u'\t');
        return;
    }
    if (Word == "f") {
        Cur.Font = Param;
    } else if (Word == "plain") {
        Cur.Hidden = false;
    } else if (Word == "v") {
        Cur.Hidden = !HasParam || Param != 0;
    } else {
        for (const TSpecialChar& Special : kSpecialChars)
            if (Word == Special.Word) {
                if (Visible())
                    AppendChar(Special.Char);
                return;
            }
        DocumentWord(Word, Param);
    }
}

void TRtfParser::DocumentWord(std::string_view Word, int Param) {
    if (Word == "ansicpg")
        SetDocCodePage(Param);
    else if (Word == "ansi")
        SetDocCodePage(1252);
    else if (Word == "mac")
        SetDocCodePage(10000);
    else if (Word == "pc")
        SetDocCodePage(437);
    else if (Word == "pca")
        SetDocCodePage(850);
    else if (Word == "deff")
        DefaultFont = Param;
}

void TRtfParser::SetDocCodePage(int CodePage) {
    DocCodePage = IsSupportedCodePage(CodePage) ? CodePage : DefaultRtfCodePage;
}

void TRtfParser::ControlSymbol(char C) {
    if (C == '\'')
        return HexEscape();
    if (C == '*') {
        // Marks a destination that a reader which does not know it must skip.
        Cur.Dest = TDest::Skip;
        return;
    }
    if (SkipReplacement())
        return;
    switch (C) {
    case '\\':
    case '{':
    case '}':
        if (Visible())
            AppendByte(static_cast<unsigned char>(C));
        break;
    case '~':
        if (Visible())
            AppendChar(0x00A0);
        break;
    case '_':
        if (Visible())
            AppendChar(u'-');
        break;
    case '\n':
    case '\r':
        if (Cur.Dest == TDest::Text)
            EndLine();
        break;
    default:
        break;
    }
}

void TRtfParser::HexEscape() {
    if (Pos + 2 > In.size())
        return Fail("it ends inside a hexadecimal escape");
    const int High = HexValue(In[Pos]);
    const int Low = HexValue(In[Pos + 1]);
    if (High < 0 || Low < 0)
        return;
    Pos += 2;
    if (SkipReplacement() || !Visible())
        return;
    AppendByte(static_cast<unsigned char>(High * 16 + Low));
}

void TRtfParser::SkipBinary(int Count) {
    const std::size_t Size = static_cast<std::size_t>(std::max(0, Count));
    if (Size > In.size() - Pos)
        return Fail("its binary data runs past the end");
    Pos += Size;
    SkipReplacement();
}

void TRtfParser::TextByte(unsigned char B) {
    if (SkipReplacement() || !Visible())
        return;
    if (B == '\t')
        AppendChar(u'\t');
    else if (B >= 0x20)
        AppendByte(B);
}

bool TRtfParser::SkipReplacement() {
    if (SkipCount <= 0)
        return false;
    --SkipCount;
    return true;
}

// True when the character after "\uN" cannot be kept and the replacement the document gives
// for it is worth reading instead. A lone "?" is the writers' sign for "no equivalent": taking
// it would store a question mark where the translator wrote a letter.
bool TRtfParser::TakesReplacement(char16_t C) const {
    if (KeepCodePage == 0 || Cur.Uc <= 0 || Pos >= In.size())
        return false;
    if (In[Pos] == '?' || In.substr(Pos, 4) == "\\'3f" || In.substr(Pos, 4) == "\\'3F")
        return false;
    return !EncodeText(QString(QChar(C)), KeepCodePage).Ok();
}

// LibreOffice keeps the width of a run of blanks by writing each of its blanks as a
// six-per-em space followed by the blank itself ("a\u8198\'20 \u8198\'20 b" for two): the
// space, whose replacement is a blank too, is padding that the blank after it stands for.
bool TRtfParser::IsRunPadding(char16_t C) const {
    if (C != 0x2006)
        return false;
    const std::string_view Rest = In.substr(Pos);
    if (Cur.Uc == 0)
        return Rest.substr(0, 1) == " ";
    return Cur.Uc == 1 && (Rest.substr(0, 5) == "\\'20 " || Rest.substr(0, 2) == "  ");
}

int TRtfParser::CurrentCodePage() const {
    auto It = Fonts.find(Cur.Font >= 0 ? Cur.Font : DefaultFont);
    if (It == Fonts.end())
        return DocCodePage;
    if (It->second.CodePage > 0 && IsSupportedCodePage(It->second.CodePage))
        return It->second.CodePage;
    if (It->second.Charset < 0)
        return DocCodePage;
    const int CodePage = CodePageForCharset(It->second.Charset);
    return IsSupportedCodePage(CodePage) ? CodePage : DocCodePage;
}

void TRtfParser::AppendByte(unsigned char B) {
    const int CodePage = CurrentCodePage();
    if (!Pending.empty() && CodePage != PendingCodePage)
        Flush();
    PendingCodePage = CodePage;
    Pending += static_cast<char>(B);
}

void TRtfParser::Flush() {
    if (Pending.empty())
        return;
    if (IsAscii(Pending))
        Line += QLatin1String(Pending.data(), static_cast<qsizetype>(Pending.size()));
    else
        Line += DecodeBytes(Pending, PendingCodePage);
    Pending.clear();
}

void TRtfParser::AppendChar(char16_t C) {
    Flush();
    Line += QChar(C);
}

void TRtfParser::EndLine() {
    Flush();
    if (Lines.size() >= Limits.MaxLines)
        return Fail("it holds too many paragraphs");
    Lines.push_back(std::move(Line));
    Line.clear();
}

TRtfText ReadPlainText(std::string_view Bytes, int CodePage, const TRtfLimits& Limits) {
    TRtfText Result;
    std::size_t Start = 0;
    while (Start < Bytes.size()) {
        if (Result.Lines.size() >= Limits.MaxLines) {
            Result.Error = "The file holds too many lines.";
            break;
        }
        std::size_t End = Bytes.find_first_of("\r\n", Start);
        if (End == std::string_view::npos)
            End = Bytes.size();
        Result.Lines.push_back(DecodeBytes(Bytes.substr(Start, End - Start), CodePage));
        if (End + 1 < Bytes.size() && Bytes[End] == '\r' && Bytes[End + 1] == '\n')
            ++End;
        Start = End + 1;
    }
    return Result;
}

} // namespace

TRtfText ReadRtf(std::string_view Bytes, int PlainCodePage, const TRtfLimits& Limits,
                 int KeepCodePage) {
    if (Bytes.substr(0, 5) != "{\\rtf")
        return ReadPlainText(Bytes, PlainCodePage, Limits);
    return TRtfParser(Bytes, Limits, KeepCodePage).Run();
}

} // namespace kav
