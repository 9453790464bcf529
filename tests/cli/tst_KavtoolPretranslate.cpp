#include "KavtoolRun.h"
#include "TestFiles.h"

#include <QtTest>

using namespace kav;

// kavtool pretranslate on the shipped samples, with an agency's TMX file in Memory/ and the
// user file's "File" put back to its English.
class TestKavtoolPretranslate : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fills_data();
    void fills();
    void dryRunWritesNothing();
    void refusesScores_data();
    void refusesScores();
    void damagedMemoryIsNamedAndTheRestUsed();

private:
    QString Home() const { return FDir->path(); }
    QString File(const QString& Name) const { return Home() + "/Language/" + Name; }
    TKavtoolRun Run(const QStringList& Args) {
        return RunKavtool(QStringLiteral(KAVTOOL_PATH), Home(), Args);
    }
    // The quoted text of item Name in a language file.
    QByteArray Text(const QString& Path, const QByteArray& Name) const;

    std::unique_ptr<QTemporaryDir> FDir;
};

namespace {

QByteArray Unit(const QByteArray& English, const QByteArray& French) {
    return "<tu><tuv xml:lang=\"en-US\"><seg>" + English +
           "</seg></tuv>"
           "<tuv xml:lang=\"fr-FR\"><seg>" +
           French + "</seg></tuv></tu>\n";
}

const QByteArray AgencyTmx =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\"><header srclang=\"en-US\" "
    "datatype=\"plaintext\" segtype=\"sentence\" adminlang=\"en\" creationtool=\"x\" "
    "creationtoolversion=\"1\" o-tmf=\"x\"/><body>\n" +
    Unit("Add a signature image in Settings before you sign.",
         "Ajoutez une image de signature dans les param\xc3\xa8tres avant de signer.") +
    Unit("Work offline with the local copies", "Travailler hors ligne avec les copies locales") +
    Unit("Open Document...", "Ne doit pas remplacer") + Unit("Urgent", "Say \"urgent\"") +
    "</body></tmx>\n";

} // namespace

QByteArray TestKavtoolPretranslate::Text(const QString& Path, const QByteArray& Name) const {
    for (const QByteArray& Line : ReadFile(Path).split('\n'))
        if (Line.startsWith(Name + ' '))
            return Line.mid(Line.indexOf('"') + 1, Line.lastIndexOf('"') - Line.indexOf('"') - 1);
    return "<no item>";
}

void TestKavtoolPretranslate::init() {
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(CopySampleFolders(QStringLiteral(KAV_SAMPLE_DATA), Home()));
    QByteArray User = ReadFile(File("Kavr_User_FRA.str"));
    const qsizetype At = User.indexOf("\"Fichier\"");
    QVERIFY(At > 0);
    QVERIFY(WriteFile(File("Kavr_User_FRA.str"), User.replace(At, 9, "\"File\"")));
    QVERIFY(QDir(Home()).mkpath("Memory"));
    QVERIFY(WriteFile(Home() + "/Memory/agency.tmx", AgencyTmx));
}

void TestKavtoolPretranslate::fills_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("text"); // what the item holds afterwards
    QTest::addColumn<QString>("summary");
    QTest::newRow("exact, from the other kind's file")
        << "Kavr_User_FRA.str" << QStringList() << QByteArray("Txt_MENU_FILE")
        << QByteArray("Fichier")
        << "2 of 12 untranslated items filled from the memory (2 exact, 0 fuzzy), 1 refused";
    QTest::newRow("exact, from the agency, in the file's code page")
        << "Kavr_User_FRA.str" << QStringList() << QByteArray("Txt_MSG_SIGNATURE_MISSING")
        << QByteArray("Ajoutez une image de signature dans les param\xe8tres avant de signer.")
        << "2 of 12";
    QTest::newRow("a translated item is never replaced")
        << "Kavr_User_FRA.str" << QStringList{"--min-score", "75"}
        << QByteArray("Txt_MENU_FILE_OPEN") << QByteArray("Ouvrir un document...") << "2 of 12";
    QTest::newRow("a text the file cannot hold stays out")
        << "Kavr_User_FRA.str" << QStringList() << QByteArray("Txt_PRIORITY_URGENT")
        << QByteArray("Urgent") << ", 1 refused";
    QTest::newRow("fuzzy only when asked")
        << "Kavr_FRA.str" << QStringList() << QByteArray("Txt_HINT_OFFLINE")
        << QByteArray("Work offline with local copies") << "0 of 23";
    QTest::newRow("fuzzy at 83 %")
        << "Kavr_FRA.str" << QStringList{"--min-score", "80"} << QByteArray("Txt_HINT_OFFLINE")
        << QByteArray("Travailler hors ligne avec les copies locales")
        << "1 of 23 untranslated items filled from the memory "
           "(0 exact, 1 fuzzy)";
    QTest::newRow("fuzzy below the score asked")
        << "Kavr_FRA.str" << QStringList{"--min-score", "84"} << QByteArray("Txt_HINT_OFFLINE")
        << QByteArray("Work offline with local copies") << "0 of 23";
}

void TestKavtoolPretranslate::fills() {
    QFETCH(QString, file);
    QFETCH(QStringList, options);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, text);
    QFETCH(QString, summary);
    const QByteArray Before = ReadFile(File(file));
    const TKavtoolRun R = Run(QStringList{"pretranslate", File(file)} + options);
    QCOMPARE(R.Err, QString());
    QCOMPARE(R.Code, 0);
    QVERIFY2(R.Out.contains(summary), qPrintable(R.Out));
    QCOMPARE(Text(File(file), name), text);
    if (R.Out.startsWith("0 of"))
        QCOMPARE(ReadFile(File(file)), Before); // nothing filled, nothing written
}

void TestKavtoolPretranslate::dryRunWritesNothing() {
    const QByteArray Before = ReadFile(File("Kavr_User_FRA.str"));
    const TKavtoolRun R = Run({"pretranslate", File("Kavr_User_FRA.str"), "--dry-run"});
    QCOMPARE(R.Code, 0);
    QCOMPARE(ReadFile(File("Kavr_User_FRA.str")), Before);
    const QStringList Lines = R.Out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(Lines.size(), 3);
    QVERIFY2(Lines[0].endsWith(" MENU_FILE: 100 % from Kavr_FRA.str: \"Fichier\""),
             qPrintable(Lines[0]));
    QVERIFY2(Lines[1].contains(" MSG_SIGNATURE_MISSING: 100 % from agency.tmx: \"Ajoutez"),
             qPrintable(Lines[1]));
    QVERIFY2(Lines[2].startsWith("dry run, nothing written: 2 of 12"), qPrintable(Lines[2]));
}

void TestKavtoolPretranslate::refusesScores_data() {
    QTest::addColumn<QString>("score");
    QTest::newRow("below fuzzy") << "74";
    QTest::newRow("above exact") << "101";
    QTest::newRow("not a number") << "high";
}

void TestKavtoolPretranslate::refusesScores() {
    QFETCH(QString, score);
    const QByteArray Before = ReadFile(File("Kavr_User_FRA.str"));
    const TKavtoolRun R = Run({"pretranslate", File("Kavr_User_FRA.str"), "--min-score", score});
    QCOMPARE(R.Code, 2);
    QVERIFY2(R.Err.contains("--min-score takes a number from 75 to 100"), qPrintable(R.Err));
    QCOMPARE(ReadFile(File("Kavr_User_FRA.str")), Before);
}

void TestKavtoolPretranslate::damagedMemoryIsNamedAndTheRestUsed() {
    QVERIFY(WriteFile(Home() + "/Memory/broken.tmx", AgencyTmx.left(AgencyTmx.size() - 20)));
    const TKavtoolRun R = Run({"pretranslate", File("Kavr_User_FRA.str")});
    QCOMPARE(R.Code, 1);
    QVERIFY2(R.Err.contains("in " + Home() + "/Memory/broken.tmx, line"), qPrintable(R.Err));
    QCOMPARE(Text(File("Kavr_User_FRA.str"), "Txt_MENU_FILE"), QByteArray("Fichier"));
}

QTEST_GUILESS_MAIN(TestKavtoolPretranslate)
#include "tst_KavtoolPretranslate.moc"
