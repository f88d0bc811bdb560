#pragma once
// The application's graphics on the OpenGL graphic device: what the program installs so that
// start-up creates the graphic device, its context manager and the graphics providers.
#include "engine/core/AGApplicationGraphics.h"

class PCGraphicsStartup final : public AGApplicationGraphics {
public:
    void CreateDeviceObject() override;
    void CreateContextManager() override;
    void RegisterProviders(AGResourceManager* resources) override;
    bool StartDevice(void* surface, u32 width, u32 height, u32 flags) override;
    const char* GetFailureReason() const override;
    u32 GetModeFlags() const override;
    void RenderFrame() override;
    bool FrameSkipped() const override;
    void InvalidateFrame() override;
    // The OpenGL device can always switch.
    bool RefusesSwitch() const override { return false; }
    u32 ResetDevice(u32 width, u32 height, u32 flags) override;
    void SetActive(bool active) override;
    void DeleteDevice() override;
    void DeleteContextManager() override;
};

// Sets the application's graphics factory to PCGraphicsStartup; called before start-up.
void InstallGraphicsStartup();
