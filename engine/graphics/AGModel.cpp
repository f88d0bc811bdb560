#include "engine/graphics/AGModel.h"

#include "engine/core/AGController.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGMesh.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/AGVertexBufferDynamic.h"

using platform::gfx::Matrix;
using platform::gfx::MatrixIdentity;
using platform::gfx::MatrixMultiply;

namespace {

u32 AlphaOf(f32 opacity) {
    if (!(opacity > 0.0f))
        return 0;
    return opacity >= 1.0f ? 255u : u32(opacity * 255.0f);
}

}  // namespace

AGModel::AGModel()
    : m_fileLocal(MatrixIdentity()),
      m_local(MatrixIdentity()),
      m_world(MatrixIdentity()),
      m_worldCopy(MatrixIdentity()) {}

AGModel::AGModel(const AGModel& other)
    : AGResource(other),
      AGRenderable(other),
      AGAnimated(other),
      m_fileLocal(other.m_fileLocal),
      m_local(other.m_local),
      m_world(other.m_world),
      m_worldCopy(other.m_worldCopy),
      m_attachBoneId(other.m_attachBoneId),
      m_stored(other.m_stored),
      m_keepOrientation(other.m_keepOrientation),
      m_opacity(other.m_opacity),
      m_rgb(other.m_rgb),
      m_colors(other.m_colors) {
    TakeVertexBuffer(other.m_vertexBufferId);
    AGOwnedBuffer<u32> ids(other.m_meshIds);
    TakeMeshes(ids.Data(), ids.Count(), false, 0, false);
    m_materials.TakeCopiesOf(other.m_materials);
    if (m_current)
        m_materials.SetController(m_current);
}

AGModel::~AGModel() {
    ReleaseAll();
}

void AGModel::TakeVertexBuffer(u32 id) {
    m_vertexBufferId = id;
    m_vertexBuffer = AGTakeResource<AGVertexBuffer>(TypeKey::VertexBuffer, id, true);
    if (!m_vertexBuffer || !m_vertexBuffer->IsSkinned())
        return;
    m_dynamic = new AGVertexBufferDynamic();
    m_dynamic->SetNameId(NameId());
    m_dynamic->SetDirectoryId(DirectoryId());
    if (!m_dynamic->Initialize(*m_vertexBuffer)) {
        delete m_dynamic;
        m_dynamic = nullptr;
        AGReport("Model 0x%08X: out of memory for its skinned vertices.", NameId());
    }
}

void AGModel::TakeMeshes(const u32* ids, u32 count, bool shared, u32 a, bool inPlace) {
    if (count == 0)
        return;
    if (!m_meshes.Resize(count) || !m_meshIds.Resize(count) || !m_meshInstances.Resize(count) ||
        !m_meshDrawn.Resize(count)) {
        m_meshes.Release();
        m_meshIds.Release();
        m_meshInstances.Release();
        m_meshDrawn.Release();
        return;
    }
    for (u32 i = 0; i < count; ++i) {
        m_meshIds[i] = ids[i];
        AGMesh* mesh = AGTakeResource<AGMesh>(TypeKey::Mesh, ids[i], shared, a, inPlace);
        m_meshes[i] = mesh;
        m_meshInstances[i] = mesh && !mesh->IsBase();
        m_meshDrawn[i] = mesh && !mesh->Empty() && m_vertexBuffer &&
                         mesh->FitsVertexBuffer(*m_vertexBuffer, NameId());
    }
}

void AGModel::ReleaseAll() {
    delete m_dynamic;
    m_dynamic = nullptr;
    if (AGBaseProvider* provider = AGProviderOf(TypeKey::VertexBuffer); provider && m_vertexBuffer)
        provider->Release(m_vertexBuffer);
    m_vertexBuffer = nullptr;
    if (AGBaseProvider* provider = AGProviderOf(TypeKey::Mesh)) {
        for (u32 i = 0; i < m_meshes.Count(); ++i) {
            if (!m_meshes[i])
                continue;
            if (m_meshInstances[i])
                provider->ReleaseInstance(m_meshes[i]);
            else
                provider->Release(m_meshes[i]);
        }
    }
    m_meshes.Release();
    m_meshIds.Release();
    m_meshInstances.Release();
    m_meshDrawn.Release();
    m_materials.ReleaseAll();
    m_colors.Release();
}

void AGModel::Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) {
    ReleaseAll();
    if (!buffer)
        return;
    AGMemBuffer& b = *buffer;
    b.Skip(12);
    const u32 vertexBufferId = b.ReadU32();
    Matrix local;
    for (f32& v : local.m)
        v = b.ReadF32();
    const u32 meshCount = b.ReadU32();
    const u32 materialCount = b.ReadU32();
    const u32 stored = b.ReadU32();
    const u32 attachBoneId = b.ReadU32();
    AGOwnedBuffer<u32> meshIds, materialIds;
    AGReadNameIds(b, meshCount, meshIds);
    AGReadNameIds(b, materialCount, materialIds);
    const u32 transparent = b.ReadU32();
    const u32 animated = b.ReadU32();
    f32 frameRate = 0.0f, frameCount = 0.0f;
    if (animated) {
        frameRate = b.ReadF32();
        frameCount = b.ReadF32();
    }
    if (b.Failed()) {
        AGReport("Model 0x%08X: truncated or corrupt file, left empty.", NameId());
        return;
    }
    m_fileLocal = m_local = local;
    m_stored = stored;
    m_attachBoneId = attachBoneId;
    m_attachBone = -1;
    TakeVertexBuffer(vertexBufferId);
    TakeMeshes(meshIds.Data(), meshIds.Count(), shared, a, inPlace);
    m_materials.Take(materialIds.Data(), materialIds.Count(), shared, a, inPlace);
    if (transparent)
        SetFlags(kDistanceSorted);
    if (animated) {
        EnsureController();
        AGBindAnimation(*m_owned, frameCount, frameRate, 1.0f);
        m_owned->SetMode(AGController::kLoop);
        SetController(m_owned);
    }
    if (!shared)
        Initialize();
}

void AGModel::Initialize() {
    SetFlags(kActive | kShown);
}

void AGModel::Prepare() {
    ReleaseAll();
}

void AGModel::SetController(AGController* controller) {
    AGAnimated::SetController(controller);
    m_materials.SetController(controller);
    if (m_skin)
        m_skin->SetController(controller);
}

AGMaterial* AGModel::FindSkin(const char* name) const {
    return FindSkin(Crc32Hash(name));
}

AGMaterial* AGModel::FindSkin(u32 nameId) const {
    return m_materials.Find(nameId);
}

void AGModel::SetMaterial(u32 oldId, u32 newId) {
    if (m_materials.Replace(oldId, newId))
        OnMaterialsChanged();
}

void AGModel::SetSkin(AGSkin* skin) {
    m_skin = skin;
    m_attachBone = -1;
}

void AGModel::SetAttachBoneId(u32 id) {
    m_attachBoneId = id;
    m_attachBone = -1;
}

void AGModel::GetPosition(AGVec3& out) const {
    out = TranslationOf(m_local);
}

void AGModel::SetPosition(const AGVec3& position) {
    for (Matrix* m : {&m_local, &m_fileLocal}) {
        m->m[12] = position.x;
        m->m[13] = position.y;
        m->m[14] = position.z;
    }
}

bool AGModel::TakeOwnColors() {
    if (m_colors.Empty() && m_vertexBuffer)
        m_colors.CopyFrom(m_vertexBuffer->m_colors);
    return !m_colors.Empty();
}

void AGModel::SetColor(u32 argb) {
    const u32 rgb = argb & 0x00FFFFFFu;
    if (rgb == m_rgb)
        return;
    m_rgb = rgb;
    if (!TakeOwnColors())
        return;
    const u32 color = (AlphaOf(m_opacity) << 24) | rgb;
    for (u32& c : m_colors)
        c = color;
    OnColorsChanged();
}

void AGModel::SetOpacity(f32 opacity) {
    if (opacity == m_opacity)
        return;
    m_opacity = opacity;
    if (TakeOwnColors()) {
        const u32 alpha = AlphaOf(opacity) << 24;
        for (u32& c : m_colors)
            c = (c & 0x00FFFFFFu) | alpha;
        OnColorsChanged();
    }
    if (m_attribute.PartCount() != 0)
        m_attribute.m_parameters[0] = 1;
    SetFlags(kDistanceSorted);
}

void AGModel::Pose() {
    if (!m_animation || !m_current)
        return;
    StepController();
    const f32 t = m_current->GetOutput();
    Matrix local = m_fileLocal;
    AGQuat q;
    if (m_animation->m_rotation.Evaluate(t, q)) {
        const Matrix r = platform::gfx::MatrixRotationQuaternion({q.x, q.y, q.z, q.w});
        for (u32 row = 0; row < 3; ++row)
            for (u32 col = 0; col < 3; ++col)
                local.m[row * 4 + col] = r.m[row * 4 + col];
    }
    AGVec3 p;
    if (m_animation->m_position.Evaluate(t, p)) {
        local.m[12] = p.x;
        local.m[13] = p.y;
        local.m[14] = p.z;
    }
    AGVec3 s;
    if (m_animation->m_scale.Evaluate(t, s)) {
        const f32 scale[3] = {s.x, s.y, s.z};
        for (u32 row = 0; row < 3; ++row)
            for (u32 col = 0; col < 4; ++col)
                local.m[row * 4 + col] *= scale[row];
    }
    m_local = local;
}

void AGModel::UpdateWorld() {
    const AGBone* bone = nullptr;
    if (m_skin && m_attachBone >= 0 && u32(m_attachBone) < m_skin->BoneCount())
        bone = &m_skin->Bones()[m_attachBone];
    if (bone) {
        m_world = MatrixMultiply(MatrixMultiply(m_local, bone->bind), bone->current);
        if (m_keepOrientation)
            for (u32 row = 0; row < 3; ++row)
                for (u32 col = 0; col < 3; ++col)
                    m_world.m[row * 4 + col] = m_local.m[row * 4 + col];
    } else {
        m_world = m_local;
    }
    if (m_parent)
        m_world = MatrixMultiply(m_world, *m_parent);
}

void AGModel::Update() {
    Pose();
    if (m_skin) {
        m_skin->Update();
        if (m_dynamic && m_vertexBuffer) {
            m_dynamic->Skin(*m_vertexBuffer, m_skin->Bones(), m_skin->BoneCount());
            OnSkinned();
        }
        // A bone id that matches no bone hangs the model on the first bone.
        if (m_attachBoneId != 0 && m_attachBone < 0 && m_skin->BoneCount() != 0) {
            const AGBone* found = m_skin->FindBone(m_attachBoneId);
            m_attachBone = found ? i32(found - m_skin->Bones()) : 0;
        }
    }
    UpdateWorld();
    m_worldCopy = m_world;
    for (u32 i = 0; i < m_meshes.Count(); ++i) {
        if (AGMaterial* material = MaterialOfMesh(i)) {
            material->UpdateControllers();
            material->Update();
        }
        if (i < m_attribute.PartCount() && m_meshes[i])
            m_attribute.m_cullModes[i] =
                m_meshes[i]->CullsBackFaces() ? AGRenderAttribute::kCullCW : AGRenderAttribute::kCullNone;
    }
}
