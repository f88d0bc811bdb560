#include "platform/window/SdlWindowBackend.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using platform::window::Message;
using platform::window::MessageKind;
using platform::window::MouseButton;
using platform::window::SdlBackend;
using platform::window::WindowDesc;

namespace {

class SdlWindow : public ::testing::Test {
protected:
    void SetUp() override {
        WindowDesc desc;
        desc.title = "Tallyvox";
        ASSERT_TRUE(m_backend.Create(desc));
        m_id = SDL_GetWindowID(Window());
        Drain();
    }

    SDL_Window* Window() const { return static_cast<SDL_Window*>(m_backend.NativeHandle()); }

    std::vector<Message> Drain() {
        std::vector<Message> out;
        Message m;
        while (m_backend.PollMessage(m))
            out.push_back(m);
        return out;
    }

    void Key(bool down, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, bool repeat = false) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = m_id;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat;
        e.key.keysym.scancode = scancode;
        e.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
        e.key.keysym.mod = mod;
        SDL_PushEvent(&e);
    }

    void WindowEvent(Uint8 which) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = m_id;
        e.window.event = which;
        SDL_PushEvent(&e);
    }

    void Text(const char* utf8) {
        SDL_Event e{};
        e.type = SDL_TEXTINPUT;
        e.text.windowID = m_id;
        strncpy(e.text.text, utf8, sizeof e.text.text - 1);
        SDL_PushEvent(&e);
    }

    void Wheel(float y, Uint32 direction = SDL_MOUSEWHEEL_NORMAL) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.windowID = m_id;
        e.wheel.y = int(y);
        e.wheel.preciseY = y;
        e.wheel.direction = direction;
        SDL_PushEvent(&e);
    }

    void Button(bool down, Uint8 button, int x, int y) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = m_id;
        e.button.button = button;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }

    SdlBackend m_backend;
    Uint32 m_id = 0;
};

TEST_F(SdlWindow, OpensAnOpenGLWindowWithTheTitleAndClientSize) {
    ASSERT_NE(Window(), nullptr);
    EXPECT_TRUE(m_backend.HasWindow());
    EXPECT_TRUE(m_backend.IsVisible());
    EXPECT_STREQ(SDL_GetWindowTitle(Window()), "Tallyvox");
    EXPECT_TRUE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_OPENGL);
    EXPECT_FALSE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_FULLSCREEN);
    uint32_t w = 0, h = 0;
    m_backend.GetClientSize(w, h);
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 600u);

    // The graphics layer's context can be made on it.
    SDL_GLContext context = SDL_GL_CreateContext(Window());
    EXPECT_NE(context, nullptr) << SDL_GetError();
    if (context)
        SDL_GL_DeleteContext(context);
}

TEST_F(SdlWindow, KeysBecomeVirtualKeyMessagesAndControlKeysAlsoCharacters) {
    Key(true, SDL_SCANCODE_Q);
    Key(false, SDL_SCANCODE_Q);
    Key(true, SDL_SCANCODE_BACKSPACE);
    Key(true, SDL_SCANCODE_RETURN);
    auto m = Drain();
    ASSERT_EQ(m.size(), 6u);
    EXPECT_EQ(m[0].kind, MessageKind::KeyDown);
    EXPECT_EQ(m[0].key, uint32_t('Q'));
    EXPECT_EQ(m[1].kind, MessageKind::KeyUp);
    EXPECT_EQ(m[1].key, uint32_t('Q'));
    EXPECT_EQ(m[2].key, 8u);
    EXPECT_EQ(m[3].kind, MessageKind::Char);
    EXPECT_EQ(m[3].unit, u'\b');
    EXPECT_EQ(m[4].key, 13u);
    EXPECT_EQ(m[5].kind, MessageKind::Char);
    EXPECT_EQ(m[5].unit, u'\r');
}

TEST_F(SdlWindow, AltEnterIsOneModeSwitchAndNeverAnEnterKeyDown) {
    Key(true, SDL_SCANCODE_LALT, KMOD_LALT);
    Key(true, SDL_SCANCODE_RETURN, KMOD_LALT);
    Key(true, SDL_SCANCODE_RETURN, KMOD_LALT, true);  // auto-repeat
    Key(false, SDL_SCANCODE_RETURN, KMOD_LALT);
    Key(true, SDL_SCANCODE_KP_ENTER, KMOD_RALT);
    auto m = Drain();
    int switches = 0;
    for (const Message& message : m) {
        if (message.kind == MessageKind::ModeSwitch)
            ++switches;
        EXPECT_FALSE(message.kind == MessageKind::KeyDown && message.key == 13u);
        EXPECT_FALSE(message.kind == MessageKind::Char);
    }
    EXPECT_EQ(switches, 2);
    ASSERT_FALSE(m.empty());
    EXPECT_EQ(m[0].kind, MessageKind::KeyDown);  // Alt itself goes through
    EXPECT_EQ(m[0].key, 18u);
}

TEST_F(SdlWindow, AModifierIsReleasedWhenBothSidesAre) {
    Key(true, SDL_SCANCODE_LSHIFT);
    Key(true, SDL_SCANCODE_RSHIFT);
    Key(false, SDL_SCANCODE_LSHIFT);
    auto m = Drain();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[1].kind, MessageKind::KeyDown);
    Key(false, SDL_SCANCODE_RSHIFT);
    m = Drain();
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].kind, MessageKind::KeyUp);
    EXPECT_EQ(m[0].key, 16u);

    // Focus loss forgets the sides held, so the next release is delivered.
    Key(true, SDL_SCANCODE_LCTRL);
    WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    Key(true, SDL_SCANCODE_RCTRL);
    Key(false, SDL_SCANCODE_RCTRL);
    m = Drain();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[1].kind, MessageKind::Deactivate);
    EXPECT_EQ(m[3].kind, MessageKind::KeyUp);
}

TEST_F(SdlWindow, TextBecomesUtf16Units) {
    Text("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");  // a é € U+1F600
    Text("\xC3(\xED\xA0\x80");                      // broken sequence, encoded surrogate
    auto m = Drain();
    std::u16string units;
    for (const Message& message : m) {
        ASSERT_EQ(message.kind, MessageKind::Char);
        units += message.unit;
    }
    EXPECT_EQ(units, std::u16string(u"a\u00E9\u20AC\xD83D\xDE00\xFFFD(\xFFFD"));
}

TEST_F(SdlWindow, MouseMessages) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = m_id;
    e.motion.x = 799;
    e.motion.y = 12;
    SDL_PushEvent(&e);
    Button(true, SDL_BUTTON_MIDDLE, 5, 6);
    Button(true, SDL_BUTTON_X1, 5, 6);  // no Windows message of ours
    Button(false, SDL_BUTTON_RIGHT, 7, 8);
    WindowEvent(SDL_WINDOWEVENT_LEAVE);
    auto m = Drain();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].kind, MessageKind::MouseMove);
    EXPECT_EQ(m[0].x, 799);
    EXPECT_EQ(m[0].y, 12);
    EXPECT_EQ(m[1].kind, MessageKind::ButtonDown);
    EXPECT_EQ(m[1].button, MouseButton::Middle);
    EXPECT_EQ(m[2].kind, MessageKind::ButtonUp);
    EXPECT_EQ(m[2].button, MouseButton::Right);
    EXPECT_EQ(m[3].kind, MessageKind::MouseLeave);
}

TEST_F(SdlWindow, TheWheelCountsOneHundredTwentyPerNotch) {
    Wheel(3);
    Wheel(-1);
    Wheel(1, SDL_MOUSEWHEEL_FLIPPED);
    Wheel(0.5f);
    Wheel(0.001f);  // rounds to nothing
    auto m = Drain();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].wheelDelta, 360);
    EXPECT_EQ(m[1].wheelDelta, -120);
    EXPECT_EQ(m[2].wheelDelta, -120);
    EXPECT_EQ(m[3].wheelDelta, 60);
}

TEST_F(SdlWindow, FocusCloseAndQuitRequests) {
    WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    WindowEvent(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    auto m = Drain();
    ASSERT_EQ(m.size(), 4u);
    EXPECT_EQ(m[0].kind, MessageKind::Activate);
    EXPECT_EQ(m[1].kind, MessageKind::Deactivate);
    EXPECT_EQ(m[2].kind, MessageKind::CloseRequest);
    EXPECT_EQ(m[3].kind, MessageKind::CloseRequest);
    EXPECT_TRUE(m_backend.HasWindow());  // a request alone closes nothing
}

TEST_F(SdlWindow, AMinimisedWindowIsNotVisibleAndHasNoClientArea) {
    WindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    Drain();
    EXPECT_FALSE(m_backend.IsVisible());
    uint32_t w = 1, h = 1;
    m_backend.GetClientSize(w, h);
    EXPECT_EQ(w, 0u);
    EXPECT_EQ(h, 0u);
    WindowEvent(SDL_WINDOWEVENT_RESTORED);
    Drain();
    EXPECT_TRUE(m_backend.IsVisible());
    m_backend.GetClientSize(w, h);
    EXPECT_EQ(w, 800u);
}

TEST_F(SdlWindow, FullScreenAndBackRestoresTheWindowedSizeAndPlace) {
    m_backend.SetPosition(40, 30);
    int32_t left, top;
    m_backend.GetPosition(left, top);
    ASSERT_EQ(left, 40);
    ASSERT_EQ(top, 30);

    EXPECT_TRUE(SDL_IsScreenSaverEnabled());
    m_backend.ApplyStyle(true, 800, 600);
    EXPECT_TRUE(m_backend.IsFullscreen());
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());
    EXPECT_EQ(SDL_GetWindowFlags(Window()) & SDL_WINDOW_FULLSCREEN_DESKTOP, Uint32(SDL_WINDOW_FULLSCREEN_DESKTOP));

    m_backend.ApplyStyle(false, 800, 600);
    m_backend.SetPosition(left, top);
    EXPECT_FALSE(m_backend.IsFullscreen());
    EXPECT_FALSE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_FULLSCREEN);
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());
    uint32_t w, h;
    m_backend.GetClientSize(w, h);
    EXPECT_EQ(w, 800u);
    EXPECT_EQ(h, 600u);
    m_backend.GetPosition(left, top);
    EXPECT_EQ(left, 40);
    EXPECT_EQ(top, 30);
}

TEST_F(SdlWindow, CursorHidingAndDisplayModes) {
    m_backend.SetCursorHidden(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    m_backend.SetCursorHidden(false);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);

    auto modes = m_backend.GetDisplayModes();
    ASSERT_FALSE(modes.empty());
    for (const auto& mode : modes) {
        EXPECT_GT(mode.width, 0u);
        EXPECT_GT(mode.height, 0u);
    }
}

TEST_F(SdlWindow, DestroyEndsTheWindowAndLaterEventsAreDropped) {
    m_backend.Destroy();
    EXPECT_FALSE(m_backend.HasWindow());
    EXPECT_FALSE(m_backend.IsVisible());
    Key(true, SDL_SCANCODE_A);
    Message quit;
    quit.kind = MessageKind::Quit;
    m_backend.Post(quit);
    auto m = Drain();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].kind, MessageKind::Destroy);
    EXPECT_EQ(m[1].kind, MessageKind::Quit);
    m_backend.Destroy();  // twice is harmless
    EXPECT_TRUE(Drain().empty());
}

TEST(SdlWindowFullScreen, CreatedFullScreenWithTheCursorHidden) {
    SdlBackend backend;
    WindowDesc desc;
    desc.title = "Tallyvox";
    desc.fullscreen = true;
    desc.hideCursor = true;
    ASSERT_TRUE(backend.Create(desc));
    auto* window = static_cast<SDL_Window*>(backend.NativeHandle());
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    // Leaving full screen gives the asked client size.
    backend.ApplyStyle(false, 640, 480);
    uint32_t w, h;
    backend.GetClientSize(w, h);
    EXPECT_EQ(w, 640u);
    EXPECT_EQ(h, 480u);
}

}  // namespace
