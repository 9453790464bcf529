#include "text/StringUtils.h"

#include "Bytes.h"

#include <QtTest>

#include <climits>

using namespace kav;

class TestStringUtils : public QObject {
    Q_OBJECT
private slots:
    void copyRange_data();
    void copyRange();
    void trimCharSet_data();
    void trimCharSet();
    void isDigits_data();
    void isDigits();
    void charsInSetLimits();
    void matchAndPos_data();
    void matchAndPos();
    void splitString_data();
    void splitString();
    void splitToList();
    void replaceAll_data();
    void replaceAll();
    void replaceAllIsLinear();
    void getDelimited_data();
    void getDelimited();
    void getDelimitedWalksFields();
    void extremePositions_data();
    void extremePositions();
    void isWholeWord_data();
    void isWholeWord();
    void zeroPad_data();
    void zeroPad();
};

void TestStringUtils::copyRange_data() {
    QTest::addColumn<QByteArray>("s");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("middle") << QByteArray("abcdef") << 2 << 4 << QByteArray("bcd");
    QTest::newRow("last before first") << QByteArray("abc") << 3 << 2 << QByteArray();
    QTest::newRow("start below 1 keeps count")
        << QByteArray("abcdef") << 0 << 2 << QByteArray("abc");
    QTest::newRow("cut at end") << QByteArray("abc") << 2 << 10 << QByteArray("bc");
    QTest::newRow("beyond end") << QByteArray("abc") << 5 << 9 << QByteArray();
    QTest::newRow("empty") << QByteArray() << 1 << 1 << QByteArray();
}

void TestStringUtils::copyRange() {
    QFETCH(QByteArray, s);
    QFETCH(int, first);
    QFETCH(int, last);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(CopyRange(S(s), first, last)), expected);
    QCOMPARE(B(CopyFrom(S(s), first)), B(CopyRange(S(s), first, s.size())));
}

void TestStringUtils::trimCharSet_data() {
    QTest::addColumn<QByteArray>("s");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("tabs and blanks") << QByteArray("\t  \t ") << QByteArray();
    QTest::newRow("inner blank kept") << QByteArray(" a b ") << QByteArray("a b");
    QTest::newRow("control chars") << QByteArray("\r\n\x01x\x1f") << QByteArray("x");
    QTest::newRow("NUL trimmed") << QByteArray("\0a\0", 3) << QByteArray("a");
    QTest::newRow("high bytes kept") << QByteArray("\xa0x\xff") << QByteArray("\xa0x\xff");
    QTest::newRow("empty") << QByteArray() << QByteArray();
}

void TestStringUtils::trimCharSet() {
    QFETCH(QByteArray, s);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(TrimCharSet(S(s), TrimChars())), expected);
}

void TestStringUtils::isDigits_data() {
    QTest::addColumn<QByteArray>("s");
    QTest::addColumn<bool>("expected");
    QTest::newRow("007") << QByteArray("007") << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("trailing blank") << QByteArray("7 ") << false;
    QTest::newRow("sign") << QByteArray("-7") << false;
    QTest::newRow("decimal point") << QByteArray("7.0") << false;
}

void TestStringUtils::isDigits() {
    QFETCH(QByteArray, s);
    QFETCH(bool, expected);
    QCOMPARE(IsDigits(S(s)), expected);
}

void TestStringUtils::charsInSetLimits() {
    QVERIFY(!CharsInSet(CharSet(), "1", 1, 1));
    QVERIFY(!CharsInSet(DigitChars(), "12", 0, 1));
    QVERIFY(!CharsInSet(DigitChars(), "12", 1, 0));
    QVERIFY(!CharsInSet(DigitChars(), "12", 2, 2));
    QVERIFY(CharsInSet(DigitChars(), "a12", 2, 2));
}

void TestStringUtils::matchAndPos_data() {
    QTest::addColumn<QByteArray>("sub");
    QTest::addColumn<QByteArray>("s");
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("expected");
    QTest::newRow("first") << QByteArray("b") << QByteArray("abcb") << 0 << 2;
    QTest::newRow("after offset") << QByteArray("b") << QByteArray("abcb") << 2 << 4;
    QTest::newRow("at offset+1") << QByteArray("cb") << QByteArray("abcb") << 2 << 3;
    QTest::newRow("none") << QByteArray("x") << QByteArray("abcb") << 0 << 0;
    QTest::newRow("empty sub") << QByteArray() << QByteArray("abc") << 0 << 0;
    QTest::newRow("offset past end") << QByteArray("a") << QByteArray("abc") << 3 << 0;
    QTest::newRow("case sensitive") << QByteArray("A") << QByteArray("abc") << 0 << 0;
    QTest::newRow("longer than s") << QByteArray("abcd") << QByteArray("abc") << 0 << 0;
}

void TestStringUtils::matchAndPos() {
    QFETCH(QByteArray, sub);
    QFETCH(QByteArray, s);
    QFETCH(int, offset);
    QFETCH(int, expected);
    QCOMPARE(PosFrom(S(sub), S(s), offset), expected);
    if (expected > 0)
        QVERIFY(MatchAt(S(sub), S(s), expected));
    QVERIFY(!MatchAt(S(sub), S(s), 0));
}

void TestStringUtils::splitString_data() {
    QTest::addColumn<QByteArray>("s");
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::newRow("trailing tab") << QByteArray("1\tx\t") << QList<QByteArray>{"1", "x", ""};
    QTest::newRow("empty") << QByteArray() << QList<QByteArray>{};
    QTest::newRow("no tab") << QByteArray("abc") << QList<QByteArray>{"abc"};
    QTest::newRow("neighbours") << QByteArray("\t\ta") << QList<QByteArray>{"", "", "a"};
}

void TestStringUtils::splitString() {
    QFETCH(QByteArray, s);
    QFETCH(QList<QByteArray>, pieces);
    QList<QByteArray> Got;
    for (const auto& Piece : SplitString(S(s), "\t"))
        Got << B(Piece);
    QCOMPARE(Got, pieces);
    QVERIFY(SplitString(S(s), "").empty());
}

void TestStringUtils::splitToList() {
    std::vector<std::string> List{"kept"};
    SplitToList("", ",", List);
    QCOMPARE(List, (std::vector<std::string>{"kept", ""}));
    List.clear();
    SplitToList("a,,b,", ",", List);
    QCOMPARE(List, (std::vector<std::string>{"a", "", "b", ""}));
}

void TestStringUtils::replaceAll_data() {
    QTest::addColumn<QByteArray>("s");
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QByteArray>("new_");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("aaa") << QByteArray("aaa") << QByteArray("a") << QByteArray("b")
                         << QByteArray("bbb");
    QTest::newRow("empty old") << QByteArray("aaa") << QByteArray() << QByteArray("b")
                               << QByteArray("aaa");
    QTest::newRow("absent") << QByteArray("abc") << QByteArray("x") << QByteArray("y")
                            << QByteArray("abc");
    QTest::newRow("no rescan") << QByteArray("aa") << QByteArray("a") << QByteArray("aa")
                               << QByteArray("aaaa");
    QTest::newRow("case sensitive")
        << QByteArray("aA") << QByteArray("a") << QByteArray("b") << QByteArray("bA");
    QTest::newRow("to empty") << QByteArray("a-b-") << QByteArray("-") << QByteArray()
                              << QByteArray("ab");
    QByteArray Long(279, 'x');
    QTest::newRow("at 280 of 300") << (Long + "OLD" + QByteArray(18, 'y')) << QByteArray("OLD")
                                   << QByteArray("N") << (Long + "N" + QByteArray(18, 'y'));
}

void TestStringUtils::replaceAll() {
    QFETCH(QByteArray, s);
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, new_);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(ReplaceAll(S(s), S(old), S(new_))), expected);
}

void TestStringUtils::replaceAllIsLinear() {
    // 1 MB with 10 000 occurrences: a quadratic split would copy gigabytes here.
    std::string Text;
    for (int i = 0; i < 10000; ++i)
        Text += std::string(97, 'x') + "OLD";
    std::string Out = ReplaceAll(Text, "OLD", "N");
    QCOMPARE(Out.size(), Text.size() - 10000 * 2);
    QCOMPARE(PosFrom("OLD", Out, 0), 0);
}

void TestStringUtils::getDelimited_data() {
    QTest::addColumn<QByteArray>("s");
    QTest::addColumn<int>("start");
    QTest::addColumn<char>("open");
    QTest::addColumn<char>("close");
    QTest::addColumn<QByteArray>("token");
    QTest::addColumn<int>("end");
    QTest::newRow("braces") << QByteArray("x{ab}y") << 1 << '{' << '}' << QByteArray("ab") << 6;
    QTest::newRow("open missing") << QByteArray("abc") << 1 << '{' << '}' << QByteArray() << 5;
    QTest::newRow("open last") << QByteArray("ab{") << 1 << '{' << '}' << QByteArray() << 5;
    QTest::newRow("close missing")
        << QByteArray("{abc") << 1 << '{' << '}' << QByteArray("ab") << 5;
    QTest::newRow("close last") << QByteArray("{ab}") << 1 << '{' << '}' << QByteArray("ab") << 5;
    QTest::newRow("empty field") << QByteArray("{}x") << 1 << '{' << '}' << QByteArray() << 3;
    QTest::newRow("quote both") << QByteArray("a \"t x\" b") << 1 << '"' << '"' << QByteArray("t x")
                                << 8;
    QTest::newRow("start past end") << QByteArray("{a}") << 4 << '{' << '}' << QByteArray() << 6;
    QTest::newRow("start at 0") << QByteArray("{a}") << 0 << '{' << '}' << QByteArray("a") << 4;
    QTest::newRow("empty line") << QByteArray() << 1 << '{' << '}' << QByteArray() << 3;
    QTest::newRow("single char") << QByteArray("{") << 1 << '{' << '}' << QByteArray() << 3;
}

void TestStringUtils::getDelimited() {
    QFETCH(QByteArray, s);
    QFETCH(int, start);
    QFETCH(char, open);
    QFETCH(char, close);
    QFETCH(QByteArray, token);
    QFETCH(int, end);
    long long P = start;
    QCOMPARE(B(GetDelimited(P, S(s), open, close)), token);
    QCOMPARE(P, static_cast<long long>(end));
}

void TestStringUtils::getDelimitedWalksFields() {
    const std::string Line = "say \"first\" and \"second\"";
    long long P = 1;
    QCOMPARE(GetDelimited(P, Line, '"', '"'), std::string("first"));
    QCOMPARE(GetDelimited(P, Line, '"', '"'), std::string("second"));
    // Without its closing quote the field loses the line's last character.
    const std::string Open = "say \"first\" and \"second";
    P = 1;
    GetDelimited(P, Open, '"', '"');
    QCOMPARE(GetDelimited(P, Open, '"', '"'), std::string("secon"));
    QCOMPARE(P, static_cast<long long>(Open.size() + 1));
    // Once the opening character is missing, every later field of the line is empty.
    long long Q = 1;
    QCOMPARE(GetDelimited(Q, "{1} x", '"', '"'), std::string());
    QCOMPARE(GetDelimited(Q, "{1} x", '{', '}'), std::string());
}

void TestStringUtils::extremePositions_data() {
    // Positions at the ends of the 64-bit range, where sums and counts would overflow.
    QTest::addColumn<qlonglong>("pos");
    QTest::addColumn<qlonglong>("last");
    QTest::addColumn<QByteArray>("copy");  // CopyRange("{ab}", pos, last)
    QTest::addColumn<bool>("match");       // MatchAt("a", "{ab}", pos)
    QTest::addColumn<qlonglong>("found");  // PosFrom("a", "{ab}", pos)
    QTest::addColumn<bool>("inSet");       // CharsInSet({a}, "{ab}", pos, last)
    QTest::addColumn<QByteArray>("token"); // GetDelimited(pos, "{ab}", '{', '}')
    QTest::addColumn<qlonglong>("end");
    const qlonglong Min = LLONG_MIN;
    const qlonglong Max = LLONG_MAX;
    QTest::newRow("whole range") << Min << Max << QByteArray("{ab}") << false << 2LL << false
                                 << QByteArray("ab") << 5LL;
    QTest::newRow("smallest start keeps its count")
        << Min << Min + 1 << QByteArray("{a") << false << 2LL << false << QByteArray("ab") << 5LL;
    QTest::newRow("largest start")
        << Max << Max << QByteArray() << false << 0LL << false << QByteArray() << Max;
    QTest::newRow("next to the largest start")
        << Max - 1 << 1LL << QByteArray() << false << 0LL << false << QByteArray() << Max;
    QTest::newRow("in range") << 2LL << 1LL << QByteArray() << true << 0LL << true << QByteArray()
                              << 6LL;
}

void TestStringUtils::extremePositions() {
    QFETCH(qlonglong, pos);
    QFETCH(qlonglong, last);
    const std::string Text = "{ab}";
    QTEST(B(CopyRange(Text, pos, last)), "copy");
    QTEST(MatchAt("a", Text, pos), "match");
    QTEST(static_cast<qlonglong>(PosFrom("a", Text, pos)), "found");
    QTEST(CharsInSet(MakeCharSet(std::string_view("a")), Text, pos, last), "inSet");
    long long P = pos;
    QTEST(B(GetDelimited(P, Text, '{', '}')), "token");
    QTEST(static_cast<qlonglong>(P), "end");
}

void TestStringUtils::isWholeWord_data() {
    QTest::addColumn<QByteArray>("s");
    QTest::addColumn<QByteArray>("word");
    QTest::addColumn<bool>("expected");
    QTest::newRow("a cat") << QByteArray("a cat") << QByteArray("cat") << true;
    QTest::newRow("cat") << QByteArray("cat") << QByteArray("cat") << true;
    QTest::newRow("the cat sat") << QByteArray("the cat sat") << QByteArray("cat") << true;
    QTest::newRow("a cats") << QByteArray("a cats") << QByteArray("cat") << false;
    QTest::newRow("category cat") << QByteArray("category cat") << QByteArray("cat") << false;
    QTest::newRow("punctuation joins") << QByteArray("cat.") << QByteArray("cat") << false;
    QTest::newRow("trailing blank") << QByteArray("cat ") << QByteArray("cat") << true;
    QTest::newRow("absent") << QByteArray("dog") << QByteArray("cat") << false;
    QTest::newRow("empty word") << QByteArray("dog") << QByteArray() << false;
    QTest::newRow("phrase") << QByteArray("x a b y") << QByteArray("a b") << true;
}

void TestStringUtils::isWholeWord() {
    QFETCH(QByteArray, s);
    QFETCH(QByteArray, word);
    QFETCH(bool, expected);
    QCOMPARE(IsWholeWord(S(s), S(word)), expected);
}

void TestStringUtils::zeroPad_data() {
    QTest::addColumn<qlonglong>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("14") << 14LL << 5 << QByteArray("00014");
    QTest::newRow("123456") << 123456LL << 5 << QByteArray("23456");
    QTest::newRow("-5") << -5LL << 5 << QByteArray("000-5");
    QTest::newRow("wide") << 7LL << 30 << (QByteArray(20, '0') + "7");
    QTest::newRow("zero width") << 7LL << 0 << QByteArray();
}

void TestStringUtils::zeroPad() {
    QFETCH(qlonglong, value);
    QFETCH(int, width);
    QFETCH(QByteArray, expected);
    QCOMPARE(B(ZeroPad(value, width)), expected);
}

QTEST_APPLESS_MAIN(TestStringUtils)
#include "tst_StringUtils.moc"
