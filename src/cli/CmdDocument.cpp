// kavtool commands on whole documents: stats, new, roundtrip.

#include "cli/CliSession.h"
#include "document/BackupHistory.h"
#include "document/TranslationTable.h"
#include "measure/ItemCheck.h"

#include <cstdio>
#include <iostream>

namespace kav {

namespace {

int Stats(const std::string& ProgramDir, const TArgs& A) {
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    int Translated = 0, Untranslated = 0, Empty = 0, Marked = 0;
    const int Items = S.Doc.Items().Count();
    for (TItemId Id = 0; Id < Items; ++Id) {
        switch (ItemStateOf(S.Doc.Items().View(Id))) {
        case TItemState::Empty:
            ++Empty;
            break;
        case TItemState::Untranslated:
            ++Untranslated;
            break;
        case TItemState::Translated:
            ++Translated;
            break;
        }
        if (S.Doc.Items().Colour(Id) != clWhite)
            ++Marked;
    }
    std::cout << "kind: " << (S.State().FFileKind == fkUser ? "user" : "main") << "\n"
              << "code: " << S.State().FLanguageCode << "\n"
              << "items: " << Items << "\n"
              << "translated: " << Translated << "\n"
              << "untranslated: " << Untranslated << "\n"
              << "empty: " << Empty << "\n"
              << "marked: " << Marked << "\n"
              << "unmatched: " << S.Doc.LastLoad().Unmatched.size() << "\n";
    return S.Finish();
}

int New(const std::string& ProgramDir, const TArgs& A) {
    const std::string Kind = A.Get("--kind");
    if (Kind != "main" && Kind != "user")
        return UsageError(*A.Command, "no kind " + Kind);
    if (A.Get("--lang").empty())
        return UsageError(*A.Command, "--lang needs a CODE");
    const std::string& Out = A.Positional[0];
    TSession S(ProgramDir);
    S.Doc.SetSoftware(Kind == "main" ? TSoftware::Kavrino : TSoftware::Pelmor);
    if (S.Doc.NewDocument() < 0)
        return 2;
    S.Doc.SetLanguage(A.Get("--lang"));
    if (!S.SaveAs(Out, A.Has("--force")))
        return 2;
    std::cout << "wrote " << S.State().FFileName << " (" << S.Doc.Items().Count() << " items)\n";
    return S.Finish();
}

int Roundtrip(const std::string& ProgramDir, const TArgs& A) {
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]) || !S.SaveAs(A.Positional[1], A.Has("--force")))
        return 2;
    std::cout << "wrote " << S.State().FFileName << " (" << S.Doc.Items().Count() << " items)\n";
    return S.Finish();
}

int History(const std::string& ProgramDir, const TArgs& A) {
    TSession S(ProgramDir);
    const std::string Name = FileNamePart(A.Positional[0]);
    const TFileNameInfo Info = ExamineFileName(Name);
    const std::string Default =
        S.State().FDefaultDir + (Info.Kind == fkUser ? UserDefaultName : MainDefaultName);
    const std::string Folder = HistoryFolder(S.State().BackupDir());
    // The versions of that very file: another folder's file of the same name has its own.
    const std::vector<THistoryEntry> Versions = ListFileHistory(Folder, A.Positional[0]);
    if (Versions.empty())
        std::cout << "no saved versions of " << Name << " in " << Folder << "\n";
    for (const THistoryEntry& Version : Versions)
        std::cout << ShownStamp(Version.Stamp) << "  " << CountTranslated(Version.Path, Default)
                  << " translated  " << Version.Path << "\n";
    return 0;
}

const TRegisterCommand
    RegisterStats({"stats", "FILE", {}, "items, translated, untranslated, marks", Stats});
const TRegisterCommand RegisterNew({"new",
                                    "OUT",
                                    {{"kind", "main|user", "the document's kind", true},
                                     {"lang", "CODE", "the language", true},
                                     ForceOption},
                                    "a new translation from the default file",
                                    New});
const TRegisterCommand
    RegisterHistory({"history", "FILE", {}, "the saved versions kept in Backup/History/", History});
const TRegisterCommand RegisterRoundtrip(
    {"roundtrip", "FILE OUT", {ForceOption}, "load and save through the save step", Roundtrip});

} // namespace

} // namespace kav
