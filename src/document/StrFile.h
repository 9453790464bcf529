#pragma once
// STR language files: reading lines and item fields, writing the tool's layout.

#include "document/CodePage.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

// Document kinds as the tool numbers them: 0 no document, 1 user file, 2 main file.
enum StrFileKind : int { fkNone = 0, fkUser = 1, fkMain = 2 };

constexpr int32_t NoColorMark = 16777215; // white
constexpr size_t NameFieldWidth = 70;
constexpr int DefaultAttributeCount = 4;    // width, font name, style, size
constexpr int TranslatedAttributeCount = 1; // colour mark

// Reads a file line by line: a line ends at LF or CR LF, a lone CR belongs to the line and
// Ctrl+Z ends the file. With a double-byte code page, a lead byte and its trail byte are never
// taken as a delimiter. The file is read in large blocks.
class StrLineReader {
public:
    explicit StrLineReader(int CodePage = SystemAnsiCodePage());
    ~StrLineReader();
    StrLineReader(const StrLineReader&) = delete;
    StrLineReader& operator=(const StrLineReader&) = delete;

    // Opens Path read-only; returns the I/O status code (0 when open).
    int Open(const std::string& Path);
    // Reads the next line without its end; false at the end of the file or on an error.
    bool ReadLine(std::string& Line);
    // I/O status of the last read (0 when the file ended normally).
    int Status() const { return FStatus; }
    long long LineNumber() const { return FLineNumber; }
    // Returns the closing status (0 when all went well).
    int Close();

private:
    bool Fill();
    size_t FindDelimiter(size_t From) const;

    int FCodePage;
    int FFd = -1;
    int FStatus = 0;
    long long FLineNumber = 0;
    bool FEnded = false;
    bool FSkipTrail = false; // the block ended on a lead byte
    std::vector<char> FBuffer;
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

// A line is an item line when "Txt_" occurs anywhere in it.
bool IsItemLine(std::string_view Line, int CodePage = SystemAnsiCodePage());

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

struct StrWriteItem {
    std::string Name;
    std::string Text;
    int32_t Color = NoColorMark;
};

// Items the format cannot hold, one description each ("Txt_NAME: the text holds a double
// quote"); empty when every item can be written and read back unchanged.
std::vector<std::string> UnwritableItems(const std::vector<StrWriteItem>& Items);

struct StrWriteResult {
    bool Ok = false;
    int Status = 0;      // I/O status code of the failure
    std::string Message; // names the file; empty on success
};

// Writes the header and one line per item to Path. The bytes go to a temporary file in the
// same folder which replaces Path only once everything is written and on disk, so a failure
// leaves the previous file untouched. Items the format cannot hold stop the write before any
// byte is written.
StrWriteResult WriteStrFile(const std::string& Path, StrFileKind Kind,
                            const std::vector<StrWriteItem>& Items);

// The bytes WriteStrFile writes.
std::string FormatStrFile(StrFileKind Kind, std::string_view FileName,
                          const std::vector<StrWriteItem>& Items);

} // namespace kav
