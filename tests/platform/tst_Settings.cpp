#include "platform/Settings.h"

#include <QtTest>

using namespace kav;

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init() { QFile::remove(LocalisationSettingsFile()); }
    void valuePerProgramPath_data();
    void valuePerProgramPath();
    void unwritableStoreReportsFailure();

private:
    // Reads the store as another program would: from a copy of its file, so that nothing this
    // process still caches can stand in for what reached the disk.
    QMap<QString, QString> ValuesOnDisk();

    QTemporaryDir FScratch;
    int FCopies = 0;
};

void TestSettings::initTestCase() {
    // ctest gives every test its own config folder; run by hand, keep away from the user's.
    if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"))
        qputenv("XDG_CONFIG_HOME", FScratch.filePath("config").toUtf8());
    QVERIFY(LocalisationSettingsFile().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
}

QMap<QString, QString> TestSettings::ValuesOnDisk() {
    const QString Copy = FScratch.filePath(QString("copy%1.conf").arg(++FCopies));
    if (!QFile::copy(LocalisationSettingsFile(), Copy))
        return {};
    QSettings Disk(Copy, QSettings::IniFormat);
    if (!Disk.childGroups().isEmpty())
        return {{"a path opened a group", ""}};
    QMap<QString, QString> Values;
    for (const QString& Key : Disk.allKeys())
        Values.insert(QUrl::fromPercentEncoding(Key.toLatin1()), Disk.value(Key).toString());
    return Values;
}

void TestSettings::valuePerProgramPath_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("two folders") << "/opt/kav/KavrinoTranslationTool"
                                 << "/home/ann/kav copy/KavrinoTranslationTool";
    QTest::newRow("one path inside the other") << "/a/b"
                                               << "/a/b/c";
    QTest::newRow("Windows path") << "C:\\Kav\\KavLang.exe"
                                  << "/Kav/KavLang.exe";
    QTest::newRow("characters the file format treats specially")
        << "/tmp/50% off=[x];y#z" << QString::fromUtf8("/home/zoë/Kav,tool");
    QTest::newRow("same program picks again") << "/opt/kav/Kav"
                                              << "/opt/kav/Kav";
}

void TestSettings::valuePerProgramPath() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QCOMPARE(WriteLocalisationValue(first, "RUS"), SettingsWriteResult::Written);
    QCOMPARE(WriteLocalisationValue(second, "ELL"), SettingsWriteResult::Written);
    QMap<QString, QString> Expected{{first, "RUS"}};
    Expected.insert(second, "ELL");
    QCOMPARE(ValuesOnDisk(), Expected);
    QCOMPARE(ReadLocalisationValue(second), std::optional<QString>("ELL"));
}

void TestSettings::unwritableStoreReportsFailure() {
    // A folder where the file should be: the write cannot land, whoever runs the test.
    const QString File = LocalisationSettingsFile();
    QVERIFY(QDir().mkpath(File));
    const SettingsWriteResult Result = WriteLocalisationValue("/opt/kav/Kav", "HEB");
    QDir(File).removeRecursively();
    QVERIFY(Result != SettingsWriteResult::Written);
    QCOMPARE(FailedToSetDataMessage("/opt/kav/Kav"),
             QString("Failed to set data for '/opt/kav/Kav'"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_Settings.moc"
