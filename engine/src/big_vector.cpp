#include "logweave/big_vector.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace logweave {

#if defined(__linux__) && defined(MADV_HUGEPAGE)

namespace {

constexpr std::size_t kHugePage = std::size_t{1} << 21;

}  // namespace

// Mapped apart from the heap, whose later small allocations would otherwise
// land in huge pages freed there and hold each whole: that raised the peak of
// a merge of two logs of a million records by 21 MiB.
void* allocateHuge(std::size_t bytes)
{
    if (bytes < kHugePage)
        return ::operator new(bytes);
    const std::size_t mapped = bytes + kHugePage;
    void* const map = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(map);
    const auto aligned = (start + kHugePage - 1) & ~std::uintptr_t{kHugePage - 1};
    if (aligned != start)
        munmap(map, aligned - start);
    if (const std::size_t after = start + mapped - (aligned + bytes); after != 0)
        munmap(reinterpret_cast<void*>(aligned + bytes), after);
    void* const data = reinterpret_cast<void*>(aligned);
    madvise(data, bytes & ~(kHugePage - 1), MADV_HUGEPAGE);
    return data;
}

void freeHuge(void* data, std::size_t bytes) noexcept
{
    if (bytes < kHugePage)
        ::operator delete(data);
    else
        munmap(data, bytes);
}

#else

void* allocateHuge(std::size_t bytes)
{
    return ::operator new(bytes);
}

void freeHuge(void* data, std::size_t) noexcept
{
    ::operator delete(data);
}

#endif

}  // namespace logweave
