#pragma once
// Storyboards of scripted entity animation: a storyboard names a list of animations, each a
// list of key frames; an entity controller plays one storyboard. The records live in pools
// made at game start; whoever fills them takes them from those pools.
#include <vector>

#include "engine/core/TString.h"
#include "gameservices/entities/EntityComponents.h"

namespace GameServices::MiniGame {

class EntityAnimationKeyFrame {
public:
    virtual ~EntityAnimationKeyFrame() = default;
};

class EntityAnimation {
public:
    virtual ~EntityAnimation() = default;

    std::vector<EntityAnimationKeyFrame*> m_KeyFrames;
};

class EntityAnimationStoryboard {
public:
    virtual ~EntityAnimationStoryboard() = default;

    TString<char> m_Name;
    std::vector<EntityAnimation*> m_Animations;
};

class EntityController : public Entities::Behavior {
public:
    void Reset() override { m_Storyboard = nullptr; }

    EntityAnimationStoryboard* m_Storyboard = nullptr;
};

}  // namespace GameServices::MiniGame
