#pragma once
// Per-entity run-time data: a map from the name id of a key text to a pointer owned by the
// system that stored it. The map never frees a value.
#include <map>

#include "engine/core/Crc32Hash.h"
#include "gameservices/entities/TypeIds.h"

namespace GameServices::Bridge {
class RenderableModelData;
class RenderableAvatarData;
class CollisionData;
class AudioData;
class VideoData;
class SpriteList;
class TextList;
class FontList;
class EngineProviders;
}  // namespace GameServices::Bridge

class PCCam;

namespace GameServices::KorvoGame {
class Appearance;
}

namespace GameServices::Entities {

class VideoAsset;

// Ids of the key texts the systems store their data under.
namespace VolatileDataKeys {
inline constexpr u32 kRENDERABLE_MODEL_DATA = Crc32Hash("RENDERABLE_MODEL_DATA");
inline constexpr u32 kRENDERABLE_AVATAR_DATA = Crc32Hash("RENDERABLE_AVATAR_DATA");
inline constexpr u32 kCOLLISION_DATA = Crc32Hash("COLLISION_DATA");
inline constexpr u32 kAUDIO_DATA = Crc32Hash("AUDIO_DATA");
inline constexpr u32 kDATA_VIDEO = Crc32Hash("DATA_VIDEO");
inline constexpr u32 kDATA_VIDEOASSET = Crc32Hash("DATA_VIDEOASSET");
inline constexpr u32 kDATA_LAYER = Crc32Hash("DATA_LAYER");
inline constexpr u32 kWIDGET_DATA_LAYER_2D = kDATA_LAYER;
inline constexpr u32 kDATA_SPRITES = Crc32Hash("DATA_SPRITES");
inline constexpr u32 kDATA_TEXTS = Crc32Hash("DATA_TEXTS");
inline constexpr u32 kDATA_FONTS = Crc32Hash("DATA_FONTS");
inline constexpr u32 kDATA_ANIMATION = Crc32Hash("DATA_ANIMATION");
inline constexpr u32 kDATA_EMITTER3D = Crc32Hash("DATA_EMITTER3D");
inline constexpr u32 kDATA_COMPOSITERENDERABLE = Crc32Hash("DATA_COMPOSITERENDERABLE");
inline constexpr u32 kANIMATIONS_ENGINE_DATA = Crc32Hash("ANIMATIONS_ENGINE_DATA");
inline constexpr u32 kANIMATIONS_ENTITY_DATA = Crc32Hash("ANIMATIONS_ENTITY_DATA");
inline constexpr u32 kENGINE_DATA_AUDIO = Crc32Hash("ENGINE_DATA_AUDIO");
inline constexpr u32 kENGINE_DATA_AUDIO_MANAGE_APP = Crc32Hash("ENGINE_DATA_AUDIO_MANAGE_APP");
inline constexpr u32 kENGINE_DATA_AVATAR = Crc32Hash("ENGINE_DATA_AVATAR");
inline constexpr u32 kENGINE_DATA_CAMERA = Crc32Hash("ENGINE_DATA_CAMERA");
inline constexpr u32 kENGINE_DATA_IN_PIPELINE = Crc32Hash("ENGINE_DATA_IN_PIPELINE");
inline constexpr u32 kENGINE_DATA_LAYER_3D = Crc32Hash("ENGINE_DATA_LAYER_3D");
inline constexpr u32 kENGINE_DATA_LIGHT = Crc32Hash("ENGINE_DATA_LIGHT");
inline constexpr u32 kENGINE_DATA_MODEL = Crc32Hash("ENGINE_DATA_MODEL");
inline constexpr u32 kENGINE_DATA_MODEL_MANAGE_APP = Crc32Hash("ENGINE_DATA_MODEL_MANAGE_APP");
inline constexpr u32 kENGINE_DATA_SCENE = Crc32Hash("ENGINE_DATA_SCENE");
inline constexpr u32 kENGINE_DATA_SCENE3D = Crc32Hash("ENGINE_DATA_SCENE3D");
inline constexpr u32 kENGINE_DATA_SPRITE = Crc32Hash("ENGINE_DATA_SPRITE");
inline constexpr u32 kDeviceSystem_ENGINE_DATA = Crc32Hash("DeviceSystem::ENGINE_DATA");
inline constexpr u32 kENGINE_PROVIDERS = Crc32Hash("ENGINE_PROVIDERS");
// Kept in the entity's depictors, not in its VolatileData.
inline constexpr u32 kCOLLISION_OBJECT = Crc32Hash("COLLISION_OBJECT");
}  // namespace VolatileDataKeys

// The type records of the animation bridge's classes: the name id of the full class name and
// the name itself.
struct ClassType {
    u32 m_Id;
    const char* m_Name;
};

namespace ClassTypes {
inline constexpr ClassType kEngineAnimationBase{
    Crc32Hash("GameServices::Bridge::EngineAnimationBase"), "GameServices::Bridge::EngineAnimationBase"};
inline constexpr ClassType kEngineAnimationSkin{
    Crc32Hash("GameServices::Bridge::EngineAnimationSkin"), "GameServices::Bridge::EngineAnimationSkin"};
inline constexpr ClassType kEngineAnimationModel{
    Crc32Hash("GameServices::Bridge::EngineAnimationModel"), "GameServices::Bridge::EngineAnimationModel"};
inline constexpr ClassType kEngineAnimationTexture{
    Crc32Hash("GameServices::Bridge::EngineAnimationTexture"), "GameServices::Bridge::EngineAnimationTexture"};
inline constexpr ClassType kEngineAnimationUV{
    Crc32Hash("GameServices::Bridge::EngineAnimationUV"), "GameServices::Bridge::EngineAnimationUV"};
}  // namespace ClassTypes

class VolatileData {
public:
    VolatileData() = default;
    virtual ~VolatileData() = default;

    // The pointer stored under the key, or null; never inserts.
    void* Get(u32 key) const {
        auto it = m_Data.find(key);
        return it == m_Data.end() ? nullptr : it->second;
    }
    // Inserts or replaces; a replaced pointer is left to its owner.
    void Set(u32 key, void* value) { m_Data[key] = value; }
    void Remove(u32 key) { m_Data.erase(key); }
    size_t Count() const { return m_Data.size(); }
    // Present with a non-null value.
    bool HasData(u32 key) const { return Get(key) != nullptr; }

    // Typed access for keys whose data types belong to the systems that store them.
    template <typename T>
    T* GetAs(u32 key) const {
        return static_cast<T*>(Get(key));
    }

    Bridge::RenderableModelData* GetRenderableModelData() const {
        return GetAs<Bridge::RenderableModelData>(VolatileDataKeys::kRENDERABLE_MODEL_DATA);
    }
    Bridge::RenderableAvatarData* GetRenderableAvatarData() const {
        return GetAs<Bridge::RenderableAvatarData>(VolatileDataKeys::kRENDERABLE_AVATAR_DATA);
    }
    Bridge::CollisionData* GetCollisionData() const {
        return GetAs<Bridge::CollisionData>(VolatileDataKeys::kCOLLISION_DATA);
    }
    Bridge::AudioData* GetAudioData() const {
        return GetAs<Bridge::AudioData>(VolatileDataKeys::kAUDIO_DATA);
    }
    Bridge::VideoData* GetVideoData() const {
        return GetAs<Bridge::VideoData>(VolatileDataKeys::kDATA_VIDEO);
    }
    Bridge::SpriteList* GetSprites() const {
        return GetAs<Bridge::SpriteList>(VolatileDataKeys::kDATA_SPRITES);
    }
    Bridge::TextList* GetTexts() const {
        return GetAs<Bridge::TextList>(VolatileDataKeys::kDATA_TEXTS);
    }
    Bridge::FontList* GetFonts() const {
        return GetAs<Bridge::FontList>(VolatileDataKeys::kDATA_FONTS);
    }
    VideoAsset* GetVideoAsset() const {
        return GetAs<VideoAsset>(VolatileDataKeys::kDATA_VIDEOASSET);
    }
    Bridge::EngineProviders* GetEngineProviders() const {
        return GetAs<Bridge::EngineProviders>(VolatileDataKeys::kENGINE_PROVIDERS);
    }
    PCCam* GetCamera() const { return GetAs<PCCam>(VolatileDataKeys::kENGINE_DATA_CAMERA); }
    KorvoGame::Appearance* GetAppearance() const {
        return GetAs<KorvoGame::Appearance>(TypeIds::AppearanceKey);
    }

private:
    std::map<u32, void*> m_Data;
};

}  // namespace GameServices::Entities
