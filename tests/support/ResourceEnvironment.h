#pragma once
// The managers that resources and packages use, created and deleted in the application's
// order: the worker is stopped before the managers its jobs use go.
#include "engine/core/AGMemoryPoolManager.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/AGResourceProviders.h"
#include "engine/core/PCFileManager.h"
#include "engine/core/PCJobsManager.h"

class ResourceEnvironment {
public:
    explicit ResourceEnvironment(bool withWorker = true) {
        if (withWorker) {
            PCJobsManager::SetInstance(new PCJobsManager());
            PCJobsManager::Get()->StartDefaultJobber();
        }
        AGResourceManager::SetInstance(new AGResourceManager());
        AGMemoryPoolManager::SetInstance(new AGMemoryPoolManager());
        PCFileManager::SetInstance(new PCFileManager());
        RegisterResourceProviders(AGResourceManager::Get());
    }
    ~ResourceEnvironment() {
        if (PCJobsManager* jobs = PCJobsManager::Get())
            jobs->StopJobbers();
        Delete<PCFileManager>();
        Delete<AGResourceManager>();
        Delete<AGMemoryPoolManager>();
        Delete<PCJobsManager>();
    }
    ResourceEnvironment(const ResourceEnvironment&) = delete;
    ResourceEnvironment& operator=(const ResourceEnvironment&) = delete;

    AGResourceManager* Resources() const { return AGResourceManager::Get(); }
    AGBaseProvider* Provider(u32 typeId) const { return Resources()->GetProvider(typeId); }

private:
    // The instance stays published while the manager is deleted: resources reach their
    // providers from their destructors.
    template <typename T>
    static void Delete() {
        delete T::Get();
        T::SetInstance(nullptr);
    }
};
