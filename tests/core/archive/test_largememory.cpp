// Large buffers: aligned to huge pages, and given back to the system when
// released, so a session's second search does not stand on the first one's
// leftovers.
#include "archive/largememory.h"

#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <cstdint>
#include <cstring>

namespace {

// Under AddressSanitizer each byte of memory the program touched has an
// eighth of a byte of bookkeeping that stays resident after the memory is
// given back: not the buffer's, and not counted against it.
#if defined(__SANITIZE_ADDRESS__)
constexpr long kShadowKbPerMb = 1024 / 8;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr long kShadowKbPerMb = 1024 / 8;
#else
constexpr long kShadowKbPerMb = 0;
#endif
#else
constexpr long kShadowKbPerMb = 0;
#endif

// This process's resident memory in kB.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("VmRSS:\\s+(\\d+) kB")).match(QString::fromLatin1(status.readAll()));
    return m.hasMatch() ? m.captured(1).toLong() : -1;
}

} // namespace

class TestLargeMemory : public QObject
{
    Q_OBJECT
private slots:
    void releasedBuffersLeaveTheProcess_data();
    void releasedBuffersLeaveTheProcess();
    void smallAndLargeTogether();
};

void TestLargeMemory::releasedBuffersLeaveTheProcess_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::newRow("half a huge page") << qint64(1) * 1024 * 1024;
    QTest::newRow("odd size, 24 MB") << qint64(24 * 1024 * 1024 + 12345);
    QTest::newRow("64 MB") << qint64(64) * 1024 * 1024;
}

void TestLargeMemory::releasedBuffersLeaveTheProcess()
{
    QFETCH(qint64, bytes);
    if (residentKb() < 0)
        QSKIP("no /proc/self/status here");
    // Twice: the second buffer of a size must not stay behind either (a heap
    // keeps blocks of a size it has seen freed).
    for (int round = 0; round < 2; ++round) {
        const long before = residentKb();
        auto *data = static_cast<char *>(LargeMemory::allocate(size_t(bytes)));
        QVERIFY(data);
        QCOMPARE(reinterpret_cast<std::uintptr_t>(data) % (std::uintptr_t(2) << 20), std::uintptr_t(0));
        std::memset(data, 0x5A, size_t(bytes));
        QCOMPARE(data[bytes - 1], char(0x5A));
        const long held = residentKb();
        QVERIFY2(held - before >= bytes / 1024 * 9 / 10, qPrintable(QString::number(held - before)));
        LargeMemory::release(data);
        const long after = residentKb();
        QVERIFY2(after - before < 1024 + kShadowKbPerMb * (bytes >> 20),
                 qPrintable(QStringLiteral("%1 kB still held").arg(after - before)));
    }
}

// Small buffers come from the heap, large ones are mapped; either is
// released by the same call, in any order.
void TestLargeMemory::smallAndLargeTogether()
{
    void *small = LargeMemory::allocate(100);
    void *large = LargeMemory::allocate(3 << 20);
    void *notHuge = LargeMemory::allocate(3 << 20, false);
    std::memset(small, 1, 100);
    std::memset(large, 2, 3 << 20);
    std::memset(notHuge, 3, 3 << 20);
    LargeMemory::release(large);
    LargeMemory::release(small);
    LargeMemory::release(notHuge);
    LargeMemory::release(nullptr);
    {
        std::vector<int, LargeMemory::Allocator<int>> many(2'000'000, 7);
        QCOMPARE(many.back(), 7);
    }
}

QTEST_GUILESS_MAIN(TestLargeMemory)
#include "test_largememory.moc"
