#include <iterator>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/Board.h"
#include "game/presentation/QZBuzzLightProps.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/QZStageProps.h"
#include "game/presentation/ScoreProps.h"
#include "game/rules/QZ11Game.h"
#include "game/rules/TeamActions.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/TeamRegistry.h"

namespace QZ2011 {

using GameServices::Entities::EntityFactory;
using GameServices::Entities::Prop;
using GameServices::KorvoGame::ApplicationData;

namespace {

constexpr const auto& kStages = QZ11Game::kStageSets;

TString<char> Numbered(const char* prefix, int n) {
    char text[64];
    snprintf(text, sizeof(text), "%s%02d", prefix, n);
    return text;
}

// Place 0..3 of the left (0) or right (1) podium.
TString<char> PodiumMarker(int podium, int place) {
    char text[64];
    snprintf(text, sizeof(text), QZ11Game::kPodiumFormats[podium], place + 1);
    return text;
}

}  // namespace

std::vector<QZ11Game::StageProp> QZ11Game::StageProps(u32 decade) {
    std::vector<StageProp> props;
    auto add = [&props](const TString<char>& name, const char* kind) { props.push_back({name.c_str(), kind, {}}); };
    for (int n = 1; n <= 8; ++n)
        add(Numbered(kBlockPrefix, n), kKinds[kBoardKind].kind);
    for (int n = 2; n <= 8; ++n)
        add(Numbered(kCoverPrefix, n), nullptr);
    for (int n = 1; n <= 6; ++n)
        add(Numbered(kBlockDtPrefix, n), kKinds[kBoardKind].kind);
    for (const char* name : kBuzzerTops)
        add(name, kKinds[kBoardKind].kind);
    for (const char* name : kBuzzerLights)
        add(name, kKinds[kBuzzerLightKind].kind);
    for (int i = 0; i < 5; ++i)
        add(kScoreProps[i], kKinds[i < 2 ? kScoreDeskKind : kScoreBoardKind].kind);
    for (const char* name : kBoardScreens)
        add(name, nullptr);
    for (const char* name : kSigns)
        add(name, nullptr);
    if (decade == 1)
        for (const char* name : kSideSingles80)
            add(name, nullptr);
    for (const char* name : kMarkers)
        add(name, nullptr);
    for (int i = 0; i < 4; ++i) {
        add(PodiumMarker(0, i), nullptr);
        add(PodiumMarker(1, i), nullptr);
    }
    AddDressedProps(decade, props);
    return props;
}

Prop* QZ11Game::FindStageProp(const char* name) {
    Prop* prop = m_Set ? m_Set->FindProp(name) : nullptr;
    if (!prop)
        ReportMissing(name);
    return prop;
}

void QZ11Game::LoadLevel(bool initializeSet) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    GameServices::KorvoGame::CharacterAssemblyManager::Instance()->PreloadCharacterAssemblies();
    GameServices::Entities::GameEntityFactory* factories = GameServices::Entities::GameEntityFactory::Instance();
    auto registerKind = [factories](Kind kind, GameServices::Entities::IEntityFactory* factory) {
        factories->RegisterFactory(kKinds[kind].kind, factory);
    };
    registerKind(kCharacterKind, new EntityFactory<QZCharacter>(kKinds[kCharacterKind].capacity, "Character_"));
    registerKind(kBoardKind, new EntityFactory<Board>(kKinds[kBoardKind].capacity, "whatever"));
    registerKind(kScoreBoardKind, new EntityFactory<ScoreBoardProps>(kKinds[kScoreBoardKind].capacity, "ScoreBoard_"));
    registerKind(kScoreDeskKind, new EntityFactory<ScoreDeskProps>(kKinds[kScoreDeskKind].capacity, "ScoreDesk_"));
    registerKind(kBuzzerLightKind,
                 new EntityFactory<QZBuzzLightProps>(kKinds[kBuzzerLightKind].capacity, "BuzzerLight_"));
    registerKind(kStageKind, new EntityFactory<QZStageProps>(kKinds[kStageKind].capacity, "StageProps_"));
    ApplicationData::RegisterPrototype(ApplicationData::kLevel, &m_LevelData);
    ApplicationData::RegisterPrototype(ApplicationData::kCharacter, &m_CharacterData);
    ApplicationData::RegisterPrototype(ApplicationData::kCamera, &m_CameraData);
    ApplicationData::RegisterPrototype(ApplicationData::kProp, &m_PropData);
    if (GameServices::KorvoGame::TeamActionManager* teams = context ? context->GetTeamActionManager() : nullptr) {
        teams->ListenTeamAction(&m_BuzzAction, kTeamActions[kActionBuzz]);
        teams->ListenTeamAction(&m_EnterAnswerAction, kTeamActions[kActionEnterAnswer]);
        teams->ListenTeamAction(&m_EnterAIAnswerAction, kTeamActions[kActionEnterAIAnswer]);
        teams->ListenTeamAction(&m_SkipAction, kTeamActions[kActionSkip]);
    }
    GameServices::Entities::Set* current = context ? context->GetCurrentLevel() : nullptr;
    GameShow::GameShowCameraManager* cameras = GameShow::GameShowCameraManager::Instance();
    cameras->SetSet(current);
    cameras->SetActiveCamera(current ? dynamic_cast<GameShow::GameShowCamera*>(current->GetActiveCamera()) : nullptr);
    registerKind(kCameraKind, new EntityFactory<GameShow::GameShowCamera>(kKinds[kCameraKind].capacity, "Cameras_"));
    m_Teams.clear();
    GameServices::KorvoGame::TeamRegistry* registry = context ? context->GetTeamRegistry() : nullptr;
    if (registry && !registry->GetMembers().empty())
        if (GameServices::Entities::Team* team = registry->GetTeam())
            m_Teams.push_back(team);
    BaseMiniGame::LoadLevel(initializeSet);
    LoadInGameSequences();
}

void QZ11Game::InitializeLevel() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    m_Reported.clear();
    m_NoRulesReported = false;
    const u32 decade = context ? context->m_Decade : 4;
    if (decade < std::size(kStages)) {
        auto* stage = m_Set ? m_Set->FindSetElement(kStages[decade]) : nullptr;
        if (stage)
            stage->SetVisible(true);
        else
            ReportMissing(kStages[decade]);
    }
    m_BoardScreen10A = FindStageProp(kBoardScreens[0]);
    m_BoardScreen10B = FindStageProp(kBoardScreens[1]);
    m_BoardScreenLogo = FindStageProp(kBoardScreens[2]);
    m_MarkerFastMoney = FindStageProp(kMarkers[0]);
    m_MarkerLeftPose = FindStageProp(kMarkers[1]);
    m_MarkerRightPose = FindStageProp(kMarkers[2]);
    for (int i = 0; i < 4; ++i)
        m_LeftPodium[i] = FindStageProp(PodiumMarker(0, i).c_str());
    for (int i = 0; i < 4; ++i)
        m_RightPodium[i] = FindStageProp(PodiumMarker(1, i).c_str());
    m_DeskDigitLeft = FindStageProp(kScoreProps[0]);
    m_DeskDigitRight = FindStageProp(kScoreProps[1]);
    m_ScreenDigitsLeft = FindStageProp(kScoreProps[2]);
    m_ScreenDigitsRight = FindStageProp(kScoreProps[3]);
    m_ScreenDigitCenter = FindStageProp(kScoreProps[4]);
    for (Prop* digits : {m_DeskDigitLeft, m_DeskDigitRight, m_ScreenDigitsLeft, m_ScreenDigitsRight,
                         m_ScreenDigitCenter})
        if (BehaviorScore* score = GetScoreBehavior(digits)) {
            score->Value = -1;
            score->UpdateRequest = 1;
        }
    // A prop of the right name but another kind is as good as missing.
    auto findBoard = [this](const TString<char>& boardName, int part) {
        auto* board = dynamic_cast<Board*>(m_Set ? m_Set->FindProp(boardName) : nullptr);
        if (board)
            board->GetPart(part);
        else
            ReportMissing(boardName.c_str());
        return board;
    };
    for (int n = 1; n <= 8; ++n)
        m_Blocks[n - 1] = findBoard(Numbered(kBlockPrefix, n), n - 1);
    for (int n = 2; n <= 8; ++n)
        m_Covers[n - 2] = FindStageProp(Numbered(kCoverPrefix, n).c_str());
    for (int n = 1; n <= 6; ++n)
        m_BlocksDt[n - 1] = findBoard(Numbered(kBlockDtPrefix, n), 8 + n);
    m_SignDouble = FindStageProp(kSigns[0]);
    m_SignTriple = FindStageProp(kSigns[1]);
    if (decade == 1) {
        m_SideSingle[0] = FindStageProp(kSideSingles80[0]);
        m_SideSingle[1] = FindStageProp(kSideSingles80[1]);
    }
    m_BuzzerTopLeft = findBoard(kBuzzerTops[0], 15);
    m_BuzzerTopRight = findBoard(kBuzzerTops[1], 16);
    BaseMiniGame::InitializeLevel();
    SetUpFamilies();
    if (!context)
        return;
    context->ListenLevelActions();
    ReadLevelTuning();
    GameShow::SequenceManager* sequences = context->GetSequenceManager();
    if (sequences)
        sequences->SetEnabled(true);
    if (!m_Set)
        AGReport("CameraSequencer::onInitialize : the set is NULL !!!");
    if (GameShow::CameraSequencer* sequencer = context->GetCameraSequencer())
        sequencer->SetSet(m_Set);
    if (AudioManagerQZ* audio = context->GetAudioManager())
        audio->onInitialize(sequences, m_Set);
    if (AudioSequencerQZ* sequencer = context->GetAudioSequencer())
        sequencer->onInitialize(context->GetAudioManager());
    if (GameShow::GameShowCameraSequencer* sequencer = context->GetGameShowCameraSequencer())
        sequencer->onInitialize(m_Set);
    if (sequences) {
        // A level started again without its clean-up keeps one subscription.
        sequences->GetSequenceEndedEvent().RemoveDelegate(&m_PhaseStep);
        sequences->GetSequenceEndedEvent().AddDelegate(&m_PhaseStep);
    }
    context->AttachConnectedPlayerCursors();
    context->SubscribeDeviceEvents();
    CollectCrowd(this);
}

}  // namespace QZ2011
