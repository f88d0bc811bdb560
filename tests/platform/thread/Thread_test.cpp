#include "platform/thread/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "platform/thread/Event.h"

using namespace platform;

namespace {

struct Gate {
    Event open{true, false};
    std::atomic<bool> ran{false};
};

uint32_t WaitForGate(void* context) {
    auto* gate = static_cast<Gate*>(context);
    gate->open.Wait(kWaitInfinite);
    gate->ran = true;
    return 7;
}

}  // namespace

TEST(Thread, AHandleDestroyedWhileTheThreadRunsLeavesItRunning) {
    auto gate = std::make_shared<Gate>();
    Thread* thread = Thread::Create(64 * 1024, &WaitForGate, gate.get());
    ASSERT_TRUE(thread);
    delete thread;  // detached
    gate->open.Set();
    for (int i = 0; i < 500 && !gate->ran; ++i)
        Event(true, false).Wait(2);
    EXPECT_TRUE(gate->ran);
}
