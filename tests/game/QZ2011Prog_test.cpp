#include "game/QZ2011Prog.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/core/AGApplication.h"
#include "engine/core/PCApplicationImpl.h"
#include "platform/core/Clock.h"
#include "platform/window/TestWindowBackend.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

namespace {

platform::window::Backend* MakeTestBackend() {
    return new platform::window::TestBackend();
}

}  // namespace

// The entry point's sequence on the test window: start-up, the program's run loop ended by
// a close request, shutdown, release.
TEST(QZ2011Prog, RunsTheGameUntilTheWindowCloses) {
    TempDir home;
    ScopedEnv env;
    env.Set("XDG_CONFIG_HOME", home.Path()).Set("XDG_DATA_HOME", home.Path());
    platform::FakeClock clock;
    platform::window::SetBackendFactory(&MakeTestBackend);
    AGProgram::SetInstance(&QZ2011::g_QZ2011Prog);
    GraphicsStartup graphics;

    AGApplication& application = AGApplication::Get();
    auto* impl = static_cast<PCApplicationImpl*>(application.GetImpl());
    ASSERT_NE(impl, nullptr);
    ASSERT_TRUE(impl->Initialize());
    EXPECT_EQ(impl->GetProgramName(), "Tallyvox");
    auto* window = static_cast<platform::window::TestBackend*>(impl->GetWindow());
    platform::window::Message close;
    close.kind = platform::window::MessageKind::CloseRequest;
    window->Post(close);
    QZ2011::g_QZ2011Prog.Run();
    EXPECT_FALSE(impl->HasWindow());
    impl->Shutdown();
    application.Release();
    EXPECT_EQ(application.GetImpl(), nullptr);

    AGProgram::SetInstance(nullptr);
    platform::window::SetBackendFactory(nullptr);
}
