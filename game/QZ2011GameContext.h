#pragma once
// The game context driven by the run loop. For now it runs an empty game.
#include "engine/core/AGGameContext.h"

class QZ2011GameContext : public AGGameContext {
public:
    using AGGameContext::Initialize;
    void Initialize() override;
    void Update(u32 frameMs) override;
    void Shutdown() override;
};
