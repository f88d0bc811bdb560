#include "platform/core/AlertableSleep.h"

#include <atomic>

#include "platform/core/Clock.h"

namespace platform {

namespace {
std::atomic<AlertableHook> g_hook{nullptr};
}

void SetAlertableHook(AlertableHook hook) {
    g_hook.store(hook);
}

void AlertableSleep(uint32_t ms) {
    if (AlertableHook hook = g_hook.load())
        hook();
    SleepMs(ms);
}

}  // namespace platform
