#pragma once
// Asks for memory to be brought into the cache ahead of its use, where the
// compiler can; a loop over places far apart would otherwise wait for each.

namespace logweave {

inline void prefetch(const void* address) noexcept
{
#if defined(__GNUC__)
    __builtin_prefetch(address);
#else
    (void)address;
#endif
}

// As above, for memory about to be written over.
inline void prefetchForWriting(void* address) noexcept
{
#if defined(__GNUC__)
    __builtin_prefetch(address, 1);
#else
    (void)address;
#endif
}

}  // namespace logweave
