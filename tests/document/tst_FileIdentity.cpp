#include "TestFiles.h"
#include "document/FileIdentity.h"

#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>

using namespace kav;

// What another program may do to the open file between load and save, and what the
// comparison makes of it.
class TestFileIdentity : public QObject {
    Q_OBJECT
private slots:
    void changes_data();
    void changes();
};

void TestFileIdentity::changes_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("change"); // TFileChange
    QTest::newRow("nothing done") << "none" << int(TFileChange::Unchanged);
    QTest::newRow("the same bytes saved again") << "same bytes" << int(TFileChange::Unchanged);
    QTest::newRow("other bytes of the same size") << "same size" << int(TFileChange::Changed);
    QTest::newRow("a line added") << "append" << int(TFileChange::Changed);
    QTest::newRow("replaced by a rename, as editors save") << "rename" << int(TFileChange::Changed);
    QTest::newRow("deleted") << "delete" << int(TFileChange::Deleted);
    QTest::newRow("created where none was") << "create" << int(TFileChange::Changed);
}

void TestFileIdentity::changes() {
    QFETCH(QString, action);
    QFETCH(int, change);
    QTemporaryDir Dir;
    const QString Path = Dir.path() + "/Kavr_FRA.str";
    const QByteArray Bytes = "Txt_A , \"x\"\r\n";
    if (action != "create")
        QVERIFY(WriteFile(Path, Bytes));
    const TFileIdentity Known = IdentifyFile(Path.toStdString());
    QCOMPARE(Known.Exists, action != "create");
    // A time stamp that surely differs, whatever the file system's resolution.
    const auto Later = [&Path] {
        struct timespec Times[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
        QVERIFY(::utimensat(AT_FDCWD, Path.toLocal8Bit().constData(), Times, 0) == 0);
    };
    if (action == "same bytes" || action == "same size") {
        QVERIFY(WriteFile(Path, action == "same bytes" ? Bytes : QByteArray("Txt_A , \"y\"\r\n")));
        Later();
    } else if (action == "append") {
        QVERIFY(WriteFile(Path, Bytes + "Txt_B , \"z\"\r\n"));
    } else if (action == "rename") {
        QVERIFY(WriteFile(Path + ".new", "Txt_A , \"w\"\r\n"));
        QVERIFY(::rename((Path + ".new").toLocal8Bit().constData(),
                         Path.toLocal8Bit().constData()) == 0);
        Later();
    } else if (action == "delete") {
        QVERIFY(QFile::remove(Path));
    } else if (action == "create") {
        QVERIFY(WriteFile(Path, Bytes));
    }
    QCOMPARE(int(CompareFile(Known, Path.toStdString())), change);
}

QTEST_GUILESS_MAIN(TestFileIdentity)
#include "tst_FileIdentity.moc"
