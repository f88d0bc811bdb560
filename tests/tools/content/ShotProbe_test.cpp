// Shot checks against a small layout: widgets found through their panels, a picture's centre
// colour within 2 per channel, text pixels in a label's inner part.
#include "tools/content/ShotProbe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/authoring/DrawingWriters.h"
#include "tools/content/ContentBuild.h"
#include "tools/content/InterfaceArt.h"
#include "tests/support/TempDir.h"

namespace {

constexpr uint32_t kBackground = 0xFF202040;

class ShotProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        data.Write("content/layouts/flow.txt", "Probe Probe.xaml Navigation 0 0\n");
        data.Write("content/layouts/probe.txt", "screen Probe 400 300\n"
                   "style button Button ImageDefault=plate.png\n"
                   "style text Label\n"
                   "grid Page 100 50 300 250\n"
                   "  grid Row 4 5 200 50\n"
                   "    button Go 6 15 40 20\n"
                   "  end\n"
                   "  text Name 100 100 100 50\n"
                   "end\n"
                   "text Name 0 0 10 10\n");
        // The picture: 4 x 2, its centre the mean of (10,20,30) and (14,24,34).
        std::vector<uint32_t> plate(8, 0xFF000000);
        plate[1] = plate[5] = 0xFF0A141E, plate[2] = plate[6] = 0xFF0E1822;
        built.Write("Pack/" + content::EntryName(content::ImageFilesOf("plate.png").texture),
                    authoring::PngBytes(plate, 4, 2));
        // A shot twice the layout's size.
        shot.width = 800, shot.height = 600;
        shot.pixels.assign(800 * 600, kBackground);
    }
    void Set(int x, int y, uint32_t argb) { shot.pixels[size_t(y) * 800 + size_t(x)] = argb; }
    std::vector<std::string> Probe(const std::string& check) {
        return content::ProbeShot(data.Path(), built.Path(), shot, {check});
    }

    TempDir data, built;
    platform::gfx::Image shot;
};

}  // namespace

// "Go": (100 + 4 + 6 + 20, 50 + 5 + 15 + 10) in the layout, twice that in the shot.
TEST_F(ShotProbeTest, APictureShowsItsCentreColourWithin2) {
    const struct { uint32_t centre; bool passes; } cases[] = {{0xFF0C1620, true}, {0xFF0E1822, true}, {0xFF0A141E, true}, {0xFF0F1620, false}, {0xFF0C1623, false}};
    for (const auto& c : cases) {
        Set(260, 160, c.centre);
        EXPECT_EQ(Probe("Probe/Page/Go=image").empty(), c.passes) << std::hex << c.centre;
    }
    Set(260, 160, 0xFF102030);
    EXPECT_EQ(Probe("Probe/Go=image"),
              std::vector<std::string>{"Probe/Go=image: the centre shows 16,32,48, plate.png has 12,22,32"});
}

TEST_F(ShotProbeTest, BadChecksAreToldWithTheirReason) {
    const struct { const char* check; const char* reason; } badChecks[] = {
        {"Probe/Page/Go", "expected <Screen>/<widget>=image|ink"},
        {"Other/Go=image", "no screen \"Other\" in the flow"},
        {"Probe/Page/Stop=image", "no widget \"Stop\" in Page"},
        {"Probe/Page/Name=image", "the widget has no ImageDefault"}};
    for (const auto& c : badChecks)
        EXPECT_EQ(Probe(c.check), std::vector<std::string>{std::string(c.check) + ": " + c.reason});
}

// Text is counted inside a label's inner area only.
TEST_F(ShotProbeTest, TextIsCountedInsideALabelsInnerPart) {
    // The page's "Name": shot box (400, 300) to (600, 400); its inner part (440, 320) to (560, 380).
    for (int x = 400; x < 600; ++x)
        Set(x, 300, 0xFFFFFFFF);  // a frame line, outside the inner part
    for (int i = 0; i < content::kInkPixels - 1; ++i)
        Set(450 + i, 350, 0xFFFFFFFF);
    EXPECT_EQ(Probe("Probe/Page/Name=ink"),
              std::vector<std::string>{"Probe/Page/Name=ink: 11 pixels stand out from the background 32,32,64, "
                                       "text needs 12"});
    Set(500, 370, 0xFF60A040);
    EXPECT_EQ(Probe("Probe/Page/Name=ink"), std::vector<std::string>{});
}
