#include "DocumentFixture.h"
#include "EndedProcess.h"
#include "document/BackupHistory.h"
#include "document/StrFile.h"

#include <QDirIterator>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace kav;

// Saves through the document layer that meet a fault (a crash at each step of a copy, a full
// disk, a clock moved back, two files of one name, versions cut short by an older program):
// afterwards the file is whole, every listed version is complete, the last good version is
// still kept, and the next save cleans up after the fault.
class TestBackupHistory : public QObject {
    Q_OBJECT
private slots:
    void faults_data();
    void faults();
};

namespace {

const std::string Names = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Kills the process, or fails the step with an errno, at one step of the write whose target
// path contains Part.
struct TFaultHook : IStrWriteHook {
    TWriteStep Step;
    std::string Part;
    int Errno; // 0: kill
    int AtStep(TWriteStep At, const std::string&, const std::string& Target) override {
        if (At != Step || Target.find(Part) == std::string::npos)
            return 0;
        if (Errno == 0)
            ::raise(SIGKILL);
        return Errno;
    }
};

QStringList TempFiles(const TFixture& F) {
    QStringList Found;
    QDirIterator It(QString::fromStdString(F.Path("")), {"*.kavtmp.*"}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (It.hasNext())
        Found << It.next();
    return Found;
}

// Every listed version reads back with all items; true when one holds Bytes.
bool CheckVersions(const TFixture& F, const std::vector<THistoryEntry>& Versions,
                   const std::string& Bytes) {
    bool Kept = false;
    for (const THistoryEntry& Version : Versions) {
        const std::string Copy = F.Read(Version.Path.substr(F.State.FProgramDir.size()));
        if (CountItemLines(Version.Path) != static_cast<long long>(Names.size()) ||
            Copy.substr(Copy.size() - 2) != "\r\n")
            return false;
        Kept = Kept || Copy == Bytes;
    }
    return Kept;
}

void Save(TFixture& F, const std::string& Text) {
    F.Grid.SetCells(colTranslated, 2, Text);
    F.Doc.FileSave();
}

} // namespace

void TestBackupHistory::faults_data() {
    QTest::addColumn<QString>("fault");  // kill, fail, limit, clock, folders, incomplete
    QTest::addColumn<int>("step");       // of TWriteStep
    QTest::addColumn<QString>("target"); // part of the path of the write that meets it
    QTest::addColumn<QString>("told");   // %1 Language/, %2 Backup/, %3 the file's history folder
    QTest::addColumn<bool>("saved");     // the faulty save replaced the file
    const int Created = int(TWriteStep::Created), Written = int(TWriteStep::Written),
              Before = int(TWriteStep::BeforeRename), Renamed = int(TWriteStep::Renamed);
    QTest::newRow("killed: history copy created") << "kill" << Created << "/History/"
                                                  << "" << false;
    QTest::newRow("killed: history copy written") << "kill" << Written << "/History/"
                                                  << "" << false;
    QTest::newRow("killed: history copy before its rename") << "kill" << Before << "/History/"
                                                            << "" << false;
    QTest::newRow("killed: history copy renamed, not pruned") << "kill" << Renamed << "/History/"
                                                              << "" << false;
    QTest::newRow("killed: Backup/ copy created") << "kill" << Created << "/Backup/Kavr_FRA"
                                                  << "" << false;
    QTest::newRow("killed: the save's own rename") << "kill" << Before << "/Language/Kavr_FRA"
                                                   << "" << false;
    QTest::newRow("killed: the save renamed, its folder not flushed")
        << "kill" << Renamed << "/Language/Kavr_FRA"
        << "" << true;
    QTest::newRow("disk full: history copy")
        << "fail" << Written << "/History/"
        << "but these backup copies were not made in %2:\nCannot copy %1Kavr_FRA.str to "
           "%3Kavr_FRA.str.v"
        << true;
    QTest::newRow("disk full: Backup/ copy")
        << "fail" << Written << "/Backup/Kavr_FRA"
        << "Cannot copy %1Kavr_FRA.str to %2Kavr_FRA.str: No space left on device\nThe file "
           "was not saved."
        << false;
    QTest::newRow("file size limit: Backup/ copy cut short")
        << "limit" << 0 << ""
        << "Cannot copy %1Kavr_FRA.str to %2Kavr_FRA.str: File too large\nThe file was not "
           "saved."
        << false;
    QTest::newRow("clock moved back") << "clock" << 0 << ""
                                      << "" << true;
    QTest::newRow("two folders, one file name") << "folders" << 0 << ""
                                                << "" << true;
    QTest::newRow("versions cut short by an older program") << "incomplete" << 0 << ""
                                                            << "" << true;
}

void TestBackupHistory::faults() {
    QFETCH(QString, fault);
    QFETCH(int, step);
    QFETCH(QString, target);
    QFETCH(QString, told);
    QFETCH(bool, saved);
    TFixture F;
    F.WriteDefault(Names);
    const std::string Good = Translations(Names);
    F.Write("Language/Kavr_FRA.str", Good);
    const std::string Fra = F.Path("Language/Kavr_FRA.str");
    const std::string History = HistoryFolder(F.State.BackupDir());
    const std::string Mine = DocumentHistoryFolder(History, Fra);
    QVERIFY(F.Doc.OpenPath(Fra));
    // The first save keeps Good as a version; the faulty one replaces First.
    Save(F, fault == "limit" ? std::string(5000, 'x') : "first");
    const std::string First = F.Read("Language/Kavr_FRA.str");
    QCOMPARE(ListFileHistory(History, Fra).size(), size_t(1));

    const auto Version = [&](int Sequence, const std::string& Utc, const std::string& Bytes,
                             size_t Size) {
        F.Write(Mine.substr(F.State.FProgramDir.size()) + "Kavr_FRA.str.v" +
                    QString::number(Sequence).rightJustified(6, '0').toStdString() + "." + Utc +
                    "Z." + std::to_string(Size),
                Bytes);
    };
    if (fault == "clock") {
        // Saved while the clock was ahead; it is now set back.
        for (int i = 2; i <= int(HistoryDepth); ++i)
            Version(i, "20991231-0000" + QString::number(i).rightJustified(2, '0').toStdString(),
                    Good, Good.size());
    } else if (fault == "incomplete") {
        const std::string Flat = "Backup/History/Kavr_FRA.str.";
        F.Write(Flat + "20200101-000000", Good.substr(0, Good.size() - 7));
        F.Write(Flat + "20200101-000001", "");
        F.Write(Flat + "20190101-000000", Good);
        Version(900, "20200101-000000", Good.substr(0, 100), Good.size()); // cut short
        Version(901, "20200101-000000", Good, Good.size());
        F.Write(Mine.substr(F.State.FProgramDir.size()) + ".Kavr_FRA.str.v000902.kavtmp." +
                    std::to_string(EndedProcess()) + ".abcdef",
                "cut");
    }

    if (fault == "kill") {
        const pid_t Child = ::fork();
        if (Child == 0) {
            TFaultHook Hook{};
            Hook.Step = TWriteStep(step);
            Hook.Part = target.toStdString();
            SetStrWriteHook(&Hook);
            Save(F, "second");
            ::_exit(0);
        }
        int Status = 0;
        QCOMPARE(::waitpid(Child, &Status, 0), Child);
        QVERIFY(WIFSIGNALED(Status) && WTERMSIG(Status) == SIGKILL);
    } else if (fault == "fail") {
        TFaultHook Hook{};
        Hook.Step = TWriteStep(step);
        Hook.Part = target.toStdString();
        Hook.Errno = ENOSPC;
        SetStrWriteHook(&Hook);
        Save(F, "second");
        SetStrWriteHook(nullptr);
    } else if (fault == "limit") {
        // A real write cut short: the default file fits, the translated file does not.
        rlimit Old{};
        getrlimit(RLIMIT_FSIZE, &Old);
        rlimit Small = Old;
        Small.rlim_cur = 4096;
        const auto OldSignal = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &Small);
        Save(F, "second");
        setrlimit(RLIMIT_FSIZE, &Old);
        std::signal(SIGXFSZ, OldSignal);
    } else if (fault == "folders") {
        // The same name in another folder, saved more often than the history keeps.
        QDir(QString::fromStdString(F.Path(""))).mkpath("Review");
        F.Write("Review/Kavr_FRA.str", Translations(Names));
        QVERIFY(F.Doc.OpenPath(F.Path("Review/Kavr_FRA.str")));
        for (int i = 0; i <= int(HistoryDepth); ++i)
            Save(F, "review " + std::to_string(i));
        const std::vector<THistoryEntry> Review =
            ListFileHistory(History, F.Path("Review/Kavr_FRA.str"));
        QCOMPARE(Review.size(), HistoryDepth);
        QCOMPARE(Review[0].Folder + "/", F.Path("Review/"));
        QVERIFY(F.Doc.OpenPath(Fra));
        Save(F, "second");
    } else {
        Save(F, "second");
    }

    const QString Expected = QString(told)
                                 .replace("%1", QString::fromStdString(F.Path("Language/")))
                                 .replace("%2", QString::fromStdString(F.State.BackupDir()))
                                 .replace("%3", QString::fromStdString(Mine));
    QVERIFY2(QString::fromStdString(Told(F)).contains(Expected), Told(F).c_str());
    const std::string Now = F.Read("Language/Kavr_FRA.str");
    QCOMPARE(Now == First, !saved);
    QCOMPARE(CountItemLines(Fra), static_cast<long long>(Names.size()));
    std::vector<THistoryEntry> Versions = ListFileHistory(History, Fra);
    QVERIFY(CheckVersions(F, Versions, Good));
    // The copy in Backup/ is one whole version or the other, never cut short.
    const std::string Backup = F.Read("Backup/Kavr_FRA.str");
    QVERIFY(Backup == First || Backup == Good);
    if (fault == "clock") {
        // The newest version is the last save's, however its time compares.
        QCOMPARE(Versions.size(), HistoryDepth);
        QCOMPARE(F.Read(Versions[0].Path.substr(F.State.FProgramDir.size())), First);
    } else if (fault == "folders") {
        for (const THistoryEntry& Entry : Versions)
            QCOMPARE(Entry.Folder + "/", F.Path("Language/"));
        QCOMPARE(Versions.size(), size_t(2));
    } else if (fault == "incomplete") {
        // Good's own version, the one just written, the complete ones kept before.
        QCOMPARE(Versions.size(), size_t(4));
        QVERIFY(TempFiles(F).isEmpty());
    }

    // The next save goes through, leaves nothing behind and keeps the versions complete.
    Save(F, "third");
    QVERIFY(F.Read("Language/Kavr_FRA.str").find("\"third\"") != std::string::npos);
    QVERIFY2(TempFiles(F).isEmpty(), qPrintable(TempFiles(F).join(", ")));
    Versions = ListFileHistory(History, Fra);
    QVERIFY(CheckVersions(F, Versions, Good));
    QCOMPARE(F.Read(Versions[0].Path.substr(F.State.FProgramDir.size())), Now);
}

QTEST_GUILESS_MAIN(TestBackupHistory)
#include "tst_BackupHistory.moc"
