// PNG decoding, the box-filter scale and the matrix helpers.
#include "platform/gfx/Image.h"

#include <cmath>
#include <fstream>
#include <string_view>

#include "tests/platform/gfx/GfxTestSupport.h"

namespace {

using namespace platform::gfx;

uint32_t PngCrc(const char* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= uint8_t(p[i]);
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

// The file with its header's width and height (and colour type, when given) replaced, and the
// header's checksum mended.
std::string Resized(std::string png, uint32_t width, uint32_t height, char colorType = 0) {
    if (colorType)
        png[25] = colorType;
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = char(width >> (24 - 8 * i));
        png[20 + i] = char(height >> (24 - 8 * i));
    }
    const uint32_t crc = PngCrc(&png[12], 17);
    for (int i = 0; i < 4; ++i)
        png[29 + i] = char(crc >> (24 - 8 * i));
    return png;
}

// The most resident memory the process reached since the last reset, in kB; the reset
// makes the current size the peak.
long PeakKb(bool reset) {
    if (reset)
        std::ofstream("/proc/self/clear_refs") << "5";
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}

// PNG decoding rejects bad files with a reason; the box-filter scale averages.
TEST(Image, DecodePngRejectsBadFilesWithAReasonAndScaleImageBoxAveragesTheCoveredPixels) {
    std::string png = gfxtest::EncodePng(std::vector<uint32_t>(64, 0xFF00FF00), 8, 8, false);
    Image image;
    std::string error;
    std::string corrupt = png;
    for (size_t i = 40; i < corrupt.size() - 12; ++i)
        corrupt[i] = char(0x5A);
    for (size_t size : {size_t(20), corrupt.size()}) {
        error.clear();
        EXPECT_TRUE(!DecodePng(corrupt.data(), size, image, error) && !error.empty()) << size;
    }
    EXPECT_FALSE(DecodePng(nullptr, 0, image, error) || DecodePng("GIF89a, not a PNG", 17, image, error));
    EXPECT_TRUE(error == "not a PNG file" && image.pixels.empty());

    // A header claiming 100000 x 1 pixels is refused before any pixel is read.
    const std::string huge = Resized(png, 100000, 1);
    EXPECT_FALSE(DecodePng(huge.data(), huge.size(), image, error));

    // Headers declaring more pixels than the data can hold are refused before the pixels'
    // memory is taken: the largest size with the data of 8 x 8 pixels, the same with its data
    // chunk claiming 1 GB, or holding just too little for its rows with their filter bytes,
    // and 4096 x 700 with the data of 4096 x 256 pixels at their densest (too little for
    // three channels a pixel, enough for one), and the first cut inside its data's checksum
    // with a chunk claiming 1 GB after it in memory. Data that could just fill its rows passes
    // that check (and fails on the rows missing). A large image whose data is there decodes.
    std::string tiny = Resized(png, 8192, 8192);
    ASSERT_LT(tiny.size(), 200u);
    std::string claiming = tiny;
    const size_t idat = claiming.find("IDAT");
    ASSERT_NE(idat, std::string::npos);
    claiming.replace(idat - 4, 4, std::string("\x40\0\0\0", 4));
    const std::string dense = gfxtest::EncodePng(std::vector<uint32_t>(4096 * 256, 0xFF123456), 4096, 256, false);
    // Four channels a pixel need more data than two: 4096 x 600 with the data of 4096 x 256;
    // so do grey and alpha at 4096 x 700.
    const std::string denseAlpha = gfxtest::EncodePng(std::vector<uint32_t>(4096 * 256, 0x80123456), 4096, 256, true);
    const std::string tall = Resized(dense, 4096, 700), tallAlpha = Resized(denseAlpha, 4096, 600),
                      tallGrey = Resized(dense, 4096, 700, 4);
    const std::string beyond = tiny + std::string("\x40\0\0\0IDAT", 8);
    // 195020 bytes expand to at most 1032 times (64 + 195020) bytes, less than 8192 x (1 + 8192 x 3).
    const std::string scant = claiming + std::string(195020 - (claiming.size() - idat - 4), '\0');
    // 1032 x (64 + 192) bytes: 1032 rows of 85 pixels, their filter bytes included.
    const std::string exact = Resized(claiming, 85, 1032) + std::string(192 - (claiming.size() - idat - 4), '\0');
    for (std::string_view file : {std::string_view(beyond).substr(0, tiny.size() - 14), std::string_view(tiny),
                                  std::string_view(claiming), std::string_view(scant), std::string_view(tall),
                                  std::string_view(tallAlpha), std::string_view(tallGrey), std::string_view(exact)}) {
        const long before = PeakKb(true);
        EXPECT_FALSE(DecodePng(file.data(), file.size(), image, error));
        EXPECT_LT(PeakKb(false) - before, 8 * 1024);
        EXPECT_TRUE(image.pixels.empty() && image.width == 0);
        EXPECT_EQ(error.find("data too short") != std::string::npos, file.data() != exact.data()) << error;
    }
    const std::string widest = gfxtest::EncodePng(std::vector<uint32_t>(8192, 0xFF123456), 8192, 1, false);
    for (const std::string* file : {&dense, &widest}) {
        ASSERT_TRUE(DecodePng(file->data(), file->size(), image, error)) << error;
        EXPECT_EQ(image.pixels.back(), 0xFF123456u);
    }

    // The box-filter scale averages the covered source pixels.
    // 4 x 2 to 2 x 1: each output pixel averages a 2 x 2 block, channel by channel.
    const uint32_t src[8] = {0x00000000, 0x04080C10, 0xFF000000, 0xFF000000,
                             0x00000000, 0x04080C10, 0x00FFFFFF, 0x00FFFFFF};
    uint32_t dst[3] = {0, 0, 0x5A5A5A5A};
    ScaleImageBox(src, 4, 2, 16, dst, 2, 1, 12);
    // The pitch's padding beyond the row is left alone.
    EXPECT_EQ(std::vector<uint32_t>(dst, dst + 3), (std::vector<uint32_t>{0x02040608, 0x80808080, 0x5A5A5A5A}));
    // Nothing is written from an empty or missing source; enlarging repeats pixels.
    uint32_t big[4] = {};
    const uint32_t one[1] = {0x11223344};
    for (auto [source, width, height] : {std::tuple{one, 0u, 1u}, {one, 1u, 0u}, {nullptr, 1u, 1u}})
        ScaleImageBox(source, width, height, 4, big, 2, 2, 8);
    EXPECT_EQ(big[0] | big[3], 0u);
    ScaleImageBox(one, 1, 1, 4, big, 2, 2, 8);
    EXPECT_EQ(std::vector<uint32_t>(big, big + 4), std::vector<uint32_t>(4, 0x11223344u));
}

// Matrix helpers against values worked out by hand.
void ExpectMatrix(const Matrix& actual, const Matrix& expected) {
    for (int i = 0; i < 16; ++i)
        EXPECT_NEAR(actual.m[i], expected.m[i], 1e-5f) << "element " << i;
}

// Looking at a point, projections and rotations.
TEST(GfxMath, MatrixHelpersAgreeWithValuesWorkedOutByHand) {
    // Eye at (0, 0, -10) looking at the origin: the view is a plain translation by +10 in z.
    ExpectMatrix(MatrixLookAtLH({0, 0, -10}, {0, 0, 0}, {0, 1, 0}),
                 {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 10, 1}});
    // Looking down +x from the origin: world +x is view +z, world +z is view -x.
    ExpectMatrix(MatrixLookAtLH({0, 0, 0}, {5, 0, 0}, {0, 1, 0}), {{0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 1}});
    // 90 degrees vertical, aspect 2, near 1, far 101: y scale 1, x scale 0.5, q = 101 / 100,
    // -near * q = -1.01; the near plane maps to depth 0 and the far plane to 1.
    Matrix p = MatrixPerspectiveFovLH(float(M_PI) / 2, 2.0f, 1.0f, 101.0f);
    ExpectMatrix(p, {{0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1.01f, 1, 0, 0, -1.01f, 0}});
    EXPECT_NEAR(Vec3TransformCoord({0, 0, 101}, p).z, 1.0f, 1e-5f);
    ExpectMatrix(MatrixOrthoLH(800, 600, 0, 10), {{0.0025f, 0, 0, 0, 0, 1.0f / 300, 0, 0, 0, 0, 0.1f, 0, 0, 0, 0, 1}});

    const float a = 0.3f;
    const Matrix z = MatrixRotationZ(a);
    const float c = std::cos(a), s = std::sin(a);
    ExpectMatrix(z, {{c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}});
    ExpectMatrix(MatrixRotationAxis({0, 0, 2}, a), z);
    // Left-handed: a quarter turn about +y takes +z to +x.
    Vec3 v = Vec3TransformCoord({0, 0, 1}, MatrixRotationAxis({0, 1, 0}, float(M_PI) / 2));
    EXPECT_NEAR(v.x, 1.0f, 1e-5f);
    EXPECT_NEAR(v.z, 0.0f, 1e-5f);
    ExpectMatrix(MatrixRotationQuaternion({0, std::sin(0.25f), 0, std::cos(0.25f)}),
                 MatrixRotationAxis({0, 1, 0}, 0.5f));

    // A general matrix (no zero, no symmetry) times its inverse is the identity, both ways; a
    // singular one has none. The transpose of a product is the product of transposes, reversed.
    const Matrix m = {{2, 3, 1, 5, 1, 4, 3, 1, 7, 2, -3, 2, 1, 2, 3, 1}};
    Matrix inverse;
    ASSERT_TRUE(MatrixInverse(m, inverse));
    ExpectMatrix(MatrixMultiply(m, inverse), MatrixIdentity());
    ExpectMatrix(MatrixMultiply(inverse, m), MatrixIdentity());
    ExpectMatrix(MatrixMultiply(m, MatrixIdentity()), m);
    // Row 0 of m times column 0 of its transpose: 4 + 9 + 1 + 25.
    EXPECT_FLOAT_EQ(MatrixMultiply(m, MatrixTranspose(m)).m[0], 39.0f);
    ExpectMatrix(MatrixTranspose(m), {{2, 1, 7, 1, 3, 4, 2, 2, 1, 3, -3, 3, 5, 1, 2, 1}});
    // A point through it: (26, 19, 1) over w = 14.
    const Vec3 point = Vec3TransformCoord({1, 2, 3}, m);
    EXPECT_EQ(std::vector<float>({point.x, point.y, point.z}), std::vector<float>({26.0f / 14, 19.0f / 14, 1.0f / 14}));
    const Matrix singular = {{1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 1, 0, 1, 0}};
    EXPECT_FALSE(MatrixInverse(singular, inverse));
}

}  // namespace
