// Which folder the programs work in: --home/KAVROOT, a program folder that holds Default/, or
// the user's data folder seeded from the installed sample files.

#include "ScriptedUserInterface.h"
#include "document/Document.h"
#include "document/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kav;

namespace {

void WriteFile(const QString& Path, const QByteArray& Bytes) {
    QDir().mkpath(QFileInfo(Path).absolutePath());
    QFile File(Path);
    QVERIFY(File.open(QIODevice::WriteOnly));
    File.write(Bytes);
}

QByteArray ReadFile(const QString& Path) {
    QFile File(Path);
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray("<missing>");
}

} // namespace

class TestProgramFolder : public QObject {
    Q_OBJECT
private slots:
    void choice_data();
    void choice();
    void userFolderKeepsUserFiles();
    void missingDefaultSaysWhere();
    void userGuide_data();
    void userGuide();
};

void TestProgramFolder::choice_data() {
    QTest::addColumn<bool>("Home");
    QTest::addColumn<bool>("ExeHasDefault");
    QTest::addColumn<QString>("Expected");
    QTest::newRow("--home wins over a complete program folder") << true << true << "home";
    QTest::newRow("build tree or portable copy") << false << true << "exe";
    QTest::newRow("installed program: the user's folder") << false << false << "user";
}

void TestProgramFolder::choice() {
    QFETCH(bool, Home);
    QFETCH(bool, ExeHasDefault);
    QFETCH(QString, Expected);
    QTemporaryDir Tmp;
    const QString Root = Tmp.path() + "/";
    WriteFile(Root + "share/Default/Kavr_ENU.str", "installed default");
    WriteFile(Root + "share/Language/Kavr_FRA.str", "installed sample");
    if (ExeHasDefault)
        QVERIFY(QDir().mkpath(Root + "exe/Default"));
    QVERIFY(QDir().mkpath(Root + "exe"));
    const std::string Chosen = ChooseProgramFolder(
        Home ? (Root + "home").toStdString() : std::string(), (Root + "exe").toStdString(),
        (Root + "user").toStdString(), (Root + "share").toStdString());
    QCOMPARE(QString::fromStdString(Chosen), Root + Expected + "/");
    // Only the user's folder is created and seeded; a chosen home or program folder is not.
    QCOMPARE(QFileInfo(Root + "user/Language").isDir(), Expected == "user");
    if (Expected == "user") {
        QCOMPARE(ReadFile(Root + "user/Default/Kavr_ENU.str"), QByteArray("installed default"));
        QCOMPARE(ReadFile(Root + "user/Language/Kavr_FRA.str"), QByteArray("installed sample"));
    }
}

void TestProgramFolder::userFolderKeepsUserFiles() {
    QTemporaryDir Tmp;
    const QString Root = Tmp.path() + "/";
    WriteFile(Root + "share/Language/Kavr_FRA.str", "installed sample");
    WriteFile(Root + "user/Language/Kavr_FRA.str", "the user's translation");
    PrepareUserFolder((Root + "user").toStdString(), (Root + "share").toStdString());
    QCOMPARE(ReadFile(Root + "user/Language/Kavr_FRA.str"), QByteArray("the user's translation"));
    // A folder that exists is no first start: what the user removed stays removed.
    QVERIFY(!QFile::exists(Root + "user/Default/Kavr_ENU.str"));
}

void TestProgramFolder::missingDefaultSaysWhere() {
    TStyledGridModel Grid;
    ScriptedUserInterface UI;
    TDocument Doc(Grid, UI);
    Doc.SetFolders(UserDataFolder());
    const std::string Text = MissingDefaultMessage(Doc.State());
    QVERIFY2(Text.find("Put the default files Kavr_ENU.str and Kavr_User_ENU.str in " +
                       UserDataFolder() + "Default/") != std::string::npos,
             Text.c_str());
    Doc.SetFolders("/opt/kav/");
    QCOMPARE(MissingDefaultMessage(Doc.State()),
             std::string("Default Language File not found: /opt/kav/Default/Kavr_ENU.str"));
}

void TestProgramFolder::userGuide_data() {
    QTest::addColumn<QString>("exe");   // the program's folder; "bin" the build's
    QTest::addColumn<QString>("guide"); // the file written, below the test folder
    QTest::addColumn<QString>("found"); // the guide found; empty: none
    // A copied bin/ folder has no ../share/ beside it.
    QTest::newRow("copy of the build's bin folder") << "bin"
                                                    << ""
                                                    << "bin/docs/guide.html";
    QTest::newRow("guide beside the program") << "exe"
                                              << "exe/guide.html"
                                              << "exe/guide.html";
    QTest::newRow("installed") << "exe"
                               << "share/guide.html"
                               << "share/guide.html";
    QTest::newRow("nowhere") << "exe"
                             << ""
                             << "";
}

void TestProgramFolder::userGuide() {
    QFETCH(QString, exe);
    QFETCH(QString, guide);
    QFETCH(QString, found);
    QTemporaryDir Tmp;
    const QString Root = Tmp.path() + "/";
    QVERIFY(QDir().mkpath(Root + "exe"));
    if (!guide.isEmpty())
        WriteFile(Root + guide, "<html></html>");
    const QString ExeDir = exe == "bin" ? QStringLiteral(KAV_BIN_DIR) : Root + exe;
    const std::string Share = (Root + "share").toStdString();
    const QString Guide = QString::fromStdString(FindUserGuide(ExeDir.toStdString(), Share));
    if (found.isEmpty()) {
        QCOMPARE(Guide, Root + "share/guide.html");
        QCOMPARE(UserGuideNotFoundMessage(ExeDir.toStdString(), Share),
                 "Help file not found: the user guide is in none of these places:\n" +
                     ExeDir.toStdString() + "/guide.html\n" + ExeDir.toStdString() +
                     "/docs/guide.html\n" + Share + "/guide.html");
        return;
    }
    QCOMPARE(Guide, exe == "bin" ? QStringLiteral(KAV_BIN_DIR "/docs/guide.html") : Root + found);
    QVERIFY(QFileInfo(Guide).isFile());
}

QTEST_GUILESS_MAIN(TestProgramFolder)
#include "tst_ProgramFolder.moc"
