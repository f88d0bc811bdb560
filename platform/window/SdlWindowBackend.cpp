#include "platform/window/SdlWindowBackend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <GL/gl.h>

#include "platform/core/Clock.h"
#include "platform/window/SdlKeyMap.h"
#include "platform/window/TerminationSignals.h"
#include "platform/window/WindowShot.h"

namespace platform::window {

namespace {

// Decodes one UTF-8 sequence at text; returns its length (at least 1) and the code point,
// or U+FFFD for a malformed sequence.
size_t DecodeUtf8(const unsigned char* text, uint32_t& codePoint) {
    unsigned char lead = text[0];
    size_t length;
    uint32_t value;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        value = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        value = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        value = lead & 0x07;
    } else {
        codePoint = 0xFFFD;
        return 1;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((text[i] & 0xC0) != 0x80) {
            codePoint = 0xFFFD;
            return i;
        }
        value = (value << 6) | (text[i] & 0x3F);
    }
    static const uint32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        value = 0xFFFD;
    codePoint = value;
    return length;
}

bool IsShortcutHeld(uint16_t mod) { return (mod & (KMOD_CTRL | KMOD_ALT)) != 0; }

// The screen saver may start over the window, but not over the game in full screen.
void AllowScreenSaver(bool allow) {
    if (allow)
        SDL_EnableScreenSaver();
    else
        SDL_DisableScreenSaver();
}

void SetWindowGlAttributes() {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // The graphics device draws straight into a window with the depth and stencil it needs.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
}

}  // namespace

SdlBackend::~SdlBackend() {
    if (m_alive)
        StopWatchingTerminationSignals();
    if (m_window)
        SDL_DestroyWindow(m_window);
    if (m_videoStarted)
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool SdlBackend::StartVideo() {
    // The close button asks the program (CloseRequest); SDL must not turn it into a quit.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (!m_videoStarted) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            fprintf(stderr, "Cannot start the video system: %s\n", SDL_GetError());
            return false;
        }
        m_videoStarted = true;
    }
    return true;
}

bool SdlBackend::RendersInSoftware() {
    if (!StartVideo())
        return false;
    SetWindowGlAttributes();
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
    SDL_Window* probe = SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 16, 16,
                                         SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!probe)
        return false;
    std::string renderer;
    if (SDL_GLContext context = SDL_GL_CreateContext(probe)) {
        if (auto* name = reinterpret_cast<const char*>(glGetString(GL_RENDERER)))
            renderer = name;
        SDL_GL_MakeCurrent(probe, nullptr);
        SDL_GL_DeleteContext(context);
    }
    SDL_DestroyWindow(probe);
    return IsSoftwareRenderer(renderer.c_str());
}

bool SdlBackend::Create(const WindowDesc& desc) {
    if (m_window) {
        fprintf(stderr, "The window already exists.\n");
        return false;
    }
    if (!StartVideo())
        return false;
    SetWindowGlAttributes();

    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN;
    if (desc.fullscreen)
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    int width = desc.width ? int(desc.width) : 800;
    int height = desc.height ? int(desc.height) : 600;
    for (bool multisample : {desc.multisample, false}) {
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, multisample ? 1 : 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, multisample ? 4 : 0);
        m_window = SDL_CreateWindow(desc.title ? desc.title : "", SDL_WINDOWPOS_UNDEFINED,
                                    SDL_WINDOWPOS_UNDEFINED, width, height, flags);
        if (m_window || !multisample)
            break;
    }
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
    SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
    if (!m_window) {
        fprintf(stderr, "Cannot create the window: %s\n", SDL_GetError());
        return false;
    }
    m_windowId = SDL_GetWindowID(m_window);
    m_alive = true;
    WatchTerminationSignals();
    m_minimised = false;
    m_fullscreen = desc.fullscreen;
    AllowScreenSaver(!m_fullscreen);
    m_modifierSides = 0;
    SetCursorHidden(desc.hideCursor);
    SDL_StartTextInput();
    StartReplay();
    return true;
}

void SdlBackend::StartReplay() {
    m_replay = Replay();
    m_fastClock.reset();
    SetReplaySeed(std::nullopt);
    const char* path = getenv("TALLYVOX_REPLAY");
    if (!path || !*path)
        return;
    std::ifstream file(path, std::ios::binary);
    std::stringstream script;
    script << file.rdbuf();
    if (!file) {
        fprintf(stderr, "Cannot read the replay file %s\n", path);
        return;
    }
    std::vector<std::string> errors;
    m_replay = Replay::Parse(script.str(), errors);
    m_replayPath = path;
    m_replayWaitedNs = 0;
    SetReplayFailed(false);
    SetReplaySeed(m_replay.Seed());
    for (const std::string& error : errors)
        fprintf(stderr, "Replay %s, %s: skipped\n", path, error.c_str());
    m_fastClock.reset();
    if (m_replay.Speed() > 1)
        m_fastClock = std::make_unique<platform::ScaledClock>(m_replay.Speed());
    m_replayLastNs = platform::NowNs();
    m_replayElapsedNs = 0;
    m_emptyPolls = 2;
}

void SdlBackend::Inject(const ReplayEvent& event) {
    switch (event.kind) {
    case ReplayEvent::Kind::Key: {
        SDL_KeyboardEvent key{};
        key.type = event.down ? SDL_KEYDOWN : SDL_KEYUP;
        key.state = event.down ? SDL_PRESSED : SDL_RELEASED;
        key.windowID = m_windowId;
        key.keysym.scancode = event.scancode;
        key.keysym.sym = SDL_GetKeyFromScancode(event.scancode);
        TranslateKey(key);
        break;
    }
    case ReplayEvent::Kind::Text:
        TranslateText(event.text.c_str(), event.text.size());
        break;
    case ReplayEvent::Kind::Mouse: {
        Message message;
        message.kind = MessageKind::MouseMove;
        message.x = event.x;
        message.y = event.y;
        m_queue.push_back(message);
        if (event.hasButton) {
            message.kind = event.down ? MessageKind::ButtonDown : MessageKind::ButtonUp;
            message.button = event.button;
            m_queue.push_back(message);
        }
        break;
    }
    case ReplayEvent::Kind::Shot: {
        std::string why;
        if (!SaveWindowShot(m_window, event.text, why))
            fprintf(stderr, "Replay shot %s: %s\n", event.text.c_str(), why.c_str());
        break;
    }
    case ReplayEvent::Kind::Quit:
        // The run ends as when a close is granted: a close request could be held by a quit prompt.
        Destroy();
        break;
    case ReplayEvent::Kind::Wait:  // taken by Wait
        break;
    }
}

void SdlBackend::Wait(const ReplayEvent& wait) {
    const ReplayScreen* screen = GetReplayScreen();
    bool shown = false;
    std::istringstream paths(wait.text);
    for (std::string path; screen && !wait.pointer && !shown && std::getline(paths, path, '|');)
        shown = screen->IsShown(path);
    if (wait.pointer)
        shown = std::abs(m_systemPointerX - wait.x) <= 2 && std::abs(m_systemPointerY - wait.y) <= 2;
    if (shown) {
        ReplayEvent taken;
        m_replay.TakeNext(wait.atMs, taken);
        m_replayWaitedNs = 0;
        return;
    }
    if ((screen || wait.pointer) && m_replayWaitedNs < wait.timeoutMs * 1000000u)
        return;
    // The rest of the script was written for a screen that did not come: the run ends, failed.
    const std::string what =
        wait.pointer ? "the pointer at " + std::to_string(wait.x) + ", " + std::to_string(wait.y) : wait.text;
    fprintf(stderr, "Replay %s, line %d: %s %s: the run ends\n", m_replayPath.c_str(), wait.line, what.c_str(),
            screen || wait.pointer ? ("not shown within " + std::to_string(wait.timeoutMs) + " ms").c_str()
                                   : "cannot be asked for");
    SetReplayFailed(true);
    Destroy();
}

void SdlBackend::Destroy() {
    if (!m_alive)
        return;
    m_alive = false;
    StopWatchingTerminationSignals();
    SDL_StopTextInput();
    SDL_HideWindow(m_window);
    SDL_ShowCursor(SDL_ENABLE);
    Queue(MessageKind::Destroy);
}

bool SdlBackend::PollMessage(Message& out) {
    // One scripted event a tick. The run loop dispatches every waiting message, polls once
    // more, and ticks when that poll finds nothing too: an event is taken only after two
    // empty polls in a row, so that a press and its release due together are read in ticks
    // of their own (the game reads its input once a tick).
    // The script's clock steps as the game's timer does: a gap between polls (a frame, a load)
    // counts for at most kReplayMaxStepNs, so a slow frame delays the script as it delays the
    // game, and the two stay in step.
    // A "when" holds that clock at its time until the screen shows its widget.
    const uint64_t now = platform::NowNs();
    const uint64_t step = std::min(now - m_replayLastNs, kReplayMaxStepNs);
    m_replayLastNs = now;
    const ReplayEvent* next = m_replay.Peek();
    const bool waiting = next && next->kind == ReplayEvent::Kind::Wait;
    const uint64_t waitNs = waiting ? next->atMs * 1000000u : 0;
    const uint64_t reached = m_replayElapsedNs + step;
    m_replayElapsedNs = waiting ? std::min(reached, waitNs) : reached;
    m_replayWaitedNs += reached - m_replayElapsedNs;
    ReplayEvent scripted;
    if (m_queue.empty() && m_alive && m_emptyPolls >= 2) {
        if (waiting && m_replayElapsedNs >= waitNs)
            Wait(*next);
        else if (m_replay.TakeNext(m_replayElapsedNs / 1000000u, scripted))
            Inject(scripted);
    }
    if (m_alive && TakeTerminationRequest())
        Queue(MessageKind::Terminate);
    if (m_queue.empty() && m_videoStarted) {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            Translate(event);
    }
    if (m_queue.empty()) {
        m_emptyPolls = uint8_t(m_emptyPolls < 2 ? m_emptyPolls + 1 : 2);
        return false;
    }
    m_emptyPolls = 0;
    out = m_queue.front();
    m_queue.pop_front();
    return true;
}

void SdlBackend::Queue(MessageKind kind) {
    Message message;
    message.kind = kind;
    m_queue.push_back(message);
}

void SdlBackend::Translate(const SDL_Event& event) {
    if (!m_alive)
        return;
    switch (event.type) {
    case SDL_QUIT:
        // With the last window's close kept from turning into a quit (Create), SDL's quit is
        // the system's request to end (its own SIGINT and SIGTERM handlers among others).
        Queue(MessageKind::Terminate);
        break;
    case SDL_WINDOWEVENT:
        if (event.window.windowID == m_windowId)
            TranslateWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (event.key.windowID == m_windowId || event.key.windowID == 0)
            TranslateKey(event.key);
        break;
    case SDL_TEXTINPUT:
        TranslateText(event.text.text, sizeof event.text.text);
        break;
    case SDL_MOUSEMOTION: {
        Message message;
        message.kind = MessageKind::MouseMove;
        message.x = m_systemPointerX = event.motion.x;
        message.y = m_systemPointerY = event.motion.y;
        m_queue.push_back(message);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        Message message;
        message.kind = event.type == SDL_MOUSEBUTTONDOWN ? MessageKind::ButtonDown : MessageKind::ButtonUp;
        if (event.button.button == SDL_BUTTON_LEFT)
            message.button = MouseButton::Left;
        else if (event.button.button == SDL_BUTTON_MIDDLE)
            message.button = MouseButton::Middle;
        else if (event.button.button == SDL_BUTTON_RIGHT)
            message.button = MouseButton::Right;
        else
            break;
        message.x = event.button.x;
        message.y = event.button.y;
        m_queue.push_back(message);
        break;
    }
    case SDL_MOUSEWHEEL: {
        float notches = event.wheel.preciseY;
        if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED)
            notches = -notches;
        long delta = lroundf(notches * 120.0f);
        if (delta == 0)
            break;
        Message message;
        message.kind = MessageKind::Wheel;
        message.wheelDelta = int32_t(delta);
        message.x = event.wheel.mouseX;
        message.y = event.wheel.mouseY;
        m_queue.push_back(message);
        break;
    }
    default:
        break;
    }
}

void SdlBackend::TranslateWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
    case SDL_WINDOWEVENT_MINIMIZED:
        m_minimised = true;
        break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
        m_minimised = false;
        Queue(MessageKind::Repaint);
        break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        Queue(MessageKind::Repaint);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        Queue(MessageKind::Activate);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        m_modifierSides = 0;
        Queue(MessageKind::Deactivate);
        break;
    case SDL_WINDOWEVENT_CLOSE:
        Queue(MessageKind::CloseRequest);
        break;
    case SDL_WINDOWEVENT_LEAVE:
        Queue(MessageKind::MouseLeave);
        break;
    default:
        break;
    }
}

bool SdlBackend::TrackModifier(SDL_Scancode scancode, bool down) {
    int side;
    switch (scancode) {
    case SDL_SCANCODE_LSHIFT: side = 0; break;
    case SDL_SCANCODE_RSHIFT: side = 1; break;
    case SDL_SCANCODE_LCTRL: side = 2; break;
    case SDL_SCANCODE_RCTRL: side = 3; break;
    case SDL_SCANCODE_LALT: side = 4; break;
    case SDL_SCANCODE_RALT: side = 5; break;
    default: return true;
    }
    uint8_t bit = uint8_t(1u << side);
    uint8_t pair = uint8_t(3u << (side & ~1));
    if (down) {
        m_modifierSides |= bit;
        return true;
    }
    m_modifierSides &= uint8_t(~bit);
    return (m_modifierSides & pair) == 0;
}

void SdlBackend::TranslateKey(const SDL_KeyboardEvent& event) {
    bool down = event.type == SDL_KEYDOWN;
    uint32_t vk = VirtualKeyFromSdl(event.keysym.scancode, event.keysym.sym);
    if (vk == 0)
        return;
    bool alt = (event.keysym.mod & KMOD_ALT) != 0;
    if (down && vk == 13 && alt) {
        if (!event.repeat)
            Queue(MessageKind::ModeSwitch);
        return;
    }
    if (!TrackModifier(event.keysym.scancode, down))
        return;
    Message message;
    message.kind = down ? MessageKind::KeyDown : MessageKind::KeyUp;
    message.key = vk;
    message.alt = alt;
    m_queue.push_back(message);
    if (down && (vk == 8 || vk == 9 || vk == 13 || vk == 27) && !IsShortcutHeld(event.keysym.mod)) {
        Message text;
        text.kind = MessageKind::Char;
        text.unit = char16_t(vk);
        m_queue.push_back(text);
    }
}

void SdlBackend::TranslateText(const char* utf8, size_t limit) {
    const auto* text = reinterpret_cast<const unsigned char*>(utf8);
    size_t i = 0;
    while (i < limit && text[i]) {
        uint32_t codePoint;
        // A sequence cut by the end of the event's buffer is malformed.
        size_t length = DecodeUtf8(text + i, codePoint);
        i += length;
        Message message;
        message.kind = MessageKind::Char;
        if (codePoint >= 0x10000) {
            codePoint -= 0x10000;
            message.unit = char16_t(0xD800 + (codePoint >> 10));
            m_queue.push_back(message);
            message.unit = char16_t(0xDC00 + (codePoint & 0x3FF));
        } else {
            message.unit = char16_t(codePoint);
        }
        m_queue.push_back(message);
    }
}

void SdlBackend::ApplyStyle(bool fullscreen, uint32_t width, uint32_t height) {
    if (!m_window)
        return;
    int w = width ? int(width) : 800;
    int h = height ? int(height) : 600;
    if (fullscreen) {
        SDL_SetWindowSize(m_window, w, h);
        if (SDL_SetWindowFullscreen(m_window, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) {
            fprintf(stderr, "Cannot switch to full screen: %s\n", SDL_GetError());
            return;
        }
    } else {
        if (SDL_SetWindowFullscreen(m_window, 0) != 0) {
            fprintf(stderr, "Cannot leave full screen: %s\n", SDL_GetError());
            return;
        }
        SDL_SetWindowSize(m_window, w, h);
    }
    m_fullscreen = fullscreen;
    AllowScreenSaver(!fullscreen);
}

void SdlBackend::GetClientSize(uint32_t& width, uint32_t& height) const {
    width = height = 0;
    if (!m_alive || m_minimised || (SDL_GetWindowFlags(m_window) & SDL_WINDOW_MINIMIZED))
        return;
    int w = 0, h = 0;
    SDL_GetWindowSize(m_window, &w, &h);
    width = w > 0 ? uint32_t(w) : 0;
    height = h > 0 ? uint32_t(h) : 0;
}

void SdlBackend::GetPosition(int32_t& left, int32_t& top) const {
    int x = 0, y = 0;
    if (m_window)
        SDL_GetWindowPosition(m_window, &x, &y);
    left = x;
    top = y;
}

void SdlBackend::SetPosition(int32_t left, int32_t top) {
    if (m_window)
        SDL_SetWindowPosition(m_window, left, top);
}

void SdlBackend::SetCursorHidden(bool hidden) {
    m_cursorHidden = hidden;
    if (m_videoStarted)
        SDL_ShowCursor(hidden ? SDL_DISABLE : SDL_ENABLE);
}

bool SdlBackend::IsVisible() const {
    if (!m_alive || m_minimised)
        return false;
    Uint32 flags = SDL_GetWindowFlags(m_window);
    return (flags & SDL_WINDOW_SHOWN) && !(flags & (SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED));
}

std::vector<DisplayMode> SdlBackend::GetDisplayModes() const {
    std::vector<DisplayMode> modes;
    if (!m_videoStarted)
        return modes;
    int display = m_window ? SDL_GetWindowDisplayIndex(m_window) : 0;
    if (display < 0)
        display = 0;
    int count = SDL_GetNumDisplayModes(display);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode mode;
        if (SDL_GetDisplayMode(display, i, &mode) != 0 || mode.w <= 0 || mode.h <= 0)
            continue;
        DisplayMode entry{uint32_t(mode.w), uint32_t(mode.h), uint32_t(mode.refresh_rate > 0 ? mode.refresh_rate : 0)};
        bool known = false;
        for (const DisplayMode& m : modes)
            known = known || (m.width == entry.width && m.height == entry.height && m.refreshRate == entry.refreshRate);
        if (!known)
            modes.push_back(entry);
    }
    // Some drivers (the offscreen one) list no usable mode; the desktop's extent stands in.
    if (modes.empty()) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(display, &bounds) == 0 && bounds.w > 0 && bounds.h > 0)
            modes.push_back({uint32_t(bounds.w), uint32_t(bounds.h), 0});
    }
    return modes;
}

}  // namespace platform::window
