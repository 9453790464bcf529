#include "document/StrFile.h"

#include "document/IoStatus.h"
#include "exchange/IntConv.h"
#include "exchange/StringUtils.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kav {

namespace {

constexpr size_t BlockSize = 1 << 16;
constexpr char CtrlZ = 26;
// Longest name that reads back whole from the 70-character name field ("Txt_" + 66).
constexpr size_t LongestWholeName = NameFieldWidth - 4;

// Scans Data from From for LF or Ctrl+Z, stepping over two-byte characters. SkipFirst says that
// Data[From] is the trail byte of a character begun before it.
size_t FindDelimiterIn(std::string_view Data, size_t From, int CodePage, bool SkipFirst) {
    if (!IsDoubleByteCodePage(CodePage)) {
        for (size_t i = From; i < Data.size(); ++i)
            if (Data[i] == '\n' || Data[i] == CtrlZ)
                return i;
        return std::string_view::npos;
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
std::string Field(long long& P, std::string_view Line, std::string_view View, char Open,
                  char Close) {
    std::string Token = GetDelimited(P, View, Open, Close);
    if (Token.empty() || Line.data() == View.data())
        return Token;
    // The token always ends at P - 2 (before the closing character, or before the line's last
    // character when the closing one is missing).
    long long Start = P - 1 - static_cast<long long>(Token.size());
    return std::string(Line.substr(static_cast<size_t>(Start - 1), Token.size()));
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
    if (FFd >= 0)
        Close();
    FFd = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
    if (FFd < 0)
        return FStatus = IoStatusFromErrno(errno);
    struct stat Info {};
    if (::fstat(FFd, &Info) == 0 && S_ISDIR(Info.st_mode)) {
        ::close(FFd);
        FFd = -1;
        return FStatus = ioAccessDenied;
    }
    FStatus = 0;
    FLineNumber = 0;
    FEnded = false;
    FSkipTrail = false;
    FPos = FLen = 0;
    return 0;
}

bool StrLineReader::Fill() {
    if (FFd < 0)
        return false;
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

bool StrLineReader::ReadLine(std::string& Line) {
    Line.clear();
    if (FEnded || FFd < 0)
        return false;
    for (;;) {
        if (FPos >= FLen && !Fill()) {
            FEnded = true;
            break;
        }
        std::string_view Block(FBuffer.data(), FLen);
        size_t At = FindDelimiter(FPos);
        if (At == std::string_view::npos) {
            FSkipTrail = EndsOnLeadByte(Block, FPos, FCodePage, FSkipTrail);
            Line.append(Block.substr(FPos));
            FPos = FLen;
            continue;
        }
        FSkipTrail = false;
        Line.append(Block.substr(FPos, At - FPos));
        FPos = At + 1;
        if (Block[At] == CtrlZ) {
            FEnded = true;
            break;
        }
        DropLineEndCr(Line);
        ++FLineNumber;
        return true;
    }
    // The text before the end of the file is a last line of its own.
    if (FStatus != 0 || Line.empty())
        return false;
    ++FLineNumber;
    return true;
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
    return DelimiterView(Line, CodePage).find("Txt_") != std::string::npos;
}

StrItemLine ParseItemLine(std::string_view Line, int AttributeCount, int CodePage) {
    StrItemLine Item;
    Item.Attributes.resize(static_cast<size_t>(std::max(AttributeCount, 0)));
    std::string ViewBytes = DelimiterView(Line, CodePage);
    std::string_view View = IsDoubleByteCodePage(CodePage) ? std::string_view(ViewBytes) : Line;
    size_t Found = View.find("Txt_");
    if (Found == std::string_view::npos)
        return Item;
    // Start on the underscore of "Txt_": the name runs from the next character to a blank.
    long long P = static_cast<long long>(Found) + 4;
    Item.Name = Field(P, Line, View, '_', ' ');
    Item.Text = Field(P, Line, View, '"', '"');
    for (auto& Attribute : Item.Attributes)
        Attribute = Field(P, Line, View, '{', '}');
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

std::string FormatItemLine(std::string_view Name, std::string_view Text, int32_t Color) {
    std::string Line = PadRight("Txt_" + std::string(Name), NameFieldWidth);
    Line += " , \"";
    Line += Text;
    Line += "\"  {";
    Line += std::to_string(Color);
    Line += "}";
    return Line;
}

std::vector<std::string> UnwritableItems(const std::vector<StrWriteItem>& Items) {
    std::vector<std::string> Problems;
    for (const auto& Item : Items) {
        if (Item.Name.empty())
            continue;
        std::string Where = "Txt_" + Item.Name + ": ";
        if (HasByte(Item.Text, '"'))
            Problems.push_back(Where + "the text holds a double quote");
        if (HasByte(Item.Text, '\r') || HasByte(Item.Text, '\n'))
            Problems.push_back(Where + "the text holds a line break");
        if (HasByte(Item.Text, CtrlZ) || HasByte(Item.Name, CtrlZ))
            Problems.push_back(Where + "it holds the end-of-file character (code 26)");
        if (HasByte(Item.Name, ' '))
            Problems.push_back(Where + "the name holds a blank");
        if (HasByte(Item.Name, '\r') || HasByte(Item.Name, '\n'))
            Problems.push_back(Where + "the name holds a line break");
        if (Item.Name.size() > LongestWholeName)
            Problems.push_back(Where + "the name is longer than " +
                               std::to_string(LongestWholeName) + " characters");
    }
    return Problems;
}

std::string FormatStrFile(StrFileKind Kind, std::string_view FileName,
                          const std::vector<StrWriteItem>& Items) {
    std::string Out;
    Out.reserve(Items.size() * 96 + 128);
    for (const auto& Line : StrHeaderLines(Kind, FileName)) {
        Out += Line;
        Out += "\r\n";
    }
    for (const auto& Item : Items) {
        if (Item.Name.empty())
            continue;
        Out += FormatItemLine(Item.Name, Item.Text, Item.Color);
        Out += "\r\n";
    }
    return Out;
}

namespace {

std::string FileNamePart(const std::string& Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? Path : Path.substr(Slash + 1);
}

std::string FolderPart(const std::string& Path) {
    size_t Slash = Path.find_last_of('/');
    return Slash == std::string::npos ? std::string(".") : Path.substr(0, Slash + 1);
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

// New files get the usual mode; a replaced file keeps its own.
void CopyMode(int Fd, const std::string& Path) {
    struct stat Info {};
    if (::stat(Path.c_str(), &Info) == 0) {
        (void)::fchmod(Fd, Info.st_mode & 07777);
        return;
    }
    mode_t Mask = ::umask(0);
    ::umask(Mask);
    (void)::fchmod(Fd, 0666 & ~Mask);
}

} // namespace

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
    std::string Bytes = FormatStrFile(Kind, FileNamePart(Path), Items);

    std::string Temp = FolderPart(Path) + "." + FileNamePart(Path) + ".kavtmp.XXXXXX";
    std::vector<char> TempName(Temp.begin(), Temp.end());
    TempName.push_back('\0');
    int Fd = ::mkostemp(TempName.data(), O_CLOEXEC);
    if (Fd < 0)
        return Failed(IoStatusFromErrno(errno), Path);
    Temp.assign(TempName.data());
    CopyMode(Fd, Path);

    int Status = 0;
    if (!WriteAll(Fd, Bytes) || ::fsync(Fd) != 0)
        Status = IoStatusFromErrno(errno);
    if (::close(Fd) != 0 && Status == 0)
        Status = IoStatusFromErrno(errno);
    if (Status == 0 && ::rename(Temp.c_str(), Path.c_str()) != 0)
        Status = IoStatusFromErrno(errno);
    if (Status != 0) {
        ::unlink(Temp.c_str());
        return Failed(Status, Path);
    }
    StrWriteResult Result;
    Result.Ok = true;
    return Result;
}

} // namespace kav
