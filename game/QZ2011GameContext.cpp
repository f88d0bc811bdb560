#include "game/QZ2011GameContext.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "game/rules/AnswerResult.h"
#include "game/rules/Family.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/EntityFactory.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/minigame/MiniGameManager.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PlayerProfileManager.h"
#include "gameshow/Sequence.h"
#include "gameshow/WardrobeManager.h"
#include "questions/AnswerMatcher.h"
#include "questions/Autocompleter.h"
#include "questions/QuestionManager.h"

namespace {

// Buzzers open, face-off and sudden-death answers: no sequence is skipped then.
bool PhaseForbidsSkipping(i32 phase) {
    switch (phase) {
    case QZ2011::PhaseFaceOffBuzz:
    case QZ2011::PhaseFaceOffFirstAnswer:
    case QZ2011::PhaseFaceOffSecondAnswer:
    case QZ2011::PhaseSuddenDeathBuzz:
    case QZ2011::PhaseSuddenDeathFirstAnswer:
    case QZ2011::PhaseSuddenDeathSecondAnswer:
        return true;
    default:
        return false;
    }
}

}  // namespace

const char* const QZ2011GameContext::kPackages[kPackageCount] = {
    "GlobalXml.dir",          "Global2D.dir",
    "Global3D.dir",           "CharactereXML.dir",
    "GameQuestions.dir",      "GameAudios.dir",
    "GameAudiosNotStreamed.dir", "MenuXmls.dir",
    "general_globalgameassets.dir", "specific_globalgameassets.dir",
    "gameshowavatar3d.dir",   "gameshowavatarxmls.dir"};

QZ2011GameContext::QZ2011GameContext() {
    m_GamePhase = QZ2011::PhaseNone;
    m_Decade = kNoDecade;
    m_PlayerTwoFamily = nullptr;
    m_Match.SetRoundRules(&m_RoundRules);
    ResetGameState();
    RegisterPages();
}

QZ2011GameContext::~QZ2011GameContext() {
    if (m_Started)
        QZ2011GameContext::Shutdown();
    if (m_MenuScreen.IsLoaded())
        m_MenuScreen.onUnload();
    UnregisterPages();
    DeleteFamilies();
}

void QZ2011GameContext::RegisterPages() {
    GameShow::CompositionManager& pages = GameShow::CompositionManager::Instance();
    const std::pair<const char*, GameShow::CompositionBase*> order[kPageCount] = {
        {GameShow::AwardsComposition::kName, &m_AwardsPage},
        {GameShow::BasicLookComposition::kName, &m_BasicLookPage},
        {GameShow::ConnectionErrorComposition::kName, &m_ConnectionErrorPage},
        {GameShow::GroupAwardsComposition::kName, &m_GroupAwardsPage},
        {GameShow::KeyboardComposition::kName, &m_KeyboardPage},
        {GameShow::WardrobeComposition::kName, &m_WardrobePage},
        {GameShow::OptionsComposition::kName, &m_OptionsPage},
        {GameShow::CompositionManager::kMainMenu, &m_MainMenuPage},
        {GameShow::ProfilesComposition::kName, &m_ProfilesPage},
        {GameShow::NumberOfPlayerComposition::kName, &m_NumberOfPlayerPage},
        {GameShow::CreditsComposition::kName, &m_CreditsPage},
        {QZ2011::QZ11DecadeSelector::kName, &m_DecadeSelector},
        {QZ2011::QZ11DifficultySelector::kName, &m_DifficultySelector},
    };
    for (const auto& [name, page] : order)
        pages.RegisterComposition(name, page);
}

void QZ2011GameContext::UnregisterPages() {
    GameShow::CompositionManager& pages = GameShow::CompositionManager::Instance();
    for (GameShow::CompositionBase* page : std::initializer_list<GameShow::CompositionBase*>{
             &m_AwardsPage, &m_BasicLookPage, &m_ConnectionErrorPage, &m_GroupAwardsPage, &m_KeyboardPage,
             &m_WardrobePage, &m_OptionsPage, &m_MainMenuPage, &m_ProfilesPage, &m_NumberOfPlayerPage,
             &m_CreditsPage, &m_DecadeSelector, &m_DifficultySelector})
        pages.UnregisterComposition(page->GetName(), page);
}

void QZ2011GameContext::OnProfilesLoaded() {
    m_AwardsPage.LoadAwards();
    GameShow::Settings* settings = GameShow::PlayerProfileManager::Instance()->GetSettings();
    if (m_AwardManager && settings && settings->CurrentSavedGame != -1)
        m_AwardManager->CheckAllUnlocks();
}

void QZ2011GameContext::OnProfileChanged() {
    m_AwardsPage.RefreshAwards();
    if (m_AwardManager)
        m_AwardManager->CheckAllUnlocks();
    m_AwardsPage.UpdateAwardCount();
}

void QZ2011GameContext::NotifyAwardUnlocked(const TString<char>& title, bool isNew) {
    m_UnlockedAwardName = title;
    m_AwardsPage.UnlockAward(title, isNew);
}

QZ2011GameContext* QZ2011GameContext::Current() { return dynamic_cast<QZ2011GameContext*>(BaseGame::Current()); }

void QZ2011GameContext::Initialize() {
    if (m_Started)
        return;
    m_Started = true;
    MountPackages();
    CreateFamilies();
    GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
    profiles->Initialize();

    m_AnswerRecord = new QZ2011::AnswerResult();
    m_AnswerRecord->m_FaceOffReplay = 0;
    m_FaceOffWinner = -1;
    m_AnswerRecord->m_Game = dynamic_cast<QZ2011::QZ11Game*>(
        GameServices::MiniGame::MiniGameManager::FindMinigame(QZ2011::QZ11Game::kLevelName, GetMiniGames()));
    m_TypedAnswer = "Cat";

    m_SequenceManager = new GameShow::SequenceManager();
    m_AudioSequencer = new QZ2011::AudioSequencerQZ();
    m_EntitySequencer = new GameShow::EntitySequencer();
    m_CameraSequencer = new GameShow::CameraSequencer();
    m_GameShowCameraSequencer = new GameShow::GameShowCameraSequencer();
    m_AudioManager = new QZ2011::AudioManagerQZ();
    m_AwardManager = new QZ2011::AwardManager(this, GetMiniGames());
    GameShow::ISequencer* sequencers[] = {m_EntitySequencer, m_CameraSequencer, m_AudioSequencer,
                                          m_GameShowCameraSequencer};
    for (size_t i = 0; i < std::size(kSequencerNames); ++i)
        m_SequenceManager->RegisterSequencer(Crc32Hash(kSequencerNames[i]), sequencers[i]);
    profiles->GetProfilesLoadedEvent().AddDelegate(&m_ProfilesLoaded);
    profiles->GetProfileSelectedEvent().AddDelegate(&m_ProfileChanged);
    m_KeyboardPage.SetMaxNameLength(kKeyboardNameLength);
    GameServices::KorvoGame::ApplicationData::RegisterPrototype(GameServices::KorvoGame::ApplicationData::kCamera,
                                                                &m_CameraRecord);
    AddModule(m_SequenceManager);
    BaseGame::Initialize();
    // Each camera reads its camera behaviours when made: the packages are mounted by now.
    GameServices::Entities::GameEntityFactory::Instance()->RegisterFactory(
        "GameShowCamera",
        new GameServices::Entities::EntityFactory<GameShow::GameShowCamera>(kGameShowCameraPool, "GameShowCamera"));
    m_RoundBank = 0;

    QZ2011::QuestionServices services;
    services.settings = profiles;
    services.context = this;
    services.saves = profiles;
    services.randomRange = &GameServices::Bridge::RandomRange;
    m_QuestionManager = new QZ2011::QuestionManager(services);
    m_Autocompleter = new QZ2011::Autocompleter();
    SetMatcherDictionary(m_Autocompleter);
    m_QuestionManager->Initialize();
    for (int decade = 0; decade < 4; ++decade)
        m_QuestionCounts[decade] = u32(m_QuestionManager->LastIndex(decade));
    m_Autocompleter->Load();
    if (m_CheckScreenLayouts)
        GameServices::Widget::ScreenManager::Instance().CheckScreenLayouts();
}

void QZ2011GameContext::MountPackages() {
    GameServices::Bridge::FileSystem::UsePackages();
    GameServices::Bridge::FileSystem::SetRootPath("");
    // The interface's pictures, the global records and the menus: without them the game shows a
    // black or empty window. The others have their fallbacks.
    constexpr const char* kRequired[] = {"GlobalXml.dir", "Global2D.dir", "MenuXmls.dir"};
    for (const char* package : kPackages)
        if (!GameServices::Bridge::FileSystem::LoadPackage(package, false) &&
            std::find_if(std::begin(kRequired), std::end(kRequired),
                         [package](const char* name) { return strcmp(name, package) == 0; }) != std::end(kRequired))
            AGReportFatal("The package %s is missing or damaged: the game cannot run without it", package);
}

void QZ2011GameContext::Update(u32 frameMs) {
    BaseGame::Update(frameMs);
    if (m_MenuTickMs < kMenuTickCapMs)
        m_MenuTickMs = frameMs > std::numeric_limits<u32>::max() - m_MenuTickMs ? std::numeric_limits<u32>::max()
                                                                               : m_MenuTickMs + frameMs;
    m_SkipAllowed = SkipAllowed() ? 1 : 0;
}

bool QZ2011GameContext::SkipAllowed() const {
    if (PhaseForbidsSkipping(m_GamePhase) ||
        GameShow::CompositionManager::Instance().m_PopupState != GameShow::CompositionManager::kPopupNone ||
        m_ScreenGame.m_QuitPromptOpen)
        return false;
    const GameShow::Sequence* sequence = m_SequenceManager ? m_SequenceManager->GetCurrentSequence() : nullptr;
    if (sequence && sequence->m_Skippable && m_CurrentFamily != kPlayerOneFamily &&
        m_CurrentFamily != kPlayerTwoFamily)
        return true;
    return m_TwoPlayers == 0 && m_AIBusy;
}

void QZ2011GameContext::Shutdown() {
    if (!m_Started)
        return;
    m_Started = false;
    // Whatever way the program ends (a confirmed quit, a signal), nothing earned stays unsaved.
    GameShow::PlayerProfileManager::Instance()->SaveUnsavedChanges();
    if (GameServices::KorvoGame::TeamRegistry* registry = GetTeamRegistry())
        registry->DeleteAll();
    // The registry deleted player one's family with its teams.
    m_PlayerOneFamily = nullptr;
    DeleteFamilies();
    Step("Delete families");
    for (const char* name : kSequencerNames)
        m_SequenceManager->UnregisterSequencer(Crc32Hash(name));
    Step("Unregister sequencers");
    GameShow::PlayerProfileManager* profiles = GameShow::PlayerProfileManager::Instance();
    profiles->GetProfilesLoadedEvent().RemoveDelegate(&m_ProfilesLoaded);
    profiles->GetProfileSelectedEvent().RemoveDelegate(&m_ProfileChanged);
    // No delegate of the context outlives it in the global device events.
    UnsubscribeDeviceEvents();
    Step("Remove delegates");
    GameShow::GameShowCameraManager* cameras = GameShow::GameShowCameraManager::Instance();
    cameras->SetSet(nullptr);
    cameras->SetActiveCamera(nullptr);
    Step("Release game-show cameras");
    // The wardrobe holds the parts of its last searches and put-ons from the shared pools, which
    // the base game finds empty at its end.
    GameShow::WardrobeManager::Destroy();
    BaseGame::Shutdown();
    m_QuestionManager->Cleanup();
    Step("Clean up questions");
    GameShow::PlayerProfileManager::Destroy();
    if (GameServices::KorvoGame::ApplicationData::GetPrototype(GameServices::KorvoGame::ApplicationData::kCamera) ==
        &m_CameraRecord)
        GameServices::KorvoGame::ApplicationData::RegisterPrototype(GameServices::KorvoGame::ApplicationData::kCamera,
                                                                    nullptr);
    delete m_AnswerRecord;
    m_AnswerRecord = nullptr;
    delete m_SequenceManager;
    m_SequenceManager = nullptr;
    delete m_AudioSequencer;
    m_AudioSequencer = nullptr;
    delete m_EntitySequencer;
    m_EntitySequencer = nullptr;
    delete m_CameraSequencer;
    m_CameraSequencer = nullptr;
    delete m_GameShowCameraSequencer;
    m_GameShowCameraSequencer = nullptr;
    delete m_AudioManager;
    m_AudioManager = nullptr;
    delete m_AwardManager;
    m_AwardManager = nullptr;
    delete m_QuestionManager;
    m_QuestionManager = nullptr;
    SetMatcherDictionary(nullptr);
    delete m_Autocompleter;
    m_Autocompleter = nullptr;
    Step("Delete services");
}
