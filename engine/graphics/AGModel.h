#pragma once
// "model" (".mdl"): meshes sharing one vertex buffer, each drawn with a material; optionally
// skinned (its skin's bones blend the vertices every frame into a dynamic vertex buffer),
// animated as a whole by a model animation, and hung on a bone of its skin.
//
// File: 12-byte header (skipped); u32 vertex-buffer id; 16 f32 local transform; u32 mesh
// count M; u32 material count N; u32 stored value; u32 attach bone id (0 = none); M mesh
// ids; N material ids; u32 transparent flag; u32 animated flag; when animated f32 frame rate
// and f32 frame count.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGModelMaterials.h"
#include "engine/graphics/AGOwnedBuffer.h"
#include "engine/graphics/AGRenderable.h"
#include "platform/gfx/GfxTypes.h"

class AGLight;
class AGMaterial;
class AGMesh;
class AGModelAnimation;
class AGSkin;
class AGVertexBuffer;
class AGVertexBufferDynamic;

class AGModel : public AGResource, public AGRenderable, public AGAnimated {
public:
    AGModel();
    // The provider's clone: fields and matrices copied, the vertex buffer taken again by name
    // (with a dynamic buffer of its own when skinned), meshes and materials taken as private
    // copies. Skin, model animation, parent and light are attached again by the owner.
    AGModel(const AGModel& other);
    ~AGModel() override;

    u32 GetTypeKey() const override { return TypeKey::Model; }
    // Meshes and materials are taken shared or as private copies as shared says; without
    // shared the device objects are built at the end. A truncated file leaves the model
    // without meshes, with one log line; a mesh that does not fit the vertex buffer is kept
    // but not drawn.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Renderable. Update: model animation pose, skin and skinning, attach bone, world
    // transform, per-mesh material and cull mode.
    void Initialize() override;
    void Update() override;
    void Draw() override {}
    // Gives back the vertex buffers, meshes and materials.
    void Prepare() override;
    u32 GetRenderableType() const override { return kModel; }
    void GetPosition(AGVec3& out) const override;
    void SetPosition(const AGVec2& position) override { SetPosition(AGVec3{position.x, position.y, 0.0f}); }
    void SetPosition(const AGVec3& position);
    // Every vertex colour of this model becomes the opacity's alpha and the colour's RGB.
    void SetColor(u32 argb) override;
    // Every vertex colour of this model keeps its RGB and takes the opacity's alpha; the
    // model becomes distance-sorted and its first part draws without alpha test.
    void SetOpacity(f32 opacity) override;
    void SetParentTransform(const platform::gfx::Matrix* transform) override { m_parent = transform; }
    AGAnimated* GetAnimated() override { return this; }
    // Hung on a bone or on a parent transform: updated after the others.
    bool IsDeferred() const override { return m_attachBoneId != 0 || m_parent != nullptr; }

    // The texture slots of every material and the skin follow the controller too.
    void SetController(AGController* controller) override;

    // The material named by the CRC-32 of name, or null.
    AGMaterial* FindSkin(const char* name) const;
    AGMaterial* FindSkin(u32 nameId) const;
    // Replaces the material named oldId by newId (taken shared); nothing when none has oldId.
    void SetMaterial(u32 oldId, u32 newId);

    void SetSkin(AGSkin* skin);
    AGSkin* GetSkin() const { return m_skin; }
    void SetModelAnimation(AGModelAnimation* animation) { m_animation = animation; }
    AGModelAnimation* GetModelAnimation() const { return m_animation; }
    void SetLight(AGLight* light) {
        m_light = light;
        m_attribute.m_light = light;
    }
    AGLight* GetLight() const { return m_light; }
    void SetAttachBoneId(u32 id);
    u32 GetAttachBoneId() const { return m_attachBoneId; }
    // Index of the bone the model hangs on, -1 while there is none.
    i32 GetAttachBoneIndex() const { return m_attachBone; }
    // Attached to a bone, the model keeps its own rotation and follows only the translation.
    void SetKeepOrientation(bool keep) { m_keepOrientation = keep ? 1 : 0; }

    AGVertexBuffer* GetVertexBuffer() const { return m_vertexBuffer; }
    AGVertexBufferDynamic* GetDynamicVertexBuffer() const { return m_dynamic; }
    u32 MeshCount() const { return m_meshes.Count(); }
    AGMesh* GetMesh(u32 index) const { return index < m_meshes.Count() ? m_meshes[index] : nullptr; }
    // False for a mesh that does not fit the vertex buffer (it is not drawn).
    bool IsMeshDrawn(u32 index) const { return index < m_meshDrawn.Count() && m_meshDrawn[index]; }
    const AGModelMaterials& Materials() const { return m_materials; }
    // The material of mesh i: material i, or null beyond the material list.
    AGMaterial* MaterialOfMesh(u32 index) const { return m_materials.Get(index); }
    const platform::gfx::Matrix& GetLocal() const { return m_local; }
    void SetLocal(const platform::gfx::Matrix& local) { m_local = m_fileLocal = local; }
    const platform::gfx::Matrix& GetWorld() const { return m_world; }
    f32 GetOpacity() const { return m_opacity; }
    // The model's own vertex colours once its colour or opacity changed (else empty).
    const AGOwnedBuffer<u32>& OwnColors() const { return m_colors; }
    u32 GetStoredValue() const { return m_stored; }

protected:
    // Device side: the skinned positions and normals changed, the own colours changed, a
    // material was replaced.
    virtual void OnSkinned() {}
    virtual void OnColorsChanged() {}
    virtual void OnMaterialsChanged() {}
    // What the render attribute's world matrix points at.
    const platform::gfx::Matrix* WorldCopy() const { return &m_worldCopy; }

private:
    void TakeVertexBuffer(u32 id);
    void TakeMeshes(const u32* ids, u32 count, bool shared, u32 a, bool inPlace);
    void ReleaseAll();
    void Pose();
    void UpdateWorld();
    bool TakeOwnColors();

    AGModelMaterials m_materials;
    AGOwnedBuffer<AGMesh*> m_meshes;
    AGOwnedBuffer<u32> m_meshIds;
    AGOwnedBuffer<u8> m_meshInstances;
    AGOwnedBuffer<u8> m_meshDrawn;
    AGVertexBufferDynamic* m_dynamic = nullptr;
    AGVertexBuffer* m_vertexBuffer = nullptr;
    u32 m_vertexBufferId = 0;
    platform::gfx::Matrix m_fileLocal;
    platform::gfx::Matrix m_local;
    platform::gfx::Matrix m_world;
    platform::gfx::Matrix m_worldCopy;
    const platform::gfx::Matrix* m_parent = nullptr;
    AGModelAnimation* m_animation = nullptr;
    AGLight* m_light = nullptr;
    AGSkin* m_skin = nullptr;
    i32 m_attachBone = -1;
    u32 m_attachBoneId = 0;
    u32 m_stored = 0;
    u8 m_keepOrientation = 0;
    f32 m_opacity = 1.0f;
    u32 m_rgb = 0x00FFFFFFu;
    AGOwnedBuffer<u32> m_colors;
};
