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
#include "tools/authoring/PlaceholderSprites.h"
#include "tools/authoring/PackageWriter.h"

namespace {

constexpr uint32_t kFontPixels = 24;

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
        authoring::CollectImages(bytes, images);
        package.Add(file.name, TypeKey::Data, bytes);
    }
    for (const std::string& image : images)
        authoring::AddPlaceholderSprite(package, image);

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
