#pragma once
// The game as the run loop sees it. The loop calls Initialize once before taking the first
// window message, Update once per tick with the timer's frame milliseconds, and Shutdown
// once after the quit message; it uses no result of them.
#include "engine/core/AGObject.h"

class AGGameContext : public AGObject {
public:
    using AGObject::Initialize;
    virtual void Initialize() = 0;
    virtual void Update(u32 frameMs) = 0;
    virtual void Shutdown() = 0;
};
