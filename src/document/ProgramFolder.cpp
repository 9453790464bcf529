#include "document/ProgramFolder.h"

#include "document/MainState.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace kav {

namespace {

std::string WithSlash(std::string Dir) {
    if (Dir.empty() || Dir.back() != '/')
        Dir += '/';
    return Dir;
}

std::string Absolute(const std::string& Dir) {
    std::error_code Ec;
    std::filesystem::path Path = std::filesystem::absolute(Dir, Ec);
    return Ec ? Dir : Path.lexically_normal().string();
}

std::string ExecutableFolder() {
    std::error_code Ec;
    std::filesystem::path Exe = std::filesystem::read_symlink("/proc/self/exe", Ec);
    return Ec ? std::string(".") : Exe.parent_path().string();
}

} // namespace

std::string ResolveProgramFolder(int& Argc, char** Argv) {
    std::string Home;
    for (int i = 1; i < Argc; ++i) {
        if (std::strcmp(Argv[i], "--home") == 0 && i + 1 < Argc) {
            Home = Argv[i + 1];
            for (int j = i; j + 2 <= Argc; ++j)
                Argv[j] = Argv[j + 2];
            Argc -= 2;
            break;
        }
    }
    if (Home.empty())
        if (const char* Root = std::getenv("KAVROOT"); Root && *Root)
            Home = Root;
    if (Home.empty())
        Home = ExecutableFolder();
    return WithSlash(Absolute(Home));
}

void InitFolders(TMainState& State, const std::string& ProgramDir) {
    State.FProgramDir = ProgramDir;
    State.FDefaultDir = ProgramDir + "Default/";
    State.FDefaultFileName = State.FDefaultDir + MainDefaultName;
}

} // namespace kav
