#include "DocumentFixture.h"
#include "ScriptedUserInterface.h"
#include "SearchFakes.h"
#include "document/TranslationTable.h"
#include "search/SearchCommands.h"
#include "searchui/EnterKeyFilter.h"
#include "searchui/KavrinoFindDialog.h"
#include "searchui/KavrinoFindForm.h"
#include "searchui/KavrinoReplaceDialog.h"
#include "searchui/KavrinoReplaceForm.h"

#include <QtTest>

using namespace kav;

namespace {

// Types Text into the widget as the keyboard would, one character per key event, so that
// letters without a key of their own (Cyrillic on a test machine) arrive too.
void TypeText(QWidget* Widget, const QString& Text) {
    for (QChar Ch : Text) {
        QKeyEvent Press(QEvent::KeyPress, 0, Qt::NoModifier, QString(Ch));
        QApplication::sendEvent(Widget, &Press);
        QKeyEvent Release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(Ch));
        QApplication::sendEvent(Widget, &Release);
    }
}

QStringList TabChain(QWidget* First) {
    QStringList Names;
    QWidget* W = First;
    do {
        if (W->focusPolicy() & Qt::TabFocus)
            Names << W->objectName();
        W = W->nextInFocusChain();
    } while (W && W != First && Names.size() < 20);
    return Names;
}

void DeleteLaterNow() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestSearchDialogs : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { DeleteLaterNow(); }
    void windowsCarryTheirControls_data();
    void windowsCarryTheirControls();
    void typingUpdatesFindText();
    void checkBoxesSetBits_data();
    void checkBoxesSetBits();
    void replaceAllThenReplace();
    void freshWindowAfterCancel();
    void positionMovesAnOpenWindow();
    void titleBarCloseOnlyHides();
    void fieldsTypeInTheLanguagesPage_data();
    void fieldsTypeInTheLanguagesPage();
    void enterRunsFindNextWhileADialogIsOpen();
};

void TestSearchDialogs::windowsCarryTheirControls_data() {
    QTest::addColumn<bool>("replace");
    QTest::addColumn<QStringList>("tabs");
    QTest::newRow("find") << false
                          << QStringList{"EdtSearch", "btnFindNext", "btnCancel",
                                         "ckxMatchWholeWord", "ckxMatchCase"};
    QTest::newRow("replace") << true
                             << QStringList{"EdtSearch",         "edtReplace",    "btnFindNext",
                                            "btnReplace",        "btnReplaceAll", "btnCancel",
                                            "ckxMatchWholeWord", "ckxMatchCase"};
}

void TestSearchDialogs::windowsCarryTheirControls() {
    QFETCH(bool, replace);
    QFETCH(QStringList, tabs);
    TKavrinoFindDialog Find;
    TKavrinoReplaceDialog Replace;
    TKavrinoDialogBase& Dialog = replace ? static_cast<TKavrinoDialogBase&>(Replace) : Find;
    Dialog.Execute();
    TfrmFindDlg* W = Dialog.Window();
    QVERIFY(W && W->isVisible());
    QCOMPARE(W->windowTitle(), QString(replace ? "Replace" : "Find"));
    QVERIFY(!W->isModal());
    QVERIFY(W->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(TabChain(W->EdtSearch), tabs);
    // No default button: Enter in a field presses nothing in the window itself.
    for (QPushButton* Button : W->findChildren<QPushButton*>())
        QVERIFY(!Button->isDefault() && !Button->autoDefault());
}

void TestSearchDialogs::typingUpdatesFindText() {
    TKavrinoFindDialog Find;
    std::vector<std::string> Seen;
    Find.OnFind = [&](QObject* Sender) {
        QCOMPARE(Sender, &Find);
        Seen.push_back(Find.FindText());
    };
    Find.Execute();
    QTest::keyClick(Find.Window()->EdtSearch, 'C');
    QCOMPARE(Find.FindText(), std::string("C"));
    QTest::keyClicks(Find.Window()->EdtSearch, "ancel");
    QCOMPARE(Find.FindText(), std::string("Cancel"));
    Find.Window()->btnFindNext->click();
    QCOMPARE(Seen, std::vector<std::string>{"Cancel"});
}

void TestSearchDialogs::checkBoxesSetBits_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("bit");
    QTest::newRow("match case") << "ckxMatchCase" << int(frMatchCase);
    QTest::newRow("whole word") << "ckxMatchWholeWord" << int(frWholeWord);
}

void TestSearchDialogs::checkBoxesSetBits() {
    QFETCH(QString, box);
    QFETCH(int, bit);
    TKavrinoReplaceDialog Dialog;
    Dialog.Execute();
    auto* Box = Dialog.Window()->findChild<QCheckBox*>(box);
    QVERIFY(Box);
    QCOMPARE(Dialog.Options(), TFindOptions(frDown));
    QTest::mouseClick(Box, Qt::LeftButton, {}, QPoint(5, Box->height() / 2));
    QCOMPARE(Dialog.Options(), TFindOptions(frDown | bit));
    Box->click();
    QCOMPARE(Dialog.Options(), TFindOptions(frDown));
}

void TestSearchDialogs::replaceAllThenReplace() {
    TKavrinoReplaceDialog Dialog;
    std::vector<bool> All;
    Dialog.OnReplace = [&](QObject*) { All.push_back(Dialog.Options() & frReplaceAll); };
    Dialog.Execute();
    TfrmReplaceDlg* W = Dialog.ReplaceWindow();
    QTest::keyClicks(W->edtReplace, "Abort");
    QCOMPARE(Dialog.ReplaceText(), std::string("Abort"));
    W->btnReplaceAll->click();
    W->btnReplace->click();
    QCOMPARE(All, (std::vector<bool>{true, false}));
}

void TestSearchDialogs::freshWindowAfterCancel() {
    TKavrinoFindDialog Find;
    int Closes = 0;
    Find.OnClose = [&](QObject*) { ++Closes; };
    Find.Execute();
    QPointer<TfrmFindDlg> First = Find.Window();
    QTest::keyClicks(First->EdtSearch, "abc");
    First->ckxMatchCase->click();
    QTest::keyClick(First->EdtSearch, Qt::Key_Escape); // presses Cancel
    QCOMPARE(Closes, 1);
    QVERIFY(!Find.IsOpen());
    QVERIFY(!Find.Window());
    DeleteLaterNow();
    QVERIFY(!First);
    Find.Execute();
    TfrmFindDlg* Second = Find.Window();
    QVERIFY(Second && Second->isVisible());
    // The window is new; the options of the last use are kept.
    QVERIFY(Second->ckxMatchCase->isChecked());
    QCOMPARE(Find.Options(), TFindOptions(frDown | frMatchCase));
    QCOMPARE(Second->EdtSearch->text(), QString("abc"));
    QVERIFY(Find.IsOpen());
}

void TestSearchDialogs::positionMovesAnOpenWindow() {
    TKavrinoFindDialog Find;
    QCOMPARE(Find.Left(), -1);
    Find.SetPosition(10, 20);
    QCOMPARE(Find.Top(), 20);
    Find.Execute();
    TfrmFindDlg* W = Find.Window();
    const QSize Size = W->size();
    Find.SetPosition(100, 120);
    QCOMPARE(W->frameGeometry().topLeft(), QPoint(100, 120));
    QCOMPARE(W->size(), Size);
    // Dragged by the user: Left and Top follow the window.
    W->move(300, 310);
    QCOMPARE(Find.Left(), 300);
    QCOMPARE(Find.Top(), 310);
}

void TestSearchDialogs::titleBarCloseOnlyHides() {
    TKavrinoFindDialog Find;
    int Closes = 0;
    Find.OnClose = [&](QObject*) { ++Closes; };
    Find.Execute();
    TfrmFindDlg* W = Find.Window();
    W->ckxMatchCase->click();
    QVERIFY(W->close());
    DeleteLaterNow();
    QCOMPARE(Closes, 0);
    QVERIFY(!Find.IsOpen());
    QCOMPARE(Find.Window(), W);
    QVERIFY(!W->isVisible());
    Find.Execute();
    QCOMPARE(Find.Window(), W);
    QVERIFY(W->isVisible());
    QVERIFY(W->ckxMatchCase->isChecked());
    QCOMPARE(Find.Options(), TFindOptions(frDown | frMatchCase));
}

void TestSearchDialogs::fieldsTypeInTheLanguagesPage_data() {
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("refusal"); // part of the message, "" when accepted
    QTest::newRow("cyrillic") << 204 << QString("файл") << QByteArray("\xF4\xE0\xE9\xEB") << "";
    QTest::newRow("western") << 0 << QString("été") << QByteArray("\xE9t\xE9") << "";
    QTest::newRow("polish") << 238 << QString("łó") << QByteArray("\xB3\xF3") << "";
    QTest::newRow("refused") << 204 << QString("aé") << QByteArray("a")
                             << "cannot be written in code page windows-1251";
}

void TestSearchDialogs::fieldsTypeInTheLanguagesPage() {
    QFETCH(int, charset);
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, refusal);
    TKavrinoReplaceDialog Dialog;
    QStringList Refusals;
    Dialog.OnRefused = [&](const QString& Message) { Refusals << Message; };
    // The main window gives the dialog the language's character set when it is shown.
    Dialog.OnShow = [&](QObject*) { Dialog.SetFontCharset(static_cast<std::uint8_t>(charset)); };
    Dialog.Execute();
    TfrmReplaceDlg* W = Dialog.ReplaceWindow();
    TypeText(W->EdtSearch, typed);
    TypeText(W->edtReplace, typed);
    QCOMPARE(QByteArray::fromStdString(Dialog.FindText()), bytes);
    QCOMPARE(QByteArray::fromStdString(Dialog.ReplaceText()), bytes);
    if (refusal.isEmpty()) {
        QVERIFY(Refusals.isEmpty());
        QCOMPARE(W->EdtSearch->text(), typed);
    } else {
        QCOMPARE(Refusals.size(), 2);
        QVERIFY2(Refusals[0].contains(refusal), qPrintable(Refusals[0]));
        QCOMPARE(W->EdtSearch->text(), QString::fromLatin1(bytes));
    }
}

void TestSearchDialogs::enterRunsFindNextWhileADialogIsOpen() {
    // The main window's wiring: dialog events to the commands, Enter to the short-cut handler.
    TFixture F;
    F.OpenItems({"Press Cancel", "x", "Cancel all"});
    TDocument& Doc = F.Doc;
    ScriptedUserInterface& UI = F.UI;
    TFakeSearchView View;
    TKavrinoFindDialog Find;
    TKavrinoReplaceDialog Replace;
    TSearchCommands Commands(Doc, UI, View, Find, Replace);
    Find.OnShow = [&](QObject*) { Commands.FindDialogShow(); };
    Find.OnFind = [&](QObject*) { Commands.SearchFind(); };
    Find.OnClose = [&](QObject*) { Commands.FindDialogClose(); };
    QLineEdit GridEditor; // stands in for the grid's in-place editor
    QLineEdit OtherWindow;
    using TPlace = TSearchCommands::TKeyPlace;
    TEnterKeyFilter Enter([&](int Code, QWidget* Target) {
        const TPlace Place = Target == &GridEditor               ? TPlace::Grid
                             : Target->window() == Find.Window() ? TPlace::FindWindow
                                                                 : TPlace::Elsewhere;
        return Commands.ApplicationShortCut(Code, Place);
    });
    int EditorEnters = 0, OtherEnters = 0;
    connect(&GridEditor, &QLineEdit::returnPressed, [&] { ++EditorEnters; });
    connect(&OtherWindow, &QLineEdit::returnPressed, [&] { ++OtherEnters; });
    GridEditor.show();
    OtherWindow.show();

    Commands.FindMenuClick();
    QTest::keyClicks(Find.Window()->EdtSearch, "cancel");
    QTest::keyClick(Find.Window()->EdtSearch, Qt::Key_Return);
    QCOMPARE(Commands.State().FFoundRow, 2);
    QTest::keyClick(&GridEditor, Qt::Key_Enter, Qt::ShiftModifier);
    QCOMPARE(Commands.State().FFoundRow, 4);
    QCOMPARE(View.Top, 4);
    QCOMPARE(EditorEnters, 0);
    // Another window keeps its Enter while the dialog is open.
    QTest::keyClick(&OtherWindow, Qt::Key_Return);
    QCOMPARE(OtherEnters, 1);
    QCOMPARE(Commands.State().FFoundRow, 4);

    Find.Window()->btnCancel->click();
    QCOMPARE(Commands.State().FFoundRow, 0);
    QTest::keyClick(&GridEditor, Qt::Key_Return);
    QCOMPARE(EditorEnters, 1);
    QVERIFY(UI.Messages.empty());
}

QTEST_MAIN(TestSearchDialogs)
#include "tst_SearchDialogs.moc"
