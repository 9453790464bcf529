// The main window's own cases, timed in one process as a translator meets them: the open of a
// translated file until the window is idle (its check of every item included), a Replace All
// through the Replace window answered "All", and Ctrl+S after one typed edit. The scale suite
// runs it on its generated pairs:
//   bench_window --home PAIR FILE [OLD NEW]
// (OLD and NEW default to the suite's "Fichier" and "Dossier", matching case).

#include "MainWindowFixture.h"
#include "document/ProgramFolder.h"
#include "searchui/KavrinoReplaceDialog.h"
#include "searchui/KavrinoReplaceForm.h"
#include "undo/DocumentHistory.h"

#include <QApplication>

#include <chrono>
#include <cstdio>

using namespace kav;

namespace {

using TClock = std::chrono::steady_clock;

double MsSince(TClock::time_point Start) {
    return std::chrono::duration<double, std::milli>(TClock::now() - Start).count();
}

// Until the window has nothing left to do: posted work, the check of a large table.
void WaitIdle(TMainForm& Form) {
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    } while (Form.Busy());
    QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    const std::string Home = ResolveProgramFolder(argc, argv);
    QApplication App(argc, argv);
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: bench_window --home PAIR FILE [OLD NEW]\n");
        return 2;
    }
    const QString Old = argc == 4 ? argv[2] : "Fichier";
    const QString New = argc == 4 ? argv[3] : "Dossier";

    auto Start = TClock::now();
    TWindow W(Home, argv[1]);
    TMainForm& Form = W.Form;
    WaitIdle(Form);
    const double OpenMs = MsSince(Start);
    const int Rows = Form.Table().RowCount();

    Start = TClock::now();
    QTest::keyClick(&Form, Qt::Key_R, Qt::ControlModifier);
    Form.ReplaceDialog1->SetFindText(Old.toStdString());
    Form.ReplaceDialog1->SetReplaceText(New.toStdString());
    Form.ReplaceDialog1->SetOptions(frDown | frReplaceAll | frMatchCase);
    W.Dialogs.Answers = {TModalResult::mrAll};
    Form.ReplaceDialog1->OnReplace(Form.ReplaceDialog1);
    Form.ReplaceDialog1->ReplaceWindow()->close();
    WaitIdle(Form);
    const double ReplaceMs = MsSince(Start);
    const int Steps = Form.History().Stack().count();

    // One edit typed into the first item's translation, then Ctrl+S.
    Form.activateWindow();
    TStyledStringGrid& Grid = *Form.strGrid;
    Grid.SetTopRow(FirstItemRow);
    QTest::mouseClick(Grid.viewport(), Qt::LeftButton, {},
                      Grid.CellRect(colTranslated, FirstItemRow).center());
    QTest::keyClicks(QApplication::focusWidget(), "x");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    WaitIdle(Form);
    W.Dialogs.Answers = {TModalResult::mrYes, TModalResult::mrYes};
    Start = TClock::now();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
    WaitIdle(Form);
    const double SaveMs = MsSince(Start);
    const bool Saved = !Form.State().FModified;

    std::printf("window open: %.1f ms, %d rows\n", OpenMs, Rows);
    std::printf("window replace all: %.1f ms, %d steps\n", ReplaceMs, Steps);
    std::printf("window save after one edit: %.1f ms%s\n", SaveMs, Saved ? "" : " (not saved)");
    return Steps == 1 && Saved ? 0 : 1;
}
