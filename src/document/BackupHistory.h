#pragma once
// The saved versions of translated files: every save keeps the version it replaces in
// Backup/History/, the newest HistoryDepth per file, so that saving a bad state twice never
// loses the last good one.
//
// Each folder that holds documents has a sub-folder of its own ("<folder name>-<hash of its
// absolute path>", the path itself in its Folder.txt), so that two files of one name in two
// folders never evict each other's versions. A version is named
// "<file name>.v<sequence>.<YYYYMMDD-HHMMSS>Z.<size>": the sequence orders the versions of the
// whole history and never goes back, whatever the clock does; the time is UTC; the size tells
// a complete version from one cut short. Versions kept before the history had folders
// ("<file name>.<YYYYMMDD-HHMMSS>" directly in Backup/History/) are still listed.

#include <string>
#include <vector>

namespace kav {

constexpr size_t HistoryDepth = 20;

struct THistoryEntry {
    std::string Path;       // the copy in the history folder
    std::string FileName;   // the name of the file it is a version of
    std::string Stamp;      // local "YYYYMMDD-HHMMSS"; an older version's "-N" kept
    std::string Folder;     // the absolute folder of that file; empty for an older version
    long long Sequence = 0; // order of the saves; 0 for an older version
};

// BackupDir + "History/".
std::string HistoryFolder(const std::string& BackupDir);

// The sub-folder of HistoryDir for the versions of the files in File's folder (with "/"),
// whether it exists or not.
std::string DocumentHistoryFolder(const std::string& HistoryDir, const std::string& File);

// Copies File into its folder's sub-folder of HistoryDir (created when missing), unless the
// newest version of it holds the same bytes. The copy is written under a temporary name,
// flushed, and read back: only with its full size and as many items as File it becomes a
// version, and only then are versions of File beyond the newest HistoryDepth complete ones
// removed, never the one just written. Returns an empty text or a message naming the file
// (a version that could not be completed is removed).
std::string KeepInHistory(const std::string& File, const std::string& HistoryDir);

// The complete versions of FileName in every folder, or of every file when FileName is
// empty, newest first.
std::vector<THistoryEntry> ListHistory(const std::string& HistoryDir,
                                       const std::string& FileName = {});

// The complete versions of the file at path File: those of its folder, then the older ones of
// its name, newest first.
std::vector<THistoryEntry> ListFileHistory(const std::string& HistoryDir, const std::string& File);

// "YYYY-MM-DD HH:MM:SS" for a stamp (its "-N" kept).
std::string ShownStamp(const std::string& Stamp);

// Items of the translated file File whose text is neither blank nor the default file's text
// of the same name; -1 when either file cannot be read.
int CountTranslated(const std::string& File, const std::string& DefaultFile);

// Item lines of an STR file as the reader takes them; -1 when it cannot be read to its end.
long long CountItemLines(const std::string& File);

} // namespace kav
