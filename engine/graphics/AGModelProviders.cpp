#include "engine/graphics/AGModelProviders.h"

#include "engine/core/AGResourceManager.h"
#include "engine/graphics/AGScene3D.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGVertexBufferDynamic.h"
#include "engine/graphics/PCEmitter.h"
#include "engine/graphics/PCMesh.h"
#include "engine/graphics/PCModel.h"

void RegisterModelProviders(AGResourceManager* manager) {
    if (!manager)
        return;
    manager->RegisterProvider(new AGProvider<PCMesh>(TypeKey::Mesh));
    manager->RegisterProvider(new AGProvider<PCModel>(TypeKey::Model));
    manager->RegisterProvider(new AGProvider<AGSkin>(TypeKey::Skeleton));
    manager->RegisterProvider(new AGProvider<AGVertexBufferDynamic>(TypeKey::VertexBufferDynamic));
    manager->RegisterProvider(new AGProvider<AGScene3D>(TypeKey::Scene3D));
    manager->RegisterProvider(new AGProvider<PCEmitter>(TypeKey::Emitter3D));
}
