#pragma once

#include <cstddef>
#include <vector>

namespace qel::os {

// Memory for the largest blocks the program holds (a table file's bytes, a table's or a
// chart's values) is asked for in huge pages where the system offers them: a block of a
// hundred megabytes is then faulted in a few dozen times instead of tens of thousands, and its
// pages stay in the processor's page cache while the block is read. Nothing changes where the
// system does not offer them.
class LargeMemory
{
public:
    // Blocks smaller than this are left alone.
    static constexpr std::size_t HugePage = 2 * 1024 * 1024;

    // Advises huge pages for the whole huge pages inside [data, data + bytes), which nothing
    // has touched yet. With populate they are faulted in at once, before a system call such
    // as read() fills them a page at a time.
    static void preferHugePages(void *data, std::size_t bytes, bool populate = false);

    // v holds count copies of value, in memory of its own taken in huge pages.
    template <typename T> static void assign(std::vector<T> &v, std::size_t count, const T &value)
    {
        if (count * sizeof(T) < HugePage) {
            v.assign(count, value);
            return;
        }
        std::vector<T> fresh;
        fresh.reserve(count);
        preferHugePages(fresh.data(), count * sizeof(T));
        fresh.assign(count, value);
        v.swap(fresh);
    }
};

} // namespace qel::os
