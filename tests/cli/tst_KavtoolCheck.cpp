#include "KavtoolRun.h"

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

private:
    using TRun = TKavtoolRun;
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
    QCOMPARE(Lines.size(), 8);
    QCOMPARE(Lines[0],
             QString("1 A too-long error allowed 60 px, measured 65 px (108 %): File not found"));
    QCOMPARE(Lines[1],
             QString("2 B untranslated warning allowed 34 px, measured 34 px (100 %): Cancel"));
    // Fits, but only just.
    QCOMPARE(Lines[2],
             QString("3 C crowded info allowed 52 px, measured 52 px (100 %): Abbrechen"));
    QCOMPARE(Lines[3],
             QString("4 D too-long error allowed 51 px, measured 52 px (101 %): Abbrechen"));
    // An untranslated text that is also too long: two findings.
    QCOMPARE(Lines[4], QString("5 E too-long error allowed 10 px, measured 42 px (420 %): Cancel"));
    QCOMPARE(Lines[5],
             QString("5 E untranslated warning allowed 10 px, measured 42 px (420 %): Cancel"));
    QVERIFY2(QRegularExpression("^note: widths in Tahoma are approximate \\(measured with .+\\)$")
                 .match(Lines[6])
                 .hasMatch(),
             qPrintable(Lines[6]));
    QCOMPARE(Lines[7], "FRA: 7 items, 3 too long, 2 untranslated; 3 errors, 2 warnings, 1 info (" +
                           Translated() + ")");
}

void TestKavtoolCheck::csvWithEveryRow() {
    const TRun R = Run({Translated(), "--format", "csv", "--all"});
    QCOMPARE(R.Code, 1);
    const QStringList Lines = R.Out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(Lines.size(), 9);
    QCOMPARE(Lines[0], QString("item,name,kind,allowed,measured,font,size,bold,text,approximate,"
                               "severity,percent,line,message"));
    QCOMPARE(Lines[1], QString("1,A,too-long,60,65,Arial,8,false,File not found,false,error,108,1,"
                               "too long: measured 65 px of 60 px allowed (108 %)"));
    QCOMPARE(Lines[3], QString("3,C,crowded,52,52,Times New Roman,9,false,Abbrechen,false,info,100,"
                               "3,fills 100 % of its space: measured 52 px of 52 px allowed"));
    // An untranslated text that is also too long: a row for each finding.
    QVERIFY(
        Lines[5].startsWith("5,E,too-long,10,42,Courier New,8,false,Cancel,false,error,420,5,"));
    QVERIFY(
        Lines[6].startsWith("5,E,untranslated,10,42,Courier New,8,false,Cancel,false,warning,"));
    QCOMPARE(Lines[7], QString::fromUtf8("6,F,ok,16,9,Arial,8,false,Îê,false,none,56,6,"));
    QVERIFY(Lines[8].startsWith("7,G,ok,"));
    QVERIFY(Lines[8].contains(",Tahoma,8,false,Oui,true,none,"));
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
    QCOMPARE(J["warnings"].toInt(), 2);
    QCOMPARE(J["infos"].toInt(), 1);
    const QJsonArray Approximate = J["approximate_fonts"].toArray();
    const QJsonArray Findings = J["findings"].toArray();
    QCOMPARE(Findings.size(), 8);
    const QJsonObject E = Findings[5].toObject();
    QCOMPARE(E["kind"].toString(), QString("untranslated"));
    QCOMPARE(E["severity"].toString(), QString("warning"));
    QCOMPARE(E["percent"].toInt(), 420);
    QCOMPARE(E["line"].toInt(), 5);
    const QJsonObject F = Findings[6].toObject();
    QCOMPARE(F["item"].toInt(), 6);
    QCOMPARE(F["name"].toString(), QString("F"));
    QCOMPARE(F["kind"].toString(), QString("ok"));
    QCOMPARE(F["severity"].toString(), QString("none"));
    QCOMPARE(F["allowed"].toInt(), 16);
    QCOMPARE(F["measured"].toInt(), 14);
    QCOMPARE(F["font"].toString(), QString("Arial"));
    QCOMPARE(F["size"].toInt(), 8);
    QCOMPARE(F["bold"].toBool(), false);
    QCOMPARE(F["text"].toString(), QString::fromUtf8("Ок"));
    QCOMPARE(F["approximate"].toBool(), false);
    QCOMPARE(F["face"].toString(), QString("Liberation Sans"));
    const QJsonObject G = Findings[7].toObject();
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
    const QByteArray Fitting =
        "Txt_A , \"x\"\r\nTxt_C , \"x\"\r\nTxt_D , \"x\"\r\n"
        "Txt_E , \"x\"\r\nTxt_F , \"x\"\r\nTxt_G , \"x\"\r\nTxt_B , \"x\"\r\n";
    QTest::newRow("everything fits") << QStringList() << Fitting << 0 << "";
    QTest::newRow("nothing found, strict") << QStringList{"--strict"} << Fitting << 0 << "";
    QByteArray Placeholder = Fitting;
    Placeholder.replace("Txt_G , \"x\"", "Txt_G , \"x %s\"");
    QTest::newRow("a specifier added") << QStringList() << Placeholder << 1 << "";
    QTest::newRow("warnings only")
        << QStringList{"--checks", "untranslated"} << QByteArray() << 0 << "";
    QTest::newRow("warnings only, strict")
        << QStringList{"--checks", "untranslated", "--strict"} << QByteArray() << 1 << "";
    QTest::newRow("unknown check") << QStringList{"--checks", "too-long,spelling"} << QByteArray()
                                   << 2 << "unknown check \"spelling\"";
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
    for (const QString& Kind : {"A placeholders 1", "B accelerators 2", "C whitespace 4"})
        QVERIFY2(Kinds.contains(Kind), qPrintable(Kinds.join(", ")));
    QVERIFY(Kinds.contains("B crowded 2")); // an info finding: a SARIF note

    const TRun Sarif = Run({Translated(), "--format", "sarif"});
    QCOMPARE(Sarif.Code, 1);
    const QJsonObject Log = QJsonDocument::fromJson(Sarif.Out.toUtf8()).object();
    QCOMPARE(Log["version"].toString(), QString("2.1.0"));
    const QJsonObject Run0 = Log["runs"][0].toObject();
    QCOMPARE(Run0["tool"]["driver"]["rules"].toArray().size(), 7);
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
    QCOMPARE(Lines.last(), QString("total: 2 files, 3 errors, 2 warnings, 1 info"));
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

QTEST_MAIN(TestKavtoolCheck)
#include "tst_KavtoolCheck.moc"
