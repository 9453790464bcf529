#pragma once
// Questions about what is at a path, answered the same way everywhere: an error (no permission
// to look, a path too long) reads as "nothing there", and the caller's next step reports it.

#include <string>

namespace kav {

// A plain file, or a link to one, is at Path.
bool IsFile(const std::string& Path);
// Anything is at Path: a file, a folder, a link to either.
bool PathExists(const std::string& Path);

} // namespace kav
