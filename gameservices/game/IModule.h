#pragma once
// A per-frame game service. The game context keeps a list of modules and updates them in
// registration order each frame; a module does not register itself.
#include "engine/core/AGTypes.h"

namespace GameServices::KorvoGame {

class IModule {
public:
    // One frame step; dt is the frame's elapsed milliseconds.
    virtual void Update(u32 dt) = 0;
    // Back to the initial state.
    virtual void Reset() = 0;
    // True when the module is not updated while the game is paused.
    virtual bool IsPausable() const = 0;
    virtual ~IModule() = default;
};

}  // namespace GameServices::KorvoGame
