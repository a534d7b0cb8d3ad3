#pragma once

// Small helpers the benchmarks share: the process's CPU time and the median of a series.

#include <algorithm>
#include <sys/resource.h>
#include <vector>

namespace BenchFigures {

// User and system CPU seconds of this process so far.
inline double CpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline double Median(std::vector<double> i_values) {
    std::sort(i_values.begin(), i_values.end());
    const size_t n = i_values.size();
    return n % 2 ? i_values[n / 2] : (i_values[n / 2 - 1] + i_values[n / 2]) / 2;
}

} // namespace BenchFigures
