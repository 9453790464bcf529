// The styled grid's drawing (checked on the pixels of a grabbed image), clipboard exchange,
// header clicks, width and height events, the last-column fit and the cell hints.

#include "GridTestWindow.h"
#include "gridview/GridClipboard.h"

#include <QClipboard>
#include <QMimeData>
#include <QScrollBar>
#include <QtTest>

using namespace kav;
using kav::test::TGridWindow;

namespace {

bool IsInk(QRgb Pixel) {
    return qRed(Pixel) + qGreen(Pixel) + qBlue(Pixel) < 384;
}

// The horizontal extent of dark pixels inside Rect, or an empty range.
QPair<int, int> InkColumns(const QImage& Image, const QRect& Rect) {
    int Min = INT_MAX;
    int Max = -1;
    for (int Y = Rect.top(); Y <= Rect.bottom(); ++Y) {
        for (int X = Rect.left(); X <= Rect.right(); ++X) {
            if (IsInk(Image.pixel(X, Y))) {
                Min = std::min(Min, X);
                Max = std::max(Max, X);
            }
        }
    }
    return {Min, Max};
}

// The height over which dark pixels reach, within the columns of Rect.
int InkHeight(const QImage& Image, const QRect& Rect) {
    int Top = INT_MAX;
    int Bottom = -1;
    for (int Y = Rect.top(); Y <= Rect.bottom(); ++Y) {
        for (int X = Rect.left(); X <= Rect.right(); ++X) {
            if (IsInk(Image.pixel(X, Y))) {
                Top = std::min(Top, Y);
                Bottom = std::max(Bottom, Y);
            }
        }
    }
    return Bottom < 0 ? 0 : Bottom - Top + 1;
}

QImage Grab(TStyledStringGrid& Grid) {
    return Grid.viewport()->grab().toImage();
}

void PlainGrid(TGridWindow& W) {
    TStyledGridModel& M = W.Grid->Model();
    M.SetColor(clWhite);
    M.Font().SetName("Liberation Sans");
    M.Font().SetColor(clBlack);
    M.SetSelectedCellColor(clRed);
    M.SetSelectedFontColor(clWhite);
}

QByteArray RawClipboard() {
    return QApplication::clipboard()->mimeData()->data(RawCellsMimeType);
}

} // namespace

class TestStyledStringGrid : public QObject {
    Q_OBJECT

private slots:
    void alignment_data();
    void alignment();
    void selectedColours_data();
    void selectedColours();
    void ellipsisEndsLongText();
    void drawCellEvent_data();
    void drawCellEvent();
    void textExtent_data();
    void textExtent();
    void adjustRowHeight();
    void copyBytes();
    void paste_data();
    void paste();
    void cutEmptiesReadOnlyCells();
    void clipboardKeys();
    void fixedClicks_data();
    void fixedClicks();
    void columnSizingRaisesEvent();
    void adjustLastCol();
    void hintRegistryOrder();
    void cellHints();
    void hintCancelledOnOtherCell();
    void redrawWhileScrollTracksThumb();
};

void TestStyledStringGrid::alignment_data() {
    QTest::addColumn<int>("align");
    QTest::newRow("left") << int(alLeft);
    QTest::newRow("right") << int(alRight);
    QTest::newRow("center") << int(alCenter);
}

void TestStyledStringGrid::alignment() {
    QFETCH(int, align);
    TGridWindow W;
    PlainGrid(W);
    W.Grid->SetColWidths(2, 200);
    W.Grid->SetCells(2, 2, "MM");
    W.Grid->Model().SetAlignCell(2, 2, static_cast<TMyAlign>(align));
    QVERIFY(W.Show());
    const QRect Cell = W.Grid->CellRect(2, 2);
    const auto Ink = InkColumns(Grab(*W.Grid), Cell.adjusted(1, 1, -1, -1));
    QVERIFY(Ink.second >= 0);
    switch (align) {
    case alLeft:
        QVERIFY(Ink.first >= Cell.left() + 2 && Ink.first <= Cell.left() + 4);
        break;
    case alRight:
        QVERIFY(Ink.second <= Cell.right() - 2 && Ink.second >= Cell.right() - 4);
        break;
    default:
        QVERIFY(std::abs((Ink.first + Ink.second) / 2 - Cell.center().x()) <= 2);
    }
}

void TestStyledStringGrid::selectedColours_data() {
    QTest::addColumn<unsigned>("options");
    QTest::addColumn<bool>("drawSelection");
    QTest::addColumn<QColor>("focused");
    QTest::addColumn<QColor>("other");

    const QColor White(Qt::white);
    const QColor Red(Qt::red);
    const QColor Lime(Qt::green);
    QTest::newRow("focused cell keeps its colours") << 0u << true << White << Lime;
    QTest::newRow("focused cell drawn selected")
        << unsigned(goDrawFocusSelected) << true << Red << Lime;
    QTest::newRow("row select") << unsigned(goRowSelect) << true << Red << Lime;
    QTest::newRow("no selection drawing") << 0u << false << White << White;
}

void TestStyledStringGrid::selectedColours() {
    QFETCH(unsigned, options);
    QFETCH(bool, drawSelection);
    QFETCH(QColor, focused);
    QFETCH(QColor, other);
    TGridWindow W;
    PlainGrid(W);
    // Column 2's own selected colour beats the grid's.
    W.Grid->Model().SetSelectedColorCol(2, clLime);
    W.Grid->SetOptions(W.Grid->Options() | options);
    W.Grid->SetDrawSelection(drawSelection);
    QVERIFY(W.Show());
    W.Grid->SetSelection({1, 1, 2, 2});
    QCOMPARE(W.Grid->Col(), 1);
    const QImage Image = Grab(*W.Grid);
    const QRect Focused = W.Grid->CellRect(1, 1);
    const QRect Other = W.Grid->CellRect(2, 2);
    QCOMPARE(QColor(Image.pixel(Focused.right() - 3, Focused.bottom() - 3)), focused);
    QCOMPARE(QColor(Image.pixel(Other.right() - 3, Other.bottom() - 3)), other);
}

void TestStyledStringGrid::ellipsisEndsLongText() {
    TGridWindow W;
    PlainGrid(W);
    W.Grid->SetColWidths(1, 80);
    W.Grid->SetCells(1, 1, "HHHHHHHHHHHHHHHHHHHH");
    W.Grid->SetCells(2, 1, "HHHHHHHHHHHHHHHHHHHH");
    W.Grid->SetColWidths(2, 80);
    W.Grid->Model().SetEditable(false);
    QVERIFY(W.Show());
    W.Grid->FocusCell(3, 3);
    W.Grid->Model().SetWordwrap(ww_none);
    const QRect Cell = W.Grid->CellRect(1, 1);
    // The last few pixels before the text's right edge: a tall letter, or the low dots.
    const QRect Tail(Cell.right() - 9, Cell.top() + 2, 6, Cell.height() - 4);
    const int Clipped = InkHeight(Grab(*W.Grid), Tail);
    W.Grid->Model().SetWordwrap(ww_ellipsis);
    const int Ellipsis = InkHeight(Grab(*W.Grid), Tail);
    QVERIFY2(Clipped >= 8, qPrintable(QString::number(Clipped)));
    QVERIFY2(Ellipsis > 0 && Ellipsis <= 3, qPrintable(QString::number(Ellipsis)));
}

void TestStyledStringGrid::drawCellEvent_data() {
    QTest::addColumn<bool>("defaultDrawing");
    QTest::addColumn<unsigned>("removedLines");
    QTest::addColumn<QMargins>("inset");
    QTest::newRow("default drawing") << true << 0u << QMargins(2, 2, 2, 2);
    QTest::newRow("no vertical lines: bottom grows")
        << true << unsigned(goVertLine) << QMargins(2, 2, 2, 1);
    QTest::newRow("no horizontal lines: right grows")
        << true << unsigned(goHorzLine) << QMargins(2, 2, 1, 2);
    QTest::newRow("own drawing") << false << 0u << QMargins(0, 0, 0, 0);
}

void TestStyledStringGrid::drawCellEvent() {
    QFETCH(bool, defaultDrawing);
    QFETCH(unsigned, removedLines);
    QFETCH(QMargins, inset);
    TGridWindow W;
    PlainGrid(W);
    W.Grid->DefaultDrawing = defaultDrawing;
    W.Grid->SetOptions(W.Grid->Options() & ~removedLines);
    W.Grid->Model().SetColorCell(2, 3, clYellow);
    W.Grid->Model().FontCell(2, 3).SetName("Liberation Serif");
    QRect Seen;
    TColor Brush = clNone;
    std::string Font;
    W.Grid->OnDrawCell = [&](int C, int R, const QRect& Rect, TGridDrawState) {
        if (C == 2 && R == 3) {
            Seen = Rect;
            Brush = W.Grid->Canvas().Brush.Color();
            Font = W.Grid->Canvas().Font.Name();
        }
    };
    QVERIFY(W.Show());
    const QImage Image = Grab(*W.Grid);
    const QRect Cell = W.Grid->CellRect(2, 3);
    QCOMPARE(Seen, Cell - inset);
    QCOMPARE(Brush, clYellow);
    QCOMPARE(Font, std::string("Liberation Serif"));
    QCOMPARE(QColor(Image.pixel(Cell.right() - 1, Cell.bottom() - 1)) == QColor(Qt::yellow),
             defaultDrawing);
}

void TestStyledStringGrid::textExtent_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("narrower");
    QTest::addColumn<int>("lines");
    QTest::newRow("ampersand is drawn") << QByteArray("a&b") << QByteArray("ab") << 1;
    QTest::newRow("line break makes two lines") << QByteArray("ab\r\nab") << QByteArray("") << 2;
    QTest::newRow("lone LF breaks too") << QByteArray("ab\nab\nab") << QByteArray("") << 3;
}

void TestStyledStringGrid::textExtent() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, narrower);
    QFETCH(int, lines);
    TStyledStringGrid Grid;
    Grid.Model().Font().SetName("Liberation Sans");
    Grid.SetCells(1, 1, text.toStdString());
    Grid.SetCells(2, 1, "ab");
    Grid.SetCells(3, 1, narrower.toStdString());
    const QSize Extent = Grid.CellTextExtent(1, 1);
    const QSize One = Grid.CellTextExtent(2, 1);
    QCOMPARE(Extent.height() - 4, lines * (One.height() - 4));
    if (!narrower.isEmpty()) {
        QVERIFY(Extent.width() > Grid.CellTextExtent(3, 1).width());
    }
    QCOMPARE(Grid.CellTextExtent(1, 2), QSize(0, 0));
}

void TestStyledStringGrid::adjustRowHeight() {
    TStyledStringGrid Grid;
    Grid.SetCells(1, 1, "one");
    Grid.SetCells(2, 1, "one\r\ntwo");
    Grid.AdjustRowHeight(1);
    QCOMPARE(Grid.RowHeights(1), Grid.CellTextExtent(2, 1).height());
    QVERIFY(Grid.RowHeights(1) > Grid.CellTextExtent(1, 1).height());
    Grid.AdjustRowHeight(2);
    QCOMPARE(Grid.RowHeights(2), 0);
    Grid.AdjustRowHeight(Grid.RowCount());
    QCOMPARE(Grid.RowHeights(Grid.RowCount() - 1), Grid.DefaultRowHeight());
}

void TestStyledStringGrid::copyBytes() {
    TStyledStringGrid Grid;
    Grid.SetCells(1, 1, "a");
    Grid.SetCells(2, 1, "b");
    Grid.SetSelection({1, 1, 2, 1});
    Grid.CopyToClipboard();
    QCOMPARE(RawClipboard(), QByteArray("a\tb\t\r\n\0", 7));
    QCOMPARE(QApplication::clipboard()->text(), QString("a\tb\t\r\n"));
}

void TestStyledStringGrid::paste_data() {
    QTest::addColumn<bool>("raw");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QRect>("selection"); // left, top, right, bottom as x, y, x2, y2
    QTest::addColumn<QByteArray>("expected");
    QTest::addColumn<int>("messages");

    const QRect One(QPoint(1, 1), QPoint(1, 1));
    const QRect Four(QPoint(1, 1), QPoint(2, 2));
    QTest::newRow("one cell takes the first field")
        << false << QByteArray("x\ty") << One << QByteArray("x|.|./.|.|.") << 0;
    QTest::newRow("selection filled from its corner")
        << false << QByteArray("x\ty\tz\r\nu\tv\r\nw") << Four << QByteArray("x|y|./u|v|.") << 0;
    QTest::newRow("two separators give an empty cell")
        << false << QByteArray("\t\ty") << Four << QByteArray("||./.|.|.") << 0;
    QTest::newRow("grid bytes come back exactly")
        << true << QByteArray("\x81\tq\t\r\n\0", 7) << Four << QByteArray("\x81|q|./.|.|.") << 0;
    QTest::newRow("character outside the code page changes nothing")
        << false << QByteArray("x\t\xd0\xb6") << Four << QByteArray(".|.|./.|.|.") << 1;
}

void TestStyledStringGrid::paste() {
    QFETCH(bool, raw);
    QFETCH(QByteArray, data);
    QFETCH(QRect, selection);
    QFETCH(QByteArray, expected);
    QFETCH(int, messages);
    TGridWindow W;
    for (int R = 1; R <= 2; ++R) {
        for (int C = 1; C <= 3; ++C) {
            W.Grid->SetCells(C, R, ".");
        }
    }
    auto* Mime = new QMimeData;
    if (raw) {
        Mime->setData(RawCellsMimeType, data);
    } else {
        Mime->setText(QString::fromUtf8(data));
    }
    QApplication::clipboard()->setMimeData(Mime);
    W.Grid->SetSelection(
        {selection.left(), selection.top(), selection.right(), selection.bottom()});
    W.Grid->PasteFromClipboard();
    QByteArray Texts;
    for (int R = 1; R <= 2; ++R) {
        for (int C = 1; C <= 3; ++C) {
            Texts += QByteArrayView(W.Grid->Cells(C, R)).toByteArray() + (C < 3 ? "|" : "");
        }
        Texts += R < 2 ? "/" : "";
    }
    QCOMPARE(Texts, expected);
    QCOMPARE(W.Messages.size(), messages);
}

void TestStyledStringGrid::cutEmptiesReadOnlyCells() {
    TStyledStringGrid Grid;
    Grid.SetCells(1, 1, "a");
    Grid.SetCells(1, 2, "b");
    Grid.Model().SetEditCol(1, false);
    Grid.SetSelection({1, 1, 1, 2});
    Grid.CutToClipboard();
    QCOMPARE(RawClipboard(), QByteArray("a\t\r\nb\t\r\n\0", 9));
    QCOMPARE(Grid.Cells(1, 1), std::string());
    QCOMPARE(Grid.Cells(1, 2), std::string());
}

void TestStyledStringGrid::clipboardKeys() {
    TGridWindow W;
    W.Grid->SetCells(1, 1, "k");
    QVERIFY(W.Show());
    QApplication::clipboard()->clear();
    W.Key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(RawClipboard(), QByteArray("k\t\r\n\0", 5));
    W.Grid->FocusCell(2, 2);
    W.Key(Qt::Key_Insert, Qt::ShiftModifier);
    QCOMPARE(W.Text(2, 2), QString("k"));
    W.Key(Qt::Key_Delete, Qt::ShiftModifier);
    QCOMPARE(W.Text(2, 2), QString());
    // In the editor the same keys edit the text instead.
    W.Grid->SetOptions(W.Grid->Options() | goEditing);
    W.Grid->FocusCell(3, 3);
    W.Type("zz");
    W.Key(Qt::Key_A, Qt::ControlModifier);
    W.Key(Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("zz"));
}

void TestStyledStringGrid::fixedClicks_data() {
    QTest::addColumn<QPoint>("cell");
    QTest::addColumn<QString>("event");
    QTest::newRow("corner") << QPoint(0, 0) << QString();
    QTest::newRow("column header") << QPoint(2, 0) << QString("col 2");
    QTest::newRow("row header") << QPoint(0, 3) << QString("row 3");
    QTest::newRow("ordinary cell") << QPoint(2, 2) << QString();
}

void TestStyledStringGrid::fixedClicks() {
    QFETCH(QPoint, cell);
    QFETCH(QString, event);
    TGridWindow W;
    QString Seen;
    W.Grid->OnFixedColClick = [&Seen](TStyledStringGrid*, int C) {
        Seen += QString("col %1").arg(C);
    };
    W.Grid->OnFixedRowClick = [&Seen](TStyledStringGrid*, int R) {
        Seen += QString("row %1").arg(R);
    };
    QVERIFY(W.Show());
    W.Click(cell.x(), cell.y());
    QCOMPARE(Seen, event);
}

void TestStyledStringGrid::columnSizingRaisesEvent() {
    TGridWindow W;
    W.Grid->SetOptions(W.Grid->Options() | goColSizing);
    int Events = 0;
    W.Grid->OnColWidthsChanged = [&Events](TStyledStringGrid*) { ++Events; };
    QVERIFY(W.Show());
    const QRect Header = W.Grid->CellRect(1, 0);
    const QPoint Line(Header.right() + 1, Header.center().y());
    QTest::mousePress(W.Grid->viewport(), Qt::LeftButton, Qt::NoModifier, Line);
    QTest::mouseMove(W.Grid->viewport(), Line + QPoint(25, 0));
    QTest::mouseRelease(W.Grid->viewport(), Qt::LeftButton, Qt::NoModifier, Line + QPoint(25, 0));
    QCOMPARE(W.Grid->ColWidths(1), 85);
    QVERIFY(Events > 0);
}

void TestStyledStringGrid::adjustLastCol() {
    TStyledStringGrid Grid;
    Grid.Model().SetColCount(3);
    Grid.Model().SetRowCount(3);
    Grid.SetColWidths(0, 100);
    Grid.SetColWidths(1, 100);
    Grid.resize(500, 200);
    Grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Grid));
    QCOMPARE(Grid.viewport()->width(), 500);
    Grid.SetAutoAdjustLastCol(true);
    QCOMPARE(Grid.ColWidths(2), 297);
    Grid.SetGridLineWidth(2);
    QCOMPARE(Grid.ColWidths(2), 294);
    Grid.SetOptions(Grid.Options() & ~(goVertLine | goFixedVertLine));
    Grid.AdjustLastCol();
    QCOMPARE(Grid.ColWidths(2), 300);
    Grid.resize(400, 200);
    QTRY_COMPARE(Grid.ColWidths(2), 200);
}

void TestStyledStringGrid::hintRegistryOrder() {
    const int Before = ShowHintHandlerCount();
    QStringList Order;
    int A = 0;
    int B = 0;
    AddShowHintHandler(&A, [&Order](QString&, bool&, THintInfo&) { Order << "A"; });
    AddShowHintHandler(&B, [&Order](QString&, bool&, THintInfo&) { Order << "B"; });
    AddShowHintHandler(&A, [&Order](QString&, bool&, THintInfo&) { Order << "A2"; });
    QString Text;
    bool CanShow = true;
    THintInfo Info;
    DispatchShowHint(Text, CanShow, Info);
    QCOMPARE(Order, (QStringList{"A2", "B", "A"}));
    RemoveShowHintHandler(&A);
    Order.clear();
    DispatchShowHint(Text, CanShow, Info);
    QCOMPARE(Order, QStringList{"B"});
    RemoveShowHintHandler(&B);
    QCOMPARE(ShowHintHandlerCount(), Before);
}

void TestStyledStringGrid::cellHints() {
    TGridWindow W;
    W.Grid->Model().SetHintCell(2, 2, "two");
    W.Grid->Model().SetHintCell(3, 2, "three");
    QVERIFY(W.Show());
    auto HintAt = [&W](int C, int R, QString Text = "orig", bool* Shown = nullptr) {
        bool CanShow = true;
        THintInfo Info{W.Grid, W.CellCenter(C, R), QPoint(), QRect()};
        DispatchShowHint(Text, CanShow, Info);
        if (Shown) {
            *Shown = CanShow;
        }
        return qMakePair(Text, Info.HintPos);
    };
    const QRect Cell = W.Grid->CellRect(2, 2);
    QCOMPARE(HintAt(2, 2).first, QString("two"));
    QCOMPARE(HintAt(2, 2).second,
             W.Grid->viewport()->mapToGlobal(QPoint(Cell.left(), Cell.bottom() + 7)));
    QCOMPARE(HintAt(3, 2).first, QString("three"));
    QCOMPARE(W.Grid->HintCellPos(), QPoint(3, 2));
    QCOMPARE(HintAt(1, 1).first, QString());

    W.Grid->OnShowHintCell = [](TStyledStringGrid*, int C, int, QString& Text, bool& CanShow,
                                THintInfo&) {
        Text += "!";
        CanShow = C != 3;
    };
    bool Shown = true;
    QCOMPARE(HintAt(3, 2, "x", &Shown).first, QString("three!"));
    QVERIFY(!Shown);

    W.Grid->ShowCellHints = false;
    QCOMPARE(HintAt(2, 2).first, QString("orig"));

    // Another control's hint passes untouched.
    bool CanShow = true;
    QString Text = "other";
    THintInfo Info{W.Other, QPoint(1, 1), QPoint(), QRect()};
    W.Grid->ShowCellHints = true;
    DispatchShowHint(Text, CanShow, Info);
    QCOMPARE(Text, QString("other"));
}

void TestStyledStringGrid::hintCancelledOnOtherCell() {
    TGridWindow W;
    W.Grid->Model().SetHintCell(2, 2, "two");
    QVERIFY(W.Show());
    QHelpEvent Help(QEvent::ToolTip, W.CellCenter(2, 2),
                    W.Grid->viewport()->mapToGlobal(W.CellCenter(2, 2)));
    QApplication::sendEvent(W.Grid->viewport(), &Help);
    QCOMPARE(W.Grid->HintCellPos(), QPoint(2, 2));
    QTest::mouseMove(W.Grid->viewport(), W.CellCenter(2, 2) + QPoint(3, 0));
    QCOMPARE(W.Grid->HintCellPos(), QPoint(2, 2));
    QTest::mouseMove(W.Grid->viewport(), W.CellCenter(3, 2));
    QCOMPARE(W.Grid->HintCellPos(), QPoint(-1, -1));
}

void TestStyledStringGrid::redrawWhileScrollTracksThumb() {
    TStyledStringGrid Grid;
    Grid.Model().SetRowCount(500);
    QVERIFY(!Grid.verticalScrollBar()->hasTracking());
    Grid.SetRedrawWhileScroll(true);
    QVERIFY(Grid.verticalScrollBar()->hasTracking());
    Grid.resize(300, 200);
    Grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Grid));
    Grid.verticalScrollBar()->setSliderDown(true);
    Grid.verticalScrollBar()->setSliderPosition(40);
    QCOMPARE(Grid.TopRow(), 41);
}

QTEST_MAIN(TestStyledStringGrid)
#include "tst_StyledStringGrid.moc"
