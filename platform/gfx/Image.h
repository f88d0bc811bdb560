#pragma once
// Images in memory: u32 ARGB pixels (A8R8G8B8 layout), rows top first.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/GfxTypes.h"

namespace platform::gfx {

struct Image {
    uint32_t width = 0;
    uint32_t height = 0;
    Format format = Format::Unknown;  // A8R8G8B8 when the file carries alpha
    std::vector<uint32_t> pixels;     // width * height, no row padding
};

// Largest width or height a texture or decoded image may have.
inline constexpr uint32_t kMaxImageSize = 8192;

// Decodes a PNG held in memory (palette, grey, 16-bit and transparency chunks are
// expanded to 8-bit ARGB). False with a one-line reason in error on a bad or oversized file.
bool DecodePng(const void* bytes, size_t size, Image& out, std::string& error);

// Scales a whole source image onto a destination with a box filter: each destination pixel
// is the average of the source pixels its area covers. Pitches are in bytes.
void ScaleImageBox(const uint32_t* src, uint32_t srcWidth, uint32_t srcHeight, uint32_t srcPitch,
                   uint32_t* dst, uint32_t dstWidth, uint32_t dstHeight, uint32_t dstPitch);

}  // namespace platform::gfx
