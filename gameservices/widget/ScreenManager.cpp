#include "gameservices/widget/ScreenManager.h"

#include <algorithm>

#include "engine/core/AGAudioManager.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGVideoPlayer.h"
#include "engine/core/XmlReader.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/LevelTransitionController.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/PopupRecords.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetManager.h"

namespace GameServices::Widget {

namespace {

using Utilities::ISerialization;


bool LevelRunning() {
    KorvoGame::GameFlowManager* flow = CurrentGameFlow();
    KorvoGame::LevelTransitionController* controller = flow ? flow->GetController() : nullptr;
    return controller &&
           controller->GetPhase() == KorvoGame::LevelTransitionController::kPhaseRunning;
}

void PauseLevelScenes(Entities::Set* level, bool paused) {
    Bridge::RenderingSystem::PauseScenes(level, paused);
}

template <typename T>
bool Contains(const std::vector<T*>& list, const T* item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

void sSketchFlowScreenPosition::Serialize(ISerialization& s) {
    s.SerializeFloat("X", m_X, 0.0f);
    s.SerializeFloat("Y", m_Y, 0.0f);
}

void sSketchFlowScreen::Serialize(ISerialization& s) {
    s.SerializeString("DisplayName", m_DisplayName, TString<char>());
    s.SerializeString("FileName", m_FileName, TString<char>());
    s.SerializeString("Type", m_Type, TString<char>());
    s.SerializeObject("Position", m_Position, true);
}

void sSketchFlowConnection::Serialize(ISerialization& s) {
    s.SerializeString("Type", m_Type, TString<char>());
    s.SerializeString("Source", m_Source, TString<char>());
    s.SerializeString("Target", m_Target, TString<char>());
}

void sSketchFlow::Serialize(ISerialization& s) {
    m_Screens.SetItemName("Screen");
    m_Connections.SetItemName("Connection");
    s.SerializeObject("Screens", m_Screens, true);
    s.SerializeObject("Connections", m_Connections, true);
}

void PauseEmitters(Panel* panel, bool paused) {
    if (!panel)
        return;
    for (Widget* child : panel->m_Children) {
        if (child->IsA(TypeIds::Emitter3D))
            static_cast<Emitter3D*>(child)->m_Paused = paused ? 1 : 0;
        else if (child->IsA(TypeIds::Panel))
            PauseEmitters(static_cast<Panel*>(child), paused);
    }
}

ScreenManager& ScreenManager::Instance() {
    static ScreenManager s_manager;
    return s_manager;
}

ScreenManager::~ScreenManager() {
    DropPopups();
    m_PopupPool.reset();
    m_RegisteredPopups.clear();
    m_CurrentScreen = nullptr;
    for (Screen* screen : m_OwnedScreens)
        delete screen;
    m_OwnedScreens.clear();
    m_RegisteredScreens.clear();
}

void ScreenManager::RegisterScreen(Screen* screen) {
    if (screen && !Contains(m_RegisteredScreens, screen))
        m_RegisteredScreens.push_back(screen);
}

void ScreenManager::UnregisterScreen(Screen* screen) {
    std::erase(m_RegisteredScreens, screen);
    if (m_CurrentScreen == screen)
        m_CurrentScreen = nullptr;
}

Screen* ScreenManager::FindScreen(const TString<char>& name) const {
    for (Screen* screen : m_RegisteredScreens)
        if (screen->m_ScreenName == name)
            return screen;
    return nullptr;
}

void ScreenManager::Update(u32) {
    if (m_PopupsChanged && m_CurrentScreen && LevelRunning() && !m_ScreenChangePending) {
        m_PopupsChanged = 0;
        RefreshPopups();
    }
    if (!m_PendingScreen.IsEmpty()) {
        const TString<char> name = m_PendingScreen;
        SwitchScreen(name);
        m_PendingScreen = TString<char>();
    }
}

void ScreenManager::SwitchScreen(const TString<char>& name) {
    Screen* screen = FindScreen(name);
    if (!screen) {
        AGReport("Screen not registered: %s", name.c_str());
        return;
    }
    if (m_CurrentScreen)
        m_CurrentScreen->onUnload();
    m_CurrentScreen = screen;
    screen->onLoad();
    m_ScreenChangePending = 0;
}

void ScreenManager::SetPendingScreen(const TString<char>& name) {
    m_PendingScreen = name;
    m_ScreenChangePending = 1;
}

void ScreenManager::ClosePopup(Popup* popup) {
    popup->Close();
    if (m_PopupPool)
        m_PopupPool->Release(popup);
}

void ScreenManager::CloseCurrentScreen() {
    if (!m_CurrentScreen)
        return;
    for (Popup* popup : m_ClosingPopups)
        ClosePopup(popup);
    m_ClosingPopups.clear();
    m_CurrentScreen->onUnload();
    m_CurrentScreen = nullptr;
}

Popup* ScreenManager::FindPopup(const TString<char>& name) const {
    for (Popup* popup : m_RegisteredPopups)
        if (popup->Name == name)
            return popup;
    return nullptr;
}

Popup* ScreenManager::ShowPopup(const TString<char>& name) {
    Popup* popup = FindPopup(name);
    if (!popup) {
        AGReport("Popup not registered: %s", name.c_str());
        return nullptr;
    }
    const bool open = Contains(m_OpenPopups, popup);
    const bool closing = Contains(m_ClosingPopups, popup);
    if (open && !closing)
        return popup;
    if (!open)
        m_OpenPopups.push_back(popup);
    std::erase(m_ClosingPopups, popup);
    m_PopupsChanged = 1;
    return popup;
}

bool ScreenManager::ShowPopup(const TString<char>& name, u32 priority) {
    Popup* popup = FindPopup(name);
    if (!popup) {
        AGReport("Popup not registered: %s", name.c_str());
        return false;
    }
    popup->m_Priority = priority;
    ShowPopup(name);
    // An open popup given a new priority may take the focus.
    m_PopupsChanged = 1;
    return true;
}

void ScreenManager::HidePopup(const TString<char>& name) {
    for (Popup* popup : m_OpenPopups) {
        if (popup->Name == name) {
            HidePopupEntity(popup);
            return;
        }
    }
    AGReport("Did not find the popup to remove");
}

void ScreenManager::HidePopupEntity(Popup* popup) {
    if (!popup || !Contains(m_OpenPopups, popup)) {
        AGReport("Did not find the popup to remove");
        return;
    }
    std::erase(m_OpenPopups, popup);
    m_PopupsChanged = 1;
    m_ClosingPopups.push_back(popup);
    if (m_TopPopup == popup)
        m_TopPopup = nullptr;
}

void ScreenManager::ResumeGame() {
    KorvoGame::ICurrentGame* game = KorvoGame::ICurrentGame::Get();
    if (!game || !game->IsPaused())
        return;
    if (AGAudioManager* audio = AGAudioManager::Get())
        if (audio->GetImpl())
            audio->GetImpl()->Resume();
    if (AGVideoPlayer* video = AGVideoPlayer::Get())
        if (video->GetImpl())
            video->GetImpl()->Resume();
    game->SetPause(false);
    g_renderPause = 0;
    PauseLevelScenes(game->GetCurrentLevel(), false);
    if (m_CurrentScreen)
        PauseEmitters(m_CurrentScreen->m_RootPanel, false);
}

void ScreenManager::RefreshPopups() {
    for (Popup* popup : m_ClosingPopups)
        ClosePopup(popup);
    m_ClosingPopups.clear();
    Panel* root = m_CurrentScreen ? m_CurrentScreen->m_RootPanel : nullptr;
    if (m_OpenPopups.empty()) {
        m_TopPopup = nullptr;
        if (m_CurrentScreen)
            m_CurrentScreen->m_PopupLock = 0;
        if (root)
            root->SetInputLocked(false);
        ResumeGame();
    } else {
        if (KorvoGame::ICurrentGame* game = KorvoGame::ICurrentGame::Get())
            game->SetPause(true);
        if (m_CurrentScreen)
            m_CurrentScreen->m_PopupLock = 1;
        if (root)
            root->SetInputLocked(true);
    }
    const u32 threshold = m_TopPopup ? m_TopPopup->m_Priority : 0;
    Popup* candidate = nullptr;
    for (Popup* popup : m_OpenPopups)
        if (popup->m_Priority > threshold)
            candidate = popup;
    if (!candidate)
        return;
    if (m_TopPopup) {
        m_TopPopup->m_InputLocked = 1;
        if (m_TopPopup->m_Panel)
            m_TopPopup->m_Panel->SetInputLocked(true);
    }
    m_TopPopup = candidate;
    if (!candidate->m_Loaded)
        candidate->onLoad();
    candidate->m_InputLocked = 0;
    if (candidate->m_Panel)
        candidate->m_Panel->SetInputLocked(false);
}

void ScreenManager::SetPopupButtonCallback(const TString<char>& popupName,
                                           const TString<char>& button, IDelegate* callback) {
    if (Popup* popup = FindPopup(popupName))
        popup->AddButtonCallback(button, callback);
    else
        AGReport("Popup not registered: %s", popupName.c_str());
}

void ScreenManager::ClearPopupButtonCallback(const TString<char>& popupName,
                                             const TString<char>& button) {
    if (Popup* popup = FindPopup(popupName))
        popup->RemoveButtonCallback(button);
    else
        AGReport("Popup not registered: %s", popupName.c_str());
}

void ScreenManager::Reset() {
    if (m_CurrentScreen)
        m_CurrentScreen->onUnload();
    m_CurrentScreen = nullptr;
    std::vector<Screen*> kept;
    for (Screen* screen : m_RegisteredScreens) {
        if (Contains(m_OwnedScreens, screen)) {
            delete screen;
        } else {
            screen->Reset();
            kept.push_back(screen);
        }
    }
    m_RegisteredScreens = kept;
    m_OwnedScreens.clear();
    LoadNavigation();
    // The popups are dropped without their last close: the pause they held goes with them.
    const bool popupsOpen = !m_OpenPopups.empty() || !m_ClosingPopups.empty();
    LoadPopups();
    if (popupsOpen)
        ResumeGame();
    KorvoGame::GameFlowManager* flow = CurrentGameFlow();
    if (!flow)
        return;
    if (Screen* screen = FindScreen(flow->GetRunningScreenId())) {
        m_CurrentScreen = screen;
        screen->onLoad();
    }
}

void ScreenManager::ReadNavigationFile(sSketchFlow& flow) {
    const TString<char> path = Bridge::FileSystem::GetFilePath(Bridge::FILE_SCREEN_XML, kNavigationFile);
    Utilities::XmlReader reader;
    if (!reader.ReadFile(path.c_str(), flow, "Data") || flow.m_Screens.empty())
        AGReportFatal("Can not read the navigation file %s: the game cannot run without it", path.c_str());
}

void ScreenManager::CheckScreenLayouts() {
    std::vector<TString<char>> checked;
    for (const Screen* screen : m_RegisteredScreens) {
        if (!screen || screen->m_LayoutFile.IsEmpty() ||
            std::find(checked.begin(), checked.end(), screen->m_LayoutFile) != checked.end())
            continue;
        checked.push_back(screen->m_LayoutFile);
        sWindow window;
        if (!WidgetManager::Instance().ReadLayout(screen->m_LayoutFile, window))
            AGReportFatal("Can not read the screen layout %s: the game cannot run without it",
                          screen->m_LayoutFile.c_str());
    }
}

void ScreenManager::LoadNavigation() {
    sSketchFlow flow;
    ReadNavigationFile(flow);
    for (const sSketchFlowScreen& record : flow.m_Screens) {
        Screen* screen = FindScreen(record.m_DisplayName);
        if (!screen) {
            screen = new Screen();
            screen->m_ScreenName = record.m_DisplayName;
            m_OwnedScreens.push_back(screen);
            m_RegisteredScreens.push_back(screen);
        }
        screen->m_LayoutFile = record.m_FileName;
        if (record.m_Type == "Navigation")
            screen->m_Kind = 0;
        else if (record.m_Type == "Composition")
            screen->m_Kind = 1;
        screen->m_X = record.m_Position.m_X;
        screen->m_Y = record.m_Position.m_Y;
    }
    for (const sSketchFlowConnection& connection : flow.m_Connections)
        RegisterConnection(connection);
}

void ScreenManager::RegisterConnection(const sSketchFlowConnection& connection) {
    Screen* source = FindScreen(connection.m_Source);
    Screen* target = FindScreen(connection.m_Target);
    if (!source)
        AGReport("Screen not registered: %s", connection.m_Source.c_str());
    if (!target)
        AGReport("Screen not registered: %s", connection.m_Target.c_str());
    if (source && target)
        target->m_Compositions.push_back(source);
}

void ScreenManager::DropPopups() {
    for (Popup* popup : m_ClosingPopups)
        popup->Close();
    for (Popup* popup : m_OpenPopups)
        popup->Close();
    m_ClosingPopups.clear();
    m_OpenPopups.clear();
    m_TopPopup = nullptr;
}

void ScreenManager::LoadPopups() {
    DropPopups();
    m_RegisteredPopups.clear();
    m_PopupsChanged = 0;
    m_PopupPool = std::make_unique<Entities::EntityFactory<Popup>>(kPopupPoolSize, "Popup");
    ReadPopupsFile(kPopupsFile);
}

void ScreenManager::ReadPopupsFile(const TString<char>& name) {
    const TString<char> path = Bridge::FileSystem::GetFilePath(Bridge::FILE_GLOBAL_XML, name);
    sPopups popups;
    Utilities::XmlReader reader;
    if (!reader.ReadFile(path.c_str(), popups, "Root"))
        AGReport("Can not read the popups file: %s", path.c_str());
    for (const sPopupInfo& info : popups.m_Popups) {
        Popup* popup = m_PopupPool ? m_PopupPool->Alloc(false) : nullptr;
        if (!popup) {
            AGReport("More than %u popups: %s is skipped", kPopupPoolSize, info.m_Name.c_str());
            continue;
        }
        popup->m_Manager = this;
        popup->m_Priority = info.m_Priority;
        popup->Name = info.m_Name;
        popup->m_Title = info.m_Title.Localized();
        popup->m_Layout = info.m_Layout;
        popup->m_MainText = info.m_Text.Localized();
        for (const sPopupOptions& option : info.m_Options) {
            Popup::Option entry;
            entry.m_Name = option.m_Name;
            entry.m_Text = Bridge::GetLocalizedTextOr(option.m_StringId, option.m_Text);
            entry.m_AutoClose = option.m_AutoClose ? 1 : 0;
            popup->m_Options.push_back(entry);
        }
        for (const sPopupMessages& message : info.m_Messages)
            popup->m_Messages.emplace_back(message.m_Name,
                                           Bridge::GetLocalizedTextOr(message.m_StringId, message.m_Text));
        m_RegisteredPopups.push_back(popup);
    }
}

}  // namespace GameServices::Widget
