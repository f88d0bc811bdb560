#include "game/rules/QZ11Game.h"

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/Board.h"
#include "game/presentation/QZBuzzLightProps.h"
#include "game/presentation/QZCharacter.h"
#include "game/presentation/screens/ScreenGame.h"
#include "game/rules/AnswerResult.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Phases.h"
#include "game/rules/TeamActions.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/TeamRegistry.h"

namespace QZ2011 {

using GameServices::Entities::BaseTeamMember;
using GameServices::KorvoGame::TeamActionData;

namespace {

bool IsAnswerPhase(i32 phase) {
    switch (phase) {
    case PhaseFaceOffFirstAnswer:
    case PhaseFaceOffSecondAnswer:
    case PhaseRoundAnswers:
    case PhaseSteal:
    case PhaseSuddenDeathFirstAnswer:
    case PhaseSuddenDeathSecondAnswer:
    case PhaseFastMoneyFirstPlayer:
    case PhaseFastMoneySecondPlayer:
        return true;
    default:
        return false;
    }
}

}  // namespace

QZ11Game::QZ11Game() : BaseMiniGame(kLevelName) {
    m_AIFactory = &m_AIs;
    m_Crowd.Reserve(kCrowdCapacity);
}

void QZ11Game::UnlistenTeamActions(QZ2011GameContext* context) {
    if (GameServices::KorvoGame::TeamActionManager* teams = context ? context->GetTeamActionManager() : nullptr) {
        teams->UnlistenTeamAction(&m_BuzzAction, kTeamActions[kActionBuzz]);
        teams->UnlistenTeamAction(&m_EnterAnswerAction, kTeamActions[kActionEnterAnswer]);
        teams->UnlistenTeamAction(&m_EnterAIAnswerAction, kTeamActions[kActionEnterAIAnswer]);
        teams->UnlistenTeamAction(&m_SkipAction, kTeamActions[kActionSkip]);
    }
}

QZ11Game::~QZ11Game() {
    // A mode that goes with its level still running leaves no listener behind on the game.
    QZ2011GameContext* context = QZ2011GameContext::Current();
    UnlistenTeamActions(context);
    if (GameShow::SequenceManager* sequences = context ? context->GetSequenceManager() : nullptr)
        sequences->GetSequenceEndedEvent().RemoveDelegate(&m_PhaseStep);
    // The records this mode published as prototypes go with it: a level read later would
    // otherwise copy a destroyed record.
    using GameServices::KorvoGame::ApplicationData;
    const std::pair<ApplicationData::Kind, ApplicationData*> published[] = {
        {ApplicationData::kLevel, &m_LevelData},
        {ApplicationData::kCharacter, &m_CharacterData},
        {ApplicationData::kCamera, &m_CameraData},
        {ApplicationData::kProp, &m_PropData}};
    for (const auto& [kind, record] : published)
        if (ApplicationData::GetPrototype(kind) == record)
            ApplicationData::RegisterPrototype(kind, nullptr);
}

QZ11Game::MemberEvent& QZ11Game::Event(int index) {
    MemberEvent* events[kEventCount] = {&BuzzEvent,
                                        &BuzzEvent2,
                                        &BuzzEvent3,
                                        &AnswerEnteredEvent,
                                        &FaceOffQuestionEvent,
                                        &AnswerTurnEvent,
                                        &RoundStartEvent,
                                        &ResumeEvent,
                                        &FaceOffWonEvent,
                                        &FastMoneyStartEvent,
                                        &FastMoneySecondPlayerEvent,
                                        &FastMoneyRevealEvent,
                                        &SpareEvent12,
                                        &RoundAnswerTurnEvent,
                                        &PlayOrPassChosenEvent,
                                        &ScoreChangedEvent,
                                        &StealEvent,
                                        &AnswerResultEvent,
                                        &BuzzOpenEvent,
                                        &OthersRevealedEvent,
                                        &AchievementUnlockedEvent,
                                        &SpareEvent21,
                                        &SpareEvent22,
                                        &SpareEvent23};
    if (index < 0 || index >= kEventCount)
        return SpareEvent23;
    return *events[index];
}

BaseTeamMember* QZ11Game::PlayerOneMember() const {
    GameServices::MiniGame::BaseGame* game = GameServices::MiniGame::BaseGame::Current();
    GameServices::KorvoGame::TeamRegistry* registry = game ? game->GetTeamRegistry() : nullptr;
    // The registry reports a lookup without teams; a match without members has no player 1.
    if (!registry || registry->GetMembers().empty())
        return nullptr;
    GameServices::Entities::Team* team = registry->GetTeam();
    return team && !team->m_Members.empty() ? team->m_Members[0] : nullptr;
}

void QZ11Game::FireWithPlayerOne(MemberEvent& event) { event.Fire(PlayerOneMember()); }

void QZ11Game::ReportMissing(const char* name) {
    for (const TString<char>& reported : m_Reported)
        if (reported == name)
            return;
    m_Reported.emplace_back(name);
    AGReport("QZ11Game : can't find '%s' in the level", name);
}

void QZ11Game::OnBuzzSinglePlayer(TeamActionData* data) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context || !data || !data->m_Member || context->m_TwoPlayers != 0)
        return;
    if (context->m_GamePhase != PhaseFaceOffBuzz && context->m_GamePhase != PhaseSuddenDeathBuzz)
        return;
    // A mouse button pressed over a button of the screen (the Menu button) is that button's click;
    // a key that buzzes is the buzz alone: its character (the space) does not reach the answer.
    if (GameServices::Bridge::sActionData* action = data->m_ActionData) {
        const i32 code = action->m_KeyCode;
        const bool mouseButton = action->m_KeyFlag && (code == 0 || (code >= 2 && code <= 4));
        if (mouseButton && context->GetGameScreen().ControlAt(action->m_X, action->m_Y))
            return;
        action->m_KeyTaken = action->m_KeyFlag && !mouseButton;
    }
    BaseTeamMember* member = data->m_Member;
    // Index 4 (nobody yet) or any other value outside 0..3 marks no one.
    auto mark = [this](bool left, i32 index) {
        if (index < 0 || index > 3)
            return;
        if (QZCharacter* character = m_Contestants[(left ? 0 : 4) + index]) {
            character->m_Behavior.BuzzRequest = 1;
            character->m_Behavior.BuzzFromLeft = left;
        }
    };
    if (!member->m_Computer) {
        context->m_BuzzOwner = 0;
        if (member->m_DeviceId == 0) {
            mark(true, context->m_LeftMemberIndex);
            context->m_AIMayAct = 0;
        } else {
            mark(false, context->m_RightMemberIndex);
        }
    } else {
        mark(false, context->m_RightMemberIndex);
    }
    LightBuzzer();
    BuzzEvent.Fire(member);
}

void QZ11Game::OnEnterAnswer(TeamActionData* data) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (context && context->m_AnswerEntryOpen)
        OnEnterAIAnswer(data);
}

void QZ11Game::OnEnterAIAnswer(TeamActionData* data) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context || !data || !IsAnswerPhase(context->m_GamePhase))
        return;
    context->CheckTypedAnswer(context->m_AnswerRecord);
    AnswerEnteredEvent.Fire(data->m_Member);
}

void QZ11Game::OnSkipSequence(TeamActionData*) {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context || !context->m_SkipAllowed)
        return;
    if (GameShow::SequenceManager* sequences = context->GetSequenceManager())
        sequences->Skip();
    if (context->m_TwoPlayers == 0 && context->m_AIBusy)
        context->m_AIAnswerStarted = 1;
}

void QZ11Game::FireFaceOffQuestion() { FireWithPlayerOne(FaceOffQuestionEvent); }
void QZ11Game::FireBuzzOpen() { FireWithPlayerOne(BuzzOpenEvent); }
void QZ11Game::FireRoundStart() { FireWithPlayerOne(RoundStartEvent); }
void QZ11Game::FireResume() { FireWithPlayerOne(ResumeEvent); }
void QZ11Game::FirePlayOrPassChosen() { FireWithPlayerOne(PlayOrPassChosenEvent); }
void QZ11Game::FireScoreChanged() { FireWithPlayerOne(ScoreChangedEvent); }
void QZ11Game::FireSteal() { FireWithPlayerOne(StealEvent); }
void QZ11Game::FireFastMoneySecondPlayer() { FireWithPlayerOne(FastMoneySecondPlayerEvent); }
void QZ11Game::FireFastMoneyReveal() { FireWithPlayerOne(FastMoneyRevealEvent); }
void QZ11Game::FireAnswerResult() { FireWithPlayerOne(AnswerResultEvent); }
void QZ11Game::FireOthersRevealed() { FireWithPlayerOne(OthersRevealedEvent); }
void QZ11Game::FireAchievementUnlocked() { FireWithPlayerOne(AchievementUnlockedEvent); }

void QZ11Game::StartFastMoney() {
    FireWithPlayerOne(FastMoneyStartEvent);
    if (QZ2011GameContext* context = QZ2011GameContext::Current())
        context->m_GamePhase = PhaseFastMoneyFirstPlayer;
}

void QZ11Game::StartAnswerTurn() {
    for (const char* name : kBuzzerLights) {
        if (!m_Level) {
            AGReport("the m_pLevel must be initialize before!");
            continue;
        }
        auto* light = m_Set ? dynamic_cast<QZBuzzLightProps*>(m_Set->FindProp(name)) : nullptr;
        if (light) {
            light->m_Behavior.ShowFirstFrameRequest = 1;
            light->m_Behavior.ShowLastFrameRequest = light->m_Behavior.PlayOnceRequest = 0;
        }
        else
            ReportMissing(name);
    }
    FireWithPlayerOne(AnswerTurnEvent);
}

void QZ11Game::DecideFaceOffWinner() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    const bool single = context->m_TwoPlayers == 0;
    if (single && context->m_FaceOffWinner == 1)
        context->m_CurrentFamily = QZ2011GameContext::kComputerFamily;
    else
        context->m_CurrentFamily = context->m_FaceOffWinner == 0 ? QZ2011GameContext::kPlayerOneFamily
                                                                 : QZ2011GameContext::kPlayerTwoFamily;
    FireWithPlayerOne(FaceOffWonEvent);
    if (single && context->m_Decade == 3 && context->m_FaceOffWinner == 0 && context->GetAwardManager())
        context->GetAwardManager()->CheckWinFaceOff();
}

void QZ11Game::StartRoundAnswerTurn() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    if (!context)
        return;
    if (Family* family = context->GetCurrentFamily())
        family->m_Strikes = 0;
    FireWithPlayerOne(RoundAnswerTurnEvent);
}

void QZ11Game::CleanupLevel() {
    QZ2011GameContext* context = QZ2011GameContext::Current();
    m_Crowd.Clear();
    if (context)
        context->UnsubscribeDeviceEvents();
    GameServices::KorvoGame::TeamRegistry* registry = context ? context->GetTeamRegistry() : nullptr;
    if (registry && !registry->GetMembers().empty())
        if (GameServices::Entities::Team* team = registry->GetTeam(); team && team->m_Members.size() > 1)
            team->m_Members[1]->m_Playing = 0;
    UnlistenTeamActions(context);
    if (QZ2011::AudioManagerQZ* audio = context ? context->GetAudioManager() : nullptr)
        audio->onRelease();
    BaseMiniGame::CleanupLevel();
    GameShow::GameShowCameraManager* cameras = GameShow::GameShowCameraManager::Instance();
    cameras->SetSet(nullptr);
    cameras->SetActiveCamera(nullptr);
    for (int i = 0; i < kEventCount; ++i)
        Event(i) = MemberEvent();
    if (context) {
        if (GameShow::CameraSequencer* sequencer = context->GetCameraSequencer())
            sequencer->SetSet(nullptr);
        if (AudioSequencerQZ* sequencer = context->GetAudioSequencer())
            sequencer->Clear();
        if (GameShow::GameShowCameraSequencer* sequencer = context->GetGameShowCameraSequencer())
            sequencer->Clear();
    }
    cameras->SetSet(nullptr);
    cameras->SetActiveCamera(nullptr);
    if (GameShow::SequenceManager* sequences = context ? context->GetSequenceManager() : nullptr) {
        sequences->GetSequenceEndedEvent().RemoveDelegate(&m_PhaseStep);
        sequences->RemoveAllSequences();
    }
    GameServices::Entities::GameEntityFactory* factories = GameServices::Entities::GameEntityFactory::Instance();
    // The level's clean-up leaves characters their render data for the pool's next level;
    // this pool goes now, so its data goes back first or every match would keep ten more.
    if (auto* characters =
            dynamic_cast<GameServices::Entities::EntityFactory<QZCharacter>*>(factories->GetFactory(kKinds[kCharacterKind].kind)))
        for (u32 i = 0; i < characters->GetMaxSize(); ++i)
            GameServices::Bridge::RenderingSystem::CleanupEntity(*characters->At(i), nullptr);
    for (Kind kind : {kBoardKind, kCharacterKind, kCameraKind, kScoreBoardKind, kScoreDeskKind, kBuzzerLightKind})
        factories->DestroyFactory(kKinds[kind].kind);
}

}  // namespace QZ2011
