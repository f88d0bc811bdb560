#pragma once
// Knows every level of the game (from the level-transitions file), selects the next level by
// name or id and hands the request to the level-transition controller, builds a level's set
// from its level file, starts the active entities of a loaded level and applies the status
// changes a finished level grants. Also fires the frame time to its listeners.
#include <memory>
#include <vector>

#include "engine/core/FHandler.h"
#include "engine/core/TString.h"
#include "gameservices/game/IModule.h"
#include "gameservices/game/LevelTransition.h"
#include "gameservices/game/LevelTransitionController.h"

namespace GameServices::Entities {
class Set;
}

namespace GameServices::KorvoGame {

class IAppearanceService;
class IBridgeSystems;
class IScreenChangeService;

class GameFlowManager : public IModule {
public:
    GameFlowManager();
    ~GameFlowManager() override;
    GameFlowManager(const GameFlowManager&) = delete;
    GameFlowManager& operator=(const GameFlowManager&) = delete;

    // The services of the subsystems above; all borrowed. Without a screen manager phases
    // change no screen; without bridge systems no level is loaded; without
    // an appearance service characters keep their look.
    void SetScreenManager(IScreenChangeService* screens);
    void SetBridgeSystems(IBridgeSystems* bridge);
    void SetAppearanceService(IAppearanceService* appearances) { m_Appearances = appearances; }

    // Reads the level-transitions file at path ("root" > "LevelTransitions") and appends one
    // transition per entry, following one level of "filename" reference (level XML folder).
    // False, with nothing created, when the file cannot be read.
    bool LoadLevelTransitions(const TString<char>& path);

    // Selects the first level whose file name (byNameId clear) or name (byNameId set)
    // equals name exactly and asks the controller for it. True when found, even if the
    // controller drops the request; unknown names are reported.
    bool SetNextLevel(const TString<char>& name, LevelTransition* leaving, bool byNameId);
    bool SetNextLevelById(u32 id);
    // Asks again for the controller's current level.
    void RestartLevel();

    // One level per transition, in file order.
    void GetLevels(std::vector<Entities::Level*>& levels) const;
    // The running screen of the next level; empty without one.
    TString<char> GetRunningScreenId() const;

    // Clears the level's set and builds it from the level file name + ".xml" (level XML
    // folder). A file that cannot be read leaves the set empty. Always true.
    bool LoadLevel(const TString<char>& name, Entities::Level* level);
    bool LoadLevel(const TString<char>& name, Entities::Set& set);
    // Initializes the active cameras, lights, set elements, props and characters of the set,
    // then of its component levels, recursively.
    void InitializeSet(Entities::Set* set);
    // Gives the levels named by the level's status modifiers their new status.
    void ApplyLevelStatusModifiers(Entities::Level* level);

    // Stores dt; fires the frame event when dt is not 0.
    void Update(u32 dt) override;
    void Reset() override {}
    bool IsPausable() const override { return true; }

    FHandlerParam<u32>& GetFrameEvent() { return m_FrameEvent; }
    u32 GetLastFrameTime() const { return m_LastFrameTime; }
    LevelTransitionController* GetController() const { return m_Controller.get(); }
    LevelTransition* GetNextLevel() const { return m_NextLevel; }
    const std::vector<std::unique_ptr<LevelTransition>>& GetTransitions() const {
        return m_Transitions;
    }

private:
    // The controller's request for a found transition.
    void Request(LevelTransition* transition, LevelTransition* leaving);

    FHandlerParam<u32> m_FrameEvent;
    u32 m_LastFrameTime = 0;
    std::vector<std::unique_ptr<LevelTransition>> m_Transitions;
    std::unique_ptr<LevelTransitionController> m_Controller;
    LevelTransition* m_NextLevel = nullptr;
    IBridgeSystems* m_Bridge = nullptr;
    IAppearanceService* m_Appearances = nullptr;
};

}  // namespace GameServices::KorvoGame
