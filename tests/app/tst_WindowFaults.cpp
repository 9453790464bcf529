// Sequences of ordinary actions in the real main window that once corrupted or lost
// translations, one row each: a refused save, a name overwritten at start, typing after a
// navigation, undo against the cell editor, the pop-up's row, undo of a Fill and of Accept All,
// and texts the file cannot hold.

#include "MainWindowFixture.h"
#include "app/FormGotoLine.h"
#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "searchui/KavrinoFindDialog.h"
#include "searchui/KavrinoFindForm.h"
#include "searchui/KavrinoReplaceDialog.h"
#include "searchui/KavrinoReplaceForm.h"
#include "undo/DocumentHistory.h"

#include <QAction>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

using namespace kav;

namespace {

struct TFrenchWindow : TOpenWindow {
    TFrenchWindow() : TOpenWindow("Kavr_FRA.str") {}
    const TItemTable& Items() { return Form().Document().Items(); }
    std::string Name(int Row) { return std::string(Table().Cells(colName, Row)); }
    std::string File() { return Folder.Home() + "Language/Kavr_FRA.str"; }
    std::string OnDisk() {
        QFile F(QString::fromStdString(File()));
        return F.open(QIODevice::ReadOnly) ? F.readAll().toStdString() : std::string();
    }
    void Undo() { Press(Qt::Key_Z, Qt::ControlModifier); }
    void Redo() { Press(Qt::Key_Y, Qt::ControlModifier); }
    // The text typed into Row's translation, the edit ended with Return.
    void TypeInto(int Col, int Row, const QString& Text) {
        Click(Col, Row);
        Press(Qt::Key_A, Qt::ControlModifier);
        if (Text.isEmpty())
            Press(Qt::Key_Backspace);
        Type(Text);
        Press(Qt::Key_Return);
        QCoreApplication::processEvents();
    }
    void ReplaceAll(const std::string& Old, const std::string& New) {
        QTest::keyClick(&Form(), Qt::Key_R, Qt::ControlModifier);
        Form().ReplaceDialog1->SetFindText(Old);
        Form().ReplaceDialog1->SetReplaceText(New);
        Form().ReplaceDialog1->SetOptions(frDown | frReplaceAll | frMatchCase);
        W->Dialogs.Answers = {TModalResult::mrAll};
        Form().ReplaceDialog1->OnReplace(Form().ReplaceDialog1);
        Form().ReplaceDialog1->ReplaceWindow()->close();
        Activate();
    }
};

enum TFault {
    RefusedSave,
    NameAtStart,
    TypingAfterNavigation,
    UndoAgainstTheEditor,
    PopupRow,
    UndoOfFillAndAccept,
    UnwritableText
};

} // namespace

class TestWindowFaults : public QObject {
    Q_OBJECT
private slots:
    void sequences_data();
    void sequences();
    void ctrlLetterWithNothingToDoTypesNothing();

private:
    void RefusedSaveKeepsTheRows(TFrenchWindow& F);
    void NameSafeAtStart(TFrenchWindow& F);
    void TypingGoesToTheRowShown(TFrenchWindow& F);
    void UndoAndTheEditorAgree(TFrenchWindow& F);
    void PopupActsOnItsRow(TFrenchWindow& F);
    void UndoGivesMarksBack(TFrenchWindow& F);
    void UnwritableTextRefusedAtOnce(TFrenchWindow& F);
};

void TestWindowFaults::sequences_data() {
    QTest::addColumn<int>("fault");
    QTest::newRow("a refused save keeps the rows and undo its items") << int(RefusedSave);
    QTest::newRow("a key typed at start never overwrites a name") << int(NameAtStart);
    QTest::newRow("typing after a navigation edits the row shown") << int(TypingAfterNavigation);
    QTest::newRow("undo and the editor never disagree") << int(UndoAgainstTheEditor);
    QTest::newRow("the pop-up acts on the row right-clicked") << int(PopupRow);
    QTest::newRow("undo of a fill and of accept all gives the marks back")
        << int(UndoOfFillAndAccept);
    QTest::newRow("what the file cannot hold is refused as typed or pasted") << int(UnwritableText);
}

void TestWindowFaults::sequences() {
    QFETCH(int, fault);
    TFrenchWindow F;
    switch (fault) {
    case RefusedSave:
        return RefusedSaveKeepsTheRows(F);
    case NameAtStart:
        return NameSafeAtStart(F);
    case TypingAfterNavigation:
        return TypingGoesToTheRowShown(F);
    case UndoAgainstTheEditor:
        return UndoAndTheEditorAgree(F);
    case PopupRow:
        return PopupActsOnItsRow(F);
    case UndoOfFillAndAccept:
        return UndoGivesMarksBack(F);
    default:
        return UnwritableTextRefusedAtOnce(F);
    }
}

// Item 2's name cleared, item 3 edited, the save refused by No: the rows stay, two undos give
// both back to their own items, and the next save writes the file as it was.
void TestWindowFaults::RefusedSaveKeepsTheRows(TFrenchWindow& F) {
    const std::string Before = F.OnDisk();
    const int Rows = F.Table().RowCount();
    const std::string Name2 = F.Name(3), Name3 = F.Name(4), Text3 = F.Translated(4),
                      Text4 = F.Translated(5);
    F.TypeInto(colName, 3, "");
    F.TypeInto(colTranslated, 4, "changed");
    F.W->Dialogs.Shown.clear();
    F.W->Dialogs.Answers = {TModalResult::mrNo};
    F.Press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!F.W->Dialogs.Shown.empty());
    QVERIFY(QString::fromStdString(F.W->Dialogs.Shown.front()).contains("item 2"));
    QCOMPARE(F.Table().RowCount(), Rows);
    QCOMPARE(F.OnDisk(), Before);
    QVERIFY(F.Form().State().FModified);
    F.Undo();
    F.Undo();
    QCOMPARE(F.Name(3), Name2);
    QCOMPARE(F.Name(4), Name3);
    QCOMPARE(F.Translated(4), Text3);
    QCOMPARE(F.Translated(5), Text4);
    QVERIFY(!F.Form().State().FModified);
    F.Form().SetModified(true);
    F.Press(Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(F.OnDisk(), Before);
}

// The start focus is on the first translation: a key typed at once edits it, not the name.
void TestWindowFaults::NameSafeAtStart(TFrenchWindow& F) {
    const std::string Name = F.Name(FirstItemRow);
    F.Type("x");
    F.Press(Qt::Key_Return);
    QTRY_COMPARE(F.Translated(FirstItemRow), std::string("x"));
    QCOMPARE(F.Name(FirstItemRow), Name);
}

// After Go to Line and after Find Next the target is the current row: the typing goes there,
// never to the row the editor was on before.
void TestWindowFaults::TypingGoesToTheRowShown(TFrenchWindow& F) {
    F.Click(colTranslated, 5);
    const std::string Row5 = F.Translated(5);
    QTimer::singleShot(0, [] {
        auto* Dialog = qobject_cast<TfrmGotoLineNumber*>(QApplication::activeModalWidget());
        QVERIFY(Dialog);
        Dialog->edtLineNumber->setText("300");
        Dialog->btnOKClick();
    });
    F.Form().GotoLineMenuClick();
    F.Activate();
    QCOMPARE(F.Grid().TopRow(), 301);
    F.Type("Aprilia");
    F.Press(Qt::Key_Return);
    QTRY_COMPARE(F.Translated(301), std::string("Aprilia"));
    QCOMPARE(F.Translated(5), Row5);
    // Find Next from the first row: the hit is the row worked on once the window is back.
    F.Click(colTranslated, FirstItemRow);
    F.Form().FindMenuClick();
    F.Form().FindDialog1->SetFindText("Aprilia");
    F.Form().FindDialog1->FindNextClick();
    F.Form().FindDialog1->Window()->close();
    F.Activate();
    QCOMPARE(F.Grid().Row(), 301);
    QVERIFY(F.Grid().isAncestorOf(QApplication::focusWidget()) ||
            QApplication::focusWidget() == &F.Grid());
    F.Type("Benelli");
    F.Press(Qt::Key_Return);
    QTRY_COMPARE(QString::fromStdString(F.Translated(301)), QString("Benelli"));
    // Scrolled away with the wheel, the row comes back into view as soon as a key is typed.
    F.Grid().SetTopRow(FirstItemRow);
    QVERIFY(F.Grid().CellRect(colTranslated, 301).isEmpty());
    F.Type("C");
    QVERIFY(!F.Grid().CellRect(colTranslated, 301).isEmpty());
}

// ZZZ typed in item 30, Return, Ctrl+Z, F6 on item 31, Ctrl+Z, Ctrl+Z, Ctrl+Y, Ctrl+Y: the
// typing stays undone, item 31 is marked, and what is saved is what is shown.
void TestWindowFaults::UndoAndTheEditorAgree(TFrenchWindow& F) {
    const std::string Item30 = F.Translated(31);
    F.TypeInto(colTranslated, 31, "ZZZ");
    F.Undo();
    QCOMPARE(F.Translated(31), Item30);
    QCOMPARE(F.EditorText(), F.Grid().CellText(colTranslated, 31));
    F.Click(colTranslated, 32);
    F.Press(Qt::Key_F6);
    F.Undo();
    F.Undo();
    F.Redo();
    F.Redo();
    QCOMPARE(F.Translated(31), Item30);
    QCOMPARE(F.Items().Colour(ItemOfRow(32)), clLime);
    F.Press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(F.OnDisk().find("ZZZ") == std::string::npos);
    QCOMPARE(F.Translated(31), Item30);
}

// Marks in two rows; the row right-clicked (not the current one) is the one the pop-up undoes,
// as one step of the history; a right-click on the open editor opens the pop-up alone.
void TestWindowFaults::PopupActsOnItsRow(TFrenchWindow& F) {
    F.ReplaceAll("er", "ER");
    std::vector<int> Marked;
    for (TItemId Id = F.Items().NextMarked(NoItem, true); Id != NoItem;
         Id = F.Items().NextMarked(Id, true))
        Marked.push_back(RowOfItem(Id));
    QVERIFY(Marked.size() >= 2);
    const int Current = Marked[0], Pressed = Marked[1];
    F.Click(colTranslated, Current);
    const std::string Replaced = F.Translated(Pressed);
    QTest::mouseClick(F.Grid().viewport(), Qt::RightButton, {},
                      F.Grid().CellRect(colTranslated, Pressed).center());
    QVERIFY(F.Form().pmnuGridRowAction->isVisible());
    QCOMPARE(F.Grid().Row(), Pressed);
    F.Form().pmnuGridRowAction->hide();
    F.Form().UndoReplaceStringMenu->trigger();
    QVERIFY(F.Translated(Pressed) != Replaced);
    QVERIFY(!F.Items().Marked(ItemOfRow(Pressed)));
    QVERIFY(F.Items().Marked(ItemOfRow(Current)));
    F.Activate();
    F.Undo();
    QCOMPARE(F.Translated(Pressed), Replaced);
    QVERIFY(F.Items().Marked(ItemOfRow(Pressed)));
    // On the editor of the current cell: the row pop-up, and no menu of the editor's own.
    QWidget* Editor = F.Grid().Editor()->viewport();
    QContextMenuEvent Menu(QContextMenuEvent::Mouse, Editor->rect().center(),
                           Editor->mapToGlobal(Editor->rect().center()));
    QApplication::sendEvent(Editor, &Menu);
    int Menus = 0;
    for (QWidget* Top : QApplication::topLevelWidgets())
        Menus += qobject_cast<QMenu*>(Top) && Top->isVisible() ? 1 : 0;
    QCOMPARE(Menus, 1);
    QVERIFY(F.Form().pmnuGridRowAction->isVisible());
    F.Form().pmnuGridRowAction->hide();
}

// Replace All, Fill, rows clicked, undo: the replaced texts come back with their marks, which
// can still be undone; Accept All undone gives back marks that can be undone too.
void TestWindowFaults::UndoGivesMarksBack(TFrenchWindow& F) {
    F.ReplaceAll("Fichier", "Dossier");
    const int Row = RowOfItem(F.Items().NextMarked(NoItem, true));
    const std::string Replaced = F.Translated(Row);
    const int Marks = F.Items().MarkedCount();
    F.Form().edtFillChar->setText("#");
    F.W->Dialogs.Answers = {TModalResult::mrYes};
    F.Form().btnFillTranslatedLanguage->click();
    QCOMPARE(F.Items().MarkedCount(), 0);
    F.Click(colTranslated, 40);
    F.Click(colTranslated, 7);
    F.Undo();
    QCOMPARE(F.Translated(Row), Replaced);
    QCOMPARE(F.Items().MarkedCount(), Marks);
    F.Form().ClearAllFlagsMenu->trigger();
    QCOMPARE(F.Items().MarkedCount(), 0);
    F.Undo();
    QCOMPARE(F.Items().MarkedCount(), Marks);
    F.Click(colTranslated, Row);
    F.Form().UndoReplaceStringMenu->trigger();
    QVERIFY(F.Translated(Row) != Replaced);
    QCOMPARE(F.Translated(Row).find("Dossier"), std::string::npos);
}

// A double quote typed, a line break pasted into the editor, a double quote through Edit >
// Paste: refused there, with a notice, instead of at the next save.
void TestWindowFaults::UnwritableTextRefusedAtOnce(TFrenchWindow& F) {
    const std::string Before = F.Translated(10);
    F.Click(colTranslated, 10);
    F.Press(Qt::Key_End);
    F.TypeText("a\"b");
    QVERIFY(!F.EditorText().contains('"'));
    QVERIFY(F.Form().StatusPanels[StatusHint]->text().contains("language file"));
    QApplication::clipboard()->setText("one\ntwo");
    const QString Typed = F.EditorText();
    F.Press(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(F.EditorText(), Typed);
    F.Press(Qt::Key_Return);
    QTRY_COMPARE(QString::fromLatin1(F.Translated(10)), QString::fromLatin1(Before + "ab"));
    // Edit > Paste puts whole cells, one line each: a double quote in one is refused.
    QApplication::clipboard()->setText("say \"hi\"");
    F.W->Dialogs.Shown.clear();
    F.Form().findChild<QAction*>("PasteMenu")->trigger();
    QCOMPARE(QString::fromLatin1(F.Translated(10)), QString::fromLatin1(Before + "ab"));
    QVERIFY(!F.W->Dialogs.Shown.empty());
}

// Ctrl+Z with nothing to undo, and Ctrl with a letter no command takes, type no letter.
void TestWindowFaults::ctrlLetterWithNothingToDoTypesNothing() {
    TFrenchWindow F;
    F.Click(colTranslated, 12);
    const QString Shown = F.EditorText();
    F.Press(Qt::Key_Z, Qt::ControlModifier);
    F.Press(Qt::Key_J, Qt::ControlModifier);
    QCOMPARE(F.EditorText(), Shown);
    F.Press(Qt::Key_Return);
    QCOMPARE(F.Form().History().Stack().count(), 0);
}

QTEST_MAIN(TestWindowFaults)
#include "tst_WindowFaults.moc"
