#include "engine/audio/VoiceCallback.h"

#include <gtest/gtest.h>

#include <vector>

// Each of the mixer's seven callbacks reaches its own handler with its own context and its
// arguments, which hold only during the call; events without a handler are ignored.
TEST(VoiceCallback, ForwardsEachEventWithItsArgumentsToItsHandler) {
    struct Seen {
        int event;
        uintptr_t first;
        i32 second;
    };
    std::vector<Seen> seen;
    struct Context {
        std::vector<Seen>* seen;
        int event;
    };
    Context contexts[VoiceCallback::kEventCount];
    VoiceCallback callback;
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
    const std::vector<std::vector<long long>> want = {{VoiceCallback::kProcessingPassStart, 512, 0},
                                                      {VoiceCallback::kProcessingPassEnd, 0, 0},
                                                      {VoiceCallback::kStreamEnd, 0, 0},
                                                      {VoiceCallback::kBufferStart, (long long)at, 0},
                                                      {VoiceCallback::kBufferEnd, (long long)at, 0},
                                                      {VoiceCallback::kLoopEnd, (long long)at, 0},
                                                      {VoiceCallback::kVoiceError, (long long)at, -7}};
    ASSERT_EQ(seen.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(seen[i].event, want[i][0]) << i;
        EXPECT_EQ((long long)seen[i].first, want[i][1]) << i;
        EXPECT_EQ(seen[i].second, want[i][2]) << i;
    }
    EXPECT_EQ(callback.FirstArgument(), 0u);
    EXPECT_EQ(callback.SecondArgument(), 0);

    callback.SetHandler(VoiceCallback::kBufferEnd, nullptr, nullptr);
    callback.SetHandler(VoiceCallback::kEventCount, nullptr, nullptr);  // ignored
    callback.OnBufferEnd(&buffer);
    callback.OnStreamEnd();
    ASSERT_EQ(seen.size(), want.size() + 1);
    EXPECT_EQ(seen.back().event, VoiceCallback::kStreamEnd);
}
