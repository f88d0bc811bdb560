#pragma once
// Time budgets in tests. Time is measured as the calling thread's CPU time, so a busy
// machine that preempts the test does not count against it; BestOfMs also takes the best of
// several runs. Sanitizer builds run several times slower, so budgets scale there
// (TALLYVOX_TIMING_SCALE overrides the factor).
// A test with a budget ends its name in "Quickly": CTest runs those alone.
#include <time.h>

#include <algorithm>
#include <cstdlib>

inline double TimingScale() {
    if (const char* s = std::getenv("TALLYVOX_TIMING_SCALE")) {
        double v = std::atof(s);
        if (v > 0)
            return v;
    }
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_UNDEFINED__)
    return 10.0;
#else
    return 1.0;
#endif
}

inline double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

template <typename F>
double ElapsedMs(F&& f) {
    double start = ThreadCpuMs();
    f();
    return ThreadCpuMs() - start;
}

template <typename F>
double BestOfMs(int runs, F&& f) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, ElapsedMs(f));
    return best;
}
