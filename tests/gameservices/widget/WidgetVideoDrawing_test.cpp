// A Video widget drawn on the offscreen device shows the frames the video player decodes
// into its texture in place of the widget's own picture, and its release leaves that texture
// to the player, which goes on filling it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "engine/video/PCVideoPlayer.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/RenderableModelData.h"
#include "platform/core/Clock.h"
#include "platform/gfx/Device.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/platform/gfx/GfxTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/VideoClipWriter.h"

using namespace widget_test;
using GameServices::Bridge::FileSystem;
using GameServices::Bridge::VideoProcessingSystem;
using gfxtest::ColorNear;

namespace {

constexpr u32 kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;

class LevelGame : public TestGame {
public:
    GameServices::Entities::Set* GetCurrentLevel() override { return &level; }
    GameServices::Entities::Set level{"level"};
};

// The engine's video player is the platform's while the scope lives.
struct RealVideoPlayerScope {
    RealVideoPlayerScope() {
        AGVideoPlayer::s_implFactory = &CreatePCVideoPlayer;
        AGVideoPlayer::SetInstance(new AGVideoPlayer());
    }
    ~RealVideoPlayerScope() {
        delete AGVideoPlayer::Get();
        AGVideoPlayer::SetInstance(nullptr);
        AGVideoPlayer::s_implFactory = nullptr;
    }
    AGVideoPlayerImpl& Player() { return *AGVideoPlayer::Get()->GetImpl(); }
};

// Video paths are lower-cased whole, root included: the clip goes under a lower-case root.
struct ClipFolder {
    explicit ClipFolder(const std::string& bytes)
        : root(std::filesystem::temp_directory_path() / ("tallyvox-video-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(root / "video");
        std::ofstream(root / "video" / "clip.vid", std::ios::binary) << bytes;
    }
    ~ClipFolder() {
        std::error_code ec;
        std::filesystem::remove_all(root, ec);
    }
    std::filesystem::path root;
};

u32 Texel(PCTexture& texture, u32 x, u32 y) {
    platform::gfx::Texture* device = texture.GetDeviceTexture();
    platform::gfx::LockedRect rect;
    if (!device || !device->LockRect(rect, true))
        return 0xDEADBEEF;
    const u32 texel = static_cast<const u32*>(rect.bits)[y * rect.pitch / 4 + x];
    device->UnlockRect();
    return texel;
}

using VideoDrawing = drawtest::DeviceFixture<160, 120>;

TEST_F(VideoDrawing, VideoShowsThePlayersFrameAndLeavesItIntactAtRelease) {
    // 64 x 48 without sound: green for half a second, then blue.
    authoring::VideoClip encoded;
    encoded.colours = {0x00FF00, 0x0000FF};
    encoded.toneHz = 0.0;
    const std::string bytes = authoring::EncodeWindowsMediaClip(encoded);
    ASSERT_FALSE(bytes.empty());
    ClipFolder folder(bytes);
    ASSERT_EQ(folder.root.string(), TString<char>(folder.root.string().c_str()).ToLower().c_str());

    platform::FakeClock clock{1000000000u};
    RealVideoPlayerScope video;
    RenderPackage package({{"frame", 0xFFFF0000u}});
    FileSystem::SetRootPath((folder.root.string() + "/").c_str());
    LevelGame game;
    GameServices::Entities::VideoAsset clip;
    clip.Name = "clip";
    clip.m_IsPlaying = true;
    VideoProcessingSystem::SetVideoData(clip, GameServices::Bridge::VideoData("Clip.vid", ""));
    game.level.m_VideoAssets = {&clip};
    Screen screen;
    screen.m_RootPanel = new Panel("root");
    screen.m_RootPanel->Visible = true;
    screen.m_RootPanel->SetWidth(160.0f);
    screen.m_RootPanel->SetHeight(120.0f);
    auto* widget = Add<Video>(*screen.m_RootPanel, "video", 20, 30, 64, 48);
    widget->m_VideoName = "clip";
    widget->m_DefaultImage = "frame";
    RenderingSystemWidget::Initialize(&screen);
    RenderingSystemWidget::AttachLayer(&screen);
    RenderingSystemWidget::UpdateTransforms(*screen.m_RootPanel);
    EXPECT_EQ(video.Player().GetState(), AGVideoPlayerImpl::kStatePlaying);
    PCTexture& frame = *video.Player().GetTexture();
    clock.AdvanceMs(250.0);
    video.Player().Update();
    Frame();
    for (auto [x, y] : {std::pair{21, 31}, {52, 54}, {83, 77}})
        EXPECT_TRUE(ColorNear(Pixel(x, y), kGreen, 12)) << x << "," << y;
    EXPECT_EQ(Pixel(85, 54), drawtest::kBlack);
    EXPECT_EQ(Pixel(52, 79), drawtest::kBlack);

    {
        // A give-back of the player's texture would be refused with a report.
        LogCapture log;
        RenderingSystemWidget::Cleanup(&screen);
        RenderingSystemWidget::ReleaseLayer(&screen);
        EXPECT_EQ(log.Lines(), std::vector<std::string>{});
    }
    EXPECT_EQ(video.Player().GetTexture(), &frame);
    EXPECT_TRUE(ColorNear(Texel(frame, 32, 24), kGreen, 12));
    clock.AdvanceMs(500.0);
    video.Player().Update();
    EXPECT_TRUE(ColorNear(Texel(frame, 32, 24), kBlue, 12));
    VideoProcessingSystem::Cleanup(&game.level);
    game.level.RemoveAll();
}

}  // namespace
