#include "gameservices/bridge/FileSystem.h"

#include <algorithm>

#include "engine/core/AGDirectory.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"

namespace GameServices::Bridge {

namespace {

FileSystem* g_instance = nullptr;

// Folders of the file kinds 0-15; null for none.
const char* const kFolders[16] = {
    "-Data/",          "",       "-Xml/Levels/", "-Xml/Global/", "-Xml/KorvoCity/",
    "-Data/Prop/",     "",       "-Data/",       "-Data/",       "-Data/Font/",
    "-Data/Widget/",   "-Xml/Screen/", "",       "",             "-Data/AudioAsset/",
    "Video/",
};

AGBaseProvider* DirectoryProvider() {
    AGResourceManager* resources = AGResourceManager::Get();
    return resources ? resources->GetProvider(TypeKey::Directory) : nullptr;
}

}  // namespace

FileSystem* FileSystem::Instance() {
    if (!g_instance)
        g_instance = new FileSystem();
    return g_instance;
}

void FileSystem::Destroy() {
    if (g_instance && g_instance->m_packageMode)
        GameServices::Utilities::XmlReader::SetPackageMode(false);
    delete g_instance;
    g_instance = nullptr;
}

FileSystem::~FileSystem() {
    while (!m_loaded.empty()) {
        const u32 id = m_loaded.back();
        m_loaded.pop_back();
        auto it = m_packages.find(id);
        if (it == m_packages.end() || it->second.empty())
            continue;
        AGDirectory* directory = it->second.back();
        it->second.pop_back();
        Drop(directory);
    }
}

void FileSystem::Drop(AGDirectory* directory) {
    AGBaseProvider* provider = DirectoryProvider();
    if (!provider) {
        // The resource manager is gone, and with it every package object.
        AGReport("FileSystem: packages outlived the resource manager");
        return;
    }
    directory->Unmount();
    provider->Release(directory);
}

void FileSystem::SetRootPath(const TString<char>& root) {
    Instance()->m_root = root;
}

void FileSystem::UsePackages() {
    Instance()->m_packageMode = true;
    // XML files are then read from the "data" provider instead of the disk.
    GameServices::Utilities::XmlReader::SetPackageMode(true);
}

bool FileSystem::UsesPackages() {
    return Instance()->m_packageMode;
}

TString<char> FileSystem::GetFilePath(u32 kind, const TString<char>& name) {
    FileSystem* self = Instance();
    if (self->m_packageMode && kind != FILE_PACKAGE && kind != FILE_VIDEO)
        return name;
    TString<char> path = self->m_root;
    if (kind < 16)
        path += kFolders[kind];
    path += name;
    path.ToLower();
    return path;
}

u32 FileSystem::PackageId(const TString<char>& name) {
    TString<char> lower = name;
    lower.ToLower();
    return Crc32Hash(lower.c_str());
}

bool FileSystem::LoadPackage(const TString<char>& name, bool onWorker) {
    FileSystem* self = Instance();
    const u32 id = PackageId(name);
    if (std::find(self->m_loaded.begin(), self->m_loaded.end(), id) != self->m_loaded.end())
        AGReport("you already loaded that package");
    AGBaseProvider* provider = DirectoryProvider();
    AGDirectory* directory = provider ? static_cast<AGDirectory*>(provider->Create()) : nullptr;
    if (!directory) {
        AGReport("package %s cannot be loaded: no \"directory\" provider", name.c_str());
        return false;
    }
    directory->SetNameId(id);
    directory->SetIsBase(true);
    directory->AddRef();  // held by the file system until unloaded
    provider->Insert(id, directory);
    directory->Mount(GetFilePath(FILE_PACKAGE, name).c_str(), onWorker);
    self->m_packages[id].push_back(directory);
    self->m_loaded.push_back(id);
    return !directory->Loaded() || AGDirectory::FindMounted(directory->NameId()) == directory ||
           !directory->Blocks().empty();
}

bool FileSystem::IsPackageLoaded(const TString<char>& name) {
    FileSystem* self = Instance();
    const u32 id = PackageId(name);
    auto it = self->m_packages.find(id);
    if (std::find(self->m_loaded.begin(), self->m_loaded.end(), id) == self->m_loaded.end() ||
        it == self->m_packages.end() || it->second.empty()) {
        AGReport("That package was never opened!");
        return false;
    }
    return it->second.back()->Loaded();
}

bool FileSystem::HasPendingMounts() {
    if (!g_instance)
        return false;
    for (const auto& [id, mounts] : g_instance->m_packages)
        for (const AGDirectory* directory : mounts)
            if (!directory->Loaded())
                return true;
    return false;
}

void FileSystem::UnloadPackage(const TString<char>& name) {
    FileSystem* self = Instance();
    const u32 id = PackageId(name);
    auto listed = std::find(self->m_loaded.begin(), self->m_loaded.end(), id);
    auto it = self->m_packages.find(id);
    if (listed == self->m_loaded.end() || it == self->m_packages.end() || it->second.empty()) {
        AGReport("you try to unload a package that has not been loaded or has already been "
                 "unloaded");
        return;
    }
    self->m_loaded.erase(listed);
    AGDirectory* directory = it->second.back();
    it->second.pop_back();
    if (it->second.empty())
        self->m_packages.erase(it);
    Drop(directory);
}

namespace {
u32 g_x = 123456789;
u32 g_y = 362436069;
u32 g_z = 521288629;
u32 g_w = 88675123;
}  // namespace

u32 RandomRange(u32 min, u32 max) {
    const bool empty = max <= min;
    if (empty)
        AGReport("min Greater than max");
    const u32 t = g_x ^ (g_x << 11);
    g_x = g_y;
    g_y = g_z;
    g_z = g_w;
    g_w = g_w ^ (g_w >> 19) ^ t ^ (t >> 8);
    return empty ? min : min + g_w % (max - min);
}

void SeedRandom(u32 x, u32 y, u32 z, u32 w) {
    g_x = x;
    g_y = y;
    g_z = z;
    g_w = w;
}

}  // namespace GameServices::Bridge
