#include "engine/graphics/AGSprite.h"

#include <cmath>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "engine/graphics/PCGraphicDevice.h"
#include "platform/gfx/GfxMath.h"

using namespace platform::gfx;

Matrix AGSnappedScreenWorld(Matrix world) {
    world.m[12] = std::trunc(world.m[12]) + 0.5f;
    world.m[13] = std::trunc(world.m[13]) + 0.5f;
    world.m[14] = std::trunc(world.m[14]);
    Matrix scale = MatrixIdentity();
    if (const PCGraphicDevice* device = PCGraphicDevice::Get()) {
        scale.m[0] = device->GetXScale();
        scale.m[5] = device->GetYScale();
    }
    return MatrixMultiply(world, scale);
}

AGSprite::AGSprite()
    : m_local(MatrixIdentity()), m_rotation(MatrixIdentity()), m_world(MatrixIdentity()) {}

AGSprite::AGSprite(const AGSprite& other)
    : AGResource(other),
      AGRenderable(other),
      m_parent(other.m_parent),
      m_local(other.m_local),
      m_rotation(other.m_rotation),
      m_world(other.m_world),
      m_blendMode(other.m_blendMode),
      m_degrees(other.m_degrees),
      m_height(other.m_height),
      m_width(other.m_width),
      m_textured(other.m_textured) {
    for (int i = 0; i < 4; ++i)
        m_texRect[i] = other.m_texRect[i];
    if (other.m_material) {
        m_material = AGTakeResource<AGMaterial>(TypeKey::Material, other.m_material->NameId(), false);
        m_textured = m_material ? 1 : 0;
    }
    if (other.m_vertexBuffer)
        m_vertexBuffer = AGTakeRunTimeVertexBuffer(0, DirectoryId(), m_ownsVertexBuffer);
}

AGSprite::~AGSprite() {
    AGSprite::Prepare();
}

void AGSprite::Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) {
    AGSprite::Prepare();
    if (!buffer)
        return;
    AGMemBuffer& b = *buffer;
    b.Skip(12);
    const u32 blendMode = b.ReadU32();
    const u32 width = b.ReadU32();
    const u32 height = b.ReadU32();
    const u32 materialId = b.ReadU32();
    if (b.Failed()) {
        AGReport("Sprite 0x%08X: truncated file, left empty.", NameId());
        return;
    }
    m_blendMode = blendMode;
    m_width = width;
    m_height = height;
    m_material = AGTakeResource<AGMaterial>(TypeKey::Material, materialId, shared, a, inPlace);
    m_textured = m_material ? 1 : 0;
    m_vertexBuffer = AGTakeRunTimeVertexBuffer(0, DirectoryId(), m_ownsVertexBuffer);
    Initialize();
}

bool AGSprite::BuildArrays() {
    if (!m_vertexBuffer)
        m_vertexBuffer = AGTakeRunTimeVertexBuffer(0, DirectoryId(), m_ownsVertexBuffer);
    if (!m_vertexBuffer->Create(4, 4, m_textured ? 4 : 0))
        return false;
    UpdateVertices();
    ApplyColor();
    return true;
}

void AGSprite::Initialize() {
    m_parent = nullptr;
    m_local = m_rotation = m_world = MatrixIdentity();
    if (m_textured && m_material) {
        u32 width = 0, height = 0;
        if (m_material->GetLargestTextureSize(width, height)) {
            m_width = width;
            m_height = height;
        }
    }
    BuildArrays();
    SetRotation(m_degrees);
}

void AGSprite::UpdateVertices() {
    if (!m_vertexBuffer || m_vertexBuffer->PositionCount() < 4)
        return;
    const f32 w = f32(m_width), h = f32(m_height);
    AGVec3* p = m_vertexBuffer->m_positions.Data();
    p[0] = {0.0f, 0.0f, 0.0f};
    p[1] = {0.0f, h, 0.0f};
    p[2] = {w, 0.0f, 0.0f};
    p[3] = {w, h, 0.0f};
    m_positionDirty = 1;
    if (m_vertexBuffer->TexCoordCount() >= 4) {
        const f32 l = m_texRect[0], t = m_texRect[1], r = m_texRect[2], bottom = m_texRect[3];
        AGVec2* uv = m_vertexBuffer->m_texCoords.Data();
        uv[0] = {l, t};
        uv[1] = {l, bottom};
        uv[2] = {r, t};
        uv[3] = {r, bottom};
        m_texCoordDirty = 1;
    }
}

void AGSprite::ApplyColor() {
    if (!m_vertexBuffer)
        return;
    for (u32& c : m_vertexBuffer->m_colors)
        c = m_color;
    m_colorDirty = 1;
}

void AGSprite::SetTextureRect(f32 left, f32 top, f32 right, f32 bottom) {
    m_texRect[0] = left;
    m_texRect[1] = top;
    m_texRect[2] = right;
    m_texRect[3] = bottom;
}

void AGSprite::Update() {
    Matrix world = MatrixMultiply(m_rotation, m_local);
    if (m_parent)
        world = MatrixMultiply(world, *m_parent);
    m_world = AGSnappedScreenWorld(world);
    if (m_material)
        m_material->UpdateControllers();
}

void AGSprite::Prepare() {
    AGGiveBackRunTimeVertexBuffer(m_vertexBuffer, m_ownsVertexBuffer);
    m_vertexBuffer = nullptr;
    m_ownsVertexBuffer = false;
    AGGiveBackResource(TypeKey::Material, m_material);
    m_material = nullptr;
    SetPartMaterial();
}

void AGSprite::GetPosition(AGVec3& out) const {
    out = TranslationOf(m_local);
}

void AGSprite::SetPosition(const AGVec2& position) {
    SetTranslation(m_local, position);
}

void AGSprite::SetScale(const AGVec2& scale) {
    m_local.m[0] = scale.x;
    m_local.m[5] = scale.y;
}

void AGSprite::SetRotation(f32 degrees) {
    m_degrees = degrees;
    m_rotation = MatrixRotationZ(degrees * kDegreesToRadians);
}

void AGSprite::SetPartMaterial() {
    if (m_attribute.PartCount() > 0)
        m_attribute.m_materials[0] = m_material;
}

void AGSprite::SetMaterial(const char* name) {
    AGGiveBackResource(TypeKey::Material, m_material);
    m_material = AGTakeResource<AGMaterial>(TypeKey::Material, Crc32Hash(name), false);
    m_textured = m_material ? 1 : 0;
    SetPartMaterial();
    if (m_textured && m_vertexBuffer && m_vertexBuffer->TexCoordCount() < 4)
        BuildArrays();
}

void AGSprite::TakeMaterial(AGMaterial* material) {
    if (material == m_material)
        return;
    AGGiveBackResource(TypeKey::Material, m_material);
    m_material = material;
    m_textured = m_material ? 1 : 0;
    SetPartMaterial();
    if (m_textured && m_vertexBuffer && m_vertexBuffer->TexCoordCount() < 4)
        BuildArrays();
}

void AGSprite::ClearMaterial() {
    AGGiveBackResource(TypeKey::Material, m_material);
    m_material = nullptr;
    m_textured = 0;
    SetPartMaterial();
}
