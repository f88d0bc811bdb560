#pragma once
// The end-of-tick sleep in which work queued for the calling thread is delivered (the
// completion routines of finished overlapped reads). The file service installs the hook;
// without one, AlertableSleep only sleeps.
#include <cstdint>

namespace platform {

// Runs the calling thread's pending completions; installed once at start-up.
using AlertableHook = void (*)();
void SetAlertableHook(AlertableHook hook);

// Delivers pending completions, then sleeps ms (0: no sleep).
void AlertableSleep(uint32_t ms);

}  // namespace platform
