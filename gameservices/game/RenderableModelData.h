#pragma once
// The plain records the level loader hands to the bridge systems, which keep a copy of each
// on the entity (rendering, collision, audio processing, video).
#include "engine/core/TString.h"
#include "gameservices/game/BehaviorActionSkin.h"

namespace GameServices::Bridge {

// What to draw for an entity.
class RenderableModelData {
public:
    // Values of the renderable kind.
    enum : u32 { kSprite = 0, kModel = 1, kOther = 2 };
    // Values of the animation type.
    enum : i32 { kNoAnimation = -1, kSkin = 0, kModelAnimation = 1, kTexture = 2, kUV = 3 };

    RenderableModelData() = default;
    RenderableModelData(const TString<char>& modelFileName, const TString<char>& dataPath)
        : m_ModelFileName(modelFileName), m_DataPath(dataPath) {}
    virtual ~RenderableModelData() = default;
    RenderableModelData(const RenderableModelData&) = default;
    RenderableModelData& operator=(const RenderableModelData&) = default;

    void SetSkinAnimation(const TString<char>& animationFileName,
                          const MiniGame::BehaviorActionSkin& skin, u32 playMode, f32 speed);
    void SetModelAnimation(const TString<char>& animationFileName, u32 playMode, f32 speed);
    void SetTextureAnimation(const TString<char>& materialName, u32 playMode, f32 speed);
    void SetUVAnimation(const TString<char>& materialName, u32 playMode, f32 speed);

    // The kind of a model file by the text after its last point: "spt" a sprite, "mdl" a
    // model (in any letter case), anything else kOther.
    static u32 RenderableKindOf(const TString<char>& fileName);

    TString<char> m_ModelFileName;
    TString<char> m_AnimationFileName;
    TString<char> m_MaterialName;
    f32 m_Speed = 1.0f;
    TString<char> m_DataPath;
    // The texture file that the level loader passes with the model.
    TString<char> m_TextureFileName;
    u32 m_RenderableKind = kOther;
    i32 m_AnimationType = kNoAnimation;
    MiniGame::BehaviorActionSkin m_Skin;
    u32 m_PlayMode = 1;

private:
    void SetAnimation(i32 type, u32 playMode, f32 speed);
};

// Counts the live objects of Owner program-wide, copies included.
template <typename Owner>
class LiveCounter {
public:
    LiveCounter() { ++s_Live; }
    LiveCounter(const LiveCounter&) { ++s_Live; }
    LiveCounter& operator=(const LiveCounter&) = default;
    ~LiveCounter() { --s_Live; }

    static i32 GetLiveCount() { return s_Live; }

private:
    static inline i32 s_Live = 0;
};

// Collision description of an entity.
class CollisionData : public LiveCounter<CollisionData> {
public:
    CollisionData() = default;
    virtual ~CollisionData() = default;
    CollisionData(const CollisionData&) = default;
    CollisionData& operator=(const CollisionData&) = default;

    f32 m_BoundaryScale = 1.0f;
    f32 m_BoundaryOffsetX = 0.0f;
    f32 m_BoundaryOffsetY = 0.0f;
    f32 m_BoundaryOffsetZ = 0.0f;
    TString<char> m_BoundaryShape{"Box"};
    TString<char> m_EntityShape{"None"};
};

// An audio asset's sound.
class AudioData : public LiveCounter<AudioData> {
public:
    AudioData() = default;
    AudioData(const TString<char>& fileName, const TString<char>& dataPath)
        : m_FileName(fileName), m_DataPath(dataPath) {}
    virtual ~AudioData() = default;
    AudioData(const AudioData&) = default;
    AudioData& operator=(const AudioData&) = default;

    TString<char> m_FileName;
    TString<char> m_DataPath;
};

// A video asset's video.
class VideoData {
public:
    VideoData() = default;
    VideoData(const TString<char>& fileName, const TString<char>& dataPath)
        : m_FileName(fileName), m_DataPath(dataPath) {}
    virtual ~VideoData() = default;
    VideoData(const VideoData&) = default;
    VideoData& operator=(const VideoData&) = default;

    TString<char> m_FileName;
    TString<char> m_DataPath;
};

}  // namespace GameServices::Bridge
