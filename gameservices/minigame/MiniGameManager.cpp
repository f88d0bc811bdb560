#include "gameservices/minigame/MiniGameManager.h"

#include "engine/core/AGLog.h"
#include "gameservices/minigame/BaseMiniGame.h"

namespace GameServices::MiniGame {

BaseMiniGame* MiniGameManager::FindMinigame(const TString<char>& name,
                                            const std::vector<BaseMiniGame*>& modes) {
    for (BaseMiniGame* mode : modes)
        if (mode && mode->GetName() == name)
            return mode;
    AGReport("The minigame not found. call MiniGameManager::FindMinigame(...)%s", name.c_str());
    return nullptr;
}

}  // namespace GameServices::MiniGame
