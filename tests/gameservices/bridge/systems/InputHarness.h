#pragma once
// The application on the headless window backend with its real keyboard and mouse, an
// 800 x 600 screen, and frames run as the game runs them: the window's messages, then the
// device system's update, then the device poll at the end of the tick.
#include <filesystem>
#include <string>
#include <vector>

#include "engine/core/AGDeviceManager.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PCInputRecord.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "gameservices/bridge/systems/DeviceSystem.h"
#include "tests/engine/core/AppTestSupport.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/GraphicsStartup.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/TempDir.h"

class InputHarness {
public:
    static constexpr u32 kWidth = 800;
    static constexpr u32 kHeight = 600;

    explicit InputHarness(u32 keyTriggers = 16, u32 moveTriggers = 8, u32 accelTriggers = 8) {
        m_env.Set("XDG_CONFIG_HOME", m_home.Path());
        LoadCapacities(m_home, {{"FactoryDeviceTriggerKey", keyTriggers}, {"FactoryDeviceTriggerMove", moveTriggers},
                                {"FactoryDeviceTriggerAccel", accelTriggers}});
        m_previousProgram = AGProgram::Get();
        AGProgram::SetInstance(&m_program);
        platform::window::SetBackendFactory(MakeTestBackend);
        g_inputRecord.Reset();
        m_started = m_app.Initialize();
        ScreenSize::Set(*PCGraphicDevice::Get(), kWidth, kHeight);
    }
    ~InputHarness() {
        m_app.Shutdown();
        platform::window::SetBackendFactory(nullptr);
        AGProgram::SetInstance(m_previousProgram);
        g_inputRecord.Reset();
    }
    InputHarness(const InputHarness&) = delete;
    InputHarness& operator=(const InputHarness&) = delete;

    bool Started() const { return m_started; }

    using Kind = platform::window::MessageKind;
    void Send(Kind kind, u32 key = 0) { Post({.kind = kind, .key = key}); }
    void MoveTo(i32 x, i32 y) { Post({.kind = Kind::MouseMove, .x = x, .y = y}); }
    void Button(bool down) { Post({.kind = down ? Kind::ButtonDown : Kind::ButtonUp}); }
    void Post(const platform::window::Message& message) { m_app.DispatchMessage(message); }
    void Frame(GameServices::Bridge::DeviceSystem& devices) {
        devices.Update(16);
        AGDeviceManager::Get()->Update();
    }

private:
    struct ScreenSize : PCGraphicDevice {
        static void Set(AGGraphicDevice& device, u32 width, u32 height) {
            device.*(&ScreenSize::m_width) = width;
            device.*(&ScreenSize::m_height) = height;
        }
    };

    GraphicsStartup m_graphics;
    TempDir m_home;
    ScopedEnv m_env;
    TestProgram m_program{"Tallyvox", kWidth, kHeight, 0};
    AGProgram* m_previousProgram = nullptr;
    // The program's own application object, as the device system finds it.
    PCApplicationImpl& m_app = *static_cast<PCApplicationImpl*>(AGApplication::Get().GetImpl());
    bool m_started = false;
};

// What a listener of device actions saw, one text per record.
struct ActionRecorder {
    void On(GameServices::Bridge::sActionData* data) {
        records.push_back(*data);
        if (then)
            then(*data);
    }
    std::vector<GameServices::Bridge::sActionData> records;
    std::function<void(const GameServices::Bridge::sActionData&)> then;
    FDelegateParam<ActionRecorder, GameServices::Bridge::sActionData*> delegate{this, &ActionRecorder::On};
};
