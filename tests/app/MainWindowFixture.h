#pragma once
// The main window as the tests open it: a program folder made of the sample files and modal
// boxes and dialogs answered by a script.

#include "KavtoolRun.h"
#include "app/Localisation.h"
#include "app/StatusPanel.h"
#include "document/TranslationTable.h"
#include "gridview/StyledStringGrid.h"
#include "search/SearchCommands.h"

#include <QLabel>
#include <QtTest>

#include <deque>
#include <stdexcept>

namespace kav {

// Answers the main window's boxes and dialogs as a user would, and remembers what was shown.
class ScriptedDialogs : public IModalDialogs {
public:
    std::vector<std::string> Shown;
    std::deque<TModalResult> Answers;
    std::deque<std::optional<std::string>> Files;

    TModalResult MessageDlg(const std::string& Text, TMsgDlgType, TMsgDlgButtons Buttons) override {
        Shown.push_back(Text);
        if (Buttons == mbOK || Answers.empty())
            return Buttons == mbOK ? TModalResult::mrOK : TModalResult::mrCancel;
        TModalResult Answer = Answers.front();
        Answers.pop_front();
        return Answer;
    }
    void ShowError(const std::string& Text) override { Shown.push_back("error: " + Text); }
    // The colour dialog: the start colours it opened on; answers from Colors (none: cancel),
    // or a failure to open.
    std::vector<TColor> ColorStarts;
    std::deque<std::optional<TColor>> Colors;
    bool ColorDialogFails = false;
    std::optional<TColor> ChooseColor(TColor Start) override {
        if (ColorDialogFails)
            throw std::runtime_error("no colour dialog");
        ColorStarts.push_back(Start);
        if (Colors.empty())
            return std::nullopt;
        auto Color = Colors.front();
        Colors.pop_front();
        return Color;
    }
    std::optional<std::string> OpenDialog(const std::string&, const std::string&) override {
        return Next();
    }
    // List choices: the lists shown, answered from Choices (none: cancel).
    std::vector<std::vector<std::string>> Lists;
    std::deque<size_t> Choices;
    std::vector<std::string> Prompts;
    std::optional<size_t> ChooseItem(const std::string&, const std::string& Prompt,
                                     const std::vector<std::string>& Items) override {
        Lists.push_back(Items);
        Prompts.push_back(Prompt);
        if (Choices.empty())
            return std::nullopt;
        const size_t Choice = Choices.front();
        Choices.pop_front();
        return Choice;
    }
    std::optional<std::string> SaveDialog(const std::string&, const std::string&,
                                          const std::string&) override {
        return Next();
    }

private:
    std::optional<std::string> Next() {
        if (Files.empty())
            return std::nullopt;
        auto File = Files.front();
        Files.pop_front();
        return File;
    }
};

// A program folder made of the shipped sample files (or without some of them).
struct TProgramFolder {
    QTemporaryDir Dir;
    explicit TProgramFolder(bool WithDefault = true) {
        CopySampleFolders(QStringLiteral(KAV_SAMPLE_DATA), Dir.path());
        if (!WithDefault)
            QDir(Dir.path() + "/Default").removeRecursively();
    }
    std::string Home() const { return Dir.path().toStdString() + "/"; }
};

// The window shown once with scripted dialogs, the way start-up runs.
struct TWindow {
    ScriptedDialogs Dialogs;
    TMainForm Form;
    explicit TWindow(const std::string& Home, const std::string& StartFile = {})
        : Form(Home, &Dialogs) {
        Form.SetStartFile(StartFile);
        Form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&Form));
    }
    std::string Panel(int Index) const { return Form.StatusPanels[Index]->text().toStdString(); }
};

// A sample open in the window, which has the keyboard; cells are clicked and typed into as a
// translator would.
struct TOpenWindow {
    TProgramFolder Folder;
    std::unique_ptr<TWindow> W;
    explicit TOpenWindow(const std::string& File) {
        W = std::make_unique<TWindow>(Folder.Home(), Folder.Home() + "Language/" + File);
        Activate();
    }
    void Activate() {
        W->Form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&W->Form));
    }
    TMainForm& Form() { return W->Form; }
    TStyledStringGrid& Grid() { return *W->Form.strGrid; }
    TStyledGridModel& Table() { return W->Form.Table(); }
    void Click(int Col, int Row) {
        Grid().SetTopRow(std::max(FirstItemRow, Row - 3));
        QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {},
                          Grid().CellRect(Col, Row).center());
        QCoreApplication::processEvents();
    }
    void Press(int Key, Qt::KeyboardModifiers Modifiers = {}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(Key), Modifiers);
        QCoreApplication::processEvents();
    }
    void Type(const QString& Text) {
        for (QChar Char : Text)
            QTest::keyClick(QApplication::focusWidget(), Char.toLatin1() ? Char.toLatin1() : 'x',
                            Qt::NoModifier);
        QCoreApplication::processEvents();
    }
    void TypeText(const QString& Text) {
        for (QChar Char : Text) {
            QKeyEvent Press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(Char));
            QApplication::sendEvent(QApplication::focusWidget(), &Press);
        }
        QCoreApplication::processEvents();
    }
    QString EditorText() { return Grid().Editor() ? Grid().Editor()->Text() : QString(); }
    std::string Translated(int Row) { return std::string(Table().Cells(colTranslated, Row)); }
};

} // namespace kav
