// Keeps the memory that a long drawing job frees inside the process for the job's own next use, and
// gives it back to the system when the job ends.
#pragma once

namespace platform {

// A printer's PDF engine takes and frees two 16 MiB buffers for every page; glibc gives them back to the
// system each time and takes them anew, page faults and all. While an object lives, heap room for them
// is kept below a block taken for the job, where glibc neither trims nor maps it; when the outermost
// object goes, the block is freed and free memory is returned to the system. No setting of the
// allocator is changed (setting one would stop glibc adjusting its thresholds for the rest of the
// process). Does nothing where the C library is not glibc.
class KeepFreedMemory {
public:
    KeepFreedMemory();
    ~KeepFreedMemory();
    KeepFreedMemory(const KeepFreedMemory&) = delete;
    KeepFreedMemory& operator=(const KeepFreedMemory&) = delete;
};

} // namespace platform
