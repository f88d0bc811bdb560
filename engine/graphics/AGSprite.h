#pragma once
// "sprite" (".spt"): the 2D quad of the user interface: width x height pixels (y downwards),
// optionally textured through a material, placed by position, scale, rotation and an
// optional parent transform, coloured by one vertex colour. Renderable type 3.
//
// Quad vertices: (0, 0), (0, h), (w, 0), (w, h), z = 0, with texture coordinates from the
// texture rectangle (left u, top v, right u, bottom v) in the same corner order.
//
// File (28 bytes): 12-byte header (skipped); u32 blend mode; u32 width; u32 height; u32
// material name id (0: untextured).
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGRenderable.h"
#include "platform/gfx/GfxTypes.h"

class AGMaterial;
class AGVertexBuffer;

// The world matrix of 2D renderables: translation snapped to pixel centres (trunc + 0.5 in x
// and y, trunc in z), then scaled by the graphic device's screen scale (1 without a device).
platform::gfx::Matrix AGSnappedScreenWorld(platform::gfx::Matrix world);

class AGSprite : public AGResource, public AGRenderable {
public:
    // Blend modes: untextured colour, texture x colour, alpha blended, additive.
    static constexpr u32 kBlendColor = 0;
    static constexpr u32 kBlendTexture = 1;
    static constexpr u32 kBlendAlpha = 2;
    static constexpr u32 kBlendAdditive = 3;
    static constexpr f32 kDegreesToRadians = 0.017453292f;

    AGSprite();
    // The provider's clone: every field copied, its own instance of the material and its own
    // vertex buffer.
    AGSprite(const AGSprite& other);
    ~AGSprite() override;

    u32 GetTypeKey() const override { return TypeKey::Sprite; }
    // The material is taken shared or as an instance as shared says. A truncated file leaves
    // the sprite empty (it draws nothing), with one log line.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;

    // Builds the quad. A textured sprite takes the largest texture size of its material's
    // slots (textures without pixels are skipped, keeping the file's size).
    void Initialize() override;
    // world = rotation x local (x parent), translation snapped to the pixel centre, then
    // scaled by the graphic device's screen scale. The material's slots advance their own
    // controllers.
    void Update() override;
    void Draw() override {}
    // Gives back the vertex buffer and the material.
    void Prepare() override;
    u32 GetRenderableType() const override { return kSprite; }
    void GetPosition(AGVec3& out) const override;
    void SetPosition(const AGVec2& position) override;
    void SetColor(u32) override {}
    void SetOpacity(f32) override {}
    void SetScale(const AGVec2& scale) override;
    void SetRotation(f32 degrees) override;
    void SetParentTransform(const platform::gfx::Matrix* transform) override { m_parent = transform; }
    // Places the sprite by a whole matrix (scale, rotation and position) instead of the parts.
    void SetLocal(const platform::gfx::Matrix& local) { m_local = local; }
    const platform::gfx::Matrix& GetLocal() const { return m_local; }

    // Gives the material back and takes an instance of the named one; a sprite that had no
    // texture coordinates gains them.
    void SetMaterial(const char* name);
    void ClearMaterial();
    // Gives its material back and draws with this one, given back in turn like its own.
    void TakeMaterial(AGMaterial* material);
    // Rebuilds the quad (positions and texture coordinates) from width, height and the
    // texture rectangle.
    void UpdateVertices();

    void SetSize(u32 width, u32 height) {
        m_width = width;
        m_height = height;
    }
    u32 GetWidth() const { return m_width; }
    u32 GetHeight() const { return m_height; }
    void SetTextureRect(f32 left, f32 top, f32 right, f32 bottom);
    u32 GetBlendMode() const { return m_blendMode; }
    void SetBlendMode(u32 mode) { m_blendMode = mode; }
    AGMaterial* GetMaterial() const { return m_material; }
    AGVertexBuffer* GetVertexBuffer() const { return m_vertexBuffer; }
    bool IsTextured() const { return m_textured != 0; }
    const platform::gfx::Matrix& GetWorld() const { return m_world; }

protected:
    // Recolours every vertex.
    void ApplyColor();

    AGVertexBuffer* m_vertexBuffer = nullptr;
    bool m_ownsVertexBuffer = false;
    const platform::gfx::Matrix* m_parent = nullptr;
    platform::gfx::Matrix m_local;
    platform::gfx::Matrix m_rotation;
    platform::gfx::Matrix m_world;
    u32 m_blendMode = kBlendColor;
    AGMaterial* m_material = nullptr;
    f32 m_texRect[4] = {0.0f, 0.0f, 1.0f, 1.0f};
    f32 m_degrees = 0.0f;
    u32 m_height = 190;
    u32 m_width = 390;
    u8 m_textured = 0;
    u8 m_colorDirty = 0;
    u8 m_texCoordDirty = 0;
    u8 m_positionDirty = 0;

private:
    // Vertex arrays for the quad, with texture coordinates when textured.
    bool BuildArrays();
    void SetPartMaterial();
};
