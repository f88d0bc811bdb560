#pragma once
// The three input callbacks of the application events handler as the device polls raise
// them: kind k goes to input callback k with the engine key code and the device.
#include "engine/core/AGAppEventsHandler.h"

class AGDevice;

class PCInputCallbacks {
public:
    PCInputCallbacks() : m_handler(AGAppEventsHandler::Get()) {}

    // False while there is no handler, so the polls can skip their passes.
    bool IsSet() const { return m_handler != nullptr; }
    void Raise(u32 kind, u32 code, AGDevice* device) const {
        if (m_handler)
            m_handler->RaiseInputEvent(kind, AGInputEvent{kind, code, device});
    }

private:
    const AGAppEventsHandler* m_handler;
};
