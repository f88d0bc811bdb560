#include "engine/audio/VoiceCallback.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

// Each of the mixer's seven callbacks reaches its own handler with its own context and its
// arguments, which hold only during the call; events without a handler are ignored.
TEST(VoiceCallback, ForwardsEachEventWithItsArgumentsToItsHandler) {
    using Seen = std::tuple<int, uintptr_t, i32>;
    std::vector<Seen> seen;
    struct Context {
        std::vector<Seen>* seen;
        int event;
    };
    Context contexts[VoiceCallback::kEventCount];
    VoiceCallback callback;
    EXPECT_EQ(callback.FirstArgument(), 0u);  // outside a call there are none
    for (int e = 0; e < int(VoiceCallback::kEventCount); ++e) {
        contexts[e] = {&seen, e};
        callback.SetHandler(VoiceCallback::Event(e), [](void* context, VoiceCallback* self) {
            auto* c = static_cast<Context*>(context);
            c->seen->push_back({c->event, self->FirstArgument(), self->SecondArgument()});
        }, &contexts[e]);
    }
    int buffer = 0;
    const auto at = reinterpret_cast<uintptr_t>(&buffer);
    callback.OnVoiceProcessingPassStart(512);
    callback.OnVoiceProcessingPassEnd();
    callback.OnStreamEnd();
    callback.OnBufferStart(&buffer);
    callback.OnBufferEnd(&buffer);
    callback.OnLoopEnd(&buffer);
    callback.OnVoiceError(&buffer, -7);
    std::vector<Seen> want = {{VoiceCallback::kProcessingPassStart, 512, 0}, {VoiceCallback::kProcessingPassEnd, 0, 0},
                              {VoiceCallback::kStreamEnd, 0, 0},             {VoiceCallback::kBufferStart, at, 0},
                              {VoiceCallback::kBufferEnd, at, 0},            {VoiceCallback::kLoopEnd, at, 0},
                              {VoiceCallback::kVoiceError, at, -7}};
    EXPECT_EQ(seen, want);
    EXPECT_EQ(callback.FirstArgument(), 0u);
    EXPECT_EQ(callback.SecondArgument(), 0);

    callback.SetHandler(VoiceCallback::kBufferEnd, nullptr, nullptr);
    callback.SetHandler(VoiceCallback::kEventCount, nullptr, nullptr);  // ignored
    callback.OnBufferEnd(&buffer);
    callback.OnStreamEnd();
    callback.OnVoiceProcessingPassStart(1);  // its handler and context untouched by the ignored call
    want.push_back({VoiceCallback::kStreamEnd, 0, 0});
    want.push_back({VoiceCallback::kProcessingPassStart, 1, 0});
    EXPECT_EQ(seen, want);
}
