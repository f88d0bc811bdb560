#pragma once
// Something a game event sets off in a level.
namespace GameServices::Entities {
class Set;
}

namespace GameServices::MiniGame {

class ITrigger {
public:
    virtual ~ITrigger() = default;
    // The set whose entities the trigger acts on.
    virtual void OnTrigger(Entities::Set& set) = 0;
};

}  // namespace GameServices::MiniGame
