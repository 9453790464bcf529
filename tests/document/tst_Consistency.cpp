#include "document/Consistency.h"

#include "DocumentFixture.h"

#include <QtTest>

using namespace kav;

// The same English translated differently, and one translation for different English, found
// across the document; kept current item by item as the translator edits.
class TestConsistency : public QObject {
    Q_OBJECT
private slots:
    void findings_data();
    void findings();
    void anEditKeepsTheGroupsAsABuildMakesThem();
    void manyOthersAreCounted();

private:
    // Items A.. with these default texts, and the translations given (empty: none).
    void Open(TFixture& F, const std::vector<std::string>& Defaults,
              const std::vector<std::string>& Translations);
    // "A:warning:C" per item with a finding: the severity and the items its message names.
    QString Summary(const TItemTable& Items, const TConsistency& C);
};

void TestConsistency::Open(TFixture& F, const std::vector<std::string>& Defaults,
                           const std::vector<std::string>& Translations) {
    std::string Bytes = Header;
    for (size_t I = 0; I < Defaults.size(); ++I)
        Bytes += Item(std::string(1, char('A' + I)), Defaults[I]);
    F.Write("Default/" + std::string(MainDefaultName), Bytes);
    F.Write("Language/Kavr_ENU.str", Header);
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_ENU.str")));
    TDocumentEdit Edit(F.Doc, "setup");
    for (size_t I = 0; I < Translations.size(); ++I)
        Edit.SetTranslation(static_cast<TItemId>(I), Translations[I]);
}

QString TestConsistency::Summary(const TItemTable& Items, const TConsistency& C) {
    QStringList Out;
    for (TItemId Id = 0; Id < Items.Count(); ++Id) {
        const std::optional<TFinding> F = C.Of(Items, Id);
        if (!F)
            continue;
        QStringList Named;
        for (TItemId Other = 0; Other < Items.Count(); ++Other)
            if (F->Message.find("Txt_" + std::string(Items.Name(Other)) + " ") != std::string::npos)
                Named << QString::fromStdString(std::string(Items.Name(Other)));
        Out << QString("%1:%2:%3")
                   .arg(QString::fromStdString(std::string(Items.Name(Id))),
                        SeverityName(F->Severity), Named.join(','));
    }
    return Out.join(' ');
}

void TestConsistency::findings_data() {
    QTest::addColumn<QStringList>("translations"); // of A "Open", B "&Open", C "Open ",
                                                   // D "Close", E "Exit", F "Cancel"
    QTest::addColumn<QString>("summary");
    QTest::newRow("consistent, accelerators and blanks aside")
        << QStringList{"Ouvrir", "&Ouvrir", "Ouvrir ", "Fermer", "Quitter", ""} << "";
    QTest::newRow("same English translated differently")
        << QStringList{"Ouvrir", "&Ouvrir", "Ouvre", "Fermer", "Quitter", ""}
        << "A:warning:C B:warning:C C:warning:A,B";
    QTest::newRow("one translation for different English")
        << QStringList{"Ouvrir", "&Ouvrir", "Ouvrir", "Quitter", "Quitter", ""}
        << "D:info:E E:info:D";
    // The English kept as it is, or nothing yet, is no translation to compare.
    QTest::newRow("untranslated and empty take no part")
        << QStringList{"Ouvrir", "&Ouvrir", "Open ", "Fermer", "", "Cancel"} << "";
    QTest::newRow("a difference outweighs a shared translation")
        << QStringList{"Fermer", "&Ouvrir", "Ouvrir", "Fermer", "Quitter", ""}
        << "A:warning:B,C B:warning:A C:warning:A D:info:A";
}

void TestConsistency::findings() {
    QFETCH(QStringList, translations);
    QFETCH(QString, summary);
    TFixture F;
    std::vector<std::string> T;
    for (const QString& S : translations)
        T.push_back(S.toStdString());
    Open(F, {"Open", "&Open", "Open ", "Close", "Exit", "Cancel"}, T);
    TConsistency C;
    C.Build(F.Doc.Items());
    QCOMPARE(Summary(F.Doc.Items(), C), summary);
}

// Edits one item at a time, each told to Update: the findings are those a fresh Build finds,
// and Update names every item whose finding changed.
void TestConsistency::anEditKeepsTheGroupsAsABuildMakesThem() {
    TFixture F;
    Open(F, {"Open", "&Open", "Open", "Close", "Exit", "Cancel"},
         {"Ouvrir", "Ouvrir", "Ouvrir", "Fermer", "Quitter", ""});
    TConsistency Kept;
    Kept.Build(F.Doc.Items());
    const std::vector<std::pair<TItemId, std::string>> Edits{
        {2, "Ouvre"}, {3, "Quitter"}, {2, "Ouvrir"}, {5, "Annuler"}, {4, "Exit"},
        {3, ""},      {0, "Fermer"},  {1, "Fermer"}, {2, "Fermer"}};
    const auto MessageOf = [&](const TConsistency& C, TItemId Id) {
        const std::optional<TFinding> Found = C.Of(F.Doc.Items(), Id);
        return Found ? std::string(SeverityName(Found->Severity)) + Found->Message : std::string();
    };
    for (const auto& [Id, Text] : Edits) {
        std::vector<std::string> Before;
        for (TItemId Other = 0; Other < F.Doc.Items().Count(); ++Other)
            Before.push_back(MessageOf(Kept, Other));
        {
            TDocumentEdit Edit(F.Doc, "edit");
            Edit.SetTranslation(Id, Text);
        }
        const std::vector<TItemId> Affected = Kept.Update(F.Doc.Items(), Id);
        TConsistency Fresh;
        Fresh.Build(F.Doc.Items());
        for (TItemId Other = 0; Other < F.Doc.Items().Count(); ++Other) {
            QCOMPARE(MessageOf(Kept, Other), MessageOf(Fresh, Other));
            if (MessageOf(Fresh, Other) != Before[static_cast<size_t>(Other)])
                QVERIFY2(std::find(Affected.begin(), Affected.end(), Other) != Affected.end(),
                         qPrintable(QString("item %1 changed unnamed").arg(Other + 1)));
        }
    }
}

void TestConsistency::manyOthersAreCounted() {
    TFixture F;
    Open(F, {"Open", "Open", "Open", "Open", "Open", "Open"},
         {"Ouvrir", "Ouvre", "Ouvrez", "Ouvrons", "Ouvrent", "Ouvrirai"});
    TConsistency C;
    C.Build(F.Doc.Items());
    const std::string Message = C.Of(F.Doc.Items(), 0)->Message;
    QVERIFY2(Message.find("Txt_B (item 2), Txt_C (item 3), Txt_D (item 4) and 2 more") !=
                 std::string::npos,
             Message.c_str());
}

QTEST_APPLESS_MAIN(TestConsistency)
#include "tst_Consistency.moc"
