#include "DocumentFixture.h"
#include "ScriptedUserInterface.h"
#include "document/ToolError.h"
#include "document/TranslationTable.h"
#include "exchange/RtfExport.h"
#include "exchange/RtfImport.h"

#include <QtTest>

using namespace kav;

namespace {

constexpr int Items = 12;

int RowOf(int Item) {
    return Item + 1;
}

// A user who picks a file that another program deletes before the import reads it.
class TVanishingFileUI : public ScriptedUserInterface {
public:
    std::optional<std::string> OpenDialog(const std::string& Dir,
                                          const std::string& Filter) override {
        std::optional<std::string> Answer = ScriptedUserInterface::OpenDialog(Dir, Filter);
        if (Answer)
            QFile::remove(QString::fromStdString(*Answer));
        return Answer;
    }
};

} // namespace

class TestRtfImport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void itemsFromLines_data();
    void itemsFromLines();
    void columnZeroMustAgree();
    void translationDocumentRoundTrip_data();
    void translationDocumentRoundTrip();
    void exportedDocuments_data();
    void exportedDocuments();
    void unrepresentableItemsAreReportedAndKept();
    void nonNumericRangeIsRefused_data();
    void nonNumericRangeIsRefused();
    void cancelChangesNothing();
    void unreadableFilesAreErrors_data();
    void unreadableFilesAreErrors();
    void fill_data();
    void fill();
    void fillRefusesWhatTheCodePageCannotHold();

private:
    QStringList Translations() const;
    std::string WriteFile(const QString& Name, const QByteArray& Bytes);
    TImportRange AllItems() const { return {"00001", "00014"}; }

    // Imports Lines in one command, as the Load button does.
    TImportReport Fill(const QStringList& Lines, TItemRange Range) {
        TDocumentEdit Edit(F->Doc, "import");
        return FillFromLines(std::vector<QString>(Lines.begin(), Lines.end()), Edit, 1252, Range);
    }

    std::unique_ptr<TFixture> F;
    QTemporaryDir* FDir = nullptr;
};

void TestRtfImport::init() {
    F = std::make_unique<TFixture>();
    FDir = &F->Dir;
    std::vector<std::string> Old;
    for (int Item = 1; Item <= Items; ++Item)
        Old.push_back("Old " + std::to_string(Item));
    F->OpenItems(Old);
}

QStringList TestRtfImport::Translations() const {
    QStringList Result;
    for (int Item = 1; Item <= Items; ++Item)
        Result << QString::fromStdString(std::string(F->Grid.Cells(colTranslated, RowOf(Item))));
    return Result;
}

std::string TestRtfImport::WriteFile(const QString& Name, const QByteArray& Bytes) {
    QFile F(FDir->filePath(Name));
    F.open(QIODevice::WriteOnly);
    F.write(Bytes);
    return F.fileName().toStdString();
}

void TestRtfImport::itemsFromLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    // Items whose text changes, as "item=text".
    QTest::addColumn<QStringList>("changed");
    const QStringList Heading{"Kavrino\t (12 items) ", "", "Item\tFRA - French (France) ", ""};
    QTest::newRow("translation document")
        << Heading + QStringList{"1 \tUn ", "2 \tDeux ", "12 \tDouze "} << 1 << 12
        << QStringList{"1=Un", "2=Deux", "12=Douze"};
    QTest::newRow("wrapped lines joined with blanks")
        << QStringList{"T", "3 \tfirst part", "second part ", "  third part"} << 1 << 12
        << QStringList{"3=first part second part third part"};
    QTest::newRow("numeric fields dropped")
        << QStringList{"T", "4 \tVersion\t2004\tfinal ", "5 \t2004 "} << 1 << 12
        << QStringList{"4=Version final"};
    QTest::newRow("a digits-only line starts an item")
        << QStringList{"T", "5 \tCinq", "6", "Six"} << 1 << 12 << QStringList{"5=Cinq", "6=Six"};
    QStringList All{"T"};
    for (int Item = 1; Item <= Items; ++Item)
        All << QString("%1 \tNew %1 ").arg(Item);
    QTest::newRow("range 5 to 10")
        << All << 5 << 10
        << QStringList{"5=New 5", "6=New 6", "7=New 7", "8=New 8", "9=New 9", "10=New 10"};
    QTest::newRow("empty items keep their cells")
        << QStringList{"T", "7 \t ", "8 \t", "9 ", "10 \tDix"} << 1 << 12 << QStringList{"10=Dix"};
    // Each item's first line holds the English text, which must not go into the translation.
    const QStringList Bilingual{
        "Kavrino\t (12 items) ", "",
        "Item\tENU - English (United State) <-> FRA - French (France) - Western ", ""};
    QTest::newRow("bilingual document: the translation column")
        << Bilingual +
               QStringList{"1 \tFile ", "\tFichier ", "2 \tOpen ", "\tOuvrir ", "3 \tNew ", "\t "}
        << 1 << 12 << QStringList{"1=Fichier", "2=Ouvrir"};
    QTest::newRow("line 0 is never examined")
        << QStringList{"1 \tUn", "2 \tDeux"} << 1 << 12 << QStringList{"2=Deux"};
    QTest::newRow("lines before the first item are ignored")
        << QStringList{"T", "intro", "more text", "2 \tDeux"} << 1 << 12 << QStringList{"2=Deux"};
    QTest::newRow("leading zeros")
        << QStringList{"T", "007\tSept"} << 1 << 12 << QStringList{"7=Sept"};
    QTest::newRow("numbers without a row are skipped")
        << QStringList{"T", "0 \tzero", "13 \tbeyond", "99999999999 \thuge", "1 \tUn"} << 0 << 99999
        << QStringList{"1=Un"};
    QTest::newRow("blank fields add blanks inside the text")
        << QStringList{"T", "11 \ta\t\tb"} << 1 << 12 << QStringList{"11=a  b"};
}

void TestRtfImport::itemsFromLines() {
    QFETCH(QStringList, lines);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QStringList, changed);
    QStringList Expected = Translations();
    for (const QString& Change : changed) {
        const qsizetype Eq = Change.indexOf('=');
        Expected[Change.left(Eq).toInt() - 1] = Change.mid(Eq + 1);
    }
    const TImportReport Report = Fill(lines, {from, to});
    QCOMPARE(Translations(), Expected);
    QCOMPARE(Report.Changed, int(changed.size()));
    QCOMPARE(F->Grid.Cells(colTranslated, TrailingRow(F->Grid)), std::string());
}

void TestRtfImport::columnZeroMustAgree() {
    F->Grid.SetCells(colItem, RowOf(3), "30");
    Fill({"T", "3 \tTrois", "4 \tQuatre"}, {1, 12});
    QCOMPARE(F->Grid.Cells(colTranslated, RowOf(3)), std::string("Old 3"));
    QCOMPARE(F->Grid.Cells(colTranslated, RowOf(4)), std::string("Quatre"));
}

void TestRtfImport::translationDocumentRoundTrip_data() {
    QTest::addColumn<int>("charset");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("Western") << 0 << QByteArray("R\xe9pertoire {C:\\Temp}");
    QTest::newRow("Cyrillic") << 204 << QByteArray("\xcf\xf0\xe8\xe2\xe5\xf2 \xec\xe8\xf0");
    QTest::newRow("Central European") << 238 << QByteArray("Zaj\xb9\xe6 \x9c\xe6");
}

void TestRtfImport::translationDocumentRoundTrip() {
    QFETCH(int, charset);
    QFETCH(QByteArray, text);
    F->Doc.SetCharset(std::uint8_t(charset));
    for (int Item = 1; Item <= Items; ++Item)
        F->Put(colTranslated, RowOf(Item), text.toStdString() + " " + std::to_string(Item));
    const QStringList Original = Translations();
    TRtfExportControls Controls;
    Controls.Software = "Kavrino";
    Controls.LanguageEntry = "XXX - Test";
    Controls.LanguageCaption = "XXX - Test";
    const TRtfExportFiles Files = ExportRtfFiles(F->State, F->Doc.Items(), F->UI, Controls);
    QVERIFY(FillTranslations(F->Doc, F->UI, "?") == Items);
    F->Doc.SetModified(false);

    F->UI.OpenAnswers.push_back(Files.Paths[1]);
    AskAndImportRtf(F->Doc, F->UI, AllItems());
    QCOMPARE(Translations(), Original);
    QVERIFY(F->State.FModified);
    // The export's summary, then the import's.
    QCOMPARE(F->UI.Messages.size(), size_t(2));
    QCOMPARE(F->UI.Messages[1].Text, "Loaded " + Files.Paths[1] + ":\n" + std::to_string(Items) +
                                         " items imported, 0 unchanged (the same text), 0 skipped "
                                         "(empty or only digits), 0 refused.");

    // The same document again changes nothing and leaves the flag alone.
    F->Doc.SetModified(false);
    const TImportReport Again = ImportRtfFile(Files.Paths[1], F->Doc, F->UI, {1, 99999});
    QCOMPARE(Again.Taken, Items);
    QCOMPARE(Again.Changed, 0);
    QVERIFY(!F->State.FModified);
}

void TestRtfImport::exportedDocuments_data() {
    QTest::addColumn<int>("document"); // of the export: bilingual, translation, English
    QTest::addColumn<bool>("taken");
    QTest::newRow("bilingual") << 0 << true;
    QTest::newRow("English") << 2 << false;
}

void TestRtfImport::exportedDocuments() {
    QFETCH(int, document);
    QFETCH(bool, taken);
    F->Doc.AdoptLanguage("XXX");
    const QStringList Original = Translations();
    TRtfExportControls Controls;
    Controls.Software = "Kavrino";
    Controls.LanguageEntry = "XXX - Test";
    Controls.LanguageCaption = "XXX - Test - Western";
    const std::string Path =
        ExportRtfFiles(F->State, F->Doc.Items(), F->UI, Controls).Paths[size_t(document)];
    FillTranslations(F->Doc, F->UI, "?");
    const QStringList Filled = Translations();
    F->Doc.SetModified(false);
    try {
        ImportRtfFile(Path, F->Doc, F->UI, {1, 12});
        QVERIFY(taken);
        QCOMPARE(Translations(), Original);
    } catch (const ToolError& Error) {
        QVERIFY2(!taken, Error.what());
        QVERIFY2(QString(Error.what())
                     .contains("Load the translation document Kavrino_XXX.rtf or "
                               "the bilingual document Kavrino_ENU_To_XXX.rtf"),
                 Error.what());
        QCOMPARE(Translations(), Filled);
        QVERIFY(!F->State.FModified);
    }
}

void TestRtfImport::unrepresentableItemsAreReportedAndKept() {
    const std::string Path = WriteFile(
        "mixed.rtf", "{\\rtf1\\ansi Title\\par 2 \\tab \\u1055?\\u1088?ix\\par 3 \\tab Trois\\par "
                     "4 \\tab Quatre \\u8364?\\par "
                     // LibreOffice writes each blank of a run after a six-per-em space; blanks
                     // of any kind at the ends are trimmed.
                     "5 \\tab Cinq\\u8198\\'20 \\u8198\\'20 cinq\\~\\par 6 \\tab "
                     "\\uc0\\u8239 Six\\par "
                     // A NUL at the end would be trimmed away unseen.
                     "7 \\tab Sept\\'00\\par}");
    F->Doc.SetCharset(0);
    const TImportReport Report = ImportRtfFile(Path, F->Doc, F->UI, {1, 12});
    QCOMPARE(Report.Refused.size(), size_t(2));
    QCOMPARE(F->Grid.Cells(colTranslated, RowOf(2)), std::string("Old 2"));
    QCOMPARE(F->Grid.Cells(colTranslated, RowOf(7)), std::string("Old 7"));
    QCOMPARE(F->Grid.Cells(colTranslated, RowOf(3)), std::string("Trois"));
    QCOMPARE(F->Grid.Cells(colTranslated, RowOf(4)), std::string("Quatre \x80"));
    QCOMPARE(F->Grid.Cells(colTranslated, RowOf(5)), std::string("Cinq  cinq"));
    QCOMPARE(F->Grid.Cells(colTranslated, RowOf(6)), std::string("Six"));
    QVERIFY(F->State.FModified);
    const QString Summary = QString::fromStdString(ImportSummary(Path, Report, F->UI));
    QVERIFY2(Summary.contains("4 items imported, 0 unchanged (the same text), 0 skipped (empty or "
                              "only digits), 2 refused.") &&
                 Summary.contains(QString::fromUtf8("Item 2: The character '\xd0\x9f' cannot be "
                                                    "written in code page windows-1252.")) &&
                 Summary.contains("Item 7: The text holds a NUL character (code 0)"),
             qPrintable(Summary));
}

void TestRtfImport::nonNumericRangeIsRefused_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::newRow("letters in From") << "abc"
                                     << "00012";
    QTest::newRow("empty To") << "00001"
                              << "";
    QTest::newRow("blank digits") << "00001"
                                  << "0001 ";
    QTest::newRow("beyond 32 bits") << "99999999999"
                                    << "00012";
}

void TestRtfImport::nonNumericRangeIsRefused() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    const std::string Path = WriteFile("doc.rtf", "{\\rtf1 T\\par 1 \\tab Un\\par}");
    F->UI.OpenAnswers.push_back(Path);
    AskAndImportRtf(F->Doc, F->UI, {from.toStdString(), to.toStdString()});
    QCOMPARE(F->UI.Beeps, 1);
    QCOMPARE(F->UI.Messages.size(), size_t(1));
    QVERIFY(
        QString::fromStdString(F->UI.Messages[0].Text).contains("is not a valid integer value"));
    QCOMPARE(F->UI.OpenAnswers.size(), size_t(1)); // refused before the dialog
    QCOMPARE(F->Grid.Cells(colTranslated, RowOf(1)), std::string("Old 1"));
    QVERIFY(!F->State.FModified);
}

void TestRtfImport::cancelChangesNothing() {
    const QStringList Before = Translations();
    F->UI.OpenAnswers.push_back(std::nullopt);
    AskAndImportRtf(F->Doc, F->UI, AllItems());
    QCOMPARE(Translations(), Before);
    QVERIFY(!F->State.FModified);
    QVERIFY(F->UI.Messages.empty());
}

void TestRtfImport::unreadableFilesAreErrors_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("message");
    const QByteArray Good("{\\rtf1 T\\par 1 \\tab Un\\par}");
    QTest::newRow("missing") << "missing" << QByteArray() << "File not found: ";
    QTest::newRow("vanished after the dialog") << "vanishes" << Good << "File not found: ";
    QTest::newRow("a folder") << "folder" << QByteArray() << "I/O Error: ";
    QTest::newRow("damaged") << "damaged" << QByteArray("{\\rtf1 T\\par 1 \\tab Un\\par{")
                             << "damaged";
}

void TestRtfImport::unreadableFilesAreErrors() {
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, message);
    std::string Path = FDir->filePath("none.rtf").toStdString();
    if (!bytes.isEmpty())
        Path = WriteFile("chosen.rtf", bytes);
    if (file == "folder")
        QVERIFY(QDir().mkpath(QString::fromStdString(Path)));
    TVanishingFileUI Vanishing;
    UserInterface& Port = file == "vanishes" ? static_cast<UserInterface&>(Vanishing) : F->UI;
    const QStringList Before = Translations();
    F->UI.OpenAnswers.push_back(Path);
    Vanishing.OpenAnswers.push_back(Path);
    try {
        AskAndImportRtf(F->Doc, Port, AllItems());
        QFAIL("no error");
    } catch (const ToolError& Error) {
        QVERIFY2(QString(Error.what()).contains(message), Error.what());
        QVERIFY(QString(Error.what()).contains(QString::fromStdString(Path)));
    }
    QCOMPARE(Translations(), Before);
    QVERIFY(!F->State.FModified);
}

void TestRtfImport::fill_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("charset");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << "" << 0 << QByteArray();
    QTest::newRow("question mark, not trimmed") << " ? " << 0 << QByteArray(" ? ");
    QTest::newRow("Western letter") << QString::fromUtf8("\xc3\xa9") << 0 << QByteArray("\xe9");
    QTest::newRow("Cyrillic letter") << QString::fromUtf8("\xd0\x9f") << 204 << QByteArray("\xcf");
}

void TestRtfImport::fill() {
    QFETCH(QString, text);
    QFETCH(int, charset);
    QFETCH(QByteArray, bytes);
    F->Doc.SetCharset(std::uint8_t(charset));
    F->Put(colName, RowOf(Items), " \t");
    const int Changed = FillTranslations(F->Doc, F->UI, text.toStdString());
    QCOMPARE(Changed, Items - 1);
    for (int Item = 1; Item < Items; ++Item)
        QCOMPARE(F->Grid.Cells(colTranslated, RowOf(Item)), bytes.toStdString());
    QCOMPARE(F->Grid.Cells(colTranslated, RowOf(Items)), std::string("Old 12"));
    QCOMPARE(F->Grid.Cells(colTranslated, TrailingRow(F->Grid)), std::string());
    QVERIFY(F->State.FModified);
}

void TestRtfImport::fillRefusesWhatTheCodePageCannotHold() {
    const QStringList Before = Translations();
    F->Doc.SetCharset(0);
    QCOMPARE(FillTranslations(F->Doc, F->UI, "\xd0\x9f"), 0);
    QCOMPARE(Translations(), Before);
    QCOMPARE(F->UI.Beeps, 1);
    QCOMPARE(F->UI.Messages.size(), size_t(1));
    QVERIFY(!F->State.FModified);
}

QTEST_MAIN(TestRtfImport)
#include "tst_RtfImport.moc"
