#pragma once
// Fonts (".fon") and the baker that makes them from a TrueType font with FreeType: each glyph
// is rendered into one atlas texture (white, coverage in alpha), and the package gets the
// font, its material, texture slot and atlas PNG.
//
// Font file: 12-byte header; 8 u32 header values (value 0: the pixel size); name and a NUL;
// u32 line height; u32 stored value; u32 texture width; u32 texture height; u32 material id;
// u32 glyph count G; G records of {u32 code, x, y, width (= advance), height, stored, i32 y
// offset, stored}. Records 0-255 are indexed by code; codes above 255 follow from record 256.
#include <cstdint>
#include <string>
#include <vector>

namespace authoring {

class PackageWriter;

struct FontGlyph {
    uint32_t code = 0;
    uint32_t x = 0, y = 0;
    uint32_t width = 0, height = 0;
    uint32_t stored0 = 0;
    int32_t yOffset = 0;
    uint32_t stored1 = 0;
};

struct FontData {
    uint32_t header[8] = {};
    std::string name;
    uint32_t lineHeight = 0;
    uint32_t stored = 0;
    uint32_t textureWidth = 0;
    uint32_t textureHeight = 0;
    std::string material;  // material name (no material when empty)
    std::vector<FontGlyph> glyphs;
};
std::string FontBytes(const FontData& font);

struct BakedFont {
    FontData font;
    std::vector<uint32_t> atlas;  // ARGB, rows top first
    uint32_t atlasWidth = 0;
    uint32_t atlasHeight = 0;
};

// Renders codes 32-126 and 160-255 (records 0-255, empty where the font has no glyph) and
// the extra codes above 255 (records from 256 on) at pixelSize pixels. The atlas is
// atlasWidth pixels wide and as tall as needed; cells are one advance wide and as tall as
// the glyph's ink, with a pixel between them. baseName names the font's own material.
// False, with the reason in error, when the font file cannot be read.
bool BakeFont(const std::string& ttfPath, uint32_t pixelSize, const std::vector<uint32_t>& extraCodes,
              const std::string& baseName, BakedFont& out, std::string& error,
              uint32_t atlasWidth = 256);

// Adds "<base>.fon", "<base>.mat", "<base>_slot" and "<base>.png" (base as given to BakeFont).
void AddBakedFont(PackageWriter& package, const std::string& baseName, const BakedFont& baked);

}  // namespace authoring
