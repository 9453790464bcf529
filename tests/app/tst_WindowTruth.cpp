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
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QtTest>

using namespace kav;

class TestWindowTruth : public QObject {
    Q_OBJECT
private slots:
    void unsavedChangesShow();
    void panelsStayCurrent();
    void searchWindowsKeepTheirTexts();
    void longWorkShowsItsProgress();
    void secondWindowIsToldOfASave();
    void unsavedWorkComesBackAfterACrash();
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

namespace {

// What a look at the please-wait window saw while the work ran.
struct TWaitSeen {
    int Looks = 0;
    int Painted = 0;   // grabs with more than one colour: drawn, not black or see-through
    int MaxValue = -1; // the bar's furthest position
    bool Cancelled = false;
};

// Looks at the please-wait window whenever the blocked work lets events through, and presses
// its Cancel once the bar shows when Press is set.
std::unique_ptr<QTimer> WatchPleaseWait(TWaitSeen& Seen, bool Press) {
    auto Timer = std::make_unique<QTimer>();
    Timer->setInterval(0);
    QObject::connect(Timer.get(), &QTimer::timeout, [&Seen, Press] {
        for (QWidget* Top : QApplication::topLevelWidgets()) {
            if (Top->objectName() != "frmPleaseWait" || !Top->isVisible())
                continue;
            ++Seen.Looks;
            // The folders of the animation are drawn in their own colours.
            const QImage Image = Top->grab().toImage();
            QSet<QRgb> Colours;
            for (int Y = 0; Y < Image.height(); Y += 3)
                for (int X = 0; X < Image.width(); X += 3)
                    Colours.insert(Image.pixel(X, Y));
            if (Colours.size() > 2)
                ++Seen.Painted;
            auto* Bar = Top->findChild<QProgressBar*>("barProgress");
            if (Bar && Bar->isVisible())
                Seen.MaxValue = std::max(Seen.MaxValue, Bar->value());
            auto* Cancel = Top->findChild<QPushButton*>("btnCancel");
            if (Press && Cancel && Cancel->isVisible() && !Seen.Cancelled) {
                QTest::mouseClick(Cancel, Qt::LeftButton);
                Seen.Cancelled = true;
            }
        }
    });
    Timer->start();
    return Timer;
}

} // namespace

void TestWindowTruth::longWorkShowsItsProgress() {
    TOpenWindow F("Kavr_FRA.str");
    const std::string Head = "#include \"KavLang.Inc\"\r\n\r\n//Kavrino Language x\r\n\r\n";
    std::string Default = Head, Translated = Head;
    for (int i = 0; i < 30000; ++i) {
        const std::string Name = "Txt_ITEM" + std::to_string(i);
        Default += Name + " , \"Item " + std::to_string(i) + "\" {40} {} {} {}\r\n";
        Translated += Name + " , \"Objet " + std::to_string(i) + "\"\r\n";
    }
    const auto Write = [&F](const std::string& Relative, const std::string& Bytes) {
        QFile File(QString::fromStdString(F.Folder.Home() + Relative));
        QVERIFY(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
        File.write(Bytes.data(), static_cast<qint64>(Bytes.size()));
    };
    Write("Default/Kavr_ENU.str", Default);
    Write("Language/Kavr_FRA.str", Translated);
    // The open shows a painted window whose bar moves to the end.
    TWaitSeen Opening;
    {
        auto Watch = WatchPleaseWait(Opening, false);
        F.W->Dialogs.Files.push_back(F.Folder.Home() + "Language/Kavr_FRA.str");
        F.Form().FileOpen();
    }
    QVERIFY(Opening.Looks > 0);
    QVERIFY(Opening.Painted > 0);
    QVERIFY2(Opening.MaxValue > 500, qPrintable(QString::number(Opening.MaxValue)));
    QCOMPARE(F.Table().Cells(colTranslated, 30001), std::string_view("Objet 29999"));
    // The check of every item follows the open. Stopped, it shows no findings rather than a
    // part of them; asked for them, it runs to its end.
    const auto Findings = [&F] { return F.Form().FindingsPanel->text(); };
    TWaitSeen Stopped;
    {
        auto Watch = WatchPleaseWait(Stopped, true);
        QTRY_COMPARE(Findings(),
                     QString("Findings: not checked (View > Next Finding checks them)"));
    }
    QVERIFY(Stopped.Cancelled);
    TWaitSeen Checking;
    {
        auto Watch = WatchPleaseWait(Checking, false);
        F.Activate();
        F.Press(Qt::Key_F4);
    }
    QVERIFY2(Checking.MaxValue > 500, qPrintable(QString("%1 looks, %2 at most, %3")
                                                     .arg(Checking.Looks)
                                                     .arg(Checking.MaxValue)
                                                     .arg(Findings())));
    QVERIFY2(Findings().startsWith("Findings: ") && Findings().contains(" errors, "),
             qPrintable(Findings()));
    // Cancel in Replace All leaves every item as it was, with nothing to undo.
    F.Activate();
    TMainForm& Form = F.Form();
    QTest::keyClick(&Form, Qt::Key_R, Qt::ControlModifier);
    Form.ReplaceDialog1->SetFindText("Objet");
    Form.ReplaceDialog1->SetReplaceText("Chose");
    Form.ReplaceDialog1->SetOptions(frDown | frReplaceAll | frMatchCase);
    F.W->Dialogs.Answers = {TModalResult::mrAll};
    TWaitSeen Replacing;
    {
        auto Watch = WatchPleaseWait(Replacing, true);
        Form.ReplaceDialog1->OnReplace(Form.ReplaceDialog1);
    }
    Form.ReplaceDialog1->ReplaceWindow()->close();
    QVERIFY(Replacing.Cancelled);
    for (int Row : {2, 15000, 30001})
        QVERIFY(F.Table().Cells(colTranslated, Row).starts_with("Objet "));
    QVERIFY(!Form.isWindowModified());
    QVERIFY(!Form.UndoMenu->isEnabled());
    QCOMPARE(F.W->Panel(StatusHint), std::string("Replace All cancelled: nothing was replaced"));
}

// Two windows on one file: the save of the first is news to the second, which asks before its
// own save could write over it.
void TestWindowTruth::secondWindowIsToldOfASave() {
    TProgramFolder Folder;
    const std::string File = Folder.Home() + "Language/Kavr_FRA.str";
    TWindow First(Folder.Home(), File);
    TWindow Second(Folder.Home(), File);
    First.Form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&First.Form));
    First.Form.Document().EditItem(0, TItemField::Translation, "changed");
    First.Form.FileSave();
    QVERIFY(Second.Dialogs.Prompts.empty());
    Second.Form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&Second.Form));
    QTRY_COMPARE(Second.Dialogs.Prompts.size(), size_t(1));
    QVERIFY(Second.Dialogs.Prompts[0].starts_with(File + " was changed by another program"));
    // Cancelled: asked again before its save, which then does not happen.
    Second.Form.Document().EditItem(1, TItemField::Translation, "mine");
    Second.Form.FileSave();
    QCOMPARE(Second.Dialogs.Prompts.size(), size_t(2));
    QVERIFY(Second.Form.isWindowModified());
    QFile Disk(QString::fromStdString(File));
    QVERIFY(Disk.open(QIODevice::ReadOnly));
    const QByteArray Bytes = Disk.readAll();
    QVERIFY(Bytes.contains("\"changed\""));
    QVERIFY(!Bytes.contains("\"mine\""));
}

void TestWindowTruth::unsavedWorkComesBackAfterACrash() {
    TProgramFolder Folder;
    const std::string File = Folder.Home() + "Language/Kavr_FRA.str";
    const std::string Offer = "Recover unsaved changes of " + File + " from ";
    {
        // A Fill changes every item: its work is copied aside at once. The window then goes
        // without a word, as in a crash.
        TWindow Crashed(Folder.Home(), File);
        Crashed.Form.edtFillChar->setText("#");
        Crashed.Dialogs.Answers = {TModalResult::mrYes};
        Crashed.Form.btnFillTranslatedLanguage->click();
        QVERIFY(Crashed.Form.isWindowModified());
        QCoreApplication::processEvents();
    }
    // The next start offers it (put off with Later), and so does opening the file.
    TWindow Next(Folder.Home(), File);
    QCOMPARE(Next.Dialogs.Shown.size(), size_t(1));
    QVERIFY(Next.Dialogs.Shown[0].starts_with(Offer));
    QVERIFY(!Next.Form.isWindowModified());
    Next.Dialogs.Answers = {TModalResult::mrYes};
    QVERIFY(Next.Form.Document().OpenPath(File));
    QVERIFY(Next.Dialogs.Shown.back().starts_with(Offer));
    QCOMPARE(Next.Form.Table().Cells(colTranslated, FirstItemRow), std::string_view("#"));
    QVERIFY(Next.Form.isWindowModified());
    QVERIFY(Next.Form.UndoMenu->isEnabled());
}

QTEST_MAIN(TestWindowTruth)
#include "tst_WindowTruth.moc"
