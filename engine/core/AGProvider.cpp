#include "engine/core/AGProvider.h"

#include <algorithm>

#include "engine/core/AGDirectory.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "platform/core/CriticalSection.h"

using Lock = platform::CriticalSection::Lock;

namespace {
u64 g_registrations = 0;  // under the resource lock
}

AGBaseProvider::~AGBaseProvider() {
    DeleteInstances();
    ReleaseUnused(0);
}

AGResource* AGBaseProvider::Find(u32 nameId) {
    Lock lock(AGResourceLock());
    auto it = m_resources.find(nameId);
    return it == m_resources.end() ? nullptr : it->second;
}

void AGBaseProvider::ReleaseUnused(u32 directoryId) {
    Lock lock(AGResourceLock());
    if (directoryId == 0) {
        while (!m_resources.empty()) {
            AGResource* resource = m_resources.begin()->second;
            m_resources.erase(m_resources.begin());
            Destroy(resource);
        }
        return;
    }
    DeleteWhere([directoryId](const AGResource* r) {
        return r->DirectoryId() == directoryId && r->RefCount() == 0;
    });
}

void AGBaseProvider::ReleaseUnheld() {
    Lock lock(AGResourceLock());
    DeleteWhere([](const AGResource* r) { return r->RefCount() == 0; });
}

void AGBaseProvider::DeleteWhere(const std::function<bool(const AGResource*)>& doomed) {
    // A deletion may release (and delete) other resources of this provider, so the map is
    // searched again after each one, from the last key taken.
    bool started = false;
    u32 lastKey = 0;
    for (;;) {
        auto it = started ? m_resources.upper_bound(lastKey) : m_resources.begin();
        while (it != m_resources.end() && !doomed(it->second))
            ++it;
        if (it == m_resources.end())
            return;
        started = true;
        lastKey = it->first;
        AGResource* resource = it->second;
        m_resources.erase(it);
        Destroy(resource);
    }
}

u32 AGBaseProvider::Count(u32 directoryId) {
    Lock lock(AGResourceLock());
    if (directoryId == 0)
        return u32(m_resources.size());
    u32 n = 0;
    for (const auto& [id, resource] : m_resources)
        if (resource->DirectoryId() == directoryId)
            ++n;
    return n;
}

void AGBaseProvider::Insert(u32 nameId, AGResource* resource) {
    if (!resource)
        return;
    Lock lock(AGResourceLock());
    AGResource*& slot = m_resources[nameId];
    AGResource* previous = slot;
    slot = resource;
    m_registered[resource] = ++g_registrations;
    if (previous && previous != resource && previous->RefCount() == 0 && !Holds(previous))
        Destroy(previous);
}

void AGBaseProvider::AddToGroup(u32 baseNameId, AGResource* clone) {
    if (!clone)
        return;
    Lock lock(AGResourceLock());
    m_groups[baseNameId].push_back(clone);
    m_registered[clone] = ++g_registrations;
}

void AGBaseProvider::Release(AGResource* resource) {
    if (!resource)
        return;
    Lock lock(AGResourceLock());
    if (!resource->IsBase()) {
        ReleaseInstance(resource);
        return;
    }
    if (resource->RefCount() == 0) {
        AGReport("Release of resource 0x%08X ignored: it has no holder", resource->NameId());
        return;
    }
    resource->SetRefCount(resource->RefCount() - 1);
    if (resource->RefCount() != 0)
        return;
    u32 key = 0;
    if (!Holds(resource, &key)) {
        // Replaced under its id while held: nobody else can reach it now.
        Destroy(resource);
        return;
    }
    AGDirectory* package =
        resource->DirectoryId() ? AGDirectory::FindMounted(resource->DirectoryId()) : nullptr;
    if (!package)
        return;  // archive or no package: stays findable with count 0
    package->ReleaseResidentBlock(resource);
    m_resources.erase(key);
    Destroy(resource);
}

void AGBaseProvider::ReleaseInstance(AGResource* clone) {
    if (!clone)
        return;
    Lock lock(AGResourceLock());
    const u32 nameId = clone->NameId();
    auto group = m_groups.find(nameId);
    if (group == m_groups.end()) {
        AGReport("ReleaseInstance of resource 0x%08X ignored: not an instance", nameId);
        return;
    }
    auto& clones = group->second;
    auto it = std::find(clones.begin(), clones.end(), clone);
    if (it == clones.end()) {
        AGReport("ReleaseInstance of resource 0x%08X ignored: not an instance", nameId);
        return;
    }
    clones.erase(it);
    const bool last = clones.empty();
    if (last)
        m_groups.erase(group);
    Destroy(clone);
    if (!last)
        return;
    auto base = m_resources.find(nameId);
    if (base == m_resources.end() || base->second->RefCount() != 0)
        return;
    AGResource* resource = base->second;
    AGDirectory* package =
        resource->DirectoryId() ? AGDirectory::FindMounted(resource->DirectoryId()) : nullptr;
    if (!package)
        return;
    package->ReleaseResidentBlock(resource);
    m_resources.erase(base);
    Destroy(resource);
}

void AGBaseProvider::DeleteInstances() {
    Lock lock(AGResourceLock());
    while (!m_groups.empty()) {
        auto group = m_groups.begin();
        std::vector<AGResource*> clones = std::move(group->second);
        m_groups.erase(group);
        for (AGResource* clone : clones)
            Destroy(clone);
    }
}

u32 AGBaseProvider::InstanceCount(u32 baseNameId) {
    Lock lock(AGResourceLock());
    auto group = m_groups.find(baseNameId);
    return group == m_groups.end() ? 0 : u32(group->second.size());
}

void AGBaseProvider::CollectRegistered(std::vector<std::pair<u64, AGResource*>>& out) {
    Lock lock(AGResourceLock());
    for (const auto& [resource, order] : m_registered)
        out.push_back({order, const_cast<AGResource*>(resource)});
}

u64 AGBaseProvider::RegisteredOrder(const AGResource* resource) {
    Lock lock(AGResourceLock());
    auto it = m_registered.find(resource);
    return it == m_registered.end() ? 0 : it->second;
}

void AGBaseProvider::ForceDelete(AGResource* resource) {
    Lock lock(AGResourceLock());
    for (auto& [id, clones] : m_groups)
        if (std::find(clones.begin(), clones.end(), resource) != clones.end()) {
            ReleaseInstance(resource);
            return;
        }
    u32 key = 0;
    if (!Holds(resource, &key))
        return;
    m_resources.erase(key);
    Destroy(resource);
}

void AGBaseProvider::Destroy(AGResource* resource) {
    m_registered.erase(resource);
    delete resource;
}

bool AGBaseProvider::Holds(const AGResource* resource, u32* key) const {
    auto it = m_resources.find(resource->NameId());
    if (it == m_resources.end() || it->second != resource) {
        it = std::find_if(m_resources.begin(), m_resources.end(),
                          [resource](const auto& entry) { return entry.second == resource; });
        if (it == m_resources.end())
            return false;
    }
    if (key)
        *key = it->first;
    return true;
}
