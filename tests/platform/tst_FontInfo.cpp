#include "platform/FontInfo.h"

#include <QFontDatabase>
#include <QtTest>

using namespace kav;

namespace {

QList<int> CharsetNumbers(const std::vector<FontCharset>& Sets) {
    QList<int> Numbers;
    for (const FontCharset& S : Sets)
        Numbers << S.Charset;
    return Numbers;
}

void RequireLiberation() {
    if (!QFontDatabase::families().contains("Liberation Sans"))
        QSKIP("fonts-liberation2 is not installed");
}

} // namespace

class TestFontInfo : public QObject {
    Q_OBJECT
private slots:
    void scriptNames_data();
    void scriptNames();
    void charsetsOfFont_data();
    void charsetsOfFont();
    void installedAndRealised_data();
    void installedAndRealised();
    void familyClass_data();
    void familyClass();
    void realisedCharset_data();
    void realisedCharset();
};

void TestFontInfo::scriptNames_data() {
    QTest::addColumn<int>("charset");
    QTest::addColumn<QString>("name");
    QTest::newRow("0") << 0 << "Western";
    QTest::newRow("238") << 238 << "Central European";
    QTest::newRow("204") << 204 << "Cyrillic";
    QTest::newRow("161") << 161 << "Greek";
    QTest::newRow("162") << 162 << "Turkish";
    QTest::newRow("177") << 177 << "Hebrew";
    QTest::newRow("178") << 178 << "Arabic";
    QTest::newRow("186") << 186 << "Baltic";
    QTest::newRow("163") << 163 << "Vietnamese";
    QTest::newRow("222") << 222 << "Thai";
    QTest::newRow("Macintosh is never a script") << 77 << "";
    QTest::newRow("default is not a script") << 1 << "";
}

void TestFontInfo::scriptNames() {
    QFETCH(int, charset);
    QFETCH(QString, name);
    QCOMPARE(ScriptNameOfCharset(charset), name);
}

void TestFontInfo::charsetsOfFont_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QList<int>>("offered");
    QTest::addColumn<QList<int>>("lacking");
    const QList<int> European{0, 238, 204, 161, 162, 186, 163};
    QTest::newRow("Arial") << "Arial" << European << QList<int>{77, 1, 222};
    QTest::newRow("Times New Roman") << "Times New Roman" << European << QList<int>{77, 222};
    QTest::newRow("Liberation Sans, any case") << "liberation sans" << European << QList<int>{77};
    QTest::newRow("not installed") << "Kav Missing Face" << QList<int>{}
                                   << QList<int>{0, 238, 204, 161, 162, 177, 178, 186, 163, 222};
    QTest::newRow("empty name") << "" << QList<int>{} << QList<int>{0, 204};
}

void TestFontInfo::charsetsOfFont() {
    QFETCH(QString, family);
    QFETCH(QList<int>, offered);
    QFETCH(QList<int>, lacking);
    if (!offered.isEmpty())
        RequireLiberation();
    const std::vector<FontCharset> Sets = FontCharsets(family);
    const QList<int> Numbers = CharsetNumbers(Sets);
    for (int Charset : offered)
        QVERIFY2(Numbers.contains(Charset), qPrintable(QString::number(Charset)));
    for (int Charset : lacking)
        QVERIFY2(!Numbers.contains(Charset), qPrintable(QString::number(Charset)));
    for (const FontCharset& S : Sets)
        QCOMPARE(S.ScriptName, ScriptNameOfCharset(S.Charset));
    QCOMPARE(QSet<int>(Numbers.begin(), Numbers.end()).size(), Numbers.size());
}

void TestFontInfo::installedAndRealised_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<QString>("realised");
    QTest::newRow("Arial") << "Arial" << true << "Liberation Sans";
    QTest::newRow("Times New Roman") << "Times New Roman" << true << "Liberation Serif";
    QTest::newRow("Courier New") << "Courier New" << true << "Liberation Mono";
    QTest::newRow("own name") << "Liberation Serif" << true << "Liberation Serif";
    QTest::newRow("missing face") << "Kav Missing Face" << false << "";
    QTest::newRow("blank") << "  " << false << "";
}

void TestFontInfo::installedAndRealised() {
    QFETCH(QString, family);
    QFETCH(bool, installed);
    QFETCH(QString, realised);
    RequireLiberation();
    if (family == "Tahoma" && QFontDatabase::families().contains("Tahoma"))
        QSKIP("Tahoma is installed here");
    QCOMPARE(IsFontInstalled(family), installed);
    if (!realised.isEmpty())
        QCOMPARE(RealisedFamily(family), realised);
    else
        QVERIFY(!RealisedFamily(family).isEmpty());
}

void TestFontInfo::familyClass_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("familyClass");
    QTest::newRow("Arial") << "Arial" << int(FontFamilyClass::Swiss);
    QTest::newRow("Times New Roman") << "Times New Roman" << int(FontFamilyClass::Roman);
    QTest::newRow("Courier New") << "Courier New" << int(FontFamilyClass::Modern);
}

void TestFontInfo::familyClass() {
    QFETCH(QString, family);
    QFETCH(int, familyClass);
    RequireLiberation();
    QCOMPARE(int(FamilyClassOf(family)), familyClass);
}

void TestFontInfo::realisedCharset_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("realised");
    QTest::newRow("offered set is kept") << "Arial" << 204 << 204;
    QTest::newRow("Greek") << "Arial" << 161 << 161;
    QTest::newRow("default becomes Western") << "Arial" << 1 << 0;
    QTest::newRow("lacking set falls back to Western") << "Arial" << 222 << 0;
    QTest::newRow("Macintosh falls back to Western") << "Arial" << 77 << 0;
}

void TestFontInfo::realisedCharset() {
    QFETCH(QString, family);
    QFETCH(int, requested);
    QFETCH(int, realised);
    RequireLiberation();
    QCOMPARE(RealisedCharset(family, requested), realised);
}

QTEST_MAIN(TestFontInfo)
#include "tst_FontInfo.moc"
