#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/core/AGApplication.h"
#include "engine/core/AGDeviceManager.h"
#include "engine/core/AGGameContext.h"
#include "engine/core/AGProgram.h"
#include "engine/core/AGVirtualKey.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PCInputRecord.h"
#include "platform/core/UILocale.h"
#include "platform/window/TestWindowBackend.h"
#include "tests/support/LogCapture.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

using platform::window::Message;
using platform::window::MessageKind;
using platform::window::MouseButton;
using platform::window::TestBackend;

namespace {

constexpr u32 kDefaultFlags = 0x80000007u;

class TestProgram : public AGProgram {
public:
    void Run() override {}
    const char* GetTitle() const override { return "Tallyvox"; }
    void GetDefaultSettings(u32* width, u32* height, u32* flags) const override {
        *width = 800;
        *height = 600;
        *flags = m_flags;
    }
    u32 m_flags = kDefaultFlags;
};

platform::window::Backend* MakeTestBackend() { return new TestBackend; }

std::string ReadWhole(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

Message Key(MessageKind kind, u32 vk, bool alt = false) {
    Message m;
    m.kind = kind;
    m.key = vk;
    m.alt = alt;
    return m;
}

Message Mouse(MessageKind kind, i32 x, i32 y, MouseButton button = MouseButton::Left) {
    Message m;
    m.kind = kind;
    m.x = x;
    m.y = y;
    m.button = button;
    return m;
}

// Engine key code of a virtual key of the keyboard table.
u32 CodeOf(u32 vk) {
    for (u32 i = 0; i < kKeyboardCodeCount; ++i)
        if (kKeyboardTable[i] == vk)
            return kFirstKeyboardCode + i;
    return 0;
}

class ApplicationWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_env.Set("XDG_CONFIG_HOME", m_config.Path());
        m_previousProgram = AGProgram::Get();
        AGProgram::SetInstance(&m_program);
        AGApplication::s_uiLanguage = 0;
    }

    void TearDown() override {
        if (m_app) {
            m_app->Shutdown();
            delete m_app;
        }
        platform::window::SetBackendFactory(nullptr);
        AGProgram::SetInstance(m_previousProgram);
        AGApplication::s_uiLanguage = 0;
    }

    void Start(bool realWindow = false) {
        if (!realWindow)
            platform::window::SetBackendFactory(MakeTestBackend);
        m_app = new PCApplicationImpl();
        ASSERT_TRUE(m_app->Initialize());
    }

    std::string SettingsPath() const { return m_config.File("Korvo Inc./Tallyvox/settings"); }
    void WriteSettings(const std::string& text) { m_config.Write("Korvo Inc./Tallyvox/settings", text); }
    TestBackend* Backend() const { return static_cast<TestBackend*>(m_app->GetWindow()); }
    void Send(const Message& m) { m_app->DispatchMessage(m); }
    void Poll() { AGDeviceManager::Get()->Update(); }

    TempDir m_config;
    ScopedEnv m_env;
    TestProgram m_program;
    AGProgram* m_previousProgram = nullptr;
    PCApplicationImpl* m_app = nullptr;
};

// --- Settings ----------------------------------------------------------------------------

TEST_F(ApplicationWindow, FirstRunUsesTheDefaultsAndWritesNothing) {
    Start();
    EXPECT_EQ(m_app->GetWidth(), 800u);
    EXPECT_EQ(m_app->GetHeight(), 600u);
    EXPECT_EQ(m_app->GetFlags(), kDefaultFlags);
    const auto& desc = Backend()->LastDesc();
    EXPECT_STREQ(desc.title, "Tallyvox");
    EXPECT_EQ(desc.width, 800u);
    EXPECT_EQ(desc.height, 600u);
    EXPECT_TRUE(desc.fullscreen);
    EXPECT_TRUE(desc.hideCursor);
    EXPECT_FALSE(std::ifstream(SettingsPath()).good());
}

TEST_F(ApplicationWindow, StoredSettingsOverrideTheDefaults) {
    WriteSettings("HideCursor=0\nFullscreen=0\nMultisampling=1\nWindowWidth=1024\nWindowHeight=768\n");
    Start();
    EXPECT_EQ(m_app->GetFlags(), 0x80000004u);
    EXPECT_EQ(m_app->GetWidth(), 1024u);
    EXPECT_EQ(m_app->GetHeight(), 768u);
    EXPECT_FALSE(Backend()->LastDesc().fullscreen);
    EXPECT_FALSE(Backend()->LastDesc().hideCursor);
}

TEST_F(ApplicationWindow, UnusableStoredValuesKeepTheDefaults) {
    WriteSettings("WindowWidth=0\nWindowHeight=abc\nFullscreen=-1\nMultisampling=4294967296\n");
    LogCapture log;
    Start();
    EXPECT_EQ(m_app->GetWidth(), 800u);
    EXPECT_EQ(m_app->GetHeight(), 600u);
    EXPECT_EQ(m_app->GetFlags(), kDefaultFlags);
    EXPECT_TRUE(log.Contains("WindowHeight=abc"));
    EXPECT_TRUE(log.Contains("Fullscreen=-1"));
    m_app->Shutdown();
    delete m_app;
    m_app = nullptr;

    // Sizes that would give an unusable window.
    WriteSettings("WindowWidth=100000\nWindowHeight=1\n");
    Start();
    EXPECT_EQ(m_app->GetWidth(), 800u);
    EXPECT_EQ(m_app->GetHeight(), 600u);
    EXPECT_TRUE(log.Contains("WindowWidth=100000"));
    EXPECT_TRUE(log.Contains("WindowHeight=1 "));
}

TEST_F(ApplicationWindow, WithoutThePersistentFlagTheFileIsNeitherReadNorWritten) {
    m_program.m_flags = 7;
    WriteSettings("Fullscreen=0\n");
    Start();
    EXPECT_EQ(m_app->GetFlags(), 7u);
    m_app->ToggleFullscreen();
    EXPECT_EQ(m_app->GetFlags(), 5u);
    EXPECT_EQ(ReadWhole(SettingsPath()), "Fullscreen=0\n");
}

TEST_F(ApplicationWindow, TogglingWritesOnlyItsOwnValue) {
    Start();
    Send(Message{MessageKind::ModeSwitch});
    EXPECT_EQ(m_app->GetFlags(), kDefaultFlags & ~kSettingFullscreen);
    EXPECT_FALSE(Backend()->IsFullscreen());
    EXPECT_EQ(ReadWhole(SettingsPath()), "Fullscreen=0\n");

    m_app->ToggleMultisampling();
    EXPECT_EQ(m_app->GetFlags() & kSettingMultisampling, 0u);
    EXPECT_EQ(ReadWhole(SettingsPath()), "Fullscreen=0\nMultisampling=0\n");
}

TEST_F(ApplicationWindow, TogglingKeepsTheOtherStoredLines) {
    WriteSettings("WindowWidth=1024\n# by hand\nFullscreen=1\n");
    Start();
    m_app->ToggleFullscreen();
    EXPECT_EQ(ReadWhole(SettingsPath()), "WindowWidth=1024\n# by hand\nFullscreen=0\n");
}

TEST_F(ApplicationWindow, LeavingFullScreenReturnsToTheSavedPlace) {
    WriteSettings("Fullscreen=0\n");
    Start();
    Backend()->SetPosition(40, 30);
    m_app->ToggleFullscreen();
    EXPECT_TRUE(Backend()->IsFullscreen());
    Backend()->SetPosition(0, 0);  // where full screen put it
    m_app->ToggleFullscreen();
    EXPECT_FALSE(Backend()->IsFullscreen());
    i32 left, top;
    Backend()->GetPosition(left, top);
    EXPECT_EQ(left, 40);
    EXPECT_EQ(top, 30);
    u32 w, h;
    Backend()->GetClientSize(w, h);
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 600u);
}

// --- Keyboard ----------------------------------------------------------------------------

TEST_F(ApplicationWindow, APressAndReleaseWithinOnePollIsNeverSeen) {
    Start();
    AGVirtualKey q;
    q.SetKey(84, 0);
    Send(Key(MessageKind::KeyDown, 'Q'));
    Send(Key(MessageKind::KeyUp, 'Q'));
    EXPECT_FALSE(q.IsDown());
    EXPECT_FALSE(q.WasPressed());
    Poll();
    EXPECT_FALSE(q.IsDown());
    EXPECT_FALSE(q.WasPressed());
    EXPECT_FALSE(q.WasReleased());
}

TEST_F(ApplicationWindow, AKeyHeldOverThreePollsIsPressedOnce) {
    Start();
    AGVirtualKey q;
    q.SetKey(84, 0);
    Send(Key(MessageKind::KeyDown, 'Q'));
    int down = 0, pressed = 0;
    for (int poll = 0; poll < 3; ++poll) {
        Send(Key(MessageKind::KeyDown, 'Q'));  // auto-repeat changes nothing
        down += q.IsDown();
        pressed += q.WasPressed();
        Poll();
    }
    EXPECT_EQ(down, 3);
    EXPECT_EQ(pressed, 1);
    Send(Key(MessageKind::KeyUp, 'Q'));
    EXPECT_TRUE(q.WasReleased());
    Poll();
    EXPECT_FALSE(q.WasReleased());
}

TEST_F(ApplicationWindow, FocusLossReleasesEveryKey) {
    Start();
    AGVirtualKey space;
    space.SetKey(CodeOf(32), 0);
    for (u32 vk : {16u, 32u, u32('A'), u32('Z'), 123u, 220u})
        Send(Key(MessageKind::KeyDown, vk));
    Poll();
    Send(Message{MessageKind::Deactivate});
    for (u32 vk = 0; vk < 256; ++vk)
        EXPECT_FALSE(g_inputRecord.IsKeySet(vk)) << vk;
    EXPECT_FALSE(m_app->IsActive());
    EXPECT_TRUE(space.WasReleased());
}

TEST_F(ApplicationWindow, AltEnterSwitchesTheModeAndNeverReachesTheGame) {
    Start();
    AGVirtualKey enter, alt;
    enter.SetKey(CodeOf(13), 0);
    alt.SetKey(CodeOf(18), 0);
    ASSERT_NE(enter.KeyPad(), nullptr);
    u32 before = m_app->GetFlags();
    Send(Key(MessageKind::KeyDown, 18, true));
    Send(Key(MessageKind::KeyDown, 13, true));
    EXPECT_EQ(m_app->GetFlags(), before ^ kSettingFullscreen);
    EXPECT_FALSE(enter.IsDown());
    EXPECT_FALSE(enter.WasPressed());
    EXPECT_TRUE(alt.IsDown());
    Poll();
    EXPECT_FALSE(enter.IsDown());

    Send(Message{MessageKind::ModeSwitch});
    EXPECT_EQ(m_app->GetFlags(), before);

    // Enter alone is an ordinary key.
    Send(Key(MessageKind::KeyUp, 18));
    Send(Key(MessageKind::KeyDown, 13));
    EXPECT_TRUE(enter.IsDown());
}

// --- Mouse -------------------------------------------------------------------------------

TEST_F(ApplicationWindow, WheelNotchesAddUpUntilThePoll) {
    Start();
    Message wheel;
    wheel.kind = MessageKind::Wheel;
    wheel.wheelDelta = 120;
    for (int i = 0; i < 3; ++i)
        Send(wheel);
    EXPECT_EQ(g_inputRecord.wheelDelta, 360);
    Poll();
    EXPECT_EQ(g_inputRecord.wheelDelta, 0);
}

TEST_F(ApplicationWindow, MousePositionCoversZeroToOneOverTheClientArea) {
    WriteSettings("Fullscreen=0\n");
    Start();
    AGVirtualCursor cursor;
    CreateMouseDevice(cursor, 0);
    Send(Mouse(MessageKind::MouseMove, 799, 599));
    f32 x = -1, y = -1;
    cursor.Mouse()->GetPosition(&x, &y);
    EXPECT_EQ(x, 1.0f);
    EXPECT_EQ(y, 1.0f);
    Send(Mouse(MessageKind::MouseMove, 0, 299));
    cursor.Mouse()->GetPosition(&x, &y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_FLOAT_EQ(y, 299.0f / 599.0f);
    EXPECT_TRUE(cursor.Mouse()->IsInside());

    // Dragged outside while a button is held.
    Send(Mouse(MessageKind::MouseMove, -50, 5000));
    cursor.Mouse()->GetPosition(&x, &y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 1.0f);
}

TEST_F(ApplicationWindow, TinyAndMinimisedClientsGiveUsableValues) {
    Start();
    for (u32 size : {1u, 0u}) {
        Backend()->ApplyStyle(false, size, size);
        for (i32 pos : {0, 1, 5, -3}) {
            Send(Mouse(MessageKind::MouseMove, pos, pos));
            EXPECT_FALSE(std::isnan(g_inputRecord.mouseX)) << size << " " << pos;
            EXPECT_GE(g_inputRecord.mouseX, 0.0f);
            EXPECT_LE(g_inputRecord.mouseX, 1.0f);
            EXPECT_GE(g_inputRecord.mouseY, 0.0f);
            EXPECT_LE(g_inputRecord.mouseY, 1.0f);
        }
    }
}

TEST_F(ApplicationWindow, ButtonsAndLeavingTheWindow) {
    Start();
    AGVirtualKey left, middle;
    left.SetKey(0, 0);
    middle.SetKey(3, 0);
    Send(Mouse(MessageKind::MouseMove, 10, 10));
    Send(Mouse(MessageKind::ButtonDown, 10, 10, MouseButton::Left));
    Send(Mouse(MessageKind::ButtonDown, 10, 10, MouseButton::Middle));
    Send(Mouse(MessageKind::ButtonUp, 10, 10, MouseButton::Middle));
    EXPECT_EQ(g_inputRecord.buttons, kMouseLeft);
    Poll();
    EXPECT_TRUE(left.WasPressed());
    EXPECT_FALSE(middle.WasPressed());

    Send(Message{MessageKind::MouseLeave});
    EXPECT_EQ(g_inputRecord.buttons, 0);
    EXPECT_EQ(g_inputRecord.mouseInside, 0);
    Poll();
    EXPECT_TRUE(left.WasReleased());
}

// --- Language ----------------------------------------------------------------------------

TEST(UILanguage, TagsGiveTheEngineIndex) {
    struct Case {
        const char* tag;
        bool known;
        u32 index;
    } cases[] = {
        {"en_US.UTF-8", true, 0}, {"fr_FR.UTF-8", true, 1}, {"es", true, 2},      {"de_AT", true, 3},
        {"it_IT@euro", true, 4},  {"nl_BE", true, 5},       {"ja_JP", true, 6},   {"ko_KR", true, 7},
        {"zh_TW", true, 8},       {"zh_TW.UTF-8", true, 8}, {"pt_BR", true, 9},   {"zh_CN", true, 10},
        {"zh-CN", true, 10},      {"pl_PL", true, 11},      {"ru_RU", true, 12},  {"FR_fr", true, 1},
        {"zh_HK", false, 0},      {"zh_MO", false, 0},      {"zh_SG", false, 0},  {"zh", false, 0},
        {"C", false, 0},          {"POSIX", false, 0},      {"C.UTF-8", false, 0}, {"", false, 0},
        {"sv_SE", false, 0},      {"english", false, 0},
    };
    for (const Case& c : cases) {
        u32 index = 99;
        EXPECT_EQ(PCApplicationImpl::LanguageIndexFromTag(c.tag, index), c.known) << c.tag;
        if (c.known) {
            EXPECT_EQ(index, c.index) << c.tag;
        }
    }
}

TEST_F(ApplicationWindow, StartUpDetectsTheLanguageWithLanguageFirst) {
    m_env.Unset("LC_ALL").Unset("LC_MESSAGES").Set("LANGUAGE", "zh_TW:fr").Set("LANG", "fr_FR.UTF-8");
    Start();
    EXPECT_EQ(AGApplication::s_uiLanguage, 8u);
}

// --- The real window ---------------------------------------------------------------------

class CountingContext : public AGGameContext {
public:
    using AGGameContext::Initialize;
    explicit CountingContext(PCApplicationImpl* app) : m_app(app) {}
    void Initialize() override {}
    void Update(u32 frameMs) override {
        m_frameMs.push_back(frameMs);
        if (m_frameMs.size() == 60)
            m_app->Quit();
    }
    void Shutdown() override {}

    PCApplicationImpl* m_app;
    std::vector<u32> m_frameMs;
};

TEST_F(ApplicationWindow, OpensTheWindowRunsSixtyPacedTicksAndEndsOnClose) {
    WriteSettings("Fullscreen=0\n");
    Start(true);
    auto* window = static_cast<SDL_Window*>(m_app->GetWindow()->NativeHandle());
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window), "Tallyvox");
    u32 w = 0, h = 0;
    m_app->GetWindow()->GetClientSize(w, h);
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 600u);
    EXPECT_TRUE(m_app->GetWindow()->IsVisible());

    CountingContext context(m_app);
    auto start = std::chrono::steady_clock::now();
    m_app->Run(context);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    EXPECT_EQ(context.m_frameMs.size(), 60u);
    EXPECT_GE(seconds, 0.95);
    EXPECT_FALSE(m_app->HasWindow());
    // Pacing keeps every tick at one frame or longer; how much longer depends on the
    // machine's load and the software renderer, so there is no upper bound here.
    std::vector<u32> sorted = context.m_frameMs;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_GE(sorted.front(), 16u);
}

// On the real window the graphic device decides whether full screen is possible (under the
// offscreen driver it is not, and the window stays a window); the switch must be tried, be
// written back, leave the window in the mode the application adopted, and never deliver Enter.
TEST_F(ApplicationWindow, AltEnterOnTheRealWindow) {
    WriteSettings("Fullscreen=00\n");  // rewritten as "Fullscreen=<0 or 1>" by the switch
    Start(true);
    auto* window = static_cast<SDL_Window*>(m_app->GetWindow()->NativeHandle());
    u32 id = SDL_GetWindowID(window);
    auto push = [id](SDL_Scancode scancode, Uint16 mod) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.windowID = id;
        e.key.state = SDL_PRESSED;
        e.key.keysym.scancode = scancode;
        e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    };
    push(SDL_SCANCODE_LALT, KMOD_LALT);
    push(SDL_SCANCODE_RETURN, KMOD_LALT);
    g_inputRecord.lastChar = 0;
    Message m;
    while (m_app->GetWindow()->PollMessage(m))
        m_app->DispatchMessage(m);
    bool fullscreen = (m_app->GetFlags() & kSettingFullscreen) != 0;
    EXPECT_EQ((SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN) != 0, fullscreen);
    EXPECT_EQ(ReadWhole(SettingsPath()), fullscreen ? "Fullscreen=1\n" : "Fullscreen=0\n");
    EXPECT_TRUE(g_inputRecord.IsKeySet(18));
    EXPECT_FALSE(g_inputRecord.IsKeySet(13));
    EXPECT_EQ(g_inputRecord.lastChar, 0);
}

}  // namespace
