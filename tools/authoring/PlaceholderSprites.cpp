#include "tools/authoring/PlaceholderSprites.h"

#include <cstdint>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "tools/authoring/DrawingWriters.h"

namespace authoring {

namespace {

constexpr uint32_t kImageSize = 16;

// A colour per look, so that states and parts can be told apart on screen.
uint32_t ColourOf(const std::string& image) {
    if (image.find("hover") != std::string::npos)
        return 0xFFB0C4DEu;
    if (image.find("pressed") != std::string::npos || image.find("selected") != std::string::npos)
        return 0xFF4682B4u;
    if (image.find("disabled") != std::string::npos || image.find("locked") != std::string::npos)
        return 0xFF808080u;
    if (image.find("entry") != std::string::npos)
        return 0xFF203040u;
    if (image.find("popup") != std::string::npos)
        return 0xFF2050A0u;
    if (image.find("backspace") != std::string::npos)
        return 0xFFC04040u;
    return 0xFFE0E0E0u;
}

}  // namespace

void CollectImages(const std::string& text, std::set<std::string>& images) {
    for (size_t open = text.find('"'); open != std::string::npos;) {
        const size_t close = text.find('"', open + 1);
        if (close == std::string::npos)
            break;
        std::string value = LowerName(text.substr(open + 1, close - open - 1));
        const size_t slash = value.find_last_of("/\\");
        if (slash != std::string::npos)
            value = value.substr(slash + 1);
        if (value.size() > 4 && value.ends_with(".png"))
            images.insert(value);
        open = text.find('"', close + 1);
    }
}

void AddPlaceholderSprite(PackageWriter& package, const std::string& image) {
    const std::string base = image.substr(0, image.size() - 4);
    const std::vector<uint32_t> pixels(kImageSize * kImageSize, ColourOf(image));
    TextureSlotData slot;
    slot.textures = {image};
    MaterialData material;
    material.slots = {base + "_slot"};
    package.Add(image, TypeKey::Texture, PngBytes(pixels, kImageSize, kImageSize))
        .Add(base + "_slot", TypeKey::TextureSlot, TextureSlotBytes(slot))
        .Add(base + ".mat", TypeKey::Material, MaterialBytes(material))
        .Add(base + ".spt", TypeKey::Sprite, SpriteBytes(2, kImageSize, kImageSize, base + ".mat"));
}

}  // namespace authoring
