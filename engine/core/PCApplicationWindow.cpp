// The application's window part: settings, the main window, message handling and the
// input devices.
#include <cstdio>
#include <string>

#include "engine/core/AGApplication.h"
#include "engine/core/AGApplicationGraphics.h"
#include "engine/core/AGDeviceManager.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGProgram.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PCInputRecord.h"
#include "platform/core/UILocale.h"
#include "platform/settings/SettingsFile.h"

using platform::window::Message;
using platform::window::MessageKind;
using platform::window::MouseButton;

namespace {

// The stored settings; bit i of a write mask selects entry i.
const char* const kSettingNames[5] = {"HideCursor", "Fullscreen", "Multisampling", "WindowWidth",
                                      "WindowHeight"};
constexpr u32 kFlagBitsOfSettings[3] = {kSettingHideCursor, kSettingFullscreen, kSettingMultisampling};

// A stored window size outside this range would give an unusable window; it is ignored.
constexpr u32 kMinWindowExtent = 320;
constexpr u32 kMaxWindowExtent = 16384;

// The graphic device's mode flags, which it may change when it cannot honour them.
constexpr u32 kDeviceModeFlags = kSettingFullscreen | kSettingMultisampling;

u16 ButtonBit(MouseButton button) {
    switch (button) {
    case MouseButton::Left: return kMouseLeft;
    case MouseButton::Middle: return kMouseMiddle;
    case MouseButton::Right: return kMouseRight;
    }
    return 0;
}

}  // namespace

bool PCApplicationImpl::InitRegistryKey() {
    const AGProgram* program = AGProgram::Get();
    m_programName = program ? program->GetTitle() : "";
    m_settingsKey = platform::settings::SettingsPath(m_programName.c_str()).c_str();
    return true;
}

void PCApplicationImpl::ReadSettings() {
    if (m_settingsKey.IsEmpty())
        return;
    platform::settings::SettingsFile file;
    std::string error;
    switch (file.Load(m_settingsKey.c_str(), &error)) {
    case platform::settings::SettingsFile::LoadResult::Missing:
        return;
    case platform::settings::SettingsFile::LoadResult::Failed:
        AGReport("Settings: %s; using the defaults.", error.c_str());
        return;
    case platform::settings::SettingsFile::LoadResult::Loaded:
        break;
    }
    for (u32 i = 0; i < 5; ++i) {
        std::string text;
        if (!file.Get(kSettingNames[i], text))
            continue;
        u32 value;
        if (!platform::settings::ParseU32(text, value)) {
            AGReport("Settings: %s=%s is not a number; ignored.", kSettingNames[i], text.c_str());
            continue;
        }
        if (i < 3) {
            if (i == 2)
                m_multisamplingStored = true;
            if (value)
                m_flags |= kFlagBitsOfSettings[i];
            else
                m_flags &= ~kFlagBitsOfSettings[i];
            continue;
        }
        if (value == 0)
            continue;
        if (value < kMinWindowExtent || value > kMaxWindowExtent) {
            AGReport("Settings: %s=%u is outside %u-%u; ignored.", kSettingNames[i], value,
                     kMinWindowExtent, kMaxWindowExtent);
            continue;
        }
        (i == 3 ? m_width : m_height) = value;
    }
}

void PCApplicationImpl::WriteSettings(u32 mask) {
    if (m_settingsKey.IsEmpty())
        return;
    platform::settings::SettingsFile file;
    std::string error;
    // Read-modify-write: the values outside the mask stay as they are. A file that cannot be
    // read is not replaced by one that would lose them.
    if (file.Load(m_settingsKey.c_str(), &error) == platform::settings::SettingsFile::LoadResult::Failed) {
        AGReport("Settings: %s; not saved.", error.c_str());
        return;
    }
    for (u32 i = 0; i < 5; ++i) {
        if (!(mask & (1u << i)))
            continue;
        u32 value = i < 3 ? ((m_flags & kFlagBitsOfSettings[i]) ? 1u : 0u) : (i == 3 ? m_width : m_height);
        file.SetU32(kSettingNames[i], value);
    }
    if (!file.Save(m_settingsKey.c_str(), &error))
        AGReport("Settings: %s; not saved.", error.c_str());
}

bool PCApplicationImpl::CreateMainWindow() {
    u32 width = 800, height = 600, flags = 0;
    if (const AGProgram* program = AGProgram::Get())
        program->GetDefaultSettings(&width, &height, &flags);
    m_width = width;
    m_height = height;
    m_flags = flags;
    m_multisamplingStored = false;
    if (m_flags & kSettingPersistent)
        ReadSettings();
    g_inputRecord.Reset();

    m_window = platform::window::CreateBackend();
    if (!m_window) {
        fprintf(stderr, "%s: no window system is available.\n", m_programName.c_str());
        return false;
    }
    // A software rasteriser shades every sample: unless the player chose multisampling, it
    // starts without. The stored setting is left as it is.
    if ((m_flags & kSettingMultisampling) && !m_multisamplingStored && m_window->RendersInSoftware()) {
        m_flags &= ~kSettingMultisampling;
        AGReport("Multisampling: off by default with a software renderer.");
    }
    platform::window::WindowDesc desc;
    desc.title = m_programName.c_str();
    desc.width = m_width;
    desc.height = m_height;
    desc.fullscreen = (m_flags & kSettingFullscreen) != 0;
    desc.hideCursor = (m_flags & kSettingHideCursor) != 0;
    desc.multisample = (m_flags & kSettingMultisampling) != 0;
    if (!m_window->Create(desc)) {
        fprintf(stderr, "%s: cannot create the window.\n", m_programName.c_str());
        return false;
    }
    return true;
}

bool PCApplicationImpl::LanguageIndexFromTag(const char* tag, u32& index) {
    if (!tag)
        return false;
    // Language: the letters before the first '_', '-', '.' or '@', in lower case.
    std::string language;
    const char* p = tag;
    for (; *p && *p != '_' && *p != '-' && *p != '.' && *p != '@'; ++p)
        language += char(*p >= 'A' && *p <= 'Z' ? *p + 32 : *p);

    static const struct {
        const char* language;
        u32 index;
    } kLanguages[] = {{"en", 0}, {"fr", 1}, {"es", 2}, {"de", 3}, {"it", 4},  {"nl", 5},
                      {"ja", 6}, {"ko", 7}, {"pt", 9}, {"pl", 11}, {"ru", 12}};
    for (const auto& entry : kLanguages) {
        if (language == entry.language) {
            index = entry.index;
            return true;
        }
    }
    if (language != "zh")
        return false;
    // Chinese: traditional for Taiwan, simplified for mainland China; other regions have no
    // index of their own.
    while (*p == '_' || *p == '-') {
        std::string part;
        for (++p; *p && *p != '_' && *p != '-' && *p != '.' && *p != '@'; ++p)
            part += char(*p >= 'a' && *p <= 'z' ? *p - 32 : *p);
        if (part == "TW") {
            index = 8;
            return true;
        }
        if (part == "CN") {
            index = 10;
            return true;
        }
    }
    return false;
}

bool PCApplicationImpl::DetectUILanguage() {
    u32 index;
    if (LanguageIndexFromTag(platform::UILanguageTag().c_str(), index))
        AGApplication::s_uiLanguage = index;
    return true;
}

void PCApplicationImpl::DestroyMainWindow() {
    if (!m_window)
        return;
    m_window->Destroy();
    delete m_window;
    m_window = nullptr;
}

void PCApplicationImpl::ApplyWindowStyle() {
    if (m_window)
        m_window->ApplyStyle((m_flags & kSettingFullscreen) != 0, m_width, m_height);
}

void PCApplicationImpl::ResetGraphicsForFlags() {
    u32 deviceFlags = ResetGraphicDevice(m_width, m_height, m_flags);
    if ((deviceFlags & kDeviceModeFlags) == (m_flags & kDeviceModeFlags))
        return;
    m_flags = (m_flags & ~kDeviceModeFlags) | (deviceFlags & kDeviceModeFlags);
    ApplyWindowStyle();
}

void PCApplicationImpl::ToggleFullscreen() {
    if (!HasWindow())
        return;
    if (!(m_flags & kSettingFullscreen)) {
        if (GraphicsRefusesSwitch()) {
            AGReport("The display cannot switch to full screen now.");
            return;
        }
        m_window->GetPosition(m_savedLeft, m_savedTop);
    }
    const u32 before = m_flags & kSettingFullscreen;
    m_flags ^= kSettingFullscreen;
    ApplyWindowStyle();
    ResetGraphicsForFlags();
    if (!(m_flags & kSettingFullscreen))
        m_window->SetPosition(m_savedLeft, m_savedTop);
    if ((m_flags & kSettingFullscreen) == before) {
        // The device found no display mode for it: nothing changed, the stored setting stays.
        AGReport("Full screen refused: no display mode fits; the game stays in its window.");
        return;
    }
    if (m_flags & kSettingPersistent)
        WriteSettings(1u << 1);
}

void PCApplicationImpl::ToggleMultisampling() {
    if (!HasWindow())
        return;
    m_flags ^= kSettingMultisampling;
    ApplyWindowStyle();
    ResetGraphicsForFlags();
    if (m_flags & kSettingPersistent)
        WriteSettings(1u << 2);
}

void PCApplicationImpl::DispatchMessage(const Message& message) {
    // Input may change the picture, and a window event may have lost it: the next frame draws.
    if (m_graphics)
        m_graphics->InvalidateFrame();
    if (TranslateAccelerator(message))
        return;
    WindowProc(message);
}

bool PCApplicationImpl::TranslateAccelerator(const Message& message) {
    // Alt+Enter, whether the backend reports it as the mode switch or as the key itself.
    bool altEnter = message.kind == MessageKind::ModeSwitch ||
                    (message.kind == MessageKind::KeyDown && message.key == 13 && message.alt);
    if (!altEnter || !HasWindow())
        return false;
    ToggleFullscreen();
    return true;
}

void PCApplicationImpl::WindowProc(const Message& message) {
    switch (message.kind) {
    case MessageKind::Destroy:
        m_window->Post(Message{MessageKind::Quit});
        break;
    case MessageKind::Activate:
    case MessageKind::Deactivate:
        m_active = message.kind == MessageKind::Activate;
        // No key stays held while another program has the keyboard.
        if (!m_active)
            g_inputRecord.ClearKeys();
        SetGraphicDeviceActive(m_active);
        if (m_active && m_onActivated.fn)
            m_onActivated.fn(m_onActivated.object);
        else if (!m_active && m_onDeactivated.fn)
            m_onDeactivated.fn(m_onDeactivated.object);
        break;
    case MessageKind::CloseRequest:
        if (m_onClose.fn && !m_onClose.fn(m_onClose.object))
            break;
        m_window->Destroy();
        break;
    case MessageKind::Terminate:
        // No prompt holds it: the run loop ends and the game's shutdown saves what is unsaved.
        m_window->Destroy();
        break;
    case MessageKind::KeyDown:
    case MessageKind::KeyUp:
        g_inputRecord.SetKey(message.key, message.kind == MessageKind::KeyDown);
        break;
    case MessageKind::Char:
        g_inputRecord.PushTyped(message.unit);
        break;
    case MessageKind::MouseMove: {
        u32 width = 0, height = 0;
        m_window->GetClientSize(width, height);
        m_trackingMouseLeave = true;
        g_inputRecord.mouseX = NormaliseMouseCoord(message.x, width);
        g_inputRecord.mouseY = NormaliseMouseCoord(message.y, height);
        g_inputRecord.mouseInside = 1;
        break;
    }
    case MessageKind::MouseLeave:
        g_inputRecord.buttons = 0;
        g_inputRecord.mouseInside = 0;
        m_trackingMouseLeave = false;
        break;
    case MessageKind::ButtonDown:
        g_inputRecord.PressButtons(ButtonBit(message.button));
        break;
    case MessageKind::ButtonUp:
        g_inputRecord.buttons &= u16(~ButtonBit(message.button));
        break;
    case MessageKind::Wheel:
        g_inputRecord.AddWheel(message.wheelDelta);
        break;
    default:
        break;
    }
}

bool PCApplicationImpl::CreateDeviceManager() {
    AGDeviceManager* devices = new AGDeviceManager();
    AGDeviceManager::SetInstance(devices);
    devices->RegisterDevices();
    return true;
}

void PCApplicationImpl::DeleteDeviceManager() {
    AGDeviceManager* devices = AGDeviceManager::Get();
    AGDeviceManager::SetInstance(nullptr);
    delete devices;
}

void PCApplicationImpl::PollDevices() {
    if (AGDeviceManager* devices = AGDeviceManager::Get())
        devices->Update();
}
