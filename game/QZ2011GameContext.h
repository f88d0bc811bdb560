#pragma once
// The game's context: the game-mode framework's game with the show clock, its sequencers and
// the game-show cameras.
#include <memory>

#include "game/rules/QZ11Decades.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameshow/GameShowCamera.h"
#include "gameshow/SequenceManager.h"
#include "gameshow/Sequencers.h"

namespace GameShow {
// Takes the sound cues of sequences; plays nothing yet.
class AudioSequencer : public ISequencer {
public:
    void onSequenceEvent(const TString<char>&, const TString<char>&, const TString<char>&) override {}
};
}  // namespace GameShow

class QZ2011GameContext : public GameServices::MiniGame::BaseGame {
public:
    static constexpr u32 kGameShowCameraPool = 23;

    QZ2011GameContext() = default;
    ~QZ2011GameContext() override;

    using BaseGame::Initialize;
    // The sequence manager and its sequencers, the game-show camera records, the sequence
    // manager in the module list, the base start-up, then the game-show camera pool.
    void Initialize() override;
    // The sequencers unregistered, then the base shutdown.
    void Shutdown() override;

    GameShow::SequenceManager* GetSequenceManager() { return m_Sequences.get(); }
    GameShow::EntitySequencer* GetEntitySequencer() { return m_EntitySequencer.get(); }
    GameShow::CameraSequencer* GetCameraSequencer() { return m_CameraSequencer.get(); }
    GameShow::GameShowCameraSequencer* GetGameShowCameraSequencer() { return m_GameShowCameraSequencer.get(); }

private:
    std::unique_ptr<GameShow::SequenceManager> m_Sequences;
    std::unique_ptr<GameShow::EntitySequencer> m_EntitySequencer;
    std::unique_ptr<GameShow::CameraSequencer> m_CameraSequencer;
    std::unique_ptr<GameShow::AudioSequencer> m_AudioSequencer;
    std::unique_ptr<GameShow::GameShowCameraSequencer> m_GameShowCameraSequencer;
    GameShow::sGameShowApplicationDataCameras m_CameraRecord;
    bool m_ShowClockStarted = false;
    // The game modes, built after the base game in this order, which is their registration
    // order.
    QZ2011::QZ11Decades m_Decades;
};
