#include "search/CodePageMatch.h"

#include "document/CodePage.h"

#include <QString>

#include <vector>

namespace kav {

namespace {

// Upper-cases one code unit by the simple mapping, so that a letter never changes length
// ("ß" stays one letter) and positions stay tied to their bytes.
char16_t FoldUnit(char16_t Unit, bool MatchCase) {
    return MatchCase ? Unit : QChar(Unit).toUpper().unicode();
}

// The letters of a byte string with, for every letter, the byte offset it starts at; letters
// after the first of a multi-unit character carry -1 so that no hit starts or ends inside one.
struct TFoldedText {
    std::u16string Chars;
    std::vector<long long> ByteOf; // Chars.size() + 1 entries; empty when letters are bytes
};

TFoldedText FoldSingleByte(std::string_view Bytes, int CodePage, bool MatchCase) {
    const QString Text = DecodeBytes(Bytes, CodePage);
    TFoldedText Folded;
    Folded.Chars.resize(static_cast<size_t>(Text.size()));
    for (qsizetype i = 0; i < Text.size(); ++i)
        Folded.Chars[static_cast<size_t>(i)] = FoldUnit(Text[i].unicode(), MatchCase);
    return Folded;
}

TFoldedText FoldDoubleByte(std::string_view Bytes, int CodePage, bool MatchCase) {
    TFoldedText Folded;
    size_t i = 0;
    while (i < Bytes.size()) {
        const size_t Width =
            IsLeadByte(CodePage, static_cast<unsigned char>(Bytes[i])) && i + 1 < Bytes.size() ? 2
                                                                                               : 1;
        const QString Unit = DecodeBytes(Bytes.substr(i, Width), CodePage);
        for (qsizetype k = 0; k < Unit.size(); ++k) {
            Folded.Chars += FoldUnit(Unit[k].unicode(), MatchCase);
            Folded.ByteOf.push_back(k == 0 ? static_cast<long long>(i) : -1);
        }
        i += Width;
    }
    Folded.ByteOf.push_back(static_cast<long long>(Bytes.size()));
    return Folded;
}

TFoldedText Fold(std::string_view Bytes, int CodePage, bool MatchCase) {
    return IsDoubleByteCodePage(CodePage) ? FoldDoubleByte(Bytes, CodePage, MatchCase)
                                          : FoldSingleByte(Bytes, CodePage, MatchCase);
}

long long ByteAt(const TFoldedText& Folded, size_t Index) {
    return Folded.ByteOf.empty() ? static_cast<long long>(Index) : Folded.ByteOf[Index];
}

} // namespace

TSearchPattern::TSearchPattern(std::string_view Text, int TextCodePage, bool MatchCase)
    : FChars(Fold(Text, TextCodePage, MatchCase).Chars), FMatchCase(MatchCase) {}

TTextMatch TSearchPattern::FindIn(std::string_view Cell, int CellCodePage) const {
    if (FChars.empty())
        return {};
    const TFoldedText Folded = Fold(Cell, CellCodePage, FMatchCase);
    for (size_t At = Folded.Chars.find(FChars); At != std::u16string::npos;
         At = Folded.Chars.find(FChars, At + 1)) {
        const long long First = ByteAt(Folded, At);
        const long long End = ByteAt(Folded, At + FChars.size());
        if (First >= 0 && End >= 0)
            return {First + 1, End - First};
    }
    return {};
}

TTextMatch TSearchPattern::FindWholeWordIn(std::string_view Cell, int CellCodePage) const {
    const TTextMatch Match = FindIn(Cell, CellCodePage);
    if (!Match.Found())
        return {};
    const size_t Before = static_cast<size_t>(Match.Pos - 1);
    const size_t After = static_cast<size_t>(Match.Pos - 1 + Match.Len);
    // The blank is the only separator; its byte is the same in every page we read.
    const bool StartsWord = Before == 0 || Cell[Before - 1] == ' ';
    const bool EndsWord = After == Cell.size() || Cell[After] == ' ';
    return StartsWord && EndsWord ? Match : TTextMatch{};
}

std::string MatchedBytes(std::string_view Cell, const TTextMatch& Match) {
    if (!Match.Found())
        return {};
    return std::string(
        Cell.substr(static_cast<size_t>(Match.Pos - 1), static_cast<size_t>(Match.Len)));
}

} // namespace kav
