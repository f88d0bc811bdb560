// The intro clips: each opens in the engine's video player at its size and ends by itself
// within three seconds; the bytes do not change between runs; faulty recipe lines are reported.
#include <gtest/gtest.h>

#include <cstdlib>

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/video/PCVideoPlayer.h"
#include "platform/core/Clock.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"
#include "tools/content/Generators.h"

namespace {

TEST(SoundClips, EachClipOpensInThePlayerAndEndsWithinThreeSecondsAndFaultyClipLinesAreReportedAndSkipped) {
    content::Output out(std::getenv("TALLYVOX_DATA"), {}), again(std::getenv("TALLYVOX_DATA"), {});
    content::GenerateVideos(out);
    content::GenerateVideos(again);
    EXPECT_EQ(out.Errors(), std::vector<std::string>{});
    EXPECT_EQ(out.Loose().size(), 3u);
    TempDir dir;
    ASSERT_TRUE(out.Write(dir.Path(), false, ""));

    const AGAudioManager::ImplFactory saved = AGAudioManager::s_implFactory;
    AGAudioManager::s_implFactory = [] {
        return static_cast<AGAudioManagerImpl*>(new PCAudioManagerImpl(platform::audio::Engine::Output::Pull));
    };
    AGAudioManager::SetInstance(new AGAudioManager());
    LogCapture log;  // no graphic device here: the player says so and plays on
    for (const char* clip : {"video/varnel800x600.vid", "video/tolvane800x600.vid", "video/korvologo.vid"}) {
        ASSERT_EQ(out.Loose().count(clip), 1u) << clip;
        EXPECT_TRUE(out.Loose().at(clip).bytes == again.Loose().at(clip).bytes) << clip;
        platform::FakeClock clock{1000000000u};
        widget_test::Counter finished;
        PCVideoPlayer player;
        player.SetFinishHandler(&finished.delegate);
        ASSERT_TRUE(player.Open(dir.File(clip).c_str())) << clip;
        EXPECT_EQ(player.GetWidth(), 640u);
        EXPECT_EQ(player.GetHeight(), 480u);
        player.Play(false);
        std::vector<float> mix(735 * 2);
        int ticks = 0;  // 60 a second
        for (; ticks < 180 && !finished.count; ++ticks) {
            clock.AdvanceMs(1000.0 / 60);
            player.Update();
            PCAudioManagerImpl::Get()->GetEngine()->Render(mix.data(), 735);
        }
        EXPECT_EQ(finished.count, 1) << clip;
        EXPECT_GE(ticks, 144) << clip;
    }
    delete AGAudioManager::Get();
    AGAudioManager::SetInstance(nullptr);
    AGAudioManager::s_implFactory = saved;

    // Faulty clip lines are reported with their line and skipped.
    const struct {
        const char* line;
        const char* error;  // empty: the line is good
    } lines[] = {
        {"good.vid 1.0 440 #102030", ""},
        {"short.vid 1.0 440", "a clip needs a file name, its seconds, a tone and at least one colour"},
        {"sub/clip.vid 1.0 440 #102030", "clip file \"sub/clip.vid\" is not a plain \".vid\" name"},
        {"clip.vid nan 440 #102030", "bad seconds \"nan\""},
        {"clip.vid 1.0 hum #102030", "bad tone \"hum\""},
        {"clip.vid 1.0 440 #102030 102030", "bad colour \"102030\" (#RRGGBB)"},
    };
    std::string text;
    std::vector<std::string> expected;
    for (size_t i = 0; i < std::size(lines); ++i) {
        text += std::string(lines[i].line) + "\n";
        if (*lines[i].error)
            expected.push_back("content/videos.txt:" + std::to_string(i + 1) + ": error: " + lines[i].error);
    }
    dir.Write("content/videos.txt", text);
    content::Output faulty(dir.Path(), {});
    content::GenerateVideos(faulty);
    EXPECT_EQ(faulty.Errors(), expected);
    ASSERT_EQ(faulty.Loose().size(), 1u);
    EXPECT_EQ(faulty.Loose().begin()->first, "video/good.vid");
}

}  // namespace
