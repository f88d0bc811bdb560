#include "gameservices/bridge/systems/RenderingSystem.h"

#include "engine/core/AGResourceManager.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "engine/graphics/PCRenderer.h"

namespace GameServices::Bridge {

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
    resource->SetDirectoryId(0);
    provider->AddToGroup(0, resource);
    return resource;
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

AGGraphicLayer* RenderingSystem::GetSharedGraphicLayer() {
    if (s_shared)
        return s_shared;
    s_shared = new AGGraphicLayer();
    if (auto* camera = static_cast<PCCam*>(CreateResource(TypeKey::Camera))) {
        AGGraphicLayer::SetupScreenCamera(camera);
        s_shared->SetCamera(camera);
    }
    s_shared->SetPosition(AGVec3{0.0f, 0.0f, 0.0f});
    PCGraphicDevice* device = PCGraphicDevice::Get();
    if (device)
        s_shared->SetSize(device->GetWidth(), device->GetHeight());
    s_shared->SetEnabled(true);
    s_shared->SetGroup(static_cast<PCRenderer*>(CreateResource(TypeKey::Renderer)));
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

}  // namespace GameServices::Bridge
