#include "document/PlaceholderSamples.h"

#include <QtTest>

using namespace kav;

class TestPlaceholderSamples : public QObject {
    Q_OBJECT
private slots:
    void filled_data();
    void filled();
    void faultyLines_data();
    void faultyLines();
};

// The project's lines over the defaults, by specifier and by form.
void TestPlaceholderSamples::filled_data() {
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("filled");
    const QString None;
    QTest::newRow("defaults") << None << "Open %s?"
                              << "Open Documents and Settings?";
    QTest::newRow("number and insert") << None << "%1 has %d files"
                                       << "Documents and Settings has -2147483648 files";
    QTest::newRow("insert with format") << None << "%2!u! left"
                                        << "4294967295 left";
    QTest::newRow("percent sign") << None << "100%% done"
                                  << "100% done";
    QTest::newRow("width and length forms") << None << "%-20s %ls %5.2f"
                                            << "Documents and Settings Documents and Settings "
                                               "-2147483648.000000";
    QTest::newRow("no specifier") << None << "50 % off"
                                  << "50 % off";
    const QString Ini = "; samples of the product\n[Other]\n%s=not here\n[Samples]\n"
                        "%s = C:\\Program Files\\Kavrino\n%3=\"  wide  \"\n%0:s=Indexed\n";
    QTest::newRow("project form") << Ini << "In %s and %-8s"
                                  << "In C:\\Program Files\\Kavrino "
                                     "and C:\\Program Files\\Kavrino";
    // A specifier's own line beats its form's; quotes keep the blanks.
    QTest::newRow("own line") << Ini << "[%3] [%2]"
                              << "[  wide  ] [Documents and Settings]";
    QTest::newRow("indexed") << Ini << "%0:s, %1:d"
                             << "Indexed, -2147483648";
    QTest::newRow("crlf lines") << "[Samples]\r\n%d=7\r\n"
                                << "%d of %d"
                                << "7 of 7";
}

void TestPlaceholderSamples::filled() {
    QFETCH(QString, ini);
    QFETCH(QString, text);
    QFETCH(QString, filled);
    std::vector<std::string> Errors;
    const TPlaceholderSamples S = TPlaceholderSamples::FromText(ini, "P.ini", Errors);
    QVERIFY2(Errors.empty(), Errors.empty() ? "" : Errors.front().c_str());
    QCOMPARE(S.Filled(text), filled);
    QCOMPARE(S.Fills(text), filled != text);
}

void TestPlaceholderSamples::faultyLines_data() {
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("error");
    QTest::newRow("no equals") << "[Samples]\n%s=a\nwide"
                               << "P.ini:3: not a placeholder=sample line: wide";
    QTest::newRow("no placeholder") << "[Samples]\nname=a"
                                    << "P.ini:2: not a placeholder: name";
    QTest::newRow("two placeholders") << "\n[Samples]\n%s%d=a"
                                      << "P.ini:3: not a placeholder: %s%d";
    QTest::newRow("open section") << "[Samples\n%s=a"
                                  << "P.ini:1: a section name needs its closing ]";
}

void TestPlaceholderSamples::faultyLines() {
    QFETCH(QString, ini);
    QFETCH(QString, error);
    std::vector<std::string> Errors;
    const TPlaceholderSamples S = TPlaceholderSamples::FromText(ini, "P.ini", Errors);
    QCOMPARE(Errors.size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(Errors[0]), error);
    // The faulty line is left out, the others still count.
    QCOMPARE(S.SampleOf("%x"), QString("ffffffff"));
}

QTEST_MAIN(TestPlaceholderSamples)
#include "tst_PlaceholderSamples.moc"
