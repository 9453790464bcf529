#include "Bytes.h"
#include "DocumentFixture.h"
#include "EndedProcess.h"
#include "ScriptedUserInterface.h"
#include "document/Document.h"
#include "document/TranslationTable.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace kav;

namespace {

// Peak resident memory of this process so far, in KiB.
long PeakMemoryKb() {
    struct rusage Usage {};
    getrusage(RUSAGE_SELF, &Usage);
    return Usage.ru_maxrss;
}

// One line of Size bytes, written in pieces so that the test itself stays small.
void WriteHugeLine(const std::string& Path, qint64 Size) {
    QFile F(QString::fromStdString(Path));
    QVERIFY(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const QByteArray Piece(1 << 20, 'x');
    for (qint64 Done = 0; Done < Size; Done += Piece.size())
        QCOMPARE(F.write(Piece), Piece.size());
}

QByteArray RandomBytes(int Size) {
    QRandomGenerator Random(13);
    QByteArray Bytes(Size, '\0');
    for (char& C : Bytes)
        C = static_cast<char>(Random.bounded(256));
    return Bytes;
}

QByteArray Utf16(const std::string& Text) {
    const QString S = QString::fromLatin1(Text);
    return QByteArray("\xff\xfe", 2) +
           QByteArray(reinterpret_cast<const char*>(S.utf16()), S.size() * 2);
}

// Text with %1 and %2 replaced (QString::arg warns about markers that are not there).
QString Filled(QString Text, const std::string& First, const std::string& Second = {}) {
    return Text.replace("%1", QString::fromStdString(First))
        .replace("%2", QString::fromStdString(Second));
}

} // namespace

class TestDocument : public QObject {
    Q_OBJECT
private slots:
    void replacedSpans_data();
    void replacedSpans();
    void fileNames_data();
    void fileNames();
    void emptyDefaultFile();
    void threeItemsAndTrailingRow();
    void compatibility_data();
    void compatibility();
    void matchingByName_data();
    void matchingByName();
    void unmatchedNamesReported();
    void blankTranslationTakesDefault();
    void badColourStopsLoad();
    void openRefusesBadNameAndMissingDefault();
    void openSetsKindCodeAndMask();
    void fileLanguageOnlyWhenOffered();
    void newDocumentForPelmor();
    void saveWritesBacksUpAndReloads();
    void saveAsUserIntoMainName();
    void saveAsNeedsLanguage();
    void saveAsKeepsAnOpenableName_data();
    void saveAsKeepsAnOpenableName();
    void saveAsksBeforeDroppingNamelessItems_data();
    void saveAsksBeforeDroppingNamelessItems();
    void readBackEqualsFullLoad_data();
    void readBackEqualsFullLoad();
    void saveRefusesUnwritableText();
    void saveFaults_data();
    void saveFaults();
    void staleTempFilesRemoved();
    void loadFaults_data();
    void loadFaults();
    void defaultFolderRemovedMidSession();
    void querySaveChanges();
};

void TestDocument::fileNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("code");
    QTest::newRow("lower case") << "kavr_fra.str" << true << 2 << "FRA";
    QTest::newRow("user") << "Kavr_User_DEU.str" << true << 1 << "DEU";
    QTest::newRow("two letters") << "Kavr_FR.str" << true << 2 << "FR";
    QTest::newRow("txt") << "Kavr_FRA.txt" << false << 0 << "";
    QTest::newRow("suffix") << "Kavr_ENU_old.str" << true << 2 << "ENU";
    QTest::newRow("upper ext") << "KAVR_USER_RUS.STR" << true << 1 << "RUS";
    QTest::newRow("too short") << "Kavr.str" << false << 0 << "";
    QTest::newRow("no prefix") << "Kav_FRA.str" << false << 0 << "";
    QTest::newRow("no extension") << "Kavr_FRA" << false << 0 << "";
}

void TestDocument::fileNames() {
    QFETCH(QString, name);
    QFETCH(bool, accepted);
    QFETCH(int, kind);
    QFETCH(QString, code);
    TFileNameInfo Info = ExamineFileName(name.toStdString());
    QCOMPARE(Info.Accepted, accepted);
    if (accepted) {
        QCOMPARE(int(Info.Kind), kind);
        QCOMPARE(QString::fromStdString(Info.Code), code);
    }
}

void TestDocument::emptyDefaultFile() {
    TFixture F;
    F.Write("Default/Kavr_ENU.str", Header);
    F.Write("Language/Kavr_FRA.str", Header);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    QCOMPARE(F.Grid.RowCount(), 3);
    QCOMPARE(F.UI.StatusText(StatusLines), std::string());
    QCOMPARE(F.Events.Opened, std::vector<std::string>{F.Path("Language/Kavr_FRA.str")});
}

void TestDocument::threeItemsAndTrailingRow() {
    TFixture F;
    F.WriteDefault("ABC");
    F.Write("Language/Kavr_FRA.str", Translations("ABC"));
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    QCOMPARE(F.Grid.RowCount(), 6);
    for (int Row = 2; Row <= 4; ++Row)
        QCOMPARE(F.Col(colItem, Row), std::to_string(Row - 1));
    QCOMPARE(F.Col(colName, 3), std::string("B"));
    QCOMPARE(F.Col(colDefault, 3), std::string("b"));
    QCOMPARE(F.Col(colTranslated, 3), std::string("tB"));
    QCOMPARE(F.Col(colWidth, 3), std::string("40"));
    QCOMPARE(F.Col(colFontName, 3), std::string());
    QCOMPARE(F.Col(colItem, 5), std::string());
    QCOMPARE(F.Col(colName, 5), std::string());
    QCOMPARE(F.UI.StatusText(StatusLines), std::string("Total lines: 3"));
    QCOMPARE(F.UI.StatusText(StatusFile), "Loaded file: " + F.Path("Language/Kavr_FRA.str"));
    QCOMPARE(F.UI.Caption, std::string("Kavr_FRA.str - Kavrino Translation Tool "));
    QCOMPARE(F.State.FFileName, F.Path("Language/Kavr_FRA.str"));
    QVERIFY(!F.State.FUntitled);
    QCOMPARE(F.UI.PleaseWaitShown, std::vector<std::string>{"Opening Kavr_FRA.str"});
    QCOMPARE(F.UI.LockDepth, 0);
    QCOMPARE(F.UI.PleaseWaitOpen, 0);
}

void TestDocument::compatibility_data() {
    QTest::addColumn<QByteArray>("extra");
    QTest::addColumn<QString>("names");
    QTest::addColumn<bool>("compatible");
    QTest::newRow("as written") << QByteArray() << "ABCDE" << true;
    QTest::newRow("one line more") << QByteArray("\r\n") << "ABCDE" << false;
    QTest::newRow("comment more") << QByteArray("// note\r\n") << "ABCDE" << false;
    QTest::newRow("fewer items") << QByteArray("\r\n") << "ABD" << true;
}

void TestDocument::compatibility() {
    QFETCH(QByteArray, extra);
    QFETCH(QString, names);
    QFETCH(bool, compatible);
    TFixture F;
    F.WriteDefault("ABCDE");
    F.Write("Language/Kavr_FRA.str", Translations(names.toStdString()) + extra.toStdString());
    const std::string Path = F.Path("Language/Kavr_FRA.str");
    QCOMPARE(F.Doc.OpenPath(Path), compatible);
    QCOMPARE(F.Grid.RowCount(), 8);
    if (compatible) {
        QCOMPARE(F.Col(colTranslated, 2), std::string("tA"));
        QVERIFY(F.UI.Texts().empty());
        return;
    }
    QCOMPARE(F.UI.Texts(), std::vector<std::string>{"File \"" + Path +
                                                    "\" is not compatible with the defaut file."});
    // The table keeps the default items; the file does not become the document's file.
    QCOMPARE(F.Col(colTranslated, 2), std::string());
    QCOMPARE(F.State.FFileName, std::string("Untitled"));
    QVERIFY(F.State.FUntitled);
    QCOMPARE(F.UI.StatusText(StatusFile), std::string());
}

void TestDocument::matchingByName_data() {
    QTest::addColumn<QString>("order");
    QTest::addColumn<QStringList>("column5");
    QTest::addColumn<QByteArray>("end"); // what the file ends with instead of its last CR LF
    const QStringList All{"tA", "tB", "tC", "tD", "tE", ""};
    QTest::newRow("in order") << "ABCDE" << All << QByteArray("\r\n");
    QTest::newRow("out of order") << "ABDCE" << All << QByteArray("\r\n");
    QTest::newRow("reversed") << "EDCBA" << All << QByteArray("\r\n");
    QTest::newRow("item missing") << "ABDE" << QStringList{"tA", "tB", "", "tD", "tE", ""}
                                  << QByteArray("\r\n");
    // The last line is not handed out from the file's bytes: it must be kept all the same.
    QTest::newRow("last line without its end") << "ABCDE" << All << QByteArray();
    QTest::newRow("last line ended by Ctrl+Z") << "ABCDE" << All << QByteArray("\x1a");
}

void TestDocument::matchingByName() {
    QFETCH(QString, order);
    QFETCH(QStringList, column5);
    QFETCH(QByteArray, end);
    TFixture F;
    F.WriteDefault("ABCDE");
    std::string Text = Translations(order.toStdString());
    Text.replace(Text.size() - 2, 2, end.toStdString());
    F.Write("Language/Kavr_FRA.str", Text);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    QStringList Got;
    for (int Row = 2; Row < F.Grid.RowCount(); ++Row)
        Got << QString::fromStdString(F.Col(colTranslated, Row));
    QCOMPARE(Got, column5);
}

void TestDocument::unmatchedNamesReported() {
    TFixture F;
    // A repeated default name takes its translations in order.
    F.Write("Default/Kavr_ENU.str", std::string(Header) + Item("A", "a") + Item("D", "d1") +
                                        Item("B", "b") + Item("D", "d2") + Item("E", "e") +
                                        Item("F", "f"));
    F.Write("Language/Kavr_FRA.str", std::string(Header) + Item("D", "x1") + Item("ZZ", "z") +
                                         Item("A", "y") + Item("D", "x2") + Item("D", "x3"));
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    QCOMPARE(F.Col(colTranslated, 2), std::string("y"));
    QCOMPARE(F.Col(colTranslated, 3), std::string("x1"));
    QCOMPARE(F.Col(colTranslated, 5), std::string("x2"));
    QCOMPARE(F.Col(colTranslated, 8), std::string()); // never the trailing row
    QCOMPARE(F.Doc.LastLoad().Unmatched, (std::vector<std::string>{"ZZ", "D"}));
    QCOMPARE(F.UI.Messages.size(), size_t(1));
    const std::string& Text = F.UI.Messages[0].Text;
    QVERIFY2(Text.find("2 translated line") == 0, Text.c_str());
    QVERIFY(Text.find("Txt_ZZ") != std::string::npos);
    QVERIFY(Text.find("will not be saved") != std::string::npos);
}

void TestDocument::blankTranslationTakesDefault() {
    TFixture F;
    F.WriteDefault("AB");
    F.Write("Language/Kavr_FRA.str", std::string(Header) + Item("A", "") + Item("B", " \t "));
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    QCOMPARE(F.Col(colTranslated, 2), std::string("a"));
    QCOMPARE(F.Col(colTranslated, 3), std::string("b"));
}

void TestDocument::badColourStopsLoad() {
    TFixture F;
    F.WriteDefault("ABC");
    F.Write("Language/Kavr_FRA.str", std::string(Header) + Item("A", "x", " {255}") +
                                         Item("B", "y", " {blue}") + Item("C", "z"));
    const std::string Path = F.Path("Language/Kavr_FRA.str");
    QVERIFY(!F.Doc.OpenPath(Path));
    QCOMPARE(F.UI.Errors, std::vector<std::string>{"'blue' is not a valid integer value\nin " +
                                                   Path + ", line 6"});
    QCOMPARE(F.Grid.ColorCell(colMark, 2), TColor(255));
    QCOMPARE(F.Col(colTranslated, 3), std::string("y"));
    QCOMPARE(F.Col(colTranslated, 4), std::string());
    QCOMPARE(F.State.FFileName, std::string("Untitled"));
    QCOMPARE(F.UI.LockDepth, 0);
    QCOMPARE(F.UI.PleaseWaitOpen, 0);
}

void TestDocument::openRefusesBadNameAndMissingDefault() {
    TFixture F;
    F.Write("Language/Kavr_FRA.txt", "");
    QVERIFY(!F.Doc.OpenPath(F.Path("Language/Kavr_FRA.txt")));
    QCOMPARE(F.UI.Texts(),
             std::vector<std::string>{"Invalid Language File " + F.Path("Language/Kavr_FRA.txt")});
    QCOMPARE(F.UI.Beeps, 1);
    F.UI.Clear();
    F.Write("Language/Kavr_User_FRA.str", Header);
    QVERIFY(!F.Doc.OpenPath(F.Path("Language/Kavr_User_FRA.str")));
    QCOMPARE(F.UI.Texts(), std::vector<std::string>{"Default Language File not found: " +
                                                    F.Path("Default/Kavr_User_ENU.str")});
    QCOMPARE(F.State.FFileKind, fkNone);
    QCOMPARE(F.UI.Beeps, 1);
}

void TestDocument::openSetsKindCodeAndMask() {
    TFixture F;
    F.WriteDefault("ABCDEFGHIJ", UserDefaultName);
    F.Write("Language/kavr_user_deu.str", Translations("ABC"));
    F.Doc.SetSoftware(TSoftware::Kavrino);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/kavr_user_deu.str")));
    QCOMPARE(F.State.FFileKind, fkUser);
    QCOMPARE(F.Events.Kinds.back(), fkUser);
    QCOMPARE(F.State.FSoftware, TSoftware::Pelmor);
    QCOMPARE(F.Events.Softwares.back(), TSoftware::Pelmor);
    QCOMPARE(F.State.FLanguageCode, std::string("DEU"));
    QCOMPARE(F.Events.Languages, std::vector<std::string>{"DEU"});
    QCOMPARE(F.State.FDefaultFileName, F.Path("Default/Kavr_User_ENU.str"));
    // The window's line box ends at the last row.
    QCOMPARE(F.Events.Opened, std::vector<std::string>{F.Path("Language/kavr_user_deu.str")});
    QCOMPARE(F.Grid.RowCount() - 1, 12);
    QCOMPARE(F.State.Bookmarks[0], -1);
}

// The window offers the languages of its box: a file whose name gives another code keeps the
// document's language. kavtool offers every code.
void TestDocument::fileLanguageOnlyWhenOffered() {
    TFixture F;
    F.WriteDefault("AB");
    F.Write("Language/Kavr_RUS.str", Translations("A"));
    F.Write("Language/Kavr_XYZ.str", Translations("A"));
    F.Doc.SetLanguageOffer([](const std::string& Code) { return Code == "RUS"; });
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_RUS.str")));
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_XYZ.str")));
    QCOMPARE(F.State.FLanguageCode, std::string("RUS"));
    QCOMPARE(int(F.State.FFontCharset), 204);
    QCOMPARE(F.Events.Languages, (std::vector<std::string>{"RUS", "RUS"}));
    F.Doc.SetLanguageOffer(nullptr);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_XYZ.str")));
    QCOMPARE(F.State.FLanguageCode, std::string("XYZ"));
}

void TestDocument::newDocumentForPelmor() {
    TFixture F;
    F.WriteDefault("AB", UserDefaultName);
    F.Grid.SetRowCount(5);
    F.Grid.SetCells(colTranslated, 1, "FRA - French");
    F.Doc.SetSoftware(TSoftware::Pelmor);
    F.Doc.FileNew();
    QCOMPARE(F.State.FFileKind, fkUser);
    QCOMPARE(F.Grid.RowCount(), 5);
    QCOMPARE(F.Col(colTranslated, 2), std::string("a"));
    QCOMPARE(F.Col(colTranslated, 3), std::string("b"));
    QCOMPARE(F.Col(colTranslated, 1), std::string());
    QCOMPARE(F.State.FLanguageCode, std::string());
    QCOMPARE(F.Events.Languages.back(), std::string());
    // The first row keeps what clearing the old rows put into it.
    QCOMPARE(F.Col(colFontName, 2), std::string("Arial"));
    QCOMPARE(F.Col(colFontStyle, 2), std::string("fsBold"));
    QCOMPARE(F.Col(colFontSize, 2), std::string("8"));
    QCOMPARE(F.Col(colFontStyle, 3), std::string());
    QCOMPARE(F.Col(colWidth, 3), std::string("40"));
    QCOMPARE(F.State.FFileName, std::string("Untitled"));
    QVERIFY(F.State.FUntitled);
    QCOMPARE(F.UI.StatusText(StatusLines), std::string("Total lines: 2"));
    QCOMPARE(F.UI.PleaseWaitShown, std::vector<std::string>{"Creating a new document ..."});
}

void TestDocument::saveWritesBacksUpAndReloads() {
    TFixture F;
    F.WriteDefault("ABC");
    const std::string Previous = Translations("ABC");
    F.Write("Language/Kavr_FRA.str", Previous);
    F.Write("Language/notes.txt", "other file");
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    F.Grid.SetCells(colTranslated, 3, "changed");
    F.Grid.SetColorCell(colMark, 4, 65535);
    F.Doc.SetModified(true);
    F.Doc.FileSave();
    QVERIFY(!F.State.FModified);
    QCOMPARE(F.Read("Backup/Kavr_FRA.str"), Previous);
    QCOMPARE(F.Read("Backup/notes.txt"), std::string("other file"));
    QCOMPARE(F.Read("Backup/Kavr_ENU.str"), F.Read("Default/Kavr_ENU.str"));
    std::string Expected =
        "#include \"KavLang.Inc\"\r\n\r\n//Kavrino Language Kavr_FRA.str\r\n\r\n";
    Expected += FormatItemLine("A", "tA", 16777215) + "\r\n";
    Expected += FormatItemLine("B", "changed", 16777215) + "\r\n";
    Expected += FormatItemLine("C", "tC", 65535) + "\r\n";
    QCOMPARE(F.Read("Language/Kavr_FRA.str"), Expected);
    QCOMPARE(F.UI.StatusText(StatusFile), "Saved file: " + F.Path("Language/Kavr_FRA.str"));
    // Reloaded: the table shows the file again, trailing row included.
    QCOMPARE(F.Grid.RowCount(), 6);
    QCOMPARE(F.Col(colTranslated, 3), std::string("changed"));
    QCOMPARE(F.UI.LockDepth, 0);
    QCOMPARE(F.UI.PleaseWaitOpen, 0);
}

void TestDocument::saveAsUserIntoMainName() {
    TFixture F;
    F.WriteDefault("AB", UserDefaultName);
    F.Doc.SetSoftware(TSoftware::Pelmor);
    F.Doc.FileNew();
    F.Doc.SetLanguage("fra");
    F.UI.SaveAnswers.push_back(F.Path("Language/Kavr_FRA.str"));
    F.Doc.FileSaveAs();
    QCOMPARE(F.UI.SaveProposals, std::vector<std::string>{"Kavr_User_FRA.str"});
    QVERIFY(QFile::exists(QString::fromStdString(F.Path("Language/Kavr_User_FRA.str"))));
    QVERIFY(!QFile::exists(QString::fromStdString(F.Path("Language/Kavr_FRA.str"))));
    // The caption and the message name the file really written.
    QCOMPARE(F.UI.Caption, std::string("Kavr_User_FRA.str - Kavrino Translation Tool "));
    QVERIFY(Told(F).find("The file is saved as Kavr_User_FRA.str") != std::string::npos);
    QVERIFY(!F.State.FUntitled);
    // Only the default file was backed up: the new document had no folder yet.
    QCOMPARE(QDir(QString::fromStdString(F.Path("Backup"))).entryList(QDir::Files),
             QStringList{"Kavr_User_ENU.str"});
    // Saving again over the existing file asks first.
    F.UI.SaveAnswers.push_back(F.Path("Language/Kavr_User_FRA.str"));
    F.UI.Answers.push_back(TModalResult::mrNo);
    F.Doc.FileSaveAs();
    QCOMPARE(F.UI.Texts().back(), "OK to overwrite " + F.Path("Language/Kavr_User_FRA.str"));
}

void TestDocument::saveAsNeedsLanguage() {
    TFixture F;
    F.WriteDefault("AB");
    F.Doc.FileNew();
    F.Doc.SetLanguage(" \t");
    F.Doc.FileSaveAs();
    QCOMPARE(F.UI.Texts(), std::vector<std::string>{"A language must be selected."});
    QCOMPARE(F.UI.Messages[0].Type, TMsgDlgType::mtInformation);
    QVERIFY(F.Events.LanguageMissingMarked);
    QVERIFY(F.UI.SaveProposals.empty());
}

void TestDocument::saveAsKeepsAnOpenableName_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("yes: the corrected name") << int(TModalResult::mrYes) << true;
    QTest::newRow("no: nothing written") << int(TModalResult::mrNo) << false;
}

// A file saved under a name File > Open refuses could not be opened again.
void TestDocument::saveAsKeepsAnOpenableName() {
    QFETCH(int, answer);
    QFETCH(bool, written);
    TFixture F;
    F.WriteDefault("AB");
    F.Doc.FileNew();
    F.Doc.SetLanguage("fra");
    F.UI.SaveAnswers.push_back(F.Path("Language/notes.str"));
    F.UI.Answers.push_back(static_cast<TModalResult>(answer));
    F.Doc.FileSaveAs();
    QVERIFY(F.UI.Texts().front().starts_with("notes.str is not a name File > Open accepts"));
    QVERIFY(F.UI.Texts().front().ends_with("Save as " + F.Path("Language/Kavr_FRA.str") + "?"));
    QVERIFY(!QFile::exists(QString::fromStdString(F.Path("Language/notes.str"))));
    QCOMPARE(QFile::exists(QString::fromStdString(F.Path("Language/Kavr_FRA.str"))), written);
    QCOMPARE(F.State.FUntitled, !written);
}

void TestDocument::saveAsksBeforeDroppingNamelessItems_data() {
    QTest::addColumn<int>("answer");
    QTest::newRow("yes: written without it") << int(TModalResult::mrYes);
    QTest::newRow("no: nothing changes") << int(TModalResult::mrNo);
}

// A name cleared by accident must not drop the item silently; a refused save leaves the
// table and its rows as they were.
void TestDocument::saveAsksBeforeDroppingNamelessItems() {
    QFETCH(int, answer);
    TFixture F;
    F.WriteDefault("ABC");
    const std::string Previous = Translations("ABC");
    F.Write("Language/Kavr_FRA.str", Previous);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    F.Put(colName, 3, " ");
    F.UI.Answers = {TModalResult(answer), TModalResult::mrYes};
    const bool Saved = F.Doc.SaveFile(F.State.FFileName);
    QVERIFY(F.UI.Texts().front().find("1 item(s) have no constant name") != std::string::npos);
    QVERIFY(F.UI.Texts().front().find("item 2") != std::string::npos);
    QCOMPARE(Saved, answer == int(TModalResult::mrYes));
    QCOMPARE(F.Grid.RowCount(), 6);
    if (!Saved) {
        QCOMPARE(F.Read("Language/Kavr_FRA.str"), Previous);
        QCOMPARE(F.Col(colName, 3), std::string(" "));
        QCOMPARE(F.Col(colTranslated, 3), std::string("tB"));
        QVERIFY(F.State.FModified);
    } else {
        QCOMPARE(QByteArray::fromStdString(F.Read("Language/Kavr_FRA.str")).count("Txt_"), 2);
    }
}

// Every cell of the table and the colour mark of every row, for comparing two tables.
static std::vector<std::string> TableSnapshot(const TStyledGridModel& Grid) {
    std::vector<std::string> Cells{std::to_string(Grid.RowCount())};
    for (int Row = 0; Row < Grid.RowCount(); ++Row) {
        for (int Col = 0; Col < Grid.ColCount(); ++Col)
            Cells.emplace_back(Grid.Cells(Col, Row));
        Cells.push_back(std::to_string(Grid.ColorCell(colMark, Row)));
    }
    return Cells;
}

void TestDocument::readBackEqualsFullLoad_data() {
    QTest::addColumn<QString>("Change");
    // The read-back may keep the default file's items only while the file and those columns
    // are as the last load left them.
    QTest::newRow("nothing but translations") << "none";
    QTest::newRow("default file rewritten") << "default file";
    QTest::newRow("default text edited") << "default text";
    QTest::newRow("font column edited") << "font column";
}

void TestDocument::readBackEqualsFullLoad() {
    QFETCH(QString, Change);
    TFixture F;
    F.WriteDefault("ABC");
    F.Write("Language/Kavr_FRA.str", Translations("ABC"));
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    {
        TDocumentEdit Edit(F.Doc, "replace");
        Edit.Replace(ItemOfRow(3), {5, "t", "changed", {}, "changed"});
    }
    F.Grid.SetCells(colBookmark, 2, "1");
    F.Grid.SetColorCell(colMark, 4, 65535);
    F.Grid.SetColorCell(colMark, 2, 255);
    F.Grid.SetColorCell(colMark, 2, 16777215);
    if (Change == "default file")
        F.WriteDefault("ABCD");
    else if (Change == "default text")
        F.Grid.SetCells(colDefault, 2, "edited");
    else if (Change == "font column")
        F.Grid.SetCells(colFontName, 3, "Courier New");
    QVERIFY(F.Doc.SaveFile(F.State.FFileName));

    TFixture Fresh;
    Fresh.Doc.SetFolders(F.State.FProgramDir);
    QVERIFY(Fresh.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    QCOMPARE(TableSnapshot(F.Grid), TableSnapshot(Fresh.Grid));
    QCOMPARE(F.Grid.RowCount(), Change == "default file" ? 7 : 6);
    QCOMPARE(F.Col(colTranslated, 3), std::string("changed"));
    QCOMPARE(F.Grid.ColorCell(colMark, 4), TColor(65535));
}

void TestDocument::saveRefusesUnwritableText() {
    TFixture F;
    F.WriteDefault("AB");
    const std::string Previous = Translations("AB");
    F.Write("Language/Kavr_FRA.str", Previous);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    F.Grid.SetCells(colTranslated, 3, "say \"hi\"");
    F.Doc.SetModified(true);
    F.Doc.FileSave();
    QVERIFY(F.State.FModified);
    QCOMPARE(F.Read("Language/Kavr_FRA.str"), Previous);
    QVERIFY(!QDir(QString::fromStdString(F.Path("Backup"))).exists());
    QVERIFY(F.UI.Texts().back().find("Txt_B: the text holds a double quote") != std::string::npos);
}

void TestDocument::saveFaults_data() {
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message"); // %1 the document's file, %2 the program folder
    QTest::newRow("disk full") << "disk full"
                               << "Disk Full: %1";
    QTest::newRow("read-only folder") << "read-only folder"
                                      << "File access denied: %1";
    QTest::newRow("backup folder is a file") << "backup folder is a file"
                                             << "Cannot create %2Backup/\nThe file was not saved.";
    QTest::newRow("default file removed") << "default file removed"
                                          << "File not found: %2Default/Kavr_ENU.str";
}

void TestDocument::saveFaults() {
    QFETCH(QString, fault);
    QFETCH(QString, message);
    if (fault == "read-only folder" && geteuid() == 0)
        QSKIP("file permissions do not bind the superuser; the full-disk case covers the "
              "failed write");
    TFixture F;
    F.WriteDefault("AB");
    const std::string Previous = Translations("AB");
    F.Write("Language/Kavr_FRA.str", Previous);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    F.Grid.SetCells(colTranslated, 2, std::string(8000, 'x'));
    F.Doc.SetModified(true);
    const QString Language = QString::fromStdString(F.Path("Language"));
    struct rlimit Saved {};
    getrlimit(RLIMIT_FSIZE, &Saved);
    auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    if (fault == "disk full") {
        struct rlimit Small = Saved;
        Small.rlim_cur = 4096; // the backups fit, the new file does not
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &Small), 0);
    } else if (fault == "read-only folder") {
        QFile::setPermissions(Language, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    } else if (fault == "backup folder is a file") {
        F.Write("Backup", "a file where the folder belongs");
    } else {
        QVERIFY(QFile::remove(QString::fromStdString(F.Path("Default/Kavr_ENU.str"))));
    }
    F.Doc.FileSave();
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);
    QFile::setPermissions(Language,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    QCOMPARE(QString::fromStdString(F.UI.Texts().back()),
             Filled(message, F.Path("Language/Kavr_FRA.str"), F.State.FProgramDir));
    QCOMPARE(F.Read("Language/Kavr_FRA.str"), Previous);
    QVERIFY(F.State.FModified);
    QCOMPARE(F.State.FFileName, F.Path("Language/Kavr_FRA.str"));
    QCOMPARE(F.Col(colTranslated, 2), std::string(8000, 'x'));
    QCOMPARE(QDir(Language).entryList(QDir::Files | QDir::Hidden), QStringList{"Kavr_FRA.str"});
    if (fault == "backup folder is a file")
        QCOMPARE(F.Read("Backup"), std::string("a file where the folder belongs"));
    QCOMPARE(F.UI.LockDepth, 0);
    QCOMPARE(F.UI.PleaseWaitOpen, 0);
}

void TestDocument::staleTempFilesRemoved() {
    TFixture F;
    F.WriteDefault("AB");
    F.Write("Language/Kavr_FRA.str", Translations("AB"));
    const std::string Dead = std::to_string(EndedProcess());
    const std::string Stale = "Language/.Kavr_FRA.str.kavtmp." + Dead + ".a1B2c3";
    // Another process that still runs may be writing this one; names of other forms are not
    // the tool's.
    const std::string Running =
        "Language/.Kavr_FRA.str.kavtmp." + std::to_string(getppid()) + ".a1B2c3";
    const std::string Foreign = "Language/Kavr_FRA.str.kavtmp." + Dead + ".a1B2c3";
    const std::string OtherForm = "Language/.Kavr_FRA.str.kavtmp." + Dead + ".tooLong7";
    for (const std::string& Name : {Stale, Running, Foreign, OtherForm})
        F.Write(Name, "part of a file");
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    QCOMPARE(F.Read(Stale), std::string("<missing>"));
    for (const std::string& Name : {Running, Foreign, OtherForm})
        QCOMPARE(F.Read(Name), std::string("part of a file"));
    // Saving into another folder clears that folder too.
    QDir(QString::fromStdString(F.Path(""))).mkpath("Other");
    const std::string OtherStale = "Other/.Kavr_DEU.str.kavtmp." + Dead + ".zzzzzz";
    F.Write(OtherStale, "part of a file");
    F.Doc.SetLanguage("DEU");
    F.UI.SaveAnswers.push_back(F.Path("Other/Kavr_DEU.str"));
    F.Doc.FileSaveAs();
    QCOMPARE(F.State.FFileName, F.Path("Other/Kavr_DEU.str"));
    QCOMPARE(F.Read(OtherStale), std::string("<missing>"));
    QCOMPARE(QDir(QString::fromStdString(F.Path("Other"))).entryList(QDir::Files | QDir::Hidden),
             QStringList{"Kavr_DEU.str"});
}

void TestDocument::loadFaults_data() {
    QTest::addColumn<bool>("inDefault");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message"); // how the message starts; %1 the damaged file
    QTest::addColumn<int>("line");        // the line it names: 0 none, -1 some line
    QTest::addColumn<bool>("kept");       // the open document stays as it was
    const QString NulByte = "The file holds a NUL byte: it is not a text file";
    const QString TooLong = "The line is longer than 4194304 bytes";
    for (bool D : {false, true}) {
        const auto Row = [D](const char* Name) {
            return &QTest::newRow(qPrintable(QString(D ? "default " : "translated ") + Name));
        };
        *Row("is a folder") << D << "folder"
                            << (D ? "Default Language File not found: %1"
                                  : "File access denied: %1")
                            << 0 << true;
        *Row("cannot be read") << D << "read error"
                               << "I/O Error: %1" << 1 << !D;
        *Row("has no read permission") << D << "no permission"
                                       << "File access denied: %1" << 0 << true;
        *Row("is binary garbage") << D << "garbage" << NulByte << -1 << !D;
        *Row("is UTF-16") << D << "utf-16" << NulByte << 1 << !D;
        *Row("is 200 MB of one line") << D << "huge line" << TooLong << 1 << !D;
    }
    QTest::newRow("translated has a colour of 40 digits")
        << false << "long colour"
        << "'1234567890123456789012345678901234567890' is not a valid integer value" << 5 << false;
}

void TestDocument::loadFaults() {
    QFETCH(bool, inDefault);
    QFETCH(QString, fault);
    QFETCH(QString, message);
    QFETCH(int, line);
    QFETCH(bool, kept);
    if (fault == "no permission" && geteuid() == 0)
        QSKIP("file permissions do not bind the superuser; the read-error case covers it");
    TFixture F;
    F.WriteDefault("ABC");
    F.WriteDefault("ABC", UserDefaultName);
    F.Write("Language/Kavr_DEU.str", Translations("ABC"));
    F.Write("Language/Kavr_User_FRA.str", Translations("ABC"));
    const std::string Previous = F.Path("Language/Kavr_DEU.str");
    QVERIFY(F.Doc.OpenPath(Previous));
    F.Grid.SetCells(colTranslated, 2, "edited");
    // The file opened is of the other kind: a failure must not leave the document switched.
    const std::string Opened = F.Path("Language/Kavr_User_FRA.str");
    const std::string Bad = inDefault ? F.Path("Default/Kavr_User_ENU.str") : Opened;
    const QString BadPath = QString::fromStdString(Bad);
    if (fault == "folder") {
        QVERIFY(QFile::remove(BadPath));
        QVERIFY(QDir().mkpath(BadPath));
    } else if (fault == "read error") {
        QVERIFY(QFile::remove(BadPath));
        QVERIFY(QFile::link("/proc/self/mem", BadPath)); // reading it fails with EIO
    } else if (fault == "no permission") {
        QVERIFY(QFile::setPermissions(BadPath, QFileDevice::Permissions()));
    } else if (fault == "garbage") {
        F.Write(Bad.substr(F.State.FProgramDir.size()), S(RandomBytes(1 << 16)));
    } else if (fault == "utf-16") {
        F.Write(Bad.substr(F.State.FProgramDir.size()),
                S(Utf16(F.Read(Bad.substr(F.State.FProgramDir.size())))));
    } else if (fault == "huge line") {
        WriteHugeLine(Bad, qint64(200) << 20);
    } else {
        F.Write(Bad.substr(F.State.FProgramDir.size()),
                std::string(Header) +
                    Item("A", "x", " {1234567890123456789012345678901234567890}"));
    }
    F.UI.Clear();
    const long PeakBefore = PeakMemoryKb();

    QVERIFY(!F.Doc.OpenPath(Opened));
    QVERIFY(PeakMemoryKb() - PeakBefore < 64 * 1024);
    std::vector<std::string> Shown = F.UI.Texts();
    Shown.insert(Shown.end(), F.UI.Errors.begin(), F.UI.Errors.end());
    QCOMPARE(Shown.size(), size_t(1));
    const QString Text = QString::fromStdString(Shown[0]);
    QVERIFY2(Text.startsWith(Filled(message, Bad)), qPrintable(Text));
    QVERIFY2(Text.contains(BadPath), qPrintable(Text));
    if (line > 0)
        QVERIFY2(Text.endsWith(QString("\nin %1, line %2").arg(BadPath).arg(line)),
                 qPrintable(Text));
    if (line < 0)
        QVERIFY2(Text.contains(QRegularExpression("\nin " + QRegularExpression::escape(BadPath) +
                                                  ", line \\d+$")),
                 qPrintable(Text));
    if (kept) {
        QCOMPARE(F.State.FFileName, Previous);
        QVERIFY(!F.State.FUntitled);
        QCOMPARE(F.State.FFileKind, fkMain);
        QCOMPARE(F.State.FSoftware, TSoftware::Kavrino);
        QCOMPARE(F.State.FDefaultFileName, F.Path("Default/Kavr_ENU.str"));
        QCOMPARE(F.Col(colTranslated, 2), std::string("edited"));
    } else {
        // The table was replaced by what was read before the fault: no longer the old file's.
        QCOMPARE(F.State.FFileName, std::string("Untitled"));
        QVERIFY(F.State.FUntitled);
    }
    QCOMPARE(F.UI.LockDepth, 0);
    QCOMPARE(F.UI.PleaseWaitOpen, 0);
}

void TestDocument::defaultFolderRemovedMidSession() {
    TFixture F;
    F.WriteDefault("AB");
    const std::string Previous = Translations("AB");
    F.Write("Language/Kavr_FRA.str", Previous);
    F.Write("Language/Kavr_DEU.str", Previous);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    F.Grid.SetCells(colTranslated, 2, "edited");
    F.Doc.SetModified(true);
    QVERIFY(QDir(QString::fromStdString(F.Path("Default"))).removeRecursively());
    const std::string Missing =
        "Default Language File not found: " + F.Path("Default/Kavr_ENU.str");

    F.Doc.FileSave();
    QCOMPARE(F.UI.Texts(),
             std::vector<std::string>{"File not found: " + F.Path("Default/Kavr_ENU.str")});
    QVERIFY(F.State.FModified);
    F.UI.Clear();
    // Open: refused before anything changes; the edit is still there to be saved later.
    F.UI.Answers.push_back(TModalResult::mrNo);
    F.UI.OpenAnswers.push_back(F.Path("Language/Kavr_DEU.str"));
    F.Doc.FileOpen();
    QCOMPARE(F.UI.Texts().back(), Missing);
    QCOMPARE(F.State.FFileName, F.Path("Language/Kavr_FRA.str"));
    QCOMPARE(F.Col(colTranslated, 2), std::string("edited"));
    F.UI.Clear();
    // New: refused, the table keeps the document.
    F.UI.Answers.push_back(TModalResult::mrNo);
    F.Doc.FileNew();
    QCOMPARE(F.UI.Texts().back(), Missing);
    QCOMPARE(F.Col(colTranslated, 2), std::string("edited"));
    QCOMPARE(F.Read("Language/Kavr_FRA.str"), Previous);
    QCOMPARE(F.UI.LockDepth, 0);
    QCOMPARE(F.UI.PleaseWaitOpen, 0);
}

void TestDocument::querySaveChanges() {
    TFixture F;
    QVERIFY(F.Doc.QuerySaveChanges());
    QVERIFY(F.UI.Messages.empty());
    F.Doc.SetModified(true);
    F.UI.Answers.push_back(TModalResult::mrNo);
    QVERIFY(F.Doc.QuerySaveChanges());
    QCOMPARE(F.UI.Texts(), std::vector<std::string>{"Save changes to Untitled?"});
    F.UI.Answers.push_back(TModalResult::mrCancel);
    QVERIFY_THROWS_EXCEPTION(SilentAbort, F.Doc.QuerySaveChanges());
    // Yes with a save that did not happen (no document kind): the changes are kept.
    F.UI.Answers.push_back(TModalResult::mrYes);
    QVERIFY_THROWS_EXCEPTION(SilentAbort, F.Doc.QuerySaveChanges());
    QVERIFY(F.State.FModified);
}

void TestDocument::replacedSpans_data() {
    QTest::addColumn<QString>("Before");
    QTest::addColumn<QString>("After");
    QTest::addColumn<QString>("Spans"); // start+length in After, comma separated
    // Old "zorglub" (any case) replaced by New "Abc".
    QTest::newRow("two hits, an Abc of its own between") << "Zorglub Abc et zorglub ici"
                                                         << "Abc Abc et Abc ici"
                                                         << "0+3,11+3";
    QTest::newRow("After does not follow from Before") << "Zorglub ici"
                                                       << "Abc la"
                                                       << "";
    QTest::newRow("one hit at the end") << "Quitter zorglub"
                                        << "Quitter Abc"
                                        << "8+3";
}

void TestDocument::replacedSpans() {
    QFETCH(QString, Before);
    QFETCH(QString, After);
    QFETCH(QString, Spans);
    QStringList Got;
    for (const TByteSpan& S :
         ReplacedSpans({1, "zorglub", "Abc", Before.toStdString(), After.toStdString()}))
        Got << QString("%1+%2").arg(S.Start).arg(S.Length);
    QCOMPARE(Got.join(','), Spans);
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_Document.moc"
