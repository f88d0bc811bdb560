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

TEST(AGAudioManagerImpl, NestedPauseResumesExactlyWhatItPaused) {
    FakeImpl impl;
    FakeVoice playingSound, idleSound, playingStream, lateSound;
    playingSound.playing = playingStream.playing = true;
    impl.Sounds().Add(&playingSound);
    impl.Sounds().Add(&idleSound);
    impl.Streams().Add(&playingStream);

    impl.Pause();
    impl.Pause();
    // A sound started while paused is not the manager's to resume.
    lateSound.playing = true;
    impl.Sounds().Add(&lateSound);
    impl.Resume();
    EXPECT_EQ(playingSound.calls, std::vector<bool>{true});
    impl.Resume();
    impl.Resume();  // unmatched: nothing
    EXPECT_EQ(playingSound.calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(playingStream.calls, (std::vector<bool>{true, false}));
    EXPECT_TRUE(idleSound.calls.empty());
    EXPECT_TRUE(lateSound.calls.empty());
    EXPECT_EQ(impl.PauseDepth(), 0u);
}
