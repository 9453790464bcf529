#include "document/StrFile.h"

#include "document/IoStatus.h"
#include "document/ToolError.h"
#include "text/IntConv.h"
#include "text/StringUtils.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace kav {

namespace {

constexpr size_t BlockSize = 1 << 16;
// A regular file is read in blocks of up to this size (in one block when it is smaller), so
// that nearly all lines are handed out as views into the block without copying. The callers
// copy what they keep, so a larger block would only add to the peak memory of a load, which
// holds the table being built at the same time.
constexpr size_t LargeBlockSize = size_t(1) << 20;
// A file read whole is held at once. A million items take some 130 MB, and read in blocks
// every line of them would be copied; far beyond that, a file (a stray binary, a file of one
// endless line) is read in blocks, and stops at its first line too long to take.
constexpr size_t LargestWholeFile = size_t(512) << 20;
constexpr size_t WholeReadStep = size_t(8) << 20;
constexpr char CtrlZ = 26;
constexpr const char* TempMark = ".kavtmp.";
constexpr size_t TempRandomLength = 6; // the XXXXXX of mkostemp

// Scans Data from From for LF or Ctrl+Z, stepping over two-byte characters. SkipFirst says that
// Data[From] is the trail byte of a character begun before it.
size_t FindDelimiterIn(std::string_view Data, size_t From, int CodePage, bool SkipFirst) {
    if (!IsDoubleByteCodePage(CodePage)) {
        if (From >= Data.size())
            return std::string_view::npos;
        // Two vectorised scans beat one loop over the bytes: the line end, then a Ctrl+Z
        // before it.
        const char* Begin = Data.data() + From;
        const size_t Rest = Data.size() - From;
        const void* Lf = std::memchr(Begin, '\n', Rest);
        const size_t Span = Lf ? static_cast<size_t>(static_cast<const char*>(Lf) - Begin) : Rest;
        if (const void* Z = std::memchr(Begin, CtrlZ, Span))
            return From + static_cast<size_t>(static_cast<const char*>(Z) - Begin);
        return Lf ? From + Span : std::string_view::npos;
    }
    for (size_t i = From + (SkipFirst ? 1 : 0); i < Data.size(); ++i) {
        unsigned char B = static_cast<unsigned char>(Data[i]);
        if (IsLeadByte(CodePage, B))
            ++i;
        else if (B == '\n' || B == CtrlZ)
            return i;
    }
    return std::string_view::npos;
}

// True when the scan of Data[From..] ends inside a two-byte character.
bool EndsOnLeadByte(std::string_view Data, size_t From, int CodePage, bool SkipFirst) {
    if (!IsDoubleByteCodePage(CodePage))
        return false;
    size_t i = From + (SkipFirst ? 1 : 0);
    bool Pending = false;
    for (; i < Data.size(); ++i) {
        if (IsLeadByte(CodePage, static_cast<unsigned char>(Data[i]))) {
            if (i + 1 == Data.size())
                Pending = true;
            ++i;
        }
    }
    return Pending;
}

void DropLineEndCr(std::string& Line) {
    if (!Line.empty() && Line.back() == '\r')
        Line.pop_back();
}

void DropLineEndCr(std::string_view& Line) {
    if (!Line.empty() && Line.back() == '\r')
        Line.remove_suffix(1);
}

// A copy of Line in which every trail byte of a two-byte character is replaced by a byte that
// is no delimiter, so that field searches only see single-byte characters.
std::string DelimiterView(std::string_view Line, int CodePage) {
    std::string View(Line);
    if (!IsDoubleByteCodePage(CodePage))
        return View;
    for (size_t i = 0; i < View.size(); ++i) {
        if (IsLeadByte(CodePage, static_cast<unsigned char>(View[i])) && i + 1 < View.size())
            View[++i] = '\x80';
    }
    return View;
}

// GetDelimited over the delimiter view, with the token taken from the line itself.
std::string_view Field(long long& P, std::string_view Line, std::string_view View, char Open,
                       char Close) {
    std::string_view Token = GetDelimitedView(P, View, Open, Close);
    if (Token.empty() || Line.data() == View.data())
        return Token;
    // The token always ends at P - 2 (before the closing character, or before the line's last
    // character when the closing one is missing).
    long long Start = P - 1 - static_cast<long long>(Token.size());
    return Line.substr(static_cast<size_t>(Start - 1), Token.size());
}

bool HasByte(std::string_view S, char B) {
    return S.find(B) != std::string_view::npos;
}

} // namespace

// ---- reading ---------------------------------------------------------------------------

StrLineReader::StrLineReader(int CodePage) : FCodePage(CodePage), FBuffer(BlockSize) {}

StrLineReader::~StrLineReader() {
    if (FFd >= 0)
        ::close(FFd);
}

int StrLineReader::Open(const std::string& Path) {
    FLine.clear();
    if (FFd >= 0)
        Close();
    FStatus = 0;
    FProblem = StrReadProblem::None;
    FFailedLine = 0;
    FLineNumber = 0;
    FEnded = false;
    FSkipTrail = false;
    FEndMarkLine = FLinesAfterEnd = FItemsAfterEnd = 0;
    FPos = FLen = 0;
    FFd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (FFd < 0)
        return FStatus = IoStatusFromErrno(errno);
    struct stat Info {};
    if (::fstat(FFd, &Info) == 0 && S_ISDIR(Info.st_mode)) {
        ::close(FFd);
        FFd = -1;
        return FStatus = ioAccessDenied;
    }
    // A small file in one read (one byte more so that its end is seen by the same read).
    const size_t Size = S_ISREG(Info.st_mode) && Info.st_size > 0
                            ? std::min(static_cast<size_t>(Info.st_size) + 1, LargeBlockSize)
                            : BlockSize;
    if (Size > FBuffer.size()) {
        FBuffer.clear();
        FBuffer.resize(Size);
    }
    FWhole = FWholeRead = false;
    return 0;
}

int StrLineReader::OpenWhole(const std::string& Path) {
    if (const int Status = Open(Path); Status != 0)
        return Status;
    struct stat Info {};
    if (::fstat(FFd, &Info) != 0 || !S_ISREG(Info.st_mode) ||
        static_cast<size_t>(Info.st_size) > LargestWholeFile)
        return 0; // read in blocks, as Open does
    if (static_cast<size_t>(Info.st_size) + 1 > FBuffer.size()) {
        FBuffer.clear();
        FBuffer.resize(static_cast<size_t>(Info.st_size) + 1);
    }
    FWhole = true;
    return 0;
}

TFileBytes StrLineReader::TakeBuffer() {
    FWhole = false;
    FPos = FLen = 0;
    return std::move(FBuffer);
}

size_t StrLineReader::LineEndsAhead() const {
    size_t Count = 0;
    const char* End = FBuffer.data() + FLen;
    for (const char* At = FBuffer.data() + FPos;
         (At = static_cast<const char*>(std::memchr(At, '\n', static_cast<size_t>(End - At))));
         ++At)
        ++Count;
    return Count;
}

// Reads the rest of the file into the buffer, growing it when the file grew since it was
// opened: no line has been handed out yet, so nothing views the buffer while it moves. It is
// read in steps and stops at a line longer than any the reader takes: a file of one endless
// line touches no more of its buffer than that (the pages not read into are never used), and
// the reader then finds the line too long where it stopped.
bool StrLineReader::FillWhole() {
    FWholeRead = true;
    size_t Len = 0;
    size_t LineStart = 0; // after the last line end read so far
    for (;;) {
        if (Len == FBuffer.size())
            FBuffer.resize(std::max<size_t>(FBuffer.size() * 2, BlockSize));
        const size_t Step = std::min(FBuffer.size() - Len, WholeReadStep);
        const ssize_t Got = ::read(FFd, FBuffer.data() + Len, Step);
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got < 0) {
            FStatus = IoStatusFromErrno(errno);
            return false;
        }
        if (Got == 0)
            break;
        if (const void* End = ::memrchr(FBuffer.data() + Len, '\n', static_cast<size_t>(Got)))
            LineStart = static_cast<size_t>(static_cast<const char*>(End) - FBuffer.data()) + 1;
        Len += static_cast<size_t>(Got);
        if (Len - LineStart > MaxStrLineLength + 1)
            break;
    }
    FPos = 0;
    FLen = Len;
    return Len > 0;
}

bool StrLineReader::Fill() {
    if (FFd < 0)
        return false;
    if (FWhole)
        return !FWholeRead && FillWhole();
    for (;;) {
        ssize_t Got = ::read(FFd, FBuffer.data(), FBuffer.size());
        if (Got < 0 && errno == EINTR)
            continue;
        if (Got < 0) {
            FStatus = IoStatusFromErrno(errno);
            return false;
        }
        FPos = 0;
        FLen = static_cast<size_t>(Got);
        return Got > 0;
    }
}

size_t StrLineReader::FindDelimiter(size_t From) const {
    std::string_view Block(FBuffer.data(), FLen);
    return FindDelimiterIn(Block, From, FCodePage, FSkipTrail && From == FPos);
}

bool StrLineReader::Stop(StrReadProblem Problem, int Status, long long Line) {
    FProblem = Problem;
    FStatus = Status;
    FFailedLine = Line;
    FEnded = true;
    return false;
}

// Adds Piece to the line unless that makes it longer than any line the reader takes (one byte
// more is allowed for the CR of a CR LF end).
bool StrLineReader::Append(std::string& Line, std::string_view Piece) {
    if (Line.size() + Piece.size() > MaxStrLineLength + 1) {
        Line.clear();
        Line.shrink_to_fit();
        return Stop(StrReadProblem::LineTooLong, ioInvalidInput, FLineNumber + 1);
    }
    Line.append(Piece);
    return true;
}

// Counts a complete line and checks its length.
bool StrLineReader::Accept(std::string_view Line) {
    ++FLineNumber;
    if (Line.size() > MaxStrLineLength)
        return Stop(StrReadProblem::LineTooLong, ioInvalidInput, FLineNumber);
    return true;
}

bool StrLineReader::ReadLine(std::string& Line) {
    std::string_view View;
    const bool Got = NextLine(View);
    Line.assign(View);
    return Got;
}

// A line lying whole in the buffer is handed out as a view into it; one that spans blocks is
// gathered in FLine.
bool StrLineReader::NextLine(std::string_view& Line) {
    FLine.clear();
    Line = {};
    if (FEnded || FFd < 0)
        return false;
    bool Gathered = false;
    for (;;) {
        if (FPos >= FLen && !Fill()) {
            FEnded = true;
            break;
        }
        std::string_view Block(FBuffer.data(), FLen);
        size_t At = FindDelimiter(FPos);
        if (At == std::string_view::npos) {
            FSkipTrail = EndsOnLeadByte(Block, FPos, FCodePage, FSkipTrail);
            if (!Append(FLine, Block.substr(FPos)))
                return false;
            Gathered = true;
            FPos = FLen;
            continue;
        }
        FSkipTrail = false;
        const std::string_view Piece = Block.substr(FPos, At - FPos);
        FPos = At + 1;
        if (Block[At] == CtrlZ) {
            // Counting what follows the mark reads on into the buffer: keep the piece first.
            if (!Append(FLine, Piece))
                return false;
            FEndMarkLine = FLineNumber + 1;
            CountAfterEndMark();
            FEnded = true;
            Gathered = true;
            break;
        }
        if (Gathered) {
            if (!Append(FLine, Piece))
                return false;
            Line = FLine;
        } else {
            if (Piece.size() > MaxStrLineLength + 1)
                return Stop(StrReadProblem::LineTooLong, ioInvalidInput, FLineNumber + 1);
            Line = Piece;
        }
        DropLineEndCr(Line);
        return Accept(Line);
    }
    Line = FLine;
    if (FStatus != 0) {
        FProblem = StrReadProblem::IoError;
        FFailedLine = FLineNumber + 1;
        Line = {};
        return false;
    }
    // The text before the end of the file is a last line of its own.
    if (Line.empty())
        return false;
    return Accept(Line);
}

// Counts the lines and item lines that follow the end-of-file character, so that what the
// format's rule drops can be reported; the text after the mark on its own line counts as one.
void StrLineReader::CountAfterEndMark() {
    static constexpr char Mark[] = "Txt_";
    bool Content = false, Item = false;
    size_t Matched = 0;
    const auto EndLine = [&] {
        if (Content) {
            ++FLinesAfterEnd;
            FItemsAfterEnd += Item ? 1 : 0;
        }
        Content = Item = false;
        Matched = 0;
    };
    for (;;) {
        for (; FPos < FLen; ++FPos) {
            const char C = FBuffer[FPos];
            if (C == '\n') {
                EndLine();
                continue;
            }
            if (C != '\r')
                Content = true;
            Matched = C == Mark[Matched] ? Matched + 1 : (C == 'T' ? 1 : 0);
            if (Matched == 4) {
                Item = true;
                Matched = 0;
            }
        }
        if (!Fill())
            break;
    }
    EndLine();
    FStatus = 0; // a read error after the mark loses nothing the format would keep
}

std::string StrLineReader::FailureMessage(const std::string& Path) const {
    switch (FProblem) {
    case StrReadProblem::None:
        return {};
    case StrReadProblem::LineTooLong:
        return LocatedMessage("The line is longer than " + std::to_string(MaxStrLineLength) +
                                  " bytes: this is not a language file",
                              Path, FFailedLine);
    default:
        return LocatedMessage(IoStatusMessage(FStatus, Path), Path, FFailedLine);
    }
}

int StrLineReader::Close() {
    int Result = FStatus;
    if (FFd >= 0 && ::close(FFd) != 0 && Result == 0)
        Result = IoStatusFromErrno(errno);
    FFd = -1;
    return Result;
}

std::vector<std::string> SplitStrLines(std::string_view Data, int CodePage) {
    std::vector<std::string> Lines;
    size_t Pos = 0;
    while (Pos < Data.size()) {
        size_t At = FindDelimiterIn(Data, Pos, CodePage, false);
        if (At == std::string_view::npos) {
            Lines.emplace_back(Data.substr(Pos));
            break;
        }
        std::string Line(Data.substr(Pos, At - Pos));
        if (Data[At] == CtrlZ) {
            if (!Line.empty())
                Lines.push_back(std::move(Line));
            break;
        }
        DropLineEndCr(Line);
        Lines.push_back(std::move(Line));
        Pos = At + 1;
    }
    return Lines;
}

// ---- item lines ------------------------------------------------------------------------

bool IsItemLine(std::string_view Line, int CodePage) {
    if (!IsDoubleByteCodePage(CodePage))
        return Line.find("Txt_") != std::string_view::npos;
    return DelimiterView(Line, CodePage).find("Txt_") != std::string::npos;
}

int ItemsJoinedToLine(std::string_view Line, int CodePage) {
    const std::string Copy = IsDoubleByteCodePage(CodePage) ? DelimiterView(Line, CodePage) : "";
    const std::string_view View = IsDoubleByteCodePage(CodePage) ? std::string_view(Copy) : Line;
    int Count = -1;
    size_t At = 0;
    while ((At = View.find("Txt_", At)) != std::string::npos) {
        ++Count;
        // Past the item's quoted text, which may mention "Txt_" itself.
        const size_t Open = View.find('"', At + 4);
        const size_t Close = Open == std::string::npos ? Open : View.find('"', Open + 1);
        At = Close == std::string::npos ? At + 4 : Close + 1;
    }
    return std::max(Count, 0);
}

StrItemView ParseItemView(std::string_view Line, int AttributeCount, int CodePage) {
    StrItemView Item;
    Item.AttributeCount = std::clamp(AttributeCount, 0, MaxAttributeCount);
    const bool DoubleByte = IsDoubleByteCodePage(CodePage);
    const std::string ViewBytes = DoubleByte ? DelimiterView(Line, CodePage) : std::string();
    const std::string_view View = DoubleByte ? std::string_view(ViewBytes) : Line;
    size_t Found = View.find("Txt_");
    if (Found == std::string_view::npos)
        return Item;
    // Start on the underscore of "Txt_": the name runs from the next character to a blank.
    long long P = static_cast<long long>(Found) + 4;
    Item.Name = Field(P, Line, View, '_', ' ');
    Item.Text = Field(P, Line, View, '"', '"');
    for (int i = 0; i < Item.AttributeCount; ++i)
        Item.Attributes[static_cast<size_t>(i)] = Field(P, Line, View, '{', '}');
    return Item;
}

StrItemLine ParseItemLine(std::string_view Line, int AttributeCount, int CodePage) {
    StrItemLine Item;
    Item.Attributes.resize(static_cast<size_t>(std::max(AttributeCount, 0)));
    if (AttributeCount > MaxAttributeCount) {
        // More fields than any file kind has: the slow walk over the copied line.
        std::string ViewBytes = DelimiterView(Line, CodePage);
        std::string_view View = IsDoubleByteCodePage(CodePage) ? std::string_view(ViewBytes) : Line;
        size_t Found = View.find("Txt_");
        if (Found == std::string_view::npos)
            return Item;
        long long P = static_cast<long long>(Found) + 4;
        Item.Name = Field(P, Line, View, '_', ' ');
        Item.Text = Field(P, Line, View, '"', '"');
        for (auto& Attribute : Item.Attributes)
            Attribute = Field(P, Line, View, '{', '}');
        return Item;
    }
    const StrItemView Parsed = ParseItemView(Line, AttributeCount, CodePage);
    Item.Name = Parsed.Name;
    Item.Text = Parsed.Text;
    for (int i = 0; i < Parsed.AttributeCount; ++i)
        Item.Attributes[static_cast<size_t>(i)] = Parsed.Attributes[static_cast<size_t>(i)];
    return Item;
}

bool ParseColorField(std::string_view Field, int32_t& Color) {
    if (Field.empty()) {
        Color = NoColorMark;
        return true;
    }
    return TryStrToInt(Field, Color);
}

// ---- writing ---------------------------------------------------------------------------

std::string PadRight(std::string_view S, size_t Width) {
    std::string Result(S);
    if (Result.size() > Width)
        Result.resize(Width > 0 ? Width - 1 : 0);
    Result.resize(Width, ' ');
    return Result;
}

std::vector<std::string> StrHeaderLines(StrFileKind Kind, std::string_view FileName) {
    if (Kind == fkUser)
        return {"#include \"UserLanguage.inc\"", "", "//Pelmor Language " + std::string(FileName),
                ""};
    return {"#include \"KavLang.Inc\"", "", "//Kavrino Language " + std::string(FileName), ""};
}

namespace {

constexpr std::string_view NameMark = "Txt_";
constexpr std::string_view TextOpen = " , \"";
constexpr std::string_view TextClose = "\"  {";
constexpr std::string_view ColorClose = "}";
constexpr std::string_view LineEnd = "\r\n";

// The colour field's digits; returns their count.
size_t ColorDigits(char (&Digits)[16], int32_t Color) {
    return static_cast<size_t>(std::to_chars(Digits, Digits + sizeof Digits, Color).ptr - Digits);
}

char* Put(char* Out, std::string_view Bytes) {
    if (!Bytes.empty())
        std::memcpy(Out, Bytes.data(), Bytes.size());
    return Out + Bytes.size();
}

// The name field: "Txt_" and the name, padded with blanks to its width. A name too long for
// the field is written whole: the reader takes the name up to the separator's blank, so it
// reads back whole and still finds its row.
size_t NameFieldLength(std::string_view Name) {
    return std::max(NameMark.size() + Name.size(), NameFieldWidth);
}

// Writes the item line at Out, which has LineLength bytes of room; returns its end.
char* PutItemLine(char* Out, std::string_view Name, std::string_view Text, std::string_view Color) {
    char* Field = Out;
    Out = Put(Put(Out, NameMark), Name);
    const size_t Used = static_cast<size_t>(Out - Field);
    if (Used < NameFieldWidth) {
        std::memset(Out, ' ', NameFieldWidth - Used);
        Out += NameFieldWidth - Used;
    }
    Out = Put(Put(Put(Out, TextOpen), Text), TextClose);
    return Put(Put(Out, Color), ColorClose);
}

size_t LineLength(std::string_view Name, std::string_view Text, size_t ColorLength) {
    return NameFieldLength(Name) + TextOpen.size() + Text.size() + TextClose.size() + ColorLength +
           ColorClose.size();
}

} // namespace

void AppendItemLine(std::string& Out, std::string_view Name, std::string_view Text, int32_t Color) {
    char Digits[16];
    const std::string_view ColorText(Digits, ColorDigits(Digits, Color));
    const size_t Start = Out.size();
    Out.resize(Start + LineLength(Name, Text, ColorText.size()));
    PutItemLine(Out.data() + Start, Name, Text, ColorText);
}

std::string FormatItemLine(std::string_view Name, std::string_view Text, int32_t Color) {
    std::string Line;
    AppendItemLine(Line, Name, Text, Color);
    return Line;
}

bool HoldsNulByte(std::string_view Line) {
    return HasByte(Line, '\0');
}

std::string ShownItemName(std::string_view Name) {
    if (Name.size() <= LongestItemName)
        return "Txt_" + std::string(Name);
    return "Txt_" + std::string(Name.substr(0, LongestItemName)) + "...";
}

namespace {

// Why Item, whose line Line is as written, cannot be written; nothing when it can.
void CheckItem(const StrWriteItem& Item, std::string_view Line, std::string_view Color,
               int CodePage, std::vector<std::string>& Problems) {
    const size_t Before = Problems.size();
    const auto Where = [&Item] { return ShownItemName(Item.Name) + ": "; };
    if (HasByte(Item.Text, '"'))
        Problems.push_back(Where() + "the text holds a double quote");
    if (HasByte(Item.Text, '\r') || HasByte(Item.Text, '\n'))
        Problems.push_back(Where() + "the text holds a line break");
    if (HasByte(Item.Text, CtrlZ) || HasByte(Item.Name, CtrlZ))
        Problems.push_back(Where() + "it holds the end-of-file character (code 26)");
    if (HoldsNulByte(Item.Text) || HoldsNulByte(Item.Name))
        Problems.push_back(Where() + "it holds a NUL byte (code 0)");
    if (HasByte(Item.Name, ' '))
        Problems.push_back(Where() + "the name holds a blank");
    if (HasByte(Item.Name, '\r') || HasByte(Item.Name, '\n'))
        Problems.push_back(Where() + "the name holds a line break");
    if (Problems.size() != Before)
        return;
    // Whatever else the reader would take differently (a double-byte character that swallows
    // a delimiter, a line longer than the reader takes) is caught by reading the line back.
    if (Line.size() > MaxStrLineLength) {
        Problems.push_back(Where() + "the line would be longer than " +
                           std::to_string(MaxStrLineLength) + " bytes");
        return;
    }
    const StrItemView Back = ParseItemView(Line, TranslatedAttributeCount, CodePage);
    if (Back.Name != Item.Name || Back.Text != Item.Text || Back.Attributes[0] != Color)
        Problems.push_back(Where() + "the line would not read back unchanged");
}

// The file's bytes in order, handed to Put a block at a time from one buffer that is reused:
// a file of many megabytes never sits whole in fresh memory, whose first touch costs more than
// formatting it. Stops when Put returns false; returns false then.
template <class TEmit>
bool FormatBlocks(StrFileKind Kind, std::string_view FileName,
                  const std::vector<StrWriteItem>& Items, TEmit&& Emit) {
    constexpr size_t Block = size_t(1) << 20;
    std::string Buffer;
    size_t Used = 0;
    auto Room = [&](size_t Length) -> char* {
        if (Used + Length > Buffer.size()) {
            if (Used > 0 && !Emit(std::string_view(Buffer.data(), Used)))
                return nullptr;
            Used = 0;
            if (Length > Buffer.size())
                Buffer.resize(std::max(Block, Length));
        }
        char* At = Buffer.data() + Used;
        Used += Length;
        return At;
    };
    for (const auto& Line : StrHeaderLines(Kind, FileName)) {
        char* At = Room(Line.size() + LineEnd.size());
        if (!At)
            return false;
        Put(Put(At, Line), LineEnd);
    }
    char Digits[16];
    for (const auto& Item : Items) {
        if (Item.Name.empty())
            continue;
        const std::string_view Color(Digits, ColorDigits(Digits, Item.Color));
        char* At = Room(LineLength(Item.Name, Item.Text, Color.size()) + LineEnd.size());
        if (!At)
            return false;
        Put(PutItemLine(At, Item.Name, Item.Text, Color), LineEnd);
    }
    return Used == 0 || Emit(std::string_view(Buffer.data(), Used));
}

} // namespace

std::vector<std::string> UnwritableItems(const std::vector<StrWriteItem>& Items) {
    std::vector<std::string> Problems;
    const int CodePage = SystemAnsiCodePage();
    std::string Line;
    char Digits[16];
    for (const auto& Item : Items) {
        if (Item.Name.empty())
            continue;
        Line.clear();
        AppendItemLine(Line, Item.Name, Item.Text, Item.Color);
        CheckItem(Item, Line, std::string_view(Digits, ColorDigits(Digits, Item.Color)), CodePage,
                  Problems);
    }
    return Problems;
}

namespace {

std::string FileNamePart(const std::string& Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

std::string FolderPart(const std::string& Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? std::string("./") : Path.substr(0, Slash + 1);
}

StrWriteResult Failed(int Status, const std::string& Path) {
    StrWriteResult Result;
    Result.Status = Status;
    Result.Message = IoStatusMessage(Status, Path);
    return Result;
}

bool WriteAll(int Fd, std::string_view Data) {
    while (!Data.empty()) {
        ssize_t Done = ::write(Fd, Data.data(), Data.size());
        if (Done < 0 && errno == EINTR)
            continue;
        if (Done <= 0)
            return false;
        Data.remove_prefix(static_cast<size_t>(Done));
    }
    return true;
}

// A failed call that left no errno still counts as an I/O error, never as success.
int FailureStatus(int Errno) {
    const int Status = IoStatusFromErrno(Errno);
    return Status == ioOk ? ioError : Status;
}

IStrWriteHook* WriteHook = nullptr;

// A process id from a temporary name's middle part; 0 when it is not one.
pid_t ProcessOf(std::string_view Digits) {
    if (Digits.empty() || Digits.size() > 9 || !IsDigits(Digits))
        return 0;
    return static_cast<pid_t>(std::stol(std::string(Digits)));
}

bool ProcessRuns(pid_t Pid) {
    return Pid == ::getpid() || ::kill(Pid, 0) == 0 || errno == EPERM;
}

// The process that wrote Name, when Name has exactly the form WriteStrFile gives its temporary
// files; 0 otherwise.
pid_t TempFileOwner(std::string_view Name) {
    if (Name.size() < 2 || Name[0] != '.')
        return 0;
    size_t Mark = Name.rfind(TempMark);
    if (Mark == std::string_view::npos || Mark == 0)
        return 0;
    std::string_view Rest = Name.substr(Mark + std::strlen(TempMark));
    size_t Dot = Rest.find('.');
    if (Dot == std::string_view::npos || Rest.size() - Dot - 1 != TempRandomLength)
        return 0;
    return ProcessOf(Rest.substr(0, Dot));
}

// New files get the usual mode; a replaced file keeps its own, and its owner and group where
// the system lets us.
void CopyMode(int Fd, const std::string& Path) {
    struct stat Info {};
    if (::stat(Path.c_str(), &Info) == 0) {
        (void)::fchown(Fd, Info.st_uid, Info.st_gid);
        (void)::fchmod(Fd, Info.st_mode & 07777);
        return;
    }
    mode_t Mask = ::umask(0);
    ::umask(Mask);
    (void)::fchmod(Fd, 0666 & ~Mask);
}

// The file a write to Path really replaces: a symbolic link is written through to its target
// (followed to the end of a chain; a dangling link names the file to create).
std::string WriteTarget(const std::string& Path) {
    std::string Target = Path;
    for (int Hops = 0; Hops < 40; ++Hops) {
        struct stat Info {};
        if (::lstat(Target.c_str(), &Info) != 0 || !S_ISLNK(Info.st_mode))
            return Target;
        std::vector<char> Buffer(static_cast<size_t>(Info.st_size > 0 ? Info.st_size : 255) + 1);
        const ssize_t Length = ::readlink(Target.c_str(), Buffer.data(), Buffer.size());
        if (Length <= 0 || static_cast<size_t>(Length) >= Buffer.size())
            return Target;
        std::string Link(Buffer.data(), static_cast<size_t>(Length));
        Target = Link.front() == '/' ? Link : FolderPart(Target) + Link;
    }
    return Target;
}

// A file that exists without write permission is refused, even where the system would let us
// rename over it (its folder is writable, or we are the superuser): read-only means keep it.
bool ReadOnlyFile(const std::string& Target) {
    struct stat Info {};
    if (::stat(Target.c_str(), &Info) != 0)
        return false;
    return (Info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
           ::access(Target.c_str(), W_OK) != 0;
}

} // namespace

IStrWriteHook* SetStrWriteHook(IStrWriteHook* Hook) {
    return std::exchange(WriteHook, Hook);
}

IStrWriteHook* StrWriteHook() {
    return WriteHook;
}

int SyncFolder(const std::string& Folder) {
    const int Fd =
        ::open(Folder.empty() ? "." : Folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (Fd < 0)
        return errno;
    int Problem = ::fsync(Fd) == 0 ? 0 : errno;
    // Some file systems cannot flush a folder; their renames are as safe as they can be.
    if (Problem == EINVAL || Problem == ENOTSUP)
        Problem = 0;
    ::close(Fd);
    return Problem;
}

StrWriteResult WriteStrFile(const std::string& Path, StrFileKind Kind,
                            const std::vector<StrWriteItem>& Items) {
    std::vector<std::string> Problems = UnwritableItems(Items);
    if (!Problems.empty()) {
        StrWriteResult Result;
        Result.Status = ioInvalidInput;
        Result.Message = "Cannot save " + Path + ": the file format cannot hold these items:";
        for (const auto& Problem : Problems)
            Result.Message += "\n" + Problem;
        return Result;
    }
    return WriteCheckedStrFile(Path, Kind, Items);
}

StrWriteResult WriteCheckedStrFile(const std::string& Path, StrFileKind Kind,
                                   const std::vector<StrWriteItem>& Items,
                                   const std::function<void(size_t)>& Written) {
    const std::string Target = WriteTarget(Path);
    if (ReadOnlyFile(Target))
        return Failed(ioAccessDenied, Path);
    RemoveStaleTempFiles(FolderPart(Target));

    std::string Temp = TempFilePrefix(Target) + "XXXXXX";
    std::vector<char> TempName(Temp.begin(), Temp.end());
    TempName.push_back('\0');
    int Fd = ::mkostemp(TempName.data(), O_CLOEXEC);
    if (Fd < 0)
        return Failed(IoStatusFromErrno(errno), Path);
    Temp.assign(TempName.data());
    CopyMode(Fd, Target);

    // A step the test hook fails counts as that step's own failure.
    const auto Step = [&](TWriteStep At) {
        const int Injected = WriteHook ? WriteHook->AtStep(At, Temp, Target) : 0;
        errno = Injected;
        return Injected == 0;
    };
    int Status = 0;
    const bool Formatted =
        Step(TWriteStep::Created) &&
        FormatBlocks(Kind, FileNamePart(Path), Items,
                     [Fd, &Written, Out = size_t(0)](std::string_view Bytes) mutable {
                         if (!WriteAll(Fd, Bytes))
                             return false;
                         if (Written)
                             Written(Out += Bytes.size());
                         return true;
                     }) &&
        Step(TWriteStep::Written);
    if (!Formatted || ::fsync(Fd) != 0)
        Status = FailureStatus(errno);
    if (::close(Fd) != 0 && Status == 0)
        Status = FailureStatus(errno);
    if (Status == 0 && !Step(TWriteStep::Synced))
        Status = FailureStatus(errno);
    if (Status == 0 && WriteHook) {
        WriteHook->BeforeRename(Temp, Target);
        if (!Step(TWriteStep::BeforeRename))
            Status = FailureStatus(errno);
    }
    if (Status == 0 && ::rename(Temp.c_str(), Target.c_str()) != 0)
        Status = IoStatusFromErrno(errno);
    if (Status != 0) {
        ::unlink(Temp.c_str());
        return Failed(Status, Path);
    }
    if (WriteHook)
        WriteHook->AtStep(TWriteStep::Renamed, Temp, Target);
    // The rename is kept through a power cut only once the folder's entry is on disk.
    if (const int Problem = SyncFolder(FolderPart(Target)); Problem != 0)
        return Failed(FailureStatus(Problem), Path);
    StrWriteResult Result;
    Result.Ok = true;
    return Result;
}

std::string TempFilePrefix(const std::string& Path) {
    return FolderPart(Path) + "." + FileNamePart(Path) + TempMark + std::to_string(::getpid()) +
           ".";
}

int RemoveStaleTempFiles(const std::string& Folder) {
    const std::string Dir = Folder.empty() ? std::string(".") : Folder;
    DIR* Handle = ::opendir(Dir.c_str());
    if (!Handle)
        return 0;
    int Removed = 0;
    while (const dirent* Entry = ::readdir(Handle)) {
        const pid_t Owner = TempFileOwner(Entry->d_name);
        if (Owner <= 0 || ProcessRuns(Owner))
            continue;
        const std::string Path = Dir + (Dir.back() == '/' ? "" : "/") + Entry->d_name;
        struct stat Info {};
        if (::lstat(Path.c_str(), &Info) == 0 && S_ISREG(Info.st_mode) &&
            ::unlink(Path.c_str()) == 0)
            ++Removed;
    }
    ::closedir(Handle);
    return Removed;
}

} // namespace kav
