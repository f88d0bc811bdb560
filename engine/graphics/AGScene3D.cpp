#include "engine/graphics/AGScene3D.h"

#include <vector>

#include "engine/core/AGController.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGEmitter.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGSkinAnimation.h"

// The names a scene is built from.
struct AGScene3D::Links {
    struct Skin {
        u32 model, skeleton, animation;
    };
    struct Animation {
        u32 target, animation;
    };
    std::vector<u32> models, emitters, lights;
    std::vector<Skin> skins;
    std::vector<Animation> modelAnimations, emitterAnimations;
    f32 frameCount = 1.0f;
    f32 frameRate = 30.0f;
};

namespace {

bool ReadIds(AGMemBuffer& b, std::vector<u32>& ids, u32 count, u32 idsPerEntry = 1) {
    if (b.Failed() || !b.CheckCount(count, 4 * idsPerEntry))
        return false;
    ids.resize(size_t(count) * idsPerEntry);
    for (u32& id : ids)
        id = b.ReadU32();
    return !b.Failed();
}

// Release for a shared resource, ReleaseInstance for a private copy, as it was taken.
void GiveBack(u32 typeKey, AGResource* resource, bool instance) {
    AGBaseProvider* provider = AGProviderOf(typeKey);
    if (!resource || !provider)
        return;
    if (instance)
        provider->ReleaseInstance(resource);
    else
        provider->Release(resource);
}

template <typename T>
T* Take(u32 typeKey, u32 id, bool shared, u32 a, bool inPlace, u8& instance) {
    T* object = AGTakeResource<T>(typeKey, id, shared, a, inPlace);
    instance = object && !object->IsBase();
    return object;
}

}  // namespace

AGScene3D::AGScene3D(const AGScene3D& other) : AGResource(other), AGAnimated(other) {
    Links links;
    for (const auto& model : other.m_models)
        links.models.push_back(model.id);
    for (const auto& emitter : other.m_emitters)
        links.emitters.push_back(emitter.id);
    for (const auto& light : other.m_lights)
        links.lights.push_back(light.id);
    for (const SkinLink& skin : other.m_skins)
        links.skins.push_back({other.m_models[skin.model].id, skin.skeletonId, skin.animationId});
    for (const AnimationLink& link : other.m_animations) {
        if (link.emitter)
            links.emitterAnimations.push_back({other.m_emitters[link.target].id, link.animationId});
        else
            links.modelAnimations.push_back({other.m_models[link.target].id, link.animationId});
    }
    links.frameCount = other.m_frameCount;
    links.frameRate = other.m_frameRate;
    Build(links, false, 0, false);
}

AGScene3D::~AGScene3D() {
    ReleaseAll();
}

void AGScene3D::Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) {
    ReleaseAll();
    if (!buffer)
        return;
    AGMemBuffer& b = *buffer;
    b.Skip(12);
    Links links;
    std::vector<u32> words;
    bool ok = ReadIds(b, links.models, b.ReadU32()) && ReadIds(b, links.emitters, b.ReadU32());
    const u32 skins = b.ReadU32();
    const u32 modelAnimations = b.ReadU32();
    const u32 emitterAnimations = b.ReadU32();
    ok = ok && ReadIds(b, words, skins, 3);
    for (u32 i = 0; ok && i < skins; ++i)
        links.skins.push_back({words[3 * i], words[3 * i + 1], words[3 * i + 2]});
    ok = ok && ReadIds(b, words, modelAnimations, 2);
    for (u32 i = 0; ok && i < modelAnimations; ++i)
        links.modelAnimations.push_back({words[2 * i], words[2 * i + 1]});
    ok = ok && ReadIds(b, words, emitterAnimations, 2);
    for (u32 i = 0; ok && i < emitterAnimations; ++i)
        links.emitterAnimations.push_back({words[2 * i], words[2 * i + 1]});
    ok = ok && ReadIds(b, links.lights, b.ReadU32());
    links.frameCount = b.ReadF32();
    links.frameRate = b.ReadF32();
    if (!ok || b.Failed()) {
        AGReport("Scene 0x%08X: truncated or corrupt file, left empty.", NameId());
        return;
    }
    Build(links, shared, a, inPlace);
}

void AGScene3D::Build(const Links& links, bool shared, u32 a, bool inPlace) {
    m_models.Resize(u32(links.models.size()));
    for (u32 i = 0; i < m_models.Count(); ++i) {
        auto& held = m_models[i];
        held.id = links.models[i];
        held.object = Take<AGModel>(TypeKey::Model, held.id, shared, a, inPlace, held.instance);
        if (held.object) {
            held.object->SetController(m_current);
            held.object->m_color = 0;
        }
    }
    m_emitters.Resize(u32(links.emitters.size()));
    for (u32 i = 0; i < m_emitters.Count(); ++i) {
        auto& held = m_emitters[i];
        held.id = links.emitters[i];
        held.object = Take<AGEmitter>(TypeKey::Emitter3D, held.id, shared, a, inPlace, held.instance);
        if (held.object)
            held.object->SetController(m_current);
    }
    auto findModel = [this](u32 id) -> i32 {
        for (u32 i = 0; i < m_models.Count(); ++i)
            if (m_models[i].id == id && m_models[i].object)
                return i32(i);
        return -1;
    };

    std::vector<SkinLink> skins;
    for (const Links::Skin& link : links.skins) {
        const i32 index = findModel(link.model);
        if (index < 0) {
            AGReport("Scene 0x%08X: skin link names model 0x%08X, which the scene does not have; "
                     "skipped.", NameId(), link.model);
            continue;
        }
        SkinLink skin;
        skin.model = u32(index);
        skin.skeletonId = link.skeleton;
        skin.skeleton = Take<AGSkin>(TypeKey::Skeleton, link.skeleton, shared, a, inPlace, skin.instance);
        skin.animationId = link.animation;
        skin.animation = AGTakeResource<AGSkinAnimation>(TypeKey::SkeletonPrsAnimation, link.animation, true);
        AGModel* model = m_models[skin.model].object;
        model->SetSkin(skin.skeleton);
        if (skin.skeleton)
            skin.skeleton->SetAnimation(skin.animation);
        if (!model->GetController())
            model->SetController(m_current);
        skins.push_back(skin);
    }
    std::vector<AnimationLink> animations;
    for (const Links::Animation& link : links.modelAnimations) {
        const i32 index = findModel(link.target);
        if (index < 0) {
            AGReport("Scene 0x%08X: animation link names model 0x%08X, which the scene does not "
                     "have; skipped.", NameId(), link.target);
            continue;
        }
        AnimationLink held{u32(index), false, nullptr, link.animation};
        held.animation = AGTakeResource<AGModelAnimation>(TypeKey::PrsAnimation, link.animation, true);
        AGModel* model = m_models[held.target].object;
        model->SetModelAnimation(held.animation);
        if (!model->GetController())
            model->SetController(m_current);
        animations.push_back(held);
    }
    for (const Links::Animation& link : links.emitterAnimations) {
        i32 index = -1;
        for (u32 i = 0; i < m_emitters.Count() && index < 0; ++i)
            if (m_emitters[i].id == link.target && m_emitters[i].object)
                index = i32(i);
        if (index < 0) {
            AGReport("Scene 0x%08X: path link names emitter 0x%08X, which the scene does not have; "
                     "skipped.", NameId(), link.target);
            continue;
        }
        AnimationLink held{u32(index), true, nullptr, link.animation};
        held.animation = AGTakeResource<AGModelAnimation>(TypeKey::PrsAnimation, link.animation, true);
        m_emitters[held.target].object->SetPathAnimation(held.animation);
        animations.push_back(held);
    }
    if (m_skins.Resize(u32(skins.size())))
        for (u32 i = 0; i < m_skins.Count(); ++i)
            m_skins[i] = skins[i];
    if (m_animations.Resize(u32(animations.size())))
        for (u32 i = 0; i < m_animations.Count(); ++i)
            m_animations[i] = animations[i];

    m_lights.Resize(u32(links.lights.size()));
    for (u32 i = 0; i < m_lights.Count(); ++i) {
        m_lights[i].id = links.lights[i];
        m_lights[i].object = AGTakeResource<AGResource>(TypeKey::Light, links.lights[i], true);
    }

    // Frame count 1 keeps the end frame at 0 and the end time of the default frame duration;
    // counts below 1 and rates that are not positive are made safe first.
    m_frameCount = AGSafeFrameCount(links.frameCount);
    m_frameRate = AGSafeFrameRate(links.frameRate);
    EnsureController();
    m_owned->SetSpeed(1.0f);
    m_owned->SetRange(0.0f, m_frameCount - 1.0f);
    m_owned->SetEndTime(m_frameCount * m_owned->GetFrameDuration());
    m_owned->SetFrameRate(m_frameRate);
    SetController(m_owned);
}

void AGScene3D::SetController(AGController* controller) {
    AGAnimated::SetController(controller);
    for (auto& model : m_models)
        if (model.object)
            model.object->SetController(m_current);
    for (auto& emitter : m_emitters)
        if (emitter.object)
            emitter.object->SetController(m_current);
}

void AGScene3D::SetPaused(bool paused) {
    AGAnimated::SetPaused(paused);
    for (const auto& model : m_models)
        if (model.object)
            model.object->AGAnimated::SetPaused(paused);
    for (const auto& emitter : m_emitters)
        if (emitter.object)
            emitter.object->AGAnimated::SetPaused(paused);
    for (const SkinLink& skin : m_skins)
        if (skin.skeleton)
            skin.skeleton->AGAnimated::SetPaused(paused);
}

void AGScene3D::ActivateAll() {
    for (auto& model : m_models)
        if (model.object)
            model.object->SetFlags(AGRenderable::kActive);
    for (auto& emitter : m_emitters)
        if (emitter.object)
            emitter.object->SetFlags(AGRenderable::kActive);
}

void AGScene3D::ReleaseAll() {
    // A shared model or emitter outlives the scene: it must not keep the scene's controller,
    // skeletons or animations.
    auto ours = [this](const AGController* c) { return c && (c == m_owned || c == m_current); };
    for (const SkinLink& skin : m_skins) {
        AGModel* model = m_models[skin.model].object;
        if (model->GetSkin() == skin.skeleton)
            model->SetSkin(nullptr);
    }
    for (const AnimationLink& link : m_animations) {
        if (link.emitter) {
            AGEmitter* emitter = m_emitters[link.target].object;
            if (emitter->GetPathAnimation() == link.animation)
                emitter->SetPathAnimation(nullptr);
        } else if (m_models[link.target].object->GetModelAnimation() == link.animation) {
            m_models[link.target].object->SetModelAnimation(nullptr);
        }
    }
    for (auto& model : m_models) {
        if (model.object && ours(model.object->GetController()))
            model.object->SetController(nullptr);
        GiveBack(TypeKey::Model, model.object, model.instance);
    }
    for (auto& emitter : m_emitters) {
        if (emitter.object && ours(emitter.object->GetController()))
            emitter.object->SetController(nullptr);
        GiveBack(TypeKey::Emitter3D, emitter.object, emitter.instance);
    }
    for (const SkinLink& skin : m_skins) {
        if (skin.skeleton && skin.skeleton->GetAnimation() == skin.animation)
            skin.skeleton->SetAnimation(nullptr);
        if (skin.skeleton && ours(skin.skeleton->GetController()))
            skin.skeleton->SetController(nullptr);
        GiveBack(TypeKey::Skeleton, skin.skeleton, skin.instance);
        GiveBack(TypeKey::SkeletonPrsAnimation, skin.animation, false);
    }
    for (const AnimationLink& link : m_animations)
        GiveBack(TypeKey::PrsAnimation, link.animation, false);
    for (auto& light : m_lights)
        GiveBack(TypeKey::Light, light.object, false);
    m_models.Release();
    m_emitters.Release();
    m_skins.Release();
    m_animations.Release();
    m_lights.Release();
}
