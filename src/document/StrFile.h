#pragma once
// STR language files: reading lines and item fields, writing the tool's layout.

#include "document/FileKind.h"
#include "platform/LargeMemory.h"
#include "text/CodePage.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

constexpr int32_t NoColorMark = 16777215; // white
constexpr size_t NameFieldWidth = 70;
constexpr int DefaultAttributeCount = 4;    // width, font name, style, size
constexpr int TranslatedAttributeCount = 1; // colour mark
// Longest name that reads back whole from the name field ("Txt_" + 66 characters).
constexpr size_t LongestItemName = NameFieldWidth - 4;
// Longest line the reader takes, its end excluded. Nothing the tool writes comes near it; a
// longer line belongs to a damaged or foreign file, and refusing it keeps memory bounded.
constexpr size_t MaxStrLineLength = size_t(4) << 20;

// Why a reader stopped before the end of its file.
enum class StrReadProblem { None, IoError, LineTooLong };

// Reads a file line by line: a line ends at LF or CR LF, a lone CR belongs to the line and
// Ctrl+Z ends the file. With a double-byte code page, a lead byte and its trail byte are never
// taken as a delimiter. The file is read in large blocks. A line longer than MaxStrLineLength
// stops the reading like an I/O error does, with the status ioInvalidInput.
// A file's bytes as read, in memory fit for a large file (and not cleared before the read).
using TFileBytes = std::vector<char, TLargeAllocator<char, false>>;

class StrLineReader {
public:
    explicit StrLineReader(int CodePage = SystemAnsiCodePage());
    ~StrLineReader();
    StrLineReader(const StrLineReader&) = delete;
    StrLineReader& operator=(const StrLineReader&) = delete;

    // Opens Path read-only; returns the I/O status code (0 when open).
    int Open(const std::string& Path);
    // The same, for a file read whole into one buffer before its first line is handed out: the
    // views of its lines then stay valid until the reader is opened again or gone, except those
    // that Holds denies (the last line of the file, the line of an end-of-file character, and
    // every line of a file too large to be read whole).
    int OpenWhole(const std::string& Path);
    bool Holds(std::string_view Line) const {
        return FWhole && Line.data() >= FBuffer.data() &&
               Line.data() + Line.size() <= FBuffer.data() + FLen;
    }
    // The buffer of a file read whole, which the views of its lines point into; the reader is
    // left without it.
    TFileBytes TakeBuffer();
    // Line ends not read yet in the buffer: at most as many lines as are left of a file read
    // whole, less one.
    size_t LineEndsAhead() const;
    // Reads the next line without its end; false at the end of the file or on an error.
    bool ReadLine(std::string& Line);
    // The same without copying: Line views the reader's buffer until the next call.
    bool NextLine(std::string_view& Line);
    // I/O status of the last read (0 when the file ended normally).
    int Status() const { return FStatus; }
    StrReadProblem Problem() const { return FProblem; }
    long long LineNumber() const { return FLineNumber; }
    int CodePage() const { return FCodePage; }
    // What stopped the reading, naming Path and the line; empty when the file ended normally.
    std::string FailureMessage(const std::string& Path) const;
    // Returns the closing status (0 when all went well).
    int Close();
    // The line holding the end-of-file character (Ctrl+Z) when one ended the reading, else 0,
    // and what follows it: lines with content, and how many of them are item lines.
    long long EndMarkLine() const { return FEndMarkLine; }
    long long LinesAfterEndMark() const { return FLinesAfterEnd; }
    long long ItemsAfterEndMark() const { return FItemsAfterEnd; }

private:
    void CountAfterEndMark();
    bool Fill();
    bool FillWhole();
    size_t FindDelimiter(size_t From) const;
    bool Append(std::string& Line, std::string_view Piece);
    bool Accept(std::string_view Line);
    bool Stop(StrReadProblem Problem, int Status, long long Line);

    int FCodePage;
    int FFd = -1;
    int FStatus = 0;
    StrReadProblem FProblem = StrReadProblem::None;
    long long FFailedLine = 0;
    long long FLineNumber = 0;
    long long FEndMarkLine = 0;
    long long FLinesAfterEnd = 0;
    long long FItemsAfterEnd = 0;
    bool FEnded = false;
    bool FSkipTrail = false; // the block ended on a lead byte
    bool FWhole = false;     // the file is read in one block, at the first line
    bool FWholeRead = false;
    TFileBytes FBuffer; // one block: a small file whole
    std::string FLine;  // a line gathered from more than one block
    size_t FPos = 0;
    size_t FLen = 0;
};

// The same line rules over bytes held in memory.
std::vector<std::string> SplitStrLines(std::string_view Data, int CodePage = SystemAnsiCodePage());

struct StrItemLine {
    std::string Name;
    std::string Text;
    std::vector<std::string> Attributes; // as many as asked for; missing ones are empty
};

// A NUL byte never occurs in a text file of an ANSI code page: the file is binary or UTF-16.
bool HoldsNulByte(std::string_view Line);

// A line is an item line when "Txt_" occurs anywhere in it.
bool IsItemLine(std::string_view Line, int CodePage = SystemAnsiCodePage());

// Item lines the reader does not take from Line: every "Txt_" after the item's quoted text
// begins one (items joined by a lone CR, or written on one line).
int ItemsJoinedToLine(std::string_view Line, int CodePage = SystemAnsiCodePage());

// The most brace fields a file kind has (the default file's four).
constexpr int MaxAttributeCount = DefaultAttributeCount;

// An item line's fields as views into the line.
struct StrItemView {
    std::string_view Name;
    std::string_view Text;
    std::array<std::string_view, MaxAttributeCount> Attributes{};
    int AttributeCount = 0; // missing ones are empty
};

// ParseItemLine without copies; AttributeCount is cut to MaxAttributeCount.
StrItemView ParseItemView(std::string_view Line, int AttributeCount,
                          int CodePage = SystemAnsiCodePage());

// Takes the name, the quoted text and AttributeCount brace fields from an item line, each
// search starting where the previous one stopped.
StrItemLine ParseItemLine(std::string_view Line, int AttributeCount,
                          int CodePage = SystemAnsiCodePage());

// Converts a colour field: empty means no mark (white). Returns false for a field that is not
// a 32-bit integer; the caller reports InvalidIntegerMessage(Field).
bool ParseColorField(std::string_view Field, int32_t& Color);

// S cut to Width - 1 characters plus a blank when longer, otherwise padded with blanks.
std::string PadRight(std::string_view S, size_t Width);

// The four header lines of a translated file of Kind named FileName (no folder).
std::vector<std::string> StrHeaderLines(StrFileKind Kind, std::string_view FileName);

// One item line without its line end.
std::string FormatItemLine(std::string_view Name, std::string_view Text, int32_t Color);
// The same line appended to Out.
void AppendItemLine(std::string& Out, std::string_view Name, std::string_view Text, int32_t Color);

// An item to write. It views texts owned elsewhere (the table's cells, say), which must stay
// unchanged until the write is done: a save writes a hundred thousand items without copying
// them first.
struct StrWriteItem {
    std::string_view Name;
    std::string_view Text;
    int32_t Color = NoColorMark;
};

// "Txt_" + Name for messages, cut after LongestItemName characters ("...") so that a huge name
// cannot flood a message box.
std::string ShownItemName(std::string_view Name);

// Items the format cannot hold, one description each ("Txt_NAME: the text holds a double
// quote"); empty when every item can be written and read back unchanged. A name longer than
// the name field is written whole, without padding, and reads back whole.
std::vector<std::string> UnwritableItems(const std::vector<StrWriteItem>& Items);

struct StrWriteResult {
    bool Ok = false;
    int Status = 0;      // I/O status code of the failure
    std::string Message; // names the file; empty on success
};

// Writes the header and one line per item to Path. The bytes go to a temporary file in the
// same folder which replaces Path only once everything is written and on disk, so a failure
// leaves the previous file untouched. Items the format cannot hold stop the write before any
// byte is written. Stale temporary files of the folder are removed first. A file without write
// permission is refused ("File access denied: " + Path); a replaced file keeps its permissions;
// a symbolic link is written through to the file it names.
StrWriteResult WriteStrFile(const std::string& Path, StrFileKind Kind,
                            const std::vector<StrWriteItem>& Items);
// WriteStrFile for items that UnwritableItems has just passed, so that a save checks its
// items once. Written, when given, hears how many bytes are out after each block.
StrWriteResult WriteCheckedStrFile(const std::string& Path, StrFileKind Kind,
                                   const std::vector<StrWriteItem>& Items,
                                   const std::function<void(size_t)>& Written = {});

// The steps of every atomic write (this writer's, and the backup, history and recovery copies'),
// in order: the temporary file created, its bytes written, flushed to disk and closed, about to
// be renamed over the target, renamed (the folder not yet flushed).
enum class TWriteStep { Created, Written, Synced, BeforeRename, Renamed };

// Lets a test act at each step of a write (a crash just before the rename, a full disk while
// the bytes go out); the program itself never sets one.
class IStrWriteHook {
public:
    virtual ~IStrWriteHook() = default;
    // Temp holds everything, written and closed; Target is about to be replaced by it.
    virtual void BeforeRename(const std::string& /*Temp*/, const std::string& /*Target*/) {}
    // Called at every step; an errno returned makes that step fail as the system would have
    // failed it (ENOSPC: the disk is full). Ignored at Renamed, when the target is replaced.
    virtual int AtStep(TWriteStep /*Step*/, const std::string& /*Temp*/,
                       const std::string& /*Target*/) {
        return 0;
    }
};
// Sets the hook (nullptr: none); returns the previous one.
IStrWriteHook* SetStrWriteHook(IStrWriteHook* Hook);
// The hook set, for the other atomic writers; nullptr when none.
IStrWriteHook* StrWriteHook();
// Flushes a folder's entries to disk, so that a file renamed into it stays there after a power
// cut; 0 or an errno.
int SyncFolder(const std::string& Folder);

// The temporary file WriteStrFile uses for Path while it writes: "." + file name + ".kavtmp." +
// process id + "." + six random characters, in Path's folder.
std::string TempFilePrefix(const std::string& Path);

// Removes the temporary files WriteStrFile left in Folder when its process died between
// writing and renaming: only names of that exact form whose process no longer runs. Returns
// how many were removed.
int RemoveStaleTempFiles(const std::string& Folder);

} // namespace kav
