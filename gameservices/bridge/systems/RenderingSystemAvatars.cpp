// Avatars of the level renderer: their pools, building, per-frame update and giving back.
#include <algorithm>
#include <cstring>

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGGraphicLayer.h"
#include "engine/graphics/AGModel.h"
#include "gameservices/bridge/systems/AnimationPools.h"
#include "gameservices/bridge/systems/Avatar.h"
#include "gameservices/bridge/systems/EntityAnimations.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/RuntimeParameters.h"
#include "gameservices/game/CharacterManager.h"

namespace GameServices::Bridge {

using namespace Entities::VolatileDataKeys;

namespace {

RenderingSystem::AvatarFactory* s_avatars = nullptr;
RenderingSystem::AvatarDataFactory* s_avatarData = nullptr;

class AvatarRenderingHooks : public KorvoGame::IAvatarRendering {
public:
    void SetRenderableAvatarData(Entities::Character& character, const RenderableAvatarData& data) override {
        RenderingSystem::SetRenderableAvatarData(character, data);
    }
    void InitializeAvatar(Entities::Character& character) override { RenderingSystem::InitializeAvatar(character); }
    void CleanupAvatar(Entities::Character& character) override { RenderingSystem::CleanupAvatar(character); }
};
AvatarRenderingHooks s_avatarHooks;

Avatar* AvatarOf(const Entities::Character& character) {
    return character.VolatileDatas.GetAs<Avatar>(kENGINE_DATA_AVATAR);
}

// The character's record, taken from the pool (empty) when it has none.
RenderableAvatarData* RecordOf(Entities::Character& character) {
    if (RenderableAvatarData* record = character.VolatileDatas.GetRenderableAvatarData())
        return record;
    RenderableAvatarData* record = s_avatarData ? s_avatarData->Alloc() : nullptr;
    if (!record)
        return nullptr;
    *record = RenderableAvatarData();
    character.VolatileDatas.Set(kRENDERABLE_AVATAR_DATA, record);
    return record;
}

void ToMatrix(platform::gfx::Matrix& out, const Entities::Matrix44& m) { std::memcpy(out.m, m, sizeof(out.m)); }

bool Contains(const std::vector<AGModel*>& models, const AGModel* model) {
    return std::find(models.begin(), models.end(), model) != models.end();
}

// Gives back the models waiting for release; a model replaced before it joined the layer
// never joins it.
void ApplyPendingParts(Avatar& avatar, AGGraphicLayer* layer) {
    for (AGModel* model : avatar.m_ModelsToAdd)
        if (layer && !Contains(avatar.m_ModelsToRelease, model))
            layer->AddRenderable(model);
    for (AGModel* model : avatar.m_ModelsToRemove)
        if (layer)
            layer->RemoveRenderable(model);
    for (AGModel* model : avatar.m_ModelsToRelease)
        RenderingSystem::GiveBack(TypeKey::Model, model);
    avatar.m_ModelsToAdd.clear();
    avatar.m_ModelsToRemove.clear();
    avatar.m_ModelsToRelease.clear();
    avatar.m_LayerInStep = 1;
}

void ReleaseAvatar(Avatar& avatar) {
    AGGraphicLayer* layer = avatar.m_Layer;
    std::vector<AGModel*> models;
    auto keep = [&models](AGModel* model) {
        if (model && !Contains(models, model))
            models.push_back(model);
    };
    // Every model still drawn leaves the layer before any is given back, each only once.
    for (AGModel* model : avatar.m_ModelsToRemove)
        if (layer)
            layer->RemoveRenderable(model);
    for (AGModel* part : avatar.m_Parts) {
        if (part && layer && !Contains(avatar.m_ModelsToAdd, part))
            layer->RemoveRenderable(part);
        keep(part);
    }
    for (AGModel* model : avatar.m_ModelsToRelease)
        keep(model);
    for (AGModel* model : avatar.m_ModelsToAdd)
        keep(model);
    for (AGModel* model : models)
        RenderingSystem::GiveBack(TypeKey::Model, model);
    avatar.Clear();
}

}  // namespace

void StartupAvatars() {
    if (!s_avatars)
        s_avatars =
            new RenderingSystem::AvatarFactory("GsAvatarFactory", KorvoGame::GetFactoryCapacity("FactoryGsAvatar"));
    if (!s_avatarData)
        s_avatarData = new RenderingSystem::AvatarDataFactory(
            "RenderableAvatarData", KorvoGame::GetFactoryCapacity("FactoryRenderableAvatarData"));
    KorvoGame::CharacterManager::Instance()->SetAvatarRendering(&s_avatarHooks);
}

void ShutdownAvatars() {
    if (KorvoGame::CharacterManager::Instance()->GetAvatarRendering() == &s_avatarHooks)
        KorvoGame::CharacterManager::Instance()->SetAvatarRendering(nullptr);
    delete s_avatars;
    delete s_avatarData;
    s_avatars = nullptr;
    s_avatarData = nullptr;
}

RenderingSystem::AvatarFactory* RenderingSystem::GetAvatarFactory() { return s_avatars; }

RenderingSystem::AvatarDataFactory* RenderingSystem::GetAvatarDataFactory() { return s_avatarData; }

void RenderingSystem::SetRenderableAvatarData(Entities::Character& character, const RenderableAvatarData& data) {
    RenderableAvatarData* record = RecordOf(character);
    if (!record)
        return;
    record->m_DataPath = data.m_DataPath;
    for (u32 part = 0; part < kNbAvatarParts; ++part)
        record->m_PartNames[part] = data.m_PartNames[part];
    record->m_Built = data.m_Built;
    record->m_SecondFlag = data.m_SecondFlag;
    record->m_Changed = 1;
}

void RenderingSystem::SetAvatarSkinAnimation(Entities::Character& character, const TString<char>& animationName,
                                             const MiniGame::BehaviorActionSkin& skin) {
    RenderableAvatarData* record = RecordOf(character);
    if (!record)
        return;
    record->m_SkinAnimationType = 0;
    record->m_AnimationName = animationName;
    record->m_Skin.m_Name = skin.m_Name;
    record->m_Skin.m_ModelTypes = skin.m_ModelTypes;
}

void RenderingSystem::InitializeAvatar(Entities::Character& character) {
    RenderableAvatarData* record = character.VolatileDatas.GetRenderableAvatarData();
    if (!record || !record->m_Changed)
        return;
    if (Avatar* old = AvatarOf(character)) {
        AGReport("call RenderingSystem::Cleanup(..) before!");
        ReleaseAvatar(*old);
        s_avatars->Free(old);
        character.VolatileDatas.Remove(kENGINE_DATA_AVATAR);
        character.VolatileDatas.Remove(kENGINE_DATA_IN_PIPELINE);
    }
    Avatar* avatar = s_avatars ? s_avatars->Alloc() : nullptr;
    if (!avatar)
        return;
    avatar->Clear();
    for (i32 type = 0; type < i32(kNbAvatarParts); ++type)
        avatar->SetPart(type, record->m_PartNames[type]);
    record->m_Built = 1;
    character.VolatileDatas.Set(kENGINE_DATA_AVATAR, avatar);
    if (record->m_SkinAnimationType == 0)
        SetSkinAnimation(character, record->m_Skin, record->m_AnimationName, 0.0f, 4, -1.0f, -1, -1);
    Entities::Matrix44 m;
    character.UpdateWorldMatrix(m);
    ToMatrix(avatar->m_World, m);
    if (character.Visible)
        avatar->Show();
}

void RenderingSystem::CleanupAvatar(Entities::Character& character) {
    if (RenderableAvatarData* record = character.VolatileDatas.GetRenderableAvatarData()) {
        if (s_avatarData)
            s_avatarData->Free(record);
        character.VolatileDatas.Remove(kRENDERABLE_AVATAR_DATA);
    }
    if (EntityAnimations* animations = GetEntityAnimations(character)) {
        ReleaseEntityAnimations(character, *animations);
        GiveBackTo(GetAnimationFactories().m_Entities, animations);
        character.VolatileDatas.Remove(kANIMATIONS_ENTITY_DATA);
    }
    Avatar* avatar = AvatarOf(character);
    if (!avatar)
        return;
    ReleaseAvatar(*avatar);
    character.VolatileDatas.Remove(kENGINE_DATA_AVATAR);
    character.VolatileDatas.Remove(kENGINE_DATA_IN_PIPELINE);
    if (s_avatars)
        s_avatars->Free(avatar);
}

void RenderingSystem::AddAvatarToPipeline(Entities::Character& character, AGGraphicLayer& layer) {
    if (Avatar* avatar = AvatarOf(character)) {
        avatar->m_Layer = &layer;
        for (AGModel* part : avatar->m_Parts)
            if (part)
                layer.AddRenderable(part);
        avatar->ApplyTransform();
        // The parts are in the layer already; what they replaced never joined it.
        avatar->m_ModelsToAdd.clear();
        avatar->m_ModelsToRemove.clear();
        ApplyPendingParts(*avatar, nullptr);
    }
    character.VolatileDatas.Set(kENGINE_DATA_IN_PIPELINE, &character);
}

void RenderingSystem::UpdateAvatar(Entities::Character& character) {
    Avatar* avatar = AvatarOf(character);
    RenderableAvatarData* record = character.VolatileDatas.GetRenderableAvatarData();
    if (avatar && record && !record->m_Built) {
        for (i32 type = 0; type < i32(kNbAvatarParts); ++type) {
            const TString<char>& name = record->m_PartNames[type];
            const AGModel* part = avatar->m_Parts[type];
            if (part ? part->NameId() != Crc32Hash(name.c_str()) : !name.IsEmpty())
                avatar->SetPart(type, name);
        }
        record->m_Built = 1;
    }
    if (avatar) {
        Entities::Matrix44 m;
        character.UpdateWorldMatrix(m);
        ToMatrix(avatar->m_World, m);
        if (character.Visible)
            avatar->Show();
        else
            avatar->Hide();
        avatar->ApplyTransform();
        if (!avatar->m_LayerInStep)
            ApplyPendingParts(*avatar, avatar->m_Layer);
    }
    character.Synchronize = true;
}

}  // namespace GameServices::Bridge
