#pragma once

#include <sys/resource.h>

// The CPU time, user and system, that the calling process has used so far, in seconds. Tests
// and benchmarks take it around a wait to see that nothing keeps a core busy meanwhile.
inline double ProcessCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}
