// kavtool commands of the RTF exchange: export-rtf, import-rtf, fill.

#include "cli/CliSession.h"
#include "cli/FontApplication.h"
#include "document/Languages.h"
#include "document/ToolError.h"
#include "exchange/RtfExport.h"
#include "exchange/RtfImport.h"
#include "platform/FontInfo.h"
#include "platform/Locales.h"
#include "text/CodePage.h"
#include "text/StringUtils.h"

#include <filesystem>
#include <iostream>
#include <memory>

namespace kav {

namespace {

// The language box entry for a code ("FRA - French (France)"), the code alone when the locale
// table does not know it.
std::string LanguageEntryOf(const std::string& Code) {
    const LocaleInfo* Locale = FindLocaleByAbbreviation(Code);
    return Locale ? Code + " - " + std::string(Locale->Name) : Code;
}

// The header caption as the editor shows it: the language entry with the character set's
// script name.
std::string HeaderCaption(const TSession& S, const std::string& Entry) {
    QString Script = ScriptNameOfCharset(S.State().FFontCharset);
    if (Script.isEmpty())
        Script = QStringLiteral("(Default)");
    const QString Caption = QString::fromStdString(Entry) + " - " + Script;
    EncodeResult Bytes = EncodeText(Caption, SystemAnsiCodePage());
    return Bytes.Ok() ? *Bytes.Bytes : Entry;
}

// Writes the changed document to Out, or back to its own file through the save step (which
// backs up the document's folder first).
bool SaveResult(TSession& S, const std::string& Out, bool Force) {
    return Out.empty() ? S.Doc.SaveFile(S.State().FFileName) : S.SaveAs(Out, Force);
}

// A save refused because the format cannot hold some items is a finding (1), other failures
// are errors (2).
int SaveFailure(const TSession& S) {
    return S.Doc.SaveRefused() ? 1 : 2;
}

int ExportRtf(const std::string& ProgramDir, const TArgs& A) {
    auto App = FontApplication();
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    // The file's language unless --lang names another.
    S.Doc.SetLanguage(A.Get("--lang", S.State().FLanguageCode));
    TRtfExportControls Controls;
    Controls.Software = SoftwareName(S.State().FSoftware);
    Controls.LanguageEntry = LanguageEntryOf(S.State().FLanguageCode);
    Controls.LanguageCaption = HeaderCaption(S, Controls.LanguageEntry);
    TRtfExportFiles Files;
    try {
        Files = ExportRtfFiles(S.State(), S.Doc.Items(), S.UI, Controls);
    } catch (const ToolError& Error) {
        return Fail(Error.what());
    }
    for (const std::string& Path : Files.Paths)
        if (!Path.empty())
            std::cout << "wrote " << Path << "\n";
    return S.Finish();
}

int ImportRtf(const std::string& ProgramDir, const TArgs& A) {
    const std::string Out = A.Get("-o");
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    const TImportRange Range{A.Get("--from", "00001"), A.Get("--to", LastItemText(S.Grid))};
    const std::optional<TItemRange> Items = CheckImportRange(Range, S.UI);
    if (!Items)
        return 2;
    TImportReport Report;
    try {
        Report = ImportRtfFile(A.Positional[1], S.Doc, S.UI, *Items);
        ReportRefused(Report.Refused, S.UI);
    } catch (const ToolError& Error) {
        return Fail(Error.what());
    }
    if (!SaveResult(S, Out, A.Has("--force")))
        return SaveFailure(S);
    std::cout << "imported " << Report.Taken << " items (" << Report.Changed << " changed, "
              << Report.Refused.size() << " refused) into " << S.State().FFileName << "\n";
    return Report.Refused.empty() ? S.Finish() : 1;
}

int Fill(const std::string& ProgramDir, const TArgs& A) {
    const std::string Out = A.Get("-o");
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    const int Problems = S.UI.Problems;
    const int Changed = FillTranslations(S.Doc, S.UI, A.Positional[1]);
    if (S.UI.Problems != Problems)
        return 2;
    if (!SaveResult(S, Out, A.Has("--force")))
        return SaveFailure(S);
    std::cout << "filled " << Changed << " items of " << S.State().FFileName << "\n";
    return S.Finish();
}

const TRegisterCommand RegisterExport({"export-rtf",
                                       "FILE",
                                       {{"lang", "CODE", "the language of the documents"}},
                                       "the three RTF documents into RTF/",
                                       ExportRtf});
const TRegisterCommand
    RegisterImport({"import-rtf",
                    "FILE RTF",
                    {{"from", "N", "the first item taken (00001 unless given)"},
                     {"to", "M", "the last item taken (the last item unless given)"},
                     OutputOption,
                     ForceOption},
                    "translations from an RTF document",
                    ImportRtf});
const TRegisterCommand RegisterFill(
    {"fill", "FILE TEXT", {OutputOption, ForceOption}, "every translation := TEXT", Fill});

} // namespace

} // namespace kav
