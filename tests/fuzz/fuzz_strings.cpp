// The position-taking string routines with positions from the input: before the text, on it,
// past its end and at the ends of the 64-bit range. They must never read outside the text and
// must keep what their comments promise.

#include "FuzzCheck.h"
#include "text/StringUtils.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <string>

using namespace kav;
using kav::fuzz::TExactBuffer;

namespace {

long long Position(FuzzedDataProvider& Data, std::string_view S) {
    const long long Len = static_cast<long long>(S.size());
    switch (Data.ConsumeIntegralInRange(0, 3)) {
    case 0:
        return Data.ConsumeIntegralInRange<long long>(-3, Len + 3);
    case 1:
        return Data.ConsumeIntegral<long long>();
    case 2:
        return Data.PickValueInArray({LLONG_MIN, LLONG_MIN + 1, LLONG_MAX, LLONG_MAX - 1});
    default:
        return Data.PickValueInArray({0LL, 1LL, Len, Len + 1, Len + 2});
    }
}

// Non-overlapping occurrences, counted from the left.
size_t CountOf(std::string_view S, std::string_view Sub) {
    size_t Count = 0;
    for (size_t At = S.find(Sub); At != std::string_view::npos; At = S.find(Sub, At + Sub.size()))
        ++Count;
    return Count;
}

void CheckGetDelimited(FuzzedDataProvider& Data, std::string_view S) {
    const char Open = Data.ConsumeIntegral<char>();
    const char Close = Data.ConsumeIntegral<char>();
    long long P = Position(Data, S);
    const long long Before = P;
    const std::string Token = GetDelimited(P, S, Open, Close);
    KAV_FUZZ_CHECK(Before > LLONG_MAX - 2 || P >= Before + 2);
    if (Token.empty())
        return;
    // The token ends just before P - 1 and lies inside the text.
    const long long Start = P - 1 - static_cast<long long>(Token.size());
    KAV_FUZZ_CHECK(Start >= 2 && P - 2 <= static_cast<long long>(S.size()));
    KAV_FUZZ_CHECK(S[static_cast<size_t>(Start - 2)] == Open);
    KAV_FUZZ_CHECK(S.substr(static_cast<size_t>(Start - 1), Token.size()) == Token);
}

void CheckPosFrom(FuzzedDataProvider& Data, std::string_view S, std::string_view Sub) {
    const long long Offset = Position(Data, S);
    const long long Found = PosFrom(Sub, S, Offset);
    if (Found == 0)
        return;
    KAV_FUZZ_CHECK(!Sub.empty() && Found >= 1 && Found > Offset);
    KAV_FUZZ_CHECK(MatchAt(Sub, S, Found));
    // No earlier match from the starting position on.
    const long long From = Offset < 0 ? 1 : Offset + 1;
    KAV_FUZZ_CHECK(S.find(Sub, static_cast<size_t>(From - 1)) == static_cast<size_t>(Found - 1));
}

void CheckReplaceAll(std::string_view S, std::string_view Old, std::string_view New) {
    const std::string Result = ReplaceAll(S, Old, New);
    if (Old.empty() || Old == New) {
        KAV_FUZZ_CHECK(Result == S);
        return;
    }
    const size_t Count = CountOf(S, Old);
    KAV_FUZZ_CHECK(Result.size() + Count * Old.size() == S.size() + Count * New.size());
    // A one-character pattern cannot be recreated by joining pieces.
    if (Old.size() == 1 && New.find(Old) == std::string_view::npos)
        KAV_FUZZ_CHECK(Result.find(Old) == std::string::npos);
}

void CheckWholeWord(std::string_view S, std::string_view Word) {
    if (!IsWholeWord(S, Word))
        return;
    const size_t At = S.find(Word);
    KAV_FUZZ_CHECK(!Word.empty() && At != std::string_view::npos);
    KAV_FUZZ_CHECK(At == 0 || S[At - 1] == ' ');
    const size_t After = At + Word.size();
    KAV_FUZZ_CHECK(After == S.size() || S[After] == ' ');
}

void CheckRanges(FuzzedDataProvider& Data, std::string_view S, std::string_view Sub) {
    const long long First = Position(Data, S);
    const long long Last = Position(Data, S);
    const std::string Range = CopyRange(S, First, Last);
    KAV_FUZZ_CHECK(Range.empty() || S.find(Range) != std::string_view::npos);
    const std::string Rest = CopyFrom(S, First);
    KAV_FUZZ_CHECK(Rest.size() <= S.size() && S.ends_with(Rest));
    if (MatchAt(Sub, S, First))
        KAV_FUZZ_CHECK(CopyRange(S, First, First + static_cast<long long>(Sub.size()) - 1) == Sub);
    (void)CharsInSet(MakeCharSet(Sub), S, First, Last);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Bytes, size_t Size) {
    FuzzedDataProvider Data(Bytes, Size);
    const TExactBuffer Sub(Data.ConsumeRandomLengthString(16));
    const TExactBuffer New(Data.ConsumeRandomLengthString(16));
    const int Round = Data.ConsumeIntegralInRange(1, 4);
    const TExactBuffer S(Data.ConsumeRandomLengthString(Size));
    for (int I = 0; I < Round; ++I) {
        CheckGetDelimited(Data, S.View());
        CheckPosFrom(Data, S.View(), Sub.View());
        CheckRanges(Data, S.View(), Sub.View());
    }
    CheckReplaceAll(S.View(), Sub.View(), New.View());
    CheckWholeWord(S.View(), Sub.View());
    for (const std::string& Piece : SplitString(S.View(), Sub.View()))
        KAV_FUZZ_CHECK(Piece.size() <= S.View().size());
    return 0;
}
