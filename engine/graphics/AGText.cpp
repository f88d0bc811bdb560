#include "engine/graphics/AGText.h"

#include "engine/core/AGLog.h"
#include "engine/graphics/AGFont.h"
#include "engine/graphics/AGResourceHolds.h"
#include "engine/graphics/AGSprite.h"
#include "engine/graphics/AGVertexBuffer.h"
#include "platform/gfx/GfxMath.h"

using namespace platform::gfx;

namespace {

constexpr f32 kDegreesToRadians = 0.017453292f;

bool IsBlank(u32 c) {
    return c == '\t' || c == '\n' || c == '\r' || c == ' ';
}

}  // namespace

u32 AGText::DecodeCharacter(const char* s, u32 length, u32& pos, bool utf8) {
    const u8 lead = u8(s[pos++]);
    if (!utf8 || lead < 0x80)
        return lead;
    u32 more, code;
    if (lead >= 0xC0 && lead <= 0xDF) {
        more = 1;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF7) {
        more = 3;
        code = lead & 0x07u;
    } else {
        return '?';
    }
    if (length - pos < more) {
        pos = length;  // cut by the end of the string
        return '?';
    }
    for (u32 i = 0; i < more; ++i) {
        const u8 next = u8(s[pos + i]);
        if ((next & 0xC0u) != 0x80u)
            return '?';  // not a continuation: the lead alone is dropped
        code = (code << 6) | (next & 0x3Fu);
    }
    pos += more;
    return code;
}

AGText::AGText()
    : m_rotation(MatrixIdentity()), m_translation(MatrixIdentity()), m_world(MatrixIdentity()) {
    m_color = kMagenta;
}

AGText::AGText(const AGText& other)
    : AGResource(other),
      AGRenderable(other),
      m_font(other.m_font),
      m_rotation(other.m_rotation),
      m_translation(other.m_translation),
      m_world(other.m_world),
      m_parent(other.m_parent),
      m_degrees(other.m_degrees),
      m_radians(other.m_radians),
      m_pivot(other.m_pivot),
      m_scale(other.m_scale),
      m_vAlign(other.m_vAlign),
      m_hAlign(other.m_hAlign),
      m_blendMode(other.m_blendMode),
      m_spaceWidth(other.m_spaceWidth),
      m_letterSpacing(other.m_letterSpacing),
      m_string(other.m_string),
      m_utf8(other.m_utf8) {
    for (int i = 0; i < 4; ++i)
        m_box[i] = other.m_box[i];
}

AGText::~AGText() {
    AGText::Prepare();
}

void AGText::Prepare() {
    AGGiveBackRunTimeVertexBuffer(m_vertexBuffer, m_ownsVertexBuffer);
    m_vertexBuffer = nullptr;
    m_ownsVertexBuffer = false;
    m_indices.Release();
    m_glyphCount = m_placedCount = m_primitiveCount = 0;
}

void AGText::Initialize() {
    m_indices.Release();
    AGGiveBackRunTimeVertexBuffer(m_vertexBuffer, m_ownsVertexBuffer);
    m_vertexBuffer = AGTakeRunTimeVertexBuffer(NameId(), DirectoryId(), m_ownsVertexBuffer);
    const u32 n = m_glyphCount;
    if (!m_vertexBuffer->Create(4 * n, 4 * n, 4 * n) || !m_indices.Resize(6 * n)) {
        m_vertexBuffer->Clear();
        m_indices.Release();
        m_glyphCount = 0;
    }
    for (u32 g = 0; g < m_glyphCount; ++g) {
        static const u16 kQuad[6] = {0, 1, 2, 3, 2, 1};
        for (u32 i = 0; i < 6; ++i)
            m_indices[6 * g + i] = u16(4 * g + kQuad[i]);
    }
    SetRotation(m_degrees);
    SetFlags(kDistanceSorted);
}

void AGText::Update() {
    Matrix world = MatrixMultiply(m_rotation, m_translation);
    if (m_parent)
        world = MatrixMultiply(world, *m_parent);
    m_world = AGSnappedScreenWorld(world);
}

void AGText::GetPosition(AGVec3& out) const {
    out = TranslationOf(m_translation);
}

void AGText::SetPosition(const AGVec2& position) {
    SetTranslation(m_translation, position);
}

void AGText::SetRotation(f32 degrees) {
    m_degrees = degrees;
    m_radians = degrees * kDegreesToRadians;
    Matrix to = MatrixIdentity(), back = MatrixIdentity();
    to.m[12] = -m_pivot.x;
    to.m[13] = -m_pivot.y;
    to.m[14] = -m_pivot.z;
    back.m[12] = m_pivot.x;
    back.m[13] = m_pivot.y;
    back.m[14] = m_pivot.z;
    m_rotation = MatrixMultiply(MatrixMultiply(to, MatrixRotationZ(m_radians)), back);
}

void AGText::SetBox(f32 left, f32 top, f32 right, f32 bottom) {
    m_box[0] = left;
    m_box[1] = top;
    m_box[2] = right;
    m_box[3] = bottom;
}

void AGText::SetBlendMode(u32 mode) {
    m_blendMode = mode;
    if (m_attribute.PartCount() > 0)
        m_attribute.m_renderTypes[0] = mode == 3 ? AGRenderAttribute::kAdditive : AGRenderAttribute::kDiffuseAlpha;
}

void AGText::ResetEmpty() {
    m_placedCount = 0;
    m_primitiveCount = 0;
    PublishCounts();
}

void AGText::PublishCounts() {
    if (m_attribute.PartCount() == 0)
        return;
    m_attribute.m_vertexCounts[0] = 4 * m_placedCount;
    m_attribute.m_primitiveCounts[0] = m_primitiveCount;
    m_attribute.m_materials[0] = m_font ? m_font->GetMaterial() : nullptr;
}

void AGText::ApplyColor() {
    if (!m_vertexBuffer)
        return;
    for (u32& c : m_vertexBuffer->m_colors)
        c = m_color;
    m_colorDirty = 1;
}

f32 AGText::MeasureWord(const char* s, u32 length, u32 pos) {
    f32 width = 0.0f;
    while (pos < length) {
        const u32 c = DecodeCharacter(s, length, pos, m_utf8);
        if (IsBlank(c))
            break;
        width += f32(m_font->GetGlyph(c).width) * m_scale.x;
    }
    return width;
}

f32 AGText::MeasureText(const AGString& text, bool utf8) {
    if (!m_font)
        return 0.0f;
    const char* s = text.c_str();
    const u32 length = text.Length();
    f32 width = 0.0f;
    for (u32 pos = 0; pos < length;) {
        const u32 c = DecodeCharacter(s, length, pos, utf8);
        if (c == '\n')
            break;
        if (c == ' ' || c == '\t')
            width += f32(m_spaceWidth) * m_scale.x;
        else if (c != '\r')
            width += f32(m_font->GetGlyph(c).width) * m_scale.x;
    }
    return width;
}

void AGText::MoveQuads(u32 first, u32 end, f32 dx, f32 dy) {
    if (first >= end || (dx == 0.0f && dy == 0.0f))
        return;
    AGVec3* p = m_vertexBuffer->m_positions.Data();
    for (u32 v = 4 * first; v < 4 * end; ++v) {
        p[v].x += dx;
        p[v].y += dy;
    }
    m_positionDirty = 1;
}

void AGText::AlignLine(u32 first, u32 end, f32 penX) {
    const f32 free = (m_box[2] - m_box[0]) - penX;
    if (m_hAlign == kAlignCentre)
        MoveQuads(first, end, free * 0.5f, 0.0f);
    else if (m_hAlign == kAlignEnd)
        MoveQuads(first, end, free, 0.0f);
}

void AGText::Layout(const AGString& text, bool utf8) {
    m_string = text;
    m_utf8 = utf8;
    const char* s = m_string.c_str();
    const u32 length = m_string.Length();
    u32 visible = 0;
    for (u32 pos = 0; pos < length;)
        if (!IsBlank(DecodeCharacter(s, length, pos, utf8)))
            ++visible;
    u32 texWidth = 0, texHeight = 0;
    if (visible == 0 || !m_font || !m_font->GetTextureSize(texWidth, texHeight)) {
        m_string = " ";
        m_utf8 = false;
        ResetEmpty();
        return;
    }
    m_glyphCount = visible < kMaxGlyphs ? visible : kMaxGlyphs;
    m_placedCount = 0;
    m_primitiveCount = 0;
    Initialize();
    s = m_string.c_str();

    const f32 boxW = m_box[2] - m_box[0], boxH = m_box[3] - m_box[1];
    const f32 lineAdvance = f32(m_font->GetLineHeight()) * m_scale.y;
    const f32 spaceAdvance = f32(m_spaceWidth) * m_scale.x;
    const f32 invW = 1.0f / f32(texWidth), invH = 1.0f / f32(texHeight);
    AGVec3* positions = m_vertexBuffer->m_positions.Data();
    AGVec2* uvs = m_vertexBuffer->m_texCoords.Data();
    f32 penX = 0.0f, penY = 0.0f;
    u32 lineStart = 0, g = 0;
    auto newLine = [&] {
        AlignLine(lineStart, g, penX);
        penX = 0.0f;
        penY += lineAdvance;
        lineStart = g;
    };
    for (u32 pos = 0; pos < length && g < m_glyphCount;) {
        const u32 c = DecodeCharacter(s, length, pos, utf8);
        if (c == '\r')
            continue;
        if (c == '\n') {
            newLine();
            continue;
        }
        if (c == ' ' || c == '\t') {
            if (penX + MeasureWord(s, length, pos) + spaceAdvance >= boxW)
                newLine();
            else
                penX += spaceAdvance;
            continue;
        }
        const AGGlyph glyph = m_font->GetGlyph(c);
        const f32 gw = f32(glyph.width) * m_scale.x;
        const f32 gh = f32(glyph.height) * m_scale.y;
        const f32 oy = f32(glyph.yOffset) * m_scale.y;
        // A glyph wider than the box goes on a line of its own, without an empty line first.
        if (penX > 0.0f && penX + gw >= boxW)
            newLine();
        if (penY + oy + gh >= boxH)
            break;
        if (gw >= 0.0f && gh >= 0.0f) {
            const f32 x = penX, y = penY + oy;
            AGVec3* q = positions + 4 * g;
            q[0] = {x, y, 0.0f};
            q[1] = {x + gw, y, 0.0f};
            q[2] = {x, y + gh, 0.0f};
            q[3] = {x + gw, y + gh, 0.0f};
            const f32 u0 = f32(glyph.x) * invW, v0 = f32(glyph.y) * invH;
            const f32 u1 = f32(glyph.x + glyph.width) * invW, v1 = f32(glyph.y + glyph.height) * invH;
            AGVec2* t = uvs + 4 * g;
            t[0] = {u0, v0};
            t[1] = {u1, v0};
            t[2] = {u0, v1};
            t[3] = {u1, v1};
            ++g;
            m_texCoordDirty = 1;
        }
        penX += f32(m_letterSpacing) * m_scale.x + gw;
    }
    AlignLine(lineStart, g, penX);
    const f32 freeH = boxH - penY - lineAdvance;
    if (m_vAlign == kAlignCentre)
        MoveQuads(0, g, 0.0f, freeH * 0.5f);
    else if (m_vAlign == kAlignEnd)
        MoveQuads(0, g, 0.0f, freeH);
    m_positionDirty = 1;
    m_placedCount = g;
    m_primitiveCount = 2 * g;
    ApplyColor();
    PublishCounts();
    SetFlags(kActive);
}

u32 ParseColorText(const char* text) {
    if (!text || !*text)
        return AGText::kMagenta;
    const char* p = text;
    while (*p == ' ' || *p == '\t')
        ++p;
    if (*p == '#')
        ++p;
    else if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
        p += 2;
    u32 value = 0;
    const char* digits = p;
    for (; *p; ++p) {
        const char c = *p;
        u32 d;
        if (c >= '0' && c <= '9')
            d = u32(c - '0');
        else if (c >= 'a' && c <= 'f')
            d = u32(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            d = u32(c - 'A' + 10);
        else
            break;
        value = (value << 4) | d;
    }
    if (p == digits || p - digits > 8) {
        AGReport("Colour text \"%s\" is not an ARGB hexadecimal number.", text);
        if (p != digits)
            value = 0xFFFFFFFFu;  // out of range, as an unsigned 32-bit reading saturates
    }
    return value;
}

void SetRenderableColor(const char* text, AGRenderable* renderable) {
    if (renderable)
        renderable->SetColor(ParseColorText(text));
}
