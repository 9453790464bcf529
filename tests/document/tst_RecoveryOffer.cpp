// Work left unsaved by a session that ended without saving comes back when the translator
// says so, and only then; a save or a deliberate No lets the copy go.

#include "DocumentFixture.h"
#include "document/Recovery.h"

#include <QtTest>

using namespace kav;

class TestRecoveryOffer : public QObject {
    Q_OBJECT
private slots:
    void offeredAfterACrash_data();
    void offeredAfterACrash();
};

void TestRecoveryOffer::offeredAfterACrash_data() {
    QTest::addColumn<bool>("saved"); // the document had a file
    QTest::addColumn<int>("answer"); // to "Recover unsaved changes ...?"
    QTest::addColumn<bool>("taken"); // the texts came back
    QTest::addColumn<bool>("kept");  // the copy is still there afterwards
    QTest::newRow("yes: back, modified") << true << int(TModalResult::mrYes) << true << true;
    QTest::newRow("no: the copy goes") << true << int(TModalResult::mrNo) << false << false;
    QTest::newRow("later: kept for next time")
        << true << int(TModalResult::mrCancel) << false << true;
    QTest::newRow("untitled: a new document with its language")
        << false << int(TModalResult::mrYes) << true << true;
}

void TestRecoveryOffer::offeredAfterACrash() {
    QFETCH(bool, saved);
    QFETCH(int, answer);
    QFETCH(bool, taken);
    QFETCH(bool, kept);
    QTemporaryDir Home;
    const std::string File = Home.path().toStdString() + "/Language/Kavr_FRA.str";
    const std::string Folder = RecoveryFolder(Home.path().toStdString() + "/Backup/");
    {
        // The session that ends without saving: its copy stays behind.
        TFixture F;
        F.Doc.SetFolders(Home.path().toStdString() + "/");
        F.Doc.KeepRecoveryCopies(true);
        QDir(Home.path()).mkpath("Default");
        QDir(Home.path()).mkpath("Language");
        F.WriteDefault("AB");
        if (saved) {
            F.Write("Language/Kavr_FRA.str", Translations("AB"));
            QVERIFY(F.Doc.OpenPath(File));
        } else {
            F.Doc.FileNew();
            F.Doc.SetLanguage("DEU");
        }
        F.Put(colTranslated, 3, "unsaved");
        QCOMPARE(F.Doc.WriteRecoveryCopy(), std::string());
    }
    TFixture G;
    G.Doc.SetFolders(Home.path().toStdString() + "/");
    G.Doc.KeepRecoveryCopies(true);
    G.UI.Answers.push_back(static_cast<TModalResult>(answer));
    G.Doc.OfferRecoveryCopies();
    QVERIFY(G.UI.Texts().front().starts_with(
        "Recover unsaved changes of " + (saved ? File : std::string(UntitledName)) + " from "));
    QCOMPARE(G.Col(colTranslated, 3) == "unsaved", taken);
    QCOMPARE(G.State.FModified, taken);
    if (taken && !saved)
        QCOMPARE(G.State.FLanguageCode, std::string("DEU"));
    QCOMPARE(ListRecovery(Folder).size(), size_t(kept ? 1 : 0));
    if (!taken || !saved)
        return;
    // Taken: one step to undo, and a save lets the copy go.
    G.Doc.FileSave();
    QVERIFY(!G.State.FModified);
    QVERIFY(ListRecovery(Folder).empty());
    // A kavtool session never writes one.
    TFixture H;
    H.Doc.SetFolders(Home.path().toStdString() + "/");
    QVERIFY(H.Doc.OpenPath(File));
    H.Put(colTranslated, 2, "x");
    QCOMPARE(H.Doc.WriteRecoveryCopy(), std::string());
    QVERIFY(ListRecovery(Folder).empty());
}

QTEST_MAIN(TestRecoveryOffer)
#include "tst_RecoveryOffer.moc"
