#pragma once
// What kavtool check found in its files, and the reports it writes of it: text for a person,
// CSV and JSON for scripts, SARIF 2.1.0 and JUnit XML for CI systems. The writers only format;
// the findings come from the document's checks.

#include "document/TextChecks.h"

#include <map>
#include <string>
#include <vector>

namespace kav {

// One item row: its width, how it was measured, and what the checks found in it.
struct TRowReport {
    int Item = 0;       // 1-based item number
    std::string Name;   // without "Txt_"
    long long Line = 0; // the item's line in the checked file, 0 when it has none
    int Allowed = 0;    // px
    int Measured = 0;   // px
    int Percent = 0;    // WidthPercent
    std::string Font;
    int Size = 0;
    bool Bold = false;
    // Measured with a face that does not reproduce the font's widths, or a text that needs
    // glyphs the face lacks: the widths are only near the product's.
    bool Approximate = false;
    std::string Face; // the face that measured
    std::string Text; // the translation, UTF-8
    std::vector<TFinding> Findings;
};

struct TFileReport {
    std::string File;
    std::string Code;
    int Charset = 0;
    std::vector<TRowReport> Rows;                        // every item row, in order
    std::map<std::string, std::string> ApproximateFonts; // requested -> used
    std::string SpellingNote; // why the spelling went unchecked, or empty

    int Items() const { return static_cast<int>(Rows.size()); }
    int Count(TFindingKind Kind) const;
    int Count(TSeverity Severity) const;
};

// The exit status of a check: 1 when a finding of Error severity exists (Strict: any finding).
int CheckExitCode(const std::vector<TFileReport>& Reports, bool Strict);

// All: rows without findings are listed too (kind "ok").
std::string TextReport(const TFileReport& Report, bool All);
std::string CsvReport(const std::vector<TFileReport>& Reports, bool All);
std::string JsonReport(const std::vector<TFileReport>& Reports, bool All);
std::string SarifReport(const std::vector<TFileReport>& Reports, const std::string& ToolVersion);
std::string JUnitReport(const std::vector<TFileReport>& Reports);
// The closing line of a check of several files.
std::string TotalLine(const std::vector<TFileReport>& Reports);

// The line of each item line of Path, per name (without "Txt_") in order of appearance, so
// that a repeated name takes its lines in order. Empty when the file cannot be read.
std::map<std::string, std::vector<long long>> ItemLineNumbers(const std::string& Path,
                                                              int CodePage);

} // namespace kav
