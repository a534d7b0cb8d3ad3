#pragma once

// The median of a series, as the benchmarks report it. The CPU time comes from pty/CpuTime.h.

#include <algorithm>
#include <vector>

namespace BenchFigures {

inline double Median(std::vector<double> i_values) {
    std::sort(i_values.begin(), i_values.end());
    const size_t n = i_values.size();
    return n % 2 ? i_values[n / 2] : (i_values[n / 2 - 1] + i_values[n / 2]) / 2;
}

} // namespace BenchFigures
