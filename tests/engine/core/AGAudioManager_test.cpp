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
    int updates = 0;
    void Update() override { ++updates; }
};

int g_implsMade = 0;
AGAudioManagerImpl* MakeFakeImpl() {
    ++g_implsMade;
    return new FakeImpl();
}

}  // namespace

TEST(AGAudioManagerImpl, NestedPauseResumesExactlyWhatItPaused) {
    FakeImpl impl;
    FakeVoice playingSound, idleSound, playingStream;
    playingSound.playing = true;
    playingStream.playing = true;
    impl.Sounds().Add(&playingSound);
    impl.Sounds().Add(&idleSound);
    impl.Streams().Add(&playingStream);

    impl.Pause();
    impl.Pause();
    EXPECT_EQ(impl.PauseDepth(), 2u);
    EXPECT_EQ(playingSound.calls, std::vector<bool>{true});
    EXPECT_TRUE(idleSound.calls.empty());
    EXPECT_EQ(playingStream.calls, std::vector<bool>{true});

    // A sound started while paused is not the manager's to resume.
    FakeVoice lateSound;
    lateSound.playing = true;
    impl.Sounds().Add(&lateSound);

    impl.Resume();
    EXPECT_EQ(playingSound.calls, std::vector<bool>{true});  // still paused
    impl.Resume();
    EXPECT_EQ(playingSound.calls, (std::vector<bool>{true, false}));
    EXPECT_EQ(playingStream.calls, (std::vector<bool>{true, false}));
    EXPECT_TRUE(idleSound.calls.empty());
    EXPECT_TRUE(lateSound.calls.empty());
    EXPECT_EQ(impl.PauseDepth(), 0u);

    // An unmatched Resume does nothing.
    impl.Resume();
    EXPECT_EQ(impl.PauseDepth(), 0u);
    EXPECT_EQ(playingSound.calls.size(), 2u);
}

TEST(AGAudioManager, ImplementationComesFromTheFactory) {
    AGAudioManager::s_implFactory = nullptr;
    {
        AGAudioManager none;
        EXPECT_EQ(none.GetImpl(), nullptr);
        none.Update();  // no implementation: nothing happens
    }
    AGAudioManager::s_implFactory = &MakeFakeImpl;
    {
        AGAudioManager audio;
        ASSERT_NE(audio.GetImpl(), nullptr);
        audio.Update();
        audio.Update();
        EXPECT_EQ(static_cast<FakeImpl*>(audio.GetImpl())->updates, 2);
    }
    AGAudioManager::s_implFactory = nullptr;
    EXPECT_EQ(g_implsMade, 1);
}
