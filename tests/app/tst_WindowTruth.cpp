// The window tells the truth about the document: the caption and the status bar say when it
// has unsaved changes, no panel goes on telling about a previous document or a save that did
// not happen, and the search windows keep what the translator set in them.

#include "MainWindowFixture.h"
#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "searchui/KavrinoFindDialog.h"
#include "searchui/KavrinoFindForm.h"
#include "searchui/KavrinoReplaceDialog.h"
#include "searchui/KavrinoReplaceForm.h"

#include <QCheckBox>
#include <QtTest>

using namespace kav;

class TestWindowTruth : public QObject {
    Q_OBJECT
private slots:
    void unsavedChangesShow();
    void panelsStayCurrent();
    void searchWindowsKeepTheirTexts();
};

void TestWindowTruth::unsavedChangesShow() {
    TOpenWindow F("Kavr_FRA.str");
    QVERIFY(!F.Form().isWindowModified());
    QCOMPARE(F.Form().ModifiedPanel->text(), QString());
    F.Click(colTranslated, 8);
    F.Type("x");
    F.Press(Qt::Key_Return);
    QTRY_VERIFY(F.Form().isWindowModified());
    QVERIFY(F.Form().windowTitle().contains("Kavr_FRA.str[*]"));
    QCOMPARE(F.Form().ModifiedPanel->text(), QString("Modified"));
    F.Press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!F.Form().isWindowModified());
    QCOMPARE(F.Form().ModifiedPanel->text(), QString());
}

void TestWindowTruth::panelsStayCurrent() {
    TOpenWindow F("Kavr_PLK.str");
    // A character the code page refuses leaves its notice ...
    F.Click(colTranslated, 6);
    F.TypeText(QString::fromUtf8("Ж"));
    QVERIFY(F.W->Panel(StatusHint).find("Not typed") == 0);
    // ... which goes with the document it was about.
    F.W->Dialogs.Answers = {TModalResult::mrNo};
    F.Form().FileNew();
    QVERIFY(F.W->Panel(StatusHint).find("Not typed") == std::string::npos);
    // A save that did not happen does not leave an earlier "Saved file:" behind.
    TOpenWindow G("Kavr_FRA.str");
    G.Form().SetModified(true);
    G.Press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY(G.W->Panel(StatusFile).find("Saved file: ") == 0);
    G.Click(colName, 5);
    G.Press(Qt::Key_A, Qt::ControlModifier);
    G.Press(Qt::Key_Backspace);
    G.Press(Qt::Key_Return);
    G.W->Dialogs.Answers = {TModalResult::mrNo};
    G.Press(Qt::Key_S, Qt::ControlModifier);
    QVERIFY2(G.W->Panel(StatusFile).find("Not saved: ") == 0, G.W->Panel(StatusFile).c_str());
}

void TestWindowTruth::searchWindowsKeepTheirTexts() {
    TOpenWindow F("Kavr_FRA.str");
    TMainForm& Form = F.Form();
    // The find window opens with the text searched last, not with the text of the cell.
    QTest::keyClick(&Form, Qt::Key_F, Qt::ControlModifier);
    Form.FindDialog1->SetFindText("Fichier");
    Form.FindDialog1->FindNextClick();
    Form.FindDialog1->Window()->close();
    F.Activate();
    F.Click(colTranslated, 30);
    QTest::keyClick(&Form, Qt::Key_F, Qt::ControlModifier);
    QCOMPARE(Form.FindDialog1->Window()->EdtSearch->text(), QString("Fichier"));
    Form.FindDialog1->Window()->close();
    F.Activate();
    // The replace window keeps whole word and match case from one use to the next.
    QTest::keyClick(&Form, Qt::Key_R, Qt::ControlModifier);
    TfrmReplaceDlg* Window = Form.ReplaceDialog1->ReplaceWindow();
    Window->ckxMatchCase->click();
    Window->ckxMatchWholeWord->click();
    Window->close();
    F.Activate();
    QTest::keyClick(&Form, Qt::Key_R, Qt::ControlModifier);
    Window = Form.ReplaceDialog1->ReplaceWindow();
    QVERIFY(Window->ckxMatchCase->isChecked());
    QVERIFY(Window->ckxMatchWholeWord->isChecked());
    QVERIFY(Form.ReplaceDialog1->Options() & frMatchCase);
    Window->close();
}

QTEST_MAIN(TestWindowTruth)
#include "tst_WindowTruth.moc"
