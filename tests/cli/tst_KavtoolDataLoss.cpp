#include "KavtoolRun.h"
#include "TestFiles.h"

#include <QDirIterator>
#include <QtTest>

#include <map>

using namespace kav;

// The data-loss scenarios through the real kavtool on a copy of the samples: after every
// command, each file of Language/ keeps its previous bytes in place or in Backup/ or
// Backup/History/, and the command said what happened (output and exit code).
class TestKavtoolDataLoss : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data();
    void scenarios();
};

namespace {

std::map<QString, QByteArray> FilesOf(const QString& Folder) {
    std::map<QString, QByteArray> Files;
    for (const QString& Name : QDir(Folder).entryList(QDir::Files))
        Files[Name] = ReadFile(Folder + "/" + Name);
    return Files;
}

bool BackedUp(const QString& Home, const QByteArray& Bytes) {
    QDirIterator It(Home + "/Backup", QDir::Files, QDirIterator::Subdirectories);
    while (It.hasNext())
        if (ReadFile(It.next()) == Bytes)
            return true;
    return false;
}

} // namespace

void TestKavtoolDataLoss::scenarios_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("args"); // %1 Language/, %2 the program folder
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("said"); // part of stdout + stderr
    QTest::addColumn<bool>("kept");    // every file of Language/ keeps its bytes in place
    QTest::newRow("new over the corrected name")
        << "" << QStringList{"new", "--kind", "user", "--lang", "FRA", "%1Kavr_FRA.str"} << 2
        << "%1Kavr_User_FRA.str exists; add --force to overwrite it" << true;
    QTest::newRow("new over the corrected name, forced")
        << "" << QStringList{"new", "--kind", "user", "--lang", "FRA", "%1Kavr_FRA.str", "--force"}
        << 0 << "wrote %1Kavr_User_FRA.str" << false;
    QTest::newRow("-o OUT over the corrected name")
        << "copy Kavr_User_DEU.str"
        << QStringList{"fill", "%1Kavr_User_FRA.str", "x", "-o", "%1Kavr_DEU.str"} << 2
        << "%1Kavr_User_DEU.str exists; add --force to overwrite it" << true;
    QTest::newRow("a bare file name") << "in Language" << QStringList{"fill", "Kavr_FRA.str", "x"}
                                      << 0 << "filled 344 items of Kavr_FRA.str" << false;
    QTest::newRow("CR-only line ends") << "lone CR" << QStringList{"stats", "%1Kavr_FRA.str"} << 1
                                       << "Part of %1Kavr_FRA.str is not read" << true;
    QTest::newRow("Ctrl+Z after item 100")
        << "ctrl z" << QStringList{"stats", "%1Kavr_FRA.str"} << 1
        << "line 105: the end-of-file character (Ctrl+Z) ends the file; 244 line(s) after it "
           "(244 item(s)) are not read"
        << true;
    QTest::newRow("fill over data after Ctrl+Z")
        << "ctrl z" << QStringList{"fill", "%1Kavr_FRA.str", "x"} << 1
        << "244 line(s) after it (244 item(s)) are not read" << false;
    QTest::newRow("a NUL byte from an RTF import")
        << "nul rtf" << QStringList{"import-rtf", "%1Kavr_FRA.str", "%2nul.rtf"} << 1
        << "Item 2: The text holds a NUL character (code 0)" << true;
    QTest::newRow("every text unwritable: the full list")
        << "" << QStringList{"fill", "%1Kavr_FRA.str", "\""} << 1
        << "Txt_LOG_CLEAR_CONFIRM: the text holds a double quote\n"
        << true;
    QTest::newRow("read-only file") << "read-only" << QStringList{"fill", "%1Kavr_FRA.str", "x"}
                                    << 2 << "File access denied: %1Kavr_FRA.str" << true;
    QTest::newRow("an entry that cannot be backed up")
        << "folder in Backup" << QStringList{"fill", "%1Kavr_FRA.str", "x"} << 0
        << "Cannot copy %1Kavr_DEU.str to %2Backup/Kavr_DEU.str" << false;
    QTest::newRow("history of two saves")
        << "two fills" << QStringList{"history", "%1Kavr_FRA.str"} << 0
        << " 321 translated  %2Backup/History/Language-" << true;
    // Every command that reads a file it did not read whole says why, and exits 1.
    QTest::newRow("check on CR-only line ends")
        << "lone CR" << QStringList{"check", "%1Kavr_FRA.str"} << 1
        << "Part of %1Kavr_FRA.str is not read: a CR without LF does not end a line" << true;
    QTest::newRow("export-rtf after Ctrl+Z")
        << "ctrl z" << QStringList{"export-rtf", "%1Kavr_FRA.str"} << 1
        << "is not read: a language file ends at the end-of-file character (Ctrl+Z).\n"
        << true;
    QTest::newRow("make-resource on two items on a line")
        << "one line" << QStringList{"make-resource", "%1Kavr_FRA.str", "--no-start"} << 1
        << "is not read: the tool reads one item per line.\nline " << true;
    QTest::newRow("replace --dry-run after Ctrl+Z")
        << "ctrl z" << QStringList{"replace", "%1Kavr_FRA.str", "e", "E", "--dry-run"} << 1
        << "dry run: nothing written" << true;
}

void TestKavtoolDataLoss::scenarios() {
    QFETCH(QString, setup);
    QFETCH(QStringList, args);
    QFETCH(int, code);
    QFETCH(QString, said);
    QFETCH(bool, kept);
    QTemporaryDir Dir;
    const QString Home = Dir.path() + "/";
    const QString Language = Home + "Language/";
    QVERIFY(CopySampleFolders(QStringLiteral(KAV_SAMPLE_DATA), Dir.path()));
    const QString Fra = Language + "Kavr_FRA.str";
    QByteArray Original = ReadFile(Fra);
    const auto Run = [&](const QStringList& A) {
        QProcess P;
        if (setup == "in Language")
            P.setWorkingDirectory(Language);
        return RunKavtool(P, QStringLiteral(KAVTOOL_PATH), Dir.path(), A);
    };
    if (setup == "copy Kavr_User_DEU.str")
        QVERIFY(QFile::copy(Language + "Kavr_User_FRA.str", Language + "Kavr_User_DEU.str"));
    if (setup == "lone CR")
        QVERIFY(WriteFile(Fra, Original.replace("\r\n", "\r")));
    if (setup == "ctrl z") {
        QList<QByteArray> Lines = Original.split('\n');
        Lines.insert(104, "\x1a");
        QVERIFY(WriteFile(Fra, Lines.join('\n').replace("\x1a\n", "\x1a")));
    }
    if (setup == "one line") {
        const qsizetype Second = Original.indexOf("\r\nTxt_", Original.indexOf("Txt_"));
        QVERIFY(WriteFile(Fra, QByteArray(Original).replace(Second, 2, " ")));
    }
    if (setup == "nul rtf")
        QVERIFY(WriteFile(Home + "nul.rtf", "{\\rtf1 T\\par 2 \\tab a\\'00b\\par}"));
    if (setup == "read-only")
        QVERIFY(QFile::setPermissions(Fra, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    if (setup == "folder in Backup")
        QVERIFY(QDir(Home).mkpath("Backup/Kavr_DEU.str"));
    if (setup == "two fills")
        for (const char* Text : {"first", "second"})
            QCOMPARE(Run({"fill", Fra, Text}).Code, 0);
    const std::map<QString, QByteArray> Before = FilesOf(Language);

    args.replaceInStrings("%1", Language).replaceInStrings("%2", Home);
    const TKavtoolRun R = Run(args);
    const QString Said = R.Out + R.Err;
    QVERIFY2(Said.contains(QString(said).replace("%1", Language).replace("%2", Home)),
             qPrintable(Said.left(3000)));
    QCOMPARE(R.Code, code);
    // A console lists every item; only message boxes stop after ten.
    QVERIFY(!Said.contains(QRegularExpression("\nand \\d+ more")));
    bool AllInPlace = true;
    for (const auto& [Name, Bytes] : Before) {
        const bool InPlace = ReadFile(Language + Name) == Bytes;
        AllInPlace = AllInPlace && InPlace;
        QVERIFY2(InPlace || BackedUp(Home, Bytes), qPrintable(Name));
    }
    QCOMPARE(AllInPlace, kept);
}

QTEST_GUILESS_MAIN(TestKavtoolDataLoss)
#include "tst_KavtoolDataLoss.moc"
