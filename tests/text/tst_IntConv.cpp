#include "text/IntConv.h"

#include <QtTest>

using namespace kav;

class TestIntConv : public QObject {
    Q_OBJECT
private slots:
    void valInt_data();
    void valInt();
};

void TestIntConv::valInt_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("errorPos");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << QByteArray("12") << 0 << 12;
    QTest::newRow("leading blanks") << QByteArray("   12") << 0 << 12;
    QTest::newRow("plus") << QByteArray("+7") << 0 << 7;
    QTest::newRow("minus") << QByteArray("-7") << 0 << -7;
    QTest::newRow("dollar hex") << QByteArray("$1F") << 0 << 31;
    QTest::newRow("0x hex") << QByteArray("0x10") << 0 << 16;
    QTest::newRow("negative hex") << QByteArray("-$10") << 0 << -16;
    QTest::newRow("full pattern") << QByteArray("$FFFFFFFF") << 0 << -1;
    QTest::newRow("max") << QByteArray("2147483647") << 0 << 2147483647;
    QTest::newRow("min") << QByteArray("-2147483648") << 0 << int(-2147483648LL);
    QTest::newRow("bad char") << QByteArray("12a") << 3 << 0;
    QTest::newRow("trailing blank") << QByteArray("12 ") << 3 << 0;
    QTest::newRow("empty") << QByteArray() << 1 << 0;
    QTest::newRow("blanks only") << QByteArray("  ") << 3 << 0;
    QTest::newRow("sign only") << QByteArray("-") << 2 << 0;
    QTest::newRow("overflow digit") << QByteArray("2147483648") << 10 << 0;
    QTest::newRow("hex overflow") << QByteArray("$100000000") << 10 << 0;
    QTest::newRow("dollar alone") << QByteArray("$") << 2 << 0;
    QTest::newRow("tab is not blank") << QByteArray("\t1") << 1 << 0;
}

void TestIntConv::valInt() {
    QFETCH(QByteArray, text);
    QFETCH(int, errorPos);
    QFETCH(int, value);
    int32_t Got = 99;
    QCOMPARE(ValInt(text.toStdString(), Got), errorPos);
    if (errorPos == 0)
        QCOMPARE(Got, value);
    QCOMPARE(TryStrToInt(text.toStdString(), Got), errorPos == 0);
    QCOMPARE(InvalidIntegerMessage("x1"), std::string("'x1' is not a valid integer value"));
}

QTEST_APPLESS_MAIN(TestIntConv)
#include "tst_IntConv.moc"
