#include "gameservices/game/RenderableModelData.h"

namespace GameServices::Bridge {

namespace {
i32 g_liveCollisionData = 0;
i32 g_liveAudioData = 0;
}  // namespace

void RenderableModelData::SetSkinAnimation(const TString<char>& animationFileName,
                                           const MiniGame::BehaviorActionSkin& skin,
                                           u32 playMode, f32 speed) {
    m_AnimationFileName = animationFileName;
    m_Skin = skin;
    m_AnimationType = kSkin;
    m_PlayMode = playMode;
    m_Speed = speed;
}

void RenderableModelData::SetModelAnimation(const TString<char>& animationFileName,
                                            u32 playMode, f32 speed) {
    m_AnimationFileName = animationFileName;
    m_AnimationType = kModelAnimation;
    m_PlayMode = playMode;
    m_Speed = speed;
}

void RenderableModelData::SetTextureAnimation(const TString<char>& materialName, u32 playMode,
                                              f32 speed) {
    m_MaterialName = materialName;
    m_AnimationType = kTexture;
    m_PlayMode = playMode;
    m_Speed = speed;
}

void RenderableModelData::SetUVAnimation(const TString<char>& materialName, u32 playMode,
                                         f32 speed) {
    m_MaterialName = materialName;
    m_AnimationType = kUV;
    m_PlayMode = playMode;
    m_Speed = speed;
}

u32 RenderableModelData::RenderableKindOf(const TString<char>& fileName) {
    u32 dot = fileName.Length();
    while (dot > 0 && fileName[dot - 1] != '.')
        --dot;
    if (dot == 0)
        return kOther;
    TString<char> extension = fileName.SubString(dot);
    extension.ToLower();
    if (extension == "spt")
        return kSprite;
    if (extension == "mdl")
        return kModel;
    return kOther;
}

CollisionData::CollisionData() {
    ++g_liveCollisionData;
}

CollisionData::CollisionData(const CollisionData& other)
    : m_BoundaryScale(other.m_BoundaryScale),
      m_BoundaryOffsetX(other.m_BoundaryOffsetX),
      m_BoundaryOffsetY(other.m_BoundaryOffsetY),
      m_BoundaryOffsetZ(other.m_BoundaryOffsetZ),
      m_BoundaryShape(other.m_BoundaryShape),
      m_EntityShape(other.m_EntityShape) {
    ++g_liveCollisionData;
}

CollisionData::~CollisionData() {
    --g_liveCollisionData;
}

i32 CollisionData::GetLiveCount() {
    return g_liveCollisionData;
}

AudioData::AudioData() {
    ++g_liveAudioData;
}

AudioData::AudioData(const TString<char>& fileName, const TString<char>& dataPath)
    : m_FileName(fileName), m_DataPath(dataPath) {
    ++g_liveAudioData;
}

AudioData::AudioData(const AudioData& other)
    : m_FileName(other.m_FileName), m_DataPath(other.m_DataPath) {
    ++g_liveAudioData;
}

AudioData::~AudioData() {
    --g_liveAudioData;
}

i32 AudioData::GetLiveCount() {
    return g_liveAudioData;
}

}  // namespace GameServices::Bridge
