#include "platform/window/TestWindowBackend.h"

#include <gtest/gtest.h>

#include <memory>

using namespace platform::window;

namespace {

Backend* MakeTestBackend() { return new TestBackend(); }

// The stand-in window keeps what it was made with and what it was told, and hands out the
// injected messages in order; the factory decides which backend the engine gets.
TEST(TestWindowBackend, RecordsTheWindowAndQueuesInjectedMessages) {
    SetBackendFactory(&MakeTestBackend);
    std::unique_ptr<Backend> made(CreateBackend());
    SetBackendFactory(nullptr);
    auto* backend = dynamic_cast<TestBackend*>(made.get());
    ASSERT_NE(backend, nullptr);
    backend->SetCreateFails(true);
    EXPECT_FALSE(backend->Create(WindowDesc{}));
    EXPECT_FALSE(backend->HasWindow());
    backend->SetCreateFails(false);
    WindowDesc desc{"t", 320, 200, true, true, false};
    ASSERT_TRUE(backend->Create(desc));
    EXPECT_TRUE(backend->HasWindow());
    EXPECT_STREQ(backend->LastDesc().title, "t");
    EXPECT_TRUE(backend->IsFullscreen());
    EXPECT_TRUE(backend->IsCursorHidden());
    uint32_t w = 0, h = 0;
    backend->GetClientSize(w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(320u, 200u));

    backend->SetPosition(7, 9);
    int32_t left = 0, top = 0;
    backend->GetPosition(left, top);
    EXPECT_EQ(std::pair(left, top), std::pair(7, 9));
    backend->ApplyStyle(false, 640, 480);
    backend->GetPosition(left, top);
    EXPECT_EQ(std::pair(left, top), std::pair(7, 9));  // a window keeps its place
    backend->GetClientSize(w, h);
    EXPECT_EQ(std::pair(w, h), std::pair(640u, 480u));
    EXPECT_FALSE(backend->IsFullscreen());
    backend->ApplyStyle(true, 640, 480);
    backend->GetPosition(left, top);
    EXPECT_EQ(std::pair(left, top), std::pair(0, 0));
    backend->SetCursorHidden(false);
    EXPECT_FALSE(backend->IsCursorHidden());
    backend->SetVsyncPaced(true);
    EXPECT_TRUE(backend->IsVsyncPaced());
    int surface = 0;
    backend->SetNativeHandle(&surface);
    EXPECT_EQ(backend->NativeHandle(), &surface);

    Message key;
    key.kind = MessageKind::KeyDown;
    key.key = 'A';
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
