#include "gameshow/OptionsComposition.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/AGAudioManager.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PCApplicationImpl.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/PageButtons.h"
#include "tests/engine/core/AppTestSupport.h"
#include "tests/gameshow/ProfileTestSetup.h"

using namespace GameShow;
namespace W = GameServices::Widget;

namespace {

// The category volumes the page sets, in order.
class RecordingAudio : public AGAudioManagerImpl {
public:
    void Update() override {}
    void SetCategoryVolume(float volume, u32 category) override { calls.emplace_back(category, volume); }
    std::vector<std::pair<u32, float>> calls;
};

using Calls = std::vector<std::pair<u32, float>>;

// The options page on a started application (test window, stand-in graphics) whose audio
// records the category volumes.
class OptionsPage : public profiletest::ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        env.Set("XDG_CONFIG_HOME", dir.Path());
        dir.Write("Korvo Inc./Tallyvox/settings", "Fullscreen=0\nMultisampling=1\n");
        previousProgram = AGProgram::Get();
        AGProgram::SetInstance(&program);
        previousAudio = AGAudioManager::s_implFactory;
        AGAudioManager::s_implFactory = [] { return static_cast<AGAudioManagerImpl*>(new RecordingAudio); };
        platform::window::SetBackendFactory(MakeTestBackendWithSurface);
        ASSERT_TRUE(application.Initialize());
        applicationSaves = PCSavegameManager::Get();
        PCSavegameManager::SetInstance(savesFile.get());
        audio = static_cast<RecordingAudio*>(AGAudioManager::Get()->GetImpl());
        // No packages are mounted: page switches go without their slide.
        applicationResources = AGResourceManager::Get();
        AGResourceManager::SetInstance(nullptr);

        auto* root = new W::Panel(OptionsComposition::kName);
        for (const char* button : {"CreditsButton", "DoneButton"})
            Add(root, new W::Button(button));
        for (const char* box : {"FullScreenCheckBox", "MultiSamplingCheckBox"})
            Add(root, new W::CheckBox(box));
        for (const char* slider : {"sliderSfx", "sliderMusic", "sliderVoice"})
            Add(root, new W::SliderTrackBar(slider));
        screen.AddChild(root);
        compositions.m_WardrobeButton = &wardrobe;
        compositions.RegisterComposition(OptionsComposition::kName, &page);
        page.SetApplication(&application);
    }
    void TearDown() override {
        page.Uninitialize();
        PCSavegameManager::SetInstance(applicationSaves);
        AGResourceManager::SetInstance(applicationResources);
        application.Shutdown();
        platform::window::SetBackendFactory(nullptr);
        AGAudioManager::s_implFactory = previousAudio;
        AGProgram::SetInstance(previousProgram);
        ProfileTest::TearDown();
    }
    void Add(W::Panel* root, W::Widget* widget) {
        root->AddChild(widget);
        made[widget->Name.c_str()] = widget;
    }
    W::SliderWidget* Slider(const char* name) { return static_cast<W::SliderWidget*>(made.at(name)); }
    // Stored volumes and slider maxima for sound effects, music and voices; the page shown.
    void Start(const u32 (&stored)[3], const f32 (&maxima)[3]) {
        std::string slots = profiletest::SlotText(true, "Ann", "0");
        for (const char* id : {"1", "2", "3"})
            slots += profiletest::SlotText(false, "", id);
        Store(profiletest::DocumentText(0, slots));
        Load();
        Settings& settings = *manager->GetSettings();
        settings.SoundEffectsVolume = stored[0];
        settings.MusicVolume = stored[1];
        settings.VoiceVolume = stored[2];
        const char* const sliders[] = {"sliderSfx", "sliderMusic", "sliderVoice"};
        for (int i = 0; i < 3; ++i)
            Slider(sliders[i])->m_Maximum = maxima[i];
        page.Initialize(&screen, OptionsComposition::kName);
        page.OnActivate(true);
    }
    void Move(const char* slider, f32 value) {
        Slider(slider)->m_Value = value;
        Slider(slider)->GetBehavior()->onValueChanged();
    }
    void Click(W::Widget* widget) { widget->GetBehavior()->onPress(false); }
    void Again() {
        compositions.Reset();
        page.OnActivate(false);
        page.OnActivate(true);
    }
    bool Ticked(const char* box) { return IsButtonMarked(made.at(box)); }

    FakeGraphics::Installed graphics;
    TestProgram program{"Tallyvox", 800, 600, kSettingPersistent};
    AGProgram* previousProgram = nullptr;
    AGAudioManager::ImplFactory previousAudio = nullptr;
    PCApplicationImpl application;
    PCSavegameManager* applicationSaves = nullptr;
    AGResourceManager* applicationResources = nullptr;
    RecordingAudio* audio = nullptr;
    W::Panel screen{"MenuScreen"};
    W::Button wardrobe{"WardrobeButton"};
    std::map<std::string, W::Widget*> made;
    CompositionManager compositions{nullptr};
    OptionsComposition page;
};

}  // namespace

TEST_F(OptionsPage, StoredVolumesFillTheSlidersAndTheCategoriesClamped) {
    const struct {
        u32 stored[3];
        f32 maxima[3];
        f32 values[3];
        Calls calls;
    } cases[] = {
        {{40, 75, 250}, {200, 296, 0}, {80, 222, 0}, {{0, 0.75f}, {1, 1.0f}, {2, 0.4f}}},
        {{0, 100, 4000000000u}, {100, 100, 100}, {0, 100, 100}, {{0, 1.0f}, {1, 1.0f}, {2, 0.0f}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored[2]);
        audio->calls.clear();
        Start(c.stored, c.maxima);
        EXPECT_FLOAT_EQ(Slider("sliderSfx")->m_Value, c.values[0]);
        EXPECT_FLOAT_EQ(Slider("sliderMusic")->m_Value, c.values[1]);
        EXPECT_FLOAT_EQ(Slider("sliderVoice")->m_Value, c.values[2]);
        ASSERT_EQ(audio->calls.size(), c.calls.size());
        for (size_t i = 0; i < c.calls.size(); ++i) {
            EXPECT_EQ(audio->calls[i].first, c.calls[i].first);
            EXPECT_FLOAT_EQ(audio->calls[i].second, c.calls[i].second);
        }
        page.Uninitialize();
    }
}

TEST_F(OptionsPage, SlidersPlayAtOnceAndOnlyDoneStoresTruncatedPercentages) {
    Start({50, 50, 50}, {200, 200, 0});
    audio->calls.clear();
    Move("sliderSfx", 199.8f);
    Move("sliderMusic", 200);
    Move("sliderVoice", 5);
    ASSERT_EQ(audio->calls.size(), 3u);
    EXPECT_EQ(audio->calls[0].first, 2u);
    EXPECT_FLOAT_EQ(audio->calls[0].second, 0.999f);
    EXPECT_EQ(audio->calls[1], std::make_pair(0u, 1.0f));
    EXPECT_EQ(audio->calls[2], std::make_pair(1u, 0.0f));

    const u32 writes = manager->GetWriteCount();
    const struct {
        W::Widget* button;
        const char* next;
    } leaves[] = {{made.at("CreditsButton"), OptionsComposition::kCreditsPage}, {&wardrobe, CompositionManager::kWardrobe}};
    for (const auto& leave : leaves) {
        Again();
        Click(leave.button);
        EXPECT_STREQ(compositions.GetNextCompositionName().c_str(), leave.next);
        EXPECT_EQ(manager->GetSettings()->SoundEffectsVolume, 50u);
        EXPECT_EQ(manager->GetWriteCount(), writes);
    }
    EXPECT_STREQ(compositions.m_ReturnComposition.c_str(), OptionsComposition::kName);
    EXPECT_EQ(audio->calls.size(), 3u) << "leaving keeps the new volumes playing";

    Again();
    Click(made.at("DoneButton"));
    EXPECT_STREQ(compositions.GetNextCompositionName().c_str(), CompositionManager::kMainMenu);
    EXPECT_EQ(manager->GetWriteCount(), writes + 1);
    page.Uninitialize();
    const Settings& stored = *Load()->GetSettings();
    EXPECT_EQ(stored.SoundEffectsVolume, 99u);
    EXPECT_EQ(stored.MusicVolume, 100u);
    EXPECT_EQ(stored.VoiceVolume, 0u);
}

TEST_F(OptionsPage, CheckBoxesShowTheApplicationsModesOnEveryShowing) {
    Start({50, 50, 50}, {100, 100, 100});
    EXPECT_FALSE(Ticked("FullScreenCheckBox"));
    EXPECT_TRUE(Ticked("MultiSamplingCheckBox"));
    page.OnActivate(false);
    application.DispatchMessage(platform::window::Message{platform::window::MessageKind::ModeSwitch});
    page.OnActivate(true);
    EXPECT_TRUE(Ticked("FullScreenCheckBox"));

    Click(made.at("FullScreenCheckBox"));
    EXPECT_EQ(application.GetFlags() & kSettingFullscreen, 0u);
    g_fakeGraphics.refusesSwitch = true;
    log.Clear();
    Click(made.at("FullScreenCheckBox"));
    EXPECT_EQ(application.GetFlags() & kSettingFullscreen, 0u);
    EXPECT_TRUE(log.Contains("cannot switch"));
    Click(made.at("MultiSamplingCheckBox"));
    Again();
    EXPECT_FALSE(Ticked("FullScreenCheckBox"));
    EXPECT_FALSE(Ticked("MultiSamplingCheckBox"));
    EXPECT_EQ(FileContents(dir.File("Korvo Inc./Tallyvox/settings")), "Fullscreen=0\nMultisampling=0\n");
}
