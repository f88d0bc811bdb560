// The wardrobe page over the wardrobe fixture's catalogue, with a menu avatar in the menu level.
#include "gameshow/WardrobeComposition.h"

#include <gtest/gtest.h>

#include "gameservices/widget/WidgetClasses.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/gameshow/PageTestSetup.h"
#include "tests/gameshow/WardrobeTestSetup.h"
#include "tools/authoring/TrackWriter.h"

using namespace GameShow;
namespace W = GameServices::Widget;
namespace KG = GameServices::KorvoGame;
using pagetest::Add;
using pagetest::Click;
using wardrobetest::Names;

namespace {

class WardrobePage : public wardrobetest::WardrobeTest {
protected:
    void SetUp() override {
        WardrobeTest::SetUp();
        using authoring::Track;
        slide.Writer().Add(CompositionBase::kSlideAnimation, TypeKey::PrscAnimation,
                           authoring::PrscAnimationBytes(10, 100, Track::Vec2(), Track::Float(), Track::Vec2(),
                                                         Track::Color(), Track::UV()));
        slide.Mount();
        KG::CharacterManager::Instance()->SetAppearance(menuAvatar, look);
        menuAvatar.VolatileDatas.Set(GameServices::Entities::VolatileDataKeys::kRENDERABLE_AVATAR_DATA, &menuData);
        stage.m_Characters.push_back(&menuAvatar);
        level = &stage;
        Load();
        LoadAll();
        slot = AddProfile(look, "ANNA");
        wardrobe->UnlockAnatomyPart("ChM_Hair_Long", u32(slot), 3);
        wardrobe->UnlockOutfitPart("ChM_Top_Gold", 0, u32(slot));
        wardrobe->UnlockOutfitPart("ChM_Glasses_Star", 3, u32(slot));
        BuildLayout();
        compositions.RegisterComposition(WardrobeComposition::kName, &page);
        page.Initialize(&screen, WardrobeComposition::kName);
        compositions.m_ReturnComposition = "compositionAwards";
    }
    void TearDown() override {
        page.Uninitialize();
        KG::CharacterManager::Instance()->RemoveAppearance(menuAvatar);
        WardrobeTest::TearDown();
    }

    void BuildLayout() {
        auto* root = Add<W::Panel>(&screen, WardrobeComposition::kName);
        for (const char* tab : {"tabhair", "tabglasses", "tabshirt", "tabpants", "tabshoes", "tablock"})
            tabs.push_back(Add<W::CheckBox>(root, tab));
        for (int k = 0; k < 12; ++k)
            effects.push_back(Add<W::CheckBox>(root, "effect" + std::to_string(k)));
        done = Add<W::Button>(root, "DoneButton");
    }
    std::string MenuWorn(u32 outfitType) const { return menuData.m_PartNames[4 + outfitType].c_str(); }

    drawtest::TestPackage slide;
    GameServices::Entities::Set stage{"Menu"};
    MenuCharacter menuAvatar{"MenuAvatar"};
    GameServices::Bridge::RenderableAvatarData menuData;
    i32 slot = -1;
    W::Panel screen{"MenuScreen"};
    std::vector<W::CheckBox*> tabs;
    std::vector<W::CheckBox*> effects;
    W::Button* done = nullptr;
    CompositionManager compositions;
    WardrobeComposition page;
};

// Each tab lists its defaults, then the profile's unlocked items; the glasses tab starts with
// the no-glasses choice of the avatar's gender; the last tab lists the extra items. Slots
// beyond the list are hidden and inactive.
TEST_F(WardrobePage, TabsListDefaultsThenUnlockedItems) {
    const struct {
        i32 tab;
        u8 gender;
        Names names;
    } cases[] = {
        {0, KG::CharacterAssembly::kMale, {"ChM_Hair_Afro", "Shared_Hair", "ChM_Hair_Long"}},
        {1, KG::CharacterAssembly::kMale, {"ChM_No_Eyewear", "ChM_No_Eyewear", "ChM_Glasses", "ChM_Glasses_Star"}},
        {1, KG::CharacterAssembly::kFemale, {"ChF_No_Eyewear", "ChM_Glasses_Star"}},
        {2, KG::CharacterAssembly::kMale, {"ChM_Top_Disco", "x.y", "Plain", "Shared", "ChM_Top_Gold"}},
        {5, KG::CharacterAssembly::kMale,
         {"ChM_Sport", "ChM_Jersey_skin01", "Shared", "ChM_Top_Gold", "ChM_Shorts_SKIN01", "ChM_Skates"}},
    };
    page.OnActivate(true);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tab);
        menuAvatar.VolatileDatas.GetAppearance()->Assembly.Gender = c.gender;
        page.SelectTab(c.tab == 0 ? 1 : 0);
        page.SelectTab(c.tab);
        EXPECT_EQ(Strings(page.GetShownNames()), c.names);
        for (size_t k = 0; k < 12; ++k)
            EXPECT_EQ(effects[k]->Visible && effects[k]->m_Enabled, k < c.names.size()) << k;
    }
    // Without a current profile the lists are read for slot 0, whose unlocked items go on.
    manager->GetSettings()->CurrentSavedGame = -1;
    page.SelectTab(0);
    EXPECT_EQ(Strings(page.GetShownNames()), cases[0].names);
    // Without a look on the avatar the grid stays.
    KG::CharacterManager::Instance()->RemoveAppearance(menuAvatar);
    log.Clear();
    page.SelectTab(2);
    EXPECT_TRUE(log.Contains("No Appearance defined for this character"));
    EXPECT_EQ(Strings(page.GetShownNames()), cases[0].names);
}

// A press puts the item on as the tab's part; the same slot again puts nothing on; a slot past
// the list takes no press.
TEST_F(WardrobePage, PressesPutItemsOnAsTheTabsPart) {
    const std::pair<i32, i32> presses[] = {{0, 2}, {1, 3}, {2, 4}, {3, 0}, {4, 0}, {5, 0}};  // tab, slot
    page.OnActivate(true);
    for (const auto& [tab, slot] : presses) {
        page.SelectTab(tab);
        Click(effects[size_t(slot)]);
        EXPECT_EQ(page.GetSelectedSlot(), slot) << tab;
    }
    EXPECT_EQ(menuData.m_PartNames[3], "ChM_Hair_Long.mdl");
    // The extra item went on as the eyewear it is.
    EXPECT_EQ((Names{MenuWorn(0), MenuWorn(1), MenuWorn(2), MenuWorn(3)}),
              (Names{"ChM_Top_Gold.mdl", "ChM_Jeans.mdl", "ChM_Boots.mdl", "ChM_Sport.mdl"}));

    // The same slot again: nothing put on.
    page.SelectTab(2);
    Click(effects[0]);
    menuData.m_PartNames[4] = "kept";
    Click(effects[0]);
    EXPECT_EQ(MenuWorn(0), "kept");

    page.SelectTab(3);
    Click(effects[5]);
    page.OnItemPressed(11);
    page.OnItemPressed(-1);
    EXPECT_EQ(page.GetSelectedSlot(), -1);

    // The avatar gone from the level: reported, nothing put on.
    stage.m_Characters.clear();
    Click(effects[0]);
    EXPECT_TRUE(log.Contains("can not find MenuAvatar"));
    EXPECT_EQ(page.GetSelectedSlot(), 0);
}

// Done keeps the avatar's look in the current profile and writes the save; without a current
// profile it writes nothing. Either way it goes back to the opener.
TEST_F(WardrobePage, DoneKeepsTheLookInTheCurrentProfileOnly) {
    // The profile is in slot 0, which a missing current slot must not stand for.
    ASSERT_EQ(slot, 0);
    for (bool current : {false, true}) {
        SCOPED_TRACE(current);
        page.OnActivate(true);
        Click(effects[2]);
        Click(tabs[2]);
        Click(effects[4]);
        manager->GetSettings()->CurrentSavedGame = current ? slot : -1;
        KG::Appearance& worn = *menuAvatar.VolatileDatas.GetAppearance();
        worn.Name = "Restyled.xml";
        worn.Assembly.Name = "Male2";
        worn.Assembly.Id = 102;
        const std::string before = Contents();
        const u32 writes = manager->GetWriteCount();
        Click(done);
        EXPECT_EQ(compositions.GetNextCompositionName(), "compositionAwards");
        EXPECT_EQ(manager->GetWriteCount(), writes + (current ? 1u : 0u));
        const PlayerProfile& profile = *manager->GetSlot(slot);
        const auto& kept = profile.AvatarDescription;
        EXPECT_EQ(kept.OutfitParts[0].Name == "ChM_Top_Gold.mdl" && kept.AnatomyParts[3].Name == "ChM_Hair_Long.mdl",
                  current);
        EXPECT_EQ(kept.Name == "Restyled.xml" && kept.CharacterAssemblyName == "Male2" && kept.CharacterAssemblyId == 102,
                  current);
        EXPECT_TRUE(current || Contents() == before);
        compositions.Reset();
        page.OnActivate(false);
    }
}

}  // namespace
