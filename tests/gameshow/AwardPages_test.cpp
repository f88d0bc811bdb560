// The awards page and the award group page on a small menu layout.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/GroupAwardsComposition.h"
#include "tests/gameshow/ProfileTestSetup.h"

using namespace GameShow;
namespace W = GameServices::Widget;

namespace {

std::string Award(int n) {
    const std::string title = "Award" + std::to_string(n);
    return "<Award><Title>" + title + "</Title><Description>About " + title +
           "</Description><Unlockables/></Award>";
}

// Groups "Group1".. with the given numbers of awards, numbered on across the groups.
std::string AwardsText(const std::vector<int>& sizes) {
    std::string groups;
    int next = 1;
    for (size_t g = 0; g < sizes.size(); ++g) {
        std::string awards;
        for (int k = 0; k < sizes[g]; ++k)
            awards += Award(next++);
        groups += "<MetaAward><Category>c</Category><Title>Group" + std::to_string(g + 1) +
                  "</Title><Description/><Unlockables/><Awards>" + awards + "</Awards></MetaAward>";
    }
    return "<root><MetaAwards>" + groups + "</MetaAwards></root>";
}

class AwardPages : public profiletest::ProfileTest {
protected:
    void SetUp() override {
        ProfileTest::SetUp();
        compositions.RegisterComposition(AwardsComposition::kName, &awards);
        compositions.RegisterComposition(GroupAwardsComposition::kName, &group);
    }
    void TearDown() override {
        awards.Uninitialize();
        group.Uninitialize();
        ProfileTest::TearDown();
    }

    template <typename T>
    T* Add(W::Panel* parent, const std::string& name) {
        auto* widget = new T(name.c_str());
        parent->AddChild(widget);
        widgets[name + "@" + parent->Name.c_str()] = widget;
        return widget;
    }
    W::Widget* Get(const std::string& page, const std::string& name) { return widgets.at(name + "@" + page); }

    // Both pages with their widgets (group button 5 and award slot 5 on request), the shared
    // wardrobe button; the awards file read and both pages initialized.
    void Start(const std::vector<int>& sizes, bool fifthButton = false) {
        dir.Write("-xml/global/awards.xml", AwardsText(sizes));
        auto* list = Add<W::Panel>(screen.get(), AwardsComposition::kName);
        Add<W::Button>(list, "BackButton");
        Add<W::Label>(list, "progressLabel");
        for (int n = 1; n <= (fifthButton ? 5 : 4); ++n) {
            Add<W::Button>(list, "group" + std::to_string(n) + "Button");
            Add<W::Image>(list, "group" + std::to_string(n) + "Image");
            Add<W::Label>(list, "group" + std::to_string(n));
        }
        auto* slots = Add<W::Panel>(screen.get(), GroupAwardsComposition::kName);
        Add<W::Button>(slots, "BackButton");
        Add<W::Label>(slots, "title");
        Add<W::Image>(slots, "iconAward");
        for (int n = 1; n <= 5; ++n) {
            for (const char* stem : {"awardName", "awardDescription"})
                Add<W::Label>(slots, stem + std::to_string(n));
            for (const char* stem : {"awardPanel", "awardPrize", "awardMedal", "awardGlow"})
                Add<W::Image>(slots, stem + std::to_string(n));
        }
        compositions.m_WardrobeButton = Add<W::Button>(screen.get(), "WardrobeButton");
        awards.LoadAwards();
        log.Clear();
        awards.Initialize(screen.get(), AwardsComposition::kName);
        group.Initialize(screen.get(), GroupAwardsComposition::kName);
    }
    static void Click(W::Widget* button) { button->GetBehavior()->onPress(false); }
    std::string Text(const std::string& page, const std::string& name) {
        return static_cast<W::Label*>(Get(page, name))->m_TextStyle.m_Text.c_str();
    }
    std::string Picture(const std::string& name) {
        return static_cast<W::Image*>(Get(GroupAwardsComposition::kName, name))->m_ImageName.c_str();
    }
    bool Shown(const std::string& name) { return Get(GroupAwardsComposition::kName, name)->Visible; }
    // Lines other than the missing slide of a test without resources.
    std::vector<std::string> Reports() const {
        std::vector<std::string> lines;
        for (const std::string& line : log.Lines())
            if (line.rfind("PRSCAnimation:", 0) != 0)
                lines.push_back(line);
        return lines;
    }

    std::unique_ptr<W::Panel> screen = std::make_unique<W::Panel>("MenuScreen");
    std::map<std::string, W::Widget*> widgets;
    CompositionManager compositions;
    AwardsComposition awards;
    GroupAwardsComposition group;
};

// Four groups: a layout without a fifth group button is complete; with one, its click finds
// no group and is ignored. A group click opens the group page on that group.
TEST_F(AwardPages, GroupButtonsOpenTheGroupsTheFileHolds) {
    for (bool fifthButton : {false, true}) {
        SCOPED_TRACE(fifthButton);
        Start({1, 2, 3, 4}, fifthButton);
        EXPECT_TRUE(Reports().empty()) << Reports().front();
        EXPECT_EQ(awards.GetGroupButton(5) != nullptr, fifthButton);
        EXPECT_EQ(Text(AwardsComposition::kName, "progressLabel"), "0/10");
        for (int n = 1; n <= 4; ++n)
            EXPECT_EQ(Text(AwardsComposition::kName, "group" + std::to_string(n)), "Group" + std::to_string(n));
        EXPECT_FALSE(awards.GetRootPanel()->Visible);
        awards.OnActivate(true);
        if (fifthButton) {
            Click(awards.GetGroupButton(5));
            EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
        }
        Click(awards.GetGroupButton(1));
        EXPECT_EQ(compositions.GetLeavingComposition(), &awards);
        EXPECT_EQ(compositions.GetNextCompositionName(), GroupAwardsComposition::kName);
        EXPECT_EQ(Text(GroupAwardsComposition::kName, "title"), "Group1");
        EXPECT_EQ(Picture("iconAward"), "Icon_Award1");
        EXPECT_EQ(Text(GroupAwardsComposition::kName, "awardName1"), "Award1");
        compositions.Reset();
        awards.OpenGroup(3);
        EXPECT_EQ(Picture("iconAward"), "Icon_Award4");
        EXPECT_EQ(Text(GroupAwardsComposition::kName, "awardDescription4"), "About Award10");
        compositions.Reset();
        awards.Uninitialize();
        group.Uninitialize();
        screen = std::make_unique<W::Panel>("MenuScreen");
        widgets.clear();
    }
}

// Each slot shows its award's state; a glow shows once; a group of five shows four.
TEST_F(AwardPages, SlotsShowEachAwardsStateAndTheGlowOnce) {
    const struct {
        bool unlocked;
        bool isNew;
    } states[] = {{false, false}, {true, true}, {true, false}, {false, true}};
    Start({5});
    sMetaAward& shown = awards.GetAwardList().MetaAwards[0];
    for (size_t k = 0; k < 5; ++k) {
        shown.Awards[k].unlocked = states[k % 4].unlocked;
        shown.Awards[k].isNew = states[k % 4].isNew;
        shown.Awards[k].thumbnail = ("THUMBNAIL_prize" + std::to_string(k + 1) + ".png").c_str();
    }
    // The fifth award has no slot: its glow is never shown.
    shown.Awards[4].isNew = true;
    for (int showing = 1; showing <= 2; ++showing) {
        SCOPED_TRACE(showing);
        group.ShowGroup(shown, 0);
        for (int n = 1; n <= 4; ++n) {
            SCOPED_TRACE(n);
            const auto& state = states[n - 1];
            const std::string slot = std::to_string(n);
            EXPECT_EQ(Picture("awardPanel" + slot), state.unlocked ? "Award_Panel.png" : "Award_Panel_Locked.png");
            EXPECT_EQ(Picture("awardPrize" + slot),
                      state.unlocked ? "THUMBNAIL_prize" + slot + ".png" : std::string("Awards_Locked.png"));
            EXPECT_EQ(Shown("awardMedal" + slot), state.unlocked);
            EXPECT_EQ(Shown("awardGlow" + slot), state.isNew && showing == 1);
        }
        EXPECT_EQ(Text(GroupAwardsComposition::kName, "awardName5"), "");
        EXPECT_TRUE(shown.Awards[4].isNew);
    }
}

// Back and the shared wardrobe button act only on the shown page; the wardrobe returns to it.
TEST_F(AwardPages, BackAndWardrobeLeaveFromTheShownPage) {
    Start({2});
    const struct {
        CompositionBase* page;
        const char* back;
    } cases[] = {
        {&awards, CompositionManager::kMainMenu},
        {&group, AwardsComposition::kName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page->GetName().c_str());
        awards.OnActivate(false);
        group.OnActivate(false);
        compositions.m_ReturnComposition = "";
        Click(compositions.m_WardrobeButton);
        EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
        c.page->OnActivate(true);
        Click(compositions.m_WardrobeButton);
        EXPECT_EQ(compositions.GetLeavingComposition(), c.page);
        EXPECT_EQ(compositions.GetNextCompositionName(), CompositionManager::kWardrobe);
        EXPECT_EQ(compositions.m_ReturnComposition, c.page->GetName());
        compositions.Reset();
        Click(Get(c.page->GetName().c_str(), "BackButton"));
        EXPECT_EQ(compositions.GetNextCompositionName(), c.back);
        compositions.Reset();
    }
}

}  // namespace
