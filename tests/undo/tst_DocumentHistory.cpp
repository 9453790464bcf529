// The undo history's cost: a step keeps what it changed and little more, and the history keeps
// the last 200 steps.

#include "DocumentFixture.h"
#include "undo/DocumentHistory.h"

#include <QtTest>

using namespace kav;

class TestDocumentHistory : public QObject {
    Q_OBJECT
private slots:
    void fillOfEveryItemStaysSmall_data();
    void fillOfEveryItemStaysSmall();
    void keepsTheLast200Steps();
};

void TestDocumentHistory::fillOfEveryItemStaysSmall_data() {
    QTest::addColumn<int>("Items");
    QTest::addColumn<int>("Changed");
    QTest::newRow("every item") << 100000 << 100000;
    QTest::newRow("one item in ten") << 100000 << 10000;
}

void TestDocumentHistory::fillOfEveryItemStaysSmall() {
    QFETCH(int, Items);
    QFETCH(int, Changed);
    TFixture F;
    std::vector<std::string> Texts;
    size_t TextBytes = 0;
    for (int Item = 0; Item < Items; ++Item) {
        Texts.push_back("Translated text of item " + std::to_string(Item));
        if (Item % (Items / Changed) == 0)
            TextBytes += Texts.back().size() + 1;
    }
    F.OpenItems(Texts);
    TDocumentHistory History(F.Doc);
    {
        TDocumentEdit Edit(F.Doc, "Fill");
        for (int Item = 0; Item < Items; Item += Items / Changed)
            Edit.SetTranslation(Item, "?");
    }
    QCOMPARE(History.Stack().count(), 1);
    // The texts replaced and written, and 16 bytes of place per item.
    QVERIFY2(History.StoredBytes() <= TextBytes + 16 * size_t(Changed) + 64,
             qPrintable(QString::number(History.StoredBytes())));
    History.Undo();
    QCOMPARE(F.Doc.Items().Translation(0), "Translated text of item 0");
    QVERIFY(!F.State.FModified);
    History.Redo();
    QCOMPARE(F.Doc.Items().Translation(0), "?");
    QVERIFY(F.State.FModified);
}

void TestDocumentHistory::keepsTheLast200Steps() {
    TFixture F;
    F.OpenItems({"start"});
    TDocumentHistory History(F.Doc);
    for (int Step = 0; Step < 250; ++Step)
        F.Doc.EditItem(0, TItemField::Translation, std::to_string(Step));
    QCOMPARE(History.Stack().count(), TDocumentHistory::StepLimit);
    while (History.Stack().canUndo())
        History.Undo();
    // The oldest step kept is the 51st.
    QCOMPARE(F.Doc.Items().Translation(0), "49");
}

QTEST_GUILESS_MAIN(TestDocumentHistory)
#include "tst_DocumentHistory.moc"
