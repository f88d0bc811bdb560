#include "gameservices/bridge/systems/Avatar.h"

#include <algorithm>

#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "engine/graphics/AGModel.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/bridge/systems/RenderingSystemSlots.h"

namespace GameServices::Bridge {

namespace {

bool IsPart(i32 modelType) { return modelType >= 0 && modelType < i32(kNbAvatarParts); }

}  // namespace

bool AvatarSkin::Drives(i32 modelType) const {
    return std::find(m_ModelTypes.begin(), m_ModelTypes.end(), modelType) != m_ModelTypes.end();
}

bool AvatarSkin::SharesModels(const AvatarSkin& other) const {
    return std::any_of(m_ModelTypes.begin(), m_ModelTypes.end(), [&](i32 type) { return other.Drives(type); });
}

Avatar::Avatar() {
    m_Skins.reserve(2);
    m_World = platform::gfx::MatrixIdentity();
}

void Avatar::Clear() {
    m_ModelsToAdd.clear();
    m_ModelsToRemove.clear();
    m_ModelsToRelease.clear();
    m_Skins.clear();
    std::fill(std::begin(m_Parts), std::end(m_Parts), nullptr);
    m_World = platform::gfx::MatrixIdentity();
    m_Visible = 0;
    m_LayerInStep = 1;
    m_Layer = nullptr;
}

void Avatar::SetPart(i32 modelType, const TString<char>& modelName) {
    if (!IsPart(modelType))
        return;
    AGModel*& part = m_Parts[modelType];
    if (part) {
        m_ModelsToRemove.push_back(part);
        m_ModelsToRelease.push_back(part);
        part = nullptr;
    }
    m_LayerInStep = 0;
    AGResourceManager* resources = AGResourceManager::Get();
    AGBaseProvider* provider = resources ? resources->GetProvider(TypeKey::Model) : nullptr;
    if (modelName.IsEmpty() || !provider)
        return;
    part = RenderingSystem::KeepAs<AGModel>(TypeKey::Model,
                                            CreateResourceInstance(provider, Crc32Hash(modelName.c_str()), 0, false));
    if (!part)
        return;
    SetActive(part, m_Visible != 0);
    m_ModelsToAdd.push_back(part);
    part->SetSkin(nullptr);
    for (const AvatarSkin& skin : m_Skins) {
        if (skin.Drives(modelType)) {
            part->SetSkin(skin.m_Skeleton);
            break;
        }
    }
}

bool Avatar::AddSkin(const AvatarSkin& skin) {
    for (const AvatarSkin& other : m_Skins) {
        if (other.SharesModels(skin)) {
            AGReport("you have two skin that influence the same Model");
            return false;
        }
    }
    for (i32 type = 0; type < i32(kNbAvatarParts); ++type)
        if (m_Parts[type] && skin.Drives(type))
            m_Parts[type]->SetSkin(skin.m_Skeleton);
    m_Skins.push_back(skin);
    return true;
}

bool Avatar::HasSkin(const AGSkin* skeleton) const {
    return std::any_of(m_Skins.begin(), m_Skins.end(), [&](const AvatarSkin& s) { return s.m_Skeleton == skeleton; });
}

void Avatar::Hide() {
    for (AGModel* part : m_Parts)
        SetActive(part, false);
    m_Visible = 0;
}

void Avatar::Show() {
    for (AGModel* part : m_Parts)
        SetActive(part, true);
    m_Visible = 1;
}

void Avatar::ApplyTransform() {
    for (AGModel* part : m_Parts)
        if (part)
            part->SetLocal(m_World);
}

}  // namespace GameServices::Bridge
