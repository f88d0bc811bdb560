#include "game/QZ2011Prog.h"

#include <gtest/gtest.h>

#include "engine/core/AGApplication.h"
#include "engine/core/PCApplicationImpl.h"
#include "platform/core/Clock.h"
#include "platform/window/TestWindowBackend.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

namespace {

platform::window::Backend* MakeTestBackend() { return new platform::window::TestBackend(); }

}  // namespace

// The program's window defaults, and the entry point's sequence on the test window: start-up,
// the program's run loop ended by a close request, shutdown, release.
TEST(Program, RunsTheGameUntilTheWindowCloses) {
    u32 size[3] = {};
    QZ2011::g_QZ2011Prog.GetDefaultSettings(&size[0], &size[1], &size[2]);
    EXPECT_EQ(std::vector<u32>(size, size + 3), (std::vector<u32>{800, 600, kSettingMultisampling | 0x80000003u}));
    TempDir home;
    ScopedEnv env;
    env.Set("XDG_CONFIG_HOME", home.Path()).Set("XDG_DATA_HOME", home.Path());
    platform::FakeClock clock;
    platform::window::SetBackendFactory(&MakeTestBackend);
    AGProgram::SetInstance(&QZ2011::g_QZ2011Prog);
    GraphicsStartup graphics;
    AGApplication& application = AGApplication::Get();
    auto* impl = static_cast<PCApplicationImpl*>(application.GetImpl());
    ASSERT_TRUE(impl && impl->Initialize());
    EXPECT_EQ(impl->GetProgramName(), "Tallyvox");
    platform::window::Message close;
    close.kind = platform::window::MessageKind::CloseRequest;
    static_cast<platform::window::TestBackend*>(impl->GetWindow())->Post(close);
    QZ2011::g_QZ2011Prog.Run();
    EXPECT_FALSE(impl->HasWindow());
    impl->Shutdown();
    application.Release();
    EXPECT_EQ(application.GetImpl(), nullptr);
    AGProgram::SetInstance(nullptr);
    platform::window::SetBackendFactory(nullptr);
}
