// The application's window part: settings, the main window, message handling and the
// input devices.
#include <cstdio>

#include "engine/core/AGApplication.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGProgram.h"
#include "engine/core/PCApplicationImpl.h"

using platform::window::Message;
using platform::window::MessageKind;

bool PCApplicationImpl::InitRegistryKey() {
    const AGProgram* program = AGProgram::Get();
    m_programName = program ? program->GetTitle() : "";
    // Slot: the settings location named after the program (settings service).
    return true;
}

bool PCApplicationImpl::CreateMainWindow() {
    u32 width = 800, height = 600, flags = 0;
    if (const AGProgram* program = AGProgram::Get())
        program->GetDefaultSettings(&width, &height, &flags);
    // Slot: with kSettingPersistent, the stored settings override the defaults here.
    m_width = width;
    m_height = height;
    m_flags = flags;

    m_window = platform::window::CreateBackend();
    if (!m_window) {
        fprintf(stderr, "%s: no window system is available.\n", m_programName.c_str());
        return false;
    }
    platform::window::WindowDesc desc;
    desc.title = m_programName.c_str();
    desc.width = m_width;
    desc.height = m_height;
    desc.fullscreen = (m_flags & kSettingFullscreen) != 0;
    desc.hideCursor = (m_flags & kSettingHideCursor) != 0;
    if (!m_window->Create(desc)) {
        fprintf(stderr, "%s: cannot create the window.\n", m_programName.c_str());
        return false;
    }
    return true;
}

bool PCApplicationImpl::DetectUILanguage() {
    // Slot: sets AGApplication::s_uiLanguage from the user's locale.
    return true;
}

void PCApplicationImpl::DestroyMainWindow() {
    if (!m_window)
        return;
    m_window->Destroy();
    delete m_window;
    m_window = nullptr;
}

void PCApplicationImpl::DispatchMessage(const Message& message) {
    if (TranslateAccelerator(message))
        return;
    WindowProc(message);
}

bool PCApplicationImpl::TranslateAccelerator(const Message& message) {
    // Slot: Alt+Enter arrives as ModeSwitch and toggles full screen.
    return message.kind == MessageKind::ModeSwitch;
}

void PCApplicationImpl::WindowProc(const Message& message) {
    switch (message.kind) {
    case MessageKind::Destroy:
        m_window->Post(Message{MessageKind::Quit});
        break;
    case MessageKind::Activate:
    case MessageKind::Deactivate:
        m_active = message.kind == MessageKind::Activate;
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
    default:
        // Slot: key, character and mouse messages feed the keyboard and mouse state.
        break;
    }
}

bool PCApplicationImpl::CreateDeviceManager() {
    // Slot: AGDeviceManager, then its platform part registers the keyboard and the mouse.
    return true;
}

void PCApplicationImpl::DeleteDeviceManager() {
    // Slot: deletes AGDeviceManager.
}

void PCApplicationImpl::PollDevices() {
    // Slot: the device manager's platform update polls the keyboard and the mouse.
}
