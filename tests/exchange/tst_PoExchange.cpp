#include "DocumentFixture.h"
#include "document/Languages.h"
#include "document/ToolError.h"
#include "exchange/PoExchange.h"
#include "text/CodePage.h"
#include "undo/DocumentHistory.h"

#include <QtTest>

using namespace kav;

namespace {

QByteArray Po(const QByteArray& Entries, const QByteArray& Charset = "UTF-8") {
    return "msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=" + Charset + "\\n\"\n\n" +
           Entries;
}

QByteArray Entry(const QByteArray& Name, const QByteArray& Str) {
    return "msgctxt \"" + Name + "\"\nmsgid \"x\"\nmsgstr \"" + Str + "\"\n\n";
}

} // namespace

class TestPoExchange : public QObject {
    Q_OBJECT
private slots:
    void exportEntries();
    void englishChangedMarksFuzzy();
    void importCases_data();
    void importCases();
    void importIsOneUndoStep();
    void refusedFiles_data();
    void refusedFiles();

private:
    void OpenFrench(TFixture& F) {
        std::string Default = Header;
        Default += Item("A", "File", "  {70} {Arial} {Bold} {8}");
        Default += Item("B", "b", "  {} {Times New Roman} {} {10}");
        Default += Item("C", "c\\d\te", "  {40} {} {} {}");
        F.Write("Default/Kavr_ENU.str", Default);
        F.Write("Language/Kavr_FRA.str", Translations("ABC"));
        QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    }
    QStringList TranslationsOf(const TFixture& F) {
        QStringList Texts;
        for (TItemId Id = 0; Id < F.Doc.Items().Count(); ++Id)
            Texts << DecodeBytes(F.Doc.Items().Translation(Id), TranslatedCodePage(F.State));
        return Texts;
    }
    std::string WritePoFile(TFixture& F, const QByteArray& Bytes) {
        F.Write("in.po", Bytes.toStdString());
        return F.Path("in.po");
    }
};

void TestPoExchange::exportEntries() {
    TFixture F;
    OpenFrench(F);
    {
        TDocumentEdit Edit(F.Doc, "setup");
        Edit.SetTranslation(1, "b"); // kept in English
        Edit.SetTranslation(2, "\xE9t\xE9 \\ \"\t");
    }
    const QString Text = QString::fromUtf8(WritePo(F.State, F.Doc.Items()));
    QVERIFY2(Text.contains("\"Language: fr_FR\\n\"\n"), qPrintable(Text));
    QVERIFY(Text.contains("\"Content-Type: text/plain; charset=UTF-8\\n\"\n"));
    QVERIFY2(Text.contains("\n#. item 1\n#. width: 70 px\n#. font: Arial, 8 pt, bold\n"
                           "msgctxt \"Txt_A\"\nmsgid \"File\"\nmsgstr \"tA\"\n"),
             qPrintable(Text));
    QVERIFY(Text.contains("\n#. item 2\n#. font: Times New Roman, 10 pt\n"
                          "msgctxt \"Txt_B\"\nmsgid \"b\"\nmsgstr \"\"\n"));
    QVERIFY2(Text.contains(QString::fromUtf8("msgctxt \"Txt_C\"\nmsgid \"c\\\\d\\te\"\n"
                                             "msgstr \"été \\\\ \\\"\\t\"\n")),
             qPrintable(Text));
    QVERIFY(!Text.contains("fuzzy"));
}

void TestPoExchange::englishChangedMarksFuzzy() {
    TFixture F;
    OpenFrench(F);
    TPoExport Options;
    Options.EnglishChanged = [](TItemId Id) { return Id == 1; };
    const QString Text = QString::fromUtf8(WritePo(F.State, F.Doc.Items(), Options));
    QCOMPARE(Text.count("#, fuzzy\n"), 1);
    QVERIFY(Text.contains("#, fuzzy\nmsgctxt \"Txt_B\"\n"));
}

void TestPoExchange::importCases_data() {
    QTest::addColumn<QByteArray>("po");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QList<int>>("counts"); // imported, unchanged, skipped, refused
    QTest::addColumn<QString>("refusal");
    const QStringList Before{"tA", "tB", "tC"};
    const auto Row = [](const char* Name) -> QTestData& { return QTest::newRow(Name); };

    Row("a translation") << Po(Entry("Txt_A", "neu")) << QStringList{"neu", "tB", "tC"}
                         << QList<int>{1, 0, 0, 0} << "";
    Row("the same text") << Po(Entry("Txt_B", "tB")) << Before << QList<int>{0, 1, 0, 0} << "";
    Row("unknown name") << Po(Entry("Txt_Z", "neu")) << Before << QList<int>{0, 0, 0, 1}
                        << "line 5, Txt_Z: no item of the document has this name";
    Row("empty msgstr") << Po(Entry("Txt_A", "")) << Before << QList<int>{0, 0, 1, 0} << "";
    Row("an escaped double quote")
        << Po(Entry("Txt_A", "a\\\"q\\\"")) << Before << QList<int>{0, 0, 0, 1}
        << "Txt_A: the text holds a double quote";
    Row("tab and backslash") << Po(Entry("Txt_A", "a\\tb \\\\"))
                             << QStringList{"a\tb \\", "tB", "tC"} << QList<int>{1, 0, 0, 0} << "";
    Row("line break") << Po(Entry("Txt_A", "one\\ntwo")) << Before << QList<int>{0, 0, 0, 1}
                      << "Txt_A: the text holds a line break";
    Row("beyond the code page") << Po(Entry("Txt_A", "\xD0\x96uk")) << Before
                                << QList<int>{0, 0, 0, 1}
                                << QString::fromUtf8("The character 'Ж' cannot be written");
    Row("continued lines") << Po("#. width\n#, fuzzy\nmsgctxt \"Txt_\"\n\"C\"\nmsgid \"\"\n\"x\"\n"
                                 "msgstr \"\"\n\"one \"\n\"two\"\n")
                           << QStringList{"tA", "tB", "one two"} << QList<int>{1, 0, 0, 0} << "";
    Row("named by location, as xliff2po writes")
        << Po("#: Txt_B\nmsgid \"b\"\nmsgstr \"Bee\"\n") << QStringList{"tA", "Bee", "tC"}
        << QList<int>{1, 0, 0, 0} << "";
    Row("obsolete entries") << Po("#~ msgctxt \"Txt_A\"\n#~ msgid \"x\"\n#~ msgstr \"old\"\n")
                            << Before << QList<int>{0, 0, 0, 0} << "";
    Row("plural forms") << Po("msgctxt \"Txt_A\"\nmsgid \"x\"\nmsgid_plural \"xs\"\n"
                              "msgstr[0] \"a\"\nmsgstr[1] \"b\"\n")
                        << Before << QList<int>{0, 0, 0, 1} << "Txt_A: a language file holds no";
    Row("entries without blank lines")
        << Po("msgctxt \"Txt_A\"\nmsgid \"x\"\nmsgstr \"1\"\n"
              "msgctxt \"Txt_B\"\nmsgid \"x\"\nmsgstr \"2\"\n")
        << QStringList{"1", "2", "tC"} << QList<int>{2, 0, 0, 0} << "";
    Row("Latin-1 file") << Po(Entry("Txt_A", "\xE9t\xE9"), "ISO-8859-1")
                        << QStringList{QString::fromUtf8("été"), "tB", "tC"}
                        << QList<int>{1, 0, 0, 0} << "";
    Row("CRLF line ends") << QByteArray("msgctxt \"Txt_A\"\r\nmsgid \"x\"\r\nmsgstr \"neu\"\r\n")
                          << QStringList{"neu", "tB", "tC"} << QList<int>{1, 0, 0, 0} << "";
}

void TestPoExchange::importCases() {
    QFETCH(QByteArray, po);
    QFETCH(QStringList, after);
    QFETCH(QList<int>, counts);
    QFETCH(QString, refusal);
    TFixture F;
    OpenFrench(F);
    const TExchangeImport Report = ImportPoFile(WritePoFile(F, po), F.Doc, F.UI);
    QCOMPARE(TranslationsOf(F), after);
    QCOMPARE((QList<int>{Report.Imported, Report.Unchanged, Report.Skipped,
                         static_cast<int>(Report.Refused.size())}),
             counts);
    if (!refusal.isEmpty())
        QVERIFY2(QString::fromStdString(Report.Refused.front()).contains(refusal),
                 Report.Refused.front().c_str());
}

void TestPoExchange::importIsOneUndoStep() {
    TFixture F;
    OpenFrench(F);
    TDocumentHistory History(F.Doc);
    F.UI.OpenAnswers.push_back(WritePoFile(F, Po(Entry("Txt_A", "1") + Entry("Txt_C", "3"))));
    AskAndImportPo(F.Doc, F.UI);
    QCOMPARE(TranslationsOf(F), (QStringList{"1", "tB", "3"}));
    QCOMPARE(History.Stack().count(), 1);
    QCOMPARE(History.Stack().undoText(), QString("Import PO (2 items)"));
    History.Undo();
    QCOMPARE(TranslationsOf(F), (QStringList{"tA", "tB", "tC"}));
}

void TestPoExchange::refusedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("no keyword") << Po("msgctxt \"Txt_A\"\nmsgtxt \"x\"\n")
                                << "\"msgtxt\" is no PO keyword";
    QTest::newRow("open quote") << Po("msgctxt \"Txt_A\"\nmsgid \"x\nmsgstr \"y\"\n")
                                << "double quotes";
    QTest::newRow("unknown escape") << Po(Entry("Txt_A", "\\q")) << "unknown escape \\q";
    QTest::newRow("a character set nobody reads")
        << Po(Entry("Txt_A", "x"), "KOI-9") << "character set KOI-9";
}

void TestPoExchange::refusedFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TFixture F;
    OpenFrench(F);
    const std::string Path = WritePoFile(F, bytes);
    try {
        ImportPoFile(Path, F.Doc, F.UI);
        QFAIL("imported a file it should refuse");
    } catch (const ToolError& Error) {
        QVERIFY2(QString(Error.what()).contains(message), Error.what());
        QVERIFY2(QString(Error.what()).contains(QString::fromStdString(Path) + ", line "),
                 Error.what());
    }
    QCOMPARE(TranslationsOf(F), (QStringList{"tA", "tB", "tC"}));
}

QTEST_MAIN(TestPoExchange)
#include "tst_PoExchange.moc"
