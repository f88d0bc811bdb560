// A level Set built in code and drawn on the offscreen device with a screen over it: a sprite
// prop under an orthographic camera, moved and hidden; a screen drawn over the level whether
// it came before or after the level's pipeline; a viewport showing a level component. Layouts
// built by the widget builder and drawn on a 1024 x 768 device: a nine-piece window of nine
// distinct pictures, and widgets of a design-size layout scaled to the window, pressed where drawn.
#include <gtest/gtest.h>

#include <memory>

#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/widget/WidgetManager.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/gameservices/widget/LayoutTestSetup.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/gameservices/widget/WidgetTestGame.h"
#include "tests/support/LogCapture.h"

using namespace widget_test;
using GameServices::Bridge::RenderableModelData;
namespace Entities = GameServices::Entities;
namespace Keys = GameServices::Entities::VolatileDataKeys;

namespace {

constexpr u32 kClear = drawtest::kBlack;
constexpr u32 kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;

// The nine pieces in the window's part order, each of its own colour and sprite ("p<i>").
constexpr const char* kPlaces[9] = {"Center", "TopLeft", "BottomLeft", "BottomRight", "TopRight",
                                    "Top",    "Left",    "Bottom",     "Right"};
constexpr u32 kColours[9] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u, 0xFF00FFFFu,
                             0xFFFF00FFu, 0xFFFF8000u, 0xFF80FF00u, 0xFF0080FFu};
constexpr u32 kGrey = 0xFF808080u;

// A camera looking at the screen as a screen camera does: one unit a pixel, y downwards.
void ScreenLike(Entities::Camera& camera) {
    camera.Activate = true;
    camera.Orthographic = true;
    camera.Position = AGVec3{512, 384, 50};
    camera.LookAt = AGVec3{512, 384, 0};
    camera.Up = AGVec3{0, -1, 0};
}

class LevelDrawing : public drawtest::DeviceFixture<1024, 768>, public ShownRoot {
protected:
    void SetUp() override {
        DeviceFixture::SetUp();
        if (HasFatalFailure())
            return;
        LoadCapacities(home, {{"FactoryRenderableModelData", 8}});
        std::vector<SpriteFile> sprites = {{"red", kRed}, {"green", kGreen}, {"blue", kBlue}, {"button", kGrey}};
        for (u32 i = 0; i < 9; ++i)
            sprites.push_back({"p" + std::to_string(i), kColours[i]});
        package = std::make_unique<RenderPackage>(sprites);
        RenderingSystem::Startup();
        RenderingSystemWidget::InstallLevelRendering();
        game.level = &level;
        ScreenLike(cam);
        ScreenLike(eye);
        Describe(cam, "");
        Describe(eye, "");
        Place(chip, "red.spt", 40, 40);
        Place(dot, "green.spt", 20, 20);
        level.m_Cameras.push_back(&cam);
        level.m_Props.push_back(&chip);
        view.m_LoadingMode = Entities::ComponentLevel::kLoadIn3DViewport;
        view.m_Cameras.push_back(&eye);
        view.m_Props.push_back(&dot);
        level.m_ComponentLevels.push_back(&view);
        root->SetWidth(320.0f);
        root->SetHeight(240.0f);
        Add<Image>(*root, "cover", 36, 36, 8, 8)->m_ImageName = "blue";
        viewport = Add<ViewPort3D>(*root, "viewport", 10, 10, 100, 100);
        viewport->m_ComponentLevel = "View";
    }
    void TearDown() override {
        if (package) {
            HideScreen(screen);
            RenderingSystem::Cleanup(&level);
            // The shared layer leaves the device: no frame draws it once deleted.
            const u32 layers = m_device.GetLayerCount();
            RenderingSystem::Shutdown();
            EXPECT_EQ(m_device.GetLayerCount(), layers - 1);
            level.RemoveAll();
            view.RemoveAll();
            package.reset();
        }
        DeviceFixture::TearDown();
    }
    void Describe(Entities::Entity& e, const char* file) {
        data.push_back(std::make_unique<RenderableModelData>(file, ""));
        data.back()->m_RenderableKind = RenderableModelData::RenderableKindOf(file);
        described.push_back(&e);
    }
    // The level start; the clean-up takes the descriptions off the entities.
    void StartLevel() {
        for (size_t i = 0; i < described.size(); ++i)
            described[i]->VolatileDatas.Set(Keys::kRENDERABLE_MODEL_DATA, data[i].get());
        RenderingSystem::Initialize(&level);
    }
    void Place(Entities::Prop& prop, const char* file, f32 x, f32 y) {
        Describe(prop, file);
        prop.Visible = true;
        prop.SetPosition(AGVec3{x, y, 0});
        prop.SetScale(2.0f);
    }
    void ShowScreen() {
        widget_test::ShowScreen(screen);
        RenderingSystemWidget::UpdateTransforms(*root);
    }
    void Draw() {
        RenderingSystem::Update(&level);
        Frame();
    }
    // A move to the point and a press and release there.
    void TapAt(f32 x, f32 y) {
        game.Move(game.members[0], x, y);
        game.Tap(game.members[0], x, y);
    }

    TempDir home;
    LogCapture log;
    std::unique_ptr<RenderPackage> package;
    TestGame game;
    std::vector<std::unique_ptr<RenderableModelData>> data;
    std::vector<Entities::Entity*> described;
    Entities::Camera cam{"Cam"}, eye{"Eye"};
    Entities::Prop chip{"Chip"}, dot{"Dot"};
    Entities::ComponentLevel view{"View"};
    Entities::Set level{"Level"};
    ViewPort3D* viewport = nullptr;
};

}  // namespace

TEST_F(LevelDrawing, AViewportShowsItsComponentAndEitherReleaseOrderLeavesNoDanglingLayer) {
    // Before the level start, without its component, or with no level: reported, left empty.
    const struct { Entities::Set* level; const char* component; const char* report; } missing[] = {
        {&level, "View", "has no camera or 3D layer yet"},
        {&level, "Elsewhere", "the level doesn't have the Component :Elsewhere"},
        {nullptr, "View", "the level doesn't have the Component :View"}};
    for (const auto& c : missing) {
        game.level = c.level;
        viewport->m_ComponentLevel = c.component;
        ShowScreen();
        EXPECT_TRUE(log.Contains(c.report)) << c.report;
        viewport->SetWidth(120.0f);
        RenderingSystemWidget::UpdateSize(*viewport);
        RenderingSystemWidget::UpdateVisibility(*viewport);
        HideScreen(screen);
    }
    game.level = &level;
    viewport->m_ComponentLevel = "View";
    viewport->SetWidth(100.0f);
    // A started component with no active camera: reported, left empty.
    eye.Activate = false;
    StartLevel();
    log.Clear();
    ShowScreen();
    EXPECT_EQ(Render::LayerOf(*viewport), nullptr);
    HideScreen(screen);
    RenderingSystem::Cleanup(&level);
    eye.Activate = true;
    for (bool screenFirst : {true, false}) {
        StartLevel();
        Draw();
        // Not under the shared layer: nothing of the component draws without its viewport.
        EXPECT_EQ(Pixel(34, 34), kClear);
        ShowScreen();
        Draw();
        // The dot at 20, 20 shows shifted by the viewport's place.
        EXPECT_EQ(Pixel(34, 34), kGreen);
        AGGraphicLayer* v = Render::LayerOf(*viewport);
        AGGraphicLayer* d = view.VolatileDatas.GetAs<AGGraphicLayer>(Keys::kENGINE_DATA_LAYER_3D);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(d->GetWidth() * 1000 + d->GetHeight(), 100100u);
        // Resizing the viewport resizes the component's layer with it.
        viewport->SetWidth(80.0f);
        RenderingSystemWidget::UpdateSize(*viewport);
        EXPECT_EQ(d->GetWidth(), 80u);
        viewport->SetWidth(100.0f);
        RenderingSystemWidget::UpdateSize(*viewport);
        viewport->Visible = false;
        RenderingSystemWidget::UpdateVisibility(*viewport);
        Draw();
        EXPECT_EQ(Pixel(34, 34), kClear);
        viewport->Visible = true;
        if (screenFirst) {
            HideScreen(screen);
            EXPECT_EQ(d->GetParent(), nullptr);
            RenderingSystem::Cleanup(&level);
        } else {
            RenderingSystem::Cleanup(&level);
            EXPECT_EQ(v->ChildCount(), 0u);
            Draw();
            HideScreen(screen);
        }
    }
}


// An 800 x 600 layout built as a screen builds it, drawn on the 1024 x 768 window scaled by 1.28.
TEST_F(LevelDrawing, NinePiecesInTheirPlacesAndClicksWhereWidgetsAreDrawn) {
    std::string window = "<GsWidgetLibrary:ResizableWindow Margin='400,300,0,0' Width='400' Height='200' "
                         "ImageBorderSize='0.1,0.08' ImageCenterSize='0.8,0.84'";
    for (u32 i = 0; i < 9; ++i)
        window += std::string(" Image") + kPlaces[i] + "Default='x/P" + std::to_string(i) + ".png'";
    home.Write("-xml/screen/drawn.xaml",
               Layout("<Grid Margin='40,30,0,0' Width='760' Height='570'><GsWidgetLibrary:Button Margin='60,70,0,0' "
                      "Width='50' Height='20' ImageDefault='Button.png'/></Grid>" + window + "/>"));
    GameServices::Bridge::FileSystem::SetRootPath(TString<char>((home.Path() + "/").c_str()));
    delete root;
    screen.m_RootPanel = root = WidgetManager::Instance().BuildPanel(nullptr, "drawn.xaml", true);
    ShowScreen();
    Frame();
    // The window, drawn 512 x 256 from (512, 384): corners 51 x 20, centre 409 x 215; the middle of
    // each piece, in part order, each of its own picture. The pieces reach the window's last row.
    const int xs[9] = {767, 537, 537, 997, 997, 767, 537, 767, 997};
    const int ys[9] = {511, 394, 629, 629, 394, 394, 511, 629, 511};
    for (u32 i = 0; i < 9; ++i)
        EXPECT_EQ(Pixel(xs[i], ys[i]), kColours[i]) << kPlaces[i];
    EXPECT_TRUE(Pixel(767, 638) == kColours[7] && Pixel(767, 642) == kClear);
    // The button at (100, 100) in its grid, 50 x 20, is drawn at (128, 128), 64 x 25.6: a click hits
    // it there only, not where the unscaled layout has it (212, 184).
    auto* grid = static_cast<Panel*>(screen.m_RootPanel->m_Children[0]);
    Counter clicks;
    grid->m_Children.at(0)->AddEventDelegate(kEventClick, &clicks.delegate);
    EXPECT_EQ(Pixel(160, 140), kGrey);  // the drawn centre
    const struct { f32 x, y; int clicks; } taps[] = {{237, 194, 0}, {160, 140, 1}, {130, 152, 2}, {194, 140, 2}};
    for (const auto& tap : taps) {
        TapAt(tap.x, tap.y);
        EXPECT_EQ(clicks.count, tap.clicks) << tap.x << "," << tap.y;
    }
    // A soft key is scaled with its keyboard: a key at (200, 100), 20 x 20, in a keyboard at the
    // grid's corner is drawn at (307.2, 166.4), 25.6 x 25.6.
    SoftKeyboard* keys = Add<SoftKeyboard>(*grid, "keys", 0, 0, 300, 200);
    keys->m_MaxEntryTextChar = 4;
    keys->m_QwertyChars = "Q";
    SoftKey& key = keys->m_Letters.emplace_back();
    key.x = 200.0f;
    key.y = 100.0f;
    key.maxX = key.maxY = 20.0f;
    TapAt(320, 179);
    EXPECT_EQ(keys->GetEnteredText(), "Q");
}
