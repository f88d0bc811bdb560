#pragma once
// Writers of the drawn resources' files: materials (".mat"), texture slots, sprites (".spt"),
// lights, and PNG textures. Each resource file starts with the 12-byte header of
// ResourceHeader (TrackWriter.h); PNG files have none. Cross-references are name ids: the
// CRC-32 of the referenced file's name as it stands in the package.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/authoring/TrackWriter.h"

namespace authoring {

// The name id of a file name (0 for an empty name: no reference).
uint32_t NameId(const std::string& name);

struct MaterialData {
    uint32_t diffuse = 0xFFFFFFFFu;
    uint32_t ambient = 0xFFFFFFFFu;
    uint32_t specular = 0xFFFFFFFFu;
    float power = 0.0f;
    Track alpha = Track::Float();
    std::vector<std::string> slots;  // texture-slot names
};
// u32 diffuse, ambient, specular; f32 power; alpha track; u32 N; N slot ids.
std::string MaterialBytes(const MaterialData& material);

struct SlotController {
    uint32_t frameCount = 1;
    float speed = 1.0f;
    float frameRate = 30.0f;
};
struct TextureSlotData {
    std::vector<std::string> textures;  // texture (PNG) names
    std::optional<SlotController> controller;
    Track uv = Track::UV();
};
// u32 T; T texture ids; u32 own-controller flag; [u32 frame count, f32 speed, f32 rate]; UV track.
std::string TextureSlotBytes(const TextureSlotData& slot);

// u32 blend mode, width, height, material id (no material for an empty name).
std::string SpriteBytes(uint32_t blendMode, uint32_t width, uint32_t height, const std::string& material);

struct LightData {
    float transform[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    uint32_t valueE = 0;
    uint32_t kind = 0;  // 0 point, 1 spot, 2 directional
    float valueA = 0.0f;
    float innerCone = 0.0f;  // degrees
    float outerCone = 0.0f;
    float range = 0.0f;
    float position[3] = {};
    float direction[3] = {0, 0, 1};
    float valueB = 0.0f;
    uint32_t diffuse = 0xFFFFFFFFu;
    uint32_t ambient = 0xFF000000u;
    uint32_t specular = 0xFF000000u;
    float valueC = 0.0f;
    float valueD = 0.0f;
    uint32_t valueF = 0;
};
// 152 bytes.
std::string LightBytes(const LightData& light);

// A PNG of width x height u32 ARGB pixels, rows top first (RGBA when withAlpha, else RGB).
// Empty on failure.
std::string PngBytes(const std::vector<uint32_t>& argb, uint32_t width, uint32_t height,
                     bool withAlpha = true);

}  // namespace authoring
