#include "gameservices/entities/Team.h"

#include <gtest/gtest.h>

#include <vector>

#include "gameservices/entities/Prop.h"
#include "gameservices/entities/PropRenderHooks.h"

using namespace GameServices::Entities;

namespace {

struct StageProp : Prop, IPropHighlight {
    void SetHighlight(bool highlighted) override { highlight = highlighted ? 1 : 0; }
    u8 highlight = 7;
};

struct Recorder : IPropRenderableUpdater {
    void UpdatePropRenderable(Prop& prop) override { opacities.push_back(prop.GetOpacity()); }
    std::vector<f32> opacities;
};

}  // namespace

TEST(TeamTest, SetActiveHighlightsAndRefreshesTheOnStageProp) {
    Recorder recorder;
    SetPropRenderableUpdater(&recorder);
    BaseTeamMember member;
    member.SetActive(true);  // no entity yet: only the flag
    EXPECT_EQ(member.m_Highlight, 1);

    StageProp prop;
    member.m_Entity = &prop;
    member.SetActive(true);
    EXPECT_EQ(prop.highlight, 0);
    member.SetActive(false);
    EXPECT_EQ(prop.highlight, 1);
    EXPECT_EQ(recorder.opacities, (std::vector<f32>{0.4f, 1.0f}));

    // A plain prop has no highlight; with no renderer installed the refresh does nothing.
    SetPropRenderableUpdater(nullptr);
    Prop plain;
    member.m_Entity = &plain;
    member.SetActive(true);
    EXPECT_FLOAT_EQ(plain.GetOpacity(), 0.4f);
}
