#pragma once
// Opens disk files. Paths may use "\" or "/"; a path not found as written is looked up
// without regard to case.
#include "engine/core/AGFile.h"
#include "engine/core/AGSingleton.h"
#include "engine/core/PCFile.h"

class PCFileManager : public AGFileManager, public AGSingleton<PCFileManager> {
public:
    PCFile* Open(const char* name, u32 mode, bool readWhole) override;
    // stat succeeds and the file-type bits (0xF000) are not all zero.
    bool Exists(const char* path) override;
    // stat succeeds and the folder bit (0x4000) is set.
    bool IsDirectory(const char* path) override;
};
