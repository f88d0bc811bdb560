#include "gameservices/bridge/systems/EntityAnimations.h"

#include "engine/core/AGController.h"
#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "engine/graphics/AGModel.h"
#include "engine/graphics/AGSkin.h"
#include "engine/graphics/AGSprite.h"
#include "engine/graphics/PCCam.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/AnimationPools.h"
#include "gameservices/entities/Entity.h"
#include "gameservices/game/RenderableModelData.h"
#include "gameservices/game/sAnimation.h"

namespace GameServices::Bridge {

using namespace Entities::VolatileDataKeys;

namespace {

constexpr f32 kFrameRate = 30.0f;
constexpr const char* kSetFirst = "you must set an animation first";
constexpr const char* kNoReplay = "you try to Replay an animation that doesn't exist !!";
constexpr const char* kNoSpeed = "you try to change the speed of an animation that doesn't exist !!";
constexpr const char* kNoKey = "can't find this animation to add a key";
constexpr const char* kNoSlot = "can't Find the controller in this material";

AGModel* ModelOf(const Entity& entity) { return entity.VolatileDatas.GetAs<AGModel>(kENGINE_DATA_MODEL); }
Avatar* AvatarOf(const Entity& entity) { return entity.VolatileDatas.GetAs<Avatar>(kENGINE_DATA_AVATAR); }
bool HasSprite(const Entity& entity) { return entity.VolatileDatas.HasData(kENGINE_DATA_SPRITE); }

EntityAnimations* GetOrCreate(Entity& entity) {
    if (EntityAnimations* record = GetEntityAnimations(entity))
        return record;
    EntityAnimations* record = TakeFrom(GetAnimationFactories().m_Entities);
    if (record)
        entity.VolatileDatas.Set(kANIMATIONS_ENTITY_DATA, record);
    return record;
}

EntityAnimations* Require(const Entity& entity) {
    EntityAnimations* record = GetEntityAnimations(entity);
    if (!record)
        AGReport(kSetFirst);
    return record;
}

EngineAnimationSkin* FindSkin(const Entity& entity, const BehaviorActionSkin& skin, const char* missing) {
    EntityAnimations* record = Require(entity);
    AvatarSkin key;
    if (!record || !MakeAvatarSkinKey(skin, key))
        return nullptr;
    EngineAnimationSkin* found = FindSkinAnimation(*record, key);
    if (!found && missing)
        AGReport(missing);
    return found;
}

EngineAnimationModel* FindModel(const Entity& entity, const char* missing) {
    EntityAnimations* record = Require(entity);
    if (record && !record->m_Model && missing)
        AGReport(missing);
    return record ? record->m_Model : nullptr;
}

EngineAnimationCamera* FindCamera(const Entity& entity, const char* missing) {
    EntityAnimations* record = Require(entity);
    if (record && !record->m_Camera && missing)
        AGReport(missing);
    return record ? record->m_Camera : nullptr;
}

template <bool Texture>
EngineAnimationBase* FindSlot(const Entity& entity, const TString<char>& name, const char* missing) {
    EntityAnimations* record = Require(entity);
    if (!record)
        return nullptr;
    EngineAnimationBase* found = nullptr;
    if constexpr (Texture)
        found = FindTextureAnimation(*record, name);
    else
        found = FindUVAnimation(*record, name);
    if (!found && missing)
        AGReport(missing);
    return found;
}

AGController* CameraController(const Entity& entity) {
    PCCam* camera = entity.VolatileDatas.GetCamera();
    return camera ? camera->GetController() : nullptr;
}

void Replay(AGController* controller, i32 playMode, i32 startFrame, i32 endFrame) {
    if (controller)
        ApplyPlayMode(*controller, playMode, -1.0f, startFrame, endFrame);
}

void Speed(AGController* controller, f32 speed) {
    if (controller)
        controller->SetSpeed(speed);
}

void Queue(AnimationKind kind, Entity& entity, const AnimationKey& key, const BehaviorActionSkin* skin,
           const TString<char>& name) {
    std::vector<PendingKeyRemoval>* queue = GetPendingKeyRemovals(kind);
    if (!queue)
        return;
    PendingKeyRemoval removal;
    removal.m_Entity = &entity;
    removal.m_Key = key;
    if (skin)
        removal.m_Skin = *skin;
    removal.m_Name = name;
    queue->push_back(removal);
}

i32 EndFrameOf(const AGController* controller, const char* failure) {
    if (!controller) {
        AGReport(failure);
        return 0;
    }
    return i32(controller->GetEndFrame());
}

void SkinTarget(Entity& entity, const BehaviorActionSkin& skin, const TString<char>& name, f32 blendTime,
                i32 playMode, f32 speed, i32 startFrame, i32 endFrame, u32 fileKind, const TString<char>& owner,
                AGModel* model, Avatar* avatar) {
    EntityAnimations* record = GetOrCreate(entity);
    AvatarSkin key;
    if (!record || !MakeAvatarSkinKey(skin, key))
        return;
    EngineAnimationSkin* animation = FindSkinAnimation(*record, key);
    if (animation) {
        animation->CancelCrossFade();
        if (name != animation->m_CurrentName)
            animation->StartCrossFade(name, blendTime);
        if (AGController* controller = animation->ActiveController())
            ApplyPlayMode(*controller, playMode, speed, startFrame, endFrame);
    } else {
        animation = AddSkinAnimation(*record, fileKind, owner, key, name, blendTime);
        if (!animation)
            return;
        if (animation->m_Controller)
            ApplyPlayMode(*animation->m_Controller, playMode, speed, startFrame, endFrame);
    }
    AGSkin* skeleton = animation->m_Key.m_Skeleton;
    if (model) {
        model->SetController(animation->m_Controller);
        const AGSkin* current = model->GetSkin();
        if (skeleton && !(current && current->NameId() == Crc32Hash(key.m_Name.c_str())))
            model->SetSkin(skeleton);
    }
    if (avatar && skeleton && !avatar->HasSkin(skeleton))
        avatar->AddSkin(animation->m_Key);
}

// The texture or UV animation of a model's named material or of the sprite's material.
template <bool Texture>
void SetSlotAnimation(Entity& entity, const TString<char>& name, i32 playMode, f32 speed, i32 startFrame,
                      i32 endFrame) {
    const RenderableModelData* data = entity.VolatileDatas.GetRenderableModelData();
    const u32 kind = data ? data->m_RenderableKind : RenderableModelData::kOther;
    AGMaterial* material = nullptr;
    if (kind == RenderableModelData::kModel) {
        AGModel* model = ModelOf(entity);
        if (!model)
            return;
        material = model->FindSkin(name.c_str());
    } else if (kind == RenderableModelData::kSprite) {
        auto* sprite = entity.VolatileDatas.GetAs<AGSprite>(kENGINE_DATA_SPRITE);
        if (!sprite)
            return;
        material = sprite->GetMaterial();
    } else {
        if (AvatarOf(entity))
            AGReport("TextureAnimation is not suported for the Avatar");
        return;
    }
    EntityAnimations* record = GetOrCreate(entity);
    if (!record)
        return;
    EngineAnimationBase* animation = nullptr;
    if constexpr (Texture)
        animation = FindTextureAnimation(*record, name);
    else
        animation = FindUVAnimation(*record, name);
    if (!animation) {
        AGController* controller = nullptr;
        // A sprite's texture animation may run on a slot that does not step textures.
        if (material && Texture && kind == RenderableModelData::kSprite)
            controller = MakeSlotController(*material, false);
        if (material && !controller)
            controller = MakeSlotController(*material, Texture);
        if (!controller) {
            if (Texture || kind != RenderableModelData::kModel)
                AGReport(kNoSlot);
            return;
        }
        if constexpr (Texture)
            animation = AddTextureAnimation(*record, controller, name);
        else
            animation = AddUVAnimation(*record, controller, name);
        if (!animation)
            return;
    }
    if (animation->m_Controller)
        ApplyPlayMode(*animation->m_Controller, playMode, speed, startFrame, endFrame);
}

}  // namespace

EntityAnimations* GetEntityAnimations(const Entity& entity) {
    return entity.VolatileDatas.GetAs<EntityAnimations>(kANIMATIONS_ENTITY_DATA);
}

u32 ConvertPlayMode(i32 playMode) {
    if (playMode == 0 || playMode == 1)
        return AGController::kStopped;
    if (playMode >= 3 && playMode <= 6)
        return u32(playMode);
    AGReport("Invalid playmode !!!");
    return AGController::kStopped;
}

void ApplyPlayMode(AGController& controller, i32 playMode, f32 speed, i32 startFrame, i32 endFrame) {
    const u32 mode = ConvertPlayMode(playMode);
    controller.SetMode(mode);
    const f32 duration = controller.GetFrameDuration();
    if (mode == AGController::kOnceReverse || mode == AGController::kLoopReverse) {
        if (endFrame != -1)
            controller.SetTime(controller.GetEndFrame() * duration);
    } else if (startFrame != -1) {
        controller.SetTime(f32(startFrame) * duration);
    }
    if (speed >= 0.0f)
        controller.SetSpeed(speed);
    // Also re-times the start and end frames at that rate.
    controller.SetFrameRate(kFrameRate);
}

void SetSkinAnimation(Entity& entity, const BehaviorActionSkin& skin, const TString<char>& name, f32 blendTime,
                      i32 playMode, f32 speed, i32 startFrame, i32 endFrame) {
    if (HasSprite(entity))
        AGReport("SkinAnimation is not suported for the Sprite");
    AGModel* model = ModelOf(entity);
    const RenderableModelData* modelData = entity.VolatileDatas.GetRenderableModelData();
    if (model && modelData)
        SkinTarget(entity, skin, name, blendTime, playMode, speed, startFrame, endFrame, FILE_PROP_DATA,
                   modelData->m_ModelFileName, model, nullptr);
    Avatar* avatar = AvatarOf(entity);
    const RenderableAvatarData* avatarData = entity.VolatileDatas.GetRenderableAvatarData();
    if (avatar && avatarData)
        SkinTarget(entity, skin, name, blendTime, playMode, speed, startFrame, endFrame, FILE_AVATAR_DATA,
                   avatarData->m_DataPath, nullptr, avatar);
}

void SetModelAnimation(Entity& entity, const TString<char>& name, i32 playMode, f32 speed, i32 startFrame,
                       i32 endFrame) {
    AGModel* model = ModelOf(entity);
    if (!model) {
        if (AvatarOf(entity))
            AGReport("ModelAnimation is not suported for the Avatar");
        else if (HasSprite(entity))
            AGReport("ModelAnimation is not suported for the Sprite");
        return;
    }
    EntityAnimations* record = GetOrCreate(entity);
    if (!record)
        return;
    if (!record->m_Model) {
        const RenderableModelData* data = entity.VolatileDatas.GetRenderableModelData();
        if (!AddModelAnimation(*record, data ? data->m_ModelFileName : TString<char>(), name))
            return;
    }
    EngineAnimationModel* animation = record->m_Model;
    if (animation->m_Controller)
        ApplyPlayMode(*animation->m_Controller, playMode, speed, startFrame, endFrame);
    model->SetController(animation->m_Controller);
    model->SetModelAnimation(animation->m_Animation);
}

void SetTextureAnimation(Entity& entity, const TString<char>& name, i32 playMode, f32 speed, i32 startFrame,
                         i32 endFrame) {
    SetSlotAnimation<true>(entity, name, playMode, speed, startFrame, endFrame);
}

void SetUVAnimation(Entity& entity, const TString<char>& name, i32 playMode, f32 speed, i32 startFrame,
                    i32 endFrame) {
    SetSlotAnimation<false>(entity, name, playMode, speed, startFrame, endFrame);
}

void SetCameraAnimation(Entity& entity, i32 playMode, f32 speed, i32 startFrame, i32 endFrame) {
    PCCam* camera = entity.VolatileDatas.GetCamera();
    if (!camera) {
        AGReport("Failed to initialize the Camera animation!");
        return;
    }
    // A camera built without an animation gets its own controller to play.
    if (!camera->GetController()) {
        camera->EnsureController();
        camera->SetController(nullptr);
    }
    EntityAnimations* record = GetOrCreate(entity);
    if (!record)
        return;
    if (!record->m_Camera) {
        EngineAnimationCamera* animation = CreateCameraAnimation();
        if (!animation)
            return;
        animation->m_Controller = camera->GetController();
        record->m_Camera = animation;
        record->m_Cameras.push_back(animation);
    }
    ApplyPlayMode(*camera->GetController(), playMode, speed, startFrame, endFrame);
}

void ReplaySkinAnimation(Entity& entity, const BehaviorActionSkin& skin, i32 playMode, i32 startFrame,
                         i32 endFrame) {
    if (EngineAnimationSkin* animation = FindSkin(entity, skin, kNoReplay))
        Replay(animation->ActiveController(), playMode, startFrame, endFrame);
}

void ReplayModelAnimation(Entity& entity, i32 playMode, i32 startFrame, i32 endFrame) {
    if (EngineAnimationModel* animation = FindModel(entity, kNoReplay))
        Replay(animation->m_Controller, playMode, startFrame, endFrame);
}

void ReplayTextureAnimation(Entity& entity, const TString<char>& name, i32 playMode, i32 startFrame, i32 endFrame) {
    if (EngineAnimationBase* animation = FindSlot<true>(entity, name, kNoReplay))
        Replay(animation->m_Controller, playMode, startFrame, endFrame);
}

void ReplayUVAnimation(Entity& entity, const TString<char>& name, i32 playMode, i32 startFrame, i32 endFrame) {
    if (EngineAnimationBase* animation = FindSlot<false>(entity, name, kNoReplay))
        Replay(animation->m_Controller, playMode, startFrame, endFrame);
}

void ReplayCameraAnimation(Entity& entity, i32 playMode, i32 startFrame, i32 endFrame) {
    if (FindCamera(entity, kNoReplay))
        Replay(CameraController(entity), playMode, startFrame, endFrame);
}

void SetSkinAnimationSpeed(Entity& entity, const BehaviorActionSkin& skin, f32 speed) {
    if (EngineAnimationSkin* animation = FindSkin(entity, skin, kNoSpeed))
        Speed(animation->ActiveController(), speed);
}

void SetModelAnimationSpeed(Entity& entity, f32 speed) {
    if (EngineAnimationModel* animation = FindModel(entity, kNoSpeed))
        Speed(animation->m_Controller, speed);
}

void SetTextureAnimationSpeed(Entity& entity, const TString<char>& name, f32 speed) {
    if (EngineAnimationBase* animation = FindSlot<true>(entity, name, kNoSpeed))
        Speed(animation->m_Controller, speed);
}

void SetUVAnimationSpeed(Entity& entity, const TString<char>& name, f32 speed) {
    if (EngineAnimationBase* animation = FindSlot<false>(entity, name, kNoSpeed))
        Speed(animation->m_Controller, speed);
}

void SetCameraAnimationSpeed(Entity& entity, f32 speed) {
    if (FindCamera(entity, kNoSpeed))
        Speed(CameraController(entity), speed);
}

void AddSkinAnimationKey(Entity& entity, const BehaviorActionSkin& skin, const AnimationKey& key) {
    if (EngineAnimationSkin* animation = FindSkin(entity, skin, kNoKey))
        AddKey(*animation, key);
}

void AddModelAnimationKey(Entity& entity, const AnimationKey& key) {
    if (EngineAnimationModel* animation = FindModel(entity, kNoKey))
        AddKey(*animation, key);
}

void AddTextureAnimationKey(Entity& entity, const TString<char>& name, const AnimationKey& key) {
    if (EngineAnimationBase* animation = FindSlot<true>(entity, name, kNoKey))
        AddKey(*animation, key);
}

void AddUVAnimationKey(Entity& entity, const TString<char>& name, const AnimationKey& key) {
    if (EngineAnimationBase* animation = FindSlot<false>(entity, name, kNoKey))
        AddKey(*animation, key);
}

void AddCameraAnimationKey(Entity& entity, const AnimationKey& key) {
    if (EngineAnimationCamera* animation = FindCamera(entity, kNoKey))
        AddKey(*animation, key);
}

void RemoveSkinAnimationKey(Entity& entity, const BehaviorActionSkin& skin, const AnimationKey& key) {
    if (AreKeysFiring())
        Queue(kSkinKind, entity, key, &skin, TString<char>());
    else if (EngineAnimationSkin* animation = FindSkin(entity, skin, kNoKey))
        RemoveKey(*animation, key);
}

void RemoveModelAnimationKey(Entity& entity, const AnimationKey& key) {
    if (AreKeysFiring())
        Queue(kModelKind, entity, key, nullptr, TString<char>());
    else if (EngineAnimationModel* animation = FindModel(entity, "can't find this animation "))
        RemoveKey(*animation, key);
}

void RemoveTextureAnimationKey(Entity& entity, const TString<char>& name, const AnimationKey& key) {
    if (AreKeysFiring())
        Queue(kTextureKind, entity, key, nullptr, name);
    else if (EngineAnimationBase* animation = FindSlot<true>(entity, name, "can't find this texture animation"))
        RemoveKey(*animation, key);
}

void RemoveUVAnimationKey(Entity& entity, const TString<char>& name, const AnimationKey& key) {
    if (AreKeysFiring())
        Queue(kUVKind, entity, key, nullptr, name);
    else if (EngineAnimationBase* animation = FindSlot<false>(entity, name, "can't find this texture animation"))
        RemoveKey(*animation, key);
}

void RemoveCameraAnimationKey(Entity& entity, const AnimationKey& key) {
    if (AreKeysFiring())
        Queue(kCameraKind, entity, key, nullptr, TString<char>());
    else if (EngineAnimationCamera* animation = FindCamera(entity, kNoKey))
        RemoveKey(*animation, key);
}

void ApplyPendingKeyRemovals() {
    // Taken first: the removals run with the firing flag clear and queue nothing more.
    std::vector<PendingKeyRemoval> queues[kAnimationKinds];
    for (u32 kind = 0; kind < kAnimationKinds; ++kind)
        if (std::vector<PendingKeyRemoval>* queue = GetPendingKeyRemovals(AnimationKind(kind)))
            queues[kind].swap(*queue);
    for (const PendingKeyRemoval& removal : queues[kUVKind])
        RemoveUVAnimationKey(*removal.m_Entity, removal.m_Name, removal.m_Key);
    for (const PendingKeyRemoval& removal : queues[kTextureKind])
        RemoveTextureAnimationKey(*removal.m_Entity, removal.m_Name, removal.m_Key);
    for (const PendingKeyRemoval& removal : queues[kModelKind])
        RemoveModelAnimationKey(*removal.m_Entity, removal.m_Key);
    for (const PendingKeyRemoval& removal : queues[kSkinKind])
        RemoveSkinAnimationKey(*removal.m_Entity, removal.m_Skin, removal.m_Key);
    for (const PendingKeyRemoval& removal : queues[kCameraKind])
        RemoveCameraAnimationKey(*removal.m_Entity, removal.m_Key);
}

i32 GetSkinAnimationEndFrame(Entity& entity, const BehaviorActionSkin& skin) {
    if (!Require(entity))
        return 0;
    EngineAnimationSkin* animation = FindSkin(entity, skin, nullptr);
    return EndFrameOf(animation ? animation->ActiveController() : nullptr, "Error GetSkinAnimationEndFrame failed!");
}

i32 GetModelAnimationEndFrame(Entity& entity) {
    if (!Require(entity))
        return 0;
    EngineAnimationModel* animation = FindModel(entity, nullptr);
    return EndFrameOf(animation ? animation->m_Controller : nullptr, "Error GetModelAnimationEndFrame failed!");
}

i32 GetTextureAnimationEndFrame(Entity& entity, const TString<char>& name) {
    if (!Require(entity))
        return 0;
    EngineAnimationBase* animation = FindSlot<true>(entity, name, nullptr);
    return EndFrameOf(animation ? animation->m_Controller : nullptr, "Error GetTextureAnimationEndFrame failed!");
}

i32 GetUVAnimationEndFrame(Entity& entity, const TString<char>& name) {
    if (!Require(entity))
        return 0;
    EngineAnimationBase* animation = FindSlot<false>(entity, name, nullptr);
    return EndFrameOf(animation ? animation->m_Controller : nullptr, "Error GetUVAnimationEndFrame failed!");
}

i32 GetCameraAnimationEndFrame(Entity& entity) {
    if (!Require(entity))
        return 0;
    const AGController* controller = CameraController(entity);
    if (!controller) {
        AGReport("Failed to retrieve AGCamera!");
        return 0;
    }
    return i32(controller->GetEndFrame()) - 1;
}

void FireEntityAnimationKeys(EntityAnimations& record) {
    for (EngineAnimationSkin* skin : record.m_Skins)
        FireAnimationKeys(*skin);
    if (record.m_Model)
        FireAnimationKeys(*record.m_Model);
    for (EngineAnimationTexture* texture : record.m_Textures)
        FireAnimationKeys(*texture);
    for (EngineAnimationUV* uv : record.m_UVs)
        FireAnimationKeys(*uv);
    for (EngineAnimationCamera* camera : record.m_Cameras)
        FireAnimationKeys(*camera);
}

void ReleaseEntityAnimations(Entity& entity, EntityAnimations& record) {
    // The model must not keep the controllers, skeletons and animations given back here.
    AGModel* model = ModelOf(entity);
    for (EngineAnimationSkin* skin : record.m_Skins) {
        if (model && model->GetController() &&
            (model->GetController() == skin->m_Controller || model->GetController() == skin->m_IncomingController))
            model->SetController(nullptr);
        if (model && model->GetSkin() && model->GetSkin() == skin->m_Key.m_Skeleton)
            model->SetSkin(nullptr);
        ReleaseSkinAnimation(skin);
    }
    record.m_Skins.clear();
    if (record.m_Model) {
        if (model && model->GetModelAnimation() == record.m_Model->m_Animation)
            model->SetModelAnimation(nullptr);
        ReleaseModelAnimation(record.m_Model);
        record.m_Model = nullptr;
    }
    for (EngineAnimationTexture* texture : record.m_Textures)
        ReleaseTextureAnimation(texture);
    record.m_Textures.clear();
    for (EngineAnimationUV* uv : record.m_UVs)
        ReleaseUVAnimation(uv);
    record.m_UVs.clear();
    for (EngineAnimationCamera* camera : record.m_Cameras)
        ReleaseCameraAnimation(camera);
    record.m_Cameras.clear();
    record.m_Camera = nullptr;
}

namespace {

const BehaviorActionSkin& SkinOf(const KorvoGame::AnimationTarget& target) {
    static const BehaviorActionSkin s_none;
    return target.skin ? *target.skin : s_none;
}

}  // namespace

void EntityAnimationServices::Start(Entity& entity, const KorvoGame::AnimationTarget& target, f32 transitionTime,
                                    i32 playMode, f32 rate, i32 startFrame, i32 endFrame) {
    switch (target.kind) {
    case KorvoGame::kAnimationSkin:
        SetSkinAnimation(entity, SkinOf(target), target.name, transitionTime, playMode, rate, startFrame, endFrame);
        break;
    case KorvoGame::kAnimationModel:
        SetModelAnimation(entity, target.name, playMode, rate, startFrame, endFrame);
        break;
    case KorvoGame::kAnimationTexture:
        SetTextureAnimation(entity, target.name, playMode, rate, startFrame, endFrame);
        break;
    case KorvoGame::kAnimationUV: SetUVAnimation(entity, target.name, playMode, rate, startFrame, endFrame); break;
    case KorvoGame::kAnimationCamera: SetCameraAnimation(entity, playMode, rate, startFrame, endFrame); break;
    default: AGReport("No animation of kind %d", target.kind); break;
    }
}

void EntityAnimationServices::Replay(Entity& entity, const KorvoGame::AnimationTarget& target, i32 playMode,
                                     i32 startFrame, i32 endFrame) {
    switch (target.kind) {
    case KorvoGame::kAnimationSkin: ReplaySkinAnimation(entity, SkinOf(target), playMode, startFrame, endFrame); break;
    case KorvoGame::kAnimationModel: ReplayModelAnimation(entity, playMode, startFrame, endFrame); break;
    case KorvoGame::kAnimationTexture:
        ReplayTextureAnimation(entity, target.name, playMode, startFrame, endFrame);
        break;
    case KorvoGame::kAnimationUV: ReplayUVAnimation(entity, target.name, playMode, startFrame, endFrame); break;
    case KorvoGame::kAnimationCamera: ReplayCameraAnimation(entity, playMode, startFrame, endFrame); break;
    default: AGReport("No animation of kind %d", target.kind); break;
    }
}

void EntityAnimationServices::SetSpeed(Entity& entity, const KorvoGame::AnimationTarget& target, f32 speed) {
    switch (target.kind) {
    case KorvoGame::kAnimationSkin: SetSkinAnimationSpeed(entity, SkinOf(target), speed); break;
    case KorvoGame::kAnimationModel: SetModelAnimationSpeed(entity, speed); break;
    case KorvoGame::kAnimationTexture: SetTextureAnimationSpeed(entity, target.name, speed); break;
    case KorvoGame::kAnimationUV: SetUVAnimationSpeed(entity, target.name, speed); break;
    case KorvoGame::kAnimationCamera: SetCameraAnimationSpeed(entity, speed); break;
    default: AGReport("No animation of kind %d", target.kind); break;
    }
}

i32 EntityAnimationServices::GetEndFrame(Entity& entity, const KorvoGame::AnimationTarget& target) {
    switch (target.kind) {
    case KorvoGame::kAnimationSkin: return GetSkinAnimationEndFrame(entity, SkinOf(target));
    case KorvoGame::kAnimationModel: return GetModelAnimationEndFrame(entity);
    case KorvoGame::kAnimationTexture: return GetTextureAnimationEndFrame(entity, target.name);
    case KorvoGame::kAnimationUV: return GetUVAnimationEndFrame(entity, target.name);
    case KorvoGame::kAnimationCamera: return GetCameraAnimationEndFrame(entity);
    default: AGReport("No animation of kind %d", target.kind); return 0;
    }
}

void EntityAnimationServices::AddKey(Entity& entity, const KorvoGame::AnimationTarget& target, i32 frame,
                                     IDelegate* listener) {
    if (frame < 0 || !listener) {
        AGReport("An animation key needs a frame of 0 or more and a listener");
        return;
    }
    const AnimationKey key{u32(frame), listener};
    switch (target.kind) {
    case KorvoGame::kAnimationSkin: AddSkinAnimationKey(entity, SkinOf(target), key); break;
    case KorvoGame::kAnimationModel: AddModelAnimationKey(entity, key); break;
    case KorvoGame::kAnimationTexture: AddTextureAnimationKey(entity, target.name, key); break;
    case KorvoGame::kAnimationUV: AddUVAnimationKey(entity, target.name, key); break;
    case KorvoGame::kAnimationCamera: AddCameraAnimationKey(entity, key); break;
    default: AGReport("No animation of kind %d", target.kind); break;
    }
}

void EntityAnimationServices::RemoveKey(Entity& entity, const KorvoGame::AnimationTarget& target, i32 frame,
                                        IDelegate* listener) {
    if (frame < 0)
        return;
    const AnimationKey key{u32(frame), listener};
    switch (target.kind) {
    case KorvoGame::kAnimationSkin: RemoveSkinAnimationKey(entity, SkinOf(target), key); break;
    case KorvoGame::kAnimationModel: RemoveModelAnimationKey(entity, key); break;
    case KorvoGame::kAnimationTexture: RemoveTextureAnimationKey(entity, target.name, key); break;
    case KorvoGame::kAnimationUV: RemoveUVAnimationKey(entity, target.name, key); break;
    case KorvoGame::kAnimationCamera: RemoveCameraAnimationKey(entity, key); break;
    default: break;
    }
}

}  // namespace GameServices::Bridge
