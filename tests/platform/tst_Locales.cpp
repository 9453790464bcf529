#include "platform/Locales.h"

#include <QtTest>

using namespace kav;

namespace {
QString Q(std::string_view S) {
    return QString::fromUtf8(S.data(), qsizetype(S.size()));
}
} // namespace

class TestLocales : public QObject {
    Q_OBJECT
private slots:
    void tableIsComplete();
    void knownLocales_data();
    void knownLocales();
};

void TestLocales::tableIsComplete() {
    const auto Locales = SystemLocales();
    QVERIFY(Locales.size() >= 150);
    std::uint32_t Previous = 0;
    for (const LocaleInfo& L : Locales) {
        const QByteArray What = (Q(L.Abbreviation) + ' ' + Q(L.Name)).toUtf8();
        // Ascending identifiers are unique ones, and the lookup by identifier relies on them.
        QVERIFY2(L.Lcid > Previous, What);
        Previous = L.Lcid;
        QVERIFY2(L.Abbreviation.size() == 3, What);
        QVERIFY2(std::all_of(L.Abbreviation.begin(), L.Abbreviation.end(),
                             [](char C) { return C >= 'A' && C <= 'Z'; }),
                 What);
        QVERIFY2(L.Name.find(" (") != std::string_view::npos && L.Name.back() == ')', What);
        QCOMPARE(FindLocale(L.Lcid), &L);
    }
    QVERIFY(!FindLocale(0x0009));
    // The keyboard lookup compares exactly.
    QVERIFY(LocalesWithAbbreviation("enu").empty());
}

void TestLocales::knownLocales_data() {
    QTest::addColumn<uint>("lcid");
    QTest::addColumn<QString>("abbreviation");
    QTest::addColumn<QString>("name");
    QTest::newRow("ENU") << 0x0409u << "ENU"
                         << "English (United States)";
    QTest::newRow("ENG") << 0x0809u << "ENG"
                         << "English (United Kingdom)";
    QTest::newRow("FRA") << 0x040Cu << "FRA"
                         << "French (France)";
    QTest::newRow("FRB") << 0x080Cu << "FRB"
                         << "French (Belgium)";
    QTest::newRow("FRC") << 0x0C0Cu << "FRC"
                         << "French (Canada)";
    QTest::newRow("DEU") << 0x0407u << "DEU"
                         << "German (Germany)";
    QTest::newRow("DES") << 0x0807u << "DES"
                         << "German (Switzerland)";
    QTest::newRow("RUS") << 0x0419u << "RUS"
                         << "Russian (Russia)";
    QTest::newRow("ELL") << 0x0408u << "ELL"
                         << "Greek (Greece)";
    QTest::newRow("HEB") << 0x040Du << "HEB"
                         << "Hebrew (Israel)";
    QTest::newRow("TRK") << 0x041Fu << "TRK"
                         << "Turkish (Turkey)";
    QTest::newRow("PLK") << 0x0415u << "PLK"
                         << "Polish (Poland)";
    QTest::newRow("BGR") << 0x0402u << "BGR"
                         << "Bulgarian (Bulgaria)";
    QTest::newRow("UKR") << 0x0422u << "UKR"
                         << "Ukrainian (Ukraine)";
    QTest::newRow("non-ASCII name")
        << 0x0414u << "NOR" << QString::fromUtf8("Norwegian, Bokmål (Norway)");
}

void TestLocales::knownLocales() {
    QFETCH(uint, lcid);
    QFETCH(QString, abbreviation);
    QFETCH(QString, name);
    const LocaleInfo* Locale = FindLocale(lcid);
    QVERIFY(Locale);
    QCOMPARE(Q(Locale->Abbreviation), abbreviation);
    QCOMPARE(Q(Locale->Name), name);
    const auto All = LocalesWithAbbreviation(abbreviation.toStdString());
    QCOMPARE(All, std::vector<const LocaleInfo*>{Locale});
    QCOMPARE(FindLocaleByAbbreviation(abbreviation.toStdString()), Locale);
}

QTEST_APPLESS_MAIN(TestLocales)
#include "tst_Locales.moc"
