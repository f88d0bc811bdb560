#include "tools/content/ShotProbe.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "tools/content/InterfaceArt.h"
#include "tools/content/InterfaceLayout.h"

namespace content {

namespace {

constexpr int kTolerance = 2;
// A channel this far from the background marks a text pixel.
constexpr int kInkContrast = 48;

const std::string* Attribute(const LayoutWidget& widget, const char* key) {
    for (const auto& [name, value] : widget.attributes)
        if (name == key)
            return &value;
    return nullptr;
}

int AttributeNumber(const LayoutWidget& widget, const char* key) {
    const std::string* value = Attribute(widget, key);
    return value ? std::atoi(value->c_str()) : 0;
}

// The Margin's left and top.
void Offset(const LayoutWidget& widget, int& x, int& y) {
    x = y = 0;
    if (const std::string* margin = Attribute(widget, "Margin")) {
        const std::vector<std::string> parts = SplitFields(*margin, ',');
        if (parts.size() >= 2) {
            x = std::atoi(parts[0].c_str());
            y = std::atoi(parts[1].c_str());
        }
    }
}

// Depth first below widgets, the first widget of that name; its position added to x, y.
const LayoutWidget* Find(const std::vector<LayoutWidget>& widgets, const std::string& name, int& x, int& y) {
    for (const LayoutWidget& widget : widgets) {
        int dx = 0, dy = 0;
        Offset(widget, dx, dy);
        if (widget.name == name) {
            x += dx;
            y += dy;
            return &widget;
        }
        int cx = x + dx, cy = y + dy;
        if (const LayoutWidget* found = Find(widget.children, name, cx, cy)) {
            x = cx;
            y = cy;
            return found;
        }
    }
    return nullptr;
}

struct Rgb {
    int r = 0, g = 0, b = 0;
};

Rgb RgbOf(uint32_t argb) { return {int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF)}; }

std::string Text(const Rgb& c) {
    std::ostringstream out;
    out << c.r << "," << c.g << "," << c.b;
    return out.str();
}

int Distance(const Rgb& a, const Rgb& b) { return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)}); }

// The packaged texture of a picture, from whichever package folder holds it.
bool ReadPicture(const std::string& built, const std::string& image, platform::gfx::Image& picture, std::string& why) {
    const std::string entry = EntryName(ImageFilesOf(image).texture);
    std::error_code error;
    for (const auto& folder : std::filesystem::directory_iterator(built, error)) {
        const std::filesystem::path path = folder.path() / entry;
        if (!folder.is_directory() || !std::filesystem::is_regular_file(path))
            continue;
        std::ifstream file(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        return platform::gfx::DecodePng(bytes.data(), bytes.size(), picture, why);
    }
    why = "no package in " + built + " holds " + entry;
    return false;
}

// The picture's colour at its centre, as a stretched texture is sampled there (bilinear).
bool CentreColour(const platform::gfx::Image& picture, Rgb& colour, std::string& why) {
    const float fx = float(picture.width) * 0.5f - 0.5f, fy = float(picture.height) * 0.5f - 0.5f;
    const uint32_t x0 = uint32_t(std::floor(fx)), y0 = uint32_t(std::floor(fy));
    const float ax = fx - float(x0), ay = fy - float(y0);
    float r = 0, g = 0, b = 0;
    for (uint32_t j = 0; j < 2; ++j)
        for (uint32_t i = 0; i < 2; ++i) {
            const uint32_t px = std::min(x0 + i, picture.width - 1), py = std::min(y0 + j, picture.height - 1);
            const uint32_t argb = picture.pixels[size_t(py) * picture.width + px];
            if ((argb >> 24) != 0xFF) {
                why = "the picture is not opaque at its centre";
                return false;
            }
            const float weight = (i ? ax : 1 - ax) * (j ? ay : 1 - ay);
            const Rgb c = RgbOf(argb);
            r += weight * float(c.r);
            g += weight * float(c.g);
            b += weight * float(c.b);
        }
    colour = {int(std::lround(r)), int(std::lround(g)), int(std::lround(b))};
    return true;
}

}  // namespace

bool FindWidgetBox(const std::string& data, const std::string& path, WidgetBox& box, int& screenWidth,
                   int& screenHeight, std::string& why) {
    const std::vector<std::string> names = SplitFields(path, '/');
    Output out(data, {});
    const SourceFile flowSource(data, "content/layouts/flow.txt");
    for (const FlowScreen& screen : ReadFlow(flowSource, out)) {
        if (names.empty() || screen.name != names[0])
            continue;
        const Layout layout = ReadLayout(SourceFile(data, LayoutSourcePath(screen)), out);
        const std::vector<LayoutWidget>* below = &layout.widgets;
        const LayoutWidget* widget = nullptr;
        int x = 0, y = 0;
        for (size_t i = 1; i < names.size(); ++i) {
            widget = Find(*below, names[i], x, y);
            if (!widget) {
                why = "no widget \"" + names[i] + "\" in " + (i == 1 ? names[0] : names[i - 1]);
                return false;
            }
            below = &widget->children;
        }
        if (!widget) {
            why = "no widget named";
            return false;
        }
        box.x = x;
        box.y = y;
        box.width = AttributeNumber(*widget, "Width");
        box.height = AttributeNumber(*widget, "Height");
        const std::string* image = Attribute(*widget, "ImageDefault");
        box.image = image ? *image : "";
        screenWidth = layout.width;
        screenHeight = layout.height;
        return true;
    }
    why = "no screen \"" + (names.empty() ? std::string() : names[0]) + "\" in the flow";
    return false;
}

std::vector<std::string> ProbeShot(const std::string& data, const std::string& built, const platform::gfx::Image& shot,
                                   const std::vector<std::string>& checks) {
    std::vector<std::string> failures;
    for (const std::string& check : checks) {
        const size_t equals = check.rfind('=');
        const std::string kind = equals == std::string::npos ? "" : check.substr(equals + 1);
        auto fail = [&](const std::string& why) { failures.push_back(check + ": " + why); };
        if (kind != "image" && kind != "ink") {
            fail("expected <Screen>/<widget>=image|ink");
            continue;
        }
        WidgetBox box;
        int screenWidth = 0, screenHeight = 0;
        std::string why;
        if (!FindWidgetBox(data, check.substr(0, equals), box, screenWidth, screenHeight, why)) {
            fail(why);
            continue;
        }
        if (screenWidth <= 0 || screenHeight <= 0 || box.width <= 0 || box.height <= 0 || shot.pixels.empty()) {
            fail("the screen or the widget has no size");
            continue;
        }
        // Layout pixels to shot pixels.
        const double sx = double(shot.width) / screenWidth, sy = double(shot.height) / screenHeight;
        const int left = int(box.x * sx), top = int(box.y * sy);
        const int right = std::min(int((box.x + box.width) * sx), int(shot.width));
        const int bottom = std::min(int((box.y + box.height) * sy), int(shot.height));
        if (left < 0 || top < 0 || left >= right || top >= bottom) {
            fail("the widget lies outside the shot");
            continue;
        }
        auto at = [&](int x, int y) { return RgbOf(shot.pixels[size_t(y) * shot.width + size_t(x)]); };
        if (kind == "image") {
            platform::gfx::Image picture;
            Rgb want;
            if (box.image.empty()) {
                fail("the widget has no ImageDefault");
            } else if (!ReadPicture(built, box.image, picture, why) || !CentreColour(picture, want, why)) {
                fail(box.image + ": " + why);
            } else {
                const Rgb got = at(int((box.x + box.width / 2.0) * sx), int((box.y + box.height / 2.0) * sy));
                if (Distance(got, want) > kTolerance)
                    fail("the centre shows " + Text(got) + ", " + box.image + " has " + Text(want));
            }
            continue;
        }
        // The inner part of the box, where a centred text lies and a frame drawn behind does not.
        const int insetX = (right - left) / 5, insetY = (bottom - top) / 5;
        std::map<uint32_t, int> counts;
        for (int y = top + insetY; y < bottom - insetY; ++y)
            for (int x = left + insetX; x < right - insetX; ++x)
                ++counts[shot.pixels[size_t(y) * shot.width + size_t(x)] & 0xFFFFFFu];
        const Rgb background =
            RgbOf(std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                      return a.second < b.second;
                  })->first);
        int ink = 0;
        for (const auto& [colour, count] : counts)
            if (Distance(RgbOf(colour), background) > kInkContrast)
                ink += count;
        if (ink < kInkPixels)
            fail(std::to_string(ink) + " pixels stand out from the background " + Text(background) + ", text needs " +
                 std::to_string(kInkPixels));
    }
    return failures;
}

}  // namespace content
