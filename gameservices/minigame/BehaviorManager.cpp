#include "gameservices/minigame/BehaviorManager.h"

#include "engine/core/AGLog.h"
#include "engine/core/Crc32Hash.h"
#include "engine/core/SplitString.h"
#include "engine/core/XmlReader.h"
#include "gameservices/entities/Entity.h"
#include "gameservices/game/sAnimation.h"

namespace GameServices::MiniGame {

using KorvoGame::AnimationTarget;
using KorvoGame::IEntityAnimation;

namespace {

const TString<char> kCurrentKey("currentKey");
const TString<char> kStartKey(BehaviorManager::kStartKeyName);
const TString<char> kEndKey(BehaviorManager::kEndKeyName);

bool IsAnimationKind(i32 type) {
    return type >= KorvoGame::kAnimationSkin && type <= KorvoGame::kAnimationCamera;
}

// The animation of kindAction's kind, named after nameAction's animation or material.
AnimationTarget TargetOf(const BehaviorAction& kindAction, const BehaviorAction& nameAction) {
    AnimationTarget target;
    target.kind = kindAction.m_Type;
    if (kindAction.m_Type == KorvoGame::kAnimationSkin)
        target.skin = &kindAction.m_Skin;
    if (kindAction.m_Type == KorvoGame::kAnimationSkin || kindAction.m_Type == KorvoGame::kAnimationModel)
        target.name = nameAction.m_LoopAnimation;
    else if (kindAction.m_Type == KorvoGame::kAnimationTexture || kindAction.m_Type == KorvoGame::kAnimationUV)
        target.name = nameAction.m_MaterialName;
    return target;
}

// The rate the animation services take with a start: 1.0 for cameras, -1.0 otherwise.
f32 RateOf(i32 type) {
    return type == KorvoGame::kAnimationCamera ? 1.0f : -1.0f;
}

TString<char> Lower(const TString<char>& text) {
    TString<char> lower = text;
    lower.ToLower();
    return lower;
}

}  // namespace

AnimatedBehavior::AnimatedBehavior(Entities::Entity* entity, const TString<char>& name)
    : m_EntityId(entity ? entity->Id : 0), m_Entity(entity) {
    m_Name = name;
}

void AnimatedBehavior::Retarget(const TString<char>& entityTemplate, const TString<char>& filePath) {
    m_Actions.clear();
    m_Transitions.clear();
    m_EntityTemplate = entityTemplate;
    BehaviorManager::Instance()->InitializeBehavior(*this, filePath);
}

BehaviorManager::BehaviorManager() : m_Definitions(std::make_unique<sRootBehavior>()) {}

BehaviorManager* BehaviorManager::Instance() {
    static BehaviorManager manager;
    return &manager;
}

void BehaviorManager::ReadFile(const TString<char>& fileName, sRootBehavior& root) {
    Utilities::XmlReader reader;
    if (!reader.ReadFileElement(fileName.c_str(), "RootBehavior", root, "root"))
        AGReport("BehaviorManager: can't read the behaviour file %s", fileName.c_str());
}

void BehaviorManager::LoadBehaviors(const TString<char>& fileName) {
    m_Definitions = std::make_unique<sRootBehavior>();
    m_FileName = fileName;
    ReadFile(fileName, *m_Definitions);
    RebuildParameterTable();
    m_LoadedFiles.clear();
    m_LoadedFiles.push_back(fileName);
}

void BehaviorManager::MergeBehaviors(const TString<char>& fileName) {
    for (const TString<char>& loaded : m_LoadedFiles)
        if (loaded == fileName)
            return;
    sRootBehavior read;
    ReadFile(fileName, read);
    for (const sBehavior& behavior : read.Behaviors) {
        bool merged = false;
        for (sBehavior& present : m_Definitions->Behaviors) {
            if (present.Name != behavior.Name)
                continue;
            for (const sBehaviorEntity& entity : behavior.Entities)
                present.Entities.push_back(entity);
            merged = true;
        }
        if (!merged)
            m_Definitions->Behaviors.push_back(behavior);
    }
    RebuildParameterTable();
    m_LoadedFiles.push_back(fileName);
}

void BehaviorManager::ResetBehaviors() {
    m_LoadedFiles.clear();
    // The behaviours of the level that ended go with their entities.
    m_Behaviors.clear();
    m_Definitions = std::make_unique<sRootBehavior>();
}

u32 BehaviorManager::MakeParameterKey(const TString<char>& behavior, const TString<char>& entityTemplate,
                                      const TString<char>& parameter) {
    const TString<char> key = behavior + entityTemplate + parameter + "0";
    return Crc32Hash(key.c_str());
}

void BehaviorManager::RebuildParameterTable() {
    for (const sBehavior& behavior : m_Definitions->Behaviors)
        for (const sBehaviorEntity& entity : behavior.Entities)
            for (const sBehaviorEntityParam& parameter : entity.Parameters)
                m_ParameterValues[MakeParameterKey(behavior.Name, entity.Name, parameter.Name)] = parameter.Value;
}

const TString<char>* BehaviorManager::FindParameterValue(u32 key) const {
    auto it = m_ParameterValues.find(key);
    return it == m_ParameterValues.end() ? nullptr : &it->second;
}

void BehaviorManager::UpdateBinding(const BehaviorParameter& parameter) {
    const TString<char>* value = FindParameterValue(
        MakeParameterKey(parameter.m_BehaviorName, parameter.m_EntityTemplate, parameter.m_ParameterName));
    if (value && !value->IsEmpty())
        parameter.Assign(*value);
}

template <typename T>
void BehaviorManager::Bind(AnimatedBehavior& behavior, const TString<char>& name, T* variable) {
    if (!variable)
        return;
    TypedBehaviorParameter<T> parameter(variable);
    parameter.m_BehaviorName = behavior.m_Name;
    parameter.m_EntityTemplate = behavior.m_EntityTemplate;
    parameter.m_ParameterName = name;
    UpdateBinding(parameter);
}

void BehaviorManager::BindParameter(AnimatedBehavior& behavior, const TString<char>& name, f32* variable) {
    Bind(behavior, name, variable);
}
void BehaviorManager::BindParameter(AnimatedBehavior& behavior, const TString<char>& name, i32* variable) {
    Bind(behavior, name, variable);
}
void BehaviorManager::BindParameter(AnimatedBehavior& behavior, const TString<char>& name, long* variable) {
    Bind(behavior, name, variable);
}
void BehaviorManager::BindParameter(AnimatedBehavior& behavior, const TString<char>& name, bool* variable) {
    Bind(behavior, name, variable);
}
void BehaviorManager::BindParameter(AnimatedBehavior& behavior, const TString<char>& name,
                                    TString<char>* variable) {
    Bind(behavior, name, variable);
}

void BehaviorManager::InitializeBehavior(AnimatedBehavior& behavior, const TString<char>& fileName) {
    if (behavior.m_EntityTemplate.IsEmpty())
        AGReport("Can't initialize the behavior because the Entity Template Name has not been set first !!! "
                 "Did you forget to call SetEntityTemplate ?%s",
                 behavior.m_Name.c_str());
    if (!fileName.IsEmpty())
        MergeBehaviors(fileName);
    for (const sBehavior& definition : m_Definitions->Behaviors) {
        if (definition.Name != behavior.m_Name)
            continue;
        for (const sBehaviorEntity& entity : definition.Entities) {
            if (entity.Name != behavior.m_EntityTemplate)
                continue;
            BuildActionTable(behavior.m_Actions, entity.Actions.Items());
            for (const sBehaviorEntityTransition& record : entity.Transitions)
                behavior.m_Transitions.push_back({record.Name, record.Time, record.InAnimation,
                                                  record.LoopAnimation, record.OutAnimation});
            break;
        }
    }
}

void BehaviorManager::BuildActionTable(std::vector<BehaviorAction>& table,
                                       const std::vector<sBehaviorEntityAction>& records) {
    table.clear();
    for (const sBehaviorEntityAction& record : records) {
        BehaviorAction action;
        action.m_Type = record.ActionType;
        switch (record.ActionType) {
        case KorvoGame::kAnimationSkin: {
            action.m_Skin.m_Name = record.Skin.name;
            std::vector<TString<char>> words;
            for (const sBehaviorEntityActionSkinModels& model : record.Skin.Models)
                words.push_back(model.id);
            action.m_Skin.AddModels(words);
            action.m_InAnimation = Lower(record.InAnimation);
            action.m_LoopAnimation = Lower(record.LoopAnimation);
            action.m_OutAnimation = Lower(record.OutAnimation);
            break;
        }
        case KorvoGame::kAnimationModel:
            action.m_LoopAnimation = Lower(record.LoopAnimation);
            break;
        case KorvoGame::kAnimationTexture:
        case KorvoGame::kAnimationUV:
            action.m_MaterialName = Lower(record.MaterialName);
            break;
        default:
            break;
        }
        action.m_Name = record.Name;
        action.m_PlayMode = record.PlayMode;
        action.m_Speed = record.Speed;
        for (const sBehaviorEntityActionKey& key : record.Keys)
            action.m_Keys.emplace_back(key.Name, key.Frame);
        table.push_back(action);
    }
    // The table is complete: its actions stay where they are while entries point at them.
    for (const sBehaviorEntityAction& record : records) {
        BehaviorAction* source = FindBehaviorAction(table, record.Name);
        if (!source)
            continue;
        const f32 time = record.Transitions.Time;
        if (record.Transitions.Actions == "AllActions") {
            for (BehaviorAction& target : table)
                source->m_Transitions.push_back({target.m_Name, time, &target});
            continue;
        }
        AGArray<TString<char>> names;
        SplitString(record.Transitions.Actions, names, ",", 0);
        for (u32 i = 0; i < names.Count(); ++i) {
            BehaviorAction* target = FindBehaviorAction(table, names[i]);
            if (target)
                source->m_Transitions.push_back({target->m_Name, time, target});
            else
                AGReport("Can not find this BehaviorAction for this action %s", names[i].c_str());
        }
    }
}

void BehaviorManager::RegisterBehavior(AnimatedBehavior& behavior) {
    m_Behaviors[behavior.m_EntityId] = &behavior;
}

AnimatedBehavior* BehaviorManager::FindRegisteredBehavior(u32 entityId) const {
    auto it = m_Behaviors.find(entityId);
    return it == m_Behaviors.end() ? nullptr : it->second;
}

BehaviorAction* BehaviorManager::FindBehaviorAction(std::vector<BehaviorAction>& actions,
                                                    const TString<char>& name) {
    for (BehaviorAction& action : actions)
        if (action.m_Name == name)
            return &action;
    return nullptr;
}

BehaviorAction* BehaviorManager::FindAction(AnimatedBehavior& behavior, const TString<char>& name) {
    BehaviorAction* action = FindBehaviorAction(behavior.m_Actions, name);
    if (!action)
        AGReport("Can not find this BehaviorAction for this action %s", name.c_str());
    return action;
}

IEntityAnimation* BehaviorManager::Services(AnimatedBehavior& behavior) {
    IEntityAnimation* services = IEntityAnimation::Get();
    if (!services || !behavior.m_Entity) {
        AGReport("BehaviorManager: no entity animation for the behaviour %s", behavior.m_Name.c_str());
        return nullptr;
    }
    return services;
}

BehaviorActionKeyAnimation BehaviorManager::FindKey(AnimatedBehavior& behavior, BehaviorAction& action,
                                                    const TString<char>& key) {
    for (const BehaviorActionKeyAnimation& present : action.m_Keys)
        if (present.m_Name == key)
            return present;
    if (key == kEndKey) {
        i32 frame = 0;
        IEntityAnimation* services = IsAnimationKind(action.m_Type) ? Services(behavior) : nullptr;
        if (!IsAnimationKind(action.m_Type))
            AGReport("Can not find this BehaviorAction for fromAction");
        else if (services)
            frame = services->GetEndFrame(*behavior.m_Entity, TargetOf(action, action));
        action.m_Keys.emplace_back(kEndKey, frame);
        return action.m_Keys.back();
    }
    if (key == kStartKey) {
        action.m_Keys.emplace_back(kStartKey, 0);
        return action.m_Keys.back();
    }
    AGReport("Can't find this Key: %s", key.c_str());
    return BehaviorActionKeyAnimation();
}

i32 BehaviorManager::KeyFrame(AnimatedBehavior& behavior, BehaviorAction& action, const TString<char>& key) {
    return key.IsEmpty() ? -1 : FindKey(behavior, action, key).m_Frame;
}

void BehaviorManager::StartAction(AnimatedBehavior& behavior, BehaviorAction& action, i32 playMode,
                                  i32 startFrame, i32 endFrame) {
    IEntityAnimation* services = IsAnimationKind(action.m_Type) ? Services(behavior) : nullptr;
    if (!services)
        return;
    const AnimationTarget target = TargetOf(action, action);
    services->Start(*behavior.m_Entity, target, 0.0f, playMode, RateOf(action.m_Type), startFrame, endFrame);
    services->SetSpeed(*behavior.m_Entity, target, action.m_Speed);
}

void BehaviorManager::PlayAction(AnimatedBehavior& behavior, const TString<char>& name) {
    if (BehaviorAction* action = FindAction(behavior, name))
        StartAction(behavior, *action, action->m_PlayMode, 0, -1);
}

void BehaviorManager::PlayActionBetweenKeys(AnimatedBehavior& behavior, const TString<char>& name, i32 playMode,
                                            const TString<char>& startKey, const TString<char>& endKey) {
    BehaviorAction* action = FindAction(behavior, name);
    if (!action)
        return;
    const i32 startFrame = KeyFrame(behavior, *action, startKey);
    const i32 endFrame = KeyFrame(behavior, *action, endKey);
    StartAction(behavior, *action, playMode, startFrame, endFrame);
}

void BehaviorManager::PlayTransition(AnimatedBehavior& behavior, const TString<char>& from, const TString<char>& to,
                                     i32 playMode, const TString<char>& startKey, const TString<char>& endKey) {
    BehaviorAction* source = FindAction(behavior, from);
    BehaviorAction* target = FindAction(behavior, to);
    if (!source || !target)
        return;
    const i32 startFrame = KeyFrame(behavior, *source, startKey);
    const i32 endFrame = KeyFrame(behavior, *source, endKey);
    const ActionTransitionEntry* entry = nullptr;
    for (const ActionTransitionEntry& candidate : source->m_Transitions) {
        if (candidate.m_TargetName == target->m_Name) {
            entry = &candidate;
            break;
        }
    }
    if (!entry) {
        AGReport("Can not find this PlayTransition for %s", source->m_Name.c_str());
        return;
    }
    if (playMode == -1)
        playMode = target->m_PlayMode;
    IEntityAnimation* services = IsAnimationKind(source->m_Type) ? Services(behavior) : nullptr;
    if (!services)
        return;
    const f32 time = source->m_Type == KorvoGame::kAnimationSkin ? entry->m_Time : 0.0f;
    services->Start(*behavior.m_Entity, TargetOf(*source, *target), time, playMode, RateOf(source->m_Type),
                    startFrame, endFrame);
}

void BehaviorManager::ReplayCurrentAction(AnimatedBehavior& behavior, i32 playMode, const TString<char>& startKey,
                                          const TString<char>& endKey) {
    BehaviorAction* action = FindAction(behavior, behavior.GetCurrentActionName());
    if (!action)
        return;
    const i32 startFrame = startKey == kCurrentKey ? -1 : FindKey(behavior, *action, startKey).m_Frame;
    const i32 endFrame =
        endKey == kEndKey || endKey == kCurrentKey ? -1 : FindKey(behavior, *action, endKey).m_Frame;
    if (playMode == -1)
        playMode = action->m_PlayMode;
    if (IEntityAnimation* services = IsAnimationKind(action->m_Type) ? Services(behavior) : nullptr)
        services->Replay(*behavior.m_Entity, TargetOf(*action, *action), playMode, startFrame, endFrame);
}

void BehaviorManager::SetCurrentActionSpeed(AnimatedBehavior& behavior, f32 speed) {
    BehaviorAction* action = FindAction(behavior, behavior.GetCurrentActionName());
    if (!action)
        return;
    if (IEntityAnimation* services = IsAnimationKind(action->m_Type) ? Services(behavior) : nullptr)
        services->SetSpeed(*behavior.m_Entity, TargetOf(*action, *action), speed);
}

void BehaviorManager::ListenKey(AnimatedBehavior& behavior, BehaviorAction* action, const TString<char>& key,
                                IDelegate* listener, bool add) {
    if (!action)
        return;
    const i32 frame = FindKey(behavior, *action, key).m_Frame;
    IEntityAnimation* services = IsAnimationKind(action->m_Type) ? Services(behavior) : nullptr;
    if (!services)
        return;
    if (add)
        services->AddKey(*behavior.m_Entity, TargetOf(*action, *action), frame, listener);
    else
        services->RemoveKey(*behavior.m_Entity, TargetOf(*action, *action), frame, listener);
}

void BehaviorManager::ListenActionEnd(AnimatedBehavior& behavior, const TString<char>& action, IDelegate* listener) {
    ListenKey(behavior, FindAction(behavior, action), kEndKey, listener, true);
}

void BehaviorManager::ListenCurrentActionKey(AnimatedBehavior& behavior, const TString<char>& key,
                                             IDelegate* listener) {
    ListenKey(behavior, FindAction(behavior, behavior.GetCurrentActionName()), key, listener, true);
}

void BehaviorManager::UnlistenActionKey(AnimatedBehavior& behavior, const TString<char>& action,
                                        const TString<char>& key, IDelegate* listener) {
    ListenKey(behavior, FindAction(behavior, action), key, listener, false);
}

void BehaviorManager::UnlistenCurrentActionKey(AnimatedBehavior& behavior, const TString<char>& key,
                                               IDelegate* listener) {
    ListenKey(behavior, FindAction(behavior, behavior.GetCurrentActionName()), key, listener, false);
}

}  // namespace GameServices::MiniGame
