// kavtool commands on whole documents: stats, new, roundtrip.

#include "cli/CliSession.h"
#include "document/TranslationTable.h"

#include <cstdio>
#include <iostream>

namespace kav {

namespace {

bool FileExists(const std::string& Path) {
    FILE* F = std::fopen(Path.c_str(), "rb");
    if (F)
        std::fclose(F);
    return F != nullptr;
}

int Stats(const std::string& ProgramDir, const std::vector<std::string>& Args) {
    TArgs A = ParseArgs(Args, {});
    if (!A.Error.empty() || A.Positional.size() != 1 || !A.Options.empty())
        return Fail("stats takes one FILE");
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    int Translated = 0, Untranslated = 0, Empty = 0, Marked = 0;
    const int Items = ItemCount(S.Grid);
    for (int Row = FirstItemRow; Row < FirstItemRow + Items; ++Row) {
        const std::string& Text = S.Grid.Cells(colTranslated, Row);
        if (Text.empty())
            ++Empty;
        else if (Text == S.Grid.Cells(colDefault, Row))
            ++Untranslated;
        else
            ++Translated;
        if (S.Grid.ColorCell(colMark, Row) != clWhite)
            ++Marked;
    }
    std::cout << "kind: " << (S.State.FFileKind == fkUser ? "user" : "main") << "\n"
              << "code: " << S.UI.SelectedCode << "\n"
              << "items: " << Items << "\n"
              << "translated: " << Translated << "\n"
              << "untranslated: " << Untranslated << "\n"
              << "empty: " << Empty << "\n"
              << "marked: " << Marked << "\n"
              << "unmatched: " << S.Doc.LastLoad().Unmatched.size() << "\n";
    return 0;
}

int New(const std::string& ProgramDir, const std::vector<std::string>& Args) {
    TArgs A = ParseArgs(Args, {"--force"});
    const std::string Kind = A.Get("--kind");
    if (!A.Error.empty() || A.Positional.size() != 1 || (Kind != "main" && Kind != "user") ||
        A.Get("--lang").empty())
        return Fail("new takes --kind main|user --lang CODE OUT");
    const std::string& Out = A.Positional[0];
    if (FileExists(Out) && !A.Has("--force"))
        return Fail(Out + " exists; add --force to overwrite it");
    TSession S(ProgramDir);
    S.UI.Software = Kind == "main" ? 0 : 1;
    if (S.Doc.NewDocument() < 0)
        return 2;
    S.UI.Language = A.Get("--lang");
    if (!S.SaveAs(Out))
        return 2;
    std::cout << "wrote " << S.State.FFileName << " (" << ItemCount(S.Grid) << " items)\n";
    return 0;
}

int Roundtrip(const std::string& ProgramDir, const std::vector<std::string>& Args) {
    TArgs A = ParseArgs(Args, {"--force"});
    if (!A.Error.empty() || A.Positional.size() != 2)
        return Fail("roundtrip takes FILE OUT");
    const std::string& Out = A.Positional[1];
    if (FileExists(Out) && !A.Has("--force") && Out != A.Positional[0])
        return Fail(Out + " exists; add --force to overwrite it");
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]) || !S.SaveAs(Out))
        return 2;
    std::cout << "wrote " << S.State.FFileName << " (" << ItemCount(S.Grid) << " items)\n";
    return 0;
}

const TRegisterCommand RegisterStats(
    {"stats", "FILE                            items, translated, untranslated, marks", Stats});
const TRegisterCommand RegisterNew(
    {"new", "--kind main|user --lang CODE OUT [--force]   new translation from the default file",
     New});
const TRegisterCommand RegisterRoundtrip(
    {"roundtrip", "FILE OUT [--force]          load + save through the save step", Roundtrip});

} // namespace

} // namespace kav
