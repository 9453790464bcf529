#pragma once
// Byte-string routines shared by the whole tool. Positions count from 1, as the file formats
// and messages of the tool do; no routine keeps state or reports errors.

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

using CharSet = std::bitset<256>;

// The characters with codes First..Last (inclusive).
CharSet MakeCharSet(unsigned char First, unsigned char Last);
// The characters of Chars.
CharSet MakeCharSet(std::string_view Chars);

// Codes 0 to 32: the trimming set used throughout the tool.
const CharSet& TrimChars();
// "0" to "9".
const CharSet& DigitChars();

std::string CopyRange(std::string_view S, long long First, long long Last);
std::string CopyFrom(std::string_view S, long long First);
std::string TrimCharSet(std::string_view S, const CharSet& Chars);
// TrimCharSet(S, TrimChars()).empty() without building the trimmed copy: codes 0 to 32 only.
bool IsBlankText(std::string_view S);
bool CharsInSet(const CharSet& Chars, std::string_view S, long long Start, long long Count);
bool IsDigits(std::string_view S);
bool MatchAt(std::string_view Sub, std::string_view S, long long Pos);
long long PosFrom(std::string_view Sub, std::string_view S, long long Offset);
std::vector<std::string> SplitString(std::string_view S, std::string_view Delimiter);
void SplitToList(std::string_view S, std::string_view Separator, std::vector<std::string>& List);
std::string ReplaceAll(std::string_view S, std::string_view Old, std::string_view New);
// ASCII letters upper-cased, every other byte kept (names and codes in files are bytes).
std::string UpperCase(std::string S);
// Returns the text between the next OpenCh at or after P and the following CloseCh, and moves
// P just past the closing character (see the consequences in the implementation).
std::string GetDelimited(long long& P, std::string_view S, char OpenCh, char CloseCh);
// The same token as a view into S.
std::string_view GetDelimitedView(long long& P, std::string_view S, char OpenCh, char CloseCh);
bool IsWholeWord(std::string_view S, std::string_view Word);
std::string ZeroPad(long long Value, int Width);

} // namespace kav
