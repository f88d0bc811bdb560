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
        bar->m_RenderType = "Additive";
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
    EXPECT_EQ(Widget::FindChild("tinyButton", t.root)->VolatileDatas.GetTexts()->size(), 2u);
    EXPECT_FALSE(Drawn(SpriteAt(*t.box, 3)));
    EXPECT_EQ(SpriteAt(*t.bar, 4)->GetBlendMode(), 3u);
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
    // Scaled in the frame: laid out at the scaled size, its composite keeps only the move.
    tree.window->m_ScaleX = 2.0f;
    RenderingSystemWidget::UpdateTransforms(*tree.root);
    EXPECT_EQ(SpriteAt(*tree.window, 0)->GetWidth(), 640u);
    EXPECT_EQ(Composite(*tree.window)->Transform().m[0], 1.0f);
    Release();
}

TEST_F(WidgetRender, TransformsClipsAndStacking) {
    tree.root->SetOpacity(0.5f);
    tree.image->m_AnimColor = 0x80FFFFFFu;
    auto* nested = Add<Panel>(*tree.inner, "nested", 650, 450, 200, 200);
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
    EXPECT_EQ(Composite(*tree.image)->Transform().m[12], 10.0f);
    tree.label->m_Hit.rotation = 0.5f;  // turned as the row-vector rotation about z
    RenderingSystemWidget::UpdateTransforms(*tree.root);
    EXPECT_NEAR(Composite(*tree.label)->Transform().m[1], -std::sin(0.5f), 1e-5f);
    // The nested panel's rectangle is cut to its parent's; siblings draw in creation order.
    AGGraphicLayer* clip = Render::LayerOf(*nested);
    EXPECT_EQ(std::vector<f32>({clip->GetPosition().x, f32(clip->GetWidth()), f32(clip->GetHeight())}),
              std::vector<f32>({660.0f, 50.0f, 50.0f}));
    AGGraphicLayer* parent = Render::LayerOf(*tree.inner);
    EXPECT_EQ(parent->GetChild(parent->ChildCount() - 1), clip);
    for (bool shown : {false, true}) {
        tree.inner->Visible = shown;
        RenderingSystemWidget::UpdateTransforms(*tree.root);
        EXPECT_EQ(Drawn(Member(*tree.image, 0)), shown);
        EXPECT_EQ(Drawn(Member(*tree.label, 0)), shown);
        EXPECT_EQ(Render::LayerOf(*tree.inner)->IsEnabled(), shown);
        EXPECT_FALSE(Drawn(Member(*tree.box, 1)));  // unchecked
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
}

TEST_F(WidgetRender, SetsBuildEveryRootAndCompositorsStretchTheirContent) {
    GameServices::Entities::Set set;
    Panel a("a"), b("b");
    Add<Image>(b, "image", 0, 0, 8, 8)->m_ImageName = "k";
    set.m_Widgets = {&a, &b};
    RenderingSystemWidget::Initialize(&set);
    RenderingSystemWidget::AttachLayer(&set);
    ASSERT_EQ(Render::LayerOf(set)->ChildCount(), 2u);
    EXPECT_EQ(Render::LayerOf(b)->RenderableCount(), 1u);
    RenderingSystemWidget::Cleanup(&set);
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
        EXPECT_EQ(std::vector<f32>({content->m_Width, content->m_Height, child->m_X, child->m_Height}),
                  std::vector<f32>({800, 600, size ? 20.0f : 10.0f, size ? 80.0f : 40.0f}));
        RenderingSystemWidget::Cleanup(&holder);
        RenderingSystemWidget::ReleaseLayer(&holder);
        holder.m_Panel = nullptr;
    }
}

TEST_F(WidgetRender, TextsScaleColourAndKeepOneFontPerTextOnRefresh) {
    const struct {
        u32 size;
        const char* color;
        f32 scale;
        u32 argb;
    } cases[] = {{24, "#FFFFFFFF", 0.75f, 0xFFFFFFFFu}, {0, "FFFFFFFF", 1.0f, 0xFFFFFFFFu},
                 {16, "0xFFFFFFFF", 0.5f, 0xFFFFFFFFu}, {8, "", 0.25f, 0xFFFF00FFu}};
    for (const auto& c : cases) {
        tree.label->m_TextStyle.m_Size = c.size;
        tree.label->m_TextStyle.m_Color = c.color;
        Build();
        EXPECT_EQ(TextAt(*tree.label, 0)->m_color, c.argb) << c.color;
        // The scale shows in the width of a measured space.
        tree.label->SetText(" ");
        EXPECT_FLOAT_EQ(RenderingSystemWidget::GetTextWidth(*tree.label), 6.0f * c.scale) << c.size;
        Release();
    }
    Build();
    AGResource* sans = package.Provider(TypeKey::Font)->Find(authoring::NameId("sans.fon"));
    const u32 holds = sans->RefCount();
    for (int i = 0; i < 1000; ++i)
        tree.label->SetText(("n" + std::to_string(i)).c_str());
    EXPECT_EQ(tree.label->VolatileDatas.GetFonts()->size(), 2u);
    EXPECT_EQ(sans->RefCount(), holds);
    EXPECT_STREQ(TextAt(*tree.label, 0)->GetString().c_str(), "n999");
    tree.label->SetVisible(false);
    tree.label->SetText("hidden");  // stays hidden
    EXPECT_FALSE(Drawn(TextAt(*tree.label, 0)));
    Release();
}

TEST(WidgetRenderNames, FileNamesAndRenderTypes) {
    LogCapture log;
    const struct {
        const char *in, *font, *texture;
    } names[] = {{"", "tahoma.fon", ".png"}, {"Sans.TTF", "sans.fon", "sans.png"}, {"Sans", "sans.fon", "sans.png"},
                 {"Menu/Back.PNG", "menu/back.fon", "menu/back.png"}};
    for (const auto& n : names) {
        EXPECT_STREQ(RenderingSystemWidget::GetFontFileName(n.in).c_str(), n.font);
        EXPECT_STREQ(RenderingSystemWidget::GetTextureFileName(n.in).c_str(), n.texture);
    }
    const std::tuple<const char*, bool, i32> types[] = {
        {"DiffuseAlpha", true, 2}, {"onlycolor", true, 0}, {"MORECHROME", true, 5}, {"", false, -1}, {"shiny", false, 9}};
    for (const auto& [word, ok, expected] : types) {
        i32 type = 9;
        EXPECT_EQ(RenderingSystemWidget::ParseRenderType(word, type), ok) << word;
        EXPECT_EQ(type, expected) << word;
    }
    EXPECT_TRUE(log.Contains("invalid render type shiny"));
}

TEST_F(WidgetRender, WidgetsShowTheSpritesOfTheirState) {
    tree.button->m_Images[Button::kDisabled] = "";
    Build();
    Button& b = *tree.button;
    const struct {
        u32 visual;
        u8 locked;
        u32 sprite;
    } buttonCases[] = {{2, 0, 2}, {1, 0, 1}, {0, 0, 0}, {2, 1, 0}};
    for (const auto& c : buttonCases) {
        log.Clear();
        b.m_ButtonBehavior.m_VisualState = c.visual;
        b.m_InputLocked = c.locked;
        RenderingSystemWidget::UpdateBehaviorState(b);
        EXPECT_EQ(Member(b, 0), SpriteAt(b, c.sprite)) << c.visual << c.locked;
        EXPECT_EQ(log.Lines().size(), c.locked) << c.visual;  // no disabled picture: reported
    }
    const u32 drawn = Render::LayerOf(*tree.inner)->RenderableCount();
    RenderingSystemWidget::LoadButtonImage(b, Button::kDefault);  // the drawn one, in place
    EXPECT_EQ(Member(b, 0), SpriteAt(b, 0));
    EXPECT_EQ(Render::LayerOf(*tree.inner)->RenderableCount(), drawn);
    b.m_Images[Button::kDisabled] = "b3";
    RenderingSystemWidget::LoadButtonImage(b, Button::kDisabled);
    EXPECT_EQ(Member(b, 0), SpriteAt(b, 3));
    EXPECT_TRUE(Drawn(Member(b, 0)));
    for (const auto& [width, pixels] : {std::pair{100.9f, 100u}, {-3.0f, 0u}}) {
        b.SetWidth(width);
        EXPECT_EQ(static_cast<AGSprite*>(Member(b, 0))->GetWidth(), pixels) << width;
        RenderingSystemWidget::UpdateBehaviorState(b);
        EXPECT_EQ(SpriteAt(b, 2)->GetWidth(), pixels) << width;
    }
    b.Visible = false;  // a hidden widget keeps its look
    b.m_InputLocked = 0;
    RenderingSystemWidget::UpdateBehaviorState(b);
    EXPECT_EQ(Member(b, 0), SpriteAt(b, 3));

    CheckBox& box = *tree.box;
    box.m_CheckBehavior.m_VisualState = 1;
    RenderingSystemWidget::UpdateBehaviorState(box);
    EXPECT_FALSE(Drawn(Member(box, 1)));  // unchecked
    box.m_Checked = 1;
    RenderingSystemWidget::UpdateBehaviorState(box);
    EXPECT_EQ(Member(box, 0), SpriteAt(box, 1));
    EXPECT_EQ(Member(box, 1), SpriteAt(box, 4));
    EXPECT_TRUE(Drawn(Member(box, 1)));

    SliderButton& s = *tree.slider;
    const struct {
        u8 enabled;
        u32 part, visual;
        u32 members[4];
    } sliderCases[] = {{1, 0, 2, {2, 1, 8, 10}}, {1, 1, 5, {0, 5, 8, 10}}, {0, 0, 2, {6, 7, 9, 11}}};
    s.m_Value = 0.5f;
    for (const auto& c : sliderCases) {
        s.m_Enabled = c.enabled;
        s.m_SliderBehavior.m_Part = c.part;
        s.m_SliderBehavior.m_VisualState = c.visual;
        RenderingSystemWidget::UpdateBehaviorState(s);
        for (u32 i = 0; i < 4; ++i)
            EXPECT_EQ(Member(s, i), SpriteAt(s, c.members[i])) << c.visual << " member " << i;
    }
    AGVec3 thumb;
    Member(s, 3)->GetPosition(thumb);
    EXPECT_EQ(thumb.x, 60.0f);  // the track's start + 0.5 x the free 80

    SliderTrackBar& bar = *tree.bar;
    bar.m_Value = 30.0f;
    bar.m_Track.m_Position = AGVec2{5.0f, 2.0f};
    bar.m_TrackBehavior.m_VisualState = 3;
    RenderingSystemWidget::UpdateBehaviorState(bar);
    EXPECT_EQ(Member(bar, 1), SpriteAt(bar, 3));
    for (u32 i : {2u, 3u, 4u}) {
        SpriteAt(bar, i)->GetPosition(thumb);
        EXPECT_EQ(std::vector<f32>({thumb.x, thumb.y}), std::vector<f32>({35.0f, 2.0f})) << i;
    }
    bar.SetInputLocked(true);
    EXPECT_EQ(Member(bar, 0), SpriteAt(bar, 1));
    EXPECT_EQ(Member(bar, 1), SpriteAt(bar, 4));
    Release();
}

TEST_F(WidgetRender, KeyboardTogglesLetterOrderAndDigits) {
    auto keyText = [](const Widget& k, u32 i) { return std::string(TextAt(k, i)->GetString().c_str()); };
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
        EXPECT_EQ(k->m_Abcde + k->m_Qwerty * 2, 1);
        EXPECT_EQ(keyText(*k, n - 2), n == 12 ? "K" : " ");
        RenderingSystemWidget::RefreshKey(*k, false, 0, 3);  // no such look
        EXPECT_EQ(Member(*k, 0), SpriteAt(*k, 0));
        EXPECT_EQ(Member(*k, 2 * n), SpriteAt(*k, 3 * n + 2));  // the layout key looks pressed
        press(*k, 1);
        EXPECT_EQ(keyText(*k, 5) + keyText(*k, n + 1), "5abc");
        EXPECT_EQ(Drawn(TextAt(*k, n - 1)), n < 11);
        EXPECT_EQ(Drawn(SpriteAt(*k, 3 * (n - 1))), n < 11);
        EXPECT_TRUE(Drawn(SpriteAt(*k, 9 * 3)) || n < 10);
        press(*k, 0);  // leaves digits, back to the first order
        EXPECT_EQ(keyText(*k, 1), "W");
        EXPECT_TRUE(Drawn(TextAt(*k, n - 1)));
        EXPECT_EQ(k->GetEnteredText().Length(), 0u);  // layout keys type nothing
        k->m_HoveredLetter = 1;
        RenderingSystemWidget::UpdateBehaviorState(*k);
        EXPECT_EQ(Member(*k, 2), SpriteAt(*k, 4));  // its hover look
        RenderingSystemWidget::SetSoftKeysVisible(4, *k, false);
        EXPECT_FALSE(Drawn(SpriteAt(*k, 3 * (n + 4) + 1)) || Drawn(TextAt(*k, n + 3)));  // the entry field
        RenderingSystemWidget::SetSoftKeysVisible(6, *k, false);
        EXPECT_FALSE(Drawn(Member(*k, 2)));
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
    Build();
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
