// kavtool check: the width verification of the editor without a window. Every item row's
// translation is measured in its row font and the language's character set against the width
// the product allows (column 6, or the default text's width), with the editor's own measuring.

#include "cli/CliSession.h"
#include "document/CodePage.h"
#include "document/Languages.h"
#include "document/TranslationTable.h"
#include "editing/ItemCheck.h"
#include "measure/TextMeasure.h"

#include <QGuiApplication>

#include <iostream>
#include <map>
#include <memory>
#include <sstream>

namespace kav {

namespace {

enum class TKind { Ok, TooLong, Untranslated };

struct TFinding {
    int Item = 0;
    std::string Name;
    TKind Kind = TKind::Ok;
    int Allowed = 0;
    int Measured = 0;
    std::string Font;
    int Size = 0;
    bool Bold = false;
    std::string Text; // UTF-8
    // Measured with a face that does not reproduce the font's widths, or a text that needs
    // glyphs the face lacks: the widths are only near the product's.
    bool Approximate = false;
    std::string Face; // the face that measured
};

struct TReport {
    std::string File;
    std::string Code;
    int Charset = 0;
    int Items = 0;
    int TooLong = 0;
    int Untranslated = 0;
    std::vector<TFinding> Findings;
    std::map<std::string, std::string> Approximate; // requested -> used
};

const char* KindName(TKind Kind) {
    switch (Kind) {
    case TKind::TooLong:
        return "too-long";
    case TKind::Untranslated:
        return "untranslated";
    default:
        return "ok";
    }
}

// Fonts are measured with the platform's font database, which needs a GUI application; no
// window is ever shown, so the offscreen platform serves.
std::unique_ptr<QGuiApplication> EnsureGuiApplication() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        return nullptr;
    }
    static int Argc = 1;
    static char Name[] = "kavtool";
    static char* Argv[] = {Name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QGuiApplication>(Argc, Argv);
}

TFinding FindingOf(const TStyledGridModel& Grid, int Row, const TItemCheck& Check) {
    TFinding F;
    F.Item = Row - 1;
    F.Name = Grid.Cells(colName, Row);
    F.Font = Check.Font.Name();
    F.Size = Check.Font.Size();
    F.Bold = (Check.Font.Style() & fsBold) != 0;
    F.Allowed = Check.Allowed;
    F.Measured = Check.Measured;
    F.Approximate = Check.Approximate;
    F.Face = Check.Face.Used;
    F.Text = Check.Text.toStdString();
    if (!Check.Fits) {
        F.Kind = TKind::TooLong;
    } else if (Check.State == TItemState::Untranslated) {
        F.Kind = TKind::Untranslated;
    }
    return F;
}

TReport CheckTable(const TStyledGridModel& Grid, const std::string& File, const std::string& Code,
                   bool All) {
    TReport R;
    R.File = File;
    R.Code = Code;
    R.Charset = CharsetOfLanguage(Code);
    const int CodePage = CodePageForLanguageCharset(R.Charset, Code);
    R.Items = ItemCount(Grid);
    TTextMeasure& Measure = TTextMeasure::Shared();
    for (int Row = FirstItemRow; Row < FirstItemRow + R.Items; ++Row) {
        const TItemCheck Check = CheckItem(Grid, Row, CodePage, Measure);
        const TFinding F = FindingOf(Grid, Row, Check);
        R.TooLong += !Check.Fits;
        R.Untranslated += Check.State == TItemState::Untranslated;
        if (Check.Face.Approximate) {
            R.Approximate.emplace(Check.Face.Requested, Check.Face.Used);
        }
        if (All || F.Kind != TKind::Ok) {
            R.Findings.push_back(F);
        }
    }
    return R;
}

std::string JsonString(const std::string& Utf8) {
    std::ostringstream Out;
    Out << '"';
    for (const unsigned char C : Utf8) {
        if (C == '"' || C == '\\') {
            Out << '\\' << C;
        } else if (C < 0x20) {
            static const char Hex[] = "0123456789abcdef";
            Out << "\\u00" << Hex[C >> 4] << Hex[C & 15];
        } else {
            Out << C;
        }
    }
    Out << '"';
    return Out.str();
}

std::string CsvField(const std::string& Text) {
    if (Text.find_first_of(",\"\r\n") == std::string::npos) {
        return Text;
    }
    std::string Quoted = "\"";
    for (const char C : Text) {
        Quoted += C == '"' ? std::string("\"\"") : std::string(1, C);
    }
    return Quoted + "\"";
}

void PrintJson(const TReport& R) {
    std::cout << "{\"file\": " << JsonString(R.File) << ", \"code\": " << JsonString(R.Code)
              << ", \"charset\": " << R.Charset << ", \"items\": " << R.Items
              << ",\n \"too_long\": " << R.TooLong << ", \"untranslated\": " << R.Untranslated
              << ",\n \"findings\": [";
    const char* Separator = "";
    for (const TFinding& F : R.Findings) {
        std::cout << Separator << "\n  {\"item\": " << F.Item
                  << ", \"name\": " << JsonString(F.Name) << ", \"kind\": \"" << KindName(F.Kind)
                  << "\", \"allowed\": " << F.Allowed << ", \"measured\": " << F.Measured
                  << ", \"font\": " << JsonString(F.Font) << ", \"size\": " << F.Size
                  << ", \"bold\": " << (F.Bold ? "true" : "false")
                  << ", \"approximate\": " << (F.Approximate ? "true" : "false")
                  << ", \"face\": " << JsonString(F.Face) << ", \"text\": " << JsonString(F.Text)
                  << "}";
        Separator = ",";
    }
    std::cout << "],\n \"approximate_fonts\": [";
    Separator = "";
    for (const auto& [Requested, Used] : R.Approximate) {
        std::cout << Separator << "{\"requested\": " << JsonString(Requested)
                  << ", \"used\": " << JsonString(Used) << "}";
        Separator = ", ";
    }
    std::cout << "]}\n";
}

void PrintCsv(const TReport& R) {
    std::cout << "item,name,kind,allowed,measured,font,size,bold,text,approximate\n";
    for (const TFinding& F : R.Findings) {
        std::cout << F.Item << ',' << CsvField(F.Name) << ',' << KindName(F.Kind) << ','
                  << F.Allowed << ',' << F.Measured << ',' << CsvField(F.Font) << ',' << F.Size
                  << ',' << (F.Bold ? "true" : "false") << ',' << CsvField(F.Text) << ','
                  << (F.Approximate ? "true" : "false") << '\n';
    }
}

void PrintText(const TReport& R) {
    for (const TFinding& F : R.Findings) {
        std::cout << F.Item << ' ' << F.Name << ' ' << KindName(F.Kind) << " allowed " << F.Allowed
                  << " px, measured " << F.Measured << " px"
                  << (F.Approximate ? " (approximate, measured with " + F.Face + ")" : "") << ": "
                  << F.Text << '\n';
    }
    for (const auto& [Requested, Used] : R.Approximate) {
        std::cout << "note: widths in " << Requested << " are approximate (measured with " << Used
                  << ")\n";
    }
    std::cout << R.Code << ": " << R.Items << " items, " << R.TooLong << " too long, "
              << R.Untranslated << " untranslated\n";
}

int Check(const std::string& ProgramDir, const TArgs& A) {
    const std::string Format = A.Get("--format", "text");
    if (Format != "text" && Format != "csv" && Format != "json")
        return UsageError(*A.Command, "no report format " + Format);
    const auto App = EnsureGuiApplication();
    TSession S(ProgramDir);
    if (!S.Open(A.Positional[0]))
        return 2;
    const std::string Code = A.Get("--lang", S.UI.SelectedCode);
    if (Code.size() < 2)
        return Fail("no language code for " + A.Positional[0] + "; give one with --lang CODE");
    const TReport R = CheckTable(S.Grid, A.Positional[0], Code, A.Has("--all"));
    if (Format == "json")
        PrintJson(R);
    else if (Format == "csv")
        PrintCsv(R);
    else
        PrintText(R);
    std::cout.flush();
    return R.TooLong > 0 ? 1 : 0;
}

const TRegisterCommand
    RegisterCheck({"check",
                   "FILE",
                   {{"format", "text|csv|json", "the report's form (text unless given)"},
                    {"all", nullptr, "every item, not only the findings"},
                    {"lang", "CODE", "the language, when the file's name does not say it"}},
                   "translations wider than their space, and untranslated items",
                   Check});

} // namespace

} // namespace kav
