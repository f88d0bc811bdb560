// The menu pages (main menu, look and name of a new player, options, profiles, player count,
// credits, connection error) and the in-game menu popups on the sample menu layout, in a started
// application (test window, stand-in graphics, recording audio and avatar rebuilds).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <tuple>
#include <utility>

#include "engine/core/AGAudioManager.h"
#include "engine/core/PCApplicationImpl.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/Team.h"
#include "gameservices/game/AvatarRendering.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/game/CollisionCursor.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/GameFlowServices.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/game/TeamRegistry.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameservices/widget/WidgetManager.h"
#include "gameshow/AudioManager.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/WardrobeManager.h"
#include "gameshow/BasicLookComposition.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/ConnectionErrorComposition.h"
#include "gameshow/CreditsComposition.h"
#include "gameshow/GroupAwardsComposition.h"
#include "gameshow/KeyboardComposition.h"
#include "gameshow/MainMenuComposition.h"
#include "gameshow/MenuCharacter.h"
#include "gameshow/Menu.h"
#include "gameshow/NumberOfPlayerComposition.h"
#include "gameshow/OptionsComposition.h"
#include "gameshow/PageButtons.h"
#include "gameshow/ProfilesComposition.h"
#include "tests/engine/core/AppTestSupport.h"
#include "tests/gameshow/PageTestSetup.h"
#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/gameshow/WardrobeTestSetup.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/PopupPress.h"

using namespace GameShow;
namespace KG = GameServices::KorvoGame;
namespace W = GameServices::Widget;
using GameServices::Entities::BaseTeamMember;

namespace {

class RecordingAudio : public AGAudioManagerImpl {
public:
    void Update() override {}
    void SetCategoryVolume(float volume, u32 category) override { calls.emplace_back(category, volume); }
    std::vector<std::pair<u32, float>> calls;
};

// A running game as far as the main menu sees it: the pause and a game flow that knows no level.
class PauseRecorder : public KG::ICurrentGame {
public:
    KG::GameFlowManager* GetGameFlowManager() override { return &flow; }
    KG::TeamActionManager* GetTeamActionManager() override { return nullptr; }
    GameServices::Entities::Set* GetCurrentLevel() override { return nullptr; }
    bool IsPaused() const override { return paused; }
    void SetPause(bool value) override { paused = value; }
    bool paused = false;
    KG::GameFlowManager flow;
};

std::string Unlockable(const std::string& look, const std::string& model, const std::string& type) {
    return "<Unlockable AppearanceName=\"" + look + "\" UnlockableModel=\"" + model + "\" Type=\"" + type + "\"/>";
}
std::string Award(const std::string& title, const std::string& unlockables = "", const std::string& about = "d") {
    return "<Award><Title>" + title + "</Title><Description>" + about + "</Description><Unlockables>" +
           unlockables + "</Unlockables></Award>";
}
std::string Group(const std::string& title, const std::string& awards) {
    return "<MetaAward><Category>c</Category><Title>" + title + "</Title><Description>g</Description>"
           "<Unlockables/><Awards>" + awards + "</Awards></MetaAward>";
}
std::string AwardsText(const std::string& groups) {
    return "<root><MetaAwards>" + groups + "</MetaAwards></root>";
}

// The looks' unlockable items: one assembly per look key of the test profiles, every item a
// Female1 profile can win.
const std::string kUnlockableAssemblies =
    profiletest::Assemblies(profiletest::Assembly("AppearanceFemale01", 1201, "Prize_F.xml", "Female"));
const std::string kPrizes =
    "<root>" +
    wardrobetest::WardrobeText(wardrobetest::Item(11, "ChF_Top_Crop_skin01_dpnk.mdl"),
                               wardrobetest::Item(21, "ChF_Bottom_Skirt.mdl"), wardrobetest::Item(31, "ChF_Shoes_Skate.mdl"),
                               wardrobetest::Item(41, "ChF_Glasses_Star.mdl")) +
    wardrobetest::AnatomyText("", wardrobetest::Item(51, "ChF_Hair_Spiky.mdl")) + "</root>";

const char* const kSliders[] = {"sliderSfx", "sliderMusic", "sliderVoice"};
using Calls = std::vector<std::pair<u32, float>>;
using Names = std::vector<std::string>;

// Records the avatar rebuilds: "clean" and "build" per character.
class RecordingRendering : public KG::IAvatarRendering {
public:
    void SetRenderableAvatarData(GameServices::Entities::Character&,
                                 const GameServices::Bridge::RenderableAvatarData&) override {}
    void InitializeAvatar(GameServices::Entities::Character&) override { rebuilds.push_back("build"); }
    void CleanupAvatar(GameServices::Entities::Character&) override { rebuilds.push_back("clean"); }
    Names rebuilds;
};

bool Own(const PCApplicationImpl& application, const void* page) {
    return application.GetCloseCallback().object == page && application.GetActivatedCallback().object == page &&
           application.GetDeactivatedCallback().object == page;
}

struct PopupEvents {
    void On(bool shown) { events.push_back(shown); }
    std::vector<bool> events;
    FDelegateParam<PopupEvents, bool> delegate{this, &PopupEvents::On};
};

// The menu avatar in the menu level, the page manager with the sample layout and popups.
class MenuPages : public profiletest::ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        compositions.PopupVisibilityChanged.AddDelegate(&popupEvents.delegate);
        stage.m_Characters.push_back(&avatar);
        level = &stage;
        env.Set("XDG_CONFIG_HOME", dir.Path());
        dir.Write("Korvo Inc./Tallyvox/settings", "Fullscreen=0\nMultisampling=1\n");
        AGProgram::SetInstance(&program);
        AGAudioManager::s_implFactory = [] { return static_cast<AGAudioManagerImpl*>(new RecordingAudio); };
        platform::window::SetBackendFactory(MakeTestBackendWithSurface);
        ASSERT_TRUE(application.Initialize());
        applicationSaves = PCSavegameManager::Get();
        PCSavegameManager::SetInstance(savesFile.get());
        audio = static_cast<RecordingAudio*>(AGAudioManager::Get()->GetImpl());
        for (const char* look : {"AppearanceMale01.xml", "AppearanceMale02.xml", "AppearanceFemale01.xml"})
            pagetest::CopyLook(dir, look);
        KG::CharacterManager::Instance()->SetAvatarRendering(&rendering);
        pagetest::CopySample(dir, "-xml/global/gameshowpopups.xml", "global/gameshowpopups.xml");
        for (const std::string layout : {"menuscreen.xaml", "gameshowpopupmenu.xaml", "gameshowpopupprompt.xaml",
                                         "gameshowpopupnotice.xaml", "gameshowpopupwait.xaml"})
            pagetest::CopySample(dir, "-xml/screen/" + layout, "screens/" + layout);
        screens.LoadPopups();
        compositions.LoadPopups();
        screen.reset(W::WidgetManager::Instance().BuildPanel(nullptr, "menuscreen.xaml", true));
        compositions.m_WardrobeButton = wardrobe = W::Widget::FindChild("WardrobeButton", screen.get());
        ASSERT_NE(wardrobe, nullptr);
        const char* const names[] = {OptionsComposition::kName, ProfilesComposition::kName, NumberOfPlayerComposition::kName,
                                     CreditsComposition::kName, ConnectionErrorComposition::kName,
                                     CompositionManager::kMainMenu, BasicLookComposition::kName, KeyboardComposition::kName};
        for (size_t i = 0; i < std::size(pages); ++i)
            compositions.RegisterComposition(names[i], pages[i]);
        options.SetApplication(&application);
        mainMenu.SetApplication(&application);
        mainMenu.SetGame(&game);
        mainMenu.SetScreens(&screens);
        profiles.SetScreens(&screens);
        players.SetScreens(&screens);
        devices.SetDeviceRange(1, 4);
        compositions.RegisterComposition(AwardsComposition::kName, &awardsPage);
        compositions.RegisterComposition(GroupAwardsComposition::kName, &groupPage);
        dir.Write("-xml/korvocity/unlockablecharacterassemblies.xml", kUnlockableAssemblies);
        dir.Write("-xml/korvocity/prize_f.xml", kPrizes);
        WardrobeManager::Destroy();
        WardrobeManager::Instance()->LoadUnlockableAssemblies();
    }
    void TearDown() override {
        for (CompositionBase* page : pages)
            page->Uninitialize();
        WardrobeManager::Destroy();
        KG::CharacterManager::Instance()->SetAvatarRendering(nullptr);
        PCSavegameManager::SetInstance(applicationSaves);
        application.Shutdown();
        platform::window::SetBackendFactory(nullptr);
        AGAudioManager::s_implFactory = previousAudio;
        AGProgram::SetInstance(previousProgram);
        KG::CharacterManager::Instance()->RemoveAppearance(avatar);
        ProfileTest::TearDown();
    }

    // One slot per name ("" unused); stored volumes and slider maxima for sound effects,
    // music and voices; every page initialized, the one named shown.
    void Start(const Names& names, int current, CompositionBase& shown, const u32 (&stored)[3] = {50, 50, 50},
               const f32 (&maxima)[3] = {100, 100, 100}) {
        SetProfileCount(int(names.size()));
        Store(profiletest::DocumentText(current, profiletest::SlotsText(names)));
        Load();
        u32 Settings::*const volumes[] = {&Settings::SoundEffectsVolume, &Settings::MusicVolume, &Settings::VoiceVolume};
        for (int i = 0; i < 3; ++i) {
            manager->GetSettings()->*volumes[i] = stored[i];
            Slider(kSliders[i])->m_Maximum = maxima[i];
        }
        for (CompositionBase* page : pages) {
            Reinit(page);
            page->ReleaseAnimation();
            EXPECT_FALSE(page->GetRootPanel()->Visible) << "hidden until shown";
        }
        EXPECT_FALSE(log.Contains("can not find")) << "the sample layout has every widget";
        shown.OnActivate(true);
        log.Clear();
    }
    void Reinit(CompositionBase* page) { page->Uninitialize(); page->Initialize(screen.get(), page->GetName()); }
    W::Widget* At(const CompositionBase& page, const std::string& name) {
        auto* grid = static_cast<W::Panel*>(W::Widget::FindChild(page.GetName(), screen.get()));
        W::Widget* widget = W::Widget::FindChild(name.c_str(), grid);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    std::string Picture(const std::string& image, const CompositionBase* page = nullptr) {
        return static_cast<W::Image*>(At(page ? *page : profiles, image))->m_ImageName.c_str();
    }
    std::string Text(const CompositionBase& page, const std::string& label) {
        return static_cast<W::Label*>(At(page, label))->m_TextStyle.m_Text.c_str();
    }
    W::SliderWidget* Slider(const char* name) { return static_cast<W::SliderWidget*>(At(options, name)); }
    void Click(W::Widget* widget) { pagetest::Click(widget); }
    static size_t Listeners(W::Widget* widget) { return widget->GetBehavior()->Event(W::kEventClick).Count(); }
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
    bool Shown(const char* popup) const { return (" " + Open()).find(" " + std::string(popup) + " ") != std::string::npos; }
    bool WaitShown() const { return Shown(NumberOfPlayerComposition::kWaitPopup); }
    // The awards file read, player 0 on slot 1 ("ANNA", a Female1 look) unless `current` says
    // otherwise, and the awards pages initialized.
    void StartAwards(const std::string& text, int current = 1) {
        WriteAwards(text);
        Start({"", "ANNA", "", ""}, current, connectionError);
        awardsPage.LoadAwards();
        for (CompositionBase* page : awardPages)
            Reinit(page);
        log.Clear();
    }
    void WriteAwards(const std::string& text) { dir.Write("-xml/global/awards.xml", text); }
    void Reload(const std::string& text) { WriteAwards(text); awardsPage.LoadAwards(); awardsPage.ShowGroups(); }
    // The k-th award of the first group; an empty award when there is none.
    const sAward& Nth(size_t k) const {
        static const sAward none;
        const auto& groups = awardsPage.GetAwardList().MetaAwards;
        return !groups.empty() && k < groups[0].Awards.size() ? groups[0].Awards[k] : none;
    }
    std::string Open() const {
        std::string names;
        for (W::Popup* popup : screens.GetOpenPopups())
            names += std::string(popup->Name.c_str()) + " ";
        return names;
    }
    std::string Locks() const {
        std::string flags;
        for (const BaseTeamMember* member : members)
            flags += member->m_Locked ? 'L' : '-';
        return flags;
    }
    // Popup visibility changes, journal entries and button sounds (each is reported, no level
    // runs) since the last call.
    std::string Take() {
        std::string text;
        for (bool shown : popupEvents.events)
            text += shown ? "shown " : "hidden ";
        for (const std::string& entry : journal)
            text += entry + " ";
        for (size_t n = log.Count(AudioManager::kButtonPressSound); n > 0; --n)
            text += "sound ";
        popupEvents.events.clear();
        journal.clear();
        log.Clear();
        return text;
    }
    // A new player's start: the slots, no page shown, the default looks read.
    void StartNewPlayer(const Names& names, int current = -1) {
        Start(names, current, connectionError);
        connectionError.OnActivate(false);
        manager->PreloadDefaultLooks();
    }
    W::Widget* Look(int k) { return At(lookPage, "effect" + std::to_string(k)); }
    W::SoftKeyboard* Keyboard() { return static_cast<W::SoftKeyboard*>(At(namePage, "softkeyboard")); }
    void Type(uintptr_t code) {
        KG::TeamActionData action(nullptr, code, nullptr);
        Keyboard()->m_KeyboardBehavior.onSoftKeyAction(&action);
    }
    void TypeText(const std::string& text) {
        for (char c : text)
            Type(static_cast<unsigned char>(c));
    }
    std::string Entered() { return Keyboard()->GetEnteredText().c_str(); }
    // The name page shown with a look on the avatar.
    void ShowNamePageWithLook(u32 look) {
        lookPage.OnActivate(true);
        lookPage.SelectLook(i32(look));
        namePage.OnActivate(true);
        compositions.Reset();
    }
    bool Close() { return application.GetCloseCallback().fn(application.GetCloseCallback().object); }
    void Focus(bool gained) {
        const auto& callback = gained ? application.GetActivatedCallback() : application.GetDeactivatedCallback();
        callback.fn(callback.object);
    }
    void Connect(i32 device) {
        GameServices::Bridge::DeviceInfos infos{device, nullptr};
        devices.onDeviceConnected(infos);
        KG::TeamActionManager::GetFreeDeviceConnectedEvent().Fire(infos);
    }

    W::ScreenManager screens;
    CompositionManager compositions{&screens};
    PopupEvents popupEvents;
    GameServices::Entities::Set stage{"GameShowMenu"};
    MenuCharacter avatar{"MenuAvatar"};
    struct Counter {
        void Hit() { journal->push_back(name); }
        const char* name;
        std::vector<std::string>* journal;
        FDelegate<Counter> delegate{this, &Counter::Hit};
    };
    KG::TeamRegistry registry;
    std::vector<BaseTeamMember*> members;
    std::vector<std::string> journal;
    Counter counters[4] = {{"return", &journal}, {"delete", &journal}, {"quit", &journal}, {"quit-cancel", &journal}};
    FakeGraphics::Installed graphics;
    TestProgram program{"Tallyvox", 800, 600, kSettingPersistent};
    AGProgram* previousProgram = AGProgram::Get();
    AGAudioManager::ImplFactory previousAudio = AGAudioManager::s_implFactory;
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
    MainMenuComposition mainMenu;
    AwardsComposition awardsPage;
    GroupAwardsComposition groupPage;
    CompositionBase* const awardPages[2] = {&awardsPage, &groupPage};
    BasicLookComposition lookPage;
    KeyboardComposition namePage;
    PauseRecorder game;
    RecordingRendering rendering;
    CompositionBase* const pages[8] = {&options,         &profiles, &players,  &credits,
                                       &connectionError, &mainMenu, &lookPage, &namePage};
};

}  // namespace

// The sliders show the stored volumes within their maxima and play them; the boxes show the window's settings.
TEST_F(MenuPages, SlidersShowTheStoredVolumes) {
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
        for (int i = 0; i < 3; ++i)
            EXPECT_FLOAT_EQ(Slider(kSliders[i])->m_Value, c.values[i]) << kSliders[i];
        ExpectCalls(c.calls);
        EXPECT_TRUE(IsButtonMarked(At(options, "MultiSamplingCheckBox"))) << "the window's setting";
    }
    // Sounds of type 3 play in volume group 1, as those of type 1; an unknown type in group 0.
    EXPECT_TRUE(AudioManager::VolumeGroup(1) == 1 && AudioManager::VolumeGroup(3) == 1 && AudioManager::VolumeGroup(4) == 0);
    // The boxes toggle the window's settings, and show them as they are on every showing.
    Click(options, "FullScreenCheckBox");
    application.ToggleFullscreen();  // and back elsewhere
    Click(options, "MultiSamplingCheckBox");
    Again(options);
    EXPECT_FALSE(IsButtonMarked(At(options, "FullScreenCheckBox")) || IsButtonMarked(At(options, "MultiSamplingCheckBox")));
}

// Moved sliders play at once and are saved once the options are left.
TEST_F(MenuPages, OptionsSaveVolumesOnLeaving) {
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
    // The credits, shown, scroll from the first line again, even after a visit that scrolled three
    // lines, two of them out; left, they no longer wait for the scroll's end.
    auto* scroll = static_cast<W::ScrollText*>(At(credits, "CreditsScroll"));
    Again(credits);
    scroll->m_ScrollEnded.Fire();  // the scroll's end leaves for the options, as the back button does
    EXPECT_STREQ(Next(), CreditsComposition::kOptionsPage);
    scroll->m_ScrollStarted = true;
    scroll->m_NextLine = 3;
    scroll->m_FinishedLines = 2;
    Again(credits);
    Click(credits, "BackButton");
    EXPECT_EQ(std::tuple(scroll->m_ScrollStarted, scroll->m_NextLine, scroll->m_FinishedLines, scroll->m_ScrollEnded.Count()),
              std::tuple(false, 0u, 0u, size_t(0)));
    Again(credits);
    credits.Uninitialize();  // let go while shown, it stops waiting too
    EXPECT_EQ(scroll->m_ScrollEnded.Count(), size_t(0));
    credits.Initialize(screen.get(), credits.GetName());
    ExpectCalls(played);  // leaving keeps the new volumes playing
    EXPECT_EQ(manager->GetWriteCount(), writes + 1);
    const Settings& saved = *Load()->GetSettings();
    EXPECT_EQ(std::vector<u32>({saved.SoundEffectsVolume, saved.MusicVolume, saved.VoiceVolume}),
              std::vector<u32>({100, 100, 0}));
    // The wardrobe, left for from the credits or from the players' page's own button, comes back
    // to the options or to the players' page.
    options.OnActivate(false);
    for (auto [page, button, back] :
         {std::tuple<CompositionBase*, W::Widget*, const char*>{&credits, wardrobe, OptionsComposition::kName},
          {&players, At(players, "WardrobeButton"), NumberOfPlayerComposition::kName}}) {
        Again(*page);
        compositions.m_ReturnComposition = "";
        Click(button);
        EXPECT_TRUE(compositions.m_ReturnComposition == back && compositions.GetLeavingComposition() == page &&
                    Next() == std::string(CompositionManager::kWardrobe));
        page->OnActivate(false);
    }
}

// The slots, whether a profile can be made and deleted, the map of shown places to slots; the
    // first place is ticked when it shows a profile (slot 0 is current).
TEST_F(MenuPages, ProfilesPageShowsAndDeletesTheSlots) {
    using Row = std::tuple<Names, bool, bool, std::map<i32, i32>>;
    for (const auto& [names, canCreate, canDelete, slots] : std::vector<Row>{
             {{"Ann", "Bob", "Cy", "Dee"}, false, true, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
             {{"Ann", "", "", ""}, true, false, {{0, 0}}},
             {{"Ann", "", "Cy"}, true, true, {{0, 0}, {1, 2}}},
             {{"Ann", "Bob", "Cy"}, false, true, {{0, 0}, {1, 1}, {2, 2}}},
             {{"", "", "", ""}, true, false, {}}}) {
        SCOPED_TRACE(names.size());
        Start(names, 0, profiles);
        W::Widget* remove = At(profiles, "DeleteProfileButton");
        EXPECT_EQ(std::tuple(At(profiles, "NewProfileButton")->m_Enabled, remove->m_Enabled, remove->m_InputLocked,
                             Listeners(remove), profiles.GetSlotMap(), At(profiles, "baseImageProfile1")->Visible,
                             profiles.GetSelectedSlot()),
                  std::tuple(canCreate, canDelete, !canDelete, size_t(1), slots, !slots.empty(), slots.empty() ? -1 : 0));
        Click(profiles, "NewProfileButton");
        EXPECT_STREQ(Next(), ProfilesComposition::kNewProfilePage);
    }

    // Deleting makes the neighbour current and saves only that.
    const Names names = {"Ann", "Bob", "Cy", "Dee"};
    for (const auto& [deleted, current] : {std::pair{3, 2}, std::pair{0, 1}}) {
        SCOPED_TRACE(deleted);
        Start(names, deleted, profiles);
        Click(profiles, "DeleteProfileButton");
        EXPECT_TRUE(Shown(ProfilesComposition::kDeletePopup));
        avatar.SetVisible(false);
        PressPopupButton(screens, ProfilesComposition::kDeletePopup, "Confirm");
        EXPECT_TRUE(avatar.Visible && manager->GetPlayerSlot(0) == current) << "the new current profile is shown";
        EXPECT_EQ(profiles.GetSlotMap().at(profiles.GetSelectedSlot()), current);
        EXPECT_EQ(Load()->GetSettings()->CurrentSavedGame, current);
        for (int slot = 0; slot < 4; ++slot)
            EXPECT_TRUE(manager->GetSavedFile()->IsUsedSlot(slot) == (slot != deleted) &&
                        manager->GetSlot(slot)->SavedGameName == names[size_t(slot)].c_str()) << slot;
    }
}

// Done confirms the ticked profile, the first one as well as another.
TEST_F(MenuPages, DoneConfirmsTheTickedProfile) {
    Start({"Ann", "Bob", "Cy"}, 0, profiles);
    Click(profiles, "DoneButton");
    EXPECT_TRUE(manager->IsProfileChosen());
    compositions.Reset();
    Start({"Ann", "Bob", "Cy"}, 0, profiles);
    Click(profiles, "profile2Checkbox");
    EXPECT_TRUE(log.Count(AudioManager::kButtonPressSound) == 1 && !IsButtonMarked(At(profiles, "profile1Checkbox")));
    Click(profiles, "DoneButton");
    EXPECT_TRUE(manager->IsProfileChosen() && Next() == std::string(CompositionManager::kMainMenu) &&
                log.Count(AudioManager::kButtonPressSound) == 2) << "a sound for the tick and one for Done";

    for (int slot = 0; slot < 3; ++slot)
        manager->GetSlot(slot)->ThumbnailFilename = ("T" + std::to_string(slot)).c_str();
    Again(profiles);
    avatar.SetVisible(false);
    Click(profiles, "profile3Checkbox");
    Click(profiles, "profile3Checkbox");  // a second click leaves the tick on
    EXPECT_TRUE(avatar.Visible && IsButtonMarked(At(profiles, "profile3Checkbox"))) << "the ticked profile is shown";
    EXPECT_EQ(Picture("baseImage2") + " " + Picture("baseImage3") + " " + Picture("imageProfile1") +
                  Picture("imageProfile3"),
              std::string(ProfilesComposition::kBaseImage) + " " + ProfilesComposition::kSelectedImage + " T0T2");
    EXPECT_EQ(manager->GetSettings()->CurrentSavedGame, 1) << "a pick alone is not saved";
    Click(wardrobe);
    EXPECT_TRUE(manager->GetSettings()->CurrentSavedGame == 2 && Next() == std::string(CompositionManager::kWardrobe) &&
                compositions.m_ReturnComposition == ProfilesComposition::kName);
}

// Enough devices go on at once; missing ones wait behind the popup until connected or given up.
TEST_F(MenuPages, PlayersWaitForTheirDevices) {
    Start({"Ann"}, 0, players);
    auto& connected = KG::TeamActionManager::GetFreeDeviceConnectedEvent();
    const size_t listeners = connected.Count();
    PressPopupButton(screens, NumberOfPlayerComposition::kWaitPopup, NumberOfPlayerComposition::kWaitBackButton);
    // Not this page's wait: a page waits only once it has started a wait.
    EXPECT_TRUE(devices.GetMaximum() == 4 && !NumberOfPlayerComposition().IsWaiting());
    Connect(1);
    avatar.Visible = avatar.Synchronize = true;
    Click(players, "NumberOfPlayer_Btn2");
    EXPECT_TRUE(!WaitShown() && !avatar.Visible && !avatar.Synchronize && log.Count(AudioManager::kButtonPressSound) == 1);
    EXPECT_TRUE(devices.GetMinimum() + devices.GetMaximum() == 4 && manager->GetPlayerCount() == 2 &&
                Next() == std::string(NumberOfPlayerComposition::kNextPage));
    Again(players);
    Click(players, "NumberOfPlayer_Btn3");
    EXPECT_TRUE(players.GetPlayerCount() == 3 && WaitShown()) << "a third device is missing";
    Connect(0);
    Click(players, "NumberOfPlayer_Btn4");
    EXPECT_TRUE(WaitShown() && connected.Count() == listeners + 1 &&
                KG::TeamActionManager::GetMemberDeviceLostEvent().Count() == listeners + 1);
    Connect(2);
    EXPECT_TRUE(WaitShown()) << "device 3 is still missing";
    Connect(3);
    EXPECT_TRUE(!WaitShown() && compositions.GetLeavingComposition() == &players && connected.Count() == listeners);

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
        EXPECT_TRUE(!WaitShown() && compositions.GetLeavingComposition() == &players);
    }
    PressPopupButton(screens, NumberOfPlayerComposition::kWaitPopup, NumberOfPlayerComposition::kWaitBackButton);
    EXPECT_TRUE(!players.IsWaiting() && devices.GetMinimum() + devices.GetMaximum() == 2 &&
                !compositions.GetLeavingComposition());
    Click(players, "NumberOfPlayer_Btn4");
    players.Uninitialize();  // leaving the screen ends the wait too, and unbinds its Back button
    EXPECT_EQ(KG::TeamActionManager::GetMemberDeviceLostEvent().Count() + connected.Count(), 2 * listeners);
    screens.SetPopupButtonCallback(NumberOfPlayerComposition::kWaitPopup, NumberOfPlayerComposition::kWaitBackButton,
                                   &counters[0].delegate);
    players.Uninitialize();  // again: the Back button's callback is no longer its own
    for (const W::Popup::Option& option : screens.FindPopup(NumberOfPlayerComposition::kWaitPopup)->m_Options)
        EXPECT_EQ(option.m_Callbacks.size(), option.m_Name == NumberOfPlayerComposition::kWaitBackButton ? 1u : 0u)
            << option.m_Name.c_str();
}

// Pages let go of their buttons when destroyed, report missing widgets and work without them.
TEST_F(MenuPages, PagesWithoutTheirWidgets) {
    Start({"Ann", "Bob"}, 0, connectionError);
    W::Widget* const buttons[] = {At(credits, "BackButton"), At(connectionError, "cancelButton"),
                                  At(namePage, "DoneButton"), At(lookPage, "DoneButton")};
    {
        CreditsComposition gone;  // destroyed while initialized: they let go of their buttons
        ConnectionErrorComposition goneToo;
        KeyboardComposition goneName;
        BasicLookComposition goneLook;
        gone.Initialize(screen.get(), CreditsComposition::kName);
        goneToo.Initialize(screen.get(), ConnectionErrorComposition::kName);
        goneName.Initialize(screen.get(), KeyboardComposition::kName);
        goneLook.Initialize(screen.get(), BasicLookComposition::kName);
    }
    for (W::Widget* button : buttons)
        EXPECT_EQ(Listeners(button), 1u) << button->Name.c_str();
    EXPECT_EQ(Keyboard()->m_KeyboardBehavior.m_TextChangedEvent.Count(), 1u);
    W::Panel bare{"MenuScreen"};
    std::vector<CompositionBase*> all(std::begin(pages), std::end(pages));
    all.insert(all.end(), {&awardsPage, &groupPage});
    for (CompositionBase* page : all) {
        page->Uninitialize();
        page->Initialize(&bare, page->GetName());  // no root panel yet
        page->Uninitialize();
        bare.AddChild(new W::Panel(page->GetName()));
        page->Initialize(&bare, page->GetName());
        page->OnActivate(true);
    }
    for (const char* name : {"sliderVoice", "profile4Checkbox", "NumberOfPlayer_Btn3", "ScrollText", "cancelButton",
                             "effect11", "softkeyboard", "group4Image", "awardName1"})
        EXPECT_GE(log.Count(std::string("can not find ") + name), 1u) << name;
    EXPECT_EQ(log.Count("can not find group5"), 0u) << "the fifth group is optional";
    log.Clear();
    EXPECT_EQ(Slider("sliderVoice")->GetBehavior()->Event(W::kEventValueChanged).Count() +
                  Listeners(At(options, "MultiSamplingCheckBox")), 0u);
    Click(options, "DoneButton");  // the widgets of before are no longer listened to
    Click(profiles, "profile1Checkbox");
    Click(credits, "BackButton");
    EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
    options.OnSfxVolumeChanged();
    options.OnFullScreenClick();
    profiles.SelectSlot(1);
    profiles.SelectSlot(3);  // slot 4 holds no profile: slot 2 stays selected and is deleted
    profiles.OnDeleteConfirmed();
    EXPECT_FALSE(manager->GetSavedFile()->IsUsedSlot(1));
    credits.Update(16);
    connectionError.OnCancelClick();
    lookPage.SelectLook(0);
    options.OnDoneClick();
    EXPECT_TRUE(Next() == std::string(CompositionManager::kMainMenu) && manager->GetSettings()->MusicVolume == 50)
        << "no slider, no new volume";
    for (CompositionBase* page : all) {
        page->Uninitialize();
        EXPECT_EQ(page->GetRootPanel(), nullptr);
    }
    EXPECT_EQ(Listeners(wardrobe), 0u) << "no page listens to the shared wardrobe button";
    screen.reset();  // TearDown uninitializes the pages again
}


// Shown, each main menu button leads to its page (the wardrobe coming back there) and Play starts
// the level; hidden, none does.
TEST_F(MenuPages, MainMenuButtonsLeadToTheirPages) {
    Start({"Ann"}, 0, mainMenu);
    mainMenu.OnScreenEnter();
    const std::pair<W::Widget*, const char*> links[] = {{At(mainMenu, "profileButton"), ProfilesComposition::kName},
                                                        {At(mainMenu, "optionsButton"), OptionsComposition::kName},
                                                        {At(mainMenu, "awardsButton"), AwardsComposition::kName},
                                                        {wardrobe, CompositionManager::kWardrobe}};
    for (const auto& [button, next] : links) {
        Again(mainMenu);
        mainMenu.OnActivate(false);
        log.Clear();
        Click(button);
        EXPECT_EQ(compositions.GetLeavingComposition(), nullptr) << next;
        mainMenu.OnActivate(true);
        Click(button);
        EXPECT_TRUE(Next() == std::string(next) && log.Count(AudioManager::kButtonPressSound) == 1) << "shown: " << next;
    }
    EXPECT_STREQ(compositions.m_ReturnComposition.c_str(), CompositionManager::kMainMenu);

    // Play maps player zero to the current profile or to none, and asks for the level by its name
    // (the sample file's "QZ11_Game_Level1" is in "qz11_game_level1").
    game.flow.LoadLevelTransitions((std::string(TALLYVOX_SAMPLE_UI) + "/levels/Levels.xml").c_str());
    for (const auto& [current, slot] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{-1, -1}}) {
        SCOPED_TRACE(current);
        Start({"Ann", "Bob"}, current, mainMenu);
        mainMenu.SetNextLevel("");
        manager->AssignPlayer(0, 0);
        manager->AssignPlayer(1, 0);
        Click(mainMenu, "singlePlayerButton");
        EXPECT_EQ(std::pair(manager->GetPlayerSlot(0), manager->GetPlayerSlot(1)), std::pair(slot, -1));
        EXPECT_EQ(log.Count("The next level is not set"), 1u);
        log.Clear();
        mainMenu.SetNextLevel("QZ11_Game_Level1");
        Click(mainMenu, "singlePlayerButton");
        EXPECT_TRUE(!log.Contains("The next level is not set") && !log.Contains("Can not find") && game.flow.GetNextLevel() &&
                    log.Count(AudioManager::kButtonPressSound) == 1);
    }
}

// Uninitialized or destroyed, the main menu clears only the window callbacks that are still its
// own; initialized on a layout without some buttons, it reports them, except the optional
// awards button. With no profiles read yet, entering the screen keeps the menu hidden.
TEST_F(MenuPages, MainMenuClearsOnlyItsOwnCallbacks) {
    Start({"Ann"}, 0, mainMenu);
    const size_t others = Listeners(wardrobe);
    PlayerProfileManager::Destroy();  // the next Start makes a new one
    mainMenu.OnActivate(false);
    mainMenu.OnScreenEnter();
    mainMenu.OnScreenEnter();  // listens to the wardrobe once
    EXPECT_TRUE(Listeners(wardrobe) == others + 1 && !mainMenu.GetRootPanel()->Visible);
    EXPECT_TRUE(mainMenu.HasAwardsButton() && Own(application, &mainMenu));
    int other = 0;
    application.SetCloseCallback(&other, [](void*) { return true; });
    mainMenu.Uninitialize();
    EXPECT_TRUE(application.GetCloseCallback().object == &other && !application.GetActivatedCallback().fn &&
                !application.GetDeactivatedCallback().fn);
    // Nothing listens any more.
    EXPECT_EQ(std::vector<size_t>({Listeners(At(mainMenu, "exitButton")), Listeners(At(mainMenu, "awardsButton")),
                                   Listeners(At(mainMenu, "optionsButton")), Listeners(wardrobe)}),
              std::vector<size_t>({0, 0, 0, others}));
    compositions.QuitCancelled.Fire();
    EXPECT_TRUE(popupEvents.events.empty());
    W::Panel bare{"MenuScreen"};
    auto* root = pagetest::Add<W::Panel>(&bare, CompositionManager::kMainMenu);
    for (const char* name : {"profileButton", "exitButton"})
        pagetest::Add<W::Button>(root, name);
    log.Clear();
    mainMenu.Initialize(&bare, CompositionManager::kMainMenu);
    Names reported;
    for (const std::string& line : log.Lines())
        if (line.find("can not find ") != std::string::npos)
            reported.push_back(line.substr(line.find("can not find ") + 13));
    EXPECT_EQ(reported, (Names{"singlePlayerButton", "optionsButton"}));
    EXPECT_TRUE(!mainMenu.HasAwardsButton() && Own(application, &mainMenu));
    mainMenu.Uninitialize();
    // A button takes a shown text as its caption; a panel has none and says so.
    log.Clear();
    ShowWidgetText(W::Widget::FindChild("exitButton", root), "Quit");
    ShowWidgetText(root, "Quit");
    EXPECT_TRUE(static_cast<W::Button*>(W::Widget::FindChild("exitButton", root))->m_TextStyle.m_Text == "Quit" &&
                log.Contains("shows no text"));
    // A page destroyed while initialized takes its window callbacks with it.
    {
        MainMenuComposition gone;
        compositions.RegisterComposition(CompositionManager::kMainMenu, &gone);
        gone.SetApplication(&application);
        gone.Initialize(screen.get(), CompositionManager::kMainMenu);
        EXPECT_EQ(application.GetCloseCallback().object, &gone);
    }
    compositions.RegisterComposition(CompositionManager::kMainMenu, &mainMenu);
    EXPECT_TRUE(application.GetCloseCallback().fn == nullptr && application.GetActivatedCallback().fn == nullptr);
}

// The exit button and the close request ask first; the focus pauses unless a prompt is up.
TEST_F(MenuPages, QuitAsksFirstAndFocusPauses) {
    Start({"Ann"}, 0, mainMenu);
    Click(mainMenu, "exitButton");
    EXPECT_TRUE(Shown("VerifyQuit"));
    Focus(false);
    EXPECT_TRUE(game.paused);
    Focus(true);
    EXPECT_TRUE(game.paused) << "the quit prompt is up";
    PressPopupButton(screens, "VerifyQuit", "Cancel");
    Focus(true);
    EXPECT_FALSE(game.paused);
    // An in-game popup keeps the pause too; no popup, or popups not loaded, does not.
    const i32 states[] = {CompositionManager::kPopupMenu, CompositionManager::kPopupReturnPrompt,
                          CompositionManager::kPopupNone, CompositionManager().m_PopupState};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        compositions.m_PopupState = states[i];
        Focus(false);
        Focus(true);
        EXPECT_EQ(game.paused, i < 2);
    }
    compositions.m_PopupState = CompositionManager::kPopupNone;
    EXPECT_TRUE(!Close() && !mainMenu.IsQuitConfirmed());
    PressPopupButton(screens, "VerifyQuit", "Confirm");
    EXPECT_TRUE(mainMenu.IsQuitConfirmed() && Close() && popupEvents.events == std::vector<bool>({true, true}));
    platform::window::Message posted;  // the confirmation asks the window to close
    EXPECT_TRUE(application.GetWindow()->PollMessage(posted) &&
                posted.kind == platform::window::MessageKind::CloseRequest);
}

TEST_F(MenuPages, TheLookPageShowsForAFirstTimePlayerAndLeadsToTheNamePage) {
    // The menu level started before the profiles are read hides the avatar and reads them.
    NewManager();
    avatar.SetVisible(true);
    Menu(&compositions).OnLevelStarted();
    EXPECT_TRUE(!avatar.Visible && manager->IsLoaded());
    // Done needs a look; repeated presses keep the avatar's. The looks read again replace those read.
    StartNewPlayer({"", "", "", ""});
    manager->PreloadDefaultLooks();
    EXPECT_EQ(manager->GetDefaultLookAppearances().size(), size_t(Settings::kDefaultLookCount));
    EXPECT_TRUE(avatar.Activate && avatar.Visible) << "the main menu's default look";
    EXPECT_EQ(avatar.VolatileDatas.GetAppearance()->Name, MainMenuComposition::kDefaultLook);
    W::Widget* done = At(lookPage, "DoneButton");
    // Hidden, the page takes no press.
    Click(Look(1));
    Click(done);
    EXPECT_TRUE(lookPage.GetSelectedLook() == -1 && !compositions.GetLeavingComposition());
    lookPage.OnScreenEnter();

    avatar.Activate = false;
    avatar.GetBehaviorCharacter().firstUpdate = false;
    avatar.GetBehaviorCharacter().m_Actions.emplace_back();
    avatar.GetBehaviorCharacter().m_Transitions.emplace_back();
    rendering.rebuilds.clear();
    Click(Look(2));
    EXPECT_EQ(rendering.rebuilds, (Names{"clean", "build"}));
    EXPECT_TRUE(avatar.GetBehaviorCharacter().firstUpdate && avatar.GetBehaviorCharacter().m_Actions.empty() &&
                avatar.GetBehaviorCharacter().m_Transitions.empty())
        << "the new look restarts the avatar's behaviour";
    EXPECT_TRUE(lookPage.GetSelectedLook() == 2 && avatar.Activate && avatar.Visible && done->m_Enabled);
    KG::Appearance* worn = avatar.VolatileDatas.GetAppearance();
    ASSERT_TRUE(worn && worn->Name == "AppearanceFemale01.xml");

    // Pressed again: still chosen, and the avatar keeps the look it wears.
    worn->Name = "kept";
    rendering.rebuilds.clear();
    Click(Look(2));
    EXPECT_TRUE(rendering.rebuilds.empty() && lookPage.GetSelectedLook() == 2 && worn->Name == "kept");
    Click(done);
    EXPECT_STREQ(Next(), KeyboardComposition::kName);

    // Shown again: nothing chosen, "DoneButton" disabled and no longer pressed, the wardrobe button parked.
    lookPage.OnActivate(false);
    wardrobe->Synchronize = true;
    done->GetBehavior()->m_State = W::WidgetBehavior::kPressed;
    lookPage.OnActivate(true);
    EXPECT_TRUE(lookPage.GetSelectedLook() == -1 && !done->m_Enabled && !wardrobe->Synchronize &&
                done->GetBehavior()->m_State == W::WidgetBehavior::kIdle &&
                wardrobe->m_X == CompositionBase::kParkedPosition);
    // Without the avatar a pick is reported and still taken; picks past the looks are not.
    stage.m_Characters.clear();
    lookPage.SelectLook(1);
    EXPECT_TRUE(log.Contains("can not find MenuAvatar") && done->m_Enabled && IsButtonMarked(Look(1)));
    lookPage.SelectLook(12);
    lookPage.SelectLook(-1);
    EXPECT_EQ(lookPage.GetSelectedLook(), 1);

    // Uninitialized, the page no longer listens to its buttons.
    lookPage.Uninitialize();
    EXPECT_EQ(Listeners(done) + Listeners(Look(11)), 0u);

    // The look page shows only for a first-time player: the current slot, a profile chosen, the page shown.
    log.Clear();
    for (const auto& [current, choose, shown] :
         {std::tuple{-1, false, true}, {0, false, false}, {-1, true, false}}) {
        SCOPED_TRACE(testing::Message() << current << " " << choose);
        StartNewPlayer({"ANNA", "", "", ""}, current);
        if (choose)
            manager->SelectProfile(0);
        manager->GetSettings()->CurrentSavedGame = current;
        lookPage.OnScreenEnter();
        EXPECT_TRUE(lookPage.GetRootPanel()->Visible == shown && !namePage.GetRootPanel()->Visible);
    }
}

// A loaded profile's exact name is refused with the popup and the page stays; otherwise the
// profile is made with the avatar's look (its parts, ids and customizable flags), selected and
// saved, and the main menu follows. With every slot used, Done reports and the page stays.
TEST_F(MenuPages, TheNamePageMakesAProfileInAFreeSlotThatKeepsItsWholeLookThroughTheSave) {
    StartNewPlayer({"", "Bob", "", ""});
    const KG::Appearance look = manager->GetDefaultLook(2);
    std::string before = Contents();
    ShowNamePageWithLook(2);
    TypeText("Bob  ");
    Click(namePage, "DoneButton");
    EXPECT_EQ(popupEvents.events, std::vector<bool>{true});
    EXPECT_TRUE(!compositions.GetLeavingComposition() && Contents() == before && Entered() == "Bob  ");

    for (int i = 0; i < 5; ++i)
        Type(8);
    TypeText("BOB ");
    Click(namePage, "DoneButton");
    EXPECT_TRUE(popupEvents.events.size() == 1 && Next() == std::string(CompositionManager::kMainMenu));
    ASSERT_TRUE(manager->GetCurrentSlot() == 0 && manager->GetProfile(0) == manager->GetSlot(0));

    // The save on disk, read by a fresh start, describes every part as the look has it.
    EXPECT_TRUE(Load()->GetCurrentSlot() == 0 && manager->GetSlot(0)->SavedGameName == "BOB" &&
                manager->GetSlot(0)->AvatarDescription.Name == "AppearanceFemale01.xml");
    EXPECT_EQ(profiletest::Parts(manager->GetSlot(0)->AvatarDescription), profiletest::Parts(look));
    // Shown on the avatar, the profile's look is built afresh, and a top goes on.
    rendering.rebuilds.clear();
    GameServices::Bridge::RenderableAvatarData worn;
    avatar.VolatileDatas.Set(GameServices::Entities::VolatileDataKeys::kRENDERABLE_AVATAR_DATA, &worn);
    manager->ShowProfileOnAvatar(manager->GetSlot(0));
    EXPECT_EQ(rendering.rebuilds, (Names{"clean", "build"}));
    EXPECT_EQ(avatar.VolatileDatas.GetAppearance()->Name, "AppearanceFemale01.xml");
    const KG::OutfitPart top = manager->GetDefaultLook(0).OutfitParts[KG::OUTFIT_TOP];
    KG::CharacterManager::Instance()->SetOutfitPart(top, avatar, KG::OUTFIT_TOP);
    EXPECT_TRUE(worn.m_PartNames[4 + KG::OUTFIT_TOP] == top.Name && !log.Contains("not customizable"));
    // So is player 0's character, in the look of the profile it plays.
    GameServices::Entities::Character player("Player0");
    manager->BuildCharacterFromProfile(0, &player);
    EXPECT_TRUE(player.VolatileDatas.GetAppearance() &&
                player.VolatileDatas.GetAppearance()->Name == "AppearanceFemale01.xml");
    KG::CharacterManager::Instance()->RemoveAppearance(player);

    // With every slot used the name page reports and stays.
    StartNewPlayer({"A", "B", "C", "D"});
    before = Contents();
    ShowNamePageWithLook(0);
    TypeText("Eve");
    log.Clear();
    Click(namePage, "DoneButton");
    EXPECT_TRUE(!log.Lines().empty() && compositions.GetLeavingComposition() == nullptr &&
                manager->GetCurrentSlot() == -1 && !manager->IsProfileChosen());
    EXPECT_TRUE(Contents() == before && manager->GetSlot(3)->SavedGameName == "D");
}

TEST_F(MenuPages, TheNameFieldTakesNoLeadingSpaceAndAtMostItsLength) {
    StartNewPlayer({"", "", "", ""});
    W::Widget* done = At(namePage, "DoneButton");
    ShowNamePageWithLook(0);
    EXPECT_TRUE(Entered() == " " && !done->m_Enabled);
    // A key, the text after it and whether "DoneButton" is enabled: no leading space.
    for (const auto& [key, text, enabled] :
         {std::tuple<uintptr_t, const char*, bool>{'B', "B", true}, {8, "", false}, {' ', "", false}}) {
        Type(key);
        EXPECT_TRUE(Entered() == text && (done->m_Enabled != 0) == enabled) << key;
    }
    TypeText("ABCDEFGHI");
    EXPECT_EQ(Entered(), "ABCDEFGH");

    // Shown again, the placeholder and a disabled "DoneButton".
    namePage.OnActivate(false);
    namePage.OnActivate(true);
    EXPECT_TRUE(Entered() == " " && !done->m_Enabled);
    namePage.SetMaxNameLength(4);
    TypeText("ABCDEFGH");
    EXPECT_EQ(Entered() + KeyboardComposition::TrimTrailingSpaces("A B  ").c_str(), "ABCDA B");

    log.Clear();
    Click(namePage, "BackButton");
    EXPECT_TRUE(Next() == std::string(BasicLookComposition::kName) && log.Count(AudioManager::kButtonPressSound) == 1);
    namePage.OnActivate(false);
    Click(done);  // hidden: no profile made
    EXPECT_EQ(manager->GetLoadedProfiles().size(), 0u);
}

// Shown at any stored volume and left with Done, untouched sliders of the sample layout store
// that volume again.
TEST_F(MenuPages, DoneWithUntouchedSlidersKeepsEveryStoredVolume) {
    const f32 maxima[3] = {Slider(kSliders[0])->m_Maximum, Slider(kSliders[1])->m_Maximum, Slider(kSliders[2])->m_Maximum};
    ASSERT_EQ(maxima[0], 296.0f) << "the sample layout's slider";
    for (u32 volume = 0; volume <= OptionsComposition::kMaxVolume; ++volume) {
        Start({"Ann"}, 0, options, {volume, volume, volume}, maxima);
        compositions.Reset();
        Click(options, "DoneButton");
        const Settings& saved = *Load()->GetSettings();
        EXPECT_TRUE(saved.SoundEffectsVolume == volume && saved.MusicVolume == volume && saved.VoiceVolume == volume)
            << volume;
    }
}

// The menu's cursor shows for the member it is made for; when the member's device is lost it
// is stopped and hidden. A lost member without a cursor is reported once per level start.
TEST(MenuCursor, ALostMembersCursorIsStoppedAndHidden) {
    struct Collisions : GameServices::Bridge::ICollisionSystem {
        Collisions() { SetInstance(this); }
        ~Collisions() override { SetInstance(nullptr); }
        void RegisterCollidable(GameServices::Bridge::ICollidable*) override { ++registered; }
        void UnregisterCollidable(GameServices::Bridge::ICollidable*) override { --registered; }
        int registered = 0;
    } collisions;
    struct StagedMenu : Menu {
        explicit StagedMenu(GameServices::Entities::Set* stage) { m_Set = stage; }
    };
    GameServices::Entities::Set stage{Menu::kLevelName};
    GameServices::Entities::ComponentLevel cursors{Menu::kCursorLevel};
    KG::CollisionCursor cursor{Menu::kCursorName};
    cursors.m_Props.push_back(&cursor);
    stage.m_ComponentLevels.push_back(&cursors);
    BaseTeamMember member, other;
    auto menu = std::make_unique<StagedMenu>(&stage);
    menu->CreatePlayerCursor(&member);
    EXPECT_TRUE(cursor.GetMember() == &member && member.m_Entity == &cursor && cursor.Visible &&
                collisions.registered == 1 && !cursor.Synchronize);
    // The level listens for devices once, however often it starts.
    auto& connected = KG::TeamActionManager::GetFreeDeviceConnectedEvent();
    auto& lost = KG::TeamActionManager::GetMemberDeviceLostEvent();
    const size_t listeners = connected.Count() + lost.Count();
    menu->InitializeLevel();
    menu->InitializeLevel();
    EXPECT_EQ(connected.Count() + lost.Count(), listeners + 2);
    lost.Fire(&member);
    EXPECT_TRUE(!cursor.Visible && !cursor.Synchronize && collisions.registered == 0);
    GameServices::Bridge::RenderingSystem::Cleanup(&stage);
    LogCapture log;
    for (BaseTeamMember* gone : {&other, static_cast<BaseTeamMember*>(nullptr)})
        menu->OnMemberDisconnected(gone);
    EXPECT_EQ(log.Lines(), std::vector<std::string>{"No menu cursor to hide for a lost device in PlayerCursors"});
    // No member takes the cursor; a level without the cursor, then without its level, is reported.
    menu->CreatePlayerCursor(nullptr);
    cursors.m_Props.clear();
    menu->CreatePlayerCursor(&other);
    stage.m_ComponentLevels.clear();
    menu->CreatePlayerCursor(&other);
    menu->CreatePlayerCursor(&other);
    EXPECT_TRUE(log.Contains("no player cursor PlayerCursor0") && log.Count("no component level PlayerCursors") == 1);
    menu.reset();  // a menu gone listens no more
    EXPECT_EQ(connected.Count() + lost.Count(), listeners);
}

// A plain loop end of the avatar's action changes nothing; the end of a try or of an idle break
// goes back to idle with the try window shut for the cooldown.
TEST(MenuAvatarBehavior, OnlyTheEndOfATryOrABreakGoesBackToIdle) {
    BehaviorCharacter behavior(BehaviorCharacter::kMaleTemplate, nullptr);
    behavior.currentAction = MenuActions::kTryTop;  // left from before the reset, with the cooldown
    behavior.tryActive = true;
    behavior.Reset();
    EXPECT_FALSE(behavior.IsTryActive());
    behavior.tryActive = true;
    // The first update starts afresh: idle, no cooldown left from before, the idle break not due yet.
    behavior.Update(BehaviorCharacter::kIdleLimitMs - 1);
    behavior.OnActionEnd();
    EXPECT_TRUE(!behavior.IsTryActive() && behavior.GetCurrentActionName() == MenuActions::kIdle &&
                behavior.RequestTry(1, MenuActions::kTryTop) &&
                GameServices::MiniGame::BehaviorManager::Instance()->FindRegisteredBehavior(0) == &behavior)
        << "registered under the id of no entity";
    EXPECT_FALSE(behavior.RequestTry(1, MenuActions::kTryHead)) << "the same token again";
    for (int end = 0; end < 2; ++end) {
        behavior.OnActionEnd();
        EXPECT_TRUE(behavior.IsTryActive() && behavior.tryToken == 0 && !behavior.breakQueued &&
                    behavior.requestedAction == MenuActions::kIdle);
        behavior.Update(BehaviorCharacter::kTryCooldownMs - 1);
        EXPECT_FALSE(behavior.RequestTry(2, MenuActions::kTryTop)) << "cooling down";
        behavior.Update(1);  // the cooldown ends
        EXPECT_FALSE(behavior.IsTryActive()) << "cooled down";
        behavior.breakQueued = true;
        behavior.requestedAction = MenuActions::kLoopBreak;
    }
}

TEST_F(MenuPages, TheInGameMenuFollowsItsStates) {
    // The players' team of four members, the first three connected, "L-L-" locked; the events of
    // the in-game popups journaled.
    auto* team = new GameServices::Entities::Team;
    registry.AddTeam(team, KG::TeamRegistry::kPlayersTeamId);
    for (int i = 0; i < 4; ++i) {
        members.push_back(new BaseTeamMember);
        members.back()->m_Active = i < 3;
        members.back()->m_Locked = i % 2 == 0;
        registry.AddMember(members.back());
        team->m_Members.push_back(members.back());
    }
    compositions.SetTeamRegistry(&registry);
    FHandler* const events[] = {&compositions.ReturnToMainMenuConfirmed, &compositions.ProfileDeleteConfirmed,
                                &compositions.QuitConfirmed, &compositions.QuitCancelled};
    for (int i = 0; i < 4; ++i)
        events[i]->AddDelegate(&counters[i].delegate);
    compositions.m_PopupState = CompositionManager::kPopupNotReady;
    compositions.ToggleInGameMenu();  // inert until the popups are loaded
    EXPECT_TRUE(compositions.m_PopupState == CompositionManager::kPopupNotReady && compositions.m_ToggleGate == -1);
    EXPECT_EQ(Open() + Take() + Locks(), "L-L-");
    compositions.m_PopupState = CompositionManager::kPopupNone;
    struct Step {
        const char* popup;   // null: the menu key
        const char* button;
        i32 state;
        const char* open;
        const char* events;
        const char* locks;
    } steps[] = {
        {nullptr, nullptr, 0, "InGameMenu ", "shown ", "-LL-"},
        {nullptr, nullptr, 2, "", "hidden ", "L-L-"},
        {nullptr, nullptr, 0, "InGameMenu ", "shown ", "-LL-"},
        {"InGameMenu", "ReturnMainMenu", 1, "InGameReturnPrompt ", "sound ", "-LL-"},
        // The toggle closes the prompt and gives the cursors back without confirming.
        {nullptr, nullptr, 2, "", "hidden ", "L-L-"},
        {nullptr, nullptr, 0, "InGameMenu ", "shown ", "-LL-"},
        {"InGameMenu", "ReturnMainMenu", 1, "InGameReturnPrompt ", "sound ", "-LL-"},
        {"InGameReturnPrompt", "Cancel", 0, "InGameMenu ", "sound ", "-LL-"},
        {"InGameMenu", "ResumeGame", 2, "", "hidden sound ", "L-L-"},
        {nullptr, nullptr, 0, "InGameMenu ", "shown ", "-LL-"},
        {"InGameMenu", "ReturnMainMenu", 1, "InGameReturnPrompt ", "sound ", "-LL-"},
        {"InGameReturnPrompt", "Confirm", 2, "", "return sound ", "L-L-"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(&step - steps);
        step.popup ? PressPopupButton(screens, step.popup, step.button) : compositions.ToggleInGameMenu();
        EXPECT_EQ(std::to_string(compositions.m_PopupState) + "|" + Open() + "|" + Take() + "|" + Locks(),
                  std::to_string(step.state) + "|" + step.open + "|" + step.events + "|" + step.locks);
    }
    EXPECT_EQ(compositions.m_ToggleGate, 0);
}

// A group's button opens the group page with the group's awards: title, description, and the
// prize picture with the medal once unlocked. The group page goes back to the list, and its
// wardrobe comes back to it.
TEST_F(MenuPages, AGroupButtonShowsItsAwards) {
    std::string six;  // a sixth group has no title of its own to show
    for (const char* title : {"1", "2", "3", "4", "5", "6"})
        six += Group(title, Award(title));
    StartAwards(AwardsText(six));
    EXPECT_EQ(Text(awardsPage, "group5") + " " + Text(awardsPage, "progressLabel"), "5 0/6");
    StartAwards(AwardsText(Group("Quiz", Award("First", "", "One") + Award("Second", "", "Two"))));
    EXPECT_EQ(Text(awardsPage, "progressLabel") + " " + Text(awardsPage, "group1"), "0/2 Quiz");
    EXPECT_TRUE(awardsPage.GetGroupButton(1) == At(awardsPage, "group1Button") && !awardsPage.GetGroupButton(0));
    awardsPage.UnlockAward("First", true);
    awardsPage.ShowGroups();
    Again(awardsPage);
    EXPECT_EQ(Text(awardsPage, "progressLabel"), "1/2");
    Click(awardsPage, "group2Button");  // no second group
    EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
    Click(awardsPage, "group1Button");
    EXPECT_STREQ(Next(), GroupAwardsComposition::kName);
    EXPECT_EQ(Text(groupPage, "title") + " " + Text(groupPage, "awardName1") + " " + Text(groupPage, "awardDescription2") +
                  " " + Picture("iconAward", &groupPage) + " " + Picture("awardPrize2", &groupPage),
              std::string("Quiz First Two Icon_Award1 ") + GroupAwardsComposition::kLockedPrize);
    EXPECT_TRUE(At(groupPage, "awardMedal1")->Visible && !At(groupPage, "awardMedal1")->Synchronize &&
                !At(groupPage, "awardMedal2")->Visible);
    Again(groupPage);
    Click(groupPage, "BackButton");
    EXPECT_STREQ(Next(), AwardsComposition::kName);
    for (CompositionBase* page : awardPages) {
        awardPages[page == awardPages[0] ? 1 : 0]->OnActivate(false);  // the other page hidden
        Again(*page);
        Click(wardrobe);
        EXPECT_TRUE(compositions.m_ReturnComposition == page->GetName() && compositions.GetLeavingComposition() == page &&
                    Next() == std::string(CompositionManager::kWardrobe)) << page->GetName().c_str();
    }
    const size_t listeners = Listeners(wardrobe);
    for (CompositionBase* page : awardPages)
        page->Uninitialize();
    EXPECT_TRUE(!awardsPage.GetRootPanel() && !groupPage.GetRootPanel() && Listeners(wardrobe) == listeners - 2 &&
                Listeners(At(awardsPage, "BackButton")) == 0);
}

// A missing, empty or foreign file leaves no awards (reported) and counts 0/0; a second load
// of a good file replaces the list and forgets the grants; damaged files do no harm.
TEST_F(MenuPages, BadOrReloadedAwardsFiles) {
    StartAwards("");
    const std::string good = AwardsText(Group("G", Award("A") + Award("B")));
    // After a granted award, the file read again: missing (null), foreign, then good.
    for (const char* text : {static_cast<const char*>(nullptr), "<Root><MetaAwards/></Root>", good.c_str()}) {
        SCOPED_TRACE(text ? text : "missing");
        WriteAwards(good);
        awardsPage.LoadAwards();
        awardsPage.UnlockAward("A", true);
        std::filesystem::remove(dir.File("-xml/global/awards.xml"));
        if (text)
            WriteAwards(text);
        log.Clear();
        awardsPage.LoadAwards();
        awardsPage.ShowGroups();
        // The count, "none" for no awards, "reported" for a log line.
        EXPECT_EQ(Text(awardsPage, "progressLabel") + (awardsPage.GetAwardList().MetaAwards.empty() ? " none" : "") +
                      (log.Lines().empty() ? "" : " reported"),
                  text == good.c_str() ? "0/2" : "0/0 none reported");
    }
    EXPECT_TRUE(!Nth(0).unlocked && awardsPage.GetUnlockedCount() == 0);
    awardsPage.UnlockAward("B", true);
    awardsPage.UnlockAward("G", true);  // the group itself
    awardsPage.ShowGroups();
    EXPECT_TRUE(awardsPage.GetAwardList().MetaAwards[0].isNew && Text(awardsPage, "progressLabel") == "2/2");
    awardsPage.RefreshAwards();  // another profile: the grants are read again from nothing
    EXPECT_TRUE(!Nth(1).unlocked && !Nth(1).isNew && awardsPage.GetUnlockedCount() == 0 &&
                Text(awardsPage, "progressLabel") == "0/2");
    EXPECT_FALSE(awardsPage.GetAwardList().MetaAwards[0].unlocked || awardsPage.GetAwardList().MetaAwards[0].isNew);

    // Damaged copies of the sample file load, count and grant without any memory fault.
    const std::string sample = FileContents(std::string(TALLYVOX_SAMPLE_UI) + "/global/Awards.xml");
    StartAwards(sample);
    std::vector<std::string> titles;
    for (const sMetaAward& meta : awardsPage.GetAwardList().MetaAwards)
        for (const sAward& award : meta.Awards)
            titles.push_back(award.Title.c_str());
    ASSERT_EQ(titles.size(), 20u);
    std::mt19937 rng(3030);
    for (int i = 0; i < 5000; ++i) {
        std::string bytes = sample;
        DamageBytes(bytes, rng, 1 + int(rng() % 6));
        Reload(bytes);
        awardsPage.UnlockAward(titles[rng() % titles.size()].c_str(), true);
        awardsPage.RefreshAwards();
        log.Clear();
    }
    Reload(sample);
    EXPECT_EQ(awardsPage.GetTotalCount(), 20u);
}

// A granted award unlocks its item for the current profile's look.
TEST_F(MenuPages, GrantsUnlockTheCurrentLooksItem) {
    const struct {
        const char* what;
        std::string unlockables;
        const char* unlocked;  // "<list><category>:<name>" of the profile's unlocked lists
        const char* picture;   // null: none
        const char* report;
        int current = 1;
    } cases[] = {
        {"top", Unlockable("AppearanceMale01", "ChM_Top_Disco_skin01_pnk.mdl", "Top") +
                    Unlockable("AppearanceFemale01", "ChF_Top_Crop_skin01_dpnk.mdl", "Top"),
         "outfit0:ChF_Top_Crop_skin01_dpnk", "THUMBNAIL_ChF_Top_Crop_skin01.png", nullptr},
        {"bottom", Unlockable("AppearanceFemale01", "ChF_Bottom_Skirt.mdl", "Bottom"), "outfit1:ChF_Bottom_Skirt",
         "THUMBNAIL_ChF_Bottom_Skirt.png", nullptr},
        {"footwear", Unlockable("AppearanceFemale01", "ChF_Shoes_Skate.mdl", "Footwear"), "outfit2:ChF_Shoes_Skate",
         "THUMBNAIL_ChF_Shoes_Skate.png", nullptr},
        {"eyewear", Unlockable("AppearanceFemale01", "ChF_Glasses_Star.mdl", "Eyewear"), "outfit3:ChF_Glasses_Star",
         "THUMBNAIL_ChF_Glasses_Star.png", nullptr},
        {"hair", Unlockable("AppearanceFemale01", "ChF_Hair_Spiky.mdl", "Hair"), "anatomy3:ChF_Hair_Spiky",
         "THUMBNAIL_ChF_Hair_Spiky.png", nullptr},
        {"lower-case type", Unlockable("AppearanceFemale01", "ChF_Top_Crop_skin01_dpnk.mdl", "top"), "",
         "THUMBNAIL_ChF_Top_Crop_skin01.png", "Unknown unlockable type top"},
        {"another look", Unlockable("AppearanceFemale01.xml", "ChF_Bottom_Skirt.mdl", "Bottom"), "", nullptr, nullptr},
        {"no profile", Unlockable("AppearanceFemale01", "ChF_Bottom_Skirt.mdl", "Bottom"), "", nullptr, "no profile",
         -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        StartAwards(AwardsText(Group("G", Award("Prize", c.unlockables) + Award("Next"))), c.current);
        awardsPage.UnlockAward("Prize", true);
        const sAward& award = Nth(0);
        EXPECT_TRUE(award.unlocked && award.isNew && awardsPage.GetUnlockedCount() == 1 && Nth(1).Title == "Next")
            << "an award after unlockables is read whole";
        EXPECT_EQ(award.thumbnail, c.picture ? c.picture : "");
        std::string unlocked;
        for (u32 category = 0; category < 4; ++category) {
            std::vector<TString<char>> lists[2];
            manager->GetUnlockedAnatomyPartNames(category, 1, lists[0]);
            manager->GetUnlockedOutfitPartNames(category, 1, lists[1]);
            for (int k = 0; k < 2; ++k)
                for (const TString<char>& name : lists[k])
                    unlocked += (k ? "outfit" : "anatomy") + std::to_string(category) + ":" + name.c_str();
        }
        EXPECT_EQ(unlocked, c.unlocked);
        EXPECT_TRUE(c.report ? log.Contains(c.report) : log.Lines().empty());
    }
    std::vector<TString<char>> none{"stale"};
    manager->GetUnlockedAnatomyPartNames(4, 1, none);
    EXPECT_TRUE(none.empty() && log.Contains("category 4 is out of range"));
}

// A new profile can be given up (a first-time player has none to go back to): the profiles page
// again, the current profile's look on the avatar. A refused full screen is told, its box clear.
TEST_F(MenuPages, ANewProfileCanBeGivenUpAndARefusedFullScreenIsTold) {
    StartNewPlayer({"", "", "", ""});
    lookPage.OnActivate(true);
    EXPECT_FALSE(At(lookPage, "BackButton")->Visible);
    Start({"Ann"}, 0, lookPage);
    manager->PreloadDefaultLooks();
    Again(lookPage);
    Click(Look(0));
    EXPECT_EQ(avatar.VolatileDatas.GetAppearance()->Name, "AppearanceMale01.xml");
    Click(lookPage, "BackButton");
    EXPECT_STREQ(Next(), ProfilesComposition::kName);
    EXPECT_EQ(avatar.VolatileDatas.GetAppearance()->Name, "AppearanceFemale01.xml");
    Start({"Ann"}, 0, options);
    Again(options);
    g_fakeGraphics = {.refusedFlags = kSettingFullscreen};
    Click(options, "FullScreenCheckBox");
    EXPECT_TRUE(!IsButtonMarked(At(options, "FullScreenCheckBox")) && At(options, "FullScreenNote")->Visible);
}
