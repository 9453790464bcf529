// The platform grid layer: geometry with fixed lines and scrolling, keyboard and mouse
// navigation with the selection veto, edit masks, and large grids.

#include "gridview/GridEditor.h"
#include "gridview/StringGrid.h"

#include <QApplication>
#include <QtTest>

using namespace kav;

namespace {

struct TShownGrid {
    TCustomStringGrid Grid;
    explicit TShownGrid(int Cols = 6, int Rows = 50) {
        Grid.Model().SetColCount(Cols);
        Grid.Model().SetRowCount(Rows);
        Grid.SetDefaultColWidth(50);
        Grid.SetDefaultRowHeight(20);
        Grid.resize(300, 200);
    }
    bool Show() {
        Grid.show();
        Grid.activateWindow();
        if (!QTest::qWaitForWindowActive(&Grid)) {
            return false;
        }
        Grid.setFocus();
        return true;
    }
};

QPoint Current(const TCustomStringGrid& Grid) {
    return QPoint(Grid.Col(), Grid.Row());
}

} // namespace

class TestStringGrid : public QObject {
    Q_OBJECT

private slots:
    void geometry();
    void hiddenColumnTakesNoRoom();
    void keys_data();
    void keys();
    void selectVeto();
    void mouseSelection();
    void topLeftChanged();
    void masks_data();
    void masks();
    void masksInEditor_data();
    void masksInEditor();
    void editTextEvents();
    void largeGrid();
    void insertedRowMovesCurrent();
    void columnMoving();
};

void TestStringGrid::geometry() {
    TShownGrid G;
    G.Grid.SetColWidths(0, 30);
    G.Grid.SetRowHeights(2, 40);
    QVERIFY(G.Show());
    QCOMPARE(G.Grid.CellRect(0, 0), QRect(0, 0, 30, 20));
    QCOMPARE(G.Grid.CellRect(1, 1), QRect(31, 21, 50, 20));
    QCOMPARE(G.Grid.CellRect(2, 3), QRect(82, 83, 50, 20));
    G.Grid.SetTopRow(10);
    QCOMPARE(G.Grid.TopRow(), 10);
    // Fixed lines stay; the first scrolled row follows them directly.
    QCOMPARE(G.Grid.CellRect(0, 0), QRect(0, 0, 30, 20));
    QCOMPARE(G.Grid.CellRect(1, 10), QRect(31, 21, 50, 20));
    QVERIFY(G.Grid.CellRect(1, 3).isEmpty());
    int C = -1;
    int R = -1;
    G.Grid.MouseToCell(35, 45, C, R);
    QCOMPARE(QPoint(C, R), QPoint(1, 11));
    G.Grid.MouseToCell(5, 5, C, R);
    QCOMPARE(QPoint(C, R), QPoint(0, 0));
    G.Grid.MouseToCell(G.Grid.viewport()->width() - 1, G.Grid.viewport()->height() - 1, C, R);
    QVERIFY(C >= 1 && R >= 10);
    G.Grid.MouseToCell(2000, 5, C, R);
    QCOMPARE(C, -1);
    QCOMPARE(G.Grid.VisibleRowCount(), (G.Grid.viewport()->height() - 21) / 21);
}

void TestStringGrid::hiddenColumnTakesNoRoom() {
    TShownGrid G;
    G.Grid.SetColWidths(2, -1);
    QVERIFY(G.Show());
    QVERIFY(G.Grid.CellRect(2, 1).isEmpty());
    QCOMPARE(G.Grid.CellRect(3, 1).left(), G.Grid.CellRect(1, 1).right() + 2);
    G.Grid.FocusCell(1, 1);
    QTest::keyClick(&G.Grid, Qt::Key_Right);
    QCOMPARE(G.Grid.Col(), 3);
}

void TestStringGrid::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QPoint>("expected");
    QTest::addColumn<QRect>("selection");

    const int None = Qt::NoModifier;
    QTest::newRow("down") << int(Qt::Key_Down) << None << QPoint(2, 5) << QPoint(2, 6)
                          << QRect(QPoint(2, 6), QPoint(2, 6));
    QTest::newRow("up stops at the first row") << int(Qt::Key_Up) << None << QPoint(2, 1)
                                               << QPoint(2, 1) << QRect(QPoint(2, 1), QPoint(2, 1));
    QTest::newRow("left stops at the fixed column")
        << int(Qt::Key_Left) << None << QPoint(1, 4) << QPoint(1, 4)
        << QRect(QPoint(1, 4), QPoint(1, 4));
    QTest::newRow("page down") << int(Qt::Key_PageDown) << None << QPoint(2, 1) << QPoint(2, 9)
                               << QRect(QPoint(2, 9), QPoint(2, 9));
    QTest::newRow("home") << int(Qt::Key_Home) << None << QPoint(4, 7) << QPoint(1, 7)
                          << QRect(QPoint(1, 7), QPoint(1, 7));
    QTest::newRow("end") << int(Qt::Key_End) << None << QPoint(2, 7) << QPoint(5, 7)
                         << QRect(QPoint(5, 7), QPoint(5, 7));
    QTest::newRow("ctrl end") << int(Qt::Key_End) << int(Qt::ControlModifier) << QPoint(2, 7)
                              << QPoint(5, 49) << QRect(QPoint(5, 49), QPoint(5, 49));
    QTest::newRow("ctrl home") << int(Qt::Key_Home) << int(Qt::ControlModifier) << QPoint(3, 30)
                               << QPoint(1, 1) << QRect(QPoint(1, 1), QPoint(1, 1));
    QTest::newRow("shift extends") << int(Qt::Key_Down) << int(Qt::ShiftModifier) << QPoint(2, 5)
                                   << QPoint(2, 6) << QRect(QPoint(2, 5), QPoint(2, 6));
    QTest::newRow("tab goes right") << int(Qt::Key_Tab) << None << QPoint(2, 5) << QPoint(3, 5)
                                    << QRect(QPoint(3, 5), QPoint(3, 5));
    QTest::newRow("tab wraps to the next row") << int(Qt::Key_Tab) << None << QPoint(5, 5)
                                               << QPoint(1, 6) << QRect(QPoint(1, 6), QPoint(1, 6));
}

void TestStringGrid::keys() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QPoint, start);
    QFETCH(QPoint, expected);
    QFETCH(QRect, selection);
    TShownGrid G;
    G.Grid.SetOptions(G.Grid.Options() | goTabs);
    QVERIFY(G.Show());
    G.Grid.FocusCell(start.x(), start.y());
    int SeenKey = 0;
    Qt::KeyboardModifiers SeenShift;
    G.Grid.OnKeyDown = [&](int& Key, TShiftState Shift) {
        SeenKey = Key;
        SeenShift = Shift;
    };
    QTest::keyClick(&G.Grid, static_cast<Qt::Key>(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(SeenKey, key);
    QCOMPARE(int(SeenShift), modifiers);
    QCOMPARE(Current(G.Grid), expected);
    const TGridRect Sel = G.Grid.Selection();
    QCOMPARE(QRect(QPoint(Sel.Left, Sel.Top), QPoint(Sel.Right, Sel.Bottom)), selection);
    // The current cell is always on screen.
    QVERIFY(!G.Grid.CellRect(expected.x(), expected.y()).isEmpty());
}

void TestStringGrid::selectVeto() {
    TShownGrid G;
    QVERIFY(G.Show());
    QList<QPoint> Asked;
    G.Grid.OnSelectCell = [&Asked](int C, int R, bool& Can) {
        Asked << QPoint(C, R);
        Can = R != 3;
    };
    G.Grid.FocusCell(1, 2);
    QTest::keyClick(&G.Grid, Qt::Key_Down);
    QCOMPARE(Current(G.Grid), QPoint(1, 2));
    QTest::mouseClick(G.Grid.viewport(), Qt::LeftButton, {}, G.Grid.CellRect(2, 4).center());
    QCOMPARE(Current(G.Grid), QPoint(2, 4));
    QCOMPARE(Asked, (QList<QPoint>{{1, 2}, {1, 3}, {2, 4}}));
}

void TestStringGrid::mouseSelection() {
    TShownGrid G;
    QVERIFY(G.Show());
    QTest::mousePress(G.Grid.viewport(), Qt::LeftButton, {}, G.Grid.CellRect(1, 1).center());
    QTest::mouseMove(G.Grid.viewport(), G.Grid.CellRect(3, 2).center());
    QTest::mouseRelease(G.Grid.viewport(), Qt::LeftButton, {}, G.Grid.CellRect(3, 2).center());
    const TGridRect Sel = G.Grid.Selection();
    QCOMPARE(QRect(QPoint(Sel.Left, Sel.Top), QPoint(Sel.Right, Sel.Bottom)),
             QRect(QPoint(1, 1), QPoint(3, 2)));
    G.Grid.SetOptions(G.Grid.Options() & ~goRangeSelect);
    QTest::mousePress(G.Grid.viewport(), Qt::LeftButton, {}, G.Grid.CellRect(1, 1).center());
    QTest::mouseMove(G.Grid.viewport(), G.Grid.CellRect(3, 2).center());
    QTest::mouseRelease(G.Grid.viewport(), Qt::LeftButton, {}, G.Grid.CellRect(3, 2).center());
    QCOMPARE(G.Grid.Selection().Right, 1);
}

void TestStringGrid::topLeftChanged() {
    TShownGrid G;
    QVERIFY(G.Show());
    int Changes = 0;
    G.Grid.OnTopLeftChanged = [&Changes] { ++Changes; };
    const int Visible = G.Grid.VisibleRowCount();
    G.Grid.FocusCell(1, Visible);
    QCOMPARE(Changes, 0);
    QTest::keyClick(&G.Grid, Qt::Key_Down);
    QCOMPARE(Changes, 1);
    QCOMPARE(G.Grid.TopRow(), 2);
    G.Grid.SetTopRow(1000);
    QCOMPARE(G.Grid.TopRow(), 50 - Visible);
}

void TestStringGrid::masks_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("fits");
    QTest::newRow("five digits") << "99999;0;#"
                                 << "12345" << true;
    QTest::newRow("six digits") << "99999;0;#"
                                << "123456" << false;
    QTest::newRow("letter") << "99999;0;#"
                            << "12a" << false;
    QTest::newRow("two digits") << "99;0;#"
                                << "42" << true;
    QTest::newRow("three for two") << "99;0;#"
                                   << "421" << false;
    QTest::newRow("empty text") << "99;0;#"
                                << "" << true;
    QTest::newRow("no mask") << ""
                             << "anything at all" << true;
    QTest::newRow("letters and literal") << "LL-99"
                                         << "ab-12" << true;
    QTest::newRow("wrong literal") << "LL-99"
                                   << "ab+12" << false;
}

void TestStringGrid::masks() {
    QFETCH(QString, mask);
    QFETCH(QString, text);
    QFETCH(bool, fits);
    QCOMPARE(TextFitsMask(text, mask), fits);
}

void TestStringGrid::masksInEditor_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("five digits") << "99999;0;#"
                                 << "12a3456-78"
                                 << "12345";
    QTest::newRow("two digits") << "99;0;#"
                                << "x9y87"
                                << "98";
}

void TestStringGrid::masksInEditor() {
    QFETCH(QString, mask);
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    TShownGrid G;
    G.Grid.SetOptions(G.Grid.Options() | goEditing);
    G.Grid.OnGetEditMask = [mask](int C, int, QString& Mask) { Mask = C == 2 ? mask : ""; };
    QVERIFY(G.Show());
    G.Grid.FocusCell(2, 1);
    QTest::keyClicks(&G.Grid, typed);
    QCOMPARE(QString::fromUtf8(G.Grid.Cells(2, 1)), stored);
    G.Grid.FocusCell(3, 1);
    QTest::keyClicks(QApplication::focusWidget(), typed);
    QCOMPARE(QString::fromUtf8(G.Grid.Cells(3, 1)), typed);
}

void TestStringGrid::editTextEvents() {
    TShownGrid G;
    G.Grid.SetOptions(G.Grid.Options() | goEditing);
    G.Grid.SetCells(1, 1, "abc");
    G.Grid.OnGetEditText = [](int, int, QString& Value) { Value = Value.toUpper(); };
    QStringList Set;
    G.Grid.OnSetEditText = [&Set](int C, int R, const QString& Value) {
        Set << QString("%1,%2=%3").arg(C).arg(R).arg(Value);
    };
    QVERIFY(G.Show());
    QTest::keyClick(&G.Grid, Qt::Key_F2);
    QCOMPARE(G.Grid.InplaceEditor()->Text(), QString("ABC"));
    QCOMPARE(G.Grid.Cells(1, 1), std::string("abc"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D);
    QCOMPARE(Set, QStringList{"1,1=ABCd"});
    QCOMPARE(G.Grid.Cells(1, 1), std::string("ABCd"));
    // Enter leaves editor mode; Enter again opens the editor.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!G.Grid.EditorMode());
    QTest::keyClick(&G.Grid, Qt::Key_Return);
    QVERIFY(G.Grid.EditorMode());
}

void TestStringGrid::largeGrid() {
    TShownGrid G(6, 100000);
    QVERIFY(G.Show());
    G.Grid.SetRowHeights(99998, 45);
    QTest::keyClick(&G.Grid, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(Current(G.Grid), QPoint(5, 99999));
    const QRect Last = G.Grid.CellRect(5, 99999);
    QVERIFY(!Last.isEmpty());
    QVERIFY(Last.bottom() < G.Grid.viewport()->height());
    int C = -1;
    int R = -1;
    G.Grid.MouseToCell(Last.center().x(), Last.center().y(), C, R);
    QCOMPARE(QPoint(C, R), QPoint(5, 99999));
    QCOMPARE(G.Grid.CellRect(5, 99998).height(), 45);
    G.Grid.SetTopRow(50000);
    G.Grid.MouseToCell(Last.center().x(), 30, C, R);
    QCOMPARE(R, 50000);
}

void TestStringGrid::insertedRowMovesCurrent() {
    TShownGrid G;
    QVERIFY(G.Show());
    G.Grid.FocusCell(2, 10);
    G.Grid.Model().InsertRow(5);
    QCOMPARE(Current(G.Grid), QPoint(2, 11));
    G.Grid.Model().RemoveRow(3);
    QCOMPARE(Current(G.Grid), QPoint(2, 10));
    G.Grid.Model().InsertRow(12);
    QCOMPARE(Current(G.Grid), QPoint(2, 10));
    QCOMPARE(G.Grid.RowCount(), 51);
}

void TestStringGrid::columnMoving() {
    TShownGrid G;
    G.Grid.SetOptions(G.Grid.Options() | goColMoving);
    for (int C = 0; C < 6; ++C) {
        G.Grid.SetCells(C, 1, std::to_string(C));
    }
    QVERIFY(G.Show());
    QTest::mousePress(G.Grid.viewport(), Qt::LeftButton, {}, G.Grid.CellRect(1, 0).center());
    QTest::mouseMove(G.Grid.viewport(), G.Grid.CellRect(3, 0).center());
    QTest::mouseRelease(G.Grid.viewport(), Qt::LeftButton, {}, G.Grid.CellRect(3, 0).center());
    std::string Order;
    for (int C = 0; C < 6; ++C) {
        Order += G.Grid.Cells(C, 1);
    }
    QCOMPARE(Order, std::string("023145"));
}

QTEST_MAIN(TestStringGrid)
#include "tst_StringGrid.moc"
