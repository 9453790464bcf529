// The Help menu of the real main window: Contents (F1) opens the product's help file when the
// program folder has one, otherwise the user guide; Keyboard Shortcuts lists the keys.

#include "MainWindowFixture.h"
#include "app/ShortcutsDialog.h"
#include "document/ProgramFolder.h"

#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTableWidget>
#include <QTimer>
#include <QUrl>

using namespace kav;

namespace {

// Takes the URLs the window hands to the desktop instead of starting a browser.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> Opened;
    TUrlCatcher() { QDesktopServices::setUrlHandler("file", this, "Open"); }
    ~TUrlCatcher() override { QDesktopServices::unsetUrlHandler("file"); }
public slots:
    void Open(const QUrl& Url) { Opened << Url; }
};

QAction* HelpItem(TMainForm& Form, const QString& Text) {
    for (QAction* Menu : Form.menuBar()->actions())
        if (Menu->text() == "&Help")
            for (QAction* Item : Menu->menu()->actions())
                if (Item->text() == Text)
                    return Item;
    return nullptr;
}

} // namespace

class TestHelpMenu : public QObject {
    Q_OBJECT
private slots:
    void contentsOpens_data();
    void contentsOpens();
    void shortcutsListsTheKeys();
    void fontsListsTheItemFaces();
};

void TestHelpMenu::contentsOpens_data() {
    QTest::addColumn<bool>("ProductHelp");
    QTest::newRow("the product's help file") << true;
    QTest::newRow("no product help: the user guide") << false;
}

void TestHelpMenu::contentsOpens() {
    QFETCH(bool, ProductHelp);
    TProgramFolder Folder;
    const QString HelpFile =
        QString::fromStdString(Folder.Home()) + "Help/KAVRINO TRANSLATION TOOL.HLP";
    if (ProductHelp) {
        QVERIFY(QDir().mkpath(QFileInfo(HelpFile).absolutePath()));
        QFile File(HelpFile);
        QVERIFY(File.open(QIODevice::WriteOnly));
    }
    const QString Guide = QString::fromStdString(UserGuideFile());
    QVERIFY2(QFileInfo::exists(Guide), qPrintable(Guide));
    TUrlCatcher Catcher;
    TWindow W(Folder.Home());
    W.Form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&W.Form));
    QTest::keyClick(&W.Form, Qt::Key_F1);
    QCOMPARE(Catcher.Opened, QList<QUrl>{QUrl::fromLocalFile(ProductHelp ? HelpFile : Guide)});
    QCOMPARE(W.Dialogs.Shown, std::vector<std::string>{});
}

void TestHelpMenu::shortcutsListsTheKeys() {
    TProgramFolder Folder;
    TWindow W(Folder.Home());
    QAction* Item = HelpItem(W.Form, "&Keyboard Shortcuts");
    QVERIFY(Item);
    QMap<QString, QString> Listed;
    bool Seen = false;
    QTimer::singleShot(0, [&] {
        auto* Dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!Dialog || Dialog->objectName() != "ShortcutsDialog")
            return;
        Seen = true;
        auto* Table = Dialog->findChild<QTableWidget*>("ShortcutsTable");
        for (int R = 0; Table && R < Table->rowCount(); ++R)
            Listed[Table->item(R, 1)->text()] = Table->item(R, 0)->text();
        Dialog->reject();
    });
    Item->trigger();
    QVERIFY(Seen);
    // Menu keys come from the menus themselves; the table's keys from their own list.
    QCOMPARE(Listed.value("Search > Find..."),
             QKeySequence("Ctrl+F").toString(QKeySequence::NativeText));
    QCOMPARE(Listed.value("File > Save"),
             QKeySequence("Ctrl+S").toString(QKeySequence::NativeText));
    QCOMPARE(Listed.value("Help > Content"), QString("F1"));
    QCOMPARE(Listed.value("Go to bookmark 1 ... 12"), QString("Ctrl+F1 ... F12"));
}

// Help > Fonts, chosen with the keys: each item font of the open document and what measures
// it, the language's linked face among them, and the display setting the widths are for.
void TestHelpMenu::fontsListsTheItemFaces() {
    TProgramFolder Folder;
    const QString Home = QString::fromStdString(Folder.Home());
    QVERIFY(QDir().mkpath(Home + "Fonts"));
    QFile Ini(Home + "Fonts/Substitutes.ini");
    QVERIFY(Ini.open(QIODevice::WriteOnly));
    Ini.write("[FRA]\nTahoma=Loma\n[DEU]\nCourier New=Loma\n");
    Ini.close();
    TWindow W(Folder.Home(), Folder.Home() + "Language/Kavr_FRA.str");
    W.Form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&W.Form));
    QMenu* Help = W.Form.menuBar()->actions().back()->menu();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_H, Qt::AltModifier);
    QTRY_VERIFY(Help->isVisible());
    QMap<QString, QString> Listed;
    QString Note;
    bool Seen = false;
    QTimer::singleShot(0, [&] {
        auto* Dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!Dialog || Dialog->objectName() != "FontsDialog")
            return;
        Seen = true;
        auto* Table = Dialog->findChild<QTableWidget*>("FontsTable");
        for (int R = 0; Table && R < Table->rowCount(); ++R)
            Listed[Table->item(R, 0)->text()] = Table->item(R, 1)->text();
        if (auto* Label = Dialog->findChild<QLabel*>("FontsDpiNote"))
            Note = Label->text();
        QTest::keyClick(Dialog, Qt::Key_Escape);
    });
    QTest::keyClick(Help, Qt::Key_F);
    QVERIFY(Seen);
    QVERIFY2(Listed.value("Arial").endsWith("/LiberationSans-Regular.ttf"),
             qPrintable(Listed.value("Arial")));
    QVERIFY2(Listed.value("Arial bold").endsWith("/LiberationSans-Bold.ttf"),
             qPrintable(Listed.value("Arial bold")));
    // French links Tahoma to Loma; the German line is not this document's.
    QCOMPARE(Listed.value("Tahoma -> Loma for FRA"), QString("system: Loma"));
    QVERIFY(!Listed.contains("Tahoma"));
    QVERIFY2(Listed.value("Courier New").endsWith("/LiberationMono-Regular.ttf"),
             qPrintable(Listed.value("Courier New")));
    QCOMPARE(Note, QString("Widths are the product's pixels at 96 dpi (100 %)."));
}

QTEST_MAIN(TestHelpMenu)
#include "tst_HelpMenu.moc"
