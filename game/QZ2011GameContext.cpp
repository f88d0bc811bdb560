#include "game/QZ2011GameContext.h"

#include <cstdio>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "game/rules/AnswerResult.h"
#include "game/rules/Family.h"
#include "game/rules/QZ11Phases.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/EntityFactory.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "questions/QuestionManager.h"

namespace {

constexpr const char* kSequencerNames[] = {"EntitySequencer", "CameraSequencer", "AudioSequencer",
                                           "GameShowCameraSequencer"};
// The pages of the menus in registration order; null entries are the stand-ins' turns.
constexpr const char* kStandInPageNames[] = {"compositionConnectionError", "compositionGroupAwards",
                                             "compositionWardrobe",        "compositionOptions",
                                             "compositionProfiles",        "compositionNumberOfPlayer",
                                             "compositionCredits",         "compositionDecadeSelector",
                                             "compositionDifficultySelector"};
// The level the stand-in main menu's play starts: the decade choice.
constexpr const char* kPlayLevel = "QZ11_Game_Level1";

// Rounds 3 and 4 show six answers: the seventh and eighth are struck out.
constexpr i32 kLastShownAnswerOfLongRounds = 5;

using GameServices::Entities::BaseTeamMember;

// In the level's "PlayerCursors" component: "PlayerCursor<number>", linked with the member.
void AttachPlayerCursor(GameServices::Entities::Set* level, BaseTeamMember* member, i32 number) {
    GameServices::Entities::ComponentLevel* cursors = level ? level->FindComponentLevel("PlayerCursors") : nullptr;
    char name[32];
    snprintf(name, sizeof(name), "PlayerCursor%d", number);
    auto* cursor = cursors ? dynamic_cast<GameServices::KorvoGame::CollisionCursor*>(cursors->FindProp(name)) : nullptr;
    if (!cursor || !member)
        return;
    cursor->SetMember(member);
    member->m_Entity = cursor;
    cursor->Initialize();
    cursor->SetVisible(true);
    cursor->SetProjectionCamera(level->GetActiveCamera());
    cursor->Synchronize = false;
}

}  // namespace

QZ2011GameContext::QZ2011GameContext() : m_OwnedAnswerRecord(std::make_unique<QZ2011::AnswerResult>()) {
    m_OwnedAnswerRecord->m_Game = &m_Match;
    m_AnswerRecord = m_OwnedAnswerRecord.get();
    ResetGameState();
    m_MainMenuPage.SetNextLevel(kPlayLevel);
    RegisterPages();
}

QZ2011GameContext::~QZ2011GameContext() {
    if (m_ShowClockStarted)
        QZ2011GameContext::Shutdown();
    if (m_MenuScreen.IsLoaded())
        m_MenuScreen.onUnload();
    UnregisterPages();
    DeleteFamilies();
}

void QZ2011GameContext::RegisterPages() {
    static_assert(std::size(kStandInPageNames) == kStandInPages);
    GameShow::CompositionManager& pages = GameShow::CompositionManager::Instance();
    const std::pair<const char*, GameShow::CompositionBase*> order[] = {
        {GameShow::AwardsComposition::kName, &m_AwardsPage},
        {GameShow::BasicLookComposition::kName, &m_BasicLookPage},
        {kStandInPageNames[0], &m_StandInPages[0]},
        {kStandInPageNames[1], &m_StandInPages[1]},
        {GameShow::KeyboardComposition::kName, &m_KeyboardPage},
        {kStandInPageNames[2], &m_StandInPages[2]},
        {kStandInPageNames[3], &m_StandInPages[3]},
        {GameShow::CompositionManager::kMainMenu, &m_MainMenuPage},
        {kStandInPageNames[4], &m_StandInPages[4]},
        {kStandInPageNames[5], &m_StandInPages[5]},
        {kStandInPageNames[6], &m_StandInPages[6]},
        {kStandInPageNames[7], &m_StandInPages[7]},
        {kStandInPageNames[8], &m_StandInPages[8]},
    };
    for (const auto& [name, page] : order)
        pages.RegisterComposition(name, page);
}

void QZ2011GameContext::UnregisterPages() {
    GameShow::CompositionManager& pages = GameShow::CompositionManager::Instance();
    for (GameShow::CompositionBase* page : std::initializer_list<GameShow::CompositionBase*>{
             &m_AwardsPage, &m_BasicLookPage, &m_KeyboardPage, &m_MainMenuPage})
        pages.UnregisterComposition(page->GetName(), page);
    for (QZ2011::StandInComposition& page : m_StandInPages)
        pages.UnregisterComposition(page.GetName(), &page);
}

void QZ2011GameContext::OnProfilesLoaded() {
    m_AwardsPage.LoadAwards();
    GameShow::Settings* settings = GameShow::PlayerProfileManager::Instance()->GetSettings();
    if (settings && settings->CurrentSavedGame != -1)
        m_Awards.CheckAllUnlocks();
}

void QZ2011GameContext::OnProfileSelected() {
    m_AwardsPage.RefreshAwards();
    m_Awards.CheckAllUnlocks();
    m_AwardsPage.UpdateAwardCount();
}

void QZ2011GameContext::OnAwardUnlocked(const TString<char>& title, bool isNew) {
    m_LastAwardTitle = title;
    m_AwardsPage.UnlockAward(title, isNew);
}

QZ2011GameContext* QZ2011GameContext::Current() { return dynamic_cast<QZ2011GameContext*>(BaseGame::Current()); }

void QZ2011GameContext::Initialize() {
    if (m_ShowClockStarted)
        return;
    m_Sequences = std::make_unique<GameShow::SequenceManager>();
    m_EntitySequencer = std::make_unique<GameShow::EntitySequencer>();
    m_CameraSequencer = std::make_unique<GameShow::CameraSequencer>();
    m_AudioSequencer = std::make_unique<QZ2011::AudioSequencerQZ>();
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
    GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
    profiles->Initialize();
    profiles->GetProfilesLoadedEvent().AddDelegate(&m_ProfilesLoaded);
    profiles->GetProfileSelectedEvent().AddDelegate(&m_ProfileSelected);
    // Each camera reads its camera behaviours when made: the packages are mounted by now.
    GameServices::Entities::GameEntityFactory::Instance()->RegisterFactory(
        "GameShowCamera", new GameServices::Entities::EntityFactory<GameShow::GameShowCamera>(
                              kGameShowCameraPool, "GameShowCamera"));
    CreateFamilies();
    QZ2011::QuestionServices services;
    services.settings = GameShow::PlayerProfileManager::Instance();
    services.context = this;
    services.saves = GameShow::PlayerProfileManager::Instance();
    services.randomRange = &GameServices::Bridge::RandomRange;
    m_Questions = std::make_unique<QZ2011::QuestionManager>(services);
}

void QZ2011GameContext::Shutdown() {
    if (!m_ShowClockStarted)
        return;
    m_ShowClockStarted = false;
    for (const char* name : kSequencerNames)
        m_Sequences->UnregisterSequencer(Crc32Hash(name));
    BaseGame::Shutdown();
    // The registry deleted player one's family with its teams.
    m_PlayerOneFamily = nullptr;
    DeleteFamilies();
    m_Questions.reset();
    GameShow::PlayerProfileManager::Instance()->GetProfilesLoadedEvent().RemoveDelegate(&m_ProfilesLoaded);
    GameShow::PlayerProfileManager::Instance()->GetProfileSelectedEvent().RemoveDelegate(&m_ProfileSelected);
    GameShow::PlayerProfileManager::Destroy();
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

void QZ2011GameContext::ResetGameState() {
    m_BuzzOwner = -1;
    m_FaceOffWinner = -1;
    m_RoundCounter = 0;
    m_CurrentFamily = kNoFamily;
    m_LastAnswerIndex = -1;
    m_TypedAnswer = "";
    m_AnswerTurnPending = 0;
    m_AIMayAct = 0;
    m_AnswerPending = 0;
    m_AnswerAgain = 0;
    m_StealStarted = 0;
    m_PlayChosen = 1;
    m_SkipAllowed = 0;
    m_AIAnswerStarted = 0;
    m_AIBusy = 0;
    m_ChosenAnswerIndex = -1;
    m_RoundBank = 0;
    m_TimeUp = 0;
    m_WentToSuddenDeath = 0;
    m_RightMemberIndex = kNoMember;
    m_LeftMemberIndex = kNoMember;
    m_StruckOutAnswers = 0;
}

void QZ2011GameContext::SwitchTurn() {
    if (m_TwoPlayers == 0 && (m_CurrentFamily == kPlayerOneFamily || m_CurrentFamily == kComputerFamily))
        m_CurrentFamily = m_CurrentFamily == kPlayerOneFamily ? kComputerFamily : kPlayerOneFamily;
    else if (m_TwoPlayers == 1 && (m_CurrentFamily == kPlayerOneFamily || m_CurrentFamily == kPlayerTwoFamily))
        m_CurrentFamily = m_CurrentFamily == kPlayerOneFamily ? kPlayerTwoFamily : kPlayerOneFamily;
    else
        AGReport("We can't switch trun from NOBODY!!");
}

i32 QZ2011GameContext::GetOtherBuzzSide() const {
    if (m_BuzzOwner == 0)
        return 1;
    if (m_BuzzOwner == 1)
        return 0;
    return -1;
}

QZ2011::Family* QZ2011GameContext::GetCurrentFamily() {
    switch (m_CurrentFamily) {
    case kComputerFamily:
        return m_ComputerFamily;
    case kPlayerOneFamily:
        return m_PlayerOneFamily;
    case kPlayerTwoFamily:
        return m_PlayerTwoFamily;
    default:
        AGReport("No family set!!");
        return nullptr;
    }
}

void QZ2011GameContext::CheckTypedAnswer(QZ2011::AnswerResult* record) {
    i32 index = -1;
    QZ2011::Question* question = m_Questions ? m_Questions->CurrentQuestion() : nullptr;
    if (m_GamePhase != QZ2011::PhaseFastMoneySecondPlayer && question) {
        if (m_CurrentFamily == kComputerFamily)
            index = m_ChosenAnswerIndex >= 0 && u32(m_ChosenAnswerIndex) < question->AnswerCount() ? m_ChosenAnswerIndex
                                                                                                  : -1;
        else
            index = question->CheckAnswer(std::string(m_TypedAnswer.c_str()));
        if ((m_RoundCounter == 3 || m_RoundCounter == 4) && index > kLastShownAnswerOfLongRounds) {
            index = -1;
            ++m_StruckOutAnswers;
            if (record)
                record->m_StruckOut = i32(m_StruckOutAnswers);
        }
    }
    m_LastAnswerIndex = index;
    if (record)
        record->m_AnswerIndex = index;
}

void QZ2011GameContext::CreateFamilies() {
    GameServices::KorvoGame::TeamRegistry* registry = GetTeamRegistry();
    if (!registry)
        return;
    registry->DeleteAll();
    DeleteFamilies();
    m_PlayerOneFamily = new QZ2011::Family();
    m_PlayerOneFamily->m_Name = "The Team";
    registry->AddTeam(m_PlayerOneFamily, GameServices::KorvoGame::TeamRegistry::kPlayersTeamId);
    auto addMember = [&](const char* name) {
        auto* member = new BaseTeamMember();
        member->m_Name = name;
        member->m_Team = m_PlayerOneFamily;
        registry->AddMember(member);
        m_PlayerOneFamily->m_Members.push_back(member);
    };
    addMember("Member 1");
    m_ComputerFamily = new QZ2011::Family();
    m_PlayerTwoFamily = new QZ2011::Family();
    addMember("Member 2");
    for (QZ2011::Family* family : {m_PlayerOneFamily, m_ComputerFamily, m_PlayerTwoFamily}) {
        family->m_Score = 0;
        family->m_Strikes = 0;
    }
}

void QZ2011GameContext::DeleteFamilies() {
    delete m_ComputerFamily;
    delete m_PlayerTwoFamily;
    m_ComputerFamily = nullptr;
    m_PlayerTwoFamily = nullptr;
}

void QZ2011GameContext::AttachConnectedPlayerCursors() {
    GameServices::KorvoGame::TeamRegistry* registry = GetTeamRegistry();
    if (!registry || registry->GetMembers().empty())
        return;
    GameServices::Entities::Team* team = registry->GetTeam();
    if (!team)
        return;
    for (size_t i = 0; i < team->m_Members.size(); ++i) {
        BaseTeamMember* member = team->m_Members[i];
        if (member && member->m_Active && !member->m_Computer)
            AttachPlayerCursor(GetCurrentLevel(), member, i32(i));
    }
}

void QZ2011GameContext::SubscribeDeviceEvents() {
    // Once however often the level starts.
    UnsubscribeDeviceEvents();
    GameServices::KorvoGame::TeamActionManager::GetFreeDeviceConnectedEvent().AddDelegate(&m_DeviceConnected);
    GameServices::KorvoGame::TeamActionManager::GetMemberDeviceLostEvent().AddDelegate(&m_MemberDisconnected);
}

void QZ2011GameContext::UnsubscribeDeviceEvents() {
    GameServices::KorvoGame::TeamActionManager::GetFreeDeviceConnectedEvent().RemoveDelegate(&m_DeviceConnected);
    GameServices::KorvoGame::TeamActionManager::GetMemberDeviceLostEvent().RemoveDelegate(&m_MemberDisconnected);
}

void QZ2011GameContext::OnDeviceConnected(GameServices::Bridge::DeviceInfos& infos) {
    GameServices::KorvoGame::TeamRegistry* registry = GetTeamRegistry();
    GameServices::Entities::Team* team =
        registry && !registry->GetMembers().empty() ? registry->GetTeam() : nullptr;
    // An index naming no member of the team is skipped.
    if (!team || infos.m_DeviceId < 0 || size_t(infos.m_DeviceId) >= team->m_Members.size())
        return;
    AttachPlayerCursor(GetCurrentLevel(), team->m_Members[size_t(infos.m_DeviceId)], infos.m_DeviceId + 1);
}

void QZ2011GameContext::OnMemberDisconnected(BaseTeamMember* member) {
    GameServices::Entities::Set* level = GetCurrentLevel();
    GameServices::Entities::ComponentLevel* cursors = level ? level->FindComponentLevel("PlayerCursors") : nullptr;
    if (!cursors || !member || !member->m_Entity)
        return;
    if (GameServices::Entities::Prop* cursor = cursors->FindProp(member->m_Entity->Name)) {
        cursor->Reset();
        cursor->SetVisible(false);
        cursor->Synchronize = false;
    }
}
