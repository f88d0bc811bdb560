// The sample menu and start-up layouts as their sources place them: what a player would find
// covered, shrunk or cut.
#include <gtest/gtest.h>

#include <string>

#include "game/rules/QZStartup.h"
#include "tools/content/InterfaceLayout.h"
#include "tools/content/ShotProbe.h"

namespace {

using content::LayoutWidget;
const std::string kData = TALLYVOX_CONTENT_SOURCES;

// A widget's place on the screen, by its path of names.
content::WidgetBox Box(const std::string& path, int width = 0, int height = 0) {
    content::WidgetBox box;
    std::string why;
    EXPECT_TRUE(content::FindWidgetBox(kData, "MenuScreen/" + path, box, width, height, why)) << why;
    return box;
}

bool Overlap(const content::WidgetBox& a, const content::WidgetBox& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// The widget of that name below `widgets`, depth first.
const LayoutWidget* Find(const std::vector<LayoutWidget>& widgets, const std::string& name) {
    for (const LayoutWidget& widget : widgets)
        if (const LayoutWidget* found = widget.name == name ? &widget : Find(widget.children, name))
            return found;
    return nullptr;
}

std::string Attribute(const LayoutWidget* widget, const std::string& key) {
    for (const auto& [name, value] : widget->attributes)
        if (name == key)
            return value;
    return "";
}

struct Screen {
    explicit Screen(const std::string& file) : layout(content::ReadLayout(content::SourceFile(kData, file), out)) {}
    content::Output out{kData, {}};
    content::Layout layout;
};

}  // namespace

// The wardrobe's item slots stay off the avatar, who stands in the middle (x 330 to 470); what
// overlaps the profile bar "content check" refuses.
TEST(SampleMenuLayout, TheWardrobeSlotsLeaveTheAvatarFree) {
    const Screen menus("content/layouts/menuscreen.txt");
    for (const LayoutWidget& widget : Find(menus.layout.widgets, "compositionWardrobe")->children) {
        const content::WidgetBox box = Box("compositionWardrobe/" + widget.name);
        EXPECT_FALSE(box.y > 130 && Overlap(box, {330, 130, 140, 370, ""})) << widget.name;
    }
    EXPECT_EQ(Attribute(Find(menus.layout.widgets, "tablock"), "Text"), "Extras") << "it holds the extra items";
}

// Each look is drawn at its whole size over a picture of the look's thumbnail size.
TEST(SampleMenuLayout, TheLooksAreDrawnWhole) {
    const Screen menus("content/layouts/menuscreen.txt");
    for (const std::string k : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}) {
        const content::WidgetBox look = Box("compositionBasicLook/effect" + k);
        const content::WidgetBox picture = Box("compositionBasicLook/lookPicture" + k);
        EXPECT_EQ(Attribute(Find(Find(menus.layout.widgets, "compositionBasicLook")->children, "effect" + k), "ImageCheckSize"),
                  std::to_string(look.width) + "," + std::to_string(look.height));
        EXPECT_TRUE(picture.x == look.x && picture.y == look.y && picture.width >= 96 && picture.height >= 128) << k;
    }
}

// The start-up screen shows the opening's clips on a video widget of its asset (award names
// that fit their labels are the layout check's).
TEST(SampleMenuLayout, TheClipsHaveTheirWidget) {
    const Screen startup("content/layouts/screenstartup.txt");
    const LayoutWidget* video = Find(startup.layout.widgets, QZ2011::QZStartup::kVideoWidget);
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(video->kind + " " + Attribute(video, "VideoAssetName"), std::string("Video ") + QZ2011::QZStartup::kVideoAsset);
}
