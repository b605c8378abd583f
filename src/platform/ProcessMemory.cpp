#include "platform/ProcessMemory.h"

#include "platform/ProcessState.h"
#include <cstdlib> // defines __GLIBC__ on glibc systems
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

#if defined(__GLIBC__)
namespace {
// glibc's documented defaults. Once set, glibc no longer adjusts the mmap threshold by itself.
constexpr int DefaultTrimThreshold = 128 * 1024;
constexpr int DefaultMmapThreshold = 128 * 1024;
constexpr int KeptMmapThreshold = 4 * 1024 * 1024 * int(sizeof(long)); // the largest glibc accepts
constexpr int KeptTrimThreshold = 1024 * 1024 * 1024;
int gDepth = 0; // a job inside a job keeps the outer one's settings

void GiveBack() {
    mallopt(M_MMAP_THRESHOLD, DefaultMmapThreshold);
    mallopt(M_TRIM_THRESHOLD, DefaultTrimThreshold);
    malloc_trim(0);
}
} // namespace

KeepFreedMemory::KeepFreedMemory() {
    if (gDepth++ > 0)
        return;
    mallopt(M_TRIM_THRESHOLD, KeptTrimThreshold);
    mallopt(M_MMAP_THRESHOLD, KeptMmapThreshold);
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
