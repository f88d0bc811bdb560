#pragma once
// The video player on the platform's video reader. It reads the file on the main thread,
// sends the sound to a source voice of the audio engine and shows the frames either in a
// texture the caller draws or, in full-screen mode, by drawing them itself through the
// graphic device's custom render. A video's clock is the monotonic clock: a frame is shown
// when its time has come, late frames are dropped, and the sound stays at most three buffers
// ahead.
#include "engine/audio/VoiceCallback.h"
#include "engine/core/AGVideoPlayer.h"
#include "engine/graphics/PCTexture.h"
#include "platform/video/VideoReader.h"

namespace platform::audio {
class SourceVoice;
}
namespace platform::gfx {
class VertexBuffer;
}

class PCVideoPlayer : public AGVideoPlayerImpl {
public:
    enum State : u32 { kPlaying = kStatePlaying, kPaused = kStatePaused, kClosed = kStateClosed };
    // Sound buffers queued ahead of the one playing, at most.
    static constexpr u32 kAudioBuffers = 3;

    PCVideoPlayer();
    // Stops; the frame texture object goes with the player.
    ~PCVideoPlayer() override;

    void Update() override;
    bool Open(const char* fileName) override;
    void Play(bool loop) override;
    void Pause() override;
    void Stop() override;
    void Resume() override;
    void Seek(f32 seconds) override;
    f32 GetPosition() const override;
    void SetVolume(f32 volume) override;
    void Rewind() override;
    PCTexture* GetTexture() override;
    void DrawFullScreen() override;

    u32 GetState() const override { return m_state; }
    f32 GetVolume() const { return m_volume; }
    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }

private:
    // One stream of the file and its clock.
    struct Output {
        bool present = false;
        bool ended = false;        // the end step has run
        i64 clockBase = 0;         // clock reading at which the stream's time 0 is due
        i64 lastSampleTime = 0;    // 100-ns units
        bool hasPending = false;   // a sample fetched and not yet due
        i64 pendingTime = 0;
        i64 pendingDuration = 0;
    };

    void Pump(Output& output, u32 limit);
    // Fetches the next sample of the stream into its pending slot; false at the end.
    bool Fetch(Output& output);
    void DeliverVideo();
    void DeliverAudio();
    void EndVideo();
    void EndAudio();
    void Finish();
    void RebaseClocks();
    void ResetOutput(Output& output, i64 time);
    // Releases the voice, the held sound, the device objects and the reader.
    void ReleaseAll();
    bool CreateDeviceObjects();
    void BeginCustomRender();
    void EndCustomRender();
    static void DrawCustomRender(void* context);
    static void OnLastBufferStart(void* context, VoiceCallback* callback);

    f32 m_volume = 1.0f;
    u32 m_state = kClosed;
    bool m_loop = false;
    // A video that could not be opened is reported as ended on the next update.
    bool m_endPending = false;
    bool m_customRender = false;
    bool m_fetchedSinceSeek = false;
    platform::video::Reader m_reader;
    i64 m_frequency;
    Output m_video;
    Output m_audio;
    i64 m_firstFrameDuration = 0;
    u32 m_width = 0;
    u32 m_height = 0;
    PCTexture m_frameTexture;
    platform::gfx::VertexBuffer* m_quad = nullptr;
    platform::audio::SourceVoice* m_voice = nullptr;
    VoiceCallback m_voiceCallback;
    platform::video::VideoFrame m_frame;  // the pending video sample
    platform::video::AudioChunk m_chunk;  // the pending audio sample
    // Submitted sound, held until the voice has played it.
    platform::video::AudioChunk m_held[kAudioBuffers];
    u32 m_nextHeld = 0;
    bool m_audioStarted = false;
};

// The factory the platform build installs in AGVideoPlayer::s_implFactory.
AGVideoPlayerImpl* CreatePCVideoPlayer();
