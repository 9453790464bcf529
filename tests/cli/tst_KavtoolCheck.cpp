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
    QCOMPARE(Lines.size(), 6);
    QCOMPARE(Lines[0], QString("1 A too-long allowed 60 px, measured 65 px: File not found"));
    QCOMPARE(Lines[1], QString("2 B untranslated allowed 34 px, measured 34 px: Cancel"));
    QCOMPARE(Lines[2], QString("4 D too-long allowed 51 px, measured 52 px: Abbrechen"));
    QCOMPARE(Lines[3], QString("5 E too-long allowed 10 px, measured 42 px: Cancel"));
    QVERIFY2(QRegularExpression("^note: widths in Tahoma are approximate \\(measured with .+\\)$")
                 .match(Lines[4])
                 .hasMatch(),
             qPrintable(Lines[4]));
    QCOMPARE(Lines[5], QString("FRA: 7 items, 3 too long, 2 untranslated"));
}

void TestKavtoolCheck::csvWithEveryRow() {
    const TRun R = Run({Translated(), "--format", "csv", "--all"});
    QCOMPARE(R.Code, 1);
    const QStringList Lines = R.Out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(Lines.size(), 8);
    QCOMPARE(Lines[0], QString("item,name,kind,allowed,measured,font,size,bold,text,approximate"));
    QCOMPARE(Lines[1], QString("1,A,too-long,60,65,Arial,8,false,File not found,false"));
    QCOMPARE(Lines[3], QString("3,C,ok,52,52,Times New Roman,9,false,Abbrechen,false"));
    // An untranslated text that is also too long counts as too long.
    QCOMPARE(Lines[5], QString("5,E,too-long,10,42,Courier New,8,false,Cancel,false"));
    QCOMPARE(Lines[6], QString::fromUtf8("6,F,ok,16,9,Arial,8,false,Îê,false"));
    QVERIFY(Lines[7].startsWith("7,G,ok,"));
    QVERIFY(Lines[7].endsWith(",Tahoma,8,false,Oui,true"));
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
    const QJsonArray Approximate = J["approximate_fonts"].toArray();
    const QJsonArray Findings = J["findings"].toArray();
    QCOMPARE(Findings.size(), 7);
    const QJsonObject F = Findings[5].toObject();
    QCOMPARE(F["item"].toInt(), 6);
    QCOMPARE(F["name"].toString(), QString("F"));
    QCOMPARE(F["kind"].toString(), QString("ok"));
    QCOMPARE(F["allowed"].toInt(), 16);
    QCOMPARE(F["measured"].toInt(), 14);
    QCOMPARE(F["font"].toString(), QString("Arial"));
    QCOMPARE(F["size"].toInt(), 8);
    QCOMPARE(F["bold"].toBool(), false);
    QCOMPARE(F["text"].toString(), QString::fromUtf8("Ок"));
    QCOMPARE(F["approximate"].toBool(), false);
    QCOMPARE(F["face"].toString(), QString("Liberation Sans"));
    const QJsonObject G = Findings[6].toObject();
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

QTEST_MAIN(TestKavtoolCheck)
#include "tst_KavtoolCheck.moc"
