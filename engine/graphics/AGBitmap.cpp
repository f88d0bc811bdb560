#include "engine/graphics/AGBitmap.h"

#include <algorithm>
#include <cstring>

void AGCopyBitmap(AGBitmap& destination, const AGBitmap& source) {
    if (!destination.pixels || !source.pixels || destination.bytesPerPixel != source.bytesPerPixel)
        return;
    u32 width = std::min(destination.width, source.width);
    u32 height = std::min(destination.height, source.height);
    size_t rowBytes = size_t(width) * source.bytesPerPixel;
    if (rowBytes > source.pitch || rowBytes > destination.pitch)
        return;
    if (source.width == destination.width && source.height == destination.height &&
        source.pitch == rowBytes && destination.pitch == rowBytes &&
        source.rowOrder == destination.rowOrder) {
        std::memcpy(destination.pixels, source.pixels, rowBytes * height);
        return;
    }
    bool reverse = source.rowOrder != destination.rowOrder;
    for (u32 y = 0; y < height; ++y) {
        u32 from = reverse ? height - 1 - y : y;
        std::memcpy(static_cast<u8*>(destination.pixels) + size_t(y) * destination.pitch,
                    static_cast<const u8*>(source.pixels) + size_t(from) * source.pitch, rowBytes);
    }
}
