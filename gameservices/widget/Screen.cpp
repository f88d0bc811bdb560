#include "gameservices/widget/Screen.h"

#include <algorithm>

#include "engine/core/AGController.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/widget/RenderingSystemWidget.h"

namespace GameServices::Widget {

namespace {
Screen::PanelBuilder& Builder() {
    static Screen::PanelBuilder s_builder;
    return s_builder;
}
}  // namespace

void Screen::SetPanelBuilder(PanelBuilder builder) {
    Builder() = std::move(builder);
}

Screen::Screen() : Entities::Entity(TString<char>()) {}

Screen::~Screen() {
    if (m_Loaded)
        Screen::onUnload();
    delete m_RootPanel;
}

bool Screen::IsA(const u32& typeId) const {
    return typeId == TypeIds::Screen;
}

void Screen::Reset() {
    delete m_RootPanel;
    m_RootPanel = nullptr;
    m_Compositions.clear();
    m_Controllers.clear();
}

void Screen::onLoad() {
    const PanelBuilder& build = Builder();
    if (build && !m_RootPanel)
        m_RootPanel = build(nullptr, m_LayoutFile, true);
    for (Screen* composition : m_Compositions) {
        if (!build || !m_RootPanel || !composition)
            break;
        Panel* panel = build(m_RootPanel, composition->m_LayoutFile, false);
        if (!panel)
            continue;
        panel->SetPositionXY(composition->m_X, composition->m_Y);
        m_RootPanel->AddChild(panel);
    }
    RenderingSystemWidget::Initialize(this);
    RenderingSystemWidget::AttachLayer(this);
    if (!m_ProcessSource) {
        if (KorvoGame::GameFlowManager* flow = CurrentGameFlow()) {
            m_ProcessSource = flow;
            flow->GetFrameEvent().AddDelegate(&m_ProcessDelegate);
        }
    }
    if (KorvoGame::ICurrentGame* game = KorvoGame::ICurrentGame::Get()) {
        if (Entities::Set* level = game->GetCurrentLevel())
            m_CurrentLevel = level;
    }
    m_Loaded = true;
}

void Screen::onUnload() {
    if (m_ProcessSource && m_ProcessSource == CurrentGameFlow())
        m_ProcessSource->GetFrameEvent().RemoveDelegate(&m_ProcessDelegate);
    m_ProcessSource = nullptr;
    RenderingSystemWidget::Cleanup(this);
    RenderingSystemWidget::ReleaseLayer(this);
    m_Loaded = false;
    Reset();
}

void Screen::ProcessFrame(u32 elapsed) {
    Process(elapsed);
    for (AGController* controller : m_Controllers)
        controller->Update();
}

ScreenManager& ScreenManager::Instance() {
    static ScreenManager s_manager;
    return s_manager;
}

void ScreenManager::RegisterScreen(Screen* screen) {
    if (screen && std::find(m_RegisteredScreens.begin(), m_RegisteredScreens.end(), screen) ==
                      m_RegisteredScreens.end())
        m_RegisteredScreens.push_back(screen);
}

void ScreenManager::UnregisterScreen(Screen* screen) {
    std::erase(m_RegisteredScreens, screen);
}

Screen* ScreenManager::FindScreen(const TString<char>& name) const {
    for (Screen* screen : m_RegisteredScreens)
        if (screen->m_ScreenName == name)
            return screen;
    return nullptr;
}

}  // namespace GameServices::Widget
