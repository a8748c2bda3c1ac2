#pragma once

// The clock of the interleaved benchmarks: this thread's CPU time, the share of a core, which other
// load on the machine does not stretch; and the median of the timed batches.

#include <time.h>

#include <algorithm>
#include <vector>

namespace vg::bench {

inline double threadNanoseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e9 + static_cast<double>(t.tv_nsec);
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace vg::bench
