#include "Bytes.h"
#include "grid/GridModel.h"

#include <QtTest>

#include <functional>
#include <map>
#include <random>

using namespace kav;

using TSetup = std::function<void(TStyledGridModel&)>;
Q_DECLARE_METATYPE(TSetup)

namespace {

struct TRecorder : IGridModelObserver {
    std::vector<TGridChange> Changes;
    void GridChanged(const TGridChange& Change) override { Changes.push_back(Change); }
    int Count(TGridChangeKind Kind) const {
        return static_cast<int>(std::count_if(Changes.begin(), Changes.end(),
                                              [Kind](auto& C) { return C.Kind == Kind; }));
    }
};

// A 6 x 8 grid with one fixed column and one fixed row, texts "c,r" everywhere.
void Fill(TStyledGridModel& Grid) {
    Grid.SetColCount(6);
    Grid.SetRowCount(8);
    for (int Col = 0; Col < Grid.ColCount(); ++Col) {
        for (int Row = 0; Row < Grid.RowCount(); ++Row) {
            Grid.SetCells(Col, Row, std::to_string(Col) + "," + std::to_string(Row));
        }
    }
}

} // namespace

class TestGridModel : public QObject {
    Q_OBJECT
private slots:
    void noPropertiesUsesDefaults_data();
    void noPropertiesUsesDefaults();
    void alignLookup_data();
    void alignLookup();
    void editLookup_data();
    void editLookup();
    void editColReadsColumnRecordOnly();
    void creatingGettersCopyGridDefaults();
    void fontAndBrushChangesRepaint();
    void colorCell();
    void selectedColorsIgnoreFixedLists();
    void hints();
    void negativeIndexThrows();
    void recordAssignCloneIsEmpty();
    void sizesKeepTextsThatFit();
    void insertRowShiftsPropertiesAndHints();
    void insertRowAtFixedRowsAndPastEnd();
    void removeRowGuards_data();
    void removeRowGuards();
    void removeRowFreesAndShifts();
    void insertColShiftsColumnLists();
    void exchangeRowsAndCols();
    void moveRowAndCol();
    void textRevision_data();
    void textRevision();
    void textsFollowWrites_data();
    void textsFollowWrites();
    void textStaysWhileItsRowIsWritten();
};

void TestGridModel::noPropertiesUsesDefaults_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("fixed");
    QTest::newRow("non-fixed") << 2 << 3 << false;
    QTest::newRow("fixed column") << 0 << 3 << true;
    QTest::newRow("fixed row") << 2 << 0 << true;
    QTest::newRow("outside the grid") << 40 << 900 << false;
}

void TestGridModel::noPropertiesUsesDefaults() {
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(bool, fixed);
    TStyledGridModel Grid;
    Grid.Font().SetName("Arial");
    QCOMPARE(Grid.IsFixedCell(col, row), fixed);
    QCOMPARE(Grid.AlignCell(col, row), alLeft);
    QCOMPARE(Grid.WordwrapCell(col, row), ww_none);
    QVERIFY(Grid.EditCell(col, row));
    QVERIFY(&Grid.CellFont(col, row) == (fixed ? &Grid.FixedFont() : &Grid.Font()));
    QCOMPARE(Grid.ColorCell(col, row), fixed ? clBtnFace : clWindow);
    QCOMPARE(Grid.SelectedColorCell(col, row), clActiveCaption);
    QCOMPARE(Grid.SelectedFontColorCell(col, row), clWhite);
    // Lookups never create records.
    QVERIFY(Grid.PropCell().Empty() && Grid.PropCol().Empty() && Grid.PropRow().Empty());
}

void TestGridModel::alignLookup_data() {
    QTest::addColumn<TSetup>("setup");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("expected");
    const TSetup RowAndCol = [](TStyledGridModel& G) {
        G.SetAlignRow(3, alRight);
        G.SetAlignCol(2, alCenter);
    };
    QTest::newRow("column beats row") << RowAndCol << 2 << 3 << int(alCenter);
    QTest::newRow("row where no column") << RowAndCol << 3 << 3 << int(alRight);
    QTest::newRow("cell beats column") << TSetup([RowAndCol](TStyledGridModel& G) {
        RowAndCol(G);
        G.SetAlignCell(2, 3, alLeft);
    }) << 2 << 3 << int(alLeft);
    QTest::newRow("cell set to default defers") << TSetup([RowAndCol](TStyledGridModel& G) {
        RowAndCol(G);
        G.SetAlignCell(2, 3, alDefault);
    }) << 2 << 3 << int(alCenter);
    const TSetup FixedCol0 = [](TStyledGridModel& G) {
        G.SetFixedCols(0);
        G.SetFixedAlignCol(0, alCenter);
    };
    QTest::newRow("fixed column list, fixed cell") << FixedCol0 << 0 << 0 << int(alCenter);
    QTest::newRow("fixed column list, non-fixed cell") << FixedCol0 << 0 << 3 << int(alLeft);
    QTest::newRow("normal column list, fixed cell")
        << TSetup([](TStyledGridModel& G) { G.SetAlignCol(2, alRight); }) << 2 << 0 << int(alLeft);
    QTest::newRow("fixed row list") << TSetup([](TStyledGridModel& G) {
        G.SetFixedAlignRow(0, alRight);
        G.SetAlignRow(0, alCenter);
    }) << 3 << 0 << int(alRight);
    QTest::newRow("grid default alDefault reads left")
        << TSetup([](TStyledGridModel& G) { G.SetAlignment(alDefault); }) << 2 << 2 << int(alLeft);
    QTest::newRow("grid default") << TSetup([](TStyledGridModel& G) { G.SetAlignment(alRight); })
                                  << 2 << 2 << int(alRight);
}

void TestGridModel::alignLookup() {
    QFETCH(TSetup, setup);
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(int, expected);
    TStyledGridModel Grid;
    setup(Grid);
    QCOMPARE(int(Grid.AlignCell(col, row)), expected);
}

void TestGridModel::editLookup_data() {
    QTest::addColumn<TSetup>("setup");
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("expected");
    QTest::newRow("row read-only")
        << TSetup([](TStyledGridModel& G) { G.SetEditRow(3, false); }) << 2 << 3 << false;
    QTest::newRow("column editable beats row") << TSetup([](TStyledGridModel& G) {
        G.SetEditRow(3, false);
        G.SetEditCol(2, true);
    }) << 2 << 3 << true;
    QTest::newRow("cell beats column") << TSetup([](TStyledGridModel& G) {
        G.SetEditCol(2, true);
        G.SetEditCell(2, 3, false);
    }) << 2 << 3 << false;
    QTest::newRow("column record without edit state defers") << TSetup([](TStyledGridModel& G) {
        G.FontCol(2);
        G.SetEditRow(3, false);
    }) << 2 << 3 << false;
    QTest::newRow("grid not editable")
        << TSetup([](TStyledGridModel& G) { G.SetEditable(false); }) << 2 << 3 << false;
    QTest::newRow("fixed cell ignores normal column")
        << TSetup([](TStyledGridModel& G) { G.SetEditCol(2, false); }) << 2 << 0 << true;
}

void TestGridModel::editLookup() {
    QFETCH(TSetup, setup);
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(bool, expected);
    TStyledGridModel Grid;
    setup(Grid);
    QCOMPARE(Grid.EditCell(col, row), expected);
}

void TestGridModel::editColReadsColumnRecordOnly() {
    TStyledGridModel Grid;
    QVERIFY(Grid.EditCol(1));
    Grid.FontCol(1);
    QVERIFY(!Grid.EditCol(1));
    QVERIFY(Grid.Editable());
    QVERIFY(Grid.EditCell(1, 5));
    Grid.SetEditCol(1, true);
    QVERIFY(Grid.EditCol(1));
    Grid.SetEditable(false);
    QVERIFY(!Grid.EditCol(3));
}

void TestGridModel::creatingGettersCopyGridDefaults() {
    TStyledGridModel Grid;
    Grid.Font().SetName("Arial");
    Grid.FixedFont().SetName("Tahoma");
    Grid.SetColor(clYellow);
    TMyFont& Fixed = Grid.FontFixedRow(0);
    QCOMPARE(B(Fixed.Name()), QByteArray("Arial"));
    QVERIFY(&Grid.FontFixedRow(0) == &Fixed);
    QVERIFY(&Grid.CellFont(3, 0) == &Fixed);
    QCOMPARE(Grid.BrushFixedCol(0).Color(), clYellow);
    QCOMPARE(Grid.ColorCell(0, 3), clYellow);
    TMyFont& Cell = Grid.FontCell(5, 7);
    QVERIFY(Cell == Grid.Font());
    Cell.SetStyle(fsBold);
    QCOMPARE(Grid.CellFont(5, 7).Style(), fsBold);
    QCOMPARE(Grid.Font().Style(), TFontStyles(0));
    QCOMPARE(Grid.FontCol(2).Size(), 8);
}

void TestGridModel::fontAndBrushChangesRepaint() {
    TStyledGridModel Grid;
    TRecorder Recorder;
    Grid.AddObserver(&Recorder);
    TMyFont& Font = Grid.FontCell(5, 9);
    Recorder.Changes.clear();
    Font.SetStyle(fsItalic);
    QCOMPARE(Recorder.Count(TGridChangeKind::Repaint), 1);
    Grid.SetColorCell(2, 9, clAqua);
    QVERIFY(Recorder.Count(TGridChangeKind::Repaint) >= 2);
    Recorder.Changes.clear();
    Grid.SetEditCell(2, 9, false);
    Grid.SetHintCell(2, 9, "x");
    QCOMPARE(Recorder.Changes.size(), size_t(0));
    Grid.RemoveObserver(&Recorder);
    Grid.SetColorCell(2, 9, clRed);
    QCOMPARE(Recorder.Changes.size(), size_t(0));
}

void TestGridModel::colorCell() {
    TStyledGridModel Grid;
    Grid.SetColorRow(4, clLime);
    QCOMPARE(Grid.ColorCell(3, 4), clLime);
    Grid.SetColorCol(3, clAqua);
    QCOMPARE(Grid.ColorCell(3, 4), clAqua);
    Grid.SetColorCell(3, 4, clFuchsia);
    QCOMPARE(Grid.ColorCell(3, 4), clFuchsia);
    QCOMPARE(Grid.ColorCell(2, 4), clLime);
    Grid.SetFixedColor(clSilver);
    QCOMPARE(Grid.FixedBrush().Color(), clSilver);
    QCOMPARE(Grid.ColorCell(0, 4), clSilver);
}

void TestGridModel::selectedColorsIgnoreFixedLists() {
    TStyledGridModel Grid;
    Grid.SetSelectedColorRow(2, clRed);
    QCOMPARE(Grid.SelectedColorCell(3, 2), clRed);
    Grid.SetSelectedColorCol(3, clBlue);
    QCOMPARE(Grid.SelectedColorCell(3, 2), clBlue);
    Grid.SetSelectedColorCell(3, 2, clGreen);
    QCOMPARE(Grid.SelectedColorCell(3, 2), clGreen);
    QCOMPARE(Grid.PropCell().Get(3)->Get(2)->SelectedBrush->Style(), bsSolid);
    // Fixed cells read the normal lists here.
    QCOMPARE(Grid.SelectedColorCell(0, 2), clRed);
    Grid.BrushFixedCol(0);
    QCOMPARE(Grid.SelectedColorCell(0, 2), clRed);
    Grid.SetSelectedFontColor(clYellow);
    QCOMPARE(Grid.SelectedFontColorCell(3, 2), clYellow);
}

void TestGridModel::hints() {
    TStyledGridModel Grid;
    QVERIFY(!Grid.HintsStored());
    QCOMPARE(B(Grid.HintCell(2, 3)), QByteArray());
    Grid.SetHintCell(2, 3, "");
    QVERIFY(Grid.HintsStored());
    QVERIFY(Grid.FindHintCell(2, 3) != nullptr);
    QVERIFY(Grid.FindHintCell(2, 4) == nullptr);
    Grid.SetHintCell(2, 3, "second");
    QCOMPARE(B(Grid.HintCell(2, 3)), QByteArray("second"));
}

void TestGridModel::negativeIndexThrows() {
    TStyledGridModel Grid;
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, Grid.FontCell(1, -1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, Grid.SetAlignCol(-2, alCenter));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, Grid.SetHintCell(-1, 0, "x"));
    // Reads never fail.
    QCOMPARE(Grid.AlignCell(-5, -5), alLeft);
    QCOMPARE(B(Grid.Cells(-1, 2)), QByteArray());
}

void TestGridModel::recordAssignCloneIsEmpty() {
    TStyledGridModel Grid;
    TMyFont& Font = Grid.FontCell(1, 1);
    Font.SetName("Courier New");
    Grid.SetSelectedColorCell(1, 1, clRed);
    Grid.SetAlignCell(1, 1, alRight);
    const TCellProperties& Source = *Grid.PropCell().Get(1)->Get(1);
    QVERIFY(!Source.IsEmpty());
    std::unique_ptr<TCellProperties> Copy = Source.Clone();
    QVERIFY(Copy->Font && Copy->Font.get() != Source.Font.get());
    QCOMPARE(B(Copy->Font->Name()), QByteArray("Courier New"));
    QCOMPARE(Copy->SelectedBrush->Color(), clRed);
    QCOMPARE(Copy->Align, alRight);
    QVERIFY(!Copy->Brush);
    Font.SetName("Arial");
    QCOMPARE(B(Copy->Font->Name()), QByteArray("Courier New"));
    // A slot that exists keeps its object and takes the values.
    TMyFont* Kept = Copy->Font.get();
    Copy->Assign(&Source);
    QVERIFY(Copy->Font.get() == Kept);
    QCOMPARE(B(Kept->Name()), QByteArray("Arial"));
    Copy->Assign(nullptr);
    QVERIFY(Copy->IsEmpty());
}

void TestGridModel::sizesKeepTextsThatFit() {
    TStyledGridModel Grid;
    Fill(Grid);
    Grid.SetAlignCell(5, 7, alRight);
    Grid.SetColCount(3);
    Grid.SetRowCount(4);
    QCOMPARE(B(Grid.Cells(2, 3)), QByteArray("2,3"));
    Grid.SetCells(4, 2, "outside");
    Grid.SetColCount(6);
    Grid.SetRowCount(8);
    QCOMPARE(B(Grid.Cells(5, 7)), QByteArray());
    QCOMPARE(B(Grid.Cells(4, 2)), QByteArray());
    QCOMPARE(Grid.AlignCell(5, 7), alRight);
    Grid.SetFixedRows(3);
    Grid.SetRowCount(2);
    QCOMPARE(Grid.FixedRows(), 1);
    Grid.SetRowCount(0);
    QCOMPARE(Grid.RowCount(), 1);
    QCOMPARE(Grid.FixedRows(), 0);
}

void TestGridModel::insertRowShiftsPropertiesAndHints() {
    TStyledGridModel Grid;
    Fill(Grid);
    Grid.SetAlignRow(4, alRight);
    Grid.SetFixedAlignRow(4, alCenter);
    Grid.SetHintCell(5, 4, "hint");
    Grid.SetHintCell(5, 2, "above");
    Grid.FontCell(3, 6).SetName("Six");
    TRecorder Recorder;
    Grid.AddObserver(&Recorder);
    Grid.InsertRow(4);
    QCOMPARE(Grid.RowCount(), 9);
    QCOMPARE(Grid.AlignCell(2, 5), alRight);
    QVERIFY(Grid.PropRow().Get(4) == nullptr);
    QCOMPARE(B(Grid.HintCell(5, 5)), QByteArray("hint"));
    QVERIFY(Grid.FindHintCell(5, 4) == nullptr);
    QCOMPARE(B(Grid.HintCell(5, 2)), QByteArray("above"));
    QCOMPARE(B(Grid.CellFont(3, 7).Name()), QByteArray("Six"));
    // Fixed-row records stay with their index.
    QVERIFY(Grid.PropFixedRow().Get(4) != nullptr);
    QCOMPARE(B(Grid.Cells(2, 4)), QByteArray());
    QCOMPARE(B(Grid.Cells(2, 5)), QByteArray("2,4"));
    QCOMPARE(B(Grid.Cells(2, 8)), QByteArray("2,7"));
    QCOMPARE(Recorder.Changes.size(), size_t(2));
    QCOMPARE(Recorder.Changes[0].Kind, TGridChangeKind::RowInserting);
    QCOMPARE(Recorder.Changes[1].Kind, TGridChangeKind::RowInserted);
    QCOMPARE(Recorder.Changes[1].Index, 4);
}

void TestGridModel::insertRowAtFixedRowsAndPastEnd() {
    TStyledGridModel Grid;
    Fill(Grid);
    Grid.SetFixedRows(2);
    Grid.SetAlignRow(2, alRight);
    Grid.InsertRow(0);
    QCOMPARE(B(Grid.Cells(1, 1)), QByteArray("1,1"));
    QCOMPARE(B(Grid.Cells(1, 2)), QByteArray());
    QCOMPARE(B(Grid.Cells(1, 3)), QByteArray("1,2"));
    QCOMPARE(Grid.AlignCell(1, 3), alRight);
    Grid.InsertRow(50);
    QCOMPARE(Grid.RowCount(), 10);
    QCOMPARE(B(Grid.Cells(1, 8)), QByteArray("1,7"));
    QCOMPARE(B(Grid.Cells(1, 9)), QByteArray());
}

void TestGridModel::removeRowGuards_data() {
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("fixedRows");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("expectedCount");
    QTest::newRow("last non-fixed row stays") << 3 << 2 << 2 << 3;
    QTest::newRow("fixed row") << 6 << 2 << 1 << 6;
    QTest::newRow("past the end") << 6 << 2 << 6 << 6;
    QTest::newRow("negative") << 6 << 2 << -1 << 6;
    QTest::newRow("last row") << 6 << 2 << 5 << 5;
}

void TestGridModel::removeRowGuards() {
    QFETCH(int, rowCount);
    QFETCH(int, fixedRows);
    QFETCH(int, row);
    QFETCH(int, expectedCount);
    TStyledGridModel Grid;
    Grid.SetRowCount(rowCount);
    Grid.SetFixedRows(fixedRows);
    Grid.RemoveRow(row);
    QCOMPARE(Grid.RowCount(), expectedCount);
}

void TestGridModel::removeRowFreesAndShifts() {
    TStyledGridModel Grid;
    Fill(Grid);
    Grid.SetAlignRow(3, alRight);
    Grid.SetAlignRow(5, alCenter);
    Grid.SetHintCell(2, 3, "gone");
    Grid.SetHintCell(2, 5, "five");
    Grid.FontCell(4, 3);
    Grid.FontCell(4, 6).SetName("Six");
    Grid.RemoveRow(3);
    QCOMPARE(Grid.RowCount(), 7);
    QCOMPARE(Grid.AlignCell(1, 3), alLeft);
    QCOMPARE(Grid.AlignCell(1, 4), alCenter);
    QCOMPARE(B(Grid.HintCell(2, 4)), QByteArray("five"));
    QVERIFY(Grid.FindHintCell(2, 3) == nullptr);
    QCOMPARE(B(Grid.CellFont(4, 5).Name()), QByteArray("Six"));
    QCOMPARE(int(Grid.PropCell().Get(4)->Size()), 1);
    QCOMPARE(B(Grid.Cells(1, 3)), QByteArray("1,4"));
    QCOMPARE(B(Grid.Cells(1, 6)), QByteArray("1,7"));
}

void TestGridModel::insertColShiftsColumnLists() {
    TStyledGridModel Grid;
    Fill(Grid);
    Grid.SetAlignCol(2, alRight);
    Grid.SetFixedAlignCol(2, alCenter);
    Grid.SetHintCell(3, 1, "three");
    Grid.InsertCol(2);
    QCOMPARE(Grid.ColCount(), 7);
    QCOMPARE(Grid.AlignCell(3, 2), alRight);
    QCOMPARE(Grid.AlignCell(2, 2), alLeft);
    QCOMPARE(Grid.AlignCell(2, 0), alCenter);
    QCOMPARE(B(Grid.HintCell(4, 1)), QByteArray("three"));
    QCOMPARE(B(Grid.Cells(2, 1)), QByteArray());
    QCOMPARE(B(Grid.Cells(3, 1)), QByteArray("2,1"));
    QCOMPARE(B(Grid.Cells(6, 1)), QByteArray("5,1"));
    Grid.InsertCol(0);
    QCOMPARE(B(Grid.Cells(0, 1)), QByteArray("0,1"));
    QCOMPARE(B(Grid.Cells(1, 1)), QByteArray());
}

void TestGridModel::exchangeRowsAndCols() {
    TStyledGridModel Grid;
    Fill(Grid);
    Grid.SetAlignRow(2, alRight);
    Grid.SetFixedAlignRow(2, alCenter);
    Grid.SetHintCell(3, 2, "two");
    Grid.SetColorCell(4, 6, clRed);
    Grid.ExchangeRows(2, 6);
    QCOMPARE(B(Grid.Cells(1, 2)), QByteArray("1,6"));
    QCOMPARE(B(Grid.Cells(1, 6)), QByteArray("1,2"));
    QCOMPARE(Grid.AlignCell(1, 6), alRight);
    QCOMPARE(Grid.AlignCell(1, 2), alLeft);
    QCOMPARE(B(Grid.HintCell(3, 6)), QByteArray("two"));
    QCOMPARE(Grid.ColorCell(4, 2), clRed);
    QVERIFY(Grid.PropFixedRow().Get(2) != nullptr);
    Grid.SetAlignCol(1, alCenter);
    Grid.ExchangeCols(1, 5);
    QCOMPARE(B(Grid.Cells(5, 2)), QByteArray("1,6"));
    QCOMPARE(Grid.AlignCell(5, 3), alCenter);
    QCOMPARE(B(Grid.HintCell(3, 6)), QByteArray("two"));
    QCOMPARE(Grid.ColorCell(4, 2), clRed);
    Grid.ExchangeRows(2, 99);
    QCOMPARE(Grid.ColorCell(4, 2), clRed);
}

void TestGridModel::moveRowAndCol() {
    TStyledGridModel Grid;
    Fill(Grid);
    Grid.SetAlignRow(2, alRight);
    Grid.SetHintCell(1, 5, "five");
    TRecorder Recorder;
    Grid.AddObserver(&Recorder);
    Grid.MoveRow(2, 5);
    QCOMPARE(B(Grid.Cells(1, 5)), QByteArray("1,2"));
    QCOMPARE(B(Grid.Cells(1, 2)), QByteArray("1,3"));
    QCOMPARE(B(Grid.Cells(1, 4)), QByteArray("1,5"));
    QCOMPARE(Grid.AlignCell(1, 5), alRight);
    QCOMPARE(B(Grid.HintCell(1, 4)), QByteArray("five"));
    QCOMPARE(Recorder.Changes.back().Kind, TGridChangeKind::RowMoved);
    Grid.MoveRow(5, 2);
    QCOMPARE(B(Grid.Cells(1, 2)), QByteArray("1,2"));
    QCOMPARE(B(Grid.HintCell(1, 5)), QByteArray("five"));
    Grid.SetAlignCol(4, alCenter);
    Grid.MoveCol(4, 1);
    QCOMPARE(B(Grid.Cells(1, 3)), QByteArray("4,3"));
    QCOMPARE(B(Grid.Cells(2, 3)), QByteArray("1,3"));
    QCOMPARE(Grid.AlignCell(1, 3), alCenter);
}

void TestGridModel::textRevision_data() {
    QTest::addColumn<TSetup>("Step");
    QTest::addColumn<bool>("Grows"); // for column 2
    QTest::newRow("cell of the column written")
        << TSetup([](TStyledGridModel& G) { G.SetCells(2, 3, "x"); }) << true;
    QTest::newRow("cell of another column written")
        << TSetup([](TStyledGridModel& G) { G.SetCells(1, 3, "x"); }) << false;
    QTest::newRow("cell outside the grid written")
        << TSetup([](TStyledGridModel& G) { G.SetCells(2, 99, "x"); }) << false;
    QTest::newRow("colour set") << TSetup([](TStyledGridModel& G) { G.SetColorCell(2, 3, 5); })
                                << false;
    QTest::newRow("row cleared") << TSetup([](TStyledGridModel& G) { G.ClearRow(3); }) << true;
    QTest::newRow("row removed") << TSetup([](TStyledGridModel& G) { G.RemoveRow(3); }) << true;
    QTest::newRow("rows exchanged")
        << TSetup([](TStyledGridModel& G) { G.ExchangeRows(2, 3); }) << true;
    QTest::newRow("row count changed")
        << TSetup([](TStyledGridModel& G) { G.SetRowCount(3); }) << true;
}

void TestGridModel::textRevision() {
    QFETCH(TSetup, Step);
    QFETCH(bool, Grows);
    TStyledGridModel G;
    Fill(G);
    const std::uint64_t Before = G.TextRevision(2);
    Step(G);
    QCOMPARE(G.TextRevision(2) != Before, Grows);
}

void TestGridModel::textsFollowWrites_data() {
    QTest::addColumn<int>("Distinct"); // how many different texts the writes choose from
    QTest::addColumn<int>("Padding");  // characters added to each: 16 and more leave it unshared
    QTest::addColumn<bool>("Compact"); // the texts moved together now and then
    QTest::newRow("few short texts, each in many cells") << 5 << 0 << false;
    QTest::newRow("many short texts, written and freed") << 300 << 0 << false;
    QTest::newRow("long texts") << 50 << 20 << false;
    // Megabytes written over: the room of the texts no cell shows is taken back.
    QTest::newRow("large texts, moved together") << 50 << 3000 << true;
}

// Cells that show the same text must still read what was last written to each of them, through
// writes, cleared and removed rows and a smaller grid; a plain table of strings says what each
// cell must read. Equal short texts must stay one string (what keeps a large table small).
void TestGridModel::textsFollowWrites() {
    QFETCH(int, Distinct);
    QFETCH(int, Padding);
    QFETCH(bool, Compact);
    const int Cols = 7;
    TStyledGridModel Grid;
    Grid.SetColCount(Cols);
    Grid.SetRowCount(40);
    std::vector<std::vector<std::string>> Expected(40, std::vector<std::string>(Cols));
    std::mt19937 Random(21);
    auto Pick = [&](int N) { return static_cast<int>(Random() % static_cast<unsigned>(N)); };
    for (int Step = 0; Step < 4000; ++Step) {
        const int Rows = static_cast<int>(Expected.size());
        const int Row = Pick(Rows);
        const int Kind = Pick(100);
        if (Kind < 85) {
            const int Col = Pick(Cols);
            const int Choice = Pick(Distinct + 1);
            const std::string Text = Choice == Distinct
                                         ? std::string()
                                         : std::string(Padding, '-') + std::to_string(Choice);
            Grid.SetCells(Col, Row, Text);
            Expected[static_cast<size_t>(Row)][static_cast<size_t>(Col)] = Text;
        } else if (Kind < 92) {
            Grid.ClearRow(Row);
            Expected[static_cast<size_t>(Row)].assign(Cols, std::string());
        } else if (Kind < 97) {
            Grid.RemoveRow(Row);
            if (Row >= Grid.FixedRows() && Rows > Grid.FixedRows() + 1) {
                Expected.erase(Expected.begin() + Row);
            }
        } else {
            const int Count = std::max(2, Rows - 5 + Pick(10));
            Grid.SetRowCount(Count);
            Expected.resize(static_cast<size_t>(Count), std::vector<std::string>(Cols));
        }
        if (Compact && Step % 100 == 99) {
            Grid.CompactTexts();
            size_t Shown = 0;
            for (const auto& Line : Expected) {
                for (const std::string& Text : Line) {
                    Shown += Text.size();
                }
            }
            // What is kept beyond the shown texts stays under what a compaction waits for.
            QVERIFY(Grid.TextBytes() <= Shown + std::max<size_t>(Shown, 1 << 20));
        }
        QCOMPARE(Grid.RowCount(), static_cast<int>(Expected.size()));
        // A short text shown by many cells is one string for all of them.
        std::map<std::string_view, const char*> Shown;
        for (int R = 0; R < Grid.RowCount(); ++R) {
            for (int C = 0; C < Cols; ++C) {
                const std::string_view Text = Grid.Cells(C, R);
                if (!Text.empty() && Text.size() <= 15 &&
                    Shown.emplace(Text, Text.data()).first->second != Text.data()) {
                    QFAIL(qPrintable(QString("step %1: \"%2\" is stored twice")
                                         .arg(Step)
                                         .arg(QString::fromLatin1(B(Text)))));
                }
                if (Grid.Cells(C, R) != Expected[static_cast<size_t>(R)][static_cast<size_t>(C)]) {
                    QFAIL(qPrintable(
                        QString("step %1: cell %2,%3 reads \"%4\" instead of \"%5\"")
                            .arg(Step)
                            .arg(C)
                            .arg(R)
                            .arg(QString::fromLatin1(B(Grid.Cells(C, R))))
                            .arg(QString::fromStdString(
                                Expected[static_cast<size_t>(R)][static_cast<size_t>(C)]))));
                }
            }
        }
    }
}

// The document's name index keeps views of the name cells while the translations of the same
// rows are written: a cell's text must not move while other cells are written.
void TestGridModel::textStaysWhileItsRowIsWritten() {
    TStyledGridModel Grid;
    Grid.SetColCount(12);
    Grid.SetRowCount(3);
    Grid.SetCells(3, 2, "NAME");
    const char* Name = Grid.Cells(3, 2).data();
    for (int Row = 0; Row < 3000; ++Row) {
        Grid.SetRowCount(Row + 3);
        for (int Col = 0; Col < 12; ++Col) {
            if (Row != 2 || Col != 3) {
                Grid.SetCells(Col, Row, Col == 3 ? "NAME" : std::to_string(Row));
            }
        }
    }
    // The same bytes, not only equal ones.
    QVERIFY(Grid.Cells(3, 2).data() == Name);
    QCOMPARE(B(std::string_view(Name, 4)), QByteArray("NAME"));
}

QTEST_GUILESS_MAIN(TestGridModel)

#include "tst_GridModel.moc"
