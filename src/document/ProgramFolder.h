#pragma once
// The program folder: where Default/, Language/, Backup/ ... live.

#include <string>

namespace kav {

// The folder given with --home DIR (taken out of the arguments), else $KAVROOT, else the folder
// of the running executable; always with a trailing "/".
std::string ResolveProgramFolder(int& Argc, char** Argv);

// The state fields that depend on the program folder, as start-up sets them.
struct TMainState;
void InitFolders(TMainState& State, const std::string& ProgramDir);

} // namespace kav
