#include "platform/window/Replay.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace platform::window {

namespace {

template <typename T>
bool ParseNumber(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool ParseUpDown(const std::string& word, bool& down) {
    down = word == "down";
    return down || word == "up";
}

const ReplayScreen* g_screen = nullptr;
bool g_failed = false;
std::optional<uint32_t> g_seed;

// One line into an event; false with a reason. waitMs: the time of the last "when" line
// above, which "after" counts from; -1 when there is none.
bool ParseLine(const std::string& line, int64_t waitMs, ReplayEvent& event, std::string& why) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string word; in >> word;)
        w.push_back(word);
    if (w.size() < 3 || (w[0] != "at" && w[0] != "after") || !ParseNumber(w[1], event.atMs)) {
        why = "expected \"at <ms> <event>\" or \"after <ms> <event>\"";
        return false;
    }
    if (w[0] == "after") {
        if (waitMs < 0) {
            why = "\"after\" with no \"when\" line above";
            return false;
        }
        event.atMs += uint64_t(waitMs);
    }
    const std::string& kind = w[2];
    if (kind == "key") {
        event.kind = ReplayEvent::Kind::Key;
        if (w.size() != 5 || !ParseUpDown(w[4], event.down)) {
            why = "expected \"key <name> down|up\"";
            return false;
        }
        event.scancode = SDL_GetScancodeFromName(w[3].c_str());
        if (event.scancode == SDL_SCANCODE_UNKNOWN) {
            why = "unknown key \"" + w[3] + "\"";
            return false;
        }
    } else if (kind == "text") {
        event.kind = ReplayEvent::Kind::Text;
        // The text is the rest of the line after one separating space, spaces kept.
        const size_t at = line.find("text") + 4;
        event.text = at < line.size() ? line.substr(at + 1) : "";
        if (event.text.empty()) {
            why = "expected \"text <chars>\"";
            return false;
        }
    } else if (kind == "mouse") {
        event.kind = ReplayEvent::Kind::Mouse;
        event.hasButton = w.size() == 7;
        if ((w.size() != 5 && w.size() != 7) || !ParseNumber(w[3], event.x) || !ParseNumber(w[4], event.y) ||
            (event.hasButton && ((w[5] != "left" && w[5] != "right") || !ParseUpDown(w[6], event.down)))) {
            why = "expected \"mouse <x> <y> [left|right down|up]\"";
            return false;
        }
        event.button = event.hasButton && w[5] == "right" ? MouseButton::Right : MouseButton::Left;
    } else if (kind == "shot") {
        event.kind = ReplayEvent::Kind::Shot;
        if (w.size() != 4) {
            why = "expected \"shot <file.png>\"";
            return false;
        }
        event.text = w[3];
    } else if (kind == "when" && w.size() > 3 && w[3] == "pointer") {
        event.kind = ReplayEvent::Kind::Wait;
        event.timeoutMs = Replay::kDefaultWaitMs;
        event.pointer = true;
        if ((w.size() != 6 && w.size() != 8) || !ParseNumber(w[4], event.x) || !ParseNumber(w[5], event.y) ||
            (w.size() == 8 && (w[6] != "within" || !ParseNumber(w[7], event.timeoutMs) || event.timeoutMs == 0))) {
            why = "expected \"when pointer <x> <y> [within <ms>]\"";
            return false;
        }
    } else if (kind == "when") {
        event.kind = ReplayEvent::Kind::Wait;
        event.timeoutMs = Replay::kDefaultWaitMs;
        if ((w.size() != 5 && w.size() != 7) || w[4] != "shown" ||
            (w.size() == 7 && (w[5] != "within" || !ParseNumber(w[6], event.timeoutMs) || event.timeoutMs == 0))) {
            why = "expected \"when <Screen>/<widget> shown [within <ms>]\"";
            return false;
        }
        event.text = w[3];
    } else if (kind == "quit") {
        event.kind = ReplayEvent::Kind::Quit;
        if (w.size() != 3) {
            why = "expected \"quit\" alone";
            return false;
        }
    } else {
        why = "unknown event \"" + kind + "\"";
        return false;
    }
    return true;
}

}  // namespace

void SetReplayScreen(const ReplayScreen* screen) {
    g_screen = screen;
}

const ReplayScreen* GetReplayScreen() {
    return g_screen;
}

bool ReplayFailed() {
    return g_failed;
}

void SetReplayFailed(bool failed) {
    g_failed = failed;
}

std::optional<uint32_t> ReplaySeed() {
    return g_seed;
}

void SetReplaySeed(std::optional<uint32_t> seed) {
    g_seed = seed;
}

Replay Replay::Parse(const std::string& script, std::vector<std::string>& errors) {
    Replay replay;
    std::istringstream in(script);
    int number = 0;
    int64_t waitMs = -1;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        std::istringstream words(line.substr(first));
        std::string word, rest;
        uint32_t value = 0;
        if (words >> word && (word == "speed" || word == "seed")) {
            // A number alone, in full: "seed -1" or "seed 5x" is no seed.
            const bool read = words >> rest && ParseNumber(rest, value) && !(words >> rest);
            if (word == "speed" && read && value >= 1 && value <= 16)
                replay.m_speed = value;
            else if (word == "seed" && read)
                replay.m_seed = value;
            else
                errors.push_back("line " + std::to_string(number) + ": expected \"" + word +
                                 (word == "speed" ? " <1-16>\"" : " <0-4294967295>\""));
            continue;
        }
        ReplayEvent event;
        std::string why;
        event.line = number;
        if (ParseLine(line.substr(first), waitMs, event, why)) {
            if (event.kind == ReplayEvent::Kind::Wait)
                waitMs = int64_t(event.atMs);
            replay.m_events.push_back(std::move(event));
        } else {
            errors.push_back("line " + std::to_string(number) + ": " + why);
        }
    }
    std::stable_sort(replay.m_events.begin(), replay.m_events.end(),
                     [](const ReplayEvent& a, const ReplayEvent& b) { return a.atMs < b.atMs; });
    return replay;
}

bool Replay::TakeNext(uint64_t elapsedMs, ReplayEvent& event) {
    if (m_next >= m_events.size() || m_events[m_next].atMs > elapsedMs)
        return false;
    event = m_events[m_next++];
    return true;
}

}  // namespace platform::window
