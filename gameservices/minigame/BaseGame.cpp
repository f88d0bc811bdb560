#include "gameservices/minigame/BaseGame.h"

#include <algorithm>

#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/bridge/systems/BridgeSystems.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/bridge/systems/VideoProcessingSystem.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/game/SavedGameManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/ScreenManager.h"

namespace GameServices::MiniGame {

using Bridge::DeviceSystem;
using Widget::ScreenManager;

namespace {
constexpr const char* kStringTable = "gstrc";
}  // namespace

BaseGame::BaseGame() : m_GameFlow(std::make_unique<KorvoGame::GameFlowManager>()) {
    SetInstance(this);
}

BaseGame::~BaseGame() {
    if (m_Started)
        Shutdown();
    if (Get() == this)
        SetInstance(nullptr);
}

BaseGame* BaseGame::Current() { return dynamic_cast<BaseGame*>(ICurrentGame::Get()); }

void BaseGame::AddModule(KorvoGame::IModule* module) {
    if (module && std::find(m_Modules.begin(), m_Modules.end(), module) == m_Modules.end())
        m_Modules.push_back(module);
}

void BaseGame::RemoveModule(KorvoGame::IModule* module) { std::erase(m_Modules, module); }

void BaseGame::Initialize() {
    DeviceSystem* devices = DeviceSystem::Instance();
    OnStep("DeviceSystem");
    // It follows the device-lost event of the device system published now.
    m_Devices = std::make_unique<KorvoGame::DeviceManager>();
    OnStep("DeviceManager");
    m_Actions.SetActionContext("Default");
    OnStep("SetActionContext");
    m_Teams = std::make_unique<KorvoGame::TeamActionManager>(m_Actions, *m_Devices);
    OnStep("TeamActionManager");
    // The name of the interface language; the settings do not choose the table yet.
    Bridge::SetLocalizationLanguage("english");
    OnStep("SetLocalizationLanguage");
    Bridge::LoadLocalizationTable(kStringTable);
    OnStep("LoadLocalizationTable");
    devices->Startup();
    OnStep("DeviceSystem::Startup");
    devices->SetActive(true);
    OnStep("DeviceSystem::SetActive");
    Widget::RenderingSystemWidget::InstallLevelRendering();
    Bridge::RenderingSystem::Startup();
    m_GameFlow->SetBridgeSystems(Bridge::BridgeSystems::Instance());
    OnStep("RenderingSystem::Startup");
    AddModule(devices);
    OnStep("AddModule DeviceSystem");
    AddModule(m_GameFlow.get());
    OnStep("AddModule GameFlowManager");
    ScreenManager& screens = ScreenManager::Instance();
    m_GameFlow->SetScreenManager(&screens);
    m_Teams->SetPopupService(&screens);
    if (KorvoGame::SavedGameManager* saves = GetSavedGameManager())
        saves->SetPopups(&screens);
    OnStep("SetScreenManager");
    screens.LoadNavigation();
    OnStep("LoadNavigation");
    screens.LoadPopups();
    OnStep("LoadPopups");
    m_Started = true;
}

void BaseGame::SetPause(bool paused) {
    if (paused && !m_Paused)
        StepWorld();
    if (paused != m_Paused && IsLevelReady())
        Bridge::RenderingSystem::PauseScenes(m_CurrentLevel, paused);
    m_Paused = paused;
}

void BaseGame::PauseEmitters(Widget::Panel* panel, bool paused) {
    Widget::PauseEmitters(panel, paused);
}

void BaseGame::StepWorld() {
    if (IsLevelReady())
        UpdateLevelSystems(*m_CurrentLevel);
    Widget::Screen* screen = ScreenManager::Instance().GetCurrentScreen();
    if (screen && screen->m_RootPanel)
        Widget::RenderingSystemWidget::UpdateTransforms(*screen->m_RootPanel);
}

void BaseGame::StartLevel(Entities::Set* level) {
    m_CurrentLevel = level;
    m_LevelReady = false;
    if (!level)
        return;
    InitializeLevelSystems(*level);
    m_LevelReady = true;
}

void BaseGame::ResumeLevel() {
    DeviceSystem::Instance()->SetActive(true);
    OnStep("DeviceSystem::SetActive");
}

void BaseGame::CleanupLevel() {
    DeviceSystem* devices = DeviceSystem::Instance();
    devices->SetActive(false);
    OnStep("DeviceSystem::SetActive");
    if (IsLevelReady())
        CleanupLevelSystems(*m_CurrentLevel);
    m_LevelReady = false;
    devices->SetActive(true);
    OnStep("DeviceSystem::SetActive");
    ScreenManager::Instance().CloseCurrentScreen();
    OnStep("CloseCurrentScreen");
}

void BaseGame::InitializeLevelSystems(Entities::Set& level) {
    Bridge::RenderingSystem::Initialize(&level);
    OnStep("RenderingSystem::Initialize");
    Bridge::AudioProcessingSystem::Initialize(&level);
    OnStep("AudioProcessingSystem::Initialize");
    Bridge::VideoProcessingSystem::Initialize(&level);
    OnStep("VideoProcessingSystem::Initialize");
}

void BaseGame::UpdateLevelSystems(Entities::Set& level) {
    Bridge::RenderingSystem::Update(&level);
    OnStep("RenderingSystem::Update");
    Bridge::AudioProcessingSystem::Update(&level);
    Bridge::VideoProcessingSystem::Update(&level);
}

void BaseGame::CleanupLevelSystems(Entities::Set& level) {
    Bridge::RenderingSystem::Cleanup(&level);
    OnStep("RenderingSystem::Cleanup");
    Bridge::AudioProcessingSystem::Cleanup(&level);
    OnStep("AudioProcessingSystem::Cleanup");
    Bridge::VideoProcessingSystem::Cleanup(&level);
    OnStep("VideoProcessingSystem::Cleanup");
}

void BaseGame::Update(u32 frameMs) {
    if (!m_Paused)
        if (KorvoGame::LevelTransitionController* controller = m_GameFlow->GetController())
            controller->Update();
    ScreenManager::Instance().Update(frameMs);
    // A module may add or remove modules.
    const std::vector<KorvoGame::IModule*> modules = m_Modules;
    for (KorvoGame::IModule* module : modules)
        if (std::find(m_Modules.begin(), m_Modules.end(), module) != m_Modules.end() &&
            (!m_Paused || !module->IsPausable()))
            module->Update(frameMs);
    if (!m_Paused)
        StepWorld();
}

void BaseGame::Shutdown() {
    if (!m_Started)
        return;
    m_Started = false;
    DeviceSystem* devices = DeviceSystem::Instance();
    // A level still running gives its engine objects back while the pools exist.
    if (IsLevelReady())
        CleanupLevelSystems(*m_CurrentLevel);
    m_LevelReady = false;
    devices->SetActive(false);
    OnStep("DeviceSystem::SetActive");
    Bridge::UnloadLocalizationTable(kStringTable);
    OnStep("UnloadLocalizationTable");
    RemoveModule(devices);
    // The widgets follow the team actions: they go before the managers.
    ScreenManager::Instance().CloseCurrentScreen();
    ScreenManager::Instance().ClosePopups();
    OnStep("CloseCurrentScreen");
    // The managers follow the device system's events: they go before it.
    m_Teams.reset();
    m_Devices.reset();
    DeviceSystem::Shutdown();
    OnStep("DeviceSystem::Shutdown");
    m_GameFlow->SetBridgeSystems(nullptr);
    Bridge::RenderingSystem::Shutdown();
    OnStep("RenderingSystem::Shutdown");
    Bridge::FileSystem::Destroy();
    OnStep("FileSystem::Destroy");
}

}  // namespace GameServices::MiniGame
