#pragma once
// The faces the product shows an item in for one language in place of the item's own, as
// Windows font linking does: on a Japanese system an item in "MS Sans Serif" is drawn in a
// Japanese face. Fonts/Substitutes.ini in the program folder holds them, one section per
// language code ("[JPN]"), one "Item face=Product face" line each; the check, the drawing and
// kavtool fonts all take the item's face through it.

#include <QString>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kav {

class TFontSubstitutes {
public:
    // The lines of File; a file that is not there is an empty table and no error. Each line
    // that cannot be read goes to Errors as "FILE:LINE: what is wrong", and is left out.
    static TFontSubstitutes FromFile(const std::string& File, std::vector<std::string>& Errors);
    // The same from the text of such a file (Name for the messages).
    static TFontSubstitutes FromText(const QString& Text, const std::string& Name,
                                     std::vector<std::string>& Errors);

    // The face the product uses for Face in the language, letter case and end blanks ignored
    // in both; empty when the table has none.
    std::string Of(const std::string& LanguageCode, const std::string& Face) const;
    bool Empty() const { return FFaces.empty(); }

private:
    struct TEntry {
        std::string Face;
        int Line = 0;
    };
    // By language code (capitals) and item face (small letters).
    std::map<std::pair<QString, QString>, TEntry> FFaces;
};

// Fonts/Substitutes.ini in the program folder (with its trailing "/").
std::string FontSubstitutesFile(const std::string& ProgramDir);
// The table of a program folder, read once for each folder (empty for an empty folder name);
// Errors, when given, gets the file's faulty lines.
const TFontSubstitutes& ProjectSubstitutes(const std::string& ProgramDir,
                                           std::vector<std::string>* Errors = nullptr);

} // namespace kav
