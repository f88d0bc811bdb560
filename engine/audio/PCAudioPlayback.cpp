#include "engine/audio/PCAudioPlayback.h"

#include <cstdio>

#include "engine/audio/AGAudioPlayerImpl.h"
#include "engine/audio/PCAudioDecoder.h"
#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/core/AGLog.h"
#include "platform/audio/AudioEngine.h"

using platform::audio::AudioBuffer;
using platform::audio::WaveFormat;

namespace {

constexpr u32 kStateBitsClosed = 0x7F;

}  // namespace

PCAudioPlayback::PCAudioPlayback(u32& state, u32& category)
    : m_state(state), m_category(category), m_manager(PCAudioManagerImpl::Get()) {
    m_callback.SetHandler(VoiceCallback::kStreamEnd, &PCAudioPlayback::OnStreamEnd, this);
}

PCAudioPlayback::~PCAudioPlayback() { Close(); }

void PCAudioPlayback::OnStreamEnd(void* context, VoiceCallback*) {
    static_cast<PCAudioPlayback*>(context)->m_streamEnd.store(true, std::memory_order_release);
}

bool PCAudioPlayback::Open(void* source, const ov_callbacks& callbacks, const std::string& name, Settle settle) {
    m_name = name;
    m_source = source;
    m_callbacks = callbacks;
    m_settle = settle;
    m_damaged = false;
    const int result = ov_open_callbacks(source, &m_vorbis, nullptr, 0, callbacks);
    if (result != 0) {
        // A failed open has already cleared the decoder.
        AGReport("Audio: %s is not readable Ogg Vorbis data (error %d).", name.c_str(), result);
        return false;
    }
    m_decoderOpen = true;
    if (Decoder() && m_settle)
        m_settle(m_source);
    const vorbis_info* info = ov_info(&m_vorbis, -1);
    m_channels = info && info->channels > 0 ? u32(info->channels) : 0;
    m_rate = info && info->rate > 0 ? u32(info->rate) : 0;
    m_decodedSinceRewind = false;
    m_endOfData = false;
    m_decodeFailed = false;
    m_streamEnd.store(false);
    return CreateVoice();
}

bool PCAudioPlayback::CreateVoice() {
    if (m_voice)
        return true;
    platform::audio::Engine* engine = m_manager ? m_manager->GetEngine() : nullptr;
    if (!engine) {
        AGReport("Audio: no audio output; %s cannot play.", m_name.c_str());
        return false;
    }
    WaveFormat format;
    format.formatTag = platform::audio::kFormatPcm;
    format.channels = u16(m_channels);
    format.samplesPerSec = m_rate;
    format.bitsPerSample = 16;
    format.blockAlign = u16(2 * m_channels);
    format.avgBytesPerSec = 2 * m_channels * m_rate;
    m_voice = m_channels <= platform::audio::kMaxChannels ? engine->CreateSourceVoice(format, &m_callback, 2.0f)
                                                          : nullptr;
    if (!m_voice) {
        AGReport("Audio: %s has an unsupported format (%u channels at %u Hz).", m_name.c_str(), m_channels, m_rate);
        return false;
    }
    m_voice->SetVolume(m_volume);
    SetCategory(m_category);
    return true;
}

void PCAudioPlayback::DestroyVoice() {
    if (!m_voice)
        return;
    m_voice->Stop();
    m_voice->FlushSourceBuffers();
    m_voice->DestroyVoice();  // the mixer no longer reads our buffers from here on
    m_voice = nullptr;
}

bool PCAudioPlayback::Rewind() {
    const bool ok = m_damaged ? Reopen() : m_decoderOpen && ov_pcm_seek(&m_vorbis, 0) == 0;
    if (!ok) {
        AGReport("Audio: cannot seek to the start of %s.", m_name.c_str());
        m_decodeFailed = true;
        return false;
    }
    m_decodedSinceRewind = false;
    return true;
}

bool PCAudioPlayback::Reopen() {
    // After an error inside the data the decoder's state is unsound even where its seek
    // succeeds (decoding on from there can divide by zero): start a fresh one instead.
    if (m_decoderOpen)
        ov_clear(&m_vorbis);
    m_decoderOpen = false;
    m_damaged = false;
    if (!m_callbacks.seek_func || m_callbacks.seek_func(m_source, 0, SEEK_SET) != 0 ||
        ov_open_callbacks(m_source, &m_vorbis, nullptr, 0, m_callbacks) != 0)
        return false;
    m_decoderOpen = true;
    const vorbis_info* info = ov_info(&m_vorbis, -1);
    return info && u32(info->channels) == m_channels && u32(info->rate) == m_rate;
}

bool PCAudioPlayback::TakeBuffers() {
    if (m_state & AGAudioPlayerImpl::kHoldsBuffers)
        return true;
    for (u8*& buffer : m_buffers) {
        buffer = m_manager ? m_manager->TakeDecodeBuffer() : nullptr;
        if (!buffer) {
            AGReport("Audio: no free decode buffer for %s.", m_name.c_str());
            m_state |= AGAudioPlayerImpl::kHoldsBuffers;
            GiveBuffers();
            return false;
        }
    }
    m_state |= AGAudioPlayerImpl::kHoldsBuffers;
    m_nextBuffer = 0;
    return true;
}

void PCAudioPlayback::GiveBuffers() {
    if (!(m_state & AGAudioPlayerImpl::kHoldsBuffers))
        return;
    for (u8*& buffer : m_buffers) {
        if (buffer && m_manager)
            m_manager->GiveDecodeBuffer(buffer);
        buffer = nullptr;
    }
    m_state &= ~AGAudioPlayerImpl::kHoldsBuffers;
}

PCAudioDecoder* PCAudioPlayback::Decoder() const { return m_manager ? m_manager->Decoder() : nullptr; }

bool PCAudioPlayback::Decode(bool loop) {
    m_filled = 0;
    m_wrapAt = kNoWrap;
    if (m_endOfData && loop && !m_decodeFailed) {
        // Looping was switched on after the end was reached: go on from the start.
        if (!Rewind())
            return false;
        m_endOfData = false;
        m_wrapAt = 0;
    }
    u8* buffer = m_buffers[m_nextBuffer];
    const u32 frameBytes = 2 * m_channels;
    const u32 capacity = PCAudioManagerImpl::kDecodeBufferSize - PCAudioManagerImpl::kDecodeBufferSize % frameBytes;
    u32 filled = 0;
    u32 holes = 0;
    while (filled < capacity && !m_endOfData && !m_stopJob.load(std::memory_order_relaxed)) {
        int section = 0;
        long got = ov_read(&m_vorbis, reinterpret_cast<char*>(buffer) + filled, int(capacity - filled), 0, 2, 1,
                           &section);
        if (got > 0) {
            const vorbis_info* info = ov_info(&m_vorbis, section);
            if (!info || u32(info->channels) != m_channels || u32(info->rate) != m_rate) {
                AGReport("Audio: %s changes its format midway; the sound ends there.", m_name.c_str());
                m_decodeFailed = true;
                m_endOfData = true;
                break;
            }
            filled += u32(got) < capacity - filled ? u32(got) : capacity - filled;
            m_decodedSinceRewind = true;
            continue;
        }
        if (got == OV_HOLE && ++holes <= kMaxHoles)
            continue;
        if (got < 0) {
            AGReport("Audio: decoding %s failed (error %ld); the sound ends there.", m_name.c_str(), got);
            m_damaged = m_damaged || got != OV_HOLE;
            m_decodeFailed = true;
            m_endOfData = true;
            break;
        }
        if (loop && !m_decodeFailed) {
            if (!m_decodedSinceRewind) {
                AGReport("Audio: %s yields no samples; it stops instead of looping.", m_name.c_str());
                m_decodeFailed = true;
                m_endOfData = true;
                break;
            }
            if (m_wrapAt == kNoWrap)
                m_wrapAt = filled;
            if (!Rewind())
                m_endOfData = true;
            continue;
        }
        m_endOfData = true;
    }
    m_filled = filled;
    return true;
}

bool PCAudioPlayback::Submit(u32 bytes, bool endOfStream) {
    AudioBuffer submit;
    submit.flags = endOfStream ? platform::audio::kEndOfStream : 0;
    submit.audioBytes = bytes;
    submit.audioData = m_buffers[m_nextBuffer];
    submit.context = m_buffers[m_nextBuffer];
    if (!m_voice->SubmitSourceBuffer(submit))
        return false;
    m_nextBuffer = (m_nextBuffer + 1) % kBufferCount;
    return true;
}

bool PCAudioPlayback::DecodeAndSubmit() {
    if (!m_voice || !m_decoderOpen || !(m_state & AGAudioPlayerImpl::kHoldsBuffers))
        return false;
    return Decode((m_state & AGAudioPlayerImpl::kLoop) != 0) && Submit(m_filled, m_endOfData);
}

void PCAudioPlayback::RequestDecode(bool loop) {
    m_jobLoop = loop;
    m_stopJob.store(false, std::memory_order_relaxed);
    m_job.store(kJobQueued, std::memory_order_relaxed);
    Decoder()->Request(*this);
}

void PCAudioPlayback::RunDecodeJob() {
    m_decoded = m_decoderOpen && Decode(m_jobLoop);
    if (m_settle)
        m_settle(m_source);
    m_job.store(m_stopJob.load(std::memory_order_relaxed) ? kJobNone : kJobReady, std::memory_order_release);
}

void PCAudioPlayback::SubmitDecoded(bool loop) {
    m_job.store(kJobNone, std::memory_order_relaxed);
    if (!m_decoded)
        return;
    u32 bytes = m_filled;
    bool end = m_endOfData;
    if (m_jobLoop && !loop && m_wrapAt != kNoWrap) {
        // Looping was switched off while the buffer was decoded: it ends where it went back
        // to the start, as it would have had it been decoded now.
        bytes = m_wrapAt;
        end = m_endOfData = true;
    }
    Submit(bytes, end);
}

void PCAudioPlayback::CancelDecode() {
    if (m_job.load(std::memory_order_acquire) == kJobQueued)
        Decoder()->Cancel(*this);
    m_job.store(kJobNone, std::memory_order_relaxed);
}

bool PCAudioPlayback::Play() {
    if (!(m_state & AGAudioPlayerImpl::kOpen))
        return true;
    CancelDecode();
    if (m_state & (AGAudioPlayerImpl::kPlaying | AGAudioPlayerImpl::kStopped)) {
        // Restart from the beginning on a fresh voice; the old one goes with its queue.
        DestroyVoice();
        if (!Rewind() || !CreateVoice())
            return false;
        if (Decoder() && m_settle)
            m_settle(m_source);
    }
    m_endOfData = false;
    m_decodeFailed = false;
    m_streamEnd.store(false);
    if (!TakeBuffers())
        return false;
    if (Decoder() && m_voice && m_decoderOpen) {
        // The first buffer reaches the voice at the update after the worker has filled it.
        RequestDecode((m_state & AGAudioPlayerImpl::kLoop) != 0);
        m_voice->Start();
        m_state &= ~(AGAudioPlayerImpl::kPaused | AGAudioPlayerImpl::kStopped | AGAudioPlayerImpl::kFinished);
        m_state |= AGAudioPlayerImpl::kPlaying;
        return true;
    }
    DecodeAndSubmit();
    m_voice->Start();
    if (m_voice->GetState().buffersQueued == 0) {
        AGReport("Audio: %s queued nothing to play.", m_name.c_str());
        return false;
    }
    m_state &= ~(AGAudioPlayerImpl::kPaused | AGAudioPlayerImpl::kStopped | AGAudioPlayerImpl::kFinished);
    m_state |= AGAudioPlayerImpl::kPlaying;
    return true;
}

void PCAudioPlayback::Stop() {
    if (!(m_state & AGAudioPlayerImpl::kOpen) || (m_state & AGAudioPlayerImpl::kStopped))
        return;
    CancelDecode();
    if (m_voice) {
        // Our mixer's Stop keeps the queue: flush it before the buffers go back to the pool.
        m_voice->Stop();
        m_voice->FlushSourceBuffers();
    }
    m_state &= ~(AGAudioPlayerImpl::kPlaying | AGAudioPlayerImpl::kPaused | AGAudioPlayerImpl::kReadInFlight);
    m_state |= AGAudioPlayerImpl::kStopped;
    GiveBuffers();
}

void PCAudioPlayback::Pause(bool pause) {
    if (!(m_state & AGAudioPlayerImpl::kOpen) || (m_state & AGAudioPlayerImpl::kStopped))
        return;
    if (pause) {
        if (m_voice)
            m_voice->Stop();
        m_state |= AGAudioPlayerImpl::kPaused;
    } else if (m_state & AGAudioPlayerImpl::kPaused) {
        if (m_voice)
            m_voice->Start();
        m_state &= ~AGAudioPlayerImpl::kPaused;
    }
}

bool PCAudioPlayback::Update() {
    if ((m_state & (AGAudioPlayerImpl::kOpen | AGAudioPlayerImpl::kPlaying)) !=
            (AGAudioPlayerImpl::kOpen | AGAudioPlayerImpl::kPlaying) ||
        !m_voice)
        return false;
    if (m_job.load(std::memory_order_acquire) == kJobQueued)
        return false;
    const u32 queued = m_voice->GetState().buffersQueued;
    if (queued >= 2)
        return false;
    const bool loop = (m_state & AGAudioPlayerImpl::kLoop) != 0;
    if (m_job.load(std::memory_order_relaxed) == kJobReady) {
        // Queue the buffer decoded ahead and start on the one after it.
        SubmitDecoded(loop);
        if (!m_endOfData || (loop && !m_decodeFailed))
            RequestDecode(loop);
        return false;
    }
    if (!m_endOfData || (loop && !m_decodeFailed)) {
        if (Decoder())
            RequestDecode(loop);
        else
            DecodeAndSubmit();
        return false;
    }
    // The end-of-stream buffer is the last one queued: finished once it has played out.
    if (queued == 0 && m_streamEnd.load(std::memory_order_acquire)) {
        m_state |= AGAudioPlayerImpl::kFinished;
        m_endOfData = false;
        m_streamEnd.store(false);
        Stop();
        return true;
    }
    return false;
}

void PCAudioPlayback::SetVolume(float volume) {
    if (!(volume > 0.0f))  // negative or NaN
        volume = 0.0f;
    m_volume = volume > 1.0f ? 1.0f : volume;
    if (m_voice)
        m_voice->SetVolume(m_volume);
}

void PCAudioPlayback::SetCategory(u32 category) {
    if (category >= PCAudioManagerImpl::kCategoryCount) {
        AGReport("Audio: category %u does not exist (0 to 2).", category);
        return;
    }
    m_category = category;
    if (!m_voice || !m_manager)
        return;
    m_voice->SetOutputVoice(m_manager->GetSubmix(category));
    if (m_channels == 1) {
        const float both[2] = {1.0f, 1.0f};
        m_voice->SetOutputMatrix(nullptr, 1, 2, both);
    }
}

void PCAudioPlayback::Close() {
    CancelDecode();
    DestroyVoice();
    if (m_decoderOpen) {
        ov_clear(&m_vorbis);
        m_decoderOpen = false;
    }
    GiveBuffers();
    m_state &= ~kStateBitsClosed;
    m_endOfData = false;
    m_decodeFailed = false;
    m_streamEnd.store(false);
}

void PCAudioPlayback::Detach() {
    Close();
    m_manager = nullptr;
}
