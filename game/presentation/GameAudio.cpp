#include "engine/core/AGLog.h"
#include "game/presentation/AudioManagerQZ.h"
#include "game/presentation/AudioSequencerQZ.h"

namespace QZ2011 {

void AudioManagerQZ::onInitialize(GameShow::SequenceManager* sequences, GameServices::Entities::Set* set) {
    ++m_InitializeCount;
    if (!sequences) {
        AGReport("AudioManagerQZ::onInitialize : the Sequence Manager is NULL !!!");
        return;
    }
    m_Sequences = sequences;
    m_Set = set;
}

void AudioManagerQZ::onRelease() {
    ++m_ReleaseCount;
    m_Sequences = nullptr;
    m_Set = nullptr;
}

void AudioSequencerQZ::onInitialize(AudioManagerQZ* audio) {
    ++m_InitializeCount;
    m_Audio = audio;
}

void AudioSequencerQZ::Clear() {
    ++m_ClearCount;
    m_Audio = nullptr;
}

}  // namespace QZ2011
