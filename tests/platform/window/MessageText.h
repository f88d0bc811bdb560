#pragma once
// Window messages as text, one word a message ("down:81+alt", "char:13", "press:left@3,4",
// "wheel:120@7,9", "close", ...), so that a test checks a whole sequence at once.
#include <string>
#include <vector>

#include "platform/window/WindowBackend.h"
#include "platform/window/WindowMessage.h"

namespace windowtest {

using platform::window::Message;
using platform::window::MessageKind;

// withFocus false leaves out what the system itself sends (focus, leaving, closing).
inline std::string Describe(const std::vector<Message>& messages, bool withFocus = true) {
    static const char* const kButtons[] = {"left", "right", "middle"};
    std::string text;
    for (const Message& m : messages) {
        const std::string at = "@" + std::to_string(m.x) + "," + std::to_string(m.y);
        const std::string key = std::to_string(m.key) + (m.alt ? "+alt" : "");
        switch (m.kind) {
            case MessageKind::KeyDown: text += "down:" + key; break;
            case MessageKind::KeyUp: text += "up:" + key; break;
            case MessageKind::Char: text += "char:" + std::to_string(int(m.unit)); break;
            case MessageKind::MouseMove: text += "move" + at; break;
            case MessageKind::ButtonDown: text += "press:" + (kButtons[int(m.button)] + at); break;
            case MessageKind::ButtonUp: text += "release:" + (kButtons[int(m.button)] + at); break;
            case MessageKind::Wheel: text += "wheel:" + std::to_string(m.wheelDelta) + at; break;
            case MessageKind::ModeSwitch: text += "mode"; break;
            case MessageKind::Destroy: text += "destroy"; break;
            case MessageKind::Quit: text += "quit"; break;
            default:
                if (!withFocus)
                    continue;
                text += m.kind == MessageKind::Activate     ? "activate"
                        : m.kind == MessageKind::Deactivate ? "deactivate"
                        : m.kind == MessageKind::MouseLeave ? "leave"
                        : m.kind == MessageKind::CloseRequest ? "close"
                        : m.kind == MessageKind::Terminate    ? "terminate"
                                                              : "?";
        }
        text += ' ';
    }
    return text;
}

// The messages the backend gives, polled until it has none the given number of times.
inline std::string Drain(platform::window::Backend& backend, int rounds = 1, bool withFocus = true) {
    std::vector<Message> out;
    for (int round = 0; round < rounds; ++round)
        for (Message m; backend.PollMessage(m);)
            out.push_back(m);
    return Describe(out, withFocus);
}

}  // namespace windowtest
