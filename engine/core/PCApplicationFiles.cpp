// The application's file part: threads and jobs, files, resources and their providers, the
// named heaps and the save file.
#include "engine/core/AGLog.h"
#include "engine/core/AGMemoryMapping.h"
#include "engine/core/AGMemoryPoolManager.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/AGResourceProviders.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PCFileManager.h"
#include "engine/core/PCJobsManager.h"
#include "engine/core/PCSavegameManager.h"
#include "engine/core/PCThreadingManager.h"

bool PCApplicationImpl::CreateThreadingManager() {
    PCThreadingManager::SetInstance(new PCThreadingManager());
    return true;
}

bool PCApplicationImpl::CreateJobsManager() {
    PCJobsManager* jobs = new PCJobsManager();
    PCJobsManager::SetInstance(jobs);
    if (!jobs->StartDefaultJobber())
        AGReport("The worker thread cannot be started; packages load on the main thread.");
    return true;
}

bool PCApplicationImpl::CreateResourceManager() {
    AGResourceManager::SetInstance(new AGResourceManager());
    return true;
}

bool PCApplicationImpl::CreateMemoryPoolManager() {
    AGMemoryPoolManager::SetInstance(new AGMemoryPoolManager());
    return true;
}

bool PCApplicationImpl::CreateFileManager() {
    PCFileManager::SetInstance(new PCFileManager());
    return true;
}

bool PCApplicationImpl::CreateSavegameManager() {
    PCSavegameManager* saves = new PCSavegameManager(m_programName.c_str());
    PCSavegameManager::SetInstance(saves);
    saves->ReadMaxSize();
    return true;
}

bool PCApplicationImpl::RegisterResourceProviders() {
    ::RegisterResourceProviders(AGResourceManager::Get());
    return true;
}

bool PCApplicationImpl::LoadMemoryMapping() {
    AGMemoryMapping::LoadFile("memorymapping.mem");
    return true;
}

void PCApplicationImpl::StopJobbers() {
    if (PCJobsManager* jobs = PCJobsManager::Get())
        jobs->StopJobbers();
}

void PCApplicationImpl::DeleteFileManager() {
    PCFileManager* files = PCFileManager::Get();
    PCFileManager::SetInstance(nullptr);
    delete files;
}

void PCApplicationImpl::DeleteResourceManager() {
    // The instance stays published while resources are deleted: their destructors give
    // back what they hold through the providers.
    delete AGResourceManager::Get();
    AGResourceManager::SetInstance(nullptr);
}

void PCApplicationImpl::DeleteMemoryPoolManager() {
    AGMemoryPoolManager* pools = AGMemoryPoolManager::Get();
    AGMemoryPoolManager::SetInstance(nullptr);
    delete pools;
}

void PCApplicationImpl::DeleteSavegameManager() {
    PCSavegameManager* saves = PCSavegameManager::Get();
    PCSavegameManager::SetInstance(nullptr);
    delete saves;
}

void PCApplicationImpl::DeleteJobsManager() {
    PCJobsManager* jobs = PCJobsManager::Get();
    PCJobsManager::SetInstance(nullptr);
    delete jobs;  // frees the jobbers, already stopped
}

void PCApplicationImpl::DeleteThreadingManager() {
    PCThreadingManager* threads = PCThreadingManager::Get();
    PCThreadingManager::SetInstance(nullptr);
    delete threads;
}
