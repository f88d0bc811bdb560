#include "gameservices/widget/RenderingSystemWidget.h"

#include <gtest/gtest.h>

#include "gameservices/entities/Set.h"
#include "gameservices/widget/Popup.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/support/LogCapture.h"

using namespace widget_test;

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
struct Tree : ShownRoot {
    Tree() {
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

// The tree shown, with widgets without pictures or with missing ones; hidden again, it leaves
// the package as it found it.
class WidgetRender : public ::testing::Test {
protected:
    void SetUp() override {
        bare = Add<Image>(*tree.inner, "bare", 0, 0, 10, 10);
        lost = Add<Image>(*tree.inner, "lost", 0, 0, 10, 10);
        lost->m_ImageName = "nothere.png";
        blank = Add<Button>(*tree.inner, "blank", 0, 0, 10, 10);
        SetText(blank->m_TextStyle, "b");
        Add<Image>(*tree.inner, "dotted", 0, 0, 10, 10)->m_ImageName = ".x.png";  // a leading '.' is part of the name
        marked = Add<CheckBox>(*tree.inner, "marked", 0, 0, 10, 10);  // a check mark without a box
        marked->m_Images[3] = "k.png";
        before = package.Counts();
        ShowScreen(tree.screen);
    }
    void TearDown() override {
        HideScreen(tree.screen);
        EXPECT_EQ(package.Counts(), before);
    }
    u32 Clones(const char* sprite) const {
        return package.Provider(TypeKey::Sprite)->InstanceCount(authoring::NameId(sprite));
    }

    LogCapture log;
    RenderPackage package{kSprites};
    Tree tree;
    const Tree& t = tree;
    Image *bare = nullptr, *lost = nullptr;
    Button* blank = nullptr;
    CheckBox* marked = nullptr;
    std::vector<u32> before;
};

}  // namespace

TEST_F(WidgetRender, ABuildWithoutCleanupIsReported) {
    SpriteAt(*tree.button, 2)->SetSize(7, 7);  // gone with the first tree
    ShowScreen(tree.screen);
    EXPECT_TRUE(log.Contains("call RenderingSystem::Cleanup(..) before!"));
    EXPECT_TRUE(package.shared->ChildCount() == 1u && SpriteAt(*tree.button, 2)->GetWidth() == 100u);
}

TEST_F(WidgetRender, EachKindHoldsItsMembers) {
    t.bar->SetInputLocked(false);  // the untouched bar's look: its thumb at rest
    const struct { const Widget* widget; std::vector<AGRenderable*> members; size_t sprites, fonts; } cases[] = {
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
                  F({c.widget->m_X, c.widget->m_Y, f32(c.widget->m_DrawOrder)})) << name;
    }
}

TEST_F(WidgetRender, TextsAndPicturesInPlace) {
    // Texts at their offsets, keys' labels on their keys, pictures in their boxes, with the widget's opacity.
    const std::pair<AGRenderable*, std::vector<f32>> placed[] = {{TextAt(*t.label, 1), {2, 3}},
                                                                 {TextAt(*t.box, 0), {25, 0}}};
    for (const auto& [member, expected] : placed)
        EXPECT_EQ(F({PositionOf(member).x, PositionOf(member).y}), expected);
    for (const Widget* w : std::initializer_list<const Widget*>{t.box, t.slider})
        EXPECT_NEAR(f32(Member(*w, 0)->m_color >> 24), 127.5f, 1.0f) << w->Name.c_str();
    EXPECT_FALSE(Drawn(TextAt(*t.tiny, 0)) || Drawn(TextAt(*t.hiddenBox, 0)));  // built hidden
    EXPECT_EQ(Composite(*t.keyboard)->MemberCount(), 2u * 3u + 10u);
    EXPECT_FALSE(Drawn(SpriteAt(*t.box, 3)));
}

TEST_F(WidgetRender, RenderTypesSetLooksAndBlends) {
    RenderingSystemWidget::UpdateBehaviorState(*t.slider);  // neither side hovered: both normal looks
    EXPECT_TRUE(Member(*t.slider, 0) == SpriteAt(*t.slider, 0) && Member(*t.slider, 1) == SpriteAt(*t.slider, 1));
    i32 onlyColor = -1;  // a state sprite already drawn takes the widget's render type
    RenderingSystemWidget::ParseRenderType(t.box->m_RenderType, onlyColor);
    t.keyboard->m_RenderType = t.box->m_RenderType;  // and so does a key's label
    for (AGRenderable* drawn : std::initializer_list<AGRenderable*>{SpriteAt(*t.box, 5), TextAt(*t.keyboard, 0)}) {
        drawn->m_attribute.SetPartCount(1);
        drawn->m_attribute.m_renderTypes[0] = 99;
    }
    RenderingSystemWidget::UpdateBehaviorState(*t.box);
    RenderingSystemWidget::UpdateText(*t.keyboard);
    EXPECT_EQ(U({SpriteAt(*t.box, 5)->m_attribute.m_renderTypes[0], TextAt(*t.keyboard, 0)->m_attribute.m_renderTypes[0]}),
              U({u32(onlyColor), u32(onlyColor)}));
    // Render types set the blend; without a known one the sprite file's stays.
    EXPECT_EQ(U({SpriteAt(*t.bar, 4)->GetBlendMode(), SpriteAt(*t.box, 0)->GetBlendMode(),
                 SpriteAt(*t.button, 0)->GetBlendMode(), static_cast<AGSprite*>(Member(*t.image, 0))->GetBlendMode()}),
              U({AGSprite::kBlendAdditive, AGSprite::kBlendColor, AGSprite::kBlendAlpha, AGSprite::kBlendAlpha}));
    RenderingSystemWidget::UpdateText(*tree.label);  // gives back the fonts it held
}

TEST_F(WidgetRender, SpriteNamesAndKeySteps) {
    // The Image names its sprite up to the first '.', the other kinds up to the last.
    EXPECT_EQ(U({Clones("icons/star.spt"), Clones("icons/star.big.spt")}), U({1, 5}));
    // Keys step by the truncated width plus spacing.
    EXPECT_EQ(t.keyboard->m_Letters.at(2).x - t.keyboard->m_Letters[0].x, 88.0f);
}

TEST_F(WidgetRender, KeyboardLayoutAndDigitsKeys) {
    // The layout key pressed shows its pressed look and labels the letters in the other order;
    // a press while a letter is hovered leaves it alone.
    t.keyboard->m_KeyboardBehavior.m_Pressed = 1;
    RenderingSystemWidget::UpdateBehaviorState(*t.keyboard);
    EXPECT_EQ(Member(*t.keyboard, 6), SpriteAt(*t.keyboard, 9));
    t.keyboard->m_KeyboardBehavior.m_HoveredIsSpecial = 1;
    // A press is handled once. The digits key puts digits on the letters and names the order
    // they left; pressed again, or the layout key pressed, the letters come back.
    std::string labels;
    for (i32 special : {0, -1, 1, 1, 1, 0}) {  // -1: the layout key's press again
        t.keyboard->m_HoveredSpecial = std::max(special, 0);
        t.keyboard->m_KeyboardBehavior.m_PressHandled = special < 0 ? 1 : 0;
        RenderingSystemWidget::UpdateBehaviorState(*t.keyboard);
        for (u32 i = 0; i < 5; ++i)
            labels += std::string(TextAt(*t.keyboard, i)->GetString().c_str()) + (i < 4 ? " " : "/");
    }
    EXPECT_EQ(labels, "A B C qwe 123/A B C qwe 123/0 1 2 qwe abc/A B C qwe 123/0 1 2 qwe abc/Q W E abc 123/");
    EXPECT_EQ(Member(*t.keyboard, 6), SpriteAt(*t.keyboard, 11));
    // Hiding the backspace key hides its icon; group 4 has no key here: the entry field stays.
    for (u32 group : {3u, 4u})
        RenderingSystemWidget::SetSoftKeysVisible(group, *t.keyboard, false);
    EXPECT_TRUE(!Drawn(SpriteAt(*t.keyboard, 21)) && Drawn(SpriteAt(*t.keyboard, 22)));
}

TEST_F(WidgetRender, ScalesAndOpacitiesMultiply) {
    // A scale reaches the drawing and the hit box.
    tree.label->SetScale(AGVec2{2.0f, 3.0f});
    const platform::gfx::Matrix& scaled = Composite(*tree.label)->Transform();
    EXPECT_EQ(F({scaled.m[0], scaled.m[5], t.label->m_Hit.maxX, t.label->m_Hit.maxY}), F({2, 3, 400, 120}));
    // Opacities, moves and scales multiply down the chain; a window's update lays it out at its own size.
    tree.root->SetOpacity(0.5f);
    tree.image->m_AnimColor = 0x80FFFFFFu;
    tree.button->Visible = false;  // hidden without telling the drawing: the update hides it
    RenderingSystemWidget::UpdateTransforms(*tree.root);
    EXPECT_FALSE(Drawn(Member(*tree.button, 0)));
    EXPECT_NEAR(tree.image->m_EffectiveOpacity, 0.251f, 0.001f);
    EXPECT_EQ(F({Composite(*tree.image)->Transform().m[12], scaled.m[0]}), F({10, 2}));  // moved with its panel; the label keeps its scale
    RenderingSystemWidget::LayoutResizableWindow(*tree.window, 101.0f, 200.0f);
    RenderingSystemWidget::UpdateBehaviorState(*tree.window);
    EXPECT_EQ(SpriteAt(*tree.window, 0)->GetWidth(), 320u);
    RenderingSystemWidget::LoadCheckBoxImage(*t.box, 1, false);  // the look it replaces is given back
    RenderingSystemWidget::LoadCheckBoxImage(*t.box, 0, false);  // the look shown is drawn in its place
    EXPECT_EQ(Member(*t.box, 0), SpriteAt(*t.box, 0));
}

TEST_F(WidgetRender, WidgetsWithoutPictures) {
    // The widgets without pictures live and die safely; a width reaches a picture.
    EXPECT_TRUE(Member(*marked, 0) == SpriteAt(*marked, 3) && !Drawn(SpriteAt(*marked, 3)));
    marked->m_Checked = 1;
    RenderingSystemWidget::UpdateVisibility(*marked);
    EXPECT_TRUE(Drawn(SpriteAt(*marked, 3)) && Clones(".x.spt") == 1u);
    EXPECT_TRUE(log.Contains("no sprite is explicitely specified in image definition! Check your .xaml file."));
    EXPECT_TRUE(log.Contains("This sprite doesn't exist!"));
    EXPECT_EQ(Composite(*bare), Composite(*lost));  // none
    ASSERT_EQ(Composite(*blank)->MemberCount(), 1u);
    for (Widget* w : std::initializer_list<Widget*>{bare, lost, blank, t.image}) {
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
    tree.button->Visible = true;  // shown and locked behind the drawing's back: loading the look shows it
    tree.button->m_InputLocked = 1;
    RenderingSystemWidget::LoadButtonImage(*t.button, Button::kDisabled);
    EXPECT_EQ(Member(*t.button, 0), SpriteAt(*t.button, Button::kDisabled));
}

TEST_F(WidgetRender, PanelScaleReachesItsLayer) {
    tree.image->SetWidth(20.0f);  // a width reaches its picture
    // A scale reaches a panel's layer.
    tree.inner->SetScale(AGVec2{0.5f, 2.0f});
    EXPECT_EQ(U({static_cast<AGSprite*>(Member(*tree.image, 0))->GetWidth(), Render::LayerOf(*tree.inner)->GetWidth(),
                 Render::LayerOf(*tree.inner)->GetHeight()}), U({20, 350, 1000}));
}

TEST_F(WidgetRender, HidingGivesEverythingBack) {
    HideScreen(tree.screen);
    for (Widget* w : std::initializer_list<Widget*>{t.root, t.image, t.label, t.button, t.box, t.keyboard})
        EXPECT_EQ(w->VolatileDatas.Count(), 0u) << w->Name.c_str();
    EXPECT_EQ(tree.screen.VolatileDatas.Count() + package.shared->ChildCount(), 0u);
    EXPECT_EQ(package.Counts(), before);
    log.Clear();
    HideScreen(tree.screen);  // nothing left to release
    RenderingSystemWidget::ReleaseLayer(static_cast<Popup*>(nullptr));
    EXPECT_TRUE(log.Lines().empty());
    Screen treeless;  // without a tree, ReleaseLayer alone gives the layer back
    ShowScreen(treeless);
    RenderingSystemWidget::ReleaseLayer(&treeless);
    EXPECT_EQ(treeless.VolatileDatas.Count() + package.shared->ChildCount(), 0u);
    Popup popup;  // a popup's layer holds its panel's; without a device it has no size
    popup.m_Panel = new Panel("panel");
    RenderingSystemWidget::Initialize(&popup);
    RenderingSystemWidget::AttachLayer(&popup);
    const AGGraphicLayer* own = Render::LayerOf(popup);
    EXPECT_TRUE(own && own->GetChild(0) == Render::LayerOf(*popup.m_Panel) && own->GetWidth() + own->GetHeight() == 0u);
    RenderingSystemWidget::Cleanup(&popup);
    RenderingSystemWidget::ReleaseLayer(&popup);
    EXPECT_EQ(package.Counts(), before);
}

TEST_F(WidgetRender, SetsBuildEveryRoot) {
    HideScreen(tree.screen);  // the shared layer holds the set's layer alone
    // Sets build every root, and compositors stretch their content.
    GameServices::Entities::Set set;
    Panel a("a"), b("b");
    Image stray("stray");  // not a panel: no root
    Add<Image>(b, "image", 0, 0, 8, 8)->m_ImageName = "k";
    auto* compositor = Add<Panel>(a, "compositor", 0, 0, 800, 600);  // stretches its one content panel
    compositor->m_Resizable = 1;
    auto* stretched = Add<Image>(*Add<Panel>(*compositor, "content", 0, 0, 400, 300), "child", 10, 20, 30, 40);
    set.m_Widgets = {&a, &stray, &b};
    RenderingSystemWidget::Initialize(&set);
    EXPECT_FALSE(log.Contains("call RenderingSystem::Cleanup(..) before!"));
    // A root layer taken from another parent leaves that parent's children in order.
    AGGraphicLayer old, early;
    old.AddChildLayer(Render::LayerOf(a));
    old.AddChildLayer(&early);
    Render::LayerOf(a)->SetOrderKey(9);
    RenderingSystemWidget::AttachLayer(&set);
    EXPECT_EQ(old.GetChild(0), &early);
    ASSERT_EQ(Render::LayerOf(set)->ChildCount(), 2u);
    EXPECT_EQ(F({stretched->m_X, stretched->m_Height}), F({20, 80}));
    EXPECT_EQ(Render::LayerOf(b)->RenderableCount(), 1u);
    package.shared->AddChildLayer(Render::LayerOf(set));  // as the level renderer hangs it
    RenderingSystemWidget::Cleanup(&set);
    EXPECT_EQ(package.shared->ChildCount(), 0u);
    EXPECT_EQ(b.m_Children[0]->VolatileDatas.Count() + set.VolatileDatas.Count(), 1u);
    // The Set's camera goes back with the level's engine objects.
    auto* providers = set.VolatileDatas.GetEngineProviders();
    Render::GiveBack(TypeKey::Camera, providers->at(0));
    delete providers;
}
