// The engine objects of level entities: which one each kind gets, how it is made and placed,
// and how it is given back.
#include <algorithm>
#include <cstring>

#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGEmitter.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGLight.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGScene3D.h"
#include "engine/graphics/AGSprite.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/bridge/systems/EntityAnimations.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/bridge/systems/RenderingSystemSlots.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"

namespace GameServices::Bridge {

using namespace Entities::VolatileDataKeys;
using Entities::Entity;

namespace {

constexpr const char* kCleanupBeforeLoad = "call RenderingSystem::Cleanup(..) before!";
// Degrees to radians for placed renderables (cameras use PCCam's own factor).
constexpr f32 kRenderableDegrees = 0.017453289f;

AGBaseProvider* ProviderOf(u32 typeKey) {
    AGResourceManager* resources = AGResourceManager::Get();
    return resources ? resources->GetProvider(typeKey) : nullptr;
}

// The text before the last '.', or the whole name.
TString<char> Stem(const TString<char>& name) {
    for (u32 i = name.Length(); i > 0; --i)
        if (name[i - 1] == '.')
            return name.SubString(0, i - 1);
    return name;
}

// A private copy of the named resource (an empty one when no package holds it).
template <typename T>
T* NewInstance(u32 typeKey, const TString<char>& name) {
    AGBaseProvider* provider = ProviderOf(typeKey);
    if (!provider || name.IsEmpty())
        return nullptr;
    return RenderingSystem::KeepAs<T>(typeKey, CreateResourceInstance(provider, Crc32Hash(name.c_str()), 0, false));
}

// A new, empty resource known by the entity's name: a clone in the group of that id, so
// that giving it back deletes it.
template <typename T>
T* NewNamed(u32 typeKey, const TString<char>& name) {
    AGBaseProvider* provider = ProviderOf(typeKey);
    if (!provider)
        return nullptr;
    const u32 id = Crc32Hash(name.c_str());
    AGResource* resource = provider->Create();
    auto* typed = dynamic_cast<T*>(resource);
    if (!typed) {
        delete resource;
        return nullptr;
    }
    resource->SetNameId(id);
    resource->SetRefCount(1);
    provider->AddToGroup(id, resource);
    return typed;
}

// A model or sprite already in the slot is reported and given back before the new one.
void ReplaceSlot(Entity& entity, u32 key, u32 typeKey) {
    if (auto* old = entity.VolatileDatas.GetAs<AGResource>(key)) {
        AGReport(kCleanupBeforeLoad);
        RenderingSystem::GiveBack(typeKey, old);
        entity.VolatileDatas.Remove(key);
        // The new object has yet to join the layer.
        entity.VolatileDatas.Remove(kENGINE_DATA_IN_PIPELINE);
        entity.VolatileDatas.Remove(kENGINE_DATA_SCENE);
    }
}

void CopyMatrix(platform::gfx::Matrix& out, const Entities::Matrix44& m) {
    std::memcpy(out.m, m, sizeof(out.m));
}

RenderableModelData* DescriptionOf(const Entity& entity) {
    RenderableModelData* data = entity.VolatileDatas.GetRenderableModelData();
    if (!data)
        AGReport("%s has no render description; skipped.", entity.Name.c_str());
    return data;
}

void BuildPerspective(Entities::Camera& camera, PCCam& engine) {
    u32 width = 0, height = 0;
    PCCam::GetScreenSize(width, height);
    engine.SetViewport(0, 0, camera.ViewportWidth, camera.ViewportHeight, 0.0f, 1.0f);
    engine.SetPerspective(camera.FieldOfView * PCCam::kDegreesToRadians,
                          f32(width) / f32(height ? height : 1), camera.ClippingNear,
                          camera.ClippingFar);
    if (!camera.IsPartOfScene()) {
        engine.SetFrustumValue(4, camera.ClippingNear);
        engine.SetFrustumValue(5, camera.ClippingFar);
        LookFrom(engine, camera.Position, camera.LookAt, AGVec3{0.0f, 1.0f, 0.0f});
    }
}

}  // namespace

void SetActive(AGRenderable* renderable, bool active) {
    if (!renderable)
        return;
    if (active)
        renderable->SetFlags(AGRenderable::kActive);
    else
        renderable->ClearFlags(AGRenderable::kActive);
}

void LookFrom(PCCam& engine, const AGVec3& eye, const AGVec3& target, const AGVec3& up) {
    // A camera placed on its own target has no direction: it keeps its view.
    if (eye.x == target.x && eye.y == target.y && eye.z == target.z)
        return;
    engine.SetLookAt(eye, target, up);
}

void StartCameraAnimation(Entities::Camera& camera) {
    const Entities::CameraAnimationData* animation = camera.GetAnimationData();
    if (!animation)
        return;
    SetCameraAnimation(camera, i32(animation->m_PlayMode), animation->m_Speed, -1, -1);
}

bool IsListedIn(const Entities::Camera* camera, const Entities::Set* set) {
    return set && std::find(set->m_Cameras.begin(), set->m_Cameras.end(), camera) != set->m_Cameras.end();
}

EngineProviders& ProvidersOf(Entities::Set& set) {
    auto* providers = set.VolatileDatas.GetEngineProviders();
    if (!providers) {
        providers = new EngineProviders();
        set.VolatileDatas.Set(kENGINE_PROVIDERS, providers);
    }
    return *providers;
}

void InitializeCameras(Entities::Set& set, const Entities::Set* parent) {
    for (Entities::Camera* camera : set.m_Cameras) {
        if (!camera || IsListedIn(camera, parent))
            continue;
        if (!DescriptionOf(*camera))
            continue;
        if (auto* old = camera->VolatileDatas.GetCamera()) {
            AGReport(kCleanupBeforeLoad);
            EngineProviders& providers = ProvidersOf(set);
            auto listed = std::find(providers.begin(), providers.end(), old);
            if (listed != providers.end())
                providers.erase(listed);
            RenderingSystem::GiveBack(TypeKey::Camera, old);
            camera->VolatileDatas.Remove(kENGINE_DATA_CAMERA);
        }
        PCCam* engine = nullptr;
        if (camera->Orthographic) {
            engine = RenderingSystem::CreateResourceAs<PCCam>(TypeKey::Camera);
            if (!engine)
                continue;
            AGGraphicLayer::SetupScreenCamera(engine);
            LookFrom(*engine, camera->Position, camera->LookAt, camera->Up);
            ProvidersOf(set).push_back(engine);
        } else {
            const TString<char>& file = camera->VolatileDatas.GetRenderableModelData()->m_ModelFileName;
            engine = file.IsEmpty() ? NewNamed<PCCam>(TypeKey::Camera, camera->Name)
                                    : NewInstance<PCCam>(TypeKey::Camera, TString<char>(file).ToLower());
            if (!engine)
                continue;
            BuildPerspective(*camera, *engine);
        }
        camera->VolatileDatas.Set(kENGINE_DATA_CAMERA, engine);
        // A scene camera plays its animation once it has its engine camera.
        if (!camera->Orthographic && camera->IsPartOfScene() && camera->Activate)
            StartCameraAnimation(*camera);
    }
}

void RenderingSystem::InitializeCameras(Entities::Set& set) { Bridge::InitializeCameras(set, nullptr); }

void RenderingSystem::InitializeLights(Entities::Set& set) {
    for (Entities::Light* light : set.m_Lights) {
        RenderableModelData* data = light ? DescriptionOf(*light) : nullptr;
        if (!data)
            continue;
        if (auto* old = light->VolatileDatas.GetAs<AGLight>(kENGINE_DATA_LIGHT)) {
            AGReport(kCleanupBeforeLoad);
            GiveBack(TypeKey::Light, old);
            light->VolatileDatas.Remove(kENGINE_DATA_LIGHT);
        }
        AGLight* engine = nullptr;
        if (data->m_ModelFileName.IsEmpty()) {
            engine = NewNamed<AGLight>(TypeKey::Light, light->Name);
        } else if (AGBaseProvider* provider = ProviderOf(TypeKey::Light)) {
            const TString<char> file = TString<char>(data->m_ModelFileName).ToLower();
            engine = KeepAs<AGLight>(TypeKey::Light,
                                     GetOrLoadResource(provider, Crc32Hash(file.c_str()), 0, false, true));
        }
        if (!engine)
            continue;
        light->VolatileDatas.Set(kENGINE_DATA_LIGHT, engine);
        if (!light->IsPartOfScene())
            CopyLight(*light, *engine);
    }
}

void CopyLight(const Entities::Light& light, AGLight& engine) {
    engine.m_kind = light.LightType;
    engine.m_position = light.Position;
    engine.m_direction = light.Direction;
    engine.m_valueF = light.Color;
    engine.m_ambient = light.Ambient;
    engine.m_diffuse = light.Diffuse;
    engine.m_specular = light.Specular;
    engine.m_valueA = light.Intensity;
    engine.m_innerCone = light.HotSize;
    engine.m_outerCone = light.FallSize;
    engine.m_range = light.Range;
    engine.m_valueB = light.AttenuationK0;
    engine.m_valueC = light.AttenuationK1;
    engine.m_valueD = light.AttenuationK2;
    engine.BuildDeviceLight();
}

void RenderingSystem::InitializeSetElements(Entities::Set& set) {
    for (Entities::SetElement* element : set.m_SetElements) {
        RenderableModelData* data = element ? DescriptionOf(*element) : nullptr;
        if (!data)
            continue;
        if (element->IsAScene()) {
            AGScene3D* scene = CreateScene(*element);
            if (!scene)
                continue;
            for (u32 i = 0; i < scene->ModelCount(); ++i)
                SetActive(scene->GetModel(i), element->Visible);
            for (u32 i = 0; i < scene->EmitterCount(); ++i)
                SetActive(scene->GetEmitter(i), element->Visible);
            element->VolatileDatas.Set(kENGINE_DATA_IN_PIPELINE, element);
            continue;
        }
        AGRenderable* renderable = nullptr;
        if (data->m_RenderableKind == RenderableModelData::kModel)
            renderable = CreateModel(*element);
        else if (data->m_RenderableKind == RenderableModelData::kSprite)
            renderable = CreateSprite(*element);
        else
            AGReport("%s the renderable read is neither a sprite neither a model", element->Name.c_str());
        if (!renderable)
            continue;
        SetRenderableTransform(renderable, element->Visible, element->GetRotationX(), element->GetRotationY(),
                               element->GetRotationZ(), PositionOf(*element), element->GetScale());
    }
}

void RenderingSystem::InitializeProps(Entities::Set& set) {
    for (Entities::Prop* prop : set.m_Props) {
        RenderableModelData* data = prop ? DescriptionOf(*prop) : nullptr;
        if (!data)
            continue;
        if (prop->IsPartOfScene()) {
            AGModel* model = FindSceneModel(set, data->m_ModelFileName);
            if (!model) {
                AGReport("The prop is not part of the scene.");
                continue;
            }
            prop->VolatileDatas.Set(kENGINE_DATA_MODEL, model);
            const platform::gfx::Matrix& placed = model->GetLocal();
            prop->SetPosition(AGVec3{placed.m[12], placed.m[13], placed.m[14]});
            prop->SetScale(placed.m[0], placed.m[5], placed.m[10]);
            SetActive(model, prop->Visible);
            StartRenderableAnimation(*prop);
            continue;
        }
        AGRenderable* renderable = nullptr;
        if (data->m_RenderableKind == RenderableModelData::kModel)
            renderable = CreateModel(*prop);
        else if (data->m_RenderableKind == RenderableModelData::kSprite)
            renderable = CreateSprite(*prop);
        else
            AGReport("%s the renderable read is neither a sprite nor a model", prop->Name.c_str());
        if (!renderable)
            continue;
        AGVec3 position;
        prop->GetPosition(position);
        SetRenderableTransform(renderable, prop->Visible, prop->GetRotationX(), prop->GetRotationY(),
                               prop->GetRotationZ(), position, prop->GetScale());
    }
}

AGModel* RenderingSystem::CreateModel(Entity& entity) {
    RenderableModelData* data = DescriptionOf(entity);
    if (!data)
        return nullptr;
    ReplaceSlot(entity, kENGINE_DATA_MODEL, TypeKey::Model);
    data->m_ModelFileName.ToLower();
    AGModel* model = NewInstance<AGModel>(TypeKey::Model, data->m_ModelFileName);
    if (!model)
        return nullptr;
    entity.VolatileDatas.Set(kENGINE_DATA_MODEL, model);
    // The animation binds to the materials in place, so it starts after they are set.
    if (data->m_TextureFileName.IsEmpty()) {
        StartRenderableAnimation(entity);
        return model;
    }
    data->m_TextureFileName = Stem(data->m_TextureFileName) + ".png";
    const TString<char> part = Stem(data->m_ModelFileName) + "_material.mat";
    AGMaterial* material = model->FindSkin(part.c_str());
    if (!material && model->Materials().Count() == 1)
        material = model->Materials().Get(0);
    if (!material)
        AGReport("Can not find the material %s", part.c_str());
    else
        model->SetMaterial(material->NameId(), Crc32Hash(MaterialOfTexture(data->m_TextureFileName).c_str()));
    StartRenderableAnimation(entity);
    return model;
}

AGSprite* RenderingSystem::CreateSprite(Entity& entity) {
    RenderableModelData* data = DescriptionOf(entity);
    if (!data)
        return nullptr;
    ReplaceSlot(entity, kENGINE_DATA_SPRITE, TypeKey::Sprite);
    data->m_ModelFileName.ToLower();
    AGSprite* sprite = NewInstance<AGSprite>(TypeKey::Sprite, data->m_ModelFileName);
    if (!sprite)
        return nullptr;
    entity.VolatileDatas.Set(kENGINE_DATA_SPRITE, sprite);
    if (!data->m_TextureFileName.IsEmpty()) {
        if (!sprite->GetMaterial())
            AGReport("Can not find the material %s", data->m_TextureFileName.c_str());
        sprite->SetMaterial(MaterialOfTexture(data->m_TextureFileName).c_str());
    }
    StartRenderableAnimation(entity);
    return sprite;
}

AGScene3D* RenderingSystem::CreateScene(Entities::SetElement& element) {
    RenderableModelData* data = DescriptionOf(element);
    if (!data)
        return nullptr;
    ReplaceSlot(element, kENGINE_DATA_SCENE3D, TypeKey::Scene3D);
    data->m_ModelFileName.ToLower();
    AGScene3D* scene = NewInstance<AGScene3D>(TypeKey::Scene3D, data->m_ModelFileName);
    if (scene)
        element.VolatileDatas.Set(kENGINE_DATA_SCENE3D, scene);
    return scene;
}

TString<char> MaterialOfTexture(const TString<char>& textureFile) {
    TString<char> name(textureFile);
    name.ToLower();
    name.Resize(name.Length() >= 4 ? name.Length() - 4 : 0);
    return name + ".mat";
}

AGVec3 PositionOf(const Entities::SetElement& element) {
    Entities::Matrix44 m;
    element.UpdateWorldMatrix(m);
    return AGVec3{m[12], m[13], m[14]};
}

void RenderingSystem::SetRenderableTransform(AGRenderable* renderable, bool visible, f32 rotationX,
                                             f32 rotationY, f32 rotationZ, const AGVec3& position,
                                             const AGVec3& scale) {
    if (!renderable)
        return;
    const u32 type = renderable->GetRenderableType();
    if (type != AGRenderable::kModel && type != AGRenderable::kSprite)
        return;
    SetActive(renderable, visible);
    Entities::Matrix44 m;
    Entities::ComposeRotationTranslation(m, rotationX, rotationY, rotationZ, kRenderableDegrees, position);
    Entities::MatrixScale(m, scale);
    platform::gfx::Matrix local;
    CopyMatrix(local, m);
    if (type == AGRenderable::kModel)
        static_cast<AGModel*>(renderable)->SetLocal(local);
    else
        static_cast<AGSprite*>(renderable)->SetLocal(local);
}

void RenderingSystem::StartRenderableAnimation(Entity& entity) {
    const RenderableModelData* data = entity.VolatileDatas.GetRenderableModelData();
    if (!data)
        return;
    const i32 mode = i32(data->m_PlayMode);
    switch (data->m_AnimationType) {
    case RenderableModelData::kSkin:
        SetSkinAnimation(entity, data->m_Skin, data->m_AnimationFileName, 0.0f, mode, data->m_Speed, -1, -1);
        break;
    case RenderableModelData::kModelAnimation:
        SetModelAnimation(entity, data->m_AnimationFileName, mode, data->m_Speed, -1, -1);
        break;
    case RenderableModelData::kTexture:
        SetTextureAnimation(entity, data->m_MaterialName, mode, data->m_Speed, -1, -1);
        break;
    case RenderableModelData::kUV: SetUVAnimation(entity, data->m_MaterialName, mode, data->m_Speed, -1, -1); break;
    default: break;
    }
}

void RenderingSystem::UpdatePropRenderable(Entities::Prop& prop) {
    auto* model = prop.VolatileDatas.GetAs<AGModel>(kENGINE_DATA_MODEL);
    auto* sprite = prop.VolatileDatas.GetAs<AGSprite>(kENGINE_DATA_SPRITE);
    if (!model && !sprite)
        return;
    Entities::Matrix44 m;
    prop.UpdateWorldMatrix(m);
    platform::gfx::Matrix world;
    CopyMatrix(world, m);
    if (model) {
        model->SetOpacity(prop.GetOpacity());
        SetActive(model, prop.Visible);
        model->SetLocal(world);
    }
    if (sprite) {
        sprite->SetOpacity(prop.GetOpacity());
        SetActive(sprite, prop.Visible);
        sprite->SetLocal(world);
    }
}

AGModel* RenderingSystem::FindSceneModel(const Entities::Set& set, const TString<char>& fileName) {
    TString<char> wanted = Stem(fileName) + ".mdl";
    wanted.ToLower();
    const u32 id = Crc32Hash(wanted.c_str());
    for (const Entities::SetElement* element : set.m_SetElements) {
        const auto* scene = element && element->IsAScene()
                                ? element->VolatileDatas.GetAs<AGScene3D>(kENGINE_DATA_SCENE3D)
                                : nullptr;
        for (u32 i = 0; scene && i < scene->ModelCount(); ++i)
            if (AGModel* model = scene->GetModel(i); model && model->NameId() == id)
                return model;
    }
    return nullptr;
}

void RenderingSystem::CleanupEntity(Entity& entity, AGGraphicLayer* layer) {
    if (RenderableModelData* data = entity.VolatileDatas.GetRenderableModelData()) {
        if (RenderableModelDataFactory* pool = GetRenderableModelDataFactory())
            pool->Free(data);
        entity.VolatileDatas.Remove(kRENDERABLE_MODEL_DATA);
    }
    if (auto* scene = entity.VolatileDatas.GetAs<AGScene3D>(kENGINE_DATA_SCENE3D)) {
        GiveBack(TypeKey::Scene3D, scene);
        entity.VolatileDatas.Remove(kENGINE_DATA_SCENE3D);
    }
    if (PCCam* camera = entity.VolatileDatas.GetCamera()) {
        const bool orthographic =
            entity.IsA(Entities::TypeIds::Camera) && static_cast<Entities::Camera&>(entity).Orthographic;
        if (!orthographic && camera->NameId() != 0)
            GiveBack(TypeKey::Camera, camera);
        entity.VolatileDatas.Remove(kENGINE_DATA_CAMERA);
    }
    if (auto* light = entity.VolatileDatas.GetAs<AGLight>(kENGINE_DATA_LIGHT)) {
        if (light->NameId() != 0)
            GiveBack(TypeKey::Light, light);
        entity.VolatileDatas.Remove(kENGINE_DATA_LIGHT);
    }
    const bool inPipeline = entity.VolatileDatas.HasData(kENGINE_DATA_IN_PIPELINE);
    if (auto* model = entity.VolatileDatas.GetAs<AGModel>(kENGINE_DATA_MODEL)) {
        const bool sceneOwned =
            entity.IsA(Entities::TypeIds::Prop) && static_cast<Entities::Prop&>(entity).IsPartOfScene();
        if (!sceneOwned) {
            if (inPipeline && layer)
                layer->RemoveRenderable(model);
            GiveBack(TypeKey::Model, model);
        }
        entity.VolatileDatas.Remove(kENGINE_DATA_MODEL);
    }
    if (auto* sprite = entity.VolatileDatas.GetAs<AGSprite>(kENGINE_DATA_SPRITE)) {
        if (inPipeline && layer)
            layer->RemoveRenderable(sprite);
        GiveBack(TypeKey::Sprite, sprite);
        entity.VolatileDatas.Remove(kENGINE_DATA_SPRITE);
    }
    entity.VolatileDatas.Remove(kENGINE_DATA_IN_PIPELINE);
}

void RenderingSystem::SetCollisionObject(Entity& entity, Entities::Depictor* object) {
    if (GetCollisionObject(entity) != object)
        EraseCollisionObject(entity);
    entity.Depictors.m_Map[kCOLLISION_OBJECT] = object;
}

Entities::Depictor* RenderingSystem::GetCollisionObject(const Entity& entity) {
    auto it = entity.Depictors.m_Map.find(kCOLLISION_OBJECT);
    return it == entity.Depictors.m_Map.end() ? nullptr : it->second;
}

void RenderingSystem::EraseCollisionObject(Entity& entity) {
    auto it = entity.Depictors.m_Map.find(kCOLLISION_OBJECT);
    if (it == entity.Depictors.m_Map.end())
        return;
    if (it->second && !it->second->m_Shared)
        delete it->second;
    entity.Depictors.m_Map.erase(it);
}

}  // namespace GameServices::Bridge
