#pragma once
// "scene3D": a 3D scene assembled by name: models and particle emitters (shared or as
// private copies), skeletons with their skin animations, model animations, emitter path
// animations and lights, all driven by one controller.
//
// File: 12-byte header (skipped); u32 M + M model ids; u32 Em + Em emitter ids; u32 S, A, E;
// S x (model id, skeleton id, skin-animation id); A x (model id, model-animation id); E x
// (emitter id, model-animation id); u32 L + L light ids; f32 frame count; f32 frame rate.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGOwnedBuffer.h"

class AGEmitter;
class AGModel;
class AGModelAnimation;
class AGSkin;
class AGSkinAnimation;

class AGScene3D : public AGResource, public AGAnimated {
public:
    AGScene3D() = default;
    // The provider's clone: the same scene built again by name, with models, emitters and
    // skeletons as private copies, driven by a copy of the controller.
    AGScene3D(const AGScene3D& other);
    ~AGScene3D() override;

    u32 GetTypeKey() const override { return TypeKey::Scene3D; }
    // Models, emitters and skeletons are taken shared or as private copies as shared says;
    // animations and lights always shared. A link naming a model or emitter the scene does
    // not have is skipped with a log line; a truncated file leaves the scene empty with one.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // The controller (null: the scene's own) drives every model and emitter of the scene.
    void SetController(AGController* controller) override;
    // Every model and emitter becomes active.
    void ActivateAll();
    // Pauses or resumes every animated object of the scene: its models, emitters and
    // skeletons keep their pose while paused.
    void SetPaused(bool paused);

    u32 ModelCount() const { return m_models.Count(); }
    AGModel* GetModel(u32 index) const { return index < m_models.Count() ? m_models[index].object : nullptr; }
    u32 EmitterCount() const { return m_emitters.Count(); }
    AGEmitter* GetEmitter(u32 index) const {
        return index < m_emitters.Count() ? m_emitters[index].object : nullptr;
    }
    u32 SkinCount() const { return m_skins.Count(); }
    AGSkin* GetSkin(u32 index) const { return index < m_skins.Count() ? m_skins[index].skeleton : nullptr; }
    u32 AnimationCount() const { return m_animations.Count(); }
    u32 LightCount() const { return m_lights.Count(); }
    AGResource* GetLight(u32 index) const { return index < m_lights.Count() ? m_lights[index].object : nullptr; }

private:
    template <typename T>
    struct Held {
        T* object = nullptr;
        u32 id = 0;
        u8 instance = 0;
    };
    struct SkinLink {
        u32 model = 0;  // index into the models
        AGSkin* skeleton = nullptr;
        u32 skeletonId = 0;
        u8 instance = 0;
        AGSkinAnimation* animation = nullptr;
        u32 animationId = 0;
    };
    struct AnimationLink {
        u32 target = 0;  // index into the models (model links) or the emitters
        bool emitter = false;
        AGModelAnimation* animation = nullptr;
        u32 animationId = 0;
    };
    struct Links;

    void Build(const Links& links, bool shared, u32 a, bool inPlace);
    void ReleaseAll();

    AGOwnedBuffer<Held<AGResource>> m_lights;
    AGOwnedBuffer<Held<AGModel>> m_models;
    AGOwnedBuffer<Held<AGEmitter>> m_emitters;
    AGOwnedBuffer<SkinLink> m_skins;
    AGOwnedBuffer<AnimationLink> m_animations;
    f32 m_frameCount = 1.0f;
    f32 m_frameRate = 30.0f;
};
