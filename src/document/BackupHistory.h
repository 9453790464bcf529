#pragma once
// The saved versions of translated files: every save keeps the version it replaces in
// Backup/History/ as "<file name>.<YYYYMMDD-HHMMSS>", the newest HistoryDepth per file, so
// that saving a bad state twice never loses the last good one.

#include <string>
#include <vector>

namespace kav {

constexpr size_t HistoryDepth = 20;

struct THistoryEntry {
    std::string Path;     // the copy in the history folder
    std::string FileName; // the name of the file it is a version of
    std::string Stamp;    // "YYYYMMDD-HHMMSS", "-N" added for another version of that second
};

// BackupDir + "History/".
std::string HistoryFolder(const std::string& BackupDir);

// Copies File into HistoryDir (created when missing) under its name and the present local
// time, unless the newest version there holds the same bytes, then removes versions beyond
// the newest HistoryDepth. Returns an empty text or a message naming the file.
std::string KeepInHistory(const std::string& File, const std::string& HistoryDir);

// The versions of FileName, or of every file when FileName is empty, newest first.
std::vector<THistoryEntry> ListHistory(const std::string& HistoryDir,
                                       const std::string& FileName = {});

// "YYYY-MM-DD HH:MM:SS" for a stamp (its "-N" kept).
std::string ShownStamp(const std::string& Stamp);

// Items of the translated file File whose text is neither blank nor the default file's text
// of the same name; -1 when either file cannot be read.
int CountTranslated(const std::string& File, const std::string& DefaultFile);

} // namespace kav
