#include "logweave/bytes.h"

#include "huge_pages.h"

#include <algorithm>
#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace logweave {

void preferHugePages([[maybe_unused]] void* data, [[maybe_unused]] std::size_t size) noexcept
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::uintptr_t huge = std::uintptr_t{1} << 21;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + huge - 1) & ~(huge - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(huge - 1);
    if (end > begin)
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

Bytes::Bytes(std::size_t size) : data_(std::make_unique_for_overwrite<char[]>(size)), size_(size)
{
    preferHugePages(data_.get(), size);
}

Bytes::Bytes(std::string_view text) : Bytes(text.size())
{
    std::copy(text.begin(), text.end(), data_.get());
}

void Bytes::shrink(std::size_t size) noexcept
{
    size_ = std::min(size, size_);
}

}  // namespace logweave
