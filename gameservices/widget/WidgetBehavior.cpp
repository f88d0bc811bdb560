#include "gameservices/widget/WidgetBehavior.h"

#include <algorithm>
#include <cmath>

#include "engine/core/AGLog.h"
#include "gameservices/entities/Team.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/Widget.h"
#include "gameservices/widget/WidgetClasses.h"

namespace GameServices::Widget {

using Entities::BaseTeamMember;
using KorvoGame::TeamActionData;
using KorvoGame::TeamActionManager;

namespace {

// Window pixels per layout pixel of a drawn extent; 1 for a widget without a layout size.
f32 DrawnScale(f32 drawn, f32 layout) {
    const f32 scale = layout != 0.0f ? drawn / layout : 1.0f;
    return std::isfinite(scale) ? scale : 1.0f;
}

}  // namespace

WidgetBehavior::WidgetBehavior(const TString<char>& name, Widget* widget, bool listen)
    : m_Widget(widget) {
    m_Name = name;
    if (listen)
        StartListening();
}

WidgetBehavior::~WidgetBehavior() {
    StopListening();
}

void WidgetBehavior::StartListening() {
    if (m_Listening)
        return;
    TeamActionManager* teams = TeamActionManager::Get();
    if (!teams)
        return;
    teams->ListenTeamAction(&m_MovesDelegate, "Moves");
    teams->ListenTeamAction(&m_ClickDelegate, "Click");
    m_Teams = teams;
    m_Listening = 1;
}

void WidgetBehavior::StopListening() {
    if (!m_Listening)
        return;
    // A manager that has gone took its listeners with it.
    if (m_Teams && m_Teams == TeamActionManager::Get()) {
        m_Teams->UnlistenTeamAction(&m_MovesDelegate, "Moves");
        m_Teams->UnlistenTeamAction(&m_ClickDelegate, "Click");
    }
    m_Teams = nullptr;
    m_Listening = 0;
}

void WidgetBehavior::AddEventDelegate(u32 kind, IDelegate* delegate) {
    if (kind > kEventPress)
        return;
    StartListening();
    m_Events[kind].AddDelegate(delegate);
}

void WidgetBehavior::RemoveEventDelegate(u32 kind, IDelegate* delegate) {
    if (kind > kEventPress)
        return;
    m_Events[kind].RemoveDelegate(delegate);
}

void WidgetBehavior::Reset() {
    if (m_State == kHovered || m_State == kPressed)
        onLeave();
    m_State = kIdle;
    m_LastMember = nullptr;
    std::fill(std::begin(m_Buttons), std::end(m_Buttons), u8{0});
    m_PressedOver = 0;
}

void WidgetBehavior::onEnter() {
    m_Events[kEventEnter].Fire();
}

void WidgetBehavior::onLeave() {
    m_State = kLeft;
    std::fill(std::begin(m_Buttons), std::end(m_Buttons), u8{0});
    m_PressedOver = 0;
    m_Events[kEventLeave].Fire();
}

void WidgetBehavior::onPress(bool down) {
    m_Events[down ? kEventPress : kEventClick].Fire();
}

void WidgetBehavior::onMove(i32, i32) {
    m_Events[kEventMove].Fire();
}

void WidgetBehavior::onValueChanged() {
    m_Events[kEventValueChanged].Fire();
}

bool WidgetBehavior::IsInteractable() const {
    return m_Widget && m_Widget->Visible && m_Widget->m_Enabled && !m_Widget->m_InputLocked &&
           m_Widget->IsOpaqueForInput();
}

bool WidgetBehavior::AnyHover() const {
    for (u32 i = 0; i < kPlayerSlots; ++i)
        if (m_Hover[i])
            return true;
    return false;
}

bool WidgetBehavior::SlotOf(const BaseTeamMember* member, u32& slot) {
    if (!member || member->m_DeviceId < 0 || member->m_DeviceId >= static_cast<i32>(kPlayerSlots))
        return false;
    slot = static_cast<u32>(member->m_DeviceId);
    return true;
}

bool WidgetBehavior::IsInactive(const BaseTeamMember* member) {
    return member && !member->m_Active;
}

void WidgetBehavior::RefreshLook() {
    if (m_Widget)
        RenderingSystemWidget::UpdateBehaviorState(*m_Widget);
}

void WidgetBehavior::StoreAction(const TeamActionData& data) {
    if (data.m_ActionData)
        m_LastActionData = *data.m_ActionData;
    m_LastAction = TeamActionData(&m_LastActionData, data.m_Word, data.m_Member);
}

void WidgetBehavior::onMovesAction(TeamActionData* data) {
    u32 slot = 0;
    if (!data || !data->m_ActionData || !m_Widget || !SlotOf(data->m_Member, slot))
        return;
    StoreAction(*data);
    const Bridge::sActionData& action = *data->m_ActionData;
    if (action.m_DeviceId != data->m_Member->m_DeviceId)
        AGReport("device id de-synchronization!");
    HandleMove(action.m_X, action.m_Y, data->m_Member, action.m_PointerVisible);
}

void WidgetBehavior::HandleMove(f32 x, f32 y, BaseTeamMember* member, bool pointerActive) {
    u32 slot = 0;
    if (!m_Widget || !SlotOf(member, slot))
        return;
    HitRectangle place = m_Widget->WindowHit();
    const bool hit = Widget::HitTest(place, AGVec2{x, y});
    m_Hover[slot] = (pointerActive && !IsInactive(member) && hit) ? 1 : 0;
    if (!AnyHover()) {
        if (m_State == kHovered || m_State == kPressed) {
            m_LastMember = member;
            onLeave();
        }
        return;
    }
    if (!IsInteractable())
        return;
    if (!m_Buttons[slot] && m_Hover[slot] && m_State != kPressed && m_State != kHovered) {
        m_State = kHovered;
        m_LastMember = member;
        onEnter();
    }
    const i32 ix = static_cast<i32>(x);
    const i32 iy = static_cast<i32>(y);
    if (ix != m_LastX || iy != m_LastY) {
        m_LastMember = member;
        onMove(ix, iy);
        m_LastX = ix;
        m_LastY = iy;
    }
}

void WidgetBehavior::onClickAction(TeamActionData* data) {
    u32 slot = 0;
    if (!data || !data->m_ActionData || !m_Widget || !SlotOf(data->m_Member, slot))
        return;
    const Bridge::sActionData& action = *data->m_ActionData;
    const bool down = action.m_KeyDown != 0;
    m_Buttons[slot] = down ? 1 : 0;
    if (!IsInteractable() || IsInactive(data->m_Member))
        return;
    HitRectangle place = m_Widget->WindowHit();
    if (!Widget::HitTest(place, AGVec2{action.m_X, action.m_Y})) {
        m_PressedOver = 0;
        return;
    }
    m_PressedOver = down ? 1 : 0;
    if (m_State == kHovered && down) {
        m_State = kPressed;
        StoreAction(*data);
        m_LastMember = data->m_Member;
        onPress(true);
    } else if ((m_State == kHovered || m_State == kPressed) && !down) {
        m_State = AnyHover() ? kHovered : kIdle;
        StoreAction(*data);
        m_LastMember = data->m_Member;
        onPress(false);
    }
}

WidgetLookBehavior::WidgetLookBehavior(const TString<char>& name, Widget* widget, u32 hoverLook)
    : WidgetBehavior(name, widget, true), m_HoverLook(hoverLook) {}

void WidgetLookBehavior::onEnter() {
    WidgetBehavior::onEnter();
    m_VisualState = m_HoverLook;
    RefreshLook();
}

void WidgetLookBehavior::onLeave() {
    WidgetBehavior::onLeave();
    m_VisualState = 0;
    RefreshLook();
}

WidgetButtonBehavior::WidgetButtonBehavior(Widget* widget) : WidgetLookBehavior("WidgetButtonBehavior", widget, 2) {}

void WidgetButtonBehavior::onPress(bool down) {
    m_VisualState = down ? 1 : 2;
    RefreshLook();
    WidgetBehavior::onPress(down);
}

WidgetCheckBoxBehavior::WidgetCheckBoxBehavior(CheckBox* widget)
    : WidgetLookBehavior("WidgetCheckBoxBehavior", widget, 1), m_CheckBox(widget) {}

void WidgetCheckBoxBehavior::onPress(bool down) {
    if (down) {
        m_VisualState = 2;
        RefreshLook();
        return;
    }
    m_VisualState = 0;
    m_CheckBox->m_Checked = m_CheckBox->m_Checked ? 0 : 1;
    m_CheckBox->m_PressedLook = 0;
    RefreshLook();
    m_Events[kEventClick].Fire();
}

WidgetSliderButtonBehavior::WidgetSliderButtonBehavior(SliderButton* widget)
    : WidgetBehavior("WidgetSliderButtonBehavior", widget, true), m_Slider(widget) {}

void WidgetSliderButtonBehavior::HandleMove(f32 x, f32 y, BaseTeamMember* member, bool pointerActive) {
    WidgetBehavior::HandleMove(x, y, member, pointerActive);
    u32 slot = 0;
    if (!SlotOf(member, slot) || !IsInteractable() || !AnyHover() || m_Buttons[slot])
        return;
    // The pointer from the slider's drawn left edge, in its drawn scale.
    const SliderButton& s = *m_Slider;
    const HitRectangle place = s.WindowHit();
    const f32 sx = DrawnScale(place.maxX, s.m_Width);
    const f32 local = x - place.x;
    u32 part = kNoPart;
    if (local > s.m_Left.m_Position.x * sx && local < (s.m_Left.m_Position.x + s.m_Left.m_Size.x) * sx)
        part = kLeftPart;
    else if (local > s.m_Right.m_Position.x * sx && local < (s.m_Right.m_Position.x + s.m_Right.m_Size.x) * sx)
        part = kRightPart;
    if (part == kLeftPart)
        m_VisualState = 2;
    else if (part == kRightPart)
        m_VisualState = 3;
    else if (m_VisualState == 2)
        m_VisualState = 0;
    else if (m_VisualState == 3)
        m_VisualState = 1;
    m_Part = part;
    RefreshLook();
}

void WidgetSliderButtonBehavior::onEnter() {
    WidgetBehavior::onEnter();
    if (m_Part == kLeftPart)
        m_VisualState = 2;
    else if (m_Part == kRightPart)
        m_VisualState = 3;
    RefreshLook();
}

void WidgetSliderButtonBehavior::onLeave() {
    WidgetBehavior::onLeave();
    if (m_Part == kLeftPart)
        m_VisualState = 0;
    else if (m_Part == kRightPart)
        m_VisualState = 1;
    m_Part = kNoPart;
    RefreshLook();
}

void WidgetSliderButtonBehavior::onPress(bool down) {
    SliderButton& s = *m_Slider;
    if (m_Part == kLeftPart) {
        m_VisualState = down ? 4 : 2;
        if (!down && s.m_Value > s.m_Minimum)
            s.m_Value -= s.m_Step;
    } else if (m_Part == kRightPart) {
        m_VisualState = down ? 5 : 3;
        if (!down && s.m_Value < s.m_Maximum)
            s.m_Value += s.m_Step;
    }
    // A step that does not divide the range would leave it.
    s.m_Value = std::clamp(s.m_Value, s.m_Minimum, std::max(s.m_Minimum, s.m_Maximum));
    RefreshLook();
    WidgetBehavior::onPress(down);
    onValueChanged();
}

WidgetSliderTrackBarBehavior::WidgetSliderTrackBarBehavior(SliderTrackBar* widget)
    : WidgetBehavior("WidgetSliderTrackBarBehavior", widget, true), m_TrackBar(widget) {}

void WidgetSliderTrackBarBehavior::StopDrag() {
    m_DragOwner = nullptr;
    m_Dragging = 0;
    m_ThumbHit = 0;
    m_DeltaX = 0;
    m_DeltaY = 0;
    m_DragLastX = -1;
    m_DragLastY = -1;
    m_VisualState = 2;
}

void WidgetSliderTrackBarBehavior::HandleMove(f32 x, f32 y, BaseTeamMember* member, bool pointerActive) {
    WidgetBehavior::HandleMove(x, y, member, pointerActive);
    u32 slot = 0;
    if (!SlotOf(member, slot))
        return;
    m_Hovered = m_Hover[slot];
    if (!IsInteractable() || IsInactive(member))
        return;
    if (!pointerActive) {
        StopDrag();
        RefreshLook();
        return;
    }
    if (!m_Buttons[slot]) {
        if (!m_Hovered) {
            StopDrag();
        } else {
            const SliderTrackBar& t = *m_TrackBar;
            const HitRectangle place = t.WindowHit();
            const f32 sx = DrawnScale(place.maxX, t.m_Width);
            const f32 sy = DrawnScale(place.maxY, t.m_Height);
            HitRectangle thumb;
            thumb.x = place.x + (t.m_Thumb.m_Position.x + t.m_Value) * sx;
            thumb.y = place.y + t.m_Thumb.m_Position.y * sy;
            thumb.maxX = t.m_Thumb.m_Size.x * sx;
            thumb.maxY = t.m_Thumb.m_Size.y * sy;
            m_ThumbHit = Widget::HitTest(thumb, AGVec2{x, y}) ? 1 : 0;
        }
    }
    m_VisualState = (m_ThumbHit || m_Dragging) ? 3 : 2;
    if (m_Dragging) {
        const i32 ix = static_cast<i32>(x);
        const i32 iy = static_cast<i32>(y);
        if (m_DragLastX != -1) {
            m_DeltaX = ix - m_DragLastX;
            m_DeltaY = iy - m_DragLastY;
            m_LastMember = member;
            onValueChanged();
        }
        m_DragLastX = ix;
        m_DragLastY = iy;
    }
    RefreshLook();
}

void WidgetSliderTrackBarBehavior::onPress(bool down) {
    if (down) {
        m_Events[kEventPress].Fire();
        if (m_ThumbHit) {
            m_Dragging = 1;
            m_DragOwner = m_LastMember;
        }
    } else {
        m_Events[kEventClick].Fire();
        m_DragOwner = nullptr;
        m_Dragging = 0;
        m_DragLastX = -1;
        m_DragLastY = -1;
        m_DeltaX = 0;
        m_DeltaY = 0;
    }
    m_VisualState = m_Dragging ? 3 : 2;
    RefreshLook();
}

void WidgetSliderTrackBarBehavior::onLeave() {
    u32 slot = 0;
    if (m_DragOwner && SlotOf(m_DragOwner, slot) && m_Buttons[slot])
        return;
    WidgetBehavior::onLeave();
    m_State = kIdle;
    m_VisualState = 2;
    RefreshLook();
}

void WidgetSliderTrackBarBehavior::onValueChanged() {
    SliderTrackBar& t = *m_TrackBar;
    // The drawn scale of the drag: window pixels per layout pixel.
    const f32 scale = DrawnScale(t.WindowHit().maxX, t.m_Width);
    f32 value = t.m_Value;
    if (scale != 0.0f && std::isfinite(scale))
        value += static_cast<f32>(m_DeltaX) / scale;
    t.m_Value = std::clamp(value, t.m_Minimum, std::max(t.m_Minimum, t.m_Maximum));
    RefreshLook();
    WidgetBehavior::onValueChanged();
}

WidgetEmitter3DBehavior::WidgetEmitter3DBehavior(Widget* widget)
    : WidgetBehavior("WidgetEmitter3DBehavior", widget, true) {}

void WidgetEmitter3DBehavior::Update(u32) {
    RefreshLook();
}

}  // namespace GameServices::Widget
