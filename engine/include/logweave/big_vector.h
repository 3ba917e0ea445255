#pragma once
// Arrays of a log's size: hundreds of megabytes written once into fresh
// memory. In 4 KiB pages that costs a page fault each, which on this kind of
// machine took a quarter of the time of opening a log of a million records;
// in 2 MiB pages opening took 0.75 times as long, and giving its arrays of
// record lines, sort keys and records such pages too took 0.84 times that.

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

namespace logweave {

// Memory for `bytes`, aligned on a huge page from one huge page on, and in
// huge pages where the system grants them on request. freeHuge takes the
// same size back.
void* allocateHuge(std::size_t bytes);
void freeHuge(void* data, std::size_t bytes) noexcept;

// Elements are left unset where no value is given: the arrays are written
// whole before they are read, and clearing them first costs a pass.
template <class T>
struct HugePageAllocator {
    using value_type = T;

    HugePageAllocator() = default;
    template <class U>
    HugePageAllocator(const HugePageAllocator<U>&) noexcept {}

    T* allocate(std::size_t n) { return static_cast<T*>(allocateHuge(n * sizeof(T))); }
    void deallocate(T* data, std::size_t n) noexcept { freeHuge(data, n * sizeof(T)); }

    template <class U>
    void construct(U* at) noexcept(noexcept(U()))
    {
        ::new (static_cast<void*>(at)) U;
    }
    template <class U, class... Args>
    void construct(U* at, Args&&... args)
    {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }

    template <class U>
    bool operator==(const HugePageAllocator<U>&) const noexcept
    {
        return true;
    }
};

template <class T>
using BigVector = std::vector<T, HugePageAllocator<T>>;

}  // namespace logweave
