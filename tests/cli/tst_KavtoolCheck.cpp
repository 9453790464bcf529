#include "KavtoolRun.h"
#include "document/TextChecks.h"

#include <QtTest>

using namespace kav;

// Runs the real kavtool check on a small table whose widths are known from the Windows
// measurement (the same values the measuring pins hold).
class TestKavtoolCheck : public QObject {
    Q_OBJECT
private slots:
    void init();
    void textListsTheFindings();
    void csvWithEveryRow();
    void jsonShapeAndLanguageOverride();
    void exitCodes_data();
    void exitCodes();
    void ciReportsCarryTheJsonFindings();
    void aFolderChecksEveryLanguageFile();
    void reviewerChecks();
    void aLanguageWithoutDictionarySaysSoOnce();
    void englishChangedSinceTheLastSave();
    void productFontsMeasure();
    void filledWidths_data();
    void filledWidths();
    void languageSubstitutes_data();
    void languageSubstitutes();
    void widthsAtDpi_data();
    void widthsAtDpi();

private:
    using TRun = TKavtoolRun;
    // The fields of item Name's row in a CSV report.
    static QStringList CsvRow(const TRun& Csv, const QString& Name);
    TRun Run(const QStringList& Args);
    void Write(const QString& Path, const QByteArray& Bytes);
    QString Home() const { return FDir->path(); }
    QString Translated() const { return Home() + "/Language/Kavr_FRA.str"; }

    std::unique_ptr<QTemporaryDir> FDir;
};

void TestKavtoolCheck::init() {
    FDir = std::make_unique<QTemporaryDir>();
    QDir(Home()).mkpath("Default");
    QDir(Home()).mkpath("Language");
    Write(Home() + "/Default/Kavr_ENU.str",
          "Txt_A , \"Not found\"  {60} {Arial} {} {8}\r\n"
          "Txt_B , \"Cancel\"\r\n"
          "Txt_C , \"Cancel now\"  {52} {Times New Roman} {} {9}\r\n"
          "Txt_D , \"Cancel now\"  {51} {Times New Roman} {} {9}\r\n"
          "Txt_E , \"Cancel\"  {10} {Courier New} {} {8}\r\n"
          "Txt_F , \"OK\"\r\n"
          "Txt_G , \"Save changes to the document\"  {} {Tahoma} {} {8}\r\n");
    Write(Translated(), "Txt_A , \"File not found\"\r\n"
                        "Txt_B , \"Cancel\"\r\n"
                        "Txt_C , \"Abbrechen\"\r\n"
                        "Txt_D , \"Abbrechen\"\r\n"
                        "Txt_E , \"Cancel\"\r\n"
                        "Txt_F , \"\xCE\xEA\"\r\n"
                        "Txt_G , \"Oui\"\r\n");
}

void TestKavtoolCheck::Write(const QString& Path, const QByteArray& Bytes) {
    QFile F(Path);
    QVERIFY(F.open(QIODevice::WriteOnly));
    F.write(Bytes);
}

TestKavtoolCheck::TRun TestKavtoolCheck::Run(const QStringList& Args) {
    return RunKavtool(QStringLiteral(KAVTOOL_PATH), Home(), QStringList{"check"} + Args);
}

void TestKavtoolCheck::textListsTheFindings() {
    const TRun R = Run({Translated()});
    QCOMPARE(R.Code, 1);
    QStringList Lines = R.Out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(Lines.size(), 14);
    QCOMPARE(Lines[0],
             QString("1 A too-long error allowed 60 px, measured 65 px (108 %): File not found"));
    QCOMPARE(Lines[1],
             QString("2 B untranslated warning allowed 34 px, measured 34 px (100 %): Cancel"));
    // Fits, but only just.
    QCOMPARE(Lines[2],
             QString("3 C crowded info allowed 52 px, measured 52 px (100 %): Abbrechen"));
    // German in a French file, and an English default already wider than its space.
    QCOMPARE(Lines[3], QString("3 C spelling warning allowed 52 px, measured 52 px (100 %); not in "
                               "the dictionary: Abbrechen: Abbrechen"));
    QCOMPARE(Lines[4], QString("3 C room-to-grow info allowed 52 px, measured 52 px (100 %); the "
                               "default text is already wider than its space (56 px of 52 px): "
                               "little room for any language: Abbrechen"));
    QCOMPARE(Lines[5],
             QString("4 D too-long error allowed 51 px, measured 52 px (101 %): Abbrechen"));
    // An untranslated text that is also too long: two findings.
    QCOMPARE(Lines[8], QString("5 E too-long error allowed 10 px, measured 42 px (420 %): Cancel"));
    QCOMPARE(Lines[9],
             QString("5 E untranslated warning allowed 10 px, measured 42 px (420 %): Cancel"));
    QVERIFY2(Lines[10].startsWith("5 E room-to-grow info"), qPrintable(Lines[10]));
    QVERIFY2(Lines[11].startsWith("6 F spelling warning"), qPrintable(Lines[11]));
    QVERIFY2(QRegularExpression("^note: widths in Tahoma are approximate \\(measured with .+\\)$")
                 .match(Lines[12])
                 .hasMatch(),
             qPrintable(Lines[12]));
    QCOMPARE(Lines[13], "FRA: 7 items, 3 too long, 2 untranslated; 3 errors, 5 warnings, 4 info (" +
                            Translated() + ")");
}

void TestKavtoolCheck::csvWithEveryRow() {
    const TRun R = Run({Translated(), "--format", "csv", "--all"});
    QCOMPARE(R.Code, 1);
    const QStringList Lines = R.Out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(Lines.size(), 14);
    QCOMPARE(Lines[0], QString("item,name,kind,allowed,measured,font,size,bold,text,approximate,"
                               "severity,percent,line,message"));
    QCOMPARE(Lines[1], QString("1,A,too-long,60,65,Arial,8,false,File not found,false,error,108,1,"
                               "too long: measured 65 px of 60 px allowed (108 %)"));
    QCOMPARE(Lines[3], QString("3,C,crowded,52,52,Times New Roman,9,false,Abbrechen,false,info,100,"
                               "3,fills 100 % of its space: measured 52 px of 52 px allowed"));
    // An untranslated text that is also too long: a row for each finding.
    QVERIFY(
        Lines[9].startsWith("5,E,too-long,10,42,Courier New,8,false,Cancel,false,error,420,5,"));
    QVERIFY(
        Lines[10].startsWith("5,E,untranslated,10,42,Courier New,8,false,Cancel,false,warning,"));
    QCOMPARE(Lines[12], QString::fromUtf8("6,F,spelling,16,9,Arial,8,false,Îê,false,warning,56,6,"
                                          "not in the dictionary: Îê"));
    QVERIFY(Lines[13].startsWith("7,G,ok,"));
    QVERIFY(Lines[13].contains(",Tahoma,8,false,Oui,true,none,"));
}

void TestKavtoolCheck::jsonShapeAndLanguageOverride() {
    const TRun R = Run({Translated(), "--format", "json", "--all", "--lang", "RUS"});
    QCOMPARE(R.Code, 1);
    QJsonParseError Error;
    const QJsonObject J = QJsonDocument::fromJson(R.Out.toUtf8(), &Error).object();
    QCOMPARE(Error.error, QJsonParseError::NoError);
    const QStringList Keys = {
        "\"file\"",     "\"code\"",         "\"charset\"",  "\"items\"",
        "\"too_long\"", "\"untranslated\"", "\"findings\"", "\"approximate_fonts\""};
    for (int I = 1; I < Keys.size(); ++I)
        QVERIFY2(R.Out.indexOf(Keys[I - 1]) < R.Out.indexOf(Keys[I]), qPrintable(Keys[I]));
    QCOMPARE(J["file"].toString(), Translated());
    QCOMPARE(J["code"].toString(), QString("RUS"));
    QCOMPARE(J["charset"].toInt(), 204);
    QCOMPARE(J["items"].toInt(), 7);
    QCOMPARE(J["too_long"].toInt(), 3);
    QCOMPARE(J["untranslated"].toInt(), 2);
    QCOMPARE(J["errors"].toInt(), 3);
    // "Ок" is no Russian word (ОК is), and the English of C, D and E is as wide as its space.
    QCOMPARE(J["warnings"].toInt(), 3);
    QCOMPARE(J["infos"].toInt(), 4);
    const QJsonArray Approximate = J["approximate_fonts"].toArray();
    const QJsonArray Findings = J["findings"].toArray();
    QCOMPARE(Findings.size(), 11);
    const QJsonObject E = Findings[7].toObject();
    QCOMPARE(E["kind"].toString(), QString("untranslated"));
    QCOMPARE(E["severity"].toString(), QString("warning"));
    QCOMPARE(E["percent"].toInt(), 420);
    QCOMPARE(E["line"].toInt(), 5);
    const QJsonObject F = Findings[9].toObject();
    QCOMPARE(F["item"].toInt(), 6);
    QCOMPARE(F["name"].toString(), QString("F"));
    QCOMPARE(F["kind"].toString(), QString("spelling"));
    QCOMPARE(F["severity"].toString(), QString("warning"));
    QCOMPARE(F["allowed"].toInt(), 16);
    QCOMPARE(F["measured"].toInt(), 14);
    QCOMPARE(F["font"].toString(), QString("Arial"));
    QCOMPARE(F["size"].toInt(), 8);
    QCOMPARE(F["bold"].toBool(), false);
    QCOMPARE(F["text"].toString(), QString::fromUtf8("Ок"));
    QCOMPARE(F["approximate"].toBool(), false);
    QCOMPARE(F["face"].toString(), QString("Liberation Sans"));
    const QJsonObject G = Findings[10].toObject();
    QCOMPARE(G["kind"].toString(), QString("ok"));
    QCOMPARE(G["approximate"].toBool(), true);
    QCOMPARE(G["face"].toString(), Approximate[0].toObject()["used"].toString());
    QCOMPARE(Approximate.size(), 1);
    QCOMPARE(Approximate[0].toObject()["requested"].toString(), QString("Tahoma"));
    QVERIFY(Approximate[0].toObject()["used"].toString() != "Tahoma");
}

void TestKavtoolCheck::exitCodes_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("translations");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("message");
    // Short, and the same for the same English only (C and D, B and E): nothing to report
    // but the English of C, D and E, already as wide as their space (room-to-grow notes).
    const QByteArray Fitting =
        "Txt_A , \"a\"\r\nTxt_C , \"c\"\r\nTxt_D , \"c\"\r\n"
        "Txt_E , \"b\"\r\nTxt_F , \"f\"\r\nTxt_G , \"g\"\r\nTxt_B , \"b\"\r\n";
    QTest::newRow("everything fits") << QStringList() << Fitting << 0 << "";
    QTest::newRow("nothing found, strict")
        << QStringList{"--strict", "--checks",
                       "too-long,crowded,placeholders,accelerators,whitespace,punctuation,"
                       "untranslated,numbers,doubled-words,consistency,spelling"}
        << Fitting << 0 << "";
    QTest::newRow("notes only, strict") << QStringList{"--strict"} << Fitting << 1 << "";
    QByteArray Placeholder = Fitting;
    Placeholder.replace("Txt_G , \"g\"", "Txt_G , \"g %s\"");
    QTest::newRow("a specifier added") << QStringList() << Placeholder << 1 << "";
    QTest::newRow("warnings only")
        << QStringList{"--checks", "untranslated"} << QByteArray() << 0 << "";
    QTest::newRow("warnings only, strict")
        << QStringList{"--checks", "untranslated", "--strict"} << QByteArray() << 1 << "";
    QTest::newRow("unknown check") << QStringList{"--checks", "too-long,grammar"} << QByteArray()
                                   << 2 << "unknown check \"grammar\"";
    QTest::newRow("overflows") << QStringList() << QByteArray() << 1 << "";
    QTest::newRow("unknown format")
        << QStringList{"--format", "xml"} << QByteArray() << 2 << "check takes FILE";
    QTest::newRow("missing file") << QStringList{"--missing"} << QByteArray() << 2
                                  << "Kavr_ESP.str";
}

void TestKavtoolCheck::exitCodes() {
    QFETCH(QStringList, args);
    QFETCH(QByteArray, translations);
    QFETCH(int, code);
    QFETCH(QString, message);
    if (!translations.isEmpty())
        Write(Translated(), translations);
    const QString File =
        args.contains("--missing") ? Home() + "/Language/Kavr_ESP.str" : Translated();
    args.removeAll("--missing");
    const TRun R = Run(QStringList{File} + args);
    QCOMPARE(R.Code, code);
    QVERIFY2(R.Err.contains(message), qPrintable(R.Err));
}

// file, item name, kind, severity, line, message: what the reports must agree on.
using TKey = std::tuple<QString, QString, QString, QString, qint64, QString>;

void TestKavtoolCheck::ciReportsCarryTheJsonFindings() {
    // Text findings beside the width ones: a lost specifier, a lost accelerator, a doubled blank.
    Write(Home() + "/Default/Kavr_ENU.str", "Txt_A , \"Not found: %s\"  {60} {Arial} {} {8}\r\n"
                                            "Txt_B , \"&Cancel\"\r\n"
                                            "Txt_C , \"Cancel now\"\r\n");
    Write(Translated(), "Txt_A , \"Introuvable : %d\"\r\n"
                        "Txt_B , \"Annuler\"\r\n"
                        "\r\n"
                        "Txt_C , \"Annuler  tout\"\r\n");
    const TRun Json = Run({Translated(), "--format", "json"});
    QCOMPARE(Json.Code, 1);
    std::vector<TKey> Expected;
    for (const QJsonValue& V : QJsonDocument::fromJson(Json.Out.toUtf8())["findings"].toArray()) {
        const QJsonObject F = V.toObject();
        Expected.emplace_back(Translated(), F["name"].toString(), F["kind"].toString(),
                              F["severity"].toString(), F["line"].toInteger(),
                              F["message"].toString());
    }
    // Width findings come with them (the names are short, the translations long).
    QStringList Kinds;
    for (const TKey& K : Expected)
        Kinds << std::get<1>(K) + " " + std::get<2>(K) + " " + QString::number(std::get<4>(K));
    for (const char* Kind : {"A placeholders 1", "B accelerators 2", "C whitespace 4"})
        QVERIFY2(Kinds.contains(Kind), qPrintable(Kinds.join(", ")));
    QVERIFY(Kinds.contains("B crowded 2")); // an info finding: a SARIF note

    const TRun Sarif = Run({Translated(), "--format", "sarif"});
    QCOMPARE(Sarif.Code, 1);
    const QJsonObject Log = QJsonDocument::fromJson(Sarif.Out.toUtf8()).object();
    QCOMPARE(Log["version"].toString(), QString("2.1.0"));
    const QJsonObject Run0 = Log["runs"][0].toObject();
    QCOMPARE(Run0["tool"]["driver"]["rules"].toArray().size(), FindingKindCount);
    const QHash<QString, QString> Severity{
        {"error", "error"}, {"warning", "warning"}, {"note", "info"}};
    std::vector<TKey> FromSarif;
    for (const QJsonValue& V : Run0["results"].toArray()) {
        const QJsonObject R = V.toObject();
        const QJsonObject At = R["locations"][0]["physicalLocation"].toObject();
        const QString Text = R["message"]["text"].toString();
        const qsizetype Colon = Text.indexOf(": ");
        QVERIFY2(Text.startsWith("Txt_") && Colon > 0, qPrintable(Text));
        FromSarif.emplace_back(QUrl(At["artifactLocation"]["uri"].toString()).toLocalFile(),
                               Text.mid(4, Colon - 4), R["ruleId"].toString(),
                               Severity.value(R["level"].toString()),
                               At["region"]["startLine"].toInteger(), Text.mid(Colon + 2));
    }
    QCOMPARE(FromSarif, Expected);

    const TRun JUnit = Run({Translated(), "--format", "junit"});
    QCOMPARE(JUnit.Code, 1);
    QXmlStreamReader Xml(JUnit.Out);
    std::vector<TKey> Failures;
    QStringList Cases;
    QString Case, File;
    qint64 Line = 0;
    while (!Xml.atEnd()) {
        if (Xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes A = Xml.attributes();
        if (Xml.name() == u"testcase") {
            Case = A.value("name").toString();
            File = A.value("file").toString();
            Line = A.value("line").toLongLong();
            Cases << Case;
        } else if (Xml.name() == u"failure") {
            Failures.emplace_back(File, Case.mid(4), A.value("type").toString(), "error", Line,
                                  A.value("message").toString());
        }
    }
    QVERIFY2(!Xml.hasError(), qPrintable(Xml.errorString()));
    QCOMPARE(Cases, (QStringList{"Txt_A", "Txt_B", "Txt_C"}));
    std::erase_if(Expected, [](const TKey& K) { return std::get<3>(K) != "error"; });
    QCOMPARE(Failures, Expected);
}

void TestKavtoolCheck::aFolderChecksEveryLanguageFile() {
    Write(Home() + "/Language/Kavr_DEU.str", "Txt_A , \"Fehlt\"\r\n");
    const TRun R = Run({Home()});
    QCOMPARE(R.Code, 1);
    const QStringList Lines = R.Out.split('\n', Qt::SkipEmptyParts);
    const QStringList Summaries = Lines.filter(QRegularExpression("^[A-Z]{3}: "));
    QCOMPARE(Summaries.size(), 2);
    QVERIFY2(Summaries[0].startsWith("DEU: 7 items, 0 too long, 0 untranslated; 0 errors"),
             qPrintable(Summaries[0]));
    QVERIFY(Summaries[1].startsWith("FRA: 7 items, 3 too long"));
    QCOMPARE(Lines.last(), QString("total: 2 files, 3 errors, 5 warnings, 7 info"));
    // The same files named one by one, as a JSON array.
    const TRun Json = Run({Home() + "/Language/Kavr_DEU.str", Translated(), "--format", "json"});
    const QJsonArray Files = QJsonDocument::fromJson(Json.Out.toUtf8()).array();
    QCOMPARE(Files.size(), 2);
    QCOMPARE(Files[1]["file"].toString(), Translated());
    QCOMPARE(Files[1]["errors"].toInt(), 3);
    // A folder without language files is an error, not a clean check.
    QDir(Home()).mkpath("Empty");
    const TRun Empty = Run({Home() + "/Empty"});
    QCOMPARE(Empty.Code, 2);
    QVERIFY2(Empty.Err.contains("no Kavr_*.str file in"), qPrintable(Empty.Err));
}

// The checks across the document and within the words, each in every report form.
void TestKavtoolCheck::reviewerChecks() {
    Write(Home() + "/Default/Kavr_ENU.str", "Txt_A , \"Open the file\"\r\n"
                                            "Txt_B , \"Open the file\"\r\n"
                                            "Txt_C , \"Retry in 5 seconds\"\r\n"
                                            "Txt_D , \"%s job #%d\"\r\n"
                                            "Txt_E , \"KP_Enter\"\r\n"
                                            "Txt_F , \"Volume\"\r\n"
                                            "Txt_G , \"The file\"\r\n"
                                            "Txt_H , \"Close the file\"\r\n"
                                            "Txt_I , \"Quit\"\r\n");
    Write(Translated(), "Txt_A , \"Ouvrir le fichier\"\r\n"
                        "Txt_B , \"Ouvrir le fichierr\"\r\n"
                        "Txt_C , \"R\xE9"
                        "essayer dans quelques secondes\"\r\n"
                        "Txt_D , \"t\xE2"
                        "che n\xB0%d de %s\"\r\n"
                        "Txt_E , \"KP_Enter\"\r\n"
                        "Txt_F , \"Volume\"\r\n"
                        "Txt_G , \"Le le fichier\"\r\n"
                        "Txt_H , \"Quitter\"\r\n"
                        "Txt_I , \"Quitter\"\r\n");
    // The widths aside: the texts here are long for their space.
    const QString Checks = "placeholders,accelerators,whitespace,punctuation,untranslated,"
                           "numbers,doubled-words,consistency,spelling";
    const TRun R = Run({Translated(), "--format", "json", "--checks", Checks});
    QCOMPARE(R.Code, 1);
    QStringList Found;
    for (const QJsonValue& V : QJsonDocument::fromJson(R.Out.toUtf8())["findings"].toArray())
        Found << V["name"].toString() + " " + V["kind"].toString() + " " + V["severity"].toString();
    QCOMPARE(Found,
             (QStringList{"A consistency warning", "B consistency warning", "B spelling warning",
                          "C numbers warning", "D placeholders error", "G doubled-words info",
                          "H consistency info", "I consistency info"}));
    const TRun Text = Run({Translated(), "--checks", Checks});
    QVERIFY2(Text.Out.contains("1 A consistency warning") &&
                 Text.Out.contains("the same English is translated differently in Txt_B (item 2)"),
             qPrintable(Text.Out));
    QVERIFY2(Text.Out.contains("not in the dictionary: fichierr"), qPrintable(Text.Out));
    // Only the checks asked for.
    const TRun Some = Run({Translated(), "--format", "csv", "--checks", "numbers,doubled-words"});
    const QStringList Rows = Some.Out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(Rows.size(), 3);
    QVERIFY(Rows[1].startsWith("3,C,numbers,"));
    QVERIFY(Rows[2].startsWith("7,G,doubled-words,"));
}

void TestKavtoolCheck::aLanguageWithoutDictionarySaysSoOnce() {
    const TRun R = Run({Translated(), Translated(), "--lang", "QQQ"});
    QCOMPARE(R.Out.count("note: no spelling dictionary for QQQ"), 1);
    QVERIFY2(!R.Out.contains(" spelling warning "), qPrintable(R.Out));
}

// A save keeps the English the file was translated from; a later default file's changed texts,
// changed widths and new items are reported until they are looked at.
void TestKavtoolCheck::englishChangedSinceTheLastSave() {
    const TRun Saved =
        RunKavtool(QStringLiteral(KAVTOOL_PATH), Home(), {"replace", Translated(), "Oui", "Non"});
    QVERIFY2(Saved.Code == 0, qPrintable(Saved.Out + Saved.Err));
    const QString Checks = "source-changed";
    QCOMPARE(Run({Translated(), "--checks", Checks}).Code, 0);
    Write(Home() + "/Default/Kavr_ENU.str",
          "Txt_A , \"Nothing found\"  {60} {Arial} {} {8}\r\n"
          "Txt_B , \"Cancel\"\r\n"
          "Txt_C , \"Cancel now\"  {40} {Times New Roman} {} {9}\r\n"
          "Txt_D , \"Cancel now\"  {51} {Times New Roman} {} {9}\r\n"
          "Txt_E , \"Cancel\"  {10} {Courier New} {} {8}\r\n"
          "Txt_F , \"OK\"\r\n"
          "Txt_G , \"Save changes to the document\"  {} {Tahoma} {} {8}\r\n"
          "Txt_H , \"Close\"\r\n");
    const TRun R = Run({Translated(), "--format", "json", "--checks", Checks});
    // Warnings: a failure only when strict.
    QCOMPARE(R.Code, 0);
    QCOMPARE(Run({Translated(), "--checks", Checks, "--strict"}).Code, 1);
    QStringList Found;
    for (const QJsonValue& V : QJsonDocument::fromJson(R.Out.toUtf8())["findings"].toArray())
        Found << V["name"].toString() + " " + V["kind"].toString() + " " + V["severity"].toString();
    QCOMPARE(Found, (QStringList{"A source-changed warning", "C source-changed warning",
                                 "H source-changed warning"}));
    const TRun Text = Run({Translated(), "--checks", Checks});
    QVERIFY2(Text.Out.contains("the width changed since this was translated (was 52, now 40)"),
             qPrintable(Text.Out));
    // The PO export marks the same entries for the translator's tool.
    const QString Po = Home() + "/changed.po";
    const TRun Export =
        RunKavtool(QStringLiteral(KAVTOOL_PATH), Home(), {"export-po", Translated(), "-o", Po});
    QVERIFY2(Export.Code == 0, qPrintable(Export.Out + Export.Err));
    QFile PoFile(Po);
    QVERIFY(PoFile.open(QIODevice::ReadOnly));
    const QByteArray Entries = PoFile.readAll();
    QCOMPARE(Entries.count("#, fuzzy\n"), 3);
    QVERIFY2(Entries.contains("#, fuzzy\nmsgctxt \"Txt_A\"") &&
                 Entries.contains("#, fuzzy\nmsgctxt \"Txt_H\""),
             Entries.constData());
}

// The program folder's Fonts/ gives the product's own face: kavtool fonts names its file, and
// the check measures with it instead of calling the widths approximate.
void TestKavtoolCheck::productFontsMeasure() {
    Write(Home() + "/Default/Kavr_ENU.str",
          "Txt_A , \"Not found\"  {60} {Arial} {} {8}\r\n"
          "Txt_B , \"Cancel\"  {40} {Kavrino UI Sans} {} {8}\r\n"
          "Txt_C , \"Cancel\"  {40} {kavrino ui sans} {Bold} {8}\r\n"
          "Txt_D , \"Cancel\"  {40} {Kavrino UI Sans} {} {10}\r\n"
          "Txt_E , \"Cancel\"  {40} {Arial} {} {8}\r\n");
    Write(Translated(), "Txt_A , \"File not found\"\r\n"
                        "Txt_B , \"Annuler\"\r\n"
                        "Txt_C , \"Annuler\"\r\n"
                        "Txt_D , \"Annuler\"\r\n"
                        "Txt_E , \"Annuler\"\r\n");
    const TRun Before = RunKavtool(QStringLiteral(KAVTOOL_PATH), Home(), {"fonts", Translated()});
    QCOMPARE(Before.Code, 0);
    QStringList Lines = Before.Out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(Lines.size(), 3);
    QVERIFY2(Lines[0].startsWith("Arial: /") && Lines[0].endsWith("/LiberationSans-Regular.ttf"),
             qPrintable(Lines[0]));
    QVERIFY2(Lines[1].startsWith("Kavrino UI Sans: substitute: "), qPrintable(Lines[1]));
    QVERIFY2(Lines[2].startsWith("kavrino ui sans bold: substitute: "), qPrintable(Lines[2]));
    QVERIFY(Run({Translated()}).Out.contains("note: widths in Kavrino UI Sans are approximate"));

    QVERIFY(QDir(Home()).mkpath("Fonts"));
    QVERIFY(QFile::copy(KAV_TEST_DATA "/fonts/KavrinoUISans-Regular.ttf",
                        Home() + "/Fonts/Product face.ttf"));
    const TRun After = RunKavtool(QStringLiteral(KAVTOOL_PATH), Home(), {"fonts", Translated()});
    Lines = After.Out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(Lines.size(), 3);
    QCOMPARE(Lines[1], "Kavrino UI Sans: " + Home() + "/Fonts/Product face.ttf");
    QCOMPARE(Lines[2],
             "kavrino ui sans bold: " + Home() + "/Fonts/Product face.ttf (another style)");
    // The face has Liberation Sans's widths: "Annuler" measures as in Arial, and exactly.
    const TRun Csv = Run({Translated(), "--format", "csv", "--all"});
    const auto Row = [&](const QString& Name) {
        for (const QString& Line : Csv.Out.split('\n'))
            if (Line.section(',', 1, 1) == Name)
                return Line.split(',');
        return QStringList();
    };
    QCOMPARE(Row("B").mid(4, 3), QStringList({Row("E")[4], "Kavrino UI Sans", "8"}));
    QCOMPARE(Row("E")[5], "Arial");
    QCOMPARE(Row("B")[9], "false");
    // No bold file: measured with the plain one, and said to be approximate.
    QCOMPARE(Row("C")[9], "true");
}

// The width check also measures each translation with its placeholders holding the samples:
// the defaults, or the project's Placeholders.ini.
void TestKavtoolCheck::filledWidths_data() {
    QTest::addColumn<QByteArray>("ini"); // empty: no file
    QTest::addColumn<QByteArray>("translation");
    QTest::addColumn<QString>("kind"); // of the width finding, empty for none
    QTest::addColumn<QString>("stderr");
    QTest::newRow("default sample overflows")
        << QByteArray() << QByteArray("Ouvrir %s") << "too-long-filled"
        << "";
    QTest::newRow("project sample fits")
        << QByteArray("[Samples]\n%s=C:\\x\n") << QByteArray("Ouvrir %s") << ""
        << "";
    QTest::newRow("too long as written")
        << QByteArray() << QByteArray("Ouvrir le fichier %s maintenant") << "too-long"
        << "";
    QTest::newRow("no placeholder") << QByteArray() << QByteArray("Ouvrir 100%") << ""
                                    << "";
    QTest::newRow("faulty line said, the rest used")
        << QByteArray("[Samples]\nwide\n%s=C:\\x\n") << QByteArray("Ouvrir %s") << ""
        << "kavtool: warning: HOME/Placeholders.ini:2: not a placeholder=sample line: wide";
}

void TestKavtoolCheck::filledWidths() {
    QFETCH(QByteArray, ini);
    QFETCH(QByteArray, translation);
    QFETCH(QString, kind);
    QFETCH(QString, stderr);
    Write(Home() + "/Default/Kavr_ENU.str", "Txt_A , \"Open %s\"  {80} {Arial} {} {8}\r\n");
    Write(Translated(), "Txt_A , \"" + translation + "\"\r\n");
    if (!ini.isEmpty())
        Write(Home() + "/Placeholders.ini", ini);
    const TRun R = Run({Translated(), "--checks", "too-long,too-long-filled"});
    QCOMPARE(R.Err.trimmed(), QString(stderr).replace("HOME", Home()));
    const QStringList Lines = R.Out.split('\n', Qt::SkipEmptyParts);
    if (kind.isEmpty()) {
        QVERIFY2(!R.Out.contains("too-long"), qPrintable(R.Out));
        return;
    }
    QVERIFY2(Lines.size() >= 1 && Lines[0].startsWith("1 A " + kind + " "), qPrintable(R.Out));
    QCOMPARE(R.Out.count("too-long"), 1);
    if (kind == "too-long-filled") {
        // Both widths: as written and filled.
        const QRegularExpression Both(
            "too long with placeholder samples: (\\d+) px, (\\d+) px with "
            "samples of 80 px allowed \\(\\d+ %\\)");
        const QRegularExpressionMatch M = Both.match(Lines[0]);
        QVERIFY2(M.hasMatch(), qPrintable(Lines[0]));
        QVERIFY(M.captured(1).toInt() <= 80 && M.captured(2).toInt() > 80);
        QVERIFY2(Lines[0].contains(" warning "), qPrintable(Lines[0]));
    }
}

QStringList TestKavtoolCheck::CsvRow(const TRun& Csv, const QString& Name) {
    for (const QString& Line : Csv.Out.split('\n'))
        if (Line.section(',', 1, 1) == Name)
            return Line.split(',');
    return {};
}

// Fonts/Substitutes.ini gives the face the product shows an item face in for a language: the
// check measures in it and kavtool fonts names it.
void TestKavtoolCheck::languageSubstitutes_data() {
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QString>("line"); // kavtool fonts' line of MS Sans Serif
    QTest::addColumn<bool>("asArial"); // measured as Arial, which the product face copies
    QTest::addColumn<QString>("stderr");
    const QString Own = "MS Sans Serif -> Kavrino UI Sans for FRA: HOME/Fonts/product.ttf";
    QTest::newRow("the language's face measures")
        << QByteArray("[FRA]\nMS Sans Serif=Kavrino UI Sans\n") << Own << true << "";
    QTest::newRow("letter case and blanks do not count")
        << QByteArray("; linked faces\n[fra]\n  ms sans serif = Kavrino UI Sans \n") << Own << true
        << "";
    QTest::newRow("another language's face is not used")
        << QByteArray("[JPN]\nMS Sans Serif=Kavrino UI Sans\n")
        << "MS Sans Serif: substitute: " << false << "";
    QTest::newRow("a system face") << QByteArray("[FRA]\nMS Sans Serif=Loma\n")
                                   << "MS Sans Serif -> Loma for FRA: system: Loma" << false << "";
    QTest::newRow("faulty lines said, the rest used")
        << QByteArray("MS Sans Serif=Loma\n[French]\nMS Sans Serif=Loma\n[FRA]\nLoma\n"
                      "MS Sans Serif=Kavrino UI Sans\nms sans serif=Loma\n[FRA\n")
        << Own << true
        << "kavtool: warning: INI:1: a substitute needs its [language] section above it\n"
           "kavtool: warning: INI:2: not a language code: French (three letters, as in "
           "Kavr_JPN.str)\n"
           "kavtool: warning: INI:5: not an Item face=Product face line: Loma\n"
           "kavtool: warning: INI:7: ms sans serif has its substitute in [FRA] already (line 6)\n"
           "kavtool: warning: INI:8: a section name needs its closing ]";
}

void TestKavtoolCheck::languageSubstitutes() {
    QFETCH(QByteArray, ini);
    QFETCH(QString, line);
    QFETCH(bool, asArial);
    QFETCH(QString, stderr);
    Write(Home() + "/Default/Kavr_ENU.str", "Txt_A , \"Cancel\"  {40} {MS Sans Serif} {} {8}\r\n"
                                            "Txt_B , \"Cancel\"  {40} {Arial} {} {8}\r\n");
    Write(Translated(), "Txt_A , \"Annuler tout\"\r\nTxt_B , \"Annuler tout\"\r\n");
    QVERIFY(QDir(Home()).mkpath("Fonts"));
    QVERIFY(QFile::copy(KAV_TEST_DATA "/fonts/KavrinoUISans-Regular.ttf",
                        Home() + "/Fonts/product.ttf"));
    Write(Home() + "/Fonts/Substitutes.ini", ini);
    const QString Ini = Home() + "/Fonts/Substitutes.ini";
    const TRun Fonts = RunKavtool(QStringLiteral(KAVTOOL_PATH), Home(), {"fonts", Translated()});
    QCOMPARE(Fonts.Code, 0);
    QCOMPARE(Fonts.Err.trimmed(), QString(stderr).replace("INI", Ini));
    const QString Listed = Fonts.Out.split('\n').value(0);
    QVERIFY2(Listed.startsWith(QString(line).replace("HOME", Home())), qPrintable(Listed));
    const TRun Csv = Run({Translated(), "--format", "csv", "--all"});
    QCOMPARE(Csv.Err.trimmed(), QString(stderr).replace("INI", Ini));
    const QStringList A = CsvRow(Csv, "A");
    const QStringList B = CsvRow(Csv, "B");
    QVERIFY2(A.size() > 9 && B.size() > 9, qPrintable(Csv.Out));
    // The row keeps the item's own font; the face that measured it follows the table.
    QCOMPARE(A[5], "MS Sans Serif");
    QCOMPARE(A[4] == B[4], asArial);
    QCOMPARE(A[9], line.contains("substitute:") ? "true" : "false");
}

// The widths of a product shown at a larger display setting: the text measured in the font
// the product builds there (the points at that many pixels per inch), which is the font of the
// same pixel size at 96 dpi, against the width scaled by dpi/96.
void TestKavtoolCheck::widthsAtDpi_data() {
    QTest::addColumn<int>("dpi");
    QTest::addColumn<bool>("fromFolder"); // Product.ini rather than --dpi
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("samePixels"); // the points of the same pixel size at 96 dpi
    QTest::newRow("120 dpi, Arial 8: 13 px") << 120 << false << "Arial" << 8 << 10;
    QTest::newRow("120 dpi, Arial 9: 15 px") << 120 << true << "Arial" << 9 << 11;
    QTest::newRow("144 dpi, Arial 8: 16 px") << 144 << false << "Arial" << 8 << 12;
    QTest::newRow("144 dpi, Times New Roman 10: 20 px")
        << 144 << true << "Times New Roman" << 10 << 15;
    QTest::newRow("120 dpi, Courier New 8: 13 px") << 120 << false << "Courier New" << 8 << 10;
}

void TestKavtoolCheck::widthsAtDpi() {
    QFETCH(int, dpi);
    QFETCH(bool, fromFolder);
    QFETCH(QString, font);
    QFETCH(int, points);
    QFETCH(int, samePixels);
    const QByteArray Face = font.toLatin1();
    Write(Home() + "/Default/Kavr_ENU.str",
          "Txt_A , \"Cancel now\"  {70} {" + Face + "} {} {" + QByteArray::number(points) +
              "}\r\n"
              "Txt_B , \"Cancel now\"  {} {" +
              Face + "} {} {" + QByteArray::number(points) +
              "}\r\n"
              "Txt_C , \"Cancel now\"  {70} {" +
              Face + "} {} {" + QByteArray::number(samePixels) +
              "}\r\n"
              "Txt_D , \"Cancel now\"  {} {" +
              Face + "} {} {" + QByteArray::number(samePixels) + "}\r\n");
    Write(Translated(), "Txt_A , \"Annuler maintenant\"\r\nTxt_B , \"Annuler maintenant\"\r\n"
                        "Txt_C , \"Annuler maintenant\"\r\nTxt_D , \"Annuler maintenant\"\r\n");
    const TRun At96 = Run({Translated(), "--format", "csv", "--all"});
    QStringList Args{Translated(), "--format", "csv", "--all"};
    if (fromFolder)
        Write(Home() + "/Product.ini", "[Display]\nDpi=" + QByteArray::number(dpi) + "\n");
    else
        Args << "--dpi" << QString::number(dpi);
    const TRun AtDpi = Run(Args);
    QCOMPARE(AtDpi.Err, QString());
    const QStringList A = CsvRow(AtDpi, "A");
    const QStringList B = CsvRow(AtDpi, "B");
    QVERIFY2(A.size() > 9, qPrintable(AtDpi.Out));
    // The allowed width scaled, rounded as Windows' MulDiv.
    QCOMPARE(A[3].toInt(), (70 * dpi + 48) / 96);
    QCOMPARE(A[4], CsvRow(At96, "C")[4]);
    // The item's own font size stays in the report.
    QCOMPARE(A[6].toInt(), points);
    // Without a width of its own the default text, measured alike, is the allowed width.
    QCOMPARE(B[3], CsvRow(At96, "D")[3]);
    QCOMPARE(B[4], CsvRow(At96, "D")[4]);
    // At 96 dpi the widths are the file's own; --dpi wins over the folder's setting.
    QCOMPARE(CsvRow(At96, "A")[3], "70");
    if (fromFolder)
        QCOMPARE(Run({Translated(), "--format", "csv", "--all", "--dpi", "96"}).Out, At96.Out);
}

QTEST_MAIN(TestKavtoolCheck)
#include "tst_KavtoolCheck.moc"
