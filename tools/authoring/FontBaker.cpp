#include "tools/authoring/FontBaker.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/ByteWriter.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/PackageWriter.h"

namespace authoring {

std::string FontBytes(const FontData& f) {
    ByteWriter w;
    for (uint32_t v : f.header)
        w.U32(v);
    w.CStr(f.name).U32(f.lineHeight).U32(f.stored).U32(f.textureWidth).U32(f.textureHeight);
    w.U32(NameId(f.material)).U32(uint32_t(f.glyphs.size()));
    for (const FontGlyph& g : f.glyphs)
        w.U32(g.code).U32(g.x).U32(g.y).U32(g.width).U32(g.height).U32(g.stored0).I32(g.yOffset).U32(g.stored1);
    return ResourceHeader("font", uint32_t(w.Size())) + w.Str();
}

namespace {

struct Rendered {
    uint32_t code;
    uint32_t advance;
    int32_t left, top;
    uint32_t width, rows;
    std::vector<uint8_t> coverage;
};

}  // namespace

bool BakeFont(const std::string& ttfPath, uint32_t pixelSize, const std::vector<uint32_t>& extraCodes,
              const std::string& baseName, BakedFont& out, std::string& error, uint32_t atlasWidth) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library)) {
        error = "FreeType cannot start";
        return false;
    }
    FT_Face face = nullptr;
    if (FT_New_Face(library, ttfPath.c_str(), 0, &face) || FT_Set_Pixel_Sizes(face, 0, pixelSize)) {
        error = "cannot read the font " + ttfPath;
        if (face)
            FT_Done_Face(face);
        FT_Done_FreeType(library);
        return false;
    }
    std::vector<uint32_t> codes;
    for (uint32_t c = 32; c < 256; ++c)
        if (c < 127 || c >= 160)
            codes.push_back(c);
    for (uint32_t c : extraCodes)
        if (c > 255)
            codes.push_back(c);

    std::vector<Rendered> rendered;
    for (uint32_t code : codes) {
        if (FT_Get_Char_Index(face, code) == 0 || FT_Load_Char(face, code, FT_LOAD_RENDER))
            continue;
        const FT_GlyphSlot slot = face->glyph;
        Rendered r{code, uint32_t((slot->advance.x + 32) >> 6), slot->bitmap_left, slot->bitmap_top,
                   slot->bitmap.width, slot->bitmap.rows, {}};
        r.coverage.resize(size_t(r.width) * r.rows);
        for (uint32_t y = 0; y < r.rows; ++y)
            std::copy_n(slot->bitmap.buffer + ptrdiff_t(y) * slot->bitmap.pitch, r.width,
                        r.coverage.begin() + ptrdiff_t(y) * r.width);
        rendered.push_back(std::move(r));
    }
    const int32_t ascender = int32_t((face->size->metrics.ascender + 63) >> 6);
    const uint32_t lineHeight = uint32_t((face->size->metrics.height + 63) >> 6);
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    // Shelf packing: cells one advance wide and as tall as the ink, a pixel apart.
    FontData& font = out.font;
    font = FontData{};
    font.header[0] = pixelSize;
    font.name = baseName;
    font.lineHeight = lineHeight;
    font.material = baseName + ".mat";
    font.glyphs.assign(256, FontGlyph{});
    for (uint32_t c = 0; c < 256; ++c)
        font.glyphs[c].code = c;
    uint32_t x = 1, y = 1, shelf = 0;
    std::vector<std::pair<size_t, FontGlyph>> placed;
    for (size_t i = 0; i < rendered.size(); ++i) {
        const Rendered& r = rendered[i];
        FontGlyph g;
        g.code = r.code;
        g.width = r.advance;
        g.height = r.rows;
        g.yOffset = ascender - r.top;
        if (x + g.width + 1 > atlasWidth) {
            x = 1;
            y += shelf + 1;
            shelf = 0;
        }
        g.x = x;
        g.y = y;
        x += g.width + 1;
        shelf = std::max(shelf, g.height);
        placed.push_back({i, g});
        if (r.code < 256)
            font.glyphs[r.code] = g;
        else
            font.glyphs.push_back(g);
    }
    out.atlasWidth = atlasWidth;
    out.atlasHeight = (y + shelf + 1 + 3) & ~3u;
    out.atlas.assign(size_t(out.atlasWidth) * out.atlasHeight, 0x00FFFFFFu);
    for (const auto& [index, g] : placed) {
        const Rendered& r = rendered[index];
        for (uint32_t row = 0; row < r.rows; ++row)
            for (uint32_t col = 0; col < r.width; ++col) {
                const int32_t cx = r.left + int32_t(col);
                if (cx < 0 || cx >= int32_t(g.width))
                    continue;  // ink outside the advance is cut
                const uint8_t a = r.coverage[size_t(row) * r.width + col];
                out.atlas[size_t(g.y + row) * out.atlasWidth + g.x + uint32_t(cx)] = (uint32_t(a) << 24) | 0xFFFFFFu;
            }
    }
    font.textureWidth = out.atlasWidth;
    font.textureHeight = out.atlasHeight;
    return true;
}

void AddBakedFont(PackageWriter& package, const std::string& baseName, const BakedFont& baked) {
    const std::string slotName = baseName + "_slot";
    const std::string pngName = baseName + ".png";
    MaterialData material;
    material.slots = {slotName};
    TextureSlotData slot;
    slot.textures = {pngName};
    package.Add(baseName + ".fon", Crc32Hash("font"), FontBytes(baked.font))
        .Add(baked.font.material, Crc32Hash("material"), MaterialBytes(material))
        .Add(slotName, Crc32Hash("textureSlot"), TextureSlotBytes(slot))
        .Add(pngName, Crc32Hash("texture"), PngBytes(baked.atlas, baked.atlasWidth, baked.atlasHeight));
}

}  // namespace authoring
