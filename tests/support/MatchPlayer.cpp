#include "tests/support/MatchPlayer.h"

#include <chrono>
#include <thread>

#include "engine/core/PCApplicationImpl.h"
#include "game/presentation/screens/ScreenStartup.h"
#include "game/rules/QZ11Phases.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameshow/CompositionManager.h"

namespace match {

void ScriptedPlayer::PlayedContext::Update(u32 frameMs) {
    QZ2011GameContext::Update(frameMs);
    if (afterUpdate)
        afterUpdate(frameMs);
}

bool ScriptedPlayer::PageSettled(const char* name) {
    GameShow::CompositionManager& pages = GameShow::CompositionManager::Instance();
    GameShow::CompositionBase* page = pages.FindComposition(name);
    return page && Shown(page->GetRootPanel()) && page->AcceptsInput() && !pages.GetEnteringComposition() &&
           !pages.GetLeavingComposition();
}

ScriptedPlayer::Widget* ScriptedPlayer::OnPage(const char* page, const char* name) {
    GameShow::CompositionBase* composition = GameShow::CompositionManager::Instance().FindComposition(page);
    auto* root = composition ? static_cast<GameServices::Widget::Panel*>(composition->GetRootPanel()) : nullptr;
    return root ? Widget::FindChild(name, root) : nullptr;
}

void ScriptedPlayer::Play(std::vector<Step> steps) {
    m_steps = std::move(steps);
    m_context.afterUpdate = [this](u32 ms) { Frame(ms); };
    auto counted = [](void* self, i32) { ++static_cast<ScriptedPlayer*>(self)->m_phaseWrites; };
    m_context.m_GamePhase.SetObserver(counted, this);
    m_app->Run(m_context);
}

std::string ScriptedPlayer::State() const {
    return "phase " + std::to_string(i32(m_context.m_GamePhase)) + " at " + std::to_string(m_nowMs) + " ms";
}

void ScriptedPlayer::Frame(u32 ms) {
    m_nowMs += ms;
    ++m_frame;
    // Package mounts run on the worker thread: each ends within the frame that started it, so
    // that the run does not depend on how busy the machine is.
    while (GameServices::Bridge::FileSystem::HasPendingMounts())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    m_mixer.Pull(ms);
    BeforeInput();
    m_inputFrames -= m_inputFrames > 0;
    while (!m_input.empty() && m_input.front().first <= m_frame) {
        const MessageKind kind = m_input.front().second.kind;
        m_app->GetWindow()->Post(m_input.front().second);
        m_input.pop_front();
        if (kind == MessageKind::MouseMove || kind == MessageKind::ButtonDown || kind == MessageKind::ButtonUp)
            m_inputFrames = 3;
    }
    AfterInput();
    if (!m_input.empty() || !m_app->HasWindow())
        return;
    if (m_next == m_steps.size()) {
        m_app->GetWindow()->Destroy();
        return;
    }
    Step& step = m_steps[m_next];
    if (!m_stepStartMs)
        m_stepStartMs = m_nowMs;
    if (step.ready()) {
        if (step.act)
            step.act();
        ++m_next;
        m_stepStartMs = 0;
    } else if (m_nowMs - m_stepStartMs > step.limitMs) {
        m_failure =
            "waited " + std::to_string((m_nowMs - m_stepStartMs) / 1000) + " s for " + step.what + "; " + State();
        m_app->GetWindow()->Destroy();
    } else if (step.during) {
        step.during();
    }
}

ScriptedPlayer::Step ScriptedPlayer::ClickOn(const char* page, const char* button, bool whenUsable) {
    return {std::string(button) + " on " + page,
            [=] { return whenUsable ? Usable(OnPage(page, button)) : PageSettled(page); },
            [this, page, button] { Click(OnPage(page, button)); }};
}

std::vector<ScriptedPlayer::Step> ScriptedPlayer::FirstStart() {
    auto* startup = static_cast<QZ2011::ScreenStartup*>(
        GameServices::Widget::ScreenManager::Instance().FindScreen(QZ2011::ScreenStartup::kName));
    return {
        {"the disclaimer", [=] { return startup && startup->IsLoaded() && Shown(startup->m_Disclaimer); }, nullptr},
        {"the splash after the clips", [=] { return Shown(startup->m_Splash); },
         [=, this] { Click(startup->m_Splash); }},
        ClickOn("compositionBasicLook", "effect0"),
        ClickOn("compositionBasicLook", "DoneButton", true),
        {"the name page", [] { return PageSettled("compositionKeyboard"); }, [this] { Type("Robin"); }},
        ClickOn("compositionKeyboard", "DoneButton", true),
    };
}

std::vector<ScriptedPlayer::Step> ScriptedPlayer::IntoMatch(const char* decade, const char* difficulty) {
    return {
        ClickOn("compositionMainMenu", "singlePlayerButton"),
        ClickOn("compositionDecadeSelector", decade),
        ClickOn("compositionDifficultySelector", difficulty),
        {"the match level", [this] { return m_context.GetMatchMode().GetSet() != nullptr; }, nullptr, 60000,
         [this] { SkipTutorial(); }},
    };
}

void ScriptedPlayer::Send(Message message, uint64_t delay) {
    const uint64_t last = m_input.empty() ? m_frame : m_input.back().first;
    m_input.emplace_back(last + delay, message);
}

void ScriptedPlayer::Click(Widget* widget, platform::window::MouseButton button) {
    if (!widget) {
        m_failure = "a click on a missing widget; " + State();
        return;
    }
    ClickAt(int32_t(widget->m_ScreenRect[0] + widget->m_ScreenRect[2] / 2),
            int32_t(widget->m_ScreenRect[1] + widget->m_ScreenRect[3] / 2), button);
}

void ScriptedPlayer::ClickAt(int32_t x, int32_t y, platform::window::MouseButton button) {
    Send({.kind = MessageKind::MouseMove, .x = x, .y = y});
    Send({.kind = MessageKind::ButtonDown, .button = button, .x = x, .y = y});
    Send({.kind = MessageKind::ButtonUp, .button = button, .x = x, .y = y}, 2);
}

void ScriptedPlayer::Key(uint32_t key, char16_t typed) {
    Send({.kind = MessageKind::KeyDown, .key = key});
    Send({.kind = MessageKind::Char, .unit = typed}, 0);
    Send({.kind = MessageKind::KeyUp, .key = key}, 2);
}

void ScriptedPlayer::Type(const std::string& text) {
    for (char c : text)
        Send({.kind = MessageKind::Char, .unit = char16_t(static_cast<unsigned char>(c))});
    // The last character reaches the keyboard in the next frame.
    Send({.kind = MessageKind::MouseMove, .x = 1, .y = 1}, 2);
}

void ScriptedPlayer::SkipTutorial() {
    if (m_frame % 30 == 0)
        ClickAt(400, 300, platform::window::MouseButton::Right);
}

bool ScriptedPlayer::BuzzOrPlay() {
    const i32 phase = m_context.m_GamePhase;
    if ((phase == QZ2011::PhaseFaceOffBuzz || phase == QZ2011::PhaseSuddenDeathBuzz) &&
        m_buzzedWrite != m_phaseWrites) {
        m_buzzedWrite = m_phaseWrites;
        Key(kKeySpace, u' ');
        return true;
    }
    Widget* play = m_context.GetGameScreen().BoundWidget("PlayButton");
    if (Shown(play) && play->m_ScreenRect[2] > 0 && m_nowMs - m_playClickMs > 1000) {
        m_playClickMs = m_nowMs;
        Click(play);
        return true;
    }
    return false;
}

bool ScriptedPlayer::AnswerEntryOpen() {
    const bool open = m_context.m_AnswerEntryOpen && Shown(m_context.m_AnswerKeyboard);
    if (!open || m_turnWrite != m_phaseWrites)
        m_turnTaken = false;
    m_turnWrite = m_phaseWrites;
    return open;
}

}  // namespace match
