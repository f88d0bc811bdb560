// The intro clips built from the real recipes: each opens in the engine's video player at
// its size and ends by itself within three seconds; the bytes do not change between runs.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/core/FDelegate.h"
#include "engine/video/PCVideoPlayer.h"
#include "platform/audio/AudioEngine.h"
#include "platform/core/Clock.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"

namespace {

struct FinishCounter {
    void OnFinish() { ++count; }
    int count = 0;
};

class SoundClips : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = AGAudioManager::s_implFactory;
        AGAudioManager::s_implFactory = [] {
            return static_cast<AGAudioManagerImpl*>(new PCAudioManagerImpl(platform::audio::Engine::Output::Pull));
        };
        AGAudioManager::SetInstance(new AGAudioManager());
    }
    void TearDown() override {
        delete AGAudioManager::Get();
        AGAudioManager::SetInstance(nullptr);
        AGAudioManager::s_implFactory = m_saved;
    }

    // Plays the clip in 60 Hz ticks of a fake clock, pulling the mix; the seconds until it
    // finished, or -1 when it had not after `limit` seconds.
    double PlayToEnd(const std::string& path, double limit, u32& width, u32& height) {
        platform::FakeClock clock{1000000000u};
        FinishCounter finished;
        FDelegate<FinishCounter> onFinish{&finished, &FinishCounter::OnFinish};
        PCVideoPlayer player;
        player.SetFinishHandler(&onFinish);
        if (!player.Open(path.c_str()))
            return -2;
        width = player.GetWidth();
        height = player.GetHeight();
        player.Play(false);
        std::vector<float> mix(735 * 2);
        for (int tick = 1; tick <= int(limit * 60); ++tick) {
            clock.AdvanceMs(1000.0 / 60);
            player.Update();
            PCAudioManagerImpl::Get()->GetEngine()->Render(mix.data(), 735);
            if (finished.count)
                return tick / 60.0;
        }
        return -1;
    }

    AGAudioManager::ImplFactory m_saved = nullptr;
};

TEST_F(SoundClips, EachClipOpensInThePlayerAndEndsWithinThreeSeconds) {
    content::Output out(std::getenv("TALLYVOX_DATA"), {});
    content::GenerateVideos(out);
    EXPECT_EQ(out.Errors(), std::vector<std::string>{});
    content::Output again(std::getenv("TALLYVOX_DATA"), {});
    content::GenerateVideos(again);

    TempDir dir;
    ASSERT_TRUE(out.Write(dir.Path(), false, ""));
    LogCapture log;  // no graphic device here: the player says so and plays on
    for (const char* clip : {"video/varnel800x600.vid", "video/tolvane800x600.vid", "video/korvologo.vid"}) {
        ASSERT_EQ(out.Loose().count(clip), 1u) << clip;
        EXPECT_TRUE(out.Loose().at(clip).bytes == again.Loose().at(clip).bytes) << clip;
        u32 width = 0, height = 0;
        const double seconds = PlayToEnd(dir.File(clip), 3.0, width, height);
        EXPECT_GE(seconds, 2.4) << clip;
        EXPECT_LE(seconds, 3.0) << clip;
        EXPECT_EQ(width, 640u);
        EXPECT_EQ(height, 480u);
    }
    EXPECT_EQ(out.Loose().size(), 3u);
}

TEST(SoundClipSources, FaultyClipLinesAreReportedWithTheirLineAndSkipped) {
    const struct {
        const char* line;
        const char* error;  // empty: the line is good
    } lines[] = {
        {"good.vid 1.0 440 #102030", ""},
        {"short.vid 1.0 440", "a clip needs a file name, its seconds, a tone and at least one colour"},
        {"clip.avi 1.0 440 #102030", "clip file \"clip.avi\" is not a plain \".vid\" name"},
        {"sub/clip.vid 1.0 440 #102030", "clip file \"sub/clip.vid\" is not a plain \".vid\" name"},
        {"clip.vid 0.1 440 #102030", "bad seconds \"0.1\""},
        {"clip.vid 1.0 hum #102030", "bad tone \"hum\""},
        {"clip.vid 1.0 440 #10203", "bad colour \"#10203\" (#RRGGBB)"},
        {"clip.vid 1.0 440 #102030 102030", "bad colour \"102030\" (#RRGGBB)"},
    };
    TempDir dir;
    std::string text;
    std::vector<std::string> expected;
    for (size_t i = 0; i < std::size(lines); ++i) {
        text += std::string(lines[i].line) + "\n";
        if (*lines[i].error)
            expected.push_back("content/videos.txt:" + std::to_string(i + 1) + ": error: " + lines[i].error);
    }
    dir.Write("content/videos.txt", text);
    content::Output out(dir.Path(), {});
    content::GenerateVideos(out);
    EXPECT_EQ(out.Errors(), expected);
    ASSERT_EQ(out.Loose().size(), 1u);
    EXPECT_EQ(out.Loose().begin()->first, "video/good.vid");

    content::Output none(dir.Path() + "/nothing", {});
    content::GenerateVideos(none);
    EXPECT_EQ(none.Errors(), std::vector<std::string>{"content/videos.txt: error: the clip recipes are missing"});
}

}  // namespace
