#include "gameservices/game/LevelBuilder.h"

#include <gtest/gtest.h>

#include <tuple>

#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/game/EntityDataExtensionFactory.h"
#include "gameservices/game/GameFlowManager.h"
#include "gameservices/game/RenderableModelData.h"
#include "tests/gameservices/game/RecordingBridgeSystems.h"
#include "tests/gameservices/game/LevelTestSetup.h"
#include "tests/gameservices/game/TestApplicationData.h"
#include "tests/gameservices/game/TestExtension.h"

using namespace GameServices::KorvoGame;
using namespace GameServices::Entities;

namespace {

struct Buzzer : Prop {};

using GameServices::Bridge::RenderableModelData;

// The score of the entity's application data; -1 without any.
int Score(const Entity& entity) {
    auto it = entity.Attributes.m_Map.find(TypeIds::ApplicationDataKey);
    if (it == entity.Attributes.m_Map.end())
        return -1;
    auto* data = dynamic_cast<TestApplicationData*>(it->second);
    return data ? data->score : -2;
}

// Adds the score it reads, as a record gathering items would: each record read into the
// prototype must start from its Clear().
struct AddingData : TestApplicationData {
    using TestApplicationData::TestApplicationData;
    void Serialize(GameServices::Utilities::ISerialization& s) override {
        i32 read = 0;
        s.SerializeInt("Score", read, 0);
        score += read;
    }
};


using Floats = std::vector<f32>;
Floats V(const AGVec3& v) { return {v.x, v.y, v.z}; }


// Records the outfits applied, as "character:outfit".
struct Outfits : IAppearanceService {
    void ApplyOutfit(Character& character, const TString<char>& outfit) override {
        applied.push_back(std::string(character.Name.c_str()) + ":" + outfit.c_str());
    }
    std::vector<std::string> applied;
};

class LevelBuilderTest : public LevelFixture {
protected:
    void SetUp() override {
        LevelFixture::SetUp();
        flow.SetAppearanceService(&outfits);
        flow.SetBridgeSystems(RecordingBridgeSystems::Instance());
        GameEntityFactory::Instance()->RegisterFactory("buzzer", new EntityFactory<Buzzer>(2, "Buzzer"));
    }
    void TearDown() override {
        set.Clear();
        GameEntityFactory::Instance()->DestroyFactory("buzzer");
        LevelFixture::TearDown();
    }

    Outfits outfits;
    GameFlowManager flow;
    Set set;
};

}  // namespace

TEST_F(LevelBuilderTest, BuildsEachEntityFromItsRecord) {
    WriteStudio();
    ASSERT_TRUE(flow.LoadLevel("studio", set));
    EXPECT_EQ(set.m_PackageNames, std::vector<TString<char>>{"studio.dir"});
    ASSERT_EQ((std::vector<size_t>{set.m_Cameras.size(), set.m_Lights.size(), set.m_SetElements.size(),
                                   set.m_Props.size(), set.m_Characters.size(), set.m_ComponentLevels.size(),
                                   set.m_AudioAssets.size(), set.m_VideoAssets.size()}),
              (std::vector<size_t>{2, 1, 1, 2, 1, 2, 1, 1}));

    Camera* main = set.m_Cameras[0];
    EXPECT_EQ(std::pair(set.GetActiveCamera(), V(main->Position)), std::pair(main, Floats{10, 0, 0}));
    const auto* animation = main->GetAnimationData();
    ASSERT_NE(animation, nullptr);
    EXPECT_EQ((Floats{f32(animation->m_PlayMode), animation->m_Speed}), (Floats{4, 2}));
    EXPECT_FALSE(set.m_Cameras[1]->Activate);

    EXPECT_EQ(std::pair(set.m_Lights.at(0)->LightType, V(set.m_Lights[0]->Direction)),
              std::pair(u32(Light::kDirection), Floats{0, 0.6f, 0.8f}));  // towards its target
    SetElement* ground = set.m_SetElements.at(0);
    // Not collidable: the record's default, not the entity's.
    EXPECT_TRUE(ground->IsA(TypeIds::Floor) && ground->Visible && !ground->IsCollidable());
    AGVec3 position;
    EXPECT_EQ(std::pair(V(ground->GetScale()), ground->GetRotationZ()), std::pair(Floats{3, 3, 3}, 30.0f));

    Prop* desk = set.m_Props[0];
    desk->GetPosition(position);
    EXPECT_EQ(V(position), (Floats{1, 2, 0}));
    EXPECT_TRUE(!desk->Visible && desk->IsCollidable() && desk->VolatileDatas.GetCollisionData());
    Prop* buzzer = set.m_Props[1];
    EXPECT_TRUE(!buzzer->VolatileDatas.GetCollisionData() && !buzzer->Activate &&
                GameEntityFactory::Instance()->GetFactory("buzzer")->Owns(buzzer));

    Character* host = set.m_Characters[0];
    host->GetPosition(position);
    EXPECT_EQ(V(position), (Floats{0, 0, 5}));
    EXPECT_TRUE(host->GetRotationY() == 90.0f && host->IsCollidable());
    EXPECT_EQ(outfits.applied, std::vector<std::string>{"Host:host.xml"});

    ComponentLevel* board = set.m_ComponentLevels[0];
    ComponentLevel* overlay = set.m_ComponentLevels[1];
    EXPECT_EQ((std::vector<i32>{i32(board->m_LoadingMode), board->m_ZIndex, i32(overlay->m_LoadingMode)}),
              (std::vector<i32>{i32(ComponentLevel::kLoadInLayer), 3, i32(ComponentLevel::kLoadInLevel)}));
    // The camera-less component level borrows the parent's first camera, not as a member.
    EXPECT_EQ(overlay->m_Cameras, (std::vector<Camera*>{main}));
    EXPECT_TRUE(overlay->m_MemberCameras.empty() && overlay->m_OtherEntities == std::vector<Entity*>{main});
    // A component level with a file name takes its entities from that file.
    ASSERT_TRUE(board->m_Props.size() == 1u && overlay->m_Props.size() == 1u);
    EXPECT_EQ(std::string(board->m_Props[0]->Name.c_str()) + overlay->m_Props[0]->Name.c_str(), "TileBadge");
    EXPECT_EQ(V(overlay->m_Props[0]->GetScale()), (Floats{2, 2, 2}));
    EXPECT_EQ(set.m_AudioAssets.at(0)->VolatileDatas.GetAudioData()->m_FileName, "theme.snd");
}

// A missing file gives an empty set, every pooled entity of the one before given back.
TEST_F(LevelBuilderTest, AMissingFileGivesAnEmptySet) {
    WriteStudio();
    ASSERT_TRUE(flow.LoadLevel("studio", set));
    ASSERT_TRUE(flow.LoadLevel("missing", set));
    EXPECT_TRUE(log.Contains("Can not read the level file: "));
    EXPECT_TRUE(set.m_Cameras.empty() && set.m_Lights.empty() && set.m_SetElements.empty() &&
                set.m_Props.empty() && set.m_Characters.empty() && set.m_ComponentLevels.empty());
    for (IEntityFactory* pool : {GameEntityFactory::Instance()->GetCameraFactory(),
                                 GameEntityFactory::Instance()->GetPropFactory(),
                                 GameEntityFactory::Instance()->GetFactory("buzzer")})
        EXPECT_EQ(pool->GetUsedCount(), 0u);
}

// An extension that makes its own entity wins over the kind "floor"; the entity is listed once
// among the set's extension-made entities, so clearing the set deletes it once.
TEST_F(LevelBuilderTest, AnExtensionMakesItsEntityFirst) {
    TestExtension zone("EntityScrollableViewportZone");
    EntityDataExtensionFactory::Instance()->Register(&zone);
    const std::string values = "<EntityScrollableViewportZone><Values><item><value>320</value></item><item><value>"
        "200</value></item></Values></EntityScrollableViewportZone>";
    WriteLevel("zones", "<SetElements><item><Kind>Floor</Kind><Name>Zone</Name><PositionX>4</PositionX>"
               "<Visible>true</Visible>" + values + "</item><item><Kind>Floor</Kind><Name>Ground</Name>"
                   "<EntityScrollableViewportZone/></item></SetElements>");
    flow.LoadLevel("zones", set);
    EntityDataExtensionFactory::Instance()->Unregister(&zone);

    ASSERT_EQ(set.m_SetElements.size(), 2u);
    auto* made = dynamic_cast<EntityScrollableViewportZone*>(set.m_SetElements[0]);
    ASSERT_EQ(set.m_ExtensionEntities, (std::vector<Entity*>{made}));
    EXPECT_TRUE(made->m_DimensionX == 320u && made->m_DimensionY == 200u && made->Name == "Zone" && made->Visible);
    // An extension without values (none kept from the record before) is not valid and leaves
    // the floor rule.
    EXPECT_TRUE(set.m_SetElements[1]->IsA(TypeIds::Floor) &&
                !dynamic_cast<EntityScrollableViewportZone*>(set.m_SetElements[1]));

    set.Clear();
    EXPECT_TRUE(set.m_ExtensionEntities.empty());
}

TEST_F(LevelBuilderTest, CameraAndLightFallbacks) {
    WriteLevel("edge", "<Cameras><item><Name>Ortho</Name><Orthographic>true</Orthographic><UpX>auto"
               "</UpX><UpY>auto</UpY><UpZ>auto</UpZ><ViewPortWidth>auto</ViewPortWidth>"
               "<ViewPortHeight>auto</ViewPortHeight><FieldOfView>30</FieldOfView></item>"
               "<item><Name>Bare</Name></item></Cameras>"
               "<Lights><item><Name>Stuck</Name><Position>1,1,1</Position><Target>1,1,1</Target><Color>2,-1,0.5"
               "</Color></item><item><LightType>Position</LightType></item><item><LightType>SPOT</LightType></item>"
               "<item><LightType>Laser</LightType></item><item><LightType>direction</LightType></item><item>"
               "<LightType>Position</LightType><PartOfScene>true</PartOfScene></item><item><Kind>nosuch</Kind></item>"
               "</Lights><Characters><item><Activate>false</Activate><Animation type=\"TextureAnimation\">"
               "<MaterialName>m</MaterialName></Animation></item><item><Animation type=\"SkinAnimation\">"
               "<Skin name=\"B\"/></Animation><Activate>false</Activate></item><item><Kind>nosuch</Kind></item>"
               "</Characters><Props><item><Kind>nosuch</Kind></item></Props><SetElements><item><Kind>buzzer</Kind>"
               "</item></SetElements>");
    flow.LoadLevel("edge", set);
    // A kind without a pool, or whose pool makes another type, gives no entity.
    EXPECT_TRUE(set.m_Props.empty() && set.m_SetElements.empty() && set.m_Characters.size() == 2u);
    // The fields after a skin without models are read as they are.
    EXPECT_FALSE(set.m_Characters.at(1)->Activate);
    EXPECT_TRUE(log.Contains("The specified Kind of the Entity is invalid :nosuch"));
    EXPECT_TRUE(log.Contains("The pool of kind buzzer does not make entities of this type"));
    EXPECT_EQ(GameEntityFactory::Instance()->GetFactory("buzzer")->GetUsedCount(), 0u);
    ASSERT_EQ(std::pair(set.m_Cameras.size(), set.m_Lights.size()), std::pair(2ul, 6ul));
    EXPECT_EQ(V(set.m_Cameras[0]->Position), (Floats{400, 300, 2}));
    EXPECT_EQ(V(set.m_Cameras[0]->LookAt), (Floats{400, 300, 0}));
    EXPECT_EQ(V(set.m_Lights[0]->Direction), (Floats{0, 0, 1}));  // its target is its position

    // No viewport and no field of view would give a degenerate projection.
    const Camera* bare = set.m_Cameras[1];
    EXPECT_EQ((Floats{f32(bare->ViewportWidth), f32(bare->ViewportHeight), bare->FieldOfView}), (Floats{800, 600, 34}));
    EXPECT_TRUE(log.Contains("ViewPortWidth") && log.Contains("field of view"));

    // Types: 0 position, 1 spot (also "auto" and unknown words), 2 direction; a light of
    // the scene keeps its own.
    std::vector<u32> types;
    for (const Light* light : set.m_Lights)
        types.push_back(light->LightType);
    EXPECT_TRUE(types == (std::vector<u32>{1, 0, 1, 1, 2, 0}) && set.m_Lights[5]->IsPartOfScene());
    EXPECT_TRUE(log.Contains(" the type of the light entered does not exist"));
    EXPECT_TRUE(log.Contains("TextureAnimation and ModelAnimation are not suported for the Avatar"));
}

// The rendering record keeps the kind of the model file and the record's animation, also
// when a pooled entity already has one from an earlier load.
TEST_F(LevelBuilderTest, RenderableRecordAndApplicationDataComeFromTheRecordNotFromAnEarlierLoad) {
    WriteLevel("looks", "<Props><item><Name>Sign</Name><EngineDataFileName>sign.spt</EngineDataFileName>"
               "<Animation type=\"TextureAnimation\" mode=\"rewind\" speed=\"2\"><MaterialName>"
               "glow</MaterialName></Animation></item>"
               "<item><Name>Wall</Name><EngineDataFileName>wall.Mdl</EngineDataFileName>"
               "<Animation type=\"UVAnimation\" mode=\"rewindloop\"><MaterialName>scroll"
               "</MaterialName></Animation></item>"
               "<item><Name>Doll</Name><EngineDataFileName>doll.png</EngineDataFileName>"
               "<Animation type=\"SkinAnimation\" mode=\"loop\" speed=\"3\"><AnimationFile>"
               "dance.anm</AnimationFile><Skin name=\"Body\"><Model id=\"top\"/><Model "
               "id=\"torso\"/><Model id=\"bottom\"/></Skin></Animation></item>"
               "<item><Name>Plain</Name><EngineDataFileName>mdl</EngineDataFileName></item>"
               "<item><Name>Desk</Name><EngineDataFileName>desk.MDL</EngineDataFileName>"
               "<Animation type=\"ModelAnimation\" mode=\"once\" speed=\"0.5\"><AnimationFile>"
               "open.anm</AnimationFile></Animation></item></Props>");
    // (kind, type, mode, speed, animation file, material); kinds: 0 sprite, 1 model, 2 other
    // (a name without a dot, even "mdl"); types: -1 none, 0 skin, 1 model, 2 texture, 3 UV.
    using Look = std::tuple<u32, i32, u32, f32, std::string, std::string>;
    const std::vector<Look> expected = {
        {0, 2, 5, 2.0f, "", "glow"},       {1, 3, 6, 0.0f, "", "scroll"},
        {2, 0, 4, 3.0f, "dance.anm", ""}, {2, -1, 1, 1.0f, "", ""},
        {1, 1, 3, 0.5f, "open.anm", ""}};
    for (int load = 0; load < 2; ++load) {
        flow.LoadLevel("looks", set);
        std::vector<Look> looks;
        for (const Prop* prop : set.m_Props) {
            const RenderableModelData* data = prop->VolatileDatas.GetRenderableModelData();
            ASSERT_NE(data, nullptr);
            looks.emplace_back(data->m_RenderableKind, data->m_AnimationType, data->m_PlayMode, data->m_Speed,
                               data->m_AnimationFileName.c_str(), data->m_MaterialName.c_str());
        }
        ASSERT_EQ(looks, expected) << load;
        const RenderableModelData* doll = set.m_Props[2]->VolatileDatas.GetRenderableModelData();
        EXPECT_EQ(doll->m_Skin.m_Name, "Body");
        // Model words become avatar model types; an unknown word is left out.
        EXPECT_EQ(doll->m_Skin.m_ModelTypes, (std::vector<i32>{4, 5}));
    }

    // Every record kind hands its application data to its entity (the level's to the set); a
    // record without data leaves none, also on a pooled character that had some before. Each
    // record reads into a cleared prototype.
    AddingData prototype({ApplicationData::kLevel, ApplicationData::kCamera,
                          ApplicationData::kProp, ApplicationData::kCharacter,
                          ApplicationData::kSetElement, ApplicationData::kLight});
    auto level = [](bool withData) {
        auto data = [withData](int score) {
            return withData ? "<ApplicationData><Score>" + std::to_string(score) + "</Score></ApplicationData>" : "";
        };
        return "<Cameras><item><Name>C</Name>" + data(1) + "</item></Cameras><Lights><item>"
               "<Name>L</Name>" + data(2) + "</item></Lights><SetElements><item><Name>S</Name>" +
               data(3) + "</item></SetElements><Props><item><Name>P</Name>" + data(4) +
               "</item></Props><Characters><item><Name>A</Name><Activate>false</Activate>" +
               data(5) + "</item><item><Name>B</Name><Activate>false</Activate>" + data(6) +
               "</item></Characters>" + data(7);
    };
    WriteLevel("with", level(true));
    WriteLevel("without", level(false));

    std::vector<int> scores;
    std::vector<Entity*> hosts;
    for (const char* level : {"with", "without"}) {
        flow.LoadLevel(level, set);
        ASSERT_EQ(set.m_Characters.size(), 2u);
        hosts.push_back(set.m_Characters[0]);
        EXPECT_FALSE(set.m_SetElements[0]->Visible);  // the record's default
        for (Entity* entity : std::initializer_list<Entity*>{
                 set.m_Cameras[0], set.m_Lights[0], set.m_SetElements[0], set.m_Props[0],
                 set.m_Characters[0], set.m_Characters[1], &set})
            scores.push_back(Score(*entity));
    }
    // The character pool holds two: the same characters come back, without their data.
    EXPECT_EQ(hosts[0], hosts[1]);
    EXPECT_EQ(scores, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, -1, -1, -1, -1, -1, -1, -1}));
}
