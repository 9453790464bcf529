#include "DocumentFixture.h"
#include "document/Languages.h"
#include "document/ToolError.h"
#include "exchange/XliffExchange.h"
#include "text/CodePage.h"
#include "undo/DocumentHistory.h"

#include <QXmlStreamReader>
#include <QtTest>

#include <map>

using namespace kav;

namespace {

// One unit of an exported file as a CAT tool sees it.
struct TReadUnit {
    std::map<QString, QString> Attributes;
    QString Source, Target, State;
    bool HasTarget = false;
    QStringList Notes;
};

std::map<QString, TReadUnit> UnitsOf(const QByteArray& Xliff, QString* TargetLanguage = nullptr) {
    std::map<QString, TReadUnit> Units;
    QXmlStreamReader R(Xliff);
    TReadUnit* Unit = nullptr;
    while (!R.atEnd()) {
        if (R.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (R.name() == QLatin1String("file") && TargetLanguage)
            *TargetLanguage = R.attributes().value("target-language").toString();
        if (R.name() == QLatin1String("trans-unit")) {
            Unit = &Units[R.attributes().value("id").toString()];
            for (const QXmlStreamAttribute& A : R.attributes())
                Unit->Attributes[A.qualifiedName().toString()] = A.value().toString();
        } else if (Unit && R.name() == QLatin1String("source")) {
            Unit->Source = R.readElementText();
        } else if (Unit && R.name() == QLatin1String("target")) {
            Unit->HasTarget = true;
            Unit->State = R.attributes().value("state").toString();
            Unit->Target = R.readElementText();
        } else if (Unit && R.name() == QLatin1String("note")) {
            Unit->Notes << R.readElementText();
        }
    }
    if (R.hasError())
        qWarning("%s", qPrintable(R.errorString()));
    return Units;
}

QByteArray Xliff(const QByteArray& Units, const QByteArray& FileAttributes = {}) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<xliff version=\"1.2\" xmlns=\"urn:oasis:names:tc:xliff:document:1.2\">\n"
           "<file original=\"Kavr_FRA.str\" source-language=\"en-US\" datatype=\"plaintext\"" +
           FileAttributes + ">\n<body>\n" + Units + "\n</body>\n</file>\n</xliff>\n";
}

QByteArray Unit(const QByteArray& Id, const QByteArray& Target) {
    return "<trans-unit id=\"" + Id + "\"><source>x</source><target>" + Target +
           "</target></trans-unit>\n";
}

} // namespace

class TestXliffExchange : public QObject {
    Q_OBJECT
private slots:
    void languageTags_data();
    void languageTags();
    void exportCarriesWidthFontStateAndFindings();
    void exportDecodesTheCodePage();
    void exportRefusesWhatXmlCannotHold();
    void importCases_data();
    void importCases();
    void repeatedNamesKeepTheirItems();
    void importIsOneUndoStep();
    void refusedFiles_data();
    void refusedFiles();
    void hugeFilesAreRefused();

private:
    // A French document of items A, B, C ("a", "b", "c") translated "tA", "tB", "tC".
    void OpenFrench(TFixture& F) {
        std::string Default = Header;
        Default += Item("A", "File", "  {70} {Arial} {Bold} {8}");
        Default += Item("B", "b", "  {} {Times New Roman} {} {10}");
        Default += Item("C", "c", "  {40} {} {} {}");
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
    std::string WriteXlf(TFixture& F, const QByteArray& Bytes) {
        F.Write("in.xlf", Bytes.toStdString());
        return F.Path("in.xlf");
    }
};

void TestXliffExchange::languageTags_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("tag");
    QTest::newRow("French") << "FRA"
                            << "fr-FR";
    QTest::newRow("US English") << "ENU"
                                << "en-US";
    QTest::newRow("Russian") << "RUS"
                             << "ru-RU";
    QTest::newRow("Polish") << "PLK"
                            << "pl-PL";
    QTest::newRow("script before territory") << "CHT"
                                             << "zh-TW";
    QTest::newRow("comma in the language") << "NOR"
                                           << "nb-NO";
    QTest::newRow("sort order after territory") << "ESN"
                                                << "es-ES";
    QTest::newRow("unknown code") << "QQQ"
                                  << "";
}

void TestXliffExchange::languageTags() {
    QFETCH(QString, code);
    QFETCH(QString, tag);
    QCOMPARE(QString::fromStdString(LanguageTagOf(code.toStdString())), tag);
}

void TestXliffExchange::exportCarriesWidthFontStateAndFindings() {
    TFixture F;
    OpenFrench(F);
    {
        TDocumentEdit Edit(F.Doc, "setup");
        Edit.SetTranslation(1, "b"); // kept as the English: untranslated
        Edit.SetTranslation(2, "");
    }
    F.Doc.SetColourMark(0, clYellow);
    const TItemFindings Findings = [](TItemId Id) {
        return Id == 0 ? std::vector<TFinding>{{TFindingKind::TooLong, TSeverity::Error,
                                                "92 px of 70 px"}}
                       : std::vector<TFinding>{};
    };
    QString Language;
    const auto Units = UnitsOf(WriteXliff(F.State, F.Doc.Items(), Findings), &Language);
    QCOMPARE(Language, QString("fr-FR"));
    QCOMPARE(Units.size(), size_t(3));

    const TReadUnit& A = Units.at("Txt_A");
    QCOMPARE(A.Attributes.at("resname"), QString("Txt_A"));
    QCOMPARE(A.Attributes.at("maxwidth"), QString("70"));
    QCOMPARE(A.Attributes.at("size-unit"), QString("pixel"));
    QCOMPARE(A.Attributes.at("font"), QString("Arial;8;bold"));
    QCOMPARE(A.Attributes.at("xml:space"), QString("preserve"));
    QVERIFY(A.Attributes.at("extradata").contains("item=1;"));
    QVERIFY(A.Attributes.at("extradata").contains("colour=clYellow"));
    QCOMPARE(A.Source, QString("File"));
    QCOMPARE(A.Target, QString("tA"));
    QCOMPARE(A.State, QString("needs-review-translation"));
    QCOMPARE(A.Notes, QStringList{"error too-long: 92 px of 70 px"});
    QVERIFY(!A.Attributes.count("approved"));

    const TReadUnit& B = Units.at("Txt_B");
    QVERIFY(!B.Attributes.count("maxwidth"));
    QCOMPARE(B.Attributes.at("font"), QString("Times New Roman;10;normal"));
    QCOMPARE(B.State, QString("needs-translation"));

    const TReadUnit& C = Units.at("Txt_C");
    QCOMPARE(C.Attributes.at("font"), QString("Arial;8;normal"));
    QVERIFY(!C.HasTarget);

    // Without findings a translated unit is final.
    const auto Plain = UnitsOf(WriteXliff(F.State, F.Doc.Items()));
    QCOMPARE(Plain.at("Txt_A").State, QString("translated"));
    QCOMPARE(Plain.at("Txt_A").Attributes.at("approved"), QString("yes"));
}

void TestXliffExchange::exportDecodesTheCodePage() {
    TFixture F;
    F.WriteDefault("AB");
    // "Файл" in windows-1251, and a text with the characters XML escapes.
    F.Write("Language/Kavr_RUS.str",
            std::string(Header) + Item("A", "\xD4\xE0\xE9\xEB") + Item("B", "<a> & 'b'"));
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_RUS.str")));
    QString Language;
    const auto Units = UnitsOf(WriteXliff(F.State, F.Doc.Items()), &Language);
    QCOMPARE(Language, QString("ru-RU"));
    QCOMPARE(Units.at("Txt_A").Target, QString::fromUtf8("Файл"));
    QCOMPARE(Units.at("Txt_B").Target, QString("<a> & 'b'"));
}

void TestXliffExchange::exportRefusesWhatXmlCannotHold() {
    TFixture F;
    OpenFrench(F);
    {
        TDocumentEdit Edit(F.Doc, "setup");
        Edit.SetTranslation(2, "bell\x07");
    }
    try {
        WriteXliff(F.State, F.Doc.Items());
        QFAIL("exported a control character");
    } catch (const ToolError& Error) {
        QVERIFY2(QString(Error.what()).contains("Txt_C") &&
                     QString(Error.what()).contains("U+0007"),
                 Error.what());
    }
}

void TestXliffExchange::importCases_data() {
    QTest::addColumn<QByteArray>("units");
    QTest::addColumn<QByteArray>("fileAttributes");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QList<int>>("counts"); // imported, unchanged, skipped, refused
    QTest::addColumn<QString>("refusal");
    const QStringList Before{"tA", "tB", "tC"};
    const auto Row = [](const char* Name) -> QTestData& { return QTest::newRow(Name); };

    Row("a target") << Unit("Txt_A", "neu") << QByteArray() << QStringList{"neu", "tB", "tC"}
                    << QList<int>{1, 0, 0, 0} << "";
    Row("the same text") << Unit("Txt_B", "tB") << QByteArray() << Before << QList<int>{0, 1, 0, 0}
                         << "";
    Row("unknown id") << Unit("Txt_Z", "neu") << QByteArray() << Before << QList<int>{0, 0, 0, 1}
                      << "line 5, Txt_Z: no item of the document has this name";
    Row("line break") << Unit("Txt_A", "one&#10;two") << QByteArray() << Before
                      << QList<int>{0, 0, 0, 1} << "Txt_A: the text holds a line break";
    Row("double quote") << Unit("Txt_A", "say \"hi\"") << QByteArray() << Before
                        << QList<int>{0, 0, 0, 1} << "Txt_A: the text holds a double quote";
    Row("beyond the code page") << Unit("Txt_A", "\xD0\x96uk") << QByteArray() << Before
                                << QList<int>{0, 0, 0, 1}
                                << QString::fromUtf8("Txt_A: The character 'Ж' cannot be written");
    Row("another target language")
        << Unit("Txt_A", "neu") << QByteArray(" target-language=\"de-DE\"") << Before
        << QList<int>{0, 0, 0, 1} << "the file's target language is de-DE, the document's fr-FR";
    Row("the language without region")
        << Unit("Txt_A", "neu") << QByteArray(" target-language=\"fr\"")
        << QStringList{"neu", "tB", "tC"} << QList<int>{1, 0, 0, 0} << "";
    Row("entities") << Unit("Txt_A", "A &amp; B &lt;c&gt; &#233;t&#xE9;") << QByteArray()
                    << QStringList{QString::fromUtf8("A & B <c> été"), "tB", "tC"}
                    << QList<int>{1, 0, 0, 0} << "";
    Row("mrk and g in the target")
        << Unit("Txt_A", "<mrk mtype=\"seg\" mid=\"1\">Neu</mrk> <g id=\"1\">da</g>")
        << QByteArray() << QStringList{"Neu da", "tB", "tC"} << QList<int>{1, 0, 0, 0} << "";
    Row("alt-trans proposals")
        << QByteArray("<trans-unit id=\"Txt_A\"><source>a</source>"
                      "<alt-trans match-quality=\"90\"><source>a</source><target>wrong</target>"
                      "</alt-trans><target>right</target></trans-unit>")
        << QByteArray() << QStringList{"right", "tB", "tC"} << QList<int>{1, 0, 0, 0} << "";
    Row("states, approval and a tool's own markup")
        << QByteArray("<trans-unit id=\"Txt_B\" approved=\"yes\" xmlns:m=\"urn:memoq\" "
                      "m:status=\"Confirmed\"><source>b</source><target state=\"signed-off\" "
                      "state-qualifier=\"exact-match\">Bee</target><note>ok</note>"
                      "<m:extra>z</m:extra></trans-unit>")
        << QByteArray() << QStringList{"tA", "Bee", "tC"} << QList<int>{1, 0, 0, 0} << "";
    Row("no target") << QByteArray("<trans-unit id=\"Txt_A\"><source>a</source></trans-unit>")
                     << QByteArray() << Before << QList<int>{0, 0, 1, 0} << "";
    Row("empty target") << Unit("Txt_A", "") << QByteArray() << Before << QList<int>{0, 0, 1, 0}
                        << "";
    Row("an item given twice") << Unit("Txt_C", "one") + Unit("Txt_C", "two") << QByteArray()
                               << QStringList{"tA", "tB", "one"} << QList<int>{1, 0, 0, 1}
                               << "line 6, Txt_C: the item was given already at line 5";
    Row("the name kept as a PO location")
        << QByteArray("<trans-unit id=\"3\"><source>a</source><target>neu</target>"
                      "<context-group name=\"po-reference\" purpose=\"location\"><context "
                      "context-type=\"sourcefile\">Txt_A</context></context-group></trans-unit>")
        << QByteArray() << QStringList{"neu", "tB", "tC"} << QList<int>{1, 0, 0, 0} << "";
    Row("the name as resname") << QByteArray("<trans-unit id=\"u7\" resname=\"Txt_B\"><source>b"
                                             "</source><target>neu</target></trans-unit>")
                               << QByteArray() << QStringList{"tA", "neu", "tC"}
                               << QList<int>{1, 0, 0, 0} << "";
    Row("a PO header unit") << QByteArray("<trans-unit id=\"1\" restype=\"x-gettext-domain-"
                                          "header\"><source>MIME</source><target>MIME</target>"
                                          "</trans-unit>")
                            << QByteArray() << Before << QList<int>{0, 0, 0, 0} << "";
    Row("units in groups") << "<group id=\"g\"><group>" + Unit("Txt_C", "deep") + "</group></group>"
                           << QByteArray() << QStringList{"tA", "tB", "deep"}
                           << QList<int>{1, 0, 0, 0} << "";
}

void TestXliffExchange::importCases() {
    QFETCH(QByteArray, units);
    QFETCH(QByteArray, fileAttributes);
    QFETCH(QStringList, after);
    QFETCH(QList<int>, counts);
    QFETCH(QString, refusal);
    TFixture F;
    OpenFrench(F);
    const std::string Path = WriteXlf(F, Xliff(units, fileAttributes));
    const TExchangeImport Report = ImportXliffFile(Path, F.Doc, F.UI);
    QCOMPARE(TranslationsOf(F), after);
    QCOMPARE((QList<int>{Report.Imported, Report.Unchanged, Report.Skipped,
                         static_cast<int>(Report.Refused.size())}),
             counts);
    if (!refusal.isEmpty())
        QVERIFY2(QString::fromStdString(Report.Refused.front()).contains(refusal),
                 Report.Refused.front().c_str());
    QCOMPARE(F.State.FModified, Report.Imported > 0);
}

void TestXliffExchange::repeatedNamesKeepTheirItems() {
    TFixture F;
    F.Write("Default/Kavr_ENU.str",
            std::string(Header) + Item("OK", "OK") + Item("X", "x") + Item("OK", "OK"));
    F.Write("Language/Kavr_FRA.str", std::string(Header));
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    const auto Units = UnitsOf(WriteXliff(F.State, F.Doc.Items()));
    QVERIFY(Units.count("Txt_OK") && Units.count("Txt_OK#2"));
    const std::string Path =
        WriteXlf(F, Xliff(Unit("Txt_OK#2", "second") + Unit("Txt_OK", "first")));
    ImportXliffFile(Path, F.Doc, F.UI);
    QCOMPARE(TranslationsOf(F), (QStringList{"first", "", "second"}));
}

void TestXliffExchange::importIsOneUndoStep() {
    TFixture F;
    OpenFrench(F);
    TDocumentHistory History(F.Doc);
    const std::string Path = WriteXlf(F, Xliff(Unit("Txt_A", "one") + Unit("Txt_C", "three")));
    F.UI.OpenAnswers.push_back(Path);
    AskAndImportXliff(F.Doc, F.UI);
    QCOMPARE(TranslationsOf(F), (QStringList{"one", "tB", "three"}));
    QCOMPARE(History.Stack().count(), 1);
    QCOMPARE(History.Stack().undoText(), QString("Import XLIFF (2 items)"));
    QVERIFY(Told(F).find("2 items imported, 0 unchanged") != std::string::npos);
    History.Undo();
    QCOMPARE(TranslationsOf(F), (QStringList{"tA", "tB", "tC"}));
}

void TestXliffExchange::refusedFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << QByteArray() << "line 1";
    QTest::newRow("not well-formed")
        << Xliff("<trans-unit id=\"Txt_A\"><target>x</trans-unit>") << "line 5";
    QTest::newRow("another format")
        << QByteArray("<TS version=\"2.1\"><context/></TS>") << "its root element is <TS>";
    QTest::newRow("undeclared entity") << Xliff(Unit("Txt_A", "a&nbsp;b")) << "nbsp";
    QByteArray Bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE xliff [\n<!ENTITY a0 \"lol\">\n";
    for (int i = 1; i < 10; ++i)
        Bomb += QByteArray("<!ENTITY a") + QByteArray::number(i) + " \"" + QByteArray("&a") +
                QByteArray::number(i - 1) + ";" + QByteArray("&a") + QByteArray::number(i - 1) +
                ";" + QByteArray("&a") + QByteArray::number(i - 1) + ";" + QByteArray("&a") +
                QByteArray::number(i - 1) + ";" + QByteArray("&a") + QByteArray::number(i - 1) +
                ";" + QByteArray("&a") + QByteArray::number(i - 1) + ";" + QByteArray("&a") +
                QByteArray::number(i - 1) + ";" + QByteArray("&a") + QByteArray::number(i - 1) +
                ";" + QByteArray("&a") + QByteArray::number(i - 1) + ";" + QByteArray("&a") +
                QByteArray::number(i - 1) + ";\">\n";
    Bomb += "]>\n<xliff version=\"1.2\"><file><body>" + Unit("Txt_A", "&a9;") +
            "</body></file></xliff>";
    QTest::newRow("entity expansion bomb") << Bomb << "line";
    QTest::newRow("external entity")
        << QByteArray("<?xml version=\"1.0\"?>\n<!DOCTYPE xliff [\n<!ENTITY e SYSTEM "
                      "\"file:///etc/hostname\">\n]>\n<xliff version=\"1.2\"><file><body>" +
                      Unit("Txt_A", "&e;") + "</body></file></xliff>")
        << "external entity e";
}

void TestXliffExchange::refusedFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    TFixture F;
    OpenFrench(F);
    const std::string Path = WriteXlf(F, bytes);
    try {
        ImportXliffFile(Path, F.Doc, F.UI);
        QFAIL("imported a file it should refuse");
    } catch (const ToolError& Error) {
        QVERIFY2(QString(Error.what()).contains(message), Error.what());
        QVERIFY2(QString(Error.what()).contains(QString::fromStdString(Path)), Error.what());
    }
    QCOMPARE(TranslationsOf(F), (QStringList{"tA", "tB", "tC"}));
    QVERIFY(!F.State.FModified);
}

void TestXliffExchange::hugeFilesAreRefused() {
    TFixture F;
    OpenFrench(F);
    QFile Huge(QString::fromStdString(F.Path("huge.xlf")));
    QVERIFY(Huge.open(QIODevice::WriteOnly));
    QVERIFY(Huge.resize(65LL * 1024 * 1024));
    Huge.close();
    try {
        ImportXliffFile(F.Path("huge.xlf"), F.Doc, F.UI);
        QFAIL("read a file beyond the bound");
    } catch (const ToolError& Error) {
        QVERIFY2(QString(Error.what()).contains("too large to import"), Error.what());
    }
    QCOMPARE(TranslationsOf(F), (QStringList{"tA", "tB", "tC"}));
}

QTEST_MAIN(TestXliffExchange)
#include "tst_XliffExchange.moc"
