#include "platform/audio/AudioEngine.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/core/Clock.h"

namespace platform::audio {

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

// SDL's request size in frames; about 23 ms at the mix rate.
constexpr Uint16 kDeviceFrames = 1024;

bool ValidSourceFormat(const WaveFormat& f) {
    if (f.channels < 1 || f.channels > kMaxChannels)
        return false;
    if (f.samplesPerSec < 1000 || f.samplesPerSec > 192000)
        return false;
    if (f.formatTag == kFormatPcm && f.bitsPerSample != 8 && f.bitsPerSample != 16)
        return false;
    if (f.formatTag == kFormatFloat && f.bitsPerSample != 32)
        return false;
    if (f.formatTag != kFormatPcm && f.formatTag != kFormatFloat)
        return false;
    return f.blockAlign == f.channels * f.bitsPerSample / 8;
}

}  // namespace

Engine::Engine(Output output) : m_output(output) {
    if (output == Output::Pull)
        m_driverName = "pull";
}

Engine::~Engine() {
    CloseDevice();
    Guard guard(m_lock);
    for (SourceVoice* v : m_sources)
        delete v;
    for (SubmixVoice* v : m_submixes)
        delete v;
    delete m_master;
    m_sources.clear();
    m_submixes.clear();
    m_master = nullptr;
}

MasteringVoice* Engine::CreateMasteringVoice() {
    {
        Guard guard(m_lock);
        if (m_master)
            return nullptr;
    }
    // The device thread takes the lock itself: open it without holding the lock.
    if (m_output == Output::Device && m_device == 0 && !OpenDevice())
        return nullptr;
    Guard guard(m_lock);
    if (m_master)
        return nullptr;
    m_master = new MasteringVoice(*this);
    // Voices created before the mastering voice default-route to it from now on.
    for (SourceVoice* v : m_sources)
        if (!v->m_output)
            v->ResetMatrix();
    for (SubmixVoice* v : m_submixes)
        if (!v->m_output)
            v->ResetMatrix();
    return m_master;
}

SubmixVoice* Engine::CreateSubmixVoice(uint32_t channels, uint32_t sampleRate, uint32_t processingStage) {
    if (channels < 1 || channels > kMaxChannels || sampleRate != kMixRate)
        return nullptr;
    Guard guard(m_lock);
    auto* voice = new SubmixVoice(*this, channels, processingStage);
    auto at = std::upper_bound(m_submixes.begin(), m_submixes.end(), processingStage,
                               [](uint32_t stage, const SubmixVoice* v) { return stage < v->m_stage; });
    m_submixes.insert(at, voice);
    return voice;
}

SourceVoice* Engine::CreateSourceVoice(const WaveFormat& format, VoiceCallback* callback, float maxFrequencyRatio) {
    if (!ValidSourceFormat(format) || !(maxFrequencyRatio > 0.0f))
        return nullptr;
    Guard guard(m_lock);
    auto* voice = new SourceVoice(*this, format, callback);
    m_sources.push_back(voice);
    return voice;
}

void Engine::Remove(Voice* voice) {
    Guard guard(m_lock);
    auto reroute = [voice](Voice* v) {
        if (v->m_output == voice) {
            v->m_output = nullptr;
            v->ResetMatrix();
        }
    };
    if (voice->m_kind == VoiceKind::Source) {
        auto it = std::find(m_sources.begin(), m_sources.end(), voice);
        if (it == m_sources.end())
            return;
        m_sources.erase(it);
    } else if (voice->m_kind == VoiceKind::Submix) {
        auto it = std::find(m_submixes.begin(), m_submixes.end(), voice);
        if (it == m_submixes.end())
            return;
        m_submixes.erase(it);
    } else {
        if (voice != m_master)
            return;
        m_master = nullptr;
    }
    for (SourceVoice* v : m_sources)
        reroute(v);
    for (SubmixVoice* v : m_submixes)
        reroute(v);
    delete voice;
}

void Engine::Render(float* out, uint32_t frames) {
    if (m_output != Output::Pull) {
        std::memset(out, 0, sizeof(float) * kOutputChannels * frames);
        return;
    }
    Mix(out, frames);
}

void Engine::Mix(float* out, uint32_t frames) {
    Guard guard(m_lock);
    while (frames > 0) {
        const uint32_t n = std::min(frames, kPassFrames);
        for (SubmixVoice* v : m_submixes)
            std::fill(v->m_input.begin(), v->m_input.begin() + size_t(n) * v->m_channels, 0.0f);
        if (m_master)
            std::fill(m_master->m_input.begin(), m_master->m_input.begin() + size_t(n) * kOutputChannels, 0.0f);
        for (SourceVoice* v : m_sources)
            v->Process(n);
        for (SubmixVoice* v : m_submixes)
            v->SendToDestination(v->m_input.data(), n);
        const size_t samples = size_t(n) * kOutputChannels;
        if (m_master) {
            const float volume = m_master->m_volume;
            for (size_t i = 0; i < samples; ++i) {
                float s = m_master->m_input[i] * volume;
                s = s > 1.0f ? 1.0f : (s < -1.0f ? -1.0f : s);
                out[i] = s == s ? s : 0.0f;  // NaN from bad float data is silenced
            }
        } else {
            std::fill(out, out + samples, 0.0f);
        }
        out += samples;
        frames -= n;
    }
}

// --------------------------------------------------------------------------------- SDL output

void Engine::DeviceCallback(void* user, uint8_t* stream, int length) {
    auto* engine = static_cast<Engine*>(user);
    engine->Mix(reinterpret_cast<float*>(stream), uint32_t(length) / (sizeof(float) * kOutputChannels));
}

bool Engine::OpenSdlDevice() {
    SDL_AudioSpec want;
    SDL_AudioSpec have;
    SDL_zero(want);
    // The dummy driver takes the output at the pace of its rate, for no one to hear: under a clock
    // that runs n times as fast (a scripted run's "speed"), it is asked for n times the rate, so that
    // a sound lasts as long on that clock as on the system's and the show that waits for it keeps
    // pace with the game. A real device keeps the mix rate.
    const char* chosen = SDL_GetCurrentAudioDriver();
    const uint32_t speed = chosen && std::string(chosen) == "dummy" ? platform::ClockSpeed() : 1;
    want.freq = int(kMixRate * std::clamp(speed, 1u, 16u));
    want.format = AUDIO_F32SYS;
    want.channels = Uint8(kOutputChannels);
    want.samples = kDeviceFrames;
    want.callback = &Engine::DeviceCallback;
    want.userdata = this;
    // No allowed changes: SDL converts our float stereo to whatever the device takes.
    SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device == 0)
        return false;
    m_device = device;
    const char* driver = SDL_GetCurrentAudioDriver();
    m_driverName = driver ? driver : "";
    SDL_PauseAudioDevice(device, 0);
    return true;
}

bool Engine::OpenDevice() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        m_sdlAudioInit = true;
        if (OpenSdlDevice())
            return true;
        m_lastError = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_sdlAudioInit = false;
    } else {
        m_lastError = SDL_GetError();
    }
    // No usable device: the dummy driver consumes the output at the same pace.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    bool opened = false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
        m_sdlAudioInit = true;
        opened = OpenSdlDevice();
        if (!opened) {
            m_lastError += std::string("; dummy driver: ") + SDL_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            m_sdlAudioInit = false;
        }
    } else {
        m_lastError += std::string("; dummy driver: ") + SDL_GetError();
    }
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    return opened;
}

void Engine::CloseDevice() {
    if (m_device != 0) {
        // Returns once the callback has finished; no pass runs after this.
        SDL_CloseAudioDevice(m_device);
        m_device = 0;
    }
    if (m_sdlAudioInit) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        m_sdlAudioInit = false;
    }
}

}  // namespace platform::audio
