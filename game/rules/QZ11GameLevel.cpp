#include <iterator>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/Board.h"
#include "game/presentation/QZBuzzLightProps.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/QZStageProps.h"
#include "game/presentation/ScoreProps.h"
#include "game/rules/QZ11Game.h"
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

constexpr const char* kStages[] = {"Stage70", "Stage80", "Stage90", "Stage00"};

TString<char> Numbered(const char* prefix, int n) {
    char text[64];
    snprintf(text, sizeof(text), "%s%02d", prefix, n);
    return text;
}

}  // namespace

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
    factories->RegisterFactory("QZCharacter", new EntityFactory<QZCharacter>(10, "Character_"));
    factories->RegisterFactory("Board", new EntityFactory<Board>(38, "whatever"));
    factories->RegisterFactory("ScoreBoard", new EntityFactory<ScoreBoardProps>(3, "ScoreBoard_"));
    factories->RegisterFactory("ScoreDesk", new EntityFactory<ScoreDeskProps>(2, "ScoreDesk_"));
    factories->RegisterFactory("BuzzerLight", new EntityFactory<QZBuzzLightProps>(2, "BuzzerLight_"));
    factories->RegisterFactory("StageProps", new EntityFactory<QZStageProps>(30, "StageProps_"));
    ApplicationData::RegisterPrototype(ApplicationData::kLevel, &m_LevelData);
    ApplicationData::RegisterPrototype(ApplicationData::kCharacter, &m_CharacterData);
    ApplicationData::RegisterPrototype(ApplicationData::kCamera, &m_CameraData);
    ApplicationData::RegisterPrototype(ApplicationData::kProp, &m_PropData);
    if (GameServices::KorvoGame::TeamActionManager* teams = context ? context->GetTeamActionManager() : nullptr) {
        teams->ListenTeamAction(&m_BuzzAction, "BuzzSinglePlayer");
        teams->ListenTeamAction(&m_EnterAnswerAction, "EnterAnswer");
        teams->ListenTeamAction(&m_EnterAIAnswerAction, "EnterAIAnswer");
        teams->ListenTeamAction(&m_SkipAction, "SkipSequence");
    }
    GameServices::Entities::Set* current = context ? context->GetCurrentLevel() : nullptr;
    GameShow::GameShowCameraManager* cameras = GameShow::GameShowCameraManager::Instance();
    cameras->SetSet(current);
    cameras->SetActiveCamera(current ? dynamic_cast<GameShow::GameShowCamera*>(current->GetActiveCamera()) : nullptr);
    factories->RegisterFactory("GameShowCameras", new EntityFactory<GameShow::GameShowCamera>(23, "Cameras_"));
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
    m_BoardScreen10A = FindStageProp("board_screen10_a");
    m_BoardScreen10B = FindStageProp("board_screen10_b");
    m_BoardScreenLogo = FindStageProp("board_screenlogo");
    m_MarkerFastMoney = FindStageProp("box_position_fastmoney");
    m_MarkerLeftPose = FindStageProp("box_position_left_pose");
    m_MarkerRightPose = FindStageProp("box_position_right_pose");
    char name[64];
    for (int i = 0; i < 4; ++i) {
        snprintf(name, sizeof(name), "box_position_m%d_left01", i + 1);
        m_LeftPodium[i] = FindStageProp(name);
    }
    for (int i = 0; i < 4; ++i) {
        snprintf(name, sizeof(name), "box_position_m%d_left", i + 1);
        m_RightPodium[i] = FindStageProp(name);
    }
    m_DeskDigitLeft = FindStageProp("desk_digit_left");
    m_DeskDigitRight = FindStageProp("desk_digit_right");
    m_ScreenDigitsLeft = FindStageProp("screen_digits_left");
    m_ScreenDigitsRight = FindStageProp("screen_digits_right");
    m_ScreenDigitCenter = FindStageProp("screen_digit_center");
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
        m_Blocks[n - 1] = findBoard(Numbered("board_block_", n), n - 1);
    for (int n = 2; n <= 8; ++n)
        m_Covers[n - 2] = FindStageProp(Numbered("board_block_empty_", n).c_str());
    for (int n = 1; n <= 6; ++n)
        m_BlocksDt[n - 1] = findBoard(Numbered("board_block_dt_", n), 8 + n);
    m_SignDouble = FindStageProp("board_block_double");
    m_SignTriple = FindStageProp("board_block_triple");
    if (decade == 1) {
        m_SideSingle[0] = FindStageProp("board_side_single_01");
        m_SideSingle[1] = FindStageProp("board_side_single_02");
    }
    m_BuzzerTopLeft = findBoard("buzzer_top_left", 15);
    m_BuzzerTopRight = findBoard("buzzer_top_right", 16);
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
