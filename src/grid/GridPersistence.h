#pragma once
// The grid's settings in the text form of a form resource: its own published values (sizes,
// defaults, colours), the current persisted data (HintCell, Cells, PropCell, PropCol, PropRow,
// PropFixedCol, PropFixedRow) and the older byte-block and list formats, which are still read.
// Properties that are not the model's (the widget's DefaultColWidth, Options ...) are handed
// back to the caller.

#include "grid/FormText.h"
#include "grid/GridModel.h"

#include <array>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kav {

// The 33 persisted names in their declared order; the first seven are the current format.
const std::array<std::string_view, 33>& GridPersistedNames();
constexpr int CurrentFormatNames = 7;
// Indexes and counts in persisted data fit in 16 bits.
constexpr int MaxPersistedIndex = 65535;

// Reads one object's properties into a grid, property by property, like a form being loaded.
class TGridReader {
public:
    explicit TGridReader(TStyledGridModel& Grid) : FGrid(Grid) {}
    // False when the property is not one of the model's. Throws TFormError.
    bool ReadProperty(const TFormProperty& Property);
    // The after-loading step: loaded texts are put over ColCount x RowCount, the rest dropped.
    void Loaded();

private:
    bool ReadPublished(const TFormProperty& Property);
    bool ReadCurrent(const std::string& Name, const TFormValue& Value);
    bool ReadOlderBytes(const std::string& Name, const TFormValue& Value);
    bool ReadOlderList(const std::string& Name, const TFormValue& Value);
    void ReadLoadedCells(const TFormValue& Value);
    void ReadHints(const TFormValue& Value);
    void ReadPropCells(const TFormValue& Value);
    void ReadPropLines(TStyledGridModel::TLineList List, const TFormValue& Value);

    TStyledGridModel& FGrid;
    bool FHasLoadedCells = false;
    std::map<std::pair<int, int>, std::string> FLoadedCells;
};

struct TGridLoadResult {
    bool Ok = true;
    // "line L, column C: reason"
    std::string Message;
    int Line = 0;
    int Column = 0;
    // Properties the model does not hold, in their order, for the widget to apply.
    std::vector<TFormProperty> Unhandled;
};

// Loads the text into the grid, or leaves the grid untouched and reports the first error: the
// whole text is read into a scratch grid of the same shape before the real one is touched.
TGridLoadResult LoadGridSettings(TStyledGridModel& Grid, std::string_view Text);

// The current-format names with data to write (HintCell and Cells only when stored). Throws
// std::range_error for a record index above 65535.
std::vector<TFormProperty> DefineGridProperties(const TStyledGridModel& Grid);
// The model's published values that differ from the defaults, then DefineGridProperties.
std::string SaveGridSettings(const TStyledGridModel& Grid);

} // namespace kav
