#pragma once
// The pieces a character's look is put together from: four anatomy parts and four outfit
// parts, each chosen from the lists of the character's assembly (a gendered body naming one
// anatomy file and one wardrobe file).
#include "engine/core/TString.h"
#include "gameservices/entities/GameObject.h"
#include "gameservices/entities/TypeIds.h"

namespace GameServices::KorvoGame {

// Anatomy part types; also their indexes in the avatar's part names.
enum AnatomyPartType : u32 {
    ANATOMY_HEAD = 0,
    ANATOMY_EYE_LEFT = 1,
    ANATOMY_EYE_RIGHT = 2,
    ANATOMY_HAIRSTYLE = 3,
    NB_ANATOMY_PART_TYPE = 4,
};

// Outfit part types; outfit type t is avatar part 4 + t.
enum OutfitPartType : u32 {
    OUTFIT_TOP = 0,
    OUTFIT_BOTTOM = 1,
    OUTFIT_FOOTWEAR = 2,
    OUTFIT_EYEWEAR = 3,
    NB_OUTFIT_PART_TYPE = 4,
};

// A part: its file name, its id in the wardrobe or anatomy list, and whether the player may
// change it. Copies carry the three fields only.
template <u32 kTypeId>
class CharacterPart : public Entities::GameObject {
public:
    CharacterPart() = default;
    CharacterPart(const CharacterPart& other)
        : GameObject(), Name(other.Name), Id(other.Id), Customizable(other.Customizable) {}
    CharacterPart& operator=(const CharacterPart& other) {
        Name = other.Name;
        Id = other.Id;
        Customizable = other.Customizable;
        return *this;
    }
    ~CharacterPart() override = default;

    virtual bool IsA(const u32& typeId) const { return typeId == kTypeId; }

    TString<char> Name;
    u32 Id = 0;
    bool Customizable = false;
};

class OutfitPart : public CharacterPart<Entities::TypeIds::OutfitPart> {};
class AnatomyPart : public CharacterPart<Entities::TypeIds::AnatomyPart> {};

class CharacterAssembly : public Entities::GameObject {
public:
    enum : u8 { kFemale = 0, kMale = 1 };

    CharacterAssembly() = default;
    CharacterAssembly(const CharacterAssembly& other)
        : GameObject(), Name(other.Name), Id(other.Id), Gender(other.Gender) {}
    CharacterAssembly& operator=(const CharacterAssembly& other) {
        Name = other.Name;
        Id = other.Id;
        Gender = other.Gender;
        return *this;
    }
    ~CharacterAssembly() override = default;

    virtual bool IsA(const u32& typeId) const {
        return typeId == Entities::TypeIds::CharacterAssembly;
    }

    TString<char> Name;
    u32 Id = 0;
    u8 Gender = kFemale;
};

// Pooled like the parts; nothing takes one yet.
struct AppearanceId {
    TString<char> Name;
    u32 Id = 0;
};

}  // namespace GameServices::KorvoGame
