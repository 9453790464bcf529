#pragma once
// Recovery copies of unsaved work in Backup/Recovery/: the items of a modified document (as
// the STR writer writes them: name, translation, colour mark) with the document's file name,
// kind and language in a small header, one copy per document file, written atomically. A copy
// is named after its document but never is one (its own folder, its own extension, a hash in
// its name; a link in its place is replaced, not written through): after a crash the
// translator decides what becomes of it.

#include "document/FileKind.h"
#include "document/StrFile.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kav {

struct TRecoveryItem {
    std::string Name;
    std::string Text;
    int32_t Color = NoColorMark;
};

struct TRecoveryCopy {
    std::string Path;     // the copy itself
    std::string FileName; // the document's file as the window names it ("Untitled" and the like
                          // for a document never saved)
    StrFileKind Kind = fkMain;
    std::string LanguageCode;
    std::int64_t Written = 0;         // when, in seconds since 1970 (UTC)
    std::vector<TRecoveryItem> Items; // left empty by ListRecovery
};

// BackupDir + "Recovery/".
std::string RecoveryFolder(const std::string& BackupDir);

// Where the copy of the document of FileName goes in Folder: "<file name>-<hash of
// FileName>.recovery", so that two files of one name in two folders have copies of their own.
std::string RecoveryPath(const std::string& Folder, const std::string& FileName);

// Writes the copy of the document of FileName (Kind fkMain or fkUser) into Folder, created
// when missing, replacing its previous copy only once the new one is complete. Items the STR
// format cannot hold are refused, as a save refuses them, and the previous copy stays. Returns
// an empty text or a message naming the copy.
std::string WriteRecovery(const std::string& Folder, const std::string& FileName, StrFileKind Kind,
                          const std::string& LanguageCode, const std::vector<StrWriteItem>& Items);

// The copy at Path with its items; nullopt with Error set when it cannot be read, is not a
// recovery copy, or is cut short.
std::optional<TRecoveryCopy> ReadRecovery(const std::string& Path, std::string& Error);

// The copies in Folder that read back whole, without their items, newest first.
std::vector<TRecoveryCopy> ListRecovery(const std::string& Folder);

// Removes the copy of FileName from Folder; false when one is there and cannot be removed.
bool DiscardRecovery(const std::string& Folder, const std::string& FileName);

} // namespace kav
