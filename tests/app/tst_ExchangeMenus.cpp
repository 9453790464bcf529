// File > Export and File > Import of the real main window: the CAT-tool formats written from
// the open document and read back into it as one undo step, and the table as a PDF, chosen
// with the keyboard.

#include "MainWindowFixture.h"
#include "measure/CellPainting.h"

#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QStandardPaths>
#include <QToolButton>
#include <QXmlStreamReader>

#include <map>
#include <set>

using namespace kav;

namespace {

// What a translated cell shows, read from its pixels: where the band (green) and the text
// (black, or blue in the band) end, measured from the cell's left edge, whether the cell is
// yellow and which marker its corner has.
struct TCellLook {
    int Band = 0;
    int TextEnd = 0;
    bool Yellow = false;
    TCellMarker Marker = TCellMarker::None;
};

constexpr TColor BandGreen = 0x00FF00;
constexpr TColor BandBlue = 0xFF0000;

bool Near(QRgb Pixel, const QColor& Colour) {
    return std::abs(qRed(Pixel) - Colour.red()) <= 40 &&
           std::abs(qGreen(Pixel) - Colour.green()) <= 40 &&
           std::abs(qBlue(Pixel) - Colour.blue()) <= 40;
}

TCellLook LookOf(const QImage& Image, const QRect& Cell) {
    TCellLook Look;
    int BandRight = -1, InkRight = -1, Yellow = 0;
    for (int Y = Cell.top(); Y <= Cell.bottom(); ++Y) {
        for (int X = Cell.left(); X <= Cell.right(); ++X) {
            const QRgb P = Image.pixel(X, Y);
            if (Near(P, QColor(0, 255, 0)))
                BandRight = std::max(BandRight, X);
            if (qRed(P) < 100 && qGreen(P) < 150)
                InkRight = std::max(InkRight, X);
            Yellow += Near(P, QColor(255, 255, 0));
            if (Near(P, MarkerErrorColour))
                Look.Marker = TCellMarker::Error;
            else if (Near(P, MarkerWarningColour) && Look.Marker == TCellMarker::None)
                Look.Marker = TCellMarker::Warning;
        }
    }
    Look.Band = BandRight < 0 ? 0 : BandRight - Cell.left() + 1;
    Look.TextEnd = InkRight < 0 ? 0 : InkRight - Cell.left() + 1;
    Look.Yellow = Yellow * 5 > Cell.width() * Cell.height();
    return Look;
}

bool Silver(QRgb P) {
    return std::abs(qRed(P) - 192) <= 8 && std::abs(qGreen(P) - 192) <= 8 &&
           std::abs(qBlue(P) - 192) <= 8;
}

// The translation cells of a rendered page, top to bottom, found by the table's own lines:
// the heading's grey fill, a silver line under each row across the table and silver lines
// between the four columns, the translation's being the third.
std::vector<QRect> TranslationCellsOf(const QImage& Page) {
    const auto CountRow = [&](int Y, const std::function<bool(QRgb)>& Is) {
        int N = 0;
        for (int X = 0; X < Page.width(); ++X)
            N += Is(Page.pixel(X, Y));
        return N;
    };
    int HeadingBottom = -1;
    for (int Y = 0; Y < Page.height(); ++Y)
        if (CountRow(Y, [](QRgb P) {
                return std::abs(qRed(P) - 240) <= 6 && qRed(P) == qBlue(P);
            }) > Page.width() / 2)
            HeadingBottom = Y;
    std::vector<QRect> Cells;
    if (HeadingBottom < 0)
        return Cells;
    int Top = HeadingBottom + 1;
    for (int Y = Top; Y < Page.height(); ++Y) {
        if (CountRow(Y, Silver) <= Page.width() / 2)
            continue;
        const int Bottom = Y - 1;
        int Right = 0;
        for (int X = 0; X < Page.width(); ++X)
            if (Silver(Page.pixel(X, Y)))
                Right = X;
        // The column lines, where each starts: silver from the row's top to its bottom.
        std::vector<int> Lines;
        int Previous = -2;
        for (int X = 0; X < Page.width() && Bottom > Top; ++X) {
            bool Line = true;
            for (int LineY = Top; LineY <= Bottom && Line; ++LineY)
                Line = Silver(Page.pixel(X, LineY));
            if (Line && Previous + 1 != X)
                Lines.push_back(X);
            if (Line)
                Previous = X;
        }
        while (Y + 1 < Page.height() && CountRow(Y + 1, Silver) > Page.width() / 2)
            ++Y;
        if (Lines.size() != 3)
            break;
        Cells.push_back(QRect(QPoint(Lines[2], Top), QPoint(Right, Bottom)));
        Top = Y + 1;
    }
    return Cells;
}

} // namespace

class TestExchangeMenus : public QObject {
    Q_OBJECT
private slots:
    void exportEditImportUndo_data();
    void exportEditImportUndo();
    void exportPdf();
    void pdfShowsWhatTheGridShows();
    void exportFolderMemory();

private:
    // Alt+F, then the submenu's and the entry's mnemonic letters.
    void Choose(TOpenWindow& F, Qt::Key Submenu, Qt::Key Entry) {
        QMenu* File = F.Form().menuBar()->actions()[0]->menu();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(File->isVisible());
        QTest::keyClick(File, Submenu);
        QTRY_VERIFY(QApplication::activePopupWidget() && QApplication::activePopupWidget() != File);
        QTest::keyClick(QApplication::activePopupWidget(), Entry);
        QTRY_VERIFY(!File->isVisible());
    }
};

void TestExchangeMenus::exportEditImportUndo_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("XLIFF") << int(Qt::Key_X) << "xlf"
                           << QByteArray("<target state=\"translated\">Fichier</target>")
                           << QByteArray("<target state=\"translated\">Dossier</target>");
    QTest::newRow("PO") << int(Qt::Key_P) << "po"
                        << QByteArray("msgid \"File\"\nmsgstr \"Fichier\"")
                        << QByteArray("msgid \"File\"\nmsgstr \"Dossier\"");
}

void TestExchangeMenus::exportEditImportUndo() {
    QFETCH(int, entry);
    QFETCH(QString, extension);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    TOpenWindow F("Kavr_FRA.str");
    const std::string Path = F.Folder.Home() + "exchange." + extension.toStdString();
    QCOMPARE(F.Translated(FirstItemRow), std::string("Fichier"));

    F.W->Dialogs.Files.push_back(Path);
    Choose(F, Qt::Key_E, Qt::Key(entry));
    QTRY_VERIFY(QFile::exists(QString::fromStdString(Path)));
    QVERIFY(F.W->Dialogs.Shown.back().find("Wrote " + Path) == 0);

    // The reviewer's change, made in the exported file.
    QFile File(QString::fromStdString(Path));
    QVERIFY(File.open(QIODevice::ReadOnly));
    QByteArray Bytes = File.readAll();
    File.close();
    QVERIFY(Bytes.contains(before));
    Bytes.replace(before, after);
    QVERIFY(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
    File.write(Bytes);
    File.close();

    F.W->Dialogs.Files.push_back(Path);
    Choose(F, Qt::Key_I, Qt::Key(entry));
    QTRY_COMPARE(F.Translated(FirstItemRow), std::string("Dossier"));
    QVERIFY2(F.W->Dialogs.Shown.back().find("1 items imported") != std::string::npos,
             F.W->Dialogs.Shown.back().c_str());
    QVERIFY(F.Form().State().FModified);

    F.Activate();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(F.Translated(FirstItemRow), std::string("Fichier"));
}

void TestExchangeMenus::exportPdf() {
    TOpenWindow F("Kavr_FRA.str");
    const std::string Path = F.Folder.Home() + "table.pdf";
    F.W->Dialogs.Files.push_back(Path);
    Choose(F, Qt::Key_E, Qt::Key_D);
    QTRY_VERIFY(QFile::exists(QString::fromStdString(Path)));
    QVERIFY2(F.W->Dialogs.Shown.back().find("Wrote " + Path + " (") == 0,
             F.W->Dialogs.Shown.back().c_str());
    QFile File(QString::fromStdString(Path));
    QVERIFY(File.open(QIODevice::ReadOnly));
    QVERIFY(File.read(5) == "%PDF-");
}

// The page and the grid side by side: each row's band as long and in the same proportion to
// its text, the same rows yellow, the same markers. The page is rendered at twice the
// window's resolution, so its lengths are halved to compare.
void TestExchangeMenus::pdfShowsWhatTheGridShows() {
    const QString Renderer = QStandardPaths::findExecutable("pdftoppm");
    if (Renderer.isEmpty()) {
        if (qEnvironmentVariableIsSet("KAV_REQUIRE_PEERS"))
            QFAIL("pdftoppm must run here, but it is not installed");
        QSKIP("pdftoppm is not installed");
    }
    TOpenWindow F("Kavr_FRA.str");
    // Band colours no other part of either drawing uses.
    F.W->Dialogs.Colors = {BandBlue, BandGreen};
    QTest::mouseClick(F.Form().FontHighlightColorButton, Qt::LeftButton);
    QTest::mouseClick(F.Form().BackgroudHighlightColorButton, Qt::LeftButton);
    QCOMPARE(F.W->Dialogs.Colors.size(), size_t(0));
    F.Activate();
    // An item given its English text back: yellow in both.
    F.Click(colTranslated, FirstItemRow + 6);
    F.Press(Qt::Key_End);
    F.Press(Qt::Key_Home, Qt::ShiftModifier);
    F.TypeText(QStringLiteral("Save"));
    F.Grid().CommitEdit();
    QCOMPARE(F.Translated(FirstItemRow + 6), std::string("Save"));
    F.Click(colTranslated, FirstItemRow);

    const std::string Path = F.Folder.Home() + "table.pdf";
    F.W->Dialogs.Files.push_back(Path);
    Choose(F, Qt::Key_E, Qt::Key_D);
    QTRY_VERIFY(QFile::exists(QString::fromStdString(Path)));
    const QString Png = F.Folder.Dir.filePath("page");
    QProcess Render;
    Render.start(Renderer, {"-r", "192", "-aa", "no", "-aaVector", "no", "-f", "1", "-l", "1",
                            "-png", "-singlefile", QString::fromStdString(Path), Png});
    QVERIFY(Render.waitForFinished(60000));
    QCOMPARE(Render.exitCode(), 0);
    const QImage Page(Png + ".png");
    QVERIFY(!Page.isNull());
    const std::vector<QRect> PageCells = TranslationCellsOf(Page);
    QVERIFY2(PageCells.size() >= 20, qPrintable(QString::number(PageCells.size())));

    F.Grid().SetTopRow(FirstItemRow);
    QCoreApplication::processEvents();
    const QImage Grid = F.Grid().viewport()->grab().toImage();
    int Compared = 0, Yellow = 0, Marked = 0, Overflowing = 0, Fitting = 0;
    for (size_t Item = 0; Item < PageCells.size(); ++Item) {
        const int Row = FirstItemRow + static_cast<int>(Item);
        const QRect Cell = F.Grid().CellRect(colTranslated, Row);
        // The editor covers the current cell; a row cut off at the bottom shows less.
        if (Row == F.Grid().Row() || Cell.isEmpty() || Cell.bottom() >= Grid.height())
            continue;
        const TCellLook OnGrid = LookOf(Grid, Cell);
        const TCellLook OnPage = LookOf(Page, PageCells[Item]);
        const QString Where = QStringLiteral("row %1: grid band %2 text %3, page band %4 text %5")
                                  .arg(Row)
                                  .arg(OnGrid.Band)
                                  .arg(OnGrid.TextEnd)
                                  .arg(OnPage.Band)
                                  .arg(OnPage.TextEnd);
        // A band cut by the grid's narrower column, and the marker it hides, differ rightly.
        if (OnGrid.Band >= Cell.width() - 1)
            continue;
        QVERIFY2(std::abs(OnPage.Band / 2 - OnGrid.Band) <= 2, qPrintable(Where));
        QVERIFY2(std::abs(OnPage.TextEnd / 2 - OnGrid.TextEnd) <= 3, qPrintable(Where));
        if (OnGrid.TextEnd > 0)
            QVERIFY2(std::abs(double(OnPage.Band) / OnPage.TextEnd -
                              double(OnGrid.Band) / OnGrid.TextEnd) < 0.06,
                     qPrintable(Where));
        QCOMPARE(OnPage.Yellow, OnGrid.Yellow);
        QCOMPARE(OnPage.Marker, OnGrid.Marker);
        ++Compared;
        Yellow += OnGrid.Yellow;
        Marked += OnGrid.Marker != TCellMarker::None;
        Overflowing += OnGrid.TextEnd > OnGrid.Band;
        Fitting += OnGrid.TextEnd > 0 && OnGrid.TextEnd <= OnGrid.Band;
    }
    qInfo("%d rows compared: %d yellow, %d marked, %d too long, %d fitting", Compared, Yellow,
          Marked, Overflowing, Fitting);
    QVERIFY(Compared >= 8);
    QVERIFY(Yellow > 0 && Marked > 0 && Overflowing > 0 && Fitting > 0);
}

// The memory of the whole program folder: every language file's pairs, the open document's
// with the edit not saved yet.
void TestExchangeMenus::exportFolderMemory() {
    TOpenWindow F("Kavr_FRA.str");
    F.Click(colTranslated, FirstItemRow);
    F.Press(Qt::Key_End);
    F.TypeText(QStringLiteral(" X"));
    F.Grid().CommitEdit();
    QCOMPARE(F.Translated(FirstItemRow), std::string("Fichier X"));
    QVERIFY(F.Form().State().FModified);

    const QString Title = F.Form().windowTitle();
    const std::string Loaded = F.W->Panel(StatusFile);
    const std::string Path = F.Folder.Home() + "memory.tmx";
    F.W->Dialogs.Files.push_back(Path);
    Choose(F, Qt::Key_E, Qt::Key_T);
    QTRY_VERIFY(QFile::exists(QString::fromStdString(Path)));
    QVERIFY2(F.W->Dialogs.Shown.back().find("Wrote " + Path + " (") == 0,
             F.W->Dialogs.Shown.back().c_str());
    QVERIFY2(F.W->Dialogs.Shown.back().find(" from 5 files).") != std::string::npos,
             F.W->Dialogs.Shown.back().c_str());

    // Each unit's translation by its id (file and name), and the files the units came from.
    QFile File(QString::fromStdString(Path));
    QVERIFY(File.open(QIODevice::ReadOnly));
    QXmlStreamReader R(&File);
    std::map<QString, QString> Targets;
    std::set<QString> Files;
    QString Id, Language;
    while (!R.atEnd()) {
        if (R.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (R.name() == QLatin1String("tu"))
            Id = R.attributes().value("tuid").toString();
        else if (R.name() == QLatin1String("prop") &&
                 R.attributes().value("type") == QLatin1String("x-file"))
            Files.insert(R.readElementText());
        else if (R.name() == QLatin1String("tuv"))
            Language = R.attributes().value("xml:lang").toString();
        else if (R.name() == QLatin1String("seg") && Language != QLatin1String("en-US"))
            Targets[Id] = R.readElementText();
    }
    QVERIFY2(!R.hasError(), qPrintable(R.errorString()));
    QCOMPARE(Files, (std::set<QString>{"Kavr_DEU.str", "Kavr_FRA.str", "Kavr_PLK.str",
                                       "Kavr_RUS.str", "Kavr_User_FRA.str"}));
    QCOMPARE(Targets["Kavr_FRA.str:Txt_MENU_FILE"], QStringLiteral("Fichier X"));
    // The window's document is the one that was open, unchanged by the export; the files
    // opened aside named themselves neither in the title nor in the status bar.
    QCOMPARE(F.Form().windowTitle(), Title);
    QCOMPARE(F.W->Panel(StatusFile), Loaded);
    QCOMPARE(F.Translated(FirstItemRow), std::string("Fichier X"));
    QVERIFY(F.Form().State().FModified);
}

QTEST_MAIN(TestExchangeMenus)
#include "tst_ExchangeMenus.moc"
