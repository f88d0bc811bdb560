#pragma once
// The providers of every resource class, registered at start-up.
#include "engine/core/AGResource.h"

class AGResourceManager;

// Stands for a resource class whose subsystem has not registered it yet: it loads nothing.
template <u32 Key>
class AGPendingResource : public AGResource {
public:
    u32 GetTypeKey() const override { return Key; }
    void Load(AGMemBuffer*, u32, bool, bool) override {}
};

// Registers the 23 providers in start-up order: "directory", "data", "localization" with
// their classes, the others with AGPendingResource until their subsystem replaces them
// through AGResourceManager::RegisterProvider.
void RegisterResourceProviders(AGResourceManager* manager);
