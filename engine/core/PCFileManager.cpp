#include "engine/core/PCFileManager.h"

#include "platform/file/Path.h"

PCFile* PCFileManager::Open(const char* name, u32 mode, bool readWhole) {
    PCFile* file = new PCFile;
    file->Open(name, mode, readWhole);
    return file;
}

bool PCFileManager::Exists(const char* path) {
    unsigned mode = 0;
    return platform::StatPath(path, &mode) && (mode & 0xF000u) != 0;
}

bool PCFileManager::IsDirectory(const char* path) {
    unsigned mode = 0;
    return platform::StatPath(path, &mode) && (mode & 0x4000u) != 0;
}
