// kavtool commands of the search: replace.

#include "cli/CliSession.h"
#include "document/Languages.h"
#include "document/TranslationTable.h"
#include "search/FindOptions.h"
#include "search/SearchEngine.h"
#include "text/CodePage.h"

#include <QString>

#include <iostream>

namespace kav {

namespace {

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

// One line per changed item, in the terminal's UTF-8.
void PrintChange(const TSession& S, int CodePage, int Row, const std::string& Before) {
    auto Text = [CodePage](std::string_view Bytes) {
        return DecodeBytes(Bytes, CodePage).toUtf8().toStdString();
    };
    const TItemId Id = ItemOfRow(Row);
    std::cout << "item " << Id + 1 << " " << S.Doc.Items().Name(Id) << ": \"" << Text(Before)
              << "\" -> \"" << Text(S.Doc.Items().Translation(Id)) << "\"\n";
}

int Replace(const std::string& ProgramDir, const TArgs& A) {
    if (A.Positional[1].empty())
        return Fail("replace needs a non-empty OLD text");

    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    TSearchState Search;
    TSearchEngine Engine(Search, S.Doc);
    std::string Old, New;
    if (!EncodeArgument(A.Positional[1], Engine.TextCodePage(), Old) ||
        !EncodeArgument(A.Positional[2], Engine.TextCodePage(), New))
        return 2;
    Search.FSearchOptions = static_cast<TFindOptions>(frDown | frReplaceAll |
                                                      (A.Has("--match-case") ? frMatchCase : 0) |
                                                      (A.Has("--whole-word") ? frWholeWord : 0));

    const bool DryRun = A.Has("--dry-run");
    const int Page = Engine.TextCodePage();
    TReplaceAllResult Result;
    {
        TDocumentEdit Edit(S.Doc, "Replace All");
        Result = Engine.ReplaceAllRows(Edit, Old, New, {}, [&](int Row, const std::string& Before) {
            if (DryRun)
                PrintChange(S, Page, Row, Before);
        });
    }
    std::cout << ReplaceSummary(Result) << "\n";
    // Nothing to change is a finding, and rewriting the file (with a backup) for it would
    // only stir its date and the backups.
    if (Result.Count == 0)
        return 1;
    if (DryRun) {
        std::cout << "dry run: nothing written\n";
        return S.Finish();
    }
    const bool Saved =
        A.Has("-o") ? S.SaveAs(A.Get("-o"), A.Has("--force")) : S.Doc.SaveFile(S.State().FFileName);
    if (!Saved)
        return S.Doc.SaveRefused() ? 1 : 2;
    std::cout << "wrote " << S.State().FFileName << "\n";
    return S.Finish();
}

const TRegisterCommand RegisterReplace(
    {"replace",
     "FILE OLD NEW",
     {{"match-case", nullptr, "upper and lower case differ"},
      {"whole-word", nullptr, "OLD only as a whole word"},
      OutputOption,
      {"dry-run", nullptr, "print each change and write nothing"},
      ForceOption},
     "Replace All in the translations, then save (in place with its backup, or to OUT); exits 1 "
     "when nothing is found",
     Replace});

} // namespace

} // namespace kav
