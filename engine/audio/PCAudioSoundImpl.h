#pragma once
// A sound whose Ogg Vorbis data is held in memory by its descriptor (".snd" through the
// "sound" provider, its data through the "data" provider).
#include "engine/audio/AGAudioPlayerImpl.h"
#include "engine/audio/PCAudioPlayback.h"
#include "engine/audio/PCOggCallbacks.h"

class PCSound;

class PCAudioSoundImpl : public AGAudioSoundImpl {
public:
    // Joins the audio manager's sounds.
    PCAudioSoundImpl();
    // Closes and leaves the manager's sounds.
    ~PCAudioSoundImpl() override;

    // Fails, with a report, for a descriptor that cannot be loaded, a streamed descriptor,
    // data that is not Ogg Vorbis or a format the mixer cannot play.
    bool Open(const char* descriptorName) override;
    // From the beginning unless paused; closes when no decode buffers are free.
    void Play() override;
    void Stop() override;
    // Resumes only a paused sound that was not stopped meanwhile.
    void Pause(bool pause) override;
    void Close() override;
    float GetVolume() const override { return m_playback.GetVolume(); }
    void SetVolume(float volume) override { m_playback.SetVolume(volume); }
    void SetLoop(bool loop) override;
    // Keeps two buffers queued; once the sound has played out, stops it and runs the finish
    // handler (which may delete this player).
    void Update() override;
    void SetCategory(u32 category) override { m_playback.SetCategory(category); }
    void DetachFromManager() override;

    const PCAudioPlayback& Playback() const { return m_playback; }

private:
    void ReleaseDescriptor();

    PCAudioPlayback m_playback{m_state, m_category};
    PCAudioManagerImpl* m_manager = nullptr;
    PCSound* m_descriptor = nullptr;
    PCMemorySource m_source;
};

AGAudioSoundImpl* CreatePCAudioSoundImpl();
