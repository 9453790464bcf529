#pragma once
// The program folder: where Default/, Language/, Backup/ ... live.

#include <string>
#include <vector>

namespace kav {

// The folder given with --home DIR (taken out of the arguments), else $KAVROOT, else the folder
// of the running executable when it holds Default/ (a build tree or a portable copy), else the
// user's data folder, prepared on first use; always with a trailing "/".
std::string ResolveProgramFolder(int& Argc, char** Argv);

// The rule behind ResolveProgramFolder with its inputs spelled out. Home is --home or $KAVROOT
// (empty when neither is given); InstalledData holds the Default/ and Language/ that an
// installation ships. The user's folder is created when it is chosen (see PrepareUserFolder).
std::string ChooseProgramFolder(const std::string& Home, const std::string& ExeDir,
                                const std::string& UserDataDir, const std::string& InstalledData);

// Creates Dir with Language/ and, the first time only, copies the installed Default/ and
// Language/ files into it; files the user already has are never overwritten.
void PrepareUserFolder(const std::string& Dir, const std::string& InstalledData);

// The user's data folder (~/.local/share/KavrinoTranslationTool/ unless XDG_DATA_HOME moves it)
// and the installed sample data beside the executable (../share/KavrinoTranslationTool/).
std::string UserDataFolder();
std::string InstalledDataFolder();

// The product's own font files, which measure the items before any system face.
std::string ProductFontFolder(const std::string& ProgramDir);

// A file as given; a folder's language files (those of its Language/ folder when it has one),
// by name.
std::vector<std::string> LanguageFilesOf(const std::string& FileOrFolder);

// The user guide: beside the program (guide.html, or docs/guide.html as the build's bin/ folder
// holds it, also when that folder is copied elsewhere), else where an installation puts it
// (../share/KavrinoTranslationTool/guide.html). The installed place when it is in none.
std::string UserGuideFile();
// The same rule with its inputs spelled out.
std::string FindUserGuide(const std::string& ExeDir, const std::string& InstalledData);
// "Help file not found: ..." naming every place the guide was looked for.
std::string UserGuideNotFoundMessage(const std::string& ExeDir, const std::string& InstalledData);
std::string UserGuideNotFoundMessage();
// What the window says when no browser opens the guide at GuidePath: how to open it by hand.
std::string UserGuideWithoutBrowserMessage(const std::string& GuidePath);

// The start-up warning when Default/ is missing; in the user's data folder it also says where
// the default files go, since nothing there comes from a build tree.
struct TDocumentState;
std::string MissingDefaultMessage(const TDocumentState& State);

} // namespace kav
