#include "engine/audio/VoiceCallback.h"

void VoiceCallback::SetHandler(Event event, Handler handler, void* context) {
    if (event >= kEventCount)
        return;
    // Context first: a handler seen by the mixer always finds its own context.
    m_contexts[event].store(context, std::memory_order_release);
    m_handlers[event].store(handler, std::memory_order_release);
}

void VoiceCallback::Forward(Event event, uintptr_t first, i32 second) {
    Handler handler = m_handlers[event].load(std::memory_order_acquire);
    if (!handler)
        return;
    m_first = first;
    m_second = second;
    handler(m_contexts[event].load(std::memory_order_acquire), this);
    m_first = 0;
    m_second = 0;
}

void VoiceCallback::OnVoiceProcessingPassStart(uint32_t bytesRequired) {
    Forward(kProcessingPassStart, bytesRequired, 0);
}
void VoiceCallback::OnVoiceProcessingPassEnd() { Forward(kProcessingPassEnd, 0, 0); }
void VoiceCallback::OnStreamEnd() { Forward(kStreamEnd, 0, 0); }
void VoiceCallback::OnBufferStart(void* context) { Forward(kBufferStart, uintptr_t(context), 0); }
void VoiceCallback::OnBufferEnd(void* context) { Forward(kBufferEnd, uintptr_t(context), 0); }
void VoiceCallback::OnLoopEnd(void* context) { Forward(kLoopEnd, uintptr_t(context), 0); }
void VoiceCallback::OnVoiceError(void* context, int32_t error) { Forward(kVoiceError, uintptr_t(context), error); }
