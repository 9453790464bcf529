#include "document/TextChecks.h"

#include <QtTest>

using namespace kav;

// Each check with default/translation pairs that must and must not give its finding.
class TestTextChecks : public QObject {
    Q_OBJECT
private slots:
    void formatSpecifiers_data();
    void formatSpecifiers();
    void placeholders_data();
    void placeholders();
    void accelerators_data();
    void accelerators();
    void whitespace_data();
    void whitespace();
    void punctuation_data();
    void punctuation();
    void untranslatedAndEmptySkipTheTextChecks_data();
    void untranslatedAndEmptySkipTheTextChecks();
    void aRowCanHaveSeveralFindings();
    void width_data();
    void width();
    void checkList_data();
    void checkList();

private:
    void AddPairColumns();
    void VerifyKind(TFindingKind Kind, const QString& Code = "ENU");
};

void TestTextChecks::AddPairColumns() {
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<QString>("translated");
    QTest::addColumn<bool>("finding");
}

// The translation gives a finding of Kind exactly when the row says so, with its severity.
void TestTextChecks::VerifyKind(TFindingKind Kind, const QString& Code) {
    QFETCH(QString, defaultText);
    QFETCH(QString, translated);
    QFETCH(bool, finding);
    TCheckOptions Options;
    Options.LanguageCode = Code.toStdString();
    const std::vector<TFinding> Findings = CheckTranslation(defaultText, translated, Options);
    const auto Hit = std::find_if(Findings.begin(), Findings.end(),
                                  [Kind](const TFinding& F) { return F.Kind == Kind; });
    QCOMPARE(Hit != Findings.end(), finding);
    if (Hit != Findings.end()) {
        QCOMPARE(Hit->Severity, SeverityOf(Kind));
        QVERIFY(!Hit->Message.empty());
    }
}

void TestTextChecks::formatSpecifiers_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("specifiers");
    QTest::newRow("printf") << "%s of %d at %5.2f" << QStringList{"%s", "%d", "%5.2f"};
    QTest::newRow("percent sign") << "100%% done" << QStringList{"%%"};
    QTest::newRow("positional") << "%2$s before %1$-10s" << QStringList{"%2$s", "%1$-10s"};
    QTest::newRow("width and flags")
        << "[%-10s] [%05d] [%*d]" << QStringList{"%-10s", "%05d", "%*d"};
    QTest::newRow("length modifiers")
        << "%ld %lld %I64d %zu" << QStringList{"%ld", "%lld", "%I64d", "%zu"};
    QTest::newRow("windows inserts") << "%1 of %2!d! items" << QStringList{"%1", "%2!d!"};
    QTest::newRow("indexed") << "%0:s has %1:d, %2:-8s" << QStringList{"%0:s", "%1:d", "%2:-8s"};
    // A blank after % is prose, not printf's blank flag; a % at the end is no specifier.
    QTest::newRow("prose percent") << "50% done, 100%" << QStringList{};
}

void TestTextChecks::formatSpecifiers() {
    QFETCH(QString, text);
    QFETCH(QStringList, specifiers);
    const std::vector<QString> Found = FormatSpecifiers(text);
    QCOMPARE(QStringList(Found.begin(), Found.end()), specifiers);
}

void TestTextChecks::placeholders_data() {
    AddPairColumns();
    QTest::newRow("same") << "Open %s"
                          << "Ouvrir %s" << false;
    QTest::newRow("reordered") << "%s in %d"
                               << "%d: %s" << false;
    QTest::newRow("positional reordered") << "%1$s of %2$s"
                                          << "%2$s von %1$s" << false;
    QTest::newRow("lost") << "Open %s"
                          << "Ouvrir" << true;
    QTest::newRow("type changed") << "%d files"
                                  << "%s fichiers" << true;
    QTest::newRow("%% lost") << "100%% done"
                             << "100% fait" << true;
    QTest::newRow("%% kept") << "100%% done"
                             << "100%% fait" << false;
    QTest::newRow("width dropped") << "[%-10s]"
                                   << "[%s]" << true;
    QTest::newRow("precision changed") << "%5.2f MB"
                                       << "%5.1f Mo" << true;
    QTest::newRow("insert format kept") << "%1!d! of %2"
                                        << "%2 : %1!d!" << false;
    QTest::newRow("insert format dropped") << "%1!d! items"
                                           << "%1 éléments" << true;
    QTest::newRow("insert duplicated") << "%1 items"
                                       << "%1 éléments (%1)" << true;
    QTest::newRow("indexed kept") << "%0:s in %1:s"
                                  << "%1:s : %0:s" << false;
    QTest::newRow("indexed changed") << "%0:s"
                                     << "%0:d" << true;
}

void TestTextChecks::placeholders() {
    VerifyKind(TFindingKind::Placeholders);
}

void TestTextChecks::accelerators_data() {
    AddPairColumns();
    QTest::newRow("same count") << "&Open"
                                << "&Ouvrir" << false;
    QTest::newRow("moved") << "Save &As"
                           << "Enregistrer &sous" << false;
    QTest::newRow("digit") << "&1 File"
                           << "&1 Fichier" << false;
    QTest::newRow("lost") << "&Open"
                          << "Ouvrir" << true;
    QTest::newRow("added") << "Open"
                           << "&Ouvrir" << true;
    QTest::newRow("literal && only") << "Drag && Drop"
                                     << "Glisser && déposer" << false;
    QTest::newRow("literal && for single") << "Drag && Drop"
                                           << "Glisser & déposer" << true;
    QTest::newRow("&& beside an accelerator") << "&Find && Replace"
                                              << "&Chercher && remplacer" << false;
    QTest::newRow("accelerator on a blank") << "&Open"
                                            << "& Ouvrir" << true;
    QTest::newRow("accelerator on punctuation") << "&Open"
                                                << "&(Ouvrir)" << true;
    QTest::newRow("accelerator ends the text") << "Open&"
                                               << "Ouvrir&" << false;
    QTest::newRow("accelerator lost at the end") << "&Open"
                                                 << "Ouvrir&" << true;
    // The default's own & before a blank is prose: the same in the translation is no fault.
    QTest::newRow("prose ampersand") << "R & D"
                                     << "R & D interne" << false;
    QTest::newRow("non-Latin letter") << "&File" << QString::fromUtf8("&Файл") << false;
}

void TestTextChecks::accelerators() {
    VerifyKind(TFindingKind::Accelerators);
}

void TestTextChecks::whitespace_data() {
    AddPairColumns();
    QTest::newRow("none") << "Name"
                          << "Nom" << false;
    QTest::newRow("same lead and trail") << "  Name: "
                                         << "  Nom: " << false;
    QTest::newRow("lead lost") << "  Name"
                               << "Nom" << true;
    QTest::newRow("lead added") << "Name"
                                << " Nom" << true;
    QTest::newRow("trail lost") << "Name: "
                                << "Nom:" << true;
    QTest::newRow("tab for blank") << "\tName"
                                   << " Nom" << true;
    QTest::newRow("doubled blank") << "File name"
                                   << "Nom  du fichier" << true;
    QTest::newRow("doubled in both") << "File  name"
                                     << "Nom  du fichier" << false;
    QTest::newRow("doubled at the end is trailing") << "Name  "
                                                    << "Nom  " << false;
}

void TestTextChecks::whitespace() {
    VerifyKind(TFindingKind::Whitespace);
}

void TestTextChecks::punctuation_data() {
    AddPairColumns();
    QTest::addColumn<QString>("code");
    QTest::newRow("both period") << "Done."
                                 << "Fertig." << false << "DEU";
    QTest::newRow("period lost") << "Done."
                                 << "Fertig" << true << "DEU";
    QTest::newRow("colon for period") << "Name."
                                      << "Name:" << true << "DEU";
    QTest::newRow("ellipsis dots and character")
        << "Open..." << QString::fromUtf8("Öffnen…") << false << "DEU";
    QTest::newRow("ellipsis is not a period") << "Open..."
                                              << "Öffnen." << true << "DEU";
    QTest::newRow("question to exclamation") << "Quit?"
                                             << "Beenden!" << true << "DEU";
    QTest::newRow("trailing blank ignored") << "Name: "
                                            << "Name:  " << false << "DEU";
    QTest::newRow("full-width colon") << "Name:" << QString::fromUtf8("名前：") << false << "JPN";
    QTest::newRow("blank before colon, German") << "Name:"
                                                << "Name :" << true << "DEU";
    QTest::newRow("blank before colon, French") << "Name:"
                                                << "Nom :" << false << "FRA";
    QTest::newRow("no-break blank before ?, French")
        << "Quit?" << QString::fromUtf8("Quitter\u00a0?") << false << "FRA";
    QTest::newRow("blank before !, French Canadian") << "Stop!"
                                                     << "Arrêt !" << false << "FRC";
    QTest::newRow("French still needs the kind") << "Name:"
                                                 << "Nom ?" << true << "FRA";
    QTest::newRow("blank in the default too") << "Name :"
                                              << "Name :" << false << "DEU";
    QTest::newRow("Greek question mark")
        << "Quit?" << QString::fromUtf8("Έξοδος;") << false << "ELL";
    QTest::newRow("semicolon elsewhere") << "Quit?"
                                         << "Quit;" << true << "DEU";
}

void TestTextChecks::punctuation() {
    QFETCH(QString, code);
    VerifyKind(TFindingKind::Punctuation, code);
}

void TestTextChecks::untranslatedAndEmptySkipTheTextChecks_data() {
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<QString>("translated");
    QTest::addColumn<QStringList>("kinds");
    QTest::newRow("untranslated") << " &Open %s"
                                  << " &Open %s" << QStringList{"untranslated"};
    QTest::newRow("empty translation") << "&Open %s:"
                                       << "" << QStringList{};
    QTest::newRow("empty default") << ""
                                   << "x" << QStringList{};
}

void TestTextChecks::untranslatedAndEmptySkipTheTextChecks() {
    QFETCH(QString, defaultText);
    QFETCH(QString, translated);
    QFETCH(QStringList, kinds);
    QStringList Found;
    for (const TFinding& F : CheckTranslation(defaultText, translated, {}))
        Found << KindName(F.Kind);
    QCOMPARE(Found, kinds);
}

void TestTextChecks::aRowCanHaveSeveralFindings() {
    QStringList Found;
    for (const TFinding& F : CheckTranslation("&Open %s...", "Ouvrir  %d", {}))
        Found << QString("%1 %2").arg(KindName(F.Kind), SeverityName(F.Severity));
    QCOMPARE(Found, (QStringList{"placeholders error", "accelerators error", "whitespace warning",
                                 "punctuation warning"}));
    // The checks asked for, and only those.
    TCheckOptions Options;
    Options.Checks = CheckBit(TFindingKind::Whitespace) | CheckBit(TFindingKind::Punctuation);
    QCOMPARE(CheckTranslation("&Open %s...", "Ouvrir  %d", Options).size(), size_t(2));
}

void TestTextChecks::width_data() {
    QTest::addColumn<int>("allowed");
    QTest::addColumn<int>("measured");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("percent");
    QTest::newRow("half full") << 100 << 50 << "" << 50;
    QTest::newRow("just under crowded") << 100 << 89 << "" << 89;
    QTest::newRow("crowded from 90") << 100 << 90 << "crowded" << 90;
    QTest::newRow("crowded at 100") << 52 << 52 << "crowded" << 100;
    QTest::newRow("one pixel over") << 51 << 52 << "too-long" << 101;
    QTest::newRow("far over") << 10 << 42 << "too-long" << 420;
    QTest::newRow("empty text") << 10 << 0 << "" << 0;
    QTest::newRow("no space allowed") << 0 << 5 << "too-long" << -1;
}

void TestTextChecks::width() {
    QFETCH(int, allowed);
    QFETCH(int, measured);
    QFETCH(QString, kind);
    QFETCH(int, percent);
    QCOMPARE(WidthPercent(allowed, measured), percent);
    const std::vector<TFinding> Findings = CheckWidth(allowed, measured);
    QCOMPARE(Findings.empty() ? QString() : QString(KindName(Findings[0].Kind)), kind);
    QVERIFY(Findings.size() <= 1);
    if (!Findings.empty())
        QCOMPARE(Findings[0].Severity, kind == "crowded" ? TSeverity::Info : TSeverity::Error);
}

void TestTextChecks::checkList_data() {
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("checks");
    QTest::addColumn<QString>("error");
    QTest::newRow("two") << "placeholders,too-long"
                         << int(CheckBit(TFindingKind::Placeholders) |
                                CheckBit(TFindingKind::TooLong))
                         << "";
    QTest::newRow("unknown") << "placeholders,spelling" << 0 << "unknown check \"spelling\"";
    QTest::newRow("empty") << "" << 0 << "no check named";
}

void TestTextChecks::checkList() {
    QFETCH(QString, list);
    QFETCH(int, checks);
    QFETCH(QString, error);
    std::string Error;
    const std::optional<TCheckSet> Set = ParseCheckList(list.toStdString(), Error);
    QCOMPARE(Set.value_or(0), TCheckSet(checks));
    QCOMPARE(QString::fromStdString(Error), error);
}

QTEST_APPLESS_MAIN(TestTextChecks)
#include "tst_TextChecks.moc"
