#include "gameservices/game/CharacterManager.h"

#include <vector>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/AppearanceManager.h"
#include "gameservices/game/AvatarRendering.h"
#include "gameservices/game/PartPools.h"

namespace GameServices::KorvoGame {

namespace {

using Entities::TypeIds::AppearanceKey;

Appearance* StoredAppearance(const Entities::Character& character) {
    Appearance* appearance = character.VolatileDatas.GetAppearance();
    if (!appearance)
        AGReport("No Appearance defined for this character");
    return appearance;
}

// The avatar record a part change goes to; null, reported, before the avatar has one.
Bridge::RenderableAvatarData* AvatarData(const Entities::Character& character) {
    Bridge::RenderableAvatarData* data = character.VolatileDatas.GetRenderableAvatarData();
    if (!data)
        AGReport("Need to initialize the KorvoCity Avatar First !!!");
    return data;
}

template <typename Part>
void CopyPart(const Part& from, Part& to) {
    to.Name = from.Name;
    to.Id = from.Id;
    to.Customizable = from.Customizable;
}

}  // namespace

namespace {
CharacterManager* g_CharacterManager = nullptr;
}  // namespace

CharacterManager* CharacterManager::Instance() {
    if (!g_CharacterManager)
        g_CharacterManager = new CharacterManager();
    return g_CharacterManager;
}

void CharacterManager::Destroy() {
    delete g_CharacterManager;
    g_CharacterManager = nullptr;
}


namespace {

// A character that has a look already is reported; the new look is applied all the same.
void ReportExistingAppearance(const Entities::Character& character) {
    if (character.VolatileDatas.GetAppearance())
        AGReport("the Character already have an appearance !!!!");
}

}  // namespace

void CharacterManager::LoadAppearance(const TString<char>& name, Entities::Character& character) {
    ReportExistingAppearance(character);
    Appearance appearance;
    AppearanceManager::Instance()->LoadAvatarDescription(name, appearance);
    Apply(appearance, character);
}

void CharacterManager::ApplyAppearance(const Appearance& appearance,
                                       Entities::Character& character) {
    ReportExistingAppearance(character);
    Apply(appearance, character);
}

void CharacterManager::Apply(const Appearance& appearance, Entities::Character& character) {
    if (!SetAppearance(character, appearance))
        return;
    if (m_Rendering)
        m_Rendering->InitializeAvatar(character);
    character.Activate = true;
    character.Initialize();
}

bool CharacterManager::SetAppearance(Entities::Character& character, const Appearance& source) {
    Appearance* stored = character.VolatileDatas.GetAppearance();
    if (!stored) {
        stored = PartPool<Appearance>().Alloc();
        if (!stored)
            return false;
        character.VolatileDatas.Set(AppearanceKey, stored);
    }

    Bridge::RenderableAvatarData data;
    for (u32 t = 0; t < NB_OUTFIT_PART_TYPE; ++t) {
        data.m_PartNames[NB_ANATOMY_PART_TYPE + t] = source.OutfitParts[t].Name;
        CopyPart(source.OutfitParts[t], stored->OutfitParts[t]);
    }
    for (u32 t = 0; t < NB_ANATOMY_PART_TYPE; ++t) {
        data.m_PartNames[t] = source.AnatomyParts[t].Name;
        CopyPart(source.AnatomyParts[t], stored->AnatomyParts[t]);
    }
    stored->Assembly = source.Assembly;
    stored->Name = source.Name;
    stored->NameId = Crc32Hash(stored->Name.c_str());

    if (m_Rendering)
        m_Rendering->SetRenderableAvatarData(character, data);
    character.Synchronize = false;
    return true;
}

bool CharacterManager::GetAppearance(const Entities::Character& character, Appearance& out) const {
    const Appearance* stored = StoredAppearance(character);
    if (!stored)
        return false;
    out = *stored;
    return true;
}

void CharacterManager::RemoveAppearance(Entities::Character& character) {
    if (m_Rendering)
        m_Rendering->CleanupAvatar(character);
    if (Appearance* stored = character.VolatileDatas.GetAppearance()) {
        for (OutfitPart& part : stored->OutfitParts)
            part.Name = TString<char>();
        for (AnatomyPart& part : stored->AnatomyParts)
            part.Name = TString<char>();
        PartPool<Appearance>().Free(stored);
    }
    character.VolatileDatas.Remove(AppearanceKey);
}

void CharacterManager::RemoveAppearances(Entities::Set& set) {
    const std::vector<Entities::Character*> characters = set.m_Characters;
    for (Entities::Character* character : characters)
        RemoveAppearance(*character);
    // Characters of component levels (the match viewports' avatar faces among them) would
    // otherwise keep their pooled looks for good.
    for (Entities::ComponentLevel* level : set.m_ComponentLevels)
        RemoveAppearances(*level);
}

bool CharacterManager::GetOutfitPart(u32 outfitType, const Entities::Character& character,
                                     OutfitPart& out) const {
    const Appearance* stored = StoredAppearance(character);
    if (!stored)
        return false;
    if (outfitType >= NB_OUTFIT_PART_TYPE) {
        AGReport("Part type %u is out of range", outfitType);
        return false;
    }
    CopyPart(stored->OutfitParts[outfitType], out);
    return true;
}

void CharacterManager::SetOutfitPart(const OutfitPart& part, Entities::Character& character,
                                     u32 outfitType) {
    Appearance* stored = StoredAppearance(character);
    if (!stored)
        return;
    if (outfitType >= NB_OUTFIT_PART_TYPE) {
        AGReport("Part type %u is out of range", outfitType);
        return;
    }
    if (!stored->OutfitParts[outfitType].Customizable) {
        AGReport("this OutfitPartType is not customizable");
        return;
    }
    Bridge::RenderableAvatarData* data = AvatarData(character);
    if (!data)
        return;
    CopyPart(part, stored->OutfitParts[outfitType]);
    data->m_PartNames[NB_ANATOMY_PART_TYPE + outfitType] = part.Name;
    data->m_Built = 0;
    character.Synchronize = false;
}

bool CharacterManager::GetAnatomyPart(const Entities::Character& character,
                                      AnatomyPart& out) const {
    const Appearance* stored = StoredAppearance(character);
    if (!stored)
        return false;
    CopyPart(stored->AnatomyParts[ANATOMY_HAIRSTYLE], out);
    return true;
}

void CharacterManager::SetAnatomyPart(const AnatomyPart& part, Entities::Character& character) {
    Appearance* stored = StoredAppearance(character);
    if (!stored)
        return;
    if (!stored->AnatomyParts[ANATOMY_HAIRSTYLE].Customizable) {
        AGReport("this AnatomyPartType is not customizable");
        return;
    }
    Bridge::RenderableAvatarData* data = AvatarData(character);
    if (!data)
        return;
    CopyPart(part, stored->AnatomyParts[ANATOMY_HAIRSTYLE]);
    data->m_PartNames[ANATOMY_HAIRSTYLE] = part.Name;
    data->m_Built = 0;
    character.Synchronize = false;
}

}  // namespace GameServices::KorvoGame
