#pragma once
// The show's "AudioSequencer": "Play" events call the cue operation registered under the
// target's name id, "Stop" events stop the playing variant of the target's cue.
#include <vector>

#include "engine/core/AGTypes.h"
#include "game/presentation/AudioManagerQZ.h"
#include "gameshow/HashTable.h"
#include "gameshow/Sequencers.h"

namespace QZ2011 {

class AudioSequencerQZ : public GameShow::ISequencer {
public:
    using CueOperation = void (AudioManagerQZ::*)();
    static constexpr u32 kBuckets = 70;
    static constexpr u32 kEventCount = 77;
    // The event names in registration order.
    static const char* EventName(u32 index);
    // The sounds an event's operation can play; none for an event that only stops or
    // replays what another started.
    static std::vector<AudioManagerQZ::CueSound> EventSounds(u32 index);

    AudioSequencerQZ() : m_SoundFunctions(kBuckets) {}

    // Binds the manager (a null one is reported and stored) and registers every event name;
    // names registered already keep their entry.
    void onInitialize(AudioManagerQZ* audio);
    // Forgets the audio manager (its level is left); the table stays.
    void Clear() { m_Audio = nullptr; }
    void onSequenceEvent(const TString<char>& name, const TString<char>& target,
                         const TString<char>& parameter) override;

    AudioManagerQZ* GetAudioManager() const { return m_Audio; }
    const GameShow::HashTable<CueOperation>& GetTable() const { return m_SoundFunctions; }

private:
    AudioManagerQZ* m_Audio = nullptr;
    GameShow::HashTable<CueOperation> m_SoundFunctions;
};

}  // namespace QZ2011
