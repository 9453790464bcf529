#include "KavtoolRun.h"

#include <QtTest>

using namespace kav;

// Runs the real kavtool export-rtf, import-rtf and fill on a program folder made of the
// shipped sample files.
class TestKavtoolRtf : public QObject {
    Q_OBJECT
private slots:
    void init();
    void exportFillImportRestoresTheFile_data();
    void exportFillImportRestoresTheFile();
    void exportNamesFollowSoftwareAndLanguage_data();
    void exportNamesFollowSoftwareAndLanguage();
    void importTakesOnlyTheRange();
    void importTakesEveryItemByDefault();
    void fillEmptiesEveryTranslationInPlace();
    void refusedItemsAreAFinding();
    void refusals_data();
    void refusals();

private:
    using TRun = TKavtoolRun;
    TRun Run(const QStringList& Args);
    QString Home() const { return FDir->path(); }
    QByteArray Read(const QString& Relative) const;
    // The quoted texts of a written file's item lines.
    QList<QByteArray> Texts(const QString& Relative) const;

    std::unique_ptr<QTemporaryDir> FDir;
};

void TestKavtoolRtf::init() {
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(CopySampleFolders(QStringLiteral(KAV_SAMPLE_DATA), Home()));
    QDir(Home()).mkpath("work");
}

TestKavtoolRtf::TRun TestKavtoolRtf::Run(const QStringList& Args) {
    return RunKavtool(QStringLiteral(KAVTOOL_PATH), Home(), Args);
}

QByteArray TestKavtoolRtf::Read(const QString& Relative) const {
    QFile F(Home() + "/" + Relative);
    return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

QList<QByteArray> TestKavtoolRtf::Texts(const QString& Relative) const {
    QList<QByteArray> Result;
    for (const QByteArray& Line : Read(Relative).split('\n')) {
        const qsizetype Open = Line.indexOf('"');
        const qsizetype Close = Line.lastIndexOf('"');
        if (Line.startsWith("Txt_") && Open >= 0 && Close > Open)
            Result << Line.mid(Open + 1, Close - Open - 1);
    }
    return Result;
}

void TestKavtoolRtf::exportFillImportRestoresTheFile_data() {
    QTest::addColumn<QString>("code");
    QTest::newRow("Western") << "FRA";
    QTest::newRow("Cyrillic") << "RUS";
    QTest::newRow("Central European") << "PLK";
}

void TestKavtoolRtf::exportFillImportRestoresTheFile() {
    QFETCH(QString, code);
    const QString Name = "Kavr_" + code + ".str";
    TRun Export = Run({"export-rtf", Home() + "/Language/" + Name});
    QVERIFY2(Export.Code == 0, qPrintable(Export.Err));
    const QString Translation = Home() + "/RTF/Kavrino_" + code + ".rtf";
    QCOMPARE(Export.Out, "wrote " + Home() + "/RTF/Kavrino_ENU_To_" + code + ".rtf\nwrote " +
                             Translation + "\nwrote " + Home() + "/RTF/Kavrino_ENU.rtf\n");

    TRun Fill = Run({"fill", Home() + "/Language/" + Name, "?", "-o", Home() + "/work/" + Name});
    QVERIFY2(Fill.Code == 0, qPrintable(Fill.Err));
    const QByteArray Filled = Read("work/" + Name);
    QVERIFY(Texts("work/" + Name).count("?") == 344);

    TRun Import = Run({"import-rtf", Home() + "/work/" + Name, Translation});
    QVERIFY2(Import.Code == 0, qPrintable(Import.Err));
    QVERIFY(Import.Out.startsWith("imported 344 items (344 changed, 0 refused)"));
    QCOMPARE(Read("work/" + Name), Read("Language/" + Name));
    QCOMPARE(Read("Backup/" + Name), Filled);
}

void TestKavtoolRtf::exportNamesFollowSoftwareAndLanguage_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("document");
    QTest::addColumn<QByteArray>("languageLine");
    QTest::newRow("user file") << "Kavr_User_FRA.str" << QStringList{} << "Pelmor_FRA.rtf"
                               << QByteArray("FRA - French (France) - Western");
    QTest::newRow("language option") << "Kavr_DEU.str" << QStringList{"--lang", "ITA"}
                                     << "Kavrino_ITA.rtf" << QByteArray("ITA - Italian (Italy)");
}

void TestKavtoolRtf::exportNamesFollowSoftwareAndLanguage() {
    QFETCH(QString, file);
    QFETCH(QStringList, options);
    QFETCH(QString, document);
    QFETCH(QByteArray, languageLine);
    TRun R = Run(QStringList{"export-rtf", Home() + "/Language/" + file} + options);
    QVERIFY2(R.Code == 0, qPrintable(R.Err));
    QVERIFY(Read("RTF/" + document).contains("\\tab\\f0\\fs20\\b\\cf0 " + languageLine));
}

void TestKavtoolRtf::importTakesOnlyTheRange() {
    QVERIFY(Run({"export-rtf", Home() + "/Language/Kavr_FRA.str"}).Code == 0);
    QVERIFY(
        Run({"fill", Home() + "/Language/Kavr_FRA.str", "?", "-o", Home() + "/work/Kavr_FRA.str"})
            .Code == 0);
    QDir(Home()).mkpath("work/out");
    TRun R = Run({"import-rtf", Home() + "/work/Kavr_FRA.str", Home() + "/RTF/Kavrino_FRA.rtf",
                  "--from", "00005", "--to", "10", "-o", Home() + "/work/out/Kavr_FRA.str"});
    QVERIFY2(R.Code == 0, qPrintable(R.Err));
    const QList<QByteArray> Imported = Texts("work/out/Kavr_FRA.str");
    const QList<QByteArray> Original = Texts("Language/Kavr_FRA.str");
    QCOMPARE(Imported.size(), 344);
    for (int Item = 1; Item <= 344; ++Item) {
        const bool InRange = Item >= 5 && Item <= 10;
        QCOMPARE(Imported[Item - 1], InRange ? Original[Item - 1] : QByteArray("?"));
    }
}

void TestKavtoolRtf::importTakesEveryItemByDefault() {
    // Past 99 999 items a five-digit range cut the last number to its low digits.
    constexpr int Count = 100000;
    QByteArray Default = "#include \"KavLang.Inc\"\r\n\r\n";
    QByteArray Translated = Default;
    for (int Item = 1; Item <= Count; ++Item) {
        Default += "Txt_I" + QByteArray::number(Item) + " , \"Item\"  {100} {Arial} {} {8}\r\n";
        Translated += "Txt_I" + QByteArray::number(Item) + " , \"?\"\r\n";
    }
    for (const auto& [Name, Bytes] : {std::pair{"Default/Kavr_ENU.str", &Default},
                                      std::pair{"work/Kavr_FRA.str", &Translated}}) {
        QFile F(Home() + "/" + Name);
        QVERIFY(F.open(QIODevice::WriteOnly | QIODevice::Truncate));
        F.write(*Bytes);
    }
    QFile Rtf(Home() + "/work/last.rtf");
    QVERIFY(Rtf.open(QIODevice::WriteOnly));
    Rtf.write("{\\rtf1 T\\par 2 \\tab Deux\\par 100000 \\tab Cent mille\\par}");
    Rtf.close();
    TRun R = Run({"import-rtf", Home() + "/work/Kavr_FRA.str", Rtf.fileName()});
    QVERIFY2(R.Code == 0, qPrintable(R.Err));
    const QList<QByteArray> Texts = this->Texts("work/Kavr_FRA.str");
    QCOMPARE(Texts.size(), Count);
    QCOMPARE(Texts[1], QByteArray("Deux"));
    QCOMPARE(Texts[Count - 1], QByteArray("Cent mille"));
}

void TestKavtoolRtf::fillEmptiesEveryTranslationInPlace() {
    const QByteArray Before = Read("Language/Kavr_DEU.str");
    TRun R = Run({"fill", Home() + "/Language/Kavr_DEU.str", ""});
    QVERIFY2(R.Code == 0, qPrintable(R.Err));
    QCOMPARE(R.Out, "filled 344 items of " + Home() + "/Language/Kavr_DEU.str\n");
    const QList<QByteArray> Texts = this->Texts("Language/Kavr_DEU.str");
    QCOMPARE(Texts.size(), 344);
    QCOMPARE(Texts.count(QByteArray()), 344);
    QCOMPARE(Read("Backup/Kavr_DEU.str"), Before);
}

void TestKavtoolRtf::refusedItemsAreAFinding() {
    QFile Rtf(Home() + "/work/cyrillic.rtf");
    QVERIFY(Rtf.open(QIODevice::WriteOnly));
    Rtf.write("{\\rtf1 T\\par 1 \\tab \\u1055?\\par 2 \\tab Nouveau\\par}");
    Rtf.close();
    TRun R = Run({"import-rtf", Home() + "/Language/Kavr_FRA.str", Rtf.fileName(), "-o",
                  Home() + "/work/Kavr_FRA.str"});
    QCOMPARE(R.Code, 1);
    QVERIFY2(R.Err.contains("Item 1: The character"), qPrintable(R.Err));
    QVERIFY(R.Out.startsWith("imported 2 items (1 changed, 1 refused)"));
    const QList<QByteArray> Texts = this->Texts("work/Kavr_FRA.str");
    QCOMPARE(Texts.value(0), this->Texts("Language/Kavr_FRA.str").value(0));
    QCOMPARE(Texts.value(1), QByteArray("Nouveau"));
}

void TestKavtoolRtf::refusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("message");
    const QString Fra = "%1/Language/Kavr_FRA.str";
    QTest::newRow("range not a number")
        << QStringList{"import-rtf", Fra, "%1/x.rtf", "--from", "abc"}
        << "'abc' is not a valid integer value";
    QTest::newRow("missing document")
        << QStringList{"import-rtf", Fra, "%1/none.rtf"} << "File not found: ";
    QTest::newRow("fill text outside the code page")
        << QStringList{"fill", Fra, QString::fromUtf8("\xd0\x9f")} << "cannot be written";
    QTest::newRow("existing output")
        << QStringList{"fill", Fra, "?", "-o", "%1/Language/Kavr_DEU.str"} << "exists; add --force";
    QTest::newRow("usage") << QStringList{"import-rtf", Fra} << "import-rtf takes";
    // Its texts would have overwritten every translation with the English.
    QTest::newRow("English document of the export")
        << QStringList{"import-rtf", Fra, "%1/work/Kavrino_ENU.rtf"}
        << "Load the translation document Kavrino_FRA.rtf or the bilingual document "
           "Kavrino_ENU_To_FRA.rtf";
}

void TestKavtoolRtf::refusals() {
    QFETCH(QStringList, args);
    QFETCH(QString, message);
    for (QString& Arg : args)
        Arg.replace("%1", Home());
    QFile English(Home() + "/work/Kavrino_ENU.rtf");
    QVERIFY(English.open(QIODevice::WriteOnly));
    English.write("{\\rtf1 Kavrino\\tab  (1 items)\\par\\par Item\\tab ENU - English (United "
                  "State)\\par\\par 1 \\tab File\\par}");
    English.close();
    const QByteArray Before = Read("Language/Kavr_FRA.str");
    TRun R = Run(args);
    QCOMPARE(R.Code, 2);
    QVERIFY2(R.Err.contains(message), qPrintable(R.Err));
    QCOMPARE(Read("Language/Kavr_FRA.str"), Before);
}

QTEST_GUILESS_MAIN(TestKavtoolRtf)
#include "tst_KavtoolRtf.moc"
