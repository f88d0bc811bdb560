#pragma once
// The window backend on SDL2. One window with an OpenGL (compatibility profile, 2.1 or
// later) pixel format; the graphics layer creates its context on NativeHandle(), an
// SDL_Window*. Full screen uses the desktop's mode; the graphics layer scales its frame to it.
//
// Translation of SDL's events:
//  - keys become Windows virtual-key codes (SdlKeyMap.h). Alt+Enter becomes one ModeSwitch
//    and no KeyDown (auto-repeat does not switch again). Left and right Shift, Control and
//    Alt share a code, whose KeyUp comes when neither side is held any longer.
//  - text input becomes one Char per UTF-16 code unit; Backspace, Tab, Enter and Escape also
//    give the characters 8, 9, 13 and 27 after their KeyDown, as text entry expects.
//  - the wheel gives 120 per notch (fractions of a notch from smooth wheels are kept).
//  - closing the window gives CloseRequest; the system's request to end (SDL's quit event,
//    SIGINT, SIGTERM) gives Terminate.
//  - a minimised window is not visible and has a client area of 0 x 0.
//  - the screen saver is held off only in full screen.
// With TALLYVOX_REPLAY set, Create() reads the replay script it names and PollMessage() queues
// each scripted event when its time comes, ahead of the system's events (Replay.h).
// Destroy() hides the window and ends HasWindow(); the SDL window itself lives until the
// backend is deleted, so that a GL context made on it stays usable for the graphics layer's
// own shutdown.
#include <SDL.h>

#include <deque>
#include <memory>
#include <string>

#include "platform/core/Clock.h"
#include "platform/window/Replay.h"
#include "platform/window/WindowBackend.h"

namespace platform::window {

class SdlBackend : public Backend {
public:
    SdlBackend() = default;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;
    ~SdlBackend() override;

    bool Create(const WindowDesc& desc) override;
    void Destroy() override;
    bool HasWindow() const override { return m_alive; }

    bool PollMessage(Message& out) override;
    void Post(const Message& message) override { m_queue.push_back(message); }

    void ApplyStyle(bool fullscreen, uint32_t width, uint32_t height) override;
    void GetClientSize(uint32_t& width, uint32_t& height) const override;
    void GetPosition(int32_t& left, int32_t& top) const override;
    void SetPosition(int32_t left, int32_t top) override;
    void SetCursorHidden(bool hidden) override;
    void* NativeHandle() const override { return m_window; }
    bool IsVisible() const override;
    std::vector<DisplayMode> GetDisplayModes() const override;
    // Reads GL_RENDERER from a throwaway hidden window and context.
    bool RendersInSoftware() override;

    bool IsFullscreen() const { return m_fullscreen; }
    bool IsCursorHidden() const { return m_cursorHidden; }

private:
    bool StartVideo();
    void Translate(const SDL_Event& event);
    void TranslateWindowEvent(const SDL_WindowEvent& event);
    void TranslateKey(const SDL_KeyboardEvent& event);
    // limit: bytes at most (an SDL event's buffer); the text ends earlier at a zero byte.
    void TranslateText(const char* utf8, size_t limit);
    void StartReplay();
    void Inject(const ReplayEvent& event);
    // The due "when" line: taken once its widget is shown; the run ends when it times out.
    void Wait(const ReplayEvent& wait);
    void Queue(MessageKind kind);
    // Tracks the two sides of Shift, Control and Alt; false when a KeyUp of the shared code
    // must wait for the other side.
    bool TrackModifier(SDL_Scancode scancode, bool down);

    SDL_Window* m_window = nullptr;
    uint32_t m_windowId = 0;
    std::deque<Message> m_queue;
    bool m_videoStarted = false;
    bool m_alive = false;
    bool m_minimised = false;
    bool m_fullscreen = false;
    bool m_cursorHidden = false;
    uint8_t m_modifierSides = 0;  // bit per side: LShift, RShift, LCtrl, RCtrl, LAlt, RAlt
    Replay m_replay;
    // The script's own clock (see PollMessage); the longest step is the game timer's longest frame.
    static constexpr uint64_t kReplayMaxStepNs = 84000000u;
    uint64_t m_replayLastNs = 0;
    uint64_t m_replayElapsedNs = 0;
    uint64_t m_replayWaitedNs = 0;  // how long the due "when" has held the clock
    int32_t m_systemPointerX = -1, m_systemPointerY = -1;  // the last pointer move the system sent
    std::string m_replayPath;
    std::unique_ptr<platform::ScaledClock> m_fastClock;  // the replay's "speed"
    uint8_t m_emptyPolls = 2;  // polls in a row that found nothing, up to 2
};

}  // namespace platform::window
