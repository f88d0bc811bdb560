#include "engine/graphics/AGGraphicsProviders.h"

#include "engine/core/AGResourceManager.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "engine/graphics/AGSkinAnimation.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCCam.h"

void RegisterGraphicsProviders(AGResourceManager* manager) {
    if (!manager)
        return;
    manager->RegisterProvider(new AGProvider<AGModelAnimation>(TypeKey::PrsAnimation));
    manager->RegisterProvider(new AGProvider<AGPrscAnimation>(TypeKey::PrscAnimation));
    manager->RegisterProvider(new AGProvider<AGSkinAnimation>(TypeKey::SkeletonPrsAnimation));
    manager->RegisterProvider(new AGProvider<AGVertexBuffer>(TypeKey::VertexBuffer));
    manager->RegisterProvider(new AGProvider<PCCam>(TypeKey::Camera));
}
