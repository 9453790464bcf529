#include "cli/Kavtool.h"

#include "cli/CliSession.h"
#include "document/ProgramFolder.h"
#include "document/TranslationTable.h"

#include <filesystem>
#include <iostream>
#include <system_error>

namespace kav {

namespace {

std::vector<TCommand>& Registry() {
    static std::vector<TCommand> List;
    return List;
}

void PrintUsage() {
    std::cerr << "usage: kavtool [--home DIR] COMMAND ...\n       kavtool --version | --help\n";
    for (const TCommand& Command : Commands())
        std::cerr << "  " << Command.Name << " " << Command.Usage << "\n";
}

} // namespace

TSession::TSession(const std::string& ProgramDir) {
    InitFolders(State, ProgramDir);
    ConfigureTable(Grid);
    State.Bookmarks.fill(-1);
}

bool TSession::Open(const std::string& Path) {
    const bool Opened = Doc.OpenPath(Path);
    LoadFindings = Doc.LastLoad().Findings;
    return Opened;
}

bool TSession::SaveAs(const std::string& Path, bool Force) {
    const std::string Target = SaveTargetName(Path, State.FFileKind);
    std::error_code Error;
    const bool Own = State.FFileName != UntitledName &&
                     std::filesystem::equivalent(Target, State.FFileName, Error);
    if (!Force && !Own && std::filesystem::exists(Target, Error)) {
        Fail(Target + " exists; add --force to overwrite it");
        return false;
    }
    State.FNewFileName = true;
    return Doc.SaveFile(Path);
}

int TSession::Finish() const {
    return LoadFindings > 0 || Doc.NewDocumentFindings() > 0 ? 1 : 0;
}

std::string TArgs::Get(const std::string& Name, const std::string& Default) const {
    auto It = Options.find(Name);
    return It == Options.end() ? Default : It->second;
}

TArgs ParseArgs(const std::vector<std::string>& Args, const std::set<std::string>& Flags) {
    TArgs Result;
    for (size_t i = 0; i < Args.size(); ++i) {
        const std::string& A = Args[i];
        if (A.size() < 3 || A.compare(0, 2, "--") != 0) {
            Result.Positional.push_back(A);
        } else if (Flags.count(A)) {
            Result.Options[A];
        } else if (i + 1 < Args.size()) {
            Result.Options[A] = Args[++i];
        } else {
            Result.Error = A + " needs a value";
        }
    }
    return Result;
}

int Fail(const std::string& Message) {
    std::cerr << "kavtool: " << Message << "\n";
    return 2;
}

TRegisterCommand::TRegisterCommand(const TCommand& Command) {
    Registry().push_back(Command);
}

const std::vector<TCommand>& Commands() {
    return Registry();
}

int RunKavtool(const std::string& ProgramDir, const std::vector<std::string>& Args) {
    if (Args.empty() || Args[0] == "--help" || Args[0] == "-h") {
        PrintUsage();
        return Args.empty() ? 2 : 0;
    }
    if (Args[0] == "--version") {
        std::cout << "kavtool " << KAV_VERSION << "\n";
        return 0;
    }
    for (const TCommand& Command : Commands())
        if (Args[0] == Command.Name)
            return Command.Run(ProgramDir, std::vector<std::string>(Args.begin() + 1, Args.end()));
    std::cerr << "kavtool: unknown command " << Args[0] << "\n";
    PrintUsage();
    return 2;
}

} // namespace kav
