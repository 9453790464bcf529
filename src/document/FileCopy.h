#pragma once
// Copying files into the backup folder.

#include <functional>
#include <string>
#include <string_view>
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
// naming both. The copy is written beside Target under a temporary name, flushed to disk,
// checked to hold as many bytes as Source, and only then renamed over Target, the folder
// flushed after it: a crash or a full disk leaves Target as it was (or missing), never cut
// short. A copy that cannot be completed is removed.
std::string CopyOneFile(const std::string& Source, const std::string& Target);

// CopyOneFile's copy without the clean-up of the target's folder, Check run on the complete
// copy before its rename (see WriteAtomically); 0 or an errno.
int CopyFileChecked(const std::string& Source, const std::string& Target,
                    const std::function<int(const std::string&)>& Check);

// The same for the bytes Fill writes to the descriptor it is given (0 or an errno), checked by
// Check on the complete temporary file when given (0 or an errno, EIO for a wrong content).
// Mode: the permissions of the new file. Returns 0 or an errno; Target keeps its bytes on
// failure, and no temporary file is left.
int WriteAtomically(const std::string& Target, unsigned Mode, const std::function<int(int)>& Fill,
                    const std::function<int(const std::string&)>& Check = {});

// Bytes as a whole file at Target, written as WriteAtomically does; an empty text or a message
// naming Target.
std::string WriteFileAtomically(const std::string& Target, std::string_view Bytes);

bool MatchesMask(const std::string& Name, const std::string& Mask);

// Creates Dir (one level) when missing, its parent's entry flushed to disk; false when it is
// missing and cannot be made.
bool EnsureFolder(const std::string& Dir);

} // namespace kav
