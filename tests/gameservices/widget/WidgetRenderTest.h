#pragma once
// Widget trees built in code over a test package of solid sprites and two fonts (sizes 32 and
// 16), with the shared graphic layer made for the test and given back after it.
#include <string>
#include <vector>

#include "engine/graphics/AGCompositeRenderable.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetRenderData.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tools/authoring/FontBaker.h"

namespace widget_test {

using namespace GameServices::Widget;
using GameServices::Bridge::RenderingSystem;
namespace Render = GameServices::Widget::Render;
using F = std::vector<f32>;
using U = std::vector<u32>;

// Sprite files "<name>.spt", each a solid square of the colour given.
struct SpriteFile {
    std::string name;
    u32 argb;
};

// DejaVu Sans at 32 pixels, baked once.
inline const authoring::BakedFont& Sans32() {
    static authoring::BakedFont baked;
    if (baked.atlas.empty()) {
        std::string error;
        EXPECT_TRUE(authoring::BakeFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 32, {}, "sans", baked,
                                        error)) << error;
    }
    return baked;
}

class RenderPackage {
public:
    explicit RenderPackage(const std::vector<SpriteFile>& sprites,
                           void (*more)(authoring::PackageWriter&) = nullptr) {
        auto& writer = package.Writer();
        // Each a textured sprite of one colour: "<name>.spt" with its material, slot and PNG.
        for (const SpriteFile& s : sprites) {
            authoring::TextureSlotData slot;
            slot.textures = {s.name + ".png"};
            authoring::MaterialData material;
            material.slots = {s.name + "_slot"};
            writer.Add(s.name + ".png", TypeKey::Texture, drawtest::SolidPng(8, 8, s.argb))
                .Add(s.name + "_slot", TypeKey::TextureSlot, authoring::TextureSlotBytes(slot))
                .Add(s.name + ".mat", TypeKey::Material, authoring::MaterialBytes(material))
                .Add(s.name + ".spt", TypeKey::Sprite, authoring::SpriteBytes(2, 8, 8, s.name + ".mat"));
            names.push_back(s.name);
        }
        authoring::AddBakedFont(writer, "sans", Sans32());
        authoring::FontData shadow;  // a font of size 16
        shadow.header[0] = 16;
        writer.Add("shadow.fon", TypeKey::Font, authoring::FontBytes(shadow));
        if (more)
            more(writer);
        package.Mount();
        shared = RenderingSystem::GetSharedGraphicLayer();
    }
    ~RenderPackage() {
        RenderingSystem::ReleaseSharedGraphicLayer();
        GameServices::Bridge::FileSystem::Destroy();
    }
    AGBaseProvider* Provider(u32 type) const { return package.Provider(type); }
    // Every count a build takes: sprite clones by file, made texts and cameras, loaded fonts
    // and their holds.
    std::vector<u32> Counts() const {
        std::vector<u32> counts;
        for (const std::string& name : names)
            counts.push_back(Provider(TypeKey::Sprite)->InstanceCount(authoring::NameId(name + ".spt")));
        counts.push_back(Provider(TypeKey::Text)->InstanceCount(0));
        counts.push_back(Provider(TypeKey::Camera)->InstanceCount(0));
        for (const char* font : {"sans.fon", "shadow.fon"}) {
            AGResource* held = Provider(TypeKey::Font)->Find(authoring::NameId(font));
            counts.push_back(held ? held->RefCount() : 0);
        }
        return counts;
    }

    drawtest::TestPackage package;
    std::vector<std::string> names;
    AGGraphicLayer* shared = nullptr;
};

template <typename T>
T* Add(Panel& parent, const char* name, f32 x, f32 y, f32 w, f32 h) {
    auto* widget = new T(name);
    static u32 s_order = 0;
    widget->m_DrawOrder = ++s_order;
    widget->Visible = true;
    widget->SetPositionXY(x, y);
    widget->SetWidth(w);
    widget->SetHeight(h);
    parent.AddChild(widget);
    return widget;
}

inline void SetText(TextStyle& style, const char* text, const char* effect = "") {
    style.m_Text = text;
    style.m_FontName = "Sans.TTF";
    style.m_Effect = effect;
    style.m_Color = "#FFFFFFFF";
}

// A screen over a shown root panel, which the screen owns.
struct ShownRoot {
    ShownRoot() {
        screen.m_RootPanel = root;
        root->Visible = true;
    }
    Screen screen;
    Panel* root = new Panel("root");
};

// A screen shown: its widgets built and its layer hung; HideScreen undoes both.
inline void ShowScreen(Screen& screen) {
    RenderingSystemWidget::Initialize(&screen);
    RenderingSystemWidget::AttachLayer(&screen);
}
inline void HideScreen(Screen& screen) {
    RenderingSystemWidget::Cleanup(&screen);
    RenderingSystemWidget::ReleaseLayer(&screen);
}

inline AGCompositeRenderable* Composite(const Widget& w) { return Render::CompositeOf(w); }
inline AGSprite* SpriteAt(const Widget& w, u32 i) { return Render::At(w.VolatileDatas.GetSprites(), i); }
inline AGText* TextAt(const Widget& w, u32 i) { return Render::At(w.VolatileDatas.GetTexts(), i); }
inline AGRenderable* Member(const Widget& w, u32 i) { return Composite(w) ? Composite(w)->GetMember(i) : nullptr; }
inline bool Drawn(const AGRenderable* r) { return r && r->HasFlags(AGRenderable::kActive); }
inline AGVec3 PositionOf(const AGRenderable* r) {
    AGVec3 at;
    r->GetPosition(at);
    return at;
}

// A keyboard of rows of keys 40 x 40, 4.5 apart, all looks from sprite "k".
inline void LayOutKeyboard(SoftKeyboard& k, std::vector<u32> rows, const char* qwerty, const char* abcde) {
    for (u32 r = 0; r < rows.size(); ++r) {
        k.m_RowPositions.push_back(AGVec2{10.0f, 50.0f * f32(r)});
        k.m_RowKeys.push_back(rows[r]);
    }
    k.m_KeySize = AGVec2{40.0f, 40.0f};
    k.m_KeySpacing = 4.5f;
    k.m_QwertyChars = qwerty;
    k.m_AbcdeChars = abcde;
    k.m_TextSpecialAbcde = "abc";
    k.m_TextSpecialQwerty = "qwe";
    k.m_TextSpecial12345 = "123";
    for (TString<char>* looks : {k.m_KeyImages, k.m_SpecialImages, k.m_SpaceImages})
        for (u32 i = 0; i < 3; ++i)
            looks[i] = "k";
    k.m_BackSpaceIcon = "k";
    k.m_EntryImage = "k";
    k.m_TextStyle.m_FontName = "sans";
}

}  // namespace widget_test
