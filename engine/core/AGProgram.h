#pragma once
// The program object: supplies the title, the window defaults and the main loop's game
// context. The entry point publishes the one program object before start-up.
#include "engine/core/AGObject.h"
#include "engine/core/AGSingleton.h"

// Settings flags of the window.
enum : u32 {
    kSettingHideCursor = 1u << 0,
    kSettingFullscreen = 1u << 1,
    kSettingMultisampling = 1u << 2,
    kSettingPersistent = 1u << 31,  // read at start, written back on change
};

class AGProgram : public AGObject, public AGSingleton<AGProgram> {
public:
    // Builds the game context, hands it to the application's run loop, and destroys it.
    virtual void Run() = 0;
    virtual const char* GetTitle() const = 0;
    virtual void GetDefaultSettings(u32* width, u32* height, u32* flags) const = 0;
};
