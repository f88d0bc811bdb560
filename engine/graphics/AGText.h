#pragma once
// "text": a string shown in a box with a bitmap font, built at run time (its loader reads
// nothing). Renderable type 4. Layout turns the string into one textured quad per visible
// character, breaks lines at line feeds and by word wrap inside the box (a word wider than
// the box breaks between characters), aligns each line horizontally and the block vertically,
// and colours every vertex with the text colour.
//
// The string's bytes are one character each unless the text is told they are UTF-8; then an
// invalid lead byte, or a sequence cut short, shows as "?".
//
// Each glyph has four vertices (top-left, top-right, bottom-left, bottom-right) and six
// indices 0, 1, 2, 3, 2, 1. Only the glyphs layout placed are drawn.
#include "engine/core/AGResource.h"
#include "engine/core/AGVec3.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/TString.h"
#include "engine/graphics/AGOwnedBuffer.h"
#include "engine/graphics/AGRenderable.h"
#include "platform/gfx/GfxTypes.h"

class AGFont;
class AGVertexBuffer;

class AGText : public AGResource, public AGRenderable {
public:
    // 16-bit indices reach 65,536 vertices: 16,383 glyphs at most.
    static constexpr u32 kMaxGlyphs = 16383;
    // Alignments: horizontal 1 centre, 2 right, other left; vertical 1 middle, 2 bottom, other
    // top.
    static constexpr u32 kAlignCentre = 1;
    static constexpr u32 kAlignEnd = 2;
    static constexpr u32 kMagenta = 0xFFFF00FFu;

    AGText();
    // The provider's clone: settings and string copied, laid out again.
    AGText(const AGText& other);
    ~AGText() override;

    u32 GetTypeKey() const override { return TypeKey::Text; }
    void Load(AGMemBuffer*, u32, bool, bool) override {}

    // Quad and index arrays for the current glyph count; the rotation is applied again; the
    // text is drawn as transparent (flag 8).
    void Initialize() override;
    // world = rotation x translation (x parent), snapped to the pixel centre, then scaled by
    // the graphic device's screen scale.
    void Update() override;
    void Draw() override {}
    // Gives back the vertex buffer.
    void Prepare() override;
    u32 GetRenderableType() const override { return kText; }
    void GetPosition(AGVec3& out) const override;
    void SetPosition(const AGVec2& position) override;
    void SetColor(u32) override {}
    void SetOpacity(f32) override {}
    // Glyph scale of the next layout.
    void SetScale(const AGVec2& scale) override { m_scale = scale; }
    // Degrees, about the pivot.
    void SetRotation(f32 degrees) override;
    void SetParentTransform(const platform::gfx::Matrix* transform) override { m_parent = transform; }

    // Lays the string out. An empty string, or one of blanks and line breaks only, becomes " "
    // and draws nothing; so does a text without a font or without a known font texture size.
    void Layout(const AGString& text, bool utf8 = false);
    // Width of the first line: advances times scale x up to the first line feed, spaces and
    // tabs counting as the space width.
    f32 MeasureText(const AGString& text, bool utf8 = false);

    // Not held: the owner of the text keeps the font.
    void SetFont(AGFont* font) { m_font = font; }
    AGFont* GetFont() const { return m_font; }
    void SetBox(f32 left, f32 top, f32 right, f32 bottom);
    void SetAlignment(u32 horizontal, u32 vertical) {
        m_hAlign = horizontal;
        m_vAlign = vertical;
    }
    void SetSpaceWidth(u32 pixels) { m_spaceWidth = pixels; }
    void SetLetterSpacing(i32 pixels) { m_letterSpacing = pixels; }
    void SetPivot(const AGVec3& pivot) { m_pivot = pivot; }
    // 2 alpha blended, 3 additive; also the render type the text is drawn with.
    void SetBlendMode(u32 mode);
    u32 GetBlendMode() const { return m_blendMode; }

    const AGString& GetString() const { return m_string; }
    bool IsUtf8() const { return m_utf8; }
    // Glyphs the arrays hold room for (visible characters of the string).
    u32 GlyphCount() const { return m_glyphCount; }
    // Glyphs layout placed, and the triangles they make.
    u32 PlacedGlyphCount() const { return m_placedCount; }
    u32 PrimitiveCount() const { return m_primitiveCount; }
    AGVertexBuffer* GetVertexBuffer() const { return m_vertexBuffer; }
    const AGOwnedBuffer<u16>& Indices() const { return m_indices; }
    const platform::gfx::Matrix& GetWorld() const { return m_world; }

    // The next character code of s at pos (advanced past it).
    static u32 DecodeCharacter(const char* s, u32 length, u32& pos, bool utf8);

protected:
    // The text draws nothing until the next layout.
    virtual void ResetEmpty();
    // Recolours every vertex.
    void ApplyColor();
    // Sets the render attribute's counts and material from the layout.
    void PublishCounts();

    AGVertexBuffer* m_vertexBuffer = nullptr;
    bool m_ownsVertexBuffer = false;
    AGOwnedBuffer<u16> m_indices;
    AGFont* m_font = nullptr;
    f32 m_box[4] = {};  // left, top, right, bottom
    platform::gfx::Matrix m_rotation;
    platform::gfx::Matrix m_translation;
    platform::gfx::Matrix m_world;
    const platform::gfx::Matrix* m_parent = nullptr;
    f32 m_degrees = 0.0f;
    f32 m_radians = 0.0f;
    AGVec3 m_pivot;
    AGVec2 m_scale{1.0f, 1.0f};
    u32 m_glyphCount = 0;
    u32 m_placedCount = 0;
    u32 m_primitiveCount = 0;
    u32 m_vAlign = 3;
    u32 m_hAlign = 3;
    u32 m_blendMode = 2;
    u32 m_spaceWidth = 6;
    i32 m_letterSpacing = 0;
    AGString m_string;
    bool m_utf8 = false;
    u8 m_positionDirty = 0;
    u8 m_colorDirty = 0;
    u8 m_texCoordDirty = 0;

private:
    f32 MeasureWord(const char* s, u32 length, u32 pos);
    // Moves the quads of glyphs [first, end) by (dx, dy).
    void MoveQuads(u32 first, u32 end, f32 dx, f32 dy);
    void AlignLine(u32 first, u32 end, f32 penX);
};

// Colours a renderable from hexadecimal text (alpha, red, green, blue), with or without a
// leading "0x" or "#"; an empty text gives opaque magenta.
void SetRenderableColor(const char* text, AGRenderable* renderable);
// The colour such a text stands for.
u32 ParseColorText(const char* text);
