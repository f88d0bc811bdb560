#pragma once
// Behaviours: the definitions read from behaviour files, the action and transition tables
// they give an animated behaviour, and playing those actions on the behaviour's entity
// through the entity animation services.
#include <map>
#include <memory>
#include <vector>

#include "engine/core/FDelegate.h"
#include "engine/core/NumberText.h"
#include "engine/core/TString.h"
#include "gameservices/entities/EntityComponents.h"
#include "gameservices/game/BehaviorActionSkin.h"
#include "gameservices/game/EntityAnimationServices.h"
#include "gameservices/minigame/BehaviorRecords.h"

namespace GameServices::Entities {
class Entity;
}

namespace GameServices::MiniGame {

class BehaviorActionKeyAnimation {
public:
    BehaviorActionKeyAnimation() = default;
    BehaviorActionKeyAnimation(const TString<char>& name, i32 frame) : m_Name(name), m_Frame(frame) {}
    virtual ~BehaviorActionKeyAnimation() = default;
    BehaviorActionKeyAnimation(const BehaviorActionKeyAnimation&) = default;
    BehaviorActionKeyAnimation& operator=(const BehaviorActionKeyAnimation&) = default;

    TString<char> m_Name;
    // -1 for the empty key given when a name is not found.
    i32 m_Frame = -1;
};

class BehaviorAction;

struct ActionTransitionEntry {
    TString<char> m_TargetName;
    f32 m_Time = -1.0f;
    // An action of the same table.
    BehaviorAction* m_Target = nullptr;
};

class BehaviorAction {
public:
    BehaviorAction() = default;
    virtual ~BehaviorAction() = default;
    BehaviorAction(const BehaviorAction&) = default;
    BehaviorAction& operator=(const BehaviorAction&) = default;

    // 0 skin, 1 model, 2 texture, 3 UV, 4 camera animation; -1 none.
    i32 m_Type = -1;
    TString<char> m_Name;
    TString<char> m_InAnimation;
    TString<char> m_LoopAnimation;
    TString<char> m_OutAnimation;
    TString<char> m_MaterialName;
    BehaviorActionSkin m_Skin;
    f32 m_Speed = 1.0f;
    i32 m_PlayMode = 4;
    std::vector<BehaviorActionKeyAnimation> m_Keys;
    std::vector<ActionTransitionEntry> m_Transitions;
};

struct BehaviorTransition {
    TString<char> m_Name;
    f32 m_Time = -1.0f;
    TString<char> m_InAnimation;
    TString<char> m_LoopAnimation;
    TString<char> m_OutAnimation;
};

// A behaviour whose actions come from a behaviour file. Its action table holds pointers
// between its own actions, so it is never copied.
class AnimatedBehavior : public Entities::Behavior {
public:
    // The behaviour name is m_Name; the entity id is taken now.
    AnimatedBehavior(Entities::Entity* entity, const TString<char>& name);
    AnimatedBehavior(const AnimatedBehavior&) = delete;
    AnimatedBehavior& operator=(const AnimatedBehavior&) = delete;

    virtual TString<char> GetCurrentActionName() const = 0;
    void SetEntityTemplate(const TString<char>& entityTemplate) { m_EntityTemplate = entityTemplate; }
    // Empties both tables, takes the template and fills the tables from its definition (the
    // file merged first unless empty), so only the new template's actions remain.
    void Retarget(const TString<char>& entityTemplate, const TString<char>& filePath);

    u32 m_EntityId = 0;
    TString<char> m_EntityTemplate;
    std::vector<BehaviorAction> m_Actions;
    std::vector<BehaviorTransition> m_Transitions;
    Entities::Entity* m_Entity = nullptr;
};

// A variable bound to a behaviour parameter.
class BehaviorParameter {
public:
    enum : i32 { kFloat = 1, kInt = 2, kLong = 3, kBool = 4, kString = 5 };

    virtual ~BehaviorParameter() = default;
    virtual void* GetTarget() const = 0;
    // Writes the value text, converted to the variable's type.
    virtual void Assign(const TString<char>& text) const = 0;

    TString<char> m_BehaviorName;
    TString<char> m_EntityTemplate;
    TString<char> m_ParameterName;
    i32 m_ValueType = 0;
};

template <typename T>
class TypedBehaviorParameter : public BehaviorParameter {
public:
    explicit TypedBehaviorParameter(T* target) : m_Target(target) { m_ValueType = TypeOf(target); }
    void* GetTarget() const override { return m_Target; }
    void Assign(const TString<char>& text) const override { AssignValue(text, *m_Target); }

private:
    static i32 TypeOf(const f32*) { return kFloat; }
    static i32 TypeOf(const i32*) { return kInt; }
    static i32 TypeOf(const long*) { return kLong; }
    static i32 TypeOf(const bool*) { return kBool; }
    static i32 TypeOf(const TString<char>*) { return kString; }

    static void AssignValue(const TString<char>& text, f32& value) { value = ParseFloat(text.c_str()); }
    static void AssignValue(const TString<char>& text, i32& value) { value = ParseInt32(text.c_str()); }
    static void AssignValue(const TString<char>& text, long& value) { value = ParseInt32(text.c_str()); }
    static void AssignValue(const TString<char>& text, bool& value) { value = text == "true"; }
    static void AssignValue(const TString<char>& text, TString<char>& value) { value = text; }

    T* m_Target;
};

class BehaviorManager {
public:
    // The keys every action has without naming them: its first and its last frame.
    static constexpr const char* kStartKeyName = "startKey";
    static constexpr const char* kEndKeyName = "endKey";

    BehaviorManager();
    virtual ~BehaviorManager() = default;
    BehaviorManager(const BehaviorManager&) = delete;
    BehaviorManager& operator=(const BehaviorManager&) = delete;

    // Made on first use and kept for the whole run.
    static BehaviorManager* Instance();

    // Replaces the definitions with the file's.
    void LoadBehaviors(const TString<char>& fileName);
    // Adds the file's definitions unless the file is loaded already: its entity definitions
    // go to every behaviour of the same name, other behaviours are appended.
    void MergeBehaviors(const TString<char>& fileName);
    // Empties the definitions, the loaded-file list and the registered behaviours; the
    // parameter table stays.
    void ResetBehaviors();
    // Fills the behaviour's tables from the first entity definition of its template in each
    // behaviour of its name; a non-empty file is merged first.
    void InitializeBehavior(AnimatedBehavior& behavior, const TString<char>& fileName);
    // Records the behaviour under its entity id, replacing an earlier one.
    void RegisterBehavior(AnimatedBehavior& behavior);
    AnimatedBehavior* FindRegisteredBehavior(u32 entityId) const;

    // Writes the parameter's value once; a missing or empty value leaves the variable.
    void BindParameter(AnimatedBehavior& behavior, const TString<char>& name, f32* variable);
    void BindParameter(AnimatedBehavior& behavior, const TString<char>& name, i32* variable);
    void BindParameter(AnimatedBehavior& behavior, const TString<char>& name, long* variable);
    void BindParameter(AnimatedBehavior& behavior, const TString<char>& name, bool* variable);
    void BindParameter(AnimatedBehavior& behavior, const TString<char>& name, TString<char>* variable);

    // The action's own play mode from frame 0 to the animation's end.
    void PlayAction(AnimatedBehavior& behavior, const TString<char>& action);
    // An empty key name gives no frame (-1).
    void PlayActionBetweenKeys(AnimatedBehavior& behavior, const TString<char>& action, i32 playMode,
                               const TString<char>& startKey, const TString<char>& endKey);
    // Play mode -1 takes the target action's.
    void PlayTransition(AnimatedBehavior& behavior, const TString<char>& from, const TString<char>& to,
                        i32 playMode, const TString<char>& startKey, const TString<char>& endKey);
    // Play mode -1 takes the action's; "currentKey" stands for the current frame, and "endKey"
    // as the end for the animation's end.
    void ReplayCurrentAction(AnimatedBehavior& behavior, i32 playMode, const TString<char>& startKey,
                             const TString<char>& endKey);
    void SetCurrentActionSpeed(AnimatedBehavior& behavior, f32 speed);
    void ListenActionEnd(AnimatedBehavior& behavior, const TString<char>& action, IDelegate* listener);
    void ListenCurrentActionKey(AnimatedBehavior& behavior, const TString<char>& key, IDelegate* listener);
    void UnlistenActionKey(AnimatedBehavior& behavior, const TString<char>& action, const TString<char>& key,
                           IDelegate* listener);
    void UnlistenCurrentActionKey(AnimatedBehavior& behavior, const TString<char>& key, IDelegate* listener);

    // The action on the behaviour's entity with its speed; frames and play mode -1 take the
    // action's own.
    void StartAction(AnimatedBehavior& behavior, BehaviorAction& action, i32 playMode, i32 startFrame,
                     i32 endFrame);

    static BehaviorAction* FindBehaviorAction(std::vector<BehaviorAction>& actions, const TString<char>& name);
    // The CRC-32 of the three names followed by "0".
    static u32 MakeParameterKey(const TString<char>& behavior, const TString<char>& entityTemplate,
                                const TString<char>& parameter);

    const sRootBehavior& GetDefinitions() const { return *m_Definitions; }
    const std::vector<TString<char>>& GetLoadedFiles() const { return m_LoadedFiles; }
    // Null when the table holds no value under the key.
    const TString<char>* FindParameterValue(u32 key) const;

private:
    void ReadFile(const TString<char>& fileName, sRootBehavior& root);
    void RebuildParameterTable();
    void BuildActionTable(std::vector<BehaviorAction>& table, const std::vector<sBehaviorEntityAction>& records);
    void UpdateBinding(const BehaviorParameter& parameter);
    template <typename T>
    void Bind(AnimatedBehavior& behavior, const TString<char>& name, T* variable);
    // The action of the behaviour's table, or null after a report.
    BehaviorAction* FindAction(AnimatedBehavior& behavior, const TString<char>& name);
    // The frame of a named key; "endKey" and "startKey" are made on first use.
    BehaviorActionKeyAnimation FindKey(AnimatedBehavior& behavior, BehaviorAction& action,
                                       const TString<char>& key);
    i32 KeyFrame(AnimatedBehavior& behavior, BehaviorAction& action, const TString<char>& key);
    // The animation services and the entity, or null after a report.
    KorvoGame::IEntityAnimation* Services(AnimatedBehavior& behavior);
    void ListenKey(AnimatedBehavior& behavior, BehaviorAction* action, const TString<char>& key,
                   IDelegate* listener, bool add);

    TString<char> m_FileName;
    std::unique_ptr<sRootBehavior> m_Definitions;
    std::map<u32, TString<char>> m_ParameterValues;
    std::map<u32, AnimatedBehavior*> m_Behaviors;
    std::vector<TString<char>> m_LoadedFiles;
};

}  // namespace GameServices::MiniGame
