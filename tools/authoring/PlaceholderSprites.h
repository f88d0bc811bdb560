#pragma once
// Plain coloured stand-ins for the pictures of the sample screens: each image a layout names
// becomes a small PNG with its texture slot, material and sprite.
#include <set>
#include <string>

#include "tools/authoring/PackageWriter.h"

namespace authoring {

// Every quoted value of the text that ends in ".png", by its file name (lower-cased).
void CollectImages(const std::string& text, std::set<std::string>& images);
// "<image>", "<base>_slot", "<base>.mat" and "<base>.spt" for a lower-cased "<base>.png".
void AddPlaceholderSprite(PackageWriter& package, const std::string& image);

}  // namespace authoring
