#include "search/CodePageMatch.h"

#include "text/CodePage.h"

#include <QString>

namespace kav {

namespace {

// The folded letters of a byte string with, for every folded unit, the byte offset of the
// character it starts; units after the first of a character carry -1, so that no hit starts
// or ends inside a character (a trail byte, the second "S" of "ß").
struct TFoldedText {
    std::u16string Chars;
    std::vector<long long> ByteOf; // Chars.size() + 1 entries
};

void Append(TFoldedText& Folded, const std::u16string& Units, long long Byte) {
    for (size_t k = 0; k < Units.size(); ++k) {
        Folded.Chars += Units[k];
        Folded.ByteOf.push_back(k == 0 ? Byte : -1);
    }
}

TFoldedText FoldSingleByte(std::string_view Bytes, int CodePage, const TCaseFolding& Folding) {
    const QString Text = DecodeBytes(Bytes, CodePage);
    TFoldedText Folded;
    Folded.Chars.reserve(static_cast<size_t>(Text.size()));
    Folded.ByteOf.reserve(static_cast<size_t>(Text.size()) + 1);
    // One byte is one character in these pages.
    if (Folding.MatchCase()) {
        // Letters stay as they are: the decoded text itself, unit i from byte i.
        Folded.Chars.assign(reinterpret_cast<const char16_t*>(Text.utf16()),
                            static_cast<size_t>(Text.size()));
        for (qsizetype i = 0; i < Text.size(); ++i)
            Folded.ByteOf.push_back(static_cast<long long>(i));
    } else {
        for (qsizetype i = 0; i < Text.size(); ++i)
            Append(Folded, Folding.FoldUnit(Text[i].unicode()), static_cast<long long>(i));
    }
    Folded.ByteOf.push_back(static_cast<long long>(Bytes.size()));
    return Folded;
}

TFoldedText FoldDoubleByte(std::string_view Bytes, int CodePage, const TCaseFolding& Folding) {
    TFoldedText Folded;
    size_t i = 0;
    while (i < Bytes.size()) {
        const size_t Width =
            IsLeadByte(CodePage, static_cast<unsigned char>(Bytes[i])) && i + 1 < Bytes.size() ? 2
                                                                                               : 1;
        Append(Folded, Folding.Fold(DecodeBytes(Bytes.substr(i, Width), CodePage)),
               static_cast<long long>(i));
        i += Width;
    }
    Folded.ByteOf.push_back(static_cast<long long>(Bytes.size()));
    return Folded;
}

TFoldedText Fold(std::string_view Bytes, int CodePage, const TCaseFolding& Folding) {
    return IsDoubleByteCodePage(CodePage) ? FoldDoubleByte(Bytes, CodePage, Folding)
                                          : FoldSingleByte(Bytes, CodePage, Folding);
}

// The blank is the only separator; its byte is the same in every page we read.
bool IsWholeWord(std::string_view Cell, long long First, long long End) {
    const bool StartsWord = First == 0 || Cell[static_cast<size_t>(First - 1)] == ' ';
    const bool EndsWord =
        End == static_cast<long long>(Cell.size()) || Cell[static_cast<size_t>(End)] == ' ';
    return StartsWord && EndsWord;
}

} // namespace

TSearchPattern::TSearchPattern(std::string_view Text, int TextCodePage, bool MatchCase,
                               const QLocale& Locale)
    : FFolding(MatchCase, Locale), FChars(Fold(Text, TextCodePage, FFolding).Chars) {}

std::vector<TTextMatch> TSearchPattern::FindAll(std::string_view Cell, int CellCodePage,
                                                bool WholeWord) const {
    std::vector<TTextMatch> Matches;
    if (FChars.empty())
        return Matches;
    const TFoldedText Folded = Fold(Cell, CellCodePage, FFolding);
    size_t At = Folded.Chars.find(FChars);
    while (At != std::u16string::npos) {
        const long long First = Folded.ByteOf[At];
        const long long End = Folded.ByteOf[At + FChars.size()];
        if (First >= 0 && End >= 0 && (!WholeWord || IsWholeWord(Cell, First, End))) {
            Matches.push_back({First + 1, End - First});
            At = Folded.Chars.find(FChars, At + FChars.size());
        } else {
            At = Folded.Chars.find(FChars, At + 1);
        }
    }
    return Matches;
}

TTextMatch TSearchPattern::FindIn(std::string_view Cell, int CellCodePage) const {
    const std::vector<TTextMatch> Matches = FindAll(Cell, CellCodePage, false);
    return Matches.empty() ? TTextMatch{} : Matches.front();
}

TTextMatch TSearchPattern::FindWholeWordIn(std::string_view Cell, int CellCodePage) const {
    const std::vector<TTextMatch> Matches = FindAll(Cell, CellCodePage, true);
    return Matches.empty() ? TTextMatch{} : Matches.front();
}

std::string MatchedBytes(std::string_view Cell, const TTextMatch& Match) {
    if (!Match.Found())
        return {};
    return std::string(
        Cell.substr(static_cast<size_t>(Match.Pos - 1), static_cast<size_t>(Match.Len)));
}

std::string ReplaceMatches(std::string_view Cell, const std::vector<TTextMatch>& Matches,
                           std::string_view New) {
    std::string Result;
    size_t Kept = 0;
    for (const TTextMatch& Match : Matches) {
        const size_t First = static_cast<size_t>(Match.Pos - 1);
        Result.append(Cell.substr(Kept, First - Kept));
        Result.append(New);
        Kept = First + static_cast<size_t>(Match.Len);
    }
    Result.append(Cell.substr(Kept));
    return Result;
}

} // namespace kav
