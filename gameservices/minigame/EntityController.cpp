#include "gameservices/minigame/EntityController.h"

#include "gameservices/widget/RenderingSystemWidget.h"
#include "gameservices/widget/Widget.h"
#include "gameservices/widget/WidgetRenderData.h"

namespace GameServices::MiniGame {

namespace {
constexpr f32 kRadiansPerDegree = 0.017453292f;
}  // namespace

void EntityAnimation::Reset() {
    m_StartTime = 0.0f;
    m_Target = nullptr;
    m_WidthFactor = 0.0f;
    m_HeightFactor = 0.0f;
    m_BaseWidth = 0.0f;
    m_BaseHeight = 0.0f;
    m_KeyFrames.clear();
    m_OpacityBase = 0.0f;
    m_RotationBase = 0.0f;
}

void EntityAnimation::Rewind() {
    m_OpacityBase = 0.0f;
    if (m_Target) {
        m_BaseX = m_Target->m_X;
        m_BaseY = m_Target->m_Y;
        m_BaseWidth = m_Target->m_Width;
        m_BaseHeight = m_Target->m_Height;
        m_RotationBase = m_Target->m_Hit.rotation / kRadiansPerDegree;
    }
    for (EntityAnimationKeyFrame* key : m_KeyFrames)
        if (key)
            key->m_Done = false;
}

void EntityAnimation::Apply(const EntityAnimationKeyFrame* previous,
                            const EntityAnimationKeyFrame& key, f32 r, bool complete) {
    if (!m_Target)
        return;
    Widget::Widget& target = *m_Target;
    switch (m_Kind) {
    case kWidth:
    case kHeight: {
        const bool width = m_Kind == kWidth;
        f32& base = width ? m_BaseWidth : m_BaseHeight;
        const f32 v = base + ((width ? m_WidthFactor : m_HeightFactor) * key.m_Value - base) * r;
        if (width)
            target.SetWidth(v);
        else
            target.SetHeight(v);
        if (complete)
            base = v;
        break;
    }
    case kX:
    case kY: {
        const f32 d = key.m_Value - (previous ? previous->m_Value : 0.0f);
        f32& base = m_Kind == kX ? m_BaseX : m_BaseY;
        const f32 v = base + d * r;
        if (m_Kind == kX)
            target.SetPositionXY(v, target.m_Y);
        else
            target.SetPositionXY(target.m_X, v);
        if (complete)
            base += d;
        break;
    }
    case kRotation: {
        // The value grows from 0 toward the key; a negative one is taken from the base.
        f32 v = (key.m_Value - m_RotationBase) * r;
        if (v < 0.0f)
            v += m_RotationBase;
        target.m_Hit.rotation = v * kRadiansPerDegree;
        target.m_Hit.rotationChanged = 1;
        if (AGCompositeRenderable* composite = Widget::Render::CompositeOf(target))
            Widget::RenderingSystemWidget::MatrixRotationAxis(AGVec3{0.0f, 0.0f, 1.0f},
                                                              composite->Transform(),
                                                              target.m_Hit.rotation);
        if (complete)
            m_RotationBase = v;
        break;
    }
    case kOpacity: {
        f32 v = (key.m_Value - m_OpacityBase) * r;
        if (v < 0.0f)
            v += m_OpacityBase;
        target.SetOpacity(v);
        if (complete)
            m_OpacityBase = v;
        break;
    }
    default:
        break;
    }
}

void EntityController::Update(u32 milliseconds) {
    m_Elapsed += f32(milliseconds) * 0.001f;
    for (EntityAnimation*& waiting : m_Pending) {
        if (waiting && waiting->m_StartTime <= m_Elapsed) {
            m_Active.push_back(waiting);
            waiting = nullptr;
        }
    }
    for (size_t j = 0; j < m_Active.size(); ++j) {
        EntityAnimation* animation = m_Active[j];
        if (!animation)
            continue;
        const std::vector<EntityAnimationKeyFrame*> keys = animation->m_KeyFrames;
        size_t k = 0;
        while (k < keys.size() && (!keys[k] || keys[k]->m_Done))
            ++k;
        if (k == keys.size())
            continue;
        EntityAnimationKeyFrame& key = *keys[k];
        const EntityAnimationKeyFrame* previous = k > 0 ? keys[k - 1] : nullptr;
        const f32 from = animation->m_StartTime + (previous ? previous->m_Time : 0.0f);
        const f32 duration = key.m_Time - from;
        // A key of no (or negative) duration has nothing to wait for: it completes at once.
        f32 r = duration > 0.0f ? (m_Elapsed - from) / duration : 1.0f;
        const bool complete = !(r < 1.0f);
        bool finished = false;
        if (complete) {
            key.m_Done = true;
            r = 1.0f;
            if (k + 1 == keys.size()) {
                m_Active[j] = nullptr;
                finished = !m_Finished && j + 1 == m_Active.size();
            }
        }
        animation->Apply(previous, key, r, complete);
        if (finished) {
            m_Finished = true;
            m_FinishedEvent.Fire();
        }
    }
}

void EntityController::Reset() {
    m_Elapsed = 0.0f;
    m_Finished = false;
    m_Pending = m_Active;
    for (EntityAnimation* animation : m_Pending)
        if (animation)
            animation->Rewind();
    m_Active.clear();
}

}  // namespace GameServices::MiniGame
