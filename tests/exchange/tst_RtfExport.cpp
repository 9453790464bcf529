#include "ScriptedUserInterface.h"
#include "document/ToolError.h"
#include "document/TranslationTable.h"
#include "exchange/RtfExport.h"

#include <QtTest>

using namespace kav;

namespace {

struct TItem {
    const char* Name;
    const char* Default;
    const char* Translated;
};

// A small table: an 8-bit letter, characters the writer escapes, and one row without a
// constant name, which no document shows although it counts in the item count.
const TItem SmallTable[] = {{"MENU_FILE", "File", "Fichier"},
                            {"MENU_OPEN", "Open {file}", "Ouvrir {fichier}"},
                            {" \t", "Hidden", "Cach\xe9"},
                            {"MENU_PATH", "C:\\Temp", "R\xe9pertoire C:\\Temp"}};

QByteArray ReadFile(const QString& Path) {
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

} // namespace

class TestRtfExport : public QObject {
    Q_OBJECT
private slots:
    void init();
    void documentsMatchGoldenFiles_data();
    void documentsMatchGoldenFiles();
    void fontEntryCarriesTheLanguageCharset_data();
    void fontEntryCarriesTheLanguageCharset();
    void firstExportListsOnlyTheSavedFiles();
    void secondExportKeepsTheOldDocumentsAsBackups();
    void noBackupListWhenTheBilingualDocumentWasNew();
    void noDocumentOnlyCreatesTheFolder();
    void missingLanguageGivesShortNames();
    void summaryComesBeforeTheError();
    void folderThatCannotBeMadeIsAnError();

private:
    std::string Rtf(const std::string& Name) const { return State.FProgramDir + "RTF/" + Name; }
    TRtfExportFiles Export() { return ExportRtfFiles(State, TItemTable(Grid), UI, Controls); }

    std::unique_ptr<QTemporaryDir> FDir;
    TDocumentState State;
    TStyledGridModel Grid;
    ScriptedUserInterface UI;
    TRtfExportControls Controls;
};

void TestRtfExport::init() {
    FDir = std::make_unique<QTemporaryDir>();
    State = TDocumentState();
    State.FProgramDir = FDir->path().toStdString() + "/";
    State.FFontCharset = 0;
    UI = ScriptedUserInterface();
    Grid.SetRowCount(EmptyTableRowCount);
    ConfigureTable(Grid);
    ResetTable(Grid);
    int Row = FirstItemRow;
    for (const TItem& Item : SmallTable) {
        Grid.SetCells(colTranslated, Row, Item.Translated);
        Row = AppendItem(Grid, Row, {Item.Name, Item.Default, {}});
    }
    Controls = TRtfExportControls();
    Controls.Software = " Kavrino\t";
    Controls.LanguageEntry = "FRA - French (France)";
    Controls.LanguageCaption = "FRA - French (France) - Western";
}

void TestRtfExport::documentsMatchGoldenFiles_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("bilingual") << "Kavrino_ENU_To_FRA.rtf";
    QTest::newRow("translation") << "Kavrino_FRA.rtf";
    QTest::newRow("English") << "Kavrino_ENU.rtf";
}

void TestRtfExport::documentsMatchGoldenFiles() {
    QFETCH(QString, name);
    Export();
    QCOMPARE(ReadFile(QString::fromStdString(Rtf(name.toStdString()))),
             ReadFile(QStringLiteral(KAV_TEST_DATA "/rtf/golden_") + name));
}

void TestRtfExport::fontEntryCarriesTheLanguageCharset_data() {
    QTest::addColumn<QString>("font");
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("language");
    QTest::addColumn<QByteArray>("entry");
    // The face has no Hebrew letters; a reader must still take the bytes as Hebrew.
    QTest::newRow("Hebrew in DejaVu Serif")
        << "DejaVu Serif" << 177 << "HEB" << QByteArray("\\fcharset177 DejaVu Serif;}");
    QTest::newRow("default set of Japanese")
        << "Arial" << 1 << "JPN" << QByteArray("\\fcharset128 Arial;}");
}

void TestRtfExport::fontEntryCarriesTheLanguageCharset() {
    QFETCH(QString, font);
    QFETCH(int, charset);
    QFETCH(QString, language);
    QFETCH(QByteArray, entry);
    State.FFontCharset = static_cast<std::uint8_t>(charset);
    State.FLanguageCode = language.toStdString();
    Controls.FontName = font.toStdString();
    Controls.LanguageEntry = language.toStdString();
    Export();
    const QByteArray Document =
        ReadFile(QString::fromStdString(Rtf("Kavrino_" + language.toStdString() + ".rtf")));
    QVERIFY2(Document.contains("{\\fonttbl{\\f0\\f"), Document.left(120).constData());
    QVERIFY2(Document.contains(entry), Document.left(120).constData());
}

void TestRtfExport::firstExportListsOnlyTheSavedFiles() {
    const TRtfExportFiles Files = Export();
    QCOMPARE(UI.Messages.size(), size_t(1));
    QCOMPARE(UI.Messages[0].Type, TMsgDlgType::mtInformation);
    QCOMPARE(UI.Messages[0].Text, "Files saved: \r\n\r\n" + Rtf("Kavrino_ENU_To_FRA.rtf") + "\r\n" +
                                      Rtf("Kavrino_FRA.rtf") + "\r\n" + Rtf("Kavrino_ENU.rtf"));
    QCOMPARE(Files.Backups, (std::array<std::string, 3>{}));
    QVERIFY(!QFile::exists(QString::fromStdString(Rtf("Kavrino_FRA.BAK"))));
}

void TestRtfExport::secondExportKeepsTheOldDocumentsAsBackups() {
    Export();
    const QByteArray First = ReadFile(QString::fromStdString(Rtf("Kavrino_FRA.rtf")));
    Grid.SetCells(colTranslated, FirstItemRow, "Dossier");
    UI.Messages.clear();
    const TRtfExportFiles Files = Export();
    QCOMPARE(ReadFile(QString::fromStdString(Rtf("Kavrino_FRA.BAK"))), First);
    QVERIFY(ReadFile(QString::fromStdString(Rtf("Kavrino_FRA.rtf"))).contains("Dossier"));
    QCOMPARE(Files.Backups, (std::array<std::string, 3>{"Kavrino_ENU_To_FRA.BAK", "Kavrino_FRA.BAK",
                                                        "Kavrino_ENU.BAK"}));
    QCOMPARE(UI.Messages.back().Text,
             "Files saved: \r\n\r\n" + Rtf("Kavrino_ENU_To_FRA.rtf") + "\r\n" +
                 Rtf("Kavrino_FRA.rtf") + "\r\n" + Rtf("Kavrino_ENU.rtf") +
                 "\r\n\r\nFiles backup: \r\n\r\nKavrino_ENU_To_FRA.BAK\r\nKavrino_FRA.BAK\r\n"
                 "Kavrino_ENU.BAK");
    // A third export replaces the backups with the second export's documents.
    const QByteArray Second = ReadFile(QString::fromStdString(Rtf("Kavrino_FRA.rtf")));
    Export();
    QCOMPARE(ReadFile(QString::fromStdString(Rtf("Kavrino_FRA.BAK"))), Second);
}

void TestRtfExport::noBackupListWhenTheBilingualDocumentWasNew() {
    QVERIFY(QDir(FDir->path()).mkpath("RTF"));
    QFile Old(QString::fromStdString(Rtf("Kavrino_FRA.rtf")));
    QVERIFY(Old.open(QIODevice::WriteOnly));
    Old.write("old");
    Old.close();
    const TRtfExportFiles Files = Export();
    QCOMPARE(Files.Backups, (std::array<std::string, 3>{"", "Kavrino_FRA.BAK", ""}));
    QVERIFY(!QString::fromStdString(UI.Messages.back().Text).contains("Files backup"));
    QCOMPARE(ReadFile(QString::fromStdString(Rtf("Kavrino_FRA.BAK"))), QByteArray("old"));
}

void TestRtfExport::noDocumentOnlyCreatesTheFolder() {
    ResetTable(Grid);
    const TRtfExportFiles Files = Export();
    QVERIFY(QDir(QString::fromStdString(Rtf(""))).exists());
    QVERIFY(QDir(QString::fromStdString(Rtf(""))).isEmpty());
    QVERIFY(UI.Messages.empty());
    QCOMPARE(Files.Paths, (std::array<std::string, 3>{}));
}

void TestRtfExport::missingLanguageGivesShortNames() {
    Controls.LanguageEntry.clear();
    const TRtfExportFiles Files = Export();
    QCOMPARE(Files.Paths,
             (std::array<std::string, 3>{Rtf("Kavrino_ENU_To_.rtf"), Rtf("Kavrino_.rtf"),
                                         Rtf("Kavrino_ENU.rtf")}));
}

void TestRtfExport::summaryComesBeforeTheError() {
    // A backup name taken by a folder with content cannot be deleted: the second document
    // stops the export after the first one was saved.
    QVERIFY(QDir(FDir->path()).mkpath("RTF/Kavrino_FRA.BAK/keep"));
    QFile Old(QString::fromStdString(Rtf("Kavrino_FRA.rtf")));
    QVERIFY(Old.open(QIODevice::WriteOnly));
    Old.close();
    try {
        Export();
        QFAIL("no error");
    } catch (const ToolError& Error) {
        QCOMPARE(std::string(Error.what()),
                 "Unable to delete backup file: " + Rtf("Kavrino_FRA.BAK"));
    }
    QCOMPARE(UI.Messages.size(), size_t(1));
    QCOMPARE(UI.Messages[0].Text,
             "Files saved: \r\n\r\n" + Rtf("Kavrino_ENU_To_FRA.rtf") + "\r\n\r\n");
    QVERIFY(!QFile::exists(QString::fromStdString(Rtf("Kavrino_ENU.rtf"))));
}

void TestRtfExport::folderThatCannotBeMadeIsAnError() {
    State.FProgramDir = FDir->path().toStdString() + "/missing/";
    try {
        Export();
        QFAIL("no error");
    } catch (const ToolError& Error) {
        QCOMPARE(std::string(Error.what()), "Cannot create " + State.FProgramDir + "RTF/");
    }
    QVERIFY(UI.Messages.empty());
}

QTEST_MAIN(TestRtfExport)
#include "tst_RtfExport.moc"
