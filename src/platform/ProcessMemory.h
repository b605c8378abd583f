// Keeps the memory that a long drawing job frees inside the process for the job's own next use, and
// gives it back to the system when the job ends.
#pragma once

namespace platform {

// While an object lives, the allocator neither trims freed memory nor maps blocks of up to 32 MiB on
// their own: a printer's PDF engine takes and frees a 16 MiB buffer and a deflate state for every
// page, and giving them back each time costs page faults on every sheet. When the outermost object
// goes, the allocator's default thresholds are set again and free memory is returned to the system.
// Does nothing where the C library has no such settings.
class KeepFreedMemory {
public:
    KeepFreedMemory();
    ~KeepFreedMemory();
    KeepFreedMemory(const KeepFreedMemory&) = delete;
    KeepFreedMemory& operator=(const KeepFreedMemory&) = delete;
};

} // namespace platform
