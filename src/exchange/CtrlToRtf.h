#pragma once
// The RTF document writer: a font table, a fixed sixteen-colour table and runs of text with
// their paragraph breaks, tabs, alignment and character formatting, built in memory and saved
// to one file. Texts are bytes and stay bytes; only "\", "{" and "}" are escaped so that no
// text can change the document's structure.

#include "grid/CellProperties.h"

#include <string>
#include <string_view>
#include <vector>

namespace kav {

enum class TRtfAlignment { Left, Right, Center };

// What the screen makes of a font: the character set it is realised with and the family
// class in the high nibble of its pitch-and-family byte.
struct TRealisedFont {
    int Charset = 0;
    int PitchAndFamily = 0;
};

// Asks the platform font layer (needs a QGuiApplication).
TRealisedFont RealiseFont(const TMyFont& Font);

// "fcharset" + the set's number.
std::string CharsetWord(int Charset);
// "fswiss" ... from the high nibble; unknown classes read as "froman".
std::string FamilyWord(int PitchAndFamily);
// The colour-table index of one of the sixteen fixed colours, -1 for any other value.
int ColorIndex(TColor Color);
// Text as document bytes. In a double-byte CodePage every two-byte character is written as two
// "\'hh" escapes: its second byte may be a backslash or a brace, which raw would be read as
// RTF syntax and split the character.
std::string EscapeRtfText(std::string_view Text, int CodePage = 0);

class TCtrlToRTF {
public:
    // Adds a font-table entry unless an entry already contains the font's name.
    void AddFont(const TMyFont& Font);
    void AddFont(const TMyFont& Font, const TRealisedFont& Realised);
    // Fonts added later are not in the document's font table.
    void WriteHeader();
    // The code page of the texts that follow (0: single bytes only).
    void SetTextCodePage(int CodePage) { FCodePage = CodePage; }
    void AddText(std::string_view Text, int Tabs, int Pars, const TMyFont& Font,
                 TRtfAlignment Alignment);
    // Appends the closing and writes the whole document; throws ToolError when the file
    // cannot be written (an existing file is then left as it was).
    void SaveToFile(const std::string& FileName);

    const std::string& Bytes() const { return FStream; }
    const std::vector<std::string>& FontTable() const { return FFontTable; }

private:
    int FontIndex(const std::string& Name) const;

    std::string FStream;
    std::vector<std::string> FFontTable;
    int FCodePage = 0;
};

} // namespace kav
