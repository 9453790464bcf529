#include "KavtoolRun.h"
#include "document/StrFile.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kav;

// Faults that only a whole process shows: a save killed between writing and renaming, a
// file-size limit of the process, folders that are files, files that are folders, inputs that
// would take unbounded memory. Every case runs the real kavtool on a copy of the samples.
class TestKavtoolFaults : public QObject {
    Q_OBJECT
private slots:
    void init();
    void killedBeforeRename_data();
    void killedBeforeRename();
    void diskFullInTheChild();
    void refusals_data();
    void refusals();
    void hugeLineKeepsMemoryBounded();

private:
    using TRun = TKavtoolRun;
    TRun Run(const QStringList& Args);
    QString Home() const { return FDir->path(); }
    QString File() const { return Home() + "/Language/Kavr_FRA.str"; }
    QByteArray Read(const QString& Path) const;
    QStringList TempFiles() const;

    std::unique_ptr<QTemporaryDir> FDir;
};

void TestKavtoolFaults::init() {
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(CopySampleFolders(QStringLiteral(KAV_SAMPLE_DATA), Home()));
}

TestKavtoolFaults::TRun TestKavtoolFaults::Run(const QStringList& Args) {
    return RunKavtool(QStringLiteral(KAVTOOL_PATH), Home(), Args);
}

QByteArray TestKavtoolFaults::Read(const QString& Path) const {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

QStringList TestKavtoolFaults::TempFiles() const {
    return QDir(Home() + "/Language").entryList({"*.kavtmp.*"}, QDir::Files | QDir::Hidden);
}

void TestKavtoolFaults::killedBeforeRename_data() {
    QTest::addColumn<QStringList>("nextStart");
    QTest::newRow("next start reads") << QStringList{"stats", "%1"};
    QTest::newRow("next start saves") << QStringList{"roundtrip", "%1", "%1"};
}

void TestKavtoolFaults::killedBeforeRename() {
    QFETCH(QStringList, nextStart);
    const QByteArray Previous = Read(File());
    const QStringList Save{"fill", File(), "Killed save"};
    // The save that dies: a child process whose writer is killed as a crash or power cut would
    // kill it, once the temporary file is complete and just before the rename.
    std::vector<std::string> Names;
    const QRegularExpression ItemLine("^Txt_(\\S+)", QRegularExpression::MultilineOption);
    for (const QRegularExpressionMatch& M : ItemLine.globalMatch(QString::fromLatin1(Previous)))
        Names.push_back(M.captured(1).toStdString());
    std::vector<StrWriteItem> Items;
    for (const std::string& Name : Names)
        Items.push_back({Name, "Killed save"});
    const std::string Path = File().toStdString();
    const pid_t Child = ::fork();
    if (Child == 0) {
        struct TKill : IStrWriteHook {
            void BeforeRename(const std::string&, const std::string&) override { ::raise(SIGKILL); }
        } Kill;
        SetStrWriteHook(&Kill);
        WriteStrFile(Path, fkMain, Items);
        ::_exit(0);
    }
    int Status = 0;
    QCOMPARE(::waitpid(Child, &Status, 0), Child);
    QVERIFY(WIFSIGNALED(Status) && WTERMSIG(Status) == SIGKILL);
    QCOMPARE(Read(File()), Previous);
    const QStringList Left = TempFiles();
    QCOMPARE(Left.size(), 1);
    QVERIFY2(QRegularExpression("^\\.Kavr_FRA\\.str\\.kavtmp\\.\\d+\\.\\w{6}$")
                 .match(Left[0])
                 .hasMatch(),
             qPrintable(Left[0]));
    // The process died with the new file complete in its temporary: only the rename was lost.
    const QByteArray Written = Read(Home() + "/Language/" + Left[0]);
    QVERIFY(Written.startsWith("#include \"KavLang.Inc\"\r\n"));
    QCOMPARE(Written.count("\"Killed save\""), Previous.count("Txt_"));

    nextStart.replaceInStrings("%1", File());
    const TRun Next = Run(nextStart);
    QCOMPARE(Next.Code, 0);
    QVERIFY2(TempFiles().isEmpty(), qPrintable(TempFiles().join(", ")));
    QCOMPARE(Run(Save).Code, 0);
    // The killed writer's items were built by hand, so the real save is compared by its items.
    QCOMPARE(Read(File()).count("\"Killed save\""), Written.count("\"Killed save\""));
    QVERIFY(TempFiles().isEmpty());
}

void TestKavtoolFaults::diskFullInTheChild() {
    const QByteArray Previous = Read(File());
    // Every file the backups copy fits under the limit; the filled translation does not.
    constexpr rlim_t Limit = 64 * 1024;
    for (const char* Dir : {"Default", "Language"})
        for (const QFileInfo& Info :
             QDir(Home() + "/" + QLatin1String(Dir)).entryInfoList(QDir::Files))
            QVERIFY(Info.size() < qint64(Limit));
    QProcess P;
    P.setChildProcessModifier([] {
        struct rlimit Small {
            Limit, Limit
        };
        setrlimit(RLIMIT_FSIZE, &Small);
        std::signal(SIGXFSZ, SIG_IGN);
    });
    const TRun R =
        RunKavtool(P, QStringLiteral(KAVTOOL_PATH), Home(), {"fill", File(), QString(300, 'x')});
    QCOMPARE(R.Code, 2);
    QVERIFY2(R.Err.contains("Disk Full: " + File()), qPrintable(R.Err));
    QCOMPARE(Read(File()), Previous);
    QVERIFY(TempFiles().isEmpty());
    // Without the limit the same command goes through.
    QCOMPARE(Run({"fill", File(), QString(300, 'x')}).Code, 0);
    QVERIFY(Read(File()).contains(QByteArray(300, 'x')));
}

void TestKavtoolFaults::refusals_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("args");  // %1 the translated file, %2 the program folder
    QTest::addColumn<QString>("message");   // part of the error output
    QTest::addColumn<QString>("untouched"); // a file that must keep its bytes, besides %1
    QTest::newRow("backup folder is a file")
        << "file Backup" << QStringList{"roundtrip", "%1", "%1"} << "Cannot create %2/Backup/"
        << "%2/Backup";
    QTest::newRow("RTF folder is a file")
        << "file RTF" << QStringList{"export-rtf", "%1"} << "Cannot create %2/RTF/"
        << "%2/RTF";
    QTest::newRow("RTF document name is a folder")
        << "folder RTF/Kavrino_ENU_To_FRA.rtf" << QStringList{"export-rtf", "%1"}
        << "Cannot create file \"%2/RTF/Kavrino_ENU_To_FRA.rtf\": a folder of that name is in "
           "the way."
        << "%2/RTF/Kavrino_ENU_To_FRA.rtf/inside.txt";
    QTest::newRow("RTF document missing")
        << "" << QStringList{"import-rtf", "%1", "%2/RTF/gone.rtf"}
        << "File not found: %2/RTF/gone.rtf"
        << "%1";
    QTest::newRow("default folder missing")
        << "remove Default" << QStringList{"roundtrip", "%1", "%1"}
        << "Default Language File not found: %2/Default/Kavr_ENU.str"
        << "%1";
    QTest::newRow("saved under a name open refuses")
        << "" << QStringList{"roundtrip", "%1", "%2/Language/notes.str"}
        << "notes.str is not a name File > Open accepts"
        << "%1";
    QTest::newRow("translated file is a folder")
        << "folder Language/Kavr_DEU.str" << QStringList{"stats", "%2/Language/Kavr_DEU.str"}
        << "File access denied: %2/Language/Kavr_DEU.str"
        << "%2/Language/Kavr_DEU.str/inside.txt";
}

void TestKavtoolFaults::refusals() {
    QFETCH(QString, setup);
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    QFETCH(QString, untouched);
    const QString Subject = setup.section(' ', 1);
    if (setup.startsWith("file ")) {
        QFile F(Home() + "/" + Subject);
        QVERIFY(F.open(QIODevice::WriteOnly));
        F.write("in the way");
    } else if (setup.startsWith("folder ")) {
        QFile::remove(Home() + "/" + Subject);
        QVERIFY(QDir(Home()).mkpath(Subject));
        QFile F(Home() + "/" + Subject + "/inside.txt");
        QVERIFY(F.open(QIODevice::WriteOnly));
        F.write("in the way");
    } else if (setup.startsWith("remove ")) {
        QVERIFY(QDir(Home() + "/" + Subject).removeRecursively());
    }
    const auto Fill = [this](QString S) { return S.replace("%1", File()).replace("%2", Home()); };
    untouched = Fill(untouched);
    const QByteArray Previous = Read(File());
    const QByteArray Kept = Read(untouched);
    args.replaceInStrings("%1", File()).replaceInStrings("%2", Home());

    const TRun R = Run(args);
    QCOMPARE(R.Code, 2);
    QVERIFY2(R.Err.contains(Fill(message)), qPrintable(R.Err));
    QCOMPARE(Read(File()), Previous);
    QCOMPARE(Read(untouched), Kept);
    QVERIFY(TempFiles().isEmpty());
    QVERIFY(!QFileInfo::exists(Home() + "/RTF/Kavrino_ENU_To_FRA.BAK"));
}

void TestKavtoolFaults::hugeLineKeepsMemoryBounded() {
    // 200 MB without a line end, written in pieces so that the test stays small.
    {
        QFile F(File());
        QVERIFY(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
        const QByteArray Piece(1 << 20, 'x');
        for (int i = 0; i < 200; ++i)
            QCOMPARE(F.write(Piece), Piece.size());
    }
    const TRun R = Run({"stats", File()});
    QCOMPARE(R.Code, 2);
    QVERIFY2(R.Err.contains("The line is longer than 4194304 bytes: this is not a language "
                            "file\nin " +
                            File() + ", line 1"),
             qPrintable(R.Err.left(500)));
    // The largest child this test has waited for, the stats run among them.
    struct rusage Children {};
    getrusage(RUSAGE_CHILDREN, &Children);
    QVERIFY2(Children.ru_maxrss < 150 * 1024, qPrintable(QString::number(Children.ru_maxrss)));
}

QTEST_GUILESS_MAIN(TestKavtoolFaults)
#include "tst_KavtoolFaults.moc"
