#pragma once
// A sound decoded from a disk file while it plays: the descriptor (".snd", streamed) names
// the file, which is read through a PCStreamWindow over a read buffer of the manager's pool.
#include "engine/audio/AGAudioPlayerImpl.h"
#include "engine/audio/PCAudioPlayback.h"
#include "engine/audio/PCStreamWindow.h"

class PCAudioStreamImpl : public AGAudioStreamImpl {
public:
    // Joins the audio manager's streams.
    PCAudioStreamImpl();
    // Closes and leaves the manager's streams.
    ~PCAudioStreamImpl() override;

    // Fails, with a report, for a descriptor that cannot be loaded, a file that cannot be
    // opened, no free read buffer, data that is not Ogg Vorbis or an unplayable format.
    bool Open(const char* descriptorName) override;
    void Play() override;
    void Stop() override;
    void Pause(bool pause) override;
    void Close() override;
    float GetVolume() const override { return m_playback.GetVolume(); }
    void SetVolume(float volume) override { m_playback.SetVolume(volume); }
    void SetLoop(bool loop) override;
    void Update() override;
    void SetCategory(u32 category) override { m_playback.SetCategory(category); }
    void DetachFromManager() override;

    // Bit 0x20 tells whether a file read is in flight.
    u32 GetState() const override;

    const PCAudioPlayback& Playback() const { return m_playback; }
    const PCStreamWindow& Window() const { return m_window; }

private:
    PCAudioPlayback m_playback{m_state, m_category};
    PCAudioManagerImpl* m_manager = nullptr;
    PCStreamWindow m_window;
    u8* m_readBuffer = nullptr;
};

AGAudioStreamImpl* CreatePCAudioStreamImpl();
