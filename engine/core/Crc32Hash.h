#pragma once
// Name ids: reflected CRC-32 (polynomial 0xEDB88320), start value = seed, no final
// inversion. A null or empty text gives 0 whatever the seed; "abc" gives 0xCA6598D0.
#include "engine/core/AGTypes.h"

namespace crc32_detail {
constexpr u32 Entry(u32 i) {
    u32 c = i;
    for (int k = 0; k < 8; ++k)
        c = (c & 1) ? (c >> 1) ^ 0xEDB88320u : c >> 1;
    return c;
}
struct Table {
    u32 v[256];
    constexpr Table() : v() {
        for (u32 i = 0; i < 256; ++i)
            v[i] = Entry(i);
    }
};
inline constexpr Table kTable{};
}  // namespace crc32_detail

constexpr u32 Crc32Hash(const char* text, u32 seed = 0) {
    if (!text || !*text)
        return 0;
    u32 crc = seed;
    for (; *text; ++text)
        crc = (crc >> 8) ^ crc32_detail::kTable.v[(crc ^ static_cast<u8>(*text)) & 0xFFu];
    return crc;
}

// Hash of the first count bytes (no terminator needed).
constexpr u32 Crc32Hash(const char* text, size_t count, u32 seed) {
    if (!text || count == 0)
        return 0;
    u32 crc = seed;
    for (size_t i = 0; i < count; ++i)
        crc = (crc >> 8) ^ crc32_detail::kTable.v[(crc ^ static_cast<u8>(text[i])) & 0xFFu];
    return crc;
}

// Ids of the resource type words; the provider registry is keyed by these.
namespace TypeKey {
inline constexpr u32 Data = Crc32Hash("data");
inline constexpr u32 Directory = Crc32Hash("directory");
inline constexpr u32 MemoryMapping = Crc32Hash("memoryMapping");
inline constexpr u32 Localization = Crc32Hash("localization");
inline constexpr u32 PrsAnimation = Crc32Hash("prsAnimation");
inline constexpr u32 PrscAnimation = Crc32Hash("prscAnimation");
inline constexpr u32 SkeletonPrsAnimation = Crc32Hash("skeletonPrsAnimation");
inline constexpr u32 VertexBuffer = Crc32Hash("vertexBuffer");
inline constexpr u32 Texture = Crc32Hash("texture");
inline constexpr u32 Scene3D = Crc32Hash("scene3D");
inline constexpr u32 Light = Crc32Hash("light");
inline constexpr u32 Font = Crc32Hash("font");
inline constexpr u32 Sprite = Crc32Hash("sprite");
inline constexpr u32 Material = Crc32Hash("material");
inline constexpr u32 TextureSlot = Crc32Hash("textureSlot");
inline constexpr u32 Renderer = Crc32Hash("renderer");
inline constexpr u32 Camera = Crc32Hash("camera");
inline constexpr u32 Emitter3D = Crc32Hash("emitter3D");
inline constexpr u32 VertexBufferDynamic = Crc32Hash("vertexBufferDynamic");
inline constexpr u32 Mesh = Crc32Hash("mesh");
inline constexpr u32 Model = Crc32Hash("model");
inline constexpr u32 Skeleton = Crc32Hash("skeleton");
inline constexpr u32 Text = Crc32Hash("text");
inline constexpr u32 Sound = Crc32Hash("sound");

// The 23 words that have a resource provider, in registration order ("memoryMapping" has none).
inline constexpr u32 kProviderWords[23] = {
    Data, Directory, Localization, PrsAnimation, PrscAnimation, SkeletonPrsAnimation,
    VertexBuffer, Texture, Scene3D, Light, Font, Sprite, Material, TextureSlot,
    Renderer, Camera, Emitter3D, VertexBufferDynamic, Mesh, Model, Skeleton, Text, Sound};
// The type word of an id of the list above ("memoryMapping" included); null for any other id.
constexpr const char* Word(u32 id) {
    constexpr const char* kWords[] = {
        "data", "directory", "memoryMapping", "localization", "prsAnimation", "prscAnimation",
        "skeletonPrsAnimation", "vertexBuffer", "texture", "scene3D", "light", "font", "sprite", "material",
        "textureSlot", "renderer", "camera", "emitter3D", "vertexBufferDynamic", "mesh", "model", "skeleton",
        "text", "sound"};
    for (const char* word : kWords)
        if (Crc32Hash(word) == id)
            return word;
    return nullptr;
}
}  // namespace TypeKey

static_assert(Crc32Hash("abc") == 0xCA6598D0u);
