#include "gameservices/widget/SoftKeyboard.h"

#include "gameservices/entities/Team.h"
#include "gameservices/widget/RenderingSystemWidget.h"

namespace GameServices::Widget {

using KorvoGame::TeamActionData;
using KorvoGame::TeamActionManager;

SoftKey::SoftKey(const SoftKey& other) {
    *this = other;
}

SoftKey& SoftKey::operator=(const SoftKey& other) {
    x = other.x;
    y = other.y;
    minX = other.minX;
    minY = other.minY;
    maxX = other.maxX;
    maxY = other.maxY;
    for (u32 i = 0; i < 4; ++i)
        text[i] = other.text[i];
    value = other.value;
    rotation = 0.0f;
    scale = 1.0f;
    spare = 0.0f;
    return *this;
}

SoftKeyboard::SoftKeyboard(const TString<char>& name) : BehaviorWidget(name) {
    Install(m_KeyboardBehavior);
}

SoftKeyboard::~SoftKeyboard() {
    m_Letters.clear();
    m_Specials.clear();
}

bool SoftKeyboard::IsA(const u32& typeId) const {
    return typeId == TypeIds::SoftKeyboard || typeId == TypeIds::Widget;
}

void SoftKeyboard::SetText(const TString<char>& text) {
    if (&text != &m_EntryText)
        m_EntryText = text;
    RenderingSystemWidget::UpdateText(*this);
}

HitRectangle SoftKeyboard::KeyBox(const SoftKey& key) const {
    // Scaled as the keyboard is drawn; a keyboard without a layout size keeps its keys unscaled.
    const HitRectangle place = WindowHit();
    const f32 sx = m_Width != 0.0f ? (place.maxX - place.minX) / m_Width : 1.0f;
    const f32 sy = m_Height != 0.0f ? (place.maxY - place.minY) / m_Height : 1.0f;
    HitRectangle box;
    box.x = key.x * sx + place.x;
    box.y = key.y * sy + place.y;
    box.maxX = sx * (key.maxX - key.minX);
    box.maxY = sy * (key.maxY - key.minY);
    return box;
}

WidgetSoftKeyboardBehavior::WidgetSoftKeyboardBehavior(SoftKeyboard* keyboard)
    : WidgetBehavior("WidgetSoftKeyboardBehavior", keyboard, true), m_Keyboard(keyboard) {
    if (TeamActionManager* teams = TeamActionManager::Get()) {
        teams->ListenTeamAction(&m_SoftKeyDelegate, "SoftKey");
        m_SoftKeyTeams = teams;
    }
}

WidgetSoftKeyboardBehavior::~WidgetSoftKeyboardBehavior() {
    if (m_SoftKeyTeams && m_SoftKeyTeams == TeamActionManager::Get())
        m_SoftKeyTeams->UnlistenTeamAction(&m_SoftKeyDelegate, "SoftKey");
}

void WidgetSoftKeyboardBehavior::RefreshKey(bool special, i32 index, u32 look) {
    if (index >= 0)
        RenderingSystemWidget::RefreshKey(*m_Keyboard, special, index, look);
}

void WidgetSoftKeyboardBehavior::HandleMove(f32 x, f32 y, Entities::BaseTeamMember* member,
                                            bool pointerActive) {
    WidgetBehavior::HandleMove(x, y, member, pointerActive);
    if (!IsInteractable() || IsInactive(member) || !AnyHover() || m_Pressed)
        return;
    SoftKeyboard& k = *m_Keyboard;
    m_PointerX = x;
    m_PointerY = y;
    k.m_PreviousSpecial = k.m_HoveredSpecial;
    k.m_PreviousLetter = k.m_HoveredLetter;
    m_Refresh = 1;
    const AGVec2 point{x, y};
    const u32 hoverLook = m_Pressed ? kKeyPressed : kKeyHovered;
    // The key under the pointer in one list; the other list's hovered key turns normal.
    auto hover = [&](const std::vector<SoftKey>& keys, bool special) {
        for (size_t i = 0; i < keys.size(); ++i) {
            HitRectangle box = k.KeyBox(keys[i]);
            if (!Widget::HitTest(box, point))
                continue;
            const i32 index = static_cast<i32>(i);
            RefreshKey(!special, special ? k.m_PreviousLetter : k.m_PreviousSpecial, kKeyNormal);
            m_HoveredIsSpecial = special ? 1 : 0;
            RefreshKey(special, special ? k.m_PreviousSpecial : k.m_PreviousLetter, kKeyNormal);
            (special ? k.m_HoveredSpecial : k.m_HoveredLetter) = index;
            RefreshKey(special, index, hoverLook);
            i32& last = special ? m_LastHoveredSpecial : m_LastHoveredLetter;
            if (index != last) {
                if (special || !k.m_Digits || index < 10)
                    m_KeyHoverEvent.Fire();
                last = index;
                (special ? m_LastHoveredLetter : m_LastHoveredSpecial) = -1;
            }
            return true;
        }
        return false;
    };
    if (hover(k.m_Specials, true) || hover(k.m_Letters, false))
        return;
    ClearKeyHover();
}

void WidgetSoftKeyboardBehavior::ClearKeyHover() {
    SoftKeyboard& k = *m_Keyboard;
    RefreshKey(false, k.m_PreviousLetter, kKeyNormal);
    RefreshKey(true, k.m_PreviousSpecial, kKeyNormal);
    k.m_HoveredLetter = -1;
    k.m_HoveredSpecial = -1;
    m_LastHoveredLetter = -1;
    m_LastHoveredSpecial = -1;
}

void WidgetSoftKeyboardBehavior::Backspace() {
    SoftKeyboard& k = *m_Keyboard;
    if (k.m_ReplaceOnType) {
        k.m_ReplaceOnType = 0;
        k.m_EntryText = TString<char>();
    } else if (k.m_EntryText.Length() < 2) {
        k.m_EntryText = TString<char>();
    } else {
        k.m_EntryText.Resize(k.m_EntryText.Length() - 1);
    }
}

void WidgetSoftKeyboardBehavior::TextDone() {
    m_Keyboard->SetText(m_Keyboard->m_EntryText);
    onValueChanged();
    m_TextChangedEvent.Fire();
}

void WidgetSoftKeyboardBehavior::onPress(bool down) {
    SoftKeyboard& k = *m_Keyboard;
    m_Pressed = down ? 1 : 0;
    m_PressHandled = 0;
    m_KeyLook = down ? kKeyPressed : kKeyHovered;
    if (!k.Visible || !k.m_Enabled)
        return;
    if (!down) {
        TString<char>& text = k.m_EntryText;
        if (!m_HoveredIsSpecial && k.m_HoveredLetter >= 0 && k.m_KeyGroups[SoftKeyboard::kLetterGroup]) {
            const u32 index = static_cast<u32>(k.m_HoveredLetter);
            if (k.m_ReplaceOnType) {
                k.m_ReplaceOnType = 0;
                text = TString<char>();
            }
            if (k.m_Digits && text.Length() < k.m_MaxEntryTextChar) {
                // Below the maximum the digit layout ends here, without a look refresh or a
                // click; at the maximum the key is ignored and the events fire as for any key.
                if (index < 10) {
                    const char digit = static_cast<char>('0' + index);
                    text.Append(&digit, 1);
                    TextDone();
                }
                return;
            }
            const TString<char>* chars = k.m_Qwerty ? &k.m_QwertyChars : (k.m_Abcde ? &k.m_AbcdeChars : nullptr);
            if (text.Length() < k.m_MaxEntryTextChar && chars && index < chars->Length())
                text.Append(chars->c_str() + index, 1);
        } else if (m_HoveredIsSpecial && k.m_HoveredSpecial >= 0) {
            const u32 index = static_cast<u32>(k.m_HoveredSpecial);
            if (index == SoftKeyboard::kBackspaceKey && k.m_KeyGroups[SoftKeyboard::kBackspaceGroup])
                Backspace();
            else if (index == SoftKeyboard::kSpaceKey && k.m_KeyGroups[SoftKeyboard::kSpaceGroup] &&
                     text.Length() < k.m_MaxEntryTextChar)
                text += " ";
        }
        TextDone();
    }
    RenderingSystemWidget::UpdateBehaviorState(k);
    WidgetBehavior::onPress(down);
}

void WidgetSoftKeyboardBehavior::onLeave() {
    WidgetBehavior::onLeave();
    SoftKeyboard& k = *m_Keyboard;
    m_State = kIdle;
    m_KeyLook = kKeyNormal;
    m_Refresh = 1;
    m_Pressed = 0;
    for (size_t i = 0; i < k.m_Specials.size(); ++i) {
        k.m_HoveredSpecial = static_cast<i32>(i);
        RefreshKey(true, k.m_HoveredSpecial, kKeyNormal);
    }
    for (size_t i = 0; i < k.m_Letters.size(); ++i) {
        k.m_HoveredLetter = static_cast<i32>(i);
        RefreshKey(false, k.m_HoveredLetter, kKeyNormal);
    }
    k.m_HoveredSpecial = -1;
    k.m_HoveredLetter = -1;
    m_LastHoveredSpecial = -1;
    m_LastHoveredLetter = -1;
}

void WidgetSoftKeyboardBehavior::onSoftKeyAction(TeamActionData* data) {
    SoftKeyboard& k = *m_Keyboard;
    // A keyboard under a popup (its input locked, the game paused behind it) takes no typing.
    if (!data || !k.Visible || !k.m_Enabled || k.m_InputLocked)
        return;
    const i32 code = static_cast<i32>(static_cast<u32>(data->m_Word));
    if (code == 8) {
        Backspace();
    } else if ((code >= 32 && code <= 126) || (code >= 160 && code <= 255)) {
        // One byte per character: printable ASCII and the upper half of Latin-1.
        if (k.m_ReplaceOnType) {
            k.m_ReplaceOnType = 0;
            k.m_EntryText = TString<char>();
        }
        if (k.m_EntryText.Length() < k.m_MaxEntryTextChar) {
            const char byte = static_cast<char>(static_cast<u8>(code));
            k.m_EntryText.Append(&byte, 1);
        }
    }
    TextDone();
    RenderingSystemWidget::UpdateBehaviorState(k);
}

}  // namespace GameServices::Widget
