#pragma once
// The small INI files of a project folder (Placeholders.ini, Fonts/Substitutes.ini): lines
// trimmed, blank lines and comments (";" or "#") skipped, "[Section]" headers, and every
// problem named "FILE:LINE: what is wrong" so the user can find it.
#include <QString>

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace kav {

// One line that is neither blank nor a comment.
struct TIniLine {
    QString Text;      // trimmed
    int Number = 0;    // from 1
    std::string Where; // "FILE:LINE: ", the start of a problem's message
};

struct TIniVisitor {
    // A "[...]" line; Name is what stands between the brackets, trimmed, or nothing when the
    // closing bracket is missing (reported already).
    std::function<void(const std::optional<QString>& Name, const TIniLine& Line)> Section;
    // Any other line; InSection tells whether a header stood above it.
    std::function<void(bool InSection, const TIniLine& Line)> Entry;
};

// The text of File; nothing when it is not there (no error) or cannot be read (an error).
std::optional<QString> IniFileText(const std::string& File, std::vector<std::string>& Errors);

// Walks the lines of Text (Name for the messages) in order.
void ReadIniLines(const QString& Text, const std::string& Name, std::vector<std::string>& Errors,
                  const TIniVisitor& Visit);

// The key and value of a "key=value" line, both trimmed; nothing when the line has no "="
// after its first character or the key is blank.
std::optional<std::pair<QString, QString>> IniKeyValue(const QString& Line);

// What Read makes of a program folder's file, read once per folder and process: a project's
// files change between runs, not while the program runs. Errors, when given, gets the file's
// faulty lines.
template <class T>
const T& ReadOncePerFolder(const std::string& ProgramDir, std::vector<std::string>* Errors,
                           T (*Read)(const std::string& ProgramDir,
                                     std::vector<std::string>& Errors)) {
    struct TRead {
        T Value;
        std::vector<std::string> Errors;
    };
    static std::mutex Guard;
    static std::map<std::string, TRead> Done;
    const std::lock_guard<std::mutex> Lock(Guard);
    auto Found = Done.find(ProgramDir);
    if (Found == Done.end()) {
        TRead R;
        if (!ProgramDir.empty())
            R.Value = Read(ProgramDir, R.Errors);
        Found = Done.emplace(ProgramDir, std::move(R)).first;
    }
    if (Errors)
        *Errors = Found->second.Errors;
    return Found->second.Value;
}

} // namespace kav
