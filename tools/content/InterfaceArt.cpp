// Interface art: the fonts, the widget animations and the pictures of the screens, drawn by
// recipe (Global2D and the two asset packages).
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

#include "engine/core/Crc32Hash.h"
#include "engine/core/XmlReader.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/widget/RenderingSystemWidget.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/FontBaker.h"
#include "tools/authoring/PackageWriter.h"
#include "tools/authoring/TrackWriter.h"
#include "tools/content/Generators.h"
#include "tools/content/InterfaceArt.h"
#include "tools/content/InterfaceLayout.h"

namespace content {

namespace {

using RSW = GameServices::Widget::RenderingSystemWidget;
constexpr const char* kGlobal2D = "Global2D.dir";
constexpr float kFramesPerSecond = 30.0f;
// Latin-1 plus the euro sign and the curly quotes.
const std::vector<uint32_t> kExtraCodes = {0x20AC, 0x2018, 0x2019, 0x201C, 0x201D};

std::string Str(const TString<char>& text) { return text.c_str(); }

bool Colour(const std::string& text, uint32_t& argb) {
    if (text.size() != 8 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    argb = uint32_t(std::stoul(text, nullptr, 16));
    return true;
}

uint32_t Channel(uint32_t c, int shift) { return (c >> shift) & 0xFFu; }

uint32_t Mix(uint32_t a, uint32_t b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= uint32_t(std::lround(float(Channel(a, shift)) * (1 - t) + float(Channel(b, shift)) * t)) << shift;
    return out;
}

// Draws `over` (with its alpha times coverage) onto `under`.
uint32_t Blend(uint32_t under, uint32_t over, float coverage) {
    const float a = float(Channel(over, 24)) / 255.0f * std::clamp(coverage, 0.0f, 1.0f);
    if (a <= 0.0f)
        return under;
    const float ua = float(Channel(under, 24)) / 255.0f;
    const float outA = a + ua * (1 - a);
    uint32_t out = uint32_t(std::lround(outA * 255.0f)) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const float c = (float(Channel(over, shift)) * a + float(Channel(under, shift)) * ua * (1 - a)) / outA;
        out |= uint32_t(std::lround(c)) << shift;
    }
    return out;
}

struct ArtCanvas {
    uint32_t width, height;
    std::vector<uint32_t> pixels;
    ArtCanvas(uint32_t w, uint32_t h, uint32_t fill = 0) : width(w), height(h), pixels(size_t(w) * h, fill) {}
    void Paint(int x, int y, uint32_t argb, float coverage) {
        if (x >= 0 && y >= 0 && uint32_t(x) < width && uint32_t(y) < height)
            pixels[size_t(y) * width + uint32_t(x)] = Blend(pixels[size_t(y) * width + uint32_t(x)], argb, coverage);
    }
    // Coverage of each pixel centre by a shape given as a signed distance (negative inside).
    template <typename F>
    void Shape(uint32_t argb, F&& distance) {
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x)
                Paint(int(x), int(y), argb, 0.5f - distance(float(x) + 0.5f, float(y) + 0.5f));
    }
};

// Signed distance to a rounded rectangle inset by `inset` from the canvas edge.
float RoundedBox(const ArtCanvas& c, float x, float y, float inset, float radius) {
    const float hw = float(c.width) / 2 - inset, hh = float(c.height) / 2 - inset;
    const float r = std::min({radius, hw, hh});
    const float qx = std::fabs(x - float(c.width) / 2) - (hw - r), qy = std::fabs(y - float(c.height) / 2) - (hh - r);
    return std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f)) + std::min(std::max(qx, qy), 0.0f) - r;
}

// Distance from a point to a segment.
float Segment(float x, float y, float ax, float ay, float bx, float by) {
    const float dx = bx - ax, dy = by - ay;
    const float t = std::clamp(((x - ax) * dx + (y - ay) * dy) / std::max(dx * dx + dy * dy, 1e-6f), 0.0f, 1.0f);
    return std::hypot(x - ax - t * dx, y - ay - t * dy);
}

// Segments of a seven-segment digit on a unit cell (x 0..1, y 0..2).
const float kSegments[7][4] = {{0.15f, 0, 0.85f, 0}, {0.85f, 0.1f, 0.85f, 0.9f}, {0.85f, 1.1f, 0.85f, 1.9f},
                               {0.15f, 2, 0.85f, 2}, {0.15f, 1.1f, 0.15f, 1.9f}, {0.15f, 0.1f, 0.15f, 0.9f},
                               {0.15f, 1, 0.85f, 1}};
const uint8_t kDigitSegments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

}  // namespace

// ---- Fonts ----

FontSet::FontSet(Output& out) : m_out(out) {
    const SourceFile source(out.DataRoot(), "content/fonts.txt");
    if (!source.Ok())
        out.Error({source.Path(), 0}, "the font source cannot be read");
    for (const SourceLine& line : source.Lines()) {
        const SourceRef at = source.At(line);
        const auto& f = line.fields;
        int size = 0;
        if (f.size() == 2 && (f[0] == "folder" || f[0] == "license")) {
            (f[0] == "folder" ? m_folder : m_license) = f[1];
            m_licenseAt = f[0] == "license" ? at : m_licenseAt;
        } else if (f.size() == 3 && f[0] == "face") {
            m_faces[f[1]] = f[2];
        } else if (f.size() == 3 && m_faces.count(f[1]) && ParseNumber(f[2], size) && size >= 6 && size <= 128) {
            // "-" stands for the empty font name, which the widgets' font rule turns into a file too.
            const std::string file = Str(RSW::GetFontFileName(f[0] == "-" ? "" : f[0].c_str()));
            if (!m_fonts
                     .emplace(file, Entry{f[0] == "-" ? "tvx_default" : f[0], f[1], uint32_t(size), at, nullptr, false})
                     .second)
                out.Error(at, "font \"" + file + "\" is given twice");
        } else {
            out.Error(at,
                      "expected: folder <path>, license <file>, face <face> <file.ttf> or <key> <face> <pixel size>");
        }
    }
}

bool FontSet::Has(const std::string& fontName) const {
    return m_fonts.count(Str(RSW::GetFontFileName(fontName.c_str()))) > 0;
}

const authoring::BakedFont* FontSet::Baked(const std::string& fontName) {
    const std::string file = Str(RSW::GetFontFileName(fontName.c_str()));
    const auto found = m_fonts.find(file);
    if (found == m_fonts.end())
        return nullptr;
    Entry& entry = found->second;
    if (!entry.baked && !entry.failed) {
        auto baked = std::make_unique<authoring::BakedFont>();
        std::string error;
        const std::string base = file.substr(0, file.size() - 4);
        if (authoring::BakeFont(m_folder + "/" + m_faces[entry.face], entry.size, kExtraCodes, base, *baked, error)) {
            baked->font.name = entry.key;
            entry.baked = std::move(baked);
        } else {
            m_out.Error(entry.from, error);
            entry.failed = true;
        }
    }
    return entry.baked.get();
}

void FontSet::AddAll(const std::string& package) {
    for (auto& [file, entry] : m_fonts) {
        const authoring::BakedFont* baked = Baked(file);
        if (!baked)
            continue;
        authoring::PackageWriter writer;
        authoring::AddBakedFont(writer, file.substr(0, file.size() - 4), *baked);
        for (const auto& e : writer.Entries())
            m_out.Add(package, e.name, e.bytes, entry.from, e.typeId);
    }
    std::string bytes;
    if (m_license.empty() || !authoring::ReadWholeFile(m_license, bytes))
        m_out.Error(m_licenseAt, "the fonts' copyright file \"" + m_license + "\" cannot be read");
    else
        m_out.AddLoose("LICENSES/fonts-dejavu-core.txt", bytes, m_licenseAt);
}

// ---- Pictures ----

ImageFiles ImageFilesOf(const std::string& image) {
    // The widget path rule is the package mode's; XML files are still read from the disk
    // here (the checker reads the packages' documents after this).
    const bool xmlFromPackages = GameServices::Utilities::XmlReader::IsPackageMode();
    GameServices::Bridge::FileSystem::UsePackages();
    GameServices::Utilities::XmlReader::SetPackageMode(xmlFromPackages);
    ImageFiles files;
    files.texture = Str(RSW::GetTextureFileName(image.c_str()));
    const std::string path = Str(RSW::GetTextureFileName(
        GameServices::Bridge::FileSystem::GetFilePath(GameServices::Bridge::FILE_WIDGET_DATA, image.c_str())));
    files.material = path.substr(0, path.size() - 4) + ".mat";
    files.slot = files.texture.substr(0, files.texture.size() - 4) + "_slot";
    files.sprites.push_back(Str(RSW::GetSpriteFileName(image.c_str(), true)));
    const std::string last = Str(RSW::GetSpriteFileName(image.c_str(), false));
    if (last != files.sprites[0])
        files.sprites.push_back(last);
    return files;
}

void AddPicture(Output& out, const std::string& package, const std::string& image, const std::vector<uint32_t>& argb,
                uint32_t width, uint32_t height, const SourceRef& from) {
    const ImageFiles files = ImageFilesOf(image);
    authoring::TextureSlotData slot;
    slot.textures = {files.texture};
    authoring::MaterialData material;
    material.slots = {files.slot};
    out.Add(package, files.texture, authoring::PngBytes(argb, width, height), from, TypeKey::Texture);
    out.Add(package, files.slot, authoring::TextureSlotBytes(slot), from, TypeKey::TextureSlot);
    out.Add(package, files.material, authoring::MaterialBytes(material), from, TypeKey::Material);
    for (const std::string& sprite : files.sprites)
        out.Add(package, sprite, authoring::SpriteBytes(2, width, height, files.material), from, TypeKey::Sprite);
}

namespace {

// Text centred in the canvas, lines split at '|'. False, with what does not fit, when a line is
// wider than the canvas or the lines taller: the picture would show it cut.
bool DrawText(ArtCanvas& canvas, const authoring::BakedFont& font, const std::string& text, uint32_t argb,
              std::string& error) {
    const std::vector<std::string> lines = SplitFields(text, '|');
    const int lineHeight = int(font.font.lineHeight);
    if (lineHeight * int(lines.size()) > int(canvas.height)) {
        error = std::to_string(lines.size()) + " lines of text are " + std::to_string(lineHeight * lines.size()) +
                " px tall in a picture " + std::to_string(canvas.height) + " px high";
        return false;
    }
    int y = (int(canvas.height) - lineHeight * int(lines.size())) / 2;
    for (const std::string& line : lines) {
        int width = 0;
        for (unsigned char c : line)
            width += int(font.font.glyphs[c].width);
        if (width > int(canvas.width)) {
            error = "\"" + line + "\" is " + std::to_string(width) + " px wide in a picture " +
                    std::to_string(canvas.width) + " px wide";
            return false;
        }
        int x = (int(canvas.width) - width) / 2;
        for (unsigned char c : line) {
            const authoring::FontGlyph& g = font.font.glyphs[c];
            for (uint32_t row = 0; row < g.height; ++row)
                for (uint32_t col = 0; col < g.width; ++col) {
                    const uint32_t cell = font.atlas[size_t(g.y + row) * font.atlasWidth + g.x + col];
                    canvas.Paint(x + int(col), y + g.yOffset + int(row), argb, float(cell >> 24) / 255.0f);
                }
            x += int(g.width);
        }
        y += lineHeight;
    }
    return true;
}

struct Recipe {
    const char* name;
    size_t colours;  // leading colour parameters
    size_t numbers;  // then numeric parameters
    const char* form;
};
const Recipe kRecipes[] = {
    {"solid", 1, 0, "solid <colour>"},
    {"gradient", 2, 0, "gradient <top colour> <bottom colour>"},
    {"panel", 3, 2, "panel <top colour> <bottom colour> <border colour> <border px> <corner px>"},
    {"disc", 2, 1, "disc <inner colour> <outer colour> <hole fraction 0-90>"},
    {"glow", 1, 0, "glow <colour>"},
    {"stripes", 2, 1, "stripes <colour> <colour> <stripe px>"},
    {"digit", 2, 1, "digit <colour> <background> <0-9>"},
    {"cross", 2, 0, "cross <colour> <background>"},
    {"tick", 1, 0, "tick <colour>"},
    {"star", 1, 0, "star <colour>"},
    {"pointer", 2, 0, "pointer <colour> <outline>"},
    {"text", 2, 0, "text <colour> <background> <font> \"<text, lines split by |>\""},
};

// Signed distance to a closed polygon (negative inside, even-odd rule).
float Polygon(float x, float y, const float* px, const float* py, int count) {
    float d = 1e9f;
    bool inside = false;
    for (int i = 0, j = count - 1; i < count; j = i++) {
        d = std::min(d, Segment(x, y, px[i], py[i], px[j], py[j]));
        if ((py[i] > y) != (py[j] > y) && x < (px[j] - px[i]) * (y - py[i]) / (py[j] - py[i]) + px[i])
            inside = !inside;
    }
    return inside ? -d : d;
}

}  // namespace

bool DrawRecipe(const std::vector<std::string>& words, uint32_t width, uint32_t height, FontSet& fonts,
                std::vector<uint32_t>& argb, std::string& error) {
    const Recipe* recipe = nullptr;
    for (const Recipe& r : kRecipes)
        if (!words.empty() && words[0] == r.name)
            recipe = &r;
    if (!recipe) {
        error = "unknown recipe \"" + (words.empty() ? std::string() : words[0]) + "\"";
        return false;
    }
    const size_t extra = recipe->name == std::string("text") ? 2 : 0;
    std::vector<uint32_t> colours(recipe->colours);
    std::vector<int> numbers(recipe->numbers);
    bool ok = words.size() == 1 + recipe->colours + recipe->numbers + extra;
    for (size_t i = 0; ok && i < recipe->colours; ++i)
        ok = Colour(words[1 + i], colours[i]);
    for (size_t i = 0; ok && i < recipe->numbers; ++i)
        ok = ParseNumber(words[1 + recipe->colours + i], numbers[i]) && numbers[i] >= 0 && numbers[i] <= 1000;
    if (!ok) {
        error = std::string("expected: ") + recipe->form;
        return false;
    }
    const std::string name = recipe->name;
    ArtCanvas c(width, height);
    const float w = float(width), h = float(height);
    if (name == "solid") {
        std::fill(c.pixels.begin(), c.pixels.end(), colours[0]);
    } else if (name == "gradient") {
        for (uint32_t y = 0; y < height; ++y)
            std::fill_n(c.pixels.begin() + ptrdiff_t(y) * width, width,
                        Mix(colours[0], colours[1], height > 1 ? float(y) / float(height - 1) : 0.0f));
    } else if (name == "panel") {
        const float border = float(numbers[0]), radius = float(numbers[1]);
        c.Shape(colours[2], [&](float x, float y) { return RoundedBox(c, x, y, 0, radius); });
        // The inside replaces the border colour (a clear fill leaves a frame).
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) {
                const float d =
                    RoundedBox(c, float(x) + 0.5f, float(y) + 0.5f, border, std::max(radius - border, 0.0f));
                uint32_t& pixel = c.pixels[size_t(y) * width + x];
                pixel = Mix(pixel, Mix(colours[0], colours[1], float(y) / std::max(h - 1, 1.0f)), 0.5f - d);
            }
    } else if (name == "disc") {
        const float outer = std::min(w, h) / 2 - 1, hole = outer * float(numbers[0]) / 100.0f;
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) {
                const float r = std::hypot(float(x) + 0.5f - w / 2, float(y) + 0.5f - h / 2);
                const float cover = std::min(outer - r, r - hole) + 0.5f;
                c.Paint(int(x), int(y), Mix(colours[0], colours[1], (r - hole) / std::max(outer - hole, 1.0f)), cover);
            }
    } else if (name == "glow") {
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x) {
                const float dx = (float(x) + 0.5f - w / 2) / (w / 2), dy = (float(y) + 0.5f - h / 2) / (h / 2);
                const float t = std::clamp(1.0f - std::hypot(dx, dy), 0.0f, 1.0f);
                c.Paint(int(x), int(y), colours[0], t * t);
            }
    } else if (name == "stripes") {
        const int stripe = std::max(numbers[0], 1);
        for (uint32_t y = 0; y < height; ++y)
            for (uint32_t x = 0; x < width; ++x)
                c.pixels[size_t(y) * width + x] = ((int(x + y) / stripe) % 2) ? colours[1] : colours[0];
    } else if (name == "digit" || name == "cross" || name == "tick" || name == "star") {
        std::fill(c.pixels.begin(), c.pixels.end(), name == "digit" || name == "cross" ? colours[1] : 0u);
        const float stroke = std::max(2.0f, std::min(w, h) / 9);
        if (name == "digit" && numbers[0] > 9) {
            error = "a digit is 0 to 9";
            return false;
        }
        c.Shape(colours[0], [&](float x, float y) {
            float d = 1e9f;
            if (name == "digit") {
                // The cell keeps a margin of one stroke; segments are rounded strokes.
                const float sx = w - 2 * stroke, sy = (h - 2 * stroke) / 2;
                for (int s = 0; s < 7; ++s)
                    if (kDigitSegments[numbers[0]] & (1 << s))
                        d = std::min(d, Segment(x, y, stroke + kSegments[s][0] * sx, stroke + kSegments[s][1] * sy,
                                                stroke + kSegments[s][2] * sx, stroke + kSegments[s][3] * sy));
            } else if (name == "cross") {
                d = std::min(Segment(x, y, w * 0.2f, h * 0.2f, w * 0.8f, h * 0.8f),
                             Segment(x, y, w * 0.8f, h * 0.2f, w * 0.2f, h * 0.8f));
            } else if (name == "tick") {
                d = std::min(Segment(x, y, w * 0.15f, h * 0.55f, w * 0.4f, h * 0.8f),
                             Segment(x, y, w * 0.4f, h * 0.8f, w * 0.85f, h * 0.2f));
            } else {
                float px[10], py[10];
                for (int k = 0; k < 10; ++k) {
                    const float r = (k % 2 ? 0.2f : 0.48f) * std::min(w, h), a = float(k) * 3.14159265f / 5;
                    px[k] = w / 2 + r * std::sin(a);
                    py[k] = h / 2 - r * std::cos(a);
                }
                return Polygon(x, y, px, py, 10);
            }
            return d - stroke / 2;
        });
    } else if (name == "pointer") {
        const float px[7] = {1, 1, w * 0.28f, w * 0.45f, w * 0.6f, w * 0.43f, w * 0.72f};
        const float py[7] = {1, h * 0.8f, h * 0.62f, h * 0.96f, h * 0.88f, h * 0.55f, h * 0.55f};
        c.Shape(colours[1], [&](float x, float y) { return Polygon(x, y, px, py, 7) - 1.0f; });
        c.Shape(colours[0], [&](float x, float y) { return Polygon(x, y, px, py, 7) + 0.5f; });
    } else {
        std::fill(c.pixels.begin(), c.pixels.end(), colours[1]);
        const authoring::BakedFont* font = fonts.Baked(words[3]);
        if (!font) {
            error = "no font \"" + words[3] + "\" in the font source";
            return false;
        }
        if (!DrawText(c, *font, words[4], colours[0], error))
            return false;
    }
    argb = std::move(c.pixels);
    return true;
}

// ---- Widget animations ----

namespace {

struct Move {
    authoring::Track position = authoring::Track::Vec2();
    authoring::Track rotation = authoring::Track::Float();
    authoring::Track scale = authoring::Track::Vec2();
    authoring::Track colour = authoring::Track::Color();
};

uint32_t Alpha(float a) { return (uint32_t(std::lround(std::clamp(a, 0.0f, 1.0f) * 255)) << 24) | 0xFFFFFFu; }

}  // namespace

bool AnimationBytes(const std::vector<std::string>& words, std::string& bytes, std::string& error) {
    // <frames> <move> [dx dy]
    int frames = 0;
    if (words.size() < 2 || !ParseNumber(words[0], frames) || frames < 2 || frames > 300) {
        error = "expected: <frames 2-300> <move> [parameters]";
        return false;
    }
    const uint16_t last = uint16_t(frames - 1), mid = uint16_t(last / 2);
    const std::string& move = words[1];
    int dx = 0, dy = 0;
    // Offsets are in screen pixels (y down); the track holds y upwards.
    const bool moving = move == "slide" || move == "slideout";
    if (moving != (words.size() == 4) || (moving && (!ParseNumber(words[2], dx) || !ParseNumber(words[3], dy)))) {
        error = "\"" + move + "\" takes " + (moving ? "<dx> <dy>" : "no parameters");
        return false;
    }
    Move m;
    if (move == "fadein") {
        m.colour.ColorKey(0, Alpha(0)).ColorKey(last, Alpha(1));
    } else if (move == "fadeout") {
        m.colour.ColorKey(0, Alpha(1)).ColorKey(last, Alpha(0));
    } else if (move == "slide") {
        m.position.Key(0, {float(dx), float(-dy)}).Key(last, {0, 0});
        m.colour.ColorKey(0, Alpha(0)).ColorKey(uint16_t(last / 3), Alpha(1));
    } else if (move == "slideout") {
        m.position.Key(0, {0, 0}).Key(last, {float(dx), float(-dy)});
        m.colour.ColorKey(0, Alpha(1)).ColorKey(last, Alpha(0));
    } else if (move == "pop") {
        m.scale.Key(0, {0.2f, 0.2f}).Key(uint16_t(last * 2 / 3), {1.12f, 1.12f}).Key(last, {1, 1});
        m.colour.ColorKey(0, Alpha(0)).ColorKey(uint16_t(last / 3), Alpha(1));
    } else if (move == "pulse") {
        m.scale.Key(0, {1, 1}).Key(mid, {1.08f, 1.08f}).Key(last, {1, 1});
    } else if (move == "blink") {
        m.colour.ColorKey(0, Alpha(1)).ColorKey(mid, Alpha(0.25f)).ColorKey(last, Alpha(1));
    } else if (move == "spin") {
        m.rotation.Key(0, {0}).Key(last, {360});
    } else if (move == "spinfade") {
        m.rotation.Key(0, {0}).Key(last, {180});
        m.colour.ColorKey(0, Alpha(0)).ColorKey(mid, Alpha(1)).ColorKey(last, Alpha(0));
    } else {
        error = "unknown move \"" + move + "\"";
        return false;
    }
    bytes = authoring::PrscAnimationBytes(float(frames), kFramesPerSecond, m.position, m.rotation, m.scale, m.colour,
                                          authoring::Track::UV());
    return true;
}

// ---- The generator ----

namespace {

const std::map<std::string, std::string>& PackageWords() {
    static const std::map<std::string, std::string> words = {
        {"2d", kGlobal2D}, {"menu", "general_globalgameassets.dir"}, {"show", "specific_globalgameassets.dir"}};
    return words;
}

void AddAnimations(Output& out) {
    const SourceFile source(out.DataRoot(), "content/animations.txt");
    if (!source.Ok())
        out.Error({source.Path(), 0}, "the animation source cannot be read");
    for (const SourceLine& line : source.Lines()) {
        const SourceRef at = source.At(line);
        std::vector<std::string> names;
        std::vector<int> numbers;
        std::string bytes, error;
        if (!NameRange(line.fields[0], names, numbers) || line.fields[0].size() < 5 ||
            !line.fields[0].ends_with(".anm")) {
            out.Error(at, "\"" + line.fields[0] + "\" is not an animation name (<name>.anm, ranges allowed)");
            continue;
        }
        if (!AnimationBytes(std::vector<std::string>(line.fields.begin() + 1, line.fields.end()), bytes, error)) {
            out.Error(at, error);
            continue;
        }
        for (const std::string& name : names)
            out.Add(kGlobal2D, name, bytes, at, TypeKey::PrscAnimation);
    }
}

}  // namespace

void GenerateInterfaceArt(Output& out) {
    FontSet fonts(out);
    fonts.AddAll(kGlobal2D);
    AddAnimations(out);

    const SourceFile source(out.DataRoot(), "content/art/interface.txt");
    if (!source.Ok())
        out.Error({source.Path(), 0}, "the interface art source cannot be read");
    std::set<std::string> drawn;  // texture file names
    std::vector<std::string> elsewhere;
    for (const SourceLine& line : source.Lines()) {
        const SourceRef at = source.At(line);
        std::vector<std::string> words;
        if (!Words(line.text, words)) {
            out.Error(at, "unclosed quote");
            continue;
        }
        if (words.size() == 2 && words[0] == "elsewhere") {
            elsewhere.push_back(authoring::LowerName(words[1]));
            continue;
        }
        const auto package = PackageWords().find(words[0]);
        int width = 0, height = 0;
        std::vector<std::string> names;
        std::vector<int> numbers;
        if (words.size() < 5 || package == PackageWords().end() || !ParseNumber(words[2], width) ||
            !ParseNumber(words[3], height) || width < 1 || height < 1 || width > 1024 || height > 1024 ||
            !NameRange(words[1], names, numbers)) {
            out.Error(at, "expected: 2d|menu|show <image> <width 1-1024> <height> <recipe> [parameters]");
            continue;
        }
        for (size_t k = 0; k < names.size(); ++k) {
            std::vector<std::string> recipe;
            std::string error;
            bool ok = true;
            for (size_t i = 4; i < words.size() && ok; ++i) {
                recipe.emplace_back();
                ok = Expand(words[i], numbers[k], int(k), recipe.back());
            }
            std::vector<uint32_t> argb;
            if (!ok || !DrawRecipe(recipe, uint32_t(width), uint32_t(height), fonts, argb, error)) {
                out.Error(at, ok ? error : "a choice is missing for " + names[k], names[k]);
                continue;
            }
            AddPicture(out, package->second, names[k], argb, uint32_t(width), uint32_t(height), at);
            drawn.insert(ImageFilesOf(names[k]).texture);
        }
    }

    // Every picture and font the layouts name must be made here (or by the character pictures).
    Output scratch(out.DataRoot(), {});
    const SourceFile flow(out.DataRoot(), "content/layouts/flow.txt");
    for (const FlowScreen& screen : ReadFlow(flow, scratch)) {
        const SourceFile layoutSource(out.DataRoot(), LayoutSourcePath(screen));
        const Layout layout = ReadLayout(layoutSource, scratch);
        for (const std::string& image : layout.images) {
            const std::string texture = ImageFilesOf(image).texture;
            const bool external = std::any_of(elsewhere.begin(), elsewhere.end(),
                                              [&](const std::string& prefix) { return texture.rfind(prefix, 0) == 0; });
            if (!external && !drawn.count(texture))
                out.Error({layoutSource.Path(), 0}, "image \"" + image + "\" has no recipe in " + source.Path());
        }
        for (const std::string& font : layout.fonts)
            if (!fonts.Has(font))
                out.Error({layoutSource.Path(), 0}, "font \"" + font + "\" is not in content/fonts.txt");
    }
}

}  // namespace content
