#pragma once
// A widget's position, rotation, scale and colour animation: the track set, its playback
// clock and the values sampled from it.
#include "engine/core/AGController.h"
#include "engine/core/AGVec3.h"
#include "engine/core/TString.h"

class AGPrscAnimation;
class AGRenderable;

namespace GameServices::Widget {

class PRSCAnimation {
public:
    PRSCAnimation() = default;
    virtual ~PRSCAnimation();
    PRSCAnimation(const PRSCAnimation&) = delete;
    PRSCAnimation& operator=(const PRSCAnimation&) = delete;

    // Play modes by index: once, loop... (1, 3, 4, 5, 6). An index past the table is
    // reported and changes nothing. Restarts the clock and samples its current frame.
    virtual void Play(u32 modeIndex);

    // Takes the named "prscAnimation" resource in place of the current one and sets the
    // clock's timing from it.
    void SetAnimation(const TString<char>& file);
    void ReleaseAnimation();
    // Restarts the clock and takes the animation's rate, frame time, end frame and end time.
    // A rate of 0 leaves the timing unset and is reported.
    void ResetTiming();
    // Samples every present track at the clock's current frame; absent tracks give the
    // defaults (no offset, scale 1, rotation 0, opaque white).
    void SampleTracks();

    AGPrscAnimation* m_Animation = nullptr;
    AGController m_Control;
    bool m_Ready = false;
    // Sampled values; y of the position is negated (tracks are y-up).
    f32 m_AnimX = 0.0f;
    f32 m_AnimY = 0.0f;
    f32 m_AnimScaleX = 1.0f;
    f32 m_AnimScaleY = 1.0f;
    u32 m_AnimColor = 0xFFFFFFFFu;
    f32 m_AnimRotation = 0.0f;
};

}  // namespace GameServices::Widget
