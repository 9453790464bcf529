// The undo history's cost: a step keeps the cells it changed and no more, and the history keeps
// the last 200 steps.

#include "document/TranslationTable.h"
#include "undo/TableUndo.h"

#include <QtTest>

using namespace kav;

class TestTableUndo : public QObject {
    Q_OBJECT
private slots:
    void fillOfAWholeColumnStaysSmall_data();
    void fillOfAWholeColumnStaysSmall();
    void keepsTheLast200Steps();
};

void TestTableUndo::fillOfAWholeColumnStaysSmall_data() {
    QTest::addColumn<int>("Items");
    QTest::addColumn<int>("Changed");
    QTest::newRow("whole column") << 100000 << 100000;
    QTest::newRow("one item in ten") << 100000 << 10000;
}

void TestTableUndo::fillOfAWholeColumnStaysSmall() {
    QFETCH(int, Items);
    QFETCH(int, Changed);
    TStyledGridModel Grid;
    Grid.SetColCount(colVerify + 1);
    Grid.SetRowCount(FirstItemRow + Items);
    size_t TextBytes = 0;
    for (int Row = FirstItemRow; Row < Grid.RowCount(); ++Row) {
        const std::string Text = "Translated text of item " + std::to_string(Row);
        Grid.SetCells(colTranslated, Row, Text);
        if ((Row - FirstItemRow) % (Items / Changed) == 0)
            TextBytes += Text.size() + 1;
    }
    TTableUndo Undo(Grid);
    const TTableSnapshot Before(Grid);
    for (int Row = FirstItemRow; Row < Grid.RowCount(); ++Row)
        if ((Row - FirstItemRow) % (Items / Changed) == 0)
            Grid.SetCells(colTranslated, Row, "?");
    std::vector<TCellChange> Changes = Before.Changes(Grid);
    QCOMPARE(int(Changes.size()), Changed);
    Undo.Push("Fill", std::move(Changes));
    // The texts replaced and written, and 16 bytes of place per cell.
    QVERIFY2(Undo.StoredBytes() <= TextBytes + 16 * size_t(Changed) + 64,
             qPrintable(QString::number(Undo.StoredBytes())));
    QVERIFY(Undo.StoredBytes() < 5u * 1024 * 1024);
    Undo.Stack().undo();
    QCOMPARE(Grid.Cells(colTranslated, FirstItemRow), "Translated text of item 2");
    Undo.Stack().redo();
    QCOMPARE(Grid.Cells(colTranslated, FirstItemRow), "?");
}

void TestTableUndo::keepsTheLast200Steps() {
    TStyledGridModel Grid;
    Grid.SetColCount(colVerify + 1);
    Grid.SetRowCount(FirstItemRow + 1);
    TTableUndo Undo(Grid);
    for (int Step = 0; Step < 250; ++Step) {
        const std::string Old(Grid.Cells(colTranslated, FirstItemRow));
        const std::string New = std::to_string(Step);
        Grid.SetCells(colTranslated, FirstItemRow, New);
        Undo.Push("Edit " + New, {{colTranslated, FirstItemRow, Old, New}});
    }
    QCOMPARE(Undo.Stack().count(), TTableUndo::StepLimit);
    while (Undo.Stack().canUndo())
        Undo.Stack().undo();
    // The oldest step kept is the 51st.
    QCOMPARE(Grid.Cells(colTranslated, FirstItemRow), "49");
}

QTEST_GUILESS_MAIN(TestTableUndo)
#include "tst_TableUndo.moc"
