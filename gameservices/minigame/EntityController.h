#pragma once
// Timed key-frame animation of widgets: an EntityAnimation drives one property of one widget
// through its keys; an EntityController plays animations on its own clock, starting each at
// its start time, and fires its finished event when the animation in its last slot is done.
// Every record comes from the pools of EntityAnimationPools.h.
#include <vector>

#include "engine/core/FHandler.h"
#include "engine/core/TString.h"
#include "gameservices/entities/EntityComponents.h"

namespace GameServices::Widget {
class Widget;
}

namespace GameServices::MiniGame {

class EntityAnimationKeyFrame {
public:
    // Seconds on the controller's clock.
    f32 m_Time = 0.0f;
    f32 m_Value = 0.0f;
    bool m_Done = false;
};

class EntityAnimation {
public:
    // The animated property.
    enum Kind : u32 { kWidth = 0, kHeight = 1, kX = 2, kY = 3, kRotation = 4, kOpacity = 8 };

    virtual ~EntityAnimation() = default;

    // Everything but the kind and the x and y bases back to 0; no keys.
    void Reset();
    // The bases from the target's present state (the opacity base from 0); every key undone.
    void Rewind();
    // Writes the value at progress r (0..1) from the previous key (null for the first) to key,
    // and moves the bases on when the key is complete.
    void Apply(const EntityAnimationKeyFrame* previous, const EntityAnimationKeyFrame& key, f32 r,
               bool complete);

    u32 m_Kind = kWidth;
    // Seconds on the controller's clock.
    f32 m_StartTime = 0.0f;
    Widget::Widget* m_Target = nullptr;
    f32 m_BaseX = 0.0f;
    f32 m_BaseY = 0.0f;
    // A size key's value times its factor is the size it reaches.
    f32 m_WidthFactor = 0.0f;
    f32 m_HeightFactor = 0.0f;
    f32 m_BaseWidth = 0.0f;
    f32 m_BaseHeight = 0.0f;
    // In play order; not owned.
    std::vector<EntityAnimationKeyFrame*> m_KeyFrames;
    f32 m_OpacityBase = 0.0f;
    // Degrees.
    f32 m_RotationBase = 0.0f;
};

class EntityAnimationStoryboard {
public:
    TString<char> m_Name;
    std::vector<EntityAnimation*> m_Animations;
};

class EntityController : public Entities::Behavior {
public:
    // Advances the clock by milliseconds, starts the waiting animations whose time has come
    // and moves each running one by at most one key.
    void Update(u32 milliseconds) override;
    // Clock back to 0; the animations that were running wait again, rewound from their
    // widgets' present state. Those still waiting or already finished are dropped.
    void Reset() override;

    FHandler& GetFinishedEvent() { return m_FinishedEvent; }
    f32 GetElapsed() const { return m_Elapsed; }

    // Released to its pool with the controller.
    EntityAnimationStoryboard* m_Storyboard = nullptr;
    // Slots become null when their animation starts (waiting) or ends (running); they are
    // never removed while the controller runs.
    std::vector<EntityAnimation*> m_Active;
    std::vector<EntityAnimation*> m_Pending;

private:
    FHandler m_FinishedEvent;
    f32 m_Elapsed = 0.0f;
    bool m_Finished = false;
};

}  // namespace GameServices::MiniGame
