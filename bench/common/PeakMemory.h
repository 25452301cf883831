#pragma once

#include <QByteArray>

// The process's resident memory, for the benchmarks' memory figures.

// Peak resident memory of the process so far, in KiB; -1 where unknown.
long peakMemoryKiB();

// A field of Linux's /proc/self/status in KiB ("VmRSS" now, "VmHWM" peak);
// -1 elsewhere.
long statusKiB(const QByteArray &field);

// Sets Linux's peak resident size back to the current size, so that a peak
// measured afterwards is not hidden by the work before. False elsewhere.
bool resetPeakMemory();
