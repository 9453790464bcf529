#include "text/CodePage.h"

#include <QtTest>

using namespace kav;

class TestCodePage : public QObject {
    Q_OBJECT
private slots:
    void charsetTable_data();
    void charsetTable();
    void singleBytePagesRoundTrip_data();
    void singleBytePagesRoundTrip();
    void decodesLetters_data();
    void decodesLetters();
    void refusesUnrepresentable_data();
    void refusesUnrepresentable();
    void vietnameseComposedLetters();
    void doubleBytePages();
    void systemCodePageFromEnvironment();
};

void TestCodePage::charsetTable_data() {
    QTest::addColumn<int>("charset");
    QTest::addColumn<int>("codePage");
    const int Table[][2] = {{0, 1252},   {161, 1253}, {162, 1254}, {177, 1255}, {178, 1256},
                            {186, 1257}, {204, 1251}, {238, 1250}, {163, 1258}, {222, 874},
                            {1, 1252},   {2, 1252},   {128, 932},  {136, 950}};
    for (const auto& Row : Table)
        QTest::addRow("%d", Row[0]) << Row[0] << Row[1];
}

void TestCodePage::charsetTable() {
    QFETCH(int, charset);
    QFETCH(int, codePage);
    QCOMPARE(CodePageForCharset(charset), codePage);
}

void TestCodePage::singleBytePagesRoundTrip_data() {
    QTest::addColumn<int>("codePage");
    for (int Page : {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258})
        QTest::addRow("%d", Page) << Page;
}

void TestCodePage::singleBytePagesRoundTrip() {
    // Every byte, defined in the page or not, decodes to one character and back to itself.
    QFETCH(int, codePage);
    std::string All;
    for (int b = 0; b < 256; ++b)
        All += static_cast<char>(b);
    QString Text = DecodeBytes(All, codePage);
    QCOMPARE(Text.size(), 256);
    EncodeResult Back = EncodeText(Text, codePage);
    QVERIFY(Back.Ok());
    QCOMPARE(*Back.Bytes, All);
}

void TestCodePage::decodesLetters_data() {
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("1252") << 1252 << QByteArray("\x80\xe9") << QString::fromUtf8("€é");
    QTest::newRow("1251") << 1251 << QByteArray("\xc6\xe8") << QString::fromUtf8("Жи");
    QTest::newRow("1250") << 1250 << QByteArray("\xb3\xb9") << QString::fromUtf8("łą");
    QTest::newRow("1253") << 1253 << QByteArray("\xc4\xe5") << QString::fromUtf8("Δε");
    QTest::newRow("1254") << 1254 << QByteArray("\xf0\xfe") << QString::fromUtf8("ğş");
    QTest::newRow("1255") << 1255 << QByteArray("\xe0") << QString::fromUtf8("א");
    QTest::newRow("874") << 874 << QByteArray("\xa1") << QString::fromUtf8("ก");
}

void TestCodePage::decodesLetters() {
    QFETCH(int, codePage);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(DecodeBytes(std::string(bytes.constData(), size_t(bytes.size())), codePage), text);
    EncodeResult Back = EncodeText(text, codePage);
    QVERIFY(Back.Ok());
    QCOMPARE(QByteArray::fromStdString(*Back.Bytes), bytes);
}

void TestCodePage::refusesUnrepresentable_data() {
    QTest::addColumn<int>("codePage");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("bad");
    QTest::addColumn<int>("pos");
    QTest::newRow("Cyrillic in 1252")
        << 1252 << QString::fromUtf8("abЖ") << QString::fromUtf8("Ж") << 2;
    QTest::newRow("Greek in 1251") << 1251 << QString::fromUtf8("Δ") << QString::fromUtf8("Δ") << 0;
    QTest::newRow("emoji in 1250")
        << 1250 << QString::fromUtf8("x😀") << QString::fromUtf8("😀") << 1;
    QTest::newRow("Hebrew in 932")
        << 932 << QString::fromUtf8("日א") << QString::fromUtf8("א") << 1;
}

void TestCodePage::refusesUnrepresentable() {
    QFETCH(int, codePage);
    QFETCH(QString, text);
    QFETCH(QString, bad);
    QFETCH(int, pos);
    EncodeResult Result = EncodeText(text, codePage);
    QVERIFY(!Result.Ok());
    QCOMPARE(Result.BadChar, bad);
    QCOMPARE(Result.BadPos, qsizetype(pos));
    QVERIFY(UnrepresentableMessage(Result, codePage).contains(bad));
    QVERIFY(
        UnrepresentableMessage(Result, codePage).contains(QLatin1String(CodePageName(codePage))));
}

void TestCodePage::vietnameseComposedLetters() {
    // "ệ" has no single byte in windows-1258: it is written as "ê" plus the combining dot.
    EncodeResult Result = EncodeText(QString::fromUtf8("Việt"), 1258);
    QVERIFY(Result.Ok());
    QCOMPARE(QByteArray::fromStdString(*Result.Bytes), QByteArray("Vi\xea\xf2t"));
}

void TestCodePage::doubleBytePages() {
    QString Text = QString::fromUtf8("日本語テキスト");
    EncodeResult Result = EncodeText(Text, 932);
    QVERIFY(Result.Ok());
    QCOMPARE(Result.Bytes->size(), size_t(14));
    QVERIFY(IsLeadByte(932, static_cast<unsigned char>((*Result.Bytes)[0])));
    QVERIFY(!IsLeadByte(932, 'A'));
    QVERIFY(!IsLeadByte(1252, 0x81));
    QCOMPARE(DecodeBytes(*Result.Bytes, 932), Text);
}

void TestCodePage::systemCodePageFromEnvironment() {
    QCOMPARE(SystemAnsiCodePage(), 1252);
    qputenv("KAVTOOL_ANSI_CODEPAGE", "1251");
    QCOMPARE(SystemAnsiCodePage(), 1251);
    QCOMPARE(CodePageForCharset(1), 1251);
    qputenv("KAVTOOL_ANSI_CODEPAGE", "12345");
    QCOMPARE(SystemAnsiCodePage(), 1252);
    qunsetenv("KAVTOOL_ANSI_CODEPAGE");
}

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_CodePage.moc"
