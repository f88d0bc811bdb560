#include "engine/graphics/AGModel.h"

#include <cmath>

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGTextureSlot.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/PCModel.h"
#include "tests/engine/graphics/DrawingTestSupport.h"
#include "tests/engine/graphics/GraphicsTestBytes.h"
#include "tests/support/LogCapture.h"

using authoring::TexturedBox;

namespace {

class ModelTest : public ::testing::Test {
protected:
    // The box sample, as given, mounted with whatever else the writer holds; its model, held.
    PCModel* MountBox(const TexturedBox& box = {}) {
        authoring::AddTexturedBox(m_package.Writer(), box);
        m_package.Mount();
        return m_package.Get<PCModel>(TypeKey::Model, "box.mdl");
    }
    drawtest::TestPackage m_package;
};

}  // namespace

TEST_F(ModelTest, ModelAnimationPosesTheLocalTransform) {
    TexturedBox boxSample;
    boxSample.model.animated = true, boxSample.model.frameRate = 30, boxSample.model.frameCount = 31;
    boxSample.model.local = authoring::TranslationMatrix(1, 2, 3);
    const f32 s = std::sqrt(0.5f);  // 90 degrees about y
    m_package.Writer().Add("move.anm", 0,
                         authoring::ModelAnimationBytes(31, 30, Track::Vec3().Key(0, {0, 0, 0}).Key(30, {3, 6, 9}),
                                                        Track::Quat().Key(0, {0, s, 0, s}),
                                                        Track::Vec3().Key(0, {2, 2, 2})))
        .Add("turn.anm", 0,
             authoring::ModelAnimationBytes(31, 30, Track::Vec3(), Track::Quat().Key(0, {0, s, 0, s}), Track::Vec3()));
    PCModel* model = MountBox(boxSample);
    model->SetModelAnimation(m_package.Get<AGModelAnimation>(TypeKey::PrsAnimation, "move.anm"));
    EXPECT_EQ(model->GetController()->GetEndFrame(), 30.0f);
    model->GetController()->SetTime(500.0f);  // frame 15
    model->Update();
    const f32* m = model->GetLocal().m;
    // Rows: x -> -z, y -> y, z -> x, each scaled by 2; halfway along the path.
    for (auto [i, value] :
         {std::pair{2, -2.0f}, {5, 2.0f}, {8, 2.0f}, {12, 1.5f}, {13, 3.0f}, {14, 4.5f}})
        EXPECT_NEAR(m[i], value, 1e-5f) << i;
    EXPECT_EQ(model->GetWorld().m[12], m[12]);
    // Turning without a path keeps the model's own place, here the one it was moved to; a
    // parent transform then carries it along.
    model->SetModelAnimation(m_package.Get<AGModelAnimation>(TypeKey::PrsAnimation, "turn.anm"));
    model->SetPosition(AGVec3{4, 5, 6});
    const platform::gfx::Matrix parent{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1}};  // 10 along z
    model->SetParentTransform(&parent);
    model->Update();
    EXPECT_EQ(std::vector<f32>({m[12], m[13], m[14], model->GetWorld().m[14]}), (std::vector<f32>{4, 5, 6, 16}));
    model->SetParentTransform(nullptr);
    model->SetModelAnimation(nullptr);
    // Loaded again, the model loops its animation whatever its controller was set to since;
    // loaded as a private copy, it is active and shown at once.
    model->GetController()->SetMode(AGController::kOnce);
    LoadBytes(*model, authoring::ModelBytes(boxSample.model), false, false);
    EXPECT_TRUE(model->GetController()->GetMode() == u32(AGController::kLoop) &&
                model->HasFlags(AGRenderable::kActive | AGRenderable::kShown));
}

TEST_F(ModelTest, AttachBoneFallsBackToTheFirstBoneAndNeedsBones) {
    TexturedBox boxSample;
    boxSample.model.attachBoneId = 99;  // no such bone
    boxSample.model.local = authoring::TranslationMatrix(0, 0, 3);
    m_package.Writer().Add("rig.skel", 0, authoring::SkinBytes({{1, authoring::IdentityMatrix(), 255},
                                   {2, authoring::TranslationMatrix(0, -2, 0), 0}}))
        .Add("none.skel", 0, authoring::SkinBytes({}));
    PCModel* model = MountBox(boxSample);
    auto* rig = m_package.Get<AGSkin>(TypeKey::Skeleton, "rig.skel");
    auto* none = m_package.Get<AGSkin>(TypeKey::Skeleton, "none.skel");
    EXPECT_TRUE(model->IsDeferred());

    model->SetSkin(none);
    model->Update();
    EXPECT_EQ(std::make_pair(model->GetAttachBoneIndex(), model->GetWorld().m[14]), std::make_pair(-1, 3.0f));

    model->SetSkin(rig);
    rig->Bones()[0].position = {10, 0, 0};
    rig->Bones()[1].position = {0, 2, 0};
    model->Update();
    EXPECT_EQ(std::make_pair(model->GetAttachBoneIndex(), model->GetWorld().m[12]), std::make_pair(0, 10.0f));

    // Hung on bone 2: its bind matrix takes the model into the bone's space first.
    model->SetAttachBoneId(2);
    model->Update();
    EXPECT_TRUE(model->GetAttachBoneIndex() == 1 && model->GetWorld().m[12] == 10.0f &&
                model->GetWorld().m[13] == 0.0f);

    // A quarter turn of the bone turns the model (by default), unless it keeps its own orientation.
    const f32 h = std::sqrt(0.5f);
    rig->Bones()[1].rotation = {0, 0, h, h};
    for (bool keep : {false, true}) {
        if (keep)
            model->SetKeepOrientation(true);
        model->Update();
        const f32* m = model->GetWorld().m;
        EXPECT_NEAR(m[0], keep ? 1.0f : 0.0f, 1e-6f) << keep;
        EXPECT_NEAR(std::fabs(m[1]), keep ? 0.0f : 1.0f, 1e-6f) << keep;
        EXPECT_NEAR(m[10], 1.0f, 1e-6f) << keep;
    }

    model->SetSkin(nullptr);
}

TEST_F(ModelTest, AMeshBeyondTheVertexBufferIsNotDrawnAndColoursStayWithTheModel) {
    authoring::MeshData wide = authoring::BoxMesh();
    wide.vertexMap[5] = 24;
    authoring::ModelData bad;
    bad.vertexBufferId = authoring::NameId("box.vb");
    bad.meshIds = {authoring::NameId("wide.mesh"), authoring::NameId("box.mesh")};
    m_package.Writer().Add("wide.mesh", 0, authoring::MeshBytes(wide)).Add("bad.mdl", 0, authoring::ModelBytes(bad));
    MountBox();
    LogCapture log;
    auto* model = m_package.Instance<PCModel>(TypeKey::Model, "bad.mdl");
    ASSERT_EQ(model->MeshCount(), 2u);
    EXPECT_TRUE(!model->IsMeshDrawn(0) && model->IsMeshDrawn(1) && log.Contains("mesh not drawn"));

    // Fading or colouring one instance leaves the shared vertex buffer, and so every other model,
    // alone; the colour it has already takes no copy.
    model->SetColor(0xFFFFFFFFu);
    EXPECT_EQ(model->OwnColors().Count(), 0u);
    model->SetOpacity(0.5f);
    ASSERT_EQ(model->OwnColors().Count(), 24u);
    EXPECT_TRUE(model->OwnColors()[23] == 0x7FFFFFFFu && model->GetVertexBuffer()->m_colors[0] == 0xFFFFFFFFu);
    // A colour keeps the faded alpha, and white again undoes it.
    model->SetColor(0xFFFF0000u);
    EXPECT_EQ(model->OwnColors()[23], 0x7FFF0000u);
    model->SetColor(0xFFFFFFFFu);
    EXPECT_TRUE(model->OwnColors()[23] == 0x7FFFFFFFu && model->HasFlags(AGRenderable::kDistanceSorted));
    model->SetOpacity(0.0f);
    EXPECT_EQ(model->OwnColors()[23], 0x00FFFFFFu);
    m_package.GiveBack(TypeKey::Model, model);
}

TEST_F(ModelTest, UpdateAdvancesTheOwnControllersOfItsMaterialsOncePerTimerFrame) {
    drawtest::ScopedTimer clock;  // 16 ms frames
    TexturedBox boxSample;
    boxSample.slotController = authoring::SlotController{10, 1.0f, 30.0f};
    PCModel* model = MountBox(boxSample);
    const AGMaterial* material = model->Materials().Get(0);
    ASSERT_TRUE(material && material->GetSlot(0) && material->GetSlot(0)->GetOwnedController());
    const AGController& own = *material->GetSlot(0)->GetOwnedController();
    model->Update();
    model->Update();
    EXPECT_EQ(own.GetTime(), 16.0f);
    // Prepared (as its group does when it goes), the model gives its material back and keeps no slot.
    auto* held = m_package.Get<AGMaterial>(TypeKey::Material, "box.mat");
    ASSERT_EQ(held, material);
    const u32 references = held->RefCount();
    model->Prepare();
    EXPECT_EQ(std::make_pair(held->RefCount(), model->Materials().Count()), std::pair(references - 1, 0u));
}
