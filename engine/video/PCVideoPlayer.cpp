#include "engine/video/PCVideoPlayer.h"

#include <cstring>
#include <string>
#include <utility>

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/core/AGLog.h"
#include "engine/core/FDelegate.h"
#include "engine/graphics/AGBitmap.h"
#include "engine/graphics/PCContextManager.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "platform/audio/AudioEngine.h"
#include "platform/core/Clock.h"
#include "platform/gfx/GfxMath.h"

using namespace platform::gfx;
using platform::video::kTimeUnitsPerSecond;
using platform::video::ReadResult;

namespace {

// Position x, y, z, then texture u, v: the whole screen as a two-triangle strip.
constexpr float kQuad[4][5] = {
    {-1.0f, 1.0f, 1.0f, 0.0f, 0.0f},
    {-1.0f, -1.0f, 1.0f, 0.0f, 1.0f},
    {1.0f, 1.0f, 1.0f, 1.0f, 0.0f},
    {1.0f, -1.0f, 1.0f, 1.0f, 1.0f},
};
constexpr u32 kQuadStride = sizeof kQuad[0];

Device* ContextDevice() {
    PCContextManager* context = PCContextManager::Get();
    return context ? context->GetDevice() : nullptr;
}

f32 ClampVolume(f32 volume) {
    if (!(volume > 0.0f))  // negative or NaN
        return 0.0f;
    return volume > 1.0f ? 1.0f : volume;
}

// Converts 100-ns units to clock readings without overflowing for long times.
i64 ToTicks(i64 time, i64 frequency) {
    return time / kTimeUnitsPerSecond * frequency + time % kTimeUnitsPerSecond * frequency / kTimeUnitsPerSecond;
}

}  // namespace

AGVideoPlayerImpl* CreatePCVideoPlayer() {
    return new PCVideoPlayer();
}

PCVideoPlayer::PCVideoPlayer() : m_frequency(i64(platform::kClockFrequency)) {}

PCVideoPlayer::~PCVideoPlayer() {
    Stop();
    ReleaseAll();
}

bool PCVideoPlayer::Open(const char* fileName) {
    if (m_state != kClosed)
        Stop();
    else
        ReleaseAll();
    m_endPending = false;
    std::string error;
    if (!fileName || !m_reader.Open(fileName, error)) {
        AGReport("Video: %s; the video ends at once.", fileName ? error.c_str() : "no file name");
        ReleaseAll();
        m_endPending = true;
        return false;
    }
    ResetOutput(m_video, 0);
    ResetOutput(m_audio, 0);
    m_video.present = m_reader.HasVideo();
    m_audio.present = m_reader.HasAudio();
    m_firstFrameDuration = 0;
    m_fetchedSinceSeek = false;

    if (m_video.present) {
        m_width = m_reader.Width();
        m_height = m_reader.Height();
        // A lost or missing device leaves the video without pictures; its sound still plays.
        if (!CreateDeviceObjects())
            AGReport("Video: no graphic device for the frames of \"%s\".", fileName);
    }
    if (m_audio.present) {
        const platform::video::AudioFormat& in = m_reader.GetAudioFormat();
        platform::audio::WaveFormat format;
        format.formatTag = platform::audio::kFormatPcm;
        format.channels = in.channels;
        format.samplesPerSec = in.samplesPerSec;
        format.bitsPerSample = in.bitsPerSample;
        format.blockAlign = in.BlockAlign();
        format.avgBytesPerSec = in.AvgBytesPerSec();
        PCAudioManagerImpl* audio = PCAudioManagerImpl::Get();
        platform::audio::Engine* engine = audio ? audio->GetEngine() : nullptr;
        m_voice = engine ? engine->CreateSourceVoice(format, &m_voiceCallback, 2.0f) : nullptr;
        if (m_voice) {
            m_voice->SetVolume(m_volume);
        } else {
            // The picture runs on its own clock; the sound is left out.
            AGReport("Video: no audio voice for the sound of \"%s\".", fileName);
            m_audio.present = false;
        }
    }
    m_state = kPaused;
    return true;
}

bool PCVideoPlayer::CreateDeviceObjects() {
    PCGraphicDevice* graphics = PCGraphicDevice::Get();
    Device* device = ContextDevice();
    if (!graphics || !device)
        return false;
    std::lock_guard<std::recursive_mutex> lock(graphics->GetLock());
    if (device->TestCooperativeLevel() != Result::Ok)
        return false;
    if (m_displayMode == kDisplayFullScreen) {
        m_quad = device->CreateVertexBuffer(sizeof kQuad, kUsageWriteOnly);
        if (!m_quad)
            return false;
        std::memcpy(m_quad->Lock(0, 0), kQuad, sizeof kQuad);
        m_quad->Unlock();
    }
    return m_frameTexture.CreateDynamicTexture(m_width, m_height);
}

void PCVideoPlayer::ReleaseAll() {
    if (m_voice) {
        m_voiceCallback.SetHandler(VoiceCallback::kBufferStart, nullptr, nullptr);
        m_voice->Stop();
        m_voice->DestroyVoice();
        m_voice = nullptr;
    }
    for (platform::video::AudioChunk& held : m_held)
        held.data = {};
    m_nextHeld = 0;
    m_audioStarted = false;
    {
        PCGraphicDevice* graphics = PCGraphicDevice::Get();
        if (graphics)
            graphics->Lock();
        m_frameTexture.ReleaseTexture();
        if (m_quad) {
            m_quad->Release();
            m_quad = nullptr;
        }
        if (graphics)
            graphics->Unlock();
    }
    m_width = 0;
    m_height = 0;
    ResetOutput(m_video, 0);
    ResetOutput(m_audio, 0);
    m_video.present = false;
    m_audio.present = false;
    m_frame.pixels = {};
    m_chunk.data = {};
    m_reader.Close();
}

void PCVideoPlayer::ResetOutput(Output& output, i64 time) {
    output.ended = false;
    output.hasPending = false;
    output.lastSampleTime = time;
}

void PCVideoPlayer::Play(bool loop) {
    if (m_state != kPaused)
        return;
    m_loop = loop;
    Resume();
    if (m_displayMode == kDisplayFullScreen)
        BeginCustomRender();
}

void PCVideoPlayer::Pause() {
    if (m_state != kPlaying)
        return;
    m_state = kPaused;
    if (m_voice)
        m_voice->Stop();
}

void PCVideoPlayer::Resume() {
    if (m_state != kPaused)
        return;
    m_state = kPlaying;
    if (m_voice && m_audioStarted)
        m_voice->Start();
    RebaseClocks();
}

void PCVideoPlayer::Stop() {
    if (m_state == kClosed)
        return;
    m_state = kClosed;
    ReleaseAll();
    EndCustomRender();
}

void PCVideoPlayer::Seek(f32 seconds) {
    if (m_state == kClosed)
        return;
    // NaN and negative times go to the start; absurdly large ones to about three years in.
    constexpr double kLatest = 1e8;
    const double clamped = seconds > 0.0f ? (seconds < kLatest ? double(seconds) : kLatest) : 0.0;
    const i64 time = i64(clamped * kTimeUnitsPerSecond + 0.5);
    m_reader.Seek(time);
    m_fetchedSinceSeek = false;
    for (Output* output : {&m_video, &m_audio})
        if (output->present)
            ResetOutput(*output, time);
    RebaseClocks();
}

void PCVideoPlayer::Rewind() {
    if (m_state != kClosed)
        Seek(0.0f);
}

f32 PCVideoPlayer::GetPosition() const {
    const Output& output = m_video.present || !m_audio.present ? m_video : m_audio;
    return f32(double(output.lastSampleTime) / kTimeUnitsPerSecond);
}

void PCVideoPlayer::SetVolume(f32 volume) {
    m_volume = ClampVolume(volume);
    if (m_state != kClosed && m_voice)
        m_voice->SetVolume(m_volume);
}

PCTexture* PCVideoPlayer::GetTexture() {
    return m_displayMode == kDisplayTexture ? &m_frameTexture : nullptr;
}

void PCVideoPlayer::RebaseClocks() {
    const i64 now = i64(platform::NowNs());
    for (Output* output : {&m_video, &m_audio})
        if (output->present)
            output->clockBase = now - ToTicks(output->lastSampleTime, m_frequency);
}

// --- The per-tick pump ------------------------------------------------------------------

void PCVideoPlayer::Update() {
    if (m_endPending) {
        m_endPending = false;
        Finish();
        return;
    }
    if (m_state != kPlaying)
        return;
    if (m_audio.present) {
        const u32 queued = m_voice->GetState().buffersQueued;
        if (queued < kAudioBuffers)
            Pump(m_audio, kAudioBuffers - queued);
    }
    if (!m_video.present) {
        // Without pictures the sound is the clock: the video ends once it has played out.
        if (!m_audio.present || (m_audio.ended && m_voice->GetState().buffersQueued == 0))
            EndVideo();
        return;
    }
    Pump(m_video, 1);
}

bool PCVideoPlayer::Fetch(Output& output) {
    const bool video = &output == &m_video;
    const ReadResult result = video ? m_reader.NextVideoFrame(m_frame) : m_reader.NextAudioChunk(m_chunk);
    if (result != ReadResult::Sample) {
        if (result == ReadResult::Error)
            AGReport("Video: the %s stream cannot be decoded further; it ends here.", video ? "video" : "audio");
        return false;
    }
    m_fetchedSinceSeek = true;
    if (video) {
        output.pendingTime = m_frame.time;
        output.pendingDuration = m_frame.duration;
        // Every frame lasts as long as the first one did.
        if (m_frame.time == 0 || m_firstFrameDuration == 0)
            m_firstFrameDuration = m_frame.duration;
        else
            output.pendingDuration = m_firstFrameDuration;
    } else {
        output.pendingTime = m_chunk.time;
        output.pendingDuration = m_chunk.duration;
    }
    output.hasPending = true;
    return true;
}

void PCVideoPlayer::Pump(Output& output, u32 limit) {
    if (!output.present || output.ended || limit == 0)
        return;
    bool timed = true;  // only the first sample delivered in a call waits for its time
    for (;;) {
        if (!output.hasPending && !Fetch(output)) {
            output.ended = true;
            if (&output == &m_video)
                EndVideo();
            else
                EndAudio();
            return;
        }
        if (timed) {
            const i64 now = i64(platform::NowNs());
            const i64 due = output.clockBase + ToTicks(output.pendingTime, m_frequency);
            const i64 end = due + ToTicks(output.pendingDuration, m_frequency);
            if (now < due)
                return;
            // Late: drop it and catch up with the next one. A sample without a duration is
            // never late.
            if (output.pendingDuration > 0 && now > end) {
                output.hasPending = false;
                continue;
            }
            timed = false;
        }
        output.lastSampleTime = output.pendingTime;
        output.hasPending = false;
        if (&output == &m_video)
            DeliverVideo();
        else
            DeliverAudio();
        if (--limit == 0)
            return;
    }
}

void PCVideoPlayer::DeliverVideo() {
    platform::gfx::Texture* texture = m_frameTexture.GetDeviceTexture();
    // A frame shorter than the texture's size is left out rather than read past its end.
    if (!texture || m_frame.width < m_width || m_frame.height < m_height ||
        m_frame.pixels.size() < size_t(m_frame.width) * m_frame.height * 4)
        return;
    PCGraphicDevice* graphics = PCGraphicDevice::Get();
    if (!graphics)
        return;
    std::lock_guard<std::recursive_mutex> lock(graphics->GetLock());
    LockedRect rect;
    if (!texture->LockRect(rect, false))
        return;
    AGBitmap destination;
    destination.pixels = rect.bits;
    destination.width = m_width;
    destination.height = m_height;
    destination.bytesPerPixel = 4;
    destination.pitch = rect.pitch;
    AGBitmap source;
    source.pixels = m_frame.pixels.data();
    source.width = m_frame.width;
    source.height = m_frame.height;
    source.bytesPerPixel = 4;
    source.pitch = m_frame.width * 4;
    AGCopyBitmap(destination, source);
    texture->UnlockRect();
}

void PCVideoPlayer::DeliverAudio() {
    if (!m_voice || m_chunk.data.empty())
        return;
    // The slot's previous buffer has ended: fewer than three were queued when the pump
    // began, and the voice plays them in order. Its storage is reused for the next fetch.
    platform::video::AudioChunk& held = m_held[m_nextHeld];
    std::swap(held.data, m_chunk.data);
    platform::audio::AudioBuffer buffer;
    buffer.audioData = held.data.data();
    buffer.audioBytes = u32(held.data.size());
    m_voice->SubmitSourceBuffer(buffer);
    if (!m_audioStarted) {
        m_voice->Start();
        m_audioStarted = true;
    }
    m_nextHeld = (m_nextHeld + 1) % kAudioBuffers;
}

void PCVideoPlayer::EndVideo() {
    // A loop that found nothing to play since it last restarted would restart forever.
    if (m_loop && m_fetchedSinceSeek) {
        Rewind();
        Pump(m_video, 1);
        return;
    }
    Stop();
    Finish();
}

void PCVideoPlayer::EndAudio() {
    if (m_voice)
        m_voiceCallback.SetHandler(VoiceCallback::kBufferStart, &PCVideoPlayer::OnLastBufferStart, m_voice);
}

// On the mixer's thread: once only the last buffer is left, the voice lets go of the rest.
void PCVideoPlayer::OnLastBufferStart(void* context, VoiceCallback* callback) {
    auto* voice = static_cast<platform::audio::SourceVoice*>(context);
    if (voice->GetState().buffersQueued == 1) {
        voice->FlushSourceBuffers();
        callback->SetHandler(VoiceCallback::kBufferStart, nullptr, nullptr);
    }
}

void PCVideoPlayer::Finish() {
    if (m_finishHandler)
        m_finishHandler->Invoke();
}

// --- Full-screen drawing -----------------------------------------------------------------

void PCVideoPlayer::BeginCustomRender() {
    PCGraphicDevice* graphics = PCGraphicDevice::Get();
    if (!graphics)
        return;
    graphics->SetCustomRenderer(this, &PCVideoPlayer::DrawCustomRender);
    graphics->BeginCustomRender();
    m_customRender = true;
}

void PCVideoPlayer::EndCustomRender() {
    if (!m_customRender)
        return;
    m_customRender = false;
    if (PCGraphicDevice* graphics = PCGraphicDevice::Get()) {
        graphics->EndCustomRender();
        graphics->SetCustomRenderer(nullptr, nullptr);
    }
}

void PCVideoPlayer::DrawCustomRender(void* context) {
    static_cast<PCVideoPlayer*>(context)->DrawFullScreen();
}

void PCVideoPlayer::DrawFullScreen() {
    Device* device = ContextDevice();
    if (m_state != kPlaying || !device || !m_quad)
        return;
    const Matrix identity = MatrixIdentity();
    device->SetTransform(TransformType::World, identity);
    device->SetTransform(TransformType::View, identity);
    device->SetTransform(TransformType::Projection, identity);
    device->SetRenderState(RenderState::Lighting, 0u);
    device->SetRenderState(RenderState::CullMode, Cull::None);
    device->SetRenderState(RenderState::ZEnable, 0u);
    device->SetRenderState(RenderState::ZWriteEnable, 0u);
    device->SetRenderState(RenderState::AlphaBlendEnable, 0u);
    device->SetTexture(0, m_frameTexture.GetDeviceTexture());
    device->SetTextureStageState(0, StageState::ColorOp, TextureOp::SelectArg1);
    device->SetTextureStageState(0, StageState::ColorArg1, TextureArg::Texture);
    // States a layer drawn before the video may have left: no texture transform on the
    // frame, nothing from later stages.
    device->SetTextureStageState(0, StageState::TexCoordIndex, 0u);
    device->SetTextureStageState(0, StageState::TextureTransformFlags, TextureTransform::Disable);
    device->SetTextureStageState(1, StageState::ColorOp, TextureOp::Disable);
    device->SetSamplerState(0, SamplerState::AddressU, TextureAddress::Clamp);
    device->SetSamplerState(0, SamplerState::AddressV, TextureAddress::Clamp);
    device->SetStreamSource(0, m_quad, 0, kQuadStride);
    device->SetFVF(kFvfXyz | kFvfTex1);
    device->DrawPrimitive(PrimitiveType::TriangleStrip, 0, 2);
}
