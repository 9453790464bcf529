// Paint time of a full viewport of the styled grid with 100 rows and with 100 000 rows, scrolled
// to the middle and to the end, and the ratio of the two. Painting walks only the visible cells,
// so the ratio should stay near 1 (at most 1.2).

#include "gridview/StyledStringGrid.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

namespace {

using namespace kav;

void Fill(TStyledStringGrid& Grid, int Rows) {
    TStyledGridModel& M = Grid.Model();
    M.SetColCount(12);
    M.SetFixedRows(2);
    M.SetRowCount(Rows);
    for (int R = 2; R < Rows; ++R) {
        M.SetCells(0, R, std::to_string(R - 1));
        M.SetCells(3, R, "Txt_Constant_" + std::to_string(R));
        M.SetCells(4, R, "The default English text of item " + std::to_string(R));
        M.SetCells(5, R, "Le texte traduit de l'element " + std::to_string(R));
    }
    M.FontCol(5).SetStyle(fsBold);
    M.SetColorCol(4, clSilver);
    for (int R = 2; R < Rows; R += 97) {
        Grid.SetRowHeights(R, 36);
    }
}

// Milliseconds per full repaint, best of several rounds, with the top row moved each time.
double PaintMs(TStyledStringGrid& Grid, int FirstTop) {
    QImage Image(Grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    double Best = 1e9;
    for (int Round = 0; Round < 5; ++Round) {
        const auto Start = std::chrono::steady_clock::now();
        for (int I = 0; I < 20; ++I) {
            Grid.SetTopRow(FirstTop + I);
            Grid.viewport()->render(&Image);
        }
        const std::chrono::duration<double, std::milli> Spent =
            std::chrono::steady_clock::now() - Start;
        Best = std::min(Best, Spent.count() / 20);
    }
    return Best;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication App(argc, argv);
    TStyledStringGrid Small;
    TStyledStringGrid Large;
    for (TStyledStringGrid* Grid : {&Small, &Large}) {
        Grid->SetDefaultRowHeight(18);
        Grid->resize(1000, 700);
        Grid->show();
    }
    Fill(Small, 100);
    Fill(Large, 100000);
    QApplication::processEvents();
    const double SmallMs = PaintMs(Small, 2);
    const double MiddleMs = PaintMs(Large, 50000);
    const double EndMs = PaintMs(Large, 99900);
    std::printf("paint 100 rows: %.3f ms per viewport\n", SmallMs);
    std::printf("paint 100000 rows, middle: %.3f ms, ratio %.2f\n", MiddleMs, MiddleMs / SmallMs);
    std::printf("paint 100000 rows, end: %.3f ms, ratio %.2f\n", EndMs, EndMs / SmallMs);
    return 0;
}
