#include "ScriptedUserInterface.h"
#include "document/Document.h"
#include "document/TranslationTable.h"

#include <QtTest>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

using namespace kav;

namespace {

std::string Item(const std::string& Name, const std::string& Text, const std::string& Tail = "") {
    return "Txt_" + Name + " , \"" + Text + "\"" + Tail + "\r\n";
}

const char* Header = "#include \"KavLang.Inc\"\r\n\r\n//Kavrino Language x\r\n\r\n";

// A program folder with Default/ and Language/ and one document on top.
struct TFixture {
    QTemporaryDir Dir;
    TMainState State;
    TStyledGridModel Grid;
    ScriptedUserInterface UI;
    TDocument Doc{State, Grid, UI};

    TFixture() {
        QDir(Dir.path()).mkpath("Default");
        QDir(Dir.path()).mkpath("Language");
        State.FProgramDir = Dir.path().toStdString() + "/";
        State.FDefaultDir = State.FProgramDir + "Default/";
        State.FDefaultFileName = State.FDefaultDir + MainDefaultName;
        ConfigureTable(Grid);
    }
    std::string Path(const std::string& Relative) const { return State.FProgramDir + Relative; }
    void Write(const std::string& Relative, const std::string& Bytes) const {
        QFile F(QString::fromStdString(Path(Relative)));
        QVERIFY(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
        F.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
    }
    std::string Read(const std::string& Relative) const {
        QFile F(QString::fromStdString(Path(Relative)));
        if (!F.open(QIODevice::ReadOnly))
            return "<missing>";
        return F.readAll().toStdString();
    }
    // Default file with items A, B, C ... (default texts "a", "b", ...).
    void WriteDefault(const std::string& Names, const char* Name = MainDefaultName) {
        std::string Bytes = Header;
        for (char C : Names)
            Bytes += Item(std::string(1, C), std::string(1, char(C + 32)), " {40} {} {} {}");
        Write(std::string("Default/") + Name, Bytes);
    }
    std::string Col(int Column, int Row) const { return Grid.Cells(Column, Row); }
};

std::string Translations(const std::string& Names) {
    std::string Bytes = Header;
    for (char C : Names)
        Bytes += Item(std::string(1, C), std::string("t") + C, "  {16777215}");
    return Bytes;
}

} // namespace

class TestDocument : public QObject {
    Q_OBJECT
private slots:
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
    void newDocumentForPelmor();
    void saveWritesBacksUpAndReloads();
    void saveAsUserIntoMainName();
    void saveAsNeedsLanguage();
    void saveRemovesBlankRows();
    void saveRefusesUnwritableText();
    void failedWriteKeepsOldFileAndModified();
    void readOnlyFolderKeepsOldFile();
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
        QCOMPARE(Info.Kind, kind);
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
    QCOMPARE(F.UI.MaskEditTo, std::string("00002"));
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
    QTest::newRow("in order") << "ABCDE" << QStringList{"tA", "tB", "tC", "tD", "tE", ""};
    QTest::newRow("out of order") << "ABDCE" << QStringList{"tA", "tB", "tC", "tD", "tE", ""};
    QTest::newRow("reversed") << "EDCBA" << QStringList{"tA", "tB", "tC", "tD", "tE", ""};
    QTest::newRow("item missing") << "ABDE" << QStringList{"tA", "tB", "", "tD", "tE", ""};
}

void TestDocument::matchingByName() {
    QFETCH(QString, order);
    QFETCH(QStringList, column5);
    TFixture F;
    F.WriteDefault("ABCDE");
    F.Write("Language/Kavr_FRA.str", Translations(order.toStdString()));
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
    QCOMPARE(F.State.FFileKind, 0);
    QCOMPARE(F.UI.Beeps, 1);
}

void TestDocument::openSetsKindCodeAndMask() {
    TFixture F;
    F.WriteDefault("ABCDEFGHIJ", UserDefaultName);
    F.Write("Language/kavr_user_deu.str", Translations("ABC"));
    F.UI.Software = 0;
    QVERIFY(F.Doc.OpenPath(F.Path("Language/kavr_user_deu.str")));
    QCOMPARE(F.State.FFileKind, 1);
    QCOMPARE(F.UI.Software, 1);
    QCOMPARE(F.UI.LanguagesSelected, std::vector<std::string>{"DEU"});
    QCOMPARE(F.State.FDefaultFileName, F.Path("Default/Kavr_User_ENU.str"));
    QCOMPARE(F.UI.MaskEditTo, std::string("00012"));
    QCOMPARE(F.State.Bookmarks[0], -1);
}

void TestDocument::newDocumentForPelmor() {
    TFixture F;
    F.WriteDefault("AB", UserDefaultName);
    F.Grid.SetRowCount(5);
    F.Grid.SetCells(colTranslated, 1, "FRA - French");
    F.UI.Software = 1;
    F.Doc.FileNew();
    QCOMPARE(F.State.FFileKind, 1);
    QCOMPARE(F.Grid.RowCount(), 5);
    QCOMPARE(F.Col(colTranslated, 2), std::string("a"));
    QCOMPARE(F.Col(colTranslated, 3), std::string("b"));
    QCOMPARE(F.Col(colTranslated, 1), std::string());
    QCOMPARE(F.UI.Language, std::string());
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
    F.UI.Software = 1;
    F.Doc.FileNew();
    F.UI.Language = "fra - French (France)";
    F.UI.SaveAnswers.push_back(F.Path("Language/Kavr_FRA.str"));
    F.Doc.FileSaveAs();
    QCOMPARE(F.UI.SaveProposals, std::vector<std::string>{"Kavr_User_FRA.str"});
    QVERIFY(QFile::exists(QString::fromStdString(F.Path("Language/Kavr_User_FRA.str"))));
    QVERIFY(!QFile::exists(QString::fromStdString(F.Path("Language/Kavr_FRA.str"))));
    QCOMPARE(F.UI.Caption, std::string("Kavr_FRA.str - Kavrino Translation Tool "));
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
    F.UI.Language = " \t";
    F.Doc.FileSaveAs();
    QCOMPARE(F.UI.Texts(), std::vector<std::string>{"A language must be selected."});
    QCOMPARE(F.UI.Messages[0].Type, TMsgDlgType::mtInformation);
    QVERIFY(F.UI.LanguageMissingMarked);
    QVERIFY(F.UI.SaveProposals.empty());
}

void TestDocument::saveRemovesBlankRows() {
    TFixture F;
    F.WriteDefault("ABC");
    F.Write("Language/Kavr_FRA.str", Translations("ABC"));
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    F.Grid.InsertRow(3);
    F.Grid.InsertRow(3);
    F.Grid.SetCells(colName, 3, " ");
    QVERIFY(F.Doc.SaveFile(F.State.FFileName));
    QCOMPARE(QByteArray::fromStdString(F.Read("Language/Kavr_FRA.str")).count("\r\n"), 7);
    QCOMPARE(F.Grid.RowCount(), 6);
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

void TestDocument::failedWriteKeepsOldFileAndModified() {
    TFixture F;
    F.WriteDefault("AB");
    const std::string Previous = Translations("AB");
    F.Write("Language/Kavr_FRA.str", Previous);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    F.Grid.SetCells(colTranslated, 2, std::string(8000, 'x'));
    F.Doc.SetModified(true);
    struct rlimit Saved {};
    getrlimit(RLIMIT_FSIZE, &Saved);
    struct rlimit Small = Saved;
    Small.rlim_cur = 4096;
    auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &Small);
    F.Doc.FileSave();
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);
    QVERIFY(F.State.FModified);
    QCOMPARE(F.Read("Language/Kavr_FRA.str"), Previous);
    QCOMPARE(F.UI.Texts().back(), "Disk Full: " + F.Path("Language/Kavr_FRA.str"));
    QCOMPARE(F.Col(colTranslated, 2), std::string(8000, 'x'));
    QCOMPARE(F.UI.LockDepth, 0);
}

void TestDocument::readOnlyFolderKeepsOldFile() {
    if (geteuid() == 0)
        QSKIP("file permissions do not bind the superuser; the full-disk case covers the "
              "failed write");
    TFixture F;
    F.WriteDefault("AB");
    const std::string Previous = Translations("AB");
    F.Write("Language/Kavr_FRA.str", Previous);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    F.Doc.SetModified(true);
    QFile::setPermissions(QString::fromStdString(F.Path("Language")),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    F.Doc.FileSave();
    QFile::setPermissions(QString::fromStdString(F.Path("Language")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(F.State.FModified);
    QCOMPARE(F.Read("Language/Kavr_FRA.str"), Previous);
    QCOMPARE(F.UI.Texts().back(), "File access denied: " + F.Path("Language/Kavr_FRA.str"));
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

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_Document.moc"
