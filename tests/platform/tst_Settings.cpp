#include "platform/Settings.h"

#include <QtTest>

using namespace kav;

namespace {

// Reads the store the way another program would: from a copy of its file, so that nothing this
// process still holds in memory can stand in for what reached the disk.
QMap<QString, QString> ValuesOnDisk(QTemporaryDir& Scratch) {
    const QString Copy =
        Scratch.filePath(QString("copy%1.conf").arg(QRandomGenerator::global()->generate()));
    if (!QFile::copy(LocalisationSettingsFile(), Copy))
        return {};
    QSettings Disk(Copy, QSettings::IniFormat);
    QMap<QString, QString> Values;
    for (const QString& Key : Disk.allKeys())
        Values.insert(QUrl::fromPercentEncoding(Key.toLatin1()), Disk.value(Key).toString());
    return Values;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void valuePerProgramPath_data();
    void valuePerProgramPath();
    void pickingAgainRewrites();
    void unwritableStoreReportsFailure();

private:
    QTemporaryDir FConfigHome;
};

void TestSettings::initTestCase() {
    // ctest gives every test its own config folder; run by hand, keep away from the user's.
    if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME"))
        qputenv("XDG_CONFIG_HOME", FConfigHome.path().toUtf8());
    QVERIFY(LocalisationSettingsFile().startsWith(qEnvironmentVariable("XDG_CONFIG_HOME")));
}

void TestSettings::init() {
    QFile::remove(LocalisationSettingsFile());
    QSettings(QSettings::NativeFormat, QSettings::UserScope, "Brenvak", "Localisation").clear();
}

void TestSettings::valuePerProgramPath_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("second");
    QTest::newRow("two folders") << "/opt/kav/KavrinoTranslationTool"
                                 << "/home/ann/kav copy/KavrinoTranslationTool";
    QTest::newRow("Windows paths") << "C:\\Program Files\\Kav\\KavLang.exe"
                                   << "D:\\Kav\\KavLang.exe";
    QTest::newRow("one path inside the other") << "/a/b"
                                               << "/a/b/c";
    QTest::newRow("characters the file format treats specially")
        << "/tmp/50% off=[x];y#z" << QString::fromUtf8("/home/zoë/ünï/Kav,tool");
}

void TestSettings::valuePerProgramPath() {
    QFETCH(QString, first);
    QFETCH(QString, second);
    QCOMPARE(WriteLocalisationValue(first, "RUS"), SettingsWriteResult::Written);
    QCOMPARE(WriteLocalisationValue(second, "ELL"), SettingsWriteResult::Written);
    QTemporaryDir Scratch;
    const QMap<QString, QString> Disk = ValuesOnDisk(Scratch);
    QCOMPARE(Disk.size(), 2);
    QCOMPARE(Disk.value(first), QString("RUS"));
    QCOMPARE(Disk.value(second), QString("ELL"));
    QSettings Copy(LocalisationSettingsFile(), QSettings::IniFormat);
    QVERIFY2(Copy.childGroups().isEmpty(), "a path must not open settings groups");
    QCOMPARE(ReadLocalisationValue(first), std::optional<QString>("RUS"));
}

void TestSettings::pickingAgainRewrites() {
    const QString Program = "/opt/kav/KavrinoTranslationTool";
    QCOMPARE(WriteLocalisationValue(Program, "FRA"), SettingsWriteResult::Written);
    QCOMPARE(WriteLocalisationValue(Program, "DEU"), SettingsWriteResult::Written);
    QTemporaryDir Scratch;
    const QMap<QString, QString> Disk = ValuesOnDisk(Scratch);
    QCOMPARE(Disk.size(), 1);
    QCOMPARE(Disk.value(Program), QString("DEU"));
}

void TestSettings::unwritableStoreReportsFailure() {
    // A folder where the file should be: the write cannot land, whoever runs the test.
    const QString File = LocalisationSettingsFile();
    QVERIFY(QDir().mkpath(File));
    const QString Program = "/opt/kav/KavrinoTranslationTool";
    const SettingsWriteResult Result = WriteLocalisationValue(Program, "HEB");
    QDir(File).removeRecursively();
    QVERIFY(Result != SettingsWriteResult::Written);
    QCOMPARE(FailedToSetDataMessage(Program),
             QString("Failed to set data for '/opt/kav/KavrinoTranslationTool'"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_Settings.moc"
