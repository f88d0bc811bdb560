#pragma once
// What the application needs of the graphics: the graphic device and its context manager,
// the graphics resource providers, and the device's part in a frame and in a mode switch.
// The graphics library supplies it through the factory pointer, which the program sets before
// start-up, so the core never depends on the graphics. With no factory the application runs
// without graphics, which only a window without a system surface allows.
#include "engine/core/AGTypes.h"

class AGResourceManager;

class AGApplicationGraphics {
public:
    using Factory = AGApplicationGraphics* (*)();
    static inline Factory s_implFactory = nullptr;

    AGApplicationGraphics() = default;
    AGApplicationGraphics(const AGApplicationGraphics&) = delete;
    AGApplicationGraphics& operator=(const AGApplicationGraphics&) = delete;
    virtual ~AGApplicationGraphics() = default;

    // Start-up: the device object (not yet started, scale 1.0), then the context manager, each
    // published through its instance pointer.
    virtual void CreateDeviceObject() = 0;
    virtual void CreateContextManager() = 0;
    // The graphics resource classes take over their types from the core's placeholders.
    virtual void RegisterProviders(AGResourceManager* resources) = 0;
    // Starts the device on the window's system surface; false with GetFailureReason set.
    virtual bool StartDevice(void* surface, u32 width, u32 height, u32 flags) = 0;
    virtual const char* GetFailureReason() const = 0;
    // The settings flags the started device took (it may refuse full screen or multisampling).
    virtual u32 GetModeFlags() const = 0;

    // One frame: layer update, render and present.
    virtual void RenderFrame() = 0;
    // The last frame was not drawn, as the window already showed its picture.
    virtual bool FrameSkipped() const { return false; }
    // Something outside the layers may have changed the window's picture: the next frame draws.
    virtual void InvalidateFrame() {}
    // Whether the device refuses a switch to full screen now.
    virtual bool RefusesSwitch() const = 0;
    // Resets a started device for (width, height, flags) and returns the flags it took;
    // without one, returns flags.
    virtual u32 ResetDevice(u32 width, u32 height, u32 flags) = 0;
    virtual void SetActive(bool active) = 0;

    // Shutdown: each deletes its object and clears its instance pointer.
    virtual void DeleteDevice() = 0;
    virtual void DeleteContextManager() = 0;
};
