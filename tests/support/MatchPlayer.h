#pragma once
// A scripted player of the whole program on its window: a list of steps, each waited for and then
// done, window messages queued frame by frame, the mixer pulled for each frame's length and
// package mounts ended within the frame that started them, so that every run shows the same
// frames. The program's context calls the player after each of its updates.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/AGApplicationGraphics.h"
#include "game/QZ2011GameContext.h"
#include "gameservices/widget/Widget.h"
#include "platform/window/WindowBackend.h"
#include "tests/support/MixerPull.h"

class PCApplicationImpl;

namespace match {

// The program's graphics part, each call passed to the part `real` makes; a subclass changes
// the calls it needs to.
class ForwardingGraphics : public AGApplicationGraphics {
public:
    explicit ForwardingGraphics(Factory real) : m_real(real()) {}

    void CreateDeviceObject() override { m_real->CreateDeviceObject(); }
    void CreateContextManager() override { m_real->CreateContextManager(); }
    void RegisterProviders(AGResourceManager* resources) override { m_real->RegisterProviders(resources); }
    bool StartDevice(void* surface, u32 width, u32 height, u32 flags) override {
        return m_real->StartDevice(surface, width, height, flags);
    }
    const char* GetFailureReason() const override { return m_real->GetFailureReason(); }
    u32 GetModeFlags() const override { return m_real->GetModeFlags(); }
    void RenderFrame() override { m_real->RenderFrame(); }
    bool RefusesSwitch() const override { return m_real->RefusesSwitch(); }
    u32 ResetDevice(u32 width, u32 height, u32 flags) override { return m_real->ResetDevice(width, height, flags); }
    void SetActive(bool active) override { m_real->SetActive(active); }
    void DeleteDevice() override { m_real->DeleteDevice(); }
    void DeleteContextManager() override { m_real->DeleteContextManager(); }

protected:
    std::unique_ptr<AGApplicationGraphics> m_real;
};

class ScriptedPlayer {
public:
    using Widget = GameServices::Widget::Widget;
    using Message = platform::window::Message;
    using MessageKind = platform::window::MessageKind;
    static constexpr uint32_t kKeySpace = 0x20, kKeyEnter = 0x0D;

    // The program's context with the player called after each of its updates.
    class PlayedContext : public QZ2011GameContext {
    public:
        void Update(u32 frameMs) override;
        std::function<void(u32)> afterUpdate;
    };

    // One thing the player waits for, then does; `during` runs on every frame of the wait.
    struct Step {
        std::string what;
        std::function<bool()> ready;
        std::function<void()> act;
        uint64_t limitMs = 60000;
        std::function<void()> during = nullptr;
    };

    static bool Shown(Widget* widget) { return widget && widget->Visible; }
    static bool Usable(Widget* widget) { return Shown(widget) && widget->m_Enabled; }
    // The page is shown, takes input and no page change runs.
    static bool PageSettled(const char* name);
    static Widget* OnPage(const char* page, const char* name);

    virtual ~ScriptedPlayer() = default;

    // The program's run loop on m_app until the steps are done or one of them waits past its
    // limit (m_failure then tells which).
    void Play(std::vector<Step> steps);

protected:
    // Called each frame before and after the frame's queued messages are posted.
    virtual void BeforeInput() {}
    virtual void AfterInput() {}

    std::string State() const;
    std::function<bool()> Elapsed(uint64_t ms) {
        return [this, ms] { return m_nowMs > m_stepStartMs + ms; };
    }
    // A page's button, once the page settled, or once the button takes clicks.
    Step ClickOn(const char* page, const char* button, bool whenUsable = false);
    // From the program's start through the first-start pages (a look, the name "Robin").
    std::vector<Step> FirstStart();
    // From the main menu into the match level of the decade and difficulty buttons given.
    std::vector<Step> IntoMatch(const char* decade = "Button70s", const char* difficulty = "EasyButton");

    // Input from `delay` frames after the last queued one.
    void Send(Message message, uint64_t delay = 1);
    void Click(Widget* widget, platform::window::MouseButton button = platform::window::MouseButton::Left);
    void ClickAt(int32_t x, int32_t y, platform::window::MouseButton button = platform::window::MouseButton::Left);
    // As the window sends a key: its press, the character it types, its release.
    void Key(uint32_t key, char16_t typed);
    void Type(const std::string& text);
    // Right clicks skip the tutorial's pages.
    void SkipTutorial();
    // In a match: buzz in each face-off, and press the play button once it has its place (again
    // each second while it stays). True when the player did one of them.
    bool BuzzOrPlay();
    // The answer keyboard is open; a new turn (phase write) or the keyboard closed clears
    // m_turnTaken.
    bool AnswerEntryOpen();

    PCApplicationImpl* m_app = nullptr;
    PlayedContext m_context;
    std::vector<Step> m_steps;
    size_t m_next = 0;
    uint64_t m_stepStartMs = 0, m_frame = 0, m_nowMs = 0, m_submitMs = 0;
    std::string m_failure;
    int m_phaseWrites = 0;
    bool m_turnTaken = false;
    // Frames left in which a mouse message of the last few frames may still show.
    int m_inputFrames = 0;

private:
    void Frame(u32 ms);

    std::deque<std::pair<uint64_t, Message>> m_input;
    MixerPull m_mixer;
    uint64_t m_playClickMs = 0;
    int m_buzzedWrite = -1, m_turnWrite = -1;
};

}  // namespace match
