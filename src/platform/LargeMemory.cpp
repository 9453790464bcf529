#include "platform/LargeMemory.h"

#include <sys/mman.h>

#include <cstdint>

namespace kav {

#if defined(__SANITIZE_ADDRESS__)
// The address sanitizer watches the heap's blocks only: there, large blocks come from the heap
// too, so that a read past the end of a table's array is still caught.
void* AllocateLarge(size_t Bytes) {
    return ::operator new(Bytes);
}

void FreeLarge(void* Block, size_t) {
    ::operator delete(Block);
}
#else
namespace {

size_t Rounded(size_t Bytes) {
    return (Bytes + LargeBlockBytes - 1) & ~(LargeBlockBytes - 1);
}

} // namespace

void* AllocateLarge(size_t Bytes) {
    const size_t Size = Rounded(Bytes);
    // Mapped one huge page longer, so that a start on a huge page boundary lies inside; what
    // lies before and after it goes back at once.
    void* Mapped = ::mmap(nullptr, Size + LargeBlockBytes, PROT_READ | PROT_WRITE,
                          MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (Mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto From = reinterpret_cast<std::uintptr_t>(Mapped);
    const std::uintptr_t Start = (From + LargeBlockBytes - 1) & ~(LargeBlockBytes - 1);
    if (const size_t Head = Start - From; Head > 0)
        ::munmap(Mapped, Head);
    if (const size_t Tail = LargeBlockBytes - (Start - From); Tail > 0)
        ::munmap(reinterpret_cast<void*>(Start + Size), Tail);
    void* Block = reinterpret_cast<void*>(Start);
    // Only advice: a system without huge pages gives the usual ones.
    ::madvise(Block, Size, MADV_HUGEPAGE);
    return Block;
}

void FreeLarge(void* Block, size_t Bytes) {
    ::munmap(Block, Rounded(Bytes));
}
#endif

} // namespace kav
