#pragma once
// The character sources read into tables: data/content/characters.txt (assemblies, items,
// looks) and data/content/art/characters.txt (skeletons, item figures, animations, pictures).
// Bad lines are reported through the output and left out.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tools/content/ContentBuild.h"

namespace content::characters {

// The eight part lists, in look order: anatomy (head, eyes, hair), then outfit.
inline constexpr int kPartLists = 8;
inline constexpr std::array<const char*, kPartLists> kListNames = {
    "head", "eye_left", "eye_right", "Hairstyle", "Tops", "Bottoms", "Footwear", "Eyewear"};
// The look fields of each list and the award type of each list ("" = not awardable).
inline constexpr std::array<const char*, kPartLists> kLookFields = {
    "Head", "EyeLeft", "EyeRight", "Hairstyle", "Top", "Bottom", "Footwear", "Eyewear"};
inline constexpr std::array<const char*, kPartLists> kAwardTypes = {
    "", "", "", "Hair", "Top", "Bottom", "Footwear", "Eyewear"};
inline constexpr int kFirstOutfitList = 4;
// The list whose place 0 in a look is none: the glasses tab's own no-glasses item, which no list
// holds, worn by its name without extension and id 0, as the tab puts it on.
inline constexpr int kEyewearList = 7;
inline constexpr const char* kNoEyewear = "No_Eyewear";

enum Set { kDefault, kUnlockable, kSets };

struct Assembly {
    std::string name;
    uint32_t id = 0;
    bool male = true;
    std::string tone;
    SourceRef at;
};

struct ItemList {
    uint32_t firstId = 0;
    std::vector<std::string> items;  // as written, "{t}" kept
    SourceRef at;
};

struct Look {
    std::string file;  // without ".xml"
    std::string assembly;
    bool isDefault = false;
    std::array<int, kPartLists> pick{};  // 1-based place in the default list; eyewear 0: none
    SourceRef at;
};

// An extra set: a male and a female wardrobe under one name.
struct RetailerSet {
    std::string name;
    uint32_t ids[2] = {0, 0};  // male, female
    ItemList lists[2][kPartLists];
    SourceRef at;
};

struct Characters {
    std::vector<Assembly> assemblies;
    // [set][male ? 0 : 1][list]
    ItemList lists[kSets][2][kPartLists];
    std::vector<RetailerSet> retailers;
    std::vector<Look> looks;

    const Assembly* FindAssembly(const std::string& name) const;
};

Characters ReadCharacters(Output& out);

// "ChM" or "ChF".
const char* PrefixOf(bool male);
// The model name of an item for a tone: "ChM_" + item ("{t}" replaced) + ".mdl".
std::string ItemModel(bool male, const std::string& item, const std::string& tone);
// The figure key of an item: the item less a trailing "_{t}".
std::string FigureKey(const std::string& item);
// True for an item that takes its wearer's skin tone ("..._skin01").
bool IsSkinToned(const std::string& figureKey);
// "THUMBNAIL_" + the model name less its extension and tone + ".png", by the wardrobe's rule.
std::string ThumbnailOf(const std::string& model);

struct Box {
    int bone = 0;
    std::array<float, 3> centre{}, half{};
    char paint = 'a';  // a, b, s, or 'c' for the fixed colour
    uint32_t argb = 0;
};

struct Bone {
    std::string name;
    int parent = -1;
    std::array<float, 3> offset{};
};

struct Skeleton {
    std::string name;
    bool male = true;
    float scale = 1.0f;
};

struct Figure {
    std::string shape;
    uint32_t a = 0, b = 0;
    SourceRef at;
};

struct Channel {
    int bone = 0;
    int axis = 0;  // 0-2 turn about x, y, z; 3 lift; 4 shift sideways
    float base = 0, amplitude = 0, cycles = 0, phase = 0;
};

struct Animation {
    std::string name;
    int frames = 0;
    std::vector<Channel> channels;
    SourceRef at;
};

struct Picture {
    int width = 0, height = 0;
    uint32_t top = 0, bottom = 0;
};

struct Art {
    std::vector<Bone> bones;
    std::vector<Skeleton> skeletons;
    std::vector<std::pair<std::string, uint32_t>> tones;  // in source order
    std::map<std::string, std::vector<Box>> shapes;
    // [male ? 0 : 1] figure key -> figure ("any" fills both)
    std::map<std::string, Figure> figures[2];
    std::vector<Animation> animations;
    std::map<std::string, Picture> pictures;

    const Skeleton* FindSkeleton(const std::string& name) const;
    const Animation* FindAnimation(const std::string& name) const;
    // The skin colour of a tone; the first tone for an unknown one.
    uint32_t ToneColour(const std::string& tone) const;
    // World rest position of each bone of the male build.
    std::vector<std::array<float, 3>> RestPositions() const;
};

Art ReadArt(Output& out);

// The skin animation file of an animation for a skeleton, lower case: "chm_idle.ska".
std::string AnimationFile(bool male, const std::string& animation);

}  // namespace content::characters
