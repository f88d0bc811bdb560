#pragma once

namespace GameServices::MiniGame {
class BaseMiniGame {
public:
    virtual ~BaseMiniGame() = default;
    virtual void RegisterLevelDelegates() {}
};
}  // namespace GameServices::MiniGame
