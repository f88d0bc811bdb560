#include "game/presentation/QZCharacter.h"

#include "engine/core/AGLog.h"
#include "gameservices/game/CharacterManager.h"

namespace QZ2011 {

QZCharacter::QZCharacter() { Behaviors.Add(&m_Behavior); }

bool QZCharacter::IsA(const u32& typeId) const {
    return typeId == kTypeId;
}

void QZCharacter::UseSet(const char* entityTemplate) {
    m_Behavior.Retarget(entityTemplate, "");
    m_Behavior.Reset();
}

void QZCharacter::Initialize() {
    GameServices::KorvoGame::CharacterManager::Instance();
    if (const GameServices::KorvoGame::Appearance* appearance = VolatileDatas.GetAppearance())
        UseSet(QZBehaviorCharacter::kTemplates[appearance->Assembly.Gender == GameServices::KorvoGame::CharacterAssembly::kMale
                                                      ? QZBehaviorCharacter::kMale1
                                                      : QZBehaviorCharacter::kFemale1]);
    else
        AGReport("No Appearance defined for this character");
    StartTicking();
}

void QZCharacter::SelectSet(u8 male1, u8 male2, u8 female1, u8 female2) {
    IsMale1 = male1;
    IsMale2 = male2;
    IsFemale1 = female1;
    IsFemale2 = female2;
}

void QZCharacter::SetCharacterMale1() {
    UseSet(QZBehaviorCharacter::kTemplates[QZBehaviorCharacter::kMale1]);
    SelectSet(1, 0, 0, 0);
}

void QZCharacter::SetCharacterMale2() {
    UseSet(QZBehaviorCharacter::kTemplates[QZBehaviorCharacter::kMale2]);
    SelectSet(0, 1, 0, 0);
}

void QZCharacter::SetCharacterFemale1() {
    UseSet(QZBehaviorCharacter::kTemplates[QZBehaviorCharacter::kFemale1]);
    SelectSet(0, 0, 1, 0);
}

void QZCharacter::SetCharacterFemale2() {
    UseSet(QZBehaviorCharacter::kTemplates[QZBehaviorCharacter::kFemale2]);
    SelectSet(0, 0, 0, 1);
}

}  // namespace QZ2011
