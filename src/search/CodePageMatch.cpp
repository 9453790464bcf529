#include "search/CodePageMatch.h"

#include "text/CodePage.h"

#include <QString>

#include <algorithm>

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

const TSearchPattern::TByteFolds& TSearchPattern::ByteFolds(int CodePage) const {
    for (const auto& Folds : FByteFolds)
        if (Folds->CodePage == CodePage)
            return *Folds;
    auto Folds = std::make_unique<TByteFolds>();
    Folds->CodePage = CodePage;
    // Every byte once, folded as a cell holding them all would be: a page decodes each byte
    // on its own, so this is each byte's folding.
    std::string Bytes(256, '\0');
    for (size_t B = 0; B < Bytes.size(); ++B)
        Bytes[B] = static_cast<char>(B);
    const TFoldedText Folded = FoldSingleByte(Bytes, CodePage, FFolding);
    Folds->Usable = true;
    size_t Unit = 0;
    for (size_t B = 0; B < Bytes.size() && Folds->Usable; ++B) {
        const size_t First = Unit;
        // The byte's units: its first, then those that carry no byte of their own.
        while (++Unit < Folded.Chars.size() && Folded.ByteOf[Unit] < 0) {
        }
        const size_t Count = Unit - First;
        if (Folded.ByteOf[First] != static_cast<long long>(B) || Count > Folds->Units[B].size()) {
            Folds->Usable = false;
            break;
        }
        std::copy_n(Folded.Chars.begin() + static_cast<std::ptrdiff_t>(First), Count,
                    Folds->Units[B].begin());
        Folds->Count[B] = static_cast<unsigned char>(Count);
        Folds->Starts[B] = Folded.Chars[First] == FChars[0];
    }
    FByteFolds.push_back(std::move(Folds));
    return *FByteFolds.back();
}

std::vector<TTextMatch> TSearchPattern::FindAllSingleByte(std::string_view Cell,
                                                          const TByteFolds& Folds,
                                                          bool WholeWord) const {
    // The same hits as the search over the folded cell: a hit begins with the first unit of a
    // byte's character and ends with the last unit of one; after a hit the search goes on
    // behind it, after a miss from the next byte.
    std::vector<TTextMatch> Matches;
    const size_t Size = Cell.size();
    for (size_t First = 0; First < Size; ++First) {
        if (!Folds.Starts[static_cast<unsigned char>(Cell[First])])
            continue;
        size_t Matched = 0; // pattern units matched
        size_t End = First;
        bool Hit = true;
        while (Hit && Matched < FChars.size()) {
            if (End == Size) {
                Hit = false;
                break;
            }
            const auto B = static_cast<unsigned char>(Cell[End++]);
            for (unsigned char k = 0; k < Folds.Count[B]; ++k) {
                if (Matched == FChars.size() || Folds.Units[B][k] != FChars[Matched]) {
                    Hit = false; // a different unit, or the pattern ends inside a character
                    break;
                }
                ++Matched;
            }
        }
        if (!Hit || (WholeWord && !IsWholeWord(Cell, static_cast<long long>(First),
                                               static_cast<long long>(End))))
            continue;
        Matches.push_back({static_cast<long long>(First) + 1, static_cast<long long>(End - First)});
        First = End - 1;
    }
    return Matches;
}

std::vector<TTextMatch> TSearchPattern::FindAll(std::string_view Cell, int CellCodePage,
                                                bool WholeWord) const {
    std::vector<TTextMatch> Matches;
    if (FChars.empty())
        return Matches;
    if (!IsDoubleByteCodePage(CellCodePage)) {
        if (const TByteFolds& Folds = ByteFolds(CellCodePage); Folds.Usable)
            return FindAllSingleByte(Cell, Folds, WholeWord);
    }
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
