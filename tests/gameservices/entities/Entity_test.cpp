#include "gameservices/entities/Entity.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/PropRenderHooks.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/entities/Team.h"
#include "gameservices/entities/TypeIds.h"
#include "gameservices/entities/VideoAsset.h"

using namespace GameServices::Entities;

namespace {

struct Row {
    const char* name;
    bool (*isA)(u32);
    std::set<u32> yes;
};

template <typename T>
bool Ask(u32 id) {
    T object;
    return object.IsA(id);
}

}  // namespace

TEST(EntityTest, TypeIdsAreTheNameIdsOfTheClassNames) {
    EXPECT_EQ(TypeIds::Entity, Crc32Hash("GameServices::Entities::Entity"));
    EXPECT_EQ(TypeIds::Floor, Crc32Hash("GameServices::Entities::Floor"));
    EXPECT_EQ(TypeIds::Appearance, Crc32Hash("GameServices::KorvoGame::Appearance"));
}

TEST(EntityTest, IsAFollowsTheNonTransitiveTable) {
    namespace id = TypeIds;
    const std::vector<u32> all = {id::Entity, id::Set, id::ComponentLevel, id::SetElement,
                                  id::Floor, id::Prop, id::Character, id::Camera, id::Light,
                                  id::Team, id::BaseTeamMember, id::AudioAsset,
                                  id::VideoAsset, id::Attribute};
    const std::vector<Row> table = {
        {"Entity", Ask<Entity>, {id::Entity}},
        {"Set", Ask<Set>, {id::Set}},
        {"ComponentLevel", Ask<ComponentLevel>, {id::Set, id::ComponentLevel}},
        {"SetElement", Ask<SetElement>, {id::SetElement}},
        {"Floor", Ask<Floor>, {id::SetElement, id::Floor}},
        {"Prop", Ask<Prop>, {id::Entity, id::Prop}},
        {"Character", Ask<Character>, {id::Entity, id::Character}},
        {"Camera", Ask<Camera>, {id::Entity, id::Camera}},
        {"Light", Ask<Light>, {id::Light}},
        {"Team", Ask<Team>, {id::Team}},
        {"BaseTeamMember", Ask<BaseTeamMember>, {id::BaseTeamMember}},
        {"AudioAsset", Ask<AudioAsset>, {id::AudioAsset}},
        {"VideoAsset", Ask<VideoAsset>, {id::VideoAsset}},
        {"Attribute", Ask<Attribute>, {id::Attribute}},
    };
    for (const Row& row : table)
        for (u32 typeId : all)
            EXPECT_EQ(row.isA(typeId), row.yes.count(typeId) == 1) << row.name << " asked " << typeId;
}

TEST(EntityTest, IdsAreUniqueAndNeverZero) {
    std::vector<Entity*> entities;
    std::set<u32> ids;
    for (int i = 0; i < 200; ++i) {
        entities.push_back(i % 2 ? new Entity() : new Prop("p"));
        EXPECT_NE(entities.back()->Id, 0u);
        ids.insert(entities.back()->Id);
    }
    EXPECT_EQ(ids.size(), entities.size());
    for (Entity* e : entities)
        delete e;
}

namespace {

int g_liveDepictors = 0;

struct CountedDepictor : Depictor {
    explicit CountedDepictor(bool shared) {
        m_Shared = shared;
        ++g_liveDepictors;
    }
    ~CountedDepictor() override { --g_liveDepictors; }
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

TEST(EntityTest, ClearComponentsDeletesOwnDepictorsAndKeptAttributes) {
    Entity entity;
    CountedDepictor shared(true);
    entity.Depictors.m_Map[1] = &shared;
    entity.Depictors.m_Map[2] = new CountedDepictor(false);
    entity.Attributes.m_Map[3] = new Attribute();
    entity.Attributes.m_Keep = 1;
    entity.ClearComponents();
    EXPECT_EQ(g_liveDepictors, 1);  // the shared one, dropped from the map
    EXPECT_TRUE(entity.Depictors.m_Map.empty());
    EXPECT_EQ(entity.Attributes.m_Map.size(), 1u);

    entity.Attributes.m_Keep = 0;
    entity.Depictors.m_Keep = 1;
    entity.Depictors.m_Map[1] = &shared;
    entity.ClearComponents();
    EXPECT_TRUE(entity.Attributes.m_Map.empty());
    EXPECT_EQ(entity.Depictors.m_Map.size(), 1u);
}

TEST(EntityTest, AnActiveTeamMemberIsHighlightedAndDrawnSeeThrough) {
    StageProp prop;
    Refreshes refreshes;
    SetPropRenderableUpdater(&refreshes);
    BaseTeamMember member;
    member.SetActive(true);  // no entity yet: only the flag
    EXPECT_EQ(member.m_Highlight, 1);
    member.m_Entity = &prop;
    member.SetActive(true);
    EXPECT_EQ(prop.GetOpacity(), 0.4f);
    member.SetActive(false);
    EXPECT_EQ(member.m_Highlight, 0);
    EXPECT_EQ(prop.GetOpacity(), 1.0f);
    EXPECT_EQ(prop.highlights, (std::vector<bool>{false, true}));
    EXPECT_EQ(refreshes.opacities, (std::vector<f32>{0.4f, 1.0f}));
    SetPropRenderableUpdater(nullptr);
}

TEST(EntityTest, DefaultsOfNewEntities) {
    Camera camera;
    EXPECT_EQ((std::vector<f32>{f32(camera.ViewportWidth), f32(camera.ViewportHeight),
                                camera.FieldOfView, camera.ClippingNear, camera.ClippingFar,
                                camera.Up.y, camera.Factor}),
              (std::vector<f32>{800, 600, 34, 0, 1000, -1, 1}));
    EXPECT_FALSE(camera.Orthographic || camera.IsPartOfScene());
    EXPECT_TRUE(camera.Activate && camera.Synchronize);

    Entity plain;
    Entity named("Named");
    EXPECT_FALSE(plain.Visible || !plain.Name.IsEmpty());
    EXPECT_TRUE(named.Visible);
    EXPECT_EQ(named.Name, "Named");
    named.Synchronize = false;
    named.Reset();
    EXPECT_TRUE(named.Synchronize);

    Prop prop;
    SetElement element;
    AudioAsset sound;
    VideoAsset video;
    EXPECT_EQ(prop.GetOpacity(), 1.0f);
    EXPECT_TRUE(prop.Visible && element.IsCollidable() && sound.m_IsPlaying && sound.m_Reset &&
                video.m_IsPlaying);
    EXPECT_FALSE(sound.m_Streamed || sound.m_Looped || video.m_IsFullScreen || video.m_IsLooped);
}
