// Shot checks against a small layout: widgets found through their panels and popups, a
// picture's colours at its points, a picture drawn at its own size, text pixels in a label's
// inner part.
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
        // The picture: 4 x 4 of (12,22,32).
        built.Write("Pack/" + content::EntryName(content::ImageFilesOf("plate.png").texture),
                    authoring::PngBytes(std::vector<uint32_t>(16, 0xFF0C1620), 4, 4));
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

// "Go": (100 + 4 + 6, 50 + 5 + 15) and 40 x 20 in the layout, twice that in the shot.
// Its picture shows at 3 of 5 points: the centre within 2, four points towards the sides within
// 12 (a label's text or the pointer may cover two).
TEST_F(ShotProbeTest, APictureShowsAtThreeOfItsFivePoints) {
    const int points[5][2] = {{260, 160}, {260, 148}, {260, 172}, {232, 160}, {288, 160}};
    const struct { uint32_t colours[5]; const char* failure; } cases[] = {
        {{0xFF0E1822, 0xFF18202A, 0xFF0C1620, 0xFF0C1620, 0xFF0C1620}, ""},
        {{0xFF0F1620, 0xFFFFFFFF, 0xFF0C1620, 0xFF0C1620, 0xFF0C1620}, ""},
        {{0xFF0F1620, 0xFFFFFFFF, 0xFF000000, 0xFF0C1620, 0xFF0C1620},
         "2 of 5 points show it; at 0.50,0.50 the shot shows 15,22,32, plate.png has 12,22,32"}};
    for (const auto& c : cases) {
        for (int i = 0; i < 5; ++i)
            Set(points[i][0], points[i][1], c.colours[i]);
        EXPECT_EQ(Probe("Probe/Go=image"), *c.failure ? std::vector<std::string>{std::string("Probe/Go=image: ") + c.failure}
                                                       : std::vector<std::string>{});
    }
}

// The pointer's picture with its tip at (100, 60) of the design: drawn there it is found, a few
// pixels away it is not.
TEST_F(ShotProbeTest, APictureIsFoundDrawnAtItsOwnSize) {
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            Set(100 + x, 60 + y, 0xFF0C1620);
    EXPECT_EQ(Probe("@100,60=plate.png"), std::vector<std::string>{});
    EXPECT_EQ(Probe("@104,60=plate.png"), std::vector<std::string>{"@104,60=plate.png: 0 of its 4 inner pixels show"});
}

TEST_F(ShotProbeTest, BadChecksAreToldWithTheirReason) {
    const struct { const char* check; const char* reason; } badChecks[] = {
        {"Probe/Page/Go", "expected <Screen>/<widget>=image|ink"},
        {"Other/Go=image", "no screen \"Other\" in the flow"},
        {"Probe/Page/Stop=image", "no widget \"Stop\" in Page"},
        {"Probe/Page/Name=image", "the widget has no ImageDefault"},
        {"Popup/PopupNone/Ok=ink", "no popup layout \"PopupNone\" with that widget"}};
    for (const auto& c : badChecks)
        EXPECT_EQ(Probe(c.check), std::vector<std::string>{std::string(c.check) + ": " + c.reason});
}

// A popup's widget lies where the build lays it out: one button centred under the title and
// text of a centred panel.
TEST_F(ShotProbeTest, APopupsButtonIsFoundWhereTheBuildPutsIt) {
    data.Write("content/popups.txt", "layout PopupOne.xaml button:Ok\n");
    content::WidgetBox box;
    int width = 0, height = 0;
    std::string why;
    ASSERT_TRUE(content::FindWidgetBox(data.Path(), "Popup/PopupOne/Ok", box, width, height, why)) << why;
    EXPECT_TRUE(box.x * 2 + box.width == 800 && box.y > 300 && box.y + box.height < 600) << box.x << "," << box.y;
    EXPECT_EQ(box.image, "button_default.png");
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
