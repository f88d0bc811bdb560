#include "gameservices/widget/PRSCAnimation.h"

#include <cmath>

#include "engine/core/AGLog.h"
#include "engine/core/AGResourceManager.h"
#include "engine/graphics/AGAnimated.h"
#include "engine/graphics/AGPrscAnimation.h"

namespace GameServices::Widget {

namespace {
constexpr u32 kPlayModes[] = {AGController::kStopped, AGController::kOnce, AGController::kLoop,
                              AGController::kOnceReverse, AGController::kLoopReverse};
}

PRSCAnimation::~PRSCAnimation() {
    ReleaseAnimation();
}

void PRSCAnimation::Play(u32 modeIndex) {
    if (modeIndex >= sizeof(kPlayModes) / sizeof(kPlayModes[0])) {
        AGReport("Widget::Play: no play mode %u", modeIndex);
        return;
    }
    m_Control.SetMode(kPlayModes[modeIndex]);
    m_Control.Restart();
    SampleTracks();
}

void PRSCAnimation::SetAnimation(const TString<char>& file) {
    AGResourceManager* resources = AGResourceManager::Get();
    AGBaseProvider* provider = resources ? resources->GetProvider(TypeKey::PrscAnimation) : nullptr;
    if (!provider) {
        ReleaseAnimation();
        AGReport("PRSCAnimation: no prscAnimation provider for %s", file.c_str());
        return;
    }
    // The new hold is taken before the old one goes, so the same file is not unloaded and
    // read again.
    AGPrscAnimation* animation = GetOrLoadResourceAs<AGPrscAnimation>(provider, Crc32Hash(file.c_str()));
    ReleaseAnimation();
    m_Animation = animation;
    ResetTiming();
}

void PRSCAnimation::ReleaseAnimation() {
    if (!m_Animation)
        return;
    AGResourceManager* resources = AGResourceManager::Get();
    if (AGBaseProvider* provider = resources ? resources->GetProvider(TypeKey::PrscAnimation) : nullptr)
        provider->Release(m_Animation);
    m_Animation = nullptr;
    m_Ready = false;
}

void PRSCAnimation::ResetTiming() {
    m_Ready = false;
    if (!m_Animation)
        return;
    m_Control.Restart();
    const f32 rate = m_Animation->m_frameRate;
    if (!(rate > 0.0f) || !std::isfinite(rate)) {
        AGReport("PRSCAnimation: frame rate %f, the timing stays unset", static_cast<double>(rate));
        return;
    }
    AGBindAnimation(m_Control, m_Animation->m_frameCount, rate, m_Animation->m_speed);
    m_Ready = true;
}

void PRSCAnimation::SampleTracks() {
    AGVec2 position{0.0f, 0.0f};
    AGVec2 scale{1.0f, 1.0f};
    f32 rotation = 0.0f;
    AGColor color = 0xFFFFFFFFu;
    if (m_Animation) {
        const f32 frame = m_Control.GetOutput();
        m_Animation->m_position.Evaluate(frame, position);
        m_Animation->m_scale.Evaluate(frame, scale);
        m_Animation->m_rotation.Evaluate(frame, rotation);
        m_Animation->m_color.Evaluate(frame, color);
    }
    m_AnimX = position.x;
    m_AnimY = -position.y;
    m_AnimScaleX = scale.x;
    m_AnimScaleY = scale.y;
    m_AnimRotation = rotation;
    m_AnimColor = color;
}

}  // namespace GameServices::Widget
