#include "os/LargeMemory.h"

#include <cstdint>

#include <sys/mman.h>

namespace qel::os {

void LargeMemory::preferHugePages(void *data, std::size_t bytes, bool populate)
{
#ifdef MADV_HUGEPAGE
    if (!data || bytes < HugePage)
        return;
    const auto first = (reinterpret_cast<std::uintptr_t>(data) + HugePage - 1) & ~(HugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(HugePage - 1);
    if (end <= first)
        return;
    madvise(reinterpret_cast<void *>(first), end - first, MADV_HUGEPAGE);
#ifdef MADV_POPULATE_WRITE
    if (populate) // an older kernel refuses it, and the pages come as they are written
        madvise(reinterpret_cast<void *>(first), end - first, MADV_POPULATE_WRITE);
#else
    (void)populate;
#endif
#else
    (void)data;
    (void)bytes;
    (void)populate;
#endif
}

} // namespace qel::os
