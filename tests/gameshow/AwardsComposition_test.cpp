// The awards page: the awards file, the grants' unlocked items and the page on a small menu
// layout.
#include "gameshow/AwardsComposition.h"

#include <gtest/gtest.h>

#include <random>

#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/WardrobeManager.h"
#include "tests/gameshow/PageTestSetup.h"
#include "tests/support/ByteDamage.h"

using namespace GameShow;
namespace W = GameServices::Widget;
using profiletest::DocumentText;

namespace {

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
const char* const kUnlockableAssemblies =
    "<root><CharacterAssemblies>"
    "<item><Name>AppearanceFemale01</Name><Id>1201</Id><Anatomy>PrizeAnatomy_F.xml</Anatomy>"
    "<Wardrobe>PrizeWardrobe_F.xml</Wardrobe><Gender>Female</Gender></item>"
    "</CharacterAssemblies></root>";
const char* const kPrizeWardrobe =
    "<root><WardRobe>"
    "<Eyewear><item><Id>41</Id><Name>ChF_Glasses_Star.mdl</Name></item></Eyewear>"
    "<Tops><item><Id>11</Id><Name>ChF_Top_Crop_skin01_dpnk.mdl</Name></item></Tops>"
    "<Bottoms><item><Id>21</Id><Name>ChF_Bottom_Skirt.mdl</Name></item></Bottoms>"
    "<Footwear><item><Id>31</Id><Name>ChF_Shoes_Skate.mdl</Name></item></Footwear>"
    "</WardRobe></root>";
const char* const kPrizeAnatomy =
    "<root><AnatomyPart><head/><eye_left/><eye_right/>"
    "<Hairstyle><item><Id>51</Id><Name>ChF_Hair_Spiky.mdl</Name></item></Hairstyle>"
    "</AnatomyPart></root>";

class Awards : public profiletest::ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        dir.Write("-xml/korvocity/unlockablecharacterassemblies.xml", kUnlockableAssemblies);
        dir.Write("-xml/korvocity/prizewardrobe_f.xml", kPrizeWardrobe);
        dir.Write("-xml/korvocity/prizeanatomy_f.xml", kPrizeAnatomy);
        WardrobeManager::Destroy();
        WardrobeManager::Instance()->LoadUnlockableAssemblies();
        compositions.RegisterComposition(AwardsComposition::kName, &awards);
    }
    void TearDown() override {
        awards.Uninitialize();
        EXPECT_EQ(awards.GetRootPanel(), nullptr);
        WardrobeManager::Destroy();
        ProfileTest::TearDown();
    }
    void WriteAwards(const std::string& text) { dir.Write("-xml/global/awards.xml", text); }
    // Player 0 plays slot 1, a Female1 profile named "ANNA".
    PlayerProfile* LoadProfile(int current = 1) {
        Store(DocumentText(current, profiletest::SlotsText({"", "ANNA"}, 4)));
        Load();
        return manager->GetProfile(0);
    }
    // The page (six group buttons, a title button for group 2), initialized.
    void BuildLayout() {
        using pagetest::Add;
        awards.Uninitialize();
        screen = std::make_unique<W::Panel>("MenuScreen");
        auto* list = Add<W::Panel>(screen.get(), AwardsComposition::kName);
        Add<W::Button>(list, "BackButton");
        progress = Add<W::Label>(list, "progressLabel");
        for (int n = 1; n <= 6; ++n) {
            Add<W::Button>(list, "group" + std::to_string(n) + "Button");
            Add<W::Image>(list, "group" + std::to_string(n) + "Image");
            if (n == 2)
                Add<W::Button>(list, "group2");
            else
                Add<W::Label>(list, "group" + std::to_string(n));
        }
        awards.Initialize(screen.get(), AwardsComposition::kName);
    }
    std::string Progress() const { return progress->m_TextStyle.m_Text.c_str(); }
    // The k-th award of the first group; an empty award when there is none.
    const sAward& Nth(size_t k) const {
        static const sAward none;
        const auto& groups = awards.GetAwardList().MetaAwards;
        return !groups.empty() && k < groups[0].Awards.size() ? groups[0].Awards[k] : none;
    }

    std::unique_ptr<W::Panel> screen;
    W::Label* progress = nullptr;
    CompositionManager compositions;
    AwardsComposition awards;
};

}  // namespace

// An award unlocks the item of the current profile's look, by type, in that profile; the
// wardrobe's unlocked lists then hold it. Another look's item, a type written otherwise and
// no current profile unlock nothing, and the award still counts.
TEST_F(Awards, GrantsUnlockTheCurrentLooksItem) {
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
        WriteAwards(AwardsText(Group("G", Award("Prize", c.unlockables) + Award("Next"))));
        LoadProfile(c.current);
        awards.LoadAwards();
        log.Clear();
        awards.UnlockAward("Prize", true);
        const sAward& award = Nth(0);
        EXPECT_EQ(Nth(1).Title, "Next") << "an award after unlockables is read whole";
        EXPECT_TRUE(award.unlocked && award.isNew);
        EXPECT_EQ(awards.GetUnlockedCount(), 1u);
        EXPECT_EQ(award.thumbnail, c.picture ? c.picture : "");
        std::string unlocked;
        for (u32 category = 0; category < 4; ++category) {
            std::vector<TString<char>> anatomy, outfit;
            manager->GetUnlockedAnatomyPartNames(category, 1, anatomy);
            manager->GetUnlockedOutfitPartNames(category, 1, outfit);
            for (const TString<char>& name : anatomy)
                unlocked += "anatomy" + std::to_string(category) + ":" + name.c_str();
            for (const TString<char>& name : outfit)
                unlocked += "outfit" + std::to_string(category) + ":" + name.c_str();
        }
        EXPECT_EQ(unlocked, c.unlocked);
        EXPECT_TRUE(c.report ? log.Contains(c.report) : log.Lines().empty());
    }
    std::vector<TString<char>> none{"stale"};
    manager->GetUnlockedAnatomyPartNames(4, 1, none);
    EXPECT_TRUE(none.empty() && log.Contains("category 4 is out of range"));
}

// A missing, empty or foreign file leaves no awards (reported) and counts 0/0; a second load
// of a good file replaces the list and forgets the grants.
TEST_F(Awards, UnreadableFilesLeaveNoAwards) {
    BuildLayout();
    const struct {
        const char* what;
        const char* text;  // null: no file
    } cases[] = {
        {"missing", nullptr},
        {"other root", "<Root><MetaAwards/></Root>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAwards(AwardsText(Group("G", Award("A") + Award("B"))));
        awards.LoadAwards();
        awards.UnlockAward("A", true);
        std::filesystem::remove(dir.File("-xml/global/awards.xml"));
        if (c.text)
            WriteAwards(c.text);
        log.Clear();
        awards.LoadAwards();
        awards.ShowGroups();
        EXPECT_TRUE(awards.GetAwardList().MetaAwards.empty());
        EXPECT_EQ(Progress(), "0/0");
        EXPECT_FALSE(log.Lines().empty());
    }
    WriteAwards(AwardsText(Group("G", Award("A") + Award("B"))));
    awards.LoadAwards();
    awards.UnlockAward("A", true);
    awards.LoadAwards();
    awards.ShowGroups();
    EXPECT_FALSE(Nth(0).unlocked);
    EXPECT_EQ(awards.GetUnlockedCount(), 0u);
    EXPECT_EQ(Progress(), "0/2");
    awards.UnlockAward("B", true);
    awards.RefreshAwards();  // another profile: the grants are read again from nothing
    EXPECT_TRUE(!Nth(1).unlocked && awards.GetUnlockedCount() == 0 && Progress() == "0/2");
}

// Damaged copies of the sample file load, count and grant without any memory fault.
TEST_F(Awards, DamagedFilesLoadSafely) {
    const std::string sample = FileContents(std::string(TALLYVOX_SAMPLE_UI) + "/global/Awards.xml");
    LoadProfile();
    BuildLayout();
    WriteAwards(sample);
    awards.LoadAwards();
    std::vector<std::string> titles;
    for (const sMetaAward& meta : awards.GetAwardList().MetaAwards)
        for (const sAward& award : meta.Awards)
            titles.push_back(award.Title.c_str());
    ASSERT_EQ(titles.size(), 20u);
    std::mt19937 rng(3030);
    for (int i = 0; i < 5000; ++i) {
        std::string bytes = sample;
        DamageBytes(bytes, rng, 1 + int(rng() % 6));
        WriteAwards(bytes);
        awards.LoadAwards();
        awards.ShowGroups();
        awards.UnlockAward(titles[rng() % titles.size()].c_str(), true);
        awards.RefreshAwards();
        log.Clear();
    }
    WriteAwards(sample);
    awards.LoadAwards();
    awards.ShowGroups();
    EXPECT_EQ(awards.GetTotalCount(), 20u);
}
