#include "editing/FontCommands.h"

#include "document/TranslationTable.h"
#include "document/UserInterface.h"
#include "gridview/StyledStringGrid.h"
#include "text/IntConv.h"

#include <functional>

namespace kav {

namespace {

// Runs a font command once: not while another one runs (a change it makes may raise the
// next), with the window locked and the grid disabled, the grid focused afterwards.
void RunFontCommand(TViewState& S, UserInterface& UI, TStyledStringGrid& Grid,
                    const std::function<void()>& Step) {
    if (S.FUpdatingFont)
        return;
    S.FUpdatingFont = true;
    struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
    } Reset{S.FUpdatingFont};
    {
        TUpdateLock Lock(UI);
        Step();
    }
    Grid.setFocus();
}

// The fonts the tool bar controls other than the grid's own.
template <typename F> void ForHeaderAndNameFonts(TStyledGridModel& G, F Change) {
    Change(G.FontFixedCol(colItem));
    Change(G.FontFixedRow(0));
    Change(G.FontFixedRow(1));
    Change(G.FontCol(colName));
    Change(G.FontCol(colDefault));
}

} // namespace

void TFontCommands::FontNameChange(const std::string& Name) {
    if (Name.empty())
        return;
    RunFontCommand(S, UI, strGrid, [&] {
        TStyledGridModel& G = strGrid.Model();
        G.Font().SetName(Name);
        ForHeaderAndNameFonts(G, [&](TMyFont& Font) { Font.SetName(Name); });
    });
}

void TFontCommands::FontSizeChange(const std::string& SizeText) {
    int32_t Size = 0;
    if (!TryStrToInt(SizeText, Size) || Size <= 0)
        return;
    RunFontCommand(S, UI, strGrid, [&] {
        ForHeaderAndNameFonts(strGrid.Model(), [&](TMyFont& Font) { Font.SetSize(Size); });
        AdjustRowHeights();
    });
}

void TFontCommands::AdjustRowHeights() {
    const int Count = strGrid.RowCount();
    if (Count > EmptyTableRowCount) {
        for (int Row = 0; Row < Count; ++Row)
            strGrid.AdjustRowHeight(Row);
        return;
    }
    // Without items only a row made taller by a name that needs the room is refitted.
    const int Default = strGrid.DefaultRowHeight();
    for (int Row = 0; Row < Count; ++Row)
        if (strGrid.RowHeights(Row) > Default && strGrid.Canvas().TextHeight(QString::fromUtf8(
                                                     strGrid.Cells(colName, Row))) > Default - 5)
            strGrid.AdjustRowHeight(Row);
}

void TFontCommands::BoldButtonClick(bool Down) {
    RunFontCommand(S, UI, strGrid, [&] {
        TStyledGridModel& G = strGrid.Model();
        for (int Col : {colName, colDefault}) {
            TMyFont& Font = G.FontCol(Col);
            Font.SetStyle(
                static_cast<TFontStyles>(Down ? Font.Style() | fsBold : Font.Style() & ~fsBold));
        }
    });
}

} // namespace kav
