#include "grid/GridSort.h"
#include "grid/GridText.h"

#include "Bytes.h"

#include <QtTest>

using namespace kav;

namespace {

// Texts of a grid, rows separated by '/', cells by '|'.
QByteArray Dump(const TStyledGridModel& Grid) {
    QByteArray Out;
    for (int Row = 0; Row < Grid.RowCount(); ++Row) {
        if (Row) {
            Out += '/';
        }
        for (int Col = 0; Col < Grid.ColCount(); ++Col) {
            Out += (Col ? "|" : "") + B(Grid.Cells(Col, Row));
        }
    }
    return Out;
}

void SetColumn(TStyledGridModel& Grid, int Col, int FirstRow, const QList<QByteArray>& Texts) {
    for (int I = 0; I < Texts.size(); ++I) {
        Grid.SetCells(Col, FirstRow + I, S(Texts[I]));
    }
}

} // namespace

class TestGridText : public QObject {
    Q_OBJECT
private slots:
    void cellsToText_data();
    void cellsToText();
    void textToCells_data();
    void textToCells();
    void sortOrder_data();
    void sortOrder();
    void sortCarriesPropertiesAndHints();
    void sortColumnsByRow();
    void customCompare();
};

void TestGridText::cellsToText_data() {
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("two cells of one row") << 1 << 1 << 2 << 1 << QByteArray("a\tb\t\r\n");
    QTest::newRow("one cell") << 2 << 1 << 2 << 1 << QByteArray("b\t\r\n");
    QTest::newRow("empty cells keep their separators")
        << 1 << 1 << 2 << 2 << QByteArray("a\tb\t\r\n\tc\t\r\n");
    QTest::newRow("right before left: to the last column")
        << 1 << 1 << 0 << 1 << QByteArray("a\tb\t\r\n");
    QTest::newRow("negative start and open end: whole grid")
        << -3 << -3 << -1 << -1 << QByteArray("x\t\t\t\r\n\ta\tb\t\r\n\t\tc\t\r\n");
    QTest::newRow("beyond the grid is cut") << 2 << 2 << 500 << 500 << QByteArray("c\t\r\n");
}

void TestGridText::cellsToText() {
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, right);
    QFETCH(int, bottom);
    QFETCH(QByteArray, expected);
    TStyledGridModel Grid;
    Grid.SetColCount(3);
    Grid.SetRowCount(3);
    Grid.SetCells(0, 0, "x");
    Grid.SetCells(1, 1, "a");
    Grid.SetCells(2, 1, "b");
    Grid.SetCells(2, 2, "c");
    QCOMPARE(B(CellsToText(Grid, '\t', {left, top, right, bottom})), expected);
}

void TestGridText::textToCells_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("right");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<QByteArray>("expected");
    // The grid starts 3 x 3, all cells ".".
    QTest::newRow("one-cell selection takes the first field")
        << QByteArray("x\ty\r\nz\r\n") << 1 << 1 << 1 << 1 << QByteArray(".|.|./.|x|./.|.|.");
    QTest::newRow("copied text fills two cells")
        << QByteArray("a\tb\t\r\n") << 1 << 1 << 2 << 2 << QByteArray(".|.|./.|a|b/.|.|.");
    QTest::newRow("never past the selection") << QByteArray("a\tb\tc\r\nd\te\tf\r\ng\r\n") << 0 << 1
                                              << 1 << 2 << QByteArray(".|.|./a|b|./d|e|.");
    QTest::newRow("empty line changes nothing, two separators give an empty cell")
        << QByteArray("\r\na\t\tb\r\n") << 0 << 0 << -1 << -1 << QByteArray(".|.|./a||b/.|.|.");
    QTest::newRow("LF and CR line ends")
        << QByteArray("a\nb\rc") << 2 << 0 << -1 << -1 << QByteArray(".|.|a/.|.|b/.|.|c");
    QTest::newRow("open rectangle grows rows and columns")
        << QByteArray("1\t2\r\n3\t4\r\n") << 2 << 2 << -1 << -1
        << QByteArray(".|.|.|/.|.|.|/.|.|1|2/||3|4");
    QTest::newRow("origin below the grid grows it up to there")
        << QByteArray("q") << 0 << 4 << -1 << -1 << QByteArray(".|.|./.|.|./.|.|./||/q||");
}

void TestGridText::textToCells() {
    QFETCH(QByteArray, text);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, right);
    QFETCH(int, bottom);
    QFETCH(QByteArray, expected);
    TStyledGridModel Grid;
    Grid.SetColCount(3);
    Grid.SetRowCount(3);
    for (int Col = 0; Col < 3; ++Col) {
        for (int Row = 0; Row < 3; ++Row) {
            Grid.SetCells(Col, Row, ".");
        }
    }
    TextToCells(Grid, S(text), '\t', {left, top, right, bottom});
    QCOMPARE(Dump(Grid), expected);
}

void TestGridText::sortOrder_data() {
    QTest::addColumn<QList<QByteArray>>("texts");
    QTest::addColumn<bool>("ascending");
    QTest::addColumn<QList<QByteArray>>("expected");
    QTest::newRow("ordinal: B before a")
        << QList<QByteArray>{"a", "B", "c", "A"} << true << QList<QByteArray>{"A", "B", "a", "c"};
    QTest::newRow("descending") << QList<QByteArray>{"a", "B", "c", "A"} << false
                                << QList<QByteArray>{"c", "a", "B", "A"};
    QTest::newRow("duplicates and empty")
        << QList<QByteArray>{"b", "", "b", "a"} << true << QList<QByteArray>{"", "a", "b", "b"};
    QTest::newRow("already sorted")
        << QList<QByteArray>{"1", "2", "3", "4"} << true << QList<QByteArray>{"1", "2", "3", "4"};
    QTest::newRow("reversed") << QList<QByteArray>{"4", "3", "2", "1"} << true
                              << QList<QByteArray>{"1", "2", "3", "4"};
    QTest::newRow("high bytes after ASCII")
        << QList<QByteArray>{"\xe9", "z"} << true << QList<QByteArray>{"z", "\xe9"};
}

void TestGridText::sortOrder() {
    QFETCH(QList<QByteArray>, texts);
    QFETCH(bool, ascending);
    QFETCH(QList<QByteArray>, expected);
    TStyledGridModel Grid;
    Grid.SetRowCount(8);
    Grid.SetCells(3, 1, "fixed-above");
    Grid.SetCells(3, 7, "below");
    SetColumn(Grid, 3, 2, texts);
    QVERIFY(SortColRow(Grid, 3, 2, 1 + static_cast<int>(texts.size()), true, ascending));
    for (int I = 0; I < expected.size(); ++I) {
        QCOMPARE(B(Grid.Cells(3, 2 + I)), expected[I]);
    }
    QCOMPARE(B(Grid.Cells(3, 1)), QByteArray("fixed-above"));
    QCOMPARE(B(Grid.Cells(3, 7)), QByteArray("below"));
}

void TestGridText::sortCarriesPropertiesAndHints() {
    TStyledGridModel Grid;
    Grid.SetRowCount(6);
    SetColumn(Grid, 3, 2, {"c", "a", "b"});
    SetColumn(Grid, 4, 2, {"C", "A", "B"});
    Grid.SetColorCell(2, 3, clRed);
    Grid.SetHintCell(1, 2, "was c");
    Grid.SetAlignRow(4, alRight);
    SortColRow(Grid, 3, 2, 4, true, true);
    QCOMPARE(B(Grid.Cells(4, 2)), QByteArray("A"));
    QCOMPARE(Grid.ColorCell(2, 2), clRed);
    QCOMPARE(B(Grid.HintCell(1, 4)), QByteArray("was c"));
    QCOMPARE(Grid.AlignCell(0 + 1, 3), alRight);
}

void TestGridText::sortColumnsByRow() {
    TStyledGridModel Grid;
    Grid.SetColCount(5);
    Grid.SetCells(1, 2, "b");
    Grid.SetCells(2, 2, "c");
    Grid.SetCells(3, 2, "a");
    Grid.SetCells(3, 0, "head-a");
    Grid.SetAlignCol(3, alCenter);
    SortColRow(Grid, 2, 1, 3, false, true);
    QCOMPARE(B(Grid.Cells(1, 2)), QByteArray("a"));
    QCOMPARE(B(Grid.Cells(1, 0)), QByteArray("head-a"));
    QCOMPARE(Grid.AlignCell(1, 3), alCenter);
    QCOMPARE(B(Grid.Cells(3, 2)), QByteArray("c"));
}

void TestGridText::customCompare() {
    TStyledGridModel Grid;
    Grid.SetRowCount(5);
    SetColumn(Grid, 1, 1, {"10", "9", "100"});
    Grid.OnCompareCol = [&Grid](int Col, int Row1, int Row2) {
        const int A = std::stoi(std::string(Grid.Cells(Col, Row1)));
        const int B = std::stoi(std::string(Grid.Cells(Col, Row2)));
        return A < B ? rel_less : (A == B ? rel_equal : rel_greater);
    };
    SortColRow(Grid, 1, 1, 3, true, true);
    QCOMPARE(Dump(Grid), QByteArray("||||/|9|||/|10|||/|100|||/||||"));
    // A compare that calls every text smaller than itself must not run past the range.
    Grid.OnCompareCol = [](int, int, int) { return rel_less; };
    SortColRow(Grid, 1, 1, 3, true, true);
    QCOMPARE(Grid.RowCount(), 5);
}

QTEST_GUILESS_MAIN(TestGridText)
#include "tst_GridText.moc"
