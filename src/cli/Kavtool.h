#pragma once
// kavtool's commands over the same document code the editor runs.

#include <string>
#include <vector>

namespace kav {

// Runs one command line (without the program name and --home); returns the exit code:
// 0 success, 1 a finding, 2 an error (reported on stderr).
int RunKavtool(const std::string& ProgramDir, const std::vector<std::string>& Args);

} // namespace kav
