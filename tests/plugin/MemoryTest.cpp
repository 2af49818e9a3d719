// The plug-in takes no heap memory of its own: with the host's callbacks
// wrapped so that the host's own allocations are not counted, a call that
// makes no Win32 call allocates nothing.
#include "PluginFixture.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> gCounting{false};
std::atomic<int> gAllocations{0};
}  // namespace

void *operator new(std::size_t size)
{
    if (gCounting)
        ++gAllocations;
    void *p = std::malloc(size ? size : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}
void operator delete(void *p) noexcept
{
    std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
    std::free(p);
}

using namespace loomvane_test;

namespace {

FMSetHandleSizeProc gHostSetHandleSize;

// The host's resize allocates; that is the host's memory, not the plug-in's.
void FMX_CALLBACK UncountedSetHandleSize(HostHandle handle, int32_t size)
{
    gCounting = false;
    gHostSetHandleSize(handle, size);
    gCounting = true;
}

TEST_F(PluginTest, CallsWithoutPlatformWorkAllocateNothing)
{
    Start();
    gHostSetHandleSize = host->Block().cSetHandleSize;
    host->Block().cSetHandleSize = UncountedSetHandleSize;
    HostHandle parameter = host->Memory().New("Orders|R|-20|15|abc");
    HostHandle result = host->Memory().New("");
    gFMExternCallPtr = &host->Block();

    gAllocations = 0;
    gCounting = true;
    DoVersion(parameter, result);
    char field[64];
    uint32_t length = 0;
    for (int16_t n = 0; n <= 6; ++n)
        GetParameterField(parameter, n, 58, field, &length);
    int32_t value = ParseCoordinate('0', '0', '-', '2', '0');
    char digits[12];
    uint8_t count = 0;
    FormatDecimal(4294967295u, digits, &count);
    SetResultText(result, digits, count);
    gCounting = false;

    EXPECT_EQ(gAllocations.load(), 0);
    EXPECT_EQ(value, -20);
    EXPECT_EQ(host->Memory().Bytes(result), "4294967295");
    host->Block().cSetHandleSize = gHostSetHandleSize;
}

TEST(CountingAllocatorTest, CountsWhenOn)
{
    gAllocations = 0;
    gCounting = true;
    auto *p = new int(5);
    gCounting = false;
    delete p;
    EXPECT_EQ(gAllocations.load(), 1) << "the counter itself must see allocations";
}

}  // namespace
