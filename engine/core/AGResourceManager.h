#pragma once
// The registry of providers by type id, and the two ways content is requested.
#include <map>

#include "engine/core/AGLog.h"
#include "engine/core/AGProvider.h"
#include "engine/core/AGSingleton.h"

namespace platform {
class CriticalSection;
}

// The one lock around provider maps, the package table and resource counts. Recursive: a
// resource's Load may request the resources it refers to.
platform::CriticalSection& AGResourceLock();

class AGResourceManager : public AGSingleton<AGResourceManager> {
public:
    AGResourceManager() = default;
    AGResourceManager(const AGResourceManager&) = delete;
    AGResourceManager& operator=(const AGResourceManager&) = delete;
    // Deletes every clone and resource, then every provider.
    ~AGResourceManager() override;

    // Takes ownership; a provider registered before under the same type id is deleted.
    void RegisterProvider(AGBaseProvider* provider);
    AGBaseProvider* GetProvider(u32 typeId) const;
    template <typename T>
    AGProvider<T>* GetProviderAs(u32 typeId) const {
        return static_cast<AGProvider<T>*>(GetProvider(typeId));
    }
    size_t ProviderCount() const { return m_providers.size(); }

    // Resources of a package (all with 0), summed over the providers.
    u32 TotalCount(u32 directoryId) const;
    // Deletes the unheld resources of a package until their number stops changing; with 0,
    // every resource (shutdown).
    void ReleaseAll(u32 directoryId);

private:
    std::map<u32, AGBaseProvider*> m_providers;
};

// Finds the resource and takes one hold, or creates it, reads its bytes from the first
// mounted folder package (ascending package id) whose index holds the id, loads it and
// registers it with count 1. Without such a package it loads from a null buffer, after one
// log line naming the id and the type word. Null only
// when provider is null.
AGResource* GetOrLoadResource(AGBaseProvider* provider, u32 nameId, u32 a, bool inPlace,
                              bool shared);

// A private copy: a clone in the group of the base, which is loaded when needed and left
// without a hold of its own.
AGResource* CreateResourceInstance(AGBaseProvider* provider, u32 nameId, u32 a, bool inPlace);

// As GetOrLoadResource, typed. A provider whose class is not a T (a placeholder provider not
// yet replaced by its subsystem) gives null with one log line, and its hold is given back.
template <typename T>
T* GetOrLoadResourceAs(AGBaseProvider* provider, u32 nameId, u32 a = 0, bool inPlace = false,
                       bool shared = true) {
    AGResource* resource = GetOrLoadResource(provider, nameId, a, inPlace, shared);
    auto* typed = dynamic_cast<T*>(resource);
    if (resource && !typed) {
        AGReport("GetOrLoadResource: resource 0x%08X of provider 0x%08X is not of the class asked for",
                 nameId, provider->GetTypeKey());
        provider->Release(resource);
    }
    return typed;
}
