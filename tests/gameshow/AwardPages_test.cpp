// The awards page and the award group page on a small menu layout.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "gameservices/widget/WidgetClasses.h"
#include "gameshow/AudioManager.h"
#include "gameshow/AwardsComposition.h"
#include "gameshow/CompositionManager.h"
#include "gameshow/GroupAwardsComposition.h"
#include "tests/gameshow/ProfileTestSetup.h"

using namespace GameShow;
namespace W = GameServices::Widget;

namespace {

// Groups "Group1".. of the given sizes, their awards "Award1".. numbered on across groups.
std::string AwardsText(const std::vector<int>& sizes) {
    std::string groups;
    int next = 1;
    for (size_t g = 0; g < sizes.size(); ++g) {
        std::string awards;
        for (int k = 0; k < sizes[g]; ++k, ++next)
            awards += "<Award><Title>Award" + std::to_string(next) + "</Title><Description>About " +
                      std::to_string(next) + "</Description></Award>";
        groups += "<MetaAward><Title>Group" + std::to_string(g + 1) + "</Title><Awards>" + awards +
                  "</Awards></MetaAward>";
    }
    return "<root><MetaAwards>" + groups + "</MetaAwards></root>";
}

class AwardPages : public profiletest::ProfileTest {
protected:
    void TearDown() override {
        awards.Uninitialize();
        group.Uninitialize();
        EXPECT_FALSE(awards.GetRootPanel() || group.GetRootPanel());
        ProfileTest::TearDown();
    }
    template <typename T>
    void Add(W::Panel* parent, const std::string& name) {
        widgets[std::string(parent->Name.c_str()) + "/" + name] = new T(name.c_str());
        parent->AddChild(widgets[std::string(parent->Name.c_str()) + "/" + name]);
    }
    // Both pages (group buttons 5 and 6 on request, five award slots), the shared wardrobe button;
    // the awards file read and both pages initialized.
    void Start(const std::vector<int>& sizes, bool fifthButton = false) {
        awards.Uninitialize();
        group.Uninitialize();
        widgets.clear();
        screen = std::make_unique<W::Panel>("MenuScreen");
        compositions.RegisterComposition(AwardsComposition::kName, &awards);
        compositions.RegisterComposition(GroupAwardsComposition::kName, &group);
        dir.Write("-xml/global/awards.xml", AwardsText(sizes));
        auto* list = new W::Panel(AwardsComposition::kName);
        auto* slots = new W::Panel(GroupAwardsComposition::kName);
        screen->AddChild(list);
        screen->AddChild(slots);
        Add<W::Button>(list, "BackButton");
        Add<W::Label>(list, "progressLabel");
        for (int n = 1; n <= (fifthButton ? 6 : 4); ++n) {
            Add<W::Button>(list, "group" + std::to_string(n) + "Button");
            Add<W::Image>(list, "group" + std::to_string(n) + "Image");
            Add<W::Label>(list, "group" + std::to_string(n));
        }
        Add<W::Button>(slots, "BackButton");
        Add<W::Label>(slots, "title");
        Add<W::Image>(slots, "iconAward");
        for (int n = 1; n <= 5; ++n) {
            for (const char* stem : {"awardName", "awardDescription"})
                Add<W::Label>(slots, stem + std::to_string(n));
            for (const char* stem : {"awardPanel", "awardPrize", "awardMedal", "awardGlow"})
                Add<W::Image>(slots, stem + std::to_string(n));
        }
        Add<W::Button>(screen.get(), "WardrobeButton");
        compositions.m_WardrobeButton = widgets["MenuScreen/WardrobeButton"];
        awards.LoadAwards();
        log.Clear();
        awards.Initialize(screen.get(), AwardsComposition::kName);
        group.Initialize(screen.get(), GroupAwardsComposition::kName);
    }
    static void Click(W::Widget* button) { button->GetBehavior()->onPress(false); }
    std::string Text(const std::string& page, const std::string& name) {
        return static_cast<W::Label*>(widgets.at(page + "/" + name))->m_TextStyle.m_Text.c_str();
    }
    std::string Picture(const std::string& name) {
        return static_cast<W::Image*>(widgets.at(std::string(GroupAwardsComposition::kName) + "/" + name))
            ->m_ImageName.c_str();
    }

    std::unique_ptr<W::Panel> screen;
    std::map<std::string, W::Widget*> widgets;
    CompositionManager compositions;
    AwardsComposition awards;
    GroupAwardsComposition group;
};

// Four groups: a layout without a fifth group button is complete; with one, its click finds
// no group and is ignored, and a sixth is no button of the page. A group click opens the group
// page on that group.
TEST_F(AwardPages, GroupButtonsOpenTheGroupsTheFileHolds) {
    for (bool fifthButton : {false, true}) {
        SCOPED_TRACE(fifthButton);
        Start({1, 2, 3, 4}, fifthButton);
        // A test without resources has no slide; nothing else is reported.
        for (const std::string& line : log.Lines())
            EXPECT_EQ(line.rfind("PRSCAnimation:", 0), 0u) << line;
        EXPECT_EQ(awards.GetGroupButton(5) != nullptr, fifthButton);
        EXPECT_EQ(Text(AwardsComposition::kName, "progressLabel"), "0/10");
        EXPECT_EQ(Text(AwardsComposition::kName, "group4"), "Group4");
        EXPECT_FALSE(awards.GetRootPanel()->Visible || group.GetRootPanel()->Visible);
        awards.OnActivate(true);
        if (fifthButton) {
            Click(awards.GetGroupButton(5));
            Click(widgets.at(std::string(AwardsComposition::kName) + "/group6Button"));
            EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
        }
        log.Clear();
        Click(awards.GetGroupButton(1));
        // The click's sound, then the opening's.
        size_t sounds = 0;
        for (const std::string& line : log.Lines())
            sounds += line.find("SFX_ButtonPress_Option2.snd") != std::string::npos;
        EXPECT_EQ(sounds, 2u);
        EXPECT_EQ(compositions.GetLeavingComposition(), &awards);
        EXPECT_EQ(compositions.GetNextCompositionName(), GroupAwardsComposition::kName);
        EXPECT_EQ(Text(GroupAwardsComposition::kName, "title"), "Group1");
        EXPECT_EQ(Picture("iconAward"), "Icon_Award1");
        EXPECT_EQ(Text(GroupAwardsComposition::kName, "awardName1"), "Award1");
        compositions.Reset();
        awards.OpenGroup(3);
        EXPECT_EQ(Picture("iconAward"), "Icon_Award4");
        EXPECT_EQ(Text(GroupAwardsComposition::kName, "awardDescription4"), "About 10");
        compositions.Reset();
    }
}

// Back and the shared wardrobe button act only on the shown page; the wardrobe returns to it.
TEST_F(AwardPages, BackAndWardrobeLeaveFromTheShownPage) {
    Start({2});
    const struct {
        CompositionBase* page;
        const char* back;
    } cases[] = {{&awards, CompositionManager::kMainMenu}, {&group, AwardsComposition::kName}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.page->GetName().c_str());
        awards.OnActivate(false);
        group.OnActivate(false);
        Click(compositions.m_WardrobeButton);
        EXPECT_EQ(compositions.GetLeavingComposition(), nullptr);
        c.page->OnActivate(true);
        log.Clear();
        Click(compositions.m_WardrobeButton);
        EXPECT_TRUE(log.Contains(AudioManager::kButtonPressSound));
        EXPECT_EQ(compositions.GetLeavingComposition(), c.page);
        EXPECT_EQ(compositions.GetNextCompositionName(), CompositionManager::kWardrobe);
        EXPECT_EQ(compositions.m_ReturnComposition, c.page->GetName());
        compositions.Reset();
        log.Clear();
        Click(widgets.at(std::string(c.page->GetName().c_str()) + "/BackButton"));
        EXPECT_TRUE(log.Contains(AudioManager::kButtonPressSound));
        EXPECT_EQ(compositions.GetNextCompositionName(), c.back);
        compositions.Reset();
    }
}

// A locked award shows the locked panel and prize, no medal and no glow; a granted one its
// panel and medal, and a new grant glows on its first showing only.
TEST_F(AwardPages, TheGroupPageShowsEachAwardsStateAndANewGrantGlowsOnce) {
    Start({2});
    awards.UnlockAward("Award2", true);
    awards.OnActivate(true);
    auto shown = [this](const std::string& name) {
        return widgets.at(std::string(GroupAwardsComposition::kName) + "/" + name)->Visible;
    };
    for (int showing = 0; showing < 2; ++showing) {
        SCOPED_TRACE(showing);
        awards.OpenGroup(0);
        compositions.Reset();
        EXPECT_EQ(Picture("awardPanel1"), GroupAwardsComposition::kLockedPanel);
        EXPECT_EQ(Picture("awardPrize1"), GroupAwardsComposition::kLockedPrize);
        EXPECT_FALSE(shown("awardMedal1") || shown("awardGlow1"));
        EXPECT_EQ(Picture("awardPanel2"), GroupAwardsComposition::kUnlockedPanel);
        EXPECT_TRUE(shown("awardMedal2"));
        EXPECT_EQ(shown("awardGlow2"), showing == 0);
    }
    // Without its panel the group page shows nothing, and the switch still goes on.
    group.Uninitialize();
    awards.OpenGroup(0);
    EXPECT_EQ(compositions.GetLeavingComposition(), &awards);
}

}  // namespace
