#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/core/AGApplication.h"
#include "engine/core/AGDeviceManager.h"
#include "engine/core/AGVirtualKey.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PCInputRecord.h"
#include "tests/engine/core/AppTestSupport.h"
#include "tests/support/FileContents.h"
#include "tests/support/LogCapture.h"

using platform::window::Message;
using platform::window::MessageKind;
using platform::window::TestBackend;

namespace {

constexpr u32 kDefaultFlags = 0x80000007u;

Message Key(MessageKind kind, u32 vk, bool alt = false) {
    return {.kind = kind, .key = vk, .alt = alt};
}

Message Move(i32 x, i32 y) {
    return {.kind = MessageKind::MouseMove, .x = x, .y = y};
}

// Engine key code of a virtual key of the keyboard table.
u32 CodeOf(u32 vk) {
    return kFirstKeyboardCode + u32(std::find(kKeyboardTable, kKeyboardTable + kKeyboardCodeCount, vk) -
                                    kKeyboardTable);
}

class ApplicationWindow : public ProgramFixture {
protected:
    ApplicationWindow() : ProgramFixture("Tallyvox", kDefaultFlags) {
        EXPECT_EQ(AGApplication::s_uiLanguage, 0u) << "the first language until one is detected";
    }
    ~ApplicationWindow() override {
        Stop();
        AGApplication::s_uiLanguage = 0;
    }

    void Start(bool realWindow = false, platform::window::BackendFactory backend = MakeTestBackend) {
        platform::window::SetBackendFactory(realWindow ? nullptr : backend);
        m_app = new PCApplicationImpl();
        ASSERT_TRUE(m_app->Initialize());
    }
    void Stop() {
        if (m_app) {
            m_app->Shutdown();
            delete m_app;
            m_app = nullptr;
        }
    }

    std::string SettingsPath() const { return m_config.File("Korvo Inc./Tallyvox/settings"); }
    void WriteSettings(const std::string& text) { m_config.Write("Korvo Inc./Tallyvox/settings", text); }
    TestBackend* Backend() const { return static_cast<TestBackend*>(m_app->GetWindow()); }
    void Send(const Message& m) { m_app->DispatchMessage(m); }
    void Poll() { AGDeviceManager::Get()->Update(); }

    GraphicsStartup m_graphics;
    PCApplicationImpl* m_app = nullptr;
};

// --- Settings ----------------------------------------------------------------------------

// Start-up also detects the language, LANGUAGE first.
TEST_F(ApplicationWindow, StoredSettingsOverrideTheDefaultsOnlyWhenUsable) {
    m_env.Unset("LC_ALL").Unset("LC_MESSAGES").Set("LANGUAGE", "zh_TW:fr").Set("LANG", "fr_FR.UTF-8");
    Start();
    EXPECT_EQ(AGApplication::s_uiLanguage, 8u);
    // Mainland Chinese has its own index too, Chinese without a region none (99 here); other
    // languages take theirs from the language alone.
    for (auto [tag, want] : {std::pair{"zh-cn.UTF-8", 10u}, {"PT_br", 9u}, {"zh", 99u}, {nullptr, 99u}}) {
        u32 index = 0;
        EXPECT_EQ(PCApplicationImpl::LanguageIndexFromTag(tag, index) ? index : 99u, want) << (tag ? tag : "null");
    }

    m_program.m_flags = kDefaultFlags & ~kSettingMultisampling;  // so that a stored 1 sets it
    const std::string tooLarge(64 * 1024 + 1, '#');
    const struct { const char* file; u32 width, height, flags; const char* reported; } cases[] = {
        {nullptr, 800, 600, m_program.m_flags, nullptr},
        {"HideCursor=0\nFullscreen=0\nMultisampling=1\nWindowWidth=1024\nWindowHeight=768\n", 1024, 768,
         0x80000004u, nullptr},
        {"WindowWidth=0\nWindowHeight=abc\nFullscreen=-1\nMultisampling=4294967296\n", 800, 600,
         m_program.m_flags, "WindowHeight=abc"},
        {"WindowWidth=16384\nWindowHeight=320\n", 16384, 320, m_program.m_flags, nullptr},
        {"WindowWidth=16385\nWindowHeight=319\n", 800, 600, m_program.m_flags, "WindowHeight=319"},
        {tooLarge.c_str(), 800, 600, m_program.m_flags, "too large"},
    };
    for (const auto& c : cases) {
        Stop();
        if (c.file)
            WriteSettings(c.file);
        LogCapture log;
        Start();
        EXPECT_EQ(std::vector<u32>({m_app->GetWidth(), m_app->GetHeight(), m_app->GetFlags()}),
                  std::vector<u32>({c.width, c.height, c.flags}))
            << c.file;
        const auto& desc = Backend()->LastDesc();
        EXPECT_EQ(std::vector<u32>({desc.width, desc.height, desc.hideCursor, desc.multisample, desc.fullscreen}),
                  std::vector<u32>({c.width, c.height, (c.flags & kSettingHideCursor) != 0,
                                    (c.flags & kSettingMultisampling) != 0, (c.flags & kSettingFullscreen) != 0}))
            << c.file;
        EXPECT_TRUE(!c.reported || log.Contains(c.reported)) << c.file;
    }
    // A file that cannot be read is not replaced when a setting changes.
    m_app->ToggleMultisampling();
    EXPECT_EQ(FileContents(SettingsPath()), tooLarge);
}

// With a software renderer multisampling starts off unless the player stored a value, and the
// stored settings stay as they are.
TEST_F(ApplicationWindow, ASoftwareRendererStartsWithoutMultisamplingUnlessThePlayerChoseIt) {
    const struct {
        bool software;
        const char* file;
        bool multisample;
    } cases[] = {{true, "WindowWidth=800\n", false}, {true, "Multisampling=1\n", true},
                 {true, "Multisampling=x\n", false}, {false, "WindowWidth=800\n", true}};
    for (const auto& c : cases) {
        Stop();
        WriteSettings(c.file);
        TestBackend::SetSoftwareRenderer(c.software);
        Start();
        TestBackend::SetSoftwareRenderer(false);
        EXPECT_EQ(std::tuple((m_app->GetFlags() & kSettingMultisampling) != 0, Backend()->LastDesc().multisample,
                             FileContents(SettingsPath())),
                  std::tuple(c.multisample, c.multisample, std::string(c.file)))
            << c.software << " " << c.file;
    }
}

// Each toggle writes only its own value; leaving full screen returns the window to its place; a
// display that refuses the switch keeps the mode, and a mode the device cannot take is undone.
TEST_F(ApplicationWindow, EachToggleWritesOnlyItsOwnValueAndLeavingFullScreenRestoresThePlace) {
    WriteSettings("WindowWidth=1024\nFullscreen=1\n# by hand\n");
    FakeGraphics::Installed fake;
    Start(false, MakeTestBackendWithSurface);
    EXPECT_TRUE(Backend()->IsFullscreen());
    const struct { bool fullscreen; u32 flags; const char* file; } steps[] = {  // fullscreen, else multisampling
        {true, kDefaultFlags & ~kSettingFullscreen, "WindowWidth=1024\nFullscreen=0\n# by hand\n"},
        {false, kDefaultFlags & ~(kSettingFullscreen | kSettingMultisampling),
         "WindowWidth=1024\nFullscreen=0\n# by hand\nMultisampling=0\n"},
        {true, kDefaultFlags & ~kSettingMultisampling, "WindowWidth=1024\nFullscreen=1\n# by hand\nMultisampling=0\n"},
        {false, kDefaultFlags, "WindowWidth=1024\nFullscreen=1\n# by hand\nMultisampling=1\n"},
        {true, kDefaultFlags & ~kSettingFullscreen, "WindowWidth=1024\nFullscreen=0\n# by hand\nMultisampling=1\n"},
    };
    LogCapture log;
    for (const auto& step : steps) {
        if (step.fullscreen)
            Send(Message{MessageKind::ModeSwitch});
        else
            m_app->ToggleMultisampling();
        EXPECT_EQ(std::tuple(m_app->GetFlags(), Backend()->IsFullscreen(), FileContents(SettingsPath())),
                  std::tuple(step.flags, (step.flags & kSettingFullscreen) != 0, std::string(step.file)));
        i32 left = -1, top = -1;
        Backend()->GetPosition(left, top);
        u32 width = 0, height = 0;
        Backend()->GetClientSize(width, height);
        if (&step == &steps[0])
            Backend()->SetPosition(120, 80);
        else if (step.fullscreen) {
            EXPECT_EQ(std::vector<u32>({u32(left), u32(top), width, height}),
                      (step.flags & kSettingFullscreen ? std::vector<u32>{0, 0, width, height}
                                                       : std::vector<u32>{120, 80, 1024, 600}));
        }
    }
    EXPECT_FALSE(log.Contains("not saved"));
    g_fakeGraphics.refusesSwitch = true;
    Send(Message{MessageKind::ModeSwitch});
    EXPECT_TRUE(!Backend()->IsFullscreen() && log.Contains("cannot switch"));
    // Where no display mode fits, the refusal is told and the stored choice stays.
    g_fakeGraphics = {.refusedFlags = kSettingFullscreen};
    WriteSettings("Fullscreen=1\n");
    Send(Message{MessageKind::ModeSwitch});
    EXPECT_TRUE(!Backend()->IsFullscreen() && !(m_app->GetFlags() & kSettingFullscreen));
    EXPECT_TRUE(log.Contains("no display mode fits") && FileContents(SettingsPath()) == "Fullscreen=1\n");
}

// --- Input -------------------------------------------------------------------------------

// Key edges count polls, not messages: a key or a button pressed and released between two polls
// is held at the first and released at the next, once. Focus loss releases every key; Alt+Enter
// switches the mode (here to a window of 800 x 600) and never reaches the game. Wheel notches add
// up, and the mouse stays in [0, 1] on any client.
TEST_F(ApplicationWindow, KeysCountPollsAltEnterIsTheWindowsOwnAndTheMouseStaysInZeroToOne) {
    g_inputRecord.SetKey('Q', true);  // left from before: start-up clears it
    Start();
    EXPECT_FALSE(g_inputRecord.IsKeySet('Q'));
    AGVirtualKey q, enter, left;
    q.SetKey(84, 0);
    enter.SetKey(CodeOf(13), 0);
    left.SetKey(2, 0);
    for (MessageKind kind : {MessageKind::KeyDown, MessageKind::KeyUp, MessageKind::ButtonDown, MessageKind::ButtonUp})
        Send(Message{.kind = kind, .key = 'Q', .button = platform::window::MouseButton::Left});
    auto state = [](const AGVirtualKey& key) {
        return std::string(key.IsDown() ? "d" : "-") + (key.WasPressed() ? "p" : "-") + (key.WasReleased() ? "r" : "-");
    };
    std::vector<std::string> seen = {state(q)};  // the keyboard compares with the last poll
    for (int poll = 0; poll < 3; ++poll, seen.push_back(state(q) + state(left)))
        Poll();
    EXPECT_EQ(seen, (std::vector<std::string>{"dp-", "--rdp-", "-----r", "------"}));
    Send(Key(MessageKind::KeyDown, 'Q'));
    Send(Key(MessageKind::KeyDown, 'Q'));  // auto-repeat
    Poll();

    const u32 before = m_app->GetFlags();
    Send(Key(MessageKind::KeyDown, 18, true));
    Send(Key(MessageKind::KeyDown, 13, true));
    EXPECT_EQ(m_app->GetFlags(), before ^ kSettingFullscreen);
    Poll();
    EXPECT_FALSE(enter.IsDown() || enter.WasPressed());
    Send(Key(MessageKind::KeyUp, 18));
    Send(Key(MessageKind::KeyDown, 13));  // Enter alone is an ordinary key
    EXPECT_TRUE(enter.IsDown());

    for (u32 vk : {16u, 32u, u32('Z'), 123u, 220u})
        Send(Key(MessageKind::KeyDown, vk));
    Poll();
    Send(Message{MessageKind::Deactivate});
    for (u32 vk = 0; vk < 256; ++vk)
        EXPECT_FALSE(g_inputRecord.IsKeySet(vk)) << vk;
    EXPECT_TRUE(!m_app->IsActive() && q.WasReleased());

    Send(Message{.kind = MessageKind::Wheel, .wheelDelta = 120});
    Send(Message{.kind = MessageKind::ButtonDown, .button = platform::window::MouseButton::Middle});
    EXPECT_EQ(std::pair(int(g_inputRecord.wheelDelta), int(g_inputRecord.buttons)), std::pair(120, int(kMouseMiddle)));
    Poll();
    EXPECT_EQ(g_inputRecord.wheelDelta, 0);

    Send(Move(799, 299));
    EXPECT_EQ(std::make_pair(g_inputRecord.mouseX, g_inputRecord.mouseY),
              std::make_pair(1.0f, 299.0f / 599.0f));
    Send(Move(-50, 5000));  // dragged outside
    EXPECT_EQ(std::make_pair(g_inputRecord.mouseX, g_inputRecord.mouseY), std::make_pair(0.0f, 1.0f));
    Send(Message{MessageKind::MouseLeave});  // gone: outside, and the middle button let go
    EXPECT_EQ(int(g_inputRecord.mouseInside) * 10 + int(g_inputRecord.buttons), 0);
    // A 1-pixel and a minimised (0-pixel) client.
    for (u32 size : {1u, 0u}) {
        Backend()->ApplyStyle(false, size, size);
        for (i32 pos : {0, 1, 5, -3}) {
            Send(Move(pos, pos));
            EXPECT_TRUE(g_inputRecord.mouseX >= 0.0f && g_inputRecord.mouseX <= 1.0f) << size << " " << pos;
            EXPECT_EQ(g_inputRecord.mouseY, g_inputRecord.mouseX) << size << " " << pos;
        }
    }
}

}  // namespace
