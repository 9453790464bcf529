#include "editing/TranslationView.h"
#include "measure/ItemCheck.h"
#include "measure/TextMeasure.h"

#include "ScriptedUserInterface.h"
#include "document/Document.h"
#include "document/Languages.h"
#include "document/TranslationTable.h"
#include "text/CodePage.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

#include <tuple>

using namespace kav;

namespace {

constexpr int Rows = 12;
const QRgb Silver = qRgb(192, 192, 192);
const QRgb Red = qRgb(255, 0, 0);

TMyFont ArialFont(int Points, bool Bold) {
    TMyFont F;
    F.SetName("Arial");
    F.SetSize(Points);
    F.SetStyle(Bold ? fsBold : 0);
    return F;
}

int Measured(const char* Text, int Points = 8, bool Bold = false) {
    return TTextMeasure::Shared().Width(QString::fromUtf8(Text), ArialFont(Points, Bold));
}

} // namespace

// The translation table of the main window on a real grid, checked on painted pixels.
class TestTranslationView : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void verificationColour_data();
    void verificationColour();
    void bandWidth_data();
    void bandWidth();
    void bandAgreesWithTheItemCheck_data();
    void bandAgreesWithTheItemCheck();
    void textRunsPastTheBand();
    void bandGlyphsLandOnTheGridsGlyphs_data();
    void bandGlyphsLandOnTheGridsGlyphs();
    void replacedTextHighlighted();
    void foundRow_data();
    void foundRow();
    void rowHeightFollowsTheRowFont();
    void paintingSettles_data();
    void paintingSettles();
    void paintCostFollowsVisibleRows();
    void hintWithTheFullText();
    void approximateFontNoted();
    void approximateRowMarked_data();
    void approximateRowMarked();
    void clicksOnReadOnlyColumns_data();
    void clicksOnReadOnlyColumns();
    void hiddenColumnsSnapBack();
    void rightPressOpensThePopup_data();
    void rightPressOpensThePopup();
    void rowActionMenuShowsTheFourMarkItems();
    void editTextAndMasks_data();
    void editTextAndMasks();
    void afterEdit_data();
    void afterEdit();

private:
    void SetRow(int Row, const char* Default, const char* Translated);
    QImage Paint();
    QRect Cell(int Col, int Row) const { return Grid->CellRect(Col, Row); }
    int BandWidth(const QImage& Image, int Row) const;
    QImage InkOfCell(const QImage& Image, int Row, QRgb Background, int Shift) const;
    QPoint Centre(int Col, int Row) const { return Cell(Col, Row).center(); }

    // Marks Row's translation as a replacement of Old by New left it.
    void MarkReplaced(int Row, long long Position, const char* Old, const char* New) {
        TDocumentEdit Edit(*Doc, "replace");
        Edit.Replace(ItemOfRow(Row),
                     {Position, Old, New, {}, std::string(Grid->Cells(colTranslated, Row))});
    }

    TViewState V;
    std::unique_ptr<ScriptedUserInterface> UI;
    std::unique_ptr<TStyledStringGrid> Grid;
    std::unique_ptr<TDocument> Doc;
    std::unique_ptr<TTranslationView> View;
    TSearchDialogState Find;
    TSearchDialogState Replace;
    TFoundHit Found;
    // The cell and text the editor last opened on.
    std::tuple<int, int, std::string> Opened;
    std::vector<int> MarkClicks;
    std::vector<std::pair<int, QPoint>> Popups;
    int DrawCalls = 0;
};

void TestTranslationView::init() {
    V = TViewState();
    Find = Replace = TSearchDialogState();
    Found = TFoundHit();
    Opened = {};
    MarkClicks.clear();
    Popups.clear();
    UI = std::make_unique<ScriptedUserInterface>();
    Grid = std::make_unique<TStyledStringGrid>();
    Doc = std::make_unique<TDocument>(Grid->Model(), *UI);
    TStyledGridModel& G = Grid->Model();
    ConfigureTable(G);
    G.Font().SetName("Arial");
    G.Font().SetSize(8);
    Grid->SetDefaultRowHeight(20);
    Grid->SetOptions(DefaultGridOptions | goColSizing | goEditing | goTabs);
    G.SetRowCount(Rows);
    const int Widths[TableColCount] = {40, 10, 10, 120, 150, 250, 0, 0, 0, 0, 0, 0};
    for (int Col = 0; Col < TableColCount; ++Col) {
        Grid->SetColWidths(Col, Widths[Col]);
    }
    for (int Col :
         {colMark, colWidth, colFontName, colFontStyle, colFontSize, colReplaced, colVerify}) {
        G.SetEditCol(Col, false);
    }
    for (int Row = FirstItemRow; Row < Rows; ++Row) {
        G.SetCells(colItem, Row, std::to_string(Row - 1));
        G.SetCells(colName, Row, "NAME_" + std::to_string(Row));
    }
    ApplyTranslatedCharset(G, 0);
    TTranslationViewHooks Hooks;
    Hooks.FindDialog = [this] { return Find; };
    Hooks.ReplaceDialog = [this] { return Replace; };
    Hooks.Found = [this] { return Found; };
    Hooks.EditorOpened = [this](int Col, int Row, const std::string& Text) {
        Opened = {Col, Row, Text};
    };
    Hooks.ColorMarkClick = [this](int Row) { MarkClicks.push_back(Row); };
    Hooks.OpenRowPopup = [this](int Row, QPoint Global) { Popups.emplace_back(Row, Global); };
    View = std::make_unique<TTranslationView>(*Doc, V, *Grid, *UI, Hooks);
    auto Draw = Grid->OnDrawCell;
    DrawCalls = 0;
    Grid->OnDrawCell = [this, Draw](int C, int R, const QRect& Rect, TGridDrawState St) {
        ++DrawCalls;
        Draw(C, R, Rect, St);
    };
    Grid->resize(800, 300);
    Grid->show();
    QVERIFY(QTest::qWaitForWindowExposed(Grid.get()));
}

void TestTranslationView::cleanup() {
    View.reset();
    Grid.reset();
}

void TestTranslationView::SetRow(int Row, const char* Default, const char* Translated) {
    Grid->SetCells(colDefault, Row, Default);
    Grid->SetCells(colTranslated, Row, Translated);
}

// A colour change repaints once; the image is taken after that repaint.
QImage TestTranslationView::Paint() {
    QImage Image;
    for (int Pass = 0; Pass < 3; ++Pass) {
        Image = Grid->viewport()->grab().toImage();
        QCoreApplication::processEvents();
    }
    return Image;
}

int TestTranslationView::BandWidth(const QImage& Image, int Row) const {
    const QRect C = Cell(colTranslated, Row);
    int Width = 0;
    // The grid line after the cell is silver too: only the cell's own pixels count.
    while (Width < C.width() && Image.pixel(C.left() + Width, C.top() + 2) == Silver)
        ++Width;
    return Width;
}

void TestTranslationView::verificationColour_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QByteArray>("defaultText");
    QTest::addColumn<QRgb>("colourBefore");
    QTest::addColumn<QRgb>("colourAfter");
    const QRgb Yellow = qRgb(255, 255, 0);
    const QRgb White = qRgb(255, 255, 255);
    QTest::newRow("translated") << QByteArray("Cancel") << QByteArray("Abbrechen")
                                << QByteArray("Cancel") << Yellow << White;
    QTest::newRow("set back") << QByteArray("Abbrechen") << QByteArray("Cancel")
                              << QByteArray("Cancel") << White << Yellow;
    QTest::newRow("case counts") << QByteArray("cancel") << QByteArray("Cancel")
                                 << QByteArray("Cancel") << White << Yellow;
    QTest::newRow("empty default")
        << QByteArray("") << QByteArray("x") << QByteArray("") << White << White;
}

void TestTranslationView::verificationColour() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QFETCH(QByteArray, defaultText);
    QFETCH(QRgb, colourBefore);
    QFETCH(QRgb, colourAfter);
    SetRow(4, defaultText.constData(), before.constData());
    const QRect C = Cell(colTranslated, 4);
    const QPoint Outside(C.right() - 2, C.bottom() - 1);
    QCOMPARE(Paint().pixel(Outside), colourBefore);
    Grid->SetCells(colTranslated, 4, after.toStdString());
    QCOMPARE(Paint().pixel(Outside), colourAfter);
}

void TestTranslationView::bandWidth_data() {
    QTest::addColumn<QByteArray>("allowed");
    QTest::addColumn<QByteArray>("defaultText");
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<int>("width");
    QTest::newRow("column 6 = 40")
        << QByteArray("40") << QByteArray("File not found") << QByteArray() << 41;
    QTest::newRow("OK") << QByteArray() << QByteArray("OK") << QByteArray() << Measured("OK") + 1;
    QTest::newRow("regular") << QByteArray() << QByteArray("File not found") << QByteArray() << 66;
    QTest::newRow("Bold") << QByteArray() << QByteArray("File not found") << QByteArray("Bold")
                          << 76;
    QTest::newRow("bOLD") << QByteArray() << QByteArray("File not found") << QByteArray("bOLD")
                          << 76;
    QTest::newRow("Normal") << QByteArray() << QByteArray("File not found") << QByteArray("Normal")
                            << 66;
    QTest::newRow("fsBold") << QByteArray() << QByteArray("File not found") << QByteArray("fsBold")
                            << 66;
    QTest::newRow("not a number") << QByteArray("4O") << QByteArray("File not found")
                                  << QByteArray() << 66;
    QTest::newRow("wider than the cell")
        << QByteArray("99999999") << QByteArray("OK") << QByteArray() << 250;
}

void TestTranslationView::bandWidth() {
    QFETCH(QByteArray, allowed);
    QFETCH(QByteArray, defaultText);
    QFETCH(QByteArray, style);
    QFETCH(int, width);
    SetRow(5, defaultText.constData(), "Ok");
    Grid->SetCells(colWidth, 5, allowed.toStdString());
    Grid->SetCells(colFontStyle, 5, style.toStdString());
    QCOMPARE(BandWidth(Paint(), 5), width);
}

// The band and kavtool check read one item check; the pixels show the drawing's side of it.
void TestTranslationView::bandAgreesWithTheItemCheck_data() {
    QTest::addColumn<QByteArray>("allowed");
    QTest::addColumn<QByteArray>("defaultText");
    QTest::addColumn<QByteArray>("translated");
    QTest::addColumn<QByteArray>("styleBefore"); // column 8 at an earlier paint
    QTest::addColumn<QByteArray>("style");
    QTest::addColumn<QByteArray>("font");
    QTest::newRow("column 6") << QByteArray("40") << QByteArray("File not found")
                              << QByteArray("Fichier introuvable") << QByteArray() << QByteArray()
                              << QByteArray();
    QTest::newRow("default text's width")
        << QByteArray() << QByteArray("File not found") << QByteArray("Introuvable") << QByteArray()
        << QByteArray() << QByteArray();
    QTest::newRow("Bold") << QByteArray() << QByteArray("File not found") << QByteArray("x")
                          << QByteArray() << QByteArray("Bold") << QByteArray();
    // The band once kept the bold of an earlier paint where the item's font is normal.
    QTest::newRow("style emptied after bold")
        << QByteArray() << QByteArray("File not found") << QByteArray("x") << QByteArray("Bold")
        << QByteArray() << QByteArray();
    QTest::newRow("Normal after bold")
        << QByteArray() << QByteArray("File not found") << QByteArray("x") << QByteArray("Bold")
        << QByteArray("Normal") << QByteArray();
    QTest::newRow("untranslated") << QByteArray() << QByteArray("Cancel") << QByteArray("Cancel")
                                  << QByteArray() << QByteArray() << QByteArray();
    QTest::newRow("empty") << QByteArray() << QByteArray("Cancel") << QByteArray() << QByteArray()
                           << QByteArray() << QByteArray();
    QTest::newRow("substitute face")
        << QByteArray() << QByteArray("File not found") << QByteArray("Introuvable") << QByteArray()
        << QByteArray() << QByteArray("Tahoma");
}

void TestTranslationView::bandAgreesWithTheItemCheck() {
    QFETCH(QByteArray, allowed);
    QFETCH(QByteArray, defaultText);
    QFETCH(QByteArray, translated);
    QFETCH(QByteArray, styleBefore);
    QFETCH(QByteArray, style);
    QFETCH(QByteArray, font);
    SetRow(5, defaultText.constData(), translated.constData());
    Grid->SetCells(colWidth, 5, allowed.toStdString());
    Grid->SetCells(colFontName, 5, font.toStdString());
    Grid->SetCells(colFontStyle, 5, styleBefore.toStdString());
    Paint();
    Grid->SetCells(colFontStyle, 5, style.toStdString());
    Grid->InvalidateGrid();
    const QImage Image = Paint();

    const TItemCheck Check = CheckItem(Doc->Items().View(ItemOfRow(5)),
                                       TranslatedCodePage(Doc->State()), TTextMeasure::Shared());
    const QRect C = Cell(colTranslated, 5);
    const QRgb Background = Image.pixel(C.right() - 2, C.bottom() - 1);
    QCOMPARE(Background == qRgb(255, 255, 0), Check.State == TItemState::Untranslated);
    // The band's pixels, the dashed edge of an approximate width included.
    int Band = 0;
    while (Band < C.width() && Image.pixel(C.left() + Band, C.top() + 2) != Background)
        ++Band;
    QCOMPARE(Band, std::min(Check.Allowed + 1, C.width()));
    // The cell's own text is in the font the check measured.
    const TMyFont CellFont = Grid->StyledFont(colTranslated, 5);
    QCOMPARE(CellFont.Style() & fsBold, Check.Font.Style() & fsBold);
    QCOMPARE(CellFont.Name(), Check.Font.Name());
}

void TestTranslationView::textRunsPastTheBand() {
    SetRow(3, "OK", "Okay, that is it");
    const QImage Image = Paint();
    const QRect C = Cell(colTranslated, 3);
    const int Band = BandWidth(Image, 3);
    QCOMPARE(Band, Measured("OK") + 1);
    bool Navy = false;
    bool DarkBeyond = false;
    for (int Y = C.top() + 2; Y < C.bottom() - 1; ++Y) {
        for (int X = C.left(); X < C.left() + Band; ++X) {
            const QColor P = Image.pixelColor(X, Y);
            Navy = Navy || (P.blue() > P.red() + 40 && P.red() == P.green());
        }
        for (int X = C.left() + Band; X < C.left() + 100; ++X) {
            DarkBeyond = DarkBeyond || Image.pixelColor(X, Y).lightness() < 100;
        }
    }
    QVERIFY(Navy);
    QVERIFY(DarkBeyond);
    QCOMPARE(Image.pixel(C.left() + Band, C.top() + 2), qRgb(255, 255, 255));
}

// How far the text covers each pixel of the translated cell (0 to 255 of the way from the
// background to the text colour), from the cell's left edge plus Shift.
QImage TestTranslationView::InkOfCell(const QImage& Image, int Row, QRgb Background,
                                      int Shift) const {
    // Short of the band's right edge, which may be dashed.
    const QRect C =
        QRect(Cell(colTranslated, Row).topLeft(), QSize(236, Cell(colTranslated, Row).height()))
            .adjusted(Shift, 2, Shift, -2);
    QImage Ink(C.size(), QImage::Format_Grayscale8);
    const int Back = qRed(Background); // both text colours have no red
    for (int Y = 0; Y < C.height(); ++Y) {
        for (int X = 0; X < C.width(); ++X) {
            const int Red = qRed(Image.pixel(C.left() + X, C.top() + Y));
            const int Level = std::clamp(255 * (Back - Red) / Back, 0, 255);
            Ink.setPixel(X, Y, qRgb(Level, Level, Level));
        }
    }
    return Ink;
}

// The band redraws the grid's own text one pixel to the left: glyph for glyph, in the same
// order and shapes, so a text that runs past the band continues where it left off.
void TestTranslationView::bandGlyphsLandOnTheGridsGlyphs_data() {
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("text");
    QTest::newRow("Latin") << 0 << "Arial" << QString::fromUtf8("Aperçu avant impression été");
    QTest::newRow("Hebrew") << 177 << "Arial" << QString::fromUtf8("קובץ 10 לא נמצא (OK)");
    QTest::newRow("Arabic") << 178 << "Arial" << QString::fromUtf8("حفظ الملف 10 باسم");
    QTest::newRow("Thai") << 222 << "Tahoma" << QString::fromUtf8("บันทึกแฟ้มนี้ที่นี่");
}

void TestTranslationView::bandGlyphsLandOnTheGridsGlyphs() {
    QFETCH(int, charset);
    QFETCH(QString, font);
    QFETCH(QString, text);
    const int CodePage = CodePageForCharset(charset);
    Doc->SetCharset(static_cast<std::uint8_t>(charset));
    ApplyTranslatedCharset(Grid->Model(), static_cast<std::uint8_t>(charset));
    const EncodeResult Bytes = EncodeText(text, CodePage);
    QVERIFY(Bytes.Ok());
    for (const int Row : {3, 5}) {
        SetRow(Row, "OK", Bytes.Bytes->c_str());
        Grid->SetCells(colFontName, Row, font.toStdString());
        Grid->SetCells(colFontSize, Row, "10");
    }
    Grid->SetCells(colWidth, 3, "240"); // the whole text inside the band
    Grid->SetCells(colWidth, 5, "0");   // the grid's own text alone
    const QImage Image = Paint();
    const QImage Band = InkOfCell(Image, 3, Silver, 1);
    const QImage Own = InkOfCell(Image, 5, qRgb(255, 255, 255), 2);
    QVERIFY(Band.size() == Own.size());
    // Colours blend a little differently on silver and on white, so coverage may differ by a
    // few levels; a glyph one pixel off differs by most of the range at its edges.
    int Inked = 0;
    int Differ = 0;
    for (int Y = 0; Y < Band.height(); ++Y) {
        for (int X = 0; X < Band.width(); ++X) {
            const int A = qGray(Band.pixel(X, Y));
            const int B = qGray(Own.pixel(X, Y));
            Inked += B > 128;
            Differ += std::abs(A - B) > 96;
        }
    }
    QVERIFY2(Inked > 100, qPrintable(QString::number(Inked)));
    QVERIFY2(Differ == 0, qPrintable(QString("%1 pixels differ, %2 inked").arg(Differ).arg(Inked)));
}

void TestTranslationView::replacedTextHighlighted() {
    SetRow(6, "Please cancel now", "Please Abort now");
    MarkReplaced(6, 8, "Cancel", "Abort");
    const QImage Image = Paint();
    const QRect H = View->Drawing().HighlightRect(colTranslated, 6, "Abort");
    const QRect C = Cell(colTranslated, 6);
    QCOMPARE(H.left(), C.left() + Measured("Please "));
    QCOMPARE(H.width(), Measured("Abort") + 1);
    QCOMPARE(Image.pixel(H.left(), H.top()), Red);
    QCOMPARE(Image.pixel(H.right(), H.top()), Red);
    QVERIFY(Image.pixel(H.left() - 1, H.top()) != Red);
    QVERIFY(Image.pixel(H.right() + 1, H.top()) != Red);
}

void TestTranslationView::foundRow_data() {
    QTest::addColumn<bool>("findShown");
    QTest::addColumn<bool>("replaceShown");
    QTest::addColumn<bool>("highlight");
    QTest::newRow("find dialog") << true << false << true;
    QTest::newRow("replace dialog") << false << true << true;
    QTest::newRow("no dialog: the edited row") << false << false << false;
}

void TestTranslationView::foundRow() {
    QFETCH(bool, findShown);
    QFETCH(bool, replaceShown);
    QFETCH(bool, highlight);
    SetRow(7, "abcdef", "abcABC");
    Found.Row = 7;
    Found.Col = colTranslated;
    Find = {findShown, "ABC"};
    Replace = {replaceShown, "ABC"};
    const QImage Image = Paint();
    const QRect C = Cell(colTranslated, 7);
    QCOMPARE(BandWidth(Image, 7), 0);
    int RedWidth = 0;
    while (Image.pixel(C.left() + RedWidth, C.top() + 2) == Red)
        ++RedWidth;
    // The first three characters, in the cell's own letters, not the last three.
    QCOMPARE(RedWidth, highlight ? Measured("abc") + 1 : 0);
}

void TestTranslationView::rowHeightFollowsTheRowFont() {
    SetRow(8, "Big", "Gros");
    Grid->SetCells(colFontSize, 8, "16");
    Paint();
    const int Tall = TTextMeasure::Shared().MeasureText("Gros", ArialFont(16, false)).Height;
    QVERIFY(Tall + 5 > 20);
    QCOMPARE(Grid->RowHeights(8), Tall + 4);
    Grid->SetCells(colFontSize, 8, "8");
    Paint();
    QCOMPARE(Grid->RowHeights(8), Grid->RowHeights(0));
}

void TestTranslationView::paintingSettles_data() {
    QTest::addColumn<QByteArray>("allowed");
    QTest::addColumn<QByteArray>("size");
    QTest::addColumn<int>("points");
    QTest::newRow("plain") << QByteArray("40") << QByteArray("8") << 8;
    QTest::newRow("absurd") << QByteArray("zz") << QByteArray("99999999999") << 200;
    QTest::newRow("negative") << QByteArray("-7") << QByteArray("-2") << 1;
}

void TestTranslationView::paintingSettles() {
    QFETCH(QByteArray, allowed);
    QFETCH(QByteArray, size);
    QFETCH(int, points);
    for (int Row = FirstItemRow; Row < Rows; ++Row) {
        SetRow(Row, "Cancel", Row % 2 ? "Cancel" : "Annuler");
        Grid->SetCells(colWidth, Row, allowed.toStdString());
        Grid->SetCells(colFontSize, Row, size.toStdString());
        Grid->SetCells(colFontStyle, Row, "Bold");
    }
    Paint();
    QCOMPARE(Grid->StyledFont(colTranslated, 3).Size(), points);
    const int Settled = DrawCalls;
    QTest::qWait(100);
    QCOMPARE(DrawCalls, Settled);
}

void TestTranslationView::paintCostFollowsVisibleRows() {
    TStyledGridModel& G = Grid->Model();
    G.SetRowCount(100000);
    for (int Row = FirstItemRow; Row < 100000; ++Row) {
        G.SetCells(colDefault, Row, "Default " + std::to_string(Row));
        G.SetCells(colTranslated, Row, "Translated " + std::to_string(Row));
    }
    Paint();
    Grid->SetTopRow(60000);
    TTextMeasure::Shared().ClearCache();
    DrawCalls = 0;
    Paint();
    const int Cells = Grid->VisibleRowCount() + 3;
    // Three passes of Paint, each over the visible cells only, and a colour pass per new row.
    QVERIFY2(DrawCalls <= 4 * Cells * 6, qPrintable(QString::number(DrawCalls)));
    QVERIFY(TTextMeasure::Shared().CachedTexts() <= std::size_t(3 * Cells));
}

void TestTranslationView::hintWithTheFullText() {
    const char* Long = "A default text far wider than its column of one hundred and fifty";
    SetRow(9, Long, "Court");
    Paint();
    QTest::mouseMove(Grid->viewport(), Centre(colDefault, 9));
    QTRY_COMPARE(Grid->Model().HintCell(colDefault, 9), std::string(Long));
    QTest::mouseMove(Grid->viewport(), Centre(colTranslated, 9));
    QCOMPARE(Grid->Model().HintCell(colTranslated, 9), std::string());
    Grid->SetColWidths(colDefault, 600);
    QTest::mouseMove(Grid->viewport(), Centre(colDefault, 9) + QPoint(1, 0));
    QTRY_COMPARE(Grid->Model().HintCell(colDefault, 9), std::string());
}

void TestTranslationView::approximateFontNoted() {
    SetRow(4, "Cancel", "Annuler");
    Paint();
    QVERIFY(UI->StatusText(0).find("approximate") == std::string::npos);
    Grid->SetCells(colFontName, 4, "Tahoma");
    Grid->InvalidateGrid();
    Paint();
    const std::string Note = UI->StatusText(0);
    QVERIFY2(Note.find("Tahoma") != std::string::npos, Note.c_str());
    QVERIFY(Note.find("approximate") != std::string::npos);
}

// A row whose width is only near the product's says so itself: a dashed right edge of the band
// and a hint naming the face that measured.
void TestTranslationView::approximateRowMarked_data() {
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("face"); // empty: the widths are exact
    QTest::newRow("Arial") << 0 << "Arial"
                           << "Annuler"
                           << "";
    QTest::newRow("Hebrew in Arial") << 177 << "Arial" << QString::fromUtf8("ביטול") << "";
    QTest::newRow("substitute face") << 0 << "Tahoma"
                                     << "Annuler"
                                     << "DejaVu Sans";
    QTest::newRow("glyphs the face lacks")
        << 222 << "Arial" << QString::fromUtf8("ยกเลิก") << "Liberation Sans";
}

void TestTranslationView::approximateRowMarked() {
    QFETCH(int, charset);
    QFETCH(QString, font);
    QFETCH(QString, text);
    QFETCH(QString, face);
    Doc->SetCharset(static_cast<std::uint8_t>(charset));
    ApplyTranslatedCharset(Grid->Model(), static_cast<std::uint8_t>(charset));
    SetRow(4, "Cancel", EncodeText(text, CodePageForCharset(charset)).Bytes->c_str());
    Grid->SetCells(colFontName, 4, font.toStdString());
    Grid->SetCells(colWidth, 4, "120");
    const QImage Image = Paint();
    const QRect C = Cell(colTranslated, 4);
    int Dashes = 0;
    for (int Y = C.top() + 2; Y < C.bottom() - 1; ++Y) {
        Dashes += Image.pixel(C.left() + 120, Y) != Silver;
    }
    QCOMPARE(Dashes > 0, !face.isEmpty());
    QTest::mouseMove(Grid->viewport(), Centre(colDefault, 4));
    QTest::mouseMove(Grid->viewport(), Centre(colTranslated, 4));
    const auto Hint = [&] {
        return QString::fromStdString(Grid->Model().HintCell(colTranslated, 4));
    };
    QTRY_VERIFY2(face.isEmpty() ? Hint().isEmpty() : Hint().contains(face), qPrintable(Hint()));
}

void TestTranslationView::clicksOnReadOnlyColumns_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<bool>("moves");
    // A click on a colour mark makes its row the one worked on (the colour keys and the pop-up
    // act on it), in the translated column.
    QTest::newRow("mark") << int(colMark) << true;
    QTest::newRow("width") << int(colWidth) << false;
    QTest::newRow("verification") << int(colVerify) << false;
    QTest::newRow("translated") << int(colTranslated) << true;
}

void TestTranslationView::clicksOnReadOnlyColumns() {
    QFETCH(int, col);
    QFETCH(bool, moves);
    Grid->FocusCell(colName, 2);
    if (IsHiddenColumn(col))
        Grid->SetColWidths(col, 30);
    const QPoint At = Centre(col, 5);
    QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, At);
    QCOMPARE(Grid->Col(), moves ? int(colTranslated) : int(colName));
    QCOMPARE(Grid->Row(), moves ? 5 : 2);
    if (!moves)
        QCOMPARE(UI->StatusText(0), "Column: " + std::to_string(col) + ",  Row: 5");
    QCOMPARE(V.FClickedRow, 5);
    QCOMPARE(V.FClickedCol, col);
    QCOMPARE(MarkClicks, col == colMark ? std::vector<int>{5} : std::vector<int>{});
    if (IsHiddenColumn(col))
        QCOMPARE(Grid->ColWidths(col), 0);
}

void TestTranslationView::hiddenColumnsSnapBack() {
    Grid->SetColWidths(colFontName, 40);
    QTest::mouseMove(Grid->viewport(), Centre(colFontName, 4));
    QTRY_COMPARE(Grid->ColWidths(colFontName), 0);
    Grid->SetColWidths(colFontStyle, 40);
    View->strGridFixedColClick(colFontStyle);
    QCOMPARE(Grid->ColWidths(colFontStyle), 0);
    QCOMPARE(V.FClickedFixedCol, int(colFontStyle));
    // A border dragged after the header click: the column goes back at once.
    Grid->SetColWidths(colFontStyle, 55);
    QCOMPARE(Grid->ColWidths(colFontStyle), 0);
    View->strGridFixedColClick(colName);
    Grid->SetColWidths(colName, 90);
    QCOMPARE(Grid->ColWidths(colName), 90);
}

void TestTranslationView::rightPressOpensThePopup_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("opens");
    QTest::newRow("translated") << int(colTranslated) << 7 << true;
    QTest::newRow("mark") << int(colMark) << 7 << true;
    QTest::newRow("items") << int(colItem) << 7 << false;
    QTest::newRow("bookmark") << int(colBookmark) << 7 << false;
    QTest::newRow("name") << int(colName) << 7 << false;
    QTest::newRow("default") << int(colDefault) << 7 << false;
    QTest::newRow("header") << int(colTranslated) << 1 << false;
}

void TestTranslationView::rightPressOpensThePopup() {
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(bool, opens);
    QTest::mousePress(Grid->viewport(), Qt::RightButton, {}, Centre(col, row));
    QCOMPARE(int(Popups.size()), opens ? 1 : 0);
    QCOMPARE(View->RowPopupAttached(), opens);
    QCOMPARE(V.FClickedRow, row);
    if (opens) {
        QCOMPARE(Popups[0].first, row);
        // The pop-up acts on the row pressed: it is the current row.
        QCOMPARE(Grid->Row(), row);
        QCOMPARE(Grid->Col(), int(colTranslated));
        const QPoint At = Grid->viewport()->mapFromGlobal(Popups[0].second);
        const QRect C = Cell(colTranslated, row);
        QVERIFY(At.x() >= C.left() && At.x() <= C.right());
        QCOMPARE(At.y(), C.bottom() + 1);
        View->pmnuGridRowActionPopup();
        QVERIFY(!View->RowPopupAttached());
    }
    QTest::mouseRelease(Grid->viewport(), Qt::RightButton, {}, Centre(col, row));
}

void TestTranslationView::rowActionMenuShowsTheFourMarkItems() {
    QMenu Menu;
    for (const char* Name : {"InsertRowMenu", "UndoReplaceStringMenu", "AddRowMenu",
                             "ClearFlagMenu", "DeleteRowMenu", "UndoAllReplaceStringMenu",
                             "ColumnReadOnlyMenu", "ClearAllFlagsMenu", "ColumnEditableMenu"}) {
        Menu.addAction(Name)->setObjectName(Name);
    }
    PrepareRowActionMenu(Menu);
    QStringList Visible;
    for (QAction* Item : Menu.actions())
        if (Item->isVisible())
            Visible << Item->objectName();
    QCOMPARE(Visible, QStringList({"UndoReplaceStringMenu", "ClearFlagMenu",
                                   "UndoAllReplaceStringMenu", "ClearAllFlagsMenu"}));
    QCOMPARE(Menu.actions()[1]->text(), QString(" Undo ... replaced string"));
}

void TestTranslationView::editTextAndMasks_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("mask");
    QTest::newRow("width") << int(colWidth) << 2 << "99999;0;#";
    QTest::newRow("size") << int(colFontSize) << 11 << "99;0;#";
    QTest::newRow("header width") << int(colWidth) << 1 << "";
    QTest::newRow("translated") << int(colTranslated) << 3 << "";
    QTest::newRow("name") << int(colName) << 11 << "";
}

void TestTranslationView::editTextAndMasks() {
    QFETCH(int, col);
    QFETCH(int, row);
    QFETCH(QString, mask);
    QString Mask;
    View->strGridGetEditMask(col, row, Mask);
    QCOMPARE(Mask, mask);
    Grid->SetCells(col, row, "text of the cell");
    QString Value = "as proposed";
    View->strGridGetEditText(col, row, Value);
    QCOMPARE(Value, QString("as proposed"));
    QCOMPARE(Opened, std::make_tuple(col, row, std::string("text of the cell")));
    QCOMPARE(V.FClickedRow, row);
    QCOMPARE(V.FClickedCol, col);
}

void TestTranslationView::afterEdit_data() {
    QTest::addColumn<int>("col");
    QTest::addColumn<QByteArray>("typed"); // empty: the editor opened and left unchanged
    QTest::addColumn<bool>("markKept");
    QTest::addColumn<bool>("modified");
    QTest::newRow("edited after the replacement")
        << int(colTranslated) << QByteArray("edited") << false << true;
    QTest::newRow("as replaced") << int(colTranslated) << QByteArray() << true << false;
    QTest::newRow("another column") << int(colName) << QByteArray("NAME") << true << true;
}

// The editor keeps its typing until the edit ends, which is one command of the document: the
// cell changes only then, and a translation edited after a replacement drops its mark.
void TestTranslationView::afterEdit() {
    QFETCH(int, col);
    QFETCH(QByteArray, typed);
    QFETCH(bool, markKept);
    QFETCH(bool, modified);
    SetRow(10, "before", "now");
    MarkReplaced(10, 1, "before", "now");
    Doc->SetModified(false);
    Grid->FocusCell(col, 10);
    Grid->ShowEditor();
    QVERIFY(Grid->Editor() && Grid->EditorShowing());
    const std::string Before(Grid->Cells(col, 10));
    if (!typed.isEmpty()) {
        Grid->Editor()->SetText(QString::fromLatin1(typed));
        QCOMPARE(std::string(Grid->Cells(col, 10)), Before);
    }
    Grid->CommitEdit();
    QCOMPARE(std::string(Grid->Cells(col, 10)), typed.isEmpty() ? Before : typed.toStdString());
    QCOMPARE(Doc->State().FModified, modified);
    QCOMPARE(Doc->Items().Marked(ItemOfRow(10)), markKept);
}

QTEST_MAIN(TestTranslationView)
#include "tst_TranslationView.moc"
