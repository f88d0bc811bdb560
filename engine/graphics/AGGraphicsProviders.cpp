#include "engine/graphics/AGGraphicsProviders.h"

#include "engine/core/AGResourceManager.h"
#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGPrscAnimation.h"
#include "engine/graphics/AGSkinAnimation.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCCam.h"
#include "engine/graphics/PCLight.h"
#include "engine/graphics/PCMaterial.h"
#include "engine/graphics/PCRenderer.h"
#include "engine/graphics/PCSprite.h"
#include "engine/graphics/PCText.h"
#include "engine/graphics/PCTexture.h"

void RegisterGraphicsProviders(AGResourceManager* manager) {
    if (!manager)
        return;
    manager->RegisterProvider(new AGProvider<AGModelAnimation>(TypeKey::PrsAnimation));
    manager->RegisterProvider(new AGProvider<AGPrscAnimation>(TypeKey::PrscAnimation));
    manager->RegisterProvider(new AGProvider<AGSkinAnimation>(TypeKey::SkeletonPrsAnimation));
    manager->RegisterProvider(new AGProvider<AGVertexBuffer>(TypeKey::VertexBuffer));
    manager->RegisterProvider(new AGProvider<PCCam>(TypeKey::Camera));
    manager->RegisterProvider(new AGProvider<PCTexture>(TypeKey::Texture));
    manager->RegisterProvider(new AGProvider<AGTextureSlot>(TypeKey::TextureSlot));
    manager->RegisterProvider(new AGProvider<PCMaterial>(TypeKey::Material));
    manager->RegisterProvider(new AGProvider<PCLight>(TypeKey::Light));
    manager->RegisterProvider(new AGProvider<AGFont>(TypeKey::Font));
    manager->RegisterProvider(new AGProvider<PCSprite>(TypeKey::Sprite));
    manager->RegisterProvider(new AGProvider<PCText>(TypeKey::Text));
    manager->RegisterProvider(new AGProvider<PCRenderer>(TypeKey::Renderer));
}
