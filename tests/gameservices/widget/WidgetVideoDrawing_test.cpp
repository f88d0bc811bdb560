// A Video widget drawn on the offscreen device: it shows the video player's frame texture in
// place of its own picture, and its release leaves that texture to the player.
#include <gtest/gtest.h>

#include "engine/core/AGVideoPlayer.h"
#include "engine/graphics/PCTexture.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/RenderableModelData.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace widget_test;

namespace {

constexpr u32 kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u;
// Texels are written and read as RGBA.
constexpr u32 kGreenTexel = 0x00FF00FFu;

class FramePlayer : public AGVideoPlayerImpl {
public:
    void Update() override {}
    bool Open(const char*) override { return true; }
    void Play(bool) override { state = kStatePlaying; }
    void Pause() override {}
    void Stop() override { state = kStateClosed; }
    void Resume() override {}
    void Seek(f32) override {}
    f32 GetPosition() const override { return 0.0f; }
    void SetVolume(f32) override {}
    void Rewind() override {}
    PCTexture* GetTexture() override { return &texture; }
    void DrawFullScreen() override {}
    u32 GetState() const override { return state; }

    PCTexture texture;
    u32 state = kStateClosed;
};

class LevelGame : public TestGame {
public:
    GameServices::Entities::Set* GetCurrentLevel() override { return &level; }
    GameServices::Entities::Set level{"level"};
};

class VideoDrawing : public drawtest::DeviceFixture<160, 120> {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        if (HasFatalFailure())
            return;
        AGVideoPlayer::s_implFactory = [] { return static_cast<AGVideoPlayerImpl*>(new FramePlayer); };
        AGVideoPlayer::SetInstance(new AGVideoPlayer());
        player = static_cast<FramePlayer*>(AGVideoPlayer::Get()->GetImpl());
        ASSERT_TRUE(player->texture.CreateDynamicTexture(16, 16));
        std::vector<u32> texels(16 * 16, kGreenTexel);
        ASSERT_TRUE(player->texture.WritePixels(texels.data()));
        player->texture.SetRefCount(1);
        package = std::make_unique<RenderPackage>(std::vector<SpriteFile>{{"frame", kRed}});
        clip.Name = "clip";
        GameServices::Bridge::VideoProcessingSystem::SetVideoData(clip,
                                                                  GameServices::Bridge::VideoData("clip.vid", ""));
        game.level.m_VideoAssets = {&clip};
        screen.m_RootPanel = root;
        root->Visible = true;
        root->SetWidth(160.0f);
        root->SetHeight(120.0f);
    }
    void TearDown() override {
        RenderingSystemWidget::Cleanup(&screen);
        RenderingSystemWidget::ReleaseLayer(&screen);
        GameServices::Bridge::VideoProcessingSystem::Cleanup(&game.level);
        game.level.RemoveAll();
        package.reset();
        delete AGVideoPlayer::Get();
        AGVideoPlayer::SetInstance(nullptr);
        AGVideoPlayer::s_implFactory = nullptr;
        DeviceFixture::TearDown();
    }

    LogCapture log;
    LevelGame game;
    GameServices::Entities::VideoAsset clip;
    std::unique_ptr<RenderPackage> package;
    Screen screen;
    Panel* root = new Panel("root");
    FramePlayer* player = nullptr;
};

TEST_F(VideoDrawing, VideoShowsThePlayersFrameAndLeavesItIntactAtRelease) {
    auto* video = Add<Video>(*root, "video", 20, 30, 64, 48);
    video->m_VideoName = "clip";
    video->m_DefaultImage = "frame";
    RenderingSystemWidget::Initialize(&screen);
    RenderingSystemWidget::AttachLayer(&screen);
    RenderingSystemWidget::UpdateTransforms(*root);
    Frame();
    EXPECT_EQ(Pixel(50, 50), kGreen);
    EXPECT_EQ(Pixel(83, 77), kGreen);
    EXPECT_EQ(Pixel(85, 50), drawtest::kBlack);

    RenderingSystemWidget::Cleanup(&screen);
    RenderingSystemWidget::ReleaseLayer(&screen);
    EXPECT_EQ(player->texture.RefCount(), 1u);
    std::vector<u32> texels(16 * 16, 0);
    ASSERT_TRUE(player->texture.ReadPixels(texels.data()));
    EXPECT_EQ(texels[0], kGreenTexel);
}

}  // namespace
