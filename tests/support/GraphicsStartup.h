#pragma once
// The program's graphics start-up (InstallGraphicsStartup, as main.cpp installs it) for the
// length of a test: an application started meanwhile gets its graphic device, context manager
// and graphics providers as the game does. Part() builds the same graphics part without an
// application, through the start-up steps that create the device object and the context
// manager, for tests that draw on a window of their own; Shutdown (or the helper's end) runs
// the shutdown steps.
#include <memory>

#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "engine/graphics/PCGraphicsStartup.h"

class GraphicsStartup {
public:
    GraphicsStartup() : m_saved(AGApplicationGraphics::s_implFactory) { InstallGraphicsStartup(); }
    ~GraphicsStartup() {
        Shutdown();
        AGApplicationGraphics::s_implFactory = m_saved;
    }
    GraphicsStartup(const GraphicsStartup&) = delete;
    GraphicsStartup& operator=(const GraphicsStartup&) = delete;

    AGApplicationGraphics& Part() {
        if (!m_part) {
            m_part.reset(AGApplicationGraphics::s_implFactory());
            m_part->CreateDeviceObject();
            m_part->CreateContextManager();
        }
        return *m_part;
    }
    // The graphics providers, registered as the application's start-up registers them.
    static void RegisterProviders(AGResourceManager* resources) {
        GraphicsStartup startup;
        std::unique_ptr<AGApplicationGraphics>(AGApplicationGraphics::s_implFactory())->RegisterProviders(resources);
    }
    PCGraphicDevice& Device() { return Part(), *PCGraphicDevice::Get(); }
    PCContextManager& Context() { return Part(), *PCContextManager::Get(); }
    void Shutdown() {
        if (!m_part)
            return;
        m_part->DeleteDevice();
        m_part->DeleteContextManager();
        m_part.reset();
    }

private:
    AGApplicationGraphics::Factory m_saved;
    std::unique_ptr<AGApplicationGraphics> m_part;
};
