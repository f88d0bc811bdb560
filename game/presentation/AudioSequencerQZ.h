#pragma once
// The show's "AudioSequencer": takes the sound cues of sequences for the game audio.
#include "engine/core/AGTypes.h"
#include "gameshow/Sequencers.h"

namespace QZ2011 {

class AudioManagerQZ;

class AudioSequencerQZ : public GameShow::ISequencer {
public:
    void onInitialize(AudioManagerQZ* audio);
    // Empties the cue table and forgets the audio manager.
    void Clear();
    void onSequenceEvent(const TString<char>&, const TString<char>&, const TString<char>&) override {
        ++m_EventCount;
    }

    AudioManagerQZ* GetAudioManager() const { return m_Audio; }
    u32 m_InitializeCount = 0;
    u32 m_ClearCount = 0;
    u32 m_EventCount = 0;

private:
    AudioManagerQZ* m_Audio = nullptr;
};

}  // namespace QZ2011
