// The sample menu and start-up layouts as their sources place them: what a player would find
// covered, shrunk or cut.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "game/rules/QZStartup.h"
#include "tools/authoring/FontBaker.h"
#include "tools/content/InterfaceLayout.h"
#include "tools/content/ShotProbe.h"

namespace {

using content::LayoutWidget;
const std::string kData = TALLYVOX_CONTENT_SOURCES;

content::WidgetBox Box(const std::string& path) {
    content::WidgetBox box;
    int width = 0, height = 0;
    std::string why;
    EXPECT_TRUE(content::FindWidgetBox(kData, path, box, width, height, why)) << why;
    return box;
}

bool Overlap(const content::WidgetBox& a, const content::WidgetBox& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// The screen's grid (or widget) of that name, depth first.
const LayoutWidget* Find(const std::vector<LayoutWidget>& widgets, const std::string& name) {
    for (const LayoutWidget& widget : widgets)
        if (const LayoutWidget* found = widget.name == name ? &widget : Find(widget.children, name))
            return found;
    return nullptr;
}

std::string Attribute(const LayoutWidget* widget, const std::string& key) {
    for (const auto& [name, value] : widget ? widget->attributes : decltype(widget->attributes){})
        if (name == key)
            return value;
    return "";
}

content::Layout Read(const std::string& file) {
    content::Output out(kData, {});
    return content::ReadLayout(content::SourceFile(kData, "content/layouts/" + file), out);
}

}  // namespace

// The pages that show the name tag and the wardrobe button keep their widgets off both, and the
// wardrobe's item slots off the avatar, who stands in the middle (x 330 to 470).
TEST(SampleMenuLayout, NothingLiesOverTheProfileBarOrTheAvatar) {
    const content::Layout menus = Read("menuscreen.txt");
    for (const char* page : {"compositionMainMenu", "compositionOptions", "compositionProfiles", "compositionAwards",
                             "compositionGroupAwards", "compositionCredits", "compositionDecadeSelector",
                             "compositionDifficultySelector", "compositionNumberOfPlayer", "compositionWardrobe"})
        for (const LayoutWidget& widget : Find(menus.widgets, page)->children) {
            const content::WidgetBox box = Box(std::string("MenuScreen/") + page + "/" + widget.name);
            EXPECT_FALSE(Overlap(box, Box("MenuScreen/TagPanel"))) << page << "/" << widget.name;
            EXPECT_FALSE(Overlap(box, Box("MenuScreen/WardrobeButton")) && page != std::string("compositionWardrobe"))
                << page << "/" << widget.name;
            EXPECT_FALSE(page == std::string("compositionWardrobe") && box.y > 130 &&
                         Overlap(box, {330, 130, 140, 370, ""}))
                << widget.name;
        }
    EXPECT_EQ(Attribute(Find(menus.widgets, "tablock"), "Text"), "Extras") << "it holds the extra items";
}

// Each look is drawn at its whole size over a picture of the look's thumbnail size.
TEST(SampleMenuLayout, TheLooksAreDrawnWhole) {
    const content::Layout menus = Read("menuscreen.txt");
    const LayoutWidget* page = Find(menus.widgets, "compositionBasicLook");
    for (int k = 0; k < 12; ++k) {
        const content::WidgetBox look = Box("MenuScreen/compositionBasicLook/effect" + std::to_string(k));
        const content::WidgetBox picture = Box("MenuScreen/compositionBasicLook/lookPicture" + std::to_string(k));
        EXPECT_EQ(Attribute(Find(page->children, "effect" + std::to_string(k)), "ImageCheckSize"),
                  std::to_string(look.width) + "," + std::to_string(look.height));
        EXPECT_TRUE(picture.x == look.x && picture.y == look.y && picture.width >= 96 && picture.height >= 128) << k;
    }
}

// The award groups' names fit their labels on one line (the label's font, its glyphs' advances).
TEST(SampleMenuLayout, TheAwardGroupNamesFitTheirLabels) {
    const content::Layout menus = Read("menuscreen.txt");
    const LayoutWidget* label = Find(menus.widgets, "group4");
    const std::string font = Attribute(label, "TextFontName");
    authoring::BakedFont baked;
    std::string error;
    ASSERT_TRUE(authoring::BakeFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                    uint32_t(std::stoi(font.substr(font.rfind('_') + 1))), {}, "f", baked, error))
        << font << error;
    std::ifstream awards(kData + "/content/awards.txt");
    for (std::string line; std::getline(awards, line);) {
        if (line.rfind("group ", 0) != 0)
            continue;
        const std::string title = line.substr(line.find('|') + 2, line.find('|', line.find('|') + 1) - line.find('|') - 2);
        uint32_t width = 0;
        for (char c : title.substr(0, title.find_last_not_of(' ') + 1))
            width += baked.font.glyphs[uint8_t(c)].width;
        EXPECT_LE(width, uint32_t(std::stoi(Attribute(label, "Width")))) << title;
    }
}

// The start-up screen shows the opening's clips on a video widget of the opening's asset.
TEST(SampleMenuLayout, TheStartupScreenHasTheClipsWidget) {
    const content::Layout startup = Read("screenstartup.txt");
    const LayoutWidget* video = Find(startup.widgets, QZ2011::QZStartup::kVideoWidget);
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->kind + " " + Attribute(video, "VideoAssetName"), std::string("Video ") + QZ2011::QZStartup::kVideoAsset);
}
