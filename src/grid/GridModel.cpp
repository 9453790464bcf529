#include "grid/GridModel.h"

#include <algorithm>
#include <stdexcept>

namespace kav {

namespace {

TRelation CompareOrdinal(std::string_view A, std::string_view B) {
    const int Result = A.compare(B);
    return Result < 0 ? rel_less : (Result == 0 ? rel_equal : rel_greater);
}

// Moves the run of Width items at From to To (both counted in runs), the runs between
// shifting by one.
template <class TIter> void MoveRun(TIter Items, int From, int To, int Width = 1) {
    const auto At = [&](int Run) { return Items + static_cast<std::ptrdiff_t>(Run) * Width; };
    if (From < To) {
        std::rotate(At(From), At(From + 1), At(To + 1));
    } else {
        std::rotate(At(To), At(From), At(From + 1));
    }
}

} // namespace

TStyledGridModel::TStyledGridModel() : FIds(static_cast<size_t>(FRowCount * FColCount)) {
    FFont.SetOnChange(this);
    FBrush.SetOnChange(this);
    FFixedFont.SetOnChange(this);
    FFixedBrush.SetOnChange(this);
    OnCompareCol = [this](int Col, int Row1, int Row2) {
        return CompareOrdinal(Cells(Col, Row1), Cells(Col, Row2));
    };
    OnCompareRow = [this](int Row, int Col1, int Col2) {
        return CompareOrdinal(Cells(Col1, Row), Cells(Col2, Row));
    };
}

TStyledGridModel::~TStyledGridModel() = default;

void TStyledGridModel::AddObserver(IGridModelObserver* Observer) {
    if (Observer && std::find(FObservers.begin(), FObservers.end(), Observer) == FObservers.end()) {
        FObservers.push_back(Observer);
    }
}

void TStyledGridModel::RemoveObserver(IGridModelObserver* Observer) {
    FObservers.erase(std::remove(FObservers.begin(), FObservers.end(), Observer), FObservers.end());
}

std::uint64_t TStyledGridModel::TextRevision(int Col) const {
    const std::uint64_t Own =
        Col >= 0 && static_cast<size_t>(Col) < FColRevisions.size() ? FColRevisions[Col] : 0;
    // Both counts only grow, so their sum stays equal only while neither changed.
    return FLinesRevision + Own;
}

void TStyledGridModel::Notify(const TGridChange& Change) {
    if (Change.Kind == TGridChangeKind::TextChanged) {
        if (Change.Col >= 0) {
            if (static_cast<size_t>(Change.Col) >= FColRevisions.size()) {
                FColRevisions.resize(static_cast<size_t>(Change.Col) + 1);
            }
            ++FColRevisions[static_cast<size_t>(Change.Col)];
        }
    } else if (Change.Kind != TGridChangeKind::Repaint) {
        ++FLinesRevision;
    }
    if (FBulkDepth > 0) {
        FBulkChanged = FBulkChanged || Change.Kind != TGridChangeKind::Repaint;
        return;
    }
    Tell(Change);
}

void TStyledGridModel::Tell(const TGridChange& Change) {
    // By index: an observer may unsubscribe while it is being told.
    for (size_t I = 0; I < FObservers.size(); ++I) {
        FObservers[I]->GridChanged(Change);
    }
}

void TStyledGridModel::EndBulkChange() {
    if (--FBulkDepth > 0 || !FBulkChanged)
        return;
    FBulkChanged = false;
    // The revisions counted every change already.
    Tell({TGridChangeKind::SizeChanged});
    Tell({TGridChangeKind::TextsChanged});
}

// ---- sizes and texts

void TStyledGridModel::SetColCount(int Value) {
    Value = std::max(Value, 1);
    if (Value == FColCount) {
        return;
    }
    if (Value < FColCount) {
        for (int Row = 0; Row < FRowCount; ++Row) {
            for (int Col = Value; Col < FColCount; ++Col) {
                FTexts.Release(Id(Col, Row));
            }
        }
    }
    Restride(Value, std::min(Value, FColCount), 0);
    FFixedCols = std::min(FFixedCols, Value - 1);
    Notify({TGridChangeKind::SizeChanged});
}

void TStyledGridModel::Restride(int Cols, int Kept, int Gap) {
    // Each row keeps its first Kept ids, then gets Gap empty cells, then the rest up to Cols.
    std::vector<TTextId, TLargeAllocator<TTextId>> Ids(
        static_cast<size_t>(FRowCount) * static_cast<size_t>(Cols), TCellTexts::EmptyId);
    const int Rest = std::min(FColCount - Kept, Cols - Kept - Gap);
    for (int Row = 0; Row < FRowCount; ++Row) {
        const auto From = FIds.begin() + static_cast<std::ptrdiff_t>(Row) * FColCount;
        const auto To = Ids.begin() + static_cast<std::ptrdiff_t>(Row) * Cols;
        std::copy(From, From + Kept, To);
        if (Rest > 0) {
            std::copy(From + Kept, From + Kept + Rest, To + Kept + Gap);
        }
    }
    FIds.swap(Ids);
    FColCount = Cols;
}

void TStyledGridModel::ReleaseRow(int Row) {
    TTextId* Line = &Id(0, Row);
    for (int Col = 0; Col < FColCount; ++Col) {
        FTexts.Release(Line[Col]);
        Line[Col] = TCellTexts::EmptyId;
    }
}

void TStyledGridModel::SetRowCount(int Value) {
    Value = std::max(Value, 1);
    if (Value == RowCount()) {
        return;
    }
    for (int Row = Value; Row < FRowCount; ++Row) {
        ReleaseRow(Row);
    }
    FIds.resize(static_cast<size_t>(Value) * static_cast<size_t>(FColCount), TCellTexts::EmptyId);
    FRowCount = Value;
    FFixedRows = std::min(FFixedRows, Value - 1);
    Notify({TGridChangeKind::SizeChanged});
}

void TStyledGridModel::SetFixedCols(int Value) {
    Value = std::clamp(Value, 0, FColCount - 1);
    if (Value != FFixedCols) {
        FFixedCols = Value;
        Notify({TGridChangeKind::SizeChanged});
    }
}

void TStyledGridModel::SetFixedRows(int Value) {
    Value = std::clamp(Value, 0, RowCount() - 1);
    if (Value != FFixedRows) {
        FFixedRows = Value;
        Notify({TGridChangeKind::SizeChanged});
    }
}

std::string_view TStyledGridModel::Cells(int Col, int Row) const {
    if (Row < 0 || Row >= FRowCount || Col < 0 || Col >= FColCount) {
        return {};
    }
    return FTexts.Text(Id(Col, Row));
}

void TStyledGridModel::SetCells(int Col, int Row, std::string_view Value) {
    if (Row < 0 || Row >= FRowCount || Col < 0 || Col >= FColCount) {
        return;
    }
    TTextId& Cell = Id(Col, Row);
    if (Value.empty() && Cell == TCellTexts::EmptyId) {
        return;
    }
    // The new text is made before the old one goes, so that a text written over itself (or
    // over a part of itself) never reads a freed one.
    const TTextId Old = Cell;
    Cell = FTexts.Acquire(Value);
    FTexts.Release(Old);
    Notify({TGridChangeKind::TextChanged, Col, Row});
}

void TStyledGridModel::ReserveRows(int Rows) {
    const auto Count = static_cast<size_t>(std::max(Rows, 0));
    FIds.reserve(Count * static_cast<size_t>(FColCount));
    // A row of a loaded table has about four texts of its own (its number, name, text and
    // translation), one of them short.
    FTexts.Reserve(Count * 4, Count);
}

void TStyledGridModel::CompactTexts() {
    FTexts.Compact();
}

void TStyledGridModel::ClearRow(int Row) {
    if (Row >= 0 && Row < RowCount()) {
        ReleaseRow(Row);
        Notify({TGridChangeKind::TextsChanged});
    }
}

// ---- grid defaults

void TStyledGridModel::SetAlignment(TMyAlign Value) {
    FAlignment = Value;
    NotifyRepaint();
}

void TStyledGridModel::SetWordwrap(T_Wordwrap Value) {
    FWordwrap = Value;
    NotifyRepaint();
}

void TStyledGridModel::SetColor(TColor Value) {
    FBrush.SetColor(Value);
}

void TStyledGridModel::SetFixedColor(TColor Value) {
    FFixedBrush.SetColor(Value);
}

void TStyledGridModel::SetSelectedCellColor(TColor Value) {
    FSelectedCellColor = Value;
    NotifyRepaint();
}

void TStyledGridModel::SetSelectedFontColor(TColor Value) {
    FSelectedFontColor = Value;
    NotifyRepaint();
}

// ---- records

const TCellProperties* TStyledGridModel::CellRecord(int Col, int Row) const {
    const TPropList* Column = FPropCell.Get(Col);
    return Column ? Column->Get(Row) : nullptr;
}

TCellProperties& TStyledGridModel::EnsureRecord(TPropList& List, int Index) {
    if (TCellProperties* Record = List.Get(Index)) {
        return *Record;
    }
    return *List.Put(Index, NewRecord());
}

TCellProperties& TStyledGridModel::EnsureCellRecord(int Col, int Row) {
    if (Row < 0) {
        throw std::out_of_range("List index out of bounds (" + std::to_string(Row) + ")");
    }
    TPropList* Column = FPropCell.Get(Col);
    if (!Column) {
        Column = FPropCell.Put(Col, std::make_unique<TPropList>());
    }
    return EnsureRecord(*Column, Row);
}

TPropList& TStyledGridModel::LineList(TLineList List) {
    switch (List) {
    case TLineList::Col:
        return FPropCol;
    case TLineList::Row:
        return FPropRow;
    case TLineList::FixedCol:
        return FPropFixedCol;
    case TLineList::FixedRow:
        break;
    }
    return FPropFixedRow;
}

void TStyledGridModel::StoreLineRecord(TLineList List, int Index,
                                       std::unique_ptr<TCellProperties> Record) {
    if (Record) {
        Record->Grid = this;
    }
    LineList(List).Put(Index, std::move(Record));
}

void TStyledGridModel::StoreCellRecord(int Col, int Row, std::unique_ptr<TCellProperties> Record) {
    if (Record) {
        Record->Grid = this;
    }
    TPropList* Column = FPropCell.Get(Col);
    if (!Column) {
        Column = FPropCell.Put(Col, std::make_unique<TPropList>());
    }
    Column->Put(Row, std::move(Record));
}

void TStyledGridModel::DropCellRecords(int Col, int FromRow) {
    TPropList* Column = FPropCell.Get(Col);
    if (!Column || Column->Empty()) {
        return;
    }
    Column->TruncateFrom(std::max(FromRow, 0));
    NotifyRepaint();
}

TMyFont& TStyledGridModel::EnsureFont(TCellProperties& Record) {
    if (!Record.Font) {
        Record.Font = std::make_unique<TMyFont>(FFont);
        Record.Font->SetOnChange(this);
    }
    return *Record.Font;
}

TMyBrush& TStyledGridModel::EnsureBrush(TCellProperties& Record) {
    if (!Record.Brush) {
        Record.Brush = std::make_unique<TMyBrush>(FBrush);
        Record.Brush->SetOnChange(this);
    }
    return *Record.Brush;
}

bool TStyledGridModel::IsFixedCell(int Col, int Row) const {
    return Col < FFixedCols || Row < FFixedRows;
}

template <class TPred>
const TCellProperties* TStyledGridModel::Lookup(int Col, int Row, TPred IsSet) const {
    const bool Fixed = IsFixedCell(Col, Row);
    const TCellProperties* Records[] = {CellRecord(Col, Row),
                                        Fixed ? FPropFixedCol.Get(Col) : FPropCol.Get(Col),
                                        Fixed ? FPropFixedRow.Get(Row) : FPropRow.Get(Row)};
    for (const TCellProperties* Record : Records) {
        if (Record && IsSet(*Record)) {
            return Record;
        }
    }
    return nullptr;
}

// ---- alignment, wrapping, edit permission

TMyAlign TStyledGridModel::AlignCell(int Col, int Row) const {
    auto Set = [](const TCellProperties& R) { return R.Align != alDefault; };
    if (const TCellProperties* Record = Lookup(Col, Row, Set)) {
        return Record->Align;
    }
    return FAlignment == alDefault ? alLeft : FAlignment;
}

void TStyledGridModel::SetAlignCell(int Col, int Row, TMyAlign Value) {
    EnsureCellRecord(Col, Row).Align = Value;
    NotifyRepaint();
}

void TStyledGridModel::SetAlignCol(int Col, TMyAlign Value) {
    EnsureRecord(FPropCol, Col).Align = Value;
    NotifyRepaint();
}

void TStyledGridModel::SetFixedAlignCol(int Col, TMyAlign Value) {
    EnsureRecord(FPropFixedCol, Col).Align = Value;
    NotifyRepaint();
}

void TStyledGridModel::SetAlignRow(int Row, TMyAlign Value) {
    EnsureRecord(FPropRow, Row).Align = Value;
    NotifyRepaint();
}

void TStyledGridModel::SetFixedAlignRow(int Row, TMyAlign Value) {
    EnsureRecord(FPropFixedRow, Row).Align = Value;
    NotifyRepaint();
}

T_Wordwrap TStyledGridModel::WordwrapCell(int Col, int Row) const {
    auto Set = [](const TCellProperties& R) { return R.Wrap != ww_default; };
    if (const TCellProperties* Record = Lookup(Col, Row, Set)) {
        return Record->Wrap;
    }
    return FWordwrap == ww_default ? ww_none : FWordwrap;
}

bool TStyledGridModel::EditCell(int Col, int Row) const {
    auto Set = [](const TCellProperties& R) { return R.EditState != 0; };
    if (const TCellProperties* Record = Lookup(Col, Row, Set)) {
        return Record->EditState == 2;
    }
    return FEditable;
}

void TStyledGridModel::SetEditCell(int Col, int Row, bool Value) {
    EnsureCellRecord(Col, Row).EditState = Value ? 2 : 1;
}

bool TStyledGridModel::EditCol(int Col) const {
    const TCellProperties* Record = FPropCol.Get(Col);
    return Record ? Record->EditState == 2 : FEditable;
}

void TStyledGridModel::SetEditCol(int Col, bool Value) {
    EnsureRecord(FPropCol, Col).EditState = Value ? 2 : 1;
}

void TStyledGridModel::SetEditRow(int Row, bool Value) {
    EnsureRecord(FPropRow, Row).EditState = Value ? 2 : 1;
}

// ---- fonts and brushes

TMyFont& TStyledGridModel::FontCell(int Col, int Row) {
    return EnsureFont(EnsureCellRecord(Col, Row));
}
TMyFont& TStyledGridModel::FontCol(int Col) {
    return EnsureFont(EnsureRecord(FPropCol, Col));
}
TMyFont& TStyledGridModel::FontFixedCol(int Col) {
    return EnsureFont(EnsureRecord(FPropFixedCol, Col));
}
TMyFont& TStyledGridModel::FontRow(int Row) {
    return EnsureFont(EnsureRecord(FPropRow, Row));
}
TMyFont& TStyledGridModel::FontFixedRow(int Row) {
    return EnsureFont(EnsureRecord(FPropFixedRow, Row));
}

TMyBrush& TStyledGridModel::BrushCell(int Col, int Row) {
    return EnsureBrush(EnsureCellRecord(Col, Row));
}
TMyBrush& TStyledGridModel::BrushCol(int Col) {
    return EnsureBrush(EnsureRecord(FPropCol, Col));
}
TMyBrush& TStyledGridModel::BrushFixedCol(int Col) {
    return EnsureBrush(EnsureRecord(FPropFixedCol, Col));
}
TMyBrush& TStyledGridModel::BrushRow(int Row) {
    return EnsureBrush(EnsureRecord(FPropRow, Row));
}
TMyBrush& TStyledGridModel::BrushFixedRow(int Row) {
    return EnsureBrush(EnsureRecord(FPropFixedRow, Row));
}

const TMyFont& TStyledGridModel::CellFont(int Col, int Row) const {
    if (const TCellProperties* Record = Lookup(Col, Row, [](auto& R) { return !!R.Font; })) {
        return *Record->Font;
    }
    return IsFixedCell(Col, Row) ? FFixedFont : FFont;
}

const TMyBrush& TStyledGridModel::CellBrush(int Col, int Row) const {
    if (const TCellProperties* Record = Lookup(Col, Row, [](auto& R) { return !!R.Brush; })) {
        return *Record->Brush;
    }
    return IsFixedCell(Col, Row) ? FFixedBrush : FBrush;
}

// ---- colours

TColor TStyledGridModel::ColorCell(int Col, int Row) const {
    return CellBrush(Col, Row).Color();
}

void TStyledGridModel::SetColorCell(int Col, int Row, TColor Value) {
    BrushCell(Col, Row).SetColor(Value);
    NotifyRepaint();
}

void TStyledGridModel::SetColorCol(int Col, TColor Value) {
    BrushCol(Col).SetColor(Value);
    NotifyRepaint();
}

void TStyledGridModel::SetColorRow(int Row, TColor Value) {
    BrushRow(Row).SetColor(Value);
    NotifyRepaint();
}

void TStyledGridModel::SetSelectedBrush(TCellProperties& Record, TColor Value) {
    const TMyBrush Solid(Value, bsSolid);
    Record.AssignSlot(Record.SelectedBrush, &Solid);
    NotifyRepaint();
}

void TStyledGridModel::SetSelectedColorCell(int Col, int Row, TColor Value) {
    SetSelectedBrush(EnsureCellRecord(Col, Row), Value);
}

void TStyledGridModel::SetSelectedColorCol(int Col, TColor Value) {
    SetSelectedBrush(EnsureRecord(FPropCol, Col), Value);
}

void TStyledGridModel::SetSelectedColorRow(int Row, TColor Value) {
    SetSelectedBrush(EnsureRecord(FPropRow, Row), Value);
}

// The selected colours look at the normal lists only, for fixed cells too.
std::array<const TCellProperties*, 3> TStyledGridModel::NormalRecords(int Col, int Row) const {
    return {CellRecord(Col, Row), FPropCol.Get(Col), FPropRow.Get(Row)};
}

TColor TStyledGridModel::SelectedColorCell(int Col, int Row) const {
    for (const TCellProperties* R : NormalRecords(Col, Row)) {
        if (R && R->SelectedBrush) {
            return R->SelectedBrush->Color();
        }
    }
    return FSelectedCellColor;
}

TColor TStyledGridModel::SelectedFontColorCell(int Col, int Row) const {
    for (const TCellProperties* R : NormalRecords(Col, Row)) {
        if (R && R->SelectedFont) {
            return R->SelectedFont->Color();
        }
    }
    return FSelectedFontColor;
}

// ---- hints

const std::string* TStyledGridModel::FindHintCell(int Col, int Row) const {
    const THintList* Column = FHintCell.Get(Col);
    return Column ? Column->Get(Row) : nullptr;
}

std::string TStyledGridModel::HintCell(int Col, int Row) const {
    const std::string* Hint = FindHintCell(Col, Row);
    return Hint ? *Hint : std::string();
}

void TStyledGridModel::SetHintCell(int Col, int Row, const std::string& Value) {
    if (Row < 0) {
        throw std::out_of_range("List index out of bounds (" + std::to_string(Row) + ")");
    }
    THintList* Column = FHintCell.Get(Col);
    if (!Column) {
        Column = FHintCell.Put(Col, std::make_unique<THintList>());
    }
    Column->Put(Row, std::make_unique<std::string>(Value));
    FHintsStored = true;
}

// ---- rows and columns

void TStyledGridModel::InsertRow(int Row) {
    const int At = std::max(Row, FFixedRows);
    Notify({TGridChangeKind::RowInserting, -1, -1, At});
    FPropRow.InsertGap(At);
    for (const auto& Column : FPropCell) {
        Column.second->InsertGap(At);
    }
    for (const auto& Column : FHintCell) {
        Column.second->InsertGap(At);
    }
    // An index past the end adds the empty row at the end; the properties still shift at At.
    const auto TextAt = static_cast<size_t>(std::min(At, RowCount()));
    FIds.insert(FIds.begin() + static_cast<std::ptrdiff_t>(TextAt * static_cast<size_t>(FColCount)),
                static_cast<size_t>(FColCount), TCellTexts::EmptyId);
    ++FRowCount;
    Notify({TGridChangeKind::RowInserted, -1, -1, At});
}

void TStyledGridModel::RemoveRow(int Row) {
    if (Row < FFixedRows || Row >= RowCount() || RowCount() == FFixedRows + 1) {
        return;
    }
    Notify({TGridChangeKind::RowRemoving, -1, -1, Row});
    FPropRow.Delete(Row);
    for (const auto& Column : FPropCell) {
        Column.second->Delete(Row);
    }
    for (const auto& Column : FHintCell) {
        Column.second->Delete(Row);
    }
    ReleaseRow(Row);
    const auto First = FIds.begin() + static_cast<std::ptrdiff_t>(Row) * FColCount;
    FIds.erase(First, First + FColCount);
    --FRowCount;
    Notify({TGridChangeKind::RowRemoved, -1, -1, Row});
}

void TStyledGridModel::InsertCol(int Col) {
    const int At = std::max(Col, FFixedCols);
    Notify({TGridChangeKind::ColInserting, -1, -1, At});
    FPropCol.InsertGap(At);
    FPropCell.InsertGap(At);
    FHintCell.InsertGap(At);
    Restride(FColCount + 1, std::min(At, FColCount), 1);
    Notify({TGridChangeKind::ColInserted, -1, -1, At});
}

void TStyledGridModel::ExchangeRows(int Row1, int Row2) {
    if (Row1 == Row2 || Row1 < 0 || Row2 < 0 || Row1 >= RowCount() || Row2 >= RowCount()) {
        return;
    }
    Notify({TGridChangeKind::RowsExchanging, -1, -1, Row1, Row2});
    FPropRow.Exchange(Row1, Row2);
    for (const auto& Column : FPropCell) {
        Column.second->Exchange(Row1, Row2);
    }
    for (const auto& Column : FHintCell) {
        Column.second->Exchange(Row1, Row2);
    }
    std::swap_ranges(&Id(0, Row1), &Id(0, Row1) + FColCount, &Id(0, Row2));
    Notify({TGridChangeKind::RowsExchanged, -1, -1, Row1, Row2});
}

void TStyledGridModel::ExchangeCols(int Col1, int Col2) {
    if (Col1 == Col2 || Col1 < 0 || Col2 < 0 || Col1 >= FColCount || Col2 >= FColCount) {
        return;
    }
    Notify({TGridChangeKind::ColsExchanging, -1, -1, Col1, Col2});
    FPropCol.Exchange(Col1, Col2);
    FPropCell.Exchange(Col1, Col2);
    FHintCell.Exchange(Col1, Col2);
    for (int Row = 0; Row < FRowCount; ++Row) {
        std::swap(Id(Col1, Row), Id(Col2, Row));
    }
    Notify({TGridChangeKind::ColsExchanged, -1, -1, Col1, Col2});
}

void TStyledGridModel::MoveRow(int From, int To) {
    if (From == To || From < 0 || To < 0 || From >= RowCount() || To >= RowCount()) {
        return;
    }
    FPropRow.Move(From, To);
    for (const auto& Column : FPropCell) {
        Column.second->Move(From, To);
    }
    for (const auto& Column : FHintCell) {
        Column.second->Move(From, To);
    }
    MoveRun(FIds.begin(), From, To, FColCount);
    Notify({TGridChangeKind::RowMoved, -1, -1, From, To});
}

void TStyledGridModel::MoveCol(int From, int To) {
    if (From == To || From < 0 || To < 0 || From >= FColCount || To >= FColCount) {
        return;
    }
    FPropCol.Move(From, To);
    FPropCell.Move(From, To);
    FHintCell.Move(From, To);
    for (int Row = 0; Row < FRowCount; ++Row) {
        MoveRun(&Id(0, Row), From, To);
    }
    Notify({TGridChangeKind::ColMoved, -1, -1, From, To});
}

} // namespace kav
