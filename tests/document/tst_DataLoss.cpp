#include "Bytes.h"
#include "DocumentFixture.h"
#include "TestFiles.h"
#include "document/BackupHistory.h"

#include <QDirIterator>
#include <QtTest>

#include <map>
#include <unistd.h>

using namespace kav;

// Ordinary steps that once destroyed a translator's file. Each scenario records the bytes of
// every file it may touch, runs the steps through the document layer, and then checks that
// each previous version is still in place or in Backup/ or Backup/History/, and that the user
// was told.
class TestDataLoss : public QObject {
    Q_OBJECT
private slots:
    void scenarios_data();
    void scenarios();
    void restorePreviousVersion();
};

namespace {

// Every file below the folders a scenario works in, with its bytes.
std::map<std::string, std::string> Snapshot(const TFixture& F) {
    std::map<std::string, std::string> Files;
    for (const char* Sub : {"Language", "Other"}) {
        QDir Dir(QString::fromStdString(F.Path(Sub)));
        for (const QString& Name : Dir.entryList(QDir::Files))
            Files[std::string(Sub) + "/" + Name.toStdString()] =
                F.Read(std::string(Sub) + "/" + Name.toStdString());
    }
    return Files;
}

// Whether Bytes are kept as some file of Backup/ or its history.
bool BackedUp(const TFixture& F, const std::string& Bytes) {
    QDirIterator It(QString::fromStdString(F.Path("Backup")), QDir::Files,
                    QDirIterator::Subdirectories);
    while (It.hasNext())
        if (ReadFile(It.next()) == B(Bytes))
            return true;
    return false;
}

} // namespace

void TestDataLoss::scenarios_data() {
    QTest::addColumn<QString>("scenario");
    QTest::addColumn<QString>("told"); // part of what the user was told; %1 Language/, %2 Backup/
    QTest::addColumn<bool>("saved");   // the save went through
    const QString NotLoaded = "OK to overwrite %1Kavr_FRA.str\nIts translations were not loaded";
    QTest::newRow("incompatible file, then Save") << "incompatible" << NotLoaded << true;
    QTest::newRow("bad colour field, then Save") << "bad colour" << NotLoaded << true;
    QTest::newRow("two saves of a bad state") << "two saves" << NotLoaded << true;
    QTest::newRow("Save As a user file under a main file's name")
        << "corrected name"
        << "OK to overwrite %1Kavr_User_FRA.str" << true;
    QTest::newRow("an entry of the folder cannot be copied")
        << "uncopyable entry"
        << "Cannot copy %1notes.txt to %2notes.txt" << true;
    QTest::newRow("the document's folder is gone, Save As elsewhere")
        << "unlistable folder"
        << "Cannot read the folder " << true;
    QTest::newRow("lone CRs join the items")
        << "lone CR"
        << "Part of %1Kavr_FRA.str is not read: a CR without LF does not end a line, and the "
           "tool reads one item per line.\nline 1: 25 more item(s) joined to it by a lone CR (a "
           "CR without LF) are not read"
        << true;
    QTest::newRow("data after Ctrl+Z")
        << "ctrl z"
        << "is not read: a language file ends at the end-of-file character (Ctrl+Z).\nline 7: "
           "the end-of-file character (Ctrl+Z) ends the file; 3 line(s) after it (3 item(s)) are "
           "not read"
        << true;
    QTest::newRow("two items on one line")
        << "one line"
        << "is not read: the tool reads one item per line.\nline 5: 1 more item(s) on the "
           "same line are not read"
        << true;
    QTest::newRow("a NUL byte in a text") << "nul"
                                          << "Txt_B: it holds a NUL byte (code 0)" << false;
    QTest::newRow("26 unwritable texts")
        << "many quotes"
        << "Txt_K: the text holds a double quote\nand 15 more" << false;
    QTest::newRow("read-only file") << "read-only"
                                    << "File access denied: %1Kavr_FRA.str" << false;
    QTest::newRow("symbolic link") << "symlink"
                                   << "" << true;
    QTest::newRow("file with its own permissions") << "mode kept"
                                                   << "" << true;
    QTest::newRow("names longer than the name field") << "long name"
                                                      << "" << true;
    // The reload after the save would not show that item's translation, a later save would
    // drop it: the translator is asked, and here says No.
    QTest::newRow("a name typed over") << "renamed"
                                       << "1 item name(s) are not in the default file "
                                          "Kavr_ENU.str: after the save their translations are "
                                          "no longer shown, and a later save drops them.\n"
                                          "Txt_RENAMED"
                                       << false;
}

void TestDataLoss::scenarios() {
    QFETCH(QString, scenario);
    QFETCH(QString, told);
    QFETCH(bool, saved);
    TFixture F;
    const std::string Names = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    F.WriteDefault(Names);
    F.WriteDefault("AB", UserDefaultName);
    F.Write("Language/Kavr_FRA.str", Translations(Names));
    F.Write("Language/Kavr_User_FRA.str", Translations("AB"));
    F.Write("Language/notes.txt", "notes");
    QDir(QString::fromStdString(F.Path(""))).mkpath("Other");
    const std::string Fra = F.Path("Language/Kavr_FRA.str");
    const std::string LongName(90, 'L');

    std::string Damaged;
    if (scenario == "incompatible" || scenario == "two saves")
        Damaged = Translations(Names) + "\r\n";
    else if (scenario == "bad colour")
        Damaged = std::string(Header) + Item("A", "x", " {blue}") + Item("B", "y");
    else if (scenario == "lone CR")
        Damaged =
            QByteArray::fromStdString(Translations(Names)).replace("\r\n", "\r").toStdString();
    else if (scenario == "ctrl z")
        Damaged = Translations("AB") + "\x1a" + Translations("CDE").substr(strlen(Header));
    else if (scenario == "one line")
        Damaged = std::string(Header) + "Txt_A , \"x\" {1} Txt_B , \"y\" {2}\r\n";
    if (!Damaged.empty())
        F.Write("Language/Kavr_FRA.str", Damaged);
    if (scenario == "symlink") {
        F.Write("Other/real.str", Translations(Names));
        QVERIFY(QFile::remove(QString::fromStdString(Fra)));
        QVERIFY(QFile::link(QString::fromStdString(F.Path("Other/real.str")),
                            QString::fromStdString(Fra)));
    }
    if (scenario == "long name") {
        F.Write("Default/Kavr_ENU.str",
                std::string(Header) + Item("A", "a") + Item(LongName, "l") + Item("B", "b"));
        F.Write("Language/Kavr_FRA.str",
                std::string(Header) + Item("A", "x") + Item(LongName, "y") + Item("B", "z"));
    }
    const std::map<std::string, std::string> Before = Snapshot(F);

    if (scenario == "corrected name") {
        F.Doc.SetSoftware(TSoftware::Pelmor);
        F.Doc.FileNew();
        F.Doc.SetLanguage("FRA");
        F.UI.SaveAnswers.push_back(Fra);
        F.UI.Answers.push_back(TModalResult::mrYes);
        F.Doc.FileSaveAs();
        QVERIFY(F.Read("Language/Kavr_FRA.str") == Before.at("Language/Kavr_FRA.str"));
    } else if (scenario == "unlistable folder") {
        F.Write("Other/Kavr_FRA.str", Translations(Names));
        QVERIFY(F.Doc.OpenPath(F.Path("Other/Kavr_FRA.str")));
        QVERIFY(QDir(QString::fromStdString(F.Path("Other"))).removeRecursively());
        F.UI.SaveAnswers.push_back(F.Path("Language/Kavr_DEU.str"));
        F.Doc.SetLanguage("DEU");
        F.Doc.FileSaveAs();
        QCOMPARE(F.State.FFileName, F.Path("Language/Kavr_DEU.str"));
    } else {
        const bool Bound = F.Doc.OpenPath(Fra);
        QCOMPARE(Bound, Damaged.empty() || scenario == "lone CR" || scenario == "ctrl z" ||
                            scenario == "one line");
        if (!Bound) // The status bar no longer names the previous file.
            QCOMPARE(F.UI.StatusText(StatusFile), std::string());
        if (scenario == "uncopyable entry")
            QVERIFY(QDir().mkpath(QString::fromStdString(F.Path("Backup/notes.txt"))));
        if (scenario == "nul")
            F.Grid.SetCells(colTranslated, 3, std::string("a\0b", 3));
        if (scenario == "many quotes")
            for (int Row = FirstItemRow; Row < FirstItemRow + 26; ++Row)
                F.Grid.SetCells(colTranslated, Row, "\"");
        if (scenario == "read-only")
            QVERIFY(QFile::setPermissions(QString::fromStdString(Fra),
                                          QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        if (scenario == "mode kept")
            QVERIFY(QFile::setPermissions(QString::fromStdString(Fra), QFileDevice::ReadOwner |
                                                                           QFileDevice::WriteOwner |
                                                                           QFileDevice::ReadOther));
        F.Grid.SetCells(colTranslated, 2, "edited");
        F.Doc.SetModified(true);
        F.UI.SaveAnswers.push_back(Fra);
        if (scenario == "renamed") {
            F.Grid.SetCells(colName, 3, "RENAMED");
            F.UI.Answers.push_back(TModalResult::mrNo);
        }
        F.UI.Answers.push_back(TModalResult::mrYes);
        F.Doc.FileSave();
        if (scenario == "two saves") {
            F.Doc.SetModified(true);
            F.Doc.FileSave();
        }
    }

    const std::string Text = Told(F);
    const QString Expected = QString(told)
                                 .replace("%1", QString::fromStdString(F.Path("Language/")))
                                 .replace("%2", QString::fromStdString(F.State.BackupDir()));
    QVERIFY2(QString::fromStdString(Text).contains(Expected), Text.c_str());
    for (const auto& [Path, Bytes] : Before)
        QVERIFY2(F.Read(Path) == Bytes || BackedUp(F, Bytes), Path.c_str());
    QCOMPARE(F.State.FModified, !saved);
    if (!saved)
        QCOMPARE(F.Read("Language/Kavr_FRA.str"), Before.at("Language/Kavr_FRA.str"));
    QCOMPARE(F.UI.LockDepth, 0);

    if (scenario == "read-only") {
        const auto Mode = QFileInfo(QString::fromStdString(Fra)).permissions();
        QVERIFY(!(Mode & (QFileDevice::WriteOwner | QFileDevice::WriteGroup)));
        QVERIFY(Mode & QFileDevice::ReadGroup);
    } else if (scenario == "mode kept") {
        QCOMPARE(QFile::permissions(QString::fromStdString(Fra)) &
                     ~(QFileDevice::ReadUser | QFileDevice::WriteUser),
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther);
    } else if (scenario == "symlink") {
        QVERIFY(QFileInfo(QString::fromStdString(Fra)).isSymLink());
        QVERIFY(F.Read("Other/real.str").find("\"edited\"") != std::string::npos);
    } else if (scenario == "long name") {
        // The name is written whole, reads back whole and finds its row again.
        QVERIFY(F.Read("Language/Kavr_FRA.str").find("Txt_" + LongName + " , \"y\"") !=
                std::string::npos);
        QCOMPARE(F.Col(colName, 3), LongName);
        QCOMPARE(F.Col(colTranslated, 3), std::string("y"));
        QCOMPARE(F.Col(colTranslated, 4), std::string("z"));
    }
}

void TestDataLoss::restorePreviousVersion() {
    TFixture F;
    F.WriteDefault("ABC");
    const std::string Good = Translations("ABC");
    F.Write("Language/Kavr_FRA.str", Good);
    const std::string Fra = F.Path("Language/Kavr_FRA.str");
    QVERIFY(F.Doc.OpenPath(Fra));
    // More saves than the history keeps: the oldest versions go, the newest stay in order.
    for (int i = 0; i < int(HistoryDepth) + 2; ++i) {
        F.Grid.SetCells(colTranslated, 2, "save " + std::to_string(i));
        F.Doc.FileSave();
    }
    const std::vector<THistoryEntry> Versions =
        ListHistory(HistoryFolder(F.State.BackupDir()), "Kavr_FRA.str");
    QCOMPARE(Versions.size(), HistoryDepth);
    QVERIFY(F.Read(Versions[0].Path.substr(F.State.FProgramDir.size())).find("\"save 20\"") !=
            std::string::npos);

    F.UI.ChooseAnswers.push_back(1); // the version before "save 20" was written: "save 19"
    F.Doc.FileRestoreVersion();
    QCOMPARE(F.UI.ChoiceLists.size(), size_t(1));
    QCOMPARE(F.UI.ChoiceLists[0].size(), HistoryDepth);
    QVERIFY2(QString::fromStdString(F.UI.ChoiceLists[0][0])
                 .contains(QRegularExpression(
                     "^Kavr_FRA\\.str   \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d(-\\d+)?   3 "
                     "translated$")),
             F.UI.ChoiceLists[0][0].c_str());
    QCOMPARE(F.Col(colTranslated, 2), std::string("save 19"));
    QCOMPARE(F.State.FFileName, std::string(UntitledName));
    QVERIFY(F.State.FModified);
    // Saved deliberately: Save As proposes the file it is a version of, and asks.
    F.UI.SaveAnswers.push_back(Fra);
    F.UI.Answers.push_back(TModalResult::mrYes);
    F.Doc.FileSave();
    QCOMPARE(F.UI.SaveProposals.back(), std::string("Kavr_FRA.str"));
    QCOMPARE(F.UI.SaveFolders.back(), F.Path("Language/"));
    QCOMPARE(F.UI.Texts().back(), "OK to overwrite " + Fra);
    QVERIFY(F.Read("Language/Kavr_FRA.str").find("\"save 19\"") != std::string::npos);
    QVERIFY(!F.State.FModified);
}

QTEST_GUILESS_MAIN(TestDataLoss)
#include "tst_DataLoss.moc"
