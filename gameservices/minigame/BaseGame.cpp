#include "gameservices/minigame/BaseGame.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <optional>
#include <thread>

#include "engine/core/AGApplication.h"
#include "engine/core/AGLog.h"
#include "engine/core/PCJobber.h"
#include "engine/core/PCJobsManager.h"
#include "engine/core/PCSavegameManager.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/bridge/systems/AnimationPools.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/bridge/systems/BridgeSystems.h"
#include "gameservices/bridge/systems/CollisionSystem.h"
#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/entities/EntityFactory.h"
#include "gameservices/entities/GameAudioAssetFactory.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/GameVideoAssetFactory.h"
#include "gameservices/entities/Level.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/game/AppearanceManager.h"
#include "gameservices/game/CharacterAppearanceService.h"
#include "gameservices/game/CharacterAssemblyManager.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/EntityDataExtensionFactory.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/game/PartPools.h"
#include "gameservices/game/SavedGameManager.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/game/TimerManager.h"
#include "gameservices/game/sEntityScrollableViewportZoneData.h"
#include "gameservices/game/sEntitySpawnerData.h"
#include "gameservices/minigame/BaseMiniGame.h"
#include "gameservices/minigame/EntityAnimationPools.h"
#include "gameservices/minigame/BehaviorManager.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetManager.h"
#include "platform/core/Clock.h"
#include "platform/window/Replay.h"

namespace GameServices::MiniGame {

using Bridge::DeviceSystem;
using Bridge::FileSystem;
using KorvoGame::RuntimeParameters;
using Widget::ScreenManager;

namespace {

constexpr const char* kSection = BaseGame::kParameterSection;
// The last three words of the draws' start (the first comes from the clock or a replay's seed).
constexpr u32 kRandomY = 362436069u, kRandomZ = 521288629u, kRandomW = 88675123u;
// No user-interface language is supported by its own tables: every index gives index 0.
constexpr u32 kSupportedLanguages = 0;
constexpr const char* kLanguages[] = {"english", "french",   "spanish",  "german",  "italian",
                                      "dutch",   "japanese", "korean",   "tchinese", "portuguese",
                                      "schinese", "polish",  "russian"};

Widget::Panel* CurrentRootPanel() {
    Widget::Screen* screen = ScreenManager::Instance().GetCurrentScreen();
    return screen ? screen->m_RootPanel : nullptr;
}

void UpdateScreenTransforms() {
    if (Widget::Panel* root = CurrentRootPanel())
        Widget::RenderingSystemWidget::UpdateTransforms(*root);
}

// Parts still handed out by the process-wide pools when the game ends.
template <typename T>
void ReportPartsInUse(const char* pool) {
    if (const u32 used = KorvoGame::PartPool<T>().GetUsedCount())
        AGReport("%s: %u still in use at game end", pool, used);
}

// Package mounts still running on the worker use the file system's directories: wait for
// them, unless the worker is gone and they will never run.
void WaitForPackageMounts() {
    while (FileSystem::HasPendingMounts()) {
        PCJobsManager* jobs = PCJobsManager::Get();
        PCJobber* worker = jobs ? jobs->GetJobber(0) : nullptr;
        if (!worker || !worker->IsStarted())
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

}  // namespace

BaseGame::BaseGame() {
    SetInstance(this);
    CreateManagers();
}

void BaseGame::CreateManagers() {
    m_GameFlow = std::make_unique<KorvoGame::GameFlowManager>();
    m_GameFlow->SetAppearanceService(KorvoGame::CharacterAppearanceService::Instance());
    m_Actions = std::make_unique<KorvoGame::ActionManager>();
    m_Registry = std::make_unique<KorvoGame::TeamRegistry>();
    m_SavedGames = std::make_unique<KorvoGame::SavedGameManager>();
}

BaseGame::~BaseGame() {
    if (m_Started)
        BaseGame::Shutdown();
    if (Get() == this)
        SetInstance(nullptr);
}

BaseGame* BaseGame::Current() { return dynamic_cast<BaseGame*>(ICurrentGame::Get()); }

TString<char> BaseGame::LanguageName(u32 index) {
    if (index >= std::size(kLanguages)) {
        AGReport("unknow language id");
        return TString<char>();
    }
    return kLanguages[index];
}

void BaseGame::AddModule(KorvoGame::IModule* module) {
    if (module && std::find(m_Modules.begin(), m_Modules.end(), module) == m_Modules.end())
        m_Modules.push_back(module);
}

void BaseGame::UnregisterModule(KorvoGame::IModule* module) {
    auto it = std::find(m_Modules.begin(), m_Modules.end(), module);
    if (it != m_Modules.end())
        m_Modules.erase(it);
}

Entities::Level* BaseGame::GetCurrentLevelObject() const {
    KorvoGame::LevelTransitionController* controller = m_GameFlow ? m_GameFlow->GetController() : nullptr;
    KorvoGame::LevelTransition* current = controller ? controller->GetCurrent() : nullptr;
    return current ? current->GetLevel() : nullptr;
}

Entities::Set* BaseGame::GetCurrentLevel() {
    Entities::Level* level = GetCurrentLevelObject();
    return level ? level->GetSet() : nullptr;
}

void BaseGame::RegisterLevelDelegates() {
    for (BaseMiniGame* mode : m_MiniGames)
        mode->RegisterLevelDelegates();
}

void BaseGame::Initialize() {
    if (m_Started)
        return;
    // A game started again after its shutdown gets new managers.
    if (!m_GameFlow)
        CreateManagers();
    RuntimeParameters* parameters = nullptr;
    if (!FileSystem::LoadPackage(kSystemPackage, false))
        AGReportFatal("The system package %s is missing or damaged: the game cannot run without it", kSystemPackage);
    OnStep("LoadPackage gsSystem.dir");

    u32 language = 0;
    if (AGApplication::s_uiLanguage < 32 && (kSupportedLanguages >> AGApplication::s_uiLanguage) & 1u)
        language = AGApplication::s_uiLanguage;
    Bridge::SetLocalizationLanguage(m_Language.IsEmpty() ? LanguageName(language) : m_Language);
    OnStep("SetLocalizationLanguage");

    FileSystem::LoadPackage(kStringPackage, false);
    OnStep("LoadPackage gstrcsystem.dir");
    Bridge::LoadLocalizationTable(kStringTable);
    OnStep("LoadLocalizationTable");

    parameters = RuntimeParameters::Instance();
    const TString<char> parametersPath = FileSystem::GetFilePath(Bridge::FILE_GLOBAL_XML, kParametersFile);
    if (!parameters->LoadRuntimeParameters(parametersPath))
        AGReportFatal("Can not read the parameters file %s: the game cannot run without it", parametersPath.c_str());
    OnStep("LoadRuntimeParameters");
    parameters->GetParameter(&m_PlayerCount, kSection, "NbPlayer");
    parameters->GetParameter(&m_RequiredPlayers, kSection, "NbPlayerRequired");
    parameters->GetParameter(&m_Language, kSection, "Language");
    OnStep("ReadPlayers");

    BehaviorManager::Instance()->LoadBehaviors(FileSystem::GetFilePath(Bridge::FILE_GLOBAL_XML, "Behaviors.xml"));
    OnStep("LoadBehaviors");

    // The device manager follows the device-lost event of the device system published now.
    DeviceSystem::Instance();
    m_Devices = std::make_unique<KorvoGame::DeviceManager>();
    m_Devices->SetSuppressed(true);
    m_Devices->SetDeviceRange(m_RequiredPlayers, m_PlayerCount);
    m_Devices->SetSuppressed(false);
    OnStep("DeviceManager");

    m_DeviceSystem = DeviceSystem::Instance();
    m_DeviceSystem->SetActive(true);
    AddModule(m_DeviceSystem);
    OnStep("AddModule DeviceSystem");

    const TString<char> levelsPath = FileSystem::GetFilePath(Bridge::FILE_LEVEL_XML, kLevelsFile);
    if (!m_GameFlow->LoadLevelTransitions(levelsPath) || m_GameFlow->GetTransitions().empty())
        AGReportFatal("Can not read the level list %s: the game cannot run without it", levelsPath.c_str());
    AddModule(m_GameFlow.get());
    OnStep("AddModule GameFlowManager");

    Entities::GameEntityFactory::Instance()->RegisterFactory(
        "playercursor", new Entities::EntityFactory<KorvoGame::CollisionCursor>(6, "playercursor"));
    KorvoGame::CollisionCursor::SetLevelSetSource([this]() -> Entities::Set* {
        KorvoGame::LevelTransition* next = m_GameFlow ? m_GameFlow->GetNextLevel() : nullptr;
        return next && next->GetLevel() ? next->GetLevel()->GetSet() : nullptr;
    });
    OnStep("RegisterFactory playercursor");

    parameters->GetParameter(&m_ActionContext, kSection, "ActionContext");
    m_Actions->SetActionContext(m_ActionContext);
    OnStep("SetActionContext");

    ScreenManager& screens = ScreenManager::Instance();
    m_Teams = std::make_unique<KorvoGame::TeamActionManager>(*m_Actions, *m_Devices);
    m_Teams->SetEnabled(false);
    m_Teams->SetPopupService(&screens);
    OnStep("TeamActionManager");

    m_DeviceSystem->Startup();
    Widget::RenderingSystemWidget::InstallLevelRendering();
    Bridge::RenderingSystem::Startup();
    Bridge::CollisionSystem::Startup();
    m_GameFlow->SetBridgeSystems(Bridge::BridgeSystems::Instance());
    m_GameFlow->SetScreenManager(&screens);
    screens.LoadNavigation();
    screens.LoadPopups();
    Bridge::CreateEngineAnimationFactories();
    Bridge::CreateEntityAnimationFactories();
    CreateEntityControllerPools();
    Entities::GameEntityFactory::Instance()->RegisterEntityFactories();
    Entities::GameAudioAssetFactory::Instance()->RegisterAudioAssetFactory();
    Entities::GameVideoAssetFactory::Instance()->RegisterVideoAssetFactory();
    OnStep("StartServices");

    // The video player reports the end of a video through the video processing system's own
    // event, which needs no callback object here.
    OnStep("VideoEndCallback");

    KorvoGame::CharacterAssemblyManager::Instance();
    KorvoGame::AppearanceManager::Instance();
    KorvoGame::CharacterManager::Instance();
    OnStep("CharacterSingletons");

    parameters->GetParameter(&m_TimerCount, kSection, "NbGlobalTimer");
    m_Timers = KorvoGame::TimerManager::Instance();
    m_Timers->Initialize(m_TimerCount);
    OnStep("TimerManager");

    // The spawner is offered first, so a set element carrying both records gets the spawner.
    m_SpawnerExtension = std::make_unique<sEntitySpawnerData>();
    m_ViewportZoneExtension = std::make_unique<sEntityScrollableViewportZoneData>();
    KorvoGame::EntityDataExtensionFactory::Instance()->Register(m_SpawnerExtension.get());
    KorvoGame::EntityDataExtensionFactory::Instance()->Register(m_ViewportZoneExtension.get());
    OnStep("EntityDataExtensions");

    const PCSavegameManager* platformSaves = PCSavegameManager::Get();
    const u32 saveSize = platformSaves ? platformSaves->GetMaxSize() : 0;
    m_SavedGames->SetSaveSize(saveSize);
    if (saveSize == 0)
        AGReport("You must set the SaveGameSize value (in byte) in your zavApp.cfg");
    m_SavedGames->SetPopups(&screens);
    OnStep("SavedGameManager");

    RegisterLevelDelegates();
    OnStep("RegisterLevelDelegates");

    ChooseFirstLevel();
    OnStep("ChooseFirstLevel");

    if (!SeedFromReplay())
        Bridge::SeedRandom(u32(platform::NowNs()), kRandomY, kRandomZ, kRandomW);
    OnStep("SeedRandom");

    AddModule(&m_AIManager);
    OnStep("AddModule AIManager");

    Widget::WidgetManager::Instance();
    Bridge::RenderingSystem::GetSharedGraphicLayer();
    KorvoGame::CharacterAssemblyManager::Instance()->PreloadCharacterAssemblies();
    OnStep("PreloadCharacterAssemblies");
    m_Started = true;
}

bool BaseGame::SeedFromReplay() {
    const std::optional<uint32_t> seed = platform::window::ReplaySeed();
    if (seed)
        Bridge::SeedRandom(*seed, kRandomY, kRandomZ, kRandomW);
    return seed.has_value();
}

void BaseGame::ChooseFirstLevel() {
    RuntimeParameters* parameters = RuntimeParameters::Instance();
    m_StartLevelId = TString<char>();
    parameters->GetParameter(&m_StartLevelId, kSection, "StartLevelId");
    if (!m_StartLevelId.IsEmpty()) {
        const i32 id = i32(std::strtol(m_StartLevelId.c_str(), nullptr, 10));
        if (id == -1)
            AGReport("Invalid Level Id");
        m_GameFlow->SetNextLevelById(u32(id));
        return;
    }
    parameters->GetParameter(&m_StartScreenId, kSection, kStartScreenKey);
    m_GameFlow->SetNextLevel(m_StartScreenId, nullptr, true);
}

void BaseGame::Update(u32 frameMs) {
    if (!m_Paused) {
        if (KorvoGame::LevelTransitionController* controller = m_GameFlow->GetController())
            controller->Update();
        if (m_Timers)
            m_Timers->Update(frameMs);
    }
    UpdateWorld(frameMs);
}

void BaseGame::UpdateWorld(u32 frameMs) {
    ScreenManager::Instance().Update(frameMs);
    // A module may add or remove modules.
    const std::vector<KorvoGame::IModule*> modules = m_Modules;
    for (KorvoGame::IModule* module : modules)
        if (std::find(m_Modules.begin(), m_Modules.end(), module) != m_Modules.end() &&
            (!m_Paused || !module->IsPausable()))
            module->Update(frameMs);
    if (m_Paused)
        return;
    Entities::Level* level = GetCurrentLevelObject();
    if (level && level->IsRunning() && level->IsReady() && level->GetSet()) {
        Entities::Set* set = level->GetSet();
        Bridge::RenderingSystem::Update(set);
        Bridge::AudioProcessingSystem::Update(set);
        Bridge::VideoProcessingSystem::Update(set);
        Bridge::UpdateAnimations(set, frameMs);
        Bridge::CollisionSystem::Update(set);
    }
    UpdateScreenTransforms();
}

void BaseGame::SetPause(bool paused) {
    if (paused == m_Paused)
        return;
    if (paused)
        UpdateWorld(16);
    Bridge::VideoProcessingSystem::PauseAudioAndVideo(paused);
    m_Paused = paused;
    if (m_DeviceSystem)
        m_DeviceSystem->SetPaused(paused);
    g_renderPause = paused ? 1 : 0;
    Entities::Set* set = GetCurrentLevel();
    if (set)
        Bridge::RenderingSystem::PauseScenes(set, paused);
    PauseEmitters(CurrentRootPanel(), paused);
    if (!paused)
        return;
    if (set)
        Bridge::RenderingSystem::Update(set);
    for (int i = 0; i < 3; ++i)
        UpdateScreenTransforms();
}

void BaseGame::SetPausePopup(Widget::Popup* popup) {
    if (m_PausePopup) {
        m_PausePopup->m_ClosedEvent.RemoveDelegate(&m_UnPause);
        if (m_Teams)
            m_Teams->UnlistenTeamAction(&m_UnPauseRequest, "UnPause");
    }
    m_PausePopup = popup;
    if (!popup)
        return;
    popup->m_ClosedEvent.AddDelegate(&m_UnPause);
    if (m_Teams)
        m_Teams->ListenTeamAction(&m_UnPauseRequest, "UnPause");
}

void BaseGame::OnUnPauseRequest(KorvoGame::TeamActionData*) {
    if (m_Paused)
        ScreenManager::Instance().HidePopup(kPausePopup);
}

void BaseGame::OnUnPause() {
    if (m_PausePopup)
        m_PausePopup->m_ClosedEvent.RemoveDelegate(&m_UnPause);
    m_Paused = false;
    if (m_Teams)
        m_Teams->UnlistenTeamAction(&m_UnPauseRequest, "UnPause");
    m_PausePopup = nullptr;
    if (m_DeviceSystem)
        m_DeviceSystem->SetPaused(false);
    Bridge::VideoProcessingSystem::PauseAudioAndVideo(false);
    g_renderPause = 0;
    Bridge::RenderingSystem::PauseScenes(GetCurrentLevel(), false);
}

void BaseGame::PauseEmitters(Widget::Panel* panel, bool paused) {
    Widget::PauseEmitters(panel, paused);
}

void BaseGame::ListenLevelActions() {
    m_Actions->ListenAction("NextLevel", &m_NextLevel);
    m_Actions->ListenAction("PreviousLevel", &m_PreviousLevel);
    m_Actions->ListenAction("LoadLevel", &m_LoadLevel);
}

void BaseGame::SelectLevel(i32 index) {
    const auto& levels = m_GameFlow->GetTransitions();
    // Without levels there is nothing to cycle through.
    if (levels.empty())
        return;
    const i32 count = i32(levels.size());
    m_LevelIndex = index >= count ? 0 : index < 0 ? count - 1 : index;
    m_SelectedLevel = levels[size_t(m_LevelIndex)]->GetFileName();
    s_LevelSelection.Fire(m_SelectedLevel);
}

void BaseGame::OnNextLevel(Bridge::sActionData*) { SelectLevel(m_LevelIndex + 1); }

void BaseGame::OnPreviousLevel(Bridge::sActionData*) { SelectLevel(m_LevelIndex - 1); }

void BaseGame::OnLoadLevel(Bridge::sActionData*) {
    KorvoGame::LevelTransitionController* controller = m_GameFlow->GetController();
    m_GameFlow->SetNextLevel(m_SelectedLevel, controller ? controller->GetCurrent() : nullptr, false);
}

void BaseGame::Shutdown() {
    if (!m_Started)
        return;
    m_Started = false;
    ScreenManager& screens = ScreenManager::Instance();
    Bridge::UnloadLocalizationTable(kStringTable);
    OnStep("UnloadLocalizationTable");

    m_DeviceSystem->SetActive(false);
    SetPausePopup(nullptr);
    screens.ClosePopups();
    // The screen gives its package resources back before the packages are unmounted.
    screens.CloseCurrentScreen();
    OnStep("ClosePopups");

    if (Entities::Level* level = GetCurrentLevelObject()) {
        level->GetClosingEvent().Fire(level);
        level->SetRunning(false);
    }
    OnStep("CloseLevel");

    WaitForPackageMounts();
    FileSystem::Destroy();
    OnStep("FileSystem::Destroy");
    KorvoGame::EntityDataExtensionFactory::Instance()->Unregister(m_SpawnerExtension.get());
    KorvoGame::EntityDataExtensionFactory::Instance()->Unregister(m_ViewportZoneExtension.get());
    m_SpawnerExtension.reset();
    m_ViewportZoneExtension.reset();
    OnStep("EntityDataExtensions::Delete");
    KorvoGame::EntityDataExtensionFactory::Destroy();
    OnStep("EntityDataExtensionFactory::Destroy");
    Bridge::DestroyEngineAnimationFactories();
    OnStep("DestroyEngineAnimationFactories");
    m_GameFlow->SetBridgeSystems(nullptr);
    Bridge::RenderingSystem::Shutdown();
    OnStep("RenderingSystem::Shutdown");
    Bridge::DestroyEntityAnimationFactories();
    DestroyEntityControllerPools();
    OnStep("DestroyEntityAnimationFactories");
    RuntimeParameters::Destroy();
    OnStep("RuntimeParameters::Destroy");
    m_Timers = nullptr;
    KorvoGame::TimerManager::Destroy();
    OnStep("TimerManager::Destroy");
    KorvoGame::CollisionCursor::SetLevelSetSource({});
    Entities::GameEntityFactory::Destroy();
    Entities::GameAudioAssetFactory::Destroy();
    Entities::GameVideoAssetFactory::Destroy();
    OnStep("AssetFactories::Destroy");
    BehaviorManager::Instance()->ResetBehaviors();
    OnStep("ResetBehaviors");
    // The managers follow the device system's events: they go before it.
    m_Teams.reset();
    m_Devices.reset();
    UnregisterModule(m_DeviceSystem);
    m_DeviceSystem = nullptr;
    DeviceSystem::Shutdown();
    OnStep("DeviceSystem::Shutdown");
    KorvoGame::CharacterAssemblyManager::Destroy();
    KorvoGame::AppearanceManager::Destroy();
    KorvoGame::CharacterManager::Destroy();
    OnStep("CharacterManagers::Destroy");
    Bridge::CollisionSystem::Shutdown();
    OnStep("CollisionSystem::Shutdown");

    m_Registry->DeleteAll();
    // The modes outlive the flow's levels: they stop following them before the levels go.
    for (BaseMiniGame* mode : m_MiniGames)
        mode->ForgetLevels();
    m_GameFlow.reset();
    m_Actions.reset();
    m_Registry.reset();
    m_MiniGames.clear();
    m_AIManager.m_AIs.clear();
    m_SavedGames.reset();
    m_Modules.clear();
    OnStep("DeleteManagers");

    ReportPartsInUse<KorvoGame::Appearance>("Appearances");
    ReportPartsInUse<KorvoGame::AppearanceId>("AppearanceIds");
    ReportPartsInUse<KorvoGame::OutfitPart>("OutfitParts");
    ReportPartsInUse<KorvoGame::AnatomyPart>("AnatomyParts");
    ReportPartsInUse<KorvoGame::CharacterAssembly>("CharacterAssemblies");
    OnStep("PartPools");
}

}  // namespace GameServices::MiniGame
