#include "gameservices/entities/Set.h"

#include <gtest/gtest.h>

#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/entities/VideoAsset.h"
#include "tests/gameservices/entities/PoolSetup.h"

using namespace GameServices::Entities;

namespace {

int g_liveFloors = 0;
int g_liveAttributes = 0;
using CountedFloor = Counted<Floor, g_liveFloors>;
using CountedAttribute = Counted<Attribute, g_liveAttributes>;

class SetTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegisterTestPools(m_dir);
        f = GameEntityFactory::Instance();
    }

    template <typename T>
    T* Take(IEntityFactory* pool) {
        T* entity = static_cast<T*>(pool->Alloc(false));
        EXPECT_NE(entity, nullptr);
        return entity;
    }

    std::vector<u32> UsedCounts() const {
        return {f->GetCameraFactory()->GetUsedCount(), f->GetLightFactory()->GetUsedCount(),
                f->GetPropFactory()->GetUsedCount(), f->GetCharacterFactory()->GetUsedCount(),
                f->GetSetElementFactory()->GetUsedCount(),
                GameAudioAssetFactory::Instance()->GetDefaultFactory()->GetUsedCount(),
                GameVideoAssetFactory::Instance()->GetDefaultFactory()->GetUsedCount()};
    }

    TempDir m_dir;
    GameEntityFactory* f = nullptr;
};

}  // namespace

TEST_F(SetTest, ClearReturnsEveryMemberIncludingComponentLevelsAndFindersMatchExactNames) {
    // The camera of the parent set, lent to the set under test and its component level.
    Camera* parentCamera = Take<Camera>(f->GetCameraFactory());
    parentCamera->Attributes.m_Map[1] = new CountedAttribute;
    const std::vector<u32> before = UsedCounts();
    g_liveFloors = 0;

    Set set("Stage");
    Camera* own = Take<Camera>(f->GetCameraFactory());
    own->Attributes.m_Map[1] = new CountedAttribute;
    set.m_Cameras = {parentCamera, own};
    set.m_OtherEntities = {parentCamera};
    set.m_MemberCameras = {own};
    set.m_SetElements = {new CountedFloor, Take<SetElement>(f->GetSetElementFactory())};
    Prop loose("Loose");  // not from any pool: left to its owner
    set.m_Props = {Take<Prop>(f->GetPropFactory()), Take<Prop>(f->GetPropFactory()), &loose};
    set.m_Props[1]->Attributes.m_Map[1] = new CountedAttribute;
    set.m_Widgets = {&loose};
    set.m_Lights = {Take<Light>(f->GetLightFactory())};
    set.m_Characters = {Take<Character>(f->GetCharacterFactory())};
    set.m_Characters[0]->Attributes.m_Map[1] = new CountedAttribute;
    Character* actor = set.m_Characters[0];
    AudioAsset* sound = GameAudioAssetFactory::Instance()->GetDefaultFactory()->Alloc();
    VideoAsset* video = GameVideoAssetFactory::Instance()->GetDefaultFactory()->Alloc();
    set.m_AudioAssets = {sound};
    set.m_VideoAssets = {video};
    sound->m_Reset = video->m_Reset = false;  // as the loader leaves them

    auto* component = new ComponentLevel("PlayerCursors");
    Camera* componentCamera = Take<Camera>(f->GetCameraFactory());
    component->m_Cameras = {parentCamera, componentCamera};
    component->m_MemberCameras = {componentCamera};
    component->m_Props = {Take<Prop>(f->GetPropFactory()), Take<Prop>(f->GetPropFactory())};
    component->m_SetElements = {new CountedFloor};
    auto* nested = new ComponentLevel("Faces");
    nested->m_Props = {Take<Prop>(f->GetPropFactory())};
    component->m_ComponentLevels = {nested};
    set.m_ComponentLevels = {component};

    set.Clear();

    EXPECT_TRUE(UsedCounts() == before && sound->m_Reset && video->m_Reset);
    // The prop's and own camera's attributes went, the parent camera's and the character's stayed.
    EXPECT_EQ(std::pair(g_liveFloors, g_liveAttributes), std::pair(0, 2));
    EXPECT_EQ(parentCamera->Attributes.m_Map.size(), 1u);
    EXPECT_TRUE(set.m_Cameras.empty() && set.m_MemberCameras.empty() && set.m_Props.empty() &&
                set.m_SetElements.empty() && set.m_ComponentLevels.empty() && set.m_Widgets.empty() &&
                set.m_OtherEntities.empty());

    // Resetting the sound pool gives back what is still handed out.
    GameAudioAssetFactory::Instance()->GetDefaultFactory()->Alloc();
    GameAudioAssetFactory::Instance()->GetDefaultFactory()->ResetAll();
    EXPECT_EQ(UsedCounts(), before);

    parentCamera->ClearComponents();
    actor->ClearComponents();
    f->GetCameraFactory()->Release(parentCamera);

    // Finders match exact names; the active camera is the first activated.
    Camera off("Main"), on("Side"), later("Late");
    off.Activate = false;
    Prop desk("Desk");
    EXPECT_EQ(set.GetActiveCamera(), nullptr);
    set.m_Cameras = {&off, &on, &later};
    set.m_Props = {&desk};
    EXPECT_EQ((std::vector<Entity*>{set.GetActiveCamera(), set.FindCamera("Main"), set.FindProp("Desk")}),
              (std::vector<Entity*>{&on, &off, &desk}));
    EXPECT_TRUE(set.FindProp("desk") == nullptr && set.FindProp("Des") == nullptr);
}
