#include "EndedProcess.h"
#include "MainWindowFixture.h"
#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "platform/Settings.h"
#include "searchui/KavrinoFindDialog.h"
#include "searchui/KavrinoReplaceDialog.h"
#include "widgets/FontCharsetCombo.h"

#include <QScrollBar>
#include <QtTest>

#include <QComboBox>
#include <QEnterEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QToolButton>

#include <deque>

using namespace kav;

namespace {
QString Q(const std::string& Text) {
    return QString::fromStdString(Text);
}
} // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void startState();
    void languageFolderCreated();
    void languageFolderCannotBeCreated();
    void staleTempFilesRemovedAtStart();
    void missingDefaultFolderWarns();
    void gridAfterStartup();
    void controlsAndMenus();
    void hintGoesToStatusPanel();
    void keyboardSwitchingIsAKeptOption();
    void translatedColumnTakesTheSpareWidth();
    void closeWithAndWithoutChanges();
    void commandLineFileOpens();
    void commandLineFileMissing();
    void typedTextTakesTheLanguageCodePage_data();
    void typedTextTakesTheLanguageCodePage();
    void openThroughMenuAndSave();
    void boxesFollowTheDocument();
    void restorePreviousVersionThroughMenu();
    void screenshotNeverWaitsOnABox();
    void translationViewInstalled();
    void findAndReplaceThroughTheWindow();
    void exchangeButtonsAndResource();
    void makeResourceAsksToSave_data();
    void makeResourceAsksToSave();
};

void TestMainForm::startState() {
    TProgramFolder Folder;
    TWindow W(Folder.Home());
    QCOMPARE(W.Form.windowTitle(), QString("Untitled[*] - Kavrino Translation Tool "));
    QVERIFY(!W.Form.isWindowModified());
    QCOMPARE(W.Form.State().FFileKind, fkNone);
    QVERIFY(W.Form.State().FUntitled);
    QCOMPARE(W.Form.State().FDefaultFileName, Folder.Home() + "Default/Kavr_ENU.str");
    QCOMPARE(W.Form.ViewState().FHighlightBackColor, TColor(12632256));
    QCOMPARE(W.Form.ViewState().FHighlightFontColor, TColor(8388608));
    QCOMPARE(W.Form.State().Bookmarks[11], -1);
    QCOMPARE(W.Form.cbxSoftware->currentIndex(), 0);
    QCOMPARE(W.Form.LanguageBox->currentText(), QString("ENU - English (United States)"));
    QCOMPARE(W.Form.Table().Cells(colTranslated, 1), std::string("ENU - English (United States)"));
    QCOMPARE(W.Form.cmbFontCharset->currentText(), QString("(Default)"));
    QCOMPARE(int(W.Form.State().FFontCharset), 0);
    QVERIFY(W.Dialogs.Shown.empty());
    // The start focus is on the first translation: a key typed at once never overwrites a name.
    QCOMPARE(W.Form.strGrid->Col(), colTranslated);
    QCOMPARE(W.Form.strGrid->Row(), FirstItemRow);
}

void TestMainForm::languageFolderCreated() {
    TProgramFolder Folder;
    QDir(QString::fromStdString(Folder.Home() + "Language")).removeRecursively();
    TWindow W(Folder.Home());
    QVERIFY(QFileInfo(QString::fromStdString(Folder.Home() + "Language")).isDir());
}

void TestMainForm::languageFolderCannotBeCreated() {
    TProgramFolder Folder;
    QDir(QString::fromStdString(Folder.Home() + "Language")).removeRecursively();
    QFile Blocker(QString::fromStdString(Folder.Home() + "Language"));
    QVERIFY(Blocker.open(QIODevice::WriteOnly));
    Blocker.close();
    TWindow W(Folder.Home());
    // The remaining creation steps are skipped; the window shows all the same.
    QCOMPARE(W.Dialogs.Shown.front(), "error: Cannot create " + Folder.Home() + "Language/");
    QCOMPARE(W.Form.LanguageBox->count(), 0);
    QVERIFY(W.Form.isVisible());
}

void TestMainForm::staleTempFilesRemovedAtStart() {
    TProgramFolder Folder;
    const QString Suffix = ".kavtmp." + QString::number(EndedProcess()) + ".a1B2c3";
    const QStringList Stale{Q(Folder.Home() + "Language/.Kavr_FRA.str") + Suffix,
                            Q(Folder.Home() + "Default/.Kavr_ENU.str") + Suffix};
    for (const QString& Path : Stale) {
        QFile File(Path);
        QVERIFY(File.open(QIODevice::WriteOnly));
    }
    TWindow W(Folder.Home());
    for (const QString& Path : Stale)
        QVERIFY2(!QFile::exists(Path), qPrintable(Path));
    QVERIFY(QFile::exists(Q(Folder.Home() + "Language/Kavr_FRA.str")));
}

void TestMainForm::missingDefaultFolderWarns() {
    TProgramFolder Folder(false);
    TWindow W(Folder.Home());
    QCOMPARE(W.Dialogs.Shown, std::vector<std::string>{"Default Language File not found: " +
                                                       Folder.Home() + "Default/Kavr_ENU.str"});
}

void TestMainForm::gridAfterStartup() {
    TProgramFolder Folder;
    TWindow W(Folder.Home());
    TStyledStringGrid& G = *W.Form.strGrid;
    TStyledGridModel& T = W.Form.Table();
    QCOMPARE(T.ColCount(), 12);
    QCOMPARE(T.RowCount(), 3);
    QCOMPARE(T.FixedRows(), 2);
    QCOMPARE(T.Cells(0, 0), std::string("Items"));
    QCOMPARE(T.Cells(3, 0), std::string("Constante"));
    QCOMPARE(T.Cells(4, 0), std::string("Default Language"));
    QCOMPARE(T.Cells(5, 0), std::string("Translated Language"));
    for (int Col = 6; Col <= 11; ++Col) {
        QCOMPARE(G.ColWidths(Col), 0);
        QCOMPARE(T.Cells(Col, 0), std::string());
        QCOMPARE(T.Cells(Col, 1), std::string());
    }
    const int Width = G.ColWidths(0) * 100 / 8;
    QVERIFY(Width > 500);
    QVERIFY(qAbs(G.ColWidths(3) - Width * 20 / 100) <= 13);
    // The translated column takes what the others leave of the grid's width.
    QVERIFY(G.ColWidths(5) >= Width * 35 / 100 - 13);
    // The columns after it are hidden, their grid lines remain.
    QCOMPARE(G.CellRect(5, 0).right() + 1 + (12 - 5) * G.GridLineWidth(), G.viewport()->width());
    const bool Editable[12] = {false, false, false, true,  true,  true,
                               false, false, false, false, false, false};
    for (int Col = 1; Col < 12; ++Col)
        QCOMPARE(T.EditCol(Col), Editable[Col]);
    QCOMPARE(T.AlignCell(5, 0), alCenter);
    QCOMPARE(T.AlignCell(0, 4), alCenter);
    QVERIFY(T.CellFont(3, 0).Style() & fsBold);
    QCOMPARE(T.CellBrush(1, 2).Color(), clActiveCaption);
    QCOMPARE(T.CellFont(1, 2).Color(), clCaptionText);
    QCOMPARE(G.DefaultRowHeight(), 20);
    QVERIFY(G.HasOption(goAlwaysShowEditor) && G.HasOption(goColSizing) && G.HasOption(goTabs));
}

void TestMainForm::controlsAndMenus() {
    TProgramFolder Folder;
    TWindow W(Folder.Home());
    TMainForm& F = W.Form;
    QCOMPARE(F.FontSize->minimum(), 6);
    QCOMPARE(F.FontSize->maximum(), 16);
    QCOMPARE(F.FontSize->value(), 8);
    QVERIFY(F.btnWhite->isChecked());
    QCOMPARE(F.MaskEditFrom->text(), QString("00001"));
    QCOMPARE(F.MaskEditTo->text(), QString("00001"));
    QCOMPARE(F.edtFillChar->text(), QString("?"));
    QCOMPARE(F.FontName->currentText(), QString("Arial"));
    QCOMPARE(F.btnBleue->toolTip(), QString("F5"));
    QCOMPARE(F.SearchUpButton->toolTip(),
             QString("( ALT + F11 ) Search next string that was replaced"));
    QStringList Menus;
    for (QAction* Menu : F.menuBar()->actions())
        if (Menu->isVisible())
            Menus << Menu->text();
    QCOMPARE(Menus,
             (QStringList{"&File", "&Edit", "&Search", "Compile", "Other", "&View", "&Help"}));
    QStringList EditItems;
    for (QAction* Item : F.menuBar()->actions()[1]->menu()->actions())
        if (Item->isVisible() && !Item->isSeparator())
            EditItems << Item->text() + "=" + QKeySequence::listToString(Item->shortcuts()) + "=" +
                             (Item->isEnabled() ? "on" : "off");
    // Nothing to undo in a new window.
    QCOMPARE(EditItems, (QStringList{"&Undo=Ctrl+Z=off", "&Redo=Ctrl+Y; Ctrl+Shift+Z=off",
                                     "&Copy==on", "&Paste==on", "Translation &Memory==on"}));
    QStringList FileItems;
    for (QAction* Item : F.menuBar()->actions()[0]->menu()->actions())
        if (Item->isVisible() && !Item->isSeparator())
            FileItems << Item->text() + "=" + Item->shortcut().toString();
    QCOMPARE(FileItems,
             (QStringList{"&New=Ctrl+N", "&Open...=Ctrl+O", "&Save=Ctrl+S", "Save &As...=",
                          "&Restore Previous Version...=", "&Export=", "&Import=", "E&xit=Alt+X"}));
    const auto Entries = [&F](const char* Menu) {
        QStringList Texts;
        for (QAction* Item : F.findChild<QMenu*>(Menu)->actions())
            Texts << Item->text();
        return Texts;
    };
    QCOMPARE(Entries("ExportMenu"), (QStringList{"&XLIFF 1.2...", "&PO (gettext)...", "P&DF...",
                                                 "&Translation Memory (TMX)..."}));
    QCOMPARE(Entries("ImportMenu"), (QStringList{"&XLIFF 1.2...", "&PO (gettext)..."}));
    for (QAction* Item : F.pmnuGridRowAction->actions())
        QVERIFY(!Item->isVisible());
}

void TestMainForm::hintGoesToStatusPanel() {
    TProgramFolder Folder;
    TWindow W(Folder.Home());
    QEnterEvent Enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(W.Form.FontName, &Enter);
    QCOMPARE(W.Panel(0), std::string("Select font name"));
    QEvent Leave(QEvent::Leave);
    QCoreApplication::sendEvent(W.Form.FontName, &Leave);
    QCOMPARE(W.Panel(0), std::string());
}

void TestMainForm::keyboardSwitchingIsAKeptOption() {
    TProgramFolder Folder;
    QFile::remove(LocalisationSettingsFile());
    {
        TWindow W(Folder.Home());
        QAction* Item = W.Form.findChild<QAction*>("SwitchKeyboardItem");
        QVERIFY(Item && Item->isCheckable() && Item->isVisible());
        QVERIFY(!Item->isChecked());
        Item->trigger();
        QVERIFY(KeyboardSwitchingEnabled());
    }
    TWindow Again(Folder.Home());
    QAction* Item = Again.Form.findChild<QAction*>("SwitchKeyboardItem");
    QVERIFY(Item->isChecked());
    Item->trigger();
    QVERIFY(!KeyboardSwitchingEnabled());
}

// A wider window widens the translated column; the others keep their fractions of the grid,
// and a column the translator has sized keeps its width.
void TestMainForm::translatedColumnTakesTheSpareWidth() {
    TProgramFolder Folder;
    TWindow W(Folder.Home());
    TStyledStringGrid& G = *W.Form.strGrid;
    // Each column after the translated one is hidden but keeps its grid line.
    const int Lines = (G.ColCount() - colTranslated) * G.GridLineWidth();
    for (const int Width : {900, 1600, 1000}) {
        W.Form.resize(Width, 600);
        QTRY_COMPARE(W.Form.width(), Width);
        const int Client = G.viewport()->width();
        QCOMPARE(G.ColWidths(colDefault), static_cast<int>(Client * 0.3));
        QCOMPARE(G.CellRect(colTranslated, 0).right() + 1 + Lines, Client);
        QCOMPARE(G.horizontalScrollBar()->maximum(), 0);
    }
    G.SetColWidths(colName, 233);
    W.Form.resize(1400, 600);
    QTRY_COMPARE(W.Form.width(), 1400);
    QCOMPARE(G.ColWidths(colName), 233);
    QCOMPARE(G.CellRect(colTranslated, 0).right() + 1 + Lines, G.viewport()->width());
}

void TestMainForm::closeWithAndWithoutChanges() {
    TProgramFolder Folder;
    TWindow W(Folder.Home());
    W.Form.SetModified(true);
    W.Dialogs.Answers.push_back(TModalResult::mrCancel);
    QVERIFY(!W.Form.close());
    QVERIFY(W.Form.isVisible());
    QCOMPARE(W.Dialogs.Shown, std::vector<std::string>{"Save changes to Untitled?"});
    W.Dialogs.Answers.push_back(TModalResult::mrNo);
    QVERIFY(W.Form.close());
    TWindow Unchanged(Folder.Home());
    QVERIFY(Unchanged.Form.close());
    QVERIFY(Unchanged.Dialogs.Shown.empty());
}

void TestMainForm::commandLineFileOpens() {
    TProgramFolder Folder;
    TWindow W(Folder.Home(), Folder.Home() + "Language/Kavr_RUS.str");
    QCOMPARE(W.Form.State().FFileKind, fkMain);
    QCOMPARE(W.Form.windowTitle(), QString("Kavr_RUS.str[*] - Kavrino Translation Tool "));
    QCOMPARE(W.Form.LanguageBox->currentText().left(3), QString("RUS"));
    QCOMPARE(int(W.Form.State().FFontCharset), 204);
    QCOMPARE(W.Form.Table().RowCount(), 347);
    QCOMPARE(int(W.Form.Table().CellFont(colTranslated, 100).Charset()), 204);
    QCOMPARE(W.Panel(1), std::string("Total lines: 344"));
    // The range covers every item: the last item is 344.
    QCOMPARE(W.Form.MaskEditTo->text(), QString("00344"));
}

void TestMainForm::commandLineFileMissing() {
    TProgramFolder Folder;
    TWindow W(Folder.Home(), Folder.Home() + "Language/Kavr_XXX.str");
    QCOMPARE(W.Dialogs.Shown, std::vector<std::string>{"File not found: " + Folder.Home() +
                                                       "Language/Kavr_XXX.str"});
    QCOMPARE(W.Form.State().FFileKind, fkNone);
}

void TestMainForm::typedTextTakesTheLanguageCodePage_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Bulgarian, Cyrillic set")
        << "BGR" << QString::fromUtf8("Файл") << QByteArray("\xd4\xe0\xe9\xeb");
    QTest::newRow("Japanese, default set") << "JPN" << QString::fromUtf8("ファイル")
                                           << QByteArray("\x83t\x83@\x83"
                                                         "C\x83\x8b");
}

void TestMainForm::typedTextTakesTheLanguageCodePage() {
    QFETCH(QString, code);
    QFETCH(QString, typed);
    QFETCH(QByteArray, bytes);
    TProgramFolder Folder;
    const std::string Path = Folder.Home() + "Language/Kavr_" + code.toStdString() + ".str";
    QVERIFY(QFile::copy(QString::fromStdString(Folder.Home() + "Language/Kavr_DEU.str"),
                        QString::fromStdString(Path)));
    TWindow W(Folder.Home(), Path);
    QCOMPARE(W.Form.LanguageBox->currentText().left(3), code);
    W.Form.strGrid->FocusCell(colTranslated, 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    // Letters a US keyboard lacks, as the desktop's input method delivers them.
    for (QChar Letter : typed) {
        QWidget* Editor = QApplication::focusWidget();
        QTest::sendKeyEvent(QTest::Press, Editor, Qt::Key_unknown, QString(Letter), {});
        QTest::sendKeyEvent(QTest::Release, Editor, Qt::Key_unknown, QString(Letter), {});
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(QByteArrayView(W.Form.Table().Cells(colTranslated, 2)).toByteArray(), bytes);
    QVERIFY(W.Dialogs.Shown.empty());
}

void TestMainForm::openThroughMenuAndSave() {
    TProgramFolder Folder;
    TWindow W(Folder.Home());
    const std::string Path = Folder.Home() + "Language/Kavr_DEU.str";
    W.Dialogs.Files.push_back(Path);
    QTest::keyClick(&W.Form, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(W.Form.State().FFileName, Path);
    QCOMPARE(W.Panel(2), "Loaded file: " + Path);
    QVERIFY(W.Form.strGrid->isEnabled());
    QVERIFY(W.Form.strGrid->updatesEnabled());
    W.Form.Table().SetCells(colTranslated, 2, "Datei!");
    W.Form.SetModified(true);
    QVERIFY(QTest::qWaitForWindowActive(&W.Form));
    QTest::keyClick(&W.Form, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!W.Form.State().FModified);
    QCOMPARE(W.Panel(2), "Saved file: " + Path);
    QFile Saved(QString::fromStdString(Path));
    QVERIFY(Saved.open(QIODevice::ReadOnly));
    QVERIFY(Saved.readAll().contains("\"Datei!\""));
    QVERIFY(QFile::exists(QString::fromStdString(Folder.Home() + "Backup/Kavr_DEU.str")));
}

// The boxes show the document's values: an opened file sets them, and what the user picks in
// them becomes the document's.
void TestMainForm::boxesFollowTheDocument() {
    TProgramFolder Folder;
    TWindow W(Folder.Home());
    W.Dialogs.Files.push_back(Folder.Home() + "Language/Kavr_User_FRA.str");
    QTest::keyClick(&W.Form, Qt::Key_O, Qt::ControlModifier);
    QCOMPARE(W.Form.State().FFileKind, fkUser);
    QCOMPARE(W.Form.cbxSoftware->currentText(), QString("Pelmor"));
    QCOMPARE(W.Form.LanguageBox->currentText().left(3), QString("FRA"));
    QCOMPARE(W.Form.cmbFontCharset->currentText(), QString("Western"));
    QCOMPARE(QString::fromUtf8(W.Form.Table().Cells(colTranslated, 1)),
             W.Form.LanguageBox->currentText() + " - Western");

    // Russian picked with the keyboard: the document takes the language and its character set.
    W.Form.LanguageBox->setFocus();
    QTest::keyClicks(W.Form.LanguageBox, "RUS");
    QCOMPARE(W.Form.State().FLanguageCode, std::string("RUS"));
    QCOMPARE(int(W.Form.State().FFontCharset), 204);
    QCOMPARE(W.Form.cmbFontCharset->currentText(), QString("Cyrillic"));
    QCOMPARE(QString::fromUtf8(W.Form.Table().Cells(colTranslated, 1)),
             W.Form.LanguageBox->currentText() + " - Cyrillic");

    // Kavrino picked in the software box: File > New makes a main document without language,
    // and Save As then asks for one with the language label in red.
    W.Form.cbxSoftware->setFocus();
    QTest::keyClick(W.Form.cbxSoftware, Qt::Key_Up);
    QCOMPARE(W.Form.State().FSoftware, TSoftware::Kavrino);
    W.Form.FileNew();
    QCOMPARE(W.Form.State().FFileKind, fkMain);
    QCOMPARE(W.Form.LanguageBox->currentIndex(), -1);
    QVERIFY(W.Form.State().FLanguageCode.empty());
    W.Dialogs.Shown.clear();
    W.Form.FileSaveAs();
    QCOMPARE(W.Dialogs.Shown, std::vector<std::string>{"A language must be selected."});
    QVERIFY(W.Form.lblLanguage->styleSheet().contains("255, 0, 0"));
}

void TestMainForm::restorePreviousVersionThroughMenu() {
    TProgramFolder Folder;
    TWindow W(Folder.Home());
    const std::string Path = Folder.Home() + "Language/Kavr_DEU.str";
    QFile File(QString::fromStdString(Path));
    QVERIFY(File.open(QIODevice::ReadOnly));
    const QByteArray Original = File.readAll();
    File.close();
    W.Dialogs.Files.push_back(Path);
    QTest::keyClick(&W.Form, Qt::Key_O, Qt::ControlModifier);
    W.Form.Table().SetCells(colTranslated, 2, "Datei!");
    W.Form.SetModified(true);
    QVERIFY(QTest::qWaitForWindowActive(&W.Form));
    QTest::keyClick(&W.Form, Qt::Key_S, Qt::ControlModifier);
    QVERIFY(!W.Form.State().FModified);

    // File > Restore Previous Version..., chosen from the menu.
    W.Dialogs.Choices.push_back(0);
    for (QAction* Item : W.Form.menuBar()->actions()[0]->menu()->actions())
        if (Item->text() == "&Restore Previous Version...")
            Item->trigger();
    QTRY_COMPARE(W.Dialogs.Lists.size(), size_t(1));
    QCOMPARE(W.Dialogs.Lists[0].size(), size_t(1));
    QVERIFY2(QString::fromStdString(W.Dialogs.Lists[0][0]).startsWith("Kavr_DEU.str   "),
             W.Dialogs.Lists[0][0].c_str());
    QCOMPARE(W.Form.Table().Cells(colTranslated, 2),
             Original.mid(Original.indexOf("Txt_")).split('"').value(1).toStdString());
    QCOMPARE(W.Form.windowTitle(), QString("Untitled[*] - Kavrino Translation Tool "));
    QVERIFY(W.Form.State().FModified);
    // A restored version is a change: the caption and the status bar say so.
    QVERIFY(W.Form.isWindowModified());
    QCOMPARE(W.Form.ModifiedPanel->text(), QString("Modified"));
    QVERIFY2(W.Panel(2).find("Restored version: Kavr_DEU.str of ") == 0, W.Panel(2).c_str());
}

void TestMainForm::screenshotNeverWaitsOnABox() {
    TProgramFolder Folder;
    const QString File = QString::fromStdString(Folder.Home() + "Language/Kavr_FRA.str");
    QFile Damaged(File);
    QVERIFY(Damaged.open(QIODevice::Append));
    Damaged.write("one line too many\r\n");
    Damaged.close();
    const QString Png = QString::fromStdString(Folder.Home() + "shot.png");
    QProcess P;
    P.start(QStringLiteral(EDITOR_PATH), {"--home", Folder.Dir.path(), "--screenshot", Png, File});
    QVERIFY(P.waitForFinished(60000));
    QCOMPARE(P.exitCode(), 0);
    const QString Err = QString::fromUtf8(P.readAllStandardError());
    QVERIFY2(Err.contains("Warning: File \"" + File + "\" is not compatible with the defaut file."),
             qPrintable(Err));
    QVERIFY(QImage(Png).width() > 0);
}

void TestMainForm::translationViewInstalled() {
    TProgramFolder Folder;
    TWindow W(Folder.Home(), Folder.Home() + "Language/Kavr_FRA.str");
    TStyledGridModel& T = W.Form.Table();
    T.SetCells(colDefault, 3, "Cancel");
    T.SetCells(colTranslated, 3, "Cancel");
    const QImage Image = W.Form.strGrid->viewport()->grab().toImage();
    const QRect Cell = W.Form.strGrid->CellRect(colTranslated, 3);
    QCOMPARE(Image.pixelColor(Cell.right() - 2, Cell.bottom() - 1), QColor(Qt::yellow));
    // A click on the mark column with the yellow button down marks the row.
    W.Form.btnYellow->setChecked(true);
    QVERIFY(!W.Form.State().FModified);
    const QPoint Mark = W.Form.strGrid->CellRect(colMark, 4).center();
    QTest::mouseClick(W.Form.strGrid->viewport(), Qt::LeftButton, {}, Mark);
    QCOMPARE(T.ColorCell(colMark, 4), TColor(65535));
    QVERIFY(W.Form.State().FModified);
    // The mark column is never selected; the row marked becomes the one worked on.
    QCOMPARE(W.Form.strGrid->Col(), int(colTranslated));
    QCOMPARE(W.Form.strGrid->Row(), 4);
}

void TestMainForm::findAndReplaceThroughTheWindow() {
    TProgramFolder Folder;
    TWindow W(Folder.Home(), Folder.Home() + "Language/Kavr_FRA.str");
    QMenu* Search = W.Form.menuBar()->actions()[2]->menu();
    Search->actions()[0]->trigger(); // Find...
    QVERIFY(W.Form.FindDialog1->IsOpen());
    W.Form.FindDialog1->SetFindText("enregistrer sous");
    W.Form.FindDialog1->FindNextClick();
    const int Row = W.Form.Search().State().FFoundRow;
    QVERIFY(Row >= FirstItemRow);
    QCOMPARE(W.Form.Table().Cells(colTranslated, Row), std::string("Enregistrer sous..."));
    // Replace All with its question answered All: every hit replaced and marked.
    Search->actions()[1]->trigger(); // Replace...
    QVERIFY(W.Form.ReplaceDialog1->IsOpen());
    W.Form.ReplaceDialog1->SetFindText("Enregistrer sous");
    W.Form.ReplaceDialog1->SetReplaceText("Sauver sous");
    W.Form.ReplaceDialog1->SetOptions(frDown | frReplaceAll);
    W.Dialogs.Answers.push_back(TModalResult::mrAll);
    W.Form.ReplaceDialog1->OnReplace(W.Form.ReplaceDialog1);
    QCOMPARE(W.Form.Table().Cells(colTranslated, Row), std::string("Sauver sous..."));
    const TItemTable& Items = W.Form.Document().Items();
    QCOMPARE(Items.MarkText(ItemOfRow(Row)), std::string("[1] <Enregistrer sous>  @Sauver sous@"));
    QVERIFY(W.Form.State().FModified);
    // The mark is undone from the row's pop-up item, on the current row.
    W.Form.strGrid->FocusCell(colTranslated, Row);
    W.Form.UndoReplaceStringMenu->trigger();
    QCOMPARE(W.Form.Table().Cells(colTranslated, Row), std::string("Enregistrer sous..."));
    QCOMPARE(Items.MarkText(ItemOfRow(Row)), std::string());
}

void TestMainForm::exchangeButtonsAndResource() {
    TProgramFolder Folder;
    TWindow W(Folder.Home(), Folder.Home() + "Language/Kavr_FRA.str");
    // Make Resource File on the saved document writes the script and the batch; with no batch
    // runner it says where the batch is.
    qputenv("KAVTOOL_BATCH_RUNNER", "");
    W.Form.menuBar()->actions()[3]->menu()->actions()[0]->trigger();
    qunsetenv("KAVTOOL_BATCH_RUNNER");
    QVERIFY(QFile::exists(QString::fromStdString(Folder.Home() + "Compiler/KavLang_FRA.rc")));
    QVERIFY(QFile::exists(QString::fromStdString(Folder.Home() + "MakeKavrinoRes.bat")));
    // A batch that starts is reported too, with where its output goes.
    qputenv("KAVTOOL_BATCH_RUNNER", "true");
    W.Form.menuBar()->actions()[3]->menu()->actions()[0]->trigger();
    qunsetenv("KAVTOOL_BATCH_RUNNER");
    QVERIFY(QString::fromStdString(W.Dialogs.Shown.back())
                .contains("MakeKavrinoRes.bat.\nThe build batch was started"));
    // Export: the three documents in RTF/.
    W.Dialogs.Shown.clear();
    W.Form.btnSaveColGrid->click();
    QCOMPARE(QDir(QString::fromStdString(Folder.Home() + "RTF")).entryList({"*.rtf"}).size(), 3);
    QVERIFY(!W.Dialogs.Shown.empty()); // the summary
    // Fill asks first: No changes nothing; Yes makes every translation the fill text.
    W.Form.edtFillChar->setText("#");
    W.Dialogs.Answers = {TModalResult::mrNo, TModalResult::mrYes};
    W.Form.btnFillTranslatedLanguage->click();
    QCOMPARE(W.Dialogs.Shown.back(), std::string("Fill all 344 translations with '#'?"));
    QCOMPARE(W.Form.Table().Cells(colTranslated, 2), std::string("Fichier"));
    QVERIFY(!W.Form.State().FModified);
    W.Form.btnFillTranslatedLanguage->click();
    QCOMPARE(W.Form.Table().Cells(colTranslated, 2), std::string("#"));
    QCOMPARE(W.Form.Table().Cells(colTranslated, 345), std::string("#"));
    QVERIFY(W.Form.State().FModified);
    // Import from the translation document exported above brings the French texts back.
    QString Translation;
    for (const QString& Name :
         QDir(QString::fromStdString(Folder.Home() + "RTF")).entryList({"*.rtf"}))
        if (Name.endsWith("_FRA.rtf") && !Name.contains("_To_"))
            Translation = QString::fromStdString(Folder.Home() + "RTF/") + Name;
    QVERIFY(!Translation.isEmpty());
    W.Dialogs.Files.push_back(Translation.toStdString());
    W.Form.MaskEditFrom->setText("00001");
    W.Form.MaskEditTo->setText("00344");
    W.Form.btnFillGridCol->click();
    QCOMPARE(W.Form.Table().Cells(colTranslated, 2), std::string("Fichier"));
}

void TestMainForm::makeResourceAsksToSave_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("built");
    QTest::newRow("yes") << int(TModalResult::mrYes) << true << true;
    QTest::newRow("no") << int(TModalResult::mrNo) << false << true;
    QTest::newRow("cancel") << int(TModalResult::mrCancel) << false << false;
}

// The build reads the file on disk, so edits not yet saved are offered for saving first.
void TestMainForm::makeResourceAsksToSave() {
    QFETCH(int, answer);
    QFETCH(bool, saved);
    QFETCH(bool, built);
    TProgramFolder Folder;
    const std::string Path = Folder.Home() + "Language/Kavr_FRA.str";
    TWindow W(Folder.Home(), Path);
    W.Form.Table().SetCells(colTranslated, 2, "Fichier!");
    W.Form.SetModified(true);
    W.Dialogs.Shown.clear();
    W.Dialogs.Answers.push_back(TModalResult(answer));
    qputenv("KAVTOOL_BATCH_RUNNER", "");
    W.Form.menuBar()->actions()[3]->menu()->actions()[0]->trigger(); // Make Resource File
    qunsetenv("KAVTOOL_BATCH_RUNNER");
    QVERIFY(!W.Dialogs.Shown.empty());
    QCOMPARE(W.Dialogs.Shown[0], std::string("Save changes before building?"));
    QFile File(QString::fromStdString(Path));
    QVERIFY(File.open(QIODevice::ReadOnly));
    QCOMPARE(File.readAll().contains("\"Fichier!\""), saved);
    QCOMPARE(W.Form.State().FModified, !saved);
    QCOMPARE(QFile::exists(QString::fromStdString(Folder.Home() + "MakeKavrinoRes.bat")), built);
}

QTEST_MAIN(TestMainForm)
#include "tst_MainForm.moc"
