#include "document/Items.h"

#include "text/StringUtils.h"

#include <algorithm>

namespace kav {

namespace {

const TReplacements NoMarks;

} // namespace

std::string FormatReplaceMark(const TReplacement& R) {
    return "[" + std::to_string(R.Position) + "] <" + R.Old + ">  @" + R.New + "@";
}

std::vector<TByteSpan> ReplacedSpans(const TReplacement& R) {
    std::vector<TByteSpan> Spans;
    const std::string_view Before = R.Before, After = R.After, Old = R.Old, New = R.New;
    if (Old.empty() || New.empty())
        return Spans;
    size_t I = 0, J = 0;
    while (I < Before.size() || J < After.size()) {
        if (StartsWithIgnoringCase(Before.substr(I), Old) && After.substr(J, New.size()) == New) {
            Spans.push_back({J, New.size()});
            I += Old.size();
            J += New.size();
        } else if (I < Before.size() && J < After.size() && Before[I] == After[J]) {
            ++I, ++J;
        } else {
            return {}; // not Before with Old replaced by New
        }
    }
    return Spans;
}

TItemField FieldOfColumn(int Col) {
    switch (Col) {
    case colName:
        return TItemField::Name;
    case colDefault:
        return TItemField::Default;
    default:
        return TItemField::Translation;
    }
}

int ColumnOfField(TItemField Field) {
    switch (Field) {
    case TItemField::Name:
        return colName;
    case TItemField::Default:
        return colDefault;
    case TItemField::Translation:
        break;
    }
    return colTranslated;
}

QChar RefusedInItemText(const QString& Text, TItemField Field) {
    for (const QChar C : Text) {
        const char16_t U = C.unicode();
        if (U == u'"' || U == u'\r' || U == u'\n' || U == 26 || U == 0 ||
            (Field == TItemField::Name && U == u' '))
            return C;
    }
    return {};
}

TItemTable::TItemTable(TStyledGridModel& Grid) : FGrid(Grid) {}

int TItemTable::Count() const {
    return ItemCount(FGrid);
}

TItemView TItemTable::View(TItemId Id) const {
    const int Row = RowOfItem(Id);
    return {FGrid.Cells(colItem, Row),      FGrid.Cells(colName, Row),
            FGrid.Cells(colDefault, Row),   FGrid.Cells(colTranslated, Row),
            FGrid.Cells(colWidth, Row),     FGrid.Cells(colFontName, Row),
            FGrid.Cells(colFontStyle, Row), FGrid.Cells(colFontSize, Row)};
}

std::string_view TItemTable::Name(TItemId Id) const {
    return FGrid.Cells(colName, RowOfItem(Id));
}

std::string_view TItemTable::Default(TItemId Id) const {
    return FGrid.Cells(colDefault, RowOfItem(Id));
}

std::string_view TItemTable::Translation(TItemId Id) const {
    return FGrid.Cells(colTranslated, RowOfItem(Id));
}

std::string_view TItemTable::Field(TItemId Id, TItemField Field) const {
    return FGrid.Cells(ColumnOfField(Field), RowOfItem(Id));
}

TColor TItemTable::Colour(TItemId Id) const {
    return FGrid.ColorCell(colMark, RowOfItem(Id));
}

std::string TItemTable::Caption(TItemId Id) const {
    return "item " + std::to_string(Id + 1);
}

const TReplacements& TItemTable::Marks(TItemId Id) const {
    const auto Found = FMarks.find(Id);
    return Found == FMarks.end() ? NoMarks : Found->second;
}

std::string TItemTable::MarkText(TItemId Id) const {
    const TReplacements& Marks = this->Marks(Id);
    return Marks.empty() ? std::string() : FormatReplaceMark(Marks.back());
}

TItemId TItemTable::NextMarked(TItemId From, bool Forward) const {
    if (Forward) {
        const auto Next = FMarks.upper_bound(From);
        return Next == FMarks.end() ? NoItem : Next->first;
    }
    auto Before = FMarks.lower_bound(From);
    if (Before == FMarks.begin())
        return NoItem;
    return (--Before)->first;
}

TItemRecord TItemTable::Record(TItemId Id) const {
    return {std::string(Name(Id)), std::string(Default(Id)), std::string(Translation(Id)),
            Colour(Id), Marks(Id)};
}

void TItemTable::Reset() {
    FMarks.clear();
    ResetTable(FGrid);
}

void TItemTable::ResetForNew() {
    FMarks.clear();
    for (int R = FirstItemRow; R < FGrid.RowCount(); ++R) {
        FGrid.ClearRow(R);
        FGrid.SetCells(colMark, R, {});
        FGrid.SetCells(colWidth, R, {});
        FGrid.SetCells(colFontName, R, "Arial");
        FGrid.SetCells(colFontStyle, R, "fsBold");
        FGrid.SetCells(colFontSize, R, "8");
    }
    ClearColorMarks(FGrid);
    FGrid.SetRowCount(EmptyTableRowCount);
}

void TItemTable::Reserve(int Items) {
    FGrid.ReserveRows(Items + EmptyTableRowCount);
}

TItemId TItemTable::Append(const StrItemView& Item) {
    const int Row = FGrid.RowCount() - 1;
    AppendParsedItem(FGrid, Row, Item);
    return ItemOfRow(Row);
}

void TItemTable::SetTranslation(TItemId Id, std::string_view Bytes) {
    SetField(Id, TItemField::Translation, Bytes);
}

void TItemTable::SetField(TItemId Id, TItemField Field, std::string_view Bytes) {
    const int Col = ColumnOfField(Field);
    const int Row = RowOfItem(Id);
    if (FGrid.Cells(Col, Row) != Bytes)
        FGrid.SetCells(Col, Row, Bytes);
}

void TItemTable::SetColour(TItemId Id, TColor Colour) {
    PutColorMark(FGrid, RowOfItem(Id), Colour);
}

void TItemTable::SetMarks(TItemId Id, TReplacements Marks) {
    if (Marks.empty()) {
        if (FMarks.erase(Id) == 0)
            return;
    } else {
        FMarks[Id] = std::move(Marks);
    }
    // The mark is drawn over the translation: the cell shows it now.
    FGrid.Notify({TGridChangeKind::Repaint, colTranslated, RowOfItem(Id)});
}

void TItemTable::SetRecord(TItemId Id, const TItemRecord& Record) {
    SetField(Id, TItemField::Name, Record.Name);
    SetField(Id, TItemField::Default, Record.Default);
    SetField(Id, TItemField::Translation, Record.Translation);
    SetColour(Id, Record.Colour);
    SetMarks(Id, Record.Marks);
}

void TItemTable::ClearMarks() {
    FMarks.clear();
}

void TItemTable::KeepOnlyDefaults(int RowCount) {
    FMarks.clear();
    for (int Row = FirstItemRow; Row < FGrid.RowCount(); ++Row)
        for (int Col : {colBookmark, colMark, colTranslated, colReplaced, colVerify})
            FGrid.SetCells(Col, Row, {});
    ClearColorMarks(FGrid);
    FGrid.SetRowCount(RowCount);
}

} // namespace kav
