#pragma once
// The font commands of the tool bar, which change how the headers, the item numbers, the
// constant names and the default texts are shown (the translated texts keep their row fonts),
// and the colour marks the translator gives to rows.

#include "editing/ViewState.h"
#include "grid/Colors.h"

#include <string>

namespace kav {

class TStyledGridModel;
class TStyledStringGrid;
class UserInterface;

class TFontCommands {
public:
    TFontCommands(TViewState& State, TStyledStringGrid& Grid, UserInterface& UI)
        : S(State), strGrid(Grid), UI(UI) {}

    // Name: the selected font name; an empty name (nothing selected) changes nothing.
    void FontNameChange(const std::string& Name);
    // SizeText: the size box's text in points.
    void FontSizeChange(const std::string& SizeText);
    void BoldButtonClick(bool Down);

private:
    void AdjustRowHeights();

    TViewState& S;
    TStyledStringGrid& strGrid;
    UserInterface& UI;
};

} // namespace kav
