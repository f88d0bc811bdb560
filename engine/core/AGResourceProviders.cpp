#include "engine/core/AGResourceProviders.h"

#include "engine/core/AGData.h"
#include "engine/core/AGLocalization.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"

namespace {

template <u32 Key>
void RegisterPending(AGResourceManager* manager) {
    manager->RegisterProvider(new AGProvider<AGPendingResource<Key>>(Key));
}

}  // namespace

void RegisterResourceProviders(AGResourceManager* manager) {
    if (!manager)
        return;
    manager->RegisterProvider(new AGProvider<PcDirectory>(TypeKey::Directory));
    manager->RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
    manager->RegisterProvider(new AGProvider<AGLocalization>(TypeKey::Localization));
    RegisterPending<TypeKey::Sound>(manager);
    RegisterPending<TypeKey::PrsAnimation>(manager);
    RegisterPending<TypeKey::PrscAnimation>(manager);
    RegisterPending<TypeKey::SkeletonPrsAnimation>(manager);
    RegisterPending<TypeKey::VertexBuffer>(manager);
    RegisterPending<TypeKey::Texture>(manager);
    RegisterPending<TypeKey::Scene3D>(manager);
    RegisterPending<TypeKey::Light>(manager);
    RegisterPending<TypeKey::Font>(manager);
    RegisterPending<TypeKey::Sprite>(manager);
    RegisterPending<TypeKey::Material>(manager);
    RegisterPending<TypeKey::TextureSlot>(manager);
    RegisterPending<TypeKey::Renderer>(manager);
    RegisterPending<TypeKey::Camera>(manager);
    RegisterPending<TypeKey::Emitter3D>(manager);
    RegisterPending<TypeKey::VertexBufferDynamic>(manager);
    RegisterPending<TypeKey::Mesh>(manager);
    RegisterPending<TypeKey::Model>(manager);
    RegisterPending<TypeKey::Skeleton>(manager);
    RegisterPending<TypeKey::Text>(manager);
}
