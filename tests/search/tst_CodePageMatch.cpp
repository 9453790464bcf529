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
    void findsEveryHit_data();
    void findsEveryHit();
};

void TestCodePageMatch::findsInTheCellsPage_data() {
    QTest::addColumn<QByteArray>("cell");
    QTest::addColumn<int>("cellPage");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("textPage");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QByteArray>("found"); // the cell's bytes at the hit
    QTest::addColumn<int>("pos");
    QTest::addColumn<QByteArray>("language"); // the document's, whose rules fold letter case

    QTest::newRow("ascii any case")
        << QByteArray("Press Cancel now") << 1252 << QByteArray("cancel") << 1252 << false
        << QByteArray("Cancel") << 7 << QByteArray();
    QTest::newRow("first of two") << QByteArray("abcABC") << 1252 << QByteArray("ABC") << 1252
                                  << false << QByteArray("abc") << 1 << QByteArray();
    // "ÉTÉ" found by "été" (1252 E9/C9).
    QTest::newRow("accented 1252")
        << QByteArray("L'\xC9T\xC9 chaud") << 1252 << QByteArray("\xE9t\xE9") << 1252 << false
        << QByteArray("\xC9T\xC9") << 3 << QByteArray();
    // "ÿ" upper-cases to "Ÿ", which 1252 holds at 9F.
    QTest::newRow("y diaeresis") << QByteArray("\x9F") << 1252 << QByteArray("\xFF") << 1252
                                 << false << QByteArray("\x9F") << 1 << QByteArray();
    // "Файл" found by "ФАЙЛ" in 1251.
    QTest::newRow("cyrillic 1251") << QByteArray("\xCE\xF2\xEA\xF0\xFB\xF2\xFC \xF4\xE0\xE9\xEB")
                                   << 1251 << QByteArray("\xD4\xC0\xC9\xCB") << 1251 << false
                                   << QByteArray("\xF4\xE0\xE9\xEB") << 9 << QByteArray();
    QTest::newRow("cyrillic match case")
        << QByteArray("\xF4\xE0\xE9\xEB") << 1251 << QByteArray("\xD4\xC0\xC9\xCB") << 1251 << true
        << QByteArray() << 0 << QByteArray();
    // "Łódź" found by "łÓDŹ" in 1250 (A3/B3, F3/D3, 9F/8F).
    QTest::newRow("polish 1250") << QByteArray("\xA3\xF3\x64\x9F") << 1250
                                 << QByteArray("\xB3\xD3\x44\x8F") << 1250 << false
                                 << QByteArray("\xA3\xF3\x64\x9F") << 1 << QByteArray();
    // The same bytes mean different letters in 1251 and 1252: no hit across the pages.
    QTest::newRow("other page") << QByteArray("\xE9t\xE9") << 1252 << QByteArray("\xE9t\xE9")
                                << 1251 << false << QByteArray() << 0 << QByteArray();
    QTest::newRow("ascii across pages") << QByteArray("Open file") << 1252 << QByteArray("FILE")
                                        << 1251 << false << QByteArray("file") << 6 << QByteArray();
    // Shift-JIS "ア" is 83 41: its trail byte is no "A"; the real "a" after it is.
    QTest::newRow("trail byte is no letter")
        << QByteArray("\x83\x41\x61") << 932 << QByteArray("A") << 932 << false << QByteArray("a")
        << 3 << QByteArray();

    // Turkish (1254): "iptal" is the small form of "İptal" (DD), not of "IPTAL"; "kapı" (FD)
    // is that of "KAPI". Other languages keep "i" and "I" together.
    QTest::newRow("turkish dotted capital")
        << QByteArray("\xDDptal") << 1254 << QByteArray("iptal") << 1254 << false
        << QByteArray("\xDDptal") << 1 << QByteArray("TRK");
    QTest::newRow("turkish I is no capital i")
        << QByteArray("IPTAL") << 1254 << QByteArray("iptal") << 1254 << false << QByteArray() << 0
        << QByteArray("TRK");
    QTest::newRow("turkish dotless i")
        << QByteArray("Kap\xFD") << 1254 << QByteArray("KAPI") << 1254 << false
        << QByteArray("Kap\xFD") << 1 << QByteArray("TRK");
    QTest::newRow("i and I elsewhere") << QByteArray("IPTAL") << 1252 << QByteArray("iptal") << 1252
                                       << false << QByteArray("IPTAL") << 1 << QByteArray("FRA");
    // Greek (1253): capitals carry no accents, and both sigmas are one capital.
    QTest::newRow("greek accent") << QByteArray("\xC1\xD1\xD7\xC5\xC9\xCF") << 1253
                                  << QByteArray("\xE1\xF1\xF7\xE5\xDF\xEF") << 1253 << false
                                  << QByteArray("\xC1\xD1\xD7\xC5\xC9\xCF") << 1
                                  << QByteArray("ELL");
    QTest::newRow("greek accent at the end")
        << QByteArray("\xE1\xF1\xF7\xDE") << 1253 << QByteArray("\xC1\xD1\xD7\xC7") << 1253 << false
        << QByteArray("\xE1\xF1\xF7\xDE") << 1 << QByteArray("ELL");
    QTest::newRow("greek final sigma")
        << QByteArray("\xD3\xC5\xC9\xD1\xC1\xD3") << 1253 << QByteArray("\xF3\xE5\xE9\xF1\xDC\xF2")
        << 1253 << false << QByteArray("\xD3\xC5\xC9\xD1\xC1\xD3") << 1 << QByteArray("ELL");
}

void TestCodePageMatch::findsInTheCellsPage() {
    QFETCH(QByteArray, cell);
    QFETCH(int, cellPage);
    QFETCH(QByteArray, text);
    QFETCH(int, textPage);
    QFETCH(bool, matchCase);
    QFETCH(QByteArray, found);
    QFETCH(int, pos);
    QFETCH(QByteArray, language);
    const TTextMatch Match = TSearchPattern(text.toStdString(), textPage, matchCase,
                                            LocaleOfLanguage(language.toStdString()))
                                 .FindIn(cell.toStdString(), cellPage);
    QCOMPARE(Match.Pos, pos);
    QCOMPARE(QByteArray::fromStdString(MatchedBytes(cell.toStdString(), Match)), found);
}

// Every hit of a cell, as Replace All replaces them: where a character folds to more letters
// than one, where hits could overlap, and with whole words only.
void TestCodePageMatch::findsEveryHit_data() {
    QTest::addColumn<QByteArray>("cell"); // in 1252
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWord");
    QTest::addColumn<QString>("hits"); // "position:length" of each, in the cell's bytes

    QTest::newRow("sharp s against two letters")
        << QByteArray("Stra\xDF\x65 strasse") << QByteArray("STRASSE") << false << false
        << "1:6 8:7";
    QTest::newRow("no hit ends inside a character")
        << QByteArray("Ma\xDF") << QByteArray("mas") << false << false << "";
    QTest::newRow("hits do not overlap") << QByteArray("aaaaa") << QByteArray("aa") << true
                                         << false << "1:2 3:2";
    QTest::newRow("after a miss from the next byte")
        << QByteArray("FFichier fichier") << QByteArray("Fichier") << true << false << "2:7";
    QTest::newRow("whole words only")
        << QByteArray("Fichier Fichiers Fichier") << QByteArray("Fichier") << true << true
        << "1:7 18:7";
}

void TestCodePageMatch::findsEveryHit() {
    QFETCH(QByteArray, cell);
    QFETCH(QByteArray, text);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWord);
    QFETCH(QString, hits);
    const TSearchPattern Pattern(text.toStdString(), 1252, matchCase, LocaleOfLanguage("FRA"));
    QStringList Found;
    for (const TTextMatch& Match : Pattern.FindAll(cell.toStdString(), 1252, wholeWord))
        Found << QString("%1:%2").arg(Match.Pos).arg(Match.Len);
    QCOMPARE(Found.join(' '), hits);
}

QTEST_GUILESS_MAIN(TestCodePageMatch)
#include "tst_CodePageMatch.moc"
