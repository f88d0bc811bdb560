// A screen built in code, drawn on the offscreen device: images, a label, a button driven by
// the pointer through the devices and the team actions, opacity, hiding, clipping, popups.
#include <gtest/gtest.h>

#include <memory>

#include "engine/core/AGDeviceManager.h"
#include "engine/core/PCInputRecord.h"
#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/widget/Popup.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/gameservices/game/ActionTestSetup.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/support/LogCapture.h"

using namespace widget_test;
using namespace GameServices::KorvoGame;

namespace {

constexpr u32 kClear = drawtest::kBlack;
constexpr u32 kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu, kYellow = 0xFFFFFF00u,
              kCyan = 0xFF00FFFFu, kPink = 0xFFFF80C0u, kOlive = 0xFF808000u;

class WidgetDrawing : public drawtest::DeviceFixture<320, 240> {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        if (HasFatalFailure())
            return;
        g_inputRecord.Reset();
        AGDeviceManager::SetInstance(&inputDevices);
        inputDevices.RegisterDevices();
        folder.WriteContext("Default", ActionItem("Moves", "move", "axis-all") +
                                           ActionItem("Click", "button", "mouseleft", "none"));
        actions.SetActionContext("Default");
        LoadCapacities(home, {{"FactoryDeviceTriggerKey", 4}, {"FactoryDeviceTriggerMove", 4}});
        devices = std::make_unique<GameServices::Bridge::DeviceSystem>();
        devices->Startup();
        teams = std::make_unique<TeamActionManager>(actions, deviceManager);
        teams->SetEnabled(true);
        player.m_DeviceId = 0;
        player.m_Active = 1;
        teams->SetMember(0, &player);
        package = std::make_unique<RenderPackage>(std::vector<SpriteFile>{
            {"red", kRed}, {"b0", kGreen}, {"b1", kBlue}, {"b2", kYellow}, {"b3", kCyan}, {"pink", kPink},
            {"olive", kOlive}, {"k", kOlive}});

        screen.m_RootPanel = root;
        root->Visible = true;
        root->SetWidth(320.0f);
        root->SetHeight(240.0f);
        Add<Image>(*root, "image", 10, 10, 64, 64)->m_ImageName = "red";
        label = Add<Label>(*root, "label", 100, 10, 100, 40);
        SetText(label->m_TextStyle, "WW");
        label->m_RenderType = "Additive";
        button = Add<Button>(*root, "button", 200, 100, 80, 40);
        for (u32 i = 0; i < 4; ++i)
            button->m_Images[i] = ("b" + std::to_string(i)).c_str();
        keyboard = Add<SoftKeyboard>(*root, "keyboard", 100, 180, 200, 50);
        LayOutKeyboard(*keyboard, {3}, "QWE", "ABC");
        keyboard->m_MaxEntryTextChar = 8;
        auto* window = Add<ResizableWindow>(*root, "window", 250, 10, 60, 60);
        for (auto& part : window->m_Parts)
            part = "k";
        window->m_BorderSize = AGVec2{0.1f, 0.1f};
        window->m_CenterSize = AGVec2{0.8f, 0.8f};
        auto* clip = Add<Panel>(*root, "clip", 10, 150, 30, 64);
        clipped = Add<Image>(*clip, "clipped", 0, 0, 64, 64);
        clipped->m_ImageName = "red";
        clipped->m_RenderType = "Additive";
        RenderingSystemWidget::Initialize(&screen);
        RenderingSystemWidget::AttachLayer(&screen);
        Draw();
    }
    void TearDown() override {
        for (Popup* p : popups) {
            RenderingSystemWidget::Cleanup(p);
            RenderingSystemWidget::ReleaseLayer(p);
        }
        RenderingSystemWidget::Cleanup(&screen);
        RenderingSystemWidget::ReleaseLayer(&screen);
        delete screen.m_RootPanel;
        screen.m_RootPanel = nullptr;
        button = nullptr;
        package.reset();
        teams.reset();
        devices.reset();
        AGDeviceManager::SetInstance(nullptr);
        g_inputRecord.Reset();
        DeviceFixture::TearDown();
    }
    void Draw() {
        RenderingSystemWidget::UpdateTransforms(*root);
        Frame();
    }
    // The pointer at a pixel, the left button as given, for two device frames.
    void Pointer(f32 x, f32 y, bool down) {
        g_inputRecord.mouseX = x / f32(kWidth - 1);
        g_inputRecord.mouseY = y / f32(kHeight - 1);
        g_inputRecord.mouseInside = 1;
        g_inputRecord.buttons = down ? kMouseLeft : 0;
        Frames();
        Draw();
    }
    void Frames() {
        for (int i = 0; i < 2; ++i) {
            devices->Update(16);
            AGDeviceManager::Get()->Update();
        }
    }
    // A popup whose panel holds one solid image at the rectangle.
    Popup& AddPopup(const char* sprite, f32 x, f32 y) {
        auto* owned = new Panel("popup");  // the popup deletes its panel
        Panel& panel = *owned;
        panel.Visible = true;
        panel.SetWidth(320.0f);
        panel.SetHeight(240.0f);
        Add<Image>(panel, "cover", x, y, 50, 30)->m_ImageName = sprite;
        popupOwners.push_back(std::make_unique<Popup>());
        Popup& popup = *popupOwners.back();
        popup.m_Panel = owned;
        popups.push_back(&popup);
        RenderingSystemWidget::Initialize(&popup);
        RenderingSystemWidget::AttachLayer(&popup);
        return popup;
    }

    LogCapture log;
    TempDir home;
    AGDeviceManager inputDevices;
    ActionsFolder folder;
    std::unique_ptr<GameServices::Bridge::DeviceSystem> devices;
    DeviceManager deviceManager;
    ActionManager actions;
    std::unique_ptr<TeamActionManager> teams;
    GameServices::Entities::BaseTeamMember player;
    std::unique_ptr<RenderPackage> package;
    Screen screen;
    Panel* root = new Panel("root");
    Label* label = nullptr;
    Button* button = nullptr;
    SoftKeyboard* keyboard = nullptr;
    Image* clipped = nullptr;
    std::vector<std::unique_ptr<Popup>> popupOwners;
    std::vector<Popup*> popups;
};

}  // namespace

TEST_F(WidgetDrawing, ImagesLabelsAndClipping) {
    EXPECT_EQ(Pixel(40, 40), kRed);
    EXPECT_EQ(Pixel(73, 73), kRed);
    EXPECT_EQ(Pixel(75, 40), kClear);
    EXPECT_EQ(Pixel(40, 75), kClear);
    EXPECT_EQ(Pixel(280, 40), kOlive);  // the window's centre piece
    EXPECT_EQ(Pixel(280, 72), kClear);
    // Glyph pixels, and only inside the label's box.
    int inside = 0, outside = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 90; x < 220; ++x)
            if (Pixel(x, y) != kClear)
                ++(x >= 100 && x < 200 && y >= 10 && y < 50 ? inside : outside);
    EXPECT_GT(inside, 20);
    EXPECT_EQ(outside, 0);
    // Additive, over black. Texts take the widget's render type when built and refreshed; without one a
    // refresh leaves them a type of their own (kAny).
    auto typeOf = [](const AGRenderable* r) {
        return r->m_attribute.PartCount() ? r->m_attribute.m_renderTypes[0] : 99u;
    };
    EXPECT_EQ(std::vector<u32>({typeOf(Render::CompositeOf(*clipped)->GetMember(0)), typeOf(TextAt(*label, 0))}),
              std::vector<u32>({AGRenderAttribute::kAdditive, AGRenderAttribute::kAdditive}));
    constexpr u32 kAny = ~0u;
    for (const auto& [type, expected] : {std::pair<const char*, u32>{"OnlyColor", AGRenderAttribute::kOnlyColor},
                                         {"Additive", AGRenderAttribute::kAdditive}, {"", kAny}}) {
        label->m_RenderType = keyboard->m_RenderType = type;
        label->SetText("WW");
        RenderingSystemWidget::UpdateText(*keyboard);
        for (const AGText* text : {TextAt(*label, 0), TextAt(*keyboard, 0)})
            EXPECT_TRUE(expected == kAny ? typeOf(text) <= AGRenderAttribute::kAdditive : typeOf(text) == expected)
                << type << " " << typeOf(text);
    }
    // The narrow panel cuts its image at its right edge.
    EXPECT_EQ(Pixel(39, 180), kRed);
    EXPECT_EQ(Pixel(41, 180), kClear);
    Widget::FindChild("image", root)->SetWidth(32.0f);
    Draw();
    EXPECT_EQ(Pixel(40, 40), kRed);
    EXPECT_EQ(Pixel(60, 40), kClear);
}

TEST_F(WidgetDrawing, OpacityAndHidingFollowTheRootPanel) {
    root->SetOpacity(0.5f);
    Draw();
    EXPECT_TRUE(gfxtest::ColorNear(Pixel(40, 40), 0xFF800000u, 3));
    root->SetOpacity(1.0f);
    root->SetVisible(false);
    Draw();
    EXPECT_EQ(Pixel(40, 40), kClear);
    EXPECT_EQ(Pixel(240, 120), kClear);
}

TEST_F(WidgetDrawing, TheButtonFollowsThePointerAndPopupsDrawOver) {
    EXPECT_EQ(Pixel(240, 120), kGreen);
    Pointer(240, 120, false);
    EXPECT_EQ(Pixel(240, 120), kYellow);
    Pointer(240, 120, true);
    EXPECT_EQ(Pixel(240, 120), kBlue);
    Pointer(240, 120, false);
    EXPECT_EQ(Pixel(240, 120), kYellow);

    AddPopup("pink", 215, 105);
    Frame();
    EXPECT_EQ(Pixel(240, 120), kPink);
    EXPECT_EQ(Pixel(40, 40), kRed);
    AddPopup("olive", 225, 110);
    Frame();
    EXPECT_EQ(Pixel(240, 120), kOlive);
    EXPECT_EQ(Pixel(220, 107), kPink);
}

TEST_F(WidgetDrawing, KeyClicksAndTypedCharactersFillTheKeyboard) {
    for (bool down : {false, true, false})
        Pointer(130.0f, 200.0f, down);  // the first key, Q
    g_inputRecord.PushTyped(u'A');
    Frames();
    EXPECT_STREQ(keyboard->GetEnteredText().c_str(), "QA");
    EXPECT_STREQ(TextAt(*keyboard, 6)->GetString().c_str(), "QA");  // the entry field
    g_inputRecord.PushTyped(8);
    Frames();
    EXPECT_STREQ(keyboard->GetEnteredText().c_str(), "Q");
    EXPECT_FALSE(log.Contains("de-synchronization"));
}
