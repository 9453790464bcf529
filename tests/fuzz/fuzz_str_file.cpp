// STR files as the tool reads them: the bytes go into a file that StrLineReader reads (now and
// then behind a filler that puts them across its block boundary), the lines must equal what the
// in-memory splitter gives, every line goes through the item parser, and an item the format can
// hold must read back unchanged after FormatItemLine.

#include "FuzzCheck.h"
#include "document/StrFile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

using namespace kav;

namespace {

constexpr size_t ReaderBlock = 1 << 16;

// One in-memory file for the whole run, rewritten for every input.
class TMemoryFile {
public:
    TMemoryFile() : FFd(::memfd_create("kav_fuzz_str", 0)) {
        KAV_FUZZ_CHECK(FFd >= 0);
        FPath = "/proc/self/fd/" + std::to_string(FFd);
    }
    const std::string& Write(std::string_view Bytes) {
        KAV_FUZZ_CHECK(::ftruncate(FFd, 0) == 0);
        KAV_FUZZ_CHECK(::pwrite(FFd, Bytes.data(), Bytes.size(), 0) ==
                       static_cast<ssize_t>(Bytes.size()));
        return FPath;
    }

private:
    int FFd;
    std::string FPath;
};

// A character cut in two at the end of a field reads back differently, which the format
// cannot help; whole characters must survive.
bool EndsInLeadByte(std::string_view S, int CodePage) {
    bool Pending = false;
    for (size_t I = 0; I < S.size(); ++I) {
        Pending = IsLeadByte(CodePage, static_cast<unsigned char>(S[I])) && I + 1 == S.size();
        if (IsLeadByte(CodePage, static_cast<unsigned char>(S[I])))
            ++I;
    }
    return Pending;
}

std::vector<std::string> ReadWithReader(std::string_view Bytes, int CodePage) {
    static TMemoryFile File;
    StrLineReader Reader(CodePage);
    KAV_FUZZ_CHECK(Reader.Open(File.Write(Bytes)) == 0);
    std::vector<std::string> Lines;
    std::string Line;
    while (Reader.ReadLine(Line))
        Lines.push_back(Line);
    KAV_FUZZ_CHECK(Reader.Status() == 0);
    KAV_FUZZ_CHECK(Reader.LineNumber() == static_cast<long long>(Lines.size()));
    KAV_FUZZ_CHECK(Reader.Close() == 0);
    return Lines;
}

void CheckRoundTrip(const StrItemLine& Item, int CodePage) {
    StrWriteItem Write{Item.Name, Item.Text, NoColorMark};
    if (!ParseColorField(Item.Attributes[0], Write.Color) || Write.Name.empty() ||
        !UnwritableItems({Write}).empty())
        return;
    if (IsDoubleByteCodePage(CodePage) &&
        (EndsInLeadByte(Write.Name, CodePage) || EndsInLeadByte(Write.Text, CodePage)))
        return;
    const std::string Line = FormatItemLine(Write.Name, Write.Text, Write.Color);
    KAV_FUZZ_CHECK(IsItemLine(Line, CodePage));
    const StrItemLine Back = ParseItemLine(Line, TranslatedAttributeCount, CodePage);
    KAV_FUZZ_CHECK(Back.Name == Write.Name);
    KAV_FUZZ_CHECK(Back.Text == Write.Text);
    KAV_FUZZ_CHECK(Back.Attributes[0] == std::to_string(Write.Color));
}

void CheckLine(const std::string& Line, int CodePage) {
    const bool ItemLine = IsItemLine(Line, CodePage);
    const StrItemLine Default = ParseItemLine(Line, DefaultAttributeCount, CodePage);
    KAV_FUZZ_CHECK(Default.Attributes.size() == DefaultAttributeCount);
    const StrItemLine Translated = ParseItemLine(Line, TranslatedAttributeCount, CodePage);
    KAV_FUZZ_CHECK(Translated.Attributes.size() == TranslatedAttributeCount);
    // The fields are the same whatever follows them.
    KAV_FUZZ_CHECK(Default.Name == Translated.Name && Default.Text == Translated.Text &&
                   Default.Attributes[0] == Translated.Attributes[0]);
    for (const std::string* Field : {&Default.Name, &Default.Text, &Default.Attributes[3]})
        KAV_FUZZ_CHECK(Field->size() <= Line.size());
    if (!ItemLine) {
        KAV_FUZZ_CHECK(Default.Name.empty() && Default.Text.empty());
        return;
    }
    CheckRoundTrip(Translated, CodePage);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Bytes, size_t Size) {
    FuzzedDataProvider Data(Bytes, Size);
    const int CodePage = Data.PickValueInArray({1252, 1251, 1250, 932, 936, 949, 950});
    std::string Text;
    if (Data.ConsumeIntegralInRange(0, 7) == 0) {
        // A filler line that ends a few bytes before the reader's block boundary.
        const size_t Short = Data.ConsumeIntegralInRange<size_t>(0, 8);
        const char Fill = Data.ConsumeIntegral<char>();
        Text.assign(ReaderBlock - 1 - Short, Fill == '\n' || Fill == 26 ? 'x' : Fill);
        Text += '\n';
    }
    Text += Data.ConsumeRemainingBytesAsString();
    const std::vector<std::string> Lines = ReadWithReader(Text, CodePage);
    KAV_FUZZ_CHECK(Lines == SplitStrLines(Text, CodePage));
    for (const std::string& Line : Lines)
        CheckLine(Line, CodePage);
    return 0;
}
