#pragma once
// Named input actions. "Actions.xml" groups actions into contexts; each action lists the
// device triggers that raise it. Listening to an action binds its triggers in the current
// context to the device system, which then calls the listener when one fires.
#include <memory>
#include <vector>

#include "engine/core/FDelegate.h"
#include "engine/core/TString.h"
#include "gameservices/bridge/IDeviceSystem.h"

namespace GameServices::KorvoGame {

class sDeviceControllerAction;
class sDeviceControllerTrigger;

template <typename T>
using ActionManagerDelegate = FDelegateParam<T, Bridge::sActionData*>;

// One trigger description of an action, its keywords decoded.
class ActionTrigger {
public:
    // Values of "Type"; each is also the index of the context's list of that kind.
    enum Type : u32 { kMove = 0, kKey = 1, kButton = 2, kRotation = 3, kAcceleration = 4, kInvalid = 5 };
    // Values of "plateform"; only kAll and kPC are bound on this platform.
    enum Platform : u32 { kAll = 0, kIPhone = 1, kPC = 2, kPS = 3, kWii = 4, kXBox = 5 };

    // The platform is decoded by the caller, which drops other platforms' triggers first.
    explicit ActionTrigger(const sDeviceControllerTrigger& record);

    // Any letter case; unknown words are reported and give kInvalid and kAll.
    static u32 ConvertType(const TString<char>& word);
    static u32 ConvertPlatform(const TString<char>& word);

    bool Raises(const TString<char>& lowerName) const;

    // Lower-case, trimmed, without empty names.
    std::vector<TString<char>> m_Filters;
    f32 m_ThresholdMin;
    f32 m_ThresholdMax;
    bool m_Compound = false;
    bool m_Absolute = false;
    TString<char> m_State;
    i32 m_DeviceId;
    bool m_Pausable;
    bool m_DebugOnly;
    u32 m_Type;
    u32 m_Platform = kAll;
    // Lower-case names of the actions it raises.
    std::vector<TString<char>> m_ActionNames;
};

class ActionContext {
public:
    static constexpr u32 kListCount = 5;

    // The name is kept lower-case.
    explicit ActionContext(const TString<char>& name);
    ActionContext(const ActionContext&) = delete;
    ActionContext& operator=(const ActionContext&) = delete;

    // Adds the triggers of the action that belong to this platform to the lists of their
    // kinds; triggers without filter names or of an unknown kind are reported and dropped.
    void AddAction(const sDeviceControllerAction& record);

    const TString<char>& GetName() const { return m_Name; }
    // The triggers of a kind (an ActionTrigger::Type below kInvalid), in file order.
    const std::vector<ActionTrigger*>& GetList(u32 type) const { return m_Lists[type]; }

private:
    TString<char> m_Name;
    std::vector<std::unique_ptr<ActionTrigger>> m_Triggers;
    std::vector<ActionTrigger*> m_Lists[kListCount];
};

class ActionManager {
public:
    static constexpr const char* kActionsFile = "Actions.xml";

    ActionManager() = default;
    ActionManager(const ActionManager&) = delete;
    ActionManager& operator=(const ActionManager&) = delete;

    // Reads "Actions.xml" of the global XML folder and the action files it names, appending
    // one context per entry. An unreadable file is reported and adds nothing.
    void LoadActions();
    // The first context of that name in any letter case becomes current; the file is read
    // first when no context exists. An unknown name is reported and changes nothing.
    void SetActionContext(const TString<char>& name);
    // Binds every trigger of the action in the current context to the device system, each
    // device trigger carrying the action name; debug-only triggers are not bound. Only the
    // first kind of list that holds the action is used (key, button, move, acceleration,
    // rotation).
    void ListenAction(const TString<char>& name, Bridge::ActionListener* listener);
    // Releases what ListenAction bound for this listener.
    void UnlistenAction(const TString<char>& name, Bridge::ActionListener* listener);

    ActionContext* GetCurrentContext() const { return m_CurrentContext; }
    const std::vector<std::unique_ptr<ActionContext>>& GetContexts() const { return m_Contexts; }

private:
    // How the found triggers are bound.
    enum Binding : u32 { kNone = 0, kKeys = 1, kMove = 2, kRotationBinding = 3, kAccelerationBinding = 4 };
    u32 FindTriggers(const TString<char>& lowerName, std::vector<ActionTrigger*>& out) const;
    void Bind(const TString<char>& name, Bridge::ActionListener* listener, bool listen);

    ActionContext* m_CurrentContext = nullptr;
    std::vector<std::unique_ptr<ActionContext>> m_Contexts;
};

}  // namespace GameServices::KorvoGame
