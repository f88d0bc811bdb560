#include "engine/graphics/AGFont.h"

#include <cstring>

#include "engine/core/AGLog.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGResourceHolds.h"

AGFont::AGFont(const AGFont& other)
    : AGResource(other),
      m_current(other.m_current),
      m_name(other.m_name),
      m_lineHeight(other.m_lineHeight),
      m_stored(other.m_stored),
      m_textureWidth(other.m_textureWidth),
      m_textureHeight(other.m_textureHeight),
      m_materialId(other.m_materialId),
      m_glyphs(other.m_glyphs) {
    std::memcpy(m_header, other.m_header, sizeof m_header);
    m_material = AGTakeResource<AGMaterial>(TypeKey::Material, m_materialId, false);
}

void AGFont::Load(AGMemBuffer* buffer, u32 a, bool inPlace, bool shared) {
    Unload();
    if (!buffer)
        return;
    AGMemBuffer& b = *buffer;
    b.Skip(12);
    for (u32& value : m_header)
        value = b.ReadU32();
    if (!b.Failed() && b.ReadString())
        m_name = b.LastString().c_str();
    m_lineHeight = b.ReadU32();
    m_stored = b.ReadU32();
    m_textureWidth = b.ReadU32();
    m_textureHeight = b.ReadU32();
    m_materialId = b.ReadU32();
    const u32 count = b.ReadU32();
    if (!b.Failed() && count != 0) {
        if (!b.CheckCount(count, sizeof(AGGlyph)) || !m_glyphs.Resize(count)) {
            b.SetFailed();
        } else {
            for (AGGlyph& g : m_glyphs) {
                g.code = b.ReadU32();
                g.x = b.ReadU32();
                g.y = b.ReadU32();
                g.width = b.ReadU32();
                g.height = b.ReadU32();
                g.stored0 = b.ReadU32();
                g.yOffset = b.ReadI32();
                g.stored1 = b.ReadU32();
            }
        }
    }
    if (b.Failed()) {
        Unload();
        m_lineHeight = m_stored = m_textureWidth = m_textureHeight = m_materialId = 0;
        std::memset(m_header, 0, sizeof m_header);
        m_name = "";
        AGReport("Font 0x%08X: truncated or corrupt file, left empty.", NameId());
        return;
    }
    m_material = AGTakeResource<AGMaterial>(TypeKey::Material, m_materialId, shared, a, inPlace);
}

void AGFont::Unload() {
    AGGiveBackResource(TypeKey::Material, m_material);
    m_material = nullptr;
    m_glyphs.Release();
    m_current = AGGlyph{};
}

const AGGlyph* AGFont::Find(u32 code) const {
    const u32 count = m_glyphs.Count();
    if (code <= 255)
        return code < count ? &m_glyphs[code] : nullptr;
    for (u32 i = 256; i < count; ++i)
        if (m_glyphs[i].code == code)
            return &m_glyphs[i];
    return nullptr;
}

const AGGlyph& AGFont::GetGlyph(u32 code) {
    if (code == '\t' || code == '\n' || code == '\r')
        return m_current;
    const AGGlyph* glyph = Find(code);
    if (!glyph)
        glyph = Find(kReplacementCode);
    m_current = glyph ? *glyph : AGGlyph{};
    return m_current;
}

bool AGFont::GetTextureSize(u32& width, u32& height) const {
    if (m_textureWidth != 0 && m_textureHeight != 0) {
        width = m_textureWidth;
        height = m_textureHeight;
        return true;
    }
    return m_material && m_material->GetLargestTextureSize(width, height);
}
