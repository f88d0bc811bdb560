#include "tools/authoring/DrawingWriters.h"

#include <png.h>

#include <cstring>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/ByteWriter.h"

namespace authoring {

namespace {

std::string WithHeader(const char* typeWord, const std::string& payload) {
    return ResourceHeader(typeWord, uint32_t(payload.size())) + payload;
}

}  // namespace

uint32_t NameId(const std::string& name) {
    return Crc32Hash(name.c_str());
}

std::string MaterialBytes(const MaterialData& m) {
    ByteWriter w;
    w.U32(m.diffuse).U32(m.ambient).U32(m.specular).F32(m.power).Bytes(m.alpha.Bytes());
    w.U32(uint32_t(m.slots.size()));
    for (const std::string& slot : m.slots)
        w.U32(NameId(slot));
    return WithHeader("material", w.Str());
}

std::string TextureSlotBytes(const TextureSlotData& s) {
    ByteWriter w;
    w.U32(uint32_t(s.textures.size()));
    for (const std::string& texture : s.textures)
        w.U32(NameId(texture));
    w.U32(s.controller ? 1 : 0);
    if (s.controller)
        w.U32(s.controller->frameCount).F32(s.controller->speed).F32(s.controller->frameRate);
    w.Bytes(s.uv.Bytes());
    return WithHeader("textureSlot", w.Str());
}

std::string SpriteBytes(uint32_t blendMode, uint32_t width, uint32_t height, const std::string& material) {
    ByteWriter w;
    w.U32(blendMode).U32(width).U32(height).U32(NameId(material));
    return WithHeader("sprite", w.Str());
}

std::string LightBytes(const LightData& l) {
    ByteWriter w;
    for (float v : l.transform)
        w.F32(v);
    w.U32(l.valueE).U32(l.kind).F32(l.valueA).F32(l.innerCone).F32(l.outerCone).F32(l.range);
    for (float v : l.position)
        w.F32(v);
    for (float v : l.direction)
        w.F32(v);
    w.F32(l.valueB).U32(l.diffuse).U32(l.ambient).U32(l.specular).F32(l.valueC).F32(l.valueD).U32(l.valueF);
    return WithHeader("light", w.Str());
}

std::string PngBytes(const std::vector<uint32_t>& argb, uint32_t width, uint32_t height, bool withAlpha) {
    if (width == 0 || height == 0 || argb.size() < size_t(width) * height)
        return {};
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = width;
    image.height = height;
    image.format = withAlpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
    std::vector<uint8_t> rows;
    rows.reserve(size_t(width) * height * 4);
    for (size_t i = 0; i < size_t(width) * height; ++i) {
        const uint32_t p = argb[i];
        rows.push_back(uint8_t(p));
        rows.push_back(uint8_t(p >> 8));
        rows.push_back(uint8_t(p >> 16));
        if (withAlpha)
            rows.push_back(uint8_t(p >> 24));
    }
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, rows.data(), 0, nullptr))
        return {};
    std::string out(size, '\0');
    if (!png_image_write_to_memory(&image, out.data(), &size, 0, rows.data(), 0, nullptr))
        return {};
    out.resize(size);
    return out;
}

}  // namespace authoring
