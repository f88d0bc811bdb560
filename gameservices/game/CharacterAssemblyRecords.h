#pragma once
// The XML records of the character files: "CharacterAssemblies.xml" (a list of assemblies),
// the wardrobe files (the outfit parts of each type) and the anatomy files (the anatomy parts
// of each type).
#include "engine/core/ISerializable.h"
#include "engine/core/SerializableVector.h"
#include "gameservices/game/CharacterParts.h"

namespace GameServices::KorvoGame {

// One wardrobe entry: "Id", "Name".
class sOutFitPart_KorvoCity : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    u32 Id = 0;
    TString<char> Name;
};

// One anatomy entry: "Id", "Name".
class sAnatomyPart_KorvoCity : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    u32 Id = 0;
    TString<char> Name;
};

// The mandatory lists "Eyewear", "Tops", "Bottoms" and "Footwear", held by outfit type.
class sWardRobe_KorvoCity : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    Utilities::SerializableVector<sOutFitPart_KorvoCity> Parts[NB_OUTFIT_PART_TYPE];
};

// The mandatory lists "head", "eye_left", "eye_right" and "Hairstyle", by anatomy type.
class sAnatomy_KorvoCity : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    Utilities::SerializableVector<sAnatomyPart_KorvoCity> Parts[NB_ANATOMY_PART_TYPE];
};

// "Name", "Id", "Anatomy", "Wardrobe", "Gender". Gender is exactly "Male" or "Female";
// any other text is reported and leaves Gender as it was. A missing or zero Id becomes the
// name id of the name.
class sCharacterAssembly_KorvoCity : public Utilities::ISerializable {
public:
    void Serialize(Utilities::ISerialization& serialization) override;

    TString<char> Name;
    TString<char> Anatomy;
    TString<char> Wardrobe;
    u32 Id = 0;
    u8 Gender = CharacterAssembly::kFemale;
};

}  // namespace GameServices::KorvoGame
