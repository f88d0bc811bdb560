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
//   speed <n>                                      the program's clock runs n (1-16) times as fast from
//                                                  the window's creation; the times are on that clock
// Events of the same time keep their file order; the window takes at most one event a tick, so
// a press and its release written for the same time still fall in ticks of their own.
// A bad line is told and skipped.
#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window/WindowMessage.h"

namespace platform::window {

struct ReplayEvent {
    enum class Kind : uint8_t { Key, Text, Mouse, Shot, Quit };
    uint64_t atMs = 0;
    Kind kind = Kind::Quit;
    SDL_Scancode scancode = SDL_SCANCODE_UNKNOWN;  // key
    bool down = false;                             // key, and the mouse button when there is one
    bool hasButton = false;                        // mouse
    MouseButton button = MouseButton::Left;        // mouse
    int32_t x = 0, y = 0;                          // mouse
    std::string text;                              // text, or the shot's file
};

class Replay {
public:
    // Reads a script; each bad line adds "line <n>: <reason>" to errors.
    static Replay Parse(const std::string& script, std::vector<std::string>& errors);

    // The next event not taken before, when its time has come.
    bool TakeNext(uint64_t elapsedMs, ReplayEvent& event);
    size_t Remaining() const { return m_events.size() - m_next; }
    uint32_t Speed() const { return m_speed; }

private:
    std::vector<ReplayEvent> m_events;  // sorted by time, stable
    size_t m_next = 0;
    uint32_t m_speed = 1;
};

}  // namespace platform::window
