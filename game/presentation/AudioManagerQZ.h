#pragma once
// The match's game audio, bound to the show's sequence manager and the level's set while the
// match level runs. Counts its calls until the game's sound cues are played.
#include "engine/core/AGTypes.h"

namespace GameShow {
class SequenceManager;
}
namespace GameServices::Entities {
class Set;
}

namespace QZ2011 {

class AudioManagerQZ {
public:
    // "AudioManagerQZ::onInitialize : the Sequence Manager is NULL !!!" without a manager.
    void onInitialize(GameShow::SequenceManager* sequences, GameServices::Entities::Set* set);
    // Stops the game audio and forgets the binding.
    void onRelease();

    GameShow::SequenceManager* GetSequenceManager() const { return m_Sequences; }
    GameServices::Entities::Set* GetSet() const { return m_Set; }
    u32 m_InitializeCount = 0;
    u32 m_ReleaseCount = 0;

private:
    GameShow::SequenceManager* m_Sequences = nullptr;
    GameServices::Entities::Set* m_Set = nullptr;
};

}  // namespace QZ2011
