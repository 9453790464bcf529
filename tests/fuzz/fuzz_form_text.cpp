// The grid's settings in form-resource text: any bytes either read or give an error naming a
// line and column inside the text. What reads must be written and read back to the same text,
// and loading it into a grid must either succeed or leave the grid as it was; a loaded grid
// of modest size must save and load back to the same settings.

#include "FuzzCheck.h"
#include "grid/FormText.h"
#include "grid/GridPersistence.h"

#include <algorithm>
#include <string>

using namespace kav;
using kav::fuzz::TExactBuffer;

namespace {

// Line and column of an error lie within the text or just after it.
void CheckErrorPlace(std::string_view Text, int Line, int Column) {
    const long long Lines = std::count(Text.begin(), Text.end(), '\n') + 1;
    KAV_FUZZ_CHECK(Line >= 1 && Line <= Lines);
    KAV_FUZZ_CHECK(Column >= 1 && static_cast<size_t>(Column) <= Text.size() + 1);
}

void CheckFormRoundTrip(std::string_view Text) {
    std::vector<TFormProperty> Properties;
    try {
        Properties = ReadFormText(Text);
    } catch (const TFormError& Error) {
        CheckErrorPlace(Text, Error.Line(), Error.Column());
        return;
    }
    const std::string Written = WriteFormText(Properties);
    std::vector<TFormProperty> Again;
    try {
        Again = ReadFormText(Written);
    } catch (const TFormError& Error) {
        std::fprintf(stderr, "written text does not read: %s\n%s\n", Error.what(), Written.c_str());
        KAV_FUZZ_CHECK(!"written text reads back");
    }
    KAV_FUZZ_CHECK(Again.size() == Properties.size());
    KAV_FUZZ_CHECK(WriteFormText(Again) == Written);
}

void CheckGridLoad(std::string_view Text) {
    TStyledGridModel Grid;
    const std::string Before = SaveGridSettings(Grid);
    const TGridLoadResult Result = LoadGridSettings(Grid, Text);
    if (!Result.Ok) {
        KAV_FUZZ_CHECK(!Result.Message.empty());
        KAV_FUZZ_CHECK(SaveGridSettings(Grid) == Before);
        return;
    }
    // Saving walks every cell; a grid of 65536 x 65536 cells is legal but too slow to check.
    if (static_cast<long long>(Grid.ColCount()) * Grid.RowCount() > 100000)
        return;
    std::string Saved;
    try {
        Saved = SaveGridSettings(Grid);
    } catch (const std::range_error&) {
        return; // a record index beyond what the format holds is refused, as documented
    }
    TStyledGridModel Back;
    const TGridLoadResult Reload = LoadGridSettings(Back, Saved);
    if (!Reload.Ok)
        std::fprintf(stderr, "saved settings do not load: %s\n%s\n", Reload.Message.c_str(),
                     Saved.c_str());
    KAV_FUZZ_CHECK(Reload.Ok);
    const std::string Again = SaveGridSettings(Back);
    if (Again != Saved)
        std::fprintf(stderr, "saved:\n%s\nsaved after loading that:\n%s\n", Saved.c_str(),
                     Again.c_str());
    KAV_FUZZ_CHECK(Again == Saved);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Bytes, size_t Size) {
    const TExactBuffer Text(std::string_view(reinterpret_cast<const char*>(Bytes), Size));
    CheckFormRoundTrip(Text.View());
    CheckGridLoad(Text.View());
    return 0;
}
