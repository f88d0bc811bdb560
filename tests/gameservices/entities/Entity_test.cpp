#include "gameservices/entities/Entity.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vector>

#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/EntityMatrix.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/PropRenderHooks.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/entities/Team.h"
#include "gameservices/entities/TypeIds.h"
#include "gameservices/entities/VideoAsset.h"
#include "tests/gameservices/entities/PoolSetup.h"

using namespace GameServices::Entities;

namespace {

// (class, its IsA, the ids it answers yes to)
using Row = std::tuple<const char*, bool (*)(u32), std::set<u32>>;

template <typename T>
bool Ask(u32 id) { return T().IsA(id); }

int g_liveDepictors = 0;
using CountedDepictor = Counted<Depictor, g_liveDepictors>;

struct Ticking : Behavior {
    void Update(u32 milliseconds) override { ticks.push_back(milliseconds); }
    void Reset() override {}
    std::vector<u32> ticks;
};

struct StageProp : Prop, IPropHighlight {
    void SetHighlight(bool highlighted) override { highlights.push_back(highlighted); }
    std::vector<bool> highlights;
};

struct Refreshes : IPropRenderableUpdater {
    void UpdatePropRenderable(Prop& prop) override { opacities.push_back(prop.GetOpacity()); }
    std::vector<f32> opacities;
};

}  // namespace

TEST(EntityTest, IsAFollowsTheTableClearComponentsKeepsSharedAndKeptPartsAndMembersDrawTheirPropSeeThrough) {
    namespace id = TypeIds;
    const std::vector<u32> all = {id::Entity, id::Set, id::ComponentLevel, id::SetElement, id::Floor, id::Prop,
                                  id::Character, id::Camera, id::Light, id::Team, id::BaseTeamMember,
                                  id::AudioAsset, id::VideoAsset, id::Attribute};
    const std::vector<Row> table = {
        {"Entity", Ask<Entity>, {id::Entity}}, {"Set", Ask<Set>, {id::Set}},
        {"ComponentLevel", Ask<ComponentLevel>, {id::Set, id::ComponentLevel}},
        {"SetElement", Ask<SetElement>, {id::SetElement}}, {"Floor", Ask<Floor>, {id::SetElement, id::Floor}},
        {"Prop", Ask<Prop>, {id::Entity, id::Prop}}, {"Character", Ask<Character>, {id::Entity, id::Character}},
        {"Camera", Ask<Camera>, {id::Entity, id::Camera}}, {"Light", Ask<Light>, {id::Light}},
        {"Team", Ask<Team>, {id::Team}}, {"BaseTeamMember", Ask<BaseTeamMember>, {id::BaseTeamMember}},
        {"AudioAsset", Ask<AudioAsset>, {id::AudioAsset}}, {"VideoAsset", Ask<VideoAsset>, {id::VideoAsset}},
        {"Attribute", Ask<Attribute>, {id::Attribute}}
    };
    for (const auto& [name, isA, yes] : table)
        for (u32 typeId : all)
            EXPECT_EQ(isA(typeId), yes.count(typeId) == 1) << name << " asked " << typeId;

    Entity entity;
    CountedDepictor shared;
    shared.m_Shared = 1;
    entity.Depictors.m_Map[1] = &shared;
    entity.Depictors.m_Map[2] = new CountedDepictor;
    entity.Attributes.m_Map[3] = new Attribute();
    entity.Attributes.m_Keep = 1;
    entity.ClearComponents();
    // The shared depictor is only dropped from the map.
    EXPECT_TRUE(g_liveDepictors == 1 && entity.Depictors.m_Map.empty() && entity.Attributes.m_Map.size() == 1u);

    entity.Attributes.m_Keep = 0;
    entity.Depictors.m_Keep = 1;
    entity.Depictors.m_Map[1] = &shared;
    entity.ClearComponents();
    EXPECT_TRUE(entity.Attributes.m_Map.empty() && entity.Depictors.m_Map.size() == 1u);

    // The behaviours (not owned) are updated with the entity.
    Ticking ticking;
    entity.Behaviors.Add(&ticking);
    entity.Behaviors.Update(16);
    EXPECT_EQ(ticking.ticks, std::vector<u32>{16});

    // Activating or locking a member draws its prop see-through and refreshes it; activating also
    // takes the highlight off, locking hides the prop (its cursor). Without a prop only the flag changes.
    Refreshes refreshes;
    SetPropRenderableUpdater(&refreshes);
    for (bool lock : {false, true}) {
        StageProp prop;
        prop.SetVisible(true);
        BaseTeamMember member;
        auto set = [&](bool on) { lock ? member.SetLocked(on) : member.SetActive(on); };
        auto flag = [&] { return lock ? member.m_Locked : member.m_Highlight; };
        set(true);
        EXPECT_EQ(flag(), 1) << lock;
        member.m_Entity = &prop;
        refreshes.opacities.clear();
        set(true);
        EXPECT_TRUE(prop.GetOpacity() == 0.4f && prop.Visible == !lock) << lock;
        set(false);
        EXPECT_TRUE(flag() == 0 && prop.Visible && prop.GetOpacity() == 1.0f) << lock;
        EXPECT_EQ(prop.highlights, lock ? std::vector<bool>{} : (std::vector<bool>{false, true}));
        EXPECT_EQ(refreshes.opacities, (std::vector<f32>{0.4f, 1.0f})) << lock;
    }
    SetPropRenderableUpdater(nullptr);
}

TEST(EntityMatrixTest, RotationHelpersFillAllSixteenElements) {
    const f32 a = 0.3f, c = std::cos(a), s = std::sin(a);
    const std::pair<void (*)(Matrix44&, f32), std::vector<f32>> helpers[] = {
        {MatrixRotationX, {1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1}},
        {MatrixRotationY, {c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1}},
        {MatrixRotationZ, {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}},
    };
    for (const auto& [helper, expected] : helpers) {
        Matrix44 m;
        helper(m, a);
        EXPECT_EQ(std::vector<f32>(m, m + 16), expected);
    }
}
