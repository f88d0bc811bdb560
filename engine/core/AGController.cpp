#include "engine/core/AGController.h"

#include <cmath>

#include "engine/core/PCTimerManager.h"

void AGController::Reset() {
    if (m_mode == kOnceReverse || m_mode == kLoopReverse) {
        m_time = m_endTime;
        m_output = m_endFrame;
    } else {
        m_time = m_startTime;
        m_output = m_startFrame;
    }
}

void AGController::Rewind() {
    m_time = m_startTime;
    m_output = m_startFrame;
}

void AGController::SetTime(f32 ms) {
    m_time = ms;
    m_output = ms / m_frameDuration;
}

void AGController::SetFrameRate(f32 rate) {
    if (!(rate > 0.0f))
        return;
    m_frameRate = rate;
    m_frameDuration = 1000.0f / rate;
    if (m_endFrame != 0.0f)
        m_endTime = m_endFrame * m_frameDuration;
    if (m_startFrame != 0.0f)
        m_startTime = m_startFrame * m_frameDuration;
}

void AGController::SetRange(f32 startFrame, f32 endFrame) {
    m_startFrame = startFrame;
    m_endFrame = endFrame;
    m_startTime = startFrame * m_frameDuration;
    m_endTime = endFrame * m_frameDuration;
}

void AGController::Update() {
    PCTimerManager* timer = PCTimerManager::Get();
    if (timer)
        UpdateBy(f32(timer->GetFrameMs()));
}

void AGController::UpdateOncePerFrame() {
    PCTimerManager* timer = PCTimerManager::Get();
    if (!timer)
        return;
    if (m_stepped && m_steppedFrame == timer->GetFrameNumber())
        return;
    m_stepped = true;
    m_steppedFrame = timer->GetFrameNumber();
    Update();
}

void AGController::UpdateBy(f32 dt) {
    if (m_startFrame == 0.0f && m_endFrame == 0.0f)
        return;
    switch (m_mode) {
    case kStop: StepStop(dt); break;
    case kOnce: StepOnce(dt); break;
    case kLoop: StepLoop(dt); break;
    case kOnceReverse: StepOnceReverse(dt); break;
    case kLoopReverse: StepLoopReverse(dt); break;
    case kOnceThenReverse: StepOnceThenReverse(dt); break;
    case kPingPong: StepPingPong(dt); break;
    default: break;
    }
}

void AGController::StepStop(f32) {
    m_mode = kStopped;
}

void AGController::StepOnce(f32 dt) {
    m_time += dt * m_speed;
    if (m_time > m_endTime) {
        m_mode = kStopped;
        m_time = m_endTime;
        m_output = m_endFrame;
        return;
    }
    UpdateOutput();
}

// The loop modes wrap into [start, end) in one step. An empty or inverted range cannot be
// wrapped into, so such a controller stands still.
void AGController::StepLoop(f32 dt) {
    f32 span = m_endTime - m_startTime;
    if (!(span > 0.0f))
        return;
    m_time += dt * m_speed;
    if (m_time >= m_endTime)
        m_time = m_startTime + std::fmod(m_time - m_startTime, span);
    UpdateOutput();
}

void AGController::StepOnceReverse(f32 dt) {
    m_time -= dt * m_speed;
    if (m_time < m_startTime) {
        m_mode = kStopped;
        m_time = m_startTime;
    }
    UpdateOutput();
}

void AGController::StepLoopReverse(f32 dt) {
    f32 span = m_endTime - m_startTime;
    if (!(span > 0.0f))
        return;
    m_time -= dt * m_speed;
    if (m_time < m_startTime) {
        m_time = m_startTime + std::fmod(m_time - m_startTime, span);
        if (m_time < m_startTime)
            m_time += span;
    }
    UpdateOutput();
}

void AGController::StepOnceThenReverse(f32 dt) {
    m_time += dt * m_speed;
    if (m_time > m_endTime) {
        m_mode = kOnceReverse;
        m_time = m_endTime;
    }
    UpdateOutput();
}

void AGController::StepPingPong(f32 dt) {
    m_time += dt * m_speed * m_direction;
    if (m_time > m_endTime) {
        m_time = m_endTime;
        m_direction = -m_direction;
    } else if (m_time <= m_startTime) {
        m_time = m_startTime;
        m_direction = -m_direction;
    }
    UpdateOutput();
}
