#include "MainWindowFixture.h"
#include "app/FormGotoLine.h"
#include "document/TranslationTable.h"
#include "editing/Navigation.h"
#include "gridview/StyledStringGrid.h"
#include "searchui/KavrinoFindDialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>

#include <functional>

using namespace kav;

namespace {

constexpr auto Ctrl = Qt::ControlModifier;
constexpr auto CtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

// The French sample open in a window that has the keyboard.
struct TFrenchWindow {
    TProgramFolder Folder;
    std::unique_ptr<TWindow> W;
    TFrenchWindow() {
        W = std::make_unique<TWindow>(Folder.Home(), Folder.Home() + "Language/Kavr_FRA.str");
        W->Form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&W->Form));
    }
    TMainForm& Form() { return W->Form; }
    TStyledStringGrid& Grid() { return *W->Form.strGrid; }
    TStyledGridModel& Table() { return W->Form.Table(); }
    // The current cell moves to the translated text of Row, as a click would put it.
    void Select(int Row) {
        Grid().FocusCell(colTranslated, Row);
        QCoreApplication::processEvents();
    }
    void Press(int Key, Qt::KeyboardModifiers Modifiers = {}) {
        QWidget* Target = QApplication::focusWidget();
        QVERIFY(Target);
        QTest::keyClick(Target, Qt::Key(Key), Modifiers);
    }
    std::string Bookmark(int Row) { return std::string(Table().Cells(colBookmark, Row)); }
};

// Runs Step on the go-to-line dialog once it is open, then opens it through the menu command.
void WithGotoDialog(TMainForm& Form, const std::function<void(TfrmGotoLineNumber&)>& Step) {
    bool Ran = false;
    QTimer::singleShot(0, [&] {
        auto* Dialog = qobject_cast<TfrmGotoLineNumber*>(QApplication::activeModalWidget());
        QVERIFY(Dialog);
        Ran = true;
        Step(*Dialog);
        if (Dialog->isVisible())
            Dialog->reject();
    });
    Form.GotoLineMenuClick();
    QVERIFY(Ran);
}

// A default file of Count items and its window, opened untranslated through File > New.
std::string WriteDefaultFile(const std::string& Home, int Count) {
    QFile File(QString::fromStdString(Home + "Default/Kavr_ENU.str"));
    if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    File.write("#include \"KavLang.Inc\"\r\n\r\n");
    for (int I = 1; I <= Count; ++I)
        File.write(
            QString("Txt_ITEM_%1 , \"Item %1\"  {100} {Arial} {} {8}\r\n").arg(I).toLatin1());
    return File.fileName().toStdString();
}

} // namespace

class TestGridCommands : public QObject {
    Q_OBJECT
private slots:
    void bookmarkKeys_data();
    void bookmarkKeys();
    void bookmarksClearedByLoad();
    void gotoLine_data();
    void gotoLine();
    void gotoLineRefusesText();
    void firstAndLastItemKeys();
    void markedRowKeys();
    void fontName();
    void findAfterFontCommand();
    void fontSizeRefitsRows();
    void boldActsOnNamesAndTexts();
    void fontCommandsNotReentered();
    void colorMarkClick();
    void colorMarkKeys_data();
    void colorMarkKeys();
    void highlightColorDialog_data();
    void highlightColorDialog();
    void realColorDialog();
    void boxTitlesAreShort_data();
    void boxTitlesAreShort();
};

// Each step: the row made current, then Ctrl+Shift+F<n> (n > 0) or Ctrl+F<-n> (n < 0).
using TSteps = QList<QPair<int, int>>;

void TestGridCommands::bookmarkKeys_data() {
    QTest::addColumn<TSteps>("Steps");
    QTest::addColumn<QList<int>>("Rows");         // rows looked at afterwards
    QTest::addColumn<QStringList>("Shown");       // column 1 of those rows
    QTest::addColumn<QList<int>>("BookmarkRows"); // Bookmarks[0..11] that are set, as n*1000+row
    QTest::addColumn<int>("TopRow");              // 0: the view did not move
    QTest::newRow("set and remove")
        << TSteps{{10, 3}, {10, 3}} << QList<int>{10} << QStringList{""} << QList<int>{} << 0;
    QTest::newRow("moved to another row")
        << TSteps{{10, 3}, {20, 3}, {30, -3}} << QList<int>{10, 20} << QStringList{"", "3"}
        << QList<int>{3020} << 20;
    QTest::newRow("row takes a new number") << TSteps{{10, 3}, {10, 5}, {30, -3}} << QList<int>{10}
                                            << QStringList{"5"} << QList<int>{5010} << 0;
    QTest::newRow("twelve") << TSteps{{4, 12}, {100, -12}} << QList<int>{4} << QStringList{"12"}
                            << QList<int>{12004} << 4;
    QTest::newRow("two numbers") << TSteps{{40, 1}, {50, 2}, {60, -1}} << QList<int>{40, 50}
                                 << QStringList{"1", "2"} << QList<int>{1040, 2050} << 40;
    QTest::newRow("free number") << TSteps{{200, -7}} << QList<int>{200} << QStringList{""}
                                 << QList<int>{} << 0;
}

void TestGridCommands::bookmarkKeys() {
    QFETCH(TSteps, Steps);
    QFETCH(QList<int>, Rows);
    QFETCH(QStringList, Shown);
    QFETCH(QList<int>, BookmarkRows);
    QFETCH(int, TopRow);
    TFrenchWindow F;
    int TopBefore = 0;
    for (const auto& [Row, N] : Steps) {
        F.Select(Row);
        TopBefore = F.Grid().TopRow();
        F.Press(Qt::Key_F1 + std::abs(N) - 1, N > 0 ? CtrlShift : Ctrl);
    }
    for (int I = 0; I < Rows.size(); ++I)
        QCOMPARE(QString::fromStdString(F.Bookmark(Rows[I])), Shown[I]);
    QList<int> Set;
    for (int N = 1; N <= BookmarkCount; ++N)
        if (F.Form().State().Bookmarks[N - 1] != -1)
            Set << N * 1000 + F.Form().State().Bookmarks[N - 1];
    QCOMPARE(Set, BookmarkRows);
    QCOMPARE(F.Grid().TopRow(), TopRow ? TopRow : TopBefore);
    // The bookmarked row gone to is the current row: what is typed next goes there.
    QCOMPARE(F.Grid().Row(), TopRow ? TopRow : Steps.back().first);
}

void TestGridCommands::bookmarksClearedByLoad() {
    TFrenchWindow F;
    F.Select(10);
    F.Press(Qt::Key_F2, CtrlShift);
    QCOMPARE(F.Bookmark(10), std::string("2"));
    F.Form().FileNew();
    QCOMPARE(F.Form().State().Bookmarks[1], -1);
    QCOMPARE(F.Bookmark(10), std::string());
}

void TestGridCommands::gotoLine_data() {
    QTest::addColumn<QString>("Typed");
    QTest::addColumn<int>("TopRow"); // -1: unchanged; -2: the trailing row in view
    QTest::newRow("item 12") << "12" << 13;
    QTest::newRow("blanks and sign") << "  +20" << 21;
    QTest::newRow("hexadecimal") << "$10" << 17;
    QTest::newRow("0x prefix") << "0x1F" << 32;
    QTest::newRow("first item") << "1" << 2;
    QTest::newRow("zero") << "0" << -1;
    QTest::newRow("negative") << "-5" << -1;
    QTest::newRow("beyond the last item") << "345" << -2;
    QTest::newRow("far beyond") << "99999" << -2;
}

void TestGridCommands::gotoLine() {
    QFETCH(QString, Typed);
    QFETCH(int, TopRow);
    TFrenchWindow F;
    F.Select(100);
    F.Grid().SetTopRow(90);
    const int Before = F.Grid().TopRow();
    bool Accepted = false;
    WithGotoDialog(F.Form(), [&](TfrmGotoLineNumber& Dialog) {
        QCOMPARE(Dialog.windowTitle(), QString("Go to Line Number"));
        Dialog.edtLineNumber->setText(Typed);
        QTest::keyClick(Dialog.edtLineNumber, Qt::Key_Return); // OK is the default button
        Accepted = Dialog.result() == QDialog::Accepted && !Dialog.isVisible();
    });
    QVERIFY(Accepted);
    QVERIFY(F.W->Dialogs.Shown.empty());
    const int Trailing = F.Table().RowCount() - 1;
    if (TopRow == -1)
        QCOMPARE(F.Grid().TopRow(), Before);
    else if (TopRow == -2) // as far down as the view goes, the trailing row in view
        QVERIFY(F.Grid().TopRow() > 300 && !F.Grid().CellRect(colTranslated, Trailing).isEmpty());
    else
        QCOMPARE(F.Grid().TopRow(), TopRow);
    // The item gone to is the current row, in the translated column.
    QCOMPARE(F.Grid().Row(), TopRow == -1 ? 100 : TopRow == -2 ? Trailing : TopRow);
    QCOMPARE(F.Grid().Col(), colTranslated);
}

void TestGridCommands::gotoLineRefusesText() {
    TFrenchWindow F;
    const int Before = F.Grid().TopRow();
    WithGotoDialog(F.Form(), [&](TfrmGotoLineNumber& Dialog) {
        for (auto [Typed, Message] :
             {std::pair{"12a", "Error at position: 3"}, std::pair{"", "Error at position: 1"},
              std::pair{"$", "Error at position: 2"}}) {
            F.W->Dialogs.Shown.clear();
            Dialog.edtLineNumber->setText(Typed);
            Dialog.btnOK->click();
            // The position, and what the box accepts.
            QCOMPARE(F.W->Dialogs.Shown.size(), size_t(1));
            QCOMPARE(F.W->Dialogs.Shown[0].substr(0, F.W->Dialogs.Shown[0].find('\n')),
                     std::string(Message));
            QVERIFY(F.W->Dialogs.Shown[0].find("hexadecimal") != std::string::npos);
            QVERIFY(Dialog.isVisible());
            QCOMPARE(Dialog.edtLineNumber->selectedText(), QString(Typed));
        }
        QCOMPARE(F.Grid().TopRow(), Before);
        Dialog.edtLineNumber->setText("12");
        Dialog.btnOK->click();
        QVERIFY(!Dialog.isVisible());
    });
    QCOMPARE(F.Grid().TopRow(), 13);
}

void TestGridCommands::firstAndLastItemKeys() {
    TProgramFolder Folder;
    QVERIFY(!WriteDefaultFile(Folder.Home(), 250).empty());
    TWindow W(Folder.Home());
    W.Form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&W.Form));
    W.Form.FileNew();
    QVERIFY(QTest::qWaitForWindowActive(&W.Form)); // after the please-wait window
    QCOMPARE(W.Form.Table().RowCount(), 253);
    TStyledStringGrid& G = *W.Form.strGrid;
    const std::pair<int, Qt::KeyboardModifiers> Keys[] = {{Qt::Key_End, Ctrl},
                                                          {Qt::Key_Home, Ctrl},
                                                          {Qt::Key_Down, Ctrl},
                                                          {Qt::Key_Up, Ctrl},
                                                          {Qt::Key_End, CtrlShift}};
    const int Rows[] = {252, 2, 252, 2, 252};
    G.FocusCell(colName, 40);
    for (int I = 0; I < 5; ++I) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(Keys[I].first), Keys[I].second);
        QCOMPARE(G.Col(), colTranslated);
        QCOMPARE(G.Row(), Rows[I]);
        // The selection went through the view, which remembers the row for Find.
        QCOMPARE(W.Form.Search().State().FSearchRow, Rows[I]);
    }
}

void TestGridCommands::markedRowKeys() {
    TFrenchWindow F;
    {
        TDocumentEdit Edit(F.Form().Document(), "marks");
        for (int Row : {50, 80})
            Edit.Replace(ItemOfRow(Row),
                         {1, "a", "b", {}, std::string(F.Table().Cells(colTranslated, Row))});
    }
    F.Select(60);
    // The marked row below the current one becomes the current row, at the top of the view.
    F.Press(Qt::Key_F12, Qt::AltModifier);
    QCOMPARE(F.Grid().Row(), 80);
    QCOMPARE(F.Grid().Col(), int(colTranslated));
    QCOMPARE(F.Grid().TopRow(), 80);
    F.Press(Qt::Key_F11, Qt::AltModifier);
    QCOMPARE(F.Grid().Row(), 50);
    // Other Alt keys and plain F11/F12 do not move to marked rows.
    F.Press(Qt::Key_F12);
    F.Press(Qt::Key_F5, Qt::AltModifier);
    QCOMPARE(F.Grid().TopRow(), 50);
    QCOMPARE(F.Grid().Row(), 50);
    QCOMPARE(F.Table().ColorCell(colMark, 50), clWhite);
}

void TestGridCommands::fontName() {
    TFrenchWindow F;
    TStyledGridModel& T = F.Table();
    const std::string RowFont = F.Grid().StyledFont(colTranslated, 10).Name();
    const int Courier = F.Form().FontName->findText("Courier New");
    QVERIFY(Courier >= 0);
    F.Form().FontName->setCurrentIndex(Courier);
    emit F.Form().FontName->activated(Courier);
    for (const TMyFont* Font : {&T.Font(), &T.FontFixedCol(colItem), &T.FontFixedRow(0),
                                &T.FontFixedRow(1), &T.FontCol(colName), &T.FontCol(colDefault)})
        QCOMPARE(Font->Name(), std::string("Courier New"));
    QCOMPARE(F.Grid().StyledFont(colTranslated, 10).Name(), RowFont);
    QCOMPARE(T.CellFont(colName, 10).Name(), std::string("Courier New"));
    // The names and default texts can no longer be selected; Find searches translations only.
    F.Select(10);
    const QPoint Name = F.Grid().CellRect(colName, 12).center();
    QTest::mouseClick(F.Grid().viewport(), Qt::LeftButton, {}, Name);
    QCOMPARE(F.Grid().Col(), colTranslated);
    QCOMPARE(F.Grid().Row(), 10);
    QVERIFY(!T.EditCol(colDefault));
    // The software box re-applies the selected name; with none selected nothing changes.
    T.FontCol(colName).SetName("Arial");
    emit F.Form().cbxSoftware->activated(0);
    QCOMPARE(T.FontCol(colName).Name(), std::string("Courier New"));
    F.Form().FontName->setCurrentIndex(-1);
    emit F.Form().FontName->activated(-1);
    QCOMPARE(T.FontCol(colName).Name(), std::string("Courier New"));
    QVERIFY(F.Grid().isEnabled());
    QVERIFY(!F.Form().ViewState().FUpdatingFont);
}

void TestGridCommands::findAfterFontCommand() {
    // A default text is found before any font command and not after one.
    for (bool AfterFont : {false, true}) {
        TFrenchWindow F;
        if (AfterFont)
            F.Form().BoldButton->click();
        F.Select(2);
        F.Form().FindMenuClick();
        F.Form().FindDialog1->SetFindText("Print Preview");
        F.Form().FindDialog1->FindNextClick();
        QCOMPARE(F.Form().Search().State().FFoundCol == colDefault, !AfterFont);
        QCOMPARE(F.W->Dialogs.Shown.empty(), !AfterFont);
    }
}

void TestGridCommands::fontSizeRefitsRows() {
    TFrenchWindow F;
    TStyledGridModel& T = F.Table();
    const int Before = F.Grid().RowHeights(10);
    F.Form().FontSize->stepUp(); // the up arrow: 8 to 9
    QCOMPARE(F.Form().FontSize->value(), 9);
    for (const TMyFont* Font : {&T.FontFixedCol(colItem), &T.FontFixedRow(0), &T.FontFixedRow(1),
                                &T.FontCol(colName), &T.FontCol(colDefault)})
        QCOMPARE(Font->Size(), 9);
    QCOMPARE(T.Font().Size(), 8); // the grid's own font keeps its size
    for (int Row : {0, 1, 10, 200, 345}) {
        int Tallest = 0;
        for (int Col = 0; Col < T.ColCount(); ++Col)
            Tallest = std::max(Tallest, F.Grid().CellTextExtent(Col, Row).height());
        QCOMPARE(F.Grid().RowHeights(Row), Tallest);
    }
    QVERIFY(F.Grid().RowHeights(10) != Before);
    F.Form().FontSize->stepUp();
    F.Form().FontSize->stepUp();
    QVERIFY(F.Grid().RowHeights(10) > F.Grid().CellTextExtent(colTranslated, 10).height());
    QVERIFY(!T.EditCol(colName));
}

void TestGridCommands::boldActsOnNamesAndTexts() {
    TFrenchWindow F;
    TStyledGridModel& T = F.Table();
    const TFontStyles Header = T.FontFixedRow(1).Style();
    F.Form().BoldButton->click();
    QVERIFY(T.FontCol(colName).Style() & fsBold);
    QVERIFY(T.FontCol(colDefault).Style() & fsBold);
    QCOMPARE(T.FontFixedRow(1).Style(), Header);
    QVERIFY(!(T.Font().Style() & fsBold));
    F.Form().BoldButton->click();
    QVERIFY(!(T.FontCol(colName).Style() & fsBold));
    QVERIFY(!(T.FontCol(colDefault).Style() & fsBold));
    QVERIFY(!T.EditCol(colName));
}

void TestGridCommands::fontCommandsNotReentered() {
    TFrenchWindow F;
    TStyledGridModel& T = F.Table();
    F.Form().ViewState().FUpdatingFont = true;
    F.Form().BoldButton->click();
    F.Form().FontSize->stepUp();
    emit F.Form().FontName->activated(F.Form().FontName->findText("Courier New"));
    QVERIFY(T.EditCol(colName)); // no font command obtained the column's font
    QVERIFY(!(T.CellFont(colName, 5).Style() & fsBold));
    QCOMPARE(T.CellFont(colName, 5).Size(), 8);
}

void TestGridCommands::colorMarkClick() {
    TFrenchWindow F;
    TStyledGridModel& T = F.Table();
    auto Click = [&](int Row) {
        QTest::mouseClick(F.Grid().viewport(), Qt::LeftButton, {},
                          F.Grid().CellRect(colMark, Row).center());
    };
    F.Form().btnYellow->click();
    QVERIFY(!F.Form().btnWhite->isChecked()); // one button down at a time
    Click(9);
    QCOMPARE(T.ColorCell(colMark, 9), clYellow);
    QVERIFY(F.Form().State().FModified);
    // The mark shows in the grid.
    const QImage Image = F.Grid().viewport()->grab().toImage();
    const QPoint Inside = F.Grid().CellRect(colMark, 9).center();
    QCOMPARE(Image.pixelColor(Inside * Image.devicePixelRatio()), QColor(Qt::yellow));
    // Released: no button down, a click changes nothing.
    F.Form().btnYellow->click();
    QVERIFY(!F.Form().btnYellow->isChecked());
    F.Form().SetModified(false);
    Click(11);
    QCOMPARE(T.ColorCell(colMark, 11), clWhite);
    QVERIFY(!F.Form().State().FModified);
    // The purple button wins over nothing else down; the trailing row is never marked.
    F.Form().btnPurple->click();
    Click(11);
    QCOMPARE(T.ColorCell(colMark, 11), clFuchsia);
    F.Grid().SetTopRow(T.RowCount() - 1);
    Click(T.RowCount() - 1);
    QCOMPARE(T.ColorCell(colMark, T.RowCount() - 1), clWhite);
}

void TestGridCommands::colorMarkKeys_data() {
    QTest::addColumn<int>("Key");
    QTest::addColumn<int>("Modifiers");
    QTest::addColumn<int>("Color");
    QTest::newRow("F5 aqua") << int(Qt::Key_F5) << 0 << int(clAqua);
    QTest::newRow("F6 lime") << int(Qt::Key_F6) << 0 << int(clLime);
    QTest::newRow("F7 yellow") << int(Qt::Key_F7) << 0 << int(clYellow);
    QTest::newRow("Shift+F8 fuchsia")
        << int(Qt::Key_F8) << int(Qt::ShiftModifier) << int(clFuchsia);
    QTest::newRow("Ctrl+F5 is a bookmark jump")
        << int(Qt::Key_F5) << int(Qt::ControlModifier) << int(clLime);
}

void TestGridCommands::colorMarkKeys() {
    QFETCH(int, Key);
    QFETCH(int, Modifiers);
    QFETCH(int, Color);
    TFrenchWindow F;
    TStyledGridModel& T = F.Table();
    T.SetColorCell(colMark, 12, clLime);
    F.Form().SetModified(false);
    QVERIFY(F.Form().btnWhite->isChecked());
    QTest::mouseClick(F.Grid().viewport(), Qt::LeftButton, {},
                      F.Grid().CellRect(colTranslated, 12).center());
    QCOMPARE(F.Grid().Row(), 12);
    F.Press(Key, Qt::KeyboardModifiers(Modifiers));
    QCOMPARE(T.ColorCell(colMark, 12), TColor(Color));
    QCOMPARE(F.Form().State().FModified, TColor(Color) != clLime);
    QVERIFY(F.Form().btnWhite->isChecked()); // the buttons do not change
    // On the trailing row, which holds no item, the keys do nothing.
    F.Press(Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(F.Grid().Row(), T.RowCount() - 1);
    F.Form().SetModified(false);
    F.Press(Qt::Key_F7);
    QVERIFY(!F.Form().State().FModified);
    QCOMPARE(T.ColorCell(colMark, T.RowCount() - 1), clWhite);
}

void TestGridCommands::highlightColorDialog_data() {
    QTest::addColumn<bool>("Background");
    QTest::addColumn<bool>("Fails");
    QTest::addColumn<int>("Answer"); // -1: cancelled
    QTest::newRow("font colour chosen") << false << false << 0x0000FF;
    QTest::newRow("background chosen") << true << false << 0x00FFFF;
    QTest::newRow("font colour cancelled") << false << false << -1;
    QTest::newRow("background cancelled") << true << false << -1;
    QTest::newRow("dialog fails") << true << true << 0;
}

void TestGridCommands::highlightColorDialog() {
    QFETCH(bool, Background);
    QFETCH(bool, Fails);
    QFETCH(int, Answer);
    TFrenchWindow F;
    TViewState& S = F.Form().ViewState();
    const TColor Font = S.FHighlightFontColor;
    const TColor Back = S.FHighlightBackColor;
    F.W->Dialogs.ColorDialogFails = Fails;
    if (Answer >= 0)
        F.W->Dialogs.Colors.push_back(TColor(Answer));
    else
        F.W->Dialogs.Colors.push_back(std::nullopt);
    (Background ? F.Form().BackgroudHighlightColorButton : F.Form().FontHighlightColorButton)
        ->click();
    if (Fails) {
        QCOMPARE(F.W->Dialogs.Shown,
                 std::vector<std::string>{"Color selection dialog failed to load"});
    } else {
        // The dialog opens on its fixed colour, not on the current one.
        QCOMPARE(F.W->Dialogs.ColorStarts,
                 std::vector<TColor>{Background ? TColor(0x808000) : TColor(0x00FF00)});
    }
    const bool Chosen = !Fails && Answer >= 0;
    QCOMPARE(S.FHighlightFontColor, !Background && Chosen ? TColor(Answer) : Font);
    QCOMPARE(S.FHighlightBackColor, Background && Chosen ? TColor(Answer) : Back);
}

void TestGridCommands::realColorDialog() {
    // Teal opens as teal (red in the low byte), and the confirmed colour comes back the same way.
    QtModalDialogs Dialogs(nullptr);
    QColor Shown;
    QTimer::singleShot(0, [&] {
        auto* Dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
        QVERIFY(Dialog);
        Shown = Dialog->currentColor();
        Dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
        Dialog->accept();
    });
    QCOMPARE(Dialogs.ChooseColor(0x808000), std::optional<TColor>(0x563412));
    QCOMPARE(Shown, QColor(0, 128, 128));
    QTimer::singleShot(0, [] {
        if (QWidget* Dialog = QApplication::activeModalWidget())
            static_cast<QDialog*>(Dialog)->reject();
    });
    QCOMPARE(Dialogs.ChooseColor(0x00FF00), std::nullopt);
}

void TestGridCommands::boxTitlesAreShort_data() {
    QTest::addColumn<bool>("error"); // the top-level error box, else a question
    QTest::addColumn<QString>("title");
    QTest::newRow("question") << false << "Confirm";
    QTest::newRow("error") << true << "Error";
}

void TestGridCommands::boxTitlesAreShort() {
    QFETCH(bool, error);
    QFETCH(QString, title);
    const QString Before = QCoreApplication::applicationName();
    NameApplication();
    // A display name would be appended to every title ("Confirm \u2014 Kavrino Translation
    // Tool"), cut in a small box; without one the display name follows the application name.
    QCoreApplication::setApplicationName("probe");
    QCOMPARE(QGuiApplication::applicationDisplayName(), QString("probe"));
    QCoreApplication::setApplicationName(Before);
    QString Shown;
    QTimer::singleShot(0, [&] {
        if (auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            Shown = Box->windowTitle();
            Box->reject();
        }
    });
    QtModalDialogs Dialogs(nullptr);
    if (error)
        Dialogs.ShowError("Disk full");
    else
        Dialogs.MessageDlg("Save changes?", TMsgDlgType::mtConfirmation, mbYes | mbNo);
    QCOMPARE(Shown, title);
}

QTEST_MAIN(TestGridCommands)
#include "tst_GridCommands.moc"
