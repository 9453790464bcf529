#include "platform/FontInfo.h"

#include <QFontDatabase>
#include <QtTest>

using namespace kav;

class TestFontInfo : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void charsetsOfFont_data();
    void charsetsOfFont();
    void realisedFace_data();
    void realisedFace();
};

void TestFontInfo::initTestCase() {
    if (!QFontDatabase::families().contains("Liberation Sans"))
        QSKIP("fonts-liberation2 is not installed");
}

void TestFontInfo::charsetsOfFont_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("offered");
    QTest::addColumn<QList<int>>("lacking");
    const QString European = "Western,Central European,Cyrillic,Greek,Turkish,Baltic,Vietnamese";
    QTest::newRow("Arial") << "Arial" << European << QList<int>{77, 1, 222};
    QTest::newRow("Liberation Serif, any case") << "liberation serif" << European << QList<int>{77};
    QTest::newRow("not installed")
        << "Kav Missing Face"
        << "" << QList<int>{0, 238, 204, 161, 162, 177, 178, 186, 163, 222};
    QTest::newRow("blank name") << "  "
                                << "" << QList<int>{0, 204};
}

void TestFontInfo::charsetsOfFont() {
    QFETCH(QString, family);
    QFETCH(QString, offered);
    QFETCH(QList<int>, lacking);
    QStringList Names;
    QList<int> Numbers;
    for (const FontCharset& S : FontCharsets(family)) {
        QVERIFY2(!Numbers.contains(S.Charset), qPrintable(S.ScriptName));
        Names << S.ScriptName;
        Numbers << S.Charset;
    }
    for (const QString& Name : offered.split(',', Qt::SkipEmptyParts))
        QVERIFY2(Names.contains(Name), qPrintable(Name));
    for (int Charset : lacking)
        QVERIFY2(!Numbers.contains(Charset), qPrintable(QString::number(Charset)));
    QCOMPARE(IsFontInstalled(family), !offered.isEmpty());
}

void TestFontInfo::realisedFace_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<QString>("face");
    QTest::addColumn<int>("familyClass");
    QTest::addColumn<int>("requested");
    QTest::addColumn<int>("realised");
    const int Swiss = int(FontFamilyClass::Swiss), Roman = int(FontFamilyClass::Roman);
    QTest::newRow("Arial, Cyrillic") << "Arial"
                                     << "Liberation Sans" << Swiss << 204 << 204;
    QTest::newRow("Arial, default") << "Arial"
                                    << "Liberation Sans" << Swiss << 1 << 0;
    QTest::newRow("Arial, lacking Thai") << "Arial"
                                         << "Liberation Sans" << Swiss << 222 << 0;
    QTest::newRow("Arial, Macintosh") << "Arial"
                                      << "Liberation Sans" << Swiss << 77 << 0;
    QTest::newRow("Times New Roman") << "Times New Roman"
                                     << "Liberation Serif" << Roman << 161 << 161;
    QTest::newRow("Courier New") << "Courier New"
                                 << "Liberation Mono" << int(FontFamilyClass::Modern) << 238 << 238;
}

void TestFontInfo::realisedFace() {
    QFETCH(QString, family);
    QFETCH(QString, face);
    QFETCH(int, familyClass);
    QFETCH(int, requested);
    QFETCH(int, realised);
    QCOMPARE(RealisedFamily(family), face);
    QCOMPARE(int(FamilyClassOf(family)), familyClass);
    QCOMPARE(RealisedCharset(family, requested), realised);
}

QTEST_MAIN(TestFontInfo)
#include "tst_FontInfo.moc"
