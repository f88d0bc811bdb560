#include "gameservices/widget/RenderingSystemWidget.h"

#include <gtest/gtest.h>

#include <cmath>

#include "gameservices/entities/Set.h"
#include "gameservices/widget/Popup.h"
#include "tests/gameservices/widget/WidgetRenderTest.h"
#include "tests/support/LogCapture.h"

using namespace widget_test;
namespace Keys = GameServices::Entities::VolatileDataKeys;

namespace {

const std::vector<SpriteFile> kSprites = {{"icons/star", 0xFFFF0000u}, {"icons/star.big", 0xFFFF8000u},
                                          {"b0", 0xFF00FF00u}, {"b1", 0xFF0000FFu}, {"b2", 0xFFFFFF00u},
                                          {"b3", 0xFF00FFFFu}, {"k", 0xFF808080u}};

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
        label = Add<Label>(*inner, "label", 0, 100, 200, 40);
        SetText(label->m_TextStyle, "hello", "Shadow.ttf");
        tiny = Add<Label>(*inner, "tiny", 0, 150, 200, 40);
        SetText(tiny->m_TextStyle, "x", "x");
        button = Add<Button>(*inner, "button", 100, 0, 100.9f, 30);
        Name(button->m_Images, "b", 4);
        SetText(button->m_TextStyle, "go", "Shadow.ttf");
        box = Add<CheckBox>(*inner, "box", 0, 200, 100, 20);
        Name(box->m_Images, "b", 4);
        box->m_Check = ImageBox{AGVec2{20, 20}, AGVec2{0, 0}};
        SetText(box->m_TextStyle, "tick");
        slider = Add<SliderButton>(*inner, "slider", 0, 300, 200, 20);
        Name(slider->m_Images, "b", 4);
        slider->m_Track = ImageBox{AGVec2{100, 20}, AGVec2{20, 0}};
        slider->m_Thumb = ImageBox{AGVec2{20, 20}, AGVec2{20, 0}};
        bar = Add<SliderTrackBar>(*inner, "bar", 0, 350, 200, 20);
        for (auto& i : bar->m_Images)
            i = "Icons/Star.Big.PNG";
        window = Add<ResizableWindow>(*inner, "window", 300, 0, 400, 200);
        for (auto& part : window->m_Parts)
            part = "k";
        window->m_BorderSize = AGVec2{0.1f, 0.1f};
        window->m_CenterSize = AGVec2{0.8f, 0.8f};
        keyboard = Add<SoftKeyboard>(*inner, "keyboard", 0, 400, 600, 100);
        LayOutKeyboard(*keyboard, {3}, "QWE", "ABC");
    }

    Screen screen;
    Panel* root = new Panel("root");
    Panel* inner;
    Image* image;
    Label *label, *tiny;
    Button* button;
    CheckBox* box;
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
    RenderingSystemWidget::Initialize(&tree.screen);
    RenderingSystemWidget::AttachLayer(&tree.screen);
    EXPECT_TRUE(log.Contains("call RenderingSystem::Cleanup(..) before!"));
    ASSERT_EQ(package.shared->ChildCount(), 1u);
    EXPECT_EQ(package.shared->GetChild(0), Render::LayerOf(tree.screen));
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
        {t.tiny, {TextAt(*t.tiny, 0)}, 0, 1},
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
    }
    EXPECT_EQ(Composite(*t.tiny)->MemberCount(), 1u);
    EXPECT_FALSE(Drawn(SpriteAt(*t.box, 3)));
    EXPECT_EQ(std::string(TextAt(*t.keyboard, 0)->GetString().c_str()), "Q");
    // The Image names its sprite up to the first '.', the other kinds up to the last.
    EXPECT_EQ(Clones("icons/star.spt"), 1u);
    EXPECT_EQ(Clones("icons/star.big.spt"), 5u);
    // Keys step by the truncated width plus spacing.
    ASSERT_EQ(t.keyboard->m_Letters.size(), 3u);
    EXPECT_EQ(t.keyboard->m_Letters[1].x - t.keyboard->m_Letters[0].x, 44.0f);
    EXPECT_EQ(t.keyboard->m_Letters[2].x - t.keyboard->m_Letters[0].x, 88.0f);
    EXPECT_EQ(t.keyboard->m_Specials.at(3).value, 3u);
    Release();
    for (Widget* w : std::initializer_list<Widget*>{t.root, t.inner, t.image, t.label, t.button, t.box, t.slider,
                                                     t.bar, t.window, t.keyboard})
        EXPECT_EQ(w->VolatileDatas.Count(), 0u) << w->Name.c_str();
    EXPECT_EQ(tree.screen.VolatileDatas.Count(), 0u);
    EXPECT_EQ(package.shared->ChildCount(), 0u);
    EXPECT_EQ(package.Counts(), before);
}

TEST_F(WidgetRender, NinePieceWindowTruncatesItsPieces) {
    Build();
    const struct {
        f32 width;
        u32 piece, w, h;
        f32 x, y;
    } cases[] = {{400, 0, 320, 160, 40, 20}, {400, 1, 40, 20, 0, 0},     {400, 8, 40, 160, 360, 20},
                 {400, 7, 320, 20, 40, 180}, {400, 3, 40, 20, 360, 180}, {101, 0, 80, 160, 10, 20},
                 {101, 4, 10, 20, 90, 0}};
    for (const auto& c : cases) {
        RenderingSystemWidget::LayoutResizableWindow(*tree.window, c.width, 200.0f);
        AGSprite* piece = SpriteAt(*tree.window, c.piece);
        AGVec3 at;
        piece->GetPosition(at);
        EXPECT_EQ(std::vector<f32>({f32(piece->GetWidth()), f32(piece->GetHeight()), at.x, at.y}),
                  std::vector<f32>({f32(c.w), f32(c.h), c.x, c.y}))
            << c.width << " piece " << c.piece;
    }
    Release();
}

TEST_F(WidgetRender, TransformsChainOpacityVisibilityAndClips) {
    tree.root->SetOpacity(0.5f);
    tree.image->m_AnimColor = 0x80FFFFFFu;
    auto* nested = Add<Panel>(*tree.inner, "nested", 650, 450, 200, 200);
    Build();
    RenderingSystemWidget::UpdateTransforms(*tree.root);
    EXPECT_NEAR(tree.image->m_EffectiveOpacity, 0.251f, 0.001f);
    EXPECT_EQ(Composite(*tree.image)->Transform().m[12], 10.0f);
    EXPECT_EQ(tree.image->m_TransformComputed, 1);
    // The nested panel's rectangle is cut to its parent's.
    AGGraphicLayer* clip = Render::LayerOf(*nested);
    EXPECT_EQ(clip->GetPosition().x, 660.0f);
    EXPECT_EQ(clip->GetWidth(), 50u);
    EXPECT_EQ(clip->GetHeight(), 50u);
    // Siblings draw in creation order.
    AGGraphicLayer* parent = Render::LayerOf(*tree.inner);
    EXPECT_EQ(parent->GetChild(parent->ChildCount() - 1), clip);

    tree.inner->Visible = false;
    RenderingSystemWidget::UpdateTransforms(*tree.root);
    EXPECT_FALSE(Drawn(Member(*tree.image, 0)));
    EXPECT_FALSE(Drawn(Member(*tree.label, 0)));
    EXPECT_FALSE(Render::LayerOf(*tree.inner)->IsEnabled());
    tree.inner->Visible = true;
    RenderingSystemWidget::UpdateTransforms(*tree.root);
    EXPECT_TRUE(Drawn(Member(*tree.image, 0)));
    // A check mark stays hidden while unchecked.
    EXPECT_FALSE(Drawn(Member(*tree.box, 1)));
    Release();
}

TEST_F(WidgetRender, ScreensAndPopupsStackByKeyThenAttachOrder) {
    Popup first, second;
    Panel firstRoot("p1"), secondRoot("p2");
    first.m_Panel = &firstRoot;
    second.m_Panel = &secondRoot;
    for (Popup* p : {&first, &second})
        RenderingSystemWidget::Initialize(p);
    RenderingSystemWidget::Initialize(&tree.screen);
    RenderingSystemWidget::AttachLayer(&first);
    RenderingSystemWidget::AttachLayer(&tree.screen);
    RenderingSystemWidget::AttachLayer(&second);
    AGGraphicLayer* shared = package.shared;
    ASSERT_EQ(shared->ChildCount(), 3u);
    EXPECT_EQ(shared->GetChild(0), Render::LayerOf(tree.screen));
    EXPECT_EQ(shared->GetChild(1), Render::LayerOf(first));
    EXPECT_EQ(shared->GetChild(2), Render::LayerOf(second));
    EXPECT_EQ(shared->GetChild(0)->GetOrderKey(), 1u);
    EXPECT_EQ(shared->GetChild(1)->GetOrderKey(), 2u);
    for (Popup* p : {&first, &second}) {
        RenderingSystemWidget::Cleanup(p);
        RenderingSystemWidget::ReleaseLayer(p);
        EXPECT_EQ(p->VolatileDatas.Count(), 0u);
    }
    Release();
    EXPECT_EQ(shared->ChildCount(), 0u);
}

TEST_F(WidgetRender, ASetBuildsAndAttachesEveryRootPanel) {
    GameServices::Entities::Set set;
    Panel a("a"), b("b");
    Add<Image>(b, "image", 0, 0, 8, 8)->m_ImageName = "k";
    set.m_Widgets = {&a, &b};
    RenderingSystemWidget::Initialize(&set);
    RenderingSystemWidget::AttachLayer(&set);
    AGGraphicLayer* layer = Render::LayerOf(set);
    ASSERT_EQ(layer->ChildCount(), 2u);
    EXPECT_EQ(layer->GetChild(1), Render::LayerOf(b));
    EXPECT_EQ(Render::LayerOf(b)->RenderableCount(), 1u);
    RenderingSystemWidget::Cleanup(&set);
    EXPECT_EQ(b.m_Children[0]->VolatileDatas.Count(), 0u);
    EXPECT_EQ(Render::LayerOf(set), nullptr);
    // The Set's camera goes back with the level's engine objects.
    auto* providers = set.VolatileDatas.GetEngineProviders();
    ASSERT_EQ(providers->size(), 1u);
    Render::GiveBack(TypeKey::Camera, providers->front());
    delete providers;
}

TEST_F(WidgetRender, ACompositorStretchesItsContent) {
    for (f32 size : {400.0f, 0.0f}) {
        Panel root("root");
        auto* compositor = Add<Panel>(root, "compositor", 0, 0, 800, 600);
        compositor->m_Resizable = 1;
        auto* content = Add<Panel>(*compositor, "content", 0, 0, size, size * 0.75f);
        auto* child = Add<Image>(*content, "child", 10, 20, 30, 40);
        Popup holder;
        holder.m_Panel = &root;
        RenderingSystemWidget::Initialize(&holder);
        EXPECT_EQ(content->m_Width, 800.0f);
        EXPECT_EQ(content->m_Height, 600.0f);
        EXPECT_EQ(child->m_X, size ? 20.0f : 10.0f) << size;
        EXPECT_EQ(child->m_Height, size ? 80.0f : 40.0f) << size;
        EXPECT_TRUE(std::isfinite(child->m_Width));
        RenderingSystemWidget::Cleanup(&holder);
        RenderingSystemWidget::ReleaseLayer(&holder);
    }
}

TEST_F(WidgetRender, TextsScaleToTheirSizeAndTakeTheirColour) {
    const struct {
        u32 size;
        const char* color;
        f32 scale;
        u32 argb;
    } cases[] = {
        {24, "#FFFFFFFF", 0.75f, 0xFFFFFFFFu}, {0, "FFFFFFFF", 1.0f, 0xFFFFFFFFu},
        {16, "0xFFFFFFFF", 0.5f, 0xFFFFFFFFu}, {8, "", 0.25f, 0xFFFF00FFu},
    };
    for (const auto& c : cases) {
        tree.label->m_TextStyle.m_Size = c.size;
        tree.label->m_TextStyle.m_Color = c.color;
        Build();
        AGText* text = TextAt(*tree.label, 0);
        EXPECT_EQ(text->m_color, c.argb) << c.color;
        // The scale shows in the width of a measured space.
        tree.label->m_TextStyle.m_Text = " ";
        RenderingSystemWidget::UpdateText(*tree.label);
        EXPECT_FLOAT_EQ(RenderingSystemWidget::GetTextWidth(*tree.label), 6.0f * c.scale) << c.size;
        Release();
        tree.label->m_TextStyle.m_Text = "hello";
    }
}

TEST(WidgetRenderNames, FileNamesAndRenderTypes) {
    LogCapture log;
    const struct {
        const char* in;
        const char* font;
        const char* texture;
    } names[] = {{"", "tahoma.fon", ".png"}, {"Sans.TTF", "sans.fon", "sans.png"}, {"Sans", "sans.fon", "sans.png"},
                 {"Menu/Back.PNG", "menu/back.fon", "menu/back.png"}};
    for (const auto& n : names) {
        EXPECT_STREQ(RenderingSystemWidget::GetFontFileName(n.in).c_str(), n.font);
        EXPECT_STREQ(RenderingSystemWidget::GetTextureFileName(n.in).c_str(), n.texture);
    }
    const struct {
        const char* word;
        bool ok;
        i32 type;
    } types[] = {{"DiffuseAlpha", true, 2}, {"onlycolor", true, 0}, {"MORECHROME", true, 5}, {"", false, -1},
                 {"shiny", false, 9}};
    for (const auto& t : types) {
        i32 type = 9;
        EXPECT_EQ(RenderingSystemWidget::ParseRenderType(t.word, type), t.ok) << t.word;
        EXPECT_EQ(type, t.type) << t.word;
    }
    EXPECT_TRUE(log.Contains("invalid render type shiny"));
}

TEST_F(WidgetRender, ButtonsShowTheSpriteOfTheirState) {
    tree.button->m_Images[Button::kDisabled] = "";
    Build();
    Button& b = *tree.button;
    const struct {
        u32 visual;
        bool locked;
        u32 sprite;
    } cases[] = {{2, false, 2}, {1, false, 1}, {0, false, 0}, {2, true, 0}};
    for (const auto& c : cases) {
        log.Clear();
        b.m_ButtonBehavior.m_VisualState = c.visual;
        b.m_InputLocked = c.locked;
        RenderingSystemWidget::UpdateBehaviorState(b);
        EXPECT_EQ(Member(b, 0), SpriteAt(b, c.sprite)) << c.visual << c.locked;
        EXPECT_EQ(log.Lines().size(), c.locked ? 1u : 0u) << c.visual << c.locked;
    }
    // With its disabled picture back, a locked button shows it.
    RenderingSystemWidget::LoadButtonImage(b, Button::kDisabled);
    EXPECT_EQ(SpriteAt(b, 3), nullptr);
    b.m_Images[Button::kDisabled] = "b3";
    RenderingSystemWidget::LoadButtonImage(b, Button::kDisabled);
    EXPECT_EQ(Member(b, 0), SpriteAt(b, 3));
    EXPECT_TRUE(Drawn(Member(b, 0)));
    // A hidden widget keeps its look.
    b.Visible = false;
    b.m_InputLocked = 0;
    RenderingSystemWidget::UpdateBehaviorState(b);
    EXPECT_EQ(Member(b, 0), SpriteAt(b, 3));
    Release();
}

TEST_F(WidgetRender, CheckBoxesAndSlidersShowTheirParts) {
    Build();
    CheckBox& box = *tree.box;
    box.m_Checked = 1;
    box.m_CheckBehavior.m_VisualState = 1;
    RenderingSystemWidget::UpdateBehaviorState(box);
    EXPECT_EQ(Member(box, 0), SpriteAt(box, 1));
    EXPECT_EQ(Member(box, 1), SpriteAt(box, 4));
    EXPECT_TRUE(Drawn(Member(box, 1)));

    SliderButton& s = *tree.slider;
    const struct {
        u8 enabled;
        u32 part, visual;
        u32 members[4];
    } cases[] = {{1, 0, 2, {2, 1, 8, 10}}, {1, 1, 5, {0, 5, 8, 10}}, {0, 0, 2, {6, 7, 9, 11}}};
    s.m_Value = 0.5f;
    for (const auto& c : cases) {
        s.m_Enabled = c.enabled;
        s.m_SliderBehavior.m_Part = c.part;
        s.m_SliderBehavior.m_VisualState = c.visual;
        RenderingSystemWidget::UpdateBehaviorState(s);
        for (u32 i = 0; i < 4; ++i)
            EXPECT_EQ(Member(s, i), SpriteAt(s, c.members[i])) << c.visual << " member " << i;
    }
    // The thumb sits on the track at the value's share of the free length: 20 + 0.5 x 80.
    AGVec3 thumb;
    Member(s, 3)->GetPosition(thumb);
    EXPECT_EQ(thumb.x, 60.0f);

    SliderTrackBar& bar = *tree.bar;
    bar.m_Value = 30.0f;
    bar.m_Track.m_Position = AGVec2{5.0f, 2.0f};
    bar.m_TrackBehavior.m_VisualState = 3;
    RenderingSystemWidget::UpdateBehaviorState(bar);
    EXPECT_EQ(Member(bar, 1), SpriteAt(bar, 3));
    Member(bar, 1)->GetPosition(thumb);
    EXPECT_EQ(thumb.x, 35.0f);
    EXPECT_EQ(thumb.y, 2.0f);
    bar.SetInputLocked(true);
    EXPECT_EQ(Member(bar, 0), SpriteAt(bar, 1));
    EXPECT_EQ(Member(bar, 1), SpriteAt(bar, 4));
    Release();
}

namespace {

std::string KeyText(const Widget& keyboard, u32 text) {
    return TextAt(keyboard, text)->GetString().c_str();
}

void PressSpecial(SoftKeyboard& k, i32 special) {
    k.m_HoveredSpecial = special;
    k.m_KeyboardBehavior.m_HoveredIsSpecial = 1;
    k.m_KeyboardBehavior.onPress(true);
    k.m_KeyboardBehavior.onPress(false);
}

}  // namespace

TEST_F(WidgetRender, KeyboardTogglesLetterOrderAndDigits) {
    for (const auto& [rows, qwerty, abcde] :
         {std::tuple{std::vector<u32>{6, 6}, "QWERTYUIOPAS", "ABCDEFGHIJKL"}, {std::vector<u32>{3, 3}, "QWER", "ABCD"}}) {
        Panel root("root");
        auto* k = Add<SoftKeyboard>(root, "keys", 0, 0, 400, 200);
        LayOutKeyboard(*k, rows, qwerty, abcde);
        Popup holder;
        holder.m_Panel = &root;
        RenderingSystemWidget::Initialize(&holder);
        const u32 n = u32(k->m_Letters.size());
        EXPECT_EQ(KeyText(*k, 5), n == 12 ? "Y" : " ");
        PressSpecial(*k, 0);
        EXPECT_EQ(KeyText(*k, 0), "A");
        EXPECT_EQ(KeyText(*k, n), "qwe");
        PressSpecial(*k, 1);
        EXPECT_EQ(k->m_Digits, 1);
        EXPECT_EQ(KeyText(*k, 5), "5");
        EXPECT_EQ(KeyText(*k, n + 1), "abc");
        if (n == 12) {
            EXPECT_EQ(KeyText(*k, 9), "9");
            EXPECT_FALSE(Drawn(TextAt(*k, 10)));
            EXPECT_FALSE(Drawn(SpriteAt(*k, 33)));
            EXPECT_TRUE(Drawn(SpriteAt(*k, 27)));
        }
        PressSpecial(*k, 0);  // leaves digits, back to the first order
        EXPECT_EQ(k->m_Digits, 0);
        EXPECT_EQ(KeyText(*k, 1), "W");
        EXPECT_TRUE(Drawn(TextAt(*k, n - 1)));
        // The layout keys type nothing, and the hovered key shows its hover look.
        EXPECT_EQ(k->GetEnteredText().Length(), 0u);
        RenderingSystemWidget::RefreshKey(*k, false, 1, 1);
        EXPECT_EQ(Member(*k, 2), SpriteAt(*k, 4));
        RenderingSystemWidget::SetSoftKeysVisible(6, *k, false);
        EXPECT_FALSE(Drawn(Member(*k, 2)));
        RenderingSystemWidget::Cleanup(&holder);
        RenderingSystemWidget::ReleaseLayer(&holder);
    }
}

TEST_F(WidgetRender, RefreshedLabelsKeepOneFontPerText) {
    Build();
    AGResource* sans = package.Provider(TypeKey::Font)->Find(authoring::NameId("sans.fon"));
    const u32 holds = sans->RefCount();
    for (int i = 0; i < 1000; ++i)
        tree.label->SetText(("n" + std::to_string(i)).c_str());
    EXPECT_EQ(tree.label->VolatileDatas.GetFonts()->size(), 2u);
    EXPECT_EQ(sans->RefCount(), holds);
    EXPECT_EQ(std::string(TextAt(*tree.label, 0)->GetString().c_str()), "n999");
    Release();
}

TEST_F(WidgetRender, WidgetsWithoutPicturesLiveAndDieSafely) {
    auto* bare = Add<Image>(*tree.inner, "bare", 0, 0, 10, 10);
    auto* lost = Add<Image>(*tree.inner, "lost", 0, 0, 10, 10);
    lost->m_ImageName = "nothere.png";
    auto* blank = Add<Button>(*tree.inner, "blank", 0, 0, 10, 10);
    SetText(blank->m_TextStyle, "b");
    Build();
    EXPECT_TRUE(log.Contains("no sprite is explicitely specified in image definition! Check your .xaml file."));
    EXPECT_TRUE(log.Contains("This sprite doesn't exist!"));
    EXPECT_EQ(Composite(*bare), nullptr);
    EXPECT_EQ(Composite(*lost), nullptr);
    ASSERT_EQ(Composite(*blank)->MemberCount(), 1u);
    for (Widget* w : std::initializer_list<Widget*>{bare, lost, blank}) {
        RenderingSystemWidget::UpdateTransforms(*tree.root);
        w->SetVisible(false);
        w->SetInputLocked(true);
        w->SetVisible(true);
        w->SetWidth(20.0f);
        RenderingSystemWidget::SetImage(*w, "img.png");
        RenderingSystemWidget::UpdateBehaviorState(*w);
    }
    bare->SetImage("img.png");
    RenderingSystemWidget::LoadButtonImage(*blank, 2);
    EXPECT_NE(Member(*blank, 0), nullptr);
    Release();
}
