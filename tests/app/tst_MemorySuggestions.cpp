// The translation memory in the real main window: the suggestions dock follows the current
// item, Ctrl+1 ... Ctrl+5 take a suggestion as one undo step, untranslated items with a 100 %
// match are marked, and "Translate All Exact Matches" fills them as one step.

#include "MainWindowFixture.h"
#include "TestFiles.h"
#include "app/MemoryPanel.h"
#include "editing/TranslationView.h"
#include "widgets/ConcordanceWindow.h"
#include "widgets/SuggestionsDock.h"

#include <QLineEdit>
#include <QTreeWidget>

#include <QAction>
#include <QtTest>

using namespace kav;

namespace {

QByteArray Unit(const QByteArray& English, const QByteArray& French) {
    return "<tu><tuv xml:lang=\"en\"><seg>" + English +
           "</seg></tuv><tuv xml:lang=\"fr-FR\"><seg>" + French + "</seg></tuv></tu>\n";
}

// The user sample with its "File" put back to the English, beside an agency's memory.
struct TMemoryWindow {
    TProgramFolder Folder;
    std::unique_ptr<TWindow> W;
    TMemoryWindow() {
        const QString Home = QString::fromStdString(Folder.Home());
        const QString User = Home + "Language/Kavr_User_FRA.str";
        QByteArray Bytes = ReadFile(User);
        Bytes.replace("\"Fichier\"", "\"File\"");
        WriteFile(User, Bytes);
        QDir(Home).mkpath("Memory");
        WriteFile(Home + "Memory/agency.tmx",
                  "<?xml version=\"1.0\"?><tmx version=\"1.4\"><header srclang=\"en\"/><body>" +
                      Unit("File", "Fichier (agence)") +
                      Unit("Add a signature picture in Settings before you sign.",
                           "Ajoutez une photo de signature avant de signer.") +
                      "</body></tmx>");
        W = std::make_unique<TWindow>(Folder.Home(), User.toStdString());
        W->Form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&W->Form));
        QTRY_VERIFY(Form().MemoryPanel().Ready());
    }
    TMainForm& Form() { return W->Form; }
    TStyledStringGrid& Grid() { return *W->Form.strGrid; }
    int RowOf(const std::string& Name) {
        const TItemTable& Items = Form().Document().Items();
        for (TItemId Id = 0; Id < Items.Count(); ++Id)
            if (Items.Name(Id) == Name)
                return RowOfItem(Id);
        return -1;
    }
    void Click(int Row) {
        Grid().SetTopRow(std::max(FirstItemRow, Row - 3));
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {},
                          Grid().CellRect(colTranslated, Row).center());
        QCoreApplication::processEvents();
    }
    void Press(int Key, Qt::KeyboardModifiers Modifiers = Qt::ControlModifier) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(Key), Modifiers);
        QCoreApplication::processEvents();
    }
    std::string Translated(int Row) {
        return std::string(Form().Table().Cells(colTranslated, Row));
    }
    QString Panel() { return Form().MemoryPanel().Dock().Html(); }
};

} // namespace

class TestMemorySuggestions : public QObject {
    Q_OBJECT
private slots:
    void suggestionsFollowTheCurrentItem();
    void ctrlDigitTakesASuggestionAsOneStep();
    void exactMatchesAreMarkedAndTranslatedAllAtOnce();
    void suggestionKeysAreTheirOwn();
    void aNewTranslationIsOfferedForTheSameEnglish();
    void concordanceFindsAndGoesToItems();
};

void TestMemorySuggestions::suggestionsFollowTheCurrentItem() {
    TMemoryWindow M;
    M.Click(M.RowOf("MENU_FILE"));
    const QString File = M.Panel();
    QVERIFY2(File.contains("<b>Ctrl+1</b> &nbsp; 100 % &nbsp; <small>Kavr_FRA.str</small>"),
             qPrintable(File));
    QVERIFY2(File.contains("<b>Ctrl+2</b> &nbsp; 100 % &nbsp; <small>agency.tmx</small>"),
             qPrintable(File));
    QVERIFY(File.contains("<b>Fichier</b>") && File.contains("<b>Fichier (agence)</b>"));
    QVERIFY(!File.contains("Ctrl+3"));

    M.Click(M.RowOf("MSG_SIGNATURE_MISSING"));
    const QString Signature = M.Panel();
    QVERIFY2(Signature.contains("88 %"), qPrintable(Signature));
    QVERIFY2(Signature.contains("Add a signature <span style=\"background-color:#ffd966;"
                                "color:#000000\">picture</span> in Settings"),
             qPrintable(Signature));

    // An item whose only match is its own translation in its own file has none.
    M.Click(M.RowOf("MENU_FILE_OPEN"));
    QVERIFY2(M.Panel().contains("No match of 75 % or more"), qPrintable(M.Panel()));
}

void TestMemorySuggestions::ctrlDigitTakesASuggestionAsOneStep() {
    TMemoryWindow M;
    const int Row = M.RowOf("MENU_FILE");
    M.Click(Row);
    M.Press(Qt::Key_2);
    QCOMPARE(M.Translated(Row), std::string("Fichier (agence)"));
    M.Press(Qt::Key_1);
    QCOMPARE(M.Translated(Row), std::string("Fichier"));
    QVERIFY(M.Form().State().FModified);
    M.Press(Qt::Key_Z);
    QCOMPARE(M.Translated(Row), std::string("Fichier (agence)"));
    M.Press(Qt::Key_Z);
    QCOMPARE(M.Translated(Row), std::string("File"));
    // No third suggestion: nothing changes.
    M.Press(Qt::Key_3);
    QCOMPARE(M.Translated(Row), std::string("File"));
}

void TestMemorySuggestions::exactMatchesAreMarkedAndTranslatedAllAtOnce() {
    TMemoryWindow M;
    const int File = M.RowOf("MENU_FILE");
    const int Urgent = M.RowOf("PRIORITY_URGENT"); // untranslated, no match
    QVERIFY(M.Form().MemoryPanel().ExactMatchRow(File));
    QVERIFY(!M.Form().MemoryPanel().ExactMatchRow(Urgent));
    M.Grid().SetTopRow(File - 1);
    QTest::qWait(0);
    const QRect Marker = M.Form().View()->Drawing().MemoryMarkerRect(File);
    QVERIFY(!Marker.isEmpty());
    const QImage Shot = M.Grid().viewport()->grab().toImage();
    QCOMPARE(QColor(Shot.pixel(Marker.left() + 1, Marker.bottom() - 1)), MemoryMarkerColour);

    M.W->Dialogs.Shown.clear();
    M.Form().findChild<QAction*>("TranslateAllExactMatches")->trigger();
    QCOMPARE(M.Translated(File), std::string("Fichier"));
    QCOMPARE(M.W->Dialogs.Shown,
             std::vector<std::string>{"1 of 12 untranslated items filled from the memory "
                                      "(1 exact, 0 fuzzy)."});
    QVERIFY(!M.Form().MemoryPanel().ExactMatchRow(File));
    M.Click(Urgent);
    M.Press(Qt::Key_Z);
    QCOMPARE(M.Translated(File), std::string("File"));
}

// Ctrl+1 ... Ctrl+5 belong to the suggestions alone.
void TestMemorySuggestions::suggestionKeysAreTheirOwn() {
    TMemoryWindow M;
    for (int N = 1; N <= TMemoryPanel::SuggestionKeys; ++N) {
        const QKeySequence Key(QString("Ctrl+%1").arg(N));
        QStringList Holders;
        for (const QAction* Action : M.Form().findChildren<QAction*>())
            if (Action->shortcuts().contains(Key))
                Holders << Action->objectName();
        QCOMPARE(Holders, QStringList{QString("UseSuggestion%1").arg(N)});
    }
}

// The user sample has "Notifications" twice, both untranslated.
void TestMemorySuggestions::aNewTranslationIsOfferedForTheSameEnglish() {
    TMemoryWindow M;
    const int Tab = M.RowOf("TAB_NOTIFICATIONS");
    const int Settings = M.RowOf("TAB_SETTINGS_NOTIFICATIONS");
    const int Elsewhere = M.RowOf("MENU_FILE");
    auto TypeInto = [&](int Row, const char* Text) {
        M.W->Dialogs.Shown.clear();
        M.Click(Row);
        QTest::keyClicks(QApplication::focusWidget(), Text);
        M.Click(Elsewhere);
        QTest::qWait(0);
        QCoreApplication::processEvents();
    };
    // Declined: the other item stays as it was.
    M.W->Dialogs.Answers = {TModalResult::mrNo};
    TypeInto(Settings, "x");
    const std::string Declined = M.Translated(Settings);
    QVERIFY(Declined != "Notifications");
    QCOMPARE(M.W->Dialogs.Shown.size(), size_t(1));
    QVERIFY2(M.W->Dialogs.Shown[0].find("for the other untranslated item with the same English "
                                        "text?") != std::string::npos,
             M.W->Dialogs.Shown[0].c_str());
    QCOMPARE(M.Translated(Tab), std::string("Notifications"));
    M.Press(Qt::Key_Z); // the edit itself
    QCOMPARE(M.Translated(Settings), std::string("Notifications"));

    // Taken: one step of its own, undone before the edit.
    M.W->Dialogs.Answers = {TModalResult::mrYes};
    TypeInto(Tab, "y");
    const std::string Taken = M.Translated(Tab);
    QCOMPARE(M.Translated(Settings), Taken);
    M.Press(Qt::Key_Z);
    QCOMPARE(M.Translated(Settings), std::string("Notifications"));
    QCOMPARE(M.Translated(Tab), Taken);

    // No untranslated twin left: no question, and the translated one is never replaced.
    M.W->Dialogs.Answers = {TModalResult::mrYes};
    TypeInto(Settings, "z");
    M.W->Dialogs.Shown.clear();
    TypeInto(Tab, "w");
    QVERIFY(M.W->Dialogs.Shown.empty());
    QVERIFY(M.Translated(Settings) != M.Translated(Tab));
}

void TestMemorySuggestions::concordanceFindsAndGoesToItems() {
    TMemoryWindow M;
    M.Click(M.RowOf("MENU_FILE"));
    M.Press(Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    TConcordanceWindow* Window = M.Form().MemoryPanel().Concordance();
    QVERIFY(Window && Window->isVisible());
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(Window->Phrase));
    QTest::keyClicks(Window->Phrase, "SIGNATURE");
    QTest::keyClick(Window->Phrase, Qt::Key_Return);
    QStringList Lines;
    for (int I = 0; I < Window->List->topLevelItemCount(); ++I) {
        const QTreeWidgetItem* Item = Window->List->topLevelItem(I);
        Lines << Item->text(0) + " | " + Item->text(1) + " | " + Item->text(2);
    }
    // The document's items first (English or translation), then the agency's memory; the
    // document's own file is not listed again.
    QVERIFY2(Lines.size() >= 3, qPrintable(Lines.join('\n')));
    QCOMPARE(Lines.back(),
             QString("agency.tmx | Add a signature picture in Settings before you sign. | "
                     "Ajoutez une photo de signature avant de signer."));
    QVERIFY(Lines.filter("MSG_SIGNATURE_MISSING | Add a signature image").size() == 1);
    QVERIFY(Lines.filter("Kavr_User_FRA.str").isEmpty());
    // Enter on an item's line makes it the current row.
    int Line = 0;
    while (!Window->List->topLevelItem(Line)->text(0).contains("MSG_SIGNATURE_MISSING"))
        ++Line;
    Window->List->setFocus();
    Window->List->setCurrentItem(Window->List->topLevelItem(Line));
    QTest::keyClick(Window->List, Qt::Key_Return);
    QCOMPARE(M.Grid().Row(), M.RowOf("MSG_SIGNATURE_MISSING"));
}

QTEST_MAIN(TestMemorySuggestions)
#include "tst_MemorySuggestions.moc"
