// File > Export and File > Import of the real main window: the CAT-tool formats written from
// the open document and read back into it as one undo step, and the table as a PDF, chosen
// with the keyboard.

#include "MainWindowFixture.h"

#include <QMenu>
#include <QMenuBar>

using namespace kav;

class TestExchangeMenus : public QObject {
    Q_OBJECT
private slots:
    void exportEditImportUndo_data();
    void exportEditImportUndo();
    void exportPdf();

private:
    // Alt+F, then the submenu's and the entry's mnemonic letters.
    void Choose(TOpenWindow& F, Qt::Key Submenu, Qt::Key Entry) {
        QMenu* File = F.Form().menuBar()->actions()[0]->menu();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(File->isVisible());
        QTest::keyClick(File, Submenu);
        QTRY_VERIFY(QApplication::activePopupWidget() && QApplication::activePopupWidget() != File);
        QTest::keyClick(QApplication::activePopupWidget(), Entry);
        QTRY_VERIFY(!File->isVisible());
    }
};

void TestExchangeMenus::exportEditImportUndo_data() {
    QTest::addColumn<int>("entry");
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("XLIFF") << int(Qt::Key_X) << "xlf"
                           << QByteArray("<target state=\"translated\">Fichier</target>")
                           << QByteArray("<target state=\"translated\">Dossier</target>");
    QTest::newRow("PO") << int(Qt::Key_P) << "po"
                        << QByteArray("msgid \"File\"\nmsgstr \"Fichier\"")
                        << QByteArray("msgid \"File\"\nmsgstr \"Dossier\"");
}

void TestExchangeMenus::exportEditImportUndo() {
    QFETCH(int, entry);
    QFETCH(QString, extension);
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    TOpenWindow F("Kavr_FRA.str");
    const std::string Path = F.Folder.Home() + "exchange." + extension.toStdString();
    QCOMPARE(F.Translated(FirstItemRow), std::string("Fichier"));

    F.W->Dialogs.Files.push_back(Path);
    Choose(F, Qt::Key_E, Qt::Key(entry));
    QTRY_VERIFY(QFile::exists(QString::fromStdString(Path)));
    QVERIFY(F.W->Dialogs.Shown.back().find("Wrote " + Path) == 0);

    // The reviewer's change, made in the exported file.
    QFile File(QString::fromStdString(Path));
    QVERIFY(File.open(QIODevice::ReadOnly));
    QByteArray Bytes = File.readAll();
    File.close();
    QVERIFY(Bytes.contains(before));
    Bytes.replace(before, after);
    QVERIFY(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
    File.write(Bytes);
    File.close();

    F.W->Dialogs.Files.push_back(Path);
    Choose(F, Qt::Key_I, Qt::Key(entry));
    QTRY_COMPARE(F.Translated(FirstItemRow), std::string("Dossier"));
    QVERIFY2(F.W->Dialogs.Shown.back().find("1 items imported") != std::string::npos,
             F.W->Dialogs.Shown.back().c_str());
    QVERIFY(F.Form().State().FModified);

    F.Activate();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE(F.Translated(FirstItemRow), std::string("Fichier"));
}

void TestExchangeMenus::exportPdf() {
    TOpenWindow F("Kavr_FRA.str");
    const std::string Path = F.Folder.Home() + "table.pdf";
    F.W->Dialogs.Files.push_back(Path);
    Choose(F, Qt::Key_E, Qt::Key_D);
    QTRY_VERIFY(QFile::exists(QString::fromStdString(Path)));
    QVERIFY2(F.W->Dialogs.Shown.back().find("Wrote " + Path + " (") == 0,
             F.W->Dialogs.Shown.back().c_str());
    QFile File(QString::fromStdString(Path));
    QVERIFY(File.open(QIODevice::ReadOnly));
    QVERIFY(File.read(5) == "%PDF-");
}

QTEST_MAIN(TestExchangeMenus)
#include "tst_ExchangeMenus.moc"
