#include "platform/audio/AudioVoice.h"

#include <algorithm>
#include <cstring>

#include "platform/audio/AudioEngine.h"

namespace platform::audio {

namespace {

using Guard = std::lock_guard<std::recursive_mutex>;

float ClampVolume(float v) {
    if (!(v > 0.0f))  // negative or NaN
        return 0.0f;
    return v > 1.0f ? 1.0f : v;
}

}  // namespace

// ---------------------------------------------------------------------------------------- Voice

Voice::Voice(Engine& engine, VoiceKind kind, uint32_t channels)
    : m_engine(engine), m_kind(kind), m_channels(channels) {
    if (kind != VoiceKind::Source)
        m_input.assign(size_t(kPassFrames) * channels, 0.0f);
    ResetMatrix();
}

void Voice::SetVolume(float volume) {
    Guard guard(m_engine.m_lock);
    m_volume = ClampVolume(volume);
}

float Voice::GetVolume() const {
    Guard guard(m_engine.m_lock);
    return m_volume;
}

Voice* Voice::Destination() const {
    if (m_kind == VoiceKind::Mastering)
        return nullptr;
    return m_output ? m_output : m_engine.m_master;
}

bool Voice::SetOutputVoice(Voice* destination) {
    Guard guard(m_engine.m_lock);
    if (m_kind == VoiceKind::Mastering || destination == this)
        return false;
    if (destination && destination->m_kind == VoiceKind::Source)
        return false;
    if (destination && destination->m_kind == VoiceKind::Mastering)
        destination = nullptr;
    m_output = destination;
    ResetMatrix();
    return true;
}

Voice* Voice::GetOutputVoice() const {
    Guard guard(m_engine.m_lock);
    return Destination();
}

void Voice::ResetMatrix() {
    m_matrix.fill(0.0f);
    Voice* dest = Destination();
    uint32_t out = dest ? dest->m_channels : kOutputChannels;
    for (uint32_t d = 0; d < out; ++d) {
        for (uint32_t s = 0; s < m_channels; ++s) {
            float level = 0.0f;
            if (m_channels == 1)
                level = 1.0f;  // mono feeds every output channel
            else if (out == 1)
                level = 1.0f / float(m_channels);
            else if (s == d)
                level = 1.0f;
            m_matrix[d * m_channels + s] = level;
        }
    }
}

bool Voice::MatrixShapeMatches(Voice* destination, uint32_t sourceChannels, uint32_t destinationChannels) const {
    const Voice* dest = Destination();
    return dest && (!destination || destination == dest) && sourceChannels == m_channels &&
           destinationChannels == dest->m_channels;
}

bool Voice::SetOutputMatrix(Voice* destination, uint32_t sourceChannels, uint32_t destinationChannels,
                            const float* levels) {
    Guard guard(m_engine.m_lock);
    if (!levels || !MatrixShapeMatches(destination, sourceChannels, destinationChannels))
        return false;
    std::copy_n(levels, sourceChannels * destinationChannels, m_matrix.begin());
    return true;
}

bool Voice::GetOutputMatrix(Voice* destination, uint32_t sourceChannels, uint32_t destinationChannels,
                            float* levels) const {
    Guard guard(m_engine.m_lock);
    if (!levels || !MatrixShapeMatches(destination, sourceChannels, destinationChannels))
        return false;
    std::copy_n(m_matrix.begin(), sourceChannels * destinationChannels, levels);
    return true;
}

void Voice::DestroyVoice() { m_engine.Remove(this); }

void Voice::SendToDestination(const float* frames, uint32_t count) {
    Voice* dest = Destination();
    if (!dest || m_volume == 0.0f)
        return;
    const uint32_t in = m_channels;
    const uint32_t out = dest->m_channels;
    float* target = dest->m_input.data();
    for (uint32_t f = 0; f < count; ++f) {
        const float* src = frames + size_t(f) * in;
        float* dst = target + size_t(f) * out;
        for (uint32_t d = 0; d < out; ++d) {
            const float* row = &m_matrix[d * in];
            float sum = 0.0f;
            for (uint32_t s = 0; s < in; ++s)
                sum += row[s] * src[s];
            dst[d] += sum * m_volume;
        }
    }
}

SubmixVoice::SubmixVoice(Engine& engine, uint32_t channels, uint32_t stage)
    : Voice(engine, VoiceKind::Submix, channels), m_stage(stage) {}

MasteringVoice::MasteringVoice(Engine& engine) : Voice(engine, VoiceKind::Mastering, kOutputChannels) {}

// ---------------------------------------------------------------------------------- SourceVoice

SourceVoice::SourceVoice(Engine& engine, const WaveFormat& format, VoiceCallback* callback)
    : Voice(engine, VoiceKind::Source, format.channels), m_format(format), m_callback(callback) {
    m_step = (uint64_t(format.samplesPerSec) << 32) / kMixRate;
    m_work.assign(size_t(kPassFrames) * format.channels, 0.0f);
}

void SourceVoice::Start() {
    Guard guard(m_engine.m_lock);
    m_running = true;
}

void SourceVoice::Stop() {
    Guard guard(m_engine.m_lock);
    m_running = false;
}

bool SourceVoice::IsRunning() const {
    Guard guard(m_engine.m_lock);
    return m_running;
}

bool SourceVoice::SubmitSourceBuffer(const AudioBuffer& buffer) {
    Guard guard(m_engine.m_lock);
    // Flushed buffers whose end is still owed count as in use.
    if (m_count + m_flushedCount >= kMaxQueuedBuffers)
        return false;
    if (buffer.audioBytes % m_format.blockAlign != 0 || (buffer.audioBytes && !buffer.audioData))
        return false;
    Queued& q = m_ring[(m_head + m_count) % kMaxQueuedBuffers];
    q.buffer = buffer;
    q.frames = buffer.audioBytes / m_format.blockAlign;
    q.loopsLeft = buffer.loopCount;
    q.started = false;
    ++m_count;
    return true;
}

void SourceVoice::FlushSourceBuffers() {
    Guard guard(m_engine.m_lock);
    const uint32_t keep = (m_running && m_count > 0 && At(0).started) ? 1 : 0;
    for (uint32_t i = keep; i < m_count; ++i)
        m_flushed[m_flushedCount++] = At(i).buffer.context;
    m_count = keep;
    if (keep == 0) {
        m_position = 0;
        m_samplesPlayed = 0;
    }
}

VoiceState SourceVoice::GetState() const {
    Guard guard(m_engine.m_lock);
    VoiceState state;
    state.currentBufferContext = m_count ? At(0).buffer.context : nullptr;
    state.buffersQueued = m_count;
    state.samplesPlayed = m_samplesPlayed;
    return state;
}

float SourceVoice::SampleAt(const Queued& queued, uint32_t frame, uint32_t channel) const {
    const uint8_t* p = queued.buffer.audioData + size_t(frame) * m_format.blockAlign;
    if (m_format.formatTag == kFormatFloat) {
        float v;
        std::memcpy(&v, p + channel * 4, 4);
        return v;
    }
    if (m_format.bitsPerSample == 8)
        return (float(p[channel]) - 128.0f) * (1.0f / 128.0f);
    int16_t v;
    std::memcpy(&v, p + channel * 2, 2);
    return float(v) * (1.0f / 32768.0f);
}

void SourceVoice::NextFrame(uint32_t frame, float* out) const {
    const Queued& head = At(0);
    const Queued* from = &head;
    uint32_t index = frame + 1;
    if (index >= head.frames) {
        index = 0;
        if (head.loopsLeft == 0) {
            from = nullptr;
            for (uint32_t i = 1; i < m_count && !from; ++i)
                if (At(i).frames > 0)
                    from = &At(i);
        }
        if (!from) {  // nothing follows: hold the last frame
            from = &head;
            index = frame;
        }
    }
    for (uint32_t c = 0; c < m_channels; ++c)
        out[c] = SampleAt(*from, index, c);
}

void SourceVoice::EndHead() {
    Queued& head = At(0);
    if (head.loopsLeft > 0 && head.frames > 0) {
        if (head.loopsLeft != kLoopInfinite)
            --head.loopsLeft;
        if (m_callback)
            m_callback->OnLoopEnd(head.buffer.context);
        return;
    }
    const AudioBuffer ended = head.buffer;
    m_head = (m_head + 1) % kMaxQueuedBuffers;
    --m_count;
    if (m_callback) {
        m_callback->OnBufferEnd(ended.context);
        if (ended.flags & kEndOfStream)
            m_callback->OnStreamEnd();
    }
}

void SourceVoice::Process(uint32_t count) {
    if (m_flushedCount && m_callback) {
        // Copy first: a handler may flush again.
        std::array<void*, kMaxQueuedBuffers> owed;
        const uint32_t n = m_flushedCount;
        std::copy_n(m_flushed.begin(), n, owed.begin());
        m_flushedCount = 0;
        for (uint32_t i = 0; i < n; ++i)
            m_callback->OnBufferEnd(owed[i]);
    } else {
        // No one to tell. (Ends a handler flushed above wait for the next pass.)
        m_flushedCount = 0;
    }
    if (!m_running)
        return;

    if (m_callback) {
        // Both in frames from the start of the head buffer.
        uint64_t needed = ((m_position + m_step * count) >> 32) + 1;
        uint64_t available = 0;
        for (uint32_t i = 0; i < m_count; ++i)
            available += At(i).frames;
        uint64_t missing = needed > available ? needed - available : 0;
        m_callback->OnVoiceProcessingPassStart(uint32_t(std::min<uint64_t>(missing * m_format.blockAlign, UINT32_MAX)));
    }

    const uint32_t channels = m_channels;
    std::fill(m_work.begin(), m_work.begin() + size_t(count) * channels, 0.0f);
    float next[kMaxChannels];
    uint32_t produced = 0;
    while (produced < count && m_count > 0) {
        Queued& head = At(0);
        if (!head.started) {
            head.started = true;
            if (m_callback)
                m_callback->OnBufferStart(head.buffer.context);
            if (m_count == 0)
                break;
            continue;  // the handler may have changed the queue
        }
        if (head.frames == 0) {
            EndHead();
            continue;
        }
        const uint32_t frame = uint32_t(m_position >> 32);
        const float frac = float(m_position & 0xffffffffu) * (1.0f / 4294967296.0f);
        NextFrame(frame, next);
        float* dst = &m_work[size_t(produced) * channels];
        for (uint32_t c = 0; c < channels; ++c) {
            const float s0 = SampleAt(head, frame, c);
            dst[c] = s0 + (next[c] - s0) * frac;
        }
        ++produced;
        const uint64_t advanced = m_position + m_step;
        m_samplesPlayed += (advanced >> 32) - (m_position >> 32);
        m_position = advanced;
        while (m_count > 0 && (m_position >> 32) >= At(0).frames) {
            m_position -= uint64_t(At(0).frames) << 32;
            EndHead();
        }
        if (m_count == 0)
            m_position = 0;
    }
    SendToDestination(m_work.data(), count);
    if (m_callback)
        m_callback->OnVoiceProcessingPassEnd();
}

}  // namespace platform::audio
