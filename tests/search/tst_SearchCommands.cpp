#include "DocumentFixture.h"
#include "ScriptedUserInterface.h"
#include "SearchFakes.h"
#include "document/TranslationTable.h"
#include "search/SearchCommands.h"

#include <QtTest>

using namespace kav;

namespace {

using TResults = std::vector<TModalResult>;

// A table of item rows whose translated texts are given, with the find and replace dialogs
// shown as the main window shows them.
struct TSearchFixture : kav::TFixture {
    TFakeSearchView View;
    TFakeSearchDialog FindDlg;
    TFakeSearchDialog ReplaceDlg;
    TSearchCommands Commands{Doc, UI, View, FindDlg, ReplaceDlg};
    TSearchState& Search = Commands.State();

    explicit TSearchFixture(const std::vector<std::string>& Translations) {
        OpenItems(Translations, "Default text");
        // Name and default text read-only: the narrow search, over the translations only.
        Grid.SetEditCol(colName, false);
        Grid.SetEditCol(colDefault, false);
        UI.Clear();
        FindDlg.OnFind = [this] { Commands.SearchFind(); };
        ReplaceDlg.OnFind = [this] { Commands.SearchFind(); };
    }
    std::string Text(int Row) const { return std::string(Grid.Cells(colTranslated, Row)); }
    std::string Mark(int Row) const { return Doc.Items().MarkText(ItemOfRow(Row)); }
    // The translation as the newest replacement left it, "" without a mark.
    std::string Verify(int Row) const {
        const TReplacements& Marks = Doc.Items().Marks(ItemOfRow(Row));
        return Marks.empty() ? std::string() : Marks.back().After;
    }
    void MarkRow(int Row) {
        TDocumentEdit Edit(Doc, "mark");
        Edit.Replace(ItemOfRow(Row), {1, "t", "t", {}, Text(Row)});
    }
    void OpenFind(const std::string& Text, TFindOptions Options = frDown) {
        Commands.FindMenuClick();
        Commands.FindDialogShow();
        FindDlg.Find = Text;
        FindDlg.Opts = Options;
    }
    void OpenReplace(const std::string& Find, const std::string& New, TFindOptions Options) {
        Commands.ReplaceMenuClick();
        Commands.ReplaceDialogShow();
        ReplaceDlg.Find = Find;
        ReplaceDlg.Replace = New;
        ReplaceDlg.Opts = Options;
    }
};

std::vector<std::string> Rows(int Count, const std::string& Text) {
    return std::vector<std::string>(static_cast<size_t>(Count), Text);
}

} // namespace

class TestSearchCommands : public QObject {
    Q_OBJECT
private slots:
    void cellTest_data();
    void cellTest();
    void cellTestUsesTheLanguagesLetters_data();
    void cellTestUsesTheLanguagesLetters();
    void emptyTextRunsToTheEnd();
    void narrowSearchWrapsToTheFirstItemRow();
    void wideSearchGoesOnInTheSameRow();
    void replaceAllAsksPerHit_data();
    void replaceAllAsksPerHit();
    void replaceAllWithoutHits();
    void replaceWritesTheMarkOfTheText();
    void replaceHonoursTheOptions_data();
    void replaceHonoursTheOptions();
    void replaceActsOnTheFoundRow_data();
    void replaceActsOnTheFoundRow();
    void undoRestoresTheTextBefore_data();
    void undoRestoresTheTextBefore();
    void undoAndAcceptAll();
    void markedRowNavigation_data();
    void markedRowNavigation();
    void enterRunsFindNextInOpenDialogs_data();
    void enterRunsFindNextInOpenDialogs();
    void dialogsShowAndClose();
};

void TestSearchCommands::cellTest_data() {
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("options");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QByteArray>("found");
    const int Case = frMatchCase, Word = frWholeWord;
    QTest::newRow("word, any case") << QByteArray("Press Cancel now") << QByteArray("cancel")
                                    << Word << true << QByteArray("Cancel");
    QTest::newRow("word and case") << QByteArray("Press Cancel now") << QByteArray("Cancel")
                                   << (Word | Case) << true << QByteArray("Cancel");
    QTest::newRow("word and case, other case")
        << QByteArray("Press Cancel now") << QByteArray("cancel") << (Word | Case) << false
        << QByteArray();
    QTest::newRow("case") << QByteArray("Cancel") << QByteArray("cancel") << Case << false
                          << QByteArray();
    QTest::newRow("part of a word")
        << QByteArray("Cancelled") << QByteArray("CANCEL") << 0 << true << QByteArray("Cancel");
    QTest::newRow("word, part of a word")
        << QByteArray("Cancelled") << QByteArray("cancel") << Word << false << QByteArray();
    // A later occurrence that is a whole word makes the hit, not only the first one.
    QTest::newRow("word, a later occurrence")
        << QByteArray("Cancelled Cancel") << QByteArray("Cancel") << Word << true
        << QByteArray("Cancel");
    QTest::newRow("word, several in a sentence")
        << QByteArray("Mode de passe") << QByteArray("DE") << Word << true << QByteArray("de");
    QTest::newRow("empty text") << QByteArray("Cancel") << QByteArray() << 0 << false
                                << QByteArray();
}

void TestSearchCommands::cellTest() {
    QFETCH(QByteArray, cell);
    QFETCH(QByteArray, text);
    QFETCH(int, options);
    QFETCH(bool, result);
    QFETCH(QByteArray, found);
    TSearchFixture F({cell.toStdString()});
    F.Search.FFoundText = "stale";
    F.Search.FSearchOptions = static_cast<TFindOptions>(frDown | options);
    QCOMPARE(F.Commands.Engine().CellMatches(colTranslated, 2, text.toStdString()), result);
    QCOMPARE(QByteArray::fromStdString(F.Search.FFoundText), found);
}

void TestSearchCommands::cellTestUsesTheLanguagesLetters_data() {
    QTest::addColumn<QString>("language"); // the document's language entry
    QTest::addColumn<int>("charset");
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("found"); // "" for no hit
    // Russian (1251): "ФАЙЛ" finds "файл".
    QTest::newRow("russian") << "RUS - Russian" << 204
                             << QByteArray("\xCE\xF2\xEA\xF0\xFB\xF2\xFC \xF4\xE0\xE9\xEB")
                             << QByteArray("\xD4\xC0\xC9\xCB") << QByteArray("\xF4\xE0\xE9\xEB");
    // Turkish (1254): "iptal" finds "İptal" and not "IPTAL".
    QTest::newRow("turkish dotted") << "TRK - Turkish" << 162 << QByteArray("Tamam \xDDptal")
                                    << QByteArray("iptal") << QByteArray("\xDDptal");
    QTest::newRow("turkish dotless")
        << "TRK - Turkish" << 162 << QByteArray("IPTAL") << QByteArray("iptal") << QByteArray();
    // Greek (1253): "αρχείο" finds "ΑΡΧΕΙΟ".
    QTest::newRow("greek") << "ELL - Greek" << 161 << QByteArray("\xC1\xD1\xD7\xC5\xC9\xCF")
                           << QByteArray("\xE1\xF1\xF7\xE5\xDF\xEF")
                           << QByteArray("\xC1\xD1\xD7\xC5\xC9\xCF");
}

void TestSearchCommands::cellTestUsesTheLanguagesLetters() {
    QFETCH(QString, language);
    QFETCH(int, charset);
    QFETCH(QByteArray, cell);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, found);
    TSearchFixture F({cell.toStdString()});
    F.Doc.AdoptLanguage(language.left(3).toStdString());
    F.Doc.SetCharset(static_cast<std::uint8_t>(charset));
    F.Search.FSearchOptions = frDown | frWholeWord;
    QCOMPARE(F.Commands.Engine().CellMatches(colTranslated, 2, text.toStdString()),
             !found.isEmpty());
    QCOMPARE(QByteArray::fromStdString(F.Search.FFoundText), found);
}

void TestSearchCommands::emptyTextRunsToTheEnd() {
    TSearchFixture F({"a", "b"});
    F.OpenFind("");
    F.FindDlg.FindNextClick();
    QCOMPARE(F.UI.Texts(), std::vector<std::string>{"End of grid. Search string not found."});
    QCOMPARE(F.UI.Messages[0].Type, TMsgDlgType::mtInformation);
    QCOMPARE(F.Search.FSearchRow, F.Grid.RowCount());
    QCOMPARE(F.Search.FFoundRow, 0);
    QVERIFY(F.View.Enabled);
    QCOMPARE(F.View.Disables, 1);
}

void TestSearchCommands::narrowSearchWrapsToTheFirstItemRow() {
    // Rows 2..9; hits in rows 3 and 7.
    std::vector<std::string> Texts = Rows(8, "nothing");
    Texts[1] = "Open the file";
    Texts[5] = "Open File";
    TSearchFixture F(Texts);
    F.View.Top = 4;
    F.OpenFind("file");
    F.FindDlg.FindNextClick();
    QCOMPARE(F.View.Top, 7);
    QCOMPARE(F.Search.FFoundRow, 7);
    QCOMPARE(F.Search.FFoundCol, int(colTranslated));
    QCOMPARE(F.Search.FSearchRow, 8);
    QCOMPARE(F.View.Highlights.back(), std::make_pair(7, std::string("file")));
    F.FindDlg.FindNextClick();
    QCOMPARE(F.UI.Texts(), std::vector<std::string>{"End of grid. Search string not found."});
    F.FindDlg.FindNextClick();
    QCOMPARE(F.View.Top, 3);
    QCOMPARE(F.UI.Messages.size(), size_t(1));
}

void TestSearchCommands::wideSearchGoesOnInTheSameRow() {
    TSearchFixture F({"Default text too"});
    F.Grid.SetEditCol(colName, true);
    F.Grid.SetEditCol(colDefault, true);
    F.OpenFind("TEXT");
    F.FindDlg.FindNextClick();
    QCOMPARE(F.Search.FFoundCol, int(colDefault));
    QCOMPARE(F.Search.FSearchCol, int(colTranslated));
    F.FindDlg.FindNextClick();
    QCOMPARE(F.Search.FFoundCol, int(colTranslated));
    QCOMPARE(F.Search.FFoundRow, 2);
    QVERIFY(F.UI.Messages.empty());
}

void TestSearchCommands::replaceAllAsksPerHit_data() {
    QTest::addColumn<TResults>("answers");
    QTest::addColumn<QStringList>("expected"); // the translated texts afterwards
    QTest::addColumn<int>("questions");
    QTest::addColumn<QString>("summary"); // "" when no summary is shown
    QTest::addColumn<bool>("modified");
    using R = TModalResult;
    QTest::newRow("yes, no, all") << TResults{R::mrYes, R::mrNo, R::mrAll}
                                  << QStringList{"Abort", "Cancel", "Abort", "x", "Abort", "Abort"}
                                  << 3 << "Found 4 occurences in 4 items" << true;
    QTest::newRow("all no") << TResults{R::mrNo, R::mrNo, R::mrNo, R::mrNo, R::mrNo}
                            << QStringList{"Cancel", "Cancel", "Cancel", "x", "Cancel", "Cancel"}
                            << 5 << "Found 0 occurences in 0 items" << false;
    QTest::newRow("cancel keeps what was done")
        << TResults{R::mrYes, R::mrCancel}
        << QStringList{"Abort", "Cancel", "Cancel", "x", "Cancel", "Cancel"} << 2 << "" << true;
}

void TestSearchCommands::replaceAllAsksPerHit() {
    QFETCH(TResults, answers);
    QFETCH(QStringList, expected);
    QFETCH(int, questions);
    QFETCH(QString, summary);
    QFETCH(bool, modified);
    TSearchFixture F({"Cancel", "Cancel", "cancel", "x", "Cancel", "Cancel"});
    F.OpenReplace("CANCEL", "Abort", frDown | frReplaceAll);
    F.UI.Answers.assign(answers.begin(), answers.end());
    F.Commands.SearchReplace();
    QStringList Texts;
    for (int Row = 2; Row < 8; ++Row)
        Texts << QString::fromStdString(F.Text(Row));
    // "cancel" in row 4 is replaced as written in the cell.
    expected[2] = expected[2] == "Cancel" ? "cancel" : expected[2];
    QCOMPARE(Texts, expected);
    std::vector<std::string> Said = F.UI.Texts();
    QCOMPARE(std::count(Said.begin(), Said.end(), "Replace this occurence ?"), long(questions));
    QCOMPARE(F.UI.Messages[0].Buttons, TMsgDlgButtons(mbYes | mbNo | mbCancel | mbAll));
    QCOMPARE(QString::fromStdString(Said.back()),
             summary.isEmpty() ? QString("Replace this occurence ?") : summary);
    QCOMPARE(F.State.FModified, modified);
    QVERIFY(F.View.Enabled);
}

void TestSearchCommands::replaceAllWithoutHits() {
    TSearchFixture F({"a", "b"});
    F.OpenReplace("zzz", "y", frDown | frReplaceAll);
    F.Commands.SearchReplace();
    QCOMPARE(F.UI.Texts(), std::vector<std::string>{"Search string not found"});
    QVERIFY(!F.State.FModified);
}

void TestSearchCommands::replaceWritesTheMarkOfTheText() {
    // Whole word without match case finds "cancel" as "Cancel"; the position is counted in the
    // text before the change, and every exact occurrence is replaced.
    TSearchFixture F({"Click here Cancel or Cancel"});
    F.OpenReplace("cancel", "Abort", frDown | frWholeWord | frReplaceAll);
    F.UI.Answers = {TModalResult::mrYes};
    F.Commands.SearchReplace();
    QCOMPARE(F.Mark(2), std::string("[12] <Cancel>  @Abort@"));
    QCOMPARE(F.Text(2), std::string("Click here Abort or Abort"));
    QCOMPARE(F.Verify(2), F.Text(2));
    QCOMPARE(F.UI.Texts().back(), std::string("Found 2 occurences in 1 items"));
}

void TestSearchCommands::replaceHonoursTheOptions_data() {
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<QByteArray>("find");
    QTest::addColumn<int>("options");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>("mark");
    QTest::addColumn<QString>("summary");
    const int Case = frMatchCase, Word = frWholeWord;
    QTest::newRow("whole word leaves longer words")
        << QByteArray("Cancel Cancelled") << QByteArray("Cancel") << Word
        << QByteArray("X Cancelled") << QByteArray("[1] <Cancel>  @X@")
        << "Found 1 occurences in 1 items";
    QTest::newRow("whole word after a part of a word")
        << QByteArray("Mode de passe de") << QByteArray("de") << Word
        << QByteArray("Mode X passe X") << QByteArray("[6] <de>  @X@")
        << "Found 2 occurences in 1 items";
    QTest::newRow("every case form")
        << QByteArray("copie Copier COPIE") << QByteArray("copie") << 0 << QByteArray("X Xr X")
        << QByteArray("[1] <copie>  @X@") << "Found 3 occurences in 1 items";
    QTest::newRow("every case form, whole words")
        << QByteArray("Copier COPIE copie") << QByteArray("copie") << Word
        << QByteArray("Copier X X") << QByteArray("[8] <COPIE>  @X@")
        << "Found 2 occurences in 1 items";
    QTest::newRow("match case") << QByteArray("copie Copie") << QByteArray("Copie") << Case
                                << QByteArray("copie X") << QByteArray("[7] <Copie>  @X@")
                                << "Found 1 occurences in 1 items";
}

void TestSearchCommands::replaceHonoursTheOptions() {
    QFETCH(QByteArray, cell);
    QFETCH(QByteArray, find);
    QFETCH(int, options);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, mark);
    QFETCH(QString, summary);
    TSearchFixture F({cell.toStdString(), "nothing"});
    F.OpenReplace(find.toStdString(), "X",
                  static_cast<TFindOptions>(frDown | frReplaceAll | options));
    F.UI.Answers = {TModalResult::mrYes};
    F.Commands.SearchReplace();
    QCOMPARE(QByteArray::fromStdString(F.Text(2)), after);
    QCOMPARE(QByteArray::fromStdString(F.Mark(2)), mark);
    QCOMPARE(QString::fromStdString(F.UI.Texts().back()), summary);
}

void TestSearchCommands::replaceActsOnTheFoundRow_data() {
    QTest::addColumn<QByteArray>("find");
    QTest::addColumn<bool>("editDefault");
    QTest::addColumn<int>("top"); // where the view's top row is when Replace is pressed
    QTest::addColumn<QByteArray>("mark");
    QTest::newRow("after a hit") << QByteArray("cancel") << false << 3
                                 << QByteArray("[7] <Cancel>  @Abort@");
    QTest::newRow("no hit before") << QByteArray("zzz") << false << 3 << QByteArray();
    // The hit is in the default text, which the translated text does not hold.
    QTest::newRow("hit in column 4") << QByteArray("default") << true << 3 << QByteArray();
}

void TestSearchCommands::replaceActsOnTheFoundRow() {
    QFETCH(QByteArray, find);
    QFETCH(bool, editDefault);
    QFETCH(int, top);
    QFETCH(QByteArray, mark);
    // The row at the top holds the text too; only the found row may change.
    TSearchFixture F({"Press Cancel", "Cancel"});
    F.Grid.SetEditCol(colDefault, editDefault);
    F.OpenReplace(find.toStdString(), "Abort", frDown);
    F.ReplaceDlg.FindNextClick();
    F.View.Top = top;
    F.UI.Clear();
    F.Commands.SearchReplace();
    QCOMPARE(QByteArray::fromStdString(F.Mark(2)), mark);
    QCOMPARE(F.Text(2), std::string(mark.isEmpty() ? "Press Cancel" : "Press Abort"));
    QCOMPARE(F.Text(3), std::string("Cancel"));
    QCOMPARE(F.State.FModified, !mark.isEmpty());
    QCOMPARE(F.UI.Beeps, mark.isEmpty() ? 1 : 0);
    QVERIFY(F.UI.Messages.empty());
    // The hit is used up: a second press changes nothing.
    F.Commands.SearchReplace();
    QCOMPARE(F.Text(2), std::string(mark.isEmpty() ? "Press Cancel" : "Press Abort"));
}

// Each step: "old>new" replaces all in row 2 (answered All), "undo" undoes one, "undo all"
// undoes every row, "edit:TEXT" edits the row as the grid does, "accept" accepts the mark.
void TestSearchCommands::undoRestoresTheTextBefore_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>("mark");
    QTest::newRow("new text there before")
        << QByteArray("Abort or Cancel") << QStringList{"Cancel>Abort", "undo"}
        << QByteArray("Abort or Cancel") << QByteArray();
    QTest::newRow("two replacements, one undo")
        << QByteArray("Cancel the file") << QStringList{"Cancel>Abort", "file>Abort", "undo"}
        << QByteArray("Abort the file") << QByteArray("[1] <Cancel>  @Abort@");
    QTest::newRow("two replacements, two undos")
        << QByteArray("Cancel the file")
        << QStringList{"Cancel>Abort", "file>Abort", "undo", "undo"}
        << QByteArray("Cancel the file") << QByteArray();
    QTest::newRow("undo all") << QByteArray("a b") << QStringList{"a>b", "b>c", "undo all"}
                              << QByteArray("a b") << QByteArray();
    QTest::newRow("an edit drops the mark")
        << QByteArray("Cancel") << QStringList{"Cancel>Abort", "edit:Stop", "undo"}
        << QByteArray("Stop") << QByteArray();
    QTest::newRow("accepted") << QByteArray("Cancel")
                              << QStringList{"Cancel>Abort", "accept", "undo"}
                              << QByteArray("Abort") << QByteArray();
    QTest::newRow("after an accept only the newest")
        << QByteArray("Cancel") << QStringList{"Cancel>Abort", "accept", "Abort>Stop", "undo all"}
        << QByteArray("Abort") << QByteArray();
}

void TestSearchCommands::undoRestoresTheTextBefore() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, steps);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, mark);
    TSearchFixture F({text.toStdString(), "Abort"});
    const TItemId Item = ItemOfRow(2);
    for (const QString& Step : steps) {
        if (Step == "undo") {
            F.Doc.UndoReplacement(Item);
        } else if (Step == "undo all") {
            F.Doc.UndoAllReplacements();
        } else if (Step == "accept") {
            F.Doc.AcceptReplacement(Item);
        } else if (Step.startsWith("edit:")) {
            F.Doc.EditItem(Item, TItemField::Translation, Step.mid(5).toStdString());
        } else {
            const QStringList Texts = Step.split('>');
            F.OpenReplace(Texts[0].toStdString(), Texts[1].toStdString(),
                          frDown | frMatchCase | frWholeWord | frReplaceAll);
            F.UI.Answers = {TModalResult::mrYes, TModalResult::mrNo};
            F.Commands.SearchReplace();
        }
    }
    QCOMPARE(QByteArray::fromStdString(F.Text(2)), after);
    QCOMPARE(QByteArray::fromStdString(F.Mark(2)), mark);
    QCOMPARE(F.Verify(2), mark.isEmpty() ? std::string() : F.Text(2));
    QCOMPARE(F.Text(3), std::string("Abort")); // a row never replaced is never undone
}

void TestSearchCommands::undoAndAcceptAll() {
    TSearchFixture F(Rows(4, "Cancel"));
    F.OpenReplace("Cancel", "Abort", frDown | frReplaceAll);
    F.UI.Answers = {TModalResult::mrAll};
    F.Commands.SearchReplace();
    F.Doc.AcceptReplacement(ItemOfRow(3));
    QCOMPARE(F.Mark(3), std::string());
    QCOMPARE(F.Text(3), std::string("Abort"));
    F.Doc.SetModified(false);
    F.Doc.UndoAllReplacements();
    QCOMPARE(F.Text(2), std::string("Cancel"));
    QCOMPARE(F.Text(3), std::string("Abort"));
    QCOMPARE(F.Text(5), std::string("Cancel"));
    QVERIFY(F.State.FModified);
    F.MarkRow(4);
    F.Doc.AcceptAllReplacements();
    QCOMPARE(F.Doc.Items().MarkedCount(), 0);
}

void TestSearchCommands::markedRowNavigation_data() {
    QTest::addColumn<QList<int>>("marked");
    QTest::addColumn<int>("top");
    QTest::addColumn<bool>("up");
    QTest::addColumn<int>("result");
    QTest::newRow("up from row 3") << QList<int>{2} << 3 << true << 2;
    QTest::newRow("up from row 2") << QList<int>{2} << 2 << true << -1;
    QTest::newRow("up skips unmarked") << QList<int>{2, 4} << 7 << true << 4;
    QTest::newRow("down") << QList<int>{2, 6} << 2 << false << 6;
    QTest::newRow("down, none below") << QList<int>{2} << 5 << false << -1;
}

void TestSearchCommands::markedRowNavigation() {
    QFETCH(QList<int>, marked);
    QFETCH(int, top);
    QFETCH(bool, up);
    QFETCH(int, result);
    TSearchFixture F(Rows(8, "t"));
    for (int Row : marked)
        F.MarkRow(Row);
    F.View.Top = top;
    F.View.Current = top;
    const int Row = up ? F.Commands.SearchUpButtonClick() : F.Commands.SearchDownButtonClick();
    QCOMPARE(Row, result);
    // The marked row found is the row worked on next.
    QCOMPARE(F.View.Top, result < 0 ? top : result);
    QCOMPARE(F.View.Current, result < 0 ? top : result);
}

void TestSearchCommands::enterRunsFindNextInOpenDialogs_data() {
    using TPlace = TSearchCommands::TKeyPlace;
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("findOpen");
    QTest::addColumn<int>("place");
    QTest::addColumn<bool>("handled");
    QTest::newRow("enter in the dialog") << 13 << true << int(TPlace::FindWindow) << true;
    QTest::newRow("enter in the grid") << 13 << true << int(TPlace::Grid) << true;
    QTest::newRow("enter in another window") << 13 << true << int(TPlace::Elsewhere) << false;
    QTest::newRow("enter, no dialog") << 13 << false << int(TPlace::Grid) << false;
    QTest::newRow("other key") << 9 << true << int(TPlace::FindWindow) << false;
}

void TestSearchCommands::enterRunsFindNextInOpenDialogs() {
    QFETCH(int, key);
    QFETCH(bool, findOpen);
    QFETCH(int, place);
    QFETCH(bool, handled);
    TSearchFixture F({"x", "Cancel"});
    F.OpenFind("cancel");
    F.FindDlg.Open = findOpen;
    QCOMPARE(F.Commands.ApplicationShortCut(key, TSearchCommands::TKeyPlace(place)), handled);
    QCOMPARE(F.Search.FFoundRow, handled ? 3 : 0);
}

void TestSearchCommands::dialogsShowAndClose() {
    TSearchFixture F({"Cancel"});
    F.Search.FSearchText = "last";
    F.View.Left = 40;
    F.View.TopEdge = 50;
    F.Doc.SetCharset(204);
    F.View.Top = 2;
    F.OpenFind("Cancel");
    QCOMPARE(F.FindDlg.X, 40);
    QCOMPARE(F.FindDlg.Charset, 204);
    QCOMPARE(F.Search.FSearchCol, 1);
    QCOMPARE(F.Commands.FindDialogTag(), 1);
    F.FindDlg.FindNextClick();
    QCOMPARE(F.Commands.FoundRowHighlightText(), std::string("Cancel"));
    F.FindDlg.X = 70;
    F.Commands.FindDialogClose();
    QCOMPARE(F.View.Left, 70);
    QCOMPARE(F.Search.FFoundRow, 0);
    QCOMPARE(F.Commands.FindDialogTag(), 0);
    QCOMPARE(F.Commands.FoundRowHighlightText(), std::string());
    // Reopening offers the text searched last.
    F.Commands.FindMenuClick();
    QCOMPARE(F.FindDlg.Find, std::string("Cancel"));
}

QTEST_GUILESS_MAIN(TestSearchCommands)
#include "tst_SearchCommands.moc"
