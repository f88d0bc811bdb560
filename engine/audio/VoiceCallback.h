#pragma once
// Forwards the seven callbacks of a source voice to (handler, context) pairs. The mixer calls
// them on its own thread, so a handler must only touch what is safe there (atomics, the voice
// itself). The argument fields hold the event's values during the forwarded call only.
#include <atomic>

#include "engine/core/AGTypes.h"
#include "platform/audio/AudioTypes.h"

class VoiceCallback : public platform::audio::VoiceCallback {
public:
    using Handler = void (*)(void* context, VoiceCallback* callback);
    enum Event : u32 {
        kProcessingPassStart,  // first argument: bytes required
        kProcessingPassEnd,
        kStreamEnd,
        kBufferStart,  // first argument: buffer context
        kBufferEnd,    // first argument: buffer context
        kLoopEnd,      // first argument: buffer context
        kVoiceError,   // first argument: buffer context; second: error
        kEventCount
    };

    // A null handler ignores the event. Safe to call while the voice plays.
    void SetHandler(Event event, Handler handler, void* context);

    uintptr_t FirstArgument() const { return m_first; }
    i32 SecondArgument() const { return m_second; }

    void OnVoiceProcessingPassStart(uint32_t bytesRequired) override;
    void OnVoiceProcessingPassEnd() override;
    void OnStreamEnd() override;
    void OnBufferStart(void* bufferContext) override;
    void OnBufferEnd(void* bufferContext) override;
    void OnLoopEnd(void* bufferContext) override;
    void OnVoiceError(void* bufferContext, int32_t error) override;

private:
    void Forward(Event event, uintptr_t first, i32 second);

    std::atomic<Handler> m_handlers[kEventCount] = {};
    std::atomic<void*> m_contexts[kEventCount] = {};
    uintptr_t m_first = 0;
    i32 m_second = 0;
};
