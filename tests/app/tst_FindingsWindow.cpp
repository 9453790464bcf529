#include "MainWindowFixture.h"
#include "document/TranslationTable.h"
#include "editing/CellDrawing.h"
#include "editing/TranslationView.h"
#include "gridview/StyledStringGrid.h"
#include "measure/TextMeasure.h"

#include <QtTest>

#include <QComboBox>
#include <QDockWidget>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTreeWidget>

using namespace kav;

namespace {

// Rows of the sample default file's first items (item N is row N + 1).
constexpr int NewProject = 3;  // "New Project..." {125}
constexpr int NewDocument = 4; // "New Document..." {155}
constexpr int OpenProject = 5; // "Open Project..." {135}
constexpr int OpenRecent = 6;  // "Open Recent" {140}

// The sample program folder with a French file whose first items have known findings: a lost
// ellipsis (warning), a text far wider than its space (error) and a trailing blank (warning).
// The other items are not translated yet, which is no finding; the one note is the sample's own
// (the English of COL_DUE_DATE already fills 97 % of its width: room-to-grow).
// The French file of the fixture.
const QByteArray FindingsFrench = "Txt_MENU_FILE , \"Fichier\"\r\n"
                                  "Txt_MENU_FILE_NEW_PROJECT , \"Nouveau projet\"\r\n"
                                  "Txt_MENU_FILE_NEW_DOCUMENT , \"Nouveau document...\"\r\n"
                                  "Txt_MENU_FILE_OPEN_PROJECT , \"Ouvrir un projet existant "
                                  "depuis le disque local ou le r\xE9seau...\"\r\n"
                                  "Txt_MENU_FILE_OPEN_RECENT , \"Ouvrir r\xE9"
                                  "cent \"\r\n";

struct TFindingsWindow {
    TProgramFolder Folder;
    std::unique_ptr<TWindow> W;
    // French: the translated file; Files: more files of the program folder, by their path in it.
    explicit TFindingsWindow(const QByteArray& French = FindingsFrench,
                             const std::map<QString, QByteArray>& Files = {}) {
        for (const auto& [Path, Bytes] : Files)
            Write(Path, Bytes);
        Write("Language/Kavr_FRA.str", French);
        W = std::make_unique<TWindow>(Folder.Home(), Folder.Home() + "Language/Kavr_FRA.str");
        W->Form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&W->Form));
        QCoreApplication::processEvents();
    }
    void Write(const QString& Path, const QByteArray& Bytes) {
        const QString Full = QString::fromStdString(Folder.Home()) + Path;
        QDir().mkpath(QFileInfo(Full).absolutePath());
        QFile File(Full);
        if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(Full));
        File.write(Bytes);
    }
    // The hint of a row's translated cell, as the mouse over it makes it.
    std::string HintOver(int Row) {
        QTest::mouseMove(Grid().viewport(), Grid().CellRect(colTranslated, Row).center());
        QCoreApplication::processEvents();
        const std::string* Hint = Form().Table().FindHintCell(colTranslated, Row);
        return Hint ? *Hint : std::string();
    }
    TMainForm& Form() { return W->Form; }
    TStyledStringGrid& Grid() { return *W->Form.strGrid; }
    QString Counts() { return Form().FindingsPanel->text(); }
    void Press(int Key, Qt::KeyboardModifiers Modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(Key), Modifiers);
        QCoreApplication::processEvents();
    }
    QImage Grab() { return Grid().viewport()->grab().toImage(); }
    // The corner pixel of a row's translated cell, where its marker sits.
    QColor Corner(const QImage& Image, int Row) {
        const QRect C = Grid().CellRect(colTranslated, Row);
        return Image.pixelColor(C.left() + C.width() - 2, C.top() + 1);
    }
};

} // namespace

class TestFindingsWindow : public QObject {
    Q_OBJECT
private slots:
    void statusBarCountsFollowEdits();
    void keysWalkTheMarkedRows();
    void markerInTheCornerNotOverTheBand();
    void hintListsTheFindings();
    void hintFollowsAnEdit();
    void misspeltWordUnderlinedAndCorrectedFromThePopup();
    void wordAddedToTheProjectDictionary();
    void panelListsFiltersAndGoesToTheItem();
    void changedEnglishMarkedUntilReviewed();
    void languageWithoutDictionarySaysSo();
    void fileReadAgainKeepsOrFollowsTheFindings();
    void filledWidthInTheHintAndTheBand_data();
    void filledWidthInTheHintAndTheBand();
    void productDisplayFromTheMenu();

private:
    // Types Text into the translated cell of Row, as the translator does.
    static void Type(TFindingsWindow& F, int Row, const std::string& Text);
    // The pop-up of Row's translated cell, opened with the right mouse button, and its
    // spelling submenu for Word (null when it has none).
    static QMenu* SpellingMenuOf(TFindingsWindow& F, int Row, const QString& Word);
};

void TestFindingsWindow::Type(TFindingsWindow& F, int Row, const std::string& Text) {
    F.Grid().SetTopRow(FirstItemRow);
    QTest::mouseClick(F.Grid().viewport(), Qt::LeftButton, {},
                      F.Grid().CellRect(colTranslated, Row).center());
    for (const char C : Text)
        QTest::keyClick(QApplication::focusWidget(), C);
    F.Press(Qt::Key_Return);
    QTRY_COMPARE(QString::fromStdString(std::string(F.Form().Table().Cells(colTranslated, Row))),
                 QString::fromStdString(Text));
}

QMenu* TestFindingsWindow::SpellingMenuOf(TFindingsWindow& F, int Row, const QString& Word) {
    F.Grid().SetRow(FirstItemRow);
    QTest::mouseClick(F.Grid().viewport(), Qt::RightButton, {},
                      F.Grid().CellRect(colTranslated, Row).center());
    QMenu& Menu = *F.Form().pmnuGridRowAction;
    if (!QTest::qWaitFor([&Menu] { return Menu.isVisible(); }))
        return nullptr;
    QMenu* Found = nullptr;
    for (QAction* A : Menu.actions())
        if (A->isVisible() && A->menu() && A->text().contains(Word))
            Found = A->menu();
    return Found;
}

// The wavy line goes under the misspelt word, below the band; a suggestion from the cell's
// pop-up puts itself in place of the word, as one undo step.
void TestFindingsWindow::misspeltWordUnderlinedAndCorrectedFromThePopup() {
    TFindingsWindow F;
    Type(F, NewDocument, "Nouveau documnet...");
    QTRY_COMPARE(F.Counts(), QString("Findings: 1 errors, 3 warnings, 1 info"));
    F.Grid().SetRow(FirstItemRow);
    QCoreApplication::processEvents();
    TCellDrawing& Drawing = F.Form().View()->Drawing();
    const std::vector<QRect> Lines = Drawing.MisspeltRects(NewDocument);
    QCOMPARE(Lines.size(), size_t(1));
    const QRect Band = Drawing.BandRect(NewDocument);
    QVERIFY(!Lines[0].intersects(Band));
    // Under the second word, not the first.
    const QRect Cell = F.Grid().CellRect(colTranslated, NewDocument);
    QVERIFY(Lines[0].left() > Cell.left() + 20);
    const QImage Image = F.Grab();
    int Red = 0;
    for (int X = Lines[0].left(); X <= Lines[0].right(); ++X)
        for (int Y = Lines[0].top(); Y <= Lines[0].bottom(); ++Y)
            Red += Image.pixelColor(X, Y) == MisspeltColour;
    QVERIFY2(Red >= Lines[0].width() / 2, qPrintable(QString::number(Red)));
    // No line under a word spelt right.
    QVERIFY(Drawing.MisspeltRects(NewProject).empty());

    QMenu* Spelling = SpellingMenuOf(F, NewDocument, "documnet");
    QVERIFY(Spelling);
    QAction* Suggestion = nullptr;
    for (QAction* A : Spelling->actions())
        if (A->text() == "document")
            Suggestion = A;
    QVERIFY(Suggestion);
    Suggestion->trigger();
    F.Form().pmnuGridRowAction->hide();
    QTRY_COMPARE(F.Form().Table().Cells(colTranslated, NewDocument),
                 std::string("Nouveau document..."));
    QTRY_COMPARE(F.Counts(), QString("Findings: 1 errors, 2 warnings, 1 info"));
    QVERIFY(Drawing.MisspeltRects(NewDocument).empty());
    // One step, named after its item, that Edit > Undo takes back.
    QVERIFY2(F.Form().UndoMenu->text().contains("Spelling of item 3"),
             qPrintable(F.Form().UndoMenu->text()));
    F.Form().UndoMenu->trigger();
    QTRY_COMPARE(
        QString::fromStdString(std::string(F.Form().Table().Cells(colTranslated, NewDocument))),
        QString("Nouveau documnet..."));
}

// "Add to dictionary" keeps the word in the program folder's list of the language: no row
// reports it again, and the next session knows it.
void TestFindingsWindow::wordAddedToTheProjectDictionary() {
    TFindingsWindow F;
    Type(F, NewDocument, "Nouveau Kavrinoscope...");
    QTRY_COMPARE(F.Counts(), QString("Findings: 1 errors, 3 warnings, 1 info"));
    QMenu* Spelling = SpellingMenuOf(F, NewDocument, "Kavrinoscope");
    QVERIFY(Spelling);
    QAction* Add = Spelling->findChild<QAction*>("AddToDictionaryMenu");
    QVERIFY(Add);
    Add->trigger();
    F.Form().pmnuGridRowAction->hide();
    QTRY_COMPARE(F.Counts(), QString("Findings: 1 errors, 2 warnings, 1 info"));
    QFile List(QString::fromStdString(F.Folder.Home() + "Dictionary/FRA.dic"));
    QVERIFY(List.open(QIODevice::ReadOnly));
    QCOMPARE(List.readAll(), QByteArray("Kavrinoscope\n"));
    // The pop-up of a row without misspelt words has no spelling entries.
    QVERIFY(!SpellingMenuOf(F, NewDocument, "Kavrinoscope"));
    F.Form().pmnuGridRowAction->hide();
}

void TestFindingsWindow::statusBarCountsFollowEdits() {
    TFindingsWindow F;
    QVERIFY(F.Form().statusBar()->isAncestorOf(F.Form().FindingsPanel));
    QCOMPARE(F.Counts(), QString("Findings: 1 errors, 2 warnings, 1 info"));
    // The translator types the ellipsis back.
    F.Grid().SetTopRow(FirstItemRow);
    QTest::mouseClick(F.Grid().viewport(), Qt::LeftButton, {},
                      F.Grid().CellRect(colTranslated, NewProject).center());
    for (const char C : std::string("Nouveau projet..."))
        QTest::keyClick(QApplication::focusWidget(), C);
    F.Press(Qt::Key_Return);
    QTRY_COMPARE(F.Form().Table().Cells(colTranslated, NewProject),
                 std::string("Nouveau projet..."));
    QTRY_COMPARE(F.Counts(), QString("Findings: 1 errors, 1 warnings, 1 info"));
    // Undone: the warning is back.
    F.Press(Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(F.Counts(), QString("Findings: 1 errors, 2 warnings, 1 info"));
}

void TestFindingsWindow::keysWalkTheMarkedRows() {
    TFindingsWindow F;
    F.Grid().setFocus();
    F.Grid().SetRow(FirstItemRow);
    F.Press(Qt::Key_F4);
    QCOMPARE(F.Grid().Row(), NewProject);
    QCOMPARE(F.Grid().Col(), int(colTranslated));
    QVERIFY2(F.W->Panel(StatusHint).find("warning punctuation") != std::string::npos,
             F.W->Panel(StatusHint).c_str());
    F.Press(Qt::Key_F4);
    QCOMPARE(F.Grid().Row(), OpenProject);
    QVERIFY2(F.W->Panel(StatusHint).find("error too-long") != std::string::npos,
             F.W->Panel(StatusHint).c_str());
    F.Press(Qt::Key_F4);
    QCOMPARE(F.Grid().Row(), OpenRecent);
    // No finding below: the row stays.
    F.Press(Qt::Key_F4);
    QCOMPARE(F.Grid().Row(), OpenRecent);
    F.Press(Qt::Key_F4, Qt::ShiftModifier);
    QCOMPARE(F.Grid().Row(), OpenProject);
    F.Press(Qt::Key_F4, Qt::ShiftModifier);
    QCOMPARE(F.Grid().Row(), NewProject);
    QCOMPARE(F.Form().NextFindingMenu->text(), QString("&Next Finding"));
    QCOMPARE(F.Form().PreviousFindingMenu->text(), QString("&Previous Finding"));
}

void TestFindingsWindow::markerInTheCornerNotOverTheBand() {
    TFindingsWindow F;
    F.Grid().SetTopRow(FirstItemRow);
    F.Grid().SetRow(FirstItemRow); // the current cell's focus frame away from the rows looked at
    QCoreApplication::processEvents();
    const QImage Image = F.Grab();
    QCOMPARE(F.Corner(Image, OpenProject), MarkerErrorColour);
    QCOMPARE(F.Corner(Image, NewProject), MarkerWarningColour);
    QCOMPARE(F.Corner(Image, OpenRecent), MarkerWarningColour);
    QCOMPARE(F.Corner(Image, NewDocument), QColor(Qt::white));
    // The band keeps its own colour to its right edge.
    TTranslationView& View = *F.Form().View();
    const QRect Band = View.Drawing().BandRect(OpenProject);
    const QRect Marker = View.Drawing().MarkerRect(OpenProject);
    QVERIFY(!Band.isEmpty() && !Marker.isEmpty());
    QVERIFY(!Band.intersects(Marker));
    const QColor BandColour = Image.pixelColor(Band.right(), Band.bottom() - 1);
    QVERIFY(BandColour != MarkerErrorColour && BandColour != QColor(Qt::white));
}

void TestFindingsWindow::hintListsTheFindings() {
    TFindingsWindow F;
    F.Grid().SetTopRow(FirstItemRow);
    QCoreApplication::processEvents();
    QTest::mouseMove(F.Grid().viewport(), F.Grid().CellRect(colTranslated, OpenRecent).center());
    QCoreApplication::processEvents();
    const std::string* Hint = F.Form().Table().FindHintCell(colTranslated, OpenRecent);
    QVERIFY(Hint);
    QCOMPARE(*Hint, std::string("warning whitespace: trailing blanks differ"));
    QTest::mouseMove(F.Grid().viewport(), F.Grid().CellRect(colTranslated, NewDocument).center());
    QCoreApplication::processEvents();
    const std::string* Clean = F.Form().Table().FindHintCell(colTranslated, NewDocument);
    QVERIFY(!Clean || Clean->empty());
}

void TestFindingsWindow::hintFollowsAnEdit() {
    TFindingsWindow F;
    F.Grid().SetTopRow(FirstItemRow);
    QCoreApplication::processEvents();
    const auto HintOver = [&F](int Row) {
        QTest::mouseMove(F.Grid().viewport(), F.Grid().CellRect(colTranslated, Row).center());
        QCoreApplication::processEvents();
        const std::string* Hint = F.Form().Table().FindHintCell(colTranslated, Row);
        return Hint ? *Hint : std::string();
    };
    QCOMPARE(HintOver(OpenRecent), std::string("warning whitespace: trailing blanks differ"));
    // The row's findings are listed again from its new text, not from the list shown before.
    QTest::mouseClick(F.Grid().viewport(), Qt::LeftButton, {},
                      F.Grid().CellRect(colTranslated, OpenRecent).center());
    for (const char C : std::string("Ouvrir!"))
        QTest::keyClick(QApplication::focusWidget(), C);
    F.Press(Qt::Key_Return);
    QCOMPARE(F.Form().Table().Cells(colTranslated, OpenRecent), std::string("Ouvrir!"));
    F.Grid().SetRow(FirstItemRow); // the editor away from the rows hovered
    HintOver(NewDocument);
    const std::string After = HintOver(OpenRecent);
    QVERIFY2(After == "warning punctuation: the default ends with no punctuation, the translation "
                      "with an exclamation mark",
             After.c_str());
    QCOMPARE(F.Counts(), QString("Findings: 1 errors, 2 warnings, 1 info"));
}

// View > Findings Panel lists every finding by item; the filters narrow it; a click makes the
// item current as F4 does.
void TestFindingsWindow::panelListsFiltersAndGoesToTheItem() {
    TFindingsWindow F;
    F.Grid().setFocus();
    F.Grid().SetRow(FirstItemRow);
    F.Press(Qt::Key_F4, Qt::ControlModifier | Qt::ShiftModifier);
    auto* Dock = F.Form().findChild<QDockWidget*>("FindingsDock");
    QVERIFY(Dock && Dock->isVisible());
    auto* List = Dock->findChild<QTreeWidget*>("FindingsList");
    auto* Kind = Dock->findChild<QComboBox*>("FindingsKindBox");
    auto* Severity = Dock->findChild<QComboBox*>("FindingsSeverityBox");
    QVERIFY(List && Kind && Severity);
    const auto Shown = [List] {
        QStringList Lines;
        for (int I = 0; I < List->topLevelItemCount(); ++I)
            Lines << List->topLevelItem(I)->text(0) + " " + List->topLevelItem(I)->text(1) + " " +
                         List->topLevelItem(I)->text(2);
        return Lines;
    };
    // Sorted by item; the sample's own note (room-to-grow) further down.
    const QStringList All = Shown();
    QVERIFY2(All.size() >= 4, qPrintable(All.join("; ")));
    QCOMPARE(All.mid(0, 3), (QStringList{"item 2 warning punctuation", "item 4 error too-long",
                                         "item 5 warning whitespace"}));
    Severity->setCurrentIndex(Severity->findText("error"));
    QCOMPARE(Shown(), QStringList{"item 4 error too-long"});
    Severity->setCurrentIndex(0);
    Kind->setCurrentIndex(Kind->findText("whitespace"));
    QCOMPARE(Shown(), QStringList{"item 5 warning whitespace"});
    // A fixed translation leaves the list as soon as the counts follow the edit.
    Type(F, OpenRecent, "Ouvrir recent");
    QTRY_COMPARE(Shown(), QStringList());
    Kind->setCurrentIndex(0);
    QTreeWidgetItem* TooLong = List->topLevelItem(1);
    QCOMPARE(TooLong->text(2), QString("too-long"));
    QTest::mouseClick(List->viewport(), Qt::LeftButton, {}, List->visualItemRect(TooLong).center());
    QCoreApplication::processEvents();
    QCOMPARE(F.Grid().Row(), OpenProject);
    QCOMPARE(F.Grid().Col(), int(colTranslated));
    // The same key hides it again.
    F.Grid().setFocus();
    F.Press(Qt::Key_F4, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!Dock->isVisible());
}

// After a save, a changed English text in the default file marks its item (a warning in the
// corner); the cell's pop-up "Mark as reviewed" clears it and leaves the document to save.
void TestFindingsWindow::changedEnglishMarkedUntilReviewed() {
    TFindingsWindow F;
    const std::string File = F.Folder.Home() + "Language/Kavr_FRA.str";
    QVERIFY(F.Form().Document().SaveFile(File));
    const QString Default = QString::fromStdString(F.Folder.Home()) + "Default/Kavr_ENU.str";
    QFile In(Default);
    QVERIFY(In.open(QIODevice::ReadOnly));
    QByteArray Bytes = In.readAll();
    In.close();
    QVERIFY(Bytes.contains("\"New Document...\""));
    Bytes.replace("\"New Document...\"", "\"New Text Document...\"");
    QFile Out(Default);
    QVERIFY(Out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Out.write(Bytes);
    Out.close();
    QVERIFY(F.Form().Document().OpenPath(File));
    QCoreApplication::processEvents();
    const auto SourceChanged = [&F] {
        for (const TFinding& Found : F.Form().View()->Findings().Of(NewDocument))
            if (Found.Kind == TFindingKind::SourceChanged)
                return true;
        return false;
    };
    QVERIFY(SourceChanged());
    QVERIFY(F.Form().View()->Findings().Marked(NewDocument));
    // F12 and Shift+F12 walk only the items whose English changed.
    F.Grid().setFocus();
    F.Grid().SetRow(FirstItemRow);
    F.Press(Qt::Key_F12);
    QCOMPARE(F.Grid().Row(), NewDocument);
    QCOMPARE(F.Grid().Col(), colTranslated);
    F.Press(Qt::Key_F12);
    QCOMPARE(F.Grid().Row(), NewDocument);
    F.Grid().SetRow(F.Grid().RowCount() - 1);
    F.Press(Qt::Key_F12, Qt::ShiftModifier);
    QCOMPARE(F.Grid().Row(), NewDocument);
    // The pop-up offers the review only on a marked row.
    F.Grid().SetRow(FirstItemRow);
    QTest::mouseClick(F.Grid().viewport(), Qt::RightButton, {},
                      F.Grid().CellRect(colTranslated, NewProject).center());
    QMenu& Menu = *F.Form().pmnuGridRowAction;
    QVERIFY(QTest::qWaitFor([&Menu] { return Menu.isVisible(); }));
    QVERIFY(!F.Form().MarkReviewedMenu->isVisible());
    Menu.hide();
    QTest::mouseClick(F.Grid().viewport(), Qt::RightButton, {},
                      F.Grid().CellRect(colTranslated, NewDocument).center());
    QVERIFY(QTest::qWaitFor([&Menu] { return Menu.isVisible(); }));
    QVERIFY(F.Form().MarkReviewedMenu->isVisible());
    QCOMPARE(F.Form().MarkReviewedMenu->text(), QString("Mark as reviewed"));
    QTest::mouseClick(&Menu, Qt::LeftButton, {},
                      Menu.actionGeometry(F.Form().MarkReviewedMenu).center());
    QTRY_VERIFY(!Menu.isVisible());
    // The offscreen platform has no window manager to give the window back its focus.
    F.Form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&F.Form()));
    QVERIFY(!SourceChanged());
    QVERIFY(!F.Form().View()->Findings().Marked(NewDocument));
    QVERIFY(F.Form().State().FModified);
    // An edit undone brings the items back to the saved file, not the review: still unsaved.
    Type(F, OpenRecent, "Ouvrir");
    F.Press(Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(
        QByteArray::fromStdString(std::string(F.Form().Table().Cells(colTranslated, OpenRecent))),
        QByteArray("Ouvrir r\xE9"
                   "cent "));
    QVERIFY(F.Form().State().FModified);
}

// A language this machine has no dictionary for is said beside the counts, where the next
// cell selected does not wipe it out.
void TestFindingsWindow::languageWithoutDictionarySaysSo() {
    TProgramFolder Folder;
    const std::string File = Folder.Home() + "Language/Kavr_ISL.str";
    QFile Out(QString::fromStdString(File));
    QVERIFY(Out.open(QIODevice::WriteOnly));
    Out.write("Txt_MENU_FILE , \"Skr\xE1 villa\"\r\n");
    Out.close();
    TWindow W(Folder.Home(), File);
    QTRY_VERIFY(W.Form.View() != nullptr);
    QTRY_COMPARE(W.Form.FindingsPanel->text(),
                 QString("Findings: 0 errors, 0 warnings, 1 info (spelling not checked: no "
                         "dictionary for ISL)"));
    // A language with a dictionary has no such note.
    QVERIFY(W.Form.Document().OpenPath(Folder.Home() + "Language/Kavr_FRA.str"));
    QTRY_VERIFY(W.Form.FindingsPanel->text().startsWith("Findings: "));
    QTRY_VERIFY(!W.Form.FindingsPanel->text().contains("spelling"));
}

// A file read again keeps the findings of the rows whose texts are as they were checked; a
// text changed on disk has its row's findings follow.
void TestFindingsWindow::fileReadAgainKeepsOrFollowsTheFindings() {
    TFindingsWindow F;
    const std::string File = F.Folder.Home() + "Language/Kavr_FRA.str";
    // The save writes the items missing from the file with their English: untranslated now.
    QVERIFY(F.Form().Document().SaveFile(File));
    QTRY_COMPARE(F.Counts(), QString("Findings: 1 errors, 345 warnings, 1 info"));
    QVERIFY(F.Form().View()->Findings().Marked(OpenRecent));
    QFile In(QString::fromStdString(File));
    QVERIFY(In.open(QIODevice::ReadOnly));
    QByteArray Bytes = In.readAll();
    In.close();
    QVERIFY(Bytes.contains("cent \""));
    Bytes.replace("cent \"", "cent\"");
    QFile Out(QString::fromStdString(File));
    QVERIFY(Out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Out.write(Bytes);
    Out.close();
    QVERIFY(F.Form().Document().OpenPath(File));
    QTRY_COMPARE(F.Counts(), QString("Findings: 1 errors, 344 warnings, 1 info"));
    QVERIFY(!F.Form().View()->Findings().Marked(OpenRecent));
    // Read back as written, the table keeps its consistency groups too: an edit after the save
    // still finds the items it shares a translation with.
    QVERIFY(F.Form().Document().SaveFile(File));
    Type(F, NewDocument, "Nouveau projet");
    const std::string Hint = F.HintOver(NewProject);
    QVERIFY2(Hint.find("info consistency: the same translation stands for other English in "
                       "Txt_MENU_FILE_NEW_DOCUMENT") != std::string::npos,
             Hint.c_str());
}

// A text with a placeholder: the hint gives its width as written and filled with the project's
// sample, and a thin line marks where the filled text ends, on the band or right of it.
void TestFindingsWindow::filledWidthInTheHintAndTheBand_data() {
    QTest::addColumn<QByteArray>("sample");
    QTest::addColumn<bool>("overflows");
    QTest::addColumn<bool>("linked"); // French shows Arial in Loma
    QTest::newRow("filled text fits: the line on the band") << QByteArray("88") << false << false;
    QTest::newRow("filled text too long: the line right of the band")
        << QByteArray("8888888888888888888888888") << true << false;
    QTest::newRow("in the language's face") << QByteArray("88") << false << true;
}

void TestFindingsWindow::filledWidthInTheHintAndTheBand() {
    QFETCH(QByteArray, sample);
    QFETCH(bool, overflows);
    QFETCH(bool, linked);
    QByteArray French = FindingsFrench;
    French.replace("Nouveau document...", "Nouveau %d");
    std::map<QString, QByteArray> Files{{"Placeholders.ini", "[Samples]\n%d=" + sample + "\n"}};
    if (linked)
        Files["Fonts/Substitutes.ini"] = "[FRA]\nArial=Loma\n";
    TFindingsWindow F(French, Files);
    F.Grid().SetColWidths(colTranslated, 400);
    F.Grid().SetTopRow(FirstItemRow);
    F.Grid().SetRow(FirstItemRow); // the editor away from the rows looked at
    QCoreApplication::processEvents();
    // The cell's text, the band and the widths are in the face the product shows for French.
    const TMyFont Font = F.Grid().StyledFont(colTranslated, NewDocument);
    QCOMPARE(Font.Name(), std::string(linked ? "Loma" : "Arial"));
    TTextMeasure& Measure = TTextMeasure::Shared();
    const int Written = Measure.Width("Nouveau %d", Font);
    const int Filled = Measure.Width("Nouveau " + QString::fromLatin1(sample), Font);
    QCOMPARE(Filled > 155, overflows);
    // The translation also lost the default's ellipsis and has a placeholder the default has
    // not: those findings are listed too; the widths are what is looked at here.
    const QStringList Hint = QString::fromStdString(F.HintOver(NewDocument)).split('\n');
    const QString Widths =
        QString("%1 px, %2 px with samples of 155 px allowed").arg(Written).arg(Filled);
    QVERIFY2(Hint.contains("Width: " + Widths), qPrintable(Hint.join('|')));
    QCOMPARE(Hint.contains(QString("warning too-long-filled: too long with placeholder samples: ") +
                           Widths + QString(" (%1 %)").arg(std::max(101, 100 * Filled / 155))),
             overflows);
    // A row without placeholders says nothing of widths.
    QCOMPARE(F.HintOver(NewProject).find("Width:"), std::string::npos);

    TCellDrawing& Drawing = F.Form().View()->Drawing();
    const QRect Band = Drawing.BandRect(NewDocument);
    const QRect Line = Drawing.FilledLineRect(NewDocument);
    QCOMPARE(Line, QRect(Band.left() + 1 + Filled, Band.top(), 1, Band.height()));
    QCOMPARE(Band.contains(Line), !overflows);
    QVERIFY(Drawing.FilledLineRect(NewProject).isEmpty());
    const QImage Image = F.Grab();
    for (int Y = Line.top(); Y <= Line.bottom(); ++Y)
        QCOMPARE(Image.pixelColor(Line.left(), Y), FilledLineColour);
    // Only the line: the band or the cell goes on beside it.
    QVERIFY(Image.pixelColor(Line.left() + 1, Line.center().y()) != FilledLineColour);
}

// Other > Product Display, chosen with the keys: the setting is kept in the program folder, and
// the widths are checked as the product draws them there; the screen keeps the file's pixels.
void TestFindingsWindow::productDisplayFromTheMenu() {
    QByteArray French = FindingsFrench;
    French.replace("Nouveau document...", "Nouveau %d");
    TFindingsWindow F(French, {{"Placeholders.ini", "[Samples]\n%d=88\n"}});
    F.Grid().SetTopRow(FirstItemRow);
    F.Grid().SetRow(FirstItemRow);
    QMenu* View = nullptr;
    QMenu* Other = nullptr;
    for (QAction* Menu : F.Form().menuBar()->actions()) {
        if (Menu->text() == "&View")
            View = Menu->menu();
        if (Menu->text() == "Other")
            Other = Menu->menu();
    }
    QMenu* Display = F.Form().findChild<QMenu*>("ProductDisplayMenu");
    QVERIFY(View && Other && Display);
    QAction* At120 = F.Form().findChild<QAction*>("ProductDpi120");
    QVERIFY(At120 && At120->statusTip().contains("pixels at 96 dpi"));
    QVERIFY(F.Form().findChild<QAction*>("ProductDpi96")->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::AltModifier);
    QTRY_VERIFY(View->isVisible());
    QTest::keyClick(View, Qt::Key_Left);
    QTRY_VERIFY(Other->isVisible());
    QTest::keyClick(Other, Qt::Key_D);
    QTRY_VERIFY(Display->isVisible());
    for (int Step = 0; Step < 5 && Display->activeAction() != At120; ++Step)
        QTest::keyClick(Display, Qt::Key_Down);
    QCOMPARE(Display->activeAction(), At120);
    QTest::keyClick(Display, Qt::Key_Return);
    QTRY_VERIFY(!Other->isVisible());
    QVERIFY(At120->isChecked());
    QCOMPARE(F.Form().State().FProductDpi, 120);
    QFile Setting(QString::fromStdString(F.Folder.Home()) + "Product.ini");
    QVERIFY(Setting.open(QIODevice::ReadOnly));
    QVERIFY(Setting.readAll().contains("[Display]\n"));

    // 8 points at 120 dpi are 13 pixels; the 155 px of the file are 194 px there.
    TMyFont Font = F.Grid().StyledFont(colTranslated, NewDocument);
    Font.SetHeight(-13);
    TTextMeasure& Measure = TTextMeasure::Shared();
    const QString Widths = QString("Width: %1 px, %2 px with samples of 194 px allowed at 120 dpi")
                               .arg(Measure.Width("Nouveau %d", Font))
                               .arg(Measure.Width("Nouveau 88", Font));
    const QStringList Hint = QString::fromStdString(F.HintOver(NewDocument)).split('\n');
    QVERIFY2(Hint.contains(Widths), qPrintable(Hint.join('|') + " / " + Widths));
    QCOMPARE(F.Form().View()->Drawing().BandRect(NewDocument).width(), 156);
    // The findings follow the setting: the too-long item's numbers are at 120 dpi.
    const QString Long = QString::fromStdString(F.HintOver(OpenProject));
    QVERIFY2(Long.contains(" at 120 dpi") &&
                 Long.contains(QString(" of %1 px allowed").arg((135 * 120 + 48) / 96)),
             qPrintable(Long));
}

QTEST_MAIN(TestFindingsWindow)
#include "tst_FindingsWindow.moc"
