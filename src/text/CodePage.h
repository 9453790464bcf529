#pragma once
// Conversion between the byte strings of the files and Unicode, at the edge only: display,
// editing and measuring. Cell texts stay bytes everywhere else.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace kav {

// The code page KAVTOOL_ANSI_CODEPAGE names (a number such as 1251 or 932), when it names one
// we can convert.
std::optional<int> AnsiCodePageOverride();

// The system ANSI code page: windows-1252 unless KAVTOOL_ANSI_CODEPAGE names another.
int SystemAnsiCodePage();

// The code page a Windows character set selects; unknown sets use the system ANSI code page.
int CodePageForCharset(int Charset);

// The Windows character set whose texts are in CodePage (204 for 1251, 128 for 932 ...); 0 for
// a page no character set stands for.
int CharsetOfCodePage(int CodePage);

// True for the double-byte code pages (932, 936, 949, 950).
bool IsDoubleByteCodePage(int CodePage);
// True when Byte starts a two-byte character in CodePage.
bool IsLeadByte(int CodePage, unsigned char Byte);

// True when the code page can be converted here.
bool IsSupportedCodePage(int CodePage);

QString DecodeBytes(std::string_view Bytes, int CodePage);

// Result of encoding Unicode text into a code page: the bytes, or the first character the
// page cannot hold.
struct EncodeResult {
    std::optional<std::string> Bytes;
    QString BadChar;       // the first character without a byte in the page
    qsizetype BadPos = -1; // its index in the text
    bool Ok() const { return Bytes.has_value(); }
};

EncodeResult EncodeText(const QString& Text, int CodePage);

// "The character 'x' cannot be written in code page windows-1251."
QString UnrepresentableMessage(const EncodeResult& Result, int CodePage);

// The converter name of a code page ("windows-1251", "Shift_JIS" ...).
const char* CodePageName(int CodePage);

} // namespace kav
