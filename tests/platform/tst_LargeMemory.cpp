#include "platform/LargeMemory.h"

#include <QtTest>

#include <cstdint>
#include <numeric>
#include <vector>

using namespace kav;

class TestLargeMemory : public QObject {
    Q_OBJECT
private slots:
    void arraysKeepTheirElements_data();
    void arraysKeepTheirElements();
};

void TestLargeMemory::arraysKeepTheirElements_data() {
    QTest::addColumn<int>("Count");
    QTest::newRow("small: from the heap") << 1000;
    QTest::newRow("one large block") << (1 << 19);
    QTest::newRow("not a whole number of large blocks") << (3 << 19) + 12345;
}

// Every element of a large array is there to write and read, through growing and shrinking:
// a block cut short, or trimmed at the wrong end, would lose the last ones or fault.
void TestLargeMemory::arraysKeepTheirElements() {
    QFETCH(int, Count);
    std::vector<std::uint32_t, TLargeAllocator<std::uint32_t>> Values(static_cast<size_t>(Count));
    QVERIFY(std::all_of(Values.begin(), Values.end(), [](std::uint32_t V) { return V == 0; }));
    std::iota(Values.begin(), Values.end(), 1u);
    Values.resize(Values.size() * 2 + 1);
    Values.resize(Values.size() / 4);
    for (size_t I = 0; I < Values.size(); ++I) {
        if (Values[I] != (I < static_cast<size_t>(Count) ? I + 1 : 0))
            QFAIL(qPrintable(QString("element %1 reads %2").arg(I).arg(Values[I])));
    }
    std::vector<char, TLargeAllocator<char, false>> Bytes;
    Bytes.resize(static_cast<size_t>(Count) * 4);
    Bytes.back() = 'z';
    Bytes.front() = 'a';
    QCOMPARE(Bytes.front() + Bytes.back(), 'a' + 'z');
}

QTEST_APPLESS_MAIN(TestLargeMemory)
#include "tst_LargeMemory.moc"
