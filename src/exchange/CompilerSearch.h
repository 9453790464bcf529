#pragma once
// Where the build batch finds the compilers it calls by name. Its command interpreter looks in
// the current folder, which is Compiler/ when the compilers are called, then along its search
// path: %PATH% on Windows; under Wine the folders of WINEPATH and then the PATH of the prefix's
// registry (the system's, then the user's). A compiler is found as NAME.exe, .com, .bat or
// .cmd in any letter case.

#include <string>
#include <vector>

namespace kav {

// The interpreter's search path, as it names its folders (Windows paths), in order.
std::vector<std::string> BatchSearchPath();

// A folder of the search path as a folder of this machine: itself on Windows; under Wine the
// drive's folder of the prefix (C: its drive_c, Z: the root), each part found in any letter
// case. Empty when no drive maps it.
std::string LocalFolderOf(const std::string& SearchFolder);

// The compilers of the batch (srmc, brcc32) that neither CompilerDir nor a folder of
// SearchPath holds.
std::vector<std::string> MissingCompilers(const std::string& CompilerDir,
                                          const std::vector<std::string>& SearchPath);

// "Can not Compile: brcc32 is missing. ..." naming the folders looked in.
std::string MissingCompilersMessage(const std::vector<std::string>& Missing,
                                    const std::string& CompilerDir,
                                    const std::vector<std::string>& SearchPath);

} // namespace kav
