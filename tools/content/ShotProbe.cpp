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
#include "tools/content/SystemText.h"

namespace content {

namespace {

constexpr int kTolerance = 2;
// A picture's inner pixel drawn at its own size, filtered where the scale is not whole.
constexpr int kInnerTolerance = 24;
// Off the centre a gradient's colour moves more with the filtering of a scaled picture.
constexpr int kPointTolerance = 12;
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

// The picture's colour at a point of its box (fractions of its width and height), as a
// stretched texture is sampled there (bilinear); false where it is not opaque.
bool SampleColour(const platform::gfx::Image& picture, double u, double v, Rgb& colour) {
    const double fx = std::max(0.0, picture.width * u - 0.5), fy = std::max(0.0, picture.height * v - 0.5);
    const uint32_t x0 = uint32_t(std::floor(fx)), y0 = uint32_t(std::floor(fy));
    const double ax = fx - x0, ay = fy - y0;
    double r = 0, g = 0, b = 0;
    for (uint32_t j = 0; j < 2; ++j)
        for (uint32_t i = 0; i < 2; ++i) {
            const uint32_t px = std::min(x0 + i, picture.width - 1), py = std::min(y0 + j, picture.height - 1);
            const uint32_t argb = picture.pixels[size_t(py) * picture.width + px];
            if ((argb >> 24) != 0xFF)
                return false;
            const double weight = (i ? ax : 1 - ax) * (j ? ay : 1 - ay);
            const Rgb c = RgbOf(argb);
            r += weight * c.r;
            g += weight * c.g;
            b += weight * c.b;
        }
    colour = {int(std::lround(r)), int(std::lround(g)), int(std::lround(b))};
    return true;
}

// "@<x>,<y>=<picture>": the picture drawn at its own size on the design, its top left at x, y
// (a pointer's tip). Its inner pixels (opaque, the 3 x 3 around them alike) must show in the
// shot at their places, within kInnerTolerance, three in four of them at least.
std::string CheckPictureAt(const std::string& built, const platform::gfx::Image& shot, const std::string& check,
                           double sx, double sy) {
    const size_t comma = check.find(','), equals = check.rfind('=');
    platform::gfx::Image picture;
    std::string why;
    if (comma == std::string::npos || equals == std::string::npos || equals < comma)
        return "expected @<x>,<y>=<picture>";
    const int x = std::atoi(check.c_str() + 1), y = std::atoi(check.c_str() + comma + 1);
    if (!ReadPicture(built, check.substr(equals + 1), picture, why))
        return why;
    const auto pixel = [&](int u, int v) { return picture.pixels[size_t(v) * picture.width + size_t(u)]; };
    int inner = 0, shown = 0;
    for (int v = 1; v + 1 < int(picture.height); ++v)
        for (int u = 1; u + 1 < int(picture.width); ++u) {
            bool alike = (pixel(u, v) >> 24) == 0xFF;
            for (int j = -1; j <= 1 && alike; ++j)
                for (int i = -1; i <= 1 && alike; ++i)
                    alike = pixel(u + i, v + j) == pixel(u, v);
            if (!alike)
                continue;
            ++inner;
            const int px = int((x + u + 0.5) * sx), py = int((y + v + 0.5) * sy);
            if (px >= 0 && py >= 0 && px < int(shot.width) && py < int(shot.height) &&
                Distance(RgbOf(shot.pixels[size_t(py) * shot.width + size_t(px)]), RgbOf(pixel(u, v))) <= kInnerTolerance)
                ++shown;
        }
    if (inner == 0)
        return "the picture has no inner pixels";
    return shown * 4 >= inner * 3 ? "" : std::to_string(shown) + " of its " + std::to_string(inner) + " inner pixels show";
}

// "image": the picture stretched over the box shows at its centre and at four points between
// the centre and the sides (a label's text or the pointer may cover two of them).
std::string CheckPicturePoints(const platform::gfx::Image& picture, const platform::gfx::Image& shot, const WidgetBox& box,
                               double sx, double sy) {
    const double points[5][2] = {{0.5, 0.5}, {0.5, 0.2}, {0.5, 0.8}, {0.15, 0.5}, {0.85, 0.5}};
    int opaque = 0, shown = 0;
    std::string first;
    for (const auto& [u, v] : points) {
        Rgb want;
        if (!SampleColour(picture, u, v, want))
            continue;
        ++opaque;
        const int x = int((box.x + box.width * u) * sx), y = int((box.y + box.height * v) * sy);
        const Rgb got = x < int(shot.width) && y < int(shot.height)
                            ? RgbOf(shot.pixels[size_t(y) * shot.width + size_t(x)])
                            : Rgb{-999, -999, -999};
        if (Distance(got, want) <= (u == 0.5 && v == 0.5 ? kTolerance : kPointTolerance))
            ++shown;
        else if (first.empty())
            first = "at " + std::to_string(u).substr(0, 4) + "," + std::to_string(v).substr(0, 4) + " the shot shows " +
                    Text(got) + ", " + box.image + " has " + Text(want);
    }
    if (opaque == 0)
        return box.image + ": the picture is not opaque where it is checked";
    return shown >= std::min(3, opaque) ? "" : std::to_string(shown) + " of " + std::to_string(opaque) + " points show it; " + first;
}

// "Popup/<layout>/<widget>": the widget of a popup layout of content/popups.txt, placed as the
// build lays it out.
bool FindPopupWidget(const std::string& data, const std::vector<std::string>& names, WidgetBox& box, std::string& why) {
    const SourceFile source(data, "content/popups.txt");
    for (const SourceLine& line : source.Lines()) {
        const std::vector<std::string>& f = line.fields;
        if (names.size() != 3 || f.size() < 2 || f[0] != "layout" || f[1] != names[1] + ".xaml")
            continue;
        PopupLayout layout{f[1], {}, {}, {}};
        for (size_t i = 2; i < f.size(); ++i)
            (f[i].starts_with("button:") ? layout.buttons : layout.messages).push_back(f[i].substr(f[i].find(':') + 1));
        const std::string xaml = PopupLayoutXaml(layout);
        const size_t at = xaml.find(" Name=\"" + names[2] + "\" ");
        if (at == std::string::npos)
            break;
        const std::string widget = xaml.substr(at, xaml.find('\n', at) - at);
        auto value = [&](const std::string& key) {
            const size_t from = widget.find(" " + key + "=\"");
            return from == std::string::npos ? std::string() : widget.substr(from + key.size() + 3, widget.find('"', from + key.size() + 3) - from - key.size() - 3);
        };
        const std::vector<std::string> margin = SplitFields(value("Margin"), ',');
        box.x = margin.size() >= 2 ? std::atoi(margin[0].c_str()) : 0;
        box.y = margin.size() >= 2 ? std::atoi(margin[1].c_str()) : 0;
        box.width = std::atoi(value("Width").c_str());
        box.height = std::atoi(value("Height").c_str());
        box.image = value("ImageDefault");
        return true;
    }
    why = "no popup layout \"" + (names.size() > 1 ? names[1] : std::string()) + "\" with that widget";
    return false;
}

}  // namespace

bool FindWidgetBox(const std::string& data, const std::string& path, WidgetBox& box, int& screenWidth,
                   int& screenHeight, std::string& why) {
    const std::vector<std::string> names = SplitFields(path, '/');
    if (!names.empty() && names[0] == "Popup") {
        screenWidth = 800;
        screenHeight = 600;
        return FindPopupWidget(data, names, box, why);
    }
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
        if (check.starts_with("@")) {
            const double sx = shot.width / 800.0, sy = shot.height / 600.0;
            if (const std::string why = CheckPictureAt(built, shot, check, sx, sy); !why.empty())
                fail(why);
            continue;
        }
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
        if (kind == "image") {
            platform::gfx::Image picture;
            if (box.image.empty()) {
                fail("the widget has no ImageDefault");
            } else if (!ReadPicture(built, box.image, picture, why)) {
                fail(box.image + ": " + why);
            } else if (const std::string missed = CheckPicturePoints(picture, shot, box, sx, sy); !missed.empty()) {
                fail(missed);
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
