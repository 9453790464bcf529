#pragma once
// Memory for the few large arrays of a loaded table (the cells' ids, their texts, a file's
// bytes), taken from the system in huge pages where it offers them: filling a table of
// 100 000 items touches some 60 MB at once, and faulting that in 4 KB pages costs as much as
// reading and parsing both files. Smaller blocks come from the usual heap.

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

namespace kav {

// Blocks of at least this size are large: mapped on their own, in huge pages when the system
// has them.
inline constexpr size_t LargeBlockBytes = size_t(2) << 20;

// Bytes >= LargeBlockBytes; throws std::bad_alloc when the system refuses.
void* AllocateLarge(size_t Bytes);
void FreeLarge(void* Block, size_t Bytes);

// An allocator for containers that grow large. Zeroed = false leaves elements made without a
// value uninitialised (a buffer that a read fills at once need not be cleared first).
template <class T, bool Zeroed = true> class TLargeAllocator {
public:
    using value_type = T;
    template <class U> struct rebind { using other = TLargeAllocator<U, Zeroed>; };

    TLargeAllocator() = default;
    template <class U> TLargeAllocator(const TLargeAllocator<U, Zeroed>&) noexcept {}

    T* allocate(size_t Count) {
        const size_t Bytes = Count * sizeof(T);
        if (Bytes >= LargeBlockBytes)
            return static_cast<T*>(AllocateLarge(Bytes));
        return std::allocator<T>().allocate(Count);
    }
    void deallocate(T* Block, size_t Count) noexcept {
        const size_t Bytes = Count * sizeof(T);
        if (Bytes >= LargeBlockBytes)
            FreeLarge(Block, Bytes);
        else
            std::allocator<T>().deallocate(Block, Count);
    }
    template <class U, class... TArgs> void construct(U* At, TArgs&&... Args) {
        if constexpr (!Zeroed && sizeof...(TArgs) == 0)
            ::new (static_cast<void*>(At)) U;
        else
            ::new (static_cast<void*>(At)) U(std::forward<TArgs>(Args)...);
    }

    template <class U> bool operator==(const TLargeAllocator<U, Zeroed>&) const noexcept {
        return true;
    }
};

} // namespace kav
