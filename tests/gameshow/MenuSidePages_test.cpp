// The player-count, credits and connection error pages on a small menu layout.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "gameservices/entities/Set.h"
#include "gameservices/game/DeviceManager.h"
#include "gameservices/game/TeamActionManager.h"
#include "gameservices/widget/Popup.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/AudioManager.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/ConnectionErrorComposition.h"
#include "gameshow/CreditsComposition.h"
#include "gameshow/MenuCharacter.h"
#include "gameshow/NumberOfPlayerComposition.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/support/PopupPress.h"
#include "tools/authoring/TrackWriter.h"

using namespace GameShow;
namespace KG = GameServices::KorvoGame;
namespace W = GameServices::Widget;

namespace {

class SidePages : public profiletest::ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        const std::string ui = TALLYVOX_SAMPLE_UI;
        dir.Write("-xml/global/gameshowpopups.xml", FileContents(ui + "/global/gameshowpopups.xml"));
        for (const char* layout : {"gameshowpopupprompt.xaml", "gameshowpopupwait.xaml"})
            dir.Write(std::string("-xml/screen/") + layout, FileContents(ui + "/screens/" + layout));
        screens.LoadPopups();
        compositions.LoadPopups();
        using authoring::Track;
        slide.Writer().Add(CompositionBase::kSlideAnimation, TypeKey::PrscAnimation,
                           authoring::PrscAnimationBytes(10, 100, Track::Vec2().Key(0, {0, 0}).Key(9, {0, 0}),
                                                         Track::Float(), Track::Vec2(), Track::Color(), Track::UV()));
        slide.Mount();
        Page(NumberOfPlayerComposition::kName,
             {"NumberOfPlayer_Btn2", "NumberOfPlayer_Btn3", "NumberOfPlayer_Btn4", "WardrobeButton", "BackButton"});
        W::Panel* credits = Page(CreditsComposition::kName, {"BackButton"});
        credits->AddChild(scroll = new W::ScrollText("CreditsScroll"));
        Page(ConnectionErrorComposition::kName, {"cancelButton"})->AddChild(new W::Label("text"));
        compositions.m_WardrobeButton = &wardrobe;
        compositions.RegisterComposition(NumberOfPlayerComposition::kName, &players);
        compositions.RegisterComposition(CreditsComposition::kName, &creditsPage);
        compositions.RegisterComposition(ConnectionErrorComposition::kName, &errorPage);
        players.SetScreens(&screens);
        stage.m_Characters.push_back(&avatar);
        level = &stage;
        NewManager();
        devices.SetDeviceRange(1, 4);
        for (CompositionBase* page : {static_cast<CompositionBase*>(&players), static_cast<CompositionBase*>(&creditsPage),
                                      static_cast<CompositionBase*>(&errorPage)})
            page->Initialize(&screen, page->GetName());
        log.Clear();
    }
    void TearDown() override {
        players.Uninitialize();
        creditsPage.Uninitialize();
        errorPage.Uninitialize();
        ProfileTest::TearDown();
    }

    W::Panel* Page(const char* name, std::initializer_list<const char*> buttons) {
        auto* root = new W::Panel(name);
        for (const char* button : buttons)
            root->AddChild(made[std::string(name) + "/" + button] = new W::Button(button));
        screen.AddChild(root);
        return root;
    }
    void Click(const char* page, const char* button) { made.at(std::string(page) + "/" + button)->GetBehavior()->onPress(false); }
    void Connect(i32 device) {
        GameServices::Bridge::DeviceInfos infos;
        infos.m_DeviceId = device;
        devices.onDeviceConnected(infos);
        KG::TeamActionManager::GetFreeDeviceConnectedEvent().Fire(infos);
    }
    bool Waiting() const {
        for (W::Popup* popup : screens.GetOpenPopups())
            if (popup->Name == NumberOfPlayerComposition::kWaitPopup)
                return true;
        return false;
    }
    size_t ClickSounds() const {
        size_t count = 0;
        for (const std::string& line : log.Lines())
            count += line.find(AudioManager::kButtonPressSound) != std::string::npos;
        return count;
    }
    // Frames with every slide taken as ended until no page switch runs.
    void Idle() {
        for (int frame = 0; frame < 5; ++frame) {
            for (CompositionBase* page : {compositions.GetLeavingComposition(), compositions.GetEnteringComposition()})
                if (page)
                    page->ReleaseAnimation();
            compositions.Update(16);
        }
    }

    drawtest::TestPackage slide;
    W::ScreenManager screens;
    CompositionManager compositions{&screens};
    KG::DeviceManager devices;
    W::Panel screen{"MenuScreen"};
    W::Button wardrobe{"WardrobeButton"};
    std::map<std::string, W::Widget*> made;
    W::ScrollText* scroll = nullptr;
    NumberOfPlayerComposition players;
    CreditsComposition creditsPage;
    ConnectionErrorComposition errorPage;
    GameServices::Entities::Set stage{"GameShowMenu"};
    MenuCharacter avatar{"MenuAvatar"};
};

}  // namespace

TEST_F(SidePages, EnoughDevicesGoOnAtOnceAndEndIdleOnTheUnregisteredPage) {
    Connect(0);
    Connect(1);
    players.OnActivate(true);
    avatar.SetVisible(true);
    Click(NumberOfPlayerComposition::kName, "NumberOfPlayer_Btn2");
    EXPECT_FALSE(players.IsWaiting());
    EXPECT_TRUE(screens.GetOpenPopups().empty());
    EXPECT_EQ(devices.GetMinimum(), 2u);
    EXPECT_EQ(devices.GetMaximum(), 2u);
    EXPECT_EQ(manager->GetPlayerCount(), 2u);
    EXPECT_FALSE(avatar.Visible);
    EXPECT_STREQ(compositions.GetNextCompositionName().c_str(), NumberOfPlayerComposition::kNextPage);
    Idle();
    EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
    EXPECT_EQ(compositions.GetEnteringComposition(), nullptr);
    EXPECT_FALSE(players.GetRootPanel()->Visible);
}

TEST_F(SidePages, MissingDevicesWaitBehindThePopupUntilConnectedOrGivenUp) {
    const size_t listeners = KG::TeamActionManager::GetFreeDeviceConnectedEvent().Count();
    Connect(0);
    Connect(1);
    players.OnActivate(true);
    Click(NumberOfPlayerComposition::kName, "NumberOfPlayer_Btn4");
    EXPECT_TRUE(players.IsWaiting());
    EXPECT_TRUE(Waiting());
    EXPECT_EQ(devices.GetMaximum(), 4u);
    EXPECT_EQ(KG::TeamActionManager::GetFreeDeviceConnectedEvent().Count(), listeners + 1);
    EXPECT_EQ(KG::TeamActionManager::GetMemberDeviceLostEvent().Count(), listeners + 1);
    Connect(2);
    EXPECT_TRUE(Waiting()) << "device 3 is still missing";
    Connect(3);
    EXPECT_FALSE(Waiting());
    EXPECT_FALSE(players.IsWaiting());
    EXPECT_EQ(devices.GetMinimum(), 4u);
    EXPECT_EQ(compositions.GetLeavingComposition(), &players);
    EXPECT_EQ(KG::TeamActionManager::GetFreeDeviceConnectedEvent().Count(), listeners);

    // Given up: one device again, the page stays, device changes are no longer followed.
    compositions.Reset();
    players.OnActivate(false);
    players.OnActivate(true);
    GameServices::Bridge::DeviceInfos lost{3, nullptr};
    devices.onDeviceDisconnected(lost);
    Click(NumberOfPlayerComposition::kName, "NumberOfPlayer_Btn4");
    ASSERT_TRUE(Waiting());
    PressPopupButton(screens, NumberOfPlayerComposition::kWaitPopup, NumberOfPlayerComposition::kWaitBackButton);
    EXPECT_FALSE(players.IsWaiting());
    EXPECT_EQ(devices.GetMinimum(), 1u);
    EXPECT_EQ(devices.GetMaximum(), 1u);
    EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
    EXPECT_TRUE(players.GetRootPanel()->Visible);
    EXPECT_EQ(KG::TeamActionManager::GetMemberDeviceLostEvent().Count(), listeners);
}

TEST_F(SidePages, CreditsRestartOnEachShowingAndLeaveOnceWhenTheyEnd) {
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        scroll->m_ScrollStarted = true;
        scroll->m_NextLine = 7;
        scroll->m_FinishedLines = 3;
        creditsPage.OnActivate(true);
        EXPECT_FALSE(scroll->m_ScrollStarted);
        EXPECT_EQ(scroll->m_NextLine + scroll->m_FinishedLines, 0u);
        EXPECT_EQ(scroll->m_ScrollEnded.Count(), 1u);
        scroll->m_ScrollEnded.Fire();
        EXPECT_EQ(compositions.GetLeavingComposition(), &creditsPage);
        EXPECT_STREQ(compositions.GetNextCompositionName().c_str(), CreditsComposition::kOptionsPage);
        EXPECT_EQ(scroll->m_ScrollEnded.Count(), 0u);
        EXPECT_EQ(ClickSounds(), 0u);
        Idle();
        EXPECT_FALSE(creditsPage.GetRootPanel()->Visible);
    }
}

TEST_F(SidePages, ClicksDuringTheShowTransitionAreIgnoredAndCancelOnlyHides) {
    creditsPage.PlayShowAnimation();
    creditsPage.OnActivate(true);
    ASSERT_TRUE(creditsPage.IsTransitionRunning());
    Click(CreditsComposition::kName, "BackButton");
    EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
    creditsPage.ReleaseAnimation();
    wardrobe.GetBehavior()->onPress(false);
    EXPECT_STREQ(compositions.m_ReturnComposition.c_str(), CreditsComposition::kOptionsPage);
    EXPECT_STREQ(compositions.GetNextCompositionName().c_str(), CompositionManager::kWardrobe);
    EXPECT_EQ(scroll->m_ScrollEnded.Count(), 0u);

    errorPage.OnActivate(true);
    Click(ConnectionErrorComposition::kName, "cancelButton");
    EXPECT_FALSE(errorPage.GetRootPanel()->Visible);
    EXPECT_EQ(ClickSounds(), 2u);
    EXPECT_STREQ(compositions.GetNextCompositionName().c_str(), CompositionManager::kWardrobe);
}
