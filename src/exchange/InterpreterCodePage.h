#pragma once
// The code page in which the batch's command interpreter reads the batch. Windows reads a batch
// file in the console's OEM code page; Wine's interpreter takes that page from the Unix locale
// it inherits, and reaches Unix file names with other than ASCII letters only under a UTF-8
// locale. A path that the page cannot hold would name another file in the batch.

#include <string>
#include <string_view>

namespace kav {

// Stands for "ASCII only": no OEM code page is known to hold more.
constexpr int AsciiOnly = 0;

// The OEM code page of the interpreter that would run the batch here.
int InterpreterCodePage();

// The OEM code page Windows gives a locale, for a Unix locale name ("fr_FR.UTF-8", "C.UTF-8");
// AsciiOnly for a locale that is not UTF-8, not installed here or not known.
int OemCodePageForLocale(std::string_view LocaleName);

// Text (UTF-8) in CodePage. On failure: no bytes, and the first character (UTF-8) that the page
// cannot hold.
struct TOemText {
    bool Ok = false;
    std::string Bytes;
    std::string BadChar;
};
TOemText EncodeForInterpreter(const std::string& Text, int CodePage);

} // namespace kav
