// kavtool commands of the search: replace.

#include "cli/CliSession.h"
#include "document/CodePage.h"
#include "document/Languages.h"
#include "search/FindOptions.h"
#include "search/SearchEngine.h"

#include <QString>

#include <iostream>
#include <optional>

namespace kav {

namespace {

// "-o OUT" is a short option, which the shared parser would take for a positional argument.
std::optional<std::string> TakeOutput(std::vector<std::string>& Args, std::string& Error) {
    std::optional<std::string> Out;
    for (size_t i = 0; i < Args.size(); ++i) {
        if (Args[i] != "-o")
            continue;
        if (i + 1 >= Args.size() || Out) {
            Error = "-o needs one OUT";
            return std::nullopt;
        }
        Out = Args[i + 1];
        Args.erase(Args.begin() + static_cast<long>(i), Args.begin() + static_cast<long>(i) + 2);
        --i;
    }
    return Out;
}

// Arguments arrive as UTF-8; cells hold the bytes of the language's code page.
bool EncodeArgument(const std::string& Text, int CodePage, std::string& Bytes) {
    const EncodeResult Encoded = EncodeText(QString::fromUtf8(Text.c_str()), CodePage);
    if (!Encoded.Ok()) {
        Fail(UnrepresentableMessage(Encoded, CodePage).toStdString());
        return false;
    }
    Bytes = *Encoded.Bytes;
    return true;
}

std::string CountMessage(const TReplaceAllResult& Result) {
    if (!Result.Found)
        return "Search string not found";
    return "Found " + std::to_string(Result.Count) + " occurences";
}

int Replace(const std::string& ProgramDir, const std::vector<std::string>& Arguments) {
    std::vector<std::string> Args = Arguments;
    std::string Error;
    const std::optional<std::string> Out = TakeOutput(Args, Error);
    TArgs A = ParseArgs(Args, {"--match-case", "--whole-word"});
    const std::string Usage = "replace takes FILE OLD NEW [--match-case] [--whole-word] [-o OUT]";
    if (!Error.empty() || !A.Error.empty() || A.Positional.size() != 3 ||
        A.Options.size() != static_cast<size_t>(A.Has("--match-case") + A.Has("--whole-word")))
        return Fail(Usage);
    if (A.Positional[1].empty())
        return Fail("replace needs a non-empty OLD text");

    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    S.State.FFontCharset = CharsetOfLanguageKey(S.UI.SelectedCode.substr(0, 2));
    S.State.FLanguageCode = S.UI.SelectedCode;
    TSearchEngine Engine(S.State, S.Grid);
    std::string Old, New;
    if (!EncodeArgument(A.Positional[1], Engine.TextCodePage(), Old) ||
        !EncodeArgument(A.Positional[2], Engine.TextCodePage(), New))
        return 2;
    S.State.FSearchOptions = static_cast<TFindOptions>(frDown | frReplaceAll |
                                                       (A.Has("--match-case") ? frMatchCase : 0) |
                                                       (A.Has("--whole-word") ? frWholeWord : 0));

    const TReplaceAllResult Result = Engine.ReplaceAllRows(Old, New);
    std::cout << CountMessage(Result) << "\n";
    const bool Saved = Out ? S.SaveAs(*Out) : S.Doc.SaveFile(S.State.FFileName);
    if (!Saved)
        return 2;
    std::cout << "wrote " << S.State.FFileName << "\n";
    return 0;
}

const TRegisterCommand RegisterReplace(
    {"replace",
     "FILE OLD NEW [--match-case] [--whole-word] [-o OUT]   Replace All in the translations, "
     "then save (in place with its backup, or to OUT)",
     Replace});

} // namespace

} // namespace kav
