// A window with a styled grid laid out like the translation table, for looking at the drawing.
// --screenshot FILE writes the window to a PNG file and exits.

#include "gridview/StyledStringGrid.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <string>

namespace {

using namespace kav;

void FillTable(TStyledStringGrid& Grid) {
    TStyledGridModel& M = Grid.Model();
    M.SetColCount(6);
    M.SetRowCount(2003);
    M.SetFixedCols(1);
    M.SetFixedRows(2);
    const char* Captions[] = {"No.",     "Bookmark", "Constant",
                              "English", "Width",    "Translated Language"};
    for (int C = 0; C < 6; ++C) {
        M.SetCells(C, 0, Captions[C]);
        M.SetCells(C, 1, C == 5 ? "FRA" : "");
        M.SetFixedAlignCol(C, alCenter);
    }
    for (int R = 2; R < M.RowCount() - 1; ++R) {
        M.SetCells(0, R, std::to_string(R - 1));
        M.SetCells(2, R, "Txt_Item_" + std::to_string(R - 1));
        M.SetCells(3, R,
                   R % 7 == 0 ? "A rather long English text that will not fit" : "Open & save");
        M.SetCells(4, R, std::to_string(80 + R % 50));
        M.SetCells(5, R, R % 5 == 0 ? "Ouvrir\r\net enregistrer" : "Caf\xe9 cr\xe8me");
    }
    M.SetAlignCol(4, alRight);
    M.SetAlignCol(0, alCenter);
    M.SetEditCol(2, false);
    M.SetEditCol(3, false);
    M.SetColorCol(3, clSilver);
    M.SetColorCell(5, 4, clYellow);
    M.FontCol(5).SetStyle(fsBold);
    Grid.Model().SetSelectedCellColor(clHighlight);
    Grid.Model().SetSelectedFontColor(clHighlightText);
    const int Widths[] = {40, 60, 140, 220, 50, 220};
    for (int C = 0; C < 6; ++C) {
        Grid.SetColWidths(C, Widths[C]);
    }
    Grid.AdjustRowHeight(10);
    Grid.Model().SetHintCell(3, 3, "English text of item 2");
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication App(argc, argv);
    QApplication::setApplicationName("grid_demo");
    QCommandLineParser Parser;
    Parser.addHelpOption();
    QCommandLineOption Screenshot("screenshot", "Write the window to FILE and exit.", "FILE");
    Parser.addOption(Screenshot);
    Parser.process(App);

    TStyledStringGrid Grid;
    Grid.SetDefaultRowHeight(18);
    FillTable(Grid);
    Grid.SetOptions(Grid.Options() | goEditing | goColSizing | goTabs | goAlwaysShowEditor);
    Grid.NextCellEdit = nc_downright;
    Grid.NextCellTab = nc_downright;
    Grid.AfterLastCellEdit = lc_first;
    Grid.SetSelection({3, 3, 4, 6});
    Grid.resize(820, 420);
    Grid.setWindowTitle("Styled grid");
    Grid.show();

    if (Parser.isSet(Screenshot)) {
        const QString File = Parser.value(Screenshot);
        QTimer::singleShot(100, &App, [&] {
            const bool Saved = Grid.grab().save(File, "PNG");
            App.exit(Saved ? 0 : 1);
        });
    }
    return App.exec();
}
