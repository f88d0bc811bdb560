#include "gameservices/game/ActionManager.h"

#include "engine/core/AGLog.h"
#include "engine/core/XmlReader.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/game/ActionRecords.h"

namespace GameServices::KorvoGame {

using Bridge::DeviceTrigger;
using Bridge::FileSystem;
using Bridge::IDeviceSystem;

namespace {

TString<char> Lower(const TString<char>& text) {
    TString<char> lower(text);
    lower.ToLower();
    return lower;
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The comma-separated names of a filter, lower-cased and trimmed; empty pieces are dropped
// (they would bind key code 0).
std::vector<TString<char>> SplitFilter(const TString<char>& filter) {
    std::vector<TString<char>> names;
    const char* text = filter.c_str();
    u32 start = 0;
    const u32 length = filter.Length();
    for (u32 i = 0; i <= length; ++i) {
        if (i < length && text[i] != ',')
            continue;
        u32 first = start;
        u32 last = i;
        while (first < last && IsBlank(text[first]))
            ++first;
        while (last > first && IsBlank(text[last - 1]))
            --last;
        if (last > first)
            names.push_back(Lower(TString<char>(text + first, last - first)));
        start = i + 1;
    }
    return names;
}

}  // namespace

// --- ActionTrigger ------------------------------------------------------------------------

u32 ActionTrigger::ConvertType(const TString<char>& word) {
    const TString<char> lower = Lower(word);
    if (lower == "move")
        return kMove;
    if (lower == "key")
        return kKey;
    if (lower == "button")
        return kButton;
    if (lower == "rotation")
        return kRotation;
    if (lower == "acceleration")
        return kAcceleration;
    AGReport("Action Type is invalid!");
    return kInvalid;
}

u32 ActionTrigger::ConvertPlatform(const TString<char>& word) {
    const TString<char> lower = Lower(word);
    if (lower.IsEmpty() || lower == "all")
        return kAll;
    if (lower == "iphone")
        return kIPhone;
    if (lower == "pc")
        return kPC;
    if (lower == "ps")
        return kPS;
    if (lower == "wii")
        return kWii;
    if (lower == "xbox")
        return kXBox;
    AGReport("trigger plateform is invalid!");
    return kAll;
}

ActionTrigger::ActionTrigger(const sDeviceControllerTrigger& record)
    : m_Filters(SplitFilter(record.Filter)),
      m_ThresholdMin(record.FilterThresholdMin),
      m_ThresholdMax(record.FilterThresholdMax),
      m_State(record.State),
      m_DeviceId(record.DeviceId),
      m_Pausable(record.Pausable),
      m_DebugOnly(record.DebugOnly),
      m_Type(ConvertType(record.Type)) {
    const TString<char> value = Lower(record.FilterValue);
    if (value == "compoundabsolute") {
        m_Compound = m_Absolute = true;
    } else if (value == "compoundrelative") {
        m_Compound = true;
    } else if (value == "currentabsolute") {
        m_Absolute = true;
    } else if (value != "currentrelative") {
        AGReport("FilterValue is invalid!");
    }
}

bool ActionTrigger::Raises(const TString<char>& lowerName) const {
    for (const TString<char>& name : m_ActionNames)
        if (name == lowerName)
            return true;
    return false;
}

// --- ActionContext ------------------------------------------------------------------------

ActionContext::ActionContext(const TString<char>& name) : m_Name(Lower(name)) {}

void ActionContext::AddAction(const sDeviceControllerAction& record) {
    const TString<char> actionName = Lower(record.Name);
    for (const sDeviceControllerTrigger& triggerRecord : record.Triggers) {
        const u32 platform = ActionTrigger::ConvertPlatform(triggerRecord.Plateform);
        if (platform != ActionTrigger::kAll && platform != ActionTrigger::kPC)
            continue;
        auto trigger = std::make_unique<ActionTrigger>(triggerRecord);
        trigger->m_Platform = platform;
        trigger->m_ActionNames.push_back(actionName);
        if (trigger->m_Type >= ActionTrigger::kInvalid) {
            AGReport("%s invalid trigger type!", actionName.c_str());
            continue;
        }
        // Move, rotation and acceleration triggers bind their first filter name; a key
        // trigger without names would bind nothing.
        if (trigger->m_Filters.empty()) {
            AGReport("A trigger of the action %s has no Filter; it is skipped",
                     actionName.c_str());
            continue;
        }
        m_Lists[trigger->m_Type].push_back(trigger.get());
        m_Triggers.push_back(std::move(trigger));
    }
}

// --- ActionManager ------------------------------------------------------------------------

void ActionManager::LoadActions() {
    const TString<char> path = FileSystem::GetFilePath(Bridge::FILE_GLOBAL_XML, kActionsFile);
    sRootContext root;
    Utilities::XmlReader reader;
    if (!reader.ReadFileElement(path.c_str(), "RootContext", root, "root")) {
        AGReportFatal("Can not read the actions file %s: the game cannot run without it", path.c_str());
        return;
    }
    for (const sDeviceControllerContext& contextRecord : root.Contexts) {
        m_Contexts.push_back(std::make_unique<ActionContext>(contextRecord.Name));
        ActionContext& context = *m_Contexts.back();
        for (const sDeviceControllerAction& action : contextRecord.Actions) {
            if (action.FileName.IsEmpty()) {
                context.AddAction(action);
                continue;
            }
            // Entries of an action file are plain actions: one level of reference.
            const TString<char> filePath =
                FileSystem::GetFilePath(Bridge::FILE_GLOBAL_XML, action.FileName);
            sDeviceControllerActions actions;
            if (!reader.ReadFile(filePath.c_str(), actions, "root"))
                AGReport("Failed to load %s", action.FileName.c_str());
            for (const sDeviceControllerAction& fileAction : actions.Actions)
                context.AddAction(fileAction);
        }
    }
}

void ActionManager::SetActionContext(const TString<char>& name) {
    if (m_Contexts.empty())
        LoadActions();
    const TString<char> lower = Lower(name);
    for (const auto& context : m_Contexts) {
        if (context->GetName() == lower) {
            m_CurrentContext = context.get();
            return;
        }
    }
    AGReport("Can't find the action context!%s", name.c_str());
}

u32 ActionManager::FindTriggers(const TString<char>& lowerName,
                                std::vector<ActionTrigger*>& out) const {
    if (!m_CurrentContext)
        return kNone;
    static constexpr struct {
        u32 list;
        u32 binding;
    } kSearch[] = {
        {ActionTrigger::kKey, kKeys},
        {ActionTrigger::kButton, kKeys},
        {ActionTrigger::kMove, kMove},
        {ActionTrigger::kAcceleration, kRotationBinding},
        {ActionTrigger::kRotation, kAccelerationBinding},
    };
    for (const auto& search : kSearch) {
        for (ActionTrigger* trigger : m_CurrentContext->GetList(search.list))
            if (trigger->Raises(lowerName))
                out.push_back(trigger);
        if (!out.empty())
            return search.binding;
    }
    return kNone;
}

void ActionManager::ListenAction(const TString<char>& name, Bridge::ActionListener* listener) {
    Bind(name, listener, true);
}

void ActionManager::UnlistenAction(const TString<char>& name, Bridge::ActionListener* listener) {
    Bind(name, listener, false);
}

void ActionManager::Bind(const TString<char>& name, Bridge::ActionListener* listener,
                         bool listen) {
    const TString<char> lower = Lower(name);
    std::vector<ActionTrigger*> triggers;
    const u32 binding = FindTriggers(lower, triggers);
    if (binding == kNone) {
        AGReport("Can not listen this action:%s", name.c_str());
        return;
    }
    IDeviceSystem* devices = IDeviceSystem::Get();
    if (!devices) {
        AGReport("No device system to bind the action %s", name.c_str());
        return;
    }
    for (const ActionTrigger* trigger : triggers) {
        if (trigger->m_DebugOnly)
            continue;
        const TString<char>& first = trigger->m_Filters.front();
        std::vector<DeviceTrigger*> made;
        switch (binding) {
        case kKeys:
            for (const TString<char>& key : trigger->m_Filters) {
                if (listen)
                    made.push_back(devices->ListenKey(key, trigger->m_State, listener));
                else
                    devices->UnlistenKey(key, trigger->m_State, listener, lower);
            }
            break;
        case kMove:
            if (listen)
                made.push_back(devices->ListenMove(first, listener));
            else
                devices->UnlistenMove(first, listener, lower);
            break;
        case kRotationBinding:
            if (listen)
                made.push_back(devices->ListenRotation(first, trigger->m_ThresholdMin,
                                                       trigger->m_ThresholdMax, listener));
            else
                devices->UnlistenRotation(first, listener, lower);
            break;
        case kAccelerationBinding:
            if (listen)
                made.push_back(devices->ListenAcceleration(first, trigger->m_ThresholdMin,
                                                           trigger->m_ThresholdMax, listener));
            else
                devices->UnlistenAcceleration(first, listener, lower);
            break;
        default:
            AGReport(listen ? "Unknown action type in ActionManager::ListenAction"
                            : "Unknown action type in ActionManager::UnlistenAction");
            break;
        }
        for (DeviceTrigger* deviceTrigger : made) {
            if (!deviceTrigger)
                continue;
            deviceTrigger->m_DeviceId = trigger->m_DeviceId;
            deviceTrigger->m_ActionName = lower;
            deviceTrigger->m_Pausable = trigger->m_Pausable;
        }
    }
}

}  // namespace GameServices::KorvoGame
