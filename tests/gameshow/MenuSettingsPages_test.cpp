// The options, profiles, player-count, credits and connection error pages on the sample menu
// layout, in a started application (test window, stand-in graphics, recording audio).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <utility>

#include "engine/core/AGAudioManager.h"
#include "engine/core/PCApplicationImpl.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetManager.h"
#include "gameshow/ConnectionErrorComposition.h"
#include "gameshow/CreditsComposition.h"
#include "gameshow/NumberOfPlayerComposition.h"
#include "gameshow/OptionsComposition.h"
#include "gameshow/ProfilesComposition.h"
#include "tests/engine/core/AppTestSupport.h"
#include "tests/gameshow/PageTestSetup.h"
#include "tests/support/PopupPress.h"

using namespace GameShow;
namespace KG = GameServices::KorvoGame;
namespace W = GameServices::Widget;

namespace {

class RecordingAudio : public AGAudioManagerImpl {
public:
    void Update() override {}
    void SetCategoryVolume(float volume, u32 category) override { calls.emplace_back(category, volume); }
    std::vector<std::pair<u32, float>> calls;
};

using Calls = std::vector<std::pair<u32, float>>;
using Names = std::vector<std::string>;

class MenuPages : public pagetest::MenuAvatarTest {
protected:
    void SetUp() override {
        MenuAvatarTest::SetUp();
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
        pagetest::CopySample(dir, "-xml/screen/menuscreen.xaml", "screens/menuscreen.xaml");
        LoadPopups({"gameshowpopupprompt.xaml", "gameshowpopupwait.xaml"});
        screen.reset(W::WidgetManager::Instance().BuildPanel(nullptr, "menuscreen.xaml", true));
        compositions.m_WardrobeButton = wardrobe = W::Widget::FindChild("WardrobeButton", screen.get());
        ASSERT_NE(wardrobe, nullptr);
        const char* const names[] = {OptionsComposition::kName, ProfilesComposition::kName,
                                     NumberOfPlayerComposition::kName, CreditsComposition::kName,
                                     ConnectionErrorComposition::kName};
        for (size_t i = 0; i < std::size(pages); ++i)
            compositions.RegisterComposition(names[i], pages[i]);
        options.SetApplication(&application);
        profiles.SetScreens(&screens);
        players.SetScreens(&screens);
        devices.SetDeviceRange(1, 4);
    }
    void TearDown() override {
        for (CompositionBase* page : pages)
            page->Uninitialize();
        PCSavegameManager::SetInstance(applicationSaves);
        application.Shutdown();
        platform::window::SetBackendFactory(nullptr);
        AGAudioManager::s_implFactory = previousAudio;
        AGProgram::SetInstance(previousProgram);
        MenuAvatarTest::TearDown();
    }

    // One slot per name ("" unused); stored volumes and slider maxima for sound effects,
    // music and voices; every page initialized, the one named shown.
    void Start(const Names& names, int current, CompositionBase& shown, const u32 (&stored)[3] = {50, 50, 50},
               const f32 (&maxima)[3] = {100, 100, 100}) {
        SetProfileCount(int(names.size()));
        Store(profiletest::DocumentText(current, profiletest::SlotsText(names)));
        Load();
        Settings& settings = *manager->GetSettings();
        settings.SoundEffectsVolume = stored[0];
        settings.MusicVolume = stored[1];
        settings.VoiceVolume = stored[2];
        const char* const sliders[] = {"sliderSfx", "sliderMusic", "sliderVoice"};
        for (int i = 0; i < 3; ++i)
            Slider(sliders[i])->m_Maximum = maxima[i];
        for (CompositionBase* page : pages) {
            page->Uninitialize();
            page->Initialize(screen.get(), page->GetName());
            page->ReleaseAnimation();
            EXPECT_FALSE(page->GetRootPanel()->Visible) << "hidden until shown";
        }
        EXPECT_FALSE(log.Contains("can not find")) << "the sample layout has every widget";
        shown.OnActivate(true);
        log.Clear();
    }
    W::Widget* At(const CompositionBase& page, const std::string& name) {
        auto* grid = static_cast<W::Panel*>(W::Widget::FindChild(page.GetName(), screen.get()));
        W::Widget* widget = W::Widget::FindChild(name.c_str(), grid);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    std::string Background(int slot) {
        return static_cast<W::Image*>(At(profiles, "baseImage" + std::to_string(slot + 1)))->m_ImageName.c_str();
    }
    W::SliderWidget* Slider(const char* name) { return static_cast<W::SliderWidget*>(At(options, name)); }
    void Click(W::Widget* widget) { pagetest::Click(widget); }
    void Click(const CompositionBase& page, const std::string& name) { Click(At(page, name)); }
    // The page shown again with no switch running.
    void Again(CompositionBase& page) {
        compositions.Reset();
        page.ReleaseAnimation();
        page.OnActivate(false);
        page.OnActivate(true);
    }
    void ExpectCalls(const Calls& expected) const {
        ASSERT_EQ(audio->calls.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(audio->calls[i].first, expected[i].first);
            EXPECT_FLOAT_EQ(audio->calls[i].second, expected[i].second);
        }
    }
    const char* Next() const { return compositions.GetNextCompositionName().c_str(); }
    size_t Count(const std::string& text) const { return pagetest::Count(log, text); }
    bool WaitShown() const {
        const auto& open = screens.GetOpenPopups();
        W::Popup* wait = screens.FindPopup(NumberOfPlayerComposition::kWaitPopup);
        return std::find(open.begin(), open.end(), wait) != open.end();
    }
    void Connect(i32 device) {
        GameServices::Bridge::DeviceInfos infos{device, nullptr};
        devices.onDeviceConnected(infos);
        KG::TeamActionManager::GetFreeDeviceConnectedEvent().Fire(infos);
    }

    FakeGraphics::Installed graphics;
    TestProgram program{"Tallyvox", 800, 600, kSettingPersistent};
    AGProgram* previousProgram = nullptr;
    AGAudioManager::ImplFactory previousAudio = nullptr;
    PCApplicationImpl application;
    PCSavegameManager* applicationSaves = nullptr;
    RecordingAudio* audio = nullptr;
    KG::DeviceManager devices;
    std::unique_ptr<W::Panel> screen;
    W::Widget* wardrobe = nullptr;
    OptionsComposition options;
    ProfilesComposition profiles;
    NumberOfPlayerComposition players;
    CreditsComposition credits;
    ConnectionErrorComposition connectionError;
    CompositionBase* const pages[5] = {&options, &profiles, &players, &credits, &connectionError};
};

}  // namespace

TEST_F(MenuPages, StoredVolumesFillTheSlidersAndReachTheCategoriesClamped) {
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
        Start({"Ann"}, 0, options, c.stored, c.maxima);
        const char* const sliders[] = {"sliderSfx", "sliderMusic", "sliderVoice"};
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(Slider(sliders[i])->m_Value, c.values[i]) << sliders[i];
        ExpectCalls(c.calls);
    }
}

TEST_F(MenuPages, SlidersPlayAtOnceAndOnlyDoneStoresTruncatedPercentages) {
    Start({"Ann"}, 0, options, {50, 50, 50}, {200, 200, 0});
    audio->calls.clear();
    const std::pair<const char*, f32> moves[] = {{"sliderSfx", 199.8f}, {"sliderMusic", 200}, {"sliderVoice", 5}};
    for (const auto& [slider, value] : moves) {
        Slider(slider)->m_Value = value;
        Slider(slider)->GetBehavior()->onValueChanged();
    }
    const Calls played = {{2, 0.999f}, {0, 1.0f}, {1, 0.0f}};
    ExpectCalls(played);
    const u32 writes = manager->GetWriteCount();
    const std::pair<W::Widget*, const char*> leaves[] = {{At(options, "CreditsButton"), OptionsComposition::kCreditsPage},
                                                          {wardrobe, CompositionManager::kWardrobe},
                                                          {At(options, "DoneButton"), CompositionManager::kMainMenu}};
    for (const auto& [button, next] : leaves) {
        Again(options);
        EXPECT_EQ(manager->GetWriteCount(), writes);
        Click(button);
        EXPECT_STREQ(Next(), next);
    }
    EXPECT_STREQ(compositions.m_ReturnComposition.c_str(), OptionsComposition::kName);
    ExpectCalls(played);  // leaving keeps the new volumes playing
    EXPECT_EQ(manager->GetWriteCount(), writes + 1);
    const Settings& saved = *Load()->GetSettings();
    EXPECT_EQ(std::vector<u32>({saved.SoundEffectsVolume, saved.MusicVolume, saved.VoiceVolume}),
              std::vector<u32>({99, 100, 0}));
}

TEST_F(MenuPages, NewProfilesNeedAFreeSlotAndDeleteASecondProfile) {
    const struct {
        Names names;
        bool canCreate;
        bool canDelete;
        std::map<i32, i32> slots;
    } cases[] = {
        {{"Ann", "Bob", "Cy", "Dee"}, false, true, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {{"Ann", "", "", ""}, true, false, {{0, 0}}},
        {{"Ann", "", "Cy"}, true, true, {{0, 0}, {1, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names.size());
        Start(c.names, 0, profiles);
        EXPECT_EQ(At(profiles, "NewProfileButton")->m_Enabled != 0, c.canCreate);
        EXPECT_EQ(At(profiles, "DeleteProfileButton")->m_Enabled != 0, c.canDelete);
        EXPECT_EQ(At(profiles, "DeleteProfileButton")->m_InputLocked != 0, !c.canDelete);
        EXPECT_EQ(profiles.GetSlotMap(), c.slots);
        Click(profiles, "NewProfileButton");
        EXPECT_STREQ(Next(), ProfilesComposition::kNewProfilePage);
    }
}

TEST_F(MenuPages, DeletingMakesTheNeighbourCurrentAndSavesOnlyThat) {
    const Names names = {"Ann", "Bob", "Cy", "Dee"};
    for (const auto& [deleted, current] : {std::pair{3, 2}, std::pair{0, 1}}) {
        SCOPED_TRACE(deleted);
        Start(names, deleted, profiles);
        Click(profiles, "DeleteProfileButton");
        avatar.SetVisible(false);
        PressPopupButton(screens, ProfilesComposition::kDeletePopup, "Confirm");
        EXPECT_TRUE(avatar.Visible) << "the new current profile is shown";
        EXPECT_EQ(profiles.GetSlotMap().at(profiles.GetSelectedSlot()), current);
        EXPECT_EQ(manager->GetPlayerSlot(0), current);
        Load();
        EXPECT_EQ(manager->GetSettings()->CurrentSavedGame, current);
        for (int slot = 0; slot < 4; ++slot) {
            EXPECT_EQ(manager->GetSavedFile()->IsUsedSlot(slot), slot != deleted);
            EXPECT_EQ(manager->GetSlot(slot)->SavedGameName.c_str(), names[size_t(slot)]);
        }
    }
}

TEST_F(MenuPages, DoneConfirmsTheTickedProfile) {
    Start({"Ann", "Bob", "Cy"}, 1, profiles);
    Click(profiles, "profile2Checkbox");
    Click(profiles, "DoneButton");
    EXPECT_TRUE(manager->IsProfileChosen());
    EXPECT_STREQ(Next(), CompositionManager::kMainMenu);

    Again(profiles);
    avatar.SetVisible(false);
    Click(profiles, "profile3Checkbox");
    EXPECT_TRUE(avatar.Visible) << "the ticked profile is shown";
    EXPECT_EQ(Background(1) + " " + Background(2),
              std::string(ProfilesComposition::kBaseImage) + " " + ProfilesComposition::kSelectedImage);
    EXPECT_EQ(manager->GetSettings()->CurrentSavedGame, 1) << "a pick alone is not saved";
    Click(wardrobe);
    EXPECT_EQ(manager->GetSettings()->CurrentSavedGame, 2);
    EXPECT_STREQ(compositions.m_ReturnComposition.c_str(), ProfilesComposition::kName);
}

TEST_F(MenuPages, EnoughDevicesGoOnAtOnce) {
    Start({"Ann"}, 0, players);
    Connect(1);
    avatar.SetVisible(true);
    Click(players, "NumberOfPlayer_Btn2");
    EXPECT_FALSE(WaitShown());
    EXPECT_EQ(devices.GetMinimum() + devices.GetMaximum(), 4u);
    EXPECT_EQ(manager->GetPlayerCount(), 2u);
    EXPECT_FALSE(avatar.Visible);
    EXPECT_STREQ(Next(), NumberOfPlayerComposition::kNextPage);
}

TEST_F(MenuPages, MissingDevicesWaitBehindThePopupUntilConnectedOrGivenUp) {
    Start({"Ann"}, 0, players);
    auto& connected = KG::TeamActionManager::GetFreeDeviceConnectedEvent();
    const size_t listeners = connected.Count();
    PressPopupButton(screens, NumberOfPlayerComposition::kWaitPopup, NumberOfPlayerComposition::kWaitBackButton);
    EXPECT_EQ(devices.GetMaximum(), 4u) << "not this page's wait";
    Connect(0);
    Connect(1);
    Click(players, "NumberOfPlayer_Btn4");
    EXPECT_TRUE(WaitShown());
    EXPECT_EQ(connected.Count(), listeners + 1);
    EXPECT_EQ(KG::TeamActionManager::GetMemberDeviceLostEvent().Count(), listeners + 1);
    Connect(2);
    EXPECT_TRUE(WaitShown()) << "device 3 is still missing";
    Connect(3);
    EXPECT_FALSE(WaitShown());
    EXPECT_EQ(compositions.GetLeavingComposition(), &players);
    EXPECT_EQ(connected.Count(), listeners);

    GameServices::Bridge::DeviceInfos fourth{3, nullptr};
    for (bool silently : {true, false}) {
        Again(players);
        devices.onDeviceDisconnected(fourth);
        Click(players, "NumberOfPlayer_Btn4");
        ASSERT_TRUE(WaitShown());
        if (!silently)
            break;
        devices.onDeviceConnected(fourth);
        KG::TeamActionManager::GetMemberDeviceLostEvent().Fire(nullptr);  // any device change tries again
        EXPECT_FALSE(WaitShown());
        EXPECT_EQ(compositions.GetLeavingComposition(), &players);
    }
    PressPopupButton(screens, NumberOfPlayerComposition::kWaitPopup, NumberOfPlayerComposition::kWaitBackButton);
    EXPECT_FALSE(players.IsWaiting());
    EXPECT_EQ(devices.GetMinimum() + devices.GetMaximum(), 2u);
    EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
    Click(players, "NumberOfPlayer_Btn4");
    players.Uninitialize();  // leaving the screen ends the wait too, and unbinds its Back button
    EXPECT_EQ(KG::TeamActionManager::GetMemberDeviceLostEvent().Count() + connected.Count(), 2 * listeners);
    for (const W::Popup::Option& option : screens.FindPopup(NumberOfPlayerComposition::kWaitPopup)->m_Options)
        EXPECT_TRUE(option.m_Callbacks.empty()) << option.m_Name.c_str();
}

TEST_F(MenuPages, PagesWithoutTheirWidgetsReportThemAndStillWork) {
    Start({"Ann", "Bob"}, 0, connectionError);
    {
        CreditsComposition gone;  // destroyed while initialized: lets go of the back button
        gone.Initialize(screen.get(), CreditsComposition::kName);
    }
    W::Panel bare{"MenuScreen"};
    for (CompositionBase* page : pages) {
        bare.AddChild(new W::Panel(page->GetName()));
        page->Uninitialize();
        page->Initialize(&bare, page->GetName());
        page->OnActivate(true);
    }
    for (const char* name : {"sliderVoice", "profile4Checkbox", "NumberOfPlayer_Btn3", "ScrollText", "cancelButton"})
        EXPECT_GE(Count(std::string("can not find ") + name), 1u) << name;
    log.Clear();
    Click(options, "DoneButton");  // the widgets of before are no longer listened to
    Click(profiles, "profile1Checkbox");
    Click(credits, "BackButton");
    EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
    options.OnSfxVolumeChanged();
    options.OnFullScreenClick();
    profiles.SelectSlot(1);
    profiles.SelectSlot(3);
    EXPECT_EQ(profiles.GetSelectedSlot(), 1) << "slot 4 holds no profile";
    profiles.OnDeleteConfirmed();
    EXPECT_FALSE(manager->GetSavedFile()->IsUsedSlot(1));
    credits.Update(16);
    connectionError.OnCancelClick();
    options.OnDoneClick();
    EXPECT_STREQ(Next(), CompositionManager::kMainMenu);
    EXPECT_EQ(manager->GetSettings()->MusicVolume, 50u) << "no slider, no new volume";
    for (CompositionBase* page : pages) {
        page->Uninitialize();
        EXPECT_EQ(page->GetRootPanel(), nullptr);
    }
    screen.reset();  // TearDown uninitializes the pages again
}
