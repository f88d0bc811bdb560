#include "gameservices/widget/Screen.h"

#include "engine/core/AGController.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/WidgetManager.h"

namespace GameServices::Widget {

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
    WidgetManager& builder = WidgetManager::Instance();
    if (!m_RootPanel)
        m_RootPanel = builder.BuildPanel(nullptr, m_LayoutFile, true);
    for (Screen* composition : m_Compositions) {
        if (!composition)
            continue;
        Panel* panel = builder.BuildPanel(m_RootPanel, composition->m_LayoutFile, false);
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

}  // namespace GameServices::Widget
