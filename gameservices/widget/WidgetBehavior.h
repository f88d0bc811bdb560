#pragma once
// Input behaviours: a widget's behaviour follows the "Moves" and "Click" team actions of up to
// four players and turns them into enter, leave, move, press, click and value-changed events.
// The base state (0 idle, 1 hovered, 2 left, 4 pressed) drives the events; each typed
// behaviour keeps the visual state the renderer shows in a field of its own.
#include "engine/core/FHandler.h"
#include "gameservices/bridge/IDeviceSystem.h"
#include "gameservices/entities/EntityComponents.h"
#include "gameservices/game/TeamActionManager.h"

namespace GameServices::Entities {
class BaseTeamMember;
}

namespace GameServices::Widget {

class Widget;

class WidgetBehavior : public Entities::Behavior {
public:
    static constexpr u32 kPlayerSlots = 4;
    enum State : u32 { kIdle = 0, kHovered = 1, kLeft = 2, kPressed = 4 };

    WidgetBehavior(const TString<char>& name, Widget* widget, bool listen);
    ~WidgetBehavior() override;
    WidgetBehavior(const WidgetBehavior&) = delete;
    WidgetBehavior& operator=(const WidgetBehavior&) = delete;

    // From hovered or pressed, leaves first; then idle with every button flag cleared.
    void Reset() override;
    virtual void onEnter();
    // State 2, button flags cleared, fires leave.
    virtual void onLeave();
    // Down fires press, up fires click.
    virtual void onPress(bool down);
    virtual void onMove(i32 x, i32 y);
    virtual void HandleMove(f32 x, f32 y, Entities::BaseTeamMember* member, bool pointerActive);
    virtual void onValueChanged();

    void StartListening();
    void StopListening();
    // Starts listening when not yet. Kinds above 5 do nothing.
    void AddEventDelegate(u32 kind, IDelegate* delegate);
    void RemoveEventDelegate(u32 kind, IDelegate* delegate);

    void onMovesAction(KorvoGame::TeamActionData* data);
    void onClickAction(KorvoGame::TeamActionData* data);

    // Visible, enabled, not locked and opaque enough for input.
    bool IsInteractable() const;
    bool AnyHover() const;
    // The member's player slot (its device id, 0-3); false for any other id.
    static bool SlotOf(const Entities::BaseTeamMember* member, u32& slot);
    static bool IsInactive(const Entities::BaseTeamMember* member);

    FHandler& Event(u32 kind) { return m_Events[kind]; }

    // By event kind: click, enter, leave, move, value changed, press.
    FHandler m_Events[6];
    Widget* m_Widget;
    u32 m_State = kIdle;
    u8 m_Buttons[kPlayerSlots + 1] = {};
    u8 m_PressedOver = 0;
    i32 m_LastX = 0;
    i32 m_LastY = 0;
    u8 m_Hover[kPlayerSlots + 1] = {};
    u8 m_Listening = 0;
    Entities::BaseTeamMember* m_LastMember = nullptr;
    // The last action handled, with its own copy of the action data.
    Bridge::sActionData m_LastActionData;
    KorvoGame::TeamActionData m_LastAction;

protected:
    void RefreshLook();
    void StoreAction(const KorvoGame::TeamActionData& data);

private:
    KorvoGame::TeamActionManager* m_Teams = nullptr;
    KorvoGame::TeamActionManagerDelegate<WidgetBehavior> m_MovesDelegate{this, &WidgetBehavior::onMovesAction};
    KorvoGame::TeamActionManagerDelegate<WidgetBehavior> m_ClickDelegate{this, &WidgetBehavior::onClickAction};
};

// A behaviour whose look is normal (0) until hovered.
class WidgetLookBehavior : public WidgetBehavior {
public:
    WidgetLookBehavior(const TString<char>& name, Widget* widget, u32 hoverLook);
    void onEnter() override;
    void onLeave() override;
    u32 m_VisualState = 0;

private:
    u32 m_HoverLook;
};

class WidgetButtonBehavior : public WidgetLookBehavior {
public:
    // 0 normal, 1 pressed, 2 hovered.
    explicit WidgetButtonBehavior(Widget* widget);
    void onPress(bool down) override;
};

class CheckBox;

class WidgetCheckBoxBehavior : public WidgetLookBehavior {
public:
    // 0 normal, 1 hovered, 2 pressed.
    explicit WidgetCheckBoxBehavior(CheckBox* widget);
    // Down shows pressed only; up toggles the check and fires click.
    void onPress(bool down) override;

private:
    CheckBox* m_CheckBox;
};

class SliderButton;

class WidgetSliderButtonBehavior : public WidgetBehavior {
public:
    enum Part : u32 { kLeftPart = 0, kRightPart = 1, kNoPart = 2 };
    // 0/1 left/right normal, 2/3 hovered, 4/5 pressed.
    explicit WidgetSliderButtonBehavior(SliderButton* widget);
    void HandleMove(f32 x, f32 y, Entities::BaseTeamMember* member, bool pointerActive) override;
    void onEnter() override;
    void onLeave() override;
    // A release on the left part steps the value down, on the right part up, within the
    // slider's bounds; value changed fires on every press and release.
    void onPress(bool down) override;
    u32 m_VisualState = 0;
    u32 m_Part = kNoPart;

private:
    SliderButton* m_Slider;
};

class SliderTrackBar;

class WidgetSliderTrackBarBehavior : public WidgetBehavior {
public:
    // 2 normal, 3 thumb hovered or dragged.
    explicit WidgetSliderTrackBarBehavior(SliderTrackBar* widget);
    void HandleMove(f32 x, f32 y, Entities::BaseTeamMember* member, bool pointerActive) override;
    void onPress(bool down) override;
    // Ignored while the dragging player's button is still down.
    void onLeave() override;
    // Moves the value by the drag, kept within the bounds.
    void onValueChanged() override;
    u32 m_VisualState = 2;
    u8 m_ThumbHit = 0;
    u8 m_Hovered = 0;
    u8 m_Dragging = 0;
    Entities::BaseTeamMember* m_DragOwner = nullptr;
    i32 m_DeltaX = 0;
    i32 m_DeltaY = 0;
    i32 m_DragLastX = -1;
    i32 m_DragLastY = -1;

private:
    void StopDrag();
    SliderTrackBar* m_TrackBar;
};

class WidgetEmitter3DBehavior : public WidgetBehavior {
public:
    explicit WidgetEmitter3DBehavior(Widget* widget);
    // Refreshes the widget's look every update.
    void Update(u32 milliseconds) override;
};

}  // namespace GameServices::Widget
