#pragma once
// The mixer. Every pass (at most kPassFrames output frames) processes the running source voices
// (linear resampling to kMixRate, volume, output matrix), then the submix voices by processing
// stage, then the mastering voice, whose sum is clamped to [-1, 1] as interleaved stereo floats.
//
// Output::Device renders on SDL's audio thread: through the audio device when one opens, else
// through SDL's "dummy" driver, which pulls at real-time pace into nothing, so voices still
// play out and report their callbacks. Output::Pull has no thread and no device: the owner
// calls Render. Every voice operation and every callback runs under one recursive mixer lock.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/audio/AudioTypes.h"
#include "platform/audio/AudioVoice.h"

namespace platform::audio {

class Engine {
public:
    enum class Output { Device, Pull };

    explicit Engine(Output output);
    // Closes the output, then deletes the voices still alive.
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    Output OutputMode() const { return m_output; }

    // Stereo at kMixRate. The first call opens the output (device mode); null when a mastering
    // voice exists already or no output opens (LastError() then tells why).
    MasteringVoice* CreateMasteringVoice();
    // Null for a channel count outside [1, kMaxChannels] or a rate other than kMixRate.
    SubmixVoice* CreateSubmixVoice(uint32_t channels, uint32_t sampleRate, uint32_t processingStage = 0);
    // Formats: 8- or 16-bit integer PCM or 32-bit float, 1 to kMaxChannels channels,
    // 1,000 to 192,000 frames per second. The voice starts stopped, sending to the mastering
    // voice; callback may be null. Null for an unsupported format.
    SourceVoice* CreateSourceVoice(const WaveFormat& format, VoiceCallback* callback,
                                   float maxFrequencyRatio = 2.0f);

    // Pull mode: renders `frames` stereo frames into out (2 x frames floats). In device mode
    // it fills silence and mixes nothing.
    void Render(float* out, uint32_t frames);

    // The SDL driver in use ("dummy", "pulseaudio", ...), or "pull".
    const std::string& DriverName() const { return m_driverName; }
    const std::string& LastError() const { return m_lastError; }

    MasteringVoice* Master() const { return m_master; }

private:
    friend class Voice;
    friend class SourceVoice;

    bool OpenDevice();
    bool OpenSdlDevice();
    void CloseDevice();
    static void DeviceCallback(void* user, uint8_t* stream, int length);
    void Mix(float* out, uint32_t frames);
    void Remove(Voice* voice);

    Output m_output;
    std::recursive_mutex m_lock;
    uint32_t m_device = 0;
    bool m_sdlAudioInit = false;
    std::string m_driverName;
    std::string m_lastError;
    MasteringVoice* m_master = nullptr;
    std::vector<SourceVoice*> m_sources;
    std::vector<SubmixVoice*> m_submixes;  // by processing stage, then creation
};

}  // namespace platform::audio
