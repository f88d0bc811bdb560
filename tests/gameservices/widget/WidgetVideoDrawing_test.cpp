// A Video widget drawn on the offscreen device shows the video player's frame texture in
// place of its own picture, and its release leaves that texture to the player.
#include <gtest/gtest.h>

#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VideoAsset.h"
#include "tests/gameservices/bridge/FakeVideoPlayer.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/gameservices/widget/WidgetTestGame.h"

using namespace widget_test;

namespace {

class LevelGame : public TestGame {
public:
    GameServices::Entities::Set* GetCurrentLevel() override { return &level; }
    GameServices::Entities::Set level{"level"};
};

using VideoDrawing = drawtest::DeviceFixture<160, 120>;

TEST_F(VideoDrawing, VideoShowsThePlayersFrameAndLeavesItIntactAtRelease) {
    constexpr u32 kGreen = 0xFF00FF00u, kGreenTexel = 0x00FF00FFu;  // texels are RGBA
    FakeVideoPlayerScope video;
    PCTexture& frame = video.player->texture;
    ASSERT_TRUE(frame.CreateDynamicTexture(16, 16));
    std::vector<u32> texels(16 * 16, kGreenTexel);
    ASSERT_TRUE(frame.WritePixels(texels.data()));
    frame.SetIsBase(true);  // a loaded texture: a wrong give-back lowers its count
    frame.SetRefCount(1);
    RenderPackage package({{"frame", 0xFFFF0000u}});
    LevelGame game;
    GameServices::Entities::VideoAsset clip;
    clip.Name = "clip";
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
    Frame();
    EXPECT_EQ(Pixel(50, 50), kGreen);
    EXPECT_EQ(Pixel(83, 77), kGreen);
    EXPECT_EQ(Pixel(85, 50), drawtest::kBlack);

    RenderingSystemWidget::Cleanup(&screen);
    RenderingSystemWidget::ReleaseLayer(&screen);
    game.level.RemoveAll();
    EXPECT_EQ(frame.RefCount(), 1u);
    ASSERT_TRUE(frame.ReadPixels(texels.data()));
    EXPECT_EQ(texels[0], kGreenTexel);
}

}  // namespace
