#pragma once
// The styled string grid without its window: cell texts, the sizes, the grid-wide defaults and
// the sparse stores of cell, column and row properties with their lookups, and the row and
// column operations that carry properties and hints along with the texts. The document, search
// and exchange code work on this model alone; the grid widget draws it and observes it.

#include "grid/CellProperties.h"
#include "grid/CellTexts.h"
#include "grid/Colors.h"
#include "grid/SparseList.h"
#include "platform/LargeMemory.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kav {

enum class TGridChangeKind {
    Repaint,        // Col, Row: the cell to repaint, or -1, -1 for the whole grid
    TextChanged,    // Col, Row: one cell's text was written
    TextsChanged,   // texts of many cells changed at once (a cleared row, loading)
    SizeChanged,    // ColCount, RowCount, FixedCols or FixedRows changed
    RowInserting,   // Index: an empty row is about to appear at Index
    RowInserted,    // Index: rows from Index on moved one down; RowCount grew by one
    RowRemoving,    // Index: the row is about to go
    RowRemoved,     // Index: later rows moved one up; RowCount shrank by one
    ColInserting,   // Index
    ColInserted,    // Index: columns from Index on moved one right; ColCount grew by one
    RowsExchanging, // Index, Other
    RowsExchanged,  // Index, Other
    ColsExchanging, // Index, Other
    ColsExchanged,  // Index, Other
    RowMoved,       // Index = from, Other = to
    ColMoved        // Index = from, Other = to
};

struct TGridChange {
    TGridChangeKind Kind = TGridChangeKind::Repaint;
    int Col = -1;
    int Row = -1;
    int Index = -1;
    int Other = -1;
};

// The widget keeps the editor and the current cell, so it does what the model cannot: it hides
// the editor on an "-ing" change that touches the editor's row or column (at or after Index for
// an insertion, the row itself or a later one for a removal, either index for an exchange),
// moves the current Row or Col on the "-ed" change (inserted: +1 when at or after Index;
// removed: -1 when after Index; exchanged: swapped; moved: the remembered editor row follows)
// and shows the editor again unless it stood on a removed row.
class IGridModelObserver {
public:
    virtual void GridChanged(const TGridChange& Change) = 0;

protected:
    ~IGridModelObserver() = default;
};

enum TRelation : std::uint8_t { rel_greater = 0, rel_equal = 1, rel_less = 2 };
// (ColRow, Compare1, Compare2): the line to look at and the two lines to compare.
using TCompareFunction = std::function<TRelation(int ColRow, int Compare1, int Compare2)>;

using TPropList = TSparseList<TCellProperties>;
using TPropCells = TSparseList<TPropList>;
using THintList = TSparseList<std::string>;
using THintCells = TSparseList<THintList>;

class TStyledGridModel : private IChangeNotify {
public:
    TStyledGridModel();
    ~TStyledGridModel();
    TStyledGridModel(const TStyledGridModel&) = delete;
    TStyledGridModel& operator=(const TStyledGridModel&) = delete;

    void AddObserver(IGridModelObserver* Observer);
    void RemoveObserver(IGridModelObserver* Observer);
    // While a bulk change runs (a load writes every cell and adds every row) the observers
    // hear nothing; when the outermost one ends they hear, once, that the size and every text
    // changed. See TGridBulkChange.
    void BeginBulkChange() { ++FBulkDepth; }
    void EndBulkChange();

    // Sizes. Texts that still fit are kept; properties stay with their indexes whatever the size.
    int ColCount() const { return FColCount; }
    void SetColCount(int Value);
    int RowCount() const { return FRowCount; }
    void SetRowCount(int Value);
    int FixedCols() const { return FFixedCols; }
    void SetFixedCols(int Value);
    int FixedRows() const { return FFixedRows; }
    void SetFixedRows(int Value);

    // Texts. Reading outside the grid gives the empty text; writing outside is ignored. A text
    // read stays valid until its cell is written, its row or column removed, the grid resized
    // or CompactTexts called.
    std::string_view Cells(int Col, int Row) const;
    void SetCells(int Col, int Row, std::string_view Value);
    void ClearRow(int Row);
    // Room for Rows rows, so that a table filled row by row grows its cells once.
    void ReserveRows(int Rows);
    // Frees the room of texts no cell shows any more once it outweighs the texts shown (after a
    // table was reloaded in part, or edited at length). Texts read before are invalid after it.
    void CompactTexts();
    // Bytes the texts take, shown or not.
    size_t TextBytes() const { return FTexts.Bytes(); }

    // Grid-wide defaults.
    TMyAlign Alignment() const { return FAlignment; }
    void SetAlignment(TMyAlign Value);
    T_Wordwrap Wordwrap() const { return FWordwrap; }
    void SetWordwrap(T_Wordwrap Value);
    bool Editable() const { return FEditable; }
    void SetEditable(bool Value) { FEditable = Value; }
    TColor Color() const { return FBrush.Color(); }
    void SetColor(TColor Value);
    TColor FixedColor() const { return FFixedBrush.Color(); }
    void SetFixedColor(TColor Value);
    TColor SelectedCellColor() const { return FSelectedCellColor; }
    void SetSelectedCellColor(TColor Value);
    TColor SelectedFontColor() const { return FSelectedFontColor; }
    void SetSelectedFontColor(TColor Value);
    // The grid's own font and background brush (used by non-fixed cells by default).
    TMyFont& Font() { return FFont; }
    const TMyFont& Font() const { return FFont; }
    const TMyBrush& Brush() const { return FBrush; }
    TMyFont& FixedFont() { return FFixedFont; }
    const TMyFont& FixedFont() const { return FFixedFont; }
    // Its colour is FixedColor; change it through SetFixedColor.
    const TMyBrush& FixedBrush() const { return FFixedBrush; }

    // Alignment.
    TMyAlign AlignCell(int Col, int Row) const;
    void SetAlignCell(int Col, int Row, TMyAlign Value);
    void SetAlignCol(int Col, TMyAlign Value);
    void SetFixedAlignCol(int Col, TMyAlign Value);
    void SetAlignRow(int Row, TMyAlign Value);
    void SetFixedAlignRow(int Row, TMyAlign Value);

    T_Wordwrap WordwrapCell(int Col, int Row) const;

    // Edit permission. EditCol reads the column record alone: a record without an edit state
    // reads as read-only.
    bool EditCell(int Col, int Row) const;
    void SetEditCell(int Col, int Row, bool Value);
    bool EditCol(int Col) const;
    void SetEditCol(int Col, bool Value);
    void SetEditRow(int Row, bool Value);

    // Creating getters: the record and its font or brush are made on first access, as a copy of
    // the grid's Font or background brush; the returned object is live.
    TMyFont& FontCell(int Col, int Row);
    TMyFont& FontCol(int Col);
    TMyFont& FontFixedCol(int Col);
    TMyFont& FontRow(int Row);
    TMyFont& FontFixedRow(int Row);
    TMyBrush& BrushCell(int Col, int Row);
    TMyBrush& BrushCol(int Col);
    TMyBrush& BrushFixedCol(int Col);
    TMyBrush& BrushRow(int Row);
    TMyBrush& BrushFixedRow(int Row);

    TColor ColorCell(int Col, int Row) const;
    void SetColorCell(int Col, int Row, TColor Value);
    void SetColorCol(int Col, TColor Value);
    void SetColorRow(int Row, TColor Value);

    TColor SelectedColorCell(int Col, int Row) const;
    void SetSelectedColorCell(int Col, int Row, TColor Value);
    void SetSelectedColorCol(int Col, TColor Value);
    void SetSelectedColorRow(int Row, TColor Value);
    TColor SelectedFontColorCell(int Col, int Row) const;

    // A hint set to the empty text is still stored (and persisted).
    std::string HintCell(int Col, int Row) const;
    const std::string* FindHintCell(int Col, int Row) const;
    void SetHintCell(int Col, int Row, const std::string& Value);

    // Effective values; never create anything.
    const TMyFont& CellFont(int Col, int Row) const;
    const TMyBrush& CellBrush(int Col, int Row) const;
    bool IsFixedCell(int Col, int Row) const;

    // Rows and columns together with their properties and hints.
    void InsertRow(int Row);
    void RemoveRow(int Row);
    void InsertCol(int Col);
    void ExchangeRows(int Row1, int Row2);
    void ExchangeCols(int Col1, int Col2);
    // A row or column dragged from one place to another.
    void MoveRow(int From, int To);
    void MoveCol(int From, int To);

    // Sorting compares through these; both start as the ordinal text comparisons.
    TCompareFunction OnCompareCol;
    TCompareFunction OnCompareRow;

    // The stores, for persistence. Records put here are linked to the grid.
    const TPropList& PropCol() const { return FPropCol; }
    const TPropList& PropRow() const { return FPropRow; }
    const TPropList& PropFixedCol() const { return FPropFixedCol; }
    const TPropList& PropFixedRow() const { return FPropFixedRow; }
    const TPropCells& PropCell() const { return FPropCell; }
    const THintCells& HintCells() const { return FHintCell; }
    enum class TLineList { Col, Row, FixedCol, FixedRow };
    void StoreLineRecord(TLineList List, int Index, std::unique_ptr<TCellProperties> Record);
    void StoreCellRecord(int Col, int Row, std::unique_ptr<TCellProperties> Record);
    // Frees the records of the cells of Col from FromRow on, whatever the row count: those
    // cells read the column's, row's or grid's properties again.
    void DropCellRecords(int Col, int FromRow);
    std::unique_ptr<TCellProperties> NewRecord() {
        return std::make_unique<TCellProperties>(static_cast<IChangeNotify*>(this));
    }
    // The lists of one kind, by the names the persisted data uses.
    TPropList& LineList(TLineList List);

    bool HintsStored() const { return FHintsStored; }
    void SetHintsStored(bool Value) { FHintsStored = Value; }
    bool CellsStored() const { return FCellsStored; }
    void SetCellsStored(bool Value) { FCellsStored = Value; }

    // Grows whenever a text of column Col may have changed: a cell of it written, or rows or
    // columns cleared, added, removed or moved. Equal values mean the column is as it was.
    std::uint64_t TextRevision(int Col) const;

    void Notify(const TGridChange& Change);
    void NotifyRepaint() { Notify({TGridChangeKind::Repaint}); }

private:
    void Changed() override { NotifyRepaint(); }
    void Tell(const TGridChange& Change);

    const TCellProperties* CellRecord(int Col, int Row) const;
    std::array<const TCellProperties*, 3> NormalRecords(int Col, int Row) const;
    TCellProperties& EnsureCellRecord(int Col, int Row);
    TCellProperties& EnsureRecord(TPropList& List, int Index);
    TMyFont& EnsureFont(TCellProperties& Record);
    TMyBrush& EnsureBrush(TCellProperties& Record);
    void SetSelectedBrush(TCellProperties& Record, TColor Value);
    // The first of cell, column and row record (fixed lists for fixed cells) for which IsSet
    // holds, or null.
    template <class TPred> const TCellProperties* Lookup(int Col, int Row, TPred IsSet) const;
    TTextId& Id(int Col, int Row) {
        return FIds[static_cast<size_t>(Row) * static_cast<size_t>(FColCount) +
                    static_cast<size_t>(Col)];
    }
    TTextId Id(int Col, int Row) const {
        return FIds[static_cast<size_t>(Row) * static_cast<size_t>(FColCount) +
                    static_cast<size_t>(Col)];
    }
    // Lays the cells out for Cols columns: each row keeps its first Kept cells, then gets Gap
    // empty ones, then what follows of its cells up to Cols.
    void Restride(int Cols, int Kept, int Gap);
    void ReleaseRow(int Row);

    TCellTexts FTexts;
    int FRowCount = 5;
    int FColCount = 5;
    // The ids of the cells' texts, row after row, ColCount to a row.
    std::vector<TTextId, TLargeAllocator<TTextId>> FIds;
    int FFixedCols = 1;
    int FFixedRows = 1;

    TPropList FPropCol;
    TPropList FPropRow;
    TPropList FPropFixedCol;
    TPropList FPropFixedRow;
    TPropCells FPropCell;
    THintCells FHintCell;
    bool FHintsStored = false;
    bool FCellsStored = false;

    TMyAlign FAlignment = alLeft;
    T_Wordwrap FWordwrap = ww_none;
    bool FEditable = true;
    TColor FSelectedCellColor = clActiveCaption;
    TColor FSelectedFontColor = clWhite;
    TMyFont FFont;
    TMyBrush FBrush{clWindow};
    TMyFont FFixedFont;
    TMyBrush FFixedBrush{clBtnFace};

    std::vector<IGridModelObserver*> FObservers;
    int FBulkDepth = 0;
    bool FBulkChanged = false;                // something the observers were not told of
    std::vector<std::uint64_t> FColRevisions; // writes of single cells, by column
    std::uint64_t FLinesRevision = 0;         // changes that may touch every column
};

// One bulk change of Model for one scope, ended on every path.
class TGridBulkChange {
public:
    explicit TGridBulkChange(TStyledGridModel& Model) : FModel(Model) { FModel.BeginBulkChange(); }
    ~TGridBulkChange() { FModel.EndBulkChange(); }
    TGridBulkChange(const TGridBulkChange&) = delete;
    TGridBulkChange& operator=(const TGridBulkChange&) = delete;

private:
    TStyledGridModel& FModel;
};

} // namespace kav
