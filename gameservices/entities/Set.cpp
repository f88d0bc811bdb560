#include "gameservices/entities/Set.h"

#include <algorithm>

#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/GameAudioAssetFactory.h"
#include "gameservices/entities/GameEntityFactory.h"
#include "gameservices/entities/GameVideoAssetFactory.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/entities/TypeIds.h"
#include "gameservices/entities/VideoAsset.h"

namespace GameServices::Entities {

namespace {

template <typename T>
T* FindByName(const std::vector<T*>& list, const TString<char>& name) {
    for (T* member : list)
        if (member && member->Name == name)
            return member;
    return nullptr;
}

// Hands each member back to the pool that created it (its kind's default pool first).
template <typename T>
void ReleaseAll(std::vector<T*>& list, IEntityFactory* defaultPool, bool clearComponents) {
    const GameEntityFactory* factories = GameEntityFactory::Instance();
    for (T* member : list) {
        if (!member)
            continue;
        if (clearComponents)
            member->ClearComponents();
        if (IEntityFactory* owner = factories->FindOwner(member, defaultPool))
            owner->Release(member);
    }
    list.clear();
}

template <typename T>
void RemoveFirst(std::vector<T*>& list, T* member) {
    auto it = std::find(list.begin(), list.end(), member);
    if (it != list.end())
        list.erase(it);
}

}  // namespace

bool Set::IsA(const u32& typeId) const {
    return typeId == TypeIds::Set;
}

void Set::Reset() {
    Synchronize = true;
    Clear();
}

void Set::Clear() {
    GameEntityFactory* factories = GameEntityFactory::Instance();

    ReleaseAll(m_MemberCameras, factories->GetCameraFactory(), true);
    m_OtherEntities.clear();
    m_Cameras.clear();
    ReleaseAll(m_Lights, factories->GetLightFactory(), true);
    ReleaseAll(m_Props, factories->GetPropFactory(), true);
    // A character keeps its components; the loader replaces its application data.
    ReleaseAll(m_Characters, factories->GetCharacterFactory(), false);

    // Floors are made by the loader, not taken from a pool: such an element is deleted
    // here unless it is an extension-made entity, which the extension list deletes below.
    for (SetElement* element : m_SetElements) {
        if (!element)
            continue;
        element->ClearComponents();
        if (IEntityFactory* owner = factories->FindOwner(element, factories->GetSetElementFactory()))
            owner->Release(element);
        else if (std::find(m_ExtensionEntities.begin(), m_ExtensionEntities.end(),
                           static_cast<Entity*>(element)) == m_ExtensionEntities.end())
            delete element;
    }
    m_SetElements.clear();

    const GameAudioAssetFactory* audio = GameAudioAssetFactory::Instance();
    for (AudioAsset* asset : m_AudioAssets)
        if (IAudioAssetFactory* owner = audio->FindOwner(asset))
            owner->Release(asset);
    m_AudioAssets.clear();
    if (auto* video = GameVideoAssetFactory::Instance()->GetDefaultFactory())
        for (VideoAsset* asset : m_VideoAssets)
            video->Release(asset);
    m_VideoAssets.clear();

    m_Widgets.clear();
    for (Entity* entity : m_ExtensionEntities)
        delete entity;
    m_ExtensionEntities.clear();

    // A component level's members come from the same pools; they go back before the
    // level is deleted, or every reload would drain the pools.
    for (ComponentLevel* level : m_ComponentLevels) {
        if (!level)
            continue;
        level->Clear();
        delete level;
    }
    m_ComponentLevels.clear();
}

void Set::RemoveAll() {
    m_SetElements.clear();
    m_Lights.clear();
    m_Cameras.clear();
    m_Props.clear();
    m_Characters.clear();
    m_Widgets.clear();
    m_ComponentLevels.clear();
    m_AudioAssets.clear();
    m_VideoAssets.clear();
    m_ExtensionEntities.clear();
    m_OtherEntities.clear();
    m_MemberCameras.clear();
}

SetElement* Set::FindSetElement(const TString<char>& name) const {
    return FindByName(m_SetElements, name);
}

Prop* Set::FindProp(const TString<char>& name) const {
    return FindByName(m_Props, name);
}

Character* Set::FindCharacter(const TString<char>& name) const {
    return FindByName(m_Characters, name);
}

Camera* Set::FindCamera(const TString<char>& name) const {
    return FindByName(m_Cameras, name);
}

ComponentLevel* Set::FindComponentLevel(const TString<char>& name) const {
    return FindByName(m_ComponentLevels, name);
}

AudioAsset* Set::FindAudioAsset(const TString<char>& name) const {
    return FindByName(m_AudioAssets, name);
}

VideoAsset* Set::FindVideoAsset(const TString<char>& name) const {
    return FindByName(m_VideoAssets, name);
}

Camera* Set::GetActiveCamera() const {
    for (Camera* camera : m_Cameras)
        if (camera && camera->Activate)
            return camera;
    return nullptr;
}

void Set::RemoveAudioAsset(AudioAsset* asset) {
    RemoveFirst(m_AudioAssets, asset);
}

void Set::RemoveVideoAsset(VideoAsset* asset) {
    RemoveFirst(m_VideoAssets, asset);
}

bool ComponentLevel::IsA(const u32& typeId) const {
    return typeId == TypeIds::Set || typeId == TypeIds::ComponentLevel;
}

}  // namespace GameServices::Entities
