#include "cli/Kavtool.h"

#include "cli/CliSession.h"
#include "document/ProgramFolder.h"
#include "document/TranslationTable.h"
#include "platform/FileSystem.h"

#include <filesystem>
#include <iostream>
#include <system_error>

namespace kav {

namespace {

void PrintUsage(std::ostream& Out) {
    Out << "usage: kavtool [--home DIR] COMMAND ...\n"
           "       kavtool help [COMMAND] | COMMAND --help | --version\n";
    for (const TCommand& Command : Commands())
        Out << "  " << CommandSynopsis(Command) << "\n      " << Command.Summary << "\n";
}

// "kavtool help" and "kavtool help COMMAND": asked for, so on stdout with success.
int Help(const std::vector<std::string>& Args) {
    if (Args.size() == 1) {
        PrintUsage(std::cout);
        return 0;
    }
    const TCommand* Command = Args.size() == 2 ? FindCommand(Args[1]) : nullptr;
    if (!Command) {
        std::cerr << "kavtool: help takes one COMMAND of:\n";
        PrintUsage(std::cerr);
        return 2;
    }
    std::cout << CommandUsage(*Command);
    return 0;
}

} // namespace

TSession::TSession(const std::string& ProgramDir) {
    Doc.SetFolders(ProgramDir);
    ConfigureTable(Grid);
}

bool TSession::Open(const std::string& Path) {
    const bool Opened = Doc.OpenPath(Path);
    LoadFindings = Doc.LastLoad().Findings;
    return Opened;
}

bool TSession::SaveAs(const std::string& Path, bool Force) {
    const std::string Target = SaveTargetName(Path, State().FFileKind);
    if (!ExamineFileName(FileNamePart(Target)).Accepted) {
        Fail(OpenableNameRule(FileNamePart(Target)));
        return false;
    }
    std::error_code Error;
    const bool Own = State().FFileName != UntitledName &&
                     std::filesystem::equivalent(Target, State().FFileName, Error);
    if (!Force && !Own && PathExists(Target)) {
        Fail(Target + " exists; add --force to overwrite it");
        return false;
    }
    return Doc.SaveNewFile(Path);
}

int TSession::Finish() const {
    return LoadFindings > 0 || Doc.NewDocumentFindings() > 0 ? 1 : 0;
}

int RunKavtool(const std::string& ProgramDir, const std::vector<std::string>& Args) {
    if (Args.empty()) {
        PrintUsage(std::cerr);
        return 2;
    }
    if (Args[0] == "--help" || Args[0] == "-h" || Args[0] == "help")
        return Help(Args);
    if (Args[0] == "--version") {
        std::cout << "kavtool " << KAV_VERSION << "\n";
        return 0;
    }
    const TCommand* Command = FindCommand(Args[0]);
    if (!Command) {
        std::cerr << "kavtool: unknown command " << Args[0] << "\n";
        PrintUsage(std::cerr);
        return 2;
    }
    const TParsedArgs Parsed =
        ParseCommandArgs(*Command, std::vector<std::string>(Args.begin() + 1, Args.end()));
    if (Parsed.HelpAsked) {
        std::cout << CommandUsage(*Command);
        return 0;
    }
    if (!Parsed.Args)
        return UsageError(*Command, Parsed.Error);
    return Command->Run(ProgramDir, *Parsed.Args);
}

} // namespace kav
