#pragma once
// A sound whose Ogg Vorbis data is held in memory by its descriptor (".snd" through the
// "sound" provider, its data through the "data" provider).
#include "engine/audio/PCAudioPlayer.h"
#include "engine/audio/PCOggCallbacks.h"

class PCSound;

class PCAudioSoundImpl : public PCAudioPlayer<AGAudioSoundImpl> {
public:
    // Joins the audio manager's sounds.
    PCAudioSoundImpl();
    // Closes and leaves the manager's sounds.
    ~PCAudioSoundImpl() override;

    // Fails, with a report, for a descriptor that cannot be loaded, a streamed descriptor,
    // data that is not Ogg Vorbis or a format the mixer cannot play.
    bool Open(const char* descriptorName) override;
    void Close() override;

private:
    void ReleaseDescriptor();

    PCSound* m_descriptor = nullptr;
    PCMemorySource m_source;
};

AGAudioSoundImpl* CreatePCAudioSoundImpl();
