#include "gameservices/game/CharacterAppearanceService.h"

#include "gameservices/game/AppearanceManager.h"
#include "gameservices/game/CharacterManager.h"

namespace GameServices::KorvoGame {

CharacterAppearanceService* CharacterAppearanceService::Instance() {
    static CharacterAppearanceService instance;
    return &instance;
}

void CharacterAppearanceService::ApplyOutfit(Entities::Character& character,
                                             const TString<char>& outfit) {
    Appearance appearance;
    AppearanceManager::Instance()->LoadAvatarDescription(outfit, appearance);
    CharacterManager::Instance()->SetAppearance(character, appearance);
}

}  // namespace GameServices::KorvoGame
