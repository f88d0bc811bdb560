#include "gameservices/bridge/systems/EngineAnimations.h"

#include <algorithm>

#include "engine/core/AGController.h"
#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGMaterial.h"
#include "engine/graphics/AGModelAnimation.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGSkinAnimation.h"
#include "engine/graphics/AGTextureSlot.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/AnimationPools.h"
#include "gameservices/bridge/systems/EntityAnimations.h"
#include "gameservices/bridge/systems/RenderingSystem.h"
#include "gameservices/entities/VolatileData.h"

namespace GameServices::Bridge {

namespace ClassTypes = Entities::ClassTypes;

namespace {

bool s_firing = false;

template <typename T>
T* Load(u32 typeKey, const TString<char>& name) {
    AGResourceManager* resources = AGResourceManager::Get();
    AGBaseProvider* provider = resources ? resources->GetProvider(typeKey) : nullptr;
    if (!provider)
        return nullptr;
    return GetOrLoadResourceAs<T>(provider, Crc32Hash(name.c_str()));
}

// Loop from frame 0 over the animation's frames at its own rate and speed.
void BindTiming(AGController& controller, f32 frameCount, f32 frameRate, f32 speed) {
    AGBindAnimation(controller, frameCount, frameRate, speed);
    controller.SetMode(AGController::kLoop);
    controller.Reset();
}

// Loads the named skin animation and makes its controller when it has none.
AGSkinAnimation* LoadSkinAnimation(const TString<char>& name, AGController*& controller) {
    auto* animation = Load<AGSkinAnimation>(TypeKey::SkeletonPrsAnimation, name);
    if (!controller)
        controller = NewAnimationController();
    if (animation && controller)
        BindTiming(*controller, animation->m_frameCount, animation->m_frameRate, animation->m_speed);
    return animation;
}

}  // namespace

bool EngineAnimationBase::IsA(u32 classId) const { return classId == ClassTypes::kEngineAnimationBase.m_Id; }

bool EngineAnimationSkin::IsA(u32 classId) const {
    return classId == ClassTypes::kEngineAnimationSkin.m_Id || EngineAnimationBase::IsA(classId);
}

bool EngineAnimationModel::IsA(u32 classId) const {
    return classId == ClassTypes::kEngineAnimationModel.m_Id || EngineAnimationBase::IsA(classId);
}

bool EngineAnimationTexture::IsA(u32 classId) const {
    return classId == ClassTypes::kEngineAnimationTexture.m_Id || EngineAnimationBase::IsA(classId);
}

bool EngineAnimationUV::IsA(u32 classId) const {
    return classId == ClassTypes::kEngineAnimationUV.m_Id || EngineAnimationBase::IsA(classId);
}

void EngineAnimationSkin::Setup(u32 fileKind, const TString<char>& ownerName, const AvatarSkin& key,
                                const TString<char>& animationName, f32 blendTime) {
    m_Keys.clear();
    m_Key = key;
    m_CurrentName = animationName;
    m_BlendTime = blendTime;
    m_BlendElapsed = 0;
    m_FolderPath = FileSystem::GetFilePath(fileKind, ownerName);
    // A skeleton of its own: members sharing a rig would otherwise all be drawn in the pose of
    // whichever was updated last.
    AGResourceManager* resources = AGResourceManager::Get();
    AGBaseProvider* provider = resources ? resources->GetProvider(TypeKey::Skeleton) : nullptr;
    m_Key.m_Skeleton =
        provider ? RenderingSystem::KeepAs<AGSkin>(
                       TypeKey::Skeleton, CreateResourceInstance(provider, Crc32Hash(m_Key.m_Name.c_str()), 0, false))
                 : nullptr;
    m_Current = LoadSkinAnimation(m_CurrentName, m_Controller);
}

void EngineAnimationSkin::StartCrossFade(const TString<char>& animationName, f32 blendTime) {
    m_BlendElapsed = 0;
    m_IncomingName = animationName;
    m_BlendTime = blendTime;
    m_Incoming = LoadSkinAnimation(m_IncomingName, m_IncomingController);
}

void EngineAnimationSkin::CancelCrossFade() {
    m_BlendTime = 0.0f;
    m_IncomingName = TString<char>();
    RenderingSystem::GiveBack(TypeKey::SkeletonPrsAnimation, m_Incoming);
    ReleaseAnimationController(m_IncomingController);
    m_Incoming = nullptr;
    m_IncomingController = nullptr;
}

void EngineAnimationSkin::FinishCrossFade() {
    std::swap(m_Current, m_Incoming);
    m_CurrentName = m_IncomingName;
    if (m_Controller && m_IncomingController)
        std::swap(*m_Controller, *m_IncomingController);
    else
        std::swap(m_Controller, m_IncomingController);
    CancelCrossFade();
}

AGController* EngineAnimationSkin::ActiveController() const {
    return m_IncomingController ? m_IncomingController : m_Controller;
}

void EngineAnimationSkin::Update(u32 dt) {
    if (!m_Current)
        return;
    AGSkin* skeleton = m_Key.m_Skeleton;
    if (m_Incoming) {
        m_BlendElapsed += dt;
        // A fade of no length ends at once rather than weighing 0 / 0.
        const f32 weight = m_BlendTime > 0.0f ? f32(m_BlendElapsed) / m_BlendTime * 0.001f : 1.0f;
        if (weight < 1.0f) {
            if (m_IncomingController)
                m_IncomingController->UpdateBy(f32(dt));
            if (m_Controller)
                m_Controller->UpdateBy(f32(dt));
            if (skeleton && m_Controller)
                AGSkinAnimation::Apply(*m_Controller, *m_Current, skeleton->Bones(), skeleton->BoneCount());
            if (skeleton && m_IncomingController)
                AGSkinAnimation::Blend(*m_IncomingController, *m_Incoming, skeleton->Bones(),
                                       skeleton->BoneCount(), weight);
            return;
        }
        FinishCrossFade();
        if (!m_Current)
            return;
    }
    if (m_Controller)
        m_Controller->UpdateBy(f32(dt));
    if (skeleton && m_Controller)
        AGSkinAnimation::Apply(*m_Controller, *m_Current, skeleton->Bones(), skeleton->BoneCount());
}

void EngineAnimationSkin::Release() {
    ClearKeys(*this);
    RenderingSystem::GiveBack(TypeKey::Skeleton, m_Key.m_Skeleton);
    RenderingSystem::GiveBack(TypeKey::SkeletonPrsAnimation, m_Current);
    ReleaseAnimationController(m_Controller);
    m_Key.m_Skeleton = nullptr;
    m_Current = nullptr;
    m_Controller = nullptr;
    CancelCrossFade();
}

bool MakeAvatarSkinKey(const MiniGame::BehaviorActionSkin& skin, AvatarSkin& key) {
    key.m_Name = skin.m_Name;
    key.m_ModelTypes.clear();
    if (skin.m_ModelTypes.empty()) {
        AGReport("The skin %s drives no model", skin.m_Name.c_str());
        return false;
    }
    if (skin.m_ModelTypes.front() != MiniGame::kModelAll) {
        key.m_ModelTypes = skin.m_ModelTypes;
        return true;
    }
    if (skin.m_ModelTypes.size() > 1)
        AGReport("invalide list of model");
    for (i32 type = 0; type < i32(kNbAvatarParts); ++type)
        key.m_ModelTypes.push_back(type);
    return true;
}

EngineAnimationSkin* FindSkinAnimation(EntityAnimations& record, const AvatarSkin& key) {
    for (EngineAnimationSkin* skin : record.m_Skins)
        if (skin->m_Key.m_Name == key.m_Name && skin->m_Key.m_ModelTypes.size() == key.m_ModelTypes.size() &&
            skin->m_Key.SharesModels(key))
            return skin;
    return nullptr;
}

EngineAnimationTexture* FindTextureAnimation(EntityAnimations& record, const TString<char>& name) {
    for (EngineAnimationTexture* animation : record.m_Textures)
        if (animation->m_Name == name)
            return animation;
    return nullptr;
}

EngineAnimationUV* FindUVAnimation(EntityAnimations& record, const TString<char>& name) {
    for (EngineAnimationUV* animation : record.m_UVs)
        if (animation->m_Name == name)
            return animation;
    return nullptr;
}

EngineAnimationSkin* AddSkinAnimation(EntityAnimations& record, u32 fileKind, const TString<char>& ownerName,
                                      const AvatarSkin& key, const TString<char>& animationName, f32 blendTime) {
    for (EngineAnimationSkin* other : record.m_Skins)
        if (other->m_Key.SharesModels(key))
            AGReport("two Skin are targeting the same models !!!");
    EngineAnimationSkin* skin = TakeFrom(GetAnimationFactories().m_Skins);
    if (!skin)
        return nullptr;
    skin->Setup(fileKind, ownerName, key, animationName, blendTime);
    record.m_Skins.push_back(skin);
    return skin;
}

EngineAnimationModel* AddModelAnimation(EntityAnimations& record, const TString<char>& modelName,
                                        const TString<char>& animationName) {
    EngineAnimationModel* animation = TakeFrom(GetAnimationFactories().m_Models);
    if (!animation)
        return nullptr;
    if (record.m_Model) {
        AGReport("You can't have two different Model animation");
        ReleaseModelAnimation(record.m_Model);
    }
    record.m_Model = animation;
    animation->m_Keys.clear();
    animation->m_FolderPath = FileSystem::GetFilePath(FILE_PROP_DATA, modelName);
    animation->m_AnimationName = animationName;
    animation->m_Animation = Load<AGModelAnimation>(TypeKey::PrsAnimation, animationName);
    if (!animation->m_Controller)
        animation->m_Controller = NewAnimationController();
    if (animation->m_Animation && animation->m_Controller)
        BindTiming(*animation->m_Controller, animation->m_Animation->m_frameCount,
                   animation->m_Animation->m_frameRate, animation->m_Animation->m_speed);
    return animation;
}

AGController* MakeSlotController(AGMaterial& material, bool stepSlot) {
    AGTextureSlot* slot = nullptr;
    for (u32 i = 0; i < material.SlotCount() && !slot; ++i)
        if (AGTextureSlot* candidate = material.GetSlot(i); candidate && candidate->IsFlipBook() == stepSlot)
            slot = candidate;
    if (!slot)
        return nullptr;
    // A texture slot goes back to its own controller, which then times the new one.
    if (stepSlot)
        slot->SetController(nullptr);
    const AGController* source = slot->GetController();
    if (!source)
        return nullptr;
    AGController* controller = NewAnimationController();
    if (!controller)
        return nullptr;
    controller->Reset();
    controller->SetFrameRate(source->GetFrameRate());
    controller->SetRange(source->GetStartFrame(), source->GetEndFrame() - 1.0f);
    controller->SetEndTime(source->GetEndFrame() * controller->GetFrameDuration());
    controller->SetTime(source->GetOutput() * controller->GetFrameDuration());
    slot->SetController(controller);
    return controller;
}

EngineAnimationTexture* AddTextureAnimation(EntityAnimations& record, AGController* controller,
                                            const TString<char>& name) {
    EngineAnimationTexture* animation = TakeFrom(GetAnimationFactories().m_Textures);
    if (!animation)
        return nullptr;
    animation->m_Keys.clear();
    animation->m_Name = name;
    animation->m_Controller = controller;
    record.m_Textures.push_back(animation);
    return animation;
}

EngineAnimationUV* AddUVAnimation(EntityAnimations& record, AGController* controller, const TString<char>& name) {
    EngineAnimationUV* animation = TakeFrom(GetAnimationFactories().m_UVs);
    if (!animation)
        return nullptr;
    animation->m_Keys.clear();
    animation->m_Name = name;
    animation->m_Controller = controller;
    record.m_UVs.push_back(animation);
    return animation;
}

EngineAnimationCamera* CreateCameraAnimation() {
    EngineAnimationCamera* animation = TakeFrom(GetAnimationFactories().m_Cameras);
    if (animation)
        animation->m_Keys.clear();
    return animation;
}

void AddKey(EngineAnimationBase& animation, const AnimationKey& key) {
    // A key without a delegate would never be released by RemoveKey.
    if (!key.m_Delegate)
        return;
    for (AnimationHandler* handler : animation.m_Keys) {
        if (handler->m_Frame == key.m_Frame) {
            handler->m_Event.AddDelegate(key.m_Delegate);
            return;
        }
    }
    AnimationHandler* handler = TakeFrom(GetAnimationFactories().m_Handlers);
    if (!handler)
        return;
    // A handler taken again keeps its last state: it must start armed and empty.
    handler->m_Event = FHandler();
    handler->m_Frame = key.m_Frame;
    handler->m_Armed = true;
    handler->m_Event.AddDelegate(key.m_Delegate);
    animation.m_Keys.push_back(handler);
}

void RemoveKey(EngineAnimationBase& animation, const AnimationKey& key) {
    for (size_t i = 0; i < animation.m_Keys.size(); ++i) {
        AnimationHandler* handler = animation.m_Keys[i];
        if (handler->m_Frame != key.m_Frame)
            continue;
        handler->m_Event.RemoveDelegate(key.m_Delegate);
        if (handler->m_Event.Count() == 0 && !handler->m_Event.IsFiring()) {
            GiveBackTo(GetAnimationFactories().m_Handlers, handler);
            animation.m_Keys.erase(animation.m_Keys.begin() + i);
            return;
        }
    }
}

void ClearKeys(EngineAnimationBase& animation) {
    for (AnimationHandler* handler : animation.m_Keys) {
        handler->m_Event = FHandler();
        GiveBackTo(GetAnimationFactories().m_Handlers, handler);
    }
    animation.m_Keys.clear();
}

void FireAnimationKeys(EngineAnimationBase& animation) {
    const bool outer = !s_firing;
    s_firing = true;
    const AGController* controller = animation.IsA(ClassTypes::kEngineAnimationSkin.m_Id)
                                         ? static_cast<EngineAnimationSkin&>(animation).ActiveController()
                                         : animation.m_Controller;
    if (controller) {
        const u32 mode = controller->GetMode();
        const f32 frame = controller->GetOutput();
        const bool forward = mode == AGController::kOnce || mode == AGController::kLoop;
        const bool backward = mode == AGController::kOnceReverse || mode == AGController::kLoopReverse;
        const bool stopped = mode == AGController::kStopped;
        // Removals are queued during the pass, so the key list keeps its length.
        for (size_t i = 0; i < animation.m_Keys.size(); ++i) {
            AnimationHandler* handler = animation.m_Keys[i];
            const f32 k = f32(handler->m_Frame);
            bool fires = false;
            if ((forward || stopped) && k <= frame + 1.0f)
                fires = true;
            else if ((backward || stopped) && k >= frame)
                fires = true;
            else
                handler->m_Armed = true;
            if (!fires)
                continue;
            if (handler->m_Armed)
                handler->m_Event.Fire();
            handler->m_Armed = false;
        }
    }
    if (!outer)
        return;
    s_firing = false;
    ApplyPendingKeyRemovals();
}

bool AreKeysFiring() { return s_firing; }

void ReleaseSkinAnimation(EngineAnimationSkin* animation) {
    if (!animation)
        return;
    animation->Release();
    GiveBackTo(GetAnimationFactories().m_Skins, animation);
}

void ReleaseModelAnimation(EngineAnimationModel* animation) {
    if (!animation)
        return;
    ClearKeys(*animation);
    RenderingSystem::GiveBack(TypeKey::PrsAnimation, animation->m_Animation);
    animation->m_Animation = nullptr;
    GiveBackTo(GetAnimationFactories().m_Models, animation);
}

void ReleaseTextureAnimation(EngineAnimationTexture* animation) {
    if (!animation)
        return;
    ClearKeys(*animation);
    GiveBackTo(GetAnimationFactories().m_Textures, animation);
}

void ReleaseUVAnimation(EngineAnimationUV* animation) {
    if (!animation)
        return;
    ClearKeys(*animation);
    GiveBackTo(GetAnimationFactories().m_UVs, animation);
}

void ReleaseCameraAnimation(EngineAnimationCamera* animation) {
    if (!animation)
        return;
    ClearKeys(*animation);
    GiveBackTo(GetAnimationFactories().m_Cameras, animation);
}

}  // namespace GameServices::Bridge
