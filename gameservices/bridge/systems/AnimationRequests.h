#pragma once
// The start animations the level renderer asks for. Until the entity animations are
// bound to the engine, each request is kept here as it was made, newest last.
#include <vector>

#include "engine/core/TString.h"

namespace GameServices::Bridge {

struct AnimationRequest {
    // Values of the kind: the render description's animation types, and the camera's.
    enum : i32 { kSkin = 0, kModel = 1, kTexture = 2, kUV = 3, kCamera = 4 };

    u32 m_EntityId = 0;
    i32 m_Kind = kSkin;
    TString<char> m_Name;
    u32 m_PlayMode = 1;
    f32 m_Speed = 1.0f;
};

class AnimationRequests {
public:
    static void Record(const AnimationRequest& request);
    static const std::vector<AnimationRequest>& All();
    static void Clear();
};

}  // namespace GameServices::Bridge
