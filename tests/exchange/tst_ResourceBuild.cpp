#include "EndedProcess.h"
#include "RecordedEvents.h"
#include "ScriptedUserInterface.h"
#include "TestFiles.h"
#include "document/StrFile.h"
#include "exchange/ResourceBuild.h"

#include <QtTest>

using namespace kav;

namespace {

// A golden batch names the document as "<DOCUMENT>": the path as Wine's cmd sees it, with the
// percent signs doubled, in the OEM code page of the tests' locale (C.UTF-8: code page 437).
QByteArray Golden(const QString& Name, const QString& DocumentPath) {
    QString Seen = "Z:" + QString(DocumentPath).replace('/', '\\').replace("%", "%%");
    QStringEncoder Oem("IBM437");
    return ReadFile(QStringLiteral(KAV_TEST_DATA "/resource/") + Name)
        .replace("<DOCUMENT>", QByteArray(Oem.encode(Seen)));
}

// A program folder Tool/ and a document folder beside it.
struct TFixture {
    QTemporaryDir Dir;
    TDocumentState State;
    ScriptedUserInterface UI;
    TRecordedEvents Events;

    explicit TFixture(const QString& DocumentFolder = "Work", const QString& ToolFolder = "Tool")
        : FToolFolder(ToolFolder) {
        QDir(Dir.path()).mkpath(ToolFolder);
        QDir(Dir.path()).mkpath(DocumentFolder);
        State.FProgramDir = Tool().toStdString();
        FDocumentDir = Dir.path() + "/" + DocumentFolder + "/";
        State.FLanguageCode = "FRA";
        State.FObserver = &Events;
    }
    QString Tool() const { return Dir.path() + "/" + FToolFolder + "/"; }
    QString Folder() const { return FDocumentDir; }
    QString Batch() const { return Tool() + BatchFileName; }
    // Makes Name the open, saved document of Kind.
    QString Open(const QString& Name, int Kind, bool CreateFile = true) {
        QString Path = FDocumentDir + Name;
        if (CreateFile)
            WriteFile(Path, "Txt_A , \"x\"\r\n");
        State.FFileName = Path.toStdString();
        State.FFileKind = static_cast<StrFileKind>(Kind);
        State.FUntitled = false;
        return Path;
    }
    TResourceOutcome Make(bool Launch = false) {
        return TResourceBuild(State, UI).MakeResourceFile(Launch);
    }
    QStringList FilesIn(const QString& Sub) const {
        return QDir(Tool() + Sub).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
    }

private:
    QString FToolFolder;
    QString FDocumentDir;
};

// A runner that records its working folder and arguments, says something on both outputs and
// tells whether its input was closed.
QString WriteFakeRunner(const QString& Folder) {
    QString Path = Folder + "/fake-runner";
    WriteFile(Path, "#!/bin/sh\n"
                    "echo \"out\"; echo \"err\" >&2\n"
                    "if read Line; then echo \"stdin open\"; else echo \"stdin closed\"; fi\n"
                    "printf '%s\\n' \"$PWD\" \"$@\" > \"$0.record\"\n");
    QFile::setPermissions(Path, QFile::permissions(Path) | QFileDevice::ExeOwner);
    return Path;
}

} // namespace

class TestResourceBuild : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void goldenFiles_data();
    void goldenFiles();
    void refusals_data();
    void refusals();
    void compiledName_data();
    void compiledName();
    void savesFirst_data();
    void savesFirst();
    void staleTemporariesRemoved();
    void folderCannotBeCreated_data();
    void folderCannotBeCreated();
    void failedWriteKeepsTheBatch();

    void runnerChoice_data();
    void runnerChoice();
    void startsTheRunner();
    void noRunner();
    void compilersCheckedFirst_data();
    void compilersCheckedFirst();
    void realRun_data();
    void realRun();

private:
    QTemporaryDir FBin; // the only folder on the search path during a test
    QByteArray FPath;
    QByteArray FRunner;
    bool FRunnerSet = false;
    QByteArray FLocale;
    bool FLocaleSet = false;
};

void TestResourceBuild::init() {
    FPath = qgetenv("PATH");
    FRunnerSet = qEnvironmentVariableIsSet(BatchRunnerVariable);
    FRunner = qgetenv(BatchRunnerVariable);
    qputenv("PATH", FBin.path().toLocal8Bit());
    qunsetenv(BatchRunnerVariable);
    // The interpreter's code page follows the locale: 437 under C.UTF-8, present everywhere.
    FLocaleSet = qEnvironmentVariableIsSet("LC_ALL");
    FLocale = qgetenv("LC_ALL");
    qputenv("LC_ALL", "C.UTF-8");
}

void TestResourceBuild::cleanup() {
    qputenv("PATH", FPath);
    if (FRunnerSet)
        qputenv(BatchRunnerVariable, FRunner);
    else
        qunsetenv(BatchRunnerVariable);
    if (FLocaleSet)
        qputenv("LC_ALL", FLocale);
    else
        qunsetenv("LC_ALL");
}

void TestResourceBuild::goldenFiles_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("golden");
    QTest::addColumn<QString>("script");
    QTest::newRow("main") << "Work"
                          << "Kavr_FRA.str" << int(fkMain) << "FRA - French (France)"
                          << "main_FRA"
                          << "KavLang_FRA.rc";
    QTest::newRow("user") << "Work"
                          << "Kavr_User_FRA.str" << int(fkUser) << "FRA - French (France)"
                          << "user_FRA"
                          << "KavLang_User_FRA.rc";
    QTest::newRow("lower-case code") << "Work"
                                     << "Kavr_fra.str" << int(fkMain) << "fra - French (France)"
                                     << "lower_fra"
                                     << "KavLang_FRA.rc";
    QTest::newRow("other language selected")
        << "Work"
        << "Kavr_FRA.str" << int(fkMain) << "DEU - German (Germany)"
        << "main_FRA_as_DEU"
        << "KavLang_DEU.rc";
    QTest::newRow("percent and blanks in the folder")
        << "My %USERNAME% files"
        << "Kavr_FRA.str" << int(fkMain) << "FRA - French (France)"
        << "main_FRA"
        << "KavLang_FRA.rc";
    QTest::newRow("accented folder") << QString::fromUtf8("Traducción/Café") << "Kavr_FRA.str"
                                     << int(fkMain) << "FRA - French (France)"
                                     << "main_FRA"
                                     << "KavLang_FRA.rc";
}

void TestResourceBuild::goldenFiles() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QString, entry);
    QFETCH(QString, golden);
    QFETCH(QString, script);
    TFixture F(folder);
    QString Document = F.Open(name, kind);
    F.State.FLanguageCode = entry.toStdString();
    // Unsaved edits do not stop the build, and earlier files are overwritten.
    F.State.FModified = true;
    QDir(F.Tool()).mkpath("Compiler");
    QVERIFY(WriteFile(F.Batch(), QByteArray(5000, 'x')));
    QVERIFY(WriteFile(F.Tool() + "Compiler/" + script, QByteArray(5000, 'y')));
    TResourceOutcome Out = F.Make();
    QVERIFY(Out.Written);
    QVERIFY(!Out.StartTried);
    QCOMPARE(F.UI.Texts(), std::vector<std::string>());
    QCOMPARE(QString::fromStdString(Out.BatchPath), F.Batch());
    QCOMPARE(QString::fromStdString(Out.ScriptPath), F.Tool() + "Compiler/" + script);
    QCOMPARE(ReadFile(F.Batch()), Golden(golden + ".bat", Document));
    QCOMPARE(ReadFile(F.Tool() + "Compiler/" + script), Golden(golden + ".rc", Document));
    // No temporary file is left behind.
    QCOMPARE(F.FilesIn(""), (QStringList{"Compiler", BatchFileName, "Resource"}));
    QCOMPARE(F.FilesIn("Compiler"), QStringList{script});
    QCOMPARE(F.FilesIn("Resource"), QStringList());
}

void TestResourceBuild::refusals_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<bool>("onDisk");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message"); // %1: the document path, %2: its folder
    QTest::addColumn<int>("type");
    const int Error = int(TMsgDlgType::mtError);
    const QString Fra = "FRA - French (France)";
    QTest::newRow("no document") << "Work"
                                 << "Kavr_FRA.str" << int(fkNone) << false << true << Fra
                                 << "No open file to Compile" << Error;
    QTest::newRow("never saved") << "Work"
                                 << "Kavr_FRA.str" << int(fkMain) << true << true << Fra
                                 << "Can not Compile: File not saved" << Error;
    QTest::newRow("file gone") << "Work"
                               << "Kavr_FRA.str" << int(fkMain) << false << false << Fra
                               << "File not found:\n\r%2Kavr_FRA.STR"
                               << int(TMsgDlgType::mtInformation);
    QTest::newRow("command in the file code")
        << "Work"
        << "Kavr_A&del.str" << int(fkMain) << false << true << Fra
        << "Can not Compile %1: the file code \"A&del\" may hold only letters, digits, \"_\" "
           "and \"-\"."
        << Error;
    QTest::newRow("letter outside ASCII")
        << "Work" << QString::fromUtf8("Kavr_FR\u00c9.str") << int(fkMain) << false << true << Fra
        << QString::fromUtf8("Can not Compile %1: the file code \"FR\u00c9\" may hold only "
                             "letters, digits, \"_\" and \"-\".")
        << Error;
    QTest::newRow("no file code") << "Work"
                                  << "Kavr_.str" << int(fkMain) << false << true << Fra
                                  << "Can not Compile %1: the file code \"\" may hold only "
                                     "letters, digits, \"_\" and \"-\"."
                                  << Error;
    QTest::newRow("command in the target")
        << "Work"
        << "Kavr_User_FRA.str" << int(fkUser) << false << true << "F|x - Odd"
        << "Can not Compile %1: the target name \"User_F|X\" may hold only letters, digits, "
           "\"_\" and \"-\"."
        << Error;
    QTest::newRow("no language") << "Work"
                                 << "Kavr_FRA.str" << int(fkMain) << false << true << ""
                                 << "Can not Compile %1: no language selected" << Error;
    QTest::newRow("quote in the path")
        << "a\"&del x&\""
        << "Kavr_FRA.str" << int(fkMain) << false << true << Fra
        << "Can not Compile %1: a path holding a double quote or a control character cannot go "
           "into the batch."
        << Error;
}

void TestResourceBuild::refusals() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(bool, untitled);
    QFETCH(bool, onDisk);
    QFETCH(QString, entry);
    QFETCH(QString, message);
    QFETCH(int, type);
    TFixture F(folder);
    QString Document = F.Open(name, kind, onDisk);
    F.State.FUntitled = untitled;
    F.State.FLanguageCode = entry.toStdString();
    TResourceOutcome Out = F.Make(true);
    QVERIFY(!Out.Written);
    QVERIFY(!Out.StartTried);
    QCOMPARE(F.UI.Beeps, 1);
    QCOMPARE(F.UI.Messages.size(), size_t(1));
    QCOMPARE(QString::fromStdString(F.UI.Messages[0].Text),
             QString(message).replace("%1", Document).replace("%2", F.Folder()));
    QCOMPARE(int(F.UI.Messages[0].Type), type);
    QCOMPARE(F.Events.LanguageMissingMarked, entry.isEmpty());
    QCOMPARE(F.FilesIn(""), QStringList());
}

void TestResourceBuild::compiledName_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("beside"); // another file in the document folder
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QString>("message"); // %1: the document path, %2: its folder; empty: built
    QTest::addColumn<int>("type");
    const int Error = int(TMsgDlgType::mtError);
    const int Information = int(TMsgDlgType::mtInformation);
    const QByteArray Utf8 = "C.UTF-8";
    // The batch compiles "Kavr_" + the file code + ".STR", whatever the document is called.
    QTest::newRow("other prefix") << "Work"
                                  << "Trans_FRA.str"
                                  << "" << Utf8 << "File not found:\n\r%2Kavr__FRA.STR"
                                  << Information;
    QTest::newRow("prefix inside the name")
        << "Work"
        << "MyKavr_FR.str"
        << "" << Utf8 << "File not found:\n\r%2Kavr_r_FR.STR" << Information;
    QTest::newRow("other extension, stale file of the compiled name beside")
        << "Work"
        << "Kavr_FRA.txt"
        << "Kavr_FRA.str" << Utf8
        << "Can not Compile %1: the build compiles Kavr_FRA.STR, another file. Save the document "
           "under that name first."
        << Error;
    QTest::newRow("letter case differs") << "Work"
                                         << "kavr_fra.Str"
                                         << "" << Utf8 << "" << 0;
    // The interpreter reads the batch in its OEM code page and splits paths at backslashes.
    QTest::newRow("backslash in a folder name")
        << "a\\b"
        << "Kavr_FRA.str"
        << "" << Utf8
        << "Can not Compile %1: the character \"\\\" in a folder name would split the path in "
           "the batch. Move the file to another folder."
        << Error;
    QTest::newRow("letter outside the OEM code page")
        << QString::fromUtf8("København") << "Kavr_FRA.str"
        << "" << Utf8
        << QString::fromUtf8("Can not Compile %1: the character \"ø\" cannot go into the "
                             "batch, whose command interpreter reads code page 437. Move the "
                             "file to another folder.")
        << Error;
    QTest::newRow("accent under a locale without UTF-8")
        << QString::fromUtf8("Café") << "Kavr_FRA.str"
        << "" << QByteArray("C")
        << QString::fromUtf8("Can not Compile %1: the character \"é\" cannot go into the "
                             "batch, whose command interpreter reads no code page beyond ASCII "
                             "under this locale. Move the file to another folder.")
        << Error;
}

void TestResourceBuild::compiledName() {
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(QString, beside);
    QFETCH(QByteArray, locale);
    QFETCH(QString, message);
    QFETCH(int, type);
    qputenv("LC_ALL", locale);
    TFixture F(folder);
    if (!beside.isEmpty())
        QVERIFY(WriteFile(F.Folder() + beside, "Txt_A , \"old\"\r\n"));
    QString Document = F.Open(name, fkMain);
    TResourceOutcome Out = F.Make();
    QCOMPARE(Out.Written, message.isEmpty());
    QCOMPARE(F.UI.Beeps, message.isEmpty() ? 0 : 1);
    QCOMPARE(F.UI.Texts(), message.isEmpty()
                               ? std::vector<std::string>()
                               : std::vector<std::string>{QString(message)
                                                              .replace("%1", Document)
                                                              .replace("%2", F.Folder())
                                                              .toStdString()});
    if (!message.isEmpty())
        QCOMPARE(int(F.UI.Messages[0].Type), type);
}

void TestResourceBuild::savesFirst_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveSucceeds");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("built");
    const int Yes = int(TModalResult::mrYes);
    QTest::newRow("no edits: no question") << false << Yes << true << false << false << true;
    QTest::newRow("yes saves, then builds") << true << Yes << true << true << true << true;
    QTest::newRow("yes but the save fails") << true << Yes << false << true << true << false;
    QTest::newRow("no builds the saved file")
        << true << int(TModalResult::mrNo) << true << true << false << true;
    QTest::newRow("cancel stops") << true << int(TModalResult::mrCancel) << true << true << false
                                  << false;
}

void TestResourceBuild::savesFirst() {
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, saveSucceeds);
    QFETCH(bool, asked);
    QFETCH(bool, saved);
    QFETCH(bool, built);
    TFixture F;
    F.Open("Kavr_FRA.str", fkMain);
    F.State.FModified = modified;
    F.UI.Answers.push_back(TModalResult(answer));
    bool Saved = false;
    TResourceBuild Build(F.State, F.UI);
    Build.OfferSave([&] {
        Saved = true;
        return saveSucceeds;
    });
    QCOMPARE(Build.MakeResourceFile(false).Written, built);
    QCOMPARE(Saved, saved);
    QCOMPARE(F.UI.Texts(), asked ? std::vector<std::string>{"Save changes before building?"}
                                 : std::vector<std::string>());
    if (asked) {
        QCOMPARE(F.UI.Messages[0].Type, TMsgDlgType::mtConfirmation);
        QCOMPARE(F.UI.Messages[0].Buttons, TMsgDlgButtons(mbYesNoCancel));
    }
}

void TestResourceBuild::staleTemporariesRemoved() {
    TFixture F;
    F.Open("Kavr_FRA.str", fkMain);
    QDir(F.Tool()).mkpath("Compiler");
    // Left by a build that was killed between writing and renaming; and one of a build running.
    const QString Dead = QString::number(EndedProcess());
    const QString Alive = QString::number(QCoreApplication::applicationPid());
    const QStringList Stale = {"." + QString(BatchFileName) + ".kavtmp." + Dead + ".a1B2c3",
                               "Compiler/.KavLang_FRA.rc.kavtmp." + Dead + ".x9Y8z7"};
    const QString Running = "Compiler/.KavLang_DEU.rc.kavtmp." + Alive + ".q1W2e3";
    for (const QString& Name : Stale + QStringList{Running})
        QVERIFY(WriteFile(F.Tool() + Name, "partial"));
    QVERIFY(F.Make().Written);
    for (const QString& Name : Stale)
        QVERIFY2(!QFile::exists(F.Tool() + Name), qPrintable(Name));
    QVERIFY(QFile::exists(F.Tool() + Running));
    QCOMPARE(F.FilesIn(""), (QStringList{"Compiler", BatchFileName, "Resource"}));
}

void TestResourceBuild::folderCannotBeCreated_data() {
    QTest::addColumn<QString>("blocked");
    QTest::newRow("Compiler") << "Compiler";
    QTest::newRow("Resource") << "Resource";
}

void TestResourceBuild::folderCannotBeCreated() {
    QFETCH(QString, blocked);
    TFixture F;
    F.Open("Kavr_FRA.str", fkMain);
    QVERIFY(WriteFile(F.Tool() + blocked, "a file where the folder belongs"));
    QVERIFY(!F.Make(true).Written);
    QCOMPARE(F.UI.Errors,
             std::vector<std::string>{"Cannot create " + (F.Tool() + blocked + "/").toStdString()});
    QVERIFY(!QFile::exists(F.Batch()));
}

void TestResourceBuild::failedWriteKeepsTheBatch() {
    TFixture F;
    F.Open("Kavr_FRA.str", fkMain);
    QVERIFY(WriteFile(F.Batch(), "old batch"));
    // A folder where the script belongs: it cannot be replaced by a file.
    QDir(F.Tool()).mkpath("Compiler/KavLang_FRA.rc");
    QVERIFY(!F.Make(true).Written);
    QCOMPARE(F.UI.Errors,
             std::vector<std::string>{"File access denied: " +
                                      (F.Tool() + "Compiler/KavLang_FRA.rc").toStdString()});
    QCOMPARE(ReadFile(F.Batch()), QByteArray("old batch"));
    QCOMPARE(F.FilesIn("Compiler"), QStringList{"KavLang_FRA.rc"});
}

void TestResourceBuild::runnerChoice_data() {
    QTest::addColumn<QVariant>("setting"); // invalid: not set
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("logged");
    const QStringList WineArgs = {"cmd", "/c", BatchFileName};
    QTest::newRow("wine, no terminal")
        << QVariant() << QStringList{"wine"} << "/usr/bin/wine" << WineArgs << true;
    QTest::newRow("wine in a terminal")
        << QVariant() << QStringList{"wine", TerminalProgram} << "/usr/bin/x-terminal-emulator"
        << (QStringList{"-e", "/usr/bin/wine"} + WineArgs) << false;
    QTest::newRow("nothing installed")
        << QVariant() << QStringList{TerminalProgram} << "" << QStringList() << false;
    QTest::newRow("configured") << QVariant("dosrun --batch") << QStringList{"wine", "dosrun"}
                                << "/usr/bin/dosrun" << QStringList{"--batch", BatchFileName}
                                << true;
    QTest::newRow("configured with blanks")
        << QVariant("\"/opt/my tools/run\" -q") << QStringList{"/opt/my tools/run"}
        << "/opt/my tools/run" << QStringList{"-q", BatchFileName} << true;
    QTest::newRow("configured but missing")
        << QVariant("dosrun") << QStringList{"wine"} << "" << QStringList() << false;
    QTest::newRow("blank setting turns it off")
        << QVariant("  ") << QStringList{"wine"} << "" << QStringList() << false;
}

void TestResourceBuild::runnerChoice() {
    QFETCH(QVariant, setting);
    QFETCH(QStringList, installed);
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(bool, logged);
    TRunnerProbe Probe;
    if (setting.isValid())
        Probe.RunnerSetting = setting.toString().toStdString();
    Probe.FindProgram = [installed](const std::string& Name) {
        QString Q = QString::fromStdString(Name);
        if (!installed.contains(Q))
            return std::string();
        return (Q.startsWith('/') ? Q : "/usr/bin/" + Q).toStdString();
    };
    auto Launch = PlanBatchLaunch("/srv/tool/MakeKavrinoRes.bat", Probe);
    QCOMPARE(Launch.has_value(), !program.isEmpty());
    if (!Launch)
        return;
    QCOMPARE(QString::fromStdString(Launch->Program), program);
    QStringList Args;
    for (const auto& A : Launch->Arguments)
        Args << QString::fromStdString(A);
    QCOMPARE(Args, arguments);
    QCOMPARE(Launch->WorkingDir, std::string("/srv/tool/"));
    QCOMPARE(Launch->LogPath, std::string(logged ? "/srv/tool/MakeKavrinoRes.log" : ""));
}

void TestResourceBuild::startsTheRunner() {
    TFixture F;
    F.Open("Kavr_FRA.str", fkMain);
    QString Runner = WriteFakeRunner(F.Dir.path());
    qputenv(BatchRunnerVariable, Runner.toLocal8Bit());
    TResourceOutcome Out = F.Make(true);
    QVERIFY(Out.Written);
    QCOMPARE(Out.Start, TBatchStart::Started);
    QCOMPARE(F.UI.Texts(), std::vector<std::string>());
    const QString Tool = QDir(F.Tool()).canonicalPath();
    QTRY_COMPARE_WITH_TIMEOUT(ReadFile(Runner + ".record"),
                              (Tool + "\n" + BatchFileName + "\n").toUtf8(), 20000);
    // Both outputs reach the log, and a "pause" would not wait on a closed input.
    QCOMPARE(ReadFile(F.Tool() + "MakeKavrinoRes.log"), QByteArray("out\nerr\nstdin closed\n"));
}

void TestResourceBuild::noRunner() {
    TFixture F;
    QString Document = F.Open("Kavr_FRA.str", fkMain);
    TResourceOutcome Out = F.Make(true);
    QVERIFY(Out.Written);
    QCOMPARE(Out.Start, TBatchStart::NoRunner);
    QCOMPARE(F.UI.Messages.size(), size_t(1));
    QCOMPARE(F.UI.Messages[0].Type, TMsgDlgType::mtInformation);
    const std::string& Text = F.UI.Messages[0].Text;
    QVERIFY2(Text.find("written to " + F.Batch().toStdString()) != std::string::npos, Text.c_str());
    QVERIFY2(Text.find("Windows command interpreter with srmc and brcc32") != std::string::npos,
             Text.c_str());
    QCOMPARE(ReadFile(F.Batch()), Golden("main_FRA.bat", Document));
}

void TestResourceBuild::compilersCheckedFirst_data() {
    QTest::addColumn<QStringList>("files");       // below the test folder
    QTest::addColumn<QString>("winePath");        // WINEPATH, "%1" the test folder as Wine sees it
    QTest::addColumn<QByteArray>("registryPath"); // the prefix's PATH; empty: no registry yet
    QTest::addColumn<QString>("missing");         // the refusal's start; empty: the batch starts
    QTest::newRow("neither compiler")
        << QStringList{} << "" << QByteArray() << "srmc and brcc32 are";
    QTest::newRow("brcc32 missing")
        << QStringList{"Tool/Compiler/srmc.exe"} << "" << QByteArray() << "brcc32 is";
    QTest::newRow("brcc32 on WINEPATH") << QStringList{"Tool/Compiler/srmc.exe", "bin/BRCC32.EXE"}
                                        << "%1\\bin" << QByteArray() << "";
    QTest::newRow("brcc32 on the prefix's registry path")
        << QStringList{"Tool/Compiler/SRMC.bat", "prefix/drive_c/Tools/Borland/Brcc32.exe"} << ""
        << QByteArray("%SystemRoot%\\\\system32;C:\\\\tools\\\\borland") << "";
}

// With Wine as the runner, the compilers must be where its cmd finds them before anything is
// written or started.
void TestResourceBuild::compilersCheckedFirst() {
    QFETCH(QStringList, files);
    QFETCH(QString, winePath);
    QFETCH(QByteArray, registryPath);
    QFETCH(QString, missing);
    TFixture F;
    F.Open("Kavr_FRA.str", fkMain);
    for (const QString& File : files) {
        QVERIFY(QDir(F.Dir.path()).mkpath(QFileInfo(File).path()));
        QVERIFY(WriteFile(F.Dir.path() + "/" + File, "x"));
    }
    const QString Prefix = F.Dir.path() + "/prefix";
    if (!registryPath.isEmpty())
        QVERIFY(WriteFile(Prefix + "/system.reg",
                          "WINE REGISTRY Version 2\n\n[System\\\\CurrentControlSet\\\\Control\\\\"
                          "Session Manager\\\\Environment] 1796864346\n\"PATH\"=str(2):\"" +
                              registryPath + "\"\n"));
    const QString Wine = F.Dir.path() + "/wine";
    QVERIFY(WriteFile(Wine, "#!/bin/sh\nexit 0\n"));
    QFile::setPermissions(Wine, QFile::permissions(Wine) | QFileDevice::ExeOwner);
    TRunnerProbe Probe;
    Probe.FindProgram = [Wine](const std::string& Name) {
        return Name == "wine" ? Wine.toStdString() : std::string();
    };
    const QByteArray OldPrefix = qgetenv("WINEPREFIX"), OldPath = qgetenv("WINEPATH");
    qputenv("WINEPREFIX", Prefix.toLocal8Bit());
    qputenv("WINEPATH", QString(winePath)
                            .replace("%1", InterpreterPath(F.Dir.path().toStdString()).c_str())
                            .toLocal8Bit());
    const TResourceOutcome Out = TResourceBuild(F.State, F.UI, Probe).MakeResourceFile(true);
    qputenv("WINEPREFIX", OldPrefix);
    qputenv("WINEPATH", OldPath);
    if (missing.isEmpty()) {
        QCOMPARE(Out.Start, TBatchStart::Started);
        QCOMPARE(F.UI.Texts(), std::vector<std::string>());
        return;
    }
    QVERIFY(!Out.Written && !Out.StartTried);
    QVERIFY(!QFile::exists(F.Batch()));
    QCOMPARE(F.UI.Beeps, 1);
    QCOMPARE(F.UI.Messages.size(), size_t(1));
    const QString Text = QString::fromStdString(F.UI.Messages[0].Text);
    QVERIFY2(Text.startsWith("Can not Compile: " + missing + " missing.") &&
                 Text.contains(F.Tool() + "Compiler/") && Text.contains("C:\\windows\\system32"),
             qPrintable(Text));
}

void TestResourceBuild::realRun_data() {
    QTest::addColumn<QString>("tool");   // the program folder
    QTest::addColumn<QString>("folder"); // the document's folder
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("failing");  // the stand-in asked to fail
    QTest::addColumn<QString>("resource"); // the result in Resource/; empty: none
    QTest::addColumn<QString>("logged");   // what the log must say, before any pause
    QTest::newRow("main") << "Tool"
                          << "Work"
                          << "Kavr_FRA.str" << int(fkMain) << "FRA - French (France)"
                          << ""
                          << "KavLang_FRA.res"
                          << "brcc32: KavLang_FRA.rc -> KavLang_FRA.res";
    QTest::newRow("user, blanks, % and & in the folders")
        << "Tool 100% & co"
        << "My %USERNAME% & files"
        << "Kavr_User_DEU.str" << int(fkUser) << "DEU - German (Germany)"
        << ""
        << "KavLang_User_DEU.res"
        << "brcc32: KavLang_User_DEU.rc -> KavLang_User_DEU.res";
    QTest::newRow("accented folder in the OEM code page")
        << "Tool" << QString::fromUtf8("Traducci\u00f3n/Caf\u00e9") << "Kavr_fra.str" << int(fkMain)
        << "FRA - French (France)"
        << ""
        << "KavLang_FRA.res"
        << "srmc: Kavr_fra.STR -> KAVR_fra.SRM";
    QTest::newRow("srmc fails") << "Tool"
                                << "Work"
                                << "Kavr_FRA.str" << int(fkMain) << "FRA - French (France)"
                                << "srmc"
                                << ""
                                << "srmc: error: failure requested for Kavr_FRA.STR";
    QTest::newRow("brcc32 fails") << "Tool"
                                  << "Work"
                                  << "Kavr_FRA.str" << int(fkMain) << "FRA - French (France)"
                                  << "brcc32"
                                  << ""
                                  << "brcc32: error: failure requested for KavLang_FRA.rc";
}

// Runs the written batch through Wine's cmd, detached with its output in the log, as a machine
// without a terminal does. The compilers are stand-ins built as Windows programs: they write
// what the real ones write, so the test sees every step of the batch, its clean-up and its pauses.
void TestResourceBuild::realRun() {
    QFETCH(QString, tool);
    QFETCH(QString, folder);
    QFETCH(QString, name);
    QFETCH(int, kind);
    QFETCH(QString, entry);
    QFETCH(QString, failing);
    QFETCH(QString, resource);
    QFETCH(QString, logged);
    qputenv("PATH", FPath);
    const QString StandIns = QStringLiteral(KAV_STANDIN_DIR);
    const QStringList Compilers = {"brcc32.exe", "srmc.exe"};
    QString Missing;
    if (QStandardPaths::findExecutable("wine").isEmpty())
        Missing = "wine is not installed";
    else if (!QFile::exists(StandIns + "/srmc.exe") || !QFile::exists(StandIns + "/brcc32.exe"))
        Missing = "the stand-in compilers were not built (x86_64-w64-mingw32-gcc is missing)";
    if (!Missing.isEmpty()) {
        if (qEnvironmentVariableIsSet("KAV_REQUIRE_PEERS"))
            QFAIL(qPrintable("The batch must run here, but " + Missing));
        QSKIP(qPrintable("The batch is not run: " + Missing));
    }
    // The prefix prepared for this build tree, also when the test runs outside ctest.
    if (!qEnvironmentVariableIsSet("WINEPREFIX"))
        qputenv("WINEPREFIX", KAV_WINE_PREFIX);
    qputenv("WINEDEBUG", "-all");
    qputenv("WINEDLLOVERRIDES", "mscoree,mshtml,winemenubuilder.exe=");

    TFixture F(folder, tool);
    const QString Document = F.Open(name, kind);
    F.State.FLanguageCode = entry.toStdString();
    for (const char* Sub : {"Default", "Compiler"})
        QVERIFY(QDir(F.Tool()).mkpath(Sub));
    for (const char* Default :
         {"Kavlang.inc", "UserLanguage.inc", "Kavr_Enu.str", "Kavr_User_Enu.str"})
        QVERIFY(WriteFile(F.Tool() + "Default/" + Default, "Txt_A , \"a\"\r\n"));
    for (const QString& Compiler : Compilers)
        QVERIFY(QFile::copy(StandIns + "/" + Compiler, F.Tool() + "Compiler/" + Compiler));

    TRunnerProbe Probe = SystemRunnerProbe();
    Probe.RunnerSetting.reset();
    auto Find = Probe.FindProgram;
    Probe.FindProgram = [Find](const std::string& Program) {
        return Program == TerminalProgram ? std::string() : Find(Program);
    };
    qputenv("KAV_STANDIN_FAIL", failing.toLatin1());
    TResourceOutcome Out = TResourceBuild(F.State, F.UI, Probe).MakeResourceFile(true);
    qunsetenv("KAV_STANDIN_FAIL");
    QCOMPARE(Out.Start, TBatchStart::Started);
    QCOMPARE(F.UI.Texts(), std::vector<std::string>());

    const QString Log = F.Tool() + "MakeKavrinoRes.log";
    const QByteArray Pause = "Press any key to continue";
    if (resource.isEmpty()) {
        // The failing step stops on its pause, which goes on at once with the input closed.
        QTRY_VERIFY2_WITH_TIMEOUT(ReadFile(Log).contains(Pause), ReadFile(Log).constData(), 30000);
        const QByteArray Text = ReadFile(Log);
        QVERIFY2(Text.indexOf(logged.toUtf8()) >= 0 &&
                     Text.indexOf(logged.toUtf8()) < Text.indexOf(Pause),
                 Text.constData());
        QCOMPARE(Text.count(Pause), 1);
        QCOMPARE(F.FilesIn("Resource"), QStringList());
        // The batch stopped before its clean-up.
        QVERIFY(F.FilesIn("Compiler").contains("Kavr_FRA.str"));
        return;
    }
    // Success: the result in Resource/, and Compiler/ holds nothing but the compilers.
    QTRY_VERIFY2_WITH_TIMEOUT(F.FilesIn("Resource") == QStringList{resource} &&
                                  F.FilesIn("Compiler") == Compilers,
                              ReadFile(Log).constData(), 30000);
    const QByteArray Text = ReadFile(Log);
    QVERIFY2(Text.contains(logged.toUtf8()) && !Text.contains(Pause), Text.constData());
    // The resource holds the compiled document under the name the script gives it.
    const QByteArray Res = ReadFile(F.Tool() + "Resource/" + resource);
    const QString ResourceName = "LANGUAGE_KAVR_" + name.mid(5, name.size() - 9).toUpper();
    QByteArray Utf16;
    for (QChar C : ResourceName)
        Utf16 += QByteArray(1, char(C.unicode())) + QByteArray(1, '\0');
    QVERIFY2(Res.contains(Utf16), Res.toHex().constData());
    QVERIFY(Res.contains("SRM1" + ReadFile(Document)));
}

QTEST_GUILESS_MAIN(TestResourceBuild)
#include "tst_ResourceBuild.moc"
