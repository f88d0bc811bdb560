// A first start through the look page and the name page, on a small menu layout.
#include <gtest/gtest.h>

#include "gameservices/game/AvatarRendering.h"
#include "gameservices/widget/SoftKeyboard.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/BasicLookComposition.h"
#include "gameshow/KeyboardComposition.h"
#include "tests/gameshow/PageTestSetup.h"

using namespace GameShow;
namespace KG = GameServices::KorvoGame;
namespace W = GameServices::Widget;
using profiletest::DocumentText;
using profiletest::SlotsText;
using pagetest::Click;
using Calls = std::vector<std::string>;

namespace {

// Records the avatar rebuilds: "clean" and "build" per character.
class RecordingRendering : public KG::IAvatarRendering {
public:
    void SetRenderableAvatarData(GameServices::Entities::Character&, const GameServices::Bridge::RenderableAvatarData&) override {}
    void InitializeAvatar(GameServices::Entities::Character&) override { calls.push_back("build"); }
    void CleanupAvatar(GameServices::Entities::Character&) override { calls.push_back("clean"); }
    Calls calls;
};

class NewPlayer : public pagetest::MenuAvatarTest {
protected:
    void SetUp() override {
        MenuAvatarTest::SetUp();
        for (const char* look : {"AppearanceMale01.xml", "AppearanceFemale01.xml"})
            pagetest::CopyLook(dir, look);
        BuildLayout();
        compositions.RegisterComposition(BasicLookComposition::kName, &lookPage);
        compositions.RegisterComposition(KeyboardComposition::kName, &namePage);
        KG::CharacterManager::Instance()->SetAvatarRendering(&rendering);
    }
    void TearDown() override {
        lookPage.Uninitialize();
        namePage.Uninitialize();
        KG::CharacterManager::Instance()->SetAvatarRendering(nullptr);
        MenuAvatarTest::TearDown();
    }

    // Look page: the twelve look check boxes and "DoneButton"; name page: the keyboard and
    // its two buttons.
    void BuildLayout() {
        using pagetest::Add;
        auto* looks = Add<W::Panel>(&screen, BasicLookComposition::kName);
        for (int k = 0; k < 12; ++k)
            lookButtons.push_back(Add<W::CheckBox>(looks, "effect" + std::to_string(k)));
        lookDone = Add<W::Button>(looks, "DoneButton");
        auto* names = Add<W::Panel>(&screen, KeyboardComposition::kName);
        // As the layout builds them: shown until their pages hide them.
        looks->Visible = true;
        names->Visible = true;
        keyboard = Add<W::SoftKeyboard>(names, "softkeyboard");
        backButton = Add<W::Button>(names, "BackButton");
        nameDone = Add<W::Button>(names, "DoneButton");
    }
    // The save, the profiles and the default looks loaded; both pages initialized.
    void Start(const std::string& save) {
        Store(save);
        Load();
        manager->PreloadDefaultLooks();
        lookPage.Initialize(&screen, BasicLookComposition::kName);
        namePage.Initialize(&screen, KeyboardComposition::kName);
    }
    void Type(uintptr_t code) {
        KG::TeamActionData action(nullptr, code, nullptr);
        keyboard->m_KeyboardBehavior.onSoftKeyAction(&action);
    }
    void TypeText(const std::string& text) {
        for (char c : text)
            Type(static_cast<unsigned char>(c));
    }
    std::string Entered() const { return keyboard->GetEnteredText().c_str(); }
    // The name page shown with a look on the avatar.
    void ShowNamePageWithLook(u32 look) {
        lookPage.OnActivate(true);
        lookPage.SelectLook(i32(look));
        namePage.OnActivate(true);
        compositions.Reset();
    }

    W::Panel screen{"MenuScreen"};
    std::vector<W::CheckBox*> lookButtons;
    W::Button* lookDone = nullptr;
    W::SoftKeyboard* keyboard = nullptr;
    W::Button* backButton = nullptr;
    W::Button* nameDone = nullptr;
    BasicLookComposition lookPage;
    KeyboardComposition namePage;
    RecordingRendering rendering;
};

TEST_F(NewPlayer, TheLookPageShowsOnlyForAFirstTimePlayer) {
    const struct {
        const char* what;
        int current;
        bool choose;
        bool shown;
    } cases[] = {
        {"no profile", -1, false, true},
        {"current profile", 0, false, false},
        {"profile chosen", -1, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Start(DocumentText(c.current, SlotsText({"ANNA"}, 4)));
        EXPECT_FALSE(namePage.GetRootPanel()->Visible);
        if (c.choose)
            manager->SelectProfile(0);
        manager->GetSettings()->CurrentSavedGame = c.current;
        lookPage.OnScreenEnter();
        EXPECT_EQ(lookPage.GetRootPanel()->Visible, c.shown);
        lookPage.Uninitialize();
        namePage.Uninitialize();
    }
}

TEST_F(NewPlayer, DoneNeedsALookAndRepeatedPressesKeepTheAvatar) {
    Start(DocumentText(-1, SlotsText({}, 4)));
    // Hidden, the page takes no press.
    Click(lookButtons[1]);
    Click(lookDone);
    EXPECT_EQ(lookPage.GetSelectedLook(), -1);
    EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
    lookPage.OnScreenEnter();

    avatar.Activate = false;
    avatar.GetBehaviorCharacter().firstUpdate = false;
    rendering.calls.clear();
    Click(lookButtons[2]);
    EXPECT_EQ(rendering.calls, (Calls{"clean", "build"}));
    EXPECT_TRUE(avatar.GetBehaviorCharacter().firstUpdate) << "the new look restarts the avatar's behaviour";
    EXPECT_EQ(lookPage.GetSelectedLook(), 2);
    EXPECT_TRUE(avatar.Activate && avatar.Visible);
    EXPECT_TRUE(lookDone->m_Enabled);
    KG::Appearance* worn = avatar.VolatileDatas.GetAppearance();
    ASSERT_NE(worn, nullptr);
    EXPECT_EQ(worn->Name, "AppearanceFemale01.xml");

    // Pressed again: still chosen and marked, and the avatar keeps the look it wears.
    worn->Name = "kept";
    rendering.calls.clear();
    Click(lookButtons[2]);
    EXPECT_TRUE(rendering.calls.empty());
    EXPECT_EQ(lookPage.GetSelectedLook(), 2);
    EXPECT_EQ(worn->Name, "kept");

    Click(lookDone);
    EXPECT_EQ(compositions.GetNextCompositionName(), KeyboardComposition::kName);

    // Shown again: nothing chosen, "DoneButton" disabled.
    lookPage.OnActivate(false);
    lookPage.OnActivate(true);
    EXPECT_EQ(lookPage.GetSelectedLook(), -1);
    EXPECT_FALSE(lookDone->m_Enabled);

    // Uninitialized, the page no longer listens to its buttons.
    lookPage.Uninitialize();
    EXPECT_EQ(lookDone->GetBehavior()->Event(W::kEventClick).Count(), 0u);
    EXPECT_EQ(lookButtons[11]->GetBehavior()->Event(W::kEventClick).Count(), 0u);
}

TEST_F(NewPlayer, AMissingAvatarOrWidgetsAreReportedNotFatal) {
    stage.m_Characters.clear();
    Start(DocumentText(-1, SlotsText({}, 4)));
    lookPage.OnScreenEnter();
    log.Clear();
    lookPage.SelectLook(1);
    EXPECT_TRUE(log.Contains("can not find MenuAvatar"));
    EXPECT_TRUE(lookDone->m_Enabled);
    lookPage.SelectLook(12);
    lookPage.SelectLook(-1);
    EXPECT_EQ(lookPage.GetSelectedLook(), 1);

    W::Panel bare{"bare"};
    bare.AddChild(new W::Panel(BasicLookComposition::kName));
    bare.AddChild(new W::Panel(KeyboardComposition::kName));
    BasicLookComposition looks;
    KeyboardComposition names;
    log.Clear();
    looks.Initialize(&bare, BasicLookComposition::kName);
    names.Initialize(&bare, KeyboardComposition::kName);
    for (const char* missing : {"can not find effect11", "can not find softkeyboard"})
        EXPECT_TRUE(log.Contains(missing)) << missing;
    looks.OnActivate(true);
    looks.SelectLook(0);
    names.OnActivate(true);
    looks.Uninitialize();
    names.Uninitialize();
}

TEST_F(NewPlayer, TheNameFieldRules) {
    Start(DocumentText(-1, SlotsText({}, 4)));
    ShowNamePageWithLook(0);
    EXPECT_EQ(Entered(), " ");
    EXPECT_FALSE(nameDone->m_Enabled);

    Type('B');
    EXPECT_TRUE(Entered() == "B" && nameDone->m_Enabled);
    Type(8);
    EXPECT_TRUE(Entered().empty() && !nameDone->m_Enabled);
    Type(' ');
    EXPECT_TRUE(Entered().empty() && !nameDone->m_Enabled) << "no leading space";

    TypeText("ABCDEFGHI");
    EXPECT_EQ(Entered(), "ABCDEFGH");

    // Shown again, the placeholder and a disabled "DoneButton".
    namePage.OnActivate(false);
    namePage.OnActivate(true);
    EXPECT_TRUE(Entered() == " " && !nameDone->m_Enabled);
    TypeText("ABCDEFGH");

    EXPECT_EQ(KeyboardComposition::TrimTrailingSpaces("A B  "), "A B");
    EXPECT_EQ(KeyboardComposition::TrimTrailingSpaces("   "), "");

    Click(backButton);
    EXPECT_EQ(compositions.GetNextCompositionName(), BasicLookComposition::kName);
    EXPECT_EQ(manager->GetLoadedProfiles().size(), 0u);
}

// A loaded profile's exact name is refused with the popup and the page stays; otherwise the
// profile is made with the avatar's look, selected and saved, and the main menu follows.
TEST_F(NewPlayer, DoneCreatesSelectsAndSavesTheProfile) {
    Start(DocumentText(-1, SlotsText({"", "Bob"}, 4)));
    const std::string before = Contents();
    ShowNamePageWithLook(2);

    TypeText("Bob  ");
    log.Clear();
    Click(nameDone);
    EXPECT_EQ(popupEvents.events, std::vector<bool>{true});
    EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
    EXPECT_TRUE(Contents() == before && Entered() == "Bob  ");

    for (int i = 0; i < 5; ++i)
        Type(8);
    TypeText("BOB ");
    Click(nameDone);
    EXPECT_EQ(popupEvents.events.size(), 1u);
    EXPECT_EQ(compositions.GetNextCompositionName(), CompositionManager::kMainMenu);
    const i32 slot = manager->GetCurrentSlot();
    ASSERT_EQ(slot, 0);
    EXPECT_EQ(manager->GetProfile(0), manager->GetSlot(slot));

    // The save on disk, read by a fresh start.
    Load();
    ASSERT_EQ(manager->GetCurrentSlot(), 0);
    EXPECT_EQ(manager->GetSlot(0)->SavedGameName, "BOB");
    EXPECT_EQ(manager->GetSlot(0)->AvatarDescription.Name, "AppearanceFemale01.xml");
    // Shown on the avatar, the profile's look is built afresh.
    rendering.calls.clear();
    manager->ShowProfileOnAvatar(manager->GetSlot(0));
    EXPECT_EQ(rendering.calls, (Calls{"clean", "build"}));
    EXPECT_EQ(avatar.VolatileDatas.GetAppearance()->Name, "AppearanceFemale01.xml");
    // So is player 0's character, in the look of the profile it plays.
    GameServices::Entities::Character player("Player0");
    manager->BuildCharacterFromProfile(0, &player);
    ASSERT_NE(player.VolatileDatas.GetAppearance(), nullptr);
    EXPECT_EQ(player.VolatileDatas.GetAppearance()->Name, "AppearanceFemale01.xml");
    KG::CharacterManager::Instance()->RemoveAppearance(player);
}

TEST_F(NewPlayer, WithEverySlotUsedThePageReportsAndStays) {
    Start(DocumentText(-1, SlotsText({"A", "B", "C", "D"})));
    const std::string before = Contents();
    ShowNamePageWithLook(0);
    TypeText("Eve");
    log.Clear();
    Click(nameDone);
    EXPECT_FALSE(log.Lines().empty());
    EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
    EXPECT_EQ(manager->GetCurrentSlot(), -1);
    EXPECT_FALSE(manager->IsProfileChosen());
    EXPECT_EQ(Contents(), before);
    EXPECT_EQ(manager->GetSlot(3)->SavedGameName, "D");
}

}  // namespace
