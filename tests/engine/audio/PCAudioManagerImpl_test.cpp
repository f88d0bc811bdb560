#include "engine/audio/PCAudioManagerImpl.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "engine/audio/AGAudioSound.h"
#include "engine/audio/VoiceCallback.h"
#include "tests/engine/audio/AudioTestFixture.h"

using platform::audio::Engine;

TEST(PCAudioManagerImpl, PoolsAreMadeOnceAndTakeBackOnlyTheirOwnLentBuffersVolumesAreClamped) {
    PCAudioManagerImpl manager(Engine::Output::Pull, true);
    // More decode buffers than a pool counts are refused, and leave the manager to be made again.
    EXPECT_TRUE(!manager.Initialize(0x5556, 0) && manager.Initialize(2, 1) && !manager.Initialize(2, 1));
    EXPECT_TRUE(manager.DecodePool().Count() == 9u && manager.ReadPool().Count() == 1u);
    u8* a = manager.TakeDecodeBuffer();
    u8* b = manager.TakeDecodeBuffer();
    ASSERT_TRUE(a && b && a != b);
    manager.GiveDecodeBuffer(a);
    manager.GiveDecodeBuffer(a);
    manager.GiveDecodeBuffer(b + 1);
    manager.GiveDecodeBuffer(manager.TakeReadBuffer());
    EXPECT_EQ(manager.DecodePool().FreeCount(), 8u);
    for (int i = 0; i < 8; ++i)
        EXPECT_NE(manager.TakeDecodeBuffer(), nullptr);
    EXPECT_EQ(manager.TakeDecodeBuffer(), nullptr);

    // A pool never made, destroyed, or made again with no buffers, holds and lends nothing.
    PCBufferPool pool;
    EXPECT_TRUE(pool.Count() == 0 && pool.Take() == nullptr);
    ASSERT_TRUE(pool.Create(2, 16) && pool.Create(0, 16));
    EXPECT_EQ(pool.Take(), nullptr);
    ASSERT_TRUE(pool.Create(2, 16));
    pool.Destroy();
    u8 stray[16];
    pool.Give(stray);
    EXPECT_TRUE(!pool.Take() && pool.Count() == 0 && pool.FreeCount() == 0);

    // Volumes are clamped, NaN to zero.
    manager.SetMasterVolume(1.5f);
    EXPECT_EQ(manager.GetMasterVolume(), 1.0f);
    manager.SetMasterVolume(-0.5f);
    EXPECT_EQ(manager.GetEngine()->Master()->GetVolume(), 0.0f);
    // An options slider with a maximum of 0 divides 0 by 0.
    manager.SetCategoryVolume(0.0f / 0.0f, 1);
    EXPECT_EQ(manager.GetSubmix(1)->GetVolume(), 0.0f);
    manager.SetCategoryVolume(0.5f, 3);
    EXPECT_TRUE(manager.GetCategoryVolume(3) == 0.0f && !manager.GetSubmix(3));
}

TEST_F(AudioFixture, WithoutASoundCardASoundFinishesInRealTime) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    delete AGAudioManager::Get();
    Install(&CreatePCAudioManagerImpl);
    impl->Initialize(1, 0);
    AddSound("blip", authoring::EncodeOggVorbis(authoring::MakeTone(440, 13230)));  // 0.3 s
    Mount();
    ASSERT_NE(impl->GetEngine(), nullptr);
    AGAudioSound sound;
    ASSERT_TRUE(sound.Open("blip.snd"));
    int finished = 0;
    sound.SetEndCallback([](void* n) { ++*static_cast<int*>(n); }, &finished);
    const auto start = std::chrono::steady_clock::now();
    sound.Play();
    while (!finished && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        impl->Update();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_TRUE(finished == 1 && (sound.GetState() & 2u) == 0);
    EXPECT_TRUE(seconds >= 0.25 && seconds < 2.0) << seconds;
}

// An event past the last is ignored: the handlers in place keep their contexts.
TEST(VoiceCallback, AnEventPastTheLastIsIgnored) {
    static void* seen = nullptr;
    VoiceCallback callback;
    callback.SetHandler(VoiceCallback::kProcessingPassStart, [](void* c, VoiceCallback*) { seen = c; }, &seen);
    callback.SetHandler(VoiceCallback::kEventCount, nullptr, nullptr);
    callback.OnVoiceProcessingPassStart(64);
    EXPECT_EQ(seen, &seen);
}
