#include "document/SameWords.h"
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
    void untranslated_data();
    void untranslated();
    void projectSameWords();
    void numbers_data();
    void numbers();
    void doubledWords_data();
    void doubledWords();
    void untranslatedAndEmptySkipTheTextChecks_data();
    void untranslatedAndEmptySkipTheTextChecks();
    void aRowCanHaveSeveralFindings();
    void width_data();
    void width();
    void checkList_data();
    void checkList();

private:
    void AddPairColumns();
    void VerifyKind(TFindingKind Kind, const QString& Code = "ENU",
                    std::optional<TSeverity> Severity = std::nullopt);
};

void TestTextChecks::AddPairColumns() {
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<QString>("translated");
    QTest::addColumn<bool>("finding");
}

// The translation gives a finding of Kind exactly when the row says so, with its severity
// (the kind's own unless Severity says otherwise).
void TestTextChecks::VerifyKind(TFindingKind Kind, const QString& Code,
                                std::optional<TSeverity> Severity) {
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
        QCOMPARE(Hit->Severity, Severity.value_or(SeverityOf(Kind)));
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
    QTest::newRow("dash before a word") << "Unknown %-encoding" << QStringList{};
    QTest::newRow("left-justified with width") << "[%-8s]" << QStringList{"%-8s"};
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
    // printf hands out its arguments in turn: swapped conversions read the wrong argument.
    QTest::newRow("sequential reordered") << "%s in %d"
                                          << "%d: %s" << true;
    QTest::newRow("printf arguments swapped")
        << "%s job #%d" << QString::fromUtf8("tâche n°%d de %s") << true;
    QTest::newRow("same type reordered") << "%s to %s"
                                         << "%s vers %s" << false;
    QTest::newRow("positions for sequential")
        << "%s job #%d" << QString::fromUtf8("tâche n°%2$d de %1$s") << false;
    QTest::newRow("positional reordered") << "%1$s of %2$s"
                                          << "%2$s von %1$s" << false;
    QTest::newRow("positional swapped, French") << "%1$s on %2$s"
                                                << "%2$s sur %1$s" << false;
    QTest::newRow("windows inserts moved") << "Copy %1 to %2"
                                           << "%2 : copie de %1" << false;
    QTest::newRow("dash before a word") << "Unknown %-encoding"
                                        << "%-codage inconnu" << false;
    QTest::newRow("localised date format") << "%m/%d/%Y %I:%M %p"
                                           << "%d.%m.%Y %H:%M" << false;
    QTest::newRow("date fields reordered")
        << "%b %d, %Y" << QString::fromUtf8("%Y年%m月%d日") << false;
    QTest::newRow("date format lost") << "%d/%m/%Y"
                                      << "date" << true;
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
    // A & at the end underlines nothing, also when the default has one there.
    QTest::newRow("accelerator ends the text") << "Open&"
                                               << "Ouvrir&" << true;
    QTest::newRow("dangling & for none") << "Open"
                                         << "Ouvrir&" << true;
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
    QTest::addColumn<QString>("severity"); // empty: the kind's own
    const QString W;
    const QString Info = "info";
    QTest::newRow("both period") << "Done."
                                 << "Fertig." << false << "DEU" << W;
    // A full stop added or dropped is a matter of style from one language to the next.
    QTest::newRow("period dropped") << "Done."
                                    << "Fertig" << true << "DEU" << Info;
    QTest::newRow("period added to a description")
        << "Shows the hidden files"
        << "Zeigt die versteckten Dateien." << true << "DEU" << Info;
    QTest::newRow("abbreviation") << "Nov"
                                  << "nov." << false << "FRA" << W;
    QTest::newRow("colon for period") << "Name."
                                      << "Name:" << true << "DEU" << W;
    QTest::newRow("ellipsis dots and character")
        << "Open..." << QString::fromUtf8("Öffnen…") << false << "DEU" << W;
    QTest::newRow("ellipsis is not a period") << "Open..."
                                              << "Öffnen." << true << "DEU" << W;
    QTest::newRow("question to exclamation") << "Quit?"
                                             << "Beenden!" << true << "DEU" << W;
    QTest::newRow("trailing blank ignored") << "Name: "
                                            << "Name:  " << false << "DEU" << W;
    QTest::newRow("full-width colon")
        << "Name:" << QString::fromUtf8("名前：") << false << "JPN" << W;
    QTest::newRow("ideographic full stop")
        << "Done." << QString::fromUtf8("完了。") << false << "JPN" << W;
    QTest::newRow("full-width full stop")
        << "Done." << QString::fromUtf8("完成．") << false << "CHS" << W;
    QTest::newRow("blank before colon, German") << "Name:"
                                                << "Name :" << true << "DEU" << W;
    QTest::newRow("blank before colon, French") << "Name:"
                                                << "Nom :" << false << "FRA" << W;
    QTest::newRow("no-break blank before ?, French")
        << "Quit?" << QString::fromUtf8("Quitter\u00a0?") << false << "FRA" << W;
    QTest::newRow("narrow no-break blank before !, French")
        << "Stop!" << QString::fromUtf8("Arrêt\u202f!") << false << "FRA" << W;
    QTest::newRow("blank before !, French Canadian") << "Stop!"
                                                     << "Arrêt !" << false << "FRC" << W;
    QTest::newRow("French still needs the kind") << "Name:"
                                                 << "Nom ?" << true << "FRA" << W;
    QTest::newRow("blank in the default too") << "Name :"
                                              << "Name :" << false << "DEU" << W;
    QTest::newRow("Greek question mark")
        << "Quit?" << QString::fromUtf8("Έξοδος;") << false << "ELL" << W;
    QTest::newRow("Greek question mark character")
        << "Quit?" << QString::fromUtf8("Έξοδος\u037e") << false << "ELL" << W;
    QTest::newRow("semicolon elsewhere") << "Quit?"
                                         << "Quit;" << true << "DEU" << W;
    QTest::newRow("Arabic question mark")
        << "Quit?" << QString::fromUtf8("خروج؟") << false << "ARA" << W;
    // German and Dutch ask where the English states.
    QTest::newRow("German question for a statement")
        << "Whether to save the changes" << QString::fromUtf8("Soll gespeichert werden?") << false
        << "DEU" << W;
    QTest::newRow("Dutch question for a statement")
        << "Whether to save the changes."
        << "Wijzigingen opslaan?" << false << "NLD" << W;
    QTest::newRow("French question for a statement")
        << "Whether to save the changes"
        << "Enregistrer les modifications ?" << true << "FRA" << W;
    QTest::newRow("German statement for a question") << "Save the changes?"
                                                     << "Speichern." << true << "DEU" << W;
    QTest::newRow("Spanish opening mark")
        << "Quit?" << QString::fromUtf8("¿Salir?") << false << "ESP" << W;
    QTest::newRow("Spanish question without opening mark") << "Quit?"
                                                           << "Salir?" << true << "ESP" << W;
    QTest::newRow("Spanish exclamation without opening mark")
        << "Done!" << QString::fromUtf8("¡Hecho!") << false << "ESN" << W;
}

void TestTextChecks::punctuation() {
    QFETCH(QString, code);
    QFETCH(QString, severity);
    std::optional<TSeverity> Severity;
    if (severity == "info")
        Severity = TSeverity::Info;
    VerifyKind(TFindingKind::Punctuation, code, Severity);
}

void TestTextChecks::untranslated_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("finding");
    QTest::newRow("a word") << "Open"
                            << "FRA" << true;
    QTest::newRow("a sentence") << "Save the file."
                                << "DEU" << true;
    // Codes and names that stay the same in every language.
    QTest::newRow("paper code") << "A7"
                                << "FRA" << false;
    QTest::newRow("printer code") << "SRA0"
                                  << "DEU" << false;
    QTest::newRow("key name") << "KP_Enter"
                              << "FRA" << false;
    QTest::newRow("key name with lock") << "Num_Lock"
                                        << "DEU" << false;
    QTest::newRow("acronym") << "SVG"
                             << "FRA" << false;
    QTest::newRow("shell name") << "Z Shell"
                                << "FRA" << false;
    QTest::newRow("file extension") << "*.png"
                                    << "PLK" << false;
    QTest::newRow("number and unit") << "12 px"
                                     << "DEU" << false;
    QTest::newRow("unit") << "MHz"
                          << "RUS" << false;
    QTest::newRow("percentage") << "100 %"
                                << "FRA" << false;
    QTest::newRow("camel-case name") << "PostScript"
                                     << "ITA" << false;
    QTest::newRow("accelerated acronym") << "&PDF"
                                         << "FRA" << false;
    // The language's own words spelt the same.
    QTest::newRow("French Volume") << "Volume"
                                   << "FRA" << false;
    QTest::newRow("Volume is no German word") << "Volume"
                                              << "DEU" << true;
    QTest::newRow("German Status with a colon") << "Status:"
                                                << "DEU" << false;
    QTest::newRow("a kept word beside one to translate") << "Volume up"
                                                         << "FRA" << true;
}

void TestTextChecks::untranslated() {
    QFETCH(QString, text);
    QFETCH(QString, code);
    QFETCH(bool, finding);
    const TSameWords Same = TSameWords::Shipped(code.toStdString());
    TCheckOptions Options;
    Options.LanguageCode = code.toStdString();
    Options.SameWords = &Same;
    const std::vector<TFinding> Findings = CheckTranslation(text, text, Options);
    QCOMPARE(!Findings.empty() && Findings[0].Kind == TFindingKind::Untranslated, finding);
}

// The project's list in the program folder adds to the shipped one, for its language only.
void TestTextChecks::projectSameWords() {
    QTemporaryDir Home;
    QVERIFY(QDir(Home.path()).mkpath("Dictionary"));
    const std::string Dir = Home.path().toStdString() + "/";
    QFile List(QString::fromStdString(ProjectSameWordsFile(Dir, "FRA")));
    QVERIFY(List.open(QIODevice::WriteOnly));
    List.write("# the product's names\nKavrino Studio\nTimeline\n");
    List.close();
    const TSameWords French = TSameWords::For(Dir, "FRA");
    QVERIFY(French.Covers("Kavrino Studio"));
    QVERIFY(French.Covers("Timeline"));
    QVERIFY(French.Covers("Volume")); // the shipped list stays
    QVERIFY(!French.Covers("Open"));
    QVERIFY(!French.Covers("# the product's names"));
    QVERIFY(!TSameWords::For(Dir, "DEU").Covers("Timeline"));
}

void TestTextChecks::numbers_data() {
    AddPairColumns();
    QTest::newRow("kept") << "3 files"
                          << "3 fichiers" << false;
    QTest::newRow("lost") << "Retry in 5 seconds"
                          << "Réessayer dans quelques secondes" << true;
    QTest::newRow("changed") << "Level 2"
                             << "Niveau 3" << true;
    QTest::newRow("group marks of the language")
        << "1,000 items" << QString::fromUtf8("1\u202f000 éléments") << false;
    QTest::newRow("decimal comma") << "1.5 MB"
                                   << "1,5 Mo" << false;
    QTest::newRow("Arabic-Indic digits") << "3 files" << QString::fromUtf8("٣ ملفات") << false;
    QTest::newRow("digits of placeholders") << "%1 of %2"
                                            << "%2 sur %1" << false;
    QTest::newRow("width of a specifier") << "%5.2f MB"
                                          << "%5.2f Mo" << false;
    QTest::newRow("reordered") << "From 1 to 10"
                               << "Von 10 bis 1" << false;
    QTest::newRow("one of two lost") << "Between 1 and 10"
                                     << "Jusqu'à 10" << true;
}

void TestTextChecks::numbers() {
    VerifyKind(TFindingKind::Numbers);
}

void TestTextChecks::doubledWords_data() {
    AddPairColumns();
    QTest::addColumn<QString>("code");
    QTest::newRow("doubled article") << "Open the file"
                                     << "Ouvrir le le fichier" << true << "FRA";
    QTest::newRow("case differs") << "The file"
                                  << "Le le fichier" << true << "FRA";
    QTest::newRow("none") << "Open the file"
                          << "Ouvrir le fichier" << false << "FRA";
    QTest::newRow("French reflexive") << "You sign in"
                                      << "Vous vous connectez" << false << "FRA";
    QTest::newRow("comma between") << "Yes, yes"
                                   << "Oui, oui" << false << "FRA";
    QTest::newRow("numbers") << "1 1"
                             << "1 1 x" << false << "DEU";
    QTest::newRow("another word than the default doubles") << "Had had"
                                                           << "Hatte hatte" << true << "DEU";
    QTest::newRow("the default's own") << "that that"
                                       << "that that x" << false << "DEU";
}

void TestTextChecks::doubledWords() {
    QFETCH(QString, code);
    VerifyKind(TFindingKind::DoubledWords, code);
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
    QTest::newRow("new kinds") << "spelling,doubled-words"
                               << int(CheckBit(TFindingKind::Spelling) |
                                      CheckBit(TFindingKind::DoubledWords))
                               << "";
    QTest::newRow("unknown") << "placeholders,grammar" << 0 << "unknown check \"grammar\"";
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
