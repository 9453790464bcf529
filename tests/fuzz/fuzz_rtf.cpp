// The RTF reader on any bytes, with the code pages of the plain-text fallback and limits taken
// from the input: it must end, keep to its limits, and never produce more characters than it
// was given bytes (every character it shows comes from at least one byte).

#include "FuzzCheck.h"
#include "exchange/RtfReader.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace kav;
using kav::fuzz::TExactBuffer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Bytes, size_t Size) {
    FuzzedDataProvider Data(Bytes, Size);
    // The trailing bytes choose the settings, so a seed document keeps its opening.
    const int CodePage = Data.PickValueInArray({1252, 1251, 1250, 1253, 932, 936, 949, 950});
    // Half the inputs are read as the import reads them: replacements for what the page lacks.
    const int KeepCodePage = Data.ConsumeBool() ? CodePage : 0;
    TRtfLimits Limits;
    if (Data.ConsumeIntegralInRange(0, 3) == 0) {
        Limits.MaxDepth = Data.ConsumeIntegralInRange(1, 8);
        Limits.MaxLines = Data.ConsumeIntegralInRange<size_t>(0, 8);
    }
    const TExactBuffer Text(Data.ConsumeRemainingBytesAsString());
    const TRtfText Result = ReadRtf(Text.View(), CodePage, Limits, KeepCodePage);
    KAV_FUZZ_CHECK(Result.Lines.size() <= Limits.MaxLines);
    size_t Characters = 0;
    for (const QString& Line : Result.Lines)
        Characters += static_cast<size_t>(Line.size());
    KAV_FUZZ_CHECK(Characters <= Text.View().size());
    return 0;
}
