#include "platform/window/SdlWindowBackend.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <memory>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/window/TestWindowBackend.h"
#include "tests/platform/window/MessageText.h"
#include "tests/support/ScopedEnv.h"

using namespace platform::window;

namespace {

std::pair<uint32_t, uint32_t> ClientSize(const Backend& backend) {
    uint32_t w = 1, h = 1;
    backend.GetClientSize(w, h);
    return {w, h};
}

// "<full|windowed> <desktop|exclusive|-> <saver|no-saver>": the backend's mode, the window's
// full-screen flag and the screen saver.
std::string Mode(const SdlBackend& backend) {
    const Uint32 flags = SDL_GetWindowFlags(static_cast<SDL_Window*>(backend.NativeHandle()));
    const char* kind = (flags & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP ? "desktop"
                       : (flags & SDL_WINDOW_FULLSCREEN)                                        ? "exclusive"
                                                                                                : "-";
    return std::string(backend.IsFullscreen() ? "full " : "windowed ") + kind +
           (SDL_IsScreenSaverEnabled() ? " saver" : " no-saver");
}

class SdlWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_backend.Create({.title = "Tallyvox"}));
        m_id = SDL_GetWindowID(Window());
        Drain();
    }

    SDL_Window* Window() const { return static_cast<SDL_Window*>(m_backend.NativeHandle()); }

    std::string Drain() { return windowtest::Drain(m_backend); }

    // Every event kind keeps the window id at the same place.
    void Push(SDL_Event e) {
        e.window.windowID = m_id;
        SDL_PushEvent(&e);
    }
    void Key(bool down, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, bool repeat = false) {
        SDL_Event e{down ? SDL_KEYDOWN : SDL_KEYUP};
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat;
        e.key.keysym = {scancode, SDL_GetKeyFromScancode(scancode), mod, 0};
        Push(e);
    }
    void WindowEvent(Uint8 which) {
        SDL_Event e{SDL_WINDOWEVENT};
        e.window.event = which;
        Push(e);
    }
    void Text(const char* utf8) {
        SDL_Event e{SDL_TEXTINPUT};
        strncpy(e.text.text, utf8, sizeof e.text.text - 1);
        Push(e);
    }
    void Wheel(float y, Uint32 direction = SDL_MOUSEWHEEL_NORMAL) {
        SDL_Event e{SDL_MOUSEWHEEL};
        e.wheel.y = int(y);
        e.wheel.preciseY = y;
        e.wheel.direction = direction;
        e.wheel.mouseX = 7;
        e.wheel.mouseY = 9;
        Push(e);
    }

    SdlBackend m_backend;
    Uint32 m_id = 0;
};

// Visible, titled, 800 x 600 and windowed; minimised, neither visible nor with a client area;
// full screen and back, the windowed size and place again, or from the start. One window a backend.
TEST_F(SdlWindow, OpensAVisibleWindowThatMinimisingHidesAndFullScreenGivesBackOnePerBackend) {
    EXPECT_EQ(std::tuple(m_backend.IsVisible(), std::string(SDL_GetWindowTitle(Window())), Mode(m_backend)),
              std::tuple(true, std::string("Tallyvox"), std::string("windowed - saver")));
    EXPECT_EQ(ClientSize(m_backend), std::make_pair(800u, 600u));
    m_backend.SetCursorHidden(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    m_backend.SetCursorHidden(false);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    WindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    Drain();
    EXPECT_EQ(std::pair(m_backend.IsVisible(), ClientSize(m_backend)), std::pair(false, std::make_pair(0u, 0u)));
    WindowEvent(SDL_WINDOWEVENT_RESTORED);
    Drain();
    EXPECT_EQ(std::pair(m_backend.IsVisible(), ClientSize(m_backend)), std::pair(true, std::make_pair(800u, 600u)));

    m_backend.SetPosition(40, 30);
    m_backend.ApplyStyle(true, 800, 600);
    EXPECT_EQ(Mode(m_backend), "full desktop no-saver");
    m_backend.ApplyStyle(false, 0, 0);  // the default size
    m_backend.SetPosition(40, 30);
    int32_t left, top;
    m_backend.GetPosition(left, top);
    EXPECT_EQ(std::tuple(Mode(m_backend), ClientSize(m_backend), left, top),
              std::tuple(std::string("windowed - saver"), std::make_pair(800u, 600u), 40, 30));

    // A second window needs a second backend, which takes its own description.
    EXPECT_FALSE(m_backend.Create(WindowDesc{}));
    auto other = std::make_unique<SdlBackend>();
    ASSERT_TRUE(other->Create({.width = 640, .height = 480, .hideCursor = true}));
    EXPECT_TRUE(ClientSize(*other) == std::make_pair(640u, 480u) && SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE);

    // The offscreen driver lists only a mode of 0 x 0: its desktop's extent stands in, once.
    const std::vector<DisplayMode> modes = other->GetDisplayModes();
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(std::tuple(modes[0].width, modes[0].height, modes[0].refreshRate), std::tuple(1024u, 768u, 0u));
    const Uint32 id = SDL_GetWindowID(static_cast<SDL_Window*>(other->NativeHandle()));
    other = std::make_unique<SdlBackend>();
    EXPECT_EQ(SDL_GetWindowFromID(id), nullptr) << "the window goes with its backend";
    EXPECT_TRUE(other->Create({.fullscreen = true}) && Mode(*other) == "full desktop no-saver") << Mode(*other);
}

// The dummy driver (without OpenGL, so without a window) lists a mode of no refresh rate: 0, unknown.
// With no window the position is the origin.
TEST(SdlDisplayModes, ARateTheDriverDoesNotGiveIsZero) {
    ScopedEnv env;
    env.Set("SDL_VIDEODRIVER", "dummy");
    auto backend = std::make_unique<SdlBackend>();
    EXPECT_FALSE(backend->Create(WindowDesc{}));
    const std::vector<DisplayMode> modes = backend->GetDisplayModes();
    ASSERT_EQ(modes.size(), 1u);
    int32_t left = -1, top = -1, standInLeft = -1, standInTop = -1;
    backend->GetPosition(left, top);
    TestBackend().GetPosition(standInLeft, standInTop);  // nor has the test stand-in before it is placed
    EXPECT_EQ(std::tuple(modes[0].width, modes[0].height, modes[0].refreshRate, left, top, standInLeft, standInTop),
              std::tuple(1024u, 768u, 0u, 0, 0, 0, 0));
    backend.reset();  // the video subsystem goes with the last backend
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

// Software rasterisers are told from GPUs by GL_RENDERER; the probe, asked before the window
// exists, answers as the window's own context would and leaves no window behind.
TEST(SdlRenderer, SoftwareRasterisersAreToldApartByTheirRendererName) {
    const std::pair<const char*, bool> names[] = {
        {"llvmpipe (LLVM 15.0.6, 256 bits)", true}, {"softpipe", true}, {"Mesa X11 SWRAST", true},
        {"AMD Radeon RX 580 (radeonsi, polaris10, LLVM 15.0.6, DRM 3.49)", false},
        {"Mesa Intel(R) UHD Graphics 620 (KBL GT2)", false}, {"", false}, {nullptr, false}};
    for (const auto& [name, software] : names)
        EXPECT_EQ(IsSoftwareRenderer(name), software) << (name ? name : "null");
    SdlBackend backend;
    const bool probed = backend.RendersInSoftware();
    ASSERT_TRUE(backend.Create(WindowDesc{}));
    SDL_Window* window = static_cast<SDL_Window*>(backend.NativeHandle());
    SDL_GLContext context = SDL_GL_CreateContext(window);
    ASSERT_NE(context, nullptr);
    EXPECT_EQ(probed, IsSoftwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER))));
    SDL_GL_DeleteContext(context);
    EXPECT_EQ(SDL_GetWindowFromID(SDL_GetWindowID(window) - 1), nullptr) << "the probe's window is gone";
}

// Backspace and Return type their control characters too, Escape and Tab as well, unless a
// shortcut modifier is held; a key of no virtual key gives nothing. Alt+Enter is one mode
// switch and never an Enter key-down; Alt itself goes through.
TEST_F(SdlWindow, KeysBecomeVirtualKeyMessages) {
    Key(true, SDL_SCANCODE_Q);
    Key(false, SDL_SCANCODE_Q);
    for (SDL_Scancode key : {SDL_SCANCODE_BACKSPACE, SDL_SCANCODE_RETURN, SDL_SCANCODE_ESCAPE, SDL_SCANCODE_TAB})
        Key(true, key);
    Key(true, SDL_SCANCODE_BACKSPACE, KMOD_LCTRL);
    Key(true, SDL_SCANCODE_VOLUMEUP);
    EXPECT_EQ(Drain(), "down:81 up:81 down:8 char:8 down:13 char:13 down:27 char:27 down:9 char:9 down:8 ");
    Key(true, SDL_SCANCODE_LALT, KMOD_LALT);
    Key(true, SDL_SCANCODE_RETURN, KMOD_LALT);
    Key(true, SDL_SCANCODE_RETURN, KMOD_LALT, true);  // auto-repeat
    Key(false, SDL_SCANCODE_RETURN, KMOD_LALT);
    Key(true, SDL_SCANCODE_KP_ENTER, KMOD_RALT);
    EXPECT_EQ(Drain(), "down:18+alt mode up:13+alt mode ");
}

TEST_F(SdlWindow, SharedModifiersAreReleasedOnce) {
    // A shared modifier code must not be released while the other side is held, nor stay held
    // after the focus went away with one side down.
    const std::tuple<SDL_Scancode, SDL_Scancode, std::string> pairs[] = {
        {SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT, "16"},
        {SDL_SCANCODE_RCTRL, SDL_SCANCODE_LCTRL, "17"},
        {SDL_SCANCODE_LALT, SDL_SCANCODE_RALT, "18"}};
    for (auto [first, second, vk] : pairs) {
        Key(true, first);
        Key(true, second);
        Key(false, first);
        EXPECT_EQ(Drain(), "down:" + vk + " down:" + vk + " ");
        Key(false, second);
        EXPECT_EQ(Drain(), "up:" + vk + " ");
    }
    Key(true, SDL_SCANCODE_LCTRL);
    WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    Key(true, SDL_SCANCODE_RCTRL);
    Key(false, SDL_SCANCODE_RCTRL);
    EXPECT_EQ(Drain(), "down:17 deactivate down:17 up:17 ");
}

TEST_F(SdlWindow, TextBecomesUtf16Units) {
    // Text becomes UTF-16 units, malformed bytes replacement characters.
    Text("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");  // a é € U+1F600
    Text("\xC3(\xED\xA0\x80\xED\xBF\xBF");              // broken sequence, encoded surrogates
    Text("\x80\xC0\xAF\xF4\x90\x80\x80\xF8");         // stray continuation, overlong, past U+10FFFF, bad lead
    Text("\xC2\x80\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF");  // the edges of the valid ranges
    Text("\xEF\xBF\xBF\xF0\x90\x80\x80");
    std::u16string units;
    for (Message message; m_backend.PollMessage(message);) {
        ASSERT_EQ(message.kind, MessageKind::Char);
        units += message.unit;
    }
    EXPECT_EQ(units, std::u16string(u"a\u00E9\u20AC\xD83D\xDE00\xFFFD(\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"
                                    u"\u0080\u0800\uD7FF\uE000\xDBFF\xDFFF\uFFFF\xD800\xDC00"));
}

TEST_F(SdlWindow, MouseButtonsLeavingAndTheWheel) {
    // Mouse buttons, leaving, and the wheel at 120 a notch.
    SDL_Event e{SDL_MOUSEMOTION};
    e.motion.x = 799;
    e.motion.y = 5;
    Push(e);
    for (auto [type, button] : {std::pair{SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE},
                                {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X1},  // no message of ours
                                {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT}, {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT}}) {
        e = {Uint32(type)};
        e.button.button = Uint8(button);
        e.button.x = 3;
        e.button.y = 4;
        Push(e);
    }
    WindowEvent(SDL_WINDOWEVENT_LEAVE);
    // Notches up, one flipped, a half, and one that rounds to nothing.
    for (auto [y, flipped] : {std::pair{3.0f, false}, {1.0f, true}, {0.5f, false}, {0.001f, false}})
        Wheel(y, flipped ? SDL_MOUSEWHEEL_FLIPPED : SDL_MOUSEWHEEL_NORMAL);
    EXPECT_EQ(Drain(), "move@799,5 press:middle@3,4 release:right@3,4 press:left@3,4 leave wheel:360@7,9 "
                       "wheel:-120@7,9 wheel:60@7,9 ");
}

TEST_F(SdlWindow, CloseRequestsAndSignals) {
    // Requests to close do nothing themselves; destroying drops later events. Only the window's
    // close button asks: SDL's quit and the signals ending the program (each taken once, the
    // window staying for the program to end) do not.
    WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    WindowEvent(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit{SDL_QUIT};
    SDL_PushEvent(&quit);
    EXPECT_EQ((std::pair{Drain(), m_backend.HasWindow()}), std::pair(std::string("activate close terminate "), true));
    for (int signal : {SIGTERM, SIGINT})
        EXPECT_EQ((std::raise(signal), Drain()), "terminate ") << signal;
}

TEST_F(SdlWindow, DestroyingHidesTheWindow) {
    // Text input runs while the window lives; destroying it hides it and brings the cursor back.
    EXPECT_TRUE(SDL_IsTextInputActive());
    m_backend.SetCursorHidden(true);
    m_backend.Destroy();
    EXPECT_FALSE(m_backend.HasWindow() || SDL_IsTextInputActive() || ClientSize(m_backend) != std::pair(0u, 0u));
    EXPECT_TRUE(SDL_ShowCursor(SDL_QUERY) == SDL_ENABLE && (SDL_GetWindowFlags(Window()) & SDL_WINDOW_HIDDEN));
    Key(true, SDL_SCANCODE_A);
    m_backend.Post({MessageKind::Quit});
    EXPECT_EQ(Drain(), "destroy quit ");
    m_backend.Destroy();  // twice is harmless
    EXPECT_EQ(Drain(), "");
    // So it is for the test stand-in, whose window goes at the first.
    TestBackend standIn;
    ASSERT_TRUE(standIn.Create({}));
    standIn.Destroy();
    standIn.Destroy();
    EXPECT_EQ(std::pair(windowtest::Drain(standIn), standIn.HasWindow()), std::pair(std::string("destroy "), false));
}

}  // namespace
