#include "gameservices/game/GameFlowManager.h"

#include "engine/core/AGLog.h"
#include "engine/core/XmlReader.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/entities/Camera.h"
#include "gameservices/entities/Character.h"
#include "gameservices/entities/Light.h"
#include "gameservices/entities/Prop.h"
#include "gameservices/entities/Set.h"
#include "gameservices/entities/SetElement.h"
#include "gameservices/game/LevelBuilder.h"

namespace GameServices::KorvoGame {

GameFlowManager::GameFlowManager()
    : m_Controller(std::make_unique<LevelTransitionController>()) {}

GameFlowManager::~GameFlowManager() {
    m_Transitions.clear();
    m_Controller.reset();
}

void GameFlowManager::SetScreenManager(IScreenChangeService* screens) {
    m_Controller->SetScreenManager(screens);
}

void GameFlowManager::SetBridgeSystems(IBridgeSystems* bridge) {
    m_Bridge = bridge;
}

bool GameFlowManager::LoadLevelTransitions(const TString<char>& path) {
    Utilities::XmlReader reader;
    sLevelTransitions transitions;
    if (!reader.ReadFileElement(path.c_str(), "LevelTransitions", transitions, "root"))
        return false;
    for (const sLevelTransition& entry : transitions.Levels) {
        if (entry.FileName.IsEmpty()) {
            m_Transitions.push_back(std::make_unique<LevelTransition>(entry));
            continue;
        }
        const TString<char> referencedPath =
            Bridge::FileSystem::GetFilePath(Bridge::FILE_LEVEL_XML, entry.FileName);
        sLevelTransitions referenced;
        if (!reader.ReadFileElement(referencedPath.c_str(), "LevelTransitions", referenced,
                                    "root")) {
            AGReport("Can not read the level file: %s", referencedPath.c_str());
            continue;
        }
        for (const sLevelTransition& inner : referenced.Levels) {
            // A reference is not followed further; the entry stands with its own fields.
            if (!inner.FileName.IsEmpty())
                AGReport("Not allowed to reference another file.");
            m_Transitions.push_back(std::make_unique<LevelTransition>(inner));
        }
    }
    return true;
}

void GameFlowManager::Request(LevelTransition* transition, LevelTransition* leaving) {
    m_NextLevel = transition;
    m_Controller->RequestLevel(transition, leaving);
}

bool GameFlowManager::SetNextLevel(const TString<char>& name, LevelTransition* leaving,
                                   bool byNameId) {
    for (const auto& transition : m_Transitions) {
        const Entities::Level* level = transition->GetLevel();
        const bool match = byNameId ? level->GetName() == name : level->GetFileName() == name;
        if (!match)
            continue;
        Request(transition.get(), leaving);
        return true;
    }
    AGReport("Can not find the Level is :%s", name.c_str());
    return false;
}

bool GameFlowManager::SetNextLevelById(u32 id) {
    for (const auto& transition : m_Transitions) {
        if (u32(transition->GetId()) != id)
            continue;
        Request(transition.get(), m_NextLevel);
        return true;
    }
    AGReport("Can not find the Level id:%u", id);
    return false;
}

void GameFlowManager::RestartLevel() {
    LevelTransition* current = m_Controller->GetCurrent();
    if (!current) {
        AGReport("RestartLevel: no level is loaded");
        return;
    }
    SetNextLevel(current->GetName(), m_NextLevel, true);
}

void GameFlowManager::GetLevels(std::vector<Entities::Level*>& levels) const {
    levels.reserve(levels.size() + m_Transitions.size());
    for (const auto& transition : m_Transitions)
        levels.push_back(transition->GetLevel());
}

TString<char> GameFlowManager::GetRunningScreenId() const {
    if (!m_NextLevel || !m_NextLevel->GetRunningScreen())
        return TString<char>();
    return *m_NextLevel->GetRunningScreen();
}

bool GameFlowManager::LoadLevel(const TString<char>& name, Entities::Level* level) {
    Entities::Set* set = level ? level->GetSet() : nullptr;
    if (!set) {
        AGReport("LoadLevel %s: the level has no set to fill", name.c_str());
        return true;
    }
    return LoadLevel(name, *set);
}

bool GameFlowManager::LoadLevel(const TString<char>& name, Entities::Set& set) {
    if (!m_Bridge) {
        AGReport("GameFlowManager::LoadLevel : no bridge systems to load %s with", name.c_str());
        return false;
    }
    set.Clear();
    // The records of a level are large; they live on the heap while the set is built.
    auto level = std::make_unique<sLevel>();
    const TString<char> path =
        Bridge::FileSystem::GetFilePath(Bridge::FILE_LEVEL_XML, name + ".xml");
    Utilities::XmlReader reader;
    if (!reader.ReadFileElement(path.c_str(), "Level", *level, "root"))
        AGReportFatal("Can not read the level file: %s (the game cannot run without it)", path.c_str());
    LevelBuilder(*m_Bridge, m_Appearances).BuildLevel(*level, set);
    return true;
}

namespace {

template <typename T>
void InitializeActive(const std::vector<T*>& members) {
    for (T* member : members)
        if (member && member->Activate)
            member->Initialize();
}

}  // namespace

void GameFlowManager::InitializeSet(Entities::Set* set) {
    if (!set)
        return;
    InitializeActive(set->m_Cameras);
    InitializeActive(set->m_Lights);
    InitializeActive(set->m_SetElements);
    InitializeActive(set->m_Props);
    InitializeActive(set->m_Characters);
    for (Entities::ComponentLevel* component : set->m_ComponentLevels)
        InitializeSet(component);
}

void GameFlowManager::ApplyLevelStatusModifiers(Entities::Level* level) {
    if (!level)
        return;
    const LevelTransition* source = nullptr;
    for (const auto& transition : m_Transitions) {
        if (transition->GetName() == level->GetName()) {
            source = transition.get();
            break;
        }
    }
    if (!source)
        return;
    for (const LevelTransition::StatusModifier& modifier : source->GetStatusModifiers()) {
        for (const auto& transition : m_Transitions) {
            if (transition->GetId() == modifier.m_LevelId) {
                transition->GetLevel()->SetStatus(u32(modifier.m_Status));
                break;
            }
        }
    }
}

void GameFlowManager::Update(u32 dt) {
    m_LastFrameTime = dt;
    if (dt != 0)
        m_FrameEvent.Fire(dt);
}

}  // namespace GameServices::KorvoGame
