#include "KavtoolRun.h"

#include <QtTest>

using namespace kav;

// Runs the real kavtool replace on a program folder with a small default file of its own.
class TestKavtoolReplace : public QObject {
    Q_OBJECT
private slots:
    void init();
    void replacesInTheTranslations_data();
    void replacesInTheTranslations();
    void inPlaceKeepsABackup();
    void nothingFoundWritesNothing_data();
    void nothingFoundWritesNothing();
    void dryRunPrintsEachChange();
    void refusals_data();
    void refusals();

private:
    using TRun = TKavtoolRun;
    TRun Run(const QStringList& Args);
    QString Home() const { return FDir->path(); }
    void Write(const QString& Relative, const QByteArray& Bytes);
    QByteArray Read(const QString& Relative) const;
    // Item name -> translated text, from a written file.
    QMap<QString, QByteArray> Texts(const QString& Relative) const;

    std::unique_ptr<QTemporaryDir> FDir;
};

void TestKavtoolReplace::init() {
    FDir = std::make_unique<QTemporaryDir>();
    QDir(Home()).mkpath("Default");
    QDir(Home()).mkpath("Language");
    Write("Default/Kavr_ENU.str", "Txt_A \"a\"\r\nTxt_B \"b\"\r\nTxt_C \"c\"\r\n");
}

TestKavtoolReplace::TRun TestKavtoolReplace::Run(const QStringList& Args) {
    return RunKavtool(QStringLiteral(KAVTOOL_PATH), Home(), Args);
}

void TestKavtoolReplace::Write(const QString& Relative, const QByteArray& Bytes) {
    QFile F(Home() + "/" + Relative);
    QVERIFY(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
    F.write(Bytes);
}

QByteArray TestKavtoolReplace::Read(const QString& Relative) const {
    QFile F(Home() + "/" + Relative);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

QMap<QString, QByteArray> TestKavtoolReplace::Texts(const QString& Relative) const {
    QMap<QString, QByteArray> Result;
    for (const QByteArray& Line : Read(Relative).split('\n')) {
        const qsizetype Open = Line.indexOf('"');
        const qsizetype Close = Line.lastIndexOf('"');
        if (Line.startsWith("Txt_") && Open > 0 && Close > Open)
            Result[QString::fromLatin1(Line.mid(4, Line.indexOf(' ') - 4))] =
                Line.mid(Open + 1, Close - Open - 1);
    }
    return Result;
}

void TestKavtoolReplace::replacesInTheTranslations_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("a");
    QTest::addColumn<QByteArray>("b");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QByteArray>("newA");
    QTest::addColumn<QByteArray>("newB");

    QTest::newRow("any case, as written in each cell")
        << "Kavr_FRA.str" << QByteArray("Annuler") << QByteArray("annuler tout, annuler")
        << QStringList{"ANNULER", "Quitter"} << "Found 3 occurences in 2 items"
        << QByteArray("Quitter") << QByteArray("Quitter tout, Quitter");
    QTest::newRow("match case") << "Kavr_FRA.str" << QByteArray("Annuler")
                                << QByteArray("annuler tout")
                                << QStringList{"annuler", "x", "--match-case"}
                                << "Found 1 occurences in 1 items" << QByteArray("Annuler")
                                << QByteArray("x tout");
    QTest::newRow("whole word") << "Kavr_FRA.str" << QByteArray("Annuler")
                                << QByteArray("Annul tout")
                                << QStringList{"annul", "Stop", "--whole-word"}
                                << "Found 1 occurences in 1 items" << QByteArray("Annuler")
                                << QByteArray("Stop tout");
    // Russian texts are cp1251 bytes; the arguments are UTF-8 and lower case.
    QTest::newRow("cyrillic any case")
        << "Kavr_RUS.str" << QByteArray("\xCE\xF2\xEA\xF0\xFB\xF2\xFC \xD4\xE0\xE9\xEB")
        << QByteArray("\xD4\xC0\xC9\xCB") << QStringList{"файл", "документ"}
        << "Found 2 occurences in 2 items"
        << QByteArray("\xCE\xF2\xEA\xF0\xFB\xF2\xFC \xE4\xEE\xEA\xF3\xEC\xE5\xED\xF2")
        << QByteArray("\xE4\xEE\xEA\xF3\xEC\xE5\xED\xF2");
}

void TestKavtoolReplace::replacesInTheTranslations() {
    QFETCH(QString, name);
    QFETCH(QByteArray, a);
    QFETCH(QByteArray, b);
    QFETCH(QStringList, args);
    QFETCH(QString, said);
    QFETCH(QByteArray, newA);
    QFETCH(QByteArray, newB);
    const QByteArray Source = "Txt_A \"" + a + "\"\r\nTxt_B \"" + b + "\"\r\nTxt_C \"c\"\r\n";
    Write("Language/" + name, Source);
    QDir(Home()).mkpath("out");
    TRun R = Run(QStringList{"replace", Home() + "/Language/" + name} + args +
                 QStringList{"-o", Home() + "/out/" + name});
    QVERIFY2(R.Code == 0, qPrintable(R.Err));
    QCOMPARE(R.Out.split('\n').first(), said);
    QVERIFY(R.Out.contains("wrote " + Home() + "/out/" + name));
    const QMap<QString, QByteArray> Written = Texts("out/" + name);
    QCOMPARE(Written.value("A"), newA);
    QCOMPARE(Written.value("B"), newB);
    QCOMPARE(Written.value("C"), QByteArray("c"));
    QCOMPARE(Read("Language/" + name), Source);
}

void TestKavtoolReplace::inPlaceKeepsABackup() {
    const QByteArray Source = "Txt_A \"Annuler\"\r\nTxt_B \"b\"\r\n";
    Write("Language/Kavr_FRA.str", Source);
    TRun R = Run({"replace", Home() + "/Language/Kavr_FRA.str", "annuler", "Quitter"});
    QVERIFY2(R.Code == 0, qPrintable(R.Err));
    QCOMPARE(Texts("Language/Kavr_FRA.str").value("A"), QByteArray("Quitter"));
    QCOMPARE(Read("Backup/Kavr_FRA.str"), Source);
}

void TestKavtoolReplace::nothingFoundWritesNothing_data() {
    QTest::addColumn<QStringList>("args");
    QTest::newRow("not found") << QStringList{"zzz", "y"};
    QTest::newRow("only inside words") << QStringList{"annul", "y", "--whole-word"};
    QTest::newRow("not found, to OUT") << QStringList{"zzz", "y", "-o", "out.str"};
}

void TestKavtoolReplace::nothingFoundWritesNothing() {
    QFETCH(QStringList, args);
    const QByteArray Source = "Txt_A \"Annuler\"\r\nTxt_B \"b\"\r\n";
    Write("Language/Kavr_FRA.str", Source);
    const QDateTime Stamp = QFileInfo(Home() + "/Language/Kavr_FRA.str").lastModified();
    QStringList Args = QStringList{"replace", Home() + "/Language/Kavr_FRA.str"} + args;
    Args.replaceInStrings(QRegularExpression("^out.str$"), Home() + "/out.str");
    TRun R = Run(Args);
    QCOMPARE(R.Code, 1);
    QCOMPARE(R.Out, QString("Search string not found\n"));
    QCOMPARE(Read("Language/Kavr_FRA.str"), Source);
    QCOMPARE(QFileInfo(Home() + "/Language/Kavr_FRA.str").lastModified(), Stamp);
    QVERIFY(!QDir(Home() + "/Backup").exists());
    QVERIFY(!QFile::exists(Home() + "/out.str"));
}

void TestKavtoolReplace::dryRunPrintsEachChange() {
    // cp1251 "Открыть файл" and "Файл": each change in UTF-8, nothing written.
    const QByteArray Source = "Txt_A \"\xCE\xF2\xEA\xF0\xFB\xF2\xFC \xF4\xE0\xE9\xEB\"\r\n"
                              "Txt_B \"b\"\r\nTxt_C \"\xD4\xE0\xE9\xEB\"\r\n";
    Write("Language/Kavr_RUS.str", Source);
    TRun R = Run({"replace", Home() + "/Language/Kavr_RUS.str", "ФАЙЛ", "документ", "--dry-run"});
    QCOMPARE(R.Code, 0);
    QCOMPARE(R.Out, QString("item 1 A: \"Открыть файл\" -> \"Открыть документ\"\n"
                            "item 3 C: \"Файл\" -> \"документ\"\n"
                            "Found 2 occurences in 2 items\n"
                            "dry run: nothing written\n"));
    QCOMPARE(Read("Language/Kavr_RUS.str"), Source);
    QVERIFY(!QDir(Home() + "/Backup").exists());
}

void TestKavtoolReplace::refusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    QTest::newRow("letter the page lacks")
        << QStringList{"Annuler", "документ"} << "cannot be written in code page windows-1252";
    QTest::newRow("empty old text") << QStringList{"", "x"} << "non-empty OLD";
    QTest::newRow("missing new text") << QStringList{"Annuler"} << "replace takes FILE OLD NEW";
    QTest::newRow("-o without OUT")
        << QStringList{"Annuler", "x", "-o"} << "replace takes FILE OLD NEW";
    QTest::newRow("unknown option")
        << QStringList{"Annuler", "x", "--regex", "1"} << "replace takes FILE OLD NEW";
}

void TestKavtoolReplace::refusals() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    const QByteArray Source = "Txt_A \"Annuler\"\r\n";
    Write("Language/Kavr_FRA.str", Source);
    TRun R = Run(QStringList{"replace", Home() + "/Language/Kavr_FRA.str"} + args);
    QCOMPARE(R.Code, 2);
    QVERIFY2(R.Err.contains(message), qPrintable(R.Err));
    QCOMPARE(Read("Language/Kavr_FRA.str"), Source);
    QVERIFY(!QDir(Home() + "/Backup").exists());
}

QTEST_GUILESS_MAIN(TestKavtoolReplace)
#include "tst_KavtoolReplace.moc"
