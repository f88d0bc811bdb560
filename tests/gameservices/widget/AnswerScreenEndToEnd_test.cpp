// The answer screen of the sample interface package, run as the game runs it: the application
// on its SDL window (offscreen), the input sent as window messages, the frames drawn on the
// application's graphic device and read back pixel by pixel.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "engine/core/AGAudioManager.h"
#include "engine/core/AGDeviceManager.h"
#include "engine/core/AGVideoPlayer.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/PCApplicationImpl.h"
#include "engine/core/PCInputRecord.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "gameservices/bridge/LocalizationTables.h"
#include "gameservices/bridge/systems/DeviceSystem.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/Screen.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "tests/engine/core/AppTestSupport.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/gameservices/game/ActionTestSetup.h"
#include "tests/gameservices/widget/LayoutTestSetup.h"
#include "tests/platform/gfx/GfxTestSupport.h"
#include "tests/support/ScopedEnv.h"
#include "tests/support/NullVideoPlayer.h"
#include "tools/authoring/PackageWriter.h"

using namespace GameServices;
using namespace GameServices::Widget;
using platform::window::Message;
using platform::window::MessageKind;

namespace {

// The sample package's colours (tools/uipack): the entry field, the popup's back, a key at rest.
constexpr u32 kEntry = 0xFF203040u, kPopupBack = 0xFF2050A0u, kKey = 0xFFE0E0E0u;

struct Rect {
    int x0, y0, x1, y1;
};
constexpr Rect kEntryField{60, 220, 740, 284};
// Two points of the popup's back that lie over keys: on E (row 1) and on L (row 2).
constexpr int kOverKeys[2][2] = {{205, 330}, {590, 410}};

// A sound manager without voices and a video player that counts its resumes, so that the
// popup's resume steps can be seen.
struct SilentAudio : AGAudioManagerImpl {
    void Update() override {}
};
struct CountingVideo : NullVideoPlayer {
    void Resume() override { ++resumes; }
    static inline int resumes = 0;
};

class AnswerScreenEndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        m_env.Set("XDG_CONFIG_HOME", m_home.Path());
        m_previousProgram = AGProgram::Get();
        AGProgram::SetInstance(&m_program);
        platform::window::SetBackendFactory(nullptr);
        g_inputRecord.Reset();
        m_savedAudio = AGAudioManager::s_implFactory;
        m_savedVideo = AGVideoPlayer::s_implFactory;
        AGAudioManager::s_implFactory = [] { return static_cast<AGAudioManagerImpl*>(new SilentAudio); };
        AGVideoPlayer::s_implFactory = [] { return static_cast<AGVideoPlayerImpl*>(new CountingVideo); };
        CountingVideo::resumes = 0;
        ASSERT_TRUE(m_app.Initialize());
        ASSERT_EQ(PCGraphicDevice::Get()->GetWidth(), 800u);

        // Package mode from the working folder: the sample package and one holding the
        // pointer actions.
        LoadCapacities(m_home, {{"FactoryDeviceTriggerKey", 8}, {"FactoryDeviceTriggerMove", 4}});
        m_devices = std::make_unique<Bridge::DeviceSystem>();
        m_devices->Startup();
        const std::string sample = TALLYVOX_SAMPLE_UI_PACKAGE;
        std::filesystem::create_directory_symlink(authoring::PackageWriter::FolderOf(sample),
                                                  m_work.Path() + "/sampleui");
        authoring::PackageWriter actions;
        actions.Add("actions.xml", TypeKey::Data,
                    "<root><RootContext><Contexts><item><Name>Default</Name><Actions>" +
                        ActionItem("Moves", "move", "axis-all") +
                        ActionItem("Click", "button", "mouseleft", "none") +
                        "</Actions></item></Contexts></RootContext></root>");
        ASSERT_TRUE(actions.WriteFolder(m_work.Path() + "/actions.dir"));
        std::filesystem::current_path(m_work.Path());
        Bridge::FileSystem::Destroy();
        Bridge::FileSystem::UsePackages();
        for (const char* package : {"sampleui.dir", "actions.dir"}) {
            Bridge::FileSystem::LoadPackage(package, false);
            ASSERT_TRUE(Bridge::FileSystem::IsPackageLoaded(package)) << package;
        }
        Bridge::SetLocalizationLanguage("english");
        Bridge::LoadLocalizationTable("gstrc");

        m_game = std::make_unique<widget_test::TestGame>();
        m_game->actions.SetActionContext("Default");
        m_screens = std::make_unique<ScreenManager>();
        m_screens->LoadNavigation();
        m_screens->LoadPopups();
        widget_test::RunTestLevel(m_game->flow, m_level);
    }

    void TearDown() override {
        if (m_screens)
            m_screens->CloseCurrentScreen();
        m_screens.reset();
        m_game.reset();
        Bridge::UnloadLocalizationTable("gstrc");
        Bridge::RenderingSystem::ReleaseSharedGraphicLayer();
        Bridge::FileSystem::Destroy();
        m_devices.reset();
        m_app.Shutdown();
        std::filesystem::current_path(m_previousFolder);
        platform::window::SetBackendFactory(nullptr);
        AGProgram::SetInstance(m_previousProgram);
        AGAudioManager::s_implFactory = m_savedAudio;
        AGVideoPlayer::s_implFactory = m_savedVideo;
        g_inputRecord.Reset();
    }

    // One tick as the game runs it: the devices' actions, the screen manager before the
    // modules, the modules and the screen's transforms while unpaused, the drawing, then
    // the device poll that takes in the messages sent meanwhile.
    void Frame() {
        m_devices->Update(16);
        m_screens->Update(16);
        if (!m_game->paused) {
            m_game->flow.Update(16);
            if (Screen* screen = m_screens->GetCurrentScreen())
                RenderingSystemWidget::UpdateTransforms(*screen->m_RootPanel);
        }
        PCGraphicDevice::Get()->UpdateLayers();
        PCGraphicDevice::Get()->RenderFrame();
        AGDeviceManager::Get()->Update();
    }
    void Send(const Message& message) {
        m_app.DispatchMessage(message);
        Frame();
        Frame();
    }
    void Click(int x, int y) {
        Send({.kind = MessageKind::MouseMove, .x = x, .y = y});
        Send({.kind = MessageKind::ButtonDown});
        Send({.kind = MessageKind::ButtonUp});
    }
    void Type(char16_t unit) { Send({.kind = MessageKind::Char, .unit = unit}); }
    void Backspace() {
        m_app.DispatchMessage({.kind = MessageKind::KeyDown, .key = 8});
        m_app.DispatchMessage({.kind = MessageKind::Char, .unit = 8});
        Send({.kind = MessageKind::KeyUp, .key = 8});
    }

    u32 Pixel(int x, int y) { return gfxtest::ReadPixel(*PCGraphicDevice::Get()->GetDevice(), x, y); }
    // Pixels of the rectangle that are neither `background` nor black.
    int Marked(const Rect& r, u32 background) {
        int count = 0;
        for (int y = r.y0; y < r.y1; y += 2)
            for (int x = r.x0; x < r.x1; x += 2) {
                const u32 p = Pixel(x, y);
                count += p != background && p != 0xFF000000u ? 1 : 0;
            }
        return count;
    }
    std::string Entered() const { return m_keyboard->GetEnteredText().c_str(); }

    TempDir m_home;
    TempDir m_work;
    ScopedEnv m_env;
    std::filesystem::path m_previousFolder = std::filesystem::current_path();
    TestProgram m_program{"Tallyvox", 800, 600, 0};
    AGProgram* m_previousProgram = nullptr;
    AGAudioManager::ImplFactory m_savedAudio = nullptr;
    AGVideoPlayer::ImplFactory m_savedVideo = nullptr;
    GraphicsStartup m_graphics;
    PCApplicationImpl m_app;
    std::unique_ptr<Bridge::DeviceSystem> m_devices;
    std::unique_ptr<widget_test::TestGame> m_game;
    std::unique_ptr<KorvoGame::LevelTransition> m_level;
    std::unique_ptr<ScreenManager> m_screens;
    SoftKeyboard* m_keyboard = nullptr;
};

// What the submit button's handler does: the entered text goes into the confirmation popup.
struct SubmitHandler {
    void OnClick() {
        ++clicks;
        Popup* popup = screens->FindPopup("PopupConfirmAnswer");
        popup->SetMessageText("LabelAnswer", keyboard->GetEnteredText());
        screens->ShowPopup("PopupConfirmAnswer");
    }
    ScreenManager* screens = nullptr;
    SoftKeyboard* keyboard = nullptr;
    int clicks = 0;
    FDelegate<SubmitHandler> delegate{this, &SubmitHandler::OnClick};
};

}  // namespace

TEST_F(AnswerScreenEndToEnd, TypeAnAnswerSubmitItAndConfirm) {
    LogCapture log;
    m_screens->SetPendingScreen("AnswerScreen");
    Frame();
    Frame();
    Panel* root = m_screens->GetCurrentScreen()->m_RootPanel;
    m_keyboard = static_cast<SoftKeyboard*>(Widget::Widget::FindChild("AnswerKeyboard", root));
    ASSERT_NE(m_keyboard, nullptr);
    EXPECT_NE(Widget::Widget::FindChild("HintLabel", root), nullptr) << "the composition";
    Widget::Widget* submit = Widget::Widget::FindChild("SubmitButton", root);
    ASSERT_NE(submit, nullptr);
    SubmitHandler handler{m_screens.get(), m_keyboard};
    submit->AddEventDelegate(kEventClick, &handler.delegate);
    EXPECT_EQ(Pixel(kOverKeys[0][0], kOverKeys[0][1]), kKey);
    EXPECT_EQ(Marked(kEntryField, kEntry), 0) << "an empty entry field";

    Click(88, 328);
    EXPECT_EQ(Entered(), "Q");
    Click(154, 328);
    EXPECT_EQ(Entered(), "QW");
    const int glyphs = Marked(kEntryField, kEntry);
    EXPECT_GT(glyphs, 20);
    Type(u'A');
    EXPECT_EQ(Entered(), "QWA");
    EXPECT_GT(Marked(kEntryField, kEntry), glyphs);
    Backspace();
    EXPECT_EQ(Entered(), "QW");
    EXPECT_EQ(Marked(kEntryField, kEntry), glyphs);

    Click(400, 155);
    EXPECT_EQ(handler.clicks, 1);
    EXPECT_TRUE(m_game->paused);
    Popup* popup = m_screens->GetTopPopup();
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Name, "PopupConfirmAnswer");
    const auto text = [&](const char* name) {
        auto* label = static_cast<Label*>(Widget::Widget::FindChild(name, popup->m_Panel));
        return label ? std::string(label->m_TextStyle.m_Text.c_str()) : std::string("(none)");
    };
    EXPECT_EQ(text("Title"), "Confirm");
    EXPECT_EQ(text("MainText"), "Submit this answer?");
    EXPECT_EQ(text("LabelAnswer"), "QW");
    for (const auto& at : kOverKeys)
        EXPECT_EQ(Pixel(at[0], at[1]), kPopupBack) << at[0] << "," << at[1];
    EXPECT_GT(Marked({220, 290, 580, 320}, kPopupBack), 0) << "the answer's glyphs";
    // What the game's pause does besides the flag; the popup's close undoes it.
    AGAudioManager::Get()->GetImpl()->Pause();
    g_renderPause = 1;
    // The screen under the popup takes no input: the keyboard keeps its text.
    Click(88, 328);
    EXPECT_EQ(Entered(), "QW");

    Click(310, 375);
    EXPECT_EQ(m_screens->GetOpenPopups().size(), 0u);
    EXPECT_FALSE(m_game->paused);
    EXPECT_EQ(AGAudioManager::Get()->GetImpl()->PauseDepth(), 0u);
    EXPECT_EQ(CountingVideo::resumes, 1);
    EXPECT_EQ(g_renderPause, 0);
    EXPECT_EQ(m_screens->GetTopPopup(), nullptr);
    for (const auto& at : kOverKeys)
        EXPECT_NE(Pixel(at[0], at[1]), kPopupBack) << at[0] << "," << at[1];
    EXPECT_EQ(Pixel(kOverKeys[0][0], kOverKeys[0][1]), kKey);
    EXPECT_EQ(handler.clicks, 1);
    Click(88, 328);
    EXPECT_EQ(Entered(), "QWQ") << "the screen takes input again";
    for (const std::string& line : log.Lines())
        EXPECT_EQ(line.find("Can not"), std::string::npos) << line;
}
