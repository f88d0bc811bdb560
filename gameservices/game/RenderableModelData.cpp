#include "gameservices/game/RenderableModelData.h"

namespace GameServices::Bridge {

void RenderableModelData::SetSkinAnimation(const TString<char>& animationFileName,
                                           const MiniGame::BehaviorActionSkin& skin,
                                           u32 playMode, f32 speed) {
    m_AnimationFileName = animationFileName;
    m_Skin = skin;
    SetAnimation(kSkin, playMode, speed);
}

void RenderableModelData::SetModelAnimation(const TString<char>& animationFileName,
                                            u32 playMode, f32 speed) {
    m_AnimationFileName = animationFileName;
    SetAnimation(kModelAnimation, playMode, speed);
}

void RenderableModelData::SetTextureAnimation(const TString<char>& materialName, u32 playMode,
                                              f32 speed) {
    m_MaterialName = materialName;
    SetAnimation(kTexture, playMode, speed);
}

void RenderableModelData::SetUVAnimation(const TString<char>& materialName, u32 playMode,
                                         f32 speed) {
    m_MaterialName = materialName;
    SetAnimation(kUV, playMode, speed);
}

void RenderableModelData::SetAnimation(i32 type, u32 playMode, f32 speed) {
    m_AnimationType = type;
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

}  // namespace GameServices::Bridge
