#pragma once
// Optional application callbacks, each a (context, function) pair that is null until set.
// The first two are raised for device events; the three input callbacks are raised by the
// keyboard and mouse polls.
#include "engine/core/AGSingleton.h"
#include "engine/core/AGTypes.h"

// Payload of the input callbacks.
struct AGInputEvent {
    u32 kind;     // 0, 1 or 2
    u32 keyCode;  // engine key code
    void* device;
};

class AGAppEventsHandler : public AGSingleton<AGAppEventsHandler> {
public:
    using DeviceEventFn = void (*)(void* context, void* data);
    using InputEventFn = void (*)(void* context, const AGInputEvent& event);

    enum DeviceEvent { kDeviceEvent0, kDeviceEvent1, kDeviceEventCount };
    enum InputEvent { kInputEvent0, kInputEvent1, kInputEvent2, kInputEventCount };

    void SetDeviceCallback(u32 index, void* context, DeviceEventFn fn) {
        if (index < kDeviceEventCount)
            m_device[index] = {context, fn};
    }
    void SetInputCallback(u32 index, void* context, InputEventFn fn) {
        if (index < kInputEventCount)
            m_input[index] = {context, fn};
    }
    // Each does nothing when the callback is unset.
    void RaiseDeviceEvent(u32 index, void* data) const {
        if (index < kDeviceEventCount && m_device[index].fn)
            m_device[index].fn(m_device[index].context, data);
    }
    void RaiseInputEvent(u32 index, const AGInputEvent& event) const {
        if (index < kInputEventCount && m_input[index].fn)
            m_input[index].fn(m_input[index].context, event);
    }

private:
    template <typename Fn>
    struct Callback {
        void* context = nullptr;
        Fn fn = nullptr;
    };
    Callback<DeviceEventFn> m_device[kDeviceEventCount];
    Callback<InputEventFn> m_input[kInputEventCount];
};
