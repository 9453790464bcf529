// kavtool commands of the translation memory: pretranslate.

#include "cli/CliSession.h"
#include "document/Languages.h"
#include "document/Pretranslation.h"
#include "document/TranslationMemory.h"
#include "text/CodePage.h"

#include <iostream>

namespace kav {

namespace {

// What a dry run would put into one item.
void PrintFill(const TSession& S, const TTranslationMemory& Memory, const TPretranslation& Fill) {
    const TMemoryPair& Pair = Memory.Pair(Fill.Match.Pair);
    std::cout << S.Doc.Items().Caption(Fill.Id) << " " << S.Doc.Items().Name(Fill.Id) << ": "
              << Fill.Match.Score << " % from " << Pair.Origin << ": \""
              << Pair.Target.toStdString() << "\"\n";
}

int Pretranslate(const std::string& ProgramDir, const TArgs& A) {
    bool Number = false;
    const int MinScore = QString::fromStdString(A.Get("--min-score", "100")).toInt(&Number);
    if (!Number || MinScore < MinFuzzyScore || MinScore > ExactScore)
        return UsageError(*A.Command, "--min-score takes a number from " +
                                          std::to_string(MinFuzzyScore) + " to 100");
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    const TMemoryBuild Build =
        BuildTranslationMemory(S.State().FProgramDir, S.State().FLanguageCode);
    for (const std::string& Problem : Build.Problems)
        std::cerr << "kavtool: warning: " << Problem << "\n";
    const TPretranslationPlan Plan =
        PlanPretranslation(S.Doc.Items(), Build.Memory, TranslatedCodePage(S.State()), MinScore);
    int Filled = 0;
    if (A.Has("--dry-run")) {
        for (const TPretranslation& Fill : Plan.Fills)
            PrintFill(S, Build.Memory, Fill);
        Filled = static_cast<int>(Plan.Fills.size());
        std::cout << "dry run, nothing written: ";
    } else if (!Plan.Fills.empty()) {
        Filled = ApplyPretranslation(S.Doc, Plan);
        if (!S.Doc.SaveFile(S.State().FFileName))
            return S.Doc.SaveRefused() ? 1 : 2;
    }
    std::cout << PretranslationSummary(Plan, Filled) << " (" << Build.Memory.Count()
              << " pairs from " << Build.Files << " files) in " << S.State().FFileName << "\n";
    return Build.Problems.empty() ? S.Finish() : 1;
}

const TRegisterCommand RegisterPretranslate(
    {"pretranslate",
     "FILE",
     {{"min-score", "N",
       "also take fuzzy matches scoring at least N (75 to 100; 100, exact matches only, unless "
       "given)"},
      {"dry-run", nullptr, "print what would be filled and write nothing"}},
     "untranslated items from the translation memory",
     Pretranslate});

} // namespace

} // namespace kav
