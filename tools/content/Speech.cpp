#include "tools/content/Speech.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "tools/content/SoundSynth.h"

extern char** environ;

namespace content {

namespace {

// Words per minute: most questions fit their typing time at this pace; the program's range
// ends at 450.
constexpr int kPace = 250, kFastestPace = 450;
// A sample below this (of 32767) is the silence around the words.
constexpr int kQuiet = 200;
constexpr size_t kLead = kSoundRate / 20;

// Runs the program with `args`, the input on its standard input; its standard output, and
// whether it ran and exited with 0 (else the reason).
bool Run(const std::vector<std::string>& args, const std::string& input, std::string& output, std::string& why) {
    int in[2], out[2];
    if (pipe2(in, O_CLOEXEC) != 0)
        return why = std::string("no pipe: ") + strerror(errno), false;
    if (pipe2(out, O_CLOEXEC) != 0) {
        close(in[0]);
        close(in[1]);
        return why = std::string("no pipe: ") + strerror(errno), false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    if (spawned != 0) {
        close(in[1]);
        close(out[0]);
        why = spawned == ENOENT ? std::string(kSpeechProgram) + " is not installed (Debian package espeak-ng; "
                                                                 "scripts/deps installs it)"
                                : std::string("cannot run ") + kSpeechProgram + ": " + strerror(spawned);
        return false;
    }
    // The text is far smaller than a pipe's buffer: written whole before the output is read.
    const bool wrote = write(in[1], input.data(), input.size()) == ssize_t(input.size());
    close(in[1]);
    output.clear();
    char buffer[65536];
    for (ssize_t got; (got = read(out[0], buffer, sizeof buffer)) != 0;) {
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            break;
        output.append(buffer, size_t(got));
    }
    close(out[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!wrote || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return why = std::string(kSpeechProgram) + " failed", false;
    return true;
}

uint32_t Word(const std::string& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = value << 8 | uint8_t(bytes[at + size_t(i)]);
    return value;
}

// The samples of a mono 16-bit 22,050 Hz WAV as the program streams it (the data chunk's size
// field is not filled in: the data runs to the end), without the silence before and after the
// words; false when it is another kind of file.
bool Samples(const std::string& wav, std::vector<int16_t>& samples) {
    if (wav.size() < 12 || wav.compare(0, 4, "RIFF") != 0 || wav.compare(8, 4, "WAVE") != 0)
        return false;
    bool format = false;
    for (size_t at = 12; at + 8 <= wav.size();) {
        const uint32_t size = Word(wav, at + 4, 4);
        if (wav.compare(at, 4, "fmt ") == 0) {
            format = size >= 16 && at + 24 <= wav.size() && Word(wav, at + 8, 2) == 1 && Word(wav, at + 10, 2) == 1 &&
                     Word(wav, at + 12, 4) == kSoundRate && Word(wav, at + 22, 2) == 16;
        } else if (wav.compare(at, 4, "data") == 0) {
            if (!format)
                return false;
            samples.clear();
            for (size_t i = at + 8; i + 2 <= wav.size(); i += 2)
                samples.push_back(int16_t(Word(wav, i, 2)));
            const auto loud = [](int16_t s) { return std::abs(int(s)) >= kQuiet; };
            const auto first = std::find_if(samples.begin(), samples.end(), loud);
            const auto last = std::find_if(samples.rbegin(), samples.rend(), loud).base();
            samples = first < last ? std::vector<int16_t>(first, last) : std::vector<int16_t>();
            return true;
        }
        at += 8 + size_t(size) + (size & 1);
    }
    return false;
}

bool Speak(const std::string& text, int pace, std::vector<int16_t>& samples, std::string& why) {
    std::string wav;
    if (!Run({kSpeechProgram, "-v", "en-us", "-s", std::to_string(pace), "--stdin", "--stdout"}, text, wav, why))
        return false;
    if (!Samples(wav, samples))
        return why = std::string(kSpeechProgram) + " gave no mono 16-bit 22,050 Hz speech", false;
    return true;
}

}  // namespace

bool SpeechAvailable(std::string& why) {
    std::string output;
    return Run({kSpeechProgram, "--version"}, "", output, why);
}

std::vector<float> SpeakText(const std::string& text, size_t frames, std::string& why) {
    std::vector<int16_t> samples;
    const size_t room = frames > 2 * kLead ? frames - 2 * kLead : frames;
    if (!Speak(text, kPace, samples, why))
        return {};
    if (samples.size() > room) {
        const double faster = std::ceil(kPace * double(samples.size()) / double(room));
        if (!Speak(text, int(std::min<double>(faster, kFastestPace)), samples, why))
            return {};
    }
    // Still too long at the fastest pace: the end is cut (the caller fades it out).
    std::vector<float> out(frames, 0.0f);
    const size_t lead = frames > 2 * kLead ? kLead : 0;
    for (size_t i = 0; i < samples.size() && lead + i < frames; ++i)
        out[lead + i] = float(samples[i]) / 32768.0f;
    return out;
}

}  // namespace content
