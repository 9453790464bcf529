#include "grid/FormText.h"

#include <cstdio>
#include <limits>

namespace kav {

namespace {

bool IsIdentStart(char C) {
    return (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_';
}
bool IsIdentChar(char C) {
    return IsIdentStart(C) || (C >= '0' && C <= '9') || C == '.';
}
bool IsDigit(char C) {
    return C >= '0' && C <= '9';
}

int HexDigit(char C) {
    if (C >= '0' && C <= '9') {
        return C - '0';
    }
    if (C >= 'a' && C <= 'f') {
        return C - 'a' + 10;
    }
    if (C >= 'A' && C <= 'F') {
        return C - 'A' + 10;
    }
    return -1;
}

class TParser {
public:
    explicit TParser(std::string_view Text) : FText(Text) {}

    std::vector<TFormProperty> ReadAll() {
        std::vector<TFormProperty> Properties;
        for (;;) {
            SkipBlanks(true);
            if (AtEnd()) {
                return Properties;
            }
            Properties.push_back(ReadProperty());
            SkipBlanks(false);
            if (!AtEnd() && Peek() != '\n') {
                Fail("end of line expected");
            }
        }
    }

private:
    TFormProperty ReadProperty() {
        TFormProperty Property;
        Property.Line = FLine;
        Property.Column = Column();
        if (!IsIdentStart(Peek())) {
            Fail("property name expected");
        }
        Property.Name = ReadIdent();
        SkipBlanks(false);
        if (Peek() != '=') {
            Fail("'=' expected");
        }
        Advance();
        SkipBlanks(false);
        Property.Value = ReadValue(true);
        return Property;
    }

    TFormValue ReadValue(bool AllowCompound) {
        TFormValue Value;
        Value.Line = FLine;
        Value.Column = Column();
        const char C = Peek();
        if (C == '\'' || C == '#') {
            Value.Kind = TFormValue::TKind::String;
            Value.Text = ReadString();
        } else if (IsDigit(C) || C == '-' || C == '+' || C == '$') {
            Value.Kind = TFormValue::TKind::Integer;
            Value.Integer = ReadInteger();
        } else if (IsIdentStart(C)) {
            Value.Kind = TFormValue::TKind::Ident;
            Value.Text = ReadIdent();
        } else if (AllowCompound && C == '(') {
            Value.Kind = TFormValue::TKind::List;
            Value.Items = ReadItems(')');
        } else if (AllowCompound && C == '[') {
            Value.Kind = TFormValue::TKind::Set;
            Value.Items = ReadItems(']');
        } else if (AllowCompound && C == '{') {
            Value.Kind = TFormValue::TKind::Binary;
            Value.Text = ReadBinary();
        } else if (C == '(' || C == '[' || C == '{') {
            Fail("lists cannot be nested");
        } else {
            Fail(AtEnd() ? "value expected at end of text" : "value expected");
        }
        return Value;
    }

    std::vector<TFormValue> ReadItems(char Close) {
        Advance();
        std::vector<TFormValue> Items;
        bool NeedItem = false;
        for (;;) {
            SkipBlanks(true);
            if (AtEnd()) {
                Fail(std::string("'") + Close + "' expected before end of text");
            }
            if (Peek() == Close) {
                if (NeedItem) {
                    Fail("value expected after ','");
                }
                Advance();
                return Items;
            }
            Items.push_back(ReadValue(false));
            if (Close == ']' && Items.back().Kind != TFormValue::TKind::Ident) {
                FailAt("identifier expected in set", Items.back().Line, Items.back().Column);
            }
            SkipBlanks(true);
            NeedItem = !AtEnd() && Peek() == ',';
            if (NeedItem) {
                Advance();
            }
        }
    }

    std::string ReadBinary() {
        Advance();
        std::string Bytes;
        for (;;) {
            SkipBlanks(true);
            if (AtEnd()) {
                Fail("'}' expected before end of text");
            }
            if (Peek() == '}') {
                Advance();
                return Bytes;
            }
            const int High = HexDigit(Peek());
            if (High < 0) {
                Fail("hexadecimal digit expected");
            }
            Advance();
            const int Low = AtEnd() ? -1 : HexDigit(Peek());
            if (Low < 0) {
                Fail("hexadecimal digits must come in pairs");
            }
            Advance();
            Bytes += static_cast<char>(High * 16 + Low);
        }
    }

    std::int64_t ReadInteger() {
        bool Negative = false;
        if (Peek() == '-' || Peek() == '+') {
            Negative = Peek() == '-';
            Advance();
        }
        const bool Hex = Peek() == '$';
        if (Hex) {
            Advance();
        }
        const int Base = Hex ? 16 : 10;
        const int StartLine = FLine;
        const int StartColumn = Column();
        std::uint64_t Magnitude = 0;
        int Digits = 0;
        for (; !AtEnd() && (Hex ? HexDigit(Peek()) >= 0 : IsDigit(Peek())); Advance(), ++Digits) {
            const auto Digit = static_cast<std::uint64_t>(HexDigit(Peek()));
            if (Magnitude > (std::numeric_limits<std::uint64_t>::max() - Digit) / Base) {
                FailAt("integer too large", StartLine, StartColumn);
            }
            Magnitude = Magnitude * static_cast<std::uint64_t>(Base) + Digit;
        }
        if (Digits == 0) {
            Fail("digit expected");
        }
        if (!AtEnd() && (IsIdentChar(Peek()))) {
            Fail("invalid character in number");
        }
        return ToSigned(Magnitude, Negative, Hex, StartLine, StartColumn);
    }

    std::int64_t ToSigned(std::uint64_t Magnitude, bool Negative, bool Hex, int Line, int Col) {
        constexpr auto Max = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
        if (Hex && !Negative) {
            // $FFFFFFFF-style values keep their bits, as colours are written.
            if (Magnitude <= 0xFFFFFFFFull) {
                return static_cast<std::int32_t>(static_cast<std::uint32_t>(Magnitude));
            }
        }
        if (Magnitude > Max + (Negative ? 1 : 0)) {
            FailAt("integer too large", Line, Col);
        }
        if (Negative) {
            return Magnitude == Max + 1 ? std::numeric_limits<std::int64_t>::min()
                                        : -static_cast<std::int64_t>(Magnitude);
        }
        return static_cast<std::int64_t>(Magnitude);
    }

    std::string ReadString() {
        std::string Result;
        for (;;) {
            ReadStringPart(Result);
            // 'abc' + <line break> 'def' continues the string.
            const size_t Saved = FPos;
            const int SavedLine = FLine;
            const size_t SavedLineStart = FLineStart;
            SkipBlanks(false);
            if (!AtEnd() && Peek() == '+') {
                Advance();
                SkipBlanks(true);
                if (AtEnd() || (Peek() != '\'' && Peek() != '#')) {
                    Fail("string expected after '+'");
                }
                continue;
            }
            FPos = Saved;
            FLine = SavedLine;
            FLineStart = SavedLineStart;
            return Result;
        }
    }

    // Quoted runs and #nnn codes written next to each other.
    void ReadStringPart(std::string& Result) {
        while (!AtEnd() && (Peek() == '\'' || Peek() == '#')) {
            if (Peek() == '#') {
                ReadCharCode(Result);
                continue;
            }
            Advance();
            for (;;) {
                if (AtEnd() || Peek() == '\n' || Peek() == '\r') {
                    Fail("unterminated string");
                }
                if (Peek() == '\'') {
                    Advance();
                    if (AtEnd() || Peek() != '\'') {
                        break;
                    }
                }
                Result += Peek();
                Advance();
            }
        }
    }

    void ReadCharCode(std::string& Result) {
        const int Line = FLine;
        const int Col = Column();
        Advance();
        int Code = 0;
        int Digits = 0;
        for (; !AtEnd() && IsDigit(Peek()); Advance(), ++Digits) {
            Code = Code * 10 + (Peek() - '0');
            if (Code > 255) {
                FailAt("character code above 255", Line, Col);
            }
        }
        if (Digits == 0) {
            Fail("character code expected after '#'");
        }
        Result += static_cast<char>(Code);
    }

    std::string ReadIdent() {
        const size_t Start = FPos;
        while (!AtEnd() && IsIdentChar(Peek())) {
            Advance();
        }
        return std::string(FText.substr(Start, FPos - Start));
    }

    void SkipBlanks(bool LineBreaks) {
        while (!AtEnd()) {
            const char C = Peek();
            if (C == ' ' || C == '\t' || (LineBreaks && (C == '\n' || C == '\r'))) {
                Advance();
            } else if (C == '\r' && FPos + 1 < FText.size() && FText[FPos + 1] == '\n') {
                Advance();
            } else {
                return;
            }
        }
    }

    bool AtEnd() const { return FPos >= FText.size(); }
    char Peek() const { return AtEnd() ? '\0' : FText[FPos]; }
    int Column() const { return static_cast<int>(FPos - FLineStart) + 1; }

    void Advance() {
        if (AtEnd()) {
            return;
        }
        if (FText[FPos] == '\n') {
            ++FLine;
            FLineStart = FPos + 1;
        }
        ++FPos;
    }

    [[noreturn]] void Fail(const std::string& Message) const { FailAt(Message, FLine, Column()); }
    [[noreturn]] static void FailAt(const std::string& Message, int Line, int Col) {
        throw TFormError(Message, Line, Col);
    }

    std::string_view FText;
    size_t FPos = 0;
    int FLine = 1;
    size_t FLineStart = 0;
};

constexpr size_t LineWidth = 96;
constexpr size_t ShortList = 80;

std::string FormatScalar(const TFormValue& Value) {
    switch (Value.Kind) {
    case TFormValue::TKind::String:
        return FormatFormString(Value.Text);
    case TFormValue::TKind::Ident:
        return Value.Text;
    default:
        return std::to_string(Value.Integer);
    }
}

void WriteList(std::string& Out, const TFormValue& List) {
    std::vector<std::string> Parts;
    size_t Total = 0;
    for (const TFormValue& Item : List.Items) {
        Parts.push_back(FormatScalar(Item));
        Total += Parts.back().size() + 2;
    }
    if (Total <= ShortList) {
        Out += "(";
        for (size_t I = 0; I < Parts.size(); ++I) {
            Out += (I ? ", " : "") + Parts[I];
        }
        Out += ")";
        return;
    }
    // Long lists start on their own line and wrap, so that diffs of stored forms stay readable.
    Out += "(";
    size_t LineLength = LineWidth;
    for (size_t I = 0; I < Parts.size(); ++I) {
        if (LineLength + Parts[I].size() + 2 > LineWidth) {
            Out += "\n  ";
            LineLength = 2;
        } else {
            Out += ' ';
            ++LineLength;
        }
        Out += Parts[I];
        LineLength += Parts[I].size();
        if (I + 1 < Parts.size()) {
            Out += ',';
            ++LineLength;
        }
    }
    Out += ")";
}

void WriteBinary(std::string& Out, const std::string& Bytes) {
    static const char Digits[] = "0123456789ABCDEF";
    Out += "{";
    for (size_t I = 0; I < Bytes.size(); ++I) {
        if (I % 32 == 0 && Bytes.size() > 32) {
            Out += "\n  ";
        }
        const auto Byte = static_cast<unsigned char>(Bytes[I]);
        Out += Digits[Byte >> 4];
        Out += Digits[Byte & 15];
    }
    Out += "}";
}

void WriteValue(std::string& Out, const TFormValue& Value) {
    switch (Value.Kind) {
    case TFormValue::TKind::List:
        WriteList(Out, Value);
        return;
    case TFormValue::TKind::Binary:
        WriteBinary(Out, Value.Text);
        return;
    case TFormValue::TKind::Set: {
        Out += "[";
        for (size_t I = 0; I < Value.Items.size(); ++I) {
            Out += (I ? ", " : "") + Value.Items[I].Text;
        }
        Out += "]";
        return;
    }
    default:
        Out += FormatScalar(Value);
    }
}

const char* KindName(TFormValue::TKind Kind) {
    switch (Kind) {
    case TFormValue::TKind::Integer:
        return "integer";
    case TFormValue::TKind::String:
        return "string";
    case TFormValue::TKind::Ident:
        return "identifier";
    default:
        return "value";
    }
}

} // namespace

TFormError::TFormError(const std::string& Message, int Line, int Column)
    : std::runtime_error("line " + std::to_string(Line) + ", column " + std::to_string(Column) +
                         ": " + Message),
      FReason(Message), FLine(Line), FColumn(Column) {}

TFormValue TFormValue::MakeInteger(std::int64_t Value) {
    TFormValue V;
    V.Integer = Value;
    return V;
}

TFormValue TFormValue::MakeString(std::string Value) {
    TFormValue V;
    V.Kind = TKind::String;
    V.Text = std::move(Value);
    return V;
}

TFormValue TFormValue::MakeIdent(std::string Value) {
    TFormValue V = MakeString(std::move(Value));
    V.Kind = TKind::Ident;
    return V;
}

TFormValue TFormValue::MakeBinary(std::string Bytes) {
    TFormValue V = MakeString(std::move(Bytes));
    V.Kind = TKind::Binary;
    return V;
}

TFormValue TFormValue::MakeList(std::vector<TFormValue> Items) {
    TFormValue V;
    V.Kind = TKind::List;
    V.Items = std::move(Items);
    return V;
}

TFormValue TFormValue::MakeSet(std::vector<std::string> Idents) {
    TFormValue V;
    V.Kind = TKind::Set;
    for (std::string& Ident : Idents) {
        V.Items.push_back(MakeIdent(std::move(Ident)));
    }
    return V;
}

std::vector<TFormProperty> ReadFormText(std::string_view Text) {
    return TParser(Text).ReadAll();
}

std::string WriteFormText(const std::vector<TFormProperty>& Properties) {
    std::string Out;
    for (const TFormProperty& Property : Properties) {
        Out += Property.Name + " = ";
        WriteValue(Out, Property.Value);
        Out += "\n";
    }
    return Out;
}

std::string FormatFormString(std::string_view Bytes) {
    if (Bytes.empty()) {
        return "''";
    }
    std::string Out;
    bool Quoted = false;
    for (const char C : Bytes) {
        const auto Byte = static_cast<unsigned char>(C);
        const bool Printable = Byte >= 32 && Byte < 127;
        if (Printable != Quoted) {
            Out += '\'';
            Quoted = Printable;
        }
        if (!Printable) {
            Out += '#' + std::to_string(Byte);
        } else {
            Out += C == '\'' ? std::string("''") : std::string(1, C);
        }
    }
    if (Quoted) {
        Out += '\'';
    }
    return Out;
}

TFormListReader::TFormListReader(const TFormValue& List) : FList(List) {
    if (List.Kind != TFormValue::TKind::List) {
        throw TFormError("list expected", List.Line, List.Column);
    }
}

const TFormValue& TFormListReader::Next(const char* Expected) {
    if (EndOfList()) {
        // The position of the closing parenthesis is not kept: point at the last item read.
        const TFormValue& At = FLast ? *FLast : FList;
        throw TFormError(std::string(Expected) + " expected before end of list", At.Line,
                         At.Column);
    }
    FLast = &FList.Items[FNext++];
    return *FLast;
}

std::int64_t TFormListReader::ReadInteger(std::int64_t Min, std::int64_t Max) {
    const TFormValue& Item = Next("integer");
    if (Item.Kind != TFormValue::TKind::Integer) {
        Fail(std::string("integer expected, found ") + KindName(Item.Kind));
    }
    if (Item.Integer < Min || Item.Integer > Max) {
        Fail("value " + std::to_string(Item.Integer) + " out of range (" + std::to_string(Min) +
             ".." + std::to_string(Max) + ")");
    }
    return Item.Integer;
}

std::int32_t TFormListReader::ReadInt32() {
    return static_cast<std::int32_t>(ReadInteger(std::numeric_limits<std::int32_t>::min(),
                                                 std::numeric_limits<std::int32_t>::max()));
}

std::string TFormListReader::ReadString() {
    const TFormValue& Item = Next("string");
    if (Item.Kind != TFormValue::TKind::String) {
        Fail(std::string("string expected, found ") + KindName(Item.Kind));
    }
    return Item.Text;
}

void TFormListReader::Fail(const std::string& Message) const {
    const TFormValue& At = FLast ? *FLast : FList;
    throw TFormError(Message, At.Line, At.Column);
}

} // namespace kav
