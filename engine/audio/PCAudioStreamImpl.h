#pragma once
// A sound decoded from a disk file while it plays: the descriptor (".snd", streamed) names
// the file, which is read through a PCStreamWindow over a read buffer of the manager's pool.
#include "engine/audio/PCAudioPlayer.h"
#include "engine/audio/PCStreamWindow.h"

class PCAudioStreamImpl : public PCAudioPlayer<AGAudioStreamImpl> {
public:
    // Joins the audio manager's streams.
    PCAudioStreamImpl();
    // Closes and leaves the manager's streams.
    ~PCAudioStreamImpl() override;

    // Fails, with a report, for a descriptor that cannot be loaded, a file that cannot be
    // opened, no free read buffer, data that is not Ogg Vorbis or an unplayable format.
    bool Open(const char* descriptorName) override;
    void Close() override;

    // Bit 0x20 tells whether a file read is in flight.
    u32 GetState() const override;

    const PCStreamWindow& Window() const { return m_window; }

private:
    PCStreamWindow m_window;
    u8* m_readBuffer = nullptr;
};

AGAudioStreamImpl* CreatePCAudioStreamImpl();
