#include "gameshow/AwardsComposition.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/WardrobeManager.h"
#include "tests/gameshow/ProfileTestSetup.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/FileContents.h"

using namespace GameShow;
using GameServices::Widget::Label;
using GameServices::Widget::Panel;
using profiletest::DocumentText;
using profiletest::SlotText;

namespace {

const char* const kTitles[] = {
    "70s Pro",       "80s Pro",      "90s Pro",         "00s Pro",         "The Thief",
    "Board Cleaner", "The Double",   "Survey Beast",    "All About Money", "Faceoff Champ",
    "Until The End", "The Comeback", "The Beginner",    "Top Player",      "Beat Them All",
    "Time Is Nothing", "Good Start", "Faceoff Acolyte", "Time Is Money",   "Points Vessel",
};

std::string Unlockable(const std::string& look, const std::string& model, const std::string& type) {
    return "<Unlockable AppearanceName=\"" + look + "\" UnlockableModel=\"" + model + "\" Type=\"" + type + "\"/>";
}

std::string Award(const std::string& title, const std::string& unlockables = "") {
    return "<Award><Title>" + title + "</Title><Description>d</Description><Unlockables>" + unlockables +
           "</Unlockables></Award>";
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
    }
    void TearDown() override {
        page.Uninitialize();
        WardrobeManager::Destroy();
        ProfileTest::TearDown();
    }
    void WriteAwards(const std::string& text) { dir.Write("-xml/global/awards.xml", text); }
    // Player 0 plays slot 1, a Female1 profile named "ANNA".
    PlayerProfile* LoadProfile() {
        Store(DocumentText(1, SlotText(false, "", "0") + SlotText(true, "ANNA", "1") + SlotText(false, "", "2") +
                                  SlotText(false, "", "3")));
        Load();
        return manager->GetProfile(0);
    }
    // The page on a screen panel holding its root panel with the progress label and
    // the title widgets of the first two groups.
    void InitializePage() {
        auto* root = new Panel(AwardsComposition::kName);
        progress = new Label("progressLabel");
        root->AddChild(progress);
        groupLabel = new Label("group1");
        groupButton = new GameServices::Widget::Button("group2");
        root->AddChild(groupLabel);
        root->AddChild(groupButton);
        screen.AddChild(root);
        page.Initialize(&screen, AwardsComposition::kName);
    }
    std::string Progress() const { return progress->m_TextStyle.m_Text.c_str(); }
    const sAward* Find(const std::string& title) const {
        for (const sMetaAward& group : page.GetAwardList().MetaAwards) {
            if (group.Title == title.c_str())
                return &group;
            for (const sAward& award : group.Awards)
                if (award.Title == title.c_str())
                    return &award;
        }
        return nullptr;
    }
    std::vector<std::string> UnlockedOutfits(u32 category) {
        std::vector<TString<char>> names;
        manager->GetUnlockedOutfitPartNames(category, 1, names);
        std::vector<std::string> out;
        for (const TString<char>& name : names)
            out.push_back(name.c_str());
        return out;
    }

    Panel screen{"screen"};
    Label* progress = nullptr;
    Label* groupLabel = nullptr;
    GameServices::Widget::Button* groupButton = nullptr;
    AwardsComposition page;
};

// An award unlocks the item of the current profile's look, by type, in that profile; the
// wardrobe's unlocked lists then hold it. Another look's item, a type written otherwise and
// no profile at all unlock nothing, and the award still counts.
TEST_F(Awards, GrantsUnlockTheCurrentLooksItem) {
    const struct {
        const char* what;
        std::string unlockables;
        bool anatomy;
        u32 category;
        const char* unlocked;  // null: nothing
        const char* picture;   // null: none
        const char* report;
    } cases[] = {
        {"top", Unlockable("AppearanceMale01", "ChM_Top_Disco_skin01_pnk.mdl", "Top") +
                    Unlockable("AppearanceFemale01", "ChF_Top_Crop_skin01_dpnk.mdl", "Top"),
         false, 0, "ChF_Top_Crop_skin01_dpnk", "THUMBNAIL_ChF_Top_Crop_skin01.png", nullptr},
        {"bottom", Unlockable("AppearanceFemale01", "ChF_Bottom_Skirt.mdl", "Bottom"), false, 1,
         "ChF_Bottom_Skirt", "THUMBNAIL_ChF_Bottom_Skirt.png", nullptr},
        {"footwear", Unlockable("AppearanceFemale01", "ChF_Shoes_Skate.mdl", "Footwear"), false, 2,
         "ChF_Shoes_Skate", "THUMBNAIL_ChF_Shoes_Skate.png", nullptr},
        {"eyewear", Unlockable("AppearanceFemale01", "ChF_Glasses_Star.mdl", "Eyewear"), false, 3,
         "ChF_Glasses_Star", "THUMBNAIL_ChF_Glasses_Star.png", nullptr},
        {"hair", Unlockable("AppearanceFemale01", "ChF_Hair_Spiky.mdl", "Hair"), true, 3, "ChF_Hair_Spiky",
         "THUMBNAIL_ChF_Hair_Spiky.png", nullptr},
        {"first of the look", Unlockable("AppearanceFemale01", "ChF_Shoes_Skate.mdl", "Footwear") +
                                  Unlockable("AppearanceFemale01", "ChF_Bottom_Skirt.mdl", "Bottom"),
         false, 2, "ChF_Shoes_Skate", "THUMBNAIL_ChF_Shoes_Skate.png", nullptr},
        {"lower-case type", Unlockable("AppearanceFemale01", "ChF_Top_Crop_skin01_dpnk.mdl", "top"), false, 0,
         nullptr, "THUMBNAIL_ChF_Top_Crop_skin01.png", "Unknown unlockable type top"},
        {"another look", Unlockable("AppearanceFemale01.xml", "ChF_Bottom_Skirt.mdl", "Bottom"), false, 1, nullptr,
         nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAwards(AwardsText(Group("G", Award("Prize", c.unlockables))));
        PlayerProfile* profile = LoadProfile();
        ASSERT_NE(profile, nullptr);
        page.LoadAwards();
        log.Clear();
        page.UnlockAward("Prize", true);
        const sAward& award = *Find("Prize");
        EXPECT_TRUE(award.unlocked);
        EXPECT_EQ(page.GetUnlockedCount(), 1u);
        EXPECT_EQ(award.thumbnail, c.picture ? c.picture : "");
        for (u32 category = 0; category < 4; ++category) {
            const bool here = c.unlocked && category == c.category;
            const auto& anatomy = profile->UnlockedAnatomyParts.Parts[category];
            const auto& outfit = profile->UnlockedOutfitParts.Parts[category];
            EXPECT_EQ(anatomy.size(), here && c.anatomy ? 1u : 0u) << category;
            EXPECT_EQ(outfit.size(), here && !c.anatomy ? 1u : 0u) << category;
        }
        if (c.unlocked && !c.anatomy) {
            EXPECT_EQ(UnlockedOutfits(c.category), std::vector<std::string>{c.unlocked});
        }
        if (c.unlocked && c.anatomy) {
            std::vector<TString<char>> names;
            manager->GetUnlockedAnatomyPartNames(c.category, 1, names);
            ASSERT_EQ(names.size(), 1u);
            EXPECT_EQ(names[0], c.unlocked);
        }
        EXPECT_EQ(log.Lines().empty(), c.report == nullptr);
        if (c.report) {
            EXPECT_TRUE(log.Contains(c.report));
        }
    }
}

TEST_F(Awards, WithoutAProfileAGrantIsMarkedAndCountedOnly) {
    WriteAwards(AwardsText(Group("G", Award("Prize", Unlockable("AppearanceFemale01", "ChF_Bottom_Skirt.mdl",
                                                                "Bottom")))));
    Store(DocumentText(-1, SlotText(true, "ANNA", "0") + SlotText(false, "", "1") + SlotText(false, "", "2") +
                               SlotText(false, "", "3")));
    Load();
    ASSERT_NE(manager->GetSlot(0), nullptr);
    page.LoadAwards();
    log.Clear();
    page.UnlockAward("Prize", true);
    const sAward& award = *Find("Prize");
    EXPECT_TRUE(award.unlocked);
    EXPECT_TRUE(award.isNew);
    EXPECT_EQ(award.thumbnail, "");
    EXPECT_EQ(page.GetUnlockedCount(), 1u);
    EXPECT_TRUE(log.Contains("no profile"));
    EXPECT_TRUE(manager->GetSlot(0)->UnlockedOutfitParts.Parts[1].empty());
}

// A missing, empty or foreign file leaves no awards (reported) and counts 0/0; a second load
// of a good file replaces the list and forgets the grants.
TEST_F(Awards, UnreadableFilesLeaveNoAwards) {
    InitializePage();
    const struct {
        const char* what;
        const char* text;  // null: no file
    } cases[] = {
        {"missing", nullptr},
        {"empty", ""},
        {"other root", "<Root><MetaAwards/></Root>"},
        {"not xml", "MetaAwards"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        WriteAwards(AwardsText(Group("G", Award("A") + Award("B"))));
        page.LoadAwards();
        page.UnlockAward("A", true);
        std::filesystem::remove(dir.File("-xml/global/awards.xml"));
        if (c.text)
            WriteAwards(c.text);
        log.Clear();
        page.LoadAwards();
        page.ShowGroups();
        EXPECT_TRUE(page.GetAwardList().MetaAwards.empty());
        EXPECT_EQ(Progress(), "0/0");
        EXPECT_FALSE(log.Lines().empty());
    }
    WriteAwards(AwardsText(Group("G", Award("A") + Award("B"))));
    page.LoadAwards();
    page.UnlockAward("A", true);
    page.LoadAwards();
    page.ShowGroups();
    EXPECT_FALSE(Find("A")->unlocked);
    EXPECT_EQ(page.GetUnlockedCount(), 0u);
    EXPECT_EQ(Progress(), "0/2");
}

// The page starts hidden; without its progress label it says so once and counts on.
TEST_F(Awards, APageWithoutItsProgressLabelIsReported) {
    WriteAwards(AwardsText(Group("G", Award("A"))));
    page.LoadAwards();
    for (bool withLabel : {true, false}) {
        SCOPED_TRACE(withLabel);
        Panel layout("screen");
        auto* root = new Panel(AwardsComposition::kName);
        root->Visible = true;
        if (withLabel)
            root->AddChild(new Label("progressLabel"));
        layout.AddChild(root);
        log.Clear();
        page.Initialize(&layout, AwardsComposition::kName);
        EXPECT_FALSE(root->Visible);
        EXPECT_EQ(log.Contains("can not find progressLabel"), !withLabel);
        page.UnlockAward("A", true);
        page.UpdateAwardCount();
        EXPECT_EQ(page.GetUnlockedCount(), 1u);
        page.RefreshAwards();
        page.Uninitialize();
        // Forgotten with the layout: counts no longer reach it.
        if (withLabel) {
            auto* label = static_cast<Label*>(root->m_Children[0]);
            label->SetText("kept");
            page.UnlockAward("A", true);
            page.UpdateAwardCount();
            EXPECT_EQ(label->m_TextStyle.m_Text, "kept");
            page.RefreshAwards();
        }
    }
}

// Damaged copies of the sample file load, count and grant without any memory fault.
TEST_F(Awards, DamagedFilesLoadSafely) {
    const std::string sample = FileContents(std::string(TALLYVOX_SAMPLE_UI) + "/global/Awards.xml");
    ASSERT_FALSE(sample.empty());
    LoadProfile();
    InitializePage();
    std::mt19937 rng(3030);
    for (int i = 0; i < 5000; ++i) {
        std::string bytes = sample;
        DamageBytes(bytes, rng, 1 + int(rng() % 6));
        WriteAwards(bytes);
        page.LoadAwards();
        page.ShowGroups();
        page.UnlockAward(kTitles[rng() % std::size(kTitles)], true);
        page.RefreshAwards();
        log.Clear();
    }
    WriteAwards(sample);
    page.LoadAwards();
    page.ShowGroups();
    EXPECT_EQ(page.GetTotalCount(), 20u);
}

}  // namespace
