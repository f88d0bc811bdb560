#pragma once
// Interface art from its sources:
//  - content/fonts.txt: "folder <path>", "license <copyright file>", "face <face> <file.ttf>",
//    then "<key> <face> <pixel size>" per font ("-": the font an empty font name gives);
//  - content/animations.txt: "<name>.anm <frames> <move> [dx dy]", 30 frames a second;
//  - content/art/interface.txt: "<2d|menu|show> <image> <width> <height> <recipe> ..." and
//    "elsewhere <prefix>" for pictures another generator draws.
// Derived file names (font, texture, material, sprite) come from the widget rules.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/authoring/FontBaker.h"
#include "tools/content/ContentBuild.h"

namespace content {

// The fonts of the font source, baked when first needed.
class FontSet {
public:
    explicit FontSet(Output& out);
    // Whether a widget font name (a key, with or without ".fon") names a font of the source.
    bool Has(const std::string& fontName) const;
    // The baked font of a widget font name; null (with an error for a bad font file) otherwise.
    const authoring::BakedFont* Baked(const std::string& fontName);
    // Adds every font (font, material, slot, atlas) to the package and the copyright file.
    void AddAll(const std::string& package);

private:
    struct Entry {
        std::string key;
        std::string face;
        uint32_t size = 0;
        SourceRef from;
        std::unique_ptr<authoring::BakedFont> baked;
        bool failed = false;
    };
    Output& m_out;
    std::string m_folder;
    std::string m_license;
    SourceRef m_licenseAt;
    std::map<std::string, std::string> m_faces;
    std::map<std::string, Entry> m_fonts;  // by font file name
};

// The files of an image name as the widgets look them up.
struct ImageFiles {
    std::string texture;
    std::string slot;
    std::string material;
    std::vector<std::string> sprites;  // the Image kind's, then the other kinds' when it differs
};
ImageFiles ImageFilesOf(const std::string& image);

// Adds the texture, slot, material and sprites of a picture.
void AddPicture(Output& out, const std::string& package, const std::string& image, const std::vector<uint32_t>& argb,
                uint32_t width, uint32_t height, const SourceRef& from);

// Draws a recipe ("panel <top> <bottom> <border> <px> <corner>", ...; colours AARRGGBB) into
// width x height ARGB pixels; false with the reason for a bad recipe.
bool DrawRecipe(const std::vector<std::string>& words, uint32_t width, uint32_t height, FontSet& fonts,
                std::vector<uint32_t>& argb, std::string& error);

// The ".anm" bytes of "<frames> <move> [dx dy]"; false with the reason for a bad record.
bool AnimationBytes(const std::vector<std::string>& words, std::string& bytes, std::string& error);

}  // namespace content
