// The styled grid's edit life cycle driven with real keys: event order, Enter and Escape,
// validation, Tab and next-cell walks, the length limit and the code page of the cell.

#include "GridTestWindow.h"

#include <QClipboard>
#include <QMimeData>
#include <QtTest>

using namespace kav;
using kav::test::TGridWindow;

namespace {

// Records the four edit events as "before 1 1", "validate 1 1" ...
void Record(TStyledStringGrid& Grid, QStringList& Log, bool* Valid = nullptr) {
    auto Entry = [&Log](const char* Name, int C, int R) {
        Log << QStringLiteral("%1 %2 %3").arg(Name).arg(C).arg(R);
    };
    Grid.OnBeforeEdit = [Entry](TStyledStringGrid*, int C, int R) { Entry("before", C, R); };
    Grid.OnAfterEdit = [Entry](TStyledStringGrid*, int C, int R) { Entry("after", C, R); };
    Grid.OnCancelEdit = [Entry](TStyledStringGrid*, int C, int R) { Entry("cancel", C, R); };
    Grid.OnValidateEdit = [Entry, Valid](TStyledStringGrid*, int C, int R, bool& Ok) {
        Entry("validate", C, R);
        if (Valid) {
            Ok = *Valid;
        }
    };
}

QPoint Cell(const TStyledStringGrid& Grid) {
    return QPoint(Grid.Col(), Grid.Row());
}

} // namespace

class TestGridEditing : public QObject {
    Q_OBJECT

private slots:
    void lifeCycle_data();
    void lifeCycle();
    void escapeRestoresBytes();
    void failedValidationKeepsCellAndFocus();
    void tabWalks_data();
    void tabWalks();
    void nextCell_data();
    void nextCell();
    void autoEditAppendsRow();
    void exitRuleMovesFocus();
    void lengthLimit_data();
    void lengthLimit();
    void readOnlyCellPassesKeysToGrid();
    void codePageOfCellFont_data();
    void codePageOfCellFont();
    void multilineEnterAndArrows();
    void insertedRowKeepsTheEdit();
    void alwaysShownEditorSkipsReadOnlyCells();
    void focusRegainedRestoresSelection();
    void editorKeysReachKeyDownOnce_data();
    void editorKeysReachKeyDownOnce();
    void pasteTakesOnlyText_data();
    void pasteTakesOnlyText();
};

void TestGridEditing::lifeCycle_data() {
    QTest::addColumn<bool>("alwaysShow");
    QTest::addColumn<int>("finalKey");
    QTest::addColumn<QString>("cellText");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QPoint>("current");

    const QStringList Ended{"before 1 1", "validate 1 1", "after 1 1"};
    QTest::newRow("enter") << false << int(Qt::Key_Return) << "xy" << Ended << QPoint(1, 1);
    QTest::newRow("enter, editor always shown")
        << true << int(Qt::Key_Return) << "xy" << Ended << QPoint(1, 1);
    QTest::newRow("escape") << false << int(Qt::Key_Escape) << "old"
                            << QStringList{"before 1 1", "cancel 1 1"} << QPoint(1, 1);
    QTest::newRow("escape, editor always shown")
        << true << int(Qt::Key_Escape) << "old" << QStringList{"before 1 1", "cancel 1 1"}
        << QPoint(1, 1);
    // Moving on opens the next cell before the leave step of the old one runs.
    QTest::newRow("down, editor always shown")
        << true << int(Qt::Key_Down) << "xy"
        << QStringList{"before 1 1", "before 1 2", "validate 1 1", "after 1 1"} << QPoint(1, 2);
    QTest::newRow("down") << false << int(Qt::Key_Down) << "xy" << Ended << QPoint(1, 2);
}

void TestGridEditing::lifeCycle() {
    QFETCH(bool, alwaysShow);
    QFETCH(int, finalKey);
    QFETCH(QString, cellText);
    QFETCH(QStringList, events);
    QFETCH(QPoint, current);
    TGridWindow W;
    QStringList Log;
    Record(*W.Grid, Log);
    W.Grid->SetCells(1, 1, "old");
    W.Grid->SetOptions(W.Grid->Options() | goEditing |
                       (alwaysShow ? goAlwaysShowEditor : TGridOptions(0)));
    QVERIFY(W.Show());
    W.Type("xy");
    QVERIFY(W.Grid->Editor() && W.Grid->Editor()->isVisible());
    QCOMPARE(W.Text(1, 1), QString("xy"));
    QVERIFY(W.Grid->Editing());
    W.Key(static_cast<Qt::Key>(finalKey));
    QTRY_COMPARE(Log, events);
    QCOMPARE(W.Text(1, 1), cellText);
    QCOMPARE(Cell(*W.Grid), current);
    QCOMPARE(W.Grid->Editor()->isVisible(), alwaysShow);
}

void TestGridEditing::escapeRestoresBytes() {
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goEditing);
    // 0x81 has no character in windows-1252: the bytes must come back untouched all the same.
    W.Grid->SetCells(1, 1, std::string("a\x81z"));
    QVERIFY(W.Show());
    W.Key(Qt::Key_F2);
    W.Key(Qt::Key_End);
    W.Type("q");
    W.Key(Qt::Key_Escape);
    QCOMPARE(W.Grid->Cells(1, 1), std::string("a\x81z"));
}

void TestGridEditing::failedValidationKeepsCellAndFocus() {
    TGridWindow W;
    QStringList Log;
    bool Valid = false;
    Record(*W.Grid, Log, &Valid);
    W.Grid->SetOptions(W.Grid->Options() | goEditing | goAlwaysShowEditor);
    QVERIFY(W.Show());
    W.Type("bad");
    W.Key(Qt::Key_Down);
    QTRY_VERIFY(Log.contains("validate 1 1"));
    QTRY_COMPARE(Cell(*W.Grid), QPoint(1, 1));
    QVERIFY(W.Grid->Editor()->isVisible());
    QVERIFY(W.Grid->Editing());
    QVERIFY(!Log.contains("after 1 1"));

    W.Other->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(W.Grid->IsActiveControl());
    QVERIFY(!W.Other->hasFocus());

    Valid = true;
    W.Other->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(W.Other->hasFocus());
    QVERIFY(Log.contains("after 1 1"));
}

void TestGridEditing::tabWalks_data() {
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("rule");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<QPoint>("expected");
    QTest::addColumn<int>("noStop");

    QTest::newRow("down-right, last cell to first")
        << int(nc_downright) << int(lc_first) << QPoint(3, 3) << false << QPoint(1, 1) << -1;
    QTest::newRow("down-right steps down")
        << int(nc_downright) << int(lc_first) << QPoint(1, 1) << false << QPoint(1, 2) << -1;
    QTest::newRow("down-right, column exhausted")
        << int(nc_downright) << int(lc_first) << QPoint(1, 3) << false << QPoint(2, 1) << -1;
    QTest::newRow("shift reverses to up-left")
        << int(nc_downright) << int(lc_first) << QPoint(2, 1) << true << QPoint(1, 3) << -1;
    QTest::newRow("shift from the first cell wraps to the last")
        << int(nc_downright) << int(lc_first) << QPoint(1, 1) << true << QPoint(3, 3) << -1;
    QTest::newRow("stop rule keeps the cell")
        << int(nc_rightdown) << int(lc_stop) << QPoint(3, 3) << false << QPoint(3, 3) << -1;
    QTest::newRow("column without tab stop is skipped")
        << int(nc_rightdown) << int(lc_first) << QPoint(1, 1) << false << QPoint(3, 1) << 2;
}

void TestGridEditing::tabWalks() {
    QFETCH(int, direction);
    QFETCH(int, rule);
    QFETCH(QPoint, start);
    QFETCH(bool, shift);
    QFETCH(QPoint, expected);
    QFETCH(int, noStop);
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goTabs);
    W.Grid->NextCellTab = static_cast<T_nextcell>(direction);
    W.Grid->AfterLastCellTab = static_cast<T_lastcell>(rule);
    W.Grid->SetTabStops(noStop, false);
    QVERIFY(W.Show());
    W.Grid->FocusCell(start.x(), start.y());
    W.Key(Qt::Key_Tab, shift ? Qt::ShiftModifier : Qt::NoModifier);
    QCOMPARE(Cell(*W.Grid), expected);
    QCOMPARE(W.Grid->RowCount(), 4);
}

void TestGridEditing::nextCell_data() {
    QTest::addColumn<int>("direction");
    QTest::addColumn<int>("rule");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("expected");
    QTest::addColumn<QSize>("size"); // ColCount, RowCount afterwards

    const QSize Same(4, 4);
    // Steps inside a line and at its end.
    QTest::newRow("rightdown step") << 0 << 2 << QPoint(1, 1) << QPoint(2, 1) << Same;
    QTest::newRow("rightdown wrap") << 0 << 2 << QPoint(3, 1) << QPoint(1, 2) << Same;
    QTest::newRow("leftdown wrap") << 2 << 2 << QPoint(1, 1) << QPoint(3, 2) << Same;
    QTest::newRow("downleft wrap") << 3 << 2 << QPoint(2, 3) << QPoint(1, 1) << Same;
    QTest::newRow("leftup wrap") << 4 << 2 << QPoint(1, 2) << QPoint(3, 1) << Same;
    QTest::newRow("upleft wrap") << 5 << 2 << QPoint(2, 1) << QPoint(1, 3) << Same;
    QTest::newRow("rightup wrap") << 6 << 2 << QPoint(3, 2) << QPoint(1, 1) << Same;
    QTest::newRow("upright wrap") << 7 << 2 << QPoint(1, 1) << QPoint(2, 3) << Same;
    // Past the last line with lc_first: the first cell of each walk.
    QTest::newRow("rightdown first") << 0 << 2 << QPoint(3, 3) << QPoint(1, 1) << Same;
    QTest::newRow("downright first") << 1 << 2 << QPoint(3, 3) << QPoint(1, 1) << Same;
    QTest::newRow("leftdown first") << 2 << 2 << QPoint(1, 3) << QPoint(3, 1) << Same;
    QTest::newRow("downleft first") << 3 << 2 << QPoint(1, 3) << QPoint(3, 1) << Same;
    QTest::newRow("leftup first") << 4 << 2 << QPoint(1, 1) << QPoint(3, 3) << Same;
    QTest::newRow("upleft first") << 5 << 2 << QPoint(1, 1) << QPoint(3, 3) << Same;
    QTest::newRow("rightup first") << 6 << 2 << QPoint(3, 1) << QPoint(1, 3) << Same;
    QTest::newRow("upright first") << 7 << 2 << QPoint(3, 1) << QPoint(1, 3) << Same;
    QTest::newRow("stop") << 0 << 1 << QPoint(3, 3) << QPoint(-1, -1) << Same;
    // lc_newcolrow adds a line where the walk goes on.
    QTest::newRow("rightdown new row") << 0 << 0 << QPoint(3, 3) << QPoint(1, 4) << QSize(4, 5);
    QTest::newRow("downright new col") << 1 << 0 << QPoint(3, 3) << QPoint(4, 1) << QSize(5, 4);
    QTest::newRow("leftdown new row") << 2 << 0 << QPoint(1, 3) << QPoint(3, 4) << QSize(4, 5);
    QTest::newRow("downleft new col") << 3 << 0 << QPoint(1, 3) << QPoint(1, 1) << QSize(5, 4);
    QTest::newRow("leftup new row") << 4 << 0 << QPoint(1, 1) << QPoint(3, 1) << QSize(4, 5);
    QTest::newRow("upleft new col") << 5 << 0 << QPoint(1, 1) << QPoint(1, 3) << QSize(5, 4);
    QTest::newRow("rightup new row") << 6 << 0 << QPoint(3, 1) << QPoint(1, 1) << QSize(4, 5);
    QTest::newRow("upright new col") << 7 << 0 << QPoint(3, 1) << QPoint(4, 3) << QSize(5, 4);
}

void TestGridEditing::nextCell() {
    QFETCH(int, direction);
    QFETCH(int, rule);
    QFETCH(QPoint, start);
    QFETCH(QPoint, expected);
    QFETCH(QSize, size);
    TStyledStringGrid Grid;
    Grid.Model().SetColCount(4);
    Grid.Model().SetRowCount(4);
    Grid.SetCells(1, 1, "first");
    int C = start.x();
    int R = start.y();
    Grid.NextCell(static_cast<T_nextcell>(direction), static_cast<T_lastcell>(rule), C, R);
    QCOMPARE(QPoint(C, R), expected);
    QCOMPARE(QSize(Grid.ColCount(), Grid.RowCount()), size);
    // An added line is empty and the old first cell moved with its line if that was pushed.
    if (size != QSize(4, 4)) {
        QCOMPARE(QString::fromUtf8(Grid.Cells(C, R)), QString());
    }
}

void TestGridEditing::autoEditAppendsRow() {
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goEditing | goAlwaysShowEditor);
    W.Grid->AutoEditNextCell = true;
    W.Grid->Model().SetEditCell(3, 2, false);
    QVERIFY(W.Show());
    W.Grid->FocusCell(2, 2);
    W.Type("a");
    W.Key(Qt::Key_Return);
    // The read-only cell (3, 2) is passed over.
    QTRY_COMPARE(Cell(*W.Grid), QPoint(1, 3));
    W.Grid->FocusCell(3, 3);
    W.Type("b");
    W.Key(Qt::Key_Return);
    QTRY_COMPARE(W.Grid->RowCount(), 5);
    QCOMPARE(Cell(*W.Grid), QPoint(1, 4));
    QVERIFY(W.Grid->Editor()->isVisible());
    QCOMPARE(W.Grid->Editor()->CellRow, 4);
    QCOMPARE(W.Text(3, 3), QString("b"));
}

void TestGridEditing::exitRuleMovesFocus() {
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goTabs);
    W.Grid->AfterLastCellTab = lc_exit;
    QVERIFY(W.Show());
    W.Grid->FocusCell(3, 3);
    W.Key(Qt::Key_Tab);
    QTRY_VERIFY(W.Other->hasFocus());
    QCOMPARE(Cell(*W.Grid), QPoint(3, 3));
}

void TestGridEditing::lengthLimit_data() {
    QTest::addColumn<bool>("selectAll");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("full text refuses") << false << "d"
                                       << "abc";
    QTest::newRow("selection of the limit is replaced") << true << "d"
                                                        << "d";
    QTest::newRow("backspace still works") << false << "\b"
                                           << "ab";
}

void TestGridEditing::lengthLimit() {
    QFETCH(bool, selectAll);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goEditing);
    W.Grid->SetCellStringMaxLenght(3);
    W.Grid->SelectEditText = selectAll;
    QVERIFY(W.Show());
    W.Type("abc");
    QCOMPARE(W.Text(1, 1), QString("abc"));
    W.Grid->HideEditor();
    W.Key(Qt::Key_F2);
    if (typed == "\b") {
        W.Key(Qt::Key_Backspace);
    } else {
        W.Type(typed);
    }
    QCOMPARE(W.Text(1, 1), expected);
}

void TestGridEditing::readOnlyCellPassesKeysToGrid() {
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goEditing);
    W.Grid->Model().SetEditCol(1, false);
    QString Seen;
    W.Grid->OnKeyPress = [&Seen](QChar& Key) { Seen += Key; };
    QVERIFY(W.Show());
    W.Type("q");
    QCOMPARE(Seen, QString("q"));
    QVERIFY(!W.Grid->EditorMode());
    QVERIFY(!W.Grid->Editor() || !W.Grid->Editor()->isVisible());
    QCOMPARE(W.Text(1, 1), QString());
}

void TestGridEditing::codePageOfCellFont_data() {
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("refused");
    QTest::newRow("cyrillic letter in 1251")
        << 204 << QString::fromUtf8("ж") << QByteArray("\xE6") << false;
    QTest::newRow("latin accent not in 1251")
        << 204 << QString::fromUtf8("é") << QByteArray("\xCF\xF0") << true;
    QTest::newRow("latin accent in 1252")
        << 0 << QString::fromUtf8("é") << QByteArray("\xE9") << false;
    QTest::newRow("greek letter in 1253")
        << 161 << QString::fromUtf8("λ") << QByteArray("\xEB") << false;
}

void TestGridEditing::codePageOfCellFont() {
    QFETCH(int, charset);
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    QFETCH(bool, refused);
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goEditing);
    W.Grid->Model().FontCol(1).SetCharset(static_cast<std::uint8_t>(charset));
    W.Grid->SetCells(1, 1, "\xCF\xF0");
    QVERIFY(W.Show());
    W.Type(typed);
    QCOMPARE(QByteArrayView(W.Grid->Cells(1, 1)).toByteArray(), bytes);
    QCOMPARE(W.Messages.size(), refused ? 1 : 0);
    if (refused) {
        QVERIFY(W.Messages[0].contains(typed));
        QCOMPARE(W.Grid->Editor()->Text(), QString::fromUtf8("Пр"));
    }
}

void TestGridEditing::multilineEnterAndArrows() {
    TGridWindow W;
    QStringList Log;
    Record(*W.Grid, Log);
    W.Grid->SetOptions(W.Grid->Options() | goEditing);
    W.Grid->EditMultiline = true;
    QVERIFY(W.Show());
    W.Type("a");
    W.Key(Qt::Key_Return);
    W.Type("b");
    W.Key(Qt::Key_Up);
    W.Type("c");
    // The editor's line break is stored as the platform edit control writes it.
    QCOMPARE(W.Text(1, 1), QString("ac\r\nb"));
    QCOMPARE(Cell(*W.Grid), QPoint(1, 1));
    QTest::qWait(20);
    QCOMPARE(Log, QStringList{"before 1 1"});
}

void TestGridEditing::insertedRowKeepsTheEdit() {
    TGridWindow W;
    QStringList Log;
    Record(*W.Grid, Log);
    W.Grid->SetOptions(W.Grid->Options() | goEditing | goAlwaysShowEditor);
    QVERIFY(W.Show());
    W.Grid->FocusCell(1, 2);
    W.Type("ab");
    W.Grid->Model().InsertRow(1);
    QCOMPARE(Cell(*W.Grid), QPoint(1, 3));
    QVERIFY(W.Grid->Editor()->isVisible());
    QCOMPARE(W.Grid->Editor()->CellRow, 3);
    QCOMPARE(W.Grid->Editor()->Text(), QString("ab"));
    W.Key(Qt::Key_Return);
    // The editor first stood on (1, 1), shown by the always-shown mode, and left it.
    QTRY_COMPARE(Log, (QStringList{"before 1 1", "before 1 2", "validate 1 1", "after 1 1",
                                   "validate 1 3", "after 1 3"}));
}

void TestGridEditing::focusRegainedRestoresSelection() {
    TGridWindow W;
    QStringList Log;
    Record(*W.Grid, Log);
    W.Grid->SetOptions(W.Grid->Options() | goEditing | goAlwaysShowEditor);
    W.Grid->Loaded();
    QVERIFY(W.Show());
    QTRY_VERIFY(W.Grid->Editor() && W.Grid->Editor()->isVisible());
    W.Type("hello");
    W.Grid->Editor()->SetSelection(1, 2);
    W.Other->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(W.Other->hasFocus());
    QCOMPARE(Log, (QStringList{"before 1 1", "validate 1 1", "after 1 1"}));
    QVERIFY(!W.Grid->Editor()->isVisible());
    W.Grid->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(W.Grid->Editor()->isVisible());
    QCOMPARE(W.Grid->Editor()->SelStart(), 1);
    QCOMPARE(W.Grid->Editor()->SelLength(), 2);
    QCOMPARE(Log.last(), QString("before 1 1"));
}

void TestGridEditing::alwaysShownEditorSkipsReadOnlyCells() {
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goEditing | goAlwaysShowEditor);
    W.Grid->Model().SetEditCol(2, false);
    QVERIFY(W.Show());
    W.Key(Qt::Key_Right, Qt::ControlModifier);
    QCOMPARE(Cell(*W.Grid), QPoint(2, 1));
    QVERIFY(!W.Grid->Editor()->isVisible());
    W.Key(Qt::Key_Right);
    QCOMPARE(Cell(*W.Grid), QPoint(3, 1));
    QVERIFY(W.Grid->Editor()->isVisible());
    QCOMPARE(W.Grid->Editor()->CellCol, 3);
}

void TestGridEditing::editorKeysReachKeyDownOnce_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("F5") << int(Qt::Key_F5) << 0;
    QTest::newRow("Ctrl+Shift+F3")
        << int(Qt::Key_F3) << int(Qt::ControlModifier | Qt::ShiftModifier);
    QTest::newRow("Alt+F12") << int(Qt::Key_F12) << int(Qt::AltModifier);
    QTest::newRow("Ctrl+End") << int(Qt::Key_End) << int(Qt::ControlModifier);
    QTest::newRow("Down") << int(Qt::Key_Down) << 0;
}

void TestGridEditing::editorKeysReachKeyDownOnce() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goEditing | goAlwaysShowEditor);
    QVERIFY(W.Show());
    W.Grid->FocusCell(1, 1);
    W.Type("x");
    QTRY_VERIFY(W.Grid->Editor() && W.Focused() == W.Grid->Editor());
    int Seen = 0;
    W.Grid->OnKeyDown = [&](int& Key, TShiftState) { Seen += Key == key; };
    W.Key(Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(Seen, 1);
}

void TestGridEditing::pasteTakesOnlyText_data() {
    QTest::addColumn<QString>("clipboard"); // "cleared", "no formats" or the text on it
    QTest::addColumn<QString>("cellText");
    QTest::newRow("cleared") << "cleared"
                             << "old";
    // What an X clipboard without an owner hands out: Qt 6.4's own paste crashed on it.
    QTest::newRow("no formats") << "no formats"
                                << "old";
    QTest::newRow("text") << " new"
                          << "old new";
}

void TestGridEditing::pasteTakesOnlyText() {
    QFETCH(QString, clipboard);
    QFETCH(QString, cellText);
    QClipboard* Clipboard = QGuiApplication::clipboard();
    Clipboard->clear();
    if (clipboard == "no formats") {
        Clipboard->setMimeData(new QMimeData);
    } else if (clipboard != "cleared") {
        Clipboard->setText(clipboard);
    }
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goEditing);
    W.Grid->SetCells(1, 1, "old");
    QVERIFY(W.Show());
    W.Key(Qt::Key_F2);
    W.Key(Qt::Key_End);
    W.Key(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(W.Grid->Editing());
    QCOMPARE(W.Grid->Editor()->Text(), cellText);
    W.Key(Qt::Key_Return);
    QCOMPARE(W.Text(1, 1), cellText);
}

QTEST_MAIN(TestGridEditing)
#include "tst_GridEditing.moc"
