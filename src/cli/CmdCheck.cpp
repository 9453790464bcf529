// kavtool check: the editor's checks without a window, for one file or many (a CI job of a
// translation team). Every item row's translation is measured in its item font and the
// language's character set against the width the product allows (column 6, or the default
// text's width), with the editor's own measuring, and compared with its default text.

#include "cli/CheckReport.h"
#include "cli/CliSession.h"
#include "cli/FontApplication.h"
#include "document/FontSubstitutes.h"
#include "document/Languages.h"
#include "document/PlaceholderSamples.h"
#include "document/ProductDisplay.h"
#include "document/ProgramFolder.h"
#include "document/TranslationTable.h"
#include "measure/ItemCheck.h"
#include "measure/TableFindings.h"
#include "measure/TextMeasure.h"
#include "text/CodePage.h"

#include <algorithm>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <set>

namespace kav {

namespace {

TRowReport RowReport(const TItemTable& Items, TItemId Id, const TCheckedRow& Checked) {
    const TItemCheck& Check = Checked.Item;
    TRowReport R;
    R.Item = Id + 1;
    R.Name = Items.Name(Id);
    // The item's own font; the face that measured it (a language's substitute among them) is
    // the report's face.
    const TMyFont Own = ItemFontOf(Items.View(Id));
    R.Font = Own.Name();
    R.Size = Own.Size();
    R.Bold = (Check.Font.Style() & fsBold) != 0;
    R.Allowed = Check.Allowed;
    R.Measured = Check.Measured;
    R.Percent = WidthPercent(Check.Allowed, Check.Measured);
    R.Approximate = Check.Approximate;
    R.Face = Check.Face.Used;
    R.Text = Check.Text.toStdString();
    R.Findings = Checked.Findings;
    return R;
}

TFileReport CheckTable(const TItemTable& Items, const std::string& File, const std::string& Code,
                       const std::string& ProgramDir, int Dpi, TCheckSet Checks,
                       const TSourceBaseline* Baseline) {
    TFileReport R;
    R.File = File;
    R.Code = Code;
    R.Charset = CharsetOfLanguage(Code);
    const TFindingContext Context{CodePageForLanguageCharset(R.Charset, Code), Code, ProgramDir,
                                  Dpi};
    // The lists and the consistency every row's check shares, made once for the file.
    const TSameWords Same = TSameWords::For(ProgramDir, Code);
    TConsistency Consistency;
    if (Checks & CheckBit(TFindingKind::Consistency))
        Consistency.Build(Items);
    std::unique_ptr<TSpeller> Speller;
    if (Checks & CheckBit(TFindingKind::Spelling)) {
        Speller = TSpeller::ForLanguage(Code, ProgramDir);
        if (!Speller)
            R.SpellingNote = "no spelling dictionary for " + Code + " (looked for " +
                             TSpeller::DictionaryNames(Code).join(", ").toStdString() + " in " +
                             TSpeller::DictionaryFolders().join(", ").toStdString() + ")";
    }
    const TTableChecks Table{&Items, &Same, &Consistency, Speller.get(), Baseline};
    // Each item's line in the checked file, for reports that point at it.
    std::map<std::string, std::vector<long long>> Lines = ItemLineNumbers(File, Context.CodePage);
    std::map<std::string, size_t> Taken;
    TTextMeasure& Measure = TTextMeasure::Shared();
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        const TCheckedRow Checked =
            CheckItemRow(Items.View(Id), Context, Measure, Checks, &Table, Id);
        TRowReport Report = RowReport(Items, Id, Checked);
        const std::vector<long long>& Of = Lines[Report.Name];
        if (size_t& Next = Taken[Report.Name]; Next < Of.size())
            Report.Line = Of[Next++];
        if (Checked.Item.Face.Approximate)
            R.ApproximateFonts.emplace(Checked.Item.Face.Requested, Checked.Item.Face.Used);
        R.Rows.push_back(std::move(Report));
    }
    return R;
}

void Print(const std::vector<TFileReport>& Reports, const std::string& Format, bool All) {
    if (Format == "json") {
        std::cout << JsonReport(Reports, All);
    } else if (Format == "csv") {
        std::cout << CsvReport(Reports, All);
    } else if (Format == "sarif") {
        std::cout << SarifReport(Reports, KAV_VERSION);
    } else if (Format == "junit") {
        std::cout << JUnitReport(Reports);
    } else {
        for (const TFileReport& R : Reports)
            std::cout << TextReport(R, All);
        if (Reports.size() > 1)
            std::cout << TotalLine(Reports);
    }
    std::cout.flush();
}

int Check(const std::string& ProgramDir, const TArgs& A) {
    const std::string Format = A.Get("--format", "text");
    if (Format != "text" && Format != "csv" && Format != "json" && Format != "sarif" &&
        Format != "junit")
        return UsageError(*A.Command, "no report format " + Format);
    TCheckSet Checks = AllChecks;
    if (A.Has("--checks")) {
        std::string Error;
        const std::optional<TCheckSet> Listed = ParseCheckList(A.Get("--checks"), Error);
        if (!Listed)
            return UsageError(*A.Command, Error);
        Checks = *Listed;
    }
    std::vector<std::string> Files;
    for (const std::string& Argument : A.Positional) {
        const std::vector<std::string> Of = LanguageFilesOf(Argument);
        if (Of.empty())
            return Fail("no Kavr_*.str file in " + Argument);
        Files.insert(Files.end(), Of.begin(), Of.end());
    }
    std::vector<std::string> DpiErrors;
    int Dpi = ProductDpi(ProgramDir, &DpiErrors);
    if (A.Has("--dpi")) {
        bool Number = false;
        Dpi = QString::fromStdString(A.Get("--dpi")).toInt(&Number);
        if (!Number || !IsProductDpi(Dpi))
            return UsageError(*A.Command, "no display setting " + A.Get("--dpi") +
                                              " dpi (96, 120, 144, 168 or 192)");
        DpiErrors.clear();
    }
    const auto App = FontApplication();
    // A faulty line of the samples or the substitutes is left out, and said so: the rest
    // still count.
    std::vector<std::string> Faulty;
    ProjectSamples(ProgramDir, &Faulty);
    std::vector<std::string> SubstituteErrors;
    ProjectSubstitutes(ProgramDir, &SubstituteErrors);
    Faulty.insert(Faulty.end(), SubstituteErrors.begin(), SubstituteErrors.end());
    Faulty.insert(Faulty.end(), DpiErrors.begin(), DpiErrors.end());
    for (const std::string& Error : Faulty)
        std::cerr << "kavtool: warning: " << Error << "\n";
    std::vector<TFileReport> Reports;
    std::set<std::string> ToldNoDictionary; // a language without one says so once
    // A file read only in part is checked as far as it was read, and is a finding itself.
    int Partial = 0;
    for (const std::string& File : Files) {
        TSession S(ProgramDir);
        if (!S.Open(File))
            return 2;
        Partial = std::max(Partial, S.Finish());
        const std::string Code = A.Get("--lang", S.State().FLanguageCode);
        if (Code.size() < 2)
            return Fail("no language code for " + File + "; give one with --lang CODE");
        Reports.push_back(CheckTable(S.Doc.Items(), File, Code, S.State().FProgramDir, Dpi, Checks,
                                     &S.Doc.Baseline()));
        if (!ToldNoDictionary.insert(Code).second)
            Reports.back().SpellingNote.clear();
    }
    Print(Reports, Format, A.Has("--all"));
    return std::max(CheckExitCode(Reports, A.Has("--strict")), Partial);
}

const TRegisterCommand RegisterCheck(
    {"check",
     "FILE...",
     {{"format", "text|csv|json|sarif|junit", "the report's form (text unless given)"},
      {"checks", "LIST",
       "only these checks, comma-separated: too-long, crowded, placeholders, accelerators, "
       "whitespace, punctuation, untranslated, numbers, doubled-words, consistency, "
       "room-to-grow, spelling, too-long-filled"},
      {"strict", nullptr, "exit 1 on any finding, not only on errors"},
      {"all", nullptr, "every item, not only the findings"},
      {"lang", "CODE", "the language, when the file's name does not say it"},
      {"dpi", "N",
       "the product's display setting: 96, 120, 144, 168 or 192 (Product.ini of the program "
       "folder, else 96); widths are measured at it against widths scaled by N/96"}},
     "widths and texts of translations: errors, warnings and notes; a folder checks every "
     "Kavr_*.str of its Language/ folder",
     Check});

} // namespace

} // namespace kav
