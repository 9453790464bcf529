// Find and replace driven through the real main window: its dialogs, its grid (whose top row
// clamps in the last screenful), real message boxes answered by keys, and grabbed pixels.

#include "MainWindowFixture.h"
#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "measure/TextMeasure.h"
#include "searchui/KavrinoFindDialog.h"
#include "searchui/KavrinoFindForm.h"
#include "searchui/KavrinoReplaceDialog.h"
#include "searchui/KavrinoReplaceForm.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <functional>

using namespace kav;

namespace {

const QRgb Red = qRgb(255, 0, 0);

// The French sample in a window that has the keyboard.
struct TFrenchWindow {
    TProgramFolder Folder;
    std::unique_ptr<TWindow> W;
    explicit TFrenchWindow(bool RealBoxes = false) {
        W = std::make_unique<TWindow>(Folder.Home(), Folder.Home() + "Language/Kavr_FRA.str");
        if (RealBoxes)
            W->Form.SetDialogs(nullptr);
        W->Form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&W->Form));
    }
    TMainForm& Form() { return W->Form; }
    TStyledStringGrid& Grid() { return *W->Form.strGrid; }
    TStyledGridModel& Table() { return W->Form.Table(); }
    // The top row the grid keeps when asked to show the last row at the top.
    int LastTop() {
        const int Top = Grid().TopRow();
        Grid().SetTopRow(Table().RowCount() - 1);
        const int Last = Grid().TopRow();
        Grid().SetTopRow(Top);
        return Last;
    }
    // Red pixels of the translated cell of Row as the grid shows it now.
    int RedPixels(int Row) {
        const QImage Image = Grid().viewport()->grab().toImage();
        const QRect Cell = Grid().CellRect(colTranslated, Row) & Image.rect();
        int Count = 0;
        for (int Y = Cell.top(); Y <= Cell.bottom(); ++Y)
            for (int X = Cell.left(); X <= Cell.right(); ++X)
                Count += Image.pixel(X, Y) == Red ? 1 : 0;
        return Count;
    }
    TfrmReplaceDlg& OpenReplace(const QString& Find, const QString& New) {
        QTest::keyClick(&Form(), Qt::Key_R, Qt::ControlModifier);
        TfrmReplaceDlg* Window = Form().ReplaceDialog1->ReplaceWindow();
        [&] { QVERIFY(Window && Window->isVisible()); }();
        QTest::keyClicks(Window->EdtSearch, Find);
        QTest::keyClicks(Window->edtReplace, New);
        return *Window;
    }
};

void PostKey(QWidget* Target, Qt::Key Key) {
    QCoreApplication::postEvent(Target, new QKeyEvent(QEvent::KeyPress, Key, Qt::NoModifier));
    QCoreApplication::postEvent(Target, new QKeyEvent(QEvent::KeyRelease, Key, Qt::NoModifier));
}

// Watches the message boxes while a step runs: notes each box shown and the most open at once,
// and hands the box in front to Answer. Boxes still open after many ticks are closed, so that
// a fault that stacks boxes cannot hang the test.
class TBoxWatch {
public:
    std::function<void(QMessageBox&)> Answer;
    QStringList Texts;
    int MostOpen = 0;

    TBoxWatch() {
        FTimer.setInterval(20);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Tick(); });
        FTimer.start();
    }

private:
    // A box is marked when first seen: the next one may live at the same address.
    void Tick() {
        std::vector<QMessageBox*> Open;
        for (QWidget* W : QApplication::topLevelWidgets())
            if (auto* Box = qobject_cast<QMessageBox*>(W); Box && Box->isVisible())
                Open.push_back(Box);
        MostOpen = std::max(MostOpen, int(Open.size()));
        for (QMessageBox* Box : Open)
            if (!Box->property("seen").toBool()) {
                Box->setProperty("seen", true);
                Texts << Box->text();
            }
        auto* Front = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!Front)
            return;
        if (++FTicks > 40) {
            for (QMessageBox* Box : Open)
                Box->done(QMessageBox::Cancel);
        } else if (!Front->property("answered").toBool() && Answer) {
            Front->setProperty("answered", true);
            Answer(*Front);
        }
    }

    QTimer FTimer;
    int FTicks = 0;
};

} // namespace

class TestFindReplaceWindow : public QObject {
    Q_OBJECT
private slots:
    void highlightCoversTheWholeWordHit();
    void replaceActsOnTheFoundRow();
    void enterInAMessageBoxAnswersTheBox();
    void replaceAllQuestionShowsTheHit();
    void markedRowNavigationReachesEveryMark();
    void everyReplacedHitIsMarked();
};

// A whole-word hit after the same letters inside another word: the highlight covers the hit.
void TestFindReplaceWindow::highlightCoversTheWholeWordHit() {
    TFrenchWindow F;
    const int Row = 40;
    F.Table().SetCells(colTranslated, Row, "Modexq xq passe");
    F.Grid().FocusCell(colTranslated, Row - 1);
    TfrmReplaceDlg& Dialog = F.OpenReplace("xq", "du");
    Dialog.ckxMatchWholeWord->click();
    QTest::keyClick(Dialog.EdtSearch, Qt::Key_Return);
    QCOMPARE(F.Form().Search().State().FFoundRow, Row);
    F.Grid().viewport()->repaint();
    const QImage Image = F.Grid().viewport()->grab().toImage();
    const QRect Cell = F.Grid().CellRect(colTranslated, Row);
    int FirstRed = -1;
    for (int X = Cell.left(); X <= Cell.right() && FirstRed < 0; ++X)
        if (Image.pixel(X, Cell.center().y()) == Red)
            FirstRed = X;
    const int AfterMode =
        TTextMeasure::Shared().Width("Modexq ", F.Grid().StyledFont(colTranslated, Row));
    QVERIFY2(FirstRed >= Cell.left() + AfterMode - 1,
             qPrintable(QString("%1 < %2").arg(FirstRed).arg(Cell.left() + AfterMode)));
}

void TestFindReplaceWindow::replaceActsOnTheFoundRow() {
    // The hit is in the last screenful, where the grid cannot scroll it to the top: the top row
    // holds the same text and must stay as it is.
    TFrenchWindow F;
    const int Top = F.LastTop();
    const int Hit = F.Table().RowCount() - 5;
    QVERIFY(Top < Hit - 2);
    F.Table().SetCells(colTranslated, Top, "Zorglub en haut");
    F.Table().SetCells(colTranslated, Hit, "Zorglub ici");
    TfrmReplaceDlg& Dialog = F.OpenReplace("zorglub", "Abc");
    F.Grid().FocusCell(colTranslated, Top); // the search goes on after the top row
    QTest::keyClick(Dialog.EdtSearch, Qt::Key_Return);
    QCOMPARE(F.Form().Search().State().FFoundRow, Hit);
    QCOMPARE(F.Grid().TopRow(), Top);
    QTest::mouseClick(Dialog.btnReplace, Qt::LeftButton);
    QCOMPARE(F.Table().Cells(colTranslated, Hit), std::string("Abc ici"));
    const TItemTable& Items = F.Form().Document().Items();
    QCOMPARE(Items.MarkText(ItemOfRow(Hit)), std::string("[1] <Zorglub>  @Abc@"));
    QCOMPARE(F.Table().Cells(colTranslated, Top), std::string("Zorglub en haut"));
    QCOMPARE(Items.MarkText(ItemOfRow(Top)), std::string());
    QVERIFY(F.Form().State().FModified);
}

void TestFindReplaceWindow::enterInAMessageBoxAnswersTheBox() {
    // Three Enters while "End of grid..." is open: the first closes it, and none of them runs
    // a Find Next behind the box.
    TFrenchWindow F(true);
    QTest::keyClick(&F.Form(), Qt::Key_F, Qt::ControlModifier);
    TfrmFindDlg* Dialog = F.Form().FindDialog1->Window();
    QVERIFY(Dialog && Dialog->isVisible());
    QTest::keyClicks(Dialog->EdtSearch, "zzqqxx");
    TBoxWatch Watch;
    Watch.Answer = [](QMessageBox& Box) {
        QWidget* Target = Box.focusWidget() ? Box.focusWidget() : &Box;
        for (int i = 0; i < 3; ++i)
            PostKey(Target, Qt::Key_Return);
    };
    QTest::keyClick(Dialog->EdtSearch, Qt::Key_Return);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QTest::qWait(100); // Enters left over would open more boxes now
    QCOMPARE(Watch.Texts, QStringList{"End of grid. Search string not found."});
    QCOMPARE(Watch.MostOpen, 1);
    // Enter in the grid still runs Find Next while the dialog is open.
    F.Table().SetCells(colTranslated, 20, "zzqqxx");
    F.Grid().FocusCell(colTranslated, 10);
    F.Form().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&F.Form()));
    F.Grid().setFocus();
    QWidget* GridFocus = QApplication::focusWidget();
    QVERIFY(GridFocus && (GridFocus == &F.Grid() || F.Grid().isAncestorOf(GridFocus)));
    QTest::keyClick(GridFocus, Qt::Key_Return);
    QCOMPARE(F.Form().Search().State().FFoundRow, 20);
    QCOMPARE(F.Grid().Row(), 20); // the hit is the row worked on
}

void TestFindReplaceWindow::replaceAllQuestionShowsTheHit() {
    // Two hits in the last screenful; each question shows its hit in view and highlighted.
    TFrenchWindow F(true);
    const QList<int> Hits{F.Table().RowCount() - 6, F.Table().RowCount() - 2};
    for (int Row : Hits)
        F.Table().SetCells(colTranslated, Row, "Quitter Zorglub maintenant");
    TfrmReplaceDlg& Dialog = F.OpenReplace("zorglub", "Abc");
    QCOMPARE(Dialog.windowTitle(), QString("Replace"));
    QList<int> RedWhileAsked;
    QList<bool> InView;
    QList<QWidget*> Owners; // every box opens over the stay-on-top window, never under it
    TBoxWatch Watch;
    Watch.Answer = [&](QMessageBox& Box) {
        Owners << Box.parentWidget();
        if (Box.text() == "Replace this occurence ?") {
            const int Row = Hits.value(RedWhileAsked.size());
            RedWhileAsked << F.RedPixels(Row);
            InView << F.Grid().viewport()->rect().contains(
                F.Grid().CellRect(colTranslated, Row).center());
            PostKey(Box.button(QMessageBox::Yes), Qt::Key_Space);
        } else {
            PostKey(Box.focusWidget() ? Box.focusWidget() : &Box, Qt::Key_Return);
        }
    };
    QTest::mouseClick(Dialog.btnReplaceAll, Qt::LeftButton);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(Watch.Texts, (QStringList{"Replace this occurence ?", "Replace this occurence ?",
                                       "Found 2 occurences in 2 items"}));
    QCOMPARE(InView, (QList<bool>{true, true}));
    QCOMPARE(Owners, (QList<QWidget*>{&Dialog, &Dialog, &Dialog}));
    QCOMPARE(RedWhileAsked.size(), 2);
    for (int Red : RedWhileAsked)
        QVERIFY2(Red > 20, qPrintable(QString::number(Red)));
    for (int Row : Hits)
        QCOMPARE(F.Table().Cells(colTranslated, Row), std::string("Quitter Abc maintenant"));
}

void TestFindReplaceWindow::markedRowNavigationReachesEveryMark() {
    TFrenchWindow F;
    const int Last = F.Table().RowCount() - 1;
    const QList<int> Marked{50, Last - 6, Last - 1};
    {
        TDocumentEdit Edit(F.Form().Document(), "marks");
        for (int Row : Marked)
            Edit.Replace(ItemOfRow(Row), {1, "Ancien", "Nouveau", {}, "Nouveau texte"});
    }
    F.Grid().FocusCell(colTranslated, 10);
    F.Grid().SetTopRow(2);
    F.Grid().setFocus();
    auto Press = [&](Qt::Key Key) {
        QWidget* Target = QApplication::focusWidget();
        QVERIFY(Target);
        QTest::keyClick(Target, Key, Qt::AltModifier);
    };
    // Down through every mark, the two of the last screenful included, then up again.
    const QList<QPair<Qt::Key, int>> Steps{{Qt::Key_F12, Marked[0]}, {Qt::Key_F12, Marked[1]},
                                           {Qt::Key_F12, Marked[2]}, {Qt::Key_F12, Marked[2]},
                                           {Qt::Key_F11, Marked[1]}, {Qt::Key_F11, Marked[0]}};
    for (const auto& [Key, Row] : Steps) {
        Press(Key);
        // The row reached is the current row, and its editor shows the mark.
        QCOMPARE(F.Grid().Row(), Row);
        QVERIFY2(F.RedPixels(Row) > 20, qPrintable(QString::number(Row)));
    }
}

// Replace All of two hits in one item: the mark shows both in red, not only the first, and
// not a third occurrence the replacement did not write.
void TestFindReplaceWindow::everyReplacedHitIsMarked() {
    TFrenchWindow F(true);
    const int Row = 6;
    F.Table().SetCells(colTranslated, Row, "Zorglub Abc et zorglub ici");
    TfrmReplaceDlg& Dialog = F.OpenReplace("zorglub", "Abc");
    TBoxWatch Watch;
    Watch.Answer = [](QMessageBox& Box) {
        for (QAbstractButton* Button : Box.buttons())
            if (Button->text().remove('&') == "All")
                return PostKey(Button, Qt::Key_Space);
        PostKey(Box.focusWidget() ? Box.focusWidget() : &Box, Qt::Key_Return);
    };
    QTest::mouseClick(Dialog.btnReplaceAll, Qt::LeftButton);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(F.Table().Cells(colTranslated, Row), std::string("Abc Abc et Abc ici"));
    Dialog.close();
    F.Grid().SetTopRow(2);
    const QImage Image = F.Grid().viewport()->grab().toImage();
    const QRect Cell = F.Grid().CellRect(colTranslated, Row) & Image.rect();
    int Runs = 0;
    bool InRed = false;
    for (int X = Cell.left(); X <= Cell.right(); ++X) {
        bool IsRed = false; // a band's column is red above and below its white letters
        for (int Y = Cell.top(); Y <= Cell.bottom() && !IsRed; ++Y)
            IsRed = Image.pixel(X, Y) == Red;
        Runs += IsRed && !InRed ? 1 : 0;
        InRed = IsRed;
    }
    QCOMPARE(Runs, 2);
}

QTEST_MAIN(TestFindReplaceWindow)
#include "tst_FindReplaceWindow.moc"
