#include "cli/Kavtool.h"

#include "cli/ConsoleUserInterface.h"
#include "document/Document.h"
#include "document/ProgramFolder.h"
#include "document/TranslationTable.h"

#include <iostream>

namespace kav {

namespace {

constexpr const char* Usage =
    "usage: kavtool [--home DIR] COMMAND ...\n"
    "  stats FILE                             items, translated, untranslated, marks\n"
    "  new --kind main|user --lang CODE OUT   a new translation from the default file\n"
    "  roundtrip FILE OUT                     load FILE and save it as OUT\n"
    "options of new and roundtrip: --force    overwrite OUT when it exists\n";

// One document with the console port, set up as the editor's start-up does.
struct TSession {
    TMainState State;
    TStyledGridModel Grid;
    ConsoleUserInterface UI;
    TDocument Doc{State, Grid, UI};

    explicit TSession(const std::string& ProgramDir) {
        InitFolders(State, ProgramDir);
        ConfigureTable(Grid);
        ClearBookmarksState();
    }
    void ClearBookmarksState() { State.Bookmarks.fill(-1); }
    bool Open(const std::string& Path) { return Doc.OpenPath(Path); }
    // Saves to Path as Save As does once the name is chosen.
    bool SaveAs(const std::string& Path) {
        State.FNewFileName = true;
        return Doc.SaveFile(Path);
    }
};

struct TArgs {
    std::vector<std::string> Positional;
    std::string Kind;
    std::string Lang;
    bool Force = false;
    std::string Error;
};

TArgs ParseArgs(const std::vector<std::string>& Args, size_t From) {
    TArgs Result;
    for (size_t i = From; i < Args.size(); ++i) {
        const std::string& A = Args[i];
        auto Value = [&](std::string& Into) {
            if (i + 1 >= Args.size())
                Result.Error = A + " needs a value";
            else
                Into = Args[++i];
        };
        if (A == "--kind")
            Value(Result.Kind);
        else if (A == "--lang")
            Value(Result.Lang);
        else if (A == "--force")
            Result.Force = true;
        else if (A.size() > 1 && A[0] == '-')
            Result.Error = "unknown option " + A;
        else
            Result.Positional.push_back(A);
    }
    return Result;
}

int Fail(const std::string& Message) {
    std::cerr << "kavtool: " << Message << "\n";
    return 2;
}

bool FileExists(const std::string& Path) {
    FILE* F = std::fopen(Path.c_str(), "rb");
    if (F)
        std::fclose(F);
    return F != nullptr;
}

int Stats(TSession& S, const TArgs& A) {
    if (A.Positional.size() != 1)
        return Fail("stats takes one FILE");
    if (!S.Open(A.Positional[0]))
        return 2;
    int Translated = 0, Untranslated = 0, Empty = 0, Marked = 0;
    const int Items = ItemCount(S.Grid);
    for (int Row = FirstItemRow; Row < FirstItemRow + Items; ++Row) {
        const std::string& Default = S.Grid.Cells(colDefault, Row);
        const std::string& Text = S.Grid.Cells(colTranslated, Row);
        if (Text.empty())
            ++Empty;
        else if (Text == Default)
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

int New(TSession& S, const TArgs& A) {
    if (A.Positional.size() != 1 || (A.Kind != "main" && A.Kind != "user") || A.Lang.empty())
        return Fail("new takes --kind main|user --lang CODE OUT");
    const std::string& Out = A.Positional[0];
    if (FileExists(Out) && !A.Force)
        return Fail(Out + " exists; add --force to overwrite it");
    S.UI.Software = A.Kind == "main" ? 0 : 1;
    if (S.Doc.NewDocument() < 0)
        return 2;
    S.UI.Language = A.Lang;
    if (!S.SaveAs(Out))
        return 2;
    std::cout << "wrote " << S.State.FFileName << " (" << ItemCount(S.Grid) << " items)\n";
    return 0;
}

int Roundtrip(TSession& S, const TArgs& A) {
    if (A.Positional.size() != 2)
        return Fail("roundtrip takes FILE OUT");
    const std::string& Out = A.Positional[1];
    if (FileExists(Out) && !A.Force && Out != A.Positional[0])
        return Fail(Out + " exists; add --force to overwrite it");
    if (!S.Open(A.Positional[0]))
        return 2;
    if (!S.SaveAs(Out))
        return 2;
    std::cout << "wrote " << S.State.FFileName << " (" << ItemCount(S.Grid) << " items)\n";
    return 0;
}

} // namespace

int RunKavtool(const std::string& ProgramDir, const std::vector<std::string>& Args) {
    if (Args.empty() || Args[0] == "--help" || Args[0] == "-h") {
        std::cerr << Usage;
        return Args.empty() ? 2 : 0;
    }
    TArgs A = ParseArgs(Args, 1);
    if (!A.Error.empty())
        return Fail(A.Error);
    TSession Session(ProgramDir);
    const std::string& Command = Args[0];
    if (Command == "stats")
        return Stats(Session, A);
    if (Command == "new")
        return New(Session, A);
    if (Command == "roundtrip")
        return Roundtrip(Session, A);
    std::cerr << "kavtool: unknown command " << Command << "\n" << Usage;
    return 2;
}

} // namespace kav
