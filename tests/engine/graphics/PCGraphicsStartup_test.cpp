// The graphics start-up the program installs (main.cpp), through the helper every test that
// starts the application holds.
#include "engine/graphics/PCGraphicsStartup.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/AGResourceManager.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/graphics/PCModel.h"
#include "engine/graphics/PCTexture.h"
#include "tests/engine/core/AppTestSupport.h"

namespace {

class GraphicsStartupTest : public ProgramFixture {
protected:
    GraphicsStartupTest() : ProgramFixture("GraphicsStartupTest", 0) {}
};

// The device object, its context and the graphics providers exist from start-up to shutdown;
// the device is started only on a window with a system surface.
TEST_F(GraphicsStartupTest, GivesTheApplicationItsDeviceContextAndProviders) {
    for (bool systemWindow : {false, true}) {
        platform::window::SetBackendFactory(systemWindow ? nullptr : &MakeTestBackend);
        GraphicsStartup graphics;
        PCApplicationImpl app;
        ASSERT_TRUE(app.Initialize()) << systemWindow;
        PCGraphicDevice* device = PCGraphicDevice::Get();
        EXPECT_EQ(device->GetDevice() != nullptr, systemWindow);
        EXPECT_EQ(PCContextManager::Get()->GetDevice(), device->GetDevice());
        EXPECT_EQ(std::make_pair(device->GetWidth(), device->GetHeight()),
                  systemWindow ? std::pair(800u, 600u) : std::pair(0u, 0u));
        AGResourceManager* resources = AGResourceManager::Get();
        EXPECT_NE(dynamic_cast<AGProvider<PCTexture>*>(resources->GetProvider(TypeKey::Texture)), nullptr);
        EXPECT_NE(dynamic_cast<AGProvider<PCModel>*>(resources->GetProvider(TypeKey::Model)), nullptr);

        app.Shutdown();
        EXPECT_TRUE(!PCGraphicDevice::Get() && !PCContextManager::Get());
        PCTexture().Bind(0);  // with no device there is nothing to bind to
    }
}

TEST_F(GraphicsStartupTest, ASystemWindowWithoutGraphicsStopsStartUpWithAMessage) {
    PCApplicationImpl app;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(app.Initialize());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("GraphicsStartupTest: cannot start the graphics"), std::string::npos) << err;
    EXPECT_EQ(PCGraphicDevice::Get(), nullptr);
    app.Shutdown();
}

}  // namespace
