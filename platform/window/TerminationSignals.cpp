#include "platform/window/TerminationSignals.h"

#include <atomic>
#include <csignal>
#include <iterator>

namespace platform::window {

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM};

std::atomic<int> g_pending{0};
int g_watchers = 0;
struct sigaction g_replaced[std::size(kSignals)];

void Note(int) { g_pending.store(1); }

}  // namespace

void WatchTerminationSignals() {
    struct sigaction action {};
    action.sa_handler = &Note;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    // Installed again by each watch: a signal taken has put the default action back.
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        struct sigaction replaced {};
        sigaction(kSignals[i], &action, &replaced);
        if (g_watchers == 0)
            g_replaced[i] = replaced;
    }
    ++g_watchers;
}

void StopWatchingTerminationSignals() {
    if (g_watchers == 0 || --g_watchers > 0)
        return;
    for (size_t i = 0; i < std::size(kSignals); ++i)
        sigaction(kSignals[i], &g_replaced[i], nullptr);
}

bool TakeTerminationRequest() { return g_pending.exchange(0) != 0; }

}  // namespace platform::window
