#pragma once
// The playback clock of animations: advances a time by the frame time in one of eight play
// modes and yields the current frame number (output).
#include "engine/core/AGTypes.h"

class AGController {
public:
    enum Mode : u32 {
        kStopped = 1,
        kStop = 2,
        kOnce = 3,
        kLoop = 4,
        kOnceReverse = 5,
        kLoopReverse = 6,
        kOnceThenReverse = 7,
        kPingPong = 8,
    };

    AGController() = default;
    virtual ~AGController() = default;

    // Reverse modes go to the end, the others to the start.
    virtual void Reset();
    virtual void Restart() { Reset(); }
    virtual void Rewind();
    // Steps the current mode by the frame timer's milliseconds (nothing without a timer).
    virtual void Update();
    // Update, unless this controller was already stepped in this frame of the frame timer:
    // a controller that drives several objects (the models and emitters of a scene) is
    // advanced by each of them.
    void UpdateOncePerFrame();
    virtual void SetTime(f32 ms);

    // Steps the current mode by dt milliseconds. Does nothing while the start and end frames
    // are both 0.
    void UpdateBy(f32 dt);
    // Rates of 0 or below are ignored.
    void SetFrameRate(f32 rate);
    // Sets the start and end frames and their times at the current frame rate.
    void SetRange(f32 startFrame, f32 endFrame);
    // Sets the end time alone (an animation's length may exceed its end frame's time).
    void SetEndTime(f32 ms) { m_endTime = ms; }

    void SetMode(u32 mode) { m_mode = mode; }
    void SetSpeed(f32 speed) { m_speed = speed; }
    u32 GetMode() const { return m_mode; }
    f32 GetOutput() const { return m_output; }
    f32 GetTime() const { return m_time; }
    f32 GetStartFrame() const { return m_startFrame; }
    f32 GetEndFrame() const { return m_endFrame; }
    f32 GetStartTime() const { return m_startTime; }
    f32 GetEndTime() const { return m_endTime; }
    f32 GetFrameDuration() const { return m_frameDuration; }
    f32 GetFrameRate() const { return m_frameRate; }
    f32 GetDirection() const { return m_direction; }

protected:
    virtual void StepStop(f32 dt);
    virtual void StepOnce(f32 dt);
    virtual void StepLoop(f32 dt);
    virtual void StepOnceReverse(f32 dt);
    virtual void StepLoopReverse(f32 dt);
    virtual void StepOnceThenReverse(f32 dt);
    virtual void StepPingPong(f32 dt);

    void UpdateOutput() { m_output = m_time * m_frameRate * 0.001f; }

    u32 m_mode = kLoop;
    f32 m_output = 0.0f;
    f32 m_time = 0.0f;
    f32 m_endFrame = 0.0f;
    f32 m_endTime = 0.0f;
    f32 m_startFrame = 0.0f;
    f32 m_startTime = 0.0f;
    f32 m_frameDuration = 33.333332f;
    f32 m_speed = 1.0f;
    f32 m_frameRate = 30.0f;
    f32 m_direction = 1.0f;
    // Frame number of the last UpdateOncePerFrame, and whether there was one.
    u32 m_steppedFrame = 0;
    bool m_stepped = false;
};
