#pragma once
// Wall-clock budgets in tests. Scheduling noise only ever adds time, so a budget is checked
// against the best of several runs; sanitizer builds run several times slower, so budgets
// scale there (TALLYVOX_TIMING_SCALE overrides the factor).
#include <algorithm>
#include <chrono>
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

template <typename F>
double ElapsedMs(F&& f) {
    auto start = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

template <typename F>
double BestOfMs(int runs, F&& f) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, ElapsedMs(f));
    return best;
}
