#pragma once
// Scripted input for runs of the real program. When the environment variable TALLYVOX_REPLAY
// names a text file, the window backend reads it at window creation and, as the clock passes
// each event's time, queues the event's messages as if the system had sent them. One event a
// line, '#' lines and blank lines skipped, times in ms from the window's creation, on a clock
// that counts a long frame or a load for no more than the game's timer does (84 ms):
//   at <ms> key <name> down|up                     a key by its SDL name ("Space", "Return", "Right", "A", "F5")
//   at <ms> text <chars>                           typed text: the rest of the line, UTF-8
//   at <ms> mouse <x> <y> [left|right down|up]     the pointer moved to x, y (client pixels), then the button
//   at <ms> shot <file.png>                        the window's last shown frame saved as PNG
//   at <ms> quit                                   the window destroyed, which ends the run (no quit prompt)
//   at <ms> when <Screen>/<widget>[|<Screen>/<widget>...] shown [within <ms>]
//                                                  the script's clock held until the widget (or one of
//                                                  them) is shown and takes input (ReplayScreen); after
//                                                  120 s (or the time given) of holding, the run ends
//                                                  as failed
//   at <ms> when pointer <x> <y> [within <ms>]     the clock held until the system's pointer (moved by
//                                                  the X server, not by the script) is at x, y (2 px
//                                                  either way), or failed as above
//   after <ms> <event>                             an event <ms> after the last "when" line above it
//   speed <n>                                      the program's clock runs n (1-16) times as fast from
//                                                  the window's creation; the times are on that clock
//   seed <n>                                       the game's draws start from n (0-4294967295) instead of
//                                                  the clock, so that a replayed run draws alike every time
// A "when" stands for the moment the screen got there, so the events after it follow the screen,
// not the frame rate. Events of the same time keep their file order; the window takes at most
// one event a tick, so a press and its release written for the same time still fall in ticks of
// their own. A bad line is told and skipped.
#include <SDL.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/window/WindowMessage.h"

namespace platform::window {

struct ReplayEvent {
    enum class Kind : uint8_t { Key, Text, Mouse, Shot, Quit, Wait };
    uint64_t atMs = 0;
    int line = 0;  // in the script
    Kind kind = Kind::Quit;
    SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN;  // key
    bool down = false;                             // key, and the mouse button when there is one
    bool hasButton = false;                        // mouse
    MouseButton button = MouseButton::Left;        // mouse
    int32_t x = 0, y = 0;                          // mouse
    std::string text;                              // text, the shot's file, or the waited widget's path
    uint64_t timeoutMs = 0;                        // wait
    bool pointer = false;                          // wait: for the system's pointer at x, y
};

// What a "when" line asks of the program: the layer that knows the screens answers, through
// the one it installs with SetReplayScreen.
class ReplayScreen {
public:
    virtual ~ReplayScreen() = default;
    // True when the widget of the path ("MenuScreen/compositionMainMenu/exitButton",
    // "Popup/PopupConfirm/Confirm") is on show, at rest, and takes input.
    virtual bool IsShown(const std::string& path) const = 0;
};

// Borrowed; null removes it. Without one, a "when" line fails the run at once.
void SetReplayScreen(const ReplayScreen* screen);
const ReplayScreen* GetReplayScreen();
// True once a run's "when" line has failed (the program then ends with a failure status).
bool ReplayFailed();
void SetReplayFailed(bool failed);
// The running replay's "seed", if it has one (set as the window starts its replay).
std::optional<uint32_t> ReplaySeed();
void SetReplaySeed(std::optional<uint32_t> seed);

class Replay {
public:
    // How long a "when" line holds the clock at most, unless it says.
    static constexpr uint64_t kDefaultWaitMs = 120000;

    // Reads a script; each bad line adds "line <n>: <reason>" to errors.
    static Replay Parse(const std::string& script, std::vector<std::string>& errors);

    // The next event not taken before, when its time has come.
    bool TakeNext(uint64_t elapsedMs, ReplayEvent& event);
    // The next event not taken before, whatever its time; null when none is left.
    const ReplayEvent* Peek() const { return m_next < m_events.size() ? &m_events[m_next] : nullptr; }
    size_t Remaining() const { return m_events.size() - m_next; }
    uint32_t Speed() const { return m_speed; }
    std::optional<uint32_t> Seed() const { return m_seed; }

private:
    std::vector<ReplayEvent> m_events;  // sorted by time, stable
    size_t m_next = 0;
    uint32_t m_speed = 1;
    std::optional<uint32_t> m_seed;
};

}  // namespace platform::window
