// The video player on an encoded test clip, an offscreen graphic device, a pulled mixer and
// a fake clock.
#include "engine/video/PCVideoPlayer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/core/AGMemory.h"
#include "engine/core/FDelegate.h"
#include "platform/audio/AudioEngine.h"
#include "platform/core/Clock.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/VideoClipWriter.h"

namespace {

using gfxtest::ColorNear;

// 64 x 48, 2 s at 10 frames a second, a new colour every half second, a 440 Hz tone.
const std::vector<u32> kColours = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
constexpr double kTick = 1.0 / 60.0;
constexpr u32 kTickFrames = 735;  // mixer frames per tick

struct FinishCounter {
    void OnFinish() { ++count; }
    int count = 0;
};

class VideoPlayerTest : public drawtest::DeviceFixture<160, 120> {
protected:
    static void SetUpTestSuite() {
        s_clip = new std::string(authoring::EncodeWindowsMediaClip({.colours = kColours}));
    }
    static void TearDownTestSuite() { delete s_clip; }

    void SetUp() override {
        m_savedAudioFactory = AGAudioManager::s_implFactory;
        AGAudioManager::s_implFactory = [] {
            return static_cast<AGAudioManagerImpl*>(new PCAudioManagerImpl(platform::audio::Engine::Output::Pull));
        };
        AGAudioManager::SetInstance(new AGAudioManager());
        ASSERT_NO_FATAL_FAILURE(DeviceFixture::SetUp());
        m_player.reset(static_cast<PCVideoPlayer*>(CreatePCVideoPlayer()));  // as the program makes it
        m_player->SetFinishHandler(&m_onFinish);
        m_path = m_dir.Write("clip.vid", *s_clip);
    }

    void TearDown() override {
        m_player.reset();
        DeviceFixture::TearDown();
        delete AGAudioManager::Get();
        AGAudioManager::SetInstance(nullptr);
        AGAudioManager::s_implFactory = m_savedAudioFactory;
    }

    double Elapsed() { return double(m_clock.Now() - kStart) / 1e9; }
    // Ticks until `seconds` after the start, updating the player and pulling one tick of
    // sound each time.
    void RunUntil(double seconds) {
        while (Elapsed() + 1e-9 < seconds) {
            m_clock.AdvanceMs(kTick * 1000.0);
            m_player->Update();
            std::vector<float> mix(kTickFrames * 2);
            PCAudioManagerImpl::Get()->GetEngine()->Render(mix.data(), kTickFrames);
            m_sound.insert(m_sound.end(), mix.begin(), mix.end());
        }
    }
    void Start(bool loop = false) {
        ASSERT_TRUE(m_player->Open(m_path.c_str()));
        m_player->Play(loop);
    }
    // The frame texture's texel at the centre, ARGB.
    u32 CentreTexel() {
        platform::gfx::Texture* texture = m_player->GetTexture()->GetDeviceTexture();
        if (!texture)
            return 0xDEADBEEF;
        platform::gfx::LockedRect rect;
        if (!texture->LockRect(rect, true))
            return 0xDEADBEEF;
        const u32 texel = static_cast<const u32*>(rect.bits)[24 * rect.pitch / 4 + 32];
        texture->UnlockRect();
        return texel;
    }
    static u32 Opaque(u32 rgb) { return 0xFF000000u | rgb; }
    std::tuple<u32, int> Status() const { return {m_player->GetState(), m_finished.count}; }  // state, finishes

    static constexpr u64 kStart = 5000000000u;
    static std::string* s_clip;
    platform::FakeClock m_clock{kStart};
    TempDir m_dir;
    std::string m_path;
    FinishCounter m_finished;
    FDelegate<FinishCounter> m_onFinish{&m_finished, &FinishCounter::OnFinish};
    std::unique_ptr<PCVideoPlayer> m_player;
    std::vector<float> m_sound;  // stereo, at the mixer's rate
    AGAudioManager::ImplFactory m_savedAudioFactory = nullptr;
};

std::string* VideoPlayerTest::s_clip = nullptr;

TEST_F(VideoPlayerTest, AVideoThatCannotBeOpenedEndsOnTheNextUpdate) {
    for (const std::string& path : {m_dir.File("missing.vid"), m_dir.Write("corrupt.vid", s_clip->substr(0, 400)),
                                    m_dir.Write("garbage.vid", std::string(2000, '\x11'))}) {
        m_finished.count = 0;
        LogCapture log;
        EXPECT_TRUE(!m_player->Open(path.c_str()) && log.Contains("Video:")) << path;
        EXPECT_EQ(Status(), std::make_tuple(PCVideoPlayer::kClosed, 0));
        EXPECT_EQ(m_player->GetTexture()->GetDeviceTexture(), nullptr);
        m_player->Update();
        m_player->Update();
        EXPECT_EQ(m_finished.count, 1);  // once, on the first update
    }
}

TEST_F(VideoPlayerTest, ShowsEachColourAtItsTimeAndPlaysTheTone) {
    Start();
    EXPECT_EQ(m_player->GetWidth() * 100 + m_player->GetHeight(), 6448u);
    for (size_t i = 0; i < kColours.size(); ++i) {
        RunUntil(0.5 * double(i) + 0.25);
        EXPECT_TRUE(ColorNear(CentreTexel(), Opaque(kColours[i]), 12)) << "at " << Elapsed() << " s";
    }
    RunUntil(2.2);
    EXPECT_EQ(Status(), std::make_tuple(PCVideoPlayer::kClosed, 1));
    EXPECT_TRUE(!m_player->GetTexture()->GetDeviceTexture() && m_player->GetWidth() + m_player->GetHeight() == 0);

    // The tone reached the mix at its pitch: zero crossings of the left channel, 0.2 s to 1.8 s.
    const size_t first = size_t(0.2 * platform::audio::kMixRate), last = size_t(1.8 * platform::audio::kMixRate);
    ASSERT_GT(m_sound.size() / 2, last);
    int crossings = 0;
    for (size_t i = first; i < last; ++i)
        crossings += (m_sound[i * 2] < 0) != (m_sound[i * 2 + 2] < 0);
    EXPECT_NEAR(crossings / 2.0 / 1.6, 440.0, 10.0);
}

// Pause and resume continue from the frame on show; late frames are dropped; a seek lands on
// the right frame, also while paused; a looping clip restarts at zero.
TEST_F(VideoPlayerTest, PauseSeekLateFramesAndLoopKeepThePictureOnTime) {
    Start(true);
    RunUntil(0.3);
    const f32 shown = m_player->GetPosition();
    m_player->Pause();
    RunUntil(5.0);
    EXPECT_EQ(m_player->GetPosition(), shown);
    m_player->Resume();
    RunUntil(5.0 + kTick);  // the sound goes on at once
    EXPECT_GT(*std::max_element(m_sound.end() - 2 * kTickFrames, m_sound.end()), 0.05f);
    // The next frame comes one frame duration after the resume, not at once.
    RunUntil(5.0 + 0.08);
    EXPECT_EQ(m_player->GetPosition(), shown);
    RunUntil(5.0 + 0.12);
    EXPECT_NEAR(m_player->GetPosition(), shown + 0.1, 0.01);
    EXPECT_GT(*std::max_element(m_sound.end() - 2 * kTickFrames, m_sound.end()), 0.05f);  // sound again

    // A stall of more than a second: the frames in between are passed over.
    m_clock.AdvanceMs(1000.0);
    m_player->Update();
    EXPECT_NEAR(m_player->GetPosition(), 1.346, 0.01);
    m_player->Seek(0.8f);
    m_player->Update();
    EXPECT_NEAR(m_player->GetPosition(), 0.746, 0.01);
    m_player->Pause();
    m_player->Seek(1.8f);
    m_player->Resume();
    m_player->Update();
    EXPECT_NEAR(m_player->GetPosition(), 1.746, 0.01);
    EXPECT_TRUE(ColorNear(CentreTexel(), Opaque(kColours[3]), 12));

    RunUntil(Elapsed() + 1.2);
    EXPECT_TRUE(ColorNear(CentreTexel(), Opaque(kColours[1]), 12));
    EXPECT_EQ(Status(), std::make_tuple(PCVideoPlayer::kPlaying, 0));
}

TEST_F(VideoPlayerTest, ASoundOnlyFilePlaysAndEndsWhenItsSoundHasPlayed) {
    const authoring::VideoClip soundOnly = {.width = 0, .colours = {}, .audioSeconds = 0.5};
    m_path = m_dir.Write("sound.vid", authoring::EncodeWindowsMediaClip(soundOnly));
    Start();
    EXPECT_TRUE(m_player->GetTexture()->GetDeviceTexture() == nullptr && m_player->GetPosition() == 0.0f);
    RunUntil(0.4);
    EXPECT_EQ(m_finished.count, 0);
    EXPECT_GT(m_player->GetPosition(), 0.2);  // the sound runs a few buffers ahead
    RunUntil(1.0);
    EXPECT_EQ(Status(), std::make_tuple(PCVideoPlayer::kClosed, 1));
    // Every buffer played once: the tone lasts the clip's half second, less the 40 ms or so
    // that the codec's priming and padding take.
    std::vector<size_t> tone;
    for (size_t i = 0; i < m_sound.size() / 2; ++i)
        if (std::fabs(m_sound[i * 2]) > 0.05f)
            tone.push_back(i);
    ASSERT_FALSE(tone.empty());
    EXPECT_NEAR(double(tone.back() - tone.front()) / platform::audio::kMixRate, 0.46, 0.02);

    // After a stall the chunks whose time has passed are dropped, not queued late.
    Start();
    m_clock.AdvanceMs(300.0);
    m_player->Update();
    EXPECT_GT(m_player->GetPosition(), 0.3);
    // The volume reaches the sound while it plays, and goes no higher than full.
    m_player->SetVolume(2.0f);
    EXPECT_EQ(m_player->GetVolume(), 1.0f);
    m_player->SetVolume(0.0f);
    RunUntil(Elapsed() + 0.1);
    EXPECT_EQ(*std::max_element(m_sound.end() - 2 * kTickFrames, m_sound.end()), 0.0f);
}

TEST_F(VideoPlayerTest, FullScreenDrawsThroughTheCustomRenderUntilStopped) {
    m_player->SetDisplayMode(AGVideoPlayerImpl::kDisplayFullScreen);
    Start();
    EXPECT_TRUE(m_player->GetTexture() == nullptr && m_device.IsCustomRender());
    RunUntil(0.3);
    platform::gfx::Device& device = Dev();
    // As a mesh drawn before may leave them: stage 0 colour from the vertices, a moved world
    // and projection.
    device.SetTextureStageState(0, platform::gfx::StageState::ColorArg1, platform::gfx::TextureArg::Diffuse);
    platform::gfx::Matrix moved = platform::gfx::MatrixIdentity();
    moved.m[12] = 1.0f;
    device.SetTransform(platform::gfx::TransformType::World, moved);
    device.SetTransform(platform::gfx::TransformType::Projection, moved);
    m_device.RenderFrame();
    for (auto [x, y] : {std::pair{0, 0}, {159, 0}, {80, 60}, {0, 119}, {159, 119}})
        EXPECT_TRUE(ColorNear(gfxtest::ReadPixel(device, x, y), Opaque(kColours[0]), 12)) << x << "," << y;

    // Drawn while playing only: a paused video leaves the cleared screen.
    m_player->Pause();
    m_device.RenderFrame();
    EXPECT_EQ(gfxtest::ReadPixel(device, 80, 60) & 0xFFFFFFu, 0u);
    m_player->Resume();
    m_player->Stop();
    EXPECT_FALSE(m_device.IsCustomRender());
    m_device.RenderFrame();
    EXPECT_EQ(std::pair(gfxtest::ReadPixel(device, 80, 60) & 0xFFFFFFu, m_finished.count), std::pair(0u, 0));
#ifndef TALLYVOX_SYSTEM_ALLOCATOR
    // Opened over and over, each open stopping the video playing, it keeps nothing, its quad
    // included: more plays than a pool refill holds blocks would show any block left behind.
    Start();
    m_player->Stop();
    const u64 heap = GetHeapCounters().current;
    for (int i = 0; i < 600; ++i)
        Start();
    m_player->Stop();
    EXPECT_EQ(GetHeapCounters().current, heap);
#endif
}

}  // namespace
