#pragma once
// The frame timer: once per tick it measures the frame and hands the game a smoothed frame
// time in whole milliseconds.
#include "engine/core/AGTypes.h"

class AGTimerManager {
public:
    virtual ~AGTimerManager() = default;
    virtual void Initialize() = 0;
    virtual void Update() = 0;
    virtual void Shutdown() = 0;

    // The smoothed frame time of the last Update (16 after Initialize).
    u32 GetFrameMs() const { return m_frameMs; }
    // Clock readings of the last two updates, in milliseconds (truncated).
    u32 GetCurrentMs() const { return m_currentMs; }
    u32 GetPreviousMs() const { return m_previousMs; }
    // Counts the updates: objects that may be asked to advance several times a frame (a
    // skin or a controller shared by several models) compare it.
    u32 GetFrameNumber() const { return m_frameNumber; }

protected:
    u32 m_frameMs = 0;
    u32 m_currentMs = 0;
    u32 m_previousMs = 0;
    u32 m_frameNumber = 0;
};
