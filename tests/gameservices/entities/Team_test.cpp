#include "gameservices/entities/Team.h"

#include <gtest/gtest.h>

#include "gameservices/entities/Prop.h"
#include "gameservices/entities/PropRenderHooks.h"
#include "tests/support/LogCapture.h"

using namespace GameServices::Entities;

namespace {

struct StageProp : Prop, IPropHighlight {
    void SetHighlight(bool highlighted) override { highlight = highlighted ? 1 : 0; }
    u8 highlight = 7;
};

struct Recorder : IPropRenderableUpdater {
    void UpdatePropRenderable(Prop& prop) override {
        last = &prop;
        opacity = prop.GetOpacity();
        ++calls;
    }
    Prop* last = nullptr;
    f32 opacity = -1.0f;
    int calls = 0;
};

}  // namespace

TEST(TeamTest, SetActiveHighlightsAndRefreshesTheOnStageProp) {
    Recorder recorder;
    SetPropRenderableUpdater(&recorder);
    BaseTeamMember member;
    EXPECT_EQ(member.m_MemberId, -1);
    EXPECT_EQ(member.m_DeviceId, -1);

    member.SetActive(true);  // no entity yet: only the flag
    EXPECT_EQ(member.m_Highlight, 1);
    EXPECT_EQ(recorder.calls, 0);

    StageProp prop;
    member.m_Entity = &prop;
    member.SetActive(true);
    EXPECT_EQ(prop.highlight, 0);
    EXPECT_FLOAT_EQ(prop.GetOpacity(), 0.4f);
    EXPECT_EQ(recorder.last, &prop);
    EXPECT_FLOAT_EQ(recorder.opacity, 0.4f);

    member.SetActive(false);
    EXPECT_EQ(member.m_Highlight, 0);
    EXPECT_EQ(prop.highlight, 1);
    EXPECT_FLOAT_EQ(prop.GetOpacity(), 1.0f);
    EXPECT_EQ(recorder.calls, 2);

    // A plain prop has no highlight; with no renderer installed the refresh does nothing.
    SetPropRenderableUpdater(nullptr);
    Prop plain;
    member.m_Entity = &plain;
    member.SetActive(true);
    EXPECT_FLOAT_EQ(plain.GetOpacity(), 0.4f);
    EXPECT_EQ(recorder.calls, 2);
}

TEST(TeamTest, DestroyingWithAnInventoryIsReported) {
    LogCapture log;
    { Team team; }
    EXPECT_TRUE(log.Lines().empty());
    {
        Team team;
        team.m_Inventory = reinterpret_cast<Inventory*>(&team);
        BaseTeamMember member;
        member.m_Inventory = reinterpret_cast<Inventory*>(&member);
    }
    ASSERT_EQ(log.Lines().size(), 2u);
    EXPECT_TRUE(log.Contains("you must call InventoryManager::DeleteInventory"));
}
