#pragma once
// The text form of a form resource, for the properties of one object:
//
//   ColCount = 12
//   Color = clWhite
//   Cells = (
//     0, 0, 'Items',
//     7, 1, 'Default (''Arial'')')
//   AlignCol = {020002}
//
// Values are integers (decimal, or $hex), identifiers, strings (quoted runs with '' for a quote
// and #nnn for any byte, joined directly or with + across lines), sets [a, b], binary blocks
// { hex } and lists ( ... ) of integers, identifiers and strings, separated by commas or blanks.
// Every error names its line and column; malformed input never gets further than an error.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kav {

class TFormError : public std::runtime_error {
public:
    TFormError(const std::string& Message, int Line, int Column);
    int Line() const { return FLine; }
    int Column() const { return FColumn; }
    // "Message" without the position.
    const std::string& Reason() const { return FReason; }

private:
    std::string FReason;
    int FLine;
    int FColumn;
};

struct TFormValue {
    enum class TKind { Integer, String, Ident, Set, Binary, List };
    TKind Kind = TKind::Integer;
    std::int64_t Integer = 0;
    // The bytes of a string or binary block, or the identifier.
    std::string Text;
    // The items of a list or set.
    std::vector<TFormValue> Items;
    int Line = 0;
    int Column = 0;

    static TFormValue MakeInteger(std::int64_t Value);
    static TFormValue MakeString(std::string Value);
    static TFormValue MakeIdent(std::string Value);
    static TFormValue MakeBinary(std::string Bytes);
    static TFormValue MakeList(std::vector<TFormValue> Items);
    static TFormValue MakeSet(std::vector<std::string> Idents);
};

struct TFormProperty {
    std::string Name;
    TFormValue Value;
    int Line = 0;
    int Column = 0;
};

// Throws TFormError.
std::vector<TFormProperty> ReadFormText(std::string_view Text);
std::string WriteFormText(const std::vector<TFormProperty>& Properties);
// A string value as form text: printable ASCII quoted, every other byte as #nnn.
std::string FormatFormString(std::string_view Bytes);

// Reads the items of a list one after the other, as the grid's property readers do.
class TFormListReader {
public:
    explicit TFormListReader(const TFormValue& List);
    bool EndOfList() const { return FNext >= FList.Items.size(); }
    // Integers must lie in Min..Max, or the range error names the item.
    std::int64_t ReadInteger(std::int64_t Min, std::int64_t Max);
    std::int32_t ReadInt32();
    std::string ReadString();
    [[noreturn]] void Fail(const std::string& Message) const;

private:
    const TFormValue& Next(const char* Expected);

    const TFormValue& FList;
    size_t FNext = 0;
    const TFormValue* FLast = nullptr;
};

} // namespace kav
