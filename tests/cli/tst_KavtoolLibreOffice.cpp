#include "KavtoolRun.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <QtTest>

#include <utility>
#include <vector>

using namespace kav;

// The reviewers' round trip: every sample's translation document, exported by kavtool, opened
// and saved again by the real LibreOffice, must give every translation back on import.
class TestKavtoolLibreOffice : public QObject {
    Q_OBJECT
private slots:
    void resavedDocumentsRestoreEveryItem();
    void resavedBlanksComeBack_data();
    void resavedBlanksComeBack();

private:
    // False, with the test skipped or failed, when LibreOffice is not there.
    bool OfficeThere();
    // The texts of resavedBlanksComeBack_data, exported, re-saved and imported once for all
    // rows; FDirect holds the import of the exported document itself, FResaved that of its
    // re-saved copy.
    void ResaveBlanks(const QList<QByteArray>& Texts);
    TKavtoolRun Run(const QStringList& Args) {
        return RunKavtool(QStringLiteral(KAVTOOL_PATH), Home.path(), Args);
    }
    // The quoted texts of a file's item lines.
    QList<QByteArray> Texts(const QString& Path) const;
    bool ResaveAll(const QStringList& Documents, const QString& OutDir);

    QTemporaryDir Home;
    QTemporaryDir Blanks;
    QList<QByteArray> FDirect, FResaved;
};

QList<QByteArray> TestKavtoolLibreOffice::Texts(const QString& Path) const {
    QFile F(Path);
    QList<QByteArray> Result;
    if (!F.open(QIODevice::ReadOnly))
        return Result;
    for (const QByteArray& Line : F.readAll().split('\n')) {
        const qsizetype Open = Line.indexOf('"');
        const qsizetype Close = Line.lastIndexOf('"');
        if (Line.startsWith("Txt_") && Open >= 0 && Close > Open)
            Result << Line.mid(Open + 1, Close - Open - 1);
    }
    return Result;
}

// One LibreOffice call for all documents: starting it costs far more than converting. Its own
// profile keeps parallel runs and the user's settings apart.
bool TestKavtoolLibreOffice::ResaveAll(const QStringList& Documents, const QString& OutDir) {
    QProcess Office;
    Office.setProcessChannelMode(QProcess::MergedChannels);
    const QString Profile = QUrl::fromLocalFile(Home.path() + "/office-profile").toString();
    Office.start(QStandardPaths::findExecutable("soffice"),
                 QStringList{"-env:UserInstallation=" + Profile, "--headless", "--convert-to",
                             "rtf", "--outdir", OutDir} +
                     Documents);
    const bool Done = Office.waitForFinished(240000);
    if (!Done || Office.exitCode() != 0)
        qWarning("soffice: %s", Office.readAll().constData());
    return Done && Office.exitCode() == 0;
}

bool TestKavtoolLibreOffice::OfficeThere() {
    if (!QStandardPaths::findExecutable("soffice").isEmpty())
        return true;
    // CI installs LibreOffice and sets KAV_REQUIRE_PEERS: there the round trip must run.
    if (qEnvironmentVariableIsSet("KAV_REQUIRE_PEERS"))
        [] { QFAIL("LibreOffice (soffice) must run here, but it is not installed"); }();
    else
        [] { QSKIP("LibreOffice (soffice) is not installed"); }();
    return false;
}

void TestKavtoolLibreOffice::resavedDocumentsRestoreEveryItem() {
    if (!OfficeThere())
        return;
    QVERIFY(CopySampleFolders(QStringLiteral(KAV_SAMPLE_DATA), Home.path()));
    QDir(Home.path()).mkpath("work");
    const QStringList Samples = QDir(Home.path() + "/Language").entryList({"*.str"}, QDir::Files);
    QVERIFY(Samples.size() >= 4);

    QStringList Documents;
    for (const QString& Name : Samples) {
        const TKavtoolRun Export = Run({"export-rtf", Home.path() + "/Language/" + Name});
        QVERIFY2(Export.Code == 0, qPrintable(Export.Err));
        // The second document written is the translation alone.
        const QStringList Written = Export.Out.split('\n');
        QVERIFY(Written.size() >= 2 && Written[1].startsWith("wrote "));
        Documents << Written[1].mid(6);
        const TKavtoolRun Fill = Run(
            {"fill", Home.path() + "/Language/" + Name, "?", "-o", Home.path() + "/work/" + Name});
        QVERIFY2(Fill.Code == 0, qPrintable(Fill.Err));
    }
    const QString Resaved = Home.path() + "/resaved";
    QVERIFY(ResaveAll(Documents, Resaved));

    for (int i = 0; i < Samples.size(); ++i) {
        const QString Work = Home.path() + "/work/" + Samples[i];
        const TKavtoolRun Import =
            Run({"import-rtf", Work, Resaved + "/" + QFileInfo(Documents[i]).fileName()});
        QVERIFY2(Import.Code == 0, qPrintable(Samples[i] + ": " + Import.Err));
        const QList<QByteArray> Original = Texts(Home.path() + "/Language/" + Samples[i]);
        const QList<QByteArray> Restored = Texts(Work);
        QCOMPARE(Restored.size(), Original.size());
        for (qsizetype Item = 0; Item < Original.size(); ++Item) {
            const QByteArray Text = Original[Item].trimmed();
            // A number alone cannot come back: the import takes it for an item number.
            const bool Digits =
                !Text.isEmpty() &&
                std::all_of(Text.begin(), Text.end(), [](char C) { return C >= '0' && C <= '9'; });
            if (Text.isEmpty() || Digits)
                continue;
            QVERIFY2(Restored[Item] == Original[Item],
                     qPrintable(QStringLiteral("%1 item %2: %3 became %4")
                                    .arg(Samples[i])
                                    .arg(Item + 1)
                                    .arg(QString::fromLatin1(Original[Item]),
                                         QString::fromLatin1(Restored[Item]))));
        }
    }
}

void TestKavtoolLibreOffice::ResaveBlanks(const QList<QByteArray>& Wanted) {
    const QString Dir = Blanks.path();
    QVERIFY(CopySampleFolders(QStringLiteral(KAV_SAMPLE_DATA), Dir));
    // The first items of the sample get the texts.
    const QString Source = Dir + "/Language/Kavr_FRA.str";
    QFile F(Source);
    QVERIFY(F.open(QIODevice::ReadOnly));
    QList<QByteArray> Lines = F.readAll().split('\n');
    F.close();
    qsizetype Next = 0;
    for (QByteArray& Line : Lines)
        if (Line.startsWith("Txt_") && Next < Wanted.size()) {
            const qsizetype Open = Line.indexOf('"');
            Line = Line.left(Open + 1) + Wanted[Next++] + Line.mid(Line.lastIndexOf('"'));
        }
    QVERIFY(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
    F.write(Lines.join('\n'));
    F.close();
    const auto RunIn = [&Dir](const QStringList& Args) {
        return RunKavtool(QStringLiteral(KAVTOOL_PATH), Dir, Args);
    };
    const TKavtoolRun Export = RunIn({"export-rtf", Source});
    QVERIFY2(Export.Code == 0, qPrintable(Export.Err));
    const QString Document = Export.Out.split('\n').value(1).mid(6);
    QVERIFY(ResaveAll({Document}, Dir + "/resaved-rtf"));
    const QString Resaved = Dir + "/resaved-rtf/" + QFileInfo(Document).fileName();
    for (const auto& [Sub, Rtf] : {std::pair{"direct", Document}, std::pair{"resaved", Resaved}}) {
        const QString Out = Dir + "/" + Sub + "/Kavr_FRA.str";
        QDir(Dir).mkpath(Sub);
        QCOMPARE(RunIn({"fill", Source, "?", "-o", Out}).Code, 0);
        const TKavtoolRun Import = RunIn({"import-rtf", Out, Rtf});
        QVERIFY2(Import.Code == 0, qPrintable(Import.Err));
        (QString(Sub) == "direct" ? FDirect : FResaved) = Texts(Out).mid(0, Wanted.size());
    }
}

namespace {

struct TBlankCase {
    const char* Name;
    QByteArray Text;
    QByteArray Back; // what the import of our own export gives: each field trimmed, a tab a blank
};

const std::vector<TBlankCase>& BlankCases() {
    static const std::vector<TBlankCase> Cases{
        {"double space", "a  b", "a  b"},
        {"five blanks", "a     b", "a     b"},
        {"blanks before a full stop", "end  .", "end  ."},
        {"leading blanks", "   lead", "lead"},
        {"trailing blanks", "tail   ", "tail"},
        {"a tab inside", "a\tb", "a b"},
        {"blanks around a tab", "a  \t  b", "a b"},
        {"no-break spaces",
         "a\xa0\xa0"
         "b",
         "a\xa0\xa0"
         "b"},
    };
    return Cases;
}

} // namespace

void TestKavtoolLibreOffice::resavedBlanksComeBack_data() {
    QTest::addColumn<int>("index");
    for (size_t i = 0; i < BlankCases().size(); ++i)
        QTest::newRow(BlankCases()[i].Name) << int(i);
}

void TestKavtoolLibreOffice::resavedBlanksComeBack() {
    QFETCH(int, index);
    if (!OfficeThere())
        return;
    // One LibreOffice run for all rows, in the first.
    if (FDirect.isEmpty()) {
        QList<QByteArray> Texts;
        for (const TBlankCase& Case : BlankCases())
            Texts << Case.Text;
        ResaveBlanks(Texts);
    }
    QCOMPARE(FDirect.size(), qsizetype(BlankCases().size()));
    QCOMPARE(FResaved.size(), FDirect.size());
    QCOMPARE(FDirect[index], BlankCases()[index].Back);
    QCOMPARE(FResaved[index], FDirect[index]);
}

QTEST_GUILESS_MAIN(TestKavtoolLibreOffice)
#include "tst_KavtoolLibreOffice.moc"
