#include "grid/GridText.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace kav {

namespace {

// Line breaks are CR LF, CR or LF; a break at the very end does not start another line.
std::vector<std::string_view> SplitLines(std::string_view Text) {
    std::vector<std::string_view> Lines;
    size_t Start = 0;
    while (Start < Text.size()) {
        size_t End = Text.find_first_of("\r\n", Start);
        if (End == std::string_view::npos) {
            Lines.push_back(Text.substr(Start));
            break;
        }
        Lines.push_back(Text.substr(Start, End - Start));
        Start =
            End + ((Text[End] == '\r' && End + 1 < Text.size() && Text[End + 1] == '\n') ? 2 : 1);
    }
    return Lines;
}

void PasteLine(TStyledGridModel& Grid, std::string_view Line, char Separator, int Row, int Left,
               int Right) {
    std::string Rest(Line);
    Rest += Separator;
    size_t Pos = 0;
    for (int Col = Left; Col <= Right && Rest.size() - Pos > 1; ++Col) {
        while (Col >= Grid.ColCount()) {
            Grid.SetColCount(Grid.ColCount() + 1);
        }
        const size_t Sep = Rest.find(Separator, Pos);
        Grid.SetCells(Col, Row, Rest.substr(Pos, Sep - Pos));
        Pos = Sep + 1;
        if (Col == INT_MAX) {
            break;
        }
    }
}

} // namespace

TGridRect NormalisedBlock(const TStyledGridModel& Grid, TGridRect Rect) {
    if (Rect.Right < Rect.Left || Rect.Right < 0) {
        Rect.Right = Grid.ColCount() - 1;
    }
    Rect.Left = std::max(Rect.Left, 0);
    if (Rect.Bottom < Rect.Top || Rect.Bottom < 0) {
        Rect.Bottom = Grid.RowCount() - 1;
    }
    Rect.Top = std::max(Rect.Top, 0);
    Rect.Right = std::min(Rect.Right, Grid.ColCount() - 1);
    Rect.Bottom = std::min(Rect.Bottom, Grid.RowCount() - 1);
    return Rect;
}

std::string CellsToText(const TStyledGridModel& Grid, char Separator, TGridRect Rect) {
    // Cells outside the grid do not exist; a huge rectangle must not produce endless text.
    Rect = NormalisedBlock(Grid, Rect);
    std::string Text;
    for (int Row = Rect.Top; Row <= Rect.Bottom; ++Row) {
        for (int Col = Rect.Left; Col <= Rect.Right; ++Col) {
            Text += Grid.Cells(Col, Row);
            Text += Separator;
        }
        Text += "\r\n";
    }
    return Text;
}

void TextToCells(TStyledGridModel& Grid, std::string_view Text, char Separator, TGridRect Rect) {
    Rect.Left = std::max(Rect.Left, 0);
    Rect.Top = std::max(Rect.Top, 0);
    if (Rect.Bottom < Rect.Top) {
        Rect.Bottom = INT_MAX;
    }
    if (Rect.Right < Rect.Left) {
        Rect.Right = INT_MAX;
    }
    const std::vector<std::string_view> Lines = SplitLines(Text);
    for (size_t I = 0; I < Lines.size(); ++I) {
        const long long Row = static_cast<long long>(Rect.Top) + static_cast<long long>(I);
        if (Row > Rect.Bottom) {
            break;
        }
        while (Grid.RowCount() <= Row) {
            Grid.SetRowCount(Grid.RowCount() + 1);
        }
        PasteLine(Grid, Lines[I], Separator, static_cast<int>(Row), Rect.Left, Rect.Right);
    }
}

} // namespace kav
