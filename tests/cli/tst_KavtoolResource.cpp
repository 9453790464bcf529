#include "KavtoolRun.h"
#include "TestFiles.h"

#include <QtTest>

using namespace kav;

// Runs the real kavtool make-resource on a program folder made of the shipped sample files,
// with a search path that holds neither Wine nor a terminal.
class TestKavtoolResource : public QObject {
    Q_OBJECT
private slots:
    void init();
    void writesBothFiles_data();
    void writesBothFiles();
    void startsTheBatch();
    void saysWhenNothingCanRunIt();
    void refusesAnInjectedName();

private:
    using TRun = TKavtoolRun;
    TRun Run(const QStringList& Args, const QString& Runner = {});
    QString Home() const { return FDir->path() + "/Tool"; }
    QString Batch() const { return Home() + "/MakeKavrinoRes.bat"; }

    std::unique_ptr<QTemporaryDir> FDir;
};

namespace {

QByteArray Golden(const QString& Name, const QString& DocumentPath) {
    QString Seen = "Z:" + QString(DocumentPath).replace('/', '\\');
    return ReadFile(QStringLiteral(KAV_TEST_DATA "/resource/") + Name)
        .replace("<DOCUMENT>", Seen.toUtf8());
}

} // namespace

void TestKavtoolResource::init() {
    FDir = std::make_unique<QTemporaryDir>();
    QDir(FDir->path()).mkpath("bin");
    QVERIFY(CopySampleFolders(QStringLiteral(KAV_SAMPLE_DATA), Home()));
}

TestKavtoolResource::TRun TestKavtoolResource::Run(const QStringList& Args, const QString& Runner) {
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    Env.insert("PATH", FDir->path() + "/bin");
    Env.remove("KAVTOOL_BATCH_RUNNER");
    if (!Runner.isEmpty())
        Env.insert("KAVTOOL_BATCH_RUNNER", Runner);
    QProcess P;
    P.setProcessEnvironment(Env);
    P.setWorkingDirectory(Home());
    return RunKavtool(P, QStringLiteral(KAVTOOL_PATH), Home(), Args);
}

void TestKavtoolResource::writesBothFiles_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("golden");
    QTest::addColumn<QString>("script");
    QTest::newRow("main") << "Language/Kavr_FRA.str" << QStringList() << "main_FRA"
                          << "KavLang_FRA.rc";
    QTest::newRow("user") << "Language/Kavr_User_FRA.str" << QStringList() << "user_FRA"
                          << "KavLang_User_FRA.rc";
    QTest::newRow("other language")
        << "Language/Kavr_FRA.str" << QStringList{"--lang", "DEU"} << "main_FRA_as_DEU"
        << "KavLang_DEU.rc";
}

void TestKavtoolResource::writesBothFiles() {
    QFETCH(QString, file);
    QFETCH(QStringList, options);
    QFETCH(QString, golden);
    QFETCH(QString, script);
    // A relative name, from the program folder: the batch still gets the full path.
    TRun R = Run(QStringList{"make-resource", file, "--no-start"} + options);
    QCOMPARE(R.Code, 0);
    const QString Script = Home() + "/Compiler/" + script;
    QCOMPARE(R.Out, "wrote " + Batch() + "\nwrote " + Script + "\n");
    QCOMPARE(ReadFile(Batch()), Golden(golden + ".bat", Home() + "/" + file));
    QCOMPARE(ReadFile(Script), Golden(golden + ".rc", Home() + "/" + file));
    QVERIFY(QDir(Home() + "/Resource").exists());
}

void TestKavtoolResource::startsTheBatch() {
    const QString Runner = FDir->path() + "/runner";
    QVERIFY(WriteFile(Runner, "#!/bin/sh\nprintf '%s\\n' \"$PWD\" \"$@\" > \"$0.record\"\n"));
    QFile::setPermissions(Runner, QFile::permissions(Runner) | QFileDevice::ExeOwner);
    TRun R = Run({"make-resource", Home() + "/Language/Kavr_FRA.str"}, Runner + " /c");
    QCOMPARE(R.Code, 0);
    QVERIFY2(R.Out.endsWith("started " + Batch() + "\n"), qPrintable(R.Out));
    const QString Tool = QDir(Home()).canonicalPath();
    QTRY_COMPARE_WITH_TIMEOUT(ReadFile(Runner + ".record"),
                              (Tool + "\n/c\nMakeKavrinoRes.bat\n").toUtf8(), 20000);
}

void TestKavtoolResource::saysWhenNothingCanRunIt() {
    TRun R = Run({"make-resource", Home() + "/Language/Kavr_FRA.str"});
    QCOMPARE(R.Code, 0);
    QVERIFY2(R.Out.endsWith("not started " + Batch() + "\n"), qPrintable(R.Out));
    QVERIFY2(R.Err.contains("needs a Windows command interpreter with srmc and brcc32"),
             qPrintable(R.Err));
    QVERIFY(QFile::exists(Batch()));
}

void TestKavtoolResource::refusesAnInjectedName() {
    const QString Document = Home() + "/Language/Kavr_A&del.str";
    QVERIFY(WriteFile(Document, "Txt_MENU_FILE , \"x\"\r\n"));
    TRun R = Run({"make-resource", Document, "--no-start"});
    QCOMPARE(R.Code, 2);
    QVERIFY2(R.Err.contains("Can not Compile " + Document + ": the file code \"A&del\""),
             qPrintable(R.Err));
    QVERIFY(!QFile::exists(Batch()));
}

QTEST_GUILESS_MAIN(TestKavtoolResource)
#include "tst_KavtoolResource.moc"
