#include "platform/ProcessMemory.h"

#include "platform/ProcessState.h"
#include <cstdlib> // defines __GLIBC__ on glibc systems
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <vector>

namespace platform {

#if defined(__GLIBC__)
namespace {
// Room for what a job takes and frees again and again: two 16 MiB buffers and the rest of a page.
constexpr std::size_t ReservedBytes = 40 * 1024 * 1024;
// Small enough to come from the heap under any mapping threshold glibc chooses, large enough for no
// cache of small blocks to hold on to it.
constexpr std::size_t BlockBytes = 64 * 1024;
int gDepth = 0; // a job inside a job keeps the outer one's room
void* gPin = nullptr;

void GiveBack() {
    std::free(gPin);
    gPin = nullptr;
    malloc_trim(0);
}
} // namespace

// The room is heap space below one block that stays taken for the job. Freed buffers then lie below
// the top of the heap, where glibc does not give them back to the system after every page, and no
// setting of the allocator is changed (glibc stops adjusting its thresholds once one is set).
KeepFreedMemory::KeepFreedMemory() {
    if (gDepth++ > 0)
        return;
    std::vector<void*> blocks;
    blocks.reserve(ReservedBytes / BlockBytes);
    for (std::size_t i = 0; i < ReservedBytes / BlockBytes; ++i)
        if (void* p = std::malloc(BlockBytes))
            blocks.push_back(p);
    if (blocks.empty())
        return;
    gPin = blocks.back(); // the last one taken lies highest
    blocks.pop_back();
    for (void* p : blocks)
        std::free(p);
}

KeepFreedMemory::~KeepFreedMemory() {
    // After a reset an object still alive has nothing left to end.
    if (gDepth == 0 || --gDepth > 0)
        return;
    GiveBack();
}

void ResetKeptMemory() {
    if (gDepth == 0)
        return;
    gDepth = 0;
    GiveBack();
}
#else
KeepFreedMemory::KeepFreedMemory() = default;
KeepFreedMemory::~KeepFreedMemory() = default;
void ResetKeptMemory() {}
#endif

} // namespace platform
