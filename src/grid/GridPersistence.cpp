#include "grid/GridPersistence.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <stdexcept>

namespace kav {

namespace {

using TKind = TFormValue::TKind;
using TLineList = TStyledGridModel::TLineList;

constexpr std::array<std::string_view, 33> Names{
    "HintCell",        "Cells",         "PropCell",          "PropCol",
    "PropRow",         "PropFixedCol",  "PropFixedRow",      "AlignCell",
    "AlignCol",        "FixedAlignCol", "AlignRow",          "FixedAlignRow",
    "EditCell",        "EditCol",       "EditRow",           "FontCell",
    "FontCol",         "FontFixedCol",  "FontRow",           "FontFixedRow",
    "BrushCell",       "BrushCol",      "BrushFixedCol",     "BrushRow",
    "BrushFixedRow",   "ColorCell",     "ColorCol",          "ColorFixedCol",
    "ColorRow",        "ColorFixedRow", "SelectedColorCell", "SelectedColorCol",
    "SelectedColorRow"};

constexpr std::array<std::string_view, 4> AlignNames{"alRight", "alLeft", "alCenter", "alDefault"};
constexpr std::array<std::string_view, 4> WrapNames{"ww_none", "ww_wordwrap", "ww_ellipsis",
                                                    "ww_default"};

int ReadIndex(TFormListReader& Reader) {
    return static_cast<int>(Reader.ReadInteger(0, MaxPersistedIndex));
}

TMyBrush ReadBrush(TFormListReader& Reader) {
    const TColor Color = Reader.ReadInt32();
    const auto Style = static_cast<TBrushStyle>(Reader.ReadInteger(bsSolid, bsDiagCross));
    return TMyBrush(Color, Style);
}

TMyFont ReadFont(TFormListReader& Reader) {
    TMyFont Font;
    Font.SetColor(Reader.ReadInt32());
    Font.SetHeight(Reader.ReadInt32());
    Font.SetName(Reader.ReadString());
    Font.SetPitch(static_cast<TFontPitch>(Reader.ReadInteger(fpDefault, fpFixed)));
    Font.SetStyle(static_cast<TFontStyles>(Reader.ReadInteger(0, AllFontStyles)));
    return Font;
}

// One tagged value into the record; false at the end tag.
bool ReadTag(TFormListReader& Reader, TCellProperties& Record) {
    const auto Tag = Reader.ReadInteger(std::numeric_limits<std::int32_t>::min(),
                                        std::numeric_limits<std::int32_t>::max());
    switch (Tag) {
    case 0:
        return false;
    case 1:
        Record.Align = static_cast<TMyAlign>(Reader.ReadInteger(alRight, alDefault));
        return true;
    case 2:
        Record.Wrap = static_cast<T_Wordwrap>(Reader.ReadInteger(ww_none, ww_default));
        return true;
    case 3:
        Record.EditState = static_cast<std::uint8_t>(Reader.ReadInteger(0, 255));
        return true;
    case 4:
    case 5: {
        const TMyBrush Brush = ReadBrush(Reader);
        Record.AssignSlot(Tag == 4 ? Record.Brush : Record.SelectedBrush, &Brush);
        return true;
    }
    case 6:
    case 7: {
        const TMyFont Font = ReadFont(Reader);
        Record.AssignSlot(Tag == 6 ? Record.Font : Record.SelectedFont, &Font);
        return true;
    }
    default:
        Reader.Fail("unknown property tag " + std::to_string(Tag));
    }
}

std::unique_ptr<TCellProperties> ReadRecord(TFormListReader& Reader, TStyledGridModel& Grid) {
    auto Record = Grid.NewRecord();
    while (ReadTag(Reader, *Record)) {
    }
    return Record;
}

void WriteFontValues(std::vector<TFormValue>& Items, const TMyFont& Font) {
    Items.push_back(TFormValue::MakeInteger(Font.Color()));
    Items.push_back(TFormValue::MakeInteger(Font.Height()));
    Items.push_back(TFormValue::MakeString(Font.Name()));
    Items.push_back(TFormValue::MakeInteger(Font.Pitch()));
    Items.push_back(TFormValue::MakeInteger(Font.Style()));
}

void WriteRecord(std::vector<TFormValue>& Items, const TCellProperties& Record) {
    auto Int = [&Items](std::int64_t Value) { Items.push_back(TFormValue::MakeInteger(Value)); };
    if (Record.Align != alDefault) {
        Int(1);
        Int(Record.Align);
    }
    if (Record.Wrap != ww_default) {
        Int(2);
        Int(Record.Wrap);
    }
    if (Record.EditState != 0) {
        Int(3);
        Int(Record.EditState);
    }
    for (const auto& [Tag, Brush] :
         {std::pair{4, Record.Brush.get()}, std::pair{5, Record.SelectedBrush.get()}}) {
        if (Brush) {
            Int(Tag);
            Int(Brush->Color());
            Int(Brush->Style());
        }
    }
    for (const auto& [Tag, Font] :
         {std::pair{6, Record.Font.get()}, std::pair{7, Record.SelectedFont.get()}}) {
        if (Font) {
            Int(Tag);
            WriteFontValues(Items, *Font);
        }
    }
    Int(0);
}

void CheckWrittenIndex(int Index) {
    if (Index > MaxPersistedIndex) {
        throw std::range_error("Index " + std::to_string(Index) + " does not fit in 16 bits");
    }
}

TFormValue WriteLineRecords(const TPropList& List, int Count) {
    std::vector<TFormValue> Items;
    for (const auto& [Index, Record] : List) {
        if (Index >= Count) {
            break;
        }
        if (!Record->IsEmpty()) {
            CheckWrittenIndex(Index);
            Items.push_back(TFormValue::MakeInteger(Index));
            WriteRecord(Items, *Record);
        }
    }
    return TFormValue::MakeList(std::move(Items));
}

TFormValue WriteCellRecords(const TStyledGridModel& Grid) {
    std::vector<TFormValue> Items;
    for (const auto& [Col, Column] : Grid.PropCell()) {
        if (Col >= Grid.ColCount()) {
            break;
        }
        for (const auto& [Row, Record] : *Column) {
            if (Row >= Grid.RowCount()) {
                break;
            }
            if (!Record->IsEmpty()) {
                CheckWrittenIndex(Col);
                CheckWrittenIndex(Row);
                Items.push_back(TFormValue::MakeInteger(Col));
                Items.push_back(TFormValue::MakeInteger(Row));
                WriteRecord(Items, *Record);
            }
        }
    }
    return TFormValue::MakeList(std::move(Items));
}

void PushTriple(std::vector<TFormValue>& Items, int Col, int Row, std::string_view Text) {
    Items.push_back(TFormValue::MakeInteger(Col));
    Items.push_back(TFormValue::MakeInteger(Row));
    Items.push_back(TFormValue::MakeString(std::string(Text)));
}

TFormValue WriteHints(const TStyledGridModel& Grid) {
    std::vector<TFormValue> Items;
    for (const auto& [Col, Column] : Grid.HintCells()) {
        if (Col >= Grid.ColCount()) {
            break;
        }
        for (const auto& [Row, Hint] : *Column) {
            if (Row >= Grid.RowCount()) {
                break;
            }
            PushTriple(Items, Col, Row, *Hint);
        }
    }
    return TFormValue::MakeList(std::move(Items));
}

TFormValue WriteCells(const TStyledGridModel& Grid) {
    std::vector<TFormValue> Items;
    for (int Col = 0; Col < Grid.ColCount(); ++Col) {
        for (int Row = 0; Row < Grid.RowCount(); ++Row) {
            if (!Grid.Cells(Col, Row).empty()) {
                PushTriple(Items, Col, Row, Grid.Cells(Col, Row));
            }
        }
    }
    return TFormValue::MakeList(std::move(Items));
}

// ---- published values

template <size_t N>
int ReadEnumIdent(const TFormValue& Value, const std::array<std::string_view, N>& Idents) {
    if (Value.Kind == TKind::Ident) {
        for (size_t I = 0; I < N; ++I) {
            if (Idents[I] == Value.Text) {
                return static_cast<int>(I);
            }
        }
    }
    throw TFormError("one of " + std::string(Idents[0]) + ".." + std::string(Idents[N - 1]) +
                         " expected",
                     Value.Line, Value.Column);
}

TColor ReadColorValue(const TFormValue& Value) {
    if (Value.Kind == TKind::Ident) {
        if (const std::optional<TColor> Color = IdentToColor(Value.Text)) {
            return *Color;
        }
        throw TFormError("unknown colour " + Value.Text, Value.Line, Value.Column);
    }
    if (Value.Kind != TKind::Integer || Value.Integer < std::numeric_limits<std::int32_t>::min() ||
        Value.Integer > std::numeric_limits<std::int32_t>::max()) {
        throw TFormError("colour expected", Value.Line, Value.Column);
    }
    return static_cast<TColor>(Value.Integer);
}

int ReadCount(const TFormValue& Value, int Min, int Max) {
    if (Value.Kind != TKind::Integer || Value.Integer < Min || Value.Integer > Max) {
        throw TFormError("integer in " + std::to_string(Min) + ".." + std::to_string(Max) +
                             " expected",
                         Value.Line, Value.Column);
    }
    return static_cast<int>(Value.Integer);
}

bool ReadBoolean(const TFormValue& Value) {
    if (Value.Kind == TKind::Ident && (Value.Text == "True" || Value.Text == "False")) {
        return Value.Text == "True";
    }
    throw TFormError("True or False expected", Value.Line, Value.Column);
}

TFormValue ColorValue(TColor Color) {
    const std::string Ident = ColorToIdent(Color);
    return Ident.empty() ? TFormValue::MakeInteger(Color) : TFormValue::MakeIdent(Ident);
}

void AddPublished(std::vector<TFormProperty>& Out, const TStyledGridModel& Grid) {
    const TStyledGridModel Defaults;
    auto Add = [&Out](const char* Name, TFormValue Value) {
        Out.push_back({Name, std::move(Value)});
    };
    auto AddCount = [&Add](const char* Name, int Value, int Default) {
        if (Value != Default) {
            Add(Name, TFormValue::MakeInteger(Value));
        }
    };
    auto AddColor = [&Add](const char* Name, TColor Value, TColor Default) {
        if (Value != Default) {
            Add(Name, ColorValue(Value));
        }
    };
    AddCount("ColCount", Grid.ColCount(), Defaults.ColCount());
    AddCount("RowCount", Grid.RowCount(), Defaults.RowCount());
    AddCount("FixedCols", Grid.FixedCols(), Defaults.FixedCols());
    AddCount("FixedRows", Grid.FixedRows(), Defaults.FixedRows());
    if (Grid.Alignment() != Defaults.Alignment()) {
        Add("Alignment", TFormValue::MakeIdent(std::string(AlignNames[Grid.Alignment()])));
    }
    if (Grid.Wordwrap() != Defaults.Wordwrap()) {
        Add("Wordwrap", TFormValue::MakeIdent(std::string(WrapNames[Grid.Wordwrap()])));
    }
    if (!Grid.Editable()) {
        Add("Editable", TFormValue::MakeIdent("False"));
    }
    AddColor("Color", Grid.Color(), Defaults.Color());
    AddColor("FixedColor", Grid.FixedColor(), Defaults.FixedColor());
    AddColor("SelectedCellColor", Grid.SelectedCellColor(), Defaults.SelectedCellColor());
    AddColor("SelectedFontColor", Grid.SelectedFontColor(), Defaults.SelectedFontColor());
}

const std::string& BinaryOf(const TFormValue& Value) {
    if (Value.Kind != TKind::Binary) {
        throw TFormError("binary value { ... } expected", Value.Line, Value.Column);
    }
    return Value.Text;
}

// Little-endian 16-bit index at Pos.
int Index16(const std::string& Bytes, size_t Pos) {
    return static_cast<unsigned char>(Bytes[Pos]) |
           (static_cast<unsigned char>(Bytes[Pos + 1]) << 8);
}

} // namespace

const std::array<std::string_view, 33>& GridPersistedNames() {
    return Names;
}

bool TGridReader::ReadProperty(const TFormProperty& Property) {
    if (ReadPublished(Property)) {
        return true;
    }
    return ReadCurrent(Property.Name, Property.Value) ||
           ReadOlderBytes(Property.Name, Property.Value) ||
           ReadOlderList(Property.Name, Property.Value);
}

bool TGridReader::ReadPublished(const TFormProperty& Property) {
    const std::string& Name = Property.Name;
    const TFormValue& Value = Property.Value;
    // Counts are limited to what persisted indexes can address.
    if (Name == "ColCount") {
        FGrid.SetColCount(ReadCount(Value, 1, MaxPersistedIndex + 1));
    } else if (Name == "RowCount") {
        FGrid.SetRowCount(ReadCount(Value, 1, MaxPersistedIndex + 1));
    } else if (Name == "FixedCols") {
        FGrid.SetFixedCols(ReadCount(Value, 0, MaxPersistedIndex));
    } else if (Name == "FixedRows") {
        FGrid.SetFixedRows(ReadCount(Value, 0, MaxPersistedIndex));
    } else if (Name == "Alignment") {
        FGrid.SetAlignment(static_cast<TMyAlign>(ReadEnumIdent(Value, AlignNames)));
    } else if (Name == "Wordwrap") {
        FGrid.SetWordwrap(static_cast<T_Wordwrap>(ReadEnumIdent(Value, WrapNames)));
    } else if (Name == "Editable") {
        FGrid.SetEditable(ReadBoolean(Value));
    } else if (Name == "Color") {
        FGrid.SetColor(ReadColorValue(Value));
    } else if (Name == "FixedColor") {
        FGrid.SetFixedColor(ReadColorValue(Value));
    } else if (Name == "SelectedCellColor") {
        FGrid.SetSelectedCellColor(ReadColorValue(Value));
    } else if (Name == "SelectedFontColor") {
        FGrid.SetSelectedFontColor(ReadColorValue(Value));
    } else {
        return false;
    }
    return true;
}

bool TGridReader::ReadCurrent(const std::string& Name, const TFormValue& Value) {
    if (Name == "HintCell") {
        ReadHints(Value);
    } else if (Name == "Cells") {
        ReadLoadedCells(Value);
    } else if (Name == "PropCell") {
        ReadPropCells(Value);
    } else if (Name == "PropCol") {
        ReadPropLines(TLineList::Col, Value);
    } else if (Name == "PropRow") {
        ReadPropLines(TLineList::Row, Value);
    } else if (Name == "PropFixedCol") {
        ReadPropLines(TLineList::FixedCol, Value);
    } else if (Name == "PropFixedRow") {
        ReadPropLines(TLineList::FixedRow, Value);
    } else {
        return false;
    }
    return true;
}

void TGridReader::ReadHints(const TFormValue& Value) {
    TFormListReader Reader(Value);
    // The property itself says the hints are stored, even when none of them lies in the grid
    // (it is then written as an empty list): saving again must write the property again.
    FGrid.SetHintsStored(true);
    while (!Reader.EndOfList()) {
        const int Col = ReadIndex(Reader);
        const int Row = ReadIndex(Reader);
        FGrid.SetHintCell(Col, Row, Reader.ReadString());
    }
}

void TGridReader::ReadLoadedCells(const TFormValue& Value) {
    TFormListReader Reader(Value);
    FHasLoadedCells = true;
    // As for the hints: an empty list read back from a save still marks the texts as stored.
    FGrid.SetCellsStored(true);
    while (!Reader.EndOfList()) {
        const int Col = ReadIndex(Reader);
        const int Row = ReadIndex(Reader);
        FLoadedCells[{Col, Row}] = Reader.ReadString();
    }
}

void TGridReader::ReadPropCells(const TFormValue& Value) {
    TFormListReader Reader(Value);
    while (!Reader.EndOfList()) {
        const int Col = ReadIndex(Reader);
        const int Row = ReadIndex(Reader);
        FGrid.StoreCellRecord(Col, Row, ReadRecord(Reader, FGrid));
    }
}

void TGridReader::ReadPropLines(TLineList List, const TFormValue& Value) {
    TFormListReader Reader(Value);
    while (!Reader.EndOfList()) {
        const int Index = ReadIndex(Reader);
        FGrid.StoreLineRecord(List, Index, ReadRecord(Reader, FGrid));
    }
}

bool TGridReader::ReadOlderBytes(const std::string& Name, const TFormValue& Value) {
    const bool CellRecords = Name == "AlignCell" || Name == "EditCell";
    const bool LineRecords = Name == "AlignCol" || Name == "FixedAlignCol" || Name == "AlignRow" ||
                             Name == "FixedAlignRow" || Name == "EditCol" || Name == "EditRow";
    if (!CellRecords && !LineRecords) {
        return false;
    }
    const std::string& Bytes = BinaryOf(Value);
    const size_t Size = CellRecords ? 5 : 3;
    if (Bytes.size() % Size != 0) {
        throw TFormError("block of " + std::to_string(Bytes.size()) + " bytes is not made of " +
                             std::to_string(Size) + "-byte records",
                         Value.Line, Value.Column);
    }
    const bool Edit = Name.compare(0, 4, "Edit") == 0;
    for (size_t Pos = 0; Pos < Bytes.size(); Pos += Size) {
        const int First = Index16(Bytes, Pos);
        const int Second = CellRecords ? Index16(Bytes, Pos + 2) : 0;
        const auto Setting = static_cast<unsigned char>(Bytes[Pos + Size - 1]);
        if (!Edit && Setting > alDefault) {
            throw TFormError("alignment " + std::to_string(Setting) + " out of range in record " +
                                 std::to_string(Pos / Size + 1),
                             Value.Line, Value.Column);
        }
        const auto Align = static_cast<TMyAlign>(Setting);
        if (Name == "AlignCell") {
            FGrid.SetAlignCell(First, Second, Align);
        } else if (Name == "EditCell") {
            FGrid.SetEditCell(First, Second, Setting != 0);
        } else if (Name == "AlignCol") {
            FGrid.SetAlignCol(First, Align);
        } else if (Name == "FixedAlignCol") {
            FGrid.SetFixedAlignCol(First, Align);
        } else if (Name == "AlignRow") {
            FGrid.SetAlignRow(First, Align);
        } else if (Name == "FixedAlignRow") {
            FGrid.SetFixedAlignRow(First, Align);
        } else if (Name == "EditCol") {
            FGrid.SetEditCol(First, Setting != 0);
        } else {
            FGrid.SetEditRow(First, Setting != 0);
        }
    }
    return true;
}

bool TGridReader::ReadOlderList(const std::string& Name, const TFormValue& Value) {
    static const std::map<std::string_view, std::pair<char, char>> Kinds{
        // (what: f font, b brush, c colour, s selected colour; where: c cell, l column,
        // L fixed column, r row, R fixed row)
        {"FontCell", {'f', 'c'}},         {"FontCol", {'f', 'l'}},
        {"FontFixedCol", {'f', 'L'}},     {"FontRow", {'f', 'r'}},
        {"FontFixedRow", {'f', 'R'}},     {"BrushCell", {'b', 'c'}},
        {"BrushCol", {'b', 'l'}},         {"BrushFixedCol", {'b', 'L'}},
        {"BrushRow", {'b', 'r'}},         {"BrushFixedRow", {'b', 'R'}},
        {"ColorCell", {'c', 'c'}},        {"ColorCol", {'c', 'l'}},
        {"ColorFixedCol", {'c', 'L'}},    {"ColorRow", {'c', 'r'}},
        {"ColorFixedRow", {'c', 'R'}},    {"SelectedColorCell", {'s', 'c'}},
        {"SelectedColorCol", {'s', 'l'}}, {"SelectedColorRow", {'s', 'r'}}};
    const auto Kind = Kinds.find(Name);
    if (Kind == Kinds.end()) {
        return false;
    }
    // Plain variables rather than a structured binding: clang 14 (the fuzzing build) cannot
    // capture bindings in the lambdas below.
    const char What = Kind->second.first;
    const char Where = Kind->second.second;
    TFormListReader Reader(Value);
    while (!Reader.EndOfList()) {
        const int First = ReadIndex(Reader);
        const int Second = Where == 'c' ? ReadIndex(Reader) : 0;
        auto FontAt = [&]() -> TMyFont& {
            switch (Where) {
            case 'c':
                return FGrid.FontCell(First, Second);
            case 'l':
                return FGrid.FontCol(First);
            case 'L':
                return FGrid.FontFixedCol(First);
            case 'r':
                return FGrid.FontRow(First);
            default:
                return FGrid.FontFixedRow(First);
            }
        };
        auto BrushAt = [&]() -> TMyBrush& {
            switch (Where) {
            case 'c':
                return FGrid.BrushCell(First, Second);
            case 'l':
                return FGrid.BrushCol(First);
            case 'L':
                return FGrid.BrushFixedCol(First);
            case 'r':
                return FGrid.BrushRow(First);
            default:
                return FGrid.BrushFixedRow(First);
            }
        };
        if (What == 'f') {
            FontAt().Assign(ReadFont(Reader));
        } else if (What == 'b') {
            BrushAt().Assign(ReadBrush(Reader));
        } else if (What == 'c') {
            BrushAt().SetColor(Reader.ReadInt32());
        } else if (Where == 'c') {
            FGrid.SetSelectedColorCell(First, Second, Reader.ReadInt32());
        } else if (Where == 'l') {
            FGrid.SetSelectedColorCol(First, Reader.ReadInt32());
        } else {
            FGrid.SetSelectedColorRow(First, Reader.ReadInt32());
        }
    }
    return true;
}

void TGridReader::Loaded() {
    if (!FHasLoadedCells) {
        return;
    }
    // Every cell gets its loaded text or the empty text; clearing first keeps this linear in
    // the texts rather than in ColCount x RowCount.
    for (int Row = 0; Row < FGrid.RowCount(); ++Row) {
        FGrid.ClearRow(Row);
    }
    for (const auto& [Cell, Text] : FLoadedCells) {
        FGrid.SetCells(Cell.first, Cell.second, Text);
    }
    FLoadedCells.clear();
    FHasLoadedCells = false;
    FGrid.Notify({TGridChangeKind::TextsChanged});
}

namespace {

std::vector<TFormProperty> LoadInto(TStyledGridModel& Grid,
                                    const std::vector<TFormProperty>& Properties) {
    std::vector<TFormProperty> Unhandled;
    TGridReader Reader(Grid);
    for (const TFormProperty& Property : Properties) {
        try {
            if (!Reader.ReadProperty(Property)) {
                Unhandled.push_back(Property);
            }
        } catch (const std::out_of_range& Error) {
            throw TFormError(Error.what(), Property.Line, Property.Column);
        }
    }
    Reader.Loaded();
    return Unhandled;
}

} // namespace

TGridLoadResult LoadGridSettings(TStyledGridModel& Grid, std::string_view Text) {
    TGridLoadResult Result;
    try {
        const std::vector<TFormProperty> Properties = ReadFormText(Text);
        TStyledGridModel Scratch;
        Scratch.SetColCount(Grid.ColCount());
        Scratch.SetRowCount(Grid.RowCount());
        Scratch.SetFixedCols(Grid.FixedCols());
        Scratch.SetFixedRows(Grid.FixedRows());
        LoadInto(Scratch, Properties);
        Result.Unhandled = LoadInto(Grid, Properties);
    } catch (const TFormError& Error) {
        Result.Ok = false;
        Result.Message = Error.what();
        Result.Line = Error.Line();
        Result.Column = Error.Column();
    } catch (const std::exception& Error) {
        // Whatever else goes wrong while reading is a failed load too, never a crash.
        Result.Ok = false;
        Result.Message = Error.what();
    }
    return Result;
}

std::vector<TFormProperty> DefineGridProperties(const TStyledGridModel& Grid) {
    std::vector<TFormProperty> Out;
    if (Grid.HintsStored()) {
        Out.push_back({"HintCell", WriteHints(Grid)});
    }
    if (Grid.CellsStored()) {
        Out.push_back({"Cells", WriteCells(Grid)});
    }
    Out.push_back({"PropCell", WriteCellRecords(Grid)});
    Out.push_back({"PropCol", WriteLineRecords(Grid.PropCol(), Grid.ColCount())});
    Out.push_back({"PropRow", WriteLineRecords(Grid.PropRow(), Grid.RowCount())});
    Out.push_back({"PropFixedCol", WriteLineRecords(Grid.PropFixedCol(), Grid.ColCount())});
    Out.push_back({"PropFixedRow", WriteLineRecords(Grid.PropFixedRow(), Grid.RowCount())});
    return Out;
}

std::string SaveGridSettings(const TStyledGridModel& Grid) {
    std::vector<TFormProperty> Properties;
    AddPublished(Properties, Grid);
    for (TFormProperty& Property : DefineGridProperties(Grid)) {
        Properties.push_back(std::move(Property));
    }
    return WriteFormText(Properties);
}

} // namespace kav
