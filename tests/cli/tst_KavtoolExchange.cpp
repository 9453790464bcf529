#include "KavtoolRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <map>

using namespace kav;

namespace {

// A unit as one reader saw it: its source and its target.
using TUnits = std::map<QString, std::pair<QString, QString>>;

QByteArray ReadAll(const QString& Path) {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

// The units of an XLIFF file by id, or of a Qt TS file by message id.
TUnits XmlUnits(const QByteArray& Bytes, const QString& Unit, const QString& Target) {
    TUnits Units;
    QXmlStreamReader R(Bytes);
    QString Id;
    while (!R.atEnd()) {
        if (R.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (R.name() == Unit) {
            Id = R.attributes().value("id").toString();
            Units[Id];
        } else if (!Id.isEmpty() && R.name() == QLatin1String("source")) {
            Units[Id].first = R.readElementText();
        } else if (!Id.isEmpty() && R.name() == Target) {
            Units[Id].second = R.readElementText();
        }
    }
    return Units;
}

// The quoted texts of a file's item lines.
QList<QByteArray> ItemTexts(const QByteArray& File) {
    QList<QByteArray> Result;
    for (const QByteArray& Line : File.split('\n')) {
        const qsizetype Open = Line.indexOf('"');
        const qsizetype Close = Line.lastIndexOf('"');
        if (Line.startsWith("Txt_") && Open >= 0 && Close > Open)
            Result << Line.mid(Open + 1, Close - Open - 1);
    }
    return Result;
}

// Translate Toolkit's own reading of a PO file: each entry's location, source and target.
constexpr const char* DumpPo =
    "import json, sys\n"
    "from translate.storage import po\n"
    "store = po.pofile.parsefile(sys.argv[1])\n"
    "print(json.dumps([[u.getlocations(), u.source, u.target] for u in store.units\n"
    "                  if not u.isheader()]))\n";

// The toolkit's reading of a TMX file: each unit's id, texts and languages.
constexpr const char* DumpTmx =
    "import json, sys\n"
    "from translate.storage import tmx\n"
    "store = tmx.tmxfile.parsefile(sys.argv[1])\n"
    "lang = '{http://www.w3.org/XML/1998/namespace}lang'\n"
    "print(json.dumps([[u.getid(), u.source, u.target,\n"
    "                   [n.get(lang) for n in u.getlanguageNodes()]] for u in store.units]))\n";

} // namespace

// The exchange with CAT tools, proven with the tools themselves: Translate Toolkit and Qt's
// lconvert read every unit of the XLIFF export, and what they write comes back whole.
class TestKavtoolExchange : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void roundTripKeepsEveryByte_data();
    void roundTripKeepsEveryByte();
    void peersReadEveryUnit_data();
    void peersReadEveryUnit();
    void po2xliffRewriteComesBack_data();
    void po2xliffRewriteComesBack();
    void refusedUnitsAreAFinding();
    void translationMemoryOfTheFolder();
    void pdfShowsEveryItem_data();
    void pdfShowsEveryItem();
    void pdfDrawsInTheLanguagesFace();
    void poNotesTakeTheProjectsSamples();
    void poeditOpensThePo_data();
    void poeditOpensThePo();

private:
    TKavtoolRun Run(const QStringList& Args) {
        return RunKavtool(QStringLiteral(KAVTOOL_PATH), Home.path(), Args);
    }
    // Runs a peer; false (the test failed or skipped) when it is not installed or fails.
    bool Peer(const QString& Program, const QStringList& Args, QByteArray* Out = nullptr);
    void SampleRows();
    QString Sample(const QString& Name) const { return Home.path() + "/Language/" + Name; }
    QString Work(const QString& Name) const { return Home.path() + "/work/" + Name; }

    QTemporaryDir Home;
};

bool TestKavtoolExchange::Peer(const QString& Program, const QStringList& Args, QByteArray* Out) {
    QString Path = QStandardPaths::findExecutable(Program);
    if (Path.isEmpty())
        Path = QStandardPaths::findExecutable(Program, {"/usr/lib/qt6/bin", "/usr/bin"});
    if (Path.isEmpty()) {
        // CI installs every peer and sets KAV_REQUIRE_PEERS: there the test must run.
        if (qEnvironmentVariableIsSet("KAV_REQUIRE_PEERS"))
            [&] { QFAIL(qPrintable(Program + " must run here, but it is not installed")); }();
        else
            [&] { QSKIP(qPrintable(Program + " is not installed")); }();
        return false;
    }
    QProcess P;
    P.start(Path, Args);
    const bool Done = P.waitForFinished(120000);
    const QByteArray Err = P.readAllStandardError();
    if (Out)
        *Out = P.readAllStandardOutput();
    if (!Done || P.exitStatus() != QProcess::NormalExit || P.exitCode() != 0) {
        [&] { QFAIL(qPrintable(Program + " failed: " + QString::fromUtf8(Err))); }();
        return false;
    }
    return true;
}

void TestKavtoolExchange::initTestCase() {
    QVERIFY(CopySampleFolders(QStringLiteral(KAV_SAMPLE_DATA), Home.path()));
    QVERIFY(QDir(Home.path()).mkpath("work/tt"));
    QVERIFY(QDir(Home.path()).mkpath("out"));
}

void TestKavtoolExchange::SampleRows() {
    QTest::addColumn<QString>("sample");
    const QStringList Samples = QDir(Home.path() + "/Language").entryList({"*.str"}, QDir::Files);
    QVERIFY(Samples.size() >= 4);
    for (const QString& Name : Samples)
        QTest::newRow(qPrintable(Name)) << Name;
}

void TestKavtoolExchange::roundTripKeepsEveryByte_data() {
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("format");
    const QStringList Samples = QDir(Home.path() + "/Language").entryList({"*.str"}, QDir::Files);
    QVERIFY(Samples.size() >= 4);
    for (const QString& Name : Samples)
        for (const char* Format : {"xliff", "po"})
            QTest::addRow("%s %s", qPrintable(Name), Format) << Name << Format;
}

void TestKavtoolExchange::roundTripKeepsEveryByte() {
    QFETCH(QString, sample);
    QFETCH(QString, format);
    const QString Copy = Work(sample);
    QFile::remove(Copy);
    QVERIFY(QFile::copy(Sample(sample), Copy));
    const QString Exported = Home.path() + "/out/" + sample + "." + format;
    const TKavtoolRun Export = Run({"export-" + format, Copy, "-o", Exported});
    QVERIFY2(Export.Code == 0, qPrintable(Export.Err));
    if (format == "po" && !Peer("msgfmt", {"-c", "-o", "/dev/null", Exported}))
        return;
    const TKavtoolRun Import = Run({"import-" + format, Copy, Exported});
    QVERIFY2(Import.Code == 0, qPrintable(Import.Err));
    QVERIFY2(Import.Out.contains("(0 changed,") && Import.Out.contains(" 0 refused"),
             qPrintable(Import.Out));
    QCOMPARE(ReadAll(Copy), ReadAll(Sample(sample)));
}

void TestKavtoolExchange::peersReadEveryUnit_data() {
    SampleRows();
}

void TestKavtoolExchange::peersReadEveryUnit() {
    QFETCH(QString, sample);
    const QString Xlf = Home.path() + "/out/" + sample + ".peers.xlf";
    QCOMPARE(Run({"export-xliff", Sample(sample), "-o", Xlf}).Code, 0);
    const TUnits Written = XmlUnits(ReadAll(Xlf), "trans-unit", "target");
    QVERIFY(Written.size() >= 100);

    // Qt Linguist's converter.
    const QString Ts = Xlf + ".ts";
    if (!Peer("lconvert", {"-i", Xlf, "-o", Ts}))
        return;
    QCOMPARE(XmlUnits(ReadAll(Ts), "message", "translation"), Written);

    // Translate Toolkit: xliff2po, the PO read back by the toolkit itself.
    const QString Po = Xlf + ".po";
    if (!Peer("xliff2po", {"--progress=none", Xlf, Po}))
        return;
    QByteArray Json;
    if (!Peer("/usr/bin/python3", {"-c", DumpPo, Po}, &Json))
        return;
    TUnits FromPo;
    for (const QJsonValue& Entry : QJsonDocument::fromJson(Json).array()) {
        const QJsonArray E = Entry.toArray();
        QCOMPARE(E[0].toArray().size(), 1);
        FromPo[E[0].toArray()[0].toString()] = {E[1].toString(), E[2].toString()};
    }
    QCOMPARE(FromPo, Written);

    // pofilter runs its checks over the file itself.
    QVERIFY(Peer("pofilter", {"--progress=none", Xlf, Xlf + ".filtered.xlf"}));
}

void TestKavtoolExchange::po2xliffRewriteComesBack_data() {
    SampleRows();
}

void TestKavtoolExchange::po2xliffRewriteComesBack() {
    QFETCH(QString, sample);
    const QString Xlf = Home.path() + "/out/" + sample + ".tt.xlf";
    QCOMPARE(Run({"export-xliff", Sample(sample), "-o", Xlf}).Code, 0);
    const QString Po = Xlf + ".po", Rewritten = Xlf + ".po.xlf";
    if (!Peer("xliff2po", {"--progress=none", Xlf, Po}) ||
        !Peer("po2xliff", {"--progress=none", Po, Rewritten}))
        return;
    // Every translation replaced first, so that each one must come back from the file.
    const QString Copy = Work("tt/" + sample);
    QFile::remove(Copy);
    const TKavtoolRun Fill = Run({"fill", Sample(sample), "?", "-o", Copy, "--force"});
    QVERIFY2(Fill.Code == 0, qPrintable(Fill.Err));
    const TKavtoolRun Import = Run({"import-xliff", Copy, Rewritten});
    QVERIFY2(Import.Code == 0, qPrintable(Import.Err + Import.Out));
    const QList<QByteArray> Original = ItemTexts(ReadAll(Sample(sample)));
    const QList<QByteArray> Restored = ItemTexts(ReadAll(Copy));
    QCOMPARE(Restored.size(), Original.size());
    for (qsizetype i = 0; i < Original.size(); ++i)
        if (!Original[i].isEmpty()) // an empty translation has no target to bring back
            QCOMPARE(Restored[i], Original[i]);
}

void TestKavtoolExchange::refusedUnitsAreAFinding() {
    const QString Copy = Work("Kavr_DEU.str");
    QFile::remove(Copy);
    QVERIFY(QFile::copy(Sample("Kavr_DEU.str"), Copy));
    const QString Xlf = Home.path() + "/out/refused.xlf";
    QFile F(Xlf);
    QVERIFY(F.open(QIODevice::WriteOnly));
    F.write("<xliff version=\"1.2\"><file target-language=\"de-DE\"><body>\n"
            "<trans-unit id=\"Txt_MENU_FILE\"><source>File</source><target>Akte</target>"
            "</trans-unit>\n<trans-unit id=\"Txt_NO_SUCH\"><source>x</source><target>y</target>"
            "</trans-unit>\n</body></file></xliff>\n");
    F.close();
    const TKavtoolRun Import = Run({"import-xliff", Copy, Xlf});
    QCOMPARE(Import.Code, 1);
    QVERIFY2(Import.Out.contains("(1 changed, 0 unchanged, 0 without translation, 1 refused)"),
             qPrintable(Import.Out));
    QVERIFY2(Import.Err.contains("line 3, Txt_NO_SUCH: no item of the document has this name"),
             qPrintable(Import.Err));
    QVERIFY(ItemTexts(ReadAll(Copy)).front() == "Akte");
}

void TestKavtoolExchange::translationMemoryOfTheFolder() {
    // What the memory must hold: the translated units of each file's XLIFF export.
    std::map<QString, QStringList> Expected;
    const QStringList Samples = QDir(Home.path() + "/Language").entryList({"*.str"}, QDir::Files);
    for (const QString& Name : Samples) {
        const QString Xlf = Home.path() + "/out/" + Name + ".tm.xlf";
        QCOMPARE(Run({"export-xliff", Sample(Name), "-o", Xlf}).Code, 0);
        const QByteArray Bytes = ReadAll(Xlf);
        QXmlStreamReader R(Bytes);
        QString Language, Id, Source;
        while (!R.atEnd()) {
            if (R.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (R.name() == QLatin1String("file"))
                Language = R.attributes().value("target-language").toString();
            else if (R.name() == QLatin1String("trans-unit"))
                Id = R.attributes().value("id").toString();
            else if (R.name() == QLatin1String("source"))
                Source = R.readElementText();
            else if (R.name() == QLatin1String("target") &&
                     R.attributes().value("state") != QLatin1String("needs-translation"))
                Expected[Name + ":" + Id] = {Source, R.readElementText(), "en-US", Language};
        }
    }
    const QString Tmx = Home.path() + "/out/memory.tmx";
    const TKavtoolRun Export = Run({"export-tmx", Home.path(), "-o", Tmx});
    QVERIFY2(Export.Code == 0, qPrintable(Export.Err));
    QVERIFY(Export.Out.contains(QString("(%1 translation units)").arg(Expected.size())));
    QByteArray Json;
    if (!Peer("/usr/bin/python3", {"-c", DumpTmx, Tmx}, &Json))
        return;
    std::map<QString, QStringList> Read;
    for (const QJsonValue& Unit : QJsonDocument::fromJson(Json).array()) {
        const QJsonArray U = Unit.toArray();
        const QJsonArray Languages = U[3].toArray();
        QCOMPARE(Languages.size(), 2);
        Read[U[0].toString()] = {U[1].toString(), U[2].toString(), Languages[0].toString(),
                                 Languages[1].toString()};
    }
    QCOMPARE(Read, Expected);
}

void TestKavtoolExchange::pdfShowsEveryItem_data() {
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("page");
    QTest::newRow("French, A4") << "Kavr_FRA.str"
                                << "a4";
    QTest::newRow("Russian, Letter") << "Kavr_RUS.str"
                                     << "letter";
    QTest::newRow("user file, A4") << "Kavr_User_FRA.str"
                                   << "a4";
}

void TestKavtoolExchange::pdfShowsEveryItem() {
    QFETCH(QString, sample);
    QFETCH(QString, page);
    const QString Xlf = Home.path() + "/out/" + sample + ".pdf.xlf";
    const QString Pdf = Home.path() + "/out/" + sample + "." + page + ".pdf";
    QCOMPARE(Run({"export-xliff", Sample(sample), "-o", Xlf}).Code, 0);
    const TKavtoolRun Export = Run({"export-pdf", Sample(sample), "--page", page, "-o", Pdf});
    QVERIFY2(Export.Code == 0, qPrintable(Export.Err));
    QByteArray Info, Text;
    if (!Peer("pdfinfo", {Pdf}, &Info) || !Peer("pdftotext", {"-raw", Pdf, "-"}, &Text))
        return;
    QVERIFY2(Info.contains(page == "a4" ? "(A4)" : "(letter)"), Info.constData());
    const QString Read = QString::fromUtf8(Text).simplified();
    const int Pages =
        QString::fromUtf8(Info).section("Pages:", 1).simplified().section(' ', 0, 0).toInt();
    QVERIFY(Pages > 1);
    QVERIFY(Read.contains(QString("Page %1 of %1").arg(Pages)));
    QVERIFY(Read.startsWith(sample + " - "));
    // Every item's name, English and translation are there, as a reader searches them.
    for (const auto& [Id, Texts] : XmlUnits(ReadAll(Xlf), "trans-unit", "target")) {
        QVERIFY2(Read.contains(Id), qPrintable(Id));
        QVERIFY2(Read.contains(Texts.first.simplified()), qPrintable(Id + ": " + Texts.first));
        QVERIFY2(Read.contains(Texts.second.simplified()), qPrintable(Id + ": " + Texts.second));
    }
}

// The PDF draws the translations in the face the product links for the language, as the grid.
void TestKavtoolExchange::pdfDrawsInTheLanguagesFace() {
    const QString Pdf = Home.path() + "/out/linked.pdf";
    const auto Faces = [&]() {
        QByteArray Fonts;
        const TKavtoolRun Export = Run({"export-pdf", Sample("Kavr_FRA.str"), "-o", Pdf});
        if (Export.Code != 0 || !Peer("pdffonts", {Pdf}, &Fonts))
            return QByteArray("export failed: ") + Export.Err.toUtf8();
        return Fonts;
    };
    QVERIFY2(!Faces().contains("Loma"), Faces().constData());
    QVERIFY(QDir(Home.path()).mkpath("Fonts"));
    const QString Ini = Home.path() + "/Fonts/Substitutes.ini";
    QFile File(Ini);
    QVERIFY(File.open(QIODevice::WriteOnly));
    File.write("[FRA]\nArial=Loma\n");
    File.close();
    const QByteArray Linked = Faces();
    QFile::remove(Ini);
    QVERIFY2(Linked.contains("Loma"), Linked.constData());
}

// The notes of an export are the findings kavtool check gives, with the project's own
// placeholder samples, not the defaults.
void TestKavtoolExchange::poNotesTakeTheProjectsSamples() {
    const QString Ini = Home.path() + "/Placeholders.ini";
    QFile File(Ini);
    QVERIFY(File.open(QIODevice::WriteOnly));
    File.write("[Samples]\n%s=WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW\n");
    File.close();
    const QString Po = Home.path() + "/out/samples.po";
    const TKavtoolRun Export = Run({"export-po", Sample("Kavr_FRA.str"), "-o", Po});
    const TKavtoolRun Check = Run({"check", Sample("Kavr_FRA.str"), "--checks", "too-long-filled"});
    QFile::remove(Ini);
    QCOMPARE(Export.Code, 0);
    const QString Notes = QString::fromUtf8(ReadAll(Po));
    int Compared = 0;
    for (const QString& Line : Check.Out.split(u'\n')) {
        const qsizetype From = Line.indexOf("too long with placeholder samples:");
        if (From < 0 || !Line.contains("%s"))
            continue;
        const QString Message = Line.mid(From, Line.indexOf("): ", From) + 1 - From);
        QVERIFY2(Notes.contains("#. warning too-long-filled: " + Message), qPrintable(Message));
        ++Compared;
    }
    QVERIFY2(Compared >= 3, qPrintable(Check.Out));
}

void TestKavtoolExchange::poeditOpensThePo_data() {
    QTest::addColumn<QString>("sample");
    QTest::addColumn<bool>("opens");
    QTest::newRow("Kavr_FRA.str") << "Kavr_FRA.str" << true;
    QTest::newRow("Kavr_RUS.str") << "Kavr_RUS.str" << true;
    // An entry given twice: Poedit says the file is invalid, and the check must see its box.
    QTest::newRow("broken") << "Kavr_FRA.str" << false;
}

// Poedit, on an X server of its own, opens the export: its window comes up named after the
// file, and no error box with it.
void TestKavtoolExchange::poeditOpensThePo() {
    QFETCH(QString, sample);
    QFETCH(bool, opens);
    const QString Po = Home.path() + "/out/" + QFileInfo(sample).completeBaseName() +
                       (opens ? ".po" : "-broken.po");
    QCOMPARE(Run({"export-po", Sample(sample), "-o", Po}).Code, 0);
    if (!opens) {
        QFile File(Po);
        QVERIFY(File.open(QIODevice::ReadWrite));
        QByteArray Bytes = File.readAll();
        const qsizetype Start = Bytes.indexOf("msgctxt \"Txt_MENU_FILE\"");
        const qsizetype End = Bytes.indexOf("\n\n", Start);
        QVERIFY(Start > 0 && End > Start);
        Bytes.insert(End, "\n\n" + Bytes.mid(Start, End - Start));
        QVERIFY(File.resize(0) && File.write(Bytes) == Bytes.size());
    }
    QProcess P;
    P.start(QStringLiteral(POEDIT_OPENS), {Po});
    QVERIFY(P.waitForFinished(120000));
    const QString Said = QString::fromUtf8(P.readAllStandardOutput() + P.readAllStandardError());
    if (P.exitCode() == 2) {
        if (qEnvironmentVariableIsSet("KAV_REQUIRE_PEERS"))
            QFAIL(qPrintable("Poedit must run here: " + Said));
        QSKIP(qPrintable(Said));
    }
    QVERIFY2((P.exitCode() == 0) == opens, qPrintable(Said));
}

QTEST_MAIN(TestKavtoolExchange)
#include "tst_KavtoolExchange.moc"
