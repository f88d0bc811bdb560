#include "platform/gfx/Image.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <new>

namespace platform::gfx {

namespace {

uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Deflate turns at most 2 bits into 258 bytes: no stream expands more than 1032 times.
constexpr uint64_t kMaxDeflateRatio = 1032;

// Whether the file holds enough compressed image data for the filtered rows its header
// declares (one filter byte and the packed samples per row), before any pixel memory is
// taken: a file of a few bytes cannot make the reader allocate for a large image.
bool ImageDataCanFill(const uint8_t* bytes, size_t size) {
    constexpr size_t kIhdrEnd = 8 + 8 + 13;
    if (size < kIhdrEnd || std::memcmp(bytes + 12, "IHDR", 4) != 0)
        return false;
    const uint64_t width = BigEndian32(bytes + 16);
    const uint64_t height = BigEndian32(bytes + 20);
    const uint8_t depth = bytes[24];
    const uint8_t colorType = bytes[25];
    const uint64_t channels = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
    const uint64_t rowBytes = (width * channels * depth + 7) / 8;
    const uint64_t filtered = height * (rowBytes + 1);
    uint64_t compressed = 0;
    for (size_t at = 8; size - at >= 8;) {
        const uint64_t length = BigEndian32(bytes + at);
        const uint64_t present = std::min<uint64_t>(length, size - at - 8);
        if (std::memcmp(bytes + at + 4, "IDAT", 4) == 0)
            compressed += present;
        if (present < length || size - at - 8 - present < 4)
            break;
        at += 8 + present + 4;
    }
    // A little slack for the rounding of interlaced rows.
    return (compressed + 64) * kMaxDeflateRatio >= filtered;
}

}  // namespace

bool DecodePng(const void* bytes, size_t size, Image& out, std::string& error) {
    out = Image();
    if (!bytes || size < 8 || png_sig_cmp(static_cast<png_const_bytep>(bytes), 0, 8) != 0) {
        error = "not a PNG file";
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, bytes, size)) {
        error = std::string("unreadable PNG header: ") + image.message;
        png_image_free(&image);
        return false;
    }
    if (image.width == 0 || image.height == 0 || image.width > kMaxImageSize ||
        image.height > kMaxImageSize) {
        error = "PNG size " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                " is outside 1..8192";
        png_image_free(&image);
        return false;
    }
    if (!ImageDataCanFill(static_cast<const uint8_t*>(bytes), size)) {
        error = "PNG data too short for " + std::to_string(image.width) + " x " + std::to_string(image.height) +
                " pixels";
        png_image_free(&image);
        return false;
    }
    // The file's own format decides whether the texture keeps an alpha channel;
    // a tRNS chunk counts as alpha.
    bool hasAlpha = (image.format & PNG_FORMAT_FLAG_ALPHA) != 0;
    // B, G, R, A bytes are the little-endian u32 0xAARRGGBB.
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint32_t> pixels;
    try {
        pixels.resize(size_t(image.width) * image.height);
    } catch (const std::bad_alloc&) {
        error = "out of memory for the PNG pixels";
        png_image_free(&image);
        return false;
    }
    if (!png_image_finish_read(&image, nullptr, pixels.data(), int(image.width * 4), nullptr)) {
        error = std::string("corrupt PNG data: ") + image.message;
        png_image_free(&image);
        return false;
    }
    out.width = image.width;
    out.height = image.height;
    out.format = hasAlpha ? Format::A8R8G8B8 : Format::X8R8G8B8;
    out.pixels = std::move(pixels);
    return true;
}

void ScaleImageBox(const uint32_t* src, uint32_t srcWidth, uint32_t srcHeight, uint32_t srcPitch,
                   uint32_t* dst, uint32_t dstWidth, uint32_t dstHeight, uint32_t dstPitch) {
    if (!src || !dst || srcWidth == 0 || srcHeight == 0)
        return;
    for (uint32_t y = 0; y < dstHeight; ++y) {
        // Source rows [y0, y1) under destination row y; at least one row when enlarging.
        uint32_t y0 = uint32_t(uint64_t(y) * srcHeight / dstHeight);
        uint32_t y1 = uint32_t(uint64_t(y + 1) * srcHeight / dstHeight);
        if (y1 <= y0)
            y1 = y0 + 1;
        auto* out = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(dst) + size_t(y) * dstPitch);
        for (uint32_t x = 0; x < dstWidth; ++x) {
            uint32_t x0 = uint32_t(uint64_t(x) * srcWidth / dstWidth);
            uint32_t x1 = uint32_t(uint64_t(x + 1) * srcWidth / dstWidth);
            if (x1 <= x0)
                x1 = x0 + 1;
            uint64_t sum[4] = {0, 0, 0, 0};
            for (uint32_t sy = y0; sy < y1; ++sy) {
                const auto* row = reinterpret_cast<const uint32_t*>(
                    reinterpret_cast<const uint8_t*>(src) + size_t(sy) * srcPitch);
                for (uint32_t sx = x0; sx < x1; ++sx)
                    for (int c = 0; c < 4; ++c)
                        sum[c] += (row[sx] >> (c * 8)) & 0xFF;
            }
            uint64_t n = uint64_t(y1 - y0) * (x1 - x0);
            uint32_t value = 0;
            for (int c = 0; c < 4; ++c)
                value |= uint32_t((sum[c] + n / 2) / n) << (c * 8);
            out[x] = value;
        }
    }
}

}  // namespace platform::gfx
