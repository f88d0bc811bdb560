// The application's file part: threads and jobs, files, resources and their providers, the
// named heaps and the save file.
#include "engine/core/AGMemoryPoolManager.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PCSavegameManager.h"

bool PCApplicationImpl::CreateThreadingManager() {
    // Slot: PCThreadingManager.
    return true;
}

bool PCApplicationImpl::CreateJobsManager() {
    // Slot: PCJobsManager; with no jobber yet, one jobber started with a job ring of 10.
    return true;
}

bool PCApplicationImpl::CreateResourceManager() {
    // Slot: AGResourceManager.
    return true;
}

bool PCApplicationImpl::CreateMemoryPoolManager() {
    AGMemoryPoolManager::SetInstance(new AGMemoryPoolManager());
    return true;
}

bool PCApplicationImpl::CreateFileManager() {
    // Slot: PCFileManager.
    return true;
}

bool PCApplicationImpl::CreateSavegameManager() {
    PCSavegameManager* saves = new PCSavegameManager(m_programName.c_str());
    PCSavegameManager::SetInstance(saves);
    saves->ReadMaxSize();
    return true;
}

bool PCApplicationImpl::RegisterResourceProviders() {
    // Slot: the 23 providers of TypeKey::kProviderWords, registered in the resource
    // manager in the order "directory", "data", "localization", "sound", "prsAnimation",
    // "prscAnimation", "skeletonPrsAnimation", "vertexBuffer", "texture", "scene3D",
    // "light", "font", "sprite", "material", "textureSlot", "renderer", "camera",
    // "emitter3D", "vertexBufferDynamic", "mesh", "model", "skeleton", "text".
    return true;
}

bool PCApplicationImpl::LoadMemoryMapping() {
    // Slot: when the file manager finds "memorymapping.mem", AGMemoryMapping loads it.
    return true;
}

void PCApplicationImpl::StopJobbers() {
    // Slot: drains and joins every jobber, before anything its jobs use is deleted.
}

void PCApplicationImpl::DeleteFileManager() {
    // Slot: deletes PCFileManager.
}

void PCApplicationImpl::DeleteResourceManager() {
    // Slot: deletes AGResourceManager.
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
    // Slot: frees the (already stopped) jobbers, then deletes PCJobsManager.
}

void PCApplicationImpl::DeleteThreadingManager() {
    // Slot: deletes PCThreadingManager.
}
