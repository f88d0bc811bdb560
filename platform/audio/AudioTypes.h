#pragma once
// Plain types of the audio mixer: sample formats, submitted buffers, voice state and the
// callback interface through which a source voice reports its progress.
#include <cstdint>

namespace platform::audio {

// The mixer runs at one rate and the output is always stereo.
inline constexpr uint32_t kMixRate = 44100;
inline constexpr uint32_t kOutputChannels = 2;
// Upper bound on the channels of any voice (source or submix).
inline constexpr uint32_t kMaxChannels = 8;
// A source voice holds at most this many submitted buffers that have not ended.
inline constexpr uint32_t kMaxQueuedBuffers = 64;
// One processing pass covers at most this many output frames (10 ms).
inline constexpr uint32_t kPassFrames = 441;

enum FormatTag : uint16_t {
    kFormatPcm = 1,    // 8-bit unsigned or 16-bit signed little-endian integers
    kFormatFloat = 3,  // 32-bit floats
};

// Interleaved sample layout of a source voice's data.
struct WaveFormat {
    uint16_t formatTag = kFormatPcm;
    uint16_t channels = 0;
    uint32_t samplesPerSec = 0;
    uint32_t avgBytesPerSec = 0;
    uint16_t blockAlign = 0;  // bytes per frame (all channels)
    uint16_t bitsPerSample = 0;
};

// AudioBuffer::flags: no further data follows this buffer; the voice reports the stream end
// once its last frame has played.
inline constexpr uint32_t kEndOfStream = 0x40;
// AudioBuffer::loopCount for a buffer that repeats until the voice is flushed or stopped.
inline constexpr uint32_t kLoopInfinite = 255;

// A span of caller-owned sample data. The bytes must stay valid and unchanged until the
// voice reports the buffer's end (OnBufferEnd) or a flush has removed it.
struct AudioBuffer {
    uint32_t flags = 0;
    uint32_t audioBytes = 0;
    const uint8_t* audioData = nullptr;
    uint32_t loopCount = 0;  // extra plays of the whole buffer after the first
    void* context = nullptr;
};

struct VoiceState {
    void* currentBufferContext = nullptr;  // the oldest buffer not yet ended
    uint32_t buffersQueued = 0;            // buffers submitted and not yet ended
    uint64_t samplesPlayed = 0;            // source frames consumed since creation or flush
};

// Progress reports of a source voice. Every call comes from the mixer (its thread, or the
// caller of Engine::Render in pull mode) while the mixer lock is held: a handler may query the
// voice, submit, start, stop or flush it, but must not destroy any voice.
class VoiceCallback {
public:
    virtual ~VoiceCallback() = default;
    // Before the voice is processed in a pass; bytesRequired is the source data the pass
    // will read beyond what is queued (0 when enough is queued).
    virtual void OnVoiceProcessingPassStart(uint32_t /*bytesRequired*/) {}
    virtual void OnVoiceProcessingPassEnd() {}
    // After the last frame of a buffer flagged kEndOfStream has played.
    virtual void OnStreamEnd() {}
    virtual void OnBufferStart(void* /*bufferContext*/) {}
    // The buffer's data is no longer read.
    virtual void OnBufferEnd(void* /*bufferContext*/) {}
    virtual void OnLoopEnd(void* /*bufferContext*/) {}
    virtual void OnVoiceError(void* /*bufferContext*/, int32_t /*error*/) {}
};

}  // namespace platform::audio
