#include "gameservices/minigame/BaseMiniGame.h"

#include <algorithm>

#include "engine/core/AGLog.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/AnimationPools.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/bridge/systems/CollisionSystem.h"
#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/Level.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/minigame/AIFactory.h"
#include "gameservices/minigame/BaseGame.h"
#include "gameservices/minigame/BehaviorManager.h"
#include "gameservices/widget/ScreenManager.h"

namespace GameServices::MiniGame {

namespace {

constexpr u32 kStartDelayMs = 250;
constexpr u32 kClosedLevelStatus = 5;
// Shared by every mode: what a frame brings beyond the wait carries over to the next level.
u32 s_StartAccumulator = 0;

KorvoGame::GameFlowManager* GameFlow() {
    BaseGame* game = BaseGame::Current();
    return game ? game->GetGameFlowManager() : nullptr;
}

void EnableTeamActions(bool enabled) {
    BaseGame* game = BaseGame::Current();
    if (KorvoGame::TeamActionManager* teams = game ? game->GetTeamActionManager() : nullptr)
        teams->SetEnabled(enabled);
}

void EnableInput(bool enabled) { Bridge::DeviceSystem::Instance()->SetActive(enabled); }

}  // namespace

u32 BaseMiniGame::GetStartAccumulator() { return s_StartAccumulator; }
void BaseMiniGame::SetStartAccumulator(u32 ms) { s_StartAccumulator = ms; }

BaseMiniGame::BaseMiniGame(const TString<char>& name)
    : m_Name(name), m_LevelFileName(name), m_Game(BaseGame::Current()) {
    if (m_Game)
        m_Game->AddMiniGame(this);
    else
        AGReport("The game mode %s has no game to join", name.c_str());
}

BaseMiniGame::~BaseMiniGame() {
    // A game that is gone took its levels and its list with it.
    const bool gameAlive = m_Game && BaseGame::Current() == m_Game;
    // A level never left is left now (the base steps: this is no longer a derived mode).
    if (m_OwnsSet && gameAlive)
        LeaveLevel(m_Level);
    if (!gameAlive) {
        if (m_OwnsSet) {
            m_Set->Clear();
            delete m_Set;
        }
        return;
    }
    Unsubscribe();
    std::erase(m_Game->GetMiniGames(), this);
}

void BaseMiniGame::Unsubscribe() {
    for (Entities::Level* level : m_Followed) {
        level->GetLoadingEvent().RemoveDelegate(&m_LoadingDelegate);
        level->GetOpeningEvent().RemoveDelegate(&m_OpeningDelegate);
        level->GetRunningEvent().RemoveDelegate(&m_RunningDelegate);
        level->GetClosingEvent().RemoveDelegate(&m_ClosingDelegate);
    }
    StopWaiting();
}

void BaseMiniGame::ForgetLevels() {
    Unsubscribe();
    m_Followed.clear();
}

void BaseMiniGame::StopWaiting() {
    if (!m_WaitingToStart)
        return;
    if (KorvoGame::GameFlowManager* flow = GameFlow())
        flow->GetFrameEvent().RemoveDelegate(&m_StartDelegate);
    m_WaitingToStart = false;
}

void BaseMiniGame::RegisterLevelDelegates() {
    KorvoGame::GameFlowManager* flow = GameFlow();
    if (!flow)
        return;
    std::vector<Entities::Level*> levels;
    flow->GetLevels(levels);
    for (Entities::Level* level : levels) {
        if (!level || level->GetName() != m_Name ||
            std::find(m_Followed.begin(), m_Followed.end(), level) != m_Followed.end())
            continue;
        level->GetLoadingEvent().AddDelegate(&m_LoadingDelegate);
        level->GetOpeningEvent().AddDelegate(&m_OpeningDelegate);
        level->GetRunningEvent().AddDelegate(&m_RunningDelegate);
        level->GetClosingEvent().AddDelegate(&m_ClosingDelegate);
        m_Followed.push_back(level);
    }
}

bool BaseMiniGame::TakeLevel(Entities::Level* level) {
    if (!level)
        return false;
    m_LevelFileName = level->GetFileName();
    m_Level = level;
    // A mode works on the set it built; one that built none works on the level's.
    if (!m_OwnsSet)
        m_Set = level->GetSet();
    return true;
}

void BaseMiniGame::RaiseDone() {
    KorvoGame::GameFlowManager* flow = GameFlow();
    if (m_ControlsLevelFlow && flow)
        flow->GetController()->SetDone(true);
}

void BaseMiniGame::EnterLevel(Entities::Level* level) {
    if (!TakeLevel(level))
        return;
    BaseGame::SeedFromReplay();
    m_Set = new Entities::Set(level->GetName());
    m_OwnsSet = true;
    level->SetSet(m_Set);
    LoadLevel(true);
    if (KorvoGame::GameFlowManager* flow = GameFlow(); flow && !m_WaitingToStart) {
        flow->GetFrameEvent().AddDelegate(&m_StartDelegate);
        m_WaitingToStart = true;
    }
    OnStep("EnterLevel");
}

void BaseMiniGame::OnStartFrame(u32 ms) {
    s_StartAccumulator += ms;
    if (s_StartAccumulator <= kStartDelayMs)
        return;
    if (m_Set)
        for (const TString<char>& package : m_Set->m_PackageNames)
            if (!Bridge::FileSystem::IsPackageLoaded(package))
                return;
    s_StartAccumulator -= kStartDelayMs;
    StopWaiting();
    InitializeLevel();
    RaiseDone();
}

void BaseMiniGame::LoadLevel(bool initializeSet) {
    EnableTeamActions(false);
    m_InitializeSet = initializeSet;
    if (KorvoGame::GameFlowManager* flow = GameFlow())
        flow->LoadLevel(m_LevelFileName, m_Level);
    OnStep("LoadLevel");
}

void BaseMiniGame::InitializeLevel() {
    Bridge::RenderingSystem::Initialize(m_Set);
    OnStep("RenderingSystem::Initialize");
    Bridge::CollisionSystem::Initialize(m_Set);
    OnStep("CollisionSystem::Initialize");
    Bridge::AudioProcessingSystem::Initialize(m_Set);
    OnStep("AudioProcessingSystem::Initialize");
    Bridge::VideoProcessingSystem::Initialize(m_Set);
    OnStep("VideoProcessingSystem::Initialize");
    if (m_InitializeSet)
        if (KorvoGame::GameFlowManager* flow = GameFlow()) {
            flow->InitializeSet(m_Set);
            OnStep("InitializeSet");
        }
    BaseGame* game = BaseGame::Current();
    if (m_AIFactory && game) {
        for (Entities::Team* team : m_Teams) {
            if (!team)
                continue;
            // A player's start may change the member list.
            const std::vector<Entities::BaseTeamMember*> members = team->m_Members;
            for (Entities::BaseTeamMember* member : members) {
                if (!member || !member->m_ComputerPlay || !member->m_ComputerPlay2)
                    continue;
                IBaseAI* ai = m_AIFactory->Acquire();
                if (!ai)
                    continue;
                ai->Initialize(team, member);
                game->GetAIManager().m_AIs.push_back(ai);
            }
        }
        OnStep("AIs");
    }
    EnableTeamActions(true);
    OnStep("TeamActions on");
}

void BaseMiniGame::ResumeLevel(Entities::Level* level) {
    if (!TakeLevel(level))
        return;
    level->SetReady(false);
    EnableInput(true);
    OnLevelResumed();
    RaiseDone();
    OnStep("ResumeLevel");
}

void BaseMiniGame::StartLevel(Entities::Level* level) {
    if (!TakeLevel(level))
        return;
    EnableTeamActions(true);
    level->SetRunning(true);
    level->SetReady(true);
    OnLevelStarted();
    OnStep("StartLevel");
}

void BaseMiniGame::LeaveLevel(Entities::Level* level) {
    if (!TakeLevel(level))
        return;
    level->SetRunning(false);
    // A level left before its start never starts.
    StopWaiting();
    Entities::GameEntityFactory::Instance()->ResetFactory("playercursor");
    CleanupLevel();
    UnloadLevelPackages();
    RaiseDone();
    if (m_OwnsSet) {
        m_Set->RemoveAll();
        if (level->GetSet() == m_Set)
            level->SetSet(nullptr);
        delete m_Set;
    }
    m_Set = nullptr;
    m_OwnsSet = false;
    OnStep("LeaveLevel");
}

void BaseMiniGame::CleanupLevel() {
    if (m_Set)
        KorvoGame::CharacterManager::Instance()->RemoveAppearances(*m_Set);
    EnableInput(false);
    OnStep("Input off");
    if (m_Set) {
        Bridge::CollisionSystem::Cleanup(m_Set);
        Bridge::CollisionSystem::Reset();
        OnStep("CollisionSystem::Cleanup");
        Bridge::CleanupAnimations(m_Set);
        OnStep("CleanupAnimations");
        Bridge::RenderingSystem::Cleanup(m_Set);
        OnStep("RenderingSystem::Cleanup");
        Bridge::AudioProcessingSystem::Cleanup(m_Set);
        m_Set->VolatileDatas.Remove(Entities::VolatileDataKeys::kENGINE_DATA_AUDIO);
        OnStep("AudioProcessingSystem::Cleanup");
        Bridge::VideoProcessingSystem::Cleanup(m_Set);
        OnStep("VideoProcessingSystem::Cleanup");
        m_Set->Clear();
        OnStep("Set::Clear");
    }
    if (m_Level) {
        m_Level->SetStatus(kClosedLevelStatus);
        if (KorvoGame::GameFlowManager* flow = GameFlow())
            flow->ApplyLevelStatusModifiers(m_Level);
    }
    EnableInput(true);
    OnStep("Input on");
    if (m_AIFactory) {
        m_AIFactory->ResetAll();
        if (BaseGame* game = BaseGame::Current())
            game->GetAIManager().m_AIs.clear();
        OnStep("AI reset");
    }
    Widget::ScreenManager::Instance().ClosePopups();
    BehaviorManager::Instance()->ResetBehaviors();
    OnStep("ResetBehaviors");
}

void BaseMiniGame::UnloadLevelPackages() {
    if (!m_Set)
        return;
    std::vector<TString<char>>& packages = m_Set->m_PackageNames;
    for (auto it = packages.rbegin(); it != packages.rend(); ++it)
        Bridge::FileSystem::UnloadPackage(*it);
    packages.clear();
    OnStep("UnloadLevelPackages");
}

void BaseMiniGame::OnRestart(Bridge::sActionData*) {
    if (m_Level) {
        m_Level->SetRunning(false);
        m_Level->SetReady(false);
    }
    Widget::ScreenManager::Instance().ClosePopups();
    if (KorvoGame::GameFlowManager* flow = GameFlow())
        flow->RestartLevel();
}

}  // namespace GameServices::MiniGame
