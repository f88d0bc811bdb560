#include "gameshow/ProfilesComposition.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "gameservices/entities/Set.h"
#include "gameservices/game/CharacterManager.h"
#include "gameservices/widget/ScreenManager.h"
#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/MenuCharacter.h"
#include "gameshow/PageButtons.h"
#include "tests/gameshow/ProfileTestSetup.h"

using namespace GameShow;
namespace W = GameServices::Widget;

namespace {

class ProfilesPage : public profiletest::ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        auto* root = new W::Panel(ProfilesComposition::kName);
        for (int k = 1; k <= 4; ++k) {
            const std::string n = std::to_string(k);
            Add(root, new W::CheckBox(("profile" + n + "Checkbox").c_str()));
            Add(root, new W::Label(("profile" + n + "Name").c_str()));
            for (const std::string image : {"imageProfile", "baseImageProfile", "baseImage"})
                Add(root, new W::Image((image + n).c_str()));
        }
        for (const char* button : {"DeleteProfileButton", "NewProfileButton", "DoneButton"})
            Add(root, new W::Button(button));
        screen.AddChild(root);
        compositions.m_WardrobeButton = &wardrobe;
        compositions.RegisterComposition(ProfilesComposition::kName, &page);
        page.SetScreens(&screens);
        stage.m_Characters.push_back(&avatar);
        level = &stage;
    }
    void TearDown() override {
        page.Uninitialize();
        GameServices::KorvoGame::CharacterManager::Instance()->RemoveAppearance(avatar);
        ProfileTest::TearDown();
    }
    void Add(W::Panel* root, W::Widget* widget) {
        root->AddChild(widget);
        made[widget->Name.c_str()] = widget;
    }
    // One slot per name ("" an unused slot); the page shown.
    void Start(const std::vector<std::string>& names, int current) {
        SetProfileCount(int(names.size()));
        std::string slots;
        for (size_t i = 0; i < names.size(); ++i)
            slots += profiletest::SlotText(!names[i].empty(), names[i], std::to_string(i));
        Store(profiletest::DocumentText(current, slots));
        Load();
        page.Initialize(&screen, ProfilesComposition::kName);
        page.OnActivate(true);
    }
    W::Widget* At(const std::string& name) { return made.at(name); }
    void Click(const std::string& name) { At(name)->GetBehavior()->onPress(false); }
    std::string Background(int k) { return static_cast<W::Image*>(At("baseImage" + std::to_string(k)))->m_ImageName.c_str(); }
    // A new page switch can start.
    void Again() {
        compositions.Reset();
        page.OnActivate(false);
        page.OnActivate(true);
    }

    W::Panel screen{"MenuScreen"};
    W::Button wardrobe{"WardrobeButton"};
    std::map<std::string, W::Widget*> made;
    W::ScreenManager screens;
    CompositionManager compositions{&screens};
    ProfilesComposition page;
    GameServices::Entities::Set stage{"GameShowMenu"};
    MenuCharacter avatar{"MenuAvatar"};
};

}  // namespace

TEST_F(ProfilesPage, NewNeedsAFreeSlotAndDeleteASecondProfile) {
    const struct {
        std::vector<std::string> names;
        bool canCreate;
        bool canDelete;
        std::map<i32, i32> slots;
    } cases[] = {
        {{"Ann", "Bob", "Cy", "Dee"}, false, true, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {{"Ann", "Bob", "Cy"}, false, true, {{0, 0}, {1, 1}, {2, 2}}},
        {{"Ann", "", "", ""}, true, false, {{0, 0}}},
        {{"Ann", "", "Cy"}, true, true, {{0, 0}, {1, 2}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names.size());
        Start(c.names, 0);
        EXPECT_EQ(At("NewProfileButton")->m_Enabled != 0, c.canCreate);
        EXPECT_EQ(At("DeleteProfileButton")->m_Enabled != 0, c.canDelete);
        EXPECT_EQ(At("DeleteProfileButton")->m_InputLocked != 0, !c.canDelete);
        EXPECT_EQ(page.GetSlotMap(), c.slots);
        EXPECT_EQ(At("profile" + std::to_string(c.slots.size()) + "Name")->Visible, true);
        EXPECT_EQ(At("profile4Checkbox")->Visible, c.slots.size() == 4);
        page.Uninitialize();
    }
}

TEST_F(ProfilesPage, DeletingMakesTheNeighbourCurrentAndSavesOnlyThat) {
    const struct {
        int deleted;
        int current;
    } cases[] = {{3, 2}, {0, 1}};
    const std::vector<std::string> names = {"Ann", "Bob", "Cy", "Dee"};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.deleted);
        Start(names, c.deleted);
        const u32 writes = manager->GetWriteCount();
        compositions.ProfileDeleteConfirmed.Fire();
        EXPECT_EQ(manager->GetWriteCount(), writes + 2);
        EXPECT_EQ(page.GetSlotMap().size(), 3u);
        EXPECT_EQ(page.GetSlotMap().at(page.GetSelectedSlot()), c.current);
        page.Uninitialize();
        Load();
        EXPECT_EQ(manager->GetSettings()->CurrentSavedGame, c.current);
        EXPECT_EQ(manager->GetSettings()->MusicVolume, 50u);
        for (int slot = 0; slot < 4; ++slot) {
            EXPECT_EQ(manager->GetSavedFile()->IsUsedSlot(slot), slot != c.deleted);
            if (slot != c.deleted) {
                EXPECT_STREQ(manager->GetSlot(slot)->SavedGameName.c_str(), names[size_t(slot)].c_str());
            }
        }
    }
}

TEST_F(ProfilesPage, DoneConfirmsTheTickedProfileWhichStaysTicked) {
    Start({"Ann", "Bob", "Cy"}, 1);
    EXPECT_EQ(Background(2), ProfilesComposition::kSelectedImage);
    EXPECT_EQ(Background(1), "");
    Click("profile2Checkbox");
    EXPECT_TRUE(IsButtonMarked(At("profile2Checkbox")));
    EXPECT_EQ(page.GetSelectedSlot(), 1);
    Click("DoneButton");
    EXPECT_EQ(manager->GetSettings()->CurrentSavedGame, 1);
    EXPECT_TRUE(manager->IsProfileChosen());
    EXPECT_STREQ(compositions.GetNextCompositionName().c_str(), CompositionManager::kMainMenu);

    Again();
    Click("profile3Checkbox");
    EXPECT_FALSE(IsButtonMarked(At("profile2Checkbox")));
    EXPECT_EQ(Background(2), ProfilesComposition::kBaseImage);
    EXPECT_EQ(Background(3), ProfilesComposition::kSelectedImage);
    EXPECT_EQ(manager->GetSettings()->CurrentSavedGame, 1) << "a pick is saved only by done";
    wardrobe.GetBehavior()->onPress(false);
    EXPECT_EQ(manager->GetSettings()->CurrentSavedGame, 2);
    EXPECT_STREQ(compositions.m_ReturnComposition.c_str(), ProfilesComposition::kName);
}

TEST_F(ProfilesPage, WithoutATickedProfileNothingIsSelectedDeletedOrWritten) {
    Start({"Ann", "Bob", "", ""}, -1);
    ASSERT_EQ(page.GetSelectedSlot(), -1);
    const u32 writes = manager->GetWriteCount();
    const struct {
        W::Widget* button;
        const char* next;
    } cases[] = {{At("DoneButton"), CompositionManager::kMainMenu}, {&wardrobe, CompositionManager::kWardrobe}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.next);
        Again();
        c.button->GetBehavior()->onPress(false);
        EXPECT_STREQ(compositions.GetNextCompositionName().c_str(), c.next);
    }
    EXPECT_STREQ(compositions.m_ReturnComposition.c_str(), ProfilesComposition::kName);
    Again();
    compositions.ProfileDeleteConfirmed.Fire();
    EXPECT_EQ(manager->GetWriteCount(), writes);
    EXPECT_EQ(manager->GetSettings()->CurrentSavedGame, -1);
    EXPECT_FALSE(manager->IsProfileChosen());
    EXPECT_TRUE(manager->GetSavedFile()->IsUsedSlot(0));
    EXPECT_EQ(page.GetSlotMap().size(), 2u);
}
