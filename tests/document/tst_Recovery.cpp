#include "TestFiles.h"
#include "document/Recovery.h"

#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>

using namespace kav;

// Recovery copies: what is written comes back, copies are listed and discarded per document,
// and a copy that is damaged or was being written when the program died is never taken for
// a good one.
class TestRecovery : public QObject {
    Q_OBJECT
private slots:
    void roundTrip();
    void damaged_data();
    void damaged();
};

namespace {

const std::vector<StrWriteItem> Items{
    {"MENU_FILE", "&Fichier", 255}, {"EMPTY", "", NoColorMark}, {"BLANKS", "  a  b ", 65280}};

} // namespace

void TestRecovery::roundTrip() {
    QTemporaryDir Dir;
    const std::string Folder = RecoveryFolder(Dir.path().toStdString() + "/Backup/");
    // A path may hold any byte but NUL; two files of one name have copies of their own.
    const std::string Odd = "/work/50%\nReview/Kavr_User_FRA.str";
    const std::string Plain = "/work/Language/Kavr_User_FRA.str";
    const std::int64_t Before = std::time(nullptr);
    QCOMPARE(WriteRecovery(Folder, Odd, fkUser, "FRA", Items), std::string());
    QCOMPARE(WriteRecovery(Folder, Plain, fkMain, "DEU", {Items[0]}), std::string());
    std::string Error;
    const std::optional<TRecoveryCopy> Copy = ReadRecovery(RecoveryPath(Folder, Odd), Error);
    QVERIFY2(Copy, Error.c_str());
    QCOMPARE(Copy->FileName, Odd);
    QCOMPARE(Copy->Kind, fkUser);
    QCOMPARE(Copy->LanguageCode, std::string("FRA"));
    QVERIFY(Copy->Written >= Before && Copy->Written <= std::time(nullptr));
    QCOMPARE(Copy->Items.size(), Items.size());
    for (size_t i = 0; i < Items.size(); ++i) {
        QCOMPARE(Copy->Items[i].Name, std::string(Items[i].Name));
        QCOMPARE(Copy->Items[i].Text, std::string(Items[i].Text));
        QCOMPARE(Copy->Items[i].Color, Items[i].Color);
    }
    QCOMPARE(ListRecovery(Folder).size(), size_t(2));
    // A text the format cannot hold is refused as a save refuses it; the copy stays.
    const std::string Refused = WriteRecovery(Folder, Odd, fkUser, "FRA", {{"Q", "a\"b"}});
    QVERIFY2(Refused.find("Txt_Q: the text holds a double quote") != std::string::npos,
             Refused.c_str());
    QCOMPARE(ReadRecovery(RecoveryPath(Folder, Odd), Error)->Items.size(), Items.size());
    QVERIFY(DiscardRecovery(Folder, Odd));
    const std::vector<TRecoveryCopy> Left = ListRecovery(Folder);
    QCOMPARE(Left.size(), size_t(1));
    QCOMPARE(Left[0].FileName, Plain);
    QCOMPARE(Left[0].LanguageCode, std::string("DEU"));
}

void TestRecovery::damaged_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("error"); // empty: the previous copy reads back whole
    QTest::newRow("cut short") << "cut"
                               << "it is cut short";
    QTest::newRow("not a recovery copy") << "foreign"
                                         << "it is not a recovery copy";
    QTest::newRow("header damaged") << "header"
                                    << "its header is damaged";
    QTest::newRow("killed while writing the next copy") << "kill"
                                                        << "";
}

void TestRecovery::damaged() {
    QFETCH(QString, damage);
    QFETCH(QString, error);
    QTemporaryDir Dir;
    const std::string Folder = Dir.path().toStdString() + "/Recovery/";
    const std::string Doc = "/work/Language/Kavr_FRA.str";
    QCOMPARE(WriteRecovery(Folder, Doc, fkMain, "FRA", Items), std::string());
    const QString Path = QString::fromStdString(RecoveryPath(Folder, Doc));
    const QByteArray Bytes = ReadFile(Path);
    if (damage == "cut")
        QVERIFY(WriteFile(Path, Bytes.left(Bytes.lastIndexOf("Txt_"))));
    else if (damage == "foreign")
        QVERIFY(WriteFile(Path, "Txt_A , \"x\"\r\n"));
    else if (damage == "header")
        QVERIFY(WriteFile(Path, QByteArray(Bytes).replace("Items=3", "Items=three")));
    if (damage == "kill") {
        const pid_t Child = ::fork();
        if (Child == 0) {
            struct TKill : IStrWriteHook {
                int AtStep(TWriteStep Step, const std::string&, const std::string&) override {
                    if (Step == TWriteStep::Written)
                        ::raise(SIGKILL);
                    return 0;
                }
            } Kill;
            SetStrWriteHook(&Kill);
            WriteRecovery(Folder, Doc, fkMain, "FRA", {Items[0]});
            ::_exit(0);
        }
        int Status = 0;
        QCOMPARE(::waitpid(Child, &Status, 0), Child);
        QVERIFY(WIFSIGNALED(Status));
    }
    std::string Error;
    const std::optional<TRecoveryCopy> Copy = ReadRecovery(Path.toStdString(), Error);
    QCOMPARE(bool(Copy), error.isEmpty());
    QCOMPARE(ListRecovery(Folder).size(), size_t(error.isEmpty() ? 1 : 0));
    if (Copy)
        QCOMPARE(Copy->Items.size(), Items.size());
    else
        QVERIFY2(QString::fromStdString(Error).endsWith(error), Error.c_str());
}

QTEST_GUILESS_MAIN(TestRecovery)
#include "tst_Recovery.moc"
