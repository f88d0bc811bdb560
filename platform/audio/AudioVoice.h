#pragma once
// Voices of the mixer. A source voice plays a queue of submitted buffers; a submix voice sums
// what is sent to it; the mastering voice sums everything into the output. Each voice sends to
// one destination (a submix or the mastering voice) through an output matrix and a volume.
// Voices are created and destroyed by their Engine; every operation takes the mixer lock.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/audio/AudioTypes.h"

namespace platform::audio {

class Engine;

enum class VoiceKind { Source, Submix, Mastering };

class Voice {
public:
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    VoiceKind Kind() const { return m_kind; }
    uint32_t Channels() const { return m_channels; }

    // Values outside [0, 1] are clamped; NaN becomes 0.
    void SetVolume(float volume);
    float GetVolume() const;

    // Sends this voice to destination (null: the mastering voice). The output matrix goes back
    // to the default for the new pair. Fails for the mastering voice, for a destination that is
    // a source voice or this voice itself.
    bool SetOutputVoice(Voice* destination);
    Voice* GetOutputVoice() const;

    // levels[d * sourceChannels + s] is the gain from channel s of this voice into channel d
    // of the destination. destination null means the current one; channel counts must match.
    bool SetOutputMatrix(Voice* destination, uint32_t sourceChannels, uint32_t destinationChannels,
                         const float* levels);
    bool GetOutputMatrix(Voice* destination, uint32_t sourceChannels, uint32_t destinationChannels,
                         float* levels) const;

    // Removes the voice from the mixer and deletes it. Voices that sent here fall back to the
    // mastering voice (or to silence when this was the mastering voice).
    void DestroyVoice();

protected:
    friend class Engine;
    Voice(Engine& engine, VoiceKind kind, uint32_t channels);
    virtual ~Voice() = default;

    // Where this voice's pass output goes, or null for nowhere.
    Voice* Destination() const;
    void ResetMatrix();
    // True when destination (null: the current one) is where this voice sends and the channel
    // counts are those of the pair.
    bool MatrixShapeMatches(Voice* destination, uint32_t sourceChannels, uint32_t destinationChannels) const;
    // Adds frames of this voice's channels, scaled by volume and matrix, to the destination's
    // input.
    void SendToDestination(const float* frames, uint32_t count);

    Engine& m_engine;
    VoiceKind m_kind;
    uint32_t m_channels;
    float m_volume = 1.0f;
    Voice* m_output = nullptr;  // null: the mastering voice
    std::array<float, kMaxChannels * kMaxChannels> m_matrix{};
    // Sum of what other voices sent during the current pass (submix and mastering).
    std::vector<float> m_input;
};

class SubmixVoice : public Voice {
public:
    uint32_t ProcessingStage() const { return m_stage; }

private:
    friend class Engine;
    SubmixVoice(Engine& engine, uint32_t channels, uint32_t stage);
    uint32_t m_stage;
};

class MasteringVoice : public Voice {
private:
    friend class Engine;
    explicit MasteringVoice(Engine& engine);
};

class SourceVoice : public Voice {
public:
    const WaveFormat& Format() const { return m_format; }

    void Start();
    // Takes effect at the next pass; queued buffers stay queued and in use.
    void Stop();
    bool IsRunning() const;

    // Queues a buffer. Fails when kMaxQueuedBuffers are queued, or when the byte count is not
    // a whole number of frames.
    bool SubmitSourceBuffer(const AudioBuffer& buffer);
    // Removes every queued buffer except, on a running voice, the one being played. The
    // removed buffers' data is no longer read once this returns; their OnBufferEnd follows
    // in the next pass.
    void FlushSourceBuffers();
    VoiceState GetState() const;

private:
    friend class Engine;
    SourceVoice(Engine& engine, const WaveFormat& format, VoiceCallback* callback);

    struct Queued {
        AudioBuffer buffer;
        uint32_t frames;
        uint32_t loopsLeft;
        bool started;
    };

    // Mixes up to `count` output frames into the destination and runs the callbacks.
    void Process(uint32_t count);
    float SampleAt(const Queued& queued, uint32_t frame, uint32_t channel) const;
    // Reads the frame after `frame` of the head buffer, from the next buffer when needed.
    void NextFrame(uint32_t frame, float* out) const;
    void EndHead();
    Queued& At(uint32_t i) { return m_ring[(m_head + i) % kMaxQueuedBuffers]; }
    const Queued& At(uint32_t i) const { return m_ring[(m_head + i) % kMaxQueuedBuffers]; }

    WaveFormat m_format;
    VoiceCallback* m_callback;
    bool m_running = false;
    std::array<Queued, kMaxQueuedBuffers> m_ring{};
    uint32_t m_head = 0;
    uint32_t m_count = 0;
    uint64_t m_position = 0;  // 32.32 fixed-point frame position in the head buffer
    uint64_t m_step = 0;      // source frames per output frame, 32.32
    uint64_t m_samplesPlayed = 0;
    // Contexts of flushed buffers whose OnBufferEnd is still owed.
    std::array<void*, kMaxQueuedBuffers> m_flushed{};
    uint32_t m_flushedCount = 0;
    std::vector<float> m_work;  // one pass of this voice's frames before the matrix
};

}  // namespace platform::audio
