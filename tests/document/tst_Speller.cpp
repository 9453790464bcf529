#include "document/Speller.h"

#include <QtTest>

using namespace kav;

// Spelling with the dictionaries Debian installs (scripts/install-deps.sh puts them there).
class TestSpeller : public QObject {
    Q_OBJECT
private slots:
    void misspeltWords_data();
    void misspeltWords();
    void suggestions();
    void projectDictionary();
    void languageWithoutDictionary();

private:
    std::unique_ptr<TSpeller> SpellerOf(const QString& Code, const std::string& Dir = {});
};

std::unique_ptr<TSpeller> TestSpeller::SpellerOf(const QString& Code, const std::string& Dir) {
    std::unique_ptr<TSpeller> S = TSpeller::ForLanguage(Code.toStdString(), Dir);
    if (!S) {
        const QByteArray Why = "no dictionary for " + Code.toUtf8() + " in " +
                               TSpeller::DictionaryFolders().join(", ").toUtf8();
        if (qEnvironmentVariableIntValue("KAV_REQUIRE_PEERS") == 1)
            qFatal("%s", Why.constData());
        QTest::qSkip(Why.constData(), __FILE__, __LINE__);
    }
    return S;
}

void TestSpeller::misspeltWords_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("defaultText");
    QTest::addColumn<QString>("translated");
    QTest::addColumn<QStringList>("misspelt");
    QTest::newRow("French right") << "FRA"
                                  << "Open the file"
                                  << "Ouvrir le fichier" << QStringList{};
    QTest::newRow("French typo") << "FRA"
                                 << "Open the file"
                                 << "Ouvrir le fihcier" << QStringList{"fihcier"};
    QTest::newRow("French elision")
        << "FRA"
        << "Name of the object" << QString::fromUtf8("Nom de l’objet") << QStringList{};
    QTest::newRow("German") << "DEU"
                            << "Open file" << QString::fromUtf8("Datei öfnen")
                            << QStringList{"öfnen"};
    QTest::newRow("Russian") << "RUS"
                             << "Open file" << QString::fromUtf8("Открыть фйал")
                             << QStringList{QString::fromUtf8("фйал")};
    // The Polish and Greek dictionaries are not in UTF-8: the words go over in theirs.
    QTest::newRow("Latin names in a Russian text")
        << "RUS"
        << "Open in the browser" << QString::fromUtf8("Открыть в Firefox") << QStringList{};
    QTest::newRow("Polish, ISO 8859-2")
        << "PLK"
        << "Open the file" << QString::fromUtf8("Otwórz pilk źle") << QStringList{"pilk"};
    QTest::newRow("Greek, ISO 8859-7") << "ELL"
                                       << "Open file" << QString::fromUtf8("Άνοιγμα αρχίεου")
                                       << QStringList{QString::fromUtf8("αρχίεου")};
    // What is no word of the language is not judged.
    QTest::newRow("words of the default") << "FRA"
                                          << "Open Kavrino"
                                          << "Ouvrir Kavrino" << QStringList{};
    QTest::newRow("accelerator inside a word") << "FRA"
                                               << "&Open the file"
                                               << "Ouv&rir le fichier" << QStringList{};
    QTest::newRow("misspelt word with its accelerator")
        << "FRA"
        << "&Open the file"
        << "Ouv&rri le fichier" << QStringList{"Ouv&rri"};
    QTest::newRow("placeholders") << "FRA"
                                  << "%s files, %1!d! folders"
                                  << "%s fichiers, %1!d! dossiers" << QStringList{};
    QTest::newRow("identifiers and codes")
        << "DEU"
        << "Key"
        << "Taste KP_Enter, SRA0, SVG, PostScript" << QStringList{};
    // German borrows and compounds: a loan built on the English is not judged, a compound
    // with a hyphen part by part, an abbreviation with its full stop.
    QTest::newRow("loan verb built on the English") << "DEU"
                                                    << "Check out the document"
                                                    << "Dokument auschecken" << QStringList{};
    QTest::newRow("compound with an acronym") << "DEU"
                                              << "ZIP archive"
                                              << "ZIP-Archiv" << QStringList{};
    QTest::newRow("compound with a typo") << "DEU"
                                          << "ZIP archive"
                                          << "ZIP-Arhciv" << QStringList{"Arhciv"};
    QTest::newRow("typo of an English-like word")
        << "FRA"
        << "New Document..."
        << "Nouveau documnet..." << QStringList{"documnet"};
    QTest::newRow("participle built on the English") << "DEU"
                                                     << "Checked out by:"
                                                     << "Ausgecheckt von:" << QStringList{};
    QTest::newRow("abbreviation") << "DEU"
                                  << "Minutes"
                                  << "Min." << QStringList{};
    QTest::newRow("file name") << "FRA"
                               << "Read the file"
                               << "Lire lisezmoi.txt" << QStringList{};
}

void TestSpeller::misspeltWords() {
    QFETCH(QString, code);
    QFETCH(QString, defaultText);
    QFETCH(QString, translated);
    QFETCH(QStringList, misspelt);
    const std::unique_ptr<TSpeller> S = SpellerOf(code);
    if (!S)
        return;
    QStringList Found;
    for (const TSpellWord& W : MisspeltWords(*S, defaultText, translated))
        Found << translated.mid(W.Span.Start, W.Span.Length);
    QCOMPARE(Found, misspelt);
    const std::optional<TFinding> F = CheckSpelling(*S, defaultText, translated);
    QCOMPARE(F.has_value(), !misspelt.isEmpty());
    if (F) {
        QCOMPARE(F->Kind, TFindingKind::Spelling);
        QCOMPARE(F->Severity, TSeverity::Warning);
    }
}

void TestSpeller::suggestions() {
    const std::unique_ptr<TSpeller> S = SpellerOf("PLK");
    if (!S)
        return;
    // Back from the dictionary's code page.
    QVERIFY(S->Suggestions(QString::fromUtf8("zrodło")).contains(QString::fromUtf8("źródło")));
}

void TestSpeller::projectDictionary() {
    QTemporaryDir Home;
    const std::string Dir = Home.path().toStdString() + "/";
    std::unique_ptr<TSpeller> S = SpellerOf("FRA", Dir);
    if (!S)
        return;
    QVERIFY(!S->Correct("Kavrinoscope"));
    std::string Error;
    QVERIFY2(S->AddToProject("Kavrinoscope", Error), Error.c_str());
    QVERIFY(S->Correct("Kavrinoscope"));
    // Kept in the program folder: the next session knows the word, another language not.
    QVERIFY(QFile::exists(QString::fromStdString(ProjectDictionaryFile(Dir, "FRA"))));
    QVERIFY(SpellerOf("FRA", Dir)->Correct("Kavrinoscope"));
    QVERIFY(!SpellerOf("DEU", Dir)->Correct("Kavrinoscope"));
}

void TestSpeller::languageWithoutDictionary() {
    QVERIFY(!TSpeller::ForLanguage("QQQ", {}));
    QVERIFY(!TSpeller::ForLanguage("", {}));
}

QTEST_APPLESS_MAIN(TestSpeller)
#include "tst_Speller.moc"
