// kavtool commands of the exchange with CAT tools: export-xliff, import-xliff, export-po,
// import-po, export-tmx, export-pdf.

#include "cli/CliSession.h"
#include "cli/FontApplication.h"
#include "document/Languages.h"
#include "document/ProgramFolder.h"
#include "document/ToolError.h"
#include "exchange/PdfExport.h"
#include "exchange/PoExchange.h"
#include "exchange/TmxExport.h"
#include "exchange/XliffExchange.h"
#include "measure/TableFindings.h"
#include "platform/Locales.h"

#include <iostream>

namespace kav {

namespace {

// The findings kavtool check gives, for the notes of the exports.
TItemFindings CheckFindings(const TSession& S) {
    const TFindingContext Context{TranslatedCodePage(S.State()), S.State().FLanguageCode,
                                  S.State().FProgramDir, S.State().FProductDpi};
    return [&S, Context](TItemId Id) {
        return CheckItemRow(S.Doc.Items().View(Id), Context, TTextMeasure::Shared()).Findings;
    };
}

// OUT when given, else the document's name with Extension beside it.
std::string OutputOf(const TSession& S, const TArgs& A, const std::string& Name) {
    return A.Has("-o") ? A.Get("-o") : FolderPart(S.State().FFileName) + Name;
}

bool SaveResult(TSession& S, const std::string& Out, bool Force) {
    return Out.empty() ? S.Doc.SaveFile(S.State().FFileName) : S.SaveAs(Out, Force);
}

// The report of an import: the refused units on stderr, the counts on stdout; a refusal is a
// finding (1).
int FinishImport(TSession& S, const TArgs& A, const TExchangeImport& Report) {
    if (!Report.Refused.empty())
        S.UI.MessageDlg("These units were not imported; their items keep their text:" +
                            ListedLines(S.UI, Report.Refused),
                        TMsgDlgType::mtWarning, mbOK);
    if (!SaveResult(S, A.Get("-o"), A.Has("--force")))
        return S.Doc.SaveRefused() ? 1 : 2;
    std::cout << "imported " << Report.Units << " units (" << Report.Imported << " changed, "
              << Report.Unchanged << " unchanged, " << Report.Skipped << " without translation, "
              << Report.Refused.size() << " refused) into " << S.State().FFileName << "\n";
    return Report.Refused.empty() ? S.Finish() : 1;
}

int ExportXliff(const std::string& ProgramDir, const TArgs& A) {
    auto App = FontApplication();
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    const std::string Out = OutputOf(S, A, XliffNameOf(S.State()));
    try {
        ExportXliffFile(Out, S.State(), S.Doc.Items(), CheckFindings(S));
    } catch (const ToolError& Error) {
        return Fail(Error.what());
    }
    std::cout << "wrote " << Out << " (" << S.Doc.Items().Count() << " units)\n";
    return S.Finish();
}

int ImportXliff(const std::string& ProgramDir, const TArgs& A) {
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    TExchangeImport Report;
    try {
        Report = ImportXliffFile(A.Positional[1], S.Doc, S.UI);
    } catch (const ToolError& Error) {
        return Fail(Error.what());
    }
    return FinishImport(S, A, Report);
}

int ExportPo(const std::string& ProgramDir, const TArgs& A) {
    auto App = FontApplication();
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    const std::string Out = OutputOf(S, A, PoNameOf(S.State()));
    TPoExport Options;
    Options.Findings = CheckFindings(S);
    Options.EnglishChanged = EnglishChangedIn(S.Doc);
    try {
        ExportPoFile(Out, S.State(), S.Doc.Items(), Options);
    } catch (const ToolError& Error) {
        return Fail(Error.what());
    }
    std::cout << "wrote " << Out << " (" << S.Doc.Items().Count() << " entries)\n";
    return S.Finish();
}

int ImportPo(const std::string& ProgramDir, const TArgs& A) {
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    TExchangeImport Report;
    try {
        Report = ImportPoFile(A.Positional[1], S.Doc, S.UI);
    } catch (const ToolError& Error) {
        return Fail(Error.what());
    }
    return FinishImport(S, A, Report);
}

int ExportTmx(const std::string& ProgramDir, const TArgs& A) {
    std::vector<std::string> Files;
    for (const std::string& Argument : A.Positional) {
        const std::vector<std::string> Of = LanguageFilesOf(Argument);
        if (Of.empty())
            return Fail("no Kavr_*.str file in " + Argument);
        Files.insert(Files.end(), Of.begin(), Of.end());
    }
    TTmxWriter Memory;
    ConsoleUserInterface UI;
    TTmxFiles Read;
    try {
        Read =
            AddLanguageFiles(Memory, Files, ProgramDir, UI, [](const std::string& File, int Pairs) {
                std::cout << File << ": " << Pairs << " pairs\n";
            });
    } catch (const ToolError& Error) {
        return Fail(Error.what());
    }
    if (!Read.Opened)
        return 2;
    const int Partial = Read.Partial ? 1 : 0;
    TSession S(ProgramDir);
    const std::string Out = A.Has("-o") ? A.Get("-o") : S.State().FProgramDir + FolderMemoryName;
    try {
        WriteExchangeFile(Out, Memory.Finish());
    } catch (const ToolError& Error) {
        return Fail(Error.what());
    }
    std::cout << "wrote " << Out << " (" << Memory.Units() << " translation units)\n";
    return Partial;
}

int ExportPdf(const std::string& ProgramDir, const TArgs& A) {
    const std::string Page = A.Get("--page", "a4");
    if (Page != "a4" && Page != "letter")
        return UsageError(*A.Command, "no page size " + Page);
    auto App = FontApplication();
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    const std::string Out = OutputOf(S, A, PdfNameOf(S.State()));
    TPdfOptions Options;
    Options.Page = Page == "letter" ? QPageSize::Letter : QPageSize::A4;
    const std::string& Code = S.State().FLanguageCode;
    const LocaleInfo* Locale = FindLocaleByAbbreviation(Code);
    Options.LanguageEntry = Locale ? Code + " - " + std::string(Locale->Name) : Code;
    int Pages = 0;
    try {
        Pages = ExportPdfFile(Out, S.State(), S.Doc.Items(), Options);
    } catch (const ToolError& Error) {
        return Fail(Error.what());
    }
    std::cout << "wrote " << Out << " (" << Pages << " pages)\n";
    return S.Finish();
}

constexpr TOption ExportOutput{"o", "OUT", "write to OUT instead of beside FILE"};

const TRegisterCommand RegisterExportXliff({"export-xliff",
                                            "FILE",
                                            {ExportOutput},
                                            "XLIFF 1.2 for CAT tools, with pixel widths and fonts",
                                            ExportXliff});
const TRegisterCommand RegisterImportXliff({"import-xliff",
                                            "FILE XLF",
                                            {OutputOption, ForceOption},
                                            "translations from an XLIFF file, matched by name",
                                            ImportXliff});
const TRegisterCommand RegisterExportPo(
    {"export-po", "FILE", {ExportOutput}, "gettext PO, msgctxt the item's name", ExportPo});
const TRegisterCommand RegisterImportPo({"import-po",
                                         "FILE PO",
                                         {OutputOption, ForceOption},
                                         "translations from a PO file, matched by name",
                                         ImportPo});
const TRegisterCommand
    RegisterExportTmx({"export-tmx",
                       "FILE...",
                       {{"o", "OUT", "write to OUT instead of Kavrino.tmx in the program folder"}},
                       "TMX 1.4 translation memory of language files or folders",
                       ExportTmx});
const TRegisterCommand
    RegisterExportPdf({"export-pdf",
                       "FILE",
                       {ExportOutput, {"page", "SIZE", "a4 (unless given) or letter"}},
                       "the table as the window draws it, for printing",
                       ExportPdf});

} // namespace

} // namespace kav
