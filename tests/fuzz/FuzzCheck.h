#pragma once
// What the fuzz targets share: a broken promise aborts, so that libFuzzer keeps the input as a
// crash; texts are copied into buffers of exactly their size, so that AddressSanitizer sees a
// read one byte past the end.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace kav::fuzz {

[[noreturn]] inline void Broken(const char* What, const char* File, int Line) {
    std::fprintf(stderr, "%s:%d: promise broken: %s\n", File, Line, What);
    std::abort();
}

#define KAV_FUZZ_CHECK(Cond)                                                                       \
    do {                                                                                           \
        if (!(Cond))                                                                               \
            ::kav::fuzz::Broken(#Cond, __FILE__, __LINE__);                                        \
    } while (0)

// A heap copy of Text with no spare byte after it (an empty text still gets its own block).
class TExactBuffer {
public:
    explicit TExactBuffer(std::string_view Text)
        : FSize(Text.size()), FData(std::make_unique<char[]>(Text.size())) {
        if (!Text.empty())
            std::memcpy(FData.get(), Text.data(), Text.size());
    }
    std::string_view View() const { return {FData.get(), FSize}; }

private:
    size_t FSize;
    std::unique_ptr<char[]> FData;
};

} // namespace kav::fuzz
