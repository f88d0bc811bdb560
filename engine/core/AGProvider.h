#pragma once
// Providers own the resources of one class: a map from name id to the loaded (base)
// resource, and per base name id the group of its clones. All provider operations take the
// resource lock (AGResourceLock), since archive packages insert from the worker thread.
#include <functional>
#include <map>
#include <vector>

#include "engine/core/AGResource.h"

class AGBaseProvider {
public:
    AGBaseProvider() = default;
    AGBaseProvider(const AGBaseProvider&) = delete;
    AGBaseProvider& operator=(const AGBaseProvider&) = delete;
    // Deletes every clone and every resource still held.
    virtual ~AGBaseProvider();

    // The type id this provider is registered under.
    virtual u32 GetTypeKey() const = 0;

    // The resource held under the id, or null.
    virtual AGResource* Find(u32 nameId);
    // With a package id: deletes every resource of that package whose count is 0 (one at a
    // time, since a deleted resource may release others). With 0: deletes every resource.
    virtual void ReleaseUnused(u32 directoryId);
    // Number of resources of that package (all when the id is 0); clones are not counted.
    virtual u32 Count(u32 directoryId);
    // Stores the resource under the id. A different resource held there before is deleted
    // when nobody holds it, else left to its holders (their last Release deletes it).
    virtual void Insert(u32 nameId, AGResource* resource);
    // Appends a clone to the group of its base.
    virtual void AddToGroup(u32 baseNameId, AGResource* clone);
    // A new copy of the resource, or a new empty one.
    virtual AGResource* Clone(const AGResource* resource) = 0;
    virtual AGResource* Create() = 0;
    // Drops one hold. At 0 a folder-package resource is deleted (and its resident bytes
    // given back); a resource of an archive or of no package stays, findable with count 0,
    // until its package is unmounted or the program ends. A release at count 0 is ignored
    // and reported; a clone given here is released as an instance.
    virtual void Release(AGResource* resource);
    // Deletes a clone. When it was the last of its name and the base is an unheld resource
    // of a mounted folder package, the base goes too.
    virtual void ReleaseInstance(AGResource* clone);

    // Deletes the clones still alive (shutdown).
    void DeleteInstances();
    // Every resource and clone alive, with the order it was registered in over all providers
    // (shutdown: what a resource holds was registered before it).
    void CollectRegistered(std::vector<std::pair<u64, AGResource*>>& out);
    // The registration order of a live resource or clone; 0 for an address that is neither.
    u64 RegisteredOrder(const AGResource* resource);
    // Deletes a live resource or clone whatever its count (shutdown).
    void ForceDelete(AGResource* resource);
    // Deletes every resource of any package whose count is 0 (shutdown, before the rest).
    void ReleaseUnheld();
    u32 InstanceCount(u32 baseNameId);

protected:
    // Deletes, in key order, every resource of the map that the predicate picks (the caller
    // holds the resource lock).
    void DeleteWhere(const std::function<bool(const AGResource*)>& doomed);
    // Deletes a resource that is no longer in the map.
    void Destroy(AGResource* resource);
    // True when the resource is the one held under its name (or any) id.
    bool Holds(const AGResource* resource, u32* key = nullptr) const;

    std::map<u32, AGResource*> m_resources;
    std::map<u32, std::vector<AGResource*>> m_groups;
    std::map<const AGResource*, u64> m_registered;
};

template <typename T>
class AGProvider : public AGBaseProvider {
public:
    explicit AGProvider(u32 typeKey) : m_typeKey(typeKey) {}
    u32 GetTypeKey() const override { return m_typeKey; }
    AGResource* Clone(const AGResource* resource) override {
        return new T(static_cast<const T&>(*resource));
    }
    AGResource* Create() override { return new T(); }
    T* FindAs(u32 nameId) { return static_cast<T*>(Find(nameId)); }

private:
    u32 m_typeKey;
};
