#include "DocumentFixture.h"
#include "TestFiles.h"
#include "document/Concordance.h"
#include "document/TmxReader.h"
#include "document/TranslationMemory.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>

using namespace kav;

namespace {

// An item line as the tool writes it: the name padded to its field, the text, the braces.
QByteArray ItemLine(const QByteArray& Name, const QByteArray& Text, const QByteArray& Braces) {
    return Name.leftJustified(70, ' ') + ", \"" + Text + "\"  " + Braces + "\r\n";
}

QByteArray DefaultLine(const QByteArray& Name, const QByteArray& Text) {
    return ItemLine(Name, Text, "{100} {Arial} {} {8}");
}

QByteArray TranslatedLine(const QByteArray& Name, const QByteArray& Text) {
    return ItemLine(Name, Text, "{16777215}");
}

QByteArray Tmx(const QByteArray& Units) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<tmx version=\"1.4\">\n"
           "<header srclang=\"en-US\" datatype=\"plaintext\" segtype=\"sentence\" "
           "adminlang=\"en\" creationtool=\"x\" creationtoolversion=\"1\" o-tmf=\"x\"/>\n"
           "<body>\n" +
           Units + "</body>\n</tmx>\n";
}

QByteArray Unit(const QByteArray& English, const QByteArray& Lang, const QByteArray& Target) {
    return "<tu><tuv xml:lang=\"en-US\"><seg>" + English + "</seg></tuv><tuv xml:lang=\"" + Lang +
           "\"><seg>" + Target + "</seg></tuv></tu>\n";
}

} // namespace

class TestTranslationMemory : public QObject {
    Q_OBJECT
private slots:
    void score_data();
    void score();
    void changedWords_data();
    void changedWords();
    void lookupRanksFiltersAndLimits();
    void fuzzyIndexFindsWhatEveryPairScores();
    void tmxSegments_data();
    void tmxSegments();
    void damagedTmxNamesFileAndLine();
    void buildsFromTheProgramFolder();
    void concordanceListsItemsThenMemory();
};

void TestTranslationMemory::score_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<int>("score");
    QTest::newRow("exact") << "Open the file"
                           << "Open the file" << 100;
    QTest::newRow("case") << "Open the file"
                          << "Open The File" << 99;
    QTest::newRow("punctuation") << "Open the file..."
                                 << "Open the file" << 98;
    QTest::newRow("accelerator mark") << "&Open"
                                      << "Open" << 98;
    QTest::newRow("blanks") << "Open  the file"
                            << "Open the file" << 98;
    QTest::newRow("case and punctuation") << "Open the file:"
                                          << "open the file" << 97;
    QTest::newRow("one word changed of five") << "Save the current document now"
                                              << "Save the current folder now" << 80;
    QTest::newRow("one word changed of three") << "Open the file"
                                               << "Open the folder" << 66;
    QTest::newRow("one word added to four") << "Close all open windows"
                                            << "Close all open windows now" << 80;
    QTest::newRow("neighbours swapped of five") << "Save the current document now"
                                                << "Save the document current now" << 80;
    QTest::newRow("two words swapped") << "File name"
                                       << "name File" << 50;
    QTest::newRow("reordered far apart") << "copy the page to the printer"
                                         << "copy the printer to the page" << 66;
    QTest::newRow("one word changed of twenty caps below case")
        << "a b c d e f g h i j k l m n o p q r s t"
        << "a b c d e f g h i j k l m n o p q r s u" << 95;
    QTest::newRow("two hundred words, one changed")
        << QString("word ").repeated(199) + "end" << QString("word ").repeated(199) + "stop" << 96;
    QTest::newRow("nothing shared") << "Print"
                                    << "Delete" << 0;
    QTest::newRow("punctuation only, different") << "..."
                                                 << "!" << 0;
    QTest::newRow("non-Latin case") << "Ошибка файла"
                                    << "ОШИБКА ФАЙЛА" << 99;
}

void TestTranslationMemory::score() {
    QFETCH(QString, text);
    QFETCH(QString, candidate);
    QFETCH(int, score);
    QCOMPARE(MatchScore(text, candidate), score);
    QCOMPARE(MatchScore(candidate, text), score);
}

void TestTranslationMemory::changedWords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<QStringList>("changed"); // the words of candidate shown as differences
    QTest::newRow("same") << "Open the file"
                          << "open the file!" << QStringList();
    QTest::newRow("one changed") << "Open the file"
                                 << "Open the folder" << QStringList{"folder"};
    QTest::newRow("one more") << "Open file"
                              << "Open the file now" << QStringList{"the", "now"};
    QTest::newRow("one fewer") << "Open the file now"
                               << "Open file" << QStringList();
    QTest::newRow("swapped") << "Save the current document"
                             << "Save the document current" << QStringList{"current"};
    QTest::newRow("accelerator") << "Save file"
                                 << "&Save all" << QStringList{"all"};
}

void TestTranslationMemory::changedWords() {
    QFETCH(QString, text);
    QFETCH(QString, candidate);
    QFETCH(QStringList, changed);
    QStringList Got;
    for (const TTextSpan& Span : ChangedWords(text, candidate))
        Got << candidate.mid(Span.Start, Span.Length);
    QCOMPARE(Got, changed);
}

void TestTranslationMemory::lookupRanksFiltersAndLimits() {
    TTranslationMemory M;
    M.Add({"Save the current folder now", "A", "a.str", "Txt_A"});
    M.Add({"Save the current document now", "B", "a.str", "Txt_B"});
    M.Add({"save the current document now", "C", "b.str", "Txt_B"});
    M.Add({"Save the current document now", "B", "b.str", "Txt_B"}); // the same pair again
    M.Add({"Save the current document now", "D", "c.tmx", {}});
    M.Add({"Print", "E", "a.str", "Txt_E"});
    M.Add({"", "F", "a.str", "Txt_F"});
    QCOMPARE(M.Count(), 5);

    const std::vector<TMemoryMatch> All = M.Lookup("Save the current document now");
    std::vector<std::pair<QString, int>> Got;
    for (const TMemoryMatch& Match : All)
        Got.emplace_back(M.Pair(Match.Pair).Target, Match.Score);
    const std::vector<std::pair<QString, int>> Expected{
        {"B", 100}, {"D", 100}, {"C", 99}, {"A", 80}};
    QCOMPARE(Got, Expected);
    QCOMPARE(M.Pair(All[0].Pair).Origin, std::string("a.str"));
    QCOMPARE(M.Lookup("Save the current document now", 2).size(), size_t(2));
    QCOMPARE(M.Lookup("Save the current document now", 5, 100).size(), size_t(2));
    QCOMPARE(M.ExactTranslation("Save the current document now"), QString("B"));
    QVERIFY(M.ExactTranslation("Save the current document").isNull());
    QVERIFY(M.Lookup("Delete").empty());
}

// The index looks up only the rarest words of a query: on random texts over a small
// vocabulary it must find exactly the pairs that scoring every pair finds.
void TestTranslationMemory::fuzzyIndexFindsWhatEveryPairScores() {
    QRandomGenerator Random(20261210);
    // Cases and letters beyond ASCII too: a text with one is folded another way than the rest.
    const QStringList Vocabulary{
        "the",         "file",           "open",  "save",     "a",
        "of",          "folder",         "print", "document", "now",
        "all",         "close",          "FILE",  "File",     "\u00c9diter",
        "\u00e9DITER", "Gr\u00f6\u00dfe"};
    auto Text = [&] {
        QStringList Words;
        const int N = 1 + Random.bounded(7);
        for (int I = 0; I < N; ++I)
            Words << Vocabulary[Random.bounded(Vocabulary.size())];
        return Words.join(' ');
    };
    TTranslationMemory M;
    for (int I = 0; I < 3000; ++I)
        M.Add({Text(), QString::number(I), "a.str", {}});
    for (int Query = 0; Query < 300; ++Query) {
        const QString English = Text();
        std::vector<std::pair<int, int>> Expected; // (-score, pair) of the best per target
        for (int I = 0; I < M.Count(); ++I)
            if (const int Score = MatchScore(English, M.Pair(I).Source); Score >= MinFuzzyScore)
                Expected.emplace_back(-Score, I);
        std::sort(Expected.begin(), Expected.end());
        std::vector<std::pair<int, int>> Got;
        for (const TMemoryMatch& Match : M.Lookup(English, M.Count()))
            Got.emplace_back(-Match.Score, Match.Pair);
        QVERIFY2(Got == Expected, qPrintable(English));
    }
}

void TestTranslationMemory::tmxSegments_data() {
    QTest::addColumn<QByteArray>("units");
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("target"); // empty: no unit taken
    QTest::newRow("region tag") << Unit("Open", "fr-FR", "Ouvrir") << "Open"
                                << "Ouvrir";
    QTest::newRow("upper-case tag") << Unit("Open", "FR", "Ouvrir") << "Open"
                                    << "Ouvrir";
    QTest::newRow("underscore tag") << Unit("Open", "fr_CA", "Ouvrir") << "Open"
                                    << "Ouvrir";
    QTest::newRow("three-letter tag") << Unit("Open", "fra", "Ouvrir") << "Open"
                                      << "Ouvrir";
    QTest::newRow("other language") << Unit("Open", "de-DE", "Öffnen") << ""
                                    << "";
    QTest::newRow("older lang attribute")
        << QByteArray("<tu><tuv lang=\"EN\"><seg>Open</seg></tuv>"
                      "<tuv lang=\"FR\"><seg>Ouvrir</seg></tuv></tu>")
        << "Open"
        << "Ouvrir";
    QTest::newRow("inline codes left out, hi kept")
        << Unit("<bpt i=\"1\">&lt;b&gt;</bpt>Bold<ept i=\"1\">&lt;/b&gt;</ept> <hi>text</hi>", "fr",
                "<ph>{0}</ph>Texte <it pos=\"begin\">x</it>gras")
        << "Bold text"
        << "Texte gras";
    QTest::newRow("entities and notes")
        << QByteArray("<tu tuid=\"1\"><prop type=\"x\">p</prop><note>n</note>"
                      "<tuv xml:lang=\"en\"><note>m</note><seg>Fish &amp; chips</seg></tuv>"
                      "<tuv xml:lang=\"fr\"><seg>Poisson &amp; frites</seg></tuv></tu>")
        << "Fish & chips"
        << "Poisson & frites";
    QTest::newRow("empty target") << Unit("Open", "fr", "") << ""
                                  << "";
}

void TestTranslationMemory::tmxSegments() {
    QFETCH(QByteArray, units);
    QFETCH(QString, source);
    QFETCH(QString, target);
    const TTmxRead Read =
        ReadTmx(Tmx(units + Unit("Next", "fr", "Suivant")), "m.tmx", TmxLanguageTags("FRA"));
    QCOMPARE(Read.Error, std::string());
    QCOMPARE(Read.Units.size(), size_t(target.isEmpty() ? 1 : 2));
    if (!target.isEmpty()) {
        QCOMPARE(Read.Units[0].Source, source);
        QCOMPARE(Read.Units[0].Target, target);
    }
    QCOMPARE(Read.Units.back().Target, QString("Suivant"));
}

void TestTranslationMemory::damagedTmxNamesFileAndLine() {
    const TTmxRead Read =
        ReadTmx(Tmx(Unit("Open", "fr", "Ouvrir") + "<tu><tuv>\n</tu>"), "/x/m.tmx", {"fr"});
    QVERIFY2(Read.Error.find("in /x/m.tmx, line 7") != std::string::npos, Read.Error.c_str());
    QCOMPARE(ReadTmx("<html/>", "/x/p.tmx", {"fr"}).Error,
             std::string("This is not a TMX file\nin /x/p.tmx, line 1"));
    QCOMPARE(TmxLanguageTags("DEU"), QStringList({"de", "deu", "ger"}));
    QCOMPARE(TmxLanguageTags("PLK"), QStringList({"pl", "pol"}));
    QCOMPARE(TmxLanguageTags("CHS").value(0), QString("zh"));
}

void TestTranslationMemory::buildsFromTheProgramFolder() {
    QTemporaryDir Home;
    const QString Dir = Home.path() + "/";
    QVERIFY(QDir(Dir).mkpath("Default") && QDir(Dir).mkpath("Language") &&
            QDir(Dir).mkpath("Memory"));
    QVERIFY(WriteFile(Dir + "Default/Kavr_ENU.str",
                      "// main\r\n" + DefaultLine("Txt_OPEN", "Open") +
                          DefaultLine("Txt_SAVE", "Save") + DefaultLine("Txt_NEXT", "Next")));
    QVERIFY(WriteFile(Dir + "Default/Kavr_User_ENU.str",
                      DefaultLine("Txt_PRINT", "Print") + DefaultLine("Txt_OPEN", "Open it")));
    QVERIFY(WriteFile(Dir + "Language/Kavr_FRA.str",
                      TranslatedLine("Txt_OPEN", "Ouvrir") +
                          TranslatedLine("Txt_SAVE", "Save") + // untranslated
                          TranslatedLine("Txt_NEXT", "") + TranslatedLine("Txt_GONE", "Parti")));
    QVERIFY(WriteFile(Dir + "Language/Kavr_User_FRA.str",
                      TranslatedLine("Txt_PRINT", "Imprimer") + TranslatedLine("Txt_OPEN", "L\xe9"
                                                                                           "gal")));
    QVERIFY(WriteFile(Dir + "Language/Kavr_DEU.str", TranslatedLine("Txt_OPEN", "Öffnen")));
    QVERIFY(WriteFile(Dir + "Memory/agency.TMX",
                      Tmx(Unit("Save", "fr-FR", "Enregistrer") + Unit("Open", "fr", "Ouvrir"))));
    QVERIFY(WriteFile(Dir + "Memory/cut.tmx", Tmx(Unit("Stop", "fr", "Arr\xc3\xaat")).left(300)));
    QVERIFY(WriteFile(Dir + "Memory/notes.txt", "Quit = Quitter"));

    const TMemoryBuild Build = BuildTranslationMemory(Dir.toStdString(), "fra");
    QStringList Got;
    for (int I = 0; I < Build.Memory.Count(); ++I) {
        const TMemoryPair& P = Build.Memory.Pair(I);
        Got << P.Source + "=" + P.Target + " " + QString::fromStdString(P.Origin + " " + P.Name);
    }
    // Names as the reader gives them, without their "Txt_".
    QCOMPARE(
        Got,
        QStringList({"Open=Ouvrir Kavr_FRA.str OPEN", "Print=Imprimer Kavr_User_FRA.str PRINT",
                     "Open it=L\u00e9gal Kavr_User_FRA.str OPEN", "Save=Enregistrer agency.TMX "}));
    QCOMPARE(Build.Files, 3);
    QCOMPARE(Build.Problems.size(), size_t(1));
    QVERIFY2(Build.Problems[0].find("cut.tmx, line") != std::string::npos,
             Build.Problems[0].c_str());

    // The file the window holds gives its items as the window has them, in its own place.
    TOpenFileTexts Open((Dir + "Language/Kavr_User_FRA.str").toStdString());
    Open.Add("PRINT", "Print", "Imprimer tout");
    Open.Add("OPEN", "Open it", "Open it"); // untranslated
    Open.Add("QUIT", "Quit", "Quitter");
    const TMemoryBuild Held = BuildTranslationMemory(Dir.toStdString(), "FRA", &Open);
    QStringList HeldPairs;
    for (int I = 0; I < Held.Memory.Count(); ++I)
        HeldPairs << Held.Memory.Source(I).toString() + "=" + Held.Memory.Target(I).toString() +
                         " " + QString::fromStdString(Held.Memory.Origin(I));
    QCOMPARE(HeldPairs,
             QStringList({"Open=Ouvrir Kavr_FRA.str", "Print=Imprimer tout Kavr_User_FRA.str",
                          "Quit=Quitter Kavr_User_FRA.str", "Save=Enregistrer agency.TMX"}));
    QCOMPARE(Held.Files, 3);
    // A build stopped before it began reads nothing.
    std::stop_source Stopped;
    Stopped.request_stop();
    QCOMPARE(
        BuildTranslationMemory(Dir.toStdString(), "FRA", &Open, Stopped.get_token()).Memory.Count(),
        0);

    const TMemoryBuild Russian = BuildTranslationMemory(Dir.toStdString(), "RUS");
    // No file of the language, and the agency's memory has no Russian.
    QCOMPARE(Russian.Memory.Count(), 0);
    QCOMPARE(Russian.Files, 1);
}

void TestTranslationMemory::concordanceListsItemsThenMemory() {
    TFixture F;
    F.Write("Default/Kavr_ENU.str", Item("OPEN", "Open the file", " {100} {Arial} {} {8}") +
                                        Item("SAVE", "Save", " {100} {Arial} {} {8}") +
                                        Item("CLOSE", "Close", " {100} {Arial} {} {8}"));
    F.Write("Language/Kavr_FRA.str", Item("OPEN", "Ouvrir le fichier") +
                                         Item("SAVE", "Enregistrer le FICHIER") +
                                         Item("CLOSE", "Close"));
    F.Write("Language/Kavr_FRA_old.str", Item("OPEN", "Ouvrir un fichier"));
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    const TMemoryBuild Build = BuildTranslationMemory(F.State.FProgramDir, "FRA");
    QCOMPARE(Build.Memory.Count(), 3);
    auto Search = [&](const QString& Phrase) {
        QStringList Got;
        for (const TConcordanceHit& Hit :
             SearchConcordance(Phrase, F.Doc.Items(), 1252, &Build.Memory, "Kavr_FRA.str"))
            Got << QString::fromStdString(Hit.Where) + ": " + Hit.English + " = " + Hit.Translation;
        return Got;
    };
    QCOMPARE(Search("fichier"),
             QStringList({"item 1 OPEN: Open the file = Ouvrir le fichier",
                          "item 2 SAVE: Save = Enregistrer le FICHIER",
                          "Kavr_FRA_old.str: Open the file = Ouvrir un fichier"}));
    QCOMPARE(Search(" the FILE "), QStringList({"item 1 OPEN: Open the file = Ouvrir le fichier",
                                                "Kavr_FRA_old.str: Open the file = Ouvrir un "
                                                "fichier"}));
    QCOMPARE(Search("clo"), QStringList({"item 3 CLOSE: Close = Close"}));
    QVERIFY(Search("  ").isEmpty());
}

QTEST_GUILESS_MAIN(TestTranslationMemory)
#include "tst_TranslationMemory.moc"
