#include "largememory.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/mman.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <new>

namespace LargeMemory {

void *allocate(size_t bytes, bool huge)
{
#ifdef Q_OS_LINUX
    constexpr size_t hugePage = size_t(2) << 20;
    if (huge && bytes >= hugePage / 4) {
        const size_t rounded = (bytes + hugePage - 1) / hugePage * hugePage;
        void *data = std::aligned_alloc(hugePage, rounded);
        if (!data)
            throw std::bad_alloc();
        ::madvise(data, rounded, MADV_HUGEPAGE);
        return data;
    }
#else
    Q_UNUSED(huge);
#endif
    void *data = std::malloc(std::max<size_t>(bytes, 1));
    if (!data)
        throw std::bad_alloc();
    return data;
}

void release(void *data)
{
    std::free(data);
}

} // namespace LargeMemory
