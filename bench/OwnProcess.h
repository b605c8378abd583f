// What the benchmarks share about their own process (Linux): its resident memory and the peak of it,
// and measuring in a process of its own, the program started again, so that no measurement finds the
// allocator as an earlier one left it.
#pragma once

#include <QByteArray>
#include <QStringList>

namespace bench {

// A figure of the process's status in KiB: "VmHWM:" the peak of resident memory, "VmRSS:" the resident
// memory now; -1 when there is none.
long StatusKiB(const char* field);
// The peak is counted afresh from now on.
void ResetPeak();
// Starts this program again as "program --measure args..." and waits for it to end. Its error output
// passes through, and its standard output too unless output takes it. False when it did not end
// normally with 0.
bool MeasureInFreshProcess(const QStringList& args, QByteArray* output = nullptr);

} // namespace bench
