#include "engine/graphics/PCModel.h"

#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/AGVertexBufferDynamic.h"
#include "engine/graphics/PCDeviceLock.h"
#include "engine/graphics/PCLight.h"
#include "engine/graphics/PCMesh.h"
#include "engine/graphics/PCTexture.h"

using namespace platform::gfx;

PCModel::PCModel(const PCModel& other) : AGModel(other) {
    Initialize();
}

PCModel::~PCModel() {
    ReleaseDeviceObjects();
}

PCMesh* PCModel::DeviceMesh(u32 index) const {
    return IsMeshDrawn(index) ? dynamic_cast<PCMesh*>(GetMesh(index)) : nullptr;
}

void PCModel::ReleaseDeviceObjects() {
    // The meshes keep their device objects until they go themselves: a shared mesh may be
    // drawn by other models.
    m_attribute.Clear();
}

void PCModel::Initialize() {
    PCDeviceLock lock;
    if (PCContextManager* context = PCContextManager::Get())
        context->SetCurrentLight(dynamic_cast<PCLight*>(GetLight()));
    const AGOwnedBuffer<u32>* colors = OwnColors().Empty() ? nullptr : &OwnColors();
    for (u32 i = 0; i < MeshCount(); ++i) {
        if (AGMaterial* material = MaterialOfMesh(i))
            material->Update();
        if (PCMesh* mesh = DeviceMesh(i))
            mesh->Prepare(*GetVertexBuffer(), colors);
    }
    BuildAttribute();
    m_skinnedDirty = GetDynamicVertexBuffer() != nullptr;
    m_colorsDirty = false;
    AGModel::Initialize();
}

void PCModel::BuildAttribute() {
    m_attribute.Clear();
    if (!m_attribute.SetPartCount(MeshCount()))
        return;
    const u8 depthWrite = HasFlags(kDistanceSorted) ? 0 : 1;
    for (u32 i = 0; i < MeshCount(); ++i) {
        if (PCMesh* mesh = DeviceMesh(i))
            mesh->FillPart(m_attribute, i);
        m_attribute.m_depthWrites[i] = depthWrite;
        m_attribute.m_materials[i] = MaterialOfMesh(i);
    }
    if (GetOpacity() != 1.0f && MeshCount() != 0)
        m_attribute.m_parameters[0] = 1;
    m_attribute.m_world = WorldCopy();
    m_attribute.m_light = GetLight();
    m_attribute.m_primitiveKind = AGRenderAttribute::kTriangleList;
    m_attribute.m_ready = 1;
}

void PCModel::OnMaterialsChanged() {
    for (u32 i = 0; i < m_attribute.PartCount(); ++i)
        m_attribute.m_materials[i] = MaterialOfMesh(i);
}

void PCModel::Update() {
    AGModel::Update();
    if (!m_skinnedDirty && !m_colorsDirty)
        return;
    const AGVertexBufferDynamic* skinned = GetDynamicVertexBuffer();
    const bool normals = GetVertexBuffer() && GetVertexBuffer()->HasSkinNormals();
    for (u32 i = 0; i < MeshCount(); ++i) {
        PCMesh* mesh = DeviceMesh(i);
        if (!mesh)
            continue;
        if (m_skinnedDirty && skinned)
            mesh->CopySkinned(*skinned, normals);
        if (m_colorsDirty && !OwnColors().Empty())
            mesh->UploadColors(OwnColors());
    }
    m_skinnedDirty = m_colorsDirty = false;
}

void PCModel::Draw() {
    Device* d = PCCurrentDevice();
    if (!d)
        return;
    d->SetTransform(TransformType::World, *WorldCopy());
    PCLight* light = dynamic_cast<PCLight*>(GetLight());
    if (light) {
        if (PCContextManager* context = PCContextManager::Get())
            context->SetCurrentLight(light);
        d->SetRenderState(RenderState::Lighting, 1u);
        light->Apply();
    }
    for (u32 i = 0; i < MeshCount(); ++i) {
        PCMesh* mesh = DeviceMesh(i);
        if (!mesh)
            continue;
        if (AGMaterial* material = MaterialOfMesh(i)) {
            material->Apply();
            material->BindTextures();
        } else {
            PCTexture::Unbind(0);
        }
        mesh->Draw();
    }
    d->SetRenderState(RenderState::Lighting, 0u);
    d->LightEnable(0, false);
}

void PCModel::Prepare() {
    ReleaseDeviceObjects();
    AGModel::Prepare();
}
