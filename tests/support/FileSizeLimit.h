#pragma once
// Runs `action` with the process's file-size limit at `bytes`, so that writes past it fail as on a
// full disk (SIGXFSZ ignored meanwhile), then puts the limit and the signal back.
#include <signal.h>
#include <sys/resource.h>

template <typename Action>
auto WithFileSizeLimit(rlim_t bytes, Action action) {
    struct rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    const struct rlimit small = {bytes, saved.rlim_max};
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    auto result = action();
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    return result;
}
