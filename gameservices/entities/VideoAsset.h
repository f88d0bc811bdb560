#pragma once
// A video of a level, taken from the video-asset pool.
#include "engine/core/TString.h"
#include "gameservices/entities/GameObject.h"
#include "gameservices/entities/VolatileData.h"

namespace GameServices::Entities {

class VideoAsset : public GameObject {
public:
    VideoAsset() = default;
    ~VideoAsset() override = default;

    virtual bool IsA(const u32& typeId) const;
    // Called when the pool takes the asset back.
    virtual void Reset() { m_Reset = true; }

    TString<char> Name;
    f32 m_Volume = 0.0f;
    bool m_IsFullScreen = false;
    bool m_IsPlaying = true;
    u8 m_Byte = 0;
    bool m_IsLooped = false;
    // The level loader clears it; the pool sets it again when the asset comes back.
    bool m_Reset = true;
    VolatileData VolatileDatas;
};

class BaseGameObjectFactory {
public:
    virtual GameObject* Alloc() { return nullptr; }
    virtual void ResetAll() {}
    virtual ~BaseGameObjectFactory() = default;
};

}  // namespace GameServices::Entities
