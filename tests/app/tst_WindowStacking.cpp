// The main window on a real X server under a window manager, where the offscreen platform
// cannot show what goes wrong between windows: a question of Replace All must open above the
// stay-on-top Replace window and take the keyboard, the grid must get the keys back after a
// menu closed with Escape, and a paste with a clipboard that nobody owns must do no harm.

#include "MainWindowFixture.h"
#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "searchui/KavrinoReplaceDialog.h"
#include "searchui/KavrinoReplaceForm.h"

#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>

using namespace kav;

namespace {

bool GridHasTheKeyboard(TStyledStringGrid& Grid) {
    QWidget* Focus = QApplication::focusWidget();
    return Focus && (Focus == &Grid || Grid.isAncestorOf(Focus));
}

// The Replace window opened with Ctrl+R, shown, with "Fichier" to be replaced by "Dossier",
// and the real message boxes; null when it did not show.
TfrmReplaceDlg* OpenReplace(TOpenWindow& F) {
    F.Form().SetDialogs(nullptr);
    QTest::keyClick(&F.Form(), Qt::Key_R, Qt::ControlModifier);
    TfrmReplaceDlg* Replace = F.Form().ReplaceDialog1->ReplaceWindow();
    if (!Replace || !QTest::qWaitForWindowExposed(Replace))
        return nullptr;
    QTest::keyClicks(Replace->EdtSearch, "Fichier");
    QTest::keyClicks(Replace->edtReplace, "Dossier");
    return Replace;
}

} // namespace

class TestWindowStacking : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void replaceQuestionOpensAboveTheReplaceWindow();
    void replaceProgressOpensAboveTheReplaceWindow();
    void keysReachTheGridAfterAMenu();
    void pasteWithAnUnownedClipboard();
};

void TestWindowStacking::initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
}

void TestWindowStacking::replaceQuestionOpensAboveTheReplaceWindow() {
    TOpenWindow F("Kavr_FRA.str");
    TfrmReplaceDlg* Replace = OpenReplace(F);
    QVERIFY(Replace);
    QWindow* Parent = nullptr;
    bool HadTheKeyboard = false;
    QString Asked;
    QTimer::singleShot(500, [&] {
        auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!Box)
            return;
        Asked = Box->text();
        Parent = Box->windowHandle() ? Box->windowHandle()->transientParent() : nullptr;
        HadTheKeyboard = QApplication::activeWindow() == Box;
        Box->button(QMessageBox::Cancel)->click();
    });
    QTest::mouseClick(Replace->btnReplaceAll, Qt::LeftButton);
    QCOMPARE(Asked, QString("Replace this occurence ?"));
    // Transient for the stay-on-top window, the box is stacked above it, and answers the keys.
    QCOMPARE(Parent, Replace->windowHandle());
    QVERIFY(HadTheKeyboard);
    Replace->close();
}

// Answered "All", the rest of Replace All goes by under the please-wait window: it must stand
// above the stay-on-top Replace window too, or its Cancel is hidden under it.
void TestWindowStacking::replaceProgressOpensAboveTheReplaceWindow() {
    TOpenWindow F("Kavr_FRA.str");
    TfrmReplaceDlg* Replace = OpenReplace(F);
    QVERIFY(Replace);
    QWindow* WaitParent = nullptr;
    bool Waited = false;
    QString Summary;
    QTimer Watch;
    Watch.setInterval(5);
    QObject::connect(&Watch, &QTimer::timeout, [&] {
        for (QWidget* Window : QApplication::topLevelWidgets())
            if (Window->objectName() == "frmPleaseWait" && Window->isVisible() && !Waited) {
                Waited = true;
                WaitParent =
                    Window->windowHandle() ? Window->windowHandle()->transientParent() : nullptr;
            }
        auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!Box)
            return;
        if (Box->button(QMessageBox::YesToAll)) {
            Box->button(QMessageBox::YesToAll)->click();
        } else if (Box->button(QMessageBox::Ok)) {
            Summary = Box->text();
            Box->button(QMessageBox::Ok)->click();
        }
    });
    Watch.start();
    QTest::mouseClick(Replace->btnReplaceAll, Qt::LeftButton);
    Watch.stop();
    QVERIFY(Summary.startsWith("Found"));
    QVERIFY(Waited);
    QCOMPARE(WaitParent, Replace->windowHandle());
    Replace->close();
}

void TestWindowStacking::keysReachTheGridAfterAMenu() {
    TOpenWindow F("Kavr_FRA.str");
    F.Click(colTranslated, 20);
    QMenu* File = F.Form().menuBar()->actions()[0]->menu();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
    QTRY_VERIFY(File->isVisible());
    QTest::keyClick(File, Qt::Key_Escape);
    QTRY_VERIFY(!File->isVisible());
    QTRY_VERIFY(GridHasTheKeyboard(F.Grid()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Home, Qt::ControlModifier);
    QCOMPARE(F.Grid().Row(), FirstItemRow);
}

void TestWindowStacking::pasteWithAnUnownedClipboard() {
    TOpenWindow F("Kavr_FRA.str");
    F.Click(colTranslated, 9);
    const QString Shown = F.EditorText();
    // Owned by nobody: what the clipboard offers has no formats at all.
    QApplication::clipboard()->setMimeData(new QMimeData);
    QApplication::clipboard()->clear();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(F.EditorText(), Shown);
    QVERIFY(F.Grid().EditorShowing());
}

QTEST_MAIN(TestWindowStacking)
#include "tst_WindowStacking.moc"
