#pragma once

#include <cstddef>

// Memory for large buffers and arrays that are filled at once (a scan's read
// buffer, a search's lines). On Linux a buffer of half a megabyte and more
// comes in huge pages (2 MB) where the system lends them on request: it
// spares the page fault every 4 kB would otherwise cost, a large share of a
// scan's time on a virtual machine. A huge page is held whole once touched,
// so `huge` false keeps small pages for memory that may stay little used.
namespace LargeMemory {

void *allocate(size_t bytes, bool huge = true);
void release(void *data);

template<typename T>
struct Allocator
{
    using value_type = T;
    Allocator() = default;
    template<typename U>
    Allocator(const Allocator<U> &) {}
    T *allocate(size_t n) { return static_cast<T *>(LargeMemory::allocate(n * sizeof(T))); }
    void deallocate(T *data, size_t) { LargeMemory::release(data); }
    bool operator==(const Allocator &) const { return true; }
    bool operator!=(const Allocator &) const { return false; }
};

struct Release
{
    template<typename T>
    void operator()(T *data) const { LargeMemory::release(data); }
};

} // namespace LargeMemory
