#include "MainWindowFixture.h"
#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "widgets/FontCharsetCombo.h"

#include <QtTest>

#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>

using namespace kav;

namespace {

constexpr int Item14 = 15;
constexpr int Item16 = 17;

} // namespace

class TestMainWindowEditing : public QObject {
    Q_OBJECT
private slots:
    void tableChangeEndsTheEdit_data();
    void tableChangeEndsTheEdit();
    void ctrlEndKeepsTheTranslatedColumn();
    void refusedCharactersNeedNoBox();
    void everyControlVisibleAt1024();
    void longStatusTextNotCut();
    void newResetsTheCharacterSet();
    void cutNameHasItsHint();
};

void TestMainWindowEditing::tableChangeEndsTheEdit_data() {
    QTest::addColumn<QString>("Typed");
    QTest::addColumn<bool>("Escape");
    QTest::addColumn<int>("Software");
    QTest::addColumn<bool>("Open");
    QTest::newRow("clicked only, New") << "" << false << 0 << false;
    QTest::newRow("typed then Escape, New of Pelmor") << "n" << true << 1 << false;
    QTest::newRow("typed, question answered No, New") << "n" << false << 0 << false;
    QTest::newRow("typed, question answered No, Open") << "n" << false << 0 << true;
    QTest::newRow("clicked only, Open") << "" << false << 0 << true;
}

// Whatever the editor held for the document before, the next document's cells and modified
// flag are its own.
void TestMainWindowEditing::tableChangeEndsTheEdit() {
    QFETCH(QString, Typed);
    QFETCH(bool, Escape);
    QFETCH(int, Software);
    QFETCH(bool, Open);
    TOpenWindow F("Kavr_PLK.str");
    F.Click(colTranslated, Item14);
    F.Click(colTranslated, Item16);
    F.Click(colTranslated, Item14);
    F.Type(Typed);
    if (Escape)
        F.Press(Qt::Key_Escape);
    const bool Changed = !Typed.isEmpty() && !Escape;
    // The user's pick in the software box: File > New makes that software's document.
    F.Form().cbxSoftware->setCurrentIndex(Software);
    emit F.Form().cbxSoftware->activated(Software);
    F.W->Dialogs.Shown.clear();
    F.W->Dialogs.Answers.push_back(TModalResult::mrNo);
    if (Open) {
        F.W->Dialogs.Files.push_back(F.Folder.Home() + "Language/Kavr_DEU.str");
        F.Form().FileOpen();
    } else {
        F.Form().FileNew();
    }
    QCoreApplication::processEvents();
    // The question came only when something had been typed.
    QCOMPARE(F.W->Dialogs.Shown.size(), size_t(Changed ? 1 : 0));
    QVERIFY(!F.Form().State().FModified);
    const std::string Item14Text = F.Translated(Item14);
    F.Click(colTranslated, Item14);
    QCOMPARE(F.EditorText().toStdString(), Item14Text);
    F.Press(Qt::Key_Escape);
    F.Click(colTranslated, Item16);
    QCOMPARE(F.Translated(Item14), Item14Text);
    QVERIFY(!F.Form().State().FModified);
    // An edit of the new document still counts.
    F.Click(colTranslated, Item14);
    F.Type("z");
    F.Click(colTranslated, Item16);
    QVERIFY(F.Form().State().FModified);
}

void TestMainWindowEditing::ctrlEndKeepsTheTranslatedColumn() {
    TOpenWindow F("Kavr_FRA.str");
    F.Click(colTranslated, 10);
    F.Press(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(F.Grid().Col(), colTranslated);
    QCOMPARE(F.Grid().Row(), F.Table().RowCount() - 1);
    QVERIFY(F.Grid().EditorShowing());
    QCOMPARE(F.W->Panel(StatusHint), "Column: 5,  Row: " + std::to_string(F.Grid().Row()));
    F.Press(Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(F.Grid().Col(), colTranslated);
    QCOMPARE(F.Grid().Row(), FirstItemRow);
    // The editor stands on the cell and takes the keys.
    QVERIFY(F.Grid().EditorShowing());
    F.Type("q");
    F.Grid().CommitEdit();
    QVERIFY(F.Translated(FirstItemRow).find('q') != std::string::npos);
}

void TestMainWindowEditing::refusedCharactersNeedNoBox() {
    TOpenWindow F("Kavr_PLK.str");
    F.Click(colTranslated, Item14);
    F.Press(Qt::Key_End);
    const std::string Before = F.Translated(Item14);
    F.TypeText(QString::fromUtf8("ЖaЖдb"));
    // No box took the keys: the Latin letters arrived, the Cyrillic ones were refused.
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    F.Grid().CommitEdit();
    QCOMPARE(F.Translated(Item14), Before + "ab");
    const QString Notice = F.Form().StatusPanels[StatusHint]->text();
    QVERIFY2(Notice.contains(QString::fromUtf8("'Ж', 'д'")) && Notice.contains("1250"),
             qPrintable(Notice));
}

void TestMainWindowEditing::everyControlVisibleAt1024() {
    TOpenWindow F("Kavr_FRA.str");
    F.Form().resize(1024, 700);
    QCoreApplication::processEvents();
    const QList<QWidget*> Controls = {F.Form().btnSaveColGrid,
                                      F.Form().btnFillGridCol,
                                      F.Form().MaskEditFrom,
                                      F.Form().MaskEditTo,
                                      F.Form().btnFillTranslatedLanguage,
                                      F.Form().edtFillChar,
                                      F.Form().cbxSoftware,
                                      F.Form().cmbFontCharset,
                                      F.Form().LanguageBox,
                                      F.Form().BackgroudHighlightColorButton};
    const QRect Window = F.Form().rect();
    for (QWidget* Control : Controls) {
        QVERIFY2(Control->isVisible(), qPrintable(Control->objectName()));
        const QRect Place(Control->mapTo(&F.Form(), QPoint(0, 0)), Control->size());
        QVERIFY2(Window.contains(Place), qPrintable(Control->objectName()));
    }
}

void TestMainWindowEditing::longStatusTextNotCut() {
    TOpenWindow F("Kavr_FRA.str");
    const std::string Long = "Widths in Tahoma are approximate (measured with DejaVu Sans)";
    F.Form().SetStatusText(StatusHint, Long);
    QCoreApplication::processEvents();
    QLabel* Panel = F.Form().StatusPanels[StatusHint];
    QVERIFY(Panel->width() >= Panel->fontMetrics().horizontalAdvance(Panel->text()));
    QCOMPARE(Panel->toolTip().toStdString(), Long);
}

void TestMainWindowEditing::newResetsTheCharacterSet() {
    TOpenWindow F("Kavr_RUS.str");
    QCOMPARE(int(F.Form().State().FFontCharset), 204);
    F.Form().FileNew();
    QCOMPARE(F.Form().LanguageBox->currentIndex(), -1);
    // The start-up entry, not the first script of the font.
    QCOMPARE(F.Form().cmbFontCharset->currentText(), QString("(Default)"));
    QCOMPARE(int(F.Form().State().FFontCharset), 0);
}

// A bigger, bold font leaves long constant names wider than their column: the hint of the
// cell under the mouse holds the whole name.
void TestMainWindowEditing::cutNameHasItsHint() {
    TOpenWindow F("Kavr_FRA.str");
    F.Form().FontSize->setValue(16);
    F.Form().BoldButton->click();
    const int Row = Item14 - 1; // MENU_FILE_PRINT_PREVIEW
    F.Grid().SetTopRow(Row - 2);
    QCoreApplication::processEvents();
    QTest::mouseMove(F.Grid().viewport(), F.Grid().CellRect(colName, Row).center());
    QCoreApplication::processEvents();
    const std::string* Hint = F.Table().FindHintCell(colName, Row);
    QVERIFY(Hint);
    QCOMPARE(*Hint, F.Table().Cells(colName, Row));
}

QTEST_MAIN(TestMainWindowEditing)
#include "tst_MainWindowEditing.moc"
