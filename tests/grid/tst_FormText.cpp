#include "grid/FormText.h"

#include "Bytes.h"

#include <QtTest>

using namespace kav;

namespace {

// A value as one line: integers as numbers, strings in <>, identifiers bare, binary as hex.
QByteArray Show(const TFormValue& Value) {
    switch (Value.Kind) {
    case TFormValue::TKind::Integer:
        return QByteArray::number(static_cast<qlonglong>(Value.Integer));
    case TFormValue::TKind::String:
        return "<" + B(Value.Text) + ">";
    case TFormValue::TKind::Ident:
        return B(Value.Text);
    case TFormValue::TKind::Binary:
        return "{" + B(Value.Text).toHex() + "}";
    default:
        break;
    }
    QByteArray Out = Value.Kind == TFormValue::TKind::Set ? "[" : "(";
    for (const TFormValue& Item : Value.Items) {
        Out += (Out.size() > 1 ? " " : "") + Show(Item);
    }
    return Out + (Value.Kind == TFormValue::TKind::Set ? "]" : ")");
}

} // namespace

class TestFormText : public QObject {
    Q_OBJECT
private slots:
    void values_data();
    void values();
    void errors_data();
    void errors();
    void listReaderRanges();
    void writeThenRead();
};

void TestFormText::values_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("integers") << QByteArray("A = -16777201") << QByteArray("-16777201");
    QTest::newRow("hex keeps 32-bit colour bits")
        << QByteArray("A = $FF00000F") << QByteArray("-16777201");
    QTest::newRow("quote doubled")
        << QByteArray("A = 'Default (''Arial'')'") << QByteArray("<Default ('Arial')>");
    QTest::newRow("char codes joined")
        << QByteArray("A = 'a'#13#10'b'#233") << QByteArray("<a\r\nb\xe9>");
    QTest::newRow("continued with +")
        << QByteArray("A = 'Text ' +\r\n    'Lenght'") << QByteArray("<Text Lenght>");
    QTest::newRow("empty string") << QByteArray("A = ''") << QByteArray("<>");
    QTest::newRow("identifier") << QByteArray("Color = clBtnFace") << QByteArray("clBtnFace");
    QTest::newRow("list over lines, commas or blanks")
        << QByteArray("A = (\n  1, 3\n  'x' -2,\n  y)") << QByteArray("(1 3 <x> -2 y)");
    QTest::newRow("empty list") << QByteArray("A = ()") << QByteArray("()");
    QTest::newRow("set") << QByteArray("A = [fsBold, fsItalic]") << QByteArray("[fsBold fsItalic]");
    QTest::newRow("binary over lines")
        << QByteArray("A = {\n  0200\n  02 }") << QByteArray("{020002}");
    QTest::newRow("blank lines and dotted names")
        << QByteArray("\n\n  Font.Name = 'Arial'  \n\n") << QByteArray("<Arial>");
}

void TestFormText::values() {
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, expected);
    const std::vector<TFormProperty> Properties = ReadFormText(S(text));
    QCOMPARE(Properties.size(), size_t(1));
    QCOMPARE(Show(Properties[0].Value), expected);
}

void TestFormText::errors_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::addColumn<QByteArray>("reason");
    QTest::newRow("missing =") << QByteArray("A = 1\nB 2") << 2 << 3 << QByteArray("'=' expected");
    QTest::newRow("unterminated string")
        << QByteArray("A = 'abc\n") << 1 << 9 << QByteArray("unterminated string");
    QTest::newRow("nested list") << QByteArray("A = (1, (2))") << 1 << 9
                                 << QByteArray("lists cannot be nested");
    QTest::newRow("list not closed")
        << QByteArray("A = (1, 2") << 1 << 10 << QByteArray("')' expected before end of text");
    QTest::newRow("trailing comma")
        << QByteArray("A = (1,)") << 1 << 8 << QByteArray("value expected after ','");
    QTest::newRow("odd hex digits")
        << QByteArray("A = {020}") << 1 << 9 << QByteArray("hexadecimal digits must come in pairs");
    QTest::newRow("not hex") << QByteArray("A = {g0}") << 1 << 6
                             << QByteArray("hexadecimal digit expected");
    QTest::newRow("char code above 255")
        << QByteArray("A = #256") << 1 << 5 << QByteArray("character code above 255");
    QTest::newRow("integer too large")
        << QByteArray("A = 99999999999999999999") << 1 << 5 << QByteArray("integer too large");
    QTest::newRow("garbage after value")
        << QByteArray("A = 1 2") << 1 << 7 << QByteArray("end of line expected");
    QTest::newRow("value missing at end")
        << QByteArray("A =") << 1 << 4 << QByteArray("value expected at end of text");
    QTest::newRow("digit then letters")
        << QByteArray("A = 12ab") << 1 << 7 << QByteArray("invalid character in number");
    QTest::newRow("number in set")
        << QByteArray("A = [1]") << 1 << 6 << QByteArray("identifier expected in set");
    QTest::newRow("plus without string")
        << QByteArray("A = 'a' +\n 5") << 2 << 2 << QByteArray("string expected after '+'");
}

void TestFormText::errors() {
    QFETCH(QByteArray, text);
    QFETCH(int, line);
    QFETCH(int, column);
    QFETCH(QByteArray, reason);
    try {
        ReadFormText(S(text));
        QFAIL("no error");
    } catch (const TFormError& Error) {
        QCOMPARE(B(Error.Reason()), reason);
        QCOMPARE(Error.Line(), line);
        QCOMPARE(Error.Column(), column);
    }
}

void TestFormText::listReaderRanges() {
    const std::vector<TFormProperty> Properties = ReadFormText("A = (70000, 'x')");
    TFormListReader Reader(Properties[0].Value);
    try {
        Reader.ReadInteger(0, 65535);
        QFAIL("no range error");
    } catch (const TFormError& Error) {
        QCOMPARE(B(Error.Reason()), QByteArray("value 70000 out of range (0..65535)"));
        QCOMPARE(Error.Column(), 6);
    }
    try {
        Reader.ReadInt32();
        QFAIL("no type error");
    } catch (const TFormError& Error) {
        QCOMPARE(B(Error.Reason()), QByteArray("integer expected, found string"));
        QCOMPARE(Error.Column(), 13);
    }
    QVERIFY(Reader.EndOfList());
    QVERIFY_THROWS_EXCEPTION(TFormError, Reader.ReadString());
}

void TestFormText::writeThenRead() {
    std::vector<TFormValue> Items;
    for (int I = 0; I < 40; ++I) {
        Items.push_back(TFormValue::MakeInteger(I * 1000 - 7));
    }
    Items.push_back(TFormValue::MakeString(std::string("it's\t\x01\xff", 7)));
    const std::vector<TFormProperty> Written{
        {"List", TFormValue::MakeList(Items)},
        {"Bytes", TFormValue::MakeBinary(std::string(40, '\x5a'))},
        {"Style", TFormValue::MakeSet({"fsBold", "fsItalic"})},
        {"Empty", TFormValue::MakeList({})},
        {"Name", TFormValue::MakeString("")}};
    const std::string Text = WriteFormText(Written);
    QVERIFY(Text.find("'it''s'#9#1#255") != std::string::npos);
    const std::vector<TFormProperty> Read = ReadFormText(Text);
    QCOMPARE(Read.size(), Written.size());
    for (size_t I = 0; I < Read.size(); ++I) {
        QCOMPARE(B(Read[I].Name), B(Written[I].Name));
        QCOMPARE(Show(Read[I].Value), Show(Written[I].Value));
    }
    QCOMPARE(B(WriteFormText(Read)), B(Text));
}

QTEST_GUILESS_MAIN(TestFormText)
#include "tst_FormText.moc"
