#pragma once
// Pixel checks of a window shot (a PNG the replay hook saved) against the layout sources:
// where a widget lies and which picture it shows come from data/content/layouts, the
// picture's pixels from the texture the build packaged.
//
// A check is "<Screen>/<name>[/<name>...]=<kind>": the widget found by the names in turn
// (each searched below the one before, depth first), and
//   image  the pixel at the widget's centre is the centre of its ImageDefault picture, within
//          2 per colour channel (the picture is stretched over the widget's box);
//   ink    the widget's box holds drawn text: in its inner part (a fifth off each side, clear
//          of a frame drawn behind), at least kInkPixels pixels far from the most common colour.
// A check "@<x>,<y>=<picture>" finds a picture drawn at its own size with its top left at x, y
// of the 800 x 600 design (a pointer's tip where the mouse was moved): three in four of its
// inner pixels show their colour at their places.
#include <string>
#include <vector>

#include "platform/gfx/Image.h"

namespace content {

struct WidgetBox {
    int x = 0, y = 0, width = 0, height = 0;  // layout pixels, from the screen's top left
    std::string image;                        // ImageDefault, empty when none
};

// The widget of a check's path ("MenuScreen/compositionMainMenu/exitButton") in the layout
// sources under data; false with the reason when the screen or a name is not there.
bool FindWidgetBox(const std::string& data, const std::string& path, WidgetBox& box, int& screenWidth,
                   int& screenHeight, std::string& why);

// Runs the checks on a shot; one line per failed check ("<check>: <reason>"), empty when all pass.
// built: the build's package folder, where the pictures' textures are read.
std::vector<std::string> ProbeShot(const std::string& data, const std::string& built, const platform::gfx::Image& shot,
                                   const std::vector<std::string>& checks);

// Pixels of a text at least, for "ink".
inline constexpr int kInkPixels = 12;

}  // namespace content
