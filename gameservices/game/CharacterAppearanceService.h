#pragma once
// The level loader's way to dress a character record's "Outfit": the named avatar
// description is read and set as the character's look.
#include "gameservices/game/GameFlowServices.h"

namespace GameServices::KorvoGame {

class CharacterAppearanceService : public IAppearanceService {
public:
    static CharacterAppearanceService* Instance();

    void ApplyOutfit(Entities::Character& character, const TString<char>& outfit) override;

private:
    CharacterAppearanceService() = default;
};

}  // namespace GameServices::KorvoGame
