// Undo and redo through the real main window: each kind of step changes the table, Ctrl+Z gives
// back its bytes exactly and Ctrl+Y the bytes after it; the document's modified flag follows.

#include "MainWindowFixture.h"
#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "searchui/KavrinoReplaceDialog.h"
#include "searchui/KavrinoReplaceForm.h"
#include "undo/DocumentHistory.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

#include <algorithm>

using namespace kav;

namespace {

// The French sample open in a window that has the keyboard.
struct TFrenchWindow : TOpenWindow {
    TFrenchWindow() : TOpenWindow("Kavr_FRA.str") {}
    void Undo() { Press(Qt::Key_Z, Qt::ControlModifier); }
    void Redo() { Press(Qt::Key_Y, Qt::ControlModifier); }
    // Everything a step can change of every item, as bytes.
    std::vector<std::string> Bytes() {
        std::vector<std::string> All;
        const TItemTable& Items = Form().Document().Items();
        for (TItemId Id = 0; Id < Items.Count(); ++Id) {
            const TItemRecord Item = Items.Record(Id);
            All.insert(All.end(),
                       {Item.Name, Item.Default, Item.Translation, std::to_string(Item.Colour),
                        Items.MarkText(Id), Item.Marks.empty() ? "" : Item.Marks.back().Before});
        }
        return All;
    }
    int Marked() { return Form().Document().Items().MarkedCount(); }
    // The row of the first item whose bytes differ between two states.
    static int FirstChangedRow(const std::vector<std::string>& A,
                               const std::vector<std::string>& B) {
        const auto Differ = std::mismatch(A.begin(), A.end(), B.begin()).first;
        return RowOfItem(static_cast<TItemId>((Differ - A.begin()) / 6));
    }
    int FirstMarkedRow() { return RowOfItem(Form().Document().Items().NextMarked(NoItem, true)); }
    QString UndoCaption() { return Form().UndoMenu->text(); }
};

constexpr int ItemRow = 6;
constexpr int OtherRow = 9;

enum TKind {
    Edit,
    ReplaceOne,
    ReplaceAll,
    Fill,
    RtfImport,
    ColourMark,
    MarkUndo,
    MarkAccept,
    AcceptAll,
    Paste
};

// Runs one command of Kind as the translator does; returns the caption its step should have.
QString RunCommand(TFrenchWindow& F, int Kind) {
    switch (Kind) {
    case Edit:
        F.Click(colTranslated, ItemRow);
        F.Type("zq");
        F.Click(colTranslated, OtherRow);
        return "&Undo Edit of item " + QString::fromUtf8(F.Table().Cells(colItem, ItemRow));
    case ReplaceOne: {
        QTest::keyClick(&F.Form(), Qt::Key_R, Qt::ControlModifier);
        TfrmReplaceDlg* Window = F.Form().ReplaceDialog1->ReplaceWindow();
        QTest::keyClicks(Window->EdtSearch, "Fichier");
        QTest::keyClicks(Window->edtReplace, "Dossier");
        QTest::mouseClick(Window->btnFindNext, Qt::LeftButton);
        QTest::mouseClick(Window->btnReplace, Qt::LeftButton);
        Window->close();
        F.Activate();
        F.Click(colTranslated, OtherRow);
        return "&Undo Replace: 'Fichier' by 'Dossier'";
    }
    case MarkUndo: {
        const int Row = F.FirstMarkedRow();
        F.Click(colTranslated, Row);
        F.Form().UndoReplaceStringMenu->trigger();
        return "&Undo Undo replacement in item " + QString::fromUtf8(F.Table().Cells(colItem, Row));
    }
    case MarkAccept: {
        const int Row = F.FirstMarkedRow();
        F.Click(colTranslated, Row);
        F.Form().ClearFlagMenu->trigger();
        return "&Undo Accept replacement in item " +
               QString::fromUtf8(F.Table().Cells(colItem, Row));
    }
    case AcceptAll: {
        const int Count = F.Marked();
        F.Form().ClearAllFlagsMenu->trigger();
        return QString("&Undo Accept all marked replacements (%1 items)").arg(Count);
    }
    case ReplaceAll: {
        QTest::keyClick(&F.Form(), Qt::Key_R, Qt::ControlModifier);
        TfrmReplaceDlg* Window = F.Form().ReplaceDialog1->ReplaceWindow();
        QTest::keyClicks(Window->EdtSearch, "Fichier");
        QTest::keyClicks(Window->edtReplace, "Dossier");
        F.W->Dialogs.Answers = {TModalResult::mrAll};
        QTest::mouseClick(Window->btnReplaceAll, Qt::LeftButton);
        Window->close();
        F.Activate();
        F.Click(colTranslated, OtherRow);
        return QString("&Undo Replace All: 'Fichier' by 'Dossier' (%1 items)").arg(F.Marked());
    }
    case Fill: {
        int Count = 0;
        for (int Row = FirstItemRow; Row < F.Table().RowCount(); ++Row)
            Count += F.Table().Cells(colName, Row).empty() ? 0 : 1;
        F.Form().edtFillChar->setText("#");
        F.W->Dialogs.Answers = {TModalResult::mrYes};
        F.Form().btnFillTranslatedLanguage->click();
        return QString("&Undo Fill with '#' (%1 items)").arg(Count);
    }
    case RtfImport:
        F.W->Dialogs.Files.push_back(F.Folder.Home() + "RTF/Translation.rtf");
        F.Form().MaskEditFrom->setText("00001");
        F.Form().MaskEditTo->setText("00344");
        F.Form().btnFillGridCol->click();
        return "&Undo Load from RTF file (2 items)";
    case ColourMark:
        F.Click(colTranslated, ItemRow);
        F.Press(Qt::Key_F6);
        return "&Undo Colour mark of item " + QString::fromUtf8(F.Table().Cells(colItem, ItemRow));
    case Paste:
        F.Click(colTranslated, OtherRow);
        F.Form().findChild<QAction*>("CopyMenu")->trigger();
        F.Click(colTranslated, ItemRow);
        F.Form().findChild<QAction*>("PasteMenu")->trigger();
        return "&Undo Paste (1 item)";
    }
    return {};
}

// An RTF translation document of the sample, and two translations changed since it was made.
void PrepareImport(TFrenchWindow& F) {
    F.W->Dialogs.Shown.clear();
    F.Form().btnSaveColGrid->click();
    const QDir Rtf(QString::fromStdString(F.Folder.Home() + "RTF"));
    for (const QString& Name : Rtf.entryList({"*.rtf"}))
        if (Name.endsWith("_FRA.rtf") && !Name.contains("_To_"))
            QVERIFY(QFile::rename(Rtf.filePath(Name), Rtf.filePath("Translation.rtf")));
    F.Table().SetCells(colTranslated, ItemRow, "changed one");
    F.Table().SetCells(colTranslated, OtherRow, "changed two");
}

} // namespace

class TestUndoRedo : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void typingInTheEditorIsAStep();
    void saveKeepsTheHistory();
    void saveThatReadsBackOtherwiseClearsTheHistory();
    void openClearsTheHistory();
};

void TestUndoRedo::roundTrip_data() {
    QTest::addColumn<int>("Kind");
    QTest::newRow("cell edit") << int(Edit);
    QTest::newRow("replace") << int(ReplaceOne);
    QTest::newRow("replace all") << int(ReplaceAll);
    QTest::newRow("undo of a marked replacement") << int(MarkUndo);
    QTest::newRow("accept of a marked replacement") << int(MarkAccept);
    QTest::newRow("accept of all marked replacements") << int(AcceptAll);
    QTest::newRow("fill") << int(Fill);
    QTest::newRow("rtf import") << int(RtfImport);
    QTest::newRow("colour mark") << int(ColourMark);
    QTest::newRow("paste of a cell") << int(Paste);
}

void TestUndoRedo::roundTrip() {
    QFETCH(int, Kind);
    TFrenchWindow F;
    if (Kind == RtfImport)
        PrepareImport(F);
    if (Kind == MarkUndo || Kind == MarkAccept || Kind == AcceptAll)
        RunCommand(F, ReplaceAll);
    const int Steps = F.Form().History().Stack().count();
    const bool WasModified = F.Form().State().FModified;
    QCOMPARE(F.Form().UndoMenu->isEnabled(), Steps > 0);
    const std::vector<std::string> Before = F.Bytes();
    const QString Caption = RunCommand(F, Kind);
    const std::vector<std::string> After = F.Bytes();
    QVERIFY(After != Before);
    QVERIFY(F.Form().State().FModified);
    QCOMPARE(F.Form().History().Stack().count(), Steps + 1);
    QCOMPARE(F.UndoCaption(), Caption);
    QVERIFY(F.Form().UndoMenu->isEnabled());
    QVERIFY(!F.Form().RedoMenu->isEnabled());

    F.Undo();
    QVERIFY(F.Bytes() == Before);
    // The first item given back is the current row, for an undo as for the redo below.
    const int FirstChanged = TFrenchWindow::FirstChangedRow(Before, After);
    QCOMPARE(F.Grid().Row(), FirstChanged);
    // Back where the file was opened: nothing to save.
    QCOMPARE(F.Form().State().FModified, WasModified);
    QCOMPARE(F.Form().UndoMenu->isEnabled(), Steps > 0);
    QCOMPARE(F.Form().RedoMenu->text(), "&Redo" + Caption.mid(5));

    F.Redo();
    QVERIFY(F.Bytes() == After);
    QCOMPARE(F.Grid().Row(), FirstChanged);
    QVERIFY(F.Form().State().FModified);
    // The other redo key and a second round give the same bytes.
    F.Undo();
    F.Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(F.Bytes() == After);
}

// Ctrl+Z with typing in the cell being edited takes that typing back first, as a step of the
// document like any other: the editor and the history never disagree, and Ctrl+Y brings the
// typing back.
void TestUndoRedo::typingInTheEditorIsAStep() {
    TFrenchWindow F;
    const std::string Original(F.Table().Cells(colTranslated, ItemRow));
    RunCommand(F, Edit);
    const std::string Edited(F.Table().Cells(colTranslated, ItemRow));
    const QString OtherText = QString::fromUtf8(F.Table().Cells(colTranslated, OtherRow));
    F.Type("ab");
    QVERIFY(F.Grid().Editor()->Text() != OtherText);
    F.Undo();
    QCOMPARE(F.Grid().Editor()->Text(), OtherText);
    QCOMPARE(F.Table().Cells(colTranslated, ItemRow), Edited);
    QCOMPARE(F.Form().History().Stack().index(), 1);
    QVERIFY(F.Form().RedoMenu->isEnabled());
    F.Undo();
    QCOMPARE(F.Table().Cells(colTranslated, ItemRow), Original);
    QCOMPARE(F.Form().History().Stack().index(), 0);
    // The item given back is the current row, its editor showing what it holds now.
    QCOMPARE(F.Grid().Row(), ItemRow);
    QCOMPARE(F.Grid().Editor()->Text(), F.Grid().CellText(colTranslated, ItemRow));
    F.Redo();
    F.Redo();
    QCOMPARE(F.Table().Cells(colTranslated, OtherRow), std::string("ab"));
    QCOMPARE(F.Grid().Editor()->Text(), QString("ab"));
}

// The saved state is the clean one: undo after a save modifies the document, redo back to it
// does not.
void TestUndoRedo::saveKeepsTheHistory() {
    TFrenchWindow F;
    const std::vector<std::string> Before = F.Bytes();
    RunCommand(F, Edit);
    const std::vector<std::string> After = F.Bytes();
    F.Press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!F.Form().State().FModified);
    QCOMPARE(F.Form().History().Stack().count(), 1);
    QVERIFY(F.Form().UndoMenu->isEnabled());
    F.Undo();
    QVERIFY(F.Bytes() == Before);
    QVERIFY(F.Form().State().FModified);
    F.Redo();
    QVERIFY(F.Bytes() == After);
    QVERIFY(!F.Form().State().FModified);
}

// A name typed over in the table is written once the translator confirms it, but the file read
// back keeps the default file's names: the steps no longer fit the table and are dropped, with a
// word to the translator.
void TestUndoRedo::saveThatReadsBackOtherwiseClearsTheHistory() {
    TFrenchWindow F;
    RunCommand(F, Edit);
    F.Click(colName, OtherRow);
    F.Type("zq");
    F.Click(colTranslated, ItemRow);
    F.W->Dialogs.Shown.clear();
    F.W->Dialogs.Answers = {TModalResult::mrYes};
    F.Press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(QString::fromStdString(F.W->Dialogs.Shown.front()).contains("Save anyway?"));
    QVERIFY(!F.Form().State().FModified);
    QCOMPARE(F.Form().History().Stack().count(), 0);
    QVERIFY(!F.Form().UndoMenu->isEnabled());
    QVERIFY(!F.W->Dialogs.Shown.empty());
    QVERIFY(QString::fromStdString(F.W->Dialogs.Shown.back()).contains("can no longer be undone"));
}

void TestUndoRedo::openClearsTheHistory() {
    TFrenchWindow F;
    RunCommand(F, Fill);
    QVERIFY(F.Form().UndoMenu->isEnabled());
    F.W->Dialogs.Answers = {TModalResult::mrNo};
    F.W->Dialogs.Files.push_back(F.Folder.Home() + "Language/Kavr_DEU.str");
    F.Form().FileOpen();
    QCOMPARE(F.Form().History().Stack().count(), 0);
    QVERIFY(!F.Form().UndoMenu->isEnabled());
    QVERIFY(!F.Form().State().FModified);
    RunCommand(F, ColourMark);
    QVERIFY(F.Form().State().FModified);
    F.W->Dialogs.Answers = {TModalResult::mrNo};
    F.Form().FileNew();
    QCOMPARE(F.Form().History().Stack().count(), 0);
    QVERIFY(!F.Form().State().FModified);
}

QTEST_MAIN(TestUndoRedo)
#include "tst_UndoRedo.moc"
