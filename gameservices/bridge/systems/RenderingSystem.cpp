#include "gameservices/bridge/systems/RenderingSystem.h"

#include <cmath>

#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "engine/graphics/AGEmitter.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGLight.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGScene3D.h"
#include "engine/graphics/AGSprite.h"
#include "engine/graphics/AGText.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "engine/graphics/PCRenderer.h"
#include "gameservices/bridge/systems/RenderingSystemSlots.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"

namespace GameServices::Bridge {

using namespace Entities::VolatileDataKeys;

namespace {

AGGraphicLayer* s_shared = nullptr;

AGBaseProvider* Provider(u32 typeKey) {
    AGResourceManager* resources = AGResourceManager::Get();
    return resources ? resources->GetProvider(typeKey) : nullptr;
}

}  // namespace

AGResource* RenderingSystem::CreateResource(u32 typeKey) {
    AGBaseProvider* provider = Provider(typeKey);
    if (!provider)
        return nullptr;
    AGResource* resource = provider->Create();
    resource->SetNameId(0);
    provider->AddToGroup(0, resource);
    return resource;
}

template <typename T>
T* RenderingSystem::CreateResourceAs(u32 typeKey) {
    return KeepAs<T>(typeKey, CreateResource(typeKey));
}

void RenderingSystem::GiveBack(u32 typeKey, AGResource* resource) {
    AGBaseProvider* provider = Provider(typeKey);
    if (!provider || !resource)
        return;
    if (resource->IsBase())
        provider->Release(resource);
    else
        provider->ReleaseInstance(resource);
}

template PCCam* RenderingSystem::CreateResourceAs<PCCam>(u32);
template PCRenderer* RenderingSystem::CreateResourceAs<PCRenderer>(u32);
template AGText* RenderingSystem::CreateResourceAs<AGText>(u32);
template AGMaterial* RenderingSystem::CreateResourceAs<AGMaterial>(u32);
template AGTextureSlot* RenderingSystem::CreateResourceAs<AGTextureSlot>(u32);

AGGraphicLayer* RenderingSystem::GetSharedGraphicLayer() {
    if (s_shared)
        return s_shared;
    s_shared = new AGGraphicLayer();
    if (auto* camera = CreateResourceAs<PCCam>(TypeKey::Camera)) {
        AGGraphicLayer::SetupScreenCamera(camera);
        s_shared->SetCamera(camera);
    }
    s_shared->SetPosition(AGVec3{0.0f, 0.0f, 0.0f});
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (device)
        s_shared->SetSize(device->GetWidth(), device->GetHeight());
    s_shared->SetEnabled(true);
    s_shared->SetGroup(CreateResourceAs<PCRenderer>(TypeKey::Renderer));
    if (device)
        device->AddLayer(s_shared);
    return s_shared;
}

AGGraphicLayer* RenderingSystem::PeekSharedGraphicLayer() {
    return s_shared;
}

void RenderingSystem::ReleaseSharedGraphicLayer() {
    if (!s_shared)
        return;
    if (PCGraphicDevice* device = PCGraphicDevice::Get())
        device->RemoveLayer(s_shared);
    GiveBack(TypeKey::Camera, s_shared->GetCamera());
    GiveBack(TypeKey::Renderer, s_shared->GetRenderer());
    delete s_shared;
    s_shared = nullptr;
}


// The level renderer.

namespace {

RenderingSystem::RenderableModelDataFactory* s_renderables = nullptr;
ILevelWidgetRendering* s_widgets = nullptr;
RenderingHooks s_hooks;

constexpr const char* kCleanupFirst = "call RenderingSystem::Cleanup(..) before!";

AGGraphicLayer* LayerOf(const Entities::Set& set) {
    return set.VolatileDatas.GetAs<AGGraphicLayer>(kENGINE_DATA_LAYER_3D);
}

void MarkInPipeline(Entities::Entity& entity) {
    entity.VolatileDatas.Set(kENGINE_DATA_IN_PIPELINE, &entity);
}

bool InPipeline(const Entities::Entity& entity) {
    return entity.VolatileDatas.HasData(kENGINE_DATA_IN_PIPELINE);
}

// The model or sprite of a prop or set element, model first.
AGRenderable* RenderableOf(const Entities::Entity& entity) {
    if (auto* model = entity.VolatileDatas.GetAs<AGModel>(kENGINE_DATA_MODEL))
        return model;
    return entity.VolatileDatas.GetAs<AGSprite>(kENGINE_DATA_SPRITE);
}

// Takes the layer out of whatever holds it and deletes it: no parent keeps a dangling child.
// A viewport that looked through the level's camera stops drawing, since the camera goes too.
void DeleteLevelLayer(AGGraphicLayer* layer) {
    if (!layer)
        return;
    if (AGGraphicLayer* parent = layer->GetParent()) {
        parent->RemoveChildLayer(layer);
        if (parent != s_shared && parent->GetCamera() == layer->GetCamera())
            parent->SetCamera(nullptr);
    }
    delete layer;
}

void GiveBackProviders(Entities::Set& set) {
    if (auto* providers = set.VolatileDatas.GetEngineProviders()) {
        for (AGResource* resource : *providers)
            if (resource)
                RenderingSystem::GiveBack(resource->GetTypeKey(), resource);
        delete providers;
    }
    set.VolatileDatas.Remove(kENGINE_PROVIDERS);
}

void InitializeSet(Entities::Set& set, const Entities::Set* parent) {
    if (AGGraphicLayer* old = LayerOf(set)) {
        AGReport(kCleanupFirst);
        DeleteLevelLayer(old);
        set.VolatileDatas.Remove(kENGINE_DATA_IN_PIPELINE);
    }
    auto* layer = new AGGraphicLayer();
    set.VolatileDatas.Set(kENGINE_DATA_LAYER_3D, layer);
    InitializeCameras(set, parent);
    RenderingSystem::InitializeLights(set);
    RenderingSystem::InitializeSetElements(set);
    RenderingSystem::InitializeProps(set);
    for (Entities::Character* character : set.m_Characters)
        if (character)
            RenderingSystem::InitializeAvatar(*character);
    if (s_widgets)
        s_widgets->Initialize(&set);
    for (Entities::ComponentLevel* component : set.m_ComponentLevels)
        if (component)
            InitializeSet(*component, &set);
    const Entities::Camera* active = set.GetActiveCamera();
    PCCam* camera = active ? active->VolatileDatas.GetCamera() : nullptr;
    if (!camera) {
        camera = RenderingSystem::CreateResourceAs<PCCam>(TypeKey::Camera);
        if (camera) {
            AGGraphicLayer::SetupScreenCamera(camera);
            ProvidersOf(set).push_back(camera);
        }
    }
    layer->SetCamera(camera);
    layer->SetEnabled(true);
    layer->SetPosition(AGVec3{0.0f, 0.0f, 0.0f});
    u32 width = 0, height = 0;
    PCCam::GetScreenSize(width, height);
    layer->SetSize(width, height);
}

void BuildPipeline(Entities::Set& set, const Entities::ComponentLevel* component) {
    AGGraphicLayer* layer = LayerOf(set);
    if (!layer)
        return;
    if (Entities::Camera* active = set.GetActiveCamera()) {
        if (PCCam* camera = active->VolatileDatas.GetCamera())
            layer->SetCamera(camera);
        MarkInPipeline(*active);
    }
    for (Entities::Light* light : set.m_Lights)
        if (light)
            MarkInPipeline(*light);
    for (Entities::SetElement* element : set.m_SetElements) {
        if (!element)
            continue;
        if (auto* scene = element->VolatileDatas.GetAs<AGScene3D>(kENGINE_DATA_SCENE3D)) {
            // A scene is marked when it is built; its renderables join the layer once.
            if (!element->VolatileDatas.HasData(kENGINE_DATA_SCENE)) {
                for (u32 i = 0; i < scene->ModelCount(); ++i)
                    if (AGModel* model = scene->GetModel(i))
                        layer->AddRenderable(model);
                for (u32 i = 0; i < scene->EmitterCount(); ++i)
                    if (AGEmitter* emitter = scene->GetEmitter(i))
                        layer->AddRenderable(emitter);
                element->VolatileDatas.Set(kENGINE_DATA_SCENE, scene);
            }
            continue;
        }
        if (InPipeline(*element))
            continue;
        if (AGRenderable* renderable = RenderableOf(*element)) {
            layer->AddRenderable(renderable);
            MarkInPipeline(*element);
        }
    }
    for (Entities::Prop* prop : set.m_Props) {
        if (!prop || InPipeline(*prop) || prop->IsPartOfScene())
            continue;
        if (AGRenderable* renderable = RenderableOf(*prop)) {
            layer->AddRenderable(renderable);
            MarkInPipeline(*prop);
        }
    }
    for (Entities::Character* character : set.m_Characters)
        if (character && character->Activate && !InPipeline(*character))
            RenderingSystem::AddAvatarToPipeline(*character, *layer);
    if (s_widgets)
        s_widgets->AttachLayer(&set);
    set.VolatileDatas.Set(kENGINE_DATA_IN_PIPELINE, &set);
    if (component && component->m_LoadingMode == Entities::ComponentLevel::kLoadIn3DViewport)
        return;
    layer->SetOrderKey(component ? u32(component->m_ZIndex) : 0u);
    if (layer->GetParent())
        layer->GetParent()->SortRenderables();
    else
        RenderingSystem::GetSharedGraphicLayer()->AddChildLayer(layer);
}

void SyncCamera(Entities::Camera& camera) {
    PCCam* engine = camera.VolatileDatas.GetCamera();
    if (!engine)
        return;
    if (!camera.IsPartOfScene()) {
        LookFrom(*engine, camera.Position, camera.LookAt, camera.Up);
        engine->SetEye(camera.Position);
    }
    if (camera.Orthographic) {
        u32 width = 0, height = 0;
        PCCam::GetScreenSize(width, height);
        const f32 w = f32(width) * 0.5f, h = f32(height) * 0.5f;
        engine->SetFrustum(-w, w, h, -h, 1.0f, 10000.0f);
    }
    StartCameraAnimation(camera);
    camera.Synchronize = true;
}

// A camera synchronised as the set's active one (its first active camera) becomes the camera its
// built layer draws through, so a cut to another camera shows; other active cameras only follow
// their entities.
void DrawThrough(Entities::Set& set, Entities::Camera& camera) {
    AGGraphicLayer* layer = LayerOf(set);
    PCCam* engine = camera.VolatileDatas.GetCamera();
    if (!layer || !engine || !InPipeline(set) || &camera != set.GetActiveCamera())
        return;
    layer->SetCamera(engine);
    MarkInPipeline(camera);
}

// The loader points the light from its position towards its target; a direction changed
// since is made unit length again before it reaches the engine light.
void SyncLight(Entities::Light& light) {
    const AGVec3& d = light.Direction;
    const f32 length = std::sqrt(d.x * d.x + d.y * d.y + d.z * d.z);
    if (length > 0.0f)
        light.Direction = AGVec3{d.x / length, d.y / length, d.z / length};
    if (auto* engine = light.VolatileDatas.GetAs<AGLight>(kENGINE_DATA_LIGHT))
        CopyLight(light, *engine);
    light.Synchronize = true;
}

void UpdateSet(Entities::Set& set) {
    if (!set.m_Cameras.empty() && !InPipeline(set))
        BuildPipeline(set, set.IsA(Entities::TypeIds::ComponentLevel)
                               ? static_cast<Entities::ComponentLevel*>(&set)
                               : nullptr);
    for (Entities::Camera* camera : set.m_Cameras) {
        if (camera && camera->Activate && !camera->Synchronize) {
            SyncCamera(*camera);
            DrawThrough(set, *camera);
            break;
        }
    }
    for (Entities::Light* light : set.m_Lights)
        if (light && light->Activate && !light->Synchronize)
            SyncLight(*light);
    AGGraphicLayer* layer = LayerOf(set);
    for (Entities::Prop* prop : set.m_Props) {
        if (!prop || !prop->Activate)
            continue;
        // A Set without a pipeline (no camera) draws nothing.
        if (!InPipeline(*prop) && !prop->IsPartOfScene() && layer && InPipeline(set)) {
            if (AGRenderable* renderable = RenderableOf(*prop)) {
                layer->AddRenderable(renderable);
                MarkInPipeline(*prop);
            }
        }
        if (!prop->Synchronize) {
            RenderingSystem::UpdatePropRenderable(*prop);
            prop->Synchronize = true;
        }
    }
    for (Entities::SetElement* element : set.m_SetElements) {
        if (!element)
            continue;
        SetActive(RenderableOf(*element), element->Visible);
        element->Synchronize = true;
    }
    for (Entities::Character* character : set.m_Characters) {
        if (!character || !character->Activate)
            continue;
        if (!InPipeline(*character) && layer && InPipeline(set))
            RenderingSystem::AddAvatarToPipeline(*character, *layer);
        if (!character->Synchronize)
            RenderingSystem::UpdateAvatar(*character);
    }
    for (Entities::ComponentLevel* component : set.m_ComponentLevels)
        if (component)
            UpdateSet(*component);
}

void CleanupEntities(Entities::Set& set, const Entities::Set* parent) {
    AGGraphicLayer* layer = LayerOf(set);
    for (Entities::SetElement* element : set.m_SetElements)
        if (element) {
            if (auto* scene = element->VolatileDatas.GetAs<AGScene3D>(kENGINE_DATA_SCENE3D);
                scene && layer && element->VolatileDatas.HasData(kENGINE_DATA_SCENE)) {
                for (u32 i = 0; i < scene->ModelCount(); ++i)
                    layer->RemoveRenderable(scene->GetModel(i));
                for (u32 i = 0; i < scene->EmitterCount(); ++i)
                    layer->RemoveRenderable(scene->GetEmitter(i));
            }
            element->VolatileDatas.Remove(kENGINE_DATA_SCENE);
            RenderingSystem::CleanupEntity(*element, layer);
        }
    for (Entities::Prop* prop : set.m_Props)
        if (prop)
            RenderingSystem::CleanupEntity(*prop, layer);
    const std::vector<Entities::Character*> characters = set.m_Characters;
    for (Entities::Character* character : characters)
        if (character)
            RenderingSystem::CleanupAvatar(*character);
    for (Entities::Camera* camera : set.m_Cameras)
        if (camera && !IsListedIn(camera, parent))
            RenderingSystem::CleanupEntity(*camera, layer);
    for (Entities::Light* light : set.m_Lights)
        if (light)
            RenderingSystem::CleanupEntity(*light, layer);
    if (s_widgets)
        s_widgets->Cleanup(&set);
}

void CleanupSet(Entities::Set& set, const Entities::Set* parent) {
    CleanupEntities(set, parent);
    for (Entities::ComponentLevel* component : set.m_ComponentLevels)
        if (component)
            CleanupSet(*component, &set);
    DeleteLevelLayer(LayerOf(set));
    set.VolatileDatas.Remove(kENGINE_DATA_LAYER_3D);
    set.VolatileDatas.Remove(kENGINE_DATA_IN_PIPELINE);
    GiveBackProviders(set);
}

}  // namespace

void RenderingSystem::Startup() {
    if (!s_renderables)
        s_renderables = new RenderableModelDataFactory(
            "RenderableModelDataFacory", KorvoGame::GetFactoryCapacity("FactoryRenderableModelData"));
    IRenderingSystem::SetInstance(&s_hooks);
    Entities::SetPropRenderableUpdater(&s_hooks);
    StartupAvatars();
}

void RenderingSystem::Shutdown() {
    ReleaseSharedGraphicLayer();
    delete s_renderables;
    s_renderables = nullptr;
    if (IRenderingSystem::Get() == &s_hooks)
        IRenderingSystem::SetInstance(nullptr);
    Entities::SetPropRenderableUpdater(nullptr);
    ShutdownAvatars();
}

RenderingSystem::RenderableModelDataFactory* RenderingSystem::GetRenderableModelDataFactory() {
    return s_renderables;
}

void RenderingSystem::SetWidgetRendering(ILevelWidgetRendering* widgets) { s_widgets = widgets; }

void RenderingSystem::Initialize(Entities::Set* set) {
    if (set)
        InitializeSet(*set, nullptr);
}

void RenderingSystem::Update(Entities::Set* set) {
    if (set)
        UpdateSet(*set);
}

void RenderingSystem::Cleanup(Entities::Set* set) {
    if (set)
        CleanupSet(*set, nullptr);
}

void RenderingSystem::PauseScenes(Entities::Set* set, bool paused) {
    if (!set)
        return;
    for (Entities::SetElement* element : set->m_SetElements)
        if (auto* scene = element ? element->VolatileDatas.GetAs<AGScene3D>(kENGINE_DATA_SCENE3D) : nullptr)
            scene->SetPaused(paused);
}

bool RenderingSystem::ScreenToWorld(const Entities::Camera& camera, f32 x, f32 y, f32 depth, AGVec3& out) {
    const PCCam* engine = camera.VolatileDatas.GetCamera();
    if (!engine)
        return false;
    AGVec3 eye, near;
    engine->ScreenToRay(AGVec2{x, y}, eye, near);
    const AGVec3 d{near.x - eye.x, near.y - eye.y, near.z - eye.z};
    out = near;
    // A ray parallel to the plane (or none at all) never meets it.
    if (d.z == 0.0f)
        return true;
    const f32 t = (depth - near.z) / d.z;
    out = AGVec3{near.x + d.x * t, near.y + d.y * t, near.z + d.z * t};
    return true;
}

AGVec3 RenderingHooks::ScreenToWorld(const Entities::Camera& camera, f32 x, f32 y, f32 depth) {
    AGVec3 out{x, y, depth};
    RenderingSystem::ScreenToWorld(camera, x, y, depth, out);
    return out;
}

void RenderingHooks::UpdatePropRenderable(Entities::Prop& prop) { RenderingSystem::UpdatePropRenderable(prop); }

}  // namespace GameServices::Bridge
