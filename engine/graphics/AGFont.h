#pragma once
// "font" (".fon"): a bitmap font: glyph rectangles inside one texture that is drawn through a
// material. Records 0-255 are looked up directly by character code; codes above 255 are
// searched among the records from 256 on.
//
// File: 12-byte header (skipped); 8 u32 header values (value 0 is the pixel size the font was
// made at); name bytes and a NUL; u32 line height; u32 stored value; u32 texture width; u32
// texture height; u32 material name id; u32 glyph count G; G 32-byte glyph records. Nothing
// after the name is aligned.
#include "engine/core/AGResource.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/TString.h"
#include "engine/graphics/AGOwnedBuffer.h"

class AGMaterial;

// One glyph, the same in memory and in the file.
struct AGGlyph {
    u32 code = 0;
    u32 x = 0;  // top-left corner in the texture, pixels
    u32 y = 0;
    u32 width = 0;  // pixels; also the advance
    u32 height = 0;
    u32 stored0 = 0;
    i32 yOffset = 0;  // added to the pen's y when the glyph is placed
    u32 stored1 = 0;
};
static_assert(sizeof(AGGlyph) == 32);

class AGFont : public AGResource {
public:
    static constexpr u32 kReplacementCode = '?';

    AGFont() = default;
    // The provider's clone: fields and glyphs copied, its own instance of the material.
    AGFont(const AGFont& other);
    ~AGFont() override { Unload(); }

    u32 GetTypeKey() const override { return TypeKey::Font; }
    // The material is taken shared or as an instance as shared says. A truncated or corrupt
    // file leaves the font without glyphs, with one log line.
    void Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) override;
    // Gives the material back and frees the glyphs.
    void Unload() override;

    // Copies the glyph of a code into the current glyph and returns it. Tab, line feed and
    // carriage return leave the current glyph as it is. A code no record holds gives the
    // font's "?" glyph, or an empty glyph (width 0) when the font has none.
    const AGGlyph& GetGlyph(u32 code);
    const AGGlyph& CurrentGlyph() const { return m_current; }

    // The texture size text coordinates are divided by: the file's, else the material's
    // texture size. False when neither is known.
    bool GetTextureSize(u32& width, u32& height) const;

    u32 GetHeaderValue(u32 index) const { return index < 8 ? m_header[index] : 0; }
    const AGString& GetName() const { return m_name; }
    u32 GetLineHeight() const { return m_lineHeight; }
    AGMaterial* GetMaterial() const { return m_material; }
    u32 GlyphCount() const { return m_glyphs.Count(); }
    const AGGlyph* GetRecord(u32 index) const { return index < m_glyphs.Count() ? &m_glyphs[index] : nullptr; }

private:
    // The record for a code, or null.
    const AGGlyph* Find(u32 code) const;

    AGGlyph m_current;
    u32 m_header[8] = {};
    AGString m_name;
    u32 m_lineHeight = 0;
    u32 m_stored = 0;
    u32 m_textureWidth = 0;
    u32 m_textureHeight = 0;
    u32 m_materialId = 0;
    AGMaterial* m_material = nullptr;
    AGOwnedBuffer<AGGlyph> m_glyphs;
};
