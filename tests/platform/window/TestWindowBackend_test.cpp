#include "platform/window/TestWindowBackend.h"

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

using namespace platform::window;

namespace {

// The stand-in window keeps what it was made with and told (full screen moves it to the
// origin), and hands out the injected messages in order; the factory picks the backend.
TEST(TestWindowBackend, RecordsTheWindowAndQueuesInjectedMessages) {
    SetBackendFactory([]() -> Backend* { return new TestBackend(); });
    std::unique_ptr<Backend> made(CreateBackend());
    SetBackendFactory(nullptr);
    auto* backend = dynamic_cast<TestBackend*>(made.get());
    ASSERT_NE(backend, nullptr);
    backend->SetCreateFails(true);
    EXPECT_FALSE(backend->Create(WindowDesc{}));
    EXPECT_FALSE(backend->HasWindow());
    backend->SetCreateFails(false);
    ASSERT_TRUE(backend->Create(WindowDesc{"t", 320, 200, true, true, false}));
    EXPECT_TRUE(backend->HasWindow() && backend->IsFullscreen() && backend->IsCursorHidden());
    EXPECT_STREQ(backend->LastDesc().title, "t");
    auto place = [&] {
        uint32_t w = 0, h = 0;
        int32_t left = 0, top = 0;
        backend->GetClientSize(w, h);
        backend->GetPosition(left, top);
        return std::tuple(w, h, left, top);
    };
    EXPECT_EQ(place(), std::tuple(320u, 200u, 0, 0));
    backend->SetPosition(7, 9);
    backend->ApplyStyle(false, 640, 480);
    EXPECT_EQ(place(), std::tuple(640u, 480u, 7, 9));
    EXPECT_FALSE(backend->IsFullscreen());
    backend->ApplyStyle(true, 640, 480);
    EXPECT_EQ(place(), std::tuple(640u, 480u, 0, 0));
    int surface = 0;
    backend->SetNativeHandle(&surface);
    backend->SetCursorHidden(false);
    backend->SetVsyncPaced(true);
    EXPECT_TRUE(backend->NativeHandle() == &surface && !backend->IsCursorHidden() && backend->IsVsyncPaced());

    Message key;
    key.kind = MessageKind::KeyDown;
    backend->Inject(key);
    backend->Inject(MessageKind::Activate);
    backend->Destroy();
    backend->Destroy();  // once only
    EXPECT_FALSE(backend->HasWindow());
    EXPECT_EQ(backend->PendingCount(), 3u);
    std::vector<MessageKind> kinds;
    for (Message m; backend->PollMessage(m);)
        kinds.push_back(m.kind);
    EXPECT_EQ(kinds, (std::vector<MessageKind>{MessageKind::KeyDown, MessageKind::Activate, MessageKind::Destroy}));
    EXPECT_EQ(backend->PolledCount(), 3u);
}

}  // namespace
