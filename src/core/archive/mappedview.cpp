#include "mappedview.h"

#ifdef Q_OS_UNIX
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <mutex>

namespace {

// The views mapped at this moment, as the bus-error handler sees them. A slot
// is owned by one view; its range is published after the mapping is made and
// withdrawn before it is undone, so the handler never sees a stale range.
struct Slot
{
    std::atomic<bool> used{false};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> cut{false};
};

constexpr int kSlots = 64;
Slot g_slots[kSlots];
struct sigaction g_previous;
std::uintptr_t g_pageSize = 4096;

void onBusError(int signal, siginfo_t *info, void *context)
{
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Slot &slot : g_slots) {
        const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
        const std::uintptr_t end = slot.end.load(std::memory_order_acquire);
        if (begin == 0 || at < begin || at >= end)
            continue;
        // The file was cut under the view: zero pages from here to the end of
        // the view take the place of the pages that are gone, and the read
        // that faulted goes on.
        const std::uintptr_t page = at & ~(g_pageSize - 1);
        if (::mmap(reinterpret_cast<void *>(page), end - page, PROT_READ,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0)
            != MAP_FAILED) {
            slot.cut.store(true, std::memory_order_release);
            return;
        }
    }
    // Not a view: what would have happened without this handler.
    if ((g_previous.sa_flags & SA_SIGINFO) && g_previous.sa_sigaction) {
        g_previous.sa_sigaction(signal, info, context);
        return;
    }
    if (!(g_previous.sa_flags & SA_SIGINFO) && g_previous.sa_handler != SIG_DFL
        && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
        return;
    }
    // Back to the default action: the faulting read runs again and ends the
    // process as it would have.
    struct sigaction fallback{};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(SIGBUS, &fallback, nullptr);
}

bool installHandler()
{
    static bool installed = false;
    static std::once_flag once;
    std::call_once(once, [] {
        const long page = ::sysconf(_SC_PAGESIZE);
        if (page > 0)
            g_pageSize = std::uintptr_t(page);
        struct sigaction action{};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO;
        sigemptyset(&action.sa_mask);
        installed = ::sigaction(SIGBUS, &action, &g_previous) == 0;
    });
    return installed;
}

int takeSlot()
{
    for (int i = 0; i < kSlots; ++i) {
        bool expected = false;
        if (g_slots[i].used.compare_exchange_strong(expected, true))
            return i;
    }
    return -1;
}

} // namespace

MappedView::~MappedView()
{
    unmap();
}

bool MappedView::isAvailable()
{
    return true;
}

bool MappedView::map(int fd, qint64 offset, qint64 size)
{
    unmap();
    if (fd < 0 || offset < 0 || size <= 0 || !installHandler())
        return false;
    const int slot = takeSlot();
    if (slot < 0)
        return false;
    const qint64 page = qint64(g_pageSize);
    const qint64 start = offset - offset % page;
    const qint64 length = ((offset + size - start) + page - 1) / page * page;
    int flags = MAP_SHARED;
#ifdef MAP_POPULATE
    // One call fills the page tables: far cheaper than a fault per page.
    flags |= MAP_POPULATE;
#endif
    void *base = ::mmap(nullptr, size_t(length), PROT_READ, flags, fd, off_t(start));
    if (base == MAP_FAILED) {
        g_slots[slot].used.store(false);
        return false;
    }
    Slot &s = g_slots[slot];
    s.cut.store(false, std::memory_order_relaxed);
    s.begin.store(reinterpret_cast<std::uintptr_t>(base), std::memory_order_release);
    s.end.store(reinterpret_cast<std::uintptr_t>(base) + std::uintptr_t(length), std::memory_order_release);
    m_slot = slot;
    m_base = static_cast<char *>(base);
    m_length = length;
    m_data = m_base + (offset - start);
    m_size = size;
    return true;
}

void MappedView::unmap()
{
    if (!m_base)
        return;
    Slot &s = g_slots[m_slot];
    s.end.store(0, std::memory_order_release);
    s.begin.store(0, std::memory_order_release);
    ::munmap(m_base, size_t(m_length));
    s.cut.store(false, std::memory_order_relaxed);
    s.used.store(false, std::memory_order_release);
    m_slot = -1;
    m_base = nullptr;
    m_length = 0;
    m_data = nullptr;
    m_size = 0;
}

bool MappedView::wasCut() const
{
    return m_slot >= 0 && g_slots[m_slot].cut.load(std::memory_order_acquire);
}

#else

MappedView::~MappedView() = default;

bool MappedView::isAvailable()
{
    return false;
}

bool MappedView::map(int, qint64, qint64)
{
    return false;
}

void MappedView::unmap()
{
}

bool MappedView::wasCut() const
{
    return false;
}

#endif
