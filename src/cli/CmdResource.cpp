// kavtool make-resource: Compile > Make Resource File for a translated file.

#include "cli/CliSession.h"
#include "exchange/ResourceBuild.h"

#include <iostream>

namespace kav {

namespace {

int ReportStart(const TResourceOutcome& Out) {
    switch (Out.Start) {
    case TBatchStart::Started:
        std::cout << "started " << Out.BatchPath << "\n";
        return 0;
    case TBatchStart::NoRunner:
        // Written as asked; the message on stderr says how to run it.
        std::cout << "not started " << Out.BatchPath << "\n";
        return 0;
    case TBatchStart::Failed:
        break;
    }
    return 2;
}

int MakeResource(const std::string& ProgramDir, const TArgs& A) {
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    if (A.Has("--lang"))
        S.Doc.SetLanguage(A.Get("--lang"));
    TResourceOutcome Out = TResourceBuild(S.State(), S.UI).MakeResourceFile(!A.Has("--no-start"));
    if (!Out.Written)
        return 2;
    std::cout << "wrote " << Out.BatchPath << "\n"
              << "wrote " << Out.ScriptPath << "\n";
    const int Started = Out.StartTried ? ReportStart(Out) : 0;
    return Started != 0 ? Started : S.Finish();
}

const TRegisterCommand
    RegisterMakeResource({"make-resource",
                          "FILE",
                          {{"lang", "CODE", "the language, when the file's name does not say it"},
                           {"no-start", nullptr, "write the batch without starting it"}},
                          "the resource script and the build batch, and the batch started",
                          MakeResource});

} // namespace

} // namespace kav
