// The application's graphics part: the graphic device and its context manager.
#include "engine/core/PCApplicationImpl.h"

bool PCApplicationImpl::CreateGraphicDeviceObject() {
    // Slot: PCGraphicDevice, the object only, with x and y scale 1.0.
    return true;
}

bool PCApplicationImpl::CreateContextManager() {
    // Slot: PCContextManager.
    return true;
}

bool PCApplicationImpl::CreateGraphicDevice() {
    // Slot: creates the device for the window with (window, width, height, flags), scale
    // 1.0; adopts the flags the device came back with and re-applies the window style.
    // A device that cannot be created stops start-up with a message on stderr.
    return true;
}

void PCApplicationImpl::RenderFrame() {
    // Slot: the graphic device's layer update, then its frame render and present.
}

void PCApplicationImpl::DeleteGraphicDevice() {
    // Slot: the graphic device's Shutdown, then delete.
}

void PCApplicationImpl::DeleteContextManager() {
    // Slot: deletes PCContextManager.
}

bool PCApplicationImpl::GraphicsRefusesSwitch() {
    // Slot: the graphic device's switch lock.
    return false;
}

u32 PCApplicationImpl::ResetGraphicDevice(u32 /*width*/, u32 /*height*/, u32 flags) {
    // Slot: the graphic device's ResetDevice; returns the mode flags the device took.
    return flags;
}

void PCApplicationImpl::SetGraphicDeviceActive(bool /*active*/) {
    // Slot: the graphic device's active flag.
}
