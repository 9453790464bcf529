// The English a translated file was saved against: which items a later default file marks as
// changed, and what edits, reviews and saves make of the marks.

#include "DocumentFixture.h"
#include "document/SourceBaseline.h"

#include <QtTest>

using namespace kav;

Q_DECLARE_METATYPE(kav::TSourceChange)

namespace {

std::string DefaultOf(const std::string& TextA, const std::string& WidthA, bool WithC) {
    std::string Bytes = Header;
    Bytes += Item("A", TextA, " {" + WidthA + "} {} {} {}");
    // B's English holds a backslash, which its side file escapes.
    Bytes += Item("B", "b\\c", " {40} {} {} {}");
    if (WithC)
        Bytes += Item("C", "c", " {40} {} {} {}");
    return Bytes;
}

} // namespace

class TestSourceBaseline : public QObject {
    Q_OBJECT
private slots:
    void changes_data();
    void changes();
    void neverSaved();
};

void TestSourceBaseline::changes_data() {
    QTest::addColumn<QString>("TextA");
    QTest::addColumn<QString>("WidthA");
    QTest::addColumn<bool>("WithC");
    // What the translator does after the changed default is read: "", "edit", "review",
    // "save" (saved without looking), "review+save".
    QTest::addColumn<QString>("Action");
    QTest::addColumn<QString>("Checked"); // the item looked at
    QTest::addColumn<TSourceChange>("Expected");

    QTest::newRow("unchanged") << "a"
                               << "40" << false << ""
                               << "A" << TSourceChange::None;
    QTest::newRow("text changed") << "a new"
                                  << "40" << false << ""
                                  << "A" << TSourceChange::Text;
    QTest::newRow("width changed") << "a"
                                   << "30" << false << ""
                                   << "A" << TSourceChange::Width;
    QTest::newRow("new item") << "a"
                              << "40" << true << ""
                              << "C" << TSourceChange::New;
    QTest::newRow("others stay unmarked") << "a new"
                                          << "30" << true << ""
                                          << "B" << TSourceChange::None;
    QTest::newRow("edited after the change") << "a new"
                                             << "40" << false << "edit"
                                             << "A" << TSourceChange::None;
    QTest::newRow("new item edited") << "a"
                                     << "40" << true << "editC"
                                     << "C" << TSourceChange::None;
    QTest::newRow("confirmed") << "a new"
                               << "40" << false << "review"
                               << "A" << TSourceChange::None;
    QTest::newRow("new item confirmed") << "a"
                                        << "40" << true << "reviewC"
                                        << "C" << TSourceChange::None;
    // A save made without looking at the item must not take the new English as reviewed.
    QTest::newRow("still marked after a save") << "a new"
                                               << "40" << false << "save"
                                               << "A" << TSourceChange::Text;
    QTest::newRow("new item still new after a save") << "a"
                                                     << "40" << true << "save"
                                                     << "C" << TSourceChange::New;
    QTest::newRow("review kept by the save") << "a new"
                                             << "40" << false << "review+save"
                                             << "A" << TSourceChange::None;
    QTest::newRow("edit kept by the save") << "a new"
                                           << "30" << false << "edit+save"
                                           << "A" << TSourceChange::None;
}

void TestSourceBaseline::changes() {
    QFETCH(QString, TextA);
    QFETCH(QString, WidthA);
    QFETCH(bool, WithC);
    QFETCH(QString, Action);
    QFETCH(QString, Checked);
    QFETCH(TSourceChange, Expected);

    TFixture F;
    F.Doc.AdoptLanguage("FRA");
    F.Write("Default/" + std::string(MainDefaultName), DefaultOf("a", "40", false));
    F.Write("Language/Kavr_FRA.str", Translations("AB"));
    const std::string File = F.Path("Language/Kavr_FRA.str");
    QVERIFY(F.Doc.OpenPath(File));
    QVERIFY(F.Doc.SaveFile(File));
    QVERIFY(
        QFile::exists(QString::fromStdString(TSourceBaseline::PathFor(F.State.BackupDir(), File))));

    // The product's English changes; the translated file is opened again.
    F.Write("Default/" + std::string(MainDefaultName),
            DefaultOf(TextA.toStdString(), WidthA.toStdString(), WithC));
    QVERIFY(F.Doc.OpenPath(File));
    const int Row = [&] {
        for (TItemId Id = 0; Id < F.Doc.Items().Count(); ++Id)
            if (F.Doc.Items().Name(Id) == Checked.toStdString())
                return RowOfItem(Id);
        return -1;
    }();
    QVERIFY(Row >= 0);
    if (Action.startsWith("edit"))
        F.Put(colTranslated, Row, "changed");
    if (Action.startsWith("review"))
        F.Doc.MarkReviewed(ItemOfRow(Row));
    if (Action.startsWith("review"))
        QVERIFY(F.State.FModified);
    if (Action.endsWith("save")) {
        QVERIFY(F.Doc.SaveFile(File));
        QVERIFY(F.Doc.OpenPath(File));
    }
    QCOMPARE(F.Doc.Baseline().ChangeOf(F.Doc.Items(), ItemOfRow(Row)), Expected);
    const std::optional<TFinding> Finding =
        F.Doc.Baseline().FindingOf(F.Doc.Items(), ItemOfRow(Row));
    QCOMPARE(Finding.has_value(), Expected != TSourceChange::None);
    if (Finding) {
        QCOMPARE(Finding->Kind, TFindingKind::SourceChanged);
        QCOMPARE(Finding->Severity, TSeverity::Warning);
    }
}

// A file never saved here has nothing to compare with: nothing is marked, not even as new.
void TestSourceBaseline::neverSaved() {
    TFixture F;
    F.Doc.AdoptLanguage("FRA");
    F.Write("Default/" + std::string(MainDefaultName), DefaultOf("a new", "30", true));
    F.Write("Language/Kavr_FRA.str", Translations("AB"));
    QVERIFY(F.Doc.OpenPath(F.Path("Language/Kavr_FRA.str")));
    QVERIFY(!F.Doc.Baseline().Known());
    for (TItemId Id = 0; Id < F.Doc.Items().Count(); ++Id)
        QCOMPARE(F.Doc.Baseline().ChangeOf(F.Doc.Items(), Id), TSourceChange::None);
}

QTEST_GUILESS_MAIN(TestSourceBaseline)
#include "tst_SourceBaseline.moc"
