#include "measure/RowFont.h"
#include "measure/TextMeasure.h"

#include "document/TranslationTable.h"
#include "text/CodePage.h"

#include <QPainter>
#include <QtTest>

using namespace kav;

namespace {

TMyFont Font(const char* Name, int Points, bool Bold) {
    TMyFont F;
    F.SetName(Name);
    F.SetSize(Points);
    F.SetStyle(Bold ? fsBold : 0);
    return F;
}

} // namespace

class TestTextMeasure : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void pinnedWidths_data();
    void pinnedWidths();
    void measuredFaces_data();
    void measuredFaces();
    void productFonts_data();
    void productFonts();
    void softHyphenAndTab();
    void visualOrder_data();
    void visualOrder();
    void bytesDecodedInTheCharsetsCodePage();
    void cacheKeepsOneEntryPerText();
    void summedWidthsAreLaidOutWidths_data();
    void summedWidthsAreLaidOutWidths();
    void rowAttributes_data();
    void rowAttributes();
};

void TestTextMeasure::initTestCase() {
    // The product's own face beside the system's, as a program folder's Fonts/ gives it.
    TTextMeasure::Shared().SetProductFontFolder(KAV_TEST_DATA "/fonts");
}

// Widths of the Windows measurement: each glyph's advance in font units scaled to the em height
// (points * 96 / 72 pixels) and rounded, summed over the text (the faces carry no per-size
// advance table, so GDI's hinted advances are these rounded ones).
void TestTextMeasure::pinnedWidths_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<int>("width");
    auto Add = [](const char* Text, const char* Family, int Points, bool Bold, int Width) {
        QTest::addRow("%s %s %d%s", Text, Family, Points, Bold ? " bold" : "")
            << QString::fromUtf8(Text) << Family << Points << Bold << Width;
    };
    Add("File not found", "Arial", 8, false, 65);
    Add("File not found", "Arial", 8, true, 75);
    Add("Cancel", "Courier New", 8, false, 42);
    Add("Abbrechen", "Times New Roman", 9, false, 52);
    Add("Save changes?", "Arial", 10, false, 90);
    Add("Save changes?", "Arial", 12, true, 118);
    Add("Fichier introuvable", "Arial", 12, false, 132);
    Add("Mot de passe", "Arial", 10, true, 82);
    Add("Enregistrer sous...", "Times New Roman", 8, false, 83);
    Add("Enregistrer sous...", "Times New Roman", 12, true, 123);
    Add("Paramètres", "Times New Roman", 10, false, 58);
    Add("Wählen Sie eine Datei", "Times New Roman", 10, true, 123);
    Add("Open", "Courier New", 10, false, 32);
    Add("Properties", "Courier New", 12, true, 100);
    Add("Total lines: 344", "Courier New", 8, true, 112);
    Add("WWW iii", "Arial", 8, false, 39);
    Add("Größe ändern", "Arial", 10, false, 79);
    Add("Ligne 12", "Times New Roman", 12, false, 57);
    // Kerning pairs add nothing.
    Add("AVATAR To WAVE", "Arial", 10, false, 115);
    // Hebrew: the same sums, whatever the order the letters are shown in; numbers and Latin
    // inside Hebrew text included.
    Add("שמור 10 (OK)", "Arial", 8, false, 67);
    Add("קובץ לא נמצא", "Arial", 8, false, 66);
    Add("קובץ לא נמצא", "Arial", 8, true, 71);
    Add("שמור שינויים?", "Arial", 10, false, 74);
    Add("ביטול", "Courier New", 8, false, 35);
}

void TestTextMeasure::pinnedWidths() {
    QFETCH(QString, text);
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(bool, bold);
    QFETCH(int, width);
    const TMyFont F = Font(family.toLatin1().constData(), points, bold);
    QCOMPARE(TTextMeasure::Shared().MeasureText(text, F).Width, width);
}

void TestTextMeasure::measuredFaces_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("approximate");
    QTest::newRow("Arial") << "Arial" << false << "liberation2/LiberationSans-Regular.ttf" << false;
    QTest::newRow("Arial bold") << "Arial" << true << "liberation2/LiberationSans-Bold.ttf"
                                << false;
    QTest::newRow("Times New Roman bold")
        << "Times New Roman" << true << "liberation2/LiberationSerif-Bold.ttf" << false;
    QTest::newRow("Courier New") << "courier new" << false
                                 << "liberation2/LiberationMono-Regular.ttf" << false;
    QTest::newRow("Tahoma") << "Tahoma" << false << "" << true;
    QTest::newRow("MS Sans Serif") << "MS Sans Serif" << true << "" << true;
}

void TestTextMeasure::measuredFaces() {
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(QString, file);
    QFETCH(bool, approximate);
    const TFaceInfo Face =
        TTextMeasure::Shared().Face(Font(family.toLatin1().constData(), 8, bold));
    // Faces are shared by every spelling of a family.
    QVERIFY(QString::fromStdString(Face.Requested).compare(family, Qt::CaseInsensitive) == 0);
    QCOMPARE(Face.Approximate, approximate);
    if (file.isEmpty()) {
        QVERIFY(Face.File.empty());
        QVERIFY(QString::fromStdString(Face.Used).compare(family, Qt::CaseInsensitive) != 0);
    } else {
        QVERIFY2(QString::fromStdString(Face.File).endsWith(file), Face.File.c_str());
    }
}

namespace {

// A copy of the Liberation Mono file that calls itself Liberation Sans: a product file whose
// family the system has too, with widths the system's face does not have.
QString MonoNamedSans(const QString& Folder) {
    QByteArray Data;
    for (const QString& Dir : TTextMeasure::LiberationFolders()) {
        QFile File(Dir + "/LiberationMono-Regular.ttf");
        if (File.open(QIODevice::ReadOnly)) {
            Data = File.readAll();
            break;
        }
    }
    for (const char* Name : {"Liberation Mono", "LiberationMono"}) {
        const QString From = QString::fromLatin1(Name);
        const QString To = QString(From).replace("Mono", "Sans");
        Data.replace(From.toLatin1(), To.toLatin1());
        const auto Utf16 = [](const QString& S) {
            QByteArray Bytes;
            for (const QChar C : S)
                Bytes.append(char(C.unicode() >> 8)).append(char(C.unicode() & 0xFF));
            return Bytes;
        };
        Data.replace(Utf16(From), Utf16(To));
    }
    QFile Out(Folder + "/ProductMono.ttf");
    if (!Out.open(QIODevice::WriteOnly) || Out.write(Data) != Data.size())
        return {};
    return Out.fileName();
}

} // namespace

// Files in the product's font folder measure the items of their family, whatever the file is
// called, before any system or metric-compatible face.
void TestTextMeasure::productFonts_data() {
    QTest::addColumn<bool>("withFiles");
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("approximate");
    // The family whose widths it measures (the face's own file says which), or none.
    QTest::addColumn<QString>("widthsOf");
    QTest::newRow("own face") << true << "Kavrino UI Sans" << false << "KavrinoUISans-Regular.ttf"
                              << false << "Arial";
    QTest::newRow("any spelling") << true << "kavrino ui sans" << false
                                  << "KavrinoUISans-Regular.ttf" << false << "Arial";
    // No bold file: the plain one measures, only near the bold widths.
    QTest::newRow("other style") << true << "Kavrino UI Sans" << true << "KavrinoUISans-Regular.ttf"
                                 << true << "Arial";
    QTest::newRow("no folder") << false << "Kavrino UI Sans" << false << "" << true << "";
    // The product's file wins over the system's face of the same family name.
    QTest::newRow("over a system face")
        << true << "Liberation Sans" << false << "ProductMono.ttf" << false << "Courier New";
    QTest::newRow("system face without files")
        << false << "Liberation Sans" << false << "LiberationSans-Regular.ttf" << false << "Arial";
    QTest::newRow("other families keep theirs")
        << true << "Arial" << false << "LiberationSans-Regular.ttf" << false << "Arial";
}

void TestTextMeasure::productFonts() {
    QFETCH(bool, withFiles);
    QFETCH(QString, family);
    QFETCH(bool, bold);
    QFETCH(QString, file);
    QFETCH(bool, approximate);
    QFETCH(QString, widthsOf);
    QTemporaryDir Folder;
    QVERIFY(QFile::copy(KAV_TEST_DATA "/fonts"
                                      "/KavrinoUISans-Regular.ttf",
                        Folder.filePath("KavrinoUISans-Regular.ttf")));
    QVERIFY(!MonoNamedSans(Folder.path()).isEmpty());
    TTextMeasure M;
    if (withFiles)
        M.SetProductFontFolder(Folder.path());
    const TMyFont F = Font(family.toLatin1().constData(), 8, bold);
    const TFaceInfo Face = M.Face(F);
    QVERIFY2(file.isEmpty() ? Face.File.empty()
                            : QString::fromStdString(Face.File).endsWith("/" + file),
             Face.File.c_str());
    QCOMPARE(Face.Approximate, approximate);
    const QString Text = "File not found: Cancel?";
    const TTextExtent Extent = M.MeasureText(Text, F);
    QCOMPARE(Extent.Approximate, approximate);
    if (!widthsOf.isEmpty())
        QCOMPARE(Extent.Width, TTextMeasure::Shared().Width(
                                   Text, Font(widthsOf.toLatin1().constData(), 8, false)));
}

void TestTextMeasure::softHyphenAndTab() {
    TTextMeasure& M = TTextMeasure::Shared();
    const TMyFont F = Font("Arial", 8, false);
    // The Windows measurement gives the soft hyphen the hyphen's width.
    QCOMPARE(M.Width(QString::fromUtf8("Aus\u00ADgabe"), F), M.Width("Aus-gabe", F));
    // The tab is one glyph with its own advance, not a jump to a tab stop.
    const int Tab = M.Width("\t", F);
    QCOMPARE(M.Width("ab\tc", F), M.Width("ab", F) + Tab + M.Width("c", F));
    QCOMPARE(M.Width("abcdefgh\tc", F), M.Width("abcdefgh", F) + Tab + M.Width("c", F));
}

namespace {

QImage Drawn(const QStringList& Pieces, const TMyFont& F) {
    QImage Image(200, 30, QImage::Format_RGB32);
    Image.fill(Qt::white);
    QPainter Painter(&Image);
    int X = 2;
    for (const QString& Piece : Pieces) {
        TTextMeasure::Shared().Draw(Painter, X, 4, Piece, F, Qt::black);
        X += TTextMeasure::Shared().Width(Piece, F);
    }
    return Image;
}

} // namespace

// Texts are shown in the order of the bidirectional algorithm inside a left-to-right paragraph,
// and letters that join are drawn joined: the whole text against its pieces drawn one by one in
// the order they must appear.
void TestTextMeasure::visualOrder_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pieces");
    QTest::addColumn<bool>("same");
    QTest::newRow("Hebrew, then Latin")
        << QString::fromUtf8("אב OK") << QStringList{"ב", "א", " OK"} << true;
    QTest::newRow("number, then Hebrew")
        << QString::fromUtf8("12 אב") << QStringList{"12", " ", "ב", "א"} << true;
    QTest::newRow("Arabic letters join")
        << QString::fromUtf8("ببب") << QStringList{"ب", "ب", "ب"} << false;
}

void TestTextMeasure::visualOrder() {
    QFETCH(QString, text);
    QFETCH(QStringList, pieces);
    QFETCH(bool, same);
    const TMyFont F = Font("Arial", 12, false);
    QCOMPARE(Drawn({text}, F) == Drawn(pieces, F), same);
}

void TestTextMeasure::bytesDecodedInTheCharsetsCodePage() {
    TTextMeasure& M = TTextMeasure::Shared();
    const TMyFont F = Font("Arial", 10, false);
    const std::string Bytes = "\xCF\xF0\xE8\xE2\xE5\xF2"; // "Привет" in windows-1251
    QCOMPARE(M.Measure(Bytes, F, 204).Width, M.Width(QString::fromUtf8("Привет"), F));
    QCOMPARE(M.Measure(Bytes, F, 0).Width, M.Width(QString::fromUtf8("Ïðèâåò"), F));
    QVERIFY(M.Measure(Bytes, F, 204).Width != M.Measure(Bytes, F, 0).Width);
}

void TestTextMeasure::cacheKeepsOneEntryPerText() {
    TTextMeasure& M = TTextMeasure::Shared();
    M.ClearCache();
    // Texts that are laid out: those summed from their advances need no cache.
    M.SetSummedWidths(false);
    const TMyFont F = Font("Arial", 8, false);
    for (int Pass = 0; Pass < 3; ++Pass) {
        for (int I = 0; I < 100; ++I) {
            M.Width(QString("Item %1").arg(I), F);
        }
    }
    QCOMPARE(M.CachedTexts(), std::size_t(100));
    M.Width("Item 1", Font("Arial", 8, true));
    QCOMPARE(M.CachedTexts(), std::size_t(101));
    M.SetSummedWidths(true);
}

namespace {

// The texts of the sample translations, each decoded in its language's code page.
QStringList SampleTexts() {
    QStringList Texts;
    const QDir Folder(KAV_SAMPLE_DATA "/Language");
    for (const QString& Name : Folder.entryList({"*.str"})) {
        const int CodePage = Name.contains("PLK") ? 1250 : Name.contains("RUS") ? 1251 : 1252;
        QFile File(Folder.filePath(Name));
        if (!File.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& Line : File.readAll().split('\n')) {
            const qsizetype Open = Line.indexOf('"');
            const qsizetype Close = Line.lastIndexOf('"');
            if (Open >= 0 && Close > Open)
                Texts << DecodeBytes(Line.mid(Open + 1, Close - Open - 1).toStdString(), CodePage);
        }
    }
    return Texts;
}

// Every character of the alphabets summed from their advances, alone and beside the letters
// where faces substitute or position (f, i, l, T, V, W and the marks' bases).
QStringList CharacterTexts() {
    QStringList Texts;
    const auto AddRange = [&](char16_t From, char16_t To) {
        for (char16_t C = From; C <= To; ++C) {
            const QString Char(QChar{C});
            Texts << Char << "f" + Char << Char + "i"
                  << "T" + Char + "V" << Char + Char + "W";
        }
    };
    AddRange(0x20, 0x24F);
    AddRange(0x370, 0x4FF);
    AddRange(0x2000, 0x20CF);
    Texts << "office affluent flat"
          << "fi fl ff ffi ffl"
          << "IJssel ijs"
          << "\u00ADab\tc";
    return Texts;
}

} // namespace

// The width summed from the characters' advances is the width of the laid out text, in every
// face.
void TestTextMeasure::summedWidthsAreLaidOutWidths_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("points");
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("exact"); // a Liberation face: summed all but where it substitutes
    // Tahoma and MS Sans Serif: whatever face the system measures them with, ligatures and all.
    for (const char* Family :
         {"Arial", "Times New Roman", "Courier New", "Kavrino UI Sans", "Tahoma", "MS Sans Serif"})
        for (const int Points : {8, 12})
            for (const int Style : {0, int(fsBold), int(fsItalic), int(fsBold | fsItalic)})
                QTest::addRow("%s %d %d", Family, Points, Style)
                    << Family << Points << Style
                    << (QString(Family).at(0) != 'M' && QString(Family) != "Tahoma");
}

void TestTextMeasure::summedWidthsAreLaidOutWidths() {
    QFETCH(QString, family);
    QFETCH(int, points);
    QFETCH(int, style);
    QFETCH(bool, exact);
    TMyFont F = Font(family.toLatin1().constData(), points, false);
    F.SetStyle(style);
    static const QStringList Texts = SampleTexts() + CharacterTexts();
    QVERIFY(Texts.size() > 5000);
    TTextMeasure& M = TTextMeasure::Shared();
    M.ClearCache();
    std::vector<int> Summed;
    for (const QString& Text : Texts)
        Summed.push_back(M.MeasureText(Text, F).Width);
    // Most texts were summed: the laid out ones are those the cache holds.
    const std::size_t LaidOut = M.CachedTexts();
    QVERIFY2(!exact || LaidOut < static_cast<std::size_t>(Texts.size()) / 4,
             qPrintable(QString::number(LaidOut)));
    M.SetSummedWidths(false);
    M.ClearCache();
    for (qsizetype I = 0; I < Texts.size(); ++I) {
        const int Width = M.MeasureText(Texts[I], F).Width;
        if (Width != Summed[static_cast<size_t>(I)]) {
            M.SetSummedWidths(true);
            QFAIL(qPrintable(QString("'%1': summed %2, laid out %3")
                                 .arg(Texts[I])
                                 .arg(Summed[static_cast<size_t>(I)])
                                 .arg(Width)));
        }
    }
    M.SetSummedWidths(true);
}

void TestTextMeasure::rowAttributes_data() {
    QTest::addColumn<QString>("width");
    QTest::addColumn<QString>("style");
    QTest::addColumn<QString>("size");
    QTest::addColumn<int>("allowed"); // -1: the default text's width
    QTest::addColumn<int>("bold");    // -1: unchanged
    QTest::addColumn<int>("points");
    QTest::newRow("empty") << ""
                           << ""
                           << "" << -1 << -1 << 8;
    QTest::newRow("plain") << "40"
                           << "Bold"
                           << "12" << 40 << 1 << 12;
    QTest::newRow("blanks around") << " 40 "
                                   << "BOLD"
                                   << " 9" << 40 << 1 << 9;
    QTest::newRow("lower-case bold") << "0"
                                     << "bold"
                                     << "8" << 0 << 1 << 8;
    QTest::newRow("Normal") << "1"
                            << "Normal"
                            << "8" << 1 << 0 << 8;
    QTest::newRow("fsBold is not Bold") << "1"
                                        << "fsBold"
                                        << "8" << 1 << 0 << 8;
    QTest::newRow("not numbers") << "abc"
                                 << "Bolder"
                                 << "x8" << -1 << 0 << 8;
    QTest::newRow("hexadecimal") << "$40"
                                 << ""
                                 << "0x10" << -1 << -1 << 8;
    QTest::newRow("too large") << "99999"
                               << ""
                               << "500" << 32767 << -1 << 200;
    QTest::newRow("beyond 32 bits") << "99999999999"
                                    << ""
                                    << "99999999999" << 32767 << -1 << 200;
    QTest::newRow("negative") << "-5"
                              << ""
                              << "-3" << 0 << -1 << 1;
    QTest::newRow("zero size") << ""
                               << ""
                               << "0" << -1 << -1 << 1;
}

void TestTextMeasure::rowAttributes() {
    QFETCH(QString, width);
    QFETCH(QString, style);
    QFETCH(QString, size);
    QFETCH(int, allowed);
    QFETCH(int, bold);
    QFETCH(int, points);
    const std::string Width = width.toStdString();
    const std::string Style = style.toStdString();
    const std::string Size = size.toStdString();
    TItemView Item;
    Item.Width = Width;
    Item.FontStyle = Style;
    Item.FontSize = Size;
    const std::optional<int> Allowed = AllowedWidthOf(Item);
    QCOMPARE(Allowed.value_or(-1), allowed);
    const TRowFont Row = RowFontOf(Item);
    QCOMPARE(Row.Bold ? int(*Row.Bold) : -1, bold);
    QCOMPARE(Row.Points, points);
    QCOMPARE(Row.Name, std::string("Arial"));
    const TMyFont Built = WithRowFont(Font("Tahoma", 8, true), Row, fsItalic);
    QCOMPARE(Built.Size(), points);
    QCOMPARE(Built.Style(), TFontStyles(bold < 0 ? fsBold : (bold ? fsItalic | fsBold : fsItalic)));
}

int main(int argc, char** argv) {
    QGuiApplication App(argc, argv);
    TestTextMeasure Test;
    return QTest::qExec(&Test, argc, argv);
}

#include "tst_TextMeasure.moc"
