#pragma once
// A character's look: the assembly it is built on and one part of each of the eight types.
#include "gameservices/game/CharacterParts.h"

namespace GameServices::KorvoGame {

class Appearance : public Entities::GameObject {
public:
    Appearance() = default;
    Appearance(const Appearance& other) : GameObject() { *this = other; }
    Appearance& operator=(const Appearance& other) {
        Name = other.Name;
        NameId = other.NameId;
        Assembly = other.Assembly;
        for (u32 t = 0; t < NB_OUTFIT_PART_TYPE; ++t)
            OutfitParts[t] = other.OutfitParts[t];
        for (u32 t = 0; t < NB_ANATOMY_PART_TYPE; ++t)
            AnatomyParts[t] = other.AnatomyParts[t];
        return *this;
    }
    ~Appearance() override = default;

    virtual bool IsA(const u32& typeId) const { return typeId == Entities::TypeIds::Appearance; }

    TString<char> Name;
    // Name id of Name; 0 for an empty name.
    u32 NameId = 0;
    CharacterAssembly Assembly;
    OutfitPart OutfitParts[NB_OUTFIT_PART_TYPE];
    AnatomyPart AnatomyParts[NB_ANATOMY_PART_TYPE];
};

}  // namespace GameServices::KorvoGame
