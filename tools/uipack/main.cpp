// uipack: builds the sample interface package from data/: the screen layouts, the navigation
// and popups files, the string table, a plain coloured sprite for every image the layouts
// name, and the font they use baked from a TrueType file.
//   uipack <data folder> <package mount path> <ttf file>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/DrawingWriters.h"
#include "tools/authoring/FontBaker.h"
#include "tools/authoring/LocalizationWriter.h"
#include "tools/authoring/PackageWriter.h"

namespace {

constexpr uint32_t kImageSize = 16;
constexpr uint32_t kFontPixels = 24;

// Every quoted value of the layout that ends in ".png", by its file name (lower-cased).
void CollectImages(const std::string& layout, std::set<std::string>& images) {
    for (size_t open = layout.find('"'); open != std::string::npos;) {
        const size_t close = layout.find('"', open + 1);
        if (close == std::string::npos)
            break;
        std::string value = authoring::LowerName(layout.substr(open + 1, close - open - 1));
        const size_t slash = value.find_last_of("/\\");
        if (slash != std::string::npos)
            value = value.substr(slash + 1);
        if (value.size() > 4 && value.ends_with(".png"))
            images.insert(value);
        open = layout.find('"', close + 1);
    }
}

// A colour per look, so that states and parts can be told apart on screen.
uint32_t ColourOf(const std::string& image) {
    if (image.find("hover") != std::string::npos)
        return 0xFFB0C4DEu;
    if (image.find("pressed") != std::string::npos)
        return 0xFF4682B4u;
    if (image.find("disabled") != std::string::npos)
        return 0xFF808080u;
    if (image.find("entry") != std::string::npos)
        return 0xFF203040u;
    if (image.find("popup") != std::string::npos)
        return 0xFF2050A0u;
    if (image.find("backspace") != std::string::npos)
        return 0xFFC04040u;
    return 0xFFE0E0E0u;
}

void AddImage(authoring::PackageWriter& package, const std::string& image) {
    const std::string base = image.substr(0, image.size() - 4);
    const std::vector<uint32_t> pixels(kImageSize * kImageSize, ColourOf(image));
    authoring::TextureSlotData slot;
    slot.textures = {image};
    authoring::MaterialData material;
    material.slots = {base + "_slot"};
    package.Add(image, TypeKey::Texture, authoring::PngBytes(pixels, kImageSize, kImageSize))
        .Add(base + "_slot", TypeKey::TextureSlot, authoring::TextureSlotBytes(slot))
        .Add(base + ".mat", TypeKey::Material, authoring::MaterialBytes(material))
        .Add(base + ".spt", TypeKey::Sprite,
             authoring::SpriteBytes(2, kImageSize, kImageSize, base + ".mat"));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: uipack <data folder> <package mount path> <ttf file>\n");
        return 2;
    }
    const std::filesystem::path data = argv[1];
    authoring::PackageWriter package;
    std::set<std::string> images;
    const struct {
        const char* folder;
        const char* name;
    } files[] = {{"screens", "answerscreen.xaml"}, {"screens", "hintbar.xaml"},
                 {"screens", "popupconfirm.xaml"}, {"screens", "sketch.flow"},
                 {"global", "popups.xml"}};
    for (const auto& file : files) {
        std::string bytes;
        if (!authoring::ReadWholeFile((data / file.folder / file.name).string(), bytes)) {
            fprintf(stderr, "uipack: cannot read %s/%s\n", file.folder, file.name);
            return 1;
        }
        CollectImages(bytes, images);
        package.Add(file.name, TypeKey::Data, bytes);
    }
    for (const std::string& image : images)
        AddImage(package, image);

    std::string source;
    std::string error;
    authoring::LocalizationEntries strings;
    if (!authoring::ReadWholeFile((data / "strings" / "gstrc_english.txt").string(), source) ||
        !authoring::ParseLocalizationSource(source, strings, error)) {
        fprintf(stderr, "uipack: string table: %s\n", error.c_str());
        return 1;
    }
    package.Add("gstrc_english.loc", TypeKey::Localization, authoring::LocalizationBytes(strings));

    authoring::BakedFont font;
    if (!authoring::BakeFont(argv[3], kFontPixels, {}, "gamefont", font, error)) {
        fprintf(stderr, "uipack: %s\n", error.c_str());
        return 1;
    }
    authoring::AddBakedFont(package, "gamefont", font);
    if (!package.WriteFolder(argv[2])) {
        fprintf(stderr, "uipack: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
