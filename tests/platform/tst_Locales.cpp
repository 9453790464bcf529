#include "platform/Locales.h"

#include <set>

#include <QtTest>

using namespace kav;

namespace {
QString Q(std::string_view S) {
    return QString::fromUtf8(S.data(), static_cast<qsizetype>(S.size()));
}
} // namespace

class TestLocales : public QObject {
    Q_OBJECT
private slots:
    void tableIsComplete();
    void knownLocales_data();
    void knownLocales();
    void lookupMisses_data();
    void lookupMisses();
};

void TestLocales::tableIsComplete() {
    const auto Locales = SystemLocales();
    QVERIFY2(Locales.size() >= 150, qPrintable(QString::number(Locales.size())));
    std::set<std::uint32_t> Seen;
    std::uint32_t Previous = 0;
    for (const LocaleInfo& L : Locales) {
        const QString What = Q(L.Abbreviation) + QLatin1Char(' ') + Q(L.Name);
        QVERIFY2(Seen.insert(L.Lcid).second, qPrintable("duplicate " + What));
        QVERIFY2(L.Lcid > Previous, qPrintable("out of order " + What));
        Previous = L.Lcid;
        // The language box takes the first three characters as the code.
        QCOMPARE(L.Abbreviation.size(), std::size_t{3});
        for (char C : L.Abbreviation)
            QVERIFY2(C >= 'A' && C <= 'Z', qPrintable(What));
        QVERIFY2(L.Name.find(" (") != std::string_view::npos && L.Name.back() == ')',
                 qPrintable(What));
        QCOMPARE(FindLocale(L.Lcid), &L);
    }
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
    QTest::newRow("CSY") << 0x0405u << "CSY"
                         << "Czech (Czech Republic)";
    QTest::newRow("HUN") << 0x040Eu << "HUN"
                         << "Hungarian (Hungary)";
    QTest::newRow("ESN") << 0x0C0Au << "ESN"
                         << "Spanish (Spain, International Sort)";
    QTest::newRow("PTB") << 0x0416u << "PTB"
                         << "Portuguese (Brazil)";
    QTest::newRow("SRL") << 0x081Au << "SRL"
                         << "Serbian (Latin, Serbia and Montenegro (Former))";
    QTest::newRow("CHS") << 0x0804u << "CHS"
                         << "Chinese (Simplified, PRC)";
    QTest::newRow("non-ASCII name")
        << 0x0414u << "NOR" << QString::fromUtf8("Norwegian, Bokmål (Norway)");
}

void TestLocales::knownLocales() {
    QFETCH(uint, lcid);
    QFETCH(QString, abbreviation);
    QFETCH(QString, name);
    const LocaleInfo* ById = FindLocale(lcid);
    QVERIFY(ById);
    QCOMPARE(Q(ById->Abbreviation), abbreviation);
    QCOMPARE(Q(ById->Name), name);
    const std::string Abbreviation = abbreviation.toStdString();
    QCOMPARE(FindLocaleByAbbreviation(Abbreviation), ById);
    const auto All = LocalesWithAbbreviation(Abbreviation);
    QCOMPARE(All.size(), std::size_t{1});
    QCOMPARE(All.front(), ById);
}

void TestLocales::lookupMisses_data() {
    QTest::addColumn<uint>("lcid");
    QTest::addColumn<QString>("abbreviation");
    QTest::newRow("neutral language id") << 0x0009u << "";
    QTest::newRow("unknown id") << 0x7FFFu << "XYZ";
    // The keyboard lookup compares exactly, so a lower-case code finds nothing.
    QTest::newRow("lower case") << 0x0000u << "enu";
    QTest::newRow("two letters") << 0x0000u << "EN";
}

void TestLocales::lookupMisses() {
    QFETCH(uint, lcid);
    QFETCH(QString, abbreviation);
    QVERIFY(!FindLocale(lcid));
    QVERIFY(!FindLocaleByAbbreviation(abbreviation.toStdString()));
    QVERIFY(LocalesWithAbbreviation(abbreviation.toStdString()).empty());
}

QTEST_APPLESS_MAIN(TestLocales)
#include "tst_Locales.moc"
