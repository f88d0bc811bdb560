// The scroll text, emitter and video renderables: their builders, the scroll step and the
// emitter state, and what their release gives back beyond the common lists.
#include <algorithm>

#include "engine/core/AGDirectory.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/AGVideoPlayer.h"
#include "engine/graphics/AGEmitter.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGTextureSlot.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/VideoAsset.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetRenderData.h"

namespace GameServices::Widget {

using namespace Render;

namespace {

Entities::Set* RunningLevel() {
    KorvoGame::ICurrentGame* game = KorvoGame::ICurrentGame::Get();
    return game ? game->GetCurrentLevel() : nullptr;
}

AGVideoPlayerImpl* VideoPlayer() {
    AGVideoPlayer* player = AGVideoPlayer::Get();
    return player ? player->GetImpl() : nullptr;
}

AGBaseProvider* ProviderOf(u32 typeKey) {
    AGResourceManager* resources = AGResourceManager::Get();
    return resources ? resources->GetProvider(typeKey) : nullptr;
}

AGFont* LoadSpecialFont(const TString<char>& name) {
    AGBaseProvider* provider = ProviderOf(TypeKey::Font);
    if (!provider)
        return nullptr;
    const TString<char> file = RenderingSystemWidget::GetFontFileName(name);
    return GetOrLoadResourceAs<AGFont>(provider, Crc32Hash(file.c_str()));
}

AGCompositeRenderable* NewComposite(Widget& widget) {
    if (CompositeOf(widget))
        AGReport("!!!!");
    auto* composite = new AGCompositeRenderable();
    widget.VolatileDatas.Set(Keys::kDATA_COMPOSITERENDERABLE, composite);
    return composite;
}

// Takes the renderable out of the composite and its layer.
void Detach(AGCompositeRenderable* composite, AGRenderable* renderable) {
    if (!composite || !renderable)
        return;
    if (AGGraphicLayer* layer = composite->GetLayer())
        layer->RemoveRenderable(renderable);
    composite->DetachRenderable(renderable);
}

f32 TextScale(const AGFont* font, u32 size) {
    const u32 fontSize = font ? font->GetHeaderValue(0) : 0;
    return size > 0 && fontSize > 0 ? f32(size) / f32(fontSize) : 1.0f;
}

// The font's line height at the style's size, whole pixels, at least the widget's minimum.
f32 LineHeight(const AGFont* font, u32 size, f32 minimum) {
    const f32 height = f32(u32(f32(font ? font->GetLineHeight() : 0) * TextScale(font, size)));
    return std::max(height, minimum);
}

// The index of the line's first '_', or -1.
i32 Underscore(const TString<char>& line) {
    for (u32 i = 0; i < line.Length(); ++i)
        if (line[i] == '_')
            return i32(i);
    return -1;
}

// A special line: the widget names a special font and the line holds a '_'.
bool IsSpecial(const ScrollText& widget, const TString<char>& line) {
    return !widget.m_SpecialStyle.m_FontName.IsEmpty() && Underscore(line) >= 0;
}

// What a line shows: the part after its first '_' when special, else all of it.
TString<char> ShownPart(const TString<char>& line, bool special) {
    if (!special)
        return line;
    return line.SubString(u32(Underscore(line) + 1));
}

// The first special font in the list (after the main font), loaded and appended when none is.
AGFont* SpecialFont(ScrollText& widget) {
    FontList* fonts = widget.VolatileDatas.GetFonts();
    if (!fonts)
        return nullptr;
    if (fonts->size() > 1)
        return (*fonts)[1];
    fonts->push_back(LoadSpecialFont(widget.m_SpecialStyle.m_FontName));
    return fonts->back();
}

struct TextLine {
    AGText* text;
    AGVec3 position;
};

void ScrollStep(ScrollText& widget, AGCompositeRenderable& composite) {
    const u32 count = composite.MemberCount();
    const FontList* fonts = widget.VolatileDatas.GetFonts();
    AGFont* mainFont = At(fonts, 0);
    auto height = [&](u32 i) {
        const bool special = i < widget.m_LineSpecial.size() && widget.m_LineSpecial[i];
        const AGText* text = static_cast<const AGText*>(composite.GetMember(i));
        const TextStyle& style = special ? widget.m_SpecialStyle : widget.m_NormalStyle;
        return LineHeight(text ? text->GetFont() : mainFont, style.m_Size, widget.m_LineHeight);
    };
    if (!widget.m_ScrollStarted) {
        for (u32 i = 0; i < count; ++i) {
            auto* text = static_cast<AGText*>(composite.GetMember(i));
            Relayout(text, " ");
            SetShown(text, false, widget.Visible);
        }
        widget.m_ScrollStarted = true;
        widget.m_NextLine = 0;
        widget.m_FinishedLines = 0;
        widget.m_LineFinished.assign(count, 0);
        widget.m_LineSpecial.resize(count, 0);
    }
    std::vector<TextLine> lines(count);
    f32 bottom = 0.0f;
    for (u32 i = 0; i < count; ++i) {
        lines[i].text = static_cast<AGText*>(composite.GetMember(i));
        if (!lines[i].text || widget.m_LineFinished[i])
            continue;
        lines[i].text->GetPosition(lines[i].position);
        lines[i].position.y -= widget.m_Speed;
        bottom = std::max(bottom, lines[i].position.y + height(i));
    }
    for (u32 i = 0; i < count; ++i) {
        AGText* text = lines[i].text;
        if (!text || widget.m_LineFinished[i])
            continue;
        AGVec3& at = lines[i].position;
        if (at.y < 0.0f) {
            if (widget.m_NextLine < widget.m_Lines.size()) {
                const TString<char>& entry = widget.m_Lines[widget.m_NextLine++];
                const bool special = IsSpecial(widget, entry);
                const TextStyle& style = special ? widget.m_SpecialStyle : widget.m_NormalStyle;
                AGFont* font = special ? SpecialFont(widget) : mainFont;
                widget.m_LineSpecial[i] = special ? 1 : 0;
                text->SetFont(font);
                const f32 scale = TextScale(font, style.m_Size);
                text->SetScale(AGVec2{scale, scale});
                text->SetSpaceWidth(style.m_SpaceWidth);
                Relayout(text, ShownPart(entry, special));
                SetRenderableColor(style.m_Color.c_str(), text);
                SetShown(text, true, widget.Visible);
                at.y = bottom;
                bottom += height(i);
            } else {
                Relayout(text, " ");
                SetShown(text, false, widget.Visible);
                at.y = bottom;
                widget.m_LineFinished[i] = 1;
                if (++widget.m_FinishedLines == count)
                    widget.m_ScrollEnded.Fire();
            }
        }
        text->SetPosition(AGVec2{at.x, at.y});
    }
}

void EmitterState(Emitter3D& widget) {
    auto* emitter = widget.VolatileDatas.GetAs<AGEmitter>(Keys::kDATA_EMITTER3D);
    if (!emitter)
        return;
    emitter->SetPosition(AGVec3{widget.m_X, widget.m_Y, 0.0f});
    const AGVec3& a = widget.m_ForceDirection1;
    const AGVec3& b = widget.m_ForceDirection2;
    const bool zero = a.x == 0.0f && a.y == 0.0f && a.z == 0.0f && b.x == 0.0f && b.y == 0.0f && b.z == 0.0f;
    if (!zero)
        emitter->SetForceDirections(a, b);
    emitter->SetFrozen(widget.m_Paused != 0);
    if (widget.m_Stopped)
        emitter->SetRunning(false);
    else
        emitter->Start();
}

}  // namespace

void RenderingSystemWidget::BuildScrollText(Widget& widget) {
    auto& scroll = static_cast<ScrollText&>(widget);
    AGCompositeRenderable* composite = NewComposite(widget);
    const size_t count = scroll.m_Lines.size();
    auto* texts = new TextList();
    texts->assign(count, nullptr);
    widget.VolatileDatas.Set(Keys::kDATA_TEXTS, texts);
    auto* fonts = new FontList();
    widget.VolatileDatas.Set(Keys::kDATA_FONTS, fonts);
    fonts->push_back(LoadSpecialFont(scroll.m_NormalStyle.m_FontName));

    i32 type = -1;
    ParseRenderType(widget.m_RenderType, type);
    const TextStyle& normal = scroll.m_NormalStyle;
    scroll.m_LineSpecial.assign(count, 0);
    f32 total = 0.0f;
    for (size_t i = 0; i < count; ++i) {
        const bool special = IsSpecial(scroll, scroll.m_Lines[i]);
        const TextStyle& style = special ? scroll.m_SpecialStyle : normal;
        AGFont* font = (*fonts)[0];
        if (special) {
            font = LoadSpecialFont(scroll.m_SpecialStyle.m_FontName);
            fonts->push_back(font);
        }
        CreateWidgetText((*texts)[i], font, widget.m_Width, widget.m_Height, normal.m_VerticalAlignment,
                         normal.m_HorizontalAlignment, ShownPart(scroll.m_Lines[i], special), style.m_Size,
                         style.m_SpaceWidth, normal.m_OffsetBetweenCharacter, style.m_Color, type);
        AGText* text = (*texts)[i];
        if (!text)
            break;
        text->SetPosition(AGVec2{0.0f, total});
        total += LineHeight(font, style.m_Size, scroll.m_LineHeight);
        if (total >= widget.m_Height)
            break;
        scroll.m_LineSpecial[composite->MemberCount()] = special ? 1 : 0;
        composite->AddRenderable(text);
    }
    scroll.m_ShownLines = composite->MemberCount();
    scroll.m_ScrollStarted = false;
    composite->SetPosition(AGVec3{widget.m_X, widget.m_Y, 0.0f});
    composite->SetOpacity(widget.m_Opacity);
    composite->SetVisible(widget.Visible);
}

void RenderingSystemWidget::BuildEmitter3D(Widget& widget) {
    auto& owner = static_cast<Emitter3D&>(widget);
    AGCompositeRenderable* composite = NewComposite(widget);
    if (owner.m_EmitterSource.Length() > 0) {
        const u32 id = Crc32Hash(owner.m_EmitterSource.c_str());
        AGBaseProvider* provider = ProviderOf(TypeKey::Emitter3D);
        AGResource* made = provider && AGDirectory::FindHolder(id) ? CreateResourceInstance(provider, id, 0, false)
                                                                    : nullptr;
        // Without the graphics start-up the provider makes placeholders that are no emitters.
        auto* emitter = dynamic_cast<AGEmitter*>(made);
        if (made && !emitter)
            provider->ReleaseInstance(made);
        if (!emitter) {
            AGReport("This emitter3D doesn't exist!");
            return;
        }
        widget.VolatileDatas.Set(Keys::kDATA_EMITTER3D, emitter);
        emitter->SetFlags(kLookFlags);
        composite->AddRenderable(emitter);
        emitter->SetPosition(AGVec3{widget.m_X, widget.m_Y, 0.0f});
        emitter->SetEmissionState(0);
    }
    composite->SetPosition(AGVec3{widget.m_X, widget.m_Y, 0.0f});
    composite->SetVisible(widget.Visible);
}

void RenderingSystemWidget::BuildVideo(Widget& widget) {
    auto& video = static_cast<Video&>(widget);
    Entities::Set* level = RunningLevel();
    Entities::VideoAsset* asset = level ? level->FindVideoAsset(video.m_VideoName) : nullptr;
    if (!asset) {
        AGReport("can not find the component Level name of this video");
        return;
    }
    AGVideoPlayerImpl* player = VideoPlayer();
    if (asset->m_IsPlaying) {
        Bridge::VideoProcessingSystem::PlayVideo(level, video.m_VideoName);
    } else {
        asset->m_IsPlaying = false;
        asset->m_IsFullScreen = false;
        if (player) {
            player->Stop();
            if (player->GetState() == AGVideoPlayerImpl::kStateClosed)
                Bridge::VideoProcessingSystem::SetPlayerLoop(asset->m_IsLooped);
        }
    }
    AGCompositeRenderable* composite = NewComposite(widget);
    widget.VolatileDatas.Set(Keys::kDATA_VIDEOASSET, asset);

    auto* sprites = new SpriteList();
    sprites->assign(1, nullptr);
    widget.VolatileDatas.Set(Keys::kDATA_SPRITES, sprites);
    AGSprite*& sprite = (*sprites)[0];
    CreateWidgetSprite(sprite, video.m_DefaultImage, AGVec2{widget.m_Width, widget.m_Height}, AGVec3{},
                       widget.m_RenderType, widget.m_DrawOrder);
    if (!sprite) {
        AGReport("This sprite doesn't exist!");
        return;
    }
    composite->AddRenderable(sprite);

    if (PCTexture* texture = player ? player->GetTexture() : nullptr) {
        auto* material = Bridge::RenderingSystem::CreateResourceAs<AGMaterial>(TypeKey::Material);
        auto* slot = Bridge::RenderingSystem::CreateResourceAs<AGTextureSlot>(TypeKey::TextureSlot);
        if (material && slot) {
            slot->BorrowTexture(texture);
            material->SetSingleSlot(slot);
            sprite->TakeMaterial(material);
        } else {
            GiveBack(TypeKey::TextureSlot, slot);
            GiveBack(TypeKey::Material, material);
        }
    }
    composite->SetPosition(AGVec3{widget.m_X, widget.m_Y, 0.0f});
    composite->SetOpacity(widget.m_Opacity);
    composite->SetVisible(widget.Visible);
}

void RenderingSystemWidget::UpdateSpecialState(Widget& widget) {
    AGCompositeRenderable* composite = CompositeOf(widget);
    if (!composite)
        return;
    if (widget.IsA(TypeIds::Emitter3D))
        EmitterState(static_cast<Emitter3D&>(widget));
    else if (widget.IsA(TypeIds::ScrollText))
        ScrollStep(static_cast<ScrollText&>(widget), *composite);
}

void RenderingSystemWidget::ReleaseSpecial(Widget& widget) {
    AGCompositeRenderable* composite = CompositeOf(widget);
    if (widget.IsA(TypeIds::Emitter3D)) {
        if (auto* emitter = widget.VolatileDatas.GetAs<AGEmitter>(Keys::kDATA_EMITTER3D)) {
            Detach(composite, emitter);
            GiveBack(TypeKey::Emitter3D, emitter);
        }
        widget.VolatileDatas.Remove(Keys::kDATA_EMITTER3D);
    } else if (widget.IsA(TypeIds::Video)) {
        // The player's texture is the player's: the material must not give it back.
        AGSprite* sprite = At(widget.VolatileDatas.GetSprites(), 0);
        AGMaterial* material = sprite ? sprite->GetMaterial() : nullptr;
        AGVideoPlayerImpl* player = VideoPlayer();
        if (material && player && player->GetTexture())
            for (u32 i = 0; i < material->SlotCount(); ++i)
                if (AGTextureSlot* slot = material->GetSlot(i))
                    slot->ForgetTexture(player->GetTexture());
        widget.VolatileDatas.Remove(Keys::kDATA_VIDEOASSET);
    }
}

}  // namespace GameServices::Widget
