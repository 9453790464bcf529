#pragma once
// Blocks of cells on the clipboard. The block travels twice: as the grid's own bytes (every
// cell followed by the separator, lines ended by CR LF, then one zero byte), which a paste into
// a grid takes back byte for byte, and as Unicode text for other programs, each cell decoded
// through its own code page. Text from other programs is encoded cell by cell through the code
// page of the cell it lands in.

#include "grid/GridModel.h"
#include "grid/GridText.h"

#include <QString>

#include <functional>
#include <memory>

class QMimeData;

namespace kav {

inline constexpr const char* RawCellsMimeType = "application/x-kavrino-cells";

using TCodePageOf = std::function<int(int Col, int Row)>;

std::unique_ptr<QMimeData> CellsToMimeData(const TStyledGridModel& Grid, char Separator,
                                           TGridRect Rect, const TCodePageOf& CodePageOf);

// Fills the cells as TextToCells does. Unicode text holding a character that a target cell's
// code page cannot hold changes nothing; the result is then the message to show, else empty.
QString MimeDataToCells(TStyledGridModel& Grid, const QMimeData& Data, char Separator,
                        TGridRect Rect, const TCodePageOf& CodePageOf);

} // namespace kav
