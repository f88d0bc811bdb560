#pragma once
// The content of a level: its entities, one list per kind. Members are borrowed from their
// pools (Clear gives them back) unless a list says otherwise.
#include <vector>

#include "gameservices/entities/Entity.h"

namespace GameServices::Entities {

class AudioAsset;
class Camera;
class Character;
class ComponentLevel;
class Light;
class Prop;
class SetElement;
class VideoAsset;

class Set : public Entity {
public:
    Set() = default;
    explicit Set(const TString<char>& name) : Entity(name) {}
    // Frees the lists only; members go back through Clear beforehand. The set's own attributes
    // (the level's application data) go with it.
    ~Set() override { Attributes.Clear(); }

    bool IsA(const u32& typeId) const override;
    // Synchronize set, then Clear.
    void Reset() override;

    // Gives every member back: pooled entities and assets to their pools, set elements no
    // pool owns and the extension-made entities are deleted, component levels are cleared
    // and deleted. A camera borrowed from a parent set is left alone. The package names
    // stay.
    void Clear();
    // Empties every list but the package names without releasing anything.
    void RemoveAll();

    // The first member of that kind whose Name equals name exactly, or null.
    SetElement* FindSetElement(const TString<char>& name) const;
    Prop* FindProp(const TString<char>& name) const;
    Character* FindCharacter(const TString<char>& name) const;
    Camera* FindCamera(const TString<char>& name) const;
    ComponentLevel* FindComponentLevel(const TString<char>& name) const;
    AudioAsset* FindAudioAsset(const TString<char>& name) const;
    VideoAsset* FindVideoAsset(const TString<char>& name) const;
    // The first camera with its Activate flag set, or null.
    Camera* GetActiveCamera() const;
    // Removes the first occurrence from the list without releasing the asset.
    void RemoveAudioAsset(AudioAsset* asset);
    void RemoveVideoAsset(VideoAsset* asset);

    std::vector<TString<char>> m_PackageNames;
    std::vector<SetElement*> m_SetElements;
    std::vector<Light*> m_Lights;
    // Every camera of the set, a camera borrowed from the parent set included.
    std::vector<Camera*> m_Cameras;
    std::vector<Prop*> m_Props;
    std::vector<Character*> m_Characters;
    // User-interface entities; not released by Clear.
    std::vector<Entity*> m_Widgets;
    // Owned.
    std::vector<ComponentLevel*> m_ComponentLevels;
    std::vector<AudioAsset*> m_AudioAssets;
    std::vector<VideoAsset*> m_VideoAssets;
    // Entities made by entity-data extensions; owned.
    std::vector<Entity*> m_ExtensionEntities;
    // Not released by Clear.
    std::vector<Entity*> m_OtherEntities;
    // The cameras this set took from the camera pool (never a borrowed one).
    std::vector<Camera*> m_MemberCameras;
};

class ComponentLevel : public Set {
public:
    // Values of the loading mode.
    enum : u32 { kLoadInLevel = 0, kLoadIn3DViewport = 1, kLoadInLayer = 2 };

    ComponentLevel() = default;
    explicit ComponentLevel(const TString<char>& name) : Set(name) {}
    ~ComponentLevel() override = default;

    bool IsA(const u32& typeId) const override;

    u32 m_LoadingMode = kLoadInLevel;
    i32 m_ZIndex = 0;
};

}  // namespace GameServices::Entities
