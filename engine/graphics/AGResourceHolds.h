#pragma once
// Taking and giving back the resources a drawn resource refers to by name id: shared ones
// through GetOrLoadResource and Release, private copies through CreateResourceInstance and
// ReleaseInstance.
#include "engine/core/AGResourceManager.h"
#include "engine/graphics/AGOwnedBuffer.h"

class AGMemBuffer;

// The provider registered under the type id, or null when there is no resource manager.
inline AGBaseProvider* AGProviderOf(u32 typeKey) {
    AGResourceManager* manager = AGResourceManager::Get();
    return manager ? manager->GetProvider(typeKey) : nullptr;
}

// Release for a shared resource, ReleaseInstance for a private copy.
inline void AGGiveBackResource(u32 typeKey, AGResource* resource) {
    if (!resource)
        return;
    if (AGBaseProvider* provider = AGProviderOf(typeKey)) {
        if (resource->IsBase())
            provider->Release(resource);
        else
            provider->ReleaseInstance(resource);
    }
}

// Shared: one more hold on the loaded resource; otherwise a private copy. Name id 0 names
// nothing and gives null.
template <typename T>
T* AGTakeResource(u32 typeKey, u32 nameId, bool shared, u32 a = 0, bool inPlace = false) {
    if (nameId == 0)
        return nullptr;
    AGBaseProvider* provider = AGProviderOf(typeKey);
    if (!provider)
        return nullptr;
    AGResource* resource = shared ? GetOrLoadResource(provider, nameId, a, inPlace, true)
                                  : CreateResourceInstance(provider, nameId, a, inPlace);
    // A placeholder provider (its subsystem not started) makes resources of another class.
    auto* typed = dynamic_cast<T*>(resource);
    if (resource && !typed) {
        AGReport("Resource 0x%08X of provider 0x%08X is not of the class asked for", nameId, typeKey);
        AGGiveBackResource(typeKey, resource);
    }
    return typed;
}

// Takes each named resource as AGTakeResource does into held, keeping the names in heldIds.
// False, with both arrays empty, for no names or when memory runs out.
template <typename T>
bool AGTakeAll(u32 typeKey, const u32* ids, u32 count, bool shared, u32 a, bool inPlace,
               AGOwnedBuffer<u32>& heldIds, AGOwnedBuffer<T*>& held) {
    if (count == 0 || !heldIds.Resize(count) || !held.Resize(count)) {
        heldIds.Release();
        held.Release();
        return false;
    }
    for (u32 i = 0; i < count; ++i) {
        heldIds[i] = ids[i];
        held[i] = AGTakeResource<T>(typeKey, ids[i], shared, a, inPlace);
    }
    return true;
}

// Gives back every resource AGTakeAll took and empties both arrays.
template <typename T>
void AGGiveBackAll(u32 typeKey, AGOwnedBuffer<u32>& heldIds, AGOwnedBuffer<T*>& held) {
    for (T*& resource : held) {
        AGGiveBackResource(typeKey, resource);
        resource = nullptr;
    }
    held.Release();
    heldIds.Release();
}

// Reads count u32 name ids into ids. A count the bytes left cannot hold (or no memory) sets
// the buffer's failure flag and reads nothing.
void AGReadNameIds(AGMemBuffer& buffer, u32 count, AGOwnedBuffer<u32>& ids);

class AGVertexBuffer;

// A new, empty vertex buffer for a resource built at run time: an instance in the vertex-buffer
// provider's group of nameId, or, with no such provider, a buffer the caller owns (owned is
// then set). Give it back with AGGiveBackRunTimeVertexBuffer and the same flag.
AGVertexBuffer* AGTakeRunTimeVertexBuffer(u32 nameId, u32 directoryId, bool& owned);
void AGGiveBackRunTimeVertexBuffer(AGVertexBuffer* buffer, bool owned);
