#include "gameservices/widget/RenderingSystemWidget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "gameservices/entities/Set.h"
#include "gameservices/widget/Popup.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/support/LogCapture.h"

using namespace widget_test;
namespace Keys = GameServices::Entities::VolatileDataKeys;

namespace {

const std::vector<SpriteFile> kSprites = {{"icons/star", 0xFFFF0000u}, {"icons/star.big", 0xFFFF8000u},
                                          {"b0", 0xFF00FF00u},         {"b1", 0xFF0000FFu},
                                          {"b2", 0xFFFFFF00u},         {"b3", 0xFF00FFFFu},
                                          {"k", 0xFF808080u},          {".x", 0xFF808080u}};

template <typename T, size_t N>
void Name(T (&images)[N], const char* prefix, u32 count) {
    for (u32 i = 0; i < N; ++i)
        images[i] = (prefix + std::to_string(i % count) + ".png").c_str();
}

// Nested panels holding one widget of every drawn kind.
struct Tree {
    Tree() {
        screen.m_RootPanel = root;
        root->Visible = true;
        root->SetWidth(800.0f);
        root->SetHeight(600.0f);
        inner = Add<Panel>(*root, "inner", 10, 10, 700, 500);
        image = Add<Image>(*inner, "image", 0, 0, 64, 64);
        image->m_ImageName = "Icons/Star.Big.PNG";
        image->m_RenderType = "Shiny";  // not a render type: as if none were given
        label = Add<Label>(*inner, "label", 0, 100, 200, 40);
        SetText(label->m_TextStyle, "hello", "Shadow.ttf");
        label->m_TextStyle.m_EffectOffset = AGVec2{2.0f, 3.0f};
        tiny = Add<Label>(*inner, "tiny", 0, 150, 200, 40);
        SetText(tiny->m_TextStyle, "x", "x");
        tiny->Visible = false;
        button = Add<Button>(*inner, "button", 100, 0, 100.9f, 30);
        Name(button->m_Images, "b", 4);
        SetText(button->m_TextStyle, "go", "Shadow.ttf");
        box = Add<CheckBox>(*inner, "box", 0, 200, 100, 20);
        Name(box->m_Images, "b", 4);
        box->m_Check = ImageBox{AGVec2{20, 20}, AGVec2{0, 0}};
        SetText(box->m_TextStyle, "tick");
        box->m_TextOffset = 25;
        box->m_Opacity = 0.5f;
        box->m_RenderType = "OnlyColor";
        hiddenBox = Add<CheckBox>(*inner, "hiddenBox", 0, 0, 10, 10);
        SetText(hiddenBox->m_TextStyle, "h");
        hiddenBox->Visible = false;
        slider = Add<SliderButton>(*inner, "slider", 0, 300, 200, 20);
        Name(slider->m_Images, "b", 4);
        slider->m_Track = ImageBox{AGVec2{100, 20}, AGVec2{20, 0}};
        slider->m_Thumb = ImageBox{AGVec2{20, 20}, AGVec2{20, 0}};
        slider->m_Opacity = 0.5f;
        bar = Add<SliderTrackBar>(*inner, "bar", 0, 350, 200, 20);
        for (auto& i : bar->m_Images)
            i = "Icons/Star.Big.PNG";
        bar->m_RenderType = "Additive";
        bar->m_Track = ImageBox{AGVec2{100, 20}, AGVec2{0, 0}};
        bar->m_Thumb = ImageBox{AGVec2{20, 20}, AGVec2{0, 0}};
        window = Add<ResizableWindow>(*inner, "window", 300, 0, 400, 200);
        for (auto& part : window->m_Parts)
            part = "k";
        window->m_BorderSize = AGVec2{0.1f, 0.1f};
        window->m_CenterSize = AGVec2{0.8f, 0.8f};
        Add<ViewPort3D>(*inner, "view", 0, 0, 10, 10);
        SetText(Add<Button>(*inner, "tinyButton", 0, 0, 10, 10)->m_TextStyle, "y", "x");  // drawn with the level: no layer here
        keyboard = Add<SoftKeyboard>(*inner, "keyboard", 0, 400, 600, 100);
        LayOutKeyboard(*keyboard, {3}, "QWE", "ABC");
    }

    Screen screen;
    Panel* root = new Panel("root");
    Panel* inner;
    Image* image;
    Label *label, *tiny;
    Button* button;
    CheckBox *box, *hiddenBox;
    SliderButton* slider;
    SliderTrackBar* bar;
    ResizableWindow* window;
    SoftKeyboard* keyboard;
};

class WidgetRender : public ::testing::Test {
protected:
    void Build() {
        RenderingSystemWidget::Initialize(&tree.screen);
        RenderingSystemWidget::AttachLayer(&tree.screen);
    }
    void Release() {
        RenderingSystemWidget::Cleanup(&tree.screen);
        RenderingSystemWidget::ReleaseLayer(&tree.screen);
    }
    u32 Clones(const char* sprite) const {
        return package.Provider(TypeKey::Sprite)->InstanceCount(authoring::NameId(sprite));
    }

    LogCapture log;
    RenderPackage package{kSprites};
    Tree tree;
};

}  // namespace

TEST_F(WidgetRender, ACycleMeetsTheIndexContractsAndGivesBackEverything) {
    const std::vector<u32> before = package.Counts();
    Build();
    SpriteAt(*tree.button, 2)->SetSize(7, 7);  // gone with the first tree
    RenderingSystemWidget::Initialize(&tree.screen);
    RenderingSystemWidget::AttachLayer(&tree.screen);
    EXPECT_TRUE(log.Contains("call RenderingSystem::Cleanup(..) before!"));
    EXPECT_EQ(package.shared->ChildCount(), 1u);
    EXPECT_EQ(SpriteAt(*tree.button, 2)->GetWidth(), 100u);
    const auto& t = tree;
    const struct {
        const Widget* widget;
        std::vector<AGRenderable*> members;
        size_t sprites, fonts;
    } cases[] = {
        {t.button, {SpriteAt(*t.button, 0), TextAt(*t.button, 1), TextAt(*t.button, 0)}, 4, 2},
        {t.box, {SpriteAt(*t.box, 0), SpriteAt(*t.box, 3), TextAt(*t.box, 0)}, 6, 1},
        {t.slider, {SpriteAt(*t.slider, 0), SpriteAt(*t.slider, 1), SpriteAt(*t.slider, 8), SpriteAt(*t.slider, 10)}, 12, 0},
        {t.bar, {SpriteAt(*t.bar, 0), SpriteAt(*t.bar, 2)}, 5, 0},
        {t.label, {TextAt(*t.label, 1), TextAt(*t.label, 0)}, 0, 2},
        {t.window, {SpriteAt(*t.window, 0), SpriteAt(*t.window, 1)}, 9, 0},
        {t.keyboard, {SpriteAt(*t.keyboard, 0), TextAt(*t.keyboard, 0), SpriteAt(*t.keyboard, 3)}, 23, 1},
    };
    for (const auto& c : cases) {
        const char* name = c.widget->Name.c_str();
        for (u32 i = 0; i < c.members.size(); ++i) {
            ASSERT_NE(c.members[i], nullptr) << name << " " << i;
            EXPECT_EQ(Member(*c.widget, i), c.members[i]) << name << " " << i;
        }
        const auto* sprites = c.widget->VolatileDatas.GetSprites();
        const auto* fonts = c.widget->VolatileDatas.GetFonts();
        EXPECT_EQ(sprites ? sprites->size() : 0u, c.sprites) << name;
        EXPECT_EQ(fonts ? fonts->size() : 0u, c.fonts) << name;
        const AGVec3& at = Composite(*c.widget)->GetPosition();
        EXPECT_EQ(F({at.x, at.y, Composite(*c.widget)->GetDepth()}),
                  F({c.widget->m_X, c.widget->m_Y, f32(c.widget->m_DrawOrder)}))
            << name;
    }
    // Texts at their offsets, keys' labels on their keys, pictures in their boxes, with the widget's opacity.
    const std::pair<AGRenderable*, std::vector<f32>> placed[] = {{TextAt(*t.label, 1), {2, 3}},
                                                                 {TextAt(*t.box, 0), {25, 0}}};
    for (const auto& [member, expected] : placed)
        EXPECT_EQ(PlaceOf(member), expected);
    for (const Widget* w : std::initializer_list<const Widget*>{t.box, t.slider})
        EXPECT_NEAR(f32(Member(*w, 0)->m_color >> 24), 127.5f, 1.0f) << w->Name.c_str();
    EXPECT_FALSE(Drawn(TextAt(*t.tiny, 0)));  // built hidden
    EXPECT_EQ(Composite(*t.keyboard)->MemberCount(), 2u * 3u + 10u);
    EXPECT_FALSE(Drawn(SpriteAt(*t.box, 3)));
    // Render types set the blend; without a known one the sprite file's stays.
    EXPECT_EQ(U({SpriteAt(*t.bar, 4)->GetBlendMode(), SpriteAt(*t.box, 0)->GetBlendMode(),
                 SpriteAt(*t.button, 0)->GetBlendMode(), static_cast<AGSprite*>(Member(*t.image, 0))->GetBlendMode()}),
              U({AGSprite::kBlendAdditive, AGSprite::kBlendColor, AGSprite::kBlendAlpha, AGSprite::kBlendAlpha}));
    // The Image names its sprite up to the first '.', the other kinds up to the last.
    EXPECT_EQ(Clones("icons/star.spt"), 1u);
    EXPECT_EQ(Clones("icons/star.big.spt"), 5u);
    // Keys step by the truncated width plus spacing.
    EXPECT_EQ(t.keyboard->m_Letters.at(2).x - t.keyboard->m_Letters[0].x, 88.0f);
    Release();
    for (Widget* w : std::initializer_list<Widget*>{t.root, t.image, t.label, t.button, t.box, t.keyboard})
        EXPECT_EQ(w->VolatileDatas.Count(), 0u) << w->Name.c_str();
    EXPECT_EQ(tree.screen.VolatileDatas.Count() + package.shared->ChildCount(), 0u);
    EXPECT_EQ(package.Counts(), before);
    log.Clear();
    Release();  // nothing left to release
    RenderingSystemWidget::ReleaseLayer(static_cast<Popup*>(nullptr));
    EXPECT_TRUE(log.Lines().empty());
    Screen bare;  // without a tree, ReleaseLayer alone gives the layer back
    RenderingSystemWidget::Initialize(&bare);
    RenderingSystemWidget::AttachLayer(&bare);
    RenderingSystemWidget::ReleaseLayer(&bare);
    EXPECT_EQ(bare.VolatileDatas.Count() + package.shared->ChildCount(), 0u);
    EXPECT_EQ(package.Counts(), before);
}

TEST_F(WidgetRender, NinePieceWindowTruncatesItsPieces) {
    Build();
    EXPECT_EQ(SpriteAt(*tree.window, 0)->GetWidth(), 320u);  // laid out when built
    // At 101 wide the border sprites are truncated to 10 and the centre takes what is left.
    RenderingSystemWidget::LayoutResizableWindow(*tree.window, 101.0f, 200.0f);
    EXPECT_EQ(U({SpriteAt(*tree.window, 0)->GetWidth(), SpriteAt(*tree.window, 4)->GetWidth()}), U({80, 10}));
    EXPECT_EQ(PlaceOf(SpriteAt(*tree.window, 4)), F({90, 0}));
    // A state update lays it out at its own size again, with its render type, and shows every piece.
    SpriteAt(*tree.window, 0)->ClearFlags(AGRenderable::kActive | AGRenderable::kShown);
    tree.window->m_RenderType = "Additive";
    RenderingSystemWidget::UpdateBehaviorState(*tree.window);
    EXPECT_TRUE(Drawn(SpriteAt(*tree.window, 0)));
    EXPECT_EQ(SpriteAt(*tree.window, 8)->GetBlendMode(), AGSprite::kBlendAdditive);
    // Scaled in the frame: laid out at the scaled size, its composite keeps only the move.
    tree.window->m_ScaleX = 2.0f;
    tree.window->m_ScaleY = 0.5f;
    RenderingSystemWidget::UpdateTransforms(*tree.root);
    EXPECT_EQ(SpriteAt(*tree.window, 0)->GetHeight(), 80u);
    EXPECT_EQ(Composite(*tree.window)->Transform().m[0], 1.0f);
    Release();
}

TEST_F(WidgetRender, TransformsClipsAndStacking) {
    const std::vector<u32> before = package.Counts();
    tree.root->SetOpacity(0.5f);
    tree.image->m_AnimColor = 0x80FFFFFFu;
    tree.image->m_AnimX = 3.0f;
    tree.image->m_AnimY = 4.0f;
    tree.label->m_Hit.rotation = 0.3f;  // + the animated 0.2, turned as the row-vector rotation about z
    tree.label->m_AnimRotation = 0.2f;
    auto* nested = Add<Panel>(*tree.inner, "nested", 650, 450, 200, 200);
    nested->m_Opacity = 0.5f;
    auto* corner = Add<Panel>(*tree.inner, "corner", -5, -6, 20, 30);
    Popup first, second;
    Panel firstRoot("p1"), secondRoot("p2");
    first.m_Panel = &firstRoot;
    second.m_Panel = &secondRoot;
    RenderingSystemWidget::Initialize(&first);
    RenderingSystemWidget::AttachLayer(&first);
    Build();
    RenderingSystemWidget::Initialize(&second);
    RenderingSystemWidget::AttachLayer(&second);
    RenderingSystemWidget::UpdateTransforms(*tree.root);
    EXPECT_NEAR(tree.image->m_EffectiveOpacity, 0.251f, 0.001f);
    const auto& world = Composite(*tree.image)->Transform().m;
    EXPECT_EQ(F({world[12], world[13]}), F({13.0f, 14.0f}));
    EXPECT_NEAR(Composite(*tree.label)->Transform().m[1], -std::sin(0.5f), 1e-5f);
    platform::gfx::Matrix m;  // only its upper 3 x 3 is written
    std::fill(std::begin(m.m), std::end(m.m), 7.0f);
    RenderingSystemWidget::MatrixRotationAxis(AGVec3{0.0f, 0.0f, 1.0f}, m, 0.5f);
    EXPECT_EQ(F({m.m[2], m.m[3], m.m[10], m.m[15]}), F({0, 7, 1, 7}));
    EXPECT_NEAR(m.m[4], std::sin(0.5f), 1e-6f);
    // Nested panels' rectangles are cut to their parent's; siblings draw in creation order.
    const std::pair<Panel*, std::vector<f32>> clips[] = {{nested, {660, 460, 50, 50}}, {corner, {10, 10, 15, 24}}};
    for (const auto& [panel, rect] : clips) {
        const AGGraphicLayer* clip = Render::LayerOf(*panel);
        EXPECT_EQ(F({clip->GetPosition().x, clip->GetPosition().y, f32(clip->GetWidth()), f32(clip->GetHeight())}),
                  rect);
        EXPECT_EQ(clip->GetOrderKey(), panel->m_DrawOrder);
    }
    EXPECT_EQ(Render::LayerOf(*nested)->GetOpacity(), 0.5f);
    AGGraphicLayer* parent = Render::LayerOf(*tree.inner);
    EXPECT_EQ(parent->GetChild(parent->ChildCount() - 1), Render::LayerOf(*corner));
    for (bool shown : {false, true}) {
        tree.inner->Visible = shown;
        RenderingSystemWidget::UpdateTransforms(*tree.root);
        EXPECT_EQ(Drawn(Member(*tree.image, 0)), shown);
        EXPECT_EQ(Drawn(Member(*tree.label, 0)), shown);
        EXPECT_EQ(Render::LayerOf(*tree.inner)->IsEnabled(), shown);
        EXPECT_FALSE(Drawn(Member(*tree.box, 1)));  // unchecked
        EXPECT_FALSE(Drawn(Member(*tree.tiny, 0)));  // hidden itself
    }
    // Screen (key 1) under the popups (key 2), popups in attach order.
    const std::vector<AGGraphicLayer*> order = {Render::LayerOf(tree.screen), Render::LayerOf(first),
                                                Render::LayerOf(second)};
    ASSERT_EQ(package.shared->ChildCount(), 3u);
    for (u32 i = 0; i < 3; ++i) {
        EXPECT_EQ(package.shared->GetChild(i), order[i]) << i;
        EXPECT_EQ(order[i]->GetOrderKey(), i ? 2u : 1u);
    }
    AGGraphicLayer stranger;
    package.shared->RemoveChildLayer(&stranger);  // not a child: nothing changes
    for (Popup* p : {&first, &second}) {
        RenderingSystemWidget::Cleanup(p);
        RenderingSystemWidget::ReleaseLayer(p);
        EXPECT_EQ(package.shared->GetChild(package.shared->ChildCount() - 1), p == &first ? order[2] : order[0]);
        p->m_Panel = nullptr;  // the panels live on the stack here; a popup deletes its own
    }
    Release();
    EXPECT_EQ(package.shared->ChildCount(), 0u);
    EXPECT_EQ(package.Counts(), before);
}

TEST_F(WidgetRender, SetsBuildEveryRootAndCompositorsStretchTheirContent) {
    GameServices::Entities::Set set;
    Panel a("a"), b("b");
    Image stray("stray");  // not a panel: no root
    Add<Image>(b, "image", 0, 0, 8, 8)->m_ImageName = "k";
    set.m_Widgets = {&a, &stray, &b};
    RenderingSystemWidget::Initialize(&set);
    EXPECT_FALSE(log.Contains("call RenderingSystem::Cleanup(..) before!"));
    RenderingSystemWidget::AttachLayer(&set);
    ASSERT_EQ(Render::LayerOf(set)->ChildCount(), 2u);
    EXPECT_EQ(Render::LayerOf(b)->RenderableCount(), 1u);
    package.shared->AddChildLayer(Render::LayerOf(set));  // as the level renderer hangs it
    RenderingSystemWidget::Cleanup(&set);
    EXPECT_EQ(package.shared->ChildCount(), 0u);
    EXPECT_EQ(b.m_Children[0]->VolatileDatas.Count() + set.VolatileDatas.Count(), 1u);
    // The Set's camera goes back with the level's engine objects.
    auto* providers = set.VolatileDatas.GetEngineProviders();
    Render::GiveBack(TypeKey::Camera, providers->at(0));
    delete providers;

    for (f32 size : {400.0f, 0.0f}) {
        Panel root("root");
        auto* compositor = Add<Panel>(root, "compositor", 0, 0, 800, 600);
        compositor->m_Resizable = 1;
        auto* content = Add<Panel>(*compositor, "content", 0, 0, size, size * 0.75f);
        auto* child = Add<Image>(*content, "child", 10, 20, 30, 40);
        Popup holder;
        holder.m_Panel = &root;
        RenderingSystemWidget::Initialize(&holder);
        const f32 r = size ? 2.0f : 1.0f;
        EXPECT_EQ(F({content->m_Width, content->m_Height, child->m_X, child->m_Y, child->m_Width, child->m_Height}),
                  F({800, 600, 10 * r, 20 * r, 30 * r, 40 * r}));
        RenderingSystemWidget::Cleanup(&holder);
        RenderingSystemWidget::ReleaseLayer(&holder);
        holder.m_Panel = nullptr;
    }
}

// Setters reach the drawn members of a widget and the layer of a panel.
TEST_F(WidgetRender, PropertyHooksReachMembersAndLayers) {
    Panel& inner = *tree.inner;
    Panel* child = Add<Panel>(inner, "nested", 0, 0, 10, 10);
    RenderingSystemWidget::Initialize(&tree.screen);
    Widget& view = *Widget::FindChild("view", tree.root);  // its own layer, as the level renderer builds it
    if (!Render::LayerOf(view))
        view.VolatileDatas.Set(Keys::kDATA_LAYER, new AGGraphicLayer());
    RenderingSystemWidget::AttachLayer(&tree.screen);
    AGGraphicLayer* nested = Render::LayerOf(*child);
    Button& b = *tree.button;
    b.SetColor(0xFF102030u);
    b.SetOpacity(0.5f);
    b.SetScale(AGVec2{2.0f, 3.0f});
    b.SetPositionXY(5.0f, 6.0f);
    EXPECT_EQ(Member(b, 0)->m_color & 0xFFFFFFu, 0x102030u);
    EXPECT_NEAR(f32(Member(b, 2)->m_color >> 24), 127.5f, 1.0f);
    const AGCompositeRenderable& drawn = *Composite(b);
    EXPECT_EQ(F({drawn.Transform().m[0], drawn.Transform().m[5], drawn.GetPosition().x, drawn.GetPosition().y}),
              F({2, 3, 5, 6}));
    inner.SetOpacity(0.25f);
    inner.SetScale(AGVec2{2.0f, 0.5f});
    inner.SetPositionXY(7.0f, 8.0f);
    AGGraphicLayer* layer = Render::LayerOf(inner);
    EXPECT_EQ(F({layer->GetOpacity(), f32(layer->GetWidth()), f32(layer->GetHeight()), layer->GetPosition().x,
                 nested->GetPosition().y}),
              F({0.25f, 1400, 250, 7, 8}));
    for (bool shown : {false, true}) {
        inner.SetVisible(shown);
        EXPECT_EQ(layer->IsEnabled(), shown);
    }
    // The viewport hangs under its panel by draw order and follows its size and visibility.
    AGGraphicLayer* viewport = Render::LayerOf(view);
    view.SetWidth(30.0f);
    view.SetVisible(false);
    EXPECT_EQ(U({viewport->GetOrderKey(), viewport->GetWidth(), viewport->IsEnabled()}), U({view.m_DrawOrder, 30, 0}));
    EXPECT_EQ(viewport->GetParent(), layer);
    // A check box shown again shows its mark only when checked.
    CheckBox& box = *tree.box;
    for (u8 checked : {0, 1}) {
        box.m_Checked = checked;
        box.SetVisible(false);
        EXPECT_FALSE(Drawn(Member(box, 0)) || Drawn(Member(box, 1)));
        box.SetVisible(true);
        EXPECT_EQ(Drawn(Member(box, 0)) + Drawn(Member(box, 1)), 1 + checked);
    }
    auto* picture = static_cast<AGSprite*>(Member(*tree.image, 0));
    const AGMaterial* before = picture->GetMaterial();
    tree.image->SetImage("b1.png");
    namespace Bridge = GameServices::Bridge;
    TString<char> material = Bridge::FileSystem::GetFilePath(Bridge::FILE_WIDGET_DATA, "b1");
    material += ".mat";  // the picture's material, from the widget data
    ASSERT_NE(picture->GetMaterial(), before);
    EXPECT_EQ(picture->GetMaterial()->NameId(), authoring::NameId(material.c_str()));
    Release();
}

TEST_F(WidgetRender, WidgetsShowTheSpritesOfTheirState) {
    const std::vector<u32> before = package.Counts();
    tree.button->m_Images[Button::kDisabled] = "";
    Build();
    Button& b = *tree.button;
    const struct {
        u32 visual;
        u8 locked;
        u32 sprite;
    } buttonCases[] = {{0, 0, 0}, {1, 0, 1}, {2, 0, 2}, {2, 1, 0}};
    b.m_TextStyle.m_Text = "stop";  // texts follow the state changes
    for (const auto& c : buttonCases) {
        log.Clear();
        b.m_ButtonBehavior.m_VisualState = c.visual;
        b.m_InputLocked = c.locked;
        RenderingSystemWidget::UpdateBehaviorState(b);
        EXPECT_EQ(Member(b, 0), SpriteAt(b, c.sprite)) << c.visual << c.locked;
        EXPECT_EQ(log.Lines().size(), c.locked) << c.visual;  // no disabled picture: reported
    }
    EXPECT_STREQ(TextAt(b, 0)->GetString().c_str(), "stop");
    b.m_Images[Button::kDisabled] = "b3";
    RenderingSystemWidget::LoadButtonImage(b, Button::kDisabled);
    EXPECT_EQ(Member(b, 0), SpriteAt(b, 3));
    EXPECT_TRUE(Drawn(Member(b, 0)));
    for (const auto& [width, pixels] : {std::pair{100.9f, 100u}, {-3.0f, 0u}}) {
        b.SetWidth(width);
        EXPECT_EQ(static_cast<AGSprite*>(Member(b, 0))->GetWidth(), pixels) << width;
        RenderingSystemWidget::UpdateBehaviorState(b);
        EXPECT_EQ(SpriteAt(b, 0)->GetWidth() + SpriteAt(b, 2)->GetWidth(), 2 * pixels) << width;
    }
    b.Visible = false;  // a hidden widget keeps its look
    b.m_InputLocked = 0;
    RenderingSystemWidget::UpdateBehaviorState(b);
    RenderingSystemWidget::RefreshKey(b, false, 0, 1);  // not a keyboard
    RenderingSystemWidget::SetSoftKeysVisible(6, b, false);
    EXPECT_EQ(Member(b, 0), SpriteAt(b, 3));
    EXPECT_FALSE(log.Contains("no member"));

    CheckBox& box = *tree.box;
    box.m_CheckBehavior.m_VisualState = 1;
    RenderingSystemWidget::UpdateBehaviorState(box);
    EXPECT_FALSE(Drawn(Member(box, 1)));  // unchecked
    box.m_Checked = 1;
    box.m_Check.m_Position = AGVec2{3.0f, 4.0f};
    box.m_TextStyle.m_Text = "tock";
    RenderingSystemWidget::UpdateBehaviorState(box);
    EXPECT_EQ(Member(box, 0), SpriteAt(box, 1));
    EXPECT_EQ(Member(box, 1), SpriteAt(box, 4));
    EXPECT_EQ(PlaceOf(SpriteAt(box, 5)), F({3, 4}));  // every look moves with the box
    // A reloaded look that is not drawn stays out of the composite.
    box.m_Images[5] = "b3";
    for (u32 state : {2u, 3u})
        RenderingSystemWidget::LoadCheckBoxImage(box, state, true);
    EXPECT_EQ(SpriteAt(box, 5)->NameId(), authoring::NameId("b3.spt"));
    EXPECT_EQ(Member(box, 1), SpriteAt(box, 4));

    SliderButton& s = *tree.slider;
    const struct {
        u8 enabled;
        u32 part, visual;
        u32 members[4];
    } sliderCases[] = {{1, 0, 2, {2, 1, 8, 10}}, {1, 1, 5, {0, 5, 8, 10}}, {0, 0, 2, {6, 7, 9, 11}}};
    s.m_Minimum = 1.0f;
    s.m_Maximum = 3.0f;
    s.m_Value = 2.0f;
    for (const auto& c : sliderCases) {
        s.m_Enabled = c.enabled;
        s.m_SliderBehavior.m_Part = c.part;
        s.m_SliderBehavior.m_VisualState = c.visual;
        RenderingSystemWidget::UpdateBehaviorState(s);
        for (u32 i = 0; i < 4; ++i)
            EXPECT_EQ(Member(s, i), SpriteAt(s, c.members[i])) << c.visual << " member " << i;
    }
    EXPECT_EQ(PlaceOf(Member(s, 3))[0], 60.0f);  // the track's start + half the free 80

    SliderTrackBar& bar = *tree.bar;
    bar.m_Value = 30.0f;
    bar.m_Track.m_Position = AGVec2{5.0f, 2.0f};
    bar.m_TrackBehavior.m_VisualState = 3;
    RenderingSystemWidget::UpdateBehaviorState(bar);
    EXPECT_EQ(Member(bar, 1), SpriteAt(bar, 3));
    EXPECT_EQ(PlaceOf(SpriteAt(bar, 4)), F({35, 2}));
    bar.SetInputLocked(true);
    EXPECT_EQ(Member(bar, 1), SpriteAt(bar, 4));
    EXPECT_FALSE(log.Contains("Check Box") || log.Contains("Slidder"));  // every state had its picture
    Release();
    EXPECT_EQ(package.Counts(), before);
}

TEST_F(WidgetRender, KeyboardTogglesLetterOrderAndDigits) {
    auto keyText = [](const Widget& k, u32 i) { return std::string(TextAt(k, i)->GetString().c_str()); };
    // A key's one-letter label is centred: its glyph leaves equal margins in the 40-pixel key.
    auto centred = [](const AGText* label) {
        const AGVec3* quad = label->GetVertexBuffer()->m_positions.Data();
        return std::abs(quad[0].x - (40.0f - quad[1].x)) < 1.0f;
    };
    auto press = [](SoftKeyboard& k, i32 special) {
        k.m_HoveredSpecial = special;
        k.m_KeyboardBehavior.m_HoveredIsSpecial = 1;
        k.m_KeyboardBehavior.onPress(true);
        k.m_KeyboardBehavior.onPress(false);
    };
    // Twelve keys, then six whose character strings have four characters.
    for (const auto& [rows, qwerty, abcde] :
         {std::tuple{std::vector<u32>{6, 6}, "QWERTYUIOPAS", "ABCDEFGHIJKL"}, {std::vector<u32>{3, 3}, "QWER", "ABCD"}}) {
        Panel root("root");
        auto* k = Add<SoftKeyboard>(root, "keys", 0, 0, 400, 200);
        LayOutKeyboard(*k, rows, qwerty, abcde);
        Popup holder;
        holder.m_Panel = &root;
        RenderingSystemWidget::Initialize(&holder);
        const u32 n = u32(k->m_Letters.size());
        EXPECT_EQ(keyText(*k, 5), n == 12 ? "Y" : " ");
        press(*k, 0);
        EXPECT_EQ(keyText(*k, 0) + keyText(*k, n), "Aqwe");
        EXPECT_TRUE(centred(TextAt(*k, 0)));
        EXPECT_EQ(k->m_Abcde + k->m_Qwerty * 2, 1);
        RenderingSystemWidget::RefreshKey(*k, false, 0, 3);  // no such look
        EXPECT_EQ(Member(*k, 0), SpriteAt(*k, 0));
        EXPECT_EQ(Member(*k, 2 * n), SpriteAt(*k, 3 * n + 2));  // the layout key looks pressed
        press(*k, 1);
        EXPECT_EQ(keyText(*k, 5) + keyText(*k, n + 1), "5abc");
        // From the eleventh key on the keys are hidden; the layout keys stay.
        EXPECT_EQ(Drawn(TextAt(*k, std::min(n - 1, 10u))), n < 11);
        EXPECT_TRUE((Drawn(SpriteAt(*k, 9 * 3)) || n < 10) && Drawn(TextAt(*k, n)));
        press(*k, 1);  // leaves digits in the same order
        EXPECT_EQ(keyText(*k, 0) + keyText(*k, n + 1), "A123");
        EXPECT_TRUE(Drawn(TextAt(*k, n - 1)));
        k->m_InputLocked = 1;  // a locked keyboard ignores its keys
        press(*k, 1);
        k->m_InputLocked = 0;
        EXPECT_EQ(keyText(*k, 0), "A");
        press(*k, 1);
        press(*k, 0);  // leaves digits, back to the first order
        EXPECT_EQ(keyText(*k, 1) + keyText(*k, n + 1), "W123");
        EXPECT_EQ(k->GetEnteredText().Length(), 0u);  // layout keys type nothing
        k->m_HoveredLetter = 0;
        RenderingSystemWidget::UpdateBehaviorState(*k);
        EXPECT_EQ(Member(*k, 0), SpriteAt(*k, 1));  // its hover look
        // Each group of keys hides and shows its looks and its label (backspace its icon, the entry field its own).
        const std::pair<AGRenderable*, AGRenderable*> groups[] = {
            {SpriteAt(*k, 3 * n), TextAt(*k, n)},           {SpriteAt(*k, 3 * n + 3), TextAt(*k, n + 1)},
            {SpriteAt(*k, 3 * n + 6), TextAt(*k, n + 2)},   {SpriteAt(*k, 3 * n + 9), SpriteAt(*k, 3 * n + 12)},
            {SpriteAt(*k, 3 * n + 13), TextAt(*k, n + 3)}};
        for (u32 g = 0; g < 5; ++g)
            for (bool shown : {false, true}) {
                RenderingSystemWidget::SetSoftKeysVisible(g, *k, shown);
                EXPECT_EQ(Drawn(groups[g].first) + Drawn(groups[g].second), shown ? 2 : 0) << g;
            }
        RenderingSystemWidget::SetSoftKeysVisible(6, *k, false);
        EXPECT_FALSE(Drawn(Member(*k, 0)) || Drawn(Member(*k, 2)));
        // Keys shown while the keyboard is hidden wait for it and appear with it.
        k->SetVisible(false);
        RenderingSystemWidget::SetSoftKeysVisible(6, *k, true);
        EXPECT_FALSE(Drawn(Member(*k, 0)));
        k->SetVisible(true);
        EXPECT_TRUE(Drawn(Member(*k, 0)) && Drawn(Member(*k, 2)));
        k->m_TextStyle.m_Color = "#80102030";
        RenderingSystemWidget::UpdateText(*k);
        EXPECT_EQ(TextAt(*k, 0)->m_color + TextAt(*k, n + 2)->m_color, 2 * 0x80102030u);
        k->SetText("QW");  // the entry field shows the entered text
        EXPECT_EQ(keyText(*k, n + 3), "QW");
        RenderingSystemWidget::Cleanup(&holder);
        RenderingSystemWidget::ReleaseLayer(&holder);
        holder.m_Panel = nullptr;
    }
}

TEST_F(WidgetRender, WidgetsWithoutPicturesLiveAndDieSafely) {
    auto* bare = Add<Image>(*tree.inner, "bare", 0, 0, 10, 10);
    auto* lost = Add<Image>(*tree.inner, "lost", 0, 0, 10, 10);
    lost->m_ImageName = "nothere.png";
    auto* blank = Add<Button>(*tree.inner, "blank", 0, 0, 10, 10);
    SetText(blank->m_TextStyle, "b");
    Add<Image>(*tree.inner, "dotted", 0, 0, 10, 10)->m_ImageName = ".x.png";  // a leading '.' is part of the name
    Build();
    EXPECT_EQ(Clones(".x.spt"), 1u);
    EXPECT_TRUE(log.Contains("no sprite is explicitely specified in image definition! Check your .xaml file."));
    EXPECT_TRUE(log.Contains("This sprite doesn't exist!"));
    EXPECT_EQ(Composite(*bare), Composite(*lost));  // none
    ASSERT_EQ(Composite(*blank)->MemberCount(), 1u);
    for (Widget* w : std::initializer_list<Widget*>{bare, lost, blank}) {
        RenderingSystemWidget::UpdateTransforms(*tree.root);
        w->SetVisible(false);
        w->SetInputLocked(true);
        w->SetVisible(true);
        w->SetWidth(20.0f);
        RenderingSystemWidget::SetImage(*w, "k.png");
        RenderingSystemWidget::UpdateBehaviorState(*w);
    }
    bare->SetImage("k.png");
    RenderingSystemWidget::LoadButtonImage(*blank, 2);
    EXPECT_NE(Member(*blank, 0), nullptr);
    Release();
}
