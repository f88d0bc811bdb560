#pragma once
// What sounds and streams share: the Ogg Vorbis decoder, the source voice routed to a
// category submix, three decode buffers of the manager's pool (at most two queued while the
// third is filled), looping by seeking to sample 0, and the state bits of AGAudioPlayerImpl.
// With the manager's decode worker the third buffer is filled there, ahead of need, and the
// game thread only queues it; without one (pull mode) the game thread decodes it when the
// queue runs low.
#include <vorbis/vorbisfile.h>

#include <atomic>
#include <string>

#include "engine/audio/VoiceCallback.h"
#include "engine/core/AGTypes.h"
#include "platform/audio/AudioVoice.h"

class PCAudioDecoder;
class PCAudioManagerImpl;

class PCAudioPlayback {
public:
    static constexpr u32 kBufferCount = 3;
    // A stretch of the data that decodes to holes is skipped at most this often per buffer.
    static constexpr u32 kMaxHoles = 32;

    // state and category are the player's fields.
    PCAudioPlayback(u32& state, u32& category);
    ~PCAudioPlayback();
    PCAudioPlayback(const PCAudioPlayback&) = delete;
    PCAudioPlayback& operator=(const PCAudioPlayback&) = delete;

    // Completes, on the calling thread, what the data source left in flight, so that another
    // thread may read it next (the decode worker, or the game thread after a job).
    using Settle = void (*)(void* source);

    // Opens the decoder on a data source and creates the voice; name is used in reports.
    // False (with one report) when either fails; the caller then closes. The source stays
    // the caller's and must outlive the playback's Close.
    bool Open(void* source, const ov_callbacks& callbacks, const std::string& name, Settle settle = nullptr);
    // False when the player must close (no decode buffers, voice lost, nothing queued).
    bool Play();
    void Stop();
    void Pause(bool pause);
    // True when the sound has just finished: the caller runs its finish handler.
    bool Update();
    void SetVolume(float volume);
    float GetVolume() const { return m_volume; }
    void SetCategory(u32 category);
    // Destroys the voice, clears the decoder and gives the decode buffers back; clears state
    // bits 0-6.
    void Close();
    // The manager goes away: close and never use it again.
    void Detach();

    PCAudioManagerImpl* Manager() const { return m_manager; }
    // The name given to Open, for reports.
    const std::string& Name() const { return m_name; }
    platform::audio::SourceVoice* Voice() const { return m_voice; }
    bool EndOfData() const { return m_endOfData; }
    // Set by the mixer once the end-of-stream buffer has played.
    bool StreamEnded() const { return m_streamEnd.load(std::memory_order_acquire); }

    // A decode job is queued or running on the worker.
    bool Decoding() const { return m_job.load(std::memory_order_acquire) == kJobQueued; }

    // The decode worker's side: fills the next buffer; asked to stop early by StopDecodeJob.
    void RunDecodeJob();
    void StopDecodeJob() { m_stopJob.store(true, std::memory_order_relaxed); }

private:
    static constexpr u32 kNoWrap = 0xFFFFFFFFu;
    enum Job : u8 { kJobNone, kJobQueued, kJobReady };

    static void OnStreamEnd(void* context, VoiceCallback* callback);
    bool CreateVoice();
    void DestroyVoice();
    bool Rewind();
    bool Reopen();
    bool TakeBuffers();
    void GiveBuffers();
    PCAudioDecoder* Decoder() const;
    // Fills m_buffers[m_nextBuffer] following the loop switch given; m_filled gets the bytes
    // and m_wrapAt those before the first jump back to the start. False: nothing to queue.
    bool Decode(bool loop);
    bool Submit(u32 bytes, bool endOfStream);
    bool DecodeAndSubmit();
    void RequestDecode(bool loop);
    // Queues a buffer the worker filled, as the loop switch now asks.
    void SubmitDecoded(bool loop);
    void CancelDecode();

    u32& m_state;
    u32& m_category;
    PCAudioManagerImpl* m_manager;
    std::string m_name;
    float m_volume = 1.0f;
    OggVorbis_File m_vorbis{};
    void* m_source = nullptr;
    ov_callbacks m_callbacks{};
    Settle m_settle = nullptr;
    bool m_decoderOpen = false;
    // The decoder failed inside the data: it is reopened rather than sought on.
    bool m_damaged = false;
    u32 m_channels = 0;
    u32 m_rate = 0;
    u8* m_buffers[kBufferCount] = {};
    u32 m_nextBuffer = 0;
    platform::audio::SourceVoice* m_voice = nullptr;
    VoiceCallback m_callback;
    bool m_endOfData = false;
    bool m_decodeFailed = false;
    bool m_decodedSinceRewind = false;
    std::atomic<bool> m_streamEnd{false};
    // A decode job: the game thread reads the decoder fields only while none is queued.
    std::atomic<u8> m_job{kJobNone};
    std::atomic<bool> m_stopJob{false};
    bool m_jobLoop = false;
    bool m_decoded = false;
    u32 m_filled = 0;
    u32 m_wrapAt = kNoWrap;
};
