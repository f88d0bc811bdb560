#pragma once
// Avatar descriptions: files (character folder, root "root", element "Avatar_KorvoCity")
// naming a look's assembly and its eight parts, read into an Appearance.
#include <array>

#include "engine/core/ISerializable.h"
#include "gameservices/game/Appearance.h"

namespace GameServices::KorvoGame {

// "Name", "CharacterAssembly_Name", "CharacterAssembly_Id", then "<X>_Name", "<X>_Id" and
// "<X>_Customizable" for X = Head, EyeLeft, EyeRight, Hairstyle, Top, Bottom, Footwear,
// Eyewear.
class sAppearance_KorvoCity : public Utilities::ISerializable {
public:
    struct Entry {
        TString<char> Name;
        u32 Id = 0;
        bool Customizable = false;
    };

    void Serialize(Utilities::ISerialization& serialization) override;
    // Takes the look's name, its assembly and, for every part, the id, name and customizable
    // flag: what a saved profile needs to dress and restyle its avatar again.
    void Describe(const Appearance& look);

    // The element prefix of each part ("<prefix>_Name", "_Id", "_Customizable"), by type.
    static constexpr std::array<const char*, NB_ANATOMY_PART_TYPE> kAnatomyFields = {"Head", "EyeLeft", "EyeRight",
                                                                                     "Hairstyle"};
    static constexpr std::array<const char*, NB_OUTFIT_PART_TYPE> kOutfitFields = {"Top", "Bottom", "Footwear",
                                                                                   "Eyewear"};

    TString<char> Name;
    TString<char> CharacterAssemblyName;
    u32 CharacterAssemblyId = 0;
    Entry AnatomyParts[NB_ANATOMY_PART_TYPE];
    Entry OutfitParts[NB_OUTFIT_PART_TYPE];
};

class AppearanceManager {
public:
    static AppearanceManager* Instance();
    // Deletes the singleton (game end); the next Instance() makes a fresh one.
    static void Destroy();
    virtual ~AppearanceManager() = default;
    AppearanceManager(const AppearanceManager&) = delete;
    AppearanceManager& operator=(const AppearanceManager&) = delete;

    // Fills out from the named description. A part with a non-zero id takes its name from
    // the assembly's wardrobe or anatomy (the name in the file when the lookup fails); id 0
    // keeps the name in the file. An unreadable file is reported and gives empty parts.
    void LoadAvatarDescription(const TString<char>& name, Appearance& out);

private:
    AppearanceManager() = default;
};

}  // namespace GameServices::KorvoGame
