#include "Bytes.h"
#include "grid/GridPersistence.h"

#include <QtTest>

#include <functional>

using namespace kav;

using TCheck = std::function<bool(const TStyledGridModel&)>;
Q_DECLARE_METATYPE(TCheck)

namespace {

const char WorkedPropCell[] =
    "0, 0, 3, 1, 0, 1, 1, 3, 1, 0, 2, 1, 1, 2, 3, 1, 0, 3, 1, 1, 2, 3, 1, 0, 4, 0, 1, 2, 3, 1, 0, "
    "4, 1, 1, 2, 0, 5, 0, 1, 2, 0, 5, 1, 1, 2, 0, 6, 0, 1, 2, 0, 6, 1, 1, 2, 0, 7, 0, 1, 2, 0, "
    "7, 1, 1, 2, 0, 8, 0, 1, 2, 0, 8, 1, 1, 2, 0, 9, 0, 1, 2, 0, 9, 1, 1, 2, 0, 10, 0, 1, 2, 0, "
    "11, 0, 1, 2, 0";

// The integers of a written list property, comma-separated on one line.
QByteArray ListOf(const TStyledGridModel& Grid, const char* Name) {
    for (const TFormProperty& Property : DefineGridProperties(Grid)) {
        if (Property.Name == Name) {
            QByteArray Out;
            for (const TFormValue& Item : Property.Value.Items) {
                Out += (Out.isEmpty() ? "" : ", ") +
                       (Item.Kind == TFormValue::TKind::String
                            ? "'" + B(Item.Text) + "'"
                            : QByteArray::number(static_cast<qlonglong>(Item.Integer)));
            }
            return Out;
        }
    }
    return "(not written)";
}

void Load(TStyledGridModel& Grid, const std::string& Text) {
    const TGridLoadResult Result = LoadGridSettings(Grid, Text);
    QVERIFY2(Result.Ok, Result.Message.c_str());
}

TStyledGridModel& MainShape(TStyledGridModel& Grid) {
    Grid.SetColCount(12);
    Grid.SetRowCount(3);
    Grid.SetFixedRows(2);
    return Grid;
}

} // namespace

class TestGridPersistence : public QObject {
    Q_OBJECT
private slots:
    void namesInDeclaredOrder();
    void emptyGridWritesEmptyLists();
    void unchangedCreatedFontIsWritten();
    void recordsOutsideTheGridAreNotWritten();
    void rowEditStateFromWorkedExample_data();
    void rowEditStateFromWorkedExample();
    void workedExampleReadAndWritten();
    void olderFormats_data();
    void olderFormats();
    void malformedInputFailsWithPosition_data();
    void malformedInputFailsWithPosition();
    void loadedTextsReplaceTheGrid();
    void hintsRoundTrip();
    void storedListsSurviveRoundTrips_data();
    void storedListsSurviveRoundTrips();
    void saveLoadRoundTrip();
    void mainGridResource();
};

void TestGridPersistence::namesInDeclaredOrder() {
    const auto& Names = GridPersistedNames();
    QCOMPARE(QByteArray(Names[0].data(), 8), QByteArray("HintCell"));
    QCOMPARE(QByteArray(Names[6].data(), 12), QByteArray("PropFixedRow"));
    QCOMPARE(QByteArray(Names[7].data(), 9), QByteArray("AlignCell"));
    QCOMPARE(QByteArray(Names[32].data(), 16), QByteArray("SelectedColorRow"));
    // Every name is read.
    for (std::string_view Name : Names) {
        TStyledGridModel Grid;
        TGridReader Reader(Grid);
        const bool Bytes =
            Name.find("Align") != std::string_view::npos || Name.substr(0, 4) == "Edit";
        TFormProperty Property{std::string(Name),
                               Bytes ? TFormValue::MakeBinary("") : TFormValue::MakeList({})};
        QVERIFY2(Reader.ReadProperty(Property), std::string(Name).c_str());
    }
}

void TestGridPersistence::emptyGridWritesEmptyLists() {
    TStyledGridModel Grid;
    Grid.SetCells(1, 1, "not stored");
    QCOMPARE(B(SaveGridSettings(Grid)), QByteArray("PropCell = ()\nPropCol = ()\nPropRow = ()\n"
                                                   "PropFixedCol = ()\nPropFixedRow = ()\n"));
}

void TestGridPersistence::unchangedCreatedFontIsWritten() {
    TStyledGridModel Grid;
    Grid.FontCol(1);
    QCOMPARE(ListOf(Grid, "PropCol"), QByteArray("1, 6, -16777208, -11, 'MS Sans Serif', 0, 0, 0"));
    Grid.BrushFixedRow(0).SetStyle(bsClear);
    QCOMPARE(ListOf(Grid, "PropFixedRow"), QByteArray("0, 4, -16777211, 1, 0"));
}

void TestGridPersistence::recordsOutsideTheGridAreNotWritten() {
    TStyledGridModel Grid;
    Grid.SetAlignCell(7, 1, alRight);
    Grid.SetAlignCell(1, 9, alRight);
    Grid.SetAlignCol(5, alRight);
    Grid.SetHintCell(1, 5, "h");
    Grid.SetAlignCell(1, 1, alDefault);
    QCOMPARE(ListOf(Grid, "PropCell"), QByteArray());
    QCOMPARE(ListOf(Grid, "PropCol"), QByteArray());
    QCOMPARE(ListOf(Grid, "HintCell"), QByteArray());
    Grid.SetAlignCell(4, 4, alCenter);
    Grid.SetWordwrap(ww_ellipsis);
    QCOMPARE(ListOf(Grid, "PropCell"), QByteArray("4, 4, 1, 2, 0"));
}

void TestGridPersistence::rowEditStateFromWorkedExample_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("expected");
    QTest::newRow("plain cell") << 2 << false;
    QTest::newRow("cell edit state wins") << 3 << true;
    QTest::newRow("column edit state wins") << 4 << true;
    QTest::newRow("fixed column unaffected") << 0 << true;
}

void TestGridPersistence::rowEditStateFromWorkedExample() {
    QFETCH(int, col);
    QFETCH(bool, expected);
    TStyledGridModel Grid;
    Grid.SetEditCell(3, 1, true);
    Grid.SetEditCol(4, true);
    Load(Grid, "PropRow = (1, 3, 1, 0)");
    QCOMPARE(Grid.EditCell(col, 1), expected);
    QVERIFY(Grid.EditCell(2, 2));
}

void TestGridPersistence::workedExampleReadAndWritten() {
    TStyledGridModel Grid;
    MainShape(Grid);
    Load(Grid, std::string("PropCell = (") + WorkedPropCell + ")\nPropRow = (1, 3, 1, 0)");
    QVERIFY(!Grid.EditCell(0, 0));
    QCOMPARE(Grid.AlignCell(2, 1), alCenter);
    QVERIFY(!Grid.EditCell(2, 1));
    QCOMPARE(Grid.AlignCell(4, 1), alCenter);
    QVERIFY(Grid.EditCell(4, 1));
    QCOMPARE(Grid.AlignCell(11, 0), alCenter);
    QCOMPARE(Grid.AlignCell(11, 1), alLeft);
    QCOMPARE(ListOf(Grid, "PropCell"), QByteArray(WorkedPropCell));
    QCOMPARE(ListOf(Grid, "PropRow"), QByteArray("1, 3, 1, 0"));
    QCOMPARE(ListOf(Grid, "Cells"), QByteArray("(not written)"));
}

void TestGridPersistence::olderFormats_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<TCheck>("check");
    QTest::newRow("AlignCol centres column 2")
        << QByteArray("AlignCol = {020002}") << TCheck([](auto& G) {
               return G.AlignCell(2, 3) == alCenter && G.AlignCell(2, 0) == alLeft;
           });
    QTest::newRow("FixedAlignCol") << QByteArray("FixedAlignCol = {000002}")
                                   << TCheck([](auto& G) { return G.AlignCell(0, 3) == alCenter; });
    QTest::newRow("AlignRow, two records")
        << QByteArray("AlignRow = {030000 040002}") << TCheck([](auto& G) {
               return G.AlignCell(1, 3) == alRight && G.AlignCell(1, 4) == alCenter;
           });
    QTest::newRow("FixedAlignRow") << QByteArray("FixedAlignRow = {000000}")
                                   << TCheck([](auto& G) { return G.AlignCell(2, 0) == alRight; });
    QTest::newRow("AlignCell little-endian indexes")
        << QByteArray("AlignCell = {0101020002}")
        << TCheck([](auto& G) { return G.AlignCell(257, 2) == alCenter; });
    QTest::newRow("EditCell") << QByteArray("EditCell = {0100020000}")
                              << TCheck([](auto& G) { return !G.EditCell(1, 2); });
    QTest::newRow("EditCol") << QByteArray("EditCol = {030000}")
                             << TCheck([](auto& G) { return !G.EditCol(3) && !G.EditCell(3, 2); });
    QTest::newRow("EditRow") << QByteArray("EditRow = {020000}")
                             << TCheck([](auto& G) { return !G.EditCell(1, 2); });
    QTest::newRow("FontCell") << QByteArray("FontCell = (1, 2, 255, -13, 'Arial', 2, 1)")
                              << TCheck([](auto& G) {
                                     const TMyFont& F = G.CellFont(1, 2);
                                     return F.Name() == "Arial" && F.Color() == clRed &&
                                            F.Height() == -13 && F.Pitch() == fpFixed &&
                                            F.Style() == fsBold;
                                 });
    QTest::newRow("FontFixedCol") << QByteArray("FontFixedCol = (0, 0, -11, 'Tahoma', 0, 0)")
                                  << TCheck([](auto& G) {
                                         return G.CellFont(0, 3).Name() == "Tahoma" &&
                                                G.CellFont(1, 3).Name() != "Tahoma";
                                     });
    QTest::newRow("BrushRow") << QByteArray("BrushRow = (3, 65535, 1)") << TCheck([](auto& G) {
        return G.CellBrush(1, 3).Color() == clYellow && G.CellBrush(1, 3).Style() == bsClear;
    });
    QTest::newRow("ColorCol") << QByteArray("ColorCol = (2, 16776960)")
                              << TCheck([](auto& G) { return G.ColorCell(2, 3) == clAqua; });
    QTest::newRow("ColorFixedRow") << QByteArray("ColorFixedRow = (0, 255)")
                                   << TCheck([](auto& G) { return G.ColorCell(2, 0) == clRed; });
    QTest::newRow("ColorCell") << QByteArray("ColorCell = (2, 4, 65280)")
                               << TCheck([](auto& G) { return G.ColorCell(2, 4) == clLime; });
    QTest::newRow("SelectedColorCell")
        << QByteArray("SelectedColorCell = (1, 1, 65280)")
        << TCheck([](auto& G) { return G.SelectedColorCell(1, 1) == clLime; });
    QTest::newRow("SelectedColorRow")
        << QByteArray("SelectedColorRow = (4, 255)")
        << TCheck([](auto& G) { return G.SelectedColorCell(2, 4) == clRed; });
}

void TestGridPersistence::olderFormats() {
    QFETCH(QByteArray, text);
    QFETCH(TCheck, check);
    TStyledGridModel Grid;
    Load(Grid, S(text));
    QVERIFY(check(Grid));
    // Older names are never written back as such.
    QVERIFY(SaveGridSettings(Grid).find(S(text.left(text.indexOf(' ')))) == std::string::npos);
}

void TestGridPersistence::malformedInputFailsWithPosition_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("message");
    QTest::newRow("index above 65535") << QByteArray("PropRow = (70000, 3, 1, 0)") << 1 << 12
                                       << QByteArray("value 70000 out of range (0..65535)");
    QTest::newRow("cell index above 65535") << QByteArray("PropCell = (1, 65536, 0)") << 1 << 16
                                            << QByteArray("value 65536 out of range (0..65535)");
    QTest::newRow("negative index") << QByteArray("\n\nHintCell = (-1, 0, 'x')") << 3 << 13
                                    << QByteArray("value -1 out of range (0..65535)");
    QTest::newRow("edit state above 255") << QByteArray("PropCell = (1, 1, 3, 256, 0)") << 1 << 22
                                          << QByteArray("value 256 out of range (0..255)");
    QTest::newRow("record without end tag") << QByteArray("PropCol = (1, 3, 1)") << 1 << 18
                                            << QByteArray("integer expected before end of list");
    QTest::newRow("unknown tag") << QByteArray("PropCol = (1, 9, 0)") << 1 << 15
                                 << QByteArray("unknown property tag 9");
    QTest::newRow("font pitch out of range")
        << QByteArray("PropCol = (1, 6, 0, -11, 'Arial', 3, 0, 0)") << 1 << 35
        << QByteArray("value 3 out of range (0..2)");
    QTest::newRow("text where string expected") << QByteArray("Cells = (0, 0, 5)") << 1 << 16
                                                << QByteArray("string expected, found integer");
    QTest::newRow("truncated byte record") << QByteArray("AlignCol = {0200}") << 1 << 12
                                           << QByteArray("block of 2 bytes is not made of "
                                                         "3-byte records");
    QTest::newRow("alignment byte out of range")
        << QByteArray("AlignCell = {0100020009}") << 1 << 13
        << QByteArray("alignment 9 out of range in record 1");
    QTest::newRow("list where bytes expected") << QByteArray("AlignCol = (2, 0, 2)") << 1 << 12
                                               << QByteArray("binary value { ... } expected");
    QTest::newRow("integer where list expected")
        << QByteArray("PropRow = 5") << 1 << 11 << QByteArray("list expected");
    QTest::newRow("huge row count") << QByteArray("RowCount = 100000000") << 1 << 12
                                    << QByteArray("integer in 1..65536 expected");
    QTest::newRow("unknown colour")
        << QByteArray("Color = clNoSuch") << 1 << 9 << QByteArray("unknown colour clNoSuch");
    QTest::newRow("syntax error after good data")
        << QByteArray("PropCell = (1, 1, 1, 2, 0)\nPropRow = (1, 3") << 2 << 16
        << QByteArray("')' expected before end of text");
    QTest::newRow("range error after good data")
        << QByteArray("Cells = (1, 1, 'lost')\nPropCell = (1, 1, 1, 2, 0, 1, 2, 1, 7, 0)") << 2
        << 37 << QByteArray("value 7 out of range (0..3)");
}

void TestGridPersistence::malformedInputFailsWithPosition() {
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QByteArray, message);
    TStyledGridModel Grid;
    Grid.SetCells(1, 1, "keep");
    const TGridLoadResult Result = LoadGridSettings(Grid, S(text));
    QVERIFY(!Result.Ok);
    QCOMPARE(Result.Line, line);
    QCOMPARE(Result.Column, column);
    QCOMPARE(B(Result.Message), "line " + QByteArray::number(line) + ", column " +
                                    QByteArray::number(column) + ": " + message);
    // Nothing of a failed load reaches the grid.
    QCOMPARE(B(Grid.Cells(1, 1)), QByteArray("keep"));
    QVERIFY(Grid.PropCell().Empty() && Grid.PropRow().Empty() && Grid.PropCol().Empty());
    QCOMPARE(Grid.RowCount(), 5);
    QVERIFY(!Grid.HintsStored() && !Grid.CellsStored());
}

void TestGridPersistence::loadedTextsReplaceTheGrid() {
    TStyledGridModel Grid;
    Grid.SetColCount(3);
    Grid.SetRowCount(3);
    Grid.SetCells(1, 1, "old");
    Load(Grid, "Cells = (0, 0, 'a', 2, 1, 'b', 9, 9, 'far', 0, 0, 'again')");
    QCOMPARE(B(Grid.Cells(0, 0)), QByteArray("again"));
    QCOMPARE(B(Grid.Cells(2, 1)), QByteArray("b"));
    QCOMPARE(B(Grid.Cells(1, 1)), QByteArray());
    QCOMPARE(Grid.RowCount(), 3);
    QVERIFY(Grid.CellsStored());
    QCOMPARE(ListOf(Grid, "Cells"), QByteArray("0, 0, 'again', 2, 1, 'b'"));
    // Without "Cells" the texts stay.
    Load(Grid, "PropRow = ()");
    QCOMPARE(B(Grid.Cells(2, 1)), QByteArray("b"));
}

void TestGridPersistence::hintsRoundTrip() {
    TStyledGridModel Grid;
    Load(Grid, "HintCell = (3, 1, 'x', 1, 2, '', 1, 0, 'first')");
    QVERIFY(Grid.HintsStored());
    QVERIFY(Grid.FindHintCell(1, 2) != nullptr);
    QCOMPARE(ListOf(Grid, "HintCell"), QByteArray("1, 0, 'first', 1, 2, '', 3, 1, 'x'"));
}

void TestGridPersistence::storedListsSurviveRoundTrips_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("written"); // the list as every later save writes it
    QTest::newRow("texts outside the grid")
        << QByteArray("Cells = (0, 5, 'Items', 11, 0, 'x')") << QByteArray("Cells = ()");
    QTest::newRow("empty texts list") << QByteArray("Cells = ()") << QByteArray("Cells = ()");
    QTest::newRow("hint outside the grid")
        << QByteArray("HintCell = (9, 9, 'x')") << QByteArray("HintCell = ()");
    QTest::newRow("empty hint list") << QByteArray("HintCell = ()") << QByteArray("HintCell = ()");
}

void TestGridPersistence::storedListsSurviveRoundTrips() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, written);
    TStyledGridModel Grid;
    Load(Grid, S(text));
    const std::string Saved = SaveGridSettings(Grid);
    QVERIFY2(B(Saved).contains(written), Saved.c_str());
    TStyledGridModel Copy;
    Load(Copy, Saved);
    QCOMPARE(B(SaveGridSettings(Copy)), B(Saved));
}

void TestGridPersistence::saveLoadRoundTrip() {
    TStyledGridModel Grid;
    MainShape(Grid);
    Grid.SetCellsStored(true);
    Grid.SetCells(7, 1, "Default ('Arial')\r\n\xe9");
    Grid.SetHintCell(5, 2, "hint");
    Grid.FontFixedRow(0).SetStyle(fsBold | fsUnderline);
    Grid.FontCell(5, 2).SetName("Times New Roman");
    Grid.SetSelectedColorCol(3, clHighlight);
    Grid.SetColorCol(1, clActiveCaption);
    Grid.SetFixedAlignCol(0, alCenter);
    Grid.SetEditCol(6, false);
    Grid.SetAlignment(alRight);
    Grid.SetFixedColor(clSilver);
    const std::string Saved = SaveGridSettings(Grid);
    TStyledGridModel Copy;
    Load(Copy, Saved);
    QCOMPARE(B(SaveGridSettings(Copy)), B(Saved));
    QCOMPARE(Copy.ColCount(), 12);
    QCOMPARE(Copy.FixedRows(), 2);
    QCOMPARE(B(Copy.Cells(7, 1)), B(Grid.Cells(7, 1)));
    QCOMPARE(Copy.CellFont(3, 0).Style(), TFontStyles(fsBold | fsUnderline));
    QCOMPARE(B(Copy.CellFont(5, 2).Name()), QByteArray("Times New Roman"));
    QCOMPARE(Copy.SelectedColorCell(3, 2), clHighlight);
    QVERIFY(!Copy.EditCol(6));
    QCOMPARE(Copy.FixedColor(), clSilver);
}

void TestGridPersistence::mainGridResource() {
    QFile File(QStringLiteral(KAV_GRID_DATA "/MainGrid.txt"));
    QVERIFY(File.open(QIODevice::ReadOnly));
    TStyledGridModel Grid;
    MainShape(Grid);
    const TGridLoadResult Result = LoadGridSettings(Grid, S(File.readAll()));
    QVERIFY2(Result.Ok, Result.Message.c_str());
    const QList<QByteArray> Row0{"Items",
                                 "",
                                 "",
                                 "Constante",
                                 "Default Language",
                                 "Translated Language",
                                 "Text Lenght",
                                 "Font Name",
                                 "Font Style",
                                 "Font Size",
                                 "Text found and Replaced",
                                 "Text Verification"};
    const QList<QByteArray> Row1{
        "", "", "", "", "", "", "Pixels", "Default ('Arial')", "Default ('Normal')", "Default (8)",
        "", ""};
    for (int Col = 0; Col < 12; ++Col) {
        QCOMPARE(B(Grid.Cells(Col, 0)), Row0[Col]);
        QCOMPARE(B(Grid.Cells(Col, 1)), Row1[Col]);
        QCOMPARE(B(Grid.Cells(Col, 2)), QByteArray());
        QCOMPARE(Grid.AlignCell(Col, 0), Col >= 4 ? alCenter : alLeft);
        QCOMPARE(Grid.AlignCell(Col, 1), Col >= 2 && Col <= 9 ? alCenter : alLeft);
        QCOMPARE(Grid.EditCell(Col, 0), Col != 0 && Col != 4);
        QCOMPARE(Grid.EditCell(Col, 1), Col < 1 || Col > 3);
        QVERIFY(Grid.EditCell(Col, 2));
    }
    QCOMPARE(Grid.ColCount(), 12);
    QCOMPARE(Grid.RowCount(), 3);
    QCOMPARE(Grid.Color(), clWhite);
    QCOMPARE(Grid.SelectedCellColor(), clHighlight);
    QCOMPARE(Grid.SelectedFontColor(), clHighlightText);
    QByteArrayList Unhandled;
    for (const TFormProperty& Property : Result.Unhandled) {
        Unhandled << B(Property.Name);
    }
    QCOMPARE(Unhandled, QByteArrayList({"DefaultColWidth", "DefaultRowHeight", "NextCellEdit",
                                        "NextCellTab", "AfterLastCellEdit"}));
}

QTEST_GUILESS_MAIN(TestGridPersistence)
#include "tst_GridPersistence.moc"
