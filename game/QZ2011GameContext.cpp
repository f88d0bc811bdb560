#include "game/QZ2011GameContext.h"

#include "engine/core/Crc32Hash.h"
#include "gameservices/entities/EntityFactory.h"
#include "gameservices/entities/GameEntityFactory.h"

namespace {

constexpr const char* kSequencerNames[] = {"EntitySequencer", "CameraSequencer", "AudioSequencer",
                                           "GameShowCameraSequencer"};

}  // namespace

QZ2011GameContext::~QZ2011GameContext() {
    if (m_ShowClockStarted)
        QZ2011GameContext::Shutdown();
}

void QZ2011GameContext::Initialize() {
    if (m_ShowClockStarted)
        return;
    m_Sequences = std::make_unique<GameShow::SequenceManager>();
    m_EntitySequencer = std::make_unique<GameShow::EntitySequencer>();
    m_CameraSequencer = std::make_unique<GameShow::CameraSequencer>();
    m_AudioSequencer = std::make_unique<GameShow::AudioSequencer>();
    m_GameShowCameraSequencer = std::make_unique<GameShow::GameShowCameraSequencer>();
    GameShow::ISequencer* sequencers[] = {m_EntitySequencer.get(), m_CameraSequencer.get(),
                                          m_AudioSequencer.get(), m_GameShowCameraSequencer.get()};
    for (size_t i = 0; i < std::size(kSequencerNames); ++i)
        m_Sequences->RegisterSequencer(Crc32Hash(kSequencerNames[i]), sequencers[i]);
    GameServices::KorvoGame::ApplicationData::RegisterPrototype(
        GameServices::KorvoGame::ApplicationData::kCamera, &m_CameraRecord);
    AddModule(m_Sequences.get());
    m_ShowClockStarted = true;
    BaseGame::Initialize();
    // Each camera reads its camera behaviours when made: the packages are mounted by now.
    GameServices::Entities::GameEntityFactory::Instance()->RegisterFactory(
        "GameShowCamera", new GameServices::Entities::EntityFactory<GameShow::GameShowCamera>(
                              kGameShowCameraPool, "GameShowCamera"));
}

void QZ2011GameContext::Shutdown() {
    if (!m_ShowClockStarted)
        return;
    m_ShowClockStarted = false;
    for (const char* name : kSequencerNames)
        m_Sequences->UnregisterSequencer(Crc32Hash(name));
    BaseGame::Shutdown();
    if (GameServices::KorvoGame::ApplicationData::GetPrototype(
            GameServices::KorvoGame::ApplicationData::kCamera) == &m_CameraRecord)
        GameServices::KorvoGame::ApplicationData::RegisterPrototype(
            GameServices::KorvoGame::ApplicationData::kCamera, nullptr);
    m_Sequences.reset();
    m_EntitySequencer.reset();
    m_CameraSequencer.reset();
    m_AudioSequencer.reset();
    m_GameShowCameraSequencer.reset();
}
