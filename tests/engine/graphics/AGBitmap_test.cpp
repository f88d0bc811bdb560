// Copies between bitmap records.
#include "engine/graphics/AGBitmap.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

AGBitmap Record(std::vector<u32>& pixels, u32 width, u32 height, u32 pitch, u8 rowOrder) {
    AGBitmap b;
    b.pixels = pixels.data();
    b.width = width;
    b.height = height;
    b.bytesPerPixel = 4;
    b.pitch = pitch;
    b.rowOrder = rowOrder;
    return b;
}

TEST(AGCopyBitmap, BlockRowsAndReversedRows) {
    std::vector<u32> src = {1, 2, 3, 4, 5, 6};  // 2 x 3
    std::vector<u32> dst(6, 0);
    AGBitmap s = Record(src, 2, 3, 8, 0);
    AGBitmap d = Record(dst, 2, 3, 8, 0);
    AGCopyBitmap(d, s);
    EXPECT_EQ(dst, src);

    // A padded destination (pitch of 3 pixels) is written row by row; the padding stays.
    std::vector<u32> padded(9, 0xEE);
    AGBitmap p = Record(padded, 2, 3, 12, 0);
    AGCopyBitmap(p, s);
    EXPECT_EQ(padded, (std::vector<u32>{1, 2, 0xEE, 3, 4, 0xEE, 5, 6, 0xEE}));

    // Different row orders turn the picture upside down.
    std::fill(dst.begin(), dst.end(), 0);
    d.rowOrder = 1;
    AGCopyBitmap(d, s);
    EXPECT_EQ(dst, (std::vector<u32>{5, 6, 3, 4, 1, 2}));

    // A pitch shorter than a row copies nothing.
    std::fill(dst.begin(), dst.end(), 0);
    AGBitmap bad = Record(dst, 2, 3, 4, 0);
    AGCopyBitmap(bad, s);
    EXPECT_EQ(dst, std::vector<u32>(6, 0));
}

}  // namespace
