#include "gameservices/entities/PropRenderHooks.h"

namespace GameServices::Entities {

namespace {
IPropRenderableUpdater* g_updater = nullptr;
}

void SetPropRenderableUpdater(IPropRenderableUpdater* updater) {
    g_updater = updater;
}

void UpdatePropRenderable(Prop& prop) {
    if (g_updater)
        g_updater->UpdatePropRenderable(prop);
}

}  // namespace GameServices::Entities
