#include "document/ToolError.h"
#include "exchange/CtrlToRtf.h"

#include <QtTest>

using namespace kav;

namespace {

const std::string ColorTable =
    "{\\colortbl\\red0\\green0\\blue0;\\red128\\green0\\blue0;\\red0\\green128\\blue0;"
    "\\red128\\green128\\blue0;\\red0\\green0\\blue128;\\red128\\green0\\blue128;"
    "\\red0\\green128\\blue128;\\red128\\green128\\blue128;\\red192\\green192\\blue192;"
    "\\red255\\green0\\blue0;\\red0\\green255\\blue0;\\red255\\green255\\blue0;"
    "\\red0\\green0\\blue255;\\red255\\green0\\blue255;\\red0\\green255\\blue255;"
    "\\red255\\green255\\blue255;}";

TMyFont Font(const std::string& Name, int Size = 8, TFontStyles Style = 0, TColor Color = clBlack,
             std::uint8_t Charset = 0) {
    TMyFont F;
    F.SetName(Name);
    F.SetSize(Size);
    F.SetStyle(Style);
    F.SetColor(Color);
    F.SetCharset(Charset);
    return F;
}

} // namespace

class TestCtrlToRtf : public QObject {
    Q_OBJECT
private slots:
    void init() { FDir = std::make_unique<QTemporaryDir>(); }
    void oneFontAndNoTextIsHeaderAndClosing();
    void fontTable_data();
    void fontTable();
    void runs_data();
    void runs();
    void doubleByteCharactersAreHexPairs();
    void realisedArialIsSwissWestern();
    void saveToMissingFolderThrows();

private:
    QByteArray Saved(TCtrlToRTF& Writer);
    std::unique_ptr<QTemporaryDir> FDir;
};

QByteArray TestCtrlToRtf::Saved(TCtrlToRTF& Writer) {
    const QString Path = FDir->filePath("doc.rtf");
    Writer.SaveToFile(Path.toStdString());
    QFile F(Path);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

void TestCtrlToRtf::oneFontAndNoTextIsHeaderAndClosing() {
    TCtrlToRTF Writer;
    Writer.AddFont(Font("Arial"), {0, 0x20});
    Writer.WriteHeader();
    const std::string Expected = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl{\\f0"
                                 "\\fswiss\\fcharset0 Arial;}}" +
                                 ColorTable + "\r\n}}";
    QCOMPARE(Saved(Writer), QByteArray::fromStdString(Expected));
}

void TestCtrlToRtf::fontTable_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("charset");
    QTest::addColumn<int>("family");
    QTest::addColumn<QString>("table");
    QTest::newRow("Western swiss")
        << QStringList{"Arial"} << 0 << 0x22 << "{\\f0\\fswiss\\fcharset0 Arial;}";
    QTest::newRow("contained name adds nothing") << QStringList{"Arial Black", "Arial"} << 0 << 0x20
                                                 << "{\\f0\\fswiss\\fcharset0 Arial Black;}";
    QTest::newRow("second font numbered 1")
        << QStringList{"Arial", "Courier New"} << 0 << 0x30
        << "{\\f0\\fmodern\\fcharset0 Arial;}{\\f1\\fmodern\\fcharset0 Courier New;}";
    // The set's number is written for every set, so a Cyrillic font's bytes are read as
    // Cyrillic by word processors and by the import.
    QTest::newRow("Cyrillic 204") << QStringList{"Arial"} << 204 << 0x20
                                  << "{\\f0\\fswiss\\fcharset204 Arial;}";
    QTest::newRow("unknown class reads roman")
        << QStringList{"Odd"} << 0 << 0x70 << "{\\f0\\froman\\fcharset0 Odd;}";
    QTest::newRow("brace in name escaped")
        << QStringList{"A{B}"} << 0 << 0x20 << "{\\f0\\fswiss\\fcharset0 A\\{B\\};}";
}

void TestCtrlToRtf::fontTable() {
    QFETCH(QStringList, names);
    QFETCH(int, charset);
    QFETCH(int, family);
    QFETCH(QString, table);
    TCtrlToRTF Writer;
    for (const QString& Name : names)
        Writer.AddFont(Font(Name.toStdString()), {charset, family});
    Writer.WriteHeader();
    const std::string Expected = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deftab720{\\fonttbl" +
                                 table.toStdString() + "}" + ColorTable;
    QCOMPARE(QByteArray::fromStdString(Writer.Bytes()), QByteArray::fromStdString(Expected));
}

void TestCtrlToRtf::runs_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<int>("pars");
    QTest::addColumn<QString>("fontName");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("color");
    QTest::addColumn<int>("align");
    QTest::addColumn<QByteArray>("run");
    const int L = int(TRtfAlignment::Left), R = int(TRtfAlignment::Right),
              C = int(TRtfAlignment::Center);
    QTest::newRow("bold black after two pars")
        << QByteArray("Item") << 0 << 2 << "Arial" << 8 << int(fsBold) << clBlack << L
        << QByteArray(" \\par \\par\\pard\\plain\\f0\\fs16\\b\\cf0 Item");
    QTest::newRow("right aligned")
        << QByteArray("1 ") << 0 << 1 << "Arial" << 8 << int(fsBold) << clBlack << R
        << QByteArray(" \\par\\pard\\qr\\plain\\f0\\fs16\\b\\cf0 1 ");
    QTest::newRow("centred, two tabs")
        << QByteArray("x") << 2 << 0 << "Arial" << 10 << 0 << clBlue << C
        << QByteArray("\\pard\\qc\\plain \\tab \\tab\\f0\\fs20\\cf12 x");
    QTest::newRow("no tabs, no pars") << QByteArray("a") << 0 << 0 << "Arial" << 8 << 0 << clRed
                                      << L << QByteArray("\\pard\\plain\\f0\\fs16\\cf9 a");
    QTest::newRow("negative counts write nothing")
        << QByteArray("a") << -1 << -3 << "Arial" << 8 << 0 << clBlack << L
        << QByteArray("\\pard\\plain\\f0\\fs16\\cf0 a");
    QTest::newRow("empty text keeps its blank")
        << QByteArray() << 0 << 1 << "Arial" << 8 << 0 << clBlack << L
        << QByteArray(" \\par\\pard\\plain\\f0\\fs16\\cf0 ");
    QTest::newRow("system colour has no cf")
        << QByteArray("t") << 0 << 0 << "Arial" << 8 << 0 << clWindowText << L
        << QByteArray("\\pard\\plain\\f0\\fs16 t");
    QTest::newRow("all styles in order")
        << QByteArray("s") << 0 << 0 << "Arial" << 9 << int(AllFontStyles) << clWhite << L
        << QByteArray("\\pard\\plain\\f0\\fs18\\b\\i\\ul\\strike\\cf15 s");
    QTest::newRow("backslash and braces escaped")
        << QByteArray("a\\b{c}") << 0 << 0 << "Arial" << 8 << 0 << clBlack << L
        << QByteArray("\\pard\\plain\\f0\\fs16\\cf0 a\\\\b\\{c\\}");
    QTest::newRow("bytes above 127 stay single bytes")
        << QByteArray("r\xe9sum\xe9 \xff") << 0 << 0 << "Arial" << 8 << 0 << clBlack << L
        << QByteArray("\\pard\\plain\\f0\\fs16\\cf0 r\xe9sum\xe9 \xff");
    QTest::newRow("contained name refers to the first entry")
        << QByteArray("k") << 0 << 0 << "Arial" << 8 << 0 << clBlack << L
        << QByteArray("\\pard\\plain\\f0\\fs16\\cf0 k");
    QTest::newRow("second font") << QByteArray("k") << 0 << 0 << "Courier New" << 8 << 0 << clBlack
                                 << L << QByteArray("\\pard\\plain\\f1\\fs16\\cf0 k");
    QTest::newRow("unknown font is f0")
        << QByteArray("k") << 0 << 0 << "Tahoma" << 8 << 0 << clBlack << L
        << QByteArray("\\pard\\plain\\f0\\fs16\\cf0 k");
}

void TestCtrlToRtf::runs() {
    QFETCH(QByteArray, text);
    QFETCH(int, tabs);
    QFETCH(int, pars);
    QFETCH(QString, fontName);
    QFETCH(int, size);
    QFETCH(int, style);
    QFETCH(int, color);
    QFETCH(int, align);
    QFETCH(QByteArray, run);
    TCtrlToRTF Writer;
    Writer.AddFont(Font("Arial Black"), {0, 0x20});
    Writer.AddFont(Font("Courier New"), {0, 0x30});
    Writer.WriteHeader();
    const size_t HeaderSize = Writer.Bytes().size();
    Writer.AddText(text.toStdString(), tabs, pars,
                   Font(fontName.toStdString(), size, TFontStyles(style), color),
                   TRtfAlignment(align));
    QCOMPARE(QByteArray::fromStdString(Writer.Bytes().substr(HeaderSize)), run);
}

void TestCtrlToRtf::doubleByteCharactersAreHexPairs() {
    // Japanese in code page 932: the second bytes of both letters are backslashes, which
    // LibreOffice would read as RTF syntax if they were written raw.
    TCtrlToRTF Writer;
    Writer.AddFont(Font("Arial"), {128, 0x20});
    Writer.WriteHeader();
    const size_t HeaderSize = Writer.Bytes().size();
    Writer.SetTextCodePage(932);
    Writer.AddText("\x83\x5c\x95\x5c{a}", 0, 0, Font("Arial"), TRtfAlignment::Left);
    QCOMPARE(QByteArray::fromStdString(Writer.Bytes().substr(HeaderSize)),
             QByteArray("\\pard\\plain\\f0\\fs16\\cf0 \\'83\\'5c\\'95\\'5c\\{a\\}"));
}

void TestCtrlToRtf::realisedArialIsSwissWestern() {
    // Arial is realised by its metric-compatible face; asking for the default set gives the
    // Western one, and Cyrillic is offered by that face.
    TCtrlToRTF Writer;
    Writer.AddFont(Font("Arial", 8, 0, clBlack, DEFAULT_CHARSET));
    QCOMPARE(Writer.FontTable().front(), std::string("{\\f0\\fswiss\\fcharset0 Arial;}"));
    TCtrlToRTF Cyrillic;
    Cyrillic.AddFont(Font("Arial", 8, 0, clBlack, 204));
    QCOMPARE(Cyrillic.FontTable().front(), std::string("{\\f0\\fswiss\\fcharset204 Arial;}"));
}

void TestCtrlToRtf::saveToMissingFolderThrows() {
    TCtrlToRTF Writer;
    Writer.WriteHeader();
    const std::string Path = FDir->filePath("missing/doc.rtf").toStdString();
    try {
        Writer.SaveToFile(Path);
        QFAIL("no error");
    } catch (const ToolError& Error) {
        QVERIFY(std::string(Error.what()).starts_with("Cannot create file \"" + Path + "\"."));
    }
    QVERIFY(!QFile::exists(QString::fromStdString(Path)));
}

QTEST_MAIN(TestCtrlToRtf)
#include "tst_CtrlToRtf.moc"
