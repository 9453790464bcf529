#pragma once
// The document's items: for each text of the product its constant name, default (English)
// text, allowed width and font from the default file, its translation and colour mark from
// the translated file, and the replacements made in it, each with the exact texts that make it
// undoable. The table's rows are the view of the items: item k (from 0) is row k + 2, and the
// texts the grid shows are the items' own bytes, written here and nowhere else.

#include "document/StrFile.h"
#include "document/TranslationTable.h"
#include "grid/GridModel.h"

#include <QString>

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

// An item's identity: its place in the default file's order, 0 for the first. Items come and
// go only with a load (New, Open, the read-back after a save), so an identity names the same
// item for as long as the steps that hold it can be undone.
using TItemId = int;
constexpr TItemId NoItem = -1;
inline int RowOfItem(TItemId Id) {
    return Id + FirstItemRow;
}
inline TItemId ItemOfRow(int Row) {
    return Row - FirstItemRow;
}

// One replacement in an item: where the replaced text stood, what it was and what replaced it,
// and the whole translation before and right after it, which give it back exactly.
struct TReplacement {
    long long Position = 0; // 1-based byte position of the first occurrence replaced
    std::string Old;
    std::string New;
    std::string Before;
    std::string After;
    bool operator==(const TReplacement&) const = default;
};
// The replacements of an item, newest last. The newest is the mark the item shows; an edit
// that leaves another text than the newest one's After drops them all.
using TReplacements = std::vector<TReplacement>;

// A run of bytes in a text.
struct TByteSpan {
    size_t Start = 0;
    size_t Length = 0;
    bool operator==(const TByteSpan&) const = default;
};
// Where a replacement put New in After: each occurrence of Old it replaced (the letter case
// of Old ignored, as a search may), found by walking Before and After side by side. Empty when
// the two texts do not follow from each other that way, or New is empty.
std::vector<TByteSpan> ReplacedSpans(const TReplacement& Replacement);

// The mark as the table has always written it: "[" + Position + "] <" + Old + ">  @" + New +
// "@".
std::string FormatReplaceMark(const TReplacement& Replacement);

// What a command can change in an item, and what an undo step gives back.
struct TItemRecord {
    std::string Name;
    std::string Default;
    std::string Translation;
    TColor Colour = clWhite;
    TReplacements Marks;
    bool operator==(const TItemRecord&) const = default;
};

// An item as the checks, the measuring, the search and the exchange read it. The views are
// valid until the item is next written.
struct TItemView {
    std::string_view Number; // as column 0 shows it
    std::string_view Name;
    std::string_view Default;
    std::string_view Translation;
    std::string_view Width; // the default file's width field, as written there
    std::string_view FontName;
    std::string_view FontStyle;
    std::string_view FontSize;
};

// The texts of an item by the table's column (name, default, translation, attributes).
enum class TItemField { Name, Default, Translation };
TItemField FieldOfColumn(int Col);
int ColumnOfField(TItemField Field);

// The first character of Text that an item's field cannot hold in a language file, whatever
// the code page (a double quote or a line break, the end-of-file character, NUL; a blank in a
// name), or the null character when it can hold them all.
QChar RefusedInItemText(const QString& Text, TItemField Field);

class TItemTable {
public:
    explicit TItemTable(TStyledGridModel& Grid);
    TItemTable(const TItemTable&) = delete;
    TItemTable& operator=(const TItemTable&) = delete;

    // Items of the table; the row after the last is the trailing row, which holds none.
    int Count() const;
    bool Contains(TItemId Id) const { return Id >= 0 && Id < Count(); }
    TItemView View(TItemId Id) const;
    std::string_view Name(TItemId Id) const;
    std::string_view Default(TItemId Id) const;
    std::string_view Translation(TItemId Id) const;
    std::string_view Field(TItemId Id, TItemField Field) const;
    TColor Colour(TItemId Id) const;
    // "item 12", as messages and step names call it.
    std::string Caption(TItemId Id) const;

    const TReplacements& Marks(TItemId Id) const;
    bool Marked(TItemId Id) const { return FMarks.count(Id) != 0; }
    int MarkedCount() const { return static_cast<int>(FMarks.size()); }
    // The newest replacement's mark, "" for an item without one.
    std::string MarkText(TItemId Id) const;
    // The nearest marked item after From (Forward) or before it; NoItem when there is none.
    TItemId NextMarked(TItemId From, bool Forward) const;

    TItemRecord Record(TItemId Id) const;

    // The grid the items are shown in (its cells are the items' texts).
    const TStyledGridModel& Grid() const { return FGrid; }

private:
    friend class TDocument;
    friend class TDocumentEdit;

    // Every item goes; the table keeps its headers and one empty trailing row.
    void Reset();
    // What New leaves in the rows it clears, as the table has always had it.
    void ResetForNew();
    void Reserve(int Items);
    // Adds an item read from the default file; empty attribute fields leave their cells as
    // they are. Returns its identity.
    TItemId Append(const StrItemView& Item);
    void SetTranslation(TItemId Id, std::string_view Bytes);
    void SetField(TItemId Id, TItemField Field, std::string_view Bytes);
    void SetColour(TItemId Id, TColor Colour);
    void SetMarks(TItemId Id, TReplacements Marks);
    void SetRecord(TItemId Id, const TItemRecord& Record);
    void ClearMarks();
    // After a read-back that kept the default columns: translations, colours and marks go.
    void KeepOnlyDefaults(int RowCount);

    TStyledGridModel& FGrid;
    std::map<TItemId, TReplacements> FMarks;
};

} // namespace kav
