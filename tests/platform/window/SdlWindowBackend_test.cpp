#include "platform/window/SdlWindowBackend.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

using namespace platform::window;

namespace {

using Kinds = std::vector<MessageKind>;

std::pair<uint32_t, uint32_t> ClientSize(const Backend& backend) {
    uint32_t w = 1, h = 1;
    backend.GetClientSize(w, h);
    return {w, h};
}

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
    static Kinds KindsOf(const std::vector<Message>& messages) {
        Kinds kinds;
        for (const Message& m : messages)
            kinds.push_back(m.kind);
        return kinds;
    }

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

TEST(SdlWindowBackend, ReleasesTheVideoSystemWithTheWindow) {
    {
        SdlBackend backend;
        ASSERT_TRUE(backend.Create(WindowDesc{}));
        EXPECT_NE(SDL_WasInit(SDL_INIT_VIDEO), 0u);
    }
    EXPECT_EQ(SDL_WasInit(SDL_INIT_VIDEO), 0u);
}

TEST_F(SdlWindow, OpensAVisibleOpenGLWindowWithTheTitleAndClientSizeAndHidesTheCursor) {
    ASSERT_NE(Window(), nullptr);
    EXPECT_TRUE(m_backend.IsVisible());
    EXPECT_STREQ(SDL_GetWindowTitle(Window()), "Tallyvox");
    EXPECT_FALSE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_FULLSCREEN);
    EXPECT_EQ(ClientSize(m_backend), std::make_pair(800u, 600u));
    m_backend.SetCursorHidden(true);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    m_backend.SetCursorHidden(false);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
}

// A second window needs a second backend; each takes its own description, and each gets
// the events of its window and the keys of none.
TEST_F(SdlWindow, OneWindowPerBackendEachWithItsDescriptionAndEvents) {
    EXPECT_FALSE(m_backend.Create(WindowDesc{}));
    SdlBackend other;
    WindowDesc desc;
    desc.width = 640;
    desc.height = 480;
    desc.hideCursor = true;
    desc.multisample = true;
    ASSERT_TRUE(other.Create(desc));
    EXPECT_EQ(ClientSize(other), std::make_pair(640u, 480u));
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    WindowEvent(SDL_WINDOWEVENT_CLOSE);
    Key(true, SDL_SCANCODE_A);
    SDL_Event key{SDL_KEYDOWN};
    key.key.keysym = {SDL_SCANCODE_B, SDLK_b, 0, 0};
    SDL_PushEvent(&key);
    auto m = Drain();  // this window's close and both keys; the other sees none of it
    ASSERT_EQ(KindsOf(m), (Kinds{MessageKind::CloseRequest, MessageKind::KeyDown, MessageKind::KeyDown}));
    EXPECT_EQ(m[2].key, uint32_t('B'));
    WindowEvent(SDL_WINDOWEVENT_CLOSE);
    Message none;
    EXPECT_FALSE(other.PollMessage(none));

    // The offscreen driver lists only a mode of 0 x 0: its desktop's extent stands in, once.
    const std::vector<DisplayMode> modes = other.GetDisplayModes();
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_EQ(std::tuple(modes[0].width, modes[0].height, modes[0].refreshRate), std::tuple(1024u, 768u, 0u));
}

TEST_F(SdlWindow, KeysBecomeVirtualKeyMessagesAndControlKeysAlsoCharacters) {
    Key(true, SDL_SCANCODE_Q);
    Key(false, SDL_SCANCODE_Q);
    Key(true, SDL_SCANCODE_BACKSPACE);
    Key(true, SDL_SCANCODE_RETURN);
    auto m = Drain();
    ASSERT_EQ(KindsOf(m), (Kinds{MessageKind::KeyDown, MessageKind::KeyUp, MessageKind::KeyDown, MessageKind::Char,
                                 MessageKind::KeyDown, MessageKind::Char}));
    EXPECT_EQ((std::vector<uint32_t>{m[0].key, m[1].key, m[2].key, m[4].key}), (std::vector<uint32_t>{'Q', 'Q', 8, 13}));
    EXPECT_EQ(m[3].unit, u'\b');
    EXPECT_FALSE(m[0].alt);
    EXPECT_EQ(m[5].unit, u'\r');

    // Escape and Tab type their control characters too, unless a shortcut modifier is held;
    // a key of no virtual key gives nothing.
    Key(true, SDL_SCANCODE_ESCAPE);
    Key(true, SDL_SCANCODE_TAB);
    Key(true, SDL_SCANCODE_BACKSPACE, KMOD_LCTRL);
    Key(true, SDL_SCANCODE_VOLUMEUP);
    m = Drain();
    ASSERT_EQ(KindsOf(m), (Kinds{MessageKind::KeyDown, MessageKind::Char, MessageKind::KeyDown, MessageKind::Char,
                                 MessageKind::KeyDown}));
    EXPECT_EQ(m[1].unit, u'\x1b');
    EXPECT_EQ(m[3].unit, u'\t');
    EXPECT_EQ(m[4].key, 8u);
}

TEST_F(SdlWindow, AltEnterIsOneModeSwitchAndNeverAnEnterKeyDown) {
    Key(true, SDL_SCANCODE_LALT, KMOD_LALT);
    Key(true, SDL_SCANCODE_RETURN, KMOD_LALT);
    Key(true, SDL_SCANCODE_RETURN, KMOD_LALT, true);  // auto-repeat
    Key(false, SDL_SCANCODE_RETURN, KMOD_LALT);
    Key(true, SDL_SCANCODE_KP_ENTER, KMOD_RALT);
    auto m = Drain();
    ASSERT_EQ(KindsOf(m), (Kinds{MessageKind::KeyDown, MessageKind::ModeSwitch, MessageKind::KeyUp, MessageKind::ModeSwitch}));
    EXPECT_EQ(m[0].key, 18u);  // Alt itself goes through
    EXPECT_TRUE(m[0].alt && m[2].alt);
}

// A shared modifier code must not be released while the other side is held, nor stay held
// after the focus went away with one side down.
TEST_F(SdlWindow, AModifierIsReleasedWhenBothSidesAre) {
    const std::tuple<SDL_Scancode, SDL_Scancode, uint32_t> pairs[] = {{SDL_SCANCODE_LSHIFT, SDL_SCANCODE_RSHIFT, 16},
                                                                      {SDL_SCANCODE_RCTRL, SDL_SCANCODE_LCTRL, 17},
                                                                      {SDL_SCANCODE_LALT, SDL_SCANCODE_RALT, 18}};
    for (auto [first, second, vk] : pairs) {
        Key(true, first);
        Key(true, second);
        Key(false, first);
        EXPECT_EQ(KindsOf(Drain()), (Kinds{MessageKind::KeyDown, MessageKind::KeyDown})) << vk;
        Key(false, second);
        auto m = Drain();
        ASSERT_EQ(KindsOf(m), Kinds{MessageKind::KeyUp}) << vk;
        EXPECT_EQ(m[0].key, vk);
    }

    Key(true, SDL_SCANCODE_LCTRL);
    WindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    Key(true, SDL_SCANCODE_RCTRL);
    Key(false, SDL_SCANCODE_RCTRL);
    EXPECT_EQ(KindsOf(Drain()),
              (Kinds{MessageKind::KeyDown, MessageKind::Deactivate, MessageKind::KeyDown, MessageKind::KeyUp}));
}

TEST_F(SdlWindow, TextBecomesUtf16UnitsAndMalformedBytesBecomeReplacements) {
    Text("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");  // a é € U+1F600
    Text("\xC3(\xED\xA0\x80");                      // broken sequence, encoded surrogate
    Text("\x80\xC0\xAF\xF4\x90\x80\x80\xF8");         // stray continuation, overlong, past U+10FFFF, bad lead
    Text("\xC2\x80\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF");  // the edges of the valid ranges
    Text("\xEF\xBF\xBF\xF0\x90\x80\x80");
    std::u16string units;
    for (const Message& message : Drain()) {
        ASSERT_EQ(message.kind, MessageKind::Char);
        units += message.unit;
    }
    EXPECT_EQ(units, std::u16string(u"a\u00E9\u20AC\xD83D\xDE00\xFFFD(\xFFFD\xFFFD\xFFFD\xFFFD\xFFFD"
                                    u"\u0080\u0800\uD7FF\uE000\xDBFF\xDFFF\uFFFF\xD800\xDC00"));
}

TEST_F(SdlWindow, MouseButtonsLeavingAndTheWheelAtOneHundredTwentyPerNotch) {
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
    Wheel(3);
    Wheel(1, SDL_MOUSEWHEEL_FLIPPED);
    Wheel(0.5f);
    Wheel(0.001f);  // rounds to nothing
    auto m = Drain();
    ASSERT_EQ(KindsOf(m), (Kinds{MessageKind::MouseMove, MessageKind::ButtonDown, MessageKind::ButtonUp, MessageKind::ButtonDown,
                                 MessageKind::MouseLeave, MessageKind::Wheel, MessageKind::Wheel, MessageKind::Wheel}));
    EXPECT_EQ(std::pair(m[0].x, m[0].y), std::pair(799, 5));
    EXPECT_EQ(m[1].button, MouseButton::Middle);
    EXPECT_EQ(std::pair(m[2].x, m[2].y), std::pair(3, 4));
    EXPECT_EQ(m[2].button, MouseButton::Right);
    EXPECT_EQ(m[3].button, MouseButton::Left);
    EXPECT_EQ(m[5].wheelDelta, 360);
    EXPECT_EQ(std::pair(m[5].x, m[5].y), std::pair(7, 9));
    EXPECT_EQ(m[6].wheelDelta, -120);
    EXPECT_EQ(m[7].wheelDelta, 60);
}

TEST_F(SdlWindow, AMinimisedWindowIsNotVisibleAndHasNoClientArea) {
    for (Uint8 which : {SDL_WINDOWEVENT_RESTORED, SDL_WINDOWEVENT_MAXIMIZED}) {
        WindowEvent(SDL_WINDOWEVENT_MINIMIZED);
        Drain();
        EXPECT_FALSE(m_backend.IsVisible());
        EXPECT_EQ(ClientSize(m_backend), std::make_pair(0u, 0u));
        WindowEvent(which);
        Drain();
        EXPECT_TRUE(m_backend.IsVisible());
        EXPECT_EQ(ClientSize(m_backend), std::make_pair(800u, 600u));
    }
}

TEST_F(SdlWindow, FullScreenAndBackRestoresTheWindowedSizeAndPlace) {
    m_backend.SetPosition(40, 30);
    m_backend.ApplyStyle(true, 800, 600);
    EXPECT_TRUE(m_backend.IsFullscreen());
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());
    EXPECT_EQ(SDL_GetWindowFlags(Window()) & SDL_WINDOW_FULLSCREEN_DESKTOP, Uint32(SDL_WINDOW_FULLSCREEN_DESKTOP));

    m_backend.ApplyStyle(false, 800, 600);
    m_backend.SetPosition(40, 30);
    EXPECT_FALSE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_FULLSCREEN);
    EXPECT_TRUE(SDL_IsScreenSaverEnabled());
    EXPECT_EQ(ClientSize(m_backend), std::make_pair(800u, 600u));
    int32_t left, top;
    m_backend.GetPosition(left, top);
    EXPECT_EQ(left, 40);
    EXPECT_EQ(top, 30);
}

// A window made in full screen holds the screen saver off; a size of 0 means 800 x 600.
TEST_F(SdlWindow, FullScreenFromTheStartAndTheDefaultSize) {
    SdlBackend other;
    WindowDesc desc;
    desc.width = desc.height = 0;
    desc.fullscreen = true;
    ASSERT_TRUE(other.Create(desc));
    SDL_Window* window = static_cast<SDL_Window*>(other.NativeHandle());
    EXPECT_TRUE(other.IsFullscreen());
    EXPECT_FALSE(SDL_IsScreenSaverEnabled());
    EXPECT_EQ(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP, Uint32(SDL_WINDOW_FULLSCREEN_DESKTOP));
    other.ApplyStyle(false, 0, 0);
    EXPECT_FALSE(other.IsFullscreen());
    EXPECT_EQ(ClientSize(other), std::make_pair(800u, 600u));
    SdlBackend plain;
    ASSERT_TRUE(plain.Create(desc = WindowDesc{nullptr, 0, 0}));
    EXPECT_EQ(ClientSize(plain), std::make_pair(800u, 600u));
    EXPECT_STREQ(SDL_GetWindowTitle(static_cast<SDL_Window*>(plain.NativeHandle())), "");
}

TEST_F(SdlWindow, RequestsCloseNothingAndDestroyDropsLaterEvents) {
    WindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    WindowEvent(SDL_WINDOWEVENT_CLOSE);
    SDL_Event quit{SDL_QUIT};
    SDL_PushEvent(&quit);
    EXPECT_EQ(KindsOf(Drain()), (Kinds{MessageKind::Activate, MessageKind::CloseRequest, MessageKind::CloseRequest}));
    EXPECT_TRUE(m_backend.HasWindow());

    // Text input runs while the window lives; destroying it hides it and brings the cursor back.
    EXPECT_TRUE(SDL_IsTextInputActive());
    m_backend.SetCursorHidden(true);
    m_backend.Destroy();
    EXPECT_FALSE(m_backend.HasWindow());
    EXPECT_FALSE(m_backend.IsVisible());
    EXPECT_FALSE(SDL_IsTextInputActive());
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
    EXPECT_TRUE(SDL_GetWindowFlags(Window()) & SDL_WINDOW_HIDDEN);
    EXPECT_EQ(ClientSize(m_backend), std::make_pair(0u, 0u));
    Key(true, SDL_SCANCODE_A);
    Message posted;
    posted.kind = MessageKind::Quit;
    m_backend.Post(posted);
    EXPECT_EQ(KindsOf(Drain()), (Kinds{MessageKind::Destroy, MessageKind::Quit}));
    m_backend.Destroy();  // twice is harmless
    EXPECT_TRUE(Drain().empty());
}

}  // namespace
