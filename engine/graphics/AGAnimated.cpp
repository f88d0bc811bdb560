#include "engine/graphics/AGAnimated.h"

#include <cmath>

AGAnimated::AGAnimated(const AGAnimated& other) {
    if (other.m_owned)
        m_owned = new AGController(*other.m_owned);
    m_current = (other.m_current == other.m_owned) ? m_owned : other.m_current;
}

AGAnimated::~AGAnimated() {
    delete m_owned;
    m_owned = nullptr;
    m_current = nullptr;
}

void AGAnimated::SetController(AGController* controller) {
    m_current = controller ? controller : m_owned;
}

void AGAnimated::EnsureController() {
    if (!m_owned)
        m_owned = new AGController();
    m_owned->Reset();
}

f32 AGSafeFrameCount(f32 frameCount) {
    return (std::isfinite(frameCount) && frameCount >= 1.0f) ? frameCount : 1.0f;
}

f32 AGSafeFrameRate(f32 frameRate) {
    return (std::isfinite(frameRate) && frameRate > 0.0f) ? frameRate : 30.0f;
}

void AGBindAnimation(AGController& controller, f32 frameCount, f32 frameRate, f32 speed) {
    frameCount = AGSafeFrameCount(frameCount);
    controller.SetFrameRate(AGSafeFrameRate(frameRate));
    controller.SetRange(0.0f, frameCount - 1.0f);
    // The end time covers the whole last frame.
    controller.SetEndTime(frameCount * controller.GetFrameDuration());
    controller.SetSpeed(speed);
}
