#include "exchange/CtrlToRtf.h"
#include "exchange/RtfReader.h"

#include <QtTest>

#include <random>

using namespace kav;

namespace {

QStringList ToList(const std::vector<QString>& Lines) {
    return QStringList(Lines.begin(), Lines.end());
}

QByteArray ReadSample(const QString& Name) {
    QFile F(QStringLiteral(KAV_TEST_DATA "/rtf/") + Name);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray();
}

std::string_view View(const QByteArray& Bytes) {
    return {Bytes.constData(), static_cast<size_t>(Bytes.size())};
}

} // namespace

class TestRtfReader : public QObject {
    Q_OBJECT
private slots:
    void paragraphs_data();
    void paragraphs();
    void wordProcessorSamples_data();
    void wordProcessorSamples();
    void readsWhatOurWriterWrites();
    void damagedDocumentsAreErrors_data();
    void damagedDocumentsAreErrors();
    void paragraphLimit_data();
    void paragraphLimit();
    void mutatedSamplesNeverCrash();
};

void TestRtfReader::paragraphs_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("pars") << QByteArray("{\\rtf1 a\\par b\\par}") << QStringList{"a", "b"};
    QTest::newRow("only the final empty paragraph is dropped")
        << QByteArray("{\\rtf1 a\\par\\par}") << QStringList{"a", ""};
    QTest::newRow("tab and line") << QByteArray("{\\rtf1 a\\tab b\\line c}")
                                  << QStringList{"a\tb", "c"};
    QTest::newRow("cells and rows")
        << QByteArray("{\\rtf1 a\\cell b\\cell\\row c}") << QStringList{"a\tb\t", "c"};
    QTest::newRow("line breaks in the file are no text")
        << QByteArray("{\\rtf1 a\r\nb\n}") << QStringList{"ab"};
    QTest::newRow("backslash before a line break is a par")
        << QByteArray("{\\rtf1 a\\\nb}") << QStringList{"a", "b"};
    QTest::newRow("escaped symbols") << QByteArray("{\\rtf1 \\\\\\{\\}}") << QStringList{"\\{}"};
    QTest::newRow("hex in the ansi code page") << QByteArray("{\\rtf1\\ansi\\ansicpg1251 \\'cf}")
                                               << QStringList{QString::fromUtf16(u"\u041f")};
    QTest::newRow("font charset beats the ansi code page")
        << QByteArray("{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 A;}{\\f1\\fcharset204 B;}}"
                      "\\f1 \\'cf\\f0 \\'cf}")
        << QStringList{QString::fromUtf16(u"\u041f\u00cf")};
    QTest::newRow("group end restores the font")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset238 B;}}{\\f1 \\'b9}"
                      "\\'b9}")
        << QStringList{QString::fromUtf16(u"\u0105\u00b9")};
    QTest::newRow("raw 8-bit bytes in the font's code page")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset204 A;}}\\f0 \xcf\xf0}")
        << QStringList{QString::fromUtf16(u"\u041f\u0440")};
    QTest::newRow("double-byte pairs")
        << QByteArray("{\\rtf1{\\fonttbl{\\f0\\fcharset128 Mincho;}}\\f0 \\'82\\'a0}")
        << QStringList{QString::fromUtf16(u"\u3042")};
    QTest::newRow("unicode skips one replacement")
        << QByteArray("{\\rtf1 \\u1055?x}") << QStringList{QString::fromUtf16(u"\u041fx")};
    QTest::newRow("uc0 skips nothing")
        << QByteArray("{\\rtf1\\uc0\\u1055 x}") << QStringList{QString::fromUtf16(u"\u041fx")};
    QTest::newRow("uc2 skips hex escapes") << QByteArray("{\\rtf1\\uc2\\u1055\\'3f\\'3fx}")
                                           << QStringList{QString::fromUtf16(u"\u041fx")};
    QTest::newRow("a control word counts as one replacement")
        << QByteArray("{\\rtf1\\u1055\\tab x}") << QStringList{QString::fromUtf16(u"\u041fx")};
    QTest::newRow("skipping stops at the group end")
        << QByteArray("{\\rtf1\\uc3{\\u1055}x}") << QStringList{QString::fromUtf16(u"\u041fx")};
    QTest::newRow("negative unicode")
        << QByteArray("{\\rtf1\\u-4064?}") << QStringList{QString::fromUtf16(u"\uf020")};
    QTest::newRow("out of range unicode is dropped")
        << QByteArray("{\\rtf1\\u99999999999999?x}") << QStringList{"x"};
    QTest::newRow("hidden text left out")
        << QByteArray("{\\rtf1 a{\\v b}c\\v d\\v0 e\\v f\\plain g}") << QStringList{"aceg"};
    QTest::newRow("bin data may hold braces")
        << QByteArray("{\\rtf1 a{\\pict\\bin3 }}}}b\\bin2 xyc}") << QStringList{"abc"};
    QTest::newRow("ignorable destination skipped")
        << QByteArray("{\\rtf1 a{\\*\\foo b{c}}d}") << QStringList{"ad"};
    QTest::newRow("unknown group keeps its text")
        << QByteArray("{\\rtf1 a{\\foo b}c}") << QStringList{"abc"};
    QTest::newRow("skipped tables")
        << QByteArray("{\\rtf1{\\colortbl;\\red0\\green0\\blue0;}{\\stylesheet{\\s1 Heading;}}"
                      "{\\info{\\title T}}{\\header h\\par}{\\footerl f}x}")
        << QStringList{"x"};
    QTest::newRow("field shows its result")
        << QByteArray("{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}}")
        << QStringList{"shown"};
    QTest::newRow("special characters")
        << QByteArray("{\\rtf1\\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote\\~}")
        << QStringList{QString::fromUtf16(u"\u2014\u2013\u2022\u2018\u2019\u201c\u201d\u00a0")};
    QTest::newRow("text after the document is ignored")
        << QByteArray("{\\rtf1 a}}junk{") << QStringList{"a"};
    QTest::newRow("not RTF is plain text")
        << QByteArray("one\r\ntwo\nthree\r\xcf")
        << QStringList{"one", "two", "three", QString::fromUtf16(u"\u041f")};
    QTest::newRow("empty file") << QByteArray() << QStringList{};
    // As LibreOffice 7 re-saves "a  b", "   c" and "d  " (a run's blanks each after a
    // six-per-em space).
    QTest::newRow("LibreOffice run of blanks")
        << QByteArray("{\\rtf1 a\\u8198\\'20 \\u8198\\'20 b\\par\\u8198\\'20 \\u8198\\'20 "
                      "\\u8198\\'20 c\\par d\\u8198\\'20 \\u8198\\'20 }")
        << QStringList{"a  b", "   c", "d  "};
    QTest::newRow("six-per-em space alone, or its blank literal")
        << QByteArray("{\\rtf1 a\\u8198\\'20b\\par a\\u8198   b\\par\\uc0 a\\u8198  b}")
        << QStringList{QString::fromUtf16(u"a\u2006b"), "a b", "a b"};
}

void TestRtfReader::paragraphs() {
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, lines);
    const TRtfText Text = ReadRtf(View(rtf), 1251);
    QVERIFY2(Text.Ok(), Text.Error.c_str());
    QCOMPARE(ToList(Text.Lines), lines);
}

void TestRtfReader::wordProcessorSamples_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("Word, Unicode escapes")
        << "word_unicode.rtf"
        << QStringList{"Kavrino\t (3 items) ",
                       QString::fromUtf16(u"1 \t\u041f\u0440\u0438\u0432\u0435\u0442 "),
                       QString::fromUtf16(u"2 \tPrix\u00a0: 5 \u20ac \U0001F600 \u201cfin\u201d"),
                       "3 \tLigne longue qui continue", "sur une autre ligne"};
    QTest::newRow("LibreOffice, windows-1251 and 1250 hex escapes")
        << "libreoffice_cyrillic.rtf"
        << QStringList{
               "Kavrino\t (2 items) ",
               QString::fromUtf16(u"1 \t\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440"),
               QString::fromUtf16(u"2 \tZaj\u0105\u0107 \u015b\u0107")};
    QTest::newRow("tables, fields, objects, nested groups")
        << "word_table_field.rtf"
        << QStringList{"Title line",
                       "1\tOpen file\tOuvrir\t",
                       "2\tSite\tshown\t",
                       "deep text",
                       "done",
                       "",
                       QString::fromUtf16(u"a\\b{c}\t\u2014\u00a0end")};
}

void TestRtfReader::wordProcessorSamples() {
    QFETCH(QString, file);
    QFETCH(QStringList, lines);
    const QByteArray Bytes = ReadSample(file);
    QVERIFY(!Bytes.isEmpty());
    const TRtfText Text = ReadRtf(View(Bytes), 1252);
    QVERIFY2(Text.Ok(), Text.Error.c_str());
    QCOMPARE(ToList(Text.Lines), lines);
}

void TestRtfReader::readsWhatOurWriterWrites() {
    TMyFont Font;
    Font.SetName("Arial");
    Font.SetCharset(204);
    TCtrlToRTF Writer;
    Writer.AddFont(Font, {204, 0x20});
    Writer.WriteHeader();
    Writer.AddText("Title", 0, 0, Font, TRtfAlignment::Left);
    Writer.AddText("12 ", 0, 1, Font, TRtfAlignment::Right);
    Writer.AddText("\xcf\xf0\xe8 C:\\{x} ", 1, 0, Font, TRtfAlignment::Left);
    Writer.AddText("", 0, 1, Font, TRtfAlignment::Left);
    const std::string Bytes = Writer.Bytes() + "\r\n}}";
    const TRtfText Text = ReadRtf(Bytes, 1252);
    QVERIFY2(Text.Ok(), Text.Error.c_str());
    QCOMPARE(ToList(Text.Lines),
             (QStringList{"Title ", QString::fromUtf16(u"12 \t\u041f\u0440\u0438 C:\\{x}  ")}));
}

void TestRtfReader::damagedDocumentsAreErrors_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QString>("reason");
    QTest::newRow("deep nesting") << "{\\rtf1 " + QByteArray(200000, '{') + "a" +
                                         QByteArray(200000, '}') + "}"
                                  << "nested too deeply";
    QTest::newRow("deep nesting in a skipped destination")
        << "{\\rtf1{\\*\\x" + QByteArray(5000, '{') << "nested too deeply";
    QTest::newRow("truncated in a group") << QByteArray("{\\rtf1 a{\\b b") << "ends before";
    QTest::newRow("huge bin") << QByteArray("{\\rtf1\\bin2147483647 x}") << "binary data";
    QTest::newRow("bin beyond any integer")
        << QByteArray("{\\rtf1\\bin999999999999999999999 x}") << "binary data";
    QTest::newRow("ends after a backslash") << QByteArray("{\\rtf1 a\\") << "control word";
    QTest::newRow("ends inside a hex escape") << QByteArray("{\\rtf1 a\\'4") << "hexadecimal";
    QTest::newRow("too many paragraphs")
        << "{\\rtf1 " + QByteArray("\\par ").repeated(3000000) + "}"
        << "too many paragraphs";
}

void TestRtfReader::damagedDocumentsAreErrors() {
    QFETCH(QByteArray, rtf);
    QFETCH(QString, reason);
    const TRtfText Text = ReadRtf(View(rtf), 1252);
    QVERIFY(!Text.Ok());
    QVERIFY2(QString::fromStdString(Text.Error).contains(reason), Text.Error.c_str());
    QVERIFY(QString::fromStdString(Text.Error).startsWith("The RTF document is damaged at byte "));
}

void TestRtfReader::paragraphLimit_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("maxLines");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("ok");
    QTest::newRow("last paragraph within the limit")
        << QByteArray("{\\rtf1 a\\par b}") << 2 << QStringList{"a", "b"} << true;
    QTest::newRow("unfinished last paragraph beyond the limit")
        << QByteArray("{\\rtf1 a\\par b}") << 1 << QStringList{"a"} << false;
    QTest::newRow("unclosed document beyond the limit")
        << QByteArray("{\\rtf1 a\\par b") << 1 << QStringList{"a"} << false;
    QTest::newRow("no paragraph allowed")
        << QByteArray("{\\rtf1 a}") << 0 << QStringList{} << false;
    QTest::newRow("plain text beyond the limit")
        << QByteArray("a\r\nb\nc") << 2 << QStringList{"a", "b"} << false;
}

void TestRtfReader::paragraphLimit() {
    QFETCH(QByteArray, text);
    QFETCH(int, maxLines);
    QFETCH(QStringList, lines);
    QFETCH(bool, ok);
    TRtfLimits Limits;
    Limits.MaxLines = static_cast<size_t>(maxLines);
    const TRtfText Text = ReadRtf(View(text), 1252, Limits);
    QCOMPARE(ToList(Text.Lines), lines);
    QCOMPARE(Text.Ok(), ok);
}

void TestRtfReader::mutatedSamplesNeverCrash() {
    // Flipped, dropped and duplicated bytes in real documents: every result is either text
    // or an error, and never more paragraphs than the input has bytes.
    std::mt19937 Random(12345);
    for (const char* Name :
         {"word_unicode.rtf", "libreoffice_cyrillic.rtf", "word_table_field.rtf"}) {
        const QByteArray Sample = ReadSample(Name);
        QVERIFY(!Sample.isEmpty());
        for (int Round = 0; Round < 400; ++Round) {
            QByteArray Bytes = Sample;
            const int Edits = 1 + int(Random() % 8);
            for (int e = 0; e < Edits && !Bytes.isEmpty(); ++e) {
                const qsizetype At = qsizetype(Random() % Bytes.size());
                static const char Specials[] = "{}\\'*0189 -u";
                switch (Random() % 4) {
                case 0:
                    Bytes[At] = char(Random());
                    break;
                case 1:
                    Bytes.remove(At, qsizetype(Random() % 16));
                    break;
                case 2:
                    Bytes.insert(At, Specials[Random() % (sizeof Specials - 1)]);
                    break;
                default:
                    Bytes.truncate(At);
                }
            }
            const TRtfText Text = ReadRtf(View(Bytes), 1252);
            QVERIFY(Text.Lines.size() <= size_t(Bytes.size()));
        }
    }
}

QTEST_GUILESS_MAIN(TestRtfReader)
#include "tst_RtfReader.moc"
