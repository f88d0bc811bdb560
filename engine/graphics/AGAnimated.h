#pragma once
// The mix-in that lets an object follow an AGController: it owns one controller (or none)
// and points at the one currently driving it.
#include "engine/core/AGController.h"
#include "engine/core/AGMemBuffer.h"
#include "engine/core/AGTypes.h"
#include "engine/graphics/AGTrack.h"

class AGAnimated {
public:
    AGAnimated() = default;
    // The copy owns a copy of the source's owned controller; it is driven by the source's
    // current controller, or by its own copy when the source followed its owned one.
    AGAnimated(const AGAnimated& other);
    AGAnimated& operator=(const AGAnimated&) = delete;
    virtual ~AGAnimated();

    // current := c, or the owned controller when c is null.
    virtual void SetController(AGController* controller);
    // Creates the owned controller with the defaults when there is none; resets it.
    void EnsureController();

    AGController* GetController() const { return m_current; }
    AGController* GetOwnedController() const { return m_owned; }

    // While paused the object keeps its pose: its controller is not advanced.
    void SetPaused(bool paused) { m_paused = paused ? 1 : 0; }
    bool IsPaused() const { return m_paused != 0; }

protected:
    // Advances the current controller once this frame, unless paused or there is none.
    void StepController() {
        if (m_current && !m_paused)
            m_current->UpdateOncePerFrame();
    }

    AGController* m_owned = nullptr;
    AGController* m_current = nullptr;
    u8 m_paused = 0;
};

// Frame counts and rates read from files, made safe for a controller: a count below 1 (or
// not finite) becomes 1, a rate that is not a positive finite number becomes 30.
f32 AGSafeFrameCount(f32 frameCount);
f32 AGSafeFrameRate(f32 frameRate);

// Binds an animation's timing to a controller: rate = frameRate, frame duration =
// 1000 / rate ms, end time = frameCount x frame duration, end frame = frameCount - 1, and
// the speed. Start frame and time are 0. The values are made safe first.
void AGBindAnimation(AGController& controller, f32 frameCount, f32 frameRate, f32 speed);

// Reads an animation resource: the 12-byte header, f32 frame count, f32 frame rate, then the
// track records in order. False for a truncated or corrupt file; otherwise the count and rate
// are stored made safe.
template <typename... T>
bool AGReadAnimation(AGMemBuffer& buffer, bool inPlace, f32& frameCount, f32& frameRate, AGTrack<T>&... tracks) {
    buffer.Skip(12);
    const f32 count = buffer.ReadF32();
    const f32 rate = buffer.ReadF32();
    (tracks.Read(buffer, inPlace), ...);
    if (buffer.Failed())
        return false;
    frameCount = AGSafeFrameCount(count);
    frameRate = AGSafeFrameRate(rate);
    return true;
}
