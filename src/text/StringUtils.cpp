#include "text/StringUtils.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace kav {

namespace {

// The character at 1-based position P, or -1 when P lies outside S: such a position never
// matches a delimiter.
int CharAt(std::string_view S, long long P) {
    if (P < 1 || P > static_cast<long long>(S.size()))
        return -1;
    return static_cast<unsigned char>(S[static_cast<size_t>(P - 1)]);
}

bool IsChar(std::string_view S, long long P, char Ch) {
    return CharAt(S, P) == static_cast<unsigned char>(Ch);
}

long long Len(std::string_view S) {
    return static_cast<long long>(S.size());
}

} // namespace

CharSet MakeCharSet(unsigned char First, unsigned char Last) {
    CharSet Set;
    for (unsigned c = First; c <= Last; ++c)
        Set.set(c);
    return Set;
}

CharSet MakeCharSet(std::string_view Chars) {
    CharSet Set;
    for (char c : Chars)
        Set.set(static_cast<unsigned char>(c));
    return Set;
}

const CharSet& TrimChars() {
    static const CharSet Set = MakeCharSet(0, 32);
    return Set;
}

const CharSet& DigitChars() {
    static const CharSet Set = MakeCharSet('0', '9');
    return Set;
}

std::string CopyRange(std::string_view S, long long First, long long Last) {
    // The count is taken before the start is raised to 1, then cut at the end of S. Positions
    // may lie anywhere in the 64-bit range, so the count is the unsigned distance, which
    // cannot overflow once Last >= First.
    const long long Start = std::max<long long>(First, 1);
    if (Last < First || Start > Len(S))
        return {};
    const auto Span =
        static_cast<unsigned long long>(Last) - static_cast<unsigned long long>(First);
    const auto Room = static_cast<unsigned long long>(Len(S) - Start);
    const auto Count = static_cast<size_t>(std::min(Span, Room) + 1);
    return std::string(S.substr(static_cast<size_t>(Start - 1), Count));
}

std::string CopyFrom(std::string_view S, long long First) {
    return CopyRange(S, First, Len(S));
}

bool IsBlankText(std::string_view S) {
    for (char C : S)
        if (static_cast<unsigned char>(C) > 32)
            return false;
    return true;
}

std::string TrimCharSet(std::string_view S, const CharSet& Chars) {
    long long i = 1;
    while (i <= Len(S) && Chars.test(static_cast<unsigned>(CharAt(S, i))))
        ++i;
    long long j = Len(S);
    while (j >= i && Chars.test(static_cast<unsigned>(CharAt(S, j))))
        --j;
    return CopyRange(S, i, j);
}

bool CharsInSet(const CharSet& Chars, std::string_view S, long long Start, long long Count) {
    // Compared against the room left rather than summed, so huge values cannot overflow.
    if (Chars.none() || Start < 1 || Count <= 0 || Count > Len(S) - Start + 1)
        return false;
    for (long long i = Start; i < Start + Count; ++i)
        if (!Chars.test(static_cast<unsigned>(CharAt(S, i))))
            return false;
    return true;
}

bool IsDigits(std::string_view S) {
    return !S.empty() && CharsInSet(DigitChars(), S, 1, Len(S));
}

bool MatchAt(std::string_view Sub, std::string_view S, long long Pos) {
    if (Pos < 1 || Sub.empty() || Len(Sub) > Len(S) - Pos + 1)
        return false;
    return S.substr(static_cast<size_t>(Pos - 1), Sub.size()) == Sub;
}

long long PosFrom(std::string_view Sub, std::string_view S, long long Offset) {
    // An offset at or past the end finds nothing; testing it first keeps Offset + 1 in range.
    if (Sub.empty() || Offset >= Len(S))
        return 0;
    long long From = std::max<long long>(Offset + 1, 1);
    if (From > Len(S) - Len(Sub) + 1)
        return 0;
    size_t Found = S.find(Sub, static_cast<size_t>(From - 1));
    return Found == std::string_view::npos ? 0 : static_cast<long long>(Found) + 1;
}

std::vector<std::string> SplitString(std::string_view S, std::string_view Delimiter) {
    std::vector<std::string> Pieces;
    if (S.empty() || Delimiter.empty())
        return Pieces;
    long long P = 0;
    for (;;) {
        long long K = PosFrom(Delimiter, S, P);
        if (K == 0) {
            Pieces.push_back(CopyFrom(S, P + 1));
            return Pieces;
        }
        Pieces.push_back(CopyRange(S, P + 1, K - 1));
        // Only one-character delimiters are in use; a longer one still advances past itself.
        P = K + Len(Delimiter) - 1;
    }
}

void SplitToList(std::string_view S, std::string_view Separator, std::vector<std::string>& List) {
    // Walks S once instead of copying the rest after every separator, so long texts with many
    // separators stay linear.
    if (Separator.empty()) {
        List.emplace_back(S);
        return;
    }
    size_t Start = 0;
    for (;;) {
        size_t Found = S.find(Separator, Start);
        if (Found == std::string_view::npos) {
            List.emplace_back(S.substr(Start));
            return;
        }
        List.emplace_back(S.substr(Start, Found - Start));
        Start = Found + Separator.size();
    }
}

std::string UpperCase(std::string S) {
    for (char& C : S)
        C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
    return S;
}

std::string ReplaceAll(std::string_view S, std::string_view Old, std::string_view New) {
    std::vector<std::string> Pieces;
    SplitToList(S, Old, Pieces);
    if (Pieces.size() < 2)
        return std::string(S);
    size_t Total = New.size() * (Pieces.size() - 1);
    for (const auto& Piece : Pieces)
        Total += Piece.size();
    std::string Result;
    Result.reserve(Total);
    for (size_t i = 0; i < Pieces.size(); ++i) {
        if (i > 0)
            Result += New;
        Result += Pieces[i];
    }
    return Result;
}

std::string_view GetDelimitedView(long long& P, std::string_view S, char OpenCh, char CloseCh) {
    // When OpenCh is missing the token is empty and P ends at Length + 2; when CloseCh is
    // missing the token runs to the end of S but leaves out its last character and P ends at
    // Length + 1. Callers walking a line field by field rely on both.
    const long long L = Len(S);
    if (P >= L) {
        // Nothing to search: the token is empty and P moves two on, stopping at the largest
        // position rather than overflowing.
        P = P > LLONG_MAX - 2 ? LLONG_MAX : P + 2;
        return {};
    }
    // Jump to the next OpenCh before the last character (a position before 1 holds none).
    const long long From = std::max<long long>(P, 1);
    const size_t Open =
        S.substr(0, static_cast<size_t>(L - 1)).find(OpenCh, static_cast<size_t>(From - 1));
    P = Open == std::string_view::npos ? L : static_cast<long long>(Open) + 1;
    ++P;
    std::string_view Token;
    if (P < L && P >= 1) {
        size_t Begin = static_cast<size_t>(P - 1);
        size_t Found = S.substr(0, static_cast<size_t>(L - 1)).find(CloseCh, Begin);
        size_t End = Found == std::string_view::npos ? static_cast<size_t>(L - 1) : Found;
        Token = S.substr(Begin, End - Begin);
        P = static_cast<long long>(End) + 1;
    }
    ++P;
    if (P > L + 1)
        Token = {};
    return Token;
}

std::string GetDelimited(long long& P, std::string_view S, char OpenCh, char CloseCh) {
    return std::string(GetDelimitedView(P, S, OpenCh, CloseCh));
}

bool IsWholeWord(std::string_view S, std::string_view Word) {
    long long P = PosFrom(Word, S, 0);
    if (P == 0)
        return false;
    if (P > 1 && !IsChar(S, P - 1, ' '))
        return false;
    // Collecting from P, the text equals Word at a blank or at the end of S exactly when Word
    // ends there.
    long long After = P + Len(Word);
    return After == Len(S) + 1 || IsChar(S, After, ' ');
}

std::string ZeroPad(long long Value, int Width) {
    std::string Padded = std::string(20, '0') + std::to_string(Value);
    if (Width <= 0)
        return {};
    if (static_cast<size_t>(Width) >= Padded.size())
        return Padded;
    return Padded.substr(Padded.size() - static_cast<size_t>(Width));
}

} // namespace kav
