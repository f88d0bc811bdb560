#include "gameservices/game/CharacterAssemblyRecords.h"

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"

namespace GameServices::KorvoGame {

using Utilities::ISerialization;

void sOutFitPart_KorvoCity::Serialize(ISerialization& serialization) {
    serialization.SerializeUInt("Id", Id, 0);
    serialization.SerializeString("Name", Name, TString<char>());
}

void sAnatomyPart_KorvoCity::Serialize(ISerialization& serialization) {
    serialization.SerializeUInt("Id", Id, 0);
    serialization.SerializeString("Name", Name, TString<char>());
}

void sWardRobe_KorvoCity::Serialize(ISerialization& serialization) {
    serialization.SerializeObject("Eyewear", Parts[OUTFIT_EYEWEAR], true);
    serialization.SerializeObject("Tops", Parts[OUTFIT_TOP], true);
    serialization.SerializeObject("Bottoms", Parts[OUTFIT_BOTTOM], true);
    serialization.SerializeObject("Footwear", Parts[OUTFIT_FOOTWEAR], true);
}

void sAnatomy_KorvoCity::Serialize(ISerialization& serialization) {
    serialization.SerializeObject("head", Parts[ANATOMY_HEAD], true);
    serialization.SerializeObject("eye_left", Parts[ANATOMY_EYE_LEFT], true);
    serialization.SerializeObject("eye_right", Parts[ANATOMY_EYE_RIGHT], true);
    serialization.SerializeObject("Hairstyle", Parts[ANATOMY_HAIRSTYLE], true);
}

void sCharacterAssembly_KorvoCity::Serialize(ISerialization& serialization) {
    serialization.SerializeString("Name", Name, TString<char>());
    serialization.SerializeUInt("Id", Id, 0);
    serialization.SerializeString("Anatomy", Anatomy, TString<char>());
    serialization.SerializeString("Wardrobe", Wardrobe, TString<char>());
    TString<char> gender(Gender == CharacterAssembly::kMale ? "Male" : "Female");
    serialization.SerializeString("Gender", gender, TString<char>());
    if (!serialization.IsReading())
        return;

    if (gender == "Male")
        Gender = CharacterAssembly::kMale;
    else if (gender == "Female")
        Gender = CharacterAssembly::kFemale;
    else
        AGReport("the Gender for this Character assembly is not set correctly");

    if (Id == 0) {
        if (Name.IsEmpty())
            AGReport("I can't find that CharacterAssembly part with no information");
        Id = Crc32Hash(Name.c_str());
    }
}

}  // namespace GameServices::KorvoGame
