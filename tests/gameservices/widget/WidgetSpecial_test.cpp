#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/AGVideoPlayer.h"
#include "engine/graphics/AGEmitter.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/PCTexture.h"
#include "gameservices/entities/Set.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/RenderableModelData.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"
#include "tools/authoring/EmitterWriter.h"

using namespace widget_test;
namespace Keys = GameServices::Entities::VolatileDataKeys;
using GameServices::Entities::Set;
using GameServices::Entities::VideoAsset;

namespace {

// Notes opens, plays and stops; shows one texture.
class TexturePlayer : public AGVideoPlayerImpl {
public:
    void Update() override {}
    bool Open(const char* name) override {
        calls.push_back(std::string("open ") + name);
        state = kStatePaused;
        return true;
    }
    void Play(bool loop) override {
        calls.push_back(loop ? "play loop" : "play once");
        state = kStatePlaying;
    }
    void Pause() override {}
    void Stop() override {
        calls.push_back("stop");
        state = kStateClosed;
    }
    void Resume() override {}
    void Seek(f32) override {}
    f32 GetPosition() const override { return 0.0f; }
    void SetVolume(f32) override {}
    void Rewind() override {}
    PCTexture* GetTexture() override { return &texture; }
    void DrawFullScreen() override {}
    u32 GetState() const override { return state; }

    PCTexture texture;
    u32 state = kStatePlaying;
    std::vector<std::string> calls;
};

class LevelGame : public TestGame {
public:
    Set* GetCurrentLevel() override { return level; }
    Set* level = nullptr;
};

void AddEmitter(authoring::PackageWriter& writer) {
    authoring::EmitterData data;
    data.endFrame = 100;
    writer.Add("spark", TypeKey::Emitter3D, authoring::EmitterBytes(data));
    authoring::AddBakedFont(writer, "serif", Sans32());
}

class SpecialWidgets : public ::testing::Test {
protected:
    SpecialWidgets() {
        screen.m_RootPanel = root;
        root->Visible = true;
        root->SetWidth(800.0f);
        root->SetHeight(600.0f);
        AGVideoPlayer::s_implFactory = [] { return static_cast<AGVideoPlayerImpl*>(new TexturePlayer); };
        AGVideoPlayer::SetInstance(new AGVideoPlayer());
        player = static_cast<TexturePlayer*>(AGVideoPlayer::Get()->GetImpl());
        player->texture.SetRefCount(2);
        game.level = &level;
    }
    ~SpecialWidgets() override {
        Release();
        level.RemoveAll();
        delete AGVideoPlayer::Get();
        AGVideoPlayer::SetInstance(nullptr);
        AGVideoPlayer::s_implFactory = nullptr;
    }
    void Build() {
        RenderingSystemWidget::Initialize(&screen);
        RenderingSystemWidget::AttachLayer(&screen);
    }
    void Release() {
        RenderingSystemWidget::Cleanup(&screen);
        RenderingSystemWidget::ReleaseLayer(&screen);
    }
    ScrollText* Scroll(f32 height, std::vector<const char*> lines) {
        auto* scroll = Add<ScrollText>(*root, "scroll", 5, 6, 300, height);
        scroll->m_NormalStyle.m_FontName = "sans";
        scroll->m_NormalStyle.m_Size = 16;
        scroll->m_NormalStyle.m_Color = "#FFFFFFFF";
        scroll->m_SpecialStyle.m_FontName = "serif";
        scroll->m_SpecialStyle.m_Size = 8;
        scroll->m_SpecialStyle.m_Color = "#FFFF0000";
        scroll->m_LineHeight = 40.0f;
        for (const char* line : lines)
            scroll->m_Lines.push_back(line);
        return scroll;
    }
    static std::string Shown(const AGRenderable* r) {
        const auto* text = static_cast<const AGText*>(r);
        return Drawn(text) ? text->GetString().c_str() : "-";
    }
    static f32 Y(const AGRenderable* r) {
        AGVec3 at;
        r->GetPosition(at);
        return at.y;
    }

    LogCapture log;
    RenderPackage package{{{"frame", 0xFF00FF00u}}, AddEmitter};
    LevelGame game;
    Set level{"level"};
    Screen screen;
    Panel* root = new Panel("root");
    TexturePlayer* player = nullptr;
};

TEST_F(SpecialWidgets, ScrollTextShowsTheLinesThatFitWithSpecialLinesInTheirOwnStyle) {
    const std::vector<u32> before = package.Counts();
    ScrollText* scroll = Scroll(130, {"one", "A_Title", "three", "four", "B_five"});
    Build();
    // Lines of 40: 40, 80 and 120 stay below 130; the fourth would reach 160.
    EXPECT_EQ(scroll->m_ShownLines, 3u);
    ASSERT_EQ(Composite(*scroll)->MemberCount(), 3u);
    EXPECT_EQ(Shown(Member(*scroll, 0)), "one");
    EXPECT_EQ(Shown(Member(*scroll, 1)), "Title");
    for (u32 i = 0; i < 3; ++i)
        EXPECT_EQ(Y(Member(*scroll, i)), 40.0f * f32(i)) << i;
    const GameServices::Bridge::FontList* fonts = scroll->VolatileDatas.GetFonts();
    ASSERT_EQ(fonts->size(), 2u);  // the main font, and one for the one special line built
    const auto* title = static_cast<const AGText*>(Member(*scroll, 1));
    EXPECT_EQ(title->GetFont(), (*fonts)[1]);
    EXPECT_NE((*fonts)[0], (*fonts)[1]);
    EXPECT_EQ(static_cast<const AGText*>(Member(*scroll, 0))->GetFont(), (*fonts)[0]);

    // Without a special font, '_' is text like any other.
    ScrollText* plain = Scroll(500, {"A_Title"});
    plain->m_SpecialStyle.m_FontName = "";
    RenderingSystemWidget::BuildScrollText(*plain);
    EXPECT_EQ(Shown(Member(*plain, 0)), "A_Title");
    Release();
    EXPECT_EQ(package.Counts(), before);
}

TEST_F(SpecialWidgets, ScrollStepRecyclesLinesAndEndsOnce) {
    ScrollText* scroll = Scroll(90, {"a", "b_B", "c"});
    scroll->m_Speed = 50.0f;
    Counter ended;
    scroll->m_ScrollEnded.AddDelegate(&ended.delegate);
    Build();
    ASSERT_EQ(scroll->m_ShownLines, 2u);
    struct Step {
        const char* first;
        const char* second;
        f32 y0, y1;
        int ended;
    };
    // Lines start blank at 0 and 40 and rise 50 a step; one above the top takes the next
    // entry at the bottom of the block, or finishes when there is none.
    const Step steps[] = {{"a", "B", 30, 70, 0}, {"c", "B", 60, 20, 0}, {"c", "-", 10, 50, 0}, {"-", "-", 0, 50, 1},
                          {"-", "-", 0, 50, 1}};
    for (const Step& s : steps) {
        RenderingSystemWidget::UpdateBehaviorState(*scroll);
        const size_t i = &s - steps;
        EXPECT_EQ(Shown(Member(*scroll, 0)), s.first) << "step " << i;
        EXPECT_EQ(Shown(Member(*scroll, 1)), s.second) << "step " << i;
        EXPECT_EQ(Y(Member(*scroll, 0)), s.y0) << "step " << i;
        EXPECT_EQ(Y(Member(*scroll, 1)), s.y1) << "step " << i;
        EXPECT_EQ(ended.count, s.ended) << "step " << i;
    }
    EXPECT_EQ(scroll->m_FinishedLines, 2u);
    // The special entry took the special font, appended once to the main one.
    const GameServices::Bridge::FontList* fonts = scroll->VolatileDatas.GetFonts();
    ASSERT_EQ(fonts->size(), 2u);
    EXPECT_EQ(static_cast<const AGText*>(Member(*scroll, 1))->GetFont(), (*fonts)[1]);
}

TEST_F(SpecialWidgets, EmitterFollowsItsWidgetStopsAndStartsAgain) {
    auto* widget = Add<Emitter3D>(*root, "sparks", 30, 40, 10, 10);
    widget->m_EmitterSource = "spark";
    auto* missing = Add<Emitter3D>(*root, "none", 0, 0, 10, 10);
    missing->m_EmitterSource = "ghost";
    AGBaseProvider* emitters = package.Provider(TypeKey::Emitter3D);
    Build();
    EXPECT_TRUE(log.Contains("This emitter3D doesn't exist!"));
    ASSERT_NE(Composite(*missing), nullptr);
    EXPECT_EQ(Composite(*missing)->MemberCount(), 0u);
    RenderingSystemWidget::UpdateBehaviorState(*missing);

    auto* emitter = widget->VolatileDatas.GetAs<AGEmitter>(Keys::kDATA_EMITTER3D);
    ASSERT_NE(emitter, nullptr);
    EXPECT_EQ(emitters->InstanceCount(authoring::NameId("spark")), 1u);
    EXPECT_EQ(Member(*widget, 0), static_cast<AGRenderable*>(emitter));
    EXPECT_TRUE(Drawn(emitter));
    EXPECT_EQ(emitter->GetEmissionState(), 0u);

    widget->SetPositionXY(70, 80);
    widget->m_Stopped = 1;
    widget->m_Paused = 1;
    RenderingSystemWidget::UpdateBehaviorState(*widget);
    EXPECT_FALSE(emitter->IsRunning());
    EXPECT_TRUE(emitter->IsFrozen());
    emitter->SetForceDirections(AGVec3{0, 0, 1}, AGVec3{0, 0, 1});
    widget->m_Stopped = 0;
    widget->m_Paused = 0;
    RenderingSystemWidget::UpdateBehaviorState(*widget);
    EXPECT_TRUE(emitter->IsRunning());
    EXPECT_FALSE(emitter->IsFrozen());
    EXPECT_EQ(emitter->GetForce1Direction().z, 1.0f);  // both widget vectors zero: kept
    widget->m_ForceDirection1 = AGVec3{0, -1, 0};
    RenderingSystemWidget::UpdateBehaviorState(*widget);
    EXPECT_EQ(emitter->GetForce1Direction().y, -1.0f);
    EXPECT_EQ(emitter->GetForce2Direction().z, 0.0f);

    Release();
    EXPECT_EQ(emitters->InstanceCount(authoring::NameId("spark")), 0u);
    EXPECT_FALSE(widget->VolatileDatas.HasData(Keys::kDATA_EMITTER3D));
}

TEST_F(SpecialWidgets, VideoShowsThePlayersTextureAndLeavesItToThePlayer) {
    VideoAsset intro, paused;
    intro.Name = "intro";
    intro.m_IsPlaying = true;
    intro.m_IsLooped = true;
    paused.Name = "paused";
    paused.m_IsPlaying = false;
    paused.m_IsFullScreen = true;
    paused.m_IsLooped = true;
    GameServices::Bridge::VideoProcessingSystem::SetVideoData(intro,
                                                              GameServices::Bridge::VideoData("Intro.vid", ""));
    level.m_VideoAssets = {&intro, &paused};
    auto* shown = Add<Video>(*root, "shown", 10, 20, 64, 48);
    shown->m_VideoName = "intro";
    shown->m_DefaultImage = "frame";
    auto* still = Add<Video>(*root, "still", 0, 0, 10, 10);
    still->m_VideoName = "paused";
    still->m_DefaultImage = "frame";
    Build();

    EXPECT_EQ(player->calls, (std::vector<std::string>{"stop", "open video/intro.vid", "play loop", "stop"}));
    EXPECT_FALSE(paused.m_IsPlaying || paused.m_IsFullScreen);
    EXPECT_TRUE(GameServices::Bridge::VideoProcessingSystem::GetPlayerLoop());
    EXPECT_EQ(shown->VolatileDatas.GetVideoAsset(), &intro);
    AGSprite* sprite = SpriteAt(*shown, 0);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(Member(*shown, 0), static_cast<AGRenderable*>(sprite));
    EXPECT_EQ(sprite->GetWidth(), 64u);
    AGMaterial* material = sprite->GetMaterial();
    ASSERT_NE(material, nullptr);
    ASSERT_EQ(material->SlotCount(), 1u);
    const AGTextureSlot* slot = material->GetSlot(0);
    EXPECT_EQ(slot->TextureCount(), 1u);
    EXPECT_EQ(slot->GetCurrentTexture(), &player->texture);

    Release();
    EXPECT_EQ(player->texture.RefCount(), 2u);
    EXPECT_FALSE(shown->VolatileDatas.HasData(Keys::kDATA_VIDEOASSET));
    EXPECT_EQ(package.Provider(TypeKey::Sprite)->InstanceCount(authoring::NameId("frame.spt")), 0u);
}

TEST_F(SpecialWidgets, VideoWithoutItsAssetOrLevelGetsNothingAndLivesSafely) {
    auto* lost = Add<Video>(*root, "lost", 0, 0, 10, 10);
    lost->m_VideoName = "ghost";
    lost->m_DefaultImage = "frame";
    VideoAsset clip;
    clip.Name = "clip";
    clip.m_IsPlaying = false;
    level.m_VideoAssets = {&clip};
    auto* noLevel = Add<Video>(*root, "nolevel", 0, 0, 10, 10);
    noLevel->m_VideoName = "clip";
    auto* noSprite = Add<Video>(*root, "nosprite", 0, 0, 10, 10);
    noSprite->m_VideoName = "clip";
    noSprite->m_DefaultImage = "missing";

    RenderingSystemWidget::BuildVideo(*lost);
    game.level = nullptr;
    RenderingSystemWidget::BuildVideo(*noLevel);
    game.level = &level;
    EXPECT_TRUE(log.Contains("can not find the component Level name of this video"));
    EXPECT_EQ(lost->VolatileDatas.Count(), 0u);
    EXPECT_EQ(noLevel->VolatileDatas.Count(), 0u);
    RenderingSystemWidget::BuildVideo(*noSprite);
    EXPECT_TRUE(log.Contains("This sprite doesn't exist!"));
    EXPECT_EQ(Composite(*noSprite)->MemberCount(), 0u);
    for (Widget* w : {static_cast<Widget*>(lost), static_cast<Widget*>(noLevel), static_cast<Widget*>(noSprite)}) {
        RenderingSystemWidget::UpdateVisibility(*w);
        RenderingSystemWidget::UpdateSize(*w);
        RenderingSystemWidget::UpdateBehaviorState(*w);
    }
    RenderingSystemWidget::AttachLayer(&screen);
}

}  // namespace
