#pragma once
// A sound of a level, taken from the audio-asset pool. The audio-processing system keeps
// its data in the asset's VolatileData.
#include "engine/core/TString.h"
#include "gameservices/entities/GameObject.h"
#include "gameservices/entities/VolatileData.h"

namespace GameServices::Entities {

class AudioAsset : public GameObject {
public:
    AudioAsset() = default;
    ~AudioAsset() override = default;

    virtual bool IsA(const u32& typeId) const;
    // Called when the pool takes the asset back.
    virtual void Reset() { m_Reset = true; }

    TString<char> Name;
    bool m_IsPlaying = true;
    bool m_Streamed = false;
    f32 m_Volume = 0.0f;
    bool m_Looped = false;
    bool m_Reset = true;
    VolatileData VolatileDatas;
};

class IAudioAssetFactory {
public:
    // The next free asset, or null when the pool is exhausted.
    virtual AudioAsset* Alloc() = 0;
    // Resets a handed-out asset and makes it free; anything else is ignored.
    virtual void Release(AudioAsset* asset) = 0;
    virtual void ResetAll() = 0;
    virtual ~IAudioAssetFactory() = default;

    virtual u32 GetMaxSize() const = 0;
    virtual u32 GetUsedCount() const = 0;
    // True for every asset this pool created, free or handed out.
    virtual bool Owns(const AudioAsset* asset) const = 0;
};

}  // namespace GameServices::Entities
