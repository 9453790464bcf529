#pragma once
// Copying files into the backup folder.

#include <string>
#include <vector>

namespace kav {

// Copies every plain file of SourceDir whose name matches Mask ("*" and "?" wildcards, letter
// case ignored) to TargetDir under the same name, overwriting older copies. Folders and the
// tool's own temporary files are passed over. An entry that cannot be copied does not stop
// the others; returns one message per entry not copied (or one for a folder that cannot be
// listed), each naming it. An entry named Except is passed over too: the caller copies
// another file under that name.
std::vector<std::string> CopyMatchingFiles(const std::string& Mask, const std::string& SourceDir,
                                           const std::string& TargetDir,
                                           const std::string& Except = {});

// Copies the file Source (a link: the file it names) to Target; an empty text or a message
// naming both.
std::string CopyOneFile(const std::string& Source, const std::string& Target);

bool MatchesMask(const std::string& Name, const std::string& Mask);

// Creates Dir (one level) when missing; false when it is missing and cannot be made.
bool EnsureFolder(const std::string& Dir);

} // namespace kav
