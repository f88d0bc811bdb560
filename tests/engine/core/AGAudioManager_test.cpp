#include "engine/core/AGAudioManager.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct FakeVoice : AGAudioVoice {
    bool playing = false;
    std::vector<bool> calls;
    u32 GetState() const override { return playing ? kStatePlaying : 0u; }
    void Pause(bool pause) override { calls.push_back(pause); }
};

struct FakeImpl : AGAudioManagerImpl {
    void Update() override {}
};

}  // namespace

// Nested pauses of playing sounds are the audio tests'; here the streams, a sound started
// while paused and a resume without a pause.
TEST(AGAudioManagerImpl, NestedPauseResumesExactlyWhatItPaused) {
    FakeImpl impl;
    FakeVoice playingStream, lateSound;
    playingStream.playing = true;
    impl.Streams().Add(&playingStream);
    impl.Pause();
    impl.Pause();
    lateSound.playing = true;
    impl.Sounds().Add(&lateSound);
    impl.Resume();
    EXPECT_EQ(playingStream.calls, std::vector<bool>{true});
    impl.Resume();
    impl.Resume();  // unmatched: nothing
    playingStream.playing = lateSound.playing = false;  // stopped since: a later pause and resume leave it alone
    impl.Pause();
    impl.Resume();
    EXPECT_EQ(playingStream.calls, (std::vector<bool>{true, false}));
    EXPECT_TRUE(lateSound.calls.empty() && impl.PauseDepth() == 0u);
}
