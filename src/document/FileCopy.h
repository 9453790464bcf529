#pragma once
// Copying files into the backup folder.

#include <string>

namespace kav {

// Copies every plain file of SourceDir whose name matches Mask ("*" and "?" wildcards, letter
// case ignored) to TargetDir under the same name, overwriting older copies. Folders and the
// tool's own temporary files are passed over. Returns an empty text, or a message naming the
// file that could not be copied.
std::string CopyMatchingFiles(const std::string& Mask, const std::string& SourceDir,
                              const std::string& TargetDir);

bool MatchesMask(const std::string& Name, const std::string& Mask);

// Creates Dir (one level) when missing; false when it is missing and cannot be made.
bool EnsureFolder(const std::string& Dir);

} // namespace kav
