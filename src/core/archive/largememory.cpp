#include "largememory.h"

#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/mman.h>

#include <mutex>
#include <unordered_map>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace LargeMemory {

#ifdef Q_OS_LINUX
namespace {

constexpr size_t kHugePage = size_t(2) << 20;

// Large buffers are mapped from the system, not taken from the heap: once
// released they go back to it at once. From the heap they would not: after
// the first large block is freed the allocator takes later ones of that size
// from its own pool, where they stay resident and fragment it, so each
// search after the first peaked higher and left more behind.
struct Mappings
{
    std::mutex lock;
    std::unordered_map<void *, size_t> lengths;
};

Mappings &mappings()
{
    static Mappings *all = new Mappings; // outlives every static buffer
    return *all;
}

void *mapAligned(size_t rounded)
{
    // Mapped one huge page longer, then trimmed to start on a huge page.
    const size_t length = rounded + kHugePage;
    void *raw = ::mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t aligned = (start + kHugePage - 1) & ~(std::uintptr_t(kHugePage) - 1);
    if (aligned > start)
        ::munmap(raw, aligned - start);
    const std::uintptr_t end = start + length;
    if (end > aligned + rounded)
        ::munmap(reinterpret_cast<void *>(aligned + rounded), end - (aligned + rounded));
    return reinterpret_cast<void *>(aligned);
}

} // namespace
#endif

void *allocate(size_t bytes, bool huge)
{
#ifdef Q_OS_LINUX
    if (huge && bytes >= kHugePage / 4) {
        const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void *data = mapAligned(rounded);
        if (!data)
            throw std::bad_alloc();
        ::madvise(data, rounded, MADV_HUGEPAGE);
        Mappings &all = mappings();
        const std::lock_guard<std::mutex> guard(all.lock);
        all.lengths.emplace(data, rounded);
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
    if (!data)
        return;
#ifdef Q_OS_LINUX
    {
        Mappings &all = mappings();
        const std::lock_guard<std::mutex> guard(all.lock);
        const auto found = all.lengths.find(data);
        if (found != all.lengths.end()) {
            ::munmap(data, found->second);
            all.lengths.erase(found);
            return;
        }
    }
#endif
    std::free(data);
}

} // namespace LargeMemory
