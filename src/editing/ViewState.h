#pragma once
// What the translator's view of the table remembers for itself: the last cell clicked, the
// header column clicked, where the search windows open, and the colours of the width band.

#include "grid/Colors.h"

namespace kav {

struct TViewState {
    int FClickedRow = 0;
    int FClickedCol = 0;
    int FClickedFixedCol = 0;
    bool FUpdatingFont = false;
    int FDialogLeft = 0;
    int FDialogTop = 0;
    TColor FHighlightBackColor = 12632256; // silver
    TColor FHighlightFontColor = 8388608;  // navy
};

} // namespace kav
