#include "search/CodePageMatch.h"

#include <QtTest>

using namespace kav;

// Case-insensitive matching must work on the letters of the cell's own code page, not on
// ASCII only, and a hit must come back as the cell's bytes.
class TestCodePageMatch : public QObject {
    Q_OBJECT
private slots:
    void findsInTheCellsPage_data();
    void findsInTheCellsPage();
};

void TestCodePageMatch::findsInTheCellsPage_data() {
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<int>("cellPage");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("textPage");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QByteArray>("found"); // the cell's bytes at the hit
    QTest::addColumn<int>("pos");

    QTest::newRow("ascii any case")
        << QByteArray("Press Cancel now") << 1252 << QByteArray("cancel") << 1252 << false
        << QByteArray("Cancel") << 7;
    QTest::newRow("first of two") << QByteArray("abcABC") << 1252 << QByteArray("ABC") << 1252
                                  << false << QByteArray("abc") << 1;
    // "ÉTÉ" found by "été" (1252 E9/C9).
    QTest::newRow("accented 1252")
        << QByteArray("L'\xC9T\xC9 chaud") << 1252 << QByteArray("\xE9t\xE9") << 1252 << false
        << QByteArray("\xC9T\xC9") << 3;
    // "ÿ" upper-cases to "Ÿ", which 1252 holds at 9F.
    QTest::newRow("y diaeresis") << QByteArray("\x9F") << 1252 << QByteArray("\xFF") << 1252
                                 << false << QByteArray("\x9F") << 1;
    // "Файл" found by "ФАЙЛ" in 1251.
    QTest::newRow("cyrillic 1251")
        << QByteArray("\xCE\xF2\xEA\xF0\xFB\xF2\xFC \xF4\xE0\xE9\xEB") << 1251
        << QByteArray("\xD4\xC0\xC9\xCB") << 1251 << false << QByteArray("\xF4\xE0\xE9\xEB") << 9;
    QTest::newRow("cyrillic match case")
        << QByteArray("\xF4\xE0\xE9\xEB") << 1251 << QByteArray("\xD4\xC0\xC9\xCB") << 1251 << true
        << QByteArray() << 0;
    // "Łódź" found by "łÓDŹ" in 1250 (A3/B3, F3/D3, 9F/8F).
    QTest::newRow("polish 1250") << QByteArray("\xA3\xF3\x64\x9F") << 1250
                                 << QByteArray("\xB3\xD3\x44\x8F") << 1250 << false
                                 << QByteArray("\xA3\xF3\x64\x9F") << 1;
    // The same bytes mean different letters in 1251 and 1252: no hit across the pages.
    QTest::newRow("other page") << QByteArray("\xE9t\xE9") << 1252 << QByteArray("\xE9t\xE9")
                                << 1251 << false << QByteArray() << 0;
    QTest::newRow("ascii across pages") << QByteArray("Open file") << 1252 << QByteArray("FILE")
                                        << 1251 << false << QByteArray("file") << 6;
    // Shift-JIS "ア" is 83 41: its trail byte is no "A"; the real "a" after it is.
    QTest::newRow("trail byte is no letter") << QByteArray("\x83\x41\x61") << 932 << QByteArray("A")
                                             << 932 << false << QByteArray("a") << 3;
}

void TestCodePageMatch::findsInTheCellsPage() {
    QFETCH(QByteArray, cell);
    QFETCH(int, cellPage);
    QFETCH(QByteArray, text);
    QFETCH(int, textPage);
    QFETCH(bool, matchCase);
    QFETCH(QByteArray, found);
    QFETCH(int, pos);
    const TTextMatch Match = TSearchPattern(text.toStdString(), textPage, matchCase)
                                 .FindIn(cell.toStdString(), cellPage);
    QCOMPARE(Match.Pos, pos);
    QCOMPARE(QByteArray::fromStdString(MatchedBytes(cell.toStdString(), Match)), found);
}

QTEST_GUILESS_MAIN(TestCodePageMatch)
#include "tst_CodePageMatch.moc"
