#include "engine/core/AGMemBuffer.h"
#include "engine/core/AGMemoryMapping.h"
#include "engine/core/PCFile.h"
#include "engine/core/PCFileManager.h"

void AGMemoryMapping::Load(AGMemBuffer* buffer, u32 /*a*/, bool /*inPlace*/, bool /*shared*/) {
    if (!buffer || !buffer->Base())
        return;
    LoadFromBytes(buffer->Cursor(), buffer->Remaining());
}

bool AGMemoryMapping::LoadFile(const char* name) {
    PCFileManager local;
    PCFileManager* files = PCFileManager::Get() ? PCFileManager::Get() : &local;
    if (!files->Exists(name))
        return false;
    PCFile* file = files->Open(name, AGFile::kModeRead, true);
    bool loaded = false;
    if (file->IsOpen())
        loaded = LoadFromBytes(file->Cursor(), file->Remaining());
    delete file;
    return loaded;
}
