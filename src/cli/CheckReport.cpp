#include "cli/CheckReport.h"

#include "document/StrFile.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>
#include <QXmlStreamWriter>

#include <sstream>

namespace kav {

namespace {

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

const char* Bool(bool Value) {
    return Value ? "true" : "false";
}

// The widths say it all for these; the other kinds need their message.
bool WidthKind(TFindingKind Kind) {
    return Kind == TFindingKind::TooLong || Kind == TFindingKind::Crowded ||
           Kind == TFindingKind::Untranslated;
}

// One entry per finding of a row; a row without findings gives one "ok" entry when All.
template <typename Emit> void ForEachEntry(const TRowReport& Row, bool All, Emit&& Out) {
    for (const TFinding& F : Row.Findings)
        Out(KindName(F.Kind), SeverityName(F.Severity), F.Message);
    if (Row.Findings.empty() && All)
        Out("ok", "none", std::string());
}

std::string PercentJson(int Percent) {
    return Percent < 0 ? std::string("null") : std::to_string(Percent);
}

std::string JsonFile(const TFileReport& R, bool All) {
    std::ostringstream Out;
    Out << "{\"file\": " << JsonString(R.File) << ", \"code\": " << JsonString(R.Code)
        << ", \"charset\": " << R.Charset << ", \"items\": " << R.Items()
        << ",\n \"too_long\": " << R.Count(TFindingKind::TooLong)
        << ", \"untranslated\": " << R.Count(TFindingKind::Untranslated)
        << ", \"errors\": " << R.Count(TSeverity::Error)
        << ", \"warnings\": " << R.Count(TSeverity::Warning)
        << ", \"infos\": " << R.Count(TSeverity::Info) << ",\n \"findings\": [";
    const char* Separator = "";
    for (const TRowReport& Row : R.Rows) {
        ForEachEntry(Row, All, [&](const char* Kind, const char* Severity, const std::string& M) {
            Out << Separator << "\n  {\"item\": " << Row.Item
                << ", \"name\": " << JsonString(Row.Name) << ", \"line\": " << Row.Line
                << ", \"kind\": \"" << Kind << "\", \"severity\": \"" << Severity
                << "\", \"allowed\": " << Row.Allowed << ", \"measured\": " << Row.Measured
                << ", \"percent\": " << PercentJson(Row.Percent)
                << ", \"font\": " << JsonString(Row.Font) << ", \"size\": " << Row.Size
                << ", \"bold\": " << Bool(Row.Bold)
                << ", \"approximate\": " << Bool(Row.Approximate)
                << ", \"face\": " << JsonString(Row.Face) << ", \"text\": " << JsonString(Row.Text)
                << ", \"message\": " << JsonString(M) << "}";
            Separator = ",";
        });
    }
    Out << "],\n \"approximate_fonts\": [";
    Separator = "";
    for (const auto& [Requested, Used] : R.ApproximateFonts) {
        Out << Separator << "{\"requested\": " << JsonString(Requested)
            << ", \"used\": " << JsonString(Used) << "}";
        Separator = ", ";
    }
    Out << "]}";
    return Out.str();
}

const char* SarifLevel(TSeverity Severity) {
    switch (Severity) {
    case TSeverity::Error:
        return "error";
    case TSeverity::Warning:
        return "warning";
    default:
        return "note";
    }
}

const char* RuleDescription(TFindingKind Kind) {
    switch (Kind) {
    case TFindingKind::TooLong:
        return "The translation is wider than the space the product gives it.";
    case TFindingKind::Crowded:
        return "The translation fills 90 to 100 % of its space.";
    case TFindingKind::Placeholders:
        return "The translation's format specifiers differ from the default text's.";
    case TFindingKind::Accelerators:
        return "The translation's menu accelerators (&) differ from the default text's.";
    case TFindingKind::Whitespace:
        return "Leading, trailing or doubled blanks differ from the default text's.";
    case TFindingKind::Punctuation:
        return "The final punctuation differs in kind from the default text's.";
    case TFindingKind::Numbers:
        return "A number of the default text is missing from the translation.";
    case TFindingKind::DoubledWords:
        return "The translation writes a word twice in a row.";
    case TFindingKind::Consistency:
        return "The same English is translated differently, or one translation stands for "
               "different English texts.";
    case TFindingKind::RoomToGrow:
        return "The default text already fills 90 % or more of its space.";
    case TFindingKind::Spelling:
        return "A word of the translation is not in the language's dictionary.";
    case TFindingKind::SourceChanged:
        return "The default text or its width changed, or the item is new, since the "
               "translated file was last saved.";
    case TFindingKind::TooLongFilled:
        return "The translation fits as written, but not with its placeholders holding the "
               "project's sample values.";
    default:
        return "The translation equals the default text.";
    }
}

// A file path as a SARIF artifact URI: absolute paths as file URIs, relative ones as
// relative references.
QString ArtifactUri(const std::string& Path) {
    const QString P = QString::fromStdString(Path);
    if (QDir::isAbsolutePath(P))
        return QUrl::fromLocalFile(P).toString(QUrl::FullyEncoded);
    QUrl Relative;
    Relative.setPath(P);
    return Relative.toString(QUrl::FullyEncoded);
}

QJsonObject SarifResult(const TFileReport& File, const TRowReport& Row, const TFinding& F) {
    QJsonObject Physical{{"artifactLocation", QJsonObject{{"uri", ArtifactUri(File.File)}}}};
    if (Row.Line > 0)
        Physical["region"] = QJsonObject{{"startLine", static_cast<qint64>(Row.Line)}};
    QJsonObject Properties{{"item", Row.Item},
                           {"severity", SeverityName(F.Severity)},
                           {"allowed", Row.Allowed},
                           {"measured", Row.Measured},
                           {"text", QString::fromStdString(Row.Text)}};
    if (Row.Percent >= 0)
        Properties["percent"] = Row.Percent;
    return QJsonObject{{"ruleId", KindName(F.Kind)},
                       {"ruleIndex", static_cast<int>(F.Kind)},
                       {"level", SarifLevel(F.Severity)},
                       {"message", QJsonObject{{"text", QString::fromStdString("Txt_" + Row.Name +
                                                                               ": " + F.Message)}}},
                       {"locations", QJsonArray{QJsonObject{{"physicalLocation", Physical}}}},
                       {"properties", Properties}};
}

} // namespace

int TFileReport::Count(TFindingKind Kind) const {
    int N = 0;
    for (const TRowReport& Row : Rows)
        for (const TFinding& F : Row.Findings)
            N += F.Kind == Kind;
    return N;
}

int TFileReport::Count(TSeverity Severity) const {
    int N = 0;
    for (const TRowReport& Row : Rows)
        for (const TFinding& F : Row.Findings)
            N += F.Severity == Severity;
    return N;
}

int CheckExitCode(const std::vector<TFileReport>& Reports, bool Strict) {
    for (const TFileReport& R : Reports) {
        if (R.Count(TSeverity::Error) > 0)
            return 1;
        if (Strict && R.Count(TSeverity::Warning) + R.Count(TSeverity::Info) > 0)
            return 1;
    }
    return 0;
}

std::string TextReport(const TFileReport& R, bool All) {
    std::ostringstream Out;
    for (const TRowReport& Row : R.Rows) {
        ForEachEntry(Row, All, [&](const char* Kind, const char* Severity, const std::string& M) {
            Out << Row.Item << ' ' << Row.Name << ' ' << Kind;
            if (std::string(Severity) != "none")
                Out << ' ' << Severity;
            Out << " allowed " << Row.Allowed << " px, measured " << Row.Measured << " px";
            if (Row.Percent >= 0)
                Out << " (" << Row.Percent << " %)";
            if (Row.Approximate)
                Out << " (approximate, measured with " << Row.Face << ")";
            const std::optional<TFindingKind> K = KindOfName(Kind);
            if (K && !WidthKind(*K))
                Out << "; " << M;
            Out << ": " << Row.Text << '\n';
        });
    }
    for (const auto& [Requested, Used] : R.ApproximateFonts)
        Out << "note: widths in " << Requested << " are approximate (measured with " << Used
            << ")\n";
    if (!R.SpellingNote.empty())
        Out << "note: " << R.SpellingNote << '\n';
    Out << R.Code << ": " << R.Items() << " items, " << R.Count(TFindingKind::TooLong)
        << " too long, " << R.Count(TFindingKind::Untranslated) << " untranslated; "
        << R.Count(TSeverity::Error) << " errors, " << R.Count(TSeverity::Warning) << " warnings, "
        << R.Count(TSeverity::Info) << " info (" << R.File << ")\n";
    return Out.str();
}

std::string TotalLine(const std::vector<TFileReport>& Reports) {
    int Errors = 0, Warnings = 0, Infos = 0;
    for (const TFileReport& R : Reports) {
        Errors += R.Count(TSeverity::Error);
        Warnings += R.Count(TSeverity::Warning);
        Infos += R.Count(TSeverity::Info);
    }
    return "total: " + std::to_string(Reports.size()) + " files, " + std::to_string(Errors) +
           " errors, " + std::to_string(Warnings) + " warnings, " + std::to_string(Infos) +
           " info\n";
}

std::string CsvReport(const std::vector<TFileReport>& Reports, bool All) {
    // A check of several files says which file each row is of, in a first column.
    const bool Several = Reports.size() > 1;
    std::ostringstream Out;
    Out << (Several ? "file," : "")
        << "item,name,kind,allowed,measured,font,size,bold,text,approximate,severity,percent,"
           "line,message\n";
    for (const TFileReport& R : Reports) {
        for (const TRowReport& Row : R.Rows) {
            ForEachEntry(
                Row, All, [&](const char* Kind, const char* Severity, const std::string& M) {
                    if (Several)
                        Out << CsvField(R.File) << ',';
                    Out << Row.Item << ',' << CsvField(Row.Name) << ',' << Kind << ','
                        << Row.Allowed << ',' << Row.Measured << ',' << CsvField(Row.Font) << ','
                        << Row.Size << ',' << Bool(Row.Bold) << ',' << CsvField(Row.Text) << ','
                        << Bool(Row.Approximate) << ',' << Severity << ','
                        << (Row.Percent < 0 ? std::string() : std::to_string(Row.Percent)) << ','
                        << Row.Line << ',' << CsvField(M) << '\n';
                });
        }
    }
    return Out.str();
}

std::string JsonReport(const std::vector<TFileReport>& Reports, bool All) {
    // One file gives one object, as callers of a single check read it; several an array.
    if (Reports.size() == 1)
        return JsonFile(Reports[0], All) + "\n";
    std::string Out = "[";
    const char* Separator = "";
    for (const TFileReport& R : Reports) {
        Out += Separator + JsonFile(R, All);
        Separator = ",\n";
    }
    return Out + "]\n";
}

std::string SarifReport(const std::vector<TFileReport>& Reports, const std::string& ToolVersion) {
    QJsonArray Rules;
    for (int K = 0; K < FindingKindCount; ++K) {
        const auto Kind = static_cast<TFindingKind>(K);
        Rules.append(QJsonObject{
            {"id", KindName(Kind)},
            {"shortDescription", QJsonObject{{"text", RuleDescription(Kind)}}},
            {"defaultConfiguration", QJsonObject{{"level", SarifLevel(SeverityOf(Kind))}}}});
    }
    QJsonArray Results;
    for (const TFileReport& R : Reports)
        for (const TRowReport& Row : R.Rows)
            for (const TFinding& F : Row.Findings)
                Results.append(SarifResult(R, Row, F));
    const QJsonObject Driver{
        {"name", "kavtool"}, {"version", QString::fromStdString(ToolVersion)}, {"rules", Rules}};
    const QJsonObject Run{{"tool", QJsonObject{{"driver", Driver}}}, {"results", Results}};
    const QJsonObject Log{{"$schema", "https://json.schemastore.org/sarif-2.1.0.json"},
                          {"version", "2.1.0"},
                          {"runs", QJsonArray{Run}}};
    return QJsonDocument(Log).toJson(QJsonDocument::Indented).toStdString();
}

std::string JUnitReport(const std::vector<TFileReport>& Reports) {
    QString Xml;
    QXmlStreamWriter W(&Xml);
    W.setAutoFormatting(true);
    W.writeStartDocument();
    int Tests = 0, Failures = 0;
    for (const TFileReport& R : Reports) {
        Tests += R.Items();
        Failures += R.Count(TSeverity::Error);
    }
    W.writeStartElement("testsuites");
    W.writeAttribute("name", "kavtool check");
    W.writeAttribute("tests", QString::number(Tests));
    W.writeAttribute("failures", QString::number(Failures));
    for (const TFileReport& R : Reports) {
        const QString File = QString::fromStdString(R.File);
        W.writeStartElement("testsuite");
        W.writeAttribute("name", File);
        W.writeAttribute("tests", QString::number(R.Items()));
        W.writeAttribute("failures", QString::number(R.Count(TSeverity::Error)));
        W.writeAttribute("errors", "0");
        W.writeAttribute("skipped", "0");
        for (const TRowReport& Row : R.Rows) {
            W.writeStartElement("testcase");
            W.writeAttribute("classname", File);
            W.writeAttribute("name", QString::fromStdString("Txt_" + Row.Name));
            W.writeAttribute("file", File);
            if (Row.Line > 0)
                W.writeAttribute("line", QString::number(Row.Line));
            QStringList Notes;
            for (const TFinding& F : Row.Findings) {
                const QString Message = QString::fromStdString(F.Message);
                if (F.Severity != TSeverity::Error) {
                    Notes << QString("%1 %2: %3")
                                 .arg(SeverityName(F.Severity), KindName(F.Kind), Message);
                    continue;
                }
                W.writeStartElement("failure");
                W.writeAttribute("type", KindName(F.Kind));
                W.writeAttribute("message", Message);
                W.writeCharacters(QString::fromStdString(Row.Text));
                W.writeEndElement();
            }
            // Warnings and notes fail no test; CI shows them with the test's output.
            if (!Notes.isEmpty())
                W.writeTextElement("system-out", Notes.join('\n'));
            W.writeEndElement();
        }
        W.writeEndElement();
    }
    W.writeEndElement();
    W.writeEndDocument();
    return Xml.toStdString();
}

std::map<std::string, std::vector<long long>> ItemLineNumbers(const std::string& Path,
                                                              int CodePage) {
    std::map<std::string, std::vector<long long>> Lines;
    StrLineReader Reader(CodePage);
    if (Reader.Open(Path) != 0)
        return Lines;
    std::string_view Line;
    while (Reader.NextLine(Line)) {
        if (!IsItemLine(Line, CodePage))
            continue;
        const StrItemView Item = ParseItemView(Line, 0, CodePage);
        Lines[std::string(Item.Name)].push_back(Reader.LineNumber());
    }
    Reader.Close();
    return Lines;
}

} // namespace kav
