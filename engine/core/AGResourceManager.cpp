#include "engine/core/AGResourceManager.h"

#include <algorithm>
#include <vector>

#include "engine/core/AGDirectory.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "platform/core/CriticalSection.h"

using Lock = platform::CriticalSection::Lock;

platform::CriticalSection& AGResourceLock() {
    static platform::CriticalSection* lock = new platform::CriticalSection;  // never destroyed
    return *lock;
}

AGResourceManager::~AGResourceManager() {
    Lock lock(AGResourceLock());
    // Unheld resources go first, each releasing what it holds, so that nothing is deleted
    // while another resource still refers to it.
    for (;;) {
        const u32 before = TotalCount(0);
        for (auto& [id, provider] : m_providers)
            provider->ReleaseUnheld();
        if (TotalCount(0) == before)
            break;
    }
    if (const u32 held = TotalCount(0))
        AGReport("%u resources still held at shutdown", held);
    // Then what nobody gave back, clones among it, newest first: what a resource holds was
    // registered before it. A resource given back by one deleted earlier is gone, so it is
    // looked up by address only.
    std::vector<std::pair<u64, AGResource*>> left;
    std::map<const AGResource*, AGBaseProvider*> owners;
    for (auto& [id, provider] : m_providers) {
        const size_t from = left.size();
        provider->CollectRegistered(left);
        for (size_t i = from; i < left.size(); ++i)
            owners[left[i].second] = provider;
    }
    std::sort(left.begin(), left.end(),
              [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& [order, resource] : left)
        if (owners[resource]->RegisteredOrder(resource) == order)
            owners[resource]->ForceDelete(resource);
    for (auto& [id, provider] : m_providers)
        provider->DeleteInstances();
    ReleaseAll(0);
    for (auto& [id, provider] : m_providers)
        delete provider;
    m_providers.clear();
}

void AGResourceManager::RegisterProvider(AGBaseProvider* provider) {
    if (!provider)
        return;
    Lock lock(AGResourceLock());
    AGBaseProvider*& slot = m_providers[provider->GetTypeKey()];
    if (slot && slot != provider)
        delete slot;
    slot = provider;
}

AGBaseProvider* AGResourceManager::GetProvider(u32 typeId) const {
    Lock lock(AGResourceLock());
    auto it = m_providers.find(typeId);
    return it == m_providers.end() ? nullptr : it->second;
}

u32 AGResourceManager::TotalCount(u32 directoryId) const {
    Lock lock(AGResourceLock());
    u32 total = 0;
    for (const auto& [id, provider] : m_providers)
        total += provider->Count(directoryId);
    return total;
}

void AGResourceManager::ReleaseAll(u32 directoryId) {
    Lock lock(AGResourceLock());
    if (TotalCount(directoryId) == 0)
        return;
    for (;;) {
        const u32 before = TotalCount(directoryId);
        for (auto& [id, provider] : m_providers)
            provider->ReleaseUnused(directoryId);
        if (TotalCount(directoryId) == before)
            break;
    }
}

AGResource* GetOrLoadResource(AGBaseProvider* provider, u32 nameId, u32 a, bool inPlace,
                              bool shared) {
    if (!provider) {
        AGReport("GetOrLoadResource: no provider for resource 0x%08X", nameId);
        return nullptr;
    }
    Lock lock(AGResourceLock());
    if (AGResource* found = provider->Find(nameId)) {
        found->AddRef();
        return found;
    }
    AGDirectory* package = AGDirectory::FindHolder(nameId);
    // Said once per name and provider: the empty resource stays registered, so a later
    // request finds it.
    if (!package) {
        const char* word = TypeKey::Word(provider->GetTypeKey());
        AGReport("resource not in any package: 0x%08X (%s)", nameId, word ? word : "unknown type");
    }
    AGResource* resource = provider->Create();
    if (!resource)
        return nullptr;
    resource->SetNameId(nameId);
    resource->SetIsBase(true);

    AGBlock block;
    bool haveBytes = false;
    if (package) {
        resource->SetDirectoryId(package->NameId());
        if (const AGDirectoryEntry* entry = package->FindEntry(nameId))
            haveBytes = package->ReadEntry(*entry, &block);
    }
    if (haveBytes) {
        AGMemBuffer buffer(block.data, block.size);
        // Only resident bytes outlive the load, so only they may be borrowed.
        resource->Load(&buffer, a, inPlace && block.resident, shared);
        package->ReleaseBlock(block);
    } else {
        resource->Load(nullptr, a, false, shared);
    }
    resource->AddRef();
    provider->Insert(nameId, resource);
    return resource;
}

AGResource* CreateResourceInstance(AGBaseProvider* provider, u32 nameId, u32 a, bool inPlace) {
    if (!provider) {
        AGReport("CreateResourceInstance: no provider for resource 0x%08X", nameId);
        return nullptr;
    }
    Lock lock(AGResourceLock());
    AGResource* base = provider->Find(nameId);
    if (!base) {
        base = GetOrLoadResource(provider, nameId, a, inPlace, true);
        if (!base)
            return nullptr;
        base->SetRefCount(base->RefCount() - 1);  // the instance holds no reference on it
    }
    AGResource* clone = provider->Clone(base);
    if (!clone)
        return nullptr;
    clone->SetIsBase(false);
    provider->AddToGroup(base->NameId(), clone);
    return clone;
}
