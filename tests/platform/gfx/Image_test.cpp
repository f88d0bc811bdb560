// PNG decoding and the box-filter scale.
#include "platform/gfx/Image.h"

#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace platform::gfx;

TEST(DecodePng, ExpandsToArgbAndReportsAlpha) {
    std::vector<uint32_t> texels = {0xFF102030, 0xFFFFFFFF, 0xFF000000, 0xFF80FF01, 0xFF7F7F7F, 0xFF010203};
    std::string png = gfxtest::EncodePng(texels, 3, 2, false);
    Image image;
    std::string error;
    ASSERT_TRUE(DecodePng(png.data(), png.size(), image, error)) << error;
    EXPECT_EQ(image.width, 3u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.format, Format::X8R8G8B8);
    EXPECT_EQ(image.pixels, texels);

    png = gfxtest::EncodePng({0x00FFFFFF, 0x7F000000}, 2, 1, true);
    ASSERT_TRUE(DecodePng(png.data(), png.size(), image, error)) << error;
    EXPECT_EQ(image.format, Format::A8R8G8B8);
    EXPECT_EQ(image.pixels[1], 0x7F000000u);
}

TEST(DecodePng, RejectsBadFilesWithAReason) {
    std::string png = gfxtest::EncodePng(std::vector<uint32_t>(64, 0xFF00FF00), 8, 8, false);
    Image image;
    std::string error;
    EXPECT_FALSE(DecodePng(png.data(), 20, image, error));
    EXPECT_FALSE(error.empty());
    error.clear();
    std::string corrupt = png;
    for (size_t i = 40; i < corrupt.size() - 12; ++i)
        corrupt[i] = char(0x5A);
    EXPECT_FALSE(DecodePng(corrupt.data(), corrupt.size(), image, error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(DecodePng(nullptr, 0, image, error));
    EXPECT_TRUE(image.pixels.empty());

    // A header claiming 100000 x 1 pixels is refused before any pixel is read.
    std::string huge = png;
    const unsigned char width[4] = {0x00, 0x01, 0x86, 0xA0};
    std::memcpy(&huge[16], width, 4);
    EXPECT_FALSE(DecodePng(huge.data(), huge.size(), image, error));
}

TEST(ScaleImageBox, AveragesTheCoveredSourcePixels) {
    // 4 x 2 to 2 x 1: each output pixel averages a 2 x 2 block, channel by channel.
    const uint32_t src[8] = {0x00000000, 0x04080C10, 0xFF000000, 0xFF000000,
                             0x00000000, 0x04080C10, 0x00FFFFFF, 0x00FFFFFF};
    uint32_t dst[2] = {};
    ScaleImageBox(src, 4, 2, 16, dst, 2, 1, 8);
    EXPECT_EQ(dst[0], 0x02040608u);
    EXPECT_EQ(dst[1], 0x80808080u);
    // Enlarging repeats pixels.
    uint32_t big[4] = {};
    const uint32_t one[1] = {0x11223344};
    ScaleImageBox(one, 1, 1, 4, big, 2, 2, 8);
    for (uint32_t p : big)
        EXPECT_EQ(p, 0x11223344u);
}

}  // namespace
