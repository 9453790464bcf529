// Another program (or another window) changes or deletes the open file: the translator is
// asked, naming the file, before anything is written over it or lost.

#include "DocumentFixture.h"

#include <QtTest>

using namespace kav;

class TestDiskChanges : public QObject {
    Q_OBJECT
private slots:
    void saveAfterAChangeOnDisk_data();
    void saveAfterAChangeOnDisk();
};

void TestDiskChanges::saveAfterAChangeOnDisk_data() {
    QTest::addColumn<QString>("change");  // what the other program did
    QTest::addColumn<int>("choice");      // the line picked in the question, -1 cancel, -2 none
    QTest::addColumn<QString>("onDisk");  // the file's translation of item A afterwards
    QTest::addColumn<QString>("inTable"); // item A's translation afterwards
    QTest::addColumn<bool>("modified");
    QTest::newRow("unchanged: saved unasked") << "none" << -2 << "mine"
                                              << "mine" << false;
    QTest::newRow("the same bytes again: unasked") << "same" << -2 << "mine"
                                                   << "mine" << false;
    QTest::newRow("changed, reload") << "change" << 0 << "theirs"
                                     << "theirs" << false;
    QTest::newRow("changed, keep mine") << "change" << 1 << "mine"
                                        << "mine" << false;
    QTest::newRow("changed, cancel: nothing written") << "change" << -1 << "theirs"
                                                      << "mine" << true;
    QTest::newRow("deleted, written again") << "delete" << 0 << "mine"
                                            << "mine" << false;
}

void TestDiskChanges::saveAfterAChangeOnDisk() {
    QFETCH(QString, change);
    QFETCH(int, choice);
    QFETCH(QString, onDisk);
    QFETCH(QString, inTable);
    QFETCH(bool, modified);
    TFixture F;
    F.Doc.WatchDiskFile(true);
    F.WriteDefault("AB");
    const std::string Original = Translations("AB");
    F.Write("Language/Kavr_FRA.str", Original);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    F.Put(colTranslated, 2, "mine");
    const std::string Theirs = std::string(Header) + Item("A", "theirs") + Item("B", "b");
    if (change == "same") {
        F.Write("Language/Kavr_FRA.str", Original);
    } else if (change == "change") {
        F.Write("Language/Kavr_FRA.str", Theirs);
    } else if (change == "delete") {
        QVERIFY(QFile::remove(QString::fromStdString(F.Path("Language/Kavr_FRA.str"))));
    }
    if (choice >= 0)
        F.UI.ChooseAnswers.push_back(static_cast<size_t>(choice));
    else if (choice == -1)
        F.UI.ChooseAnswers.push_back(std::nullopt);
    F.Doc.FileSave();
    if (choice == -2) {
        QVERIFY(F.UI.ChoicePrompts.empty());
    } else {
        QCOMPARE(F.UI.ChoicePrompts.size(), size_t(1));
        QVERIFY(F.UI.ChoicePrompts[0].starts_with(F.Path("Language/Kavr_FRA.str")));
    }
    const std::string Disk = F.Read("Language/Kavr_FRA.str");
    QVERIFY2(Disk.find(", \"" + onDisk.toStdString() + "\"") != std::string::npos, Disk.c_str());
    QCOMPARE(F.Col(colTranslated, 2), inTable.toStdString());
    QCOMPARE(F.State.FModified, modified);
    // What the other program wrote is never lost: it is in the backup history when ours
    // replaced it.
    if (change == "change" && choice == 1)
        QVERIFY(F.Read("Backup/Kavr_FRA.str").find("theirs") != std::string::npos);
}

QTEST_MAIN(TestDiskChanges)
#include "tst_DiskChanges.moc"
