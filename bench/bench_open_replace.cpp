// The open of a translated file and a Replace All in it, timed in one process, as kavtool opens
// and replaces: the Replace All against the open it follows, without the process start and the
// save that `kavtool replace` adds. The scale suite runs it on its generated pairs:
//   bench_open_replace --home PAIR FILE [OLD NEW]
// (OLD and NEW default to the suite's "Fichier" and "Dossier", matching case; both plain ASCII,
// the same bytes in every code page).

#include "cli/CliSession.h"
#include "document/ProgramFolder.h"
#include "search/FindOptions.h"
#include "search/SearchEngine.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

using TClock = std::chrono::steady_clock;

double MsSince(TClock::time_point Start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

} // namespace

int main(int argc, char** argv) {
    const std::string ProgramDir = kav::ResolveProgramFolder(argc, argv);
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: bench_open_replace --home PAIR FILE [OLD NEW]\n");
        return 2;
    }
    const std::string Old = argc == 4 ? argv[2] : "Fichier";
    const std::string New = argc == 4 ? argv[3] : "Dossier";

    kav::TSession S(ProgramDir);
    auto Start = TClock::now();
    if (!S.Open(argv[1]))
        return 2;
    const double OpenMs = MsSince(Start);

    kav::TSearchState Search;
    kav::TSearchEngine Engine(Search, S.Doc);
    Search.FSearchOptions =
        static_cast<kav::TFindOptions>(kav::frDown | kav::frReplaceAll | kav::frMatchCase);
    Start = TClock::now();
    // With the event kavtool passes, which gets each row's text from before its replacement;
    // the step recorded when the command ends is part of the work.
    kav::TReplaceAllResult Result;
    {
        kav::TDocumentEdit Edit(S.Doc, "Replace All");
        Result = Engine.ReplaceAllRows(Edit, Old, New, {}, [](int, const std::string&) {});
    }
    const double ReplaceMs = MsSince(Start);

    std::printf("open: %.1f ms\n", OpenMs);
    std::printf("replace all: %.1f ms, %d occurrences in %d items\n", ReplaceMs, Result.Count,
                Result.Items);
    std::printf("ratio replace all / open: %.2f\n", ReplaceMs / OpenMs);
    return Result.Count > 0 ? 0 : 1;
}
