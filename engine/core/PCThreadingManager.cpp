#include "engine/core/PCThreadingManager.h"

#include <vector>

#include "platform/thread/Event.h"
#include "platform/thread/Thread.h"

namespace {

platform::Event* AsEvent(AGEventHandle handle) {
    return static_cast<platform::Event*>(handle);
}

platform::Thread* AsThread(AGThreadHandle handle) {
    return static_cast<platform::Thread*>(handle);
}

}  // namespace

AGEventHandle PCThreadingManager::CreateEvent(bool manualReset, bool initiallySet,
                                              const char* /*name*/) {
    return new platform::Event(manualReset, initiallySet);
}

bool PCThreadingManager::CloseEvent(AGEventHandle event) {
    if (!event)
        return false;
    delete AsEvent(event);
    return true;
}

bool PCThreadingManager::SetEvent(AGEventHandle event) {
    if (!event)
        return false;
    AsEvent(event)->Set();
    return true;
}

bool PCThreadingManager::ResetEvent(AGEventHandle event) {
    if (!event)
        return false;
    AsEvent(event)->Reset();
    return true;
}

u32 PCThreadingManager::WaitEvent(AGEventHandle event, u32 timeoutMs) {
    if (!event)
        return kWaitFailed;
    return AsEvent(event)->Wait(timeoutMs);
}

u32 PCThreadingManager::WaitEvents(u32 count, const AGEventHandle* events, bool waitAll,
                                   u32 timeoutMs) {
    if (count == 0 || !events)
        return kWaitFailed;
    std::vector<platform::Event*> list(count);
    for (u32 i = 0; i < count; ++i)
        list[i] = AsEvent(events[i]);
    return platform::Event::WaitMany(list.data(), count, waitAll, timeoutMs);
}

AGThreadHandle PCThreadingManager::CreateThread(u32 stackSize, AGThreadRoutine routine,
                                                void* context, u32 /*creationFlags*/,
                                                u32* threadId) {
    platform::Thread* thread = platform::Thread::Create(stackSize, routine, context);
    if (threadId)
        *threadId = thread ? thread->Id() : 0;
    return thread;
}

bool PCThreadingManager::CloseThread(AGThreadHandle thread) {
    if (!thread)
        return false;
    delete AsThread(thread);
    return true;
}

bool PCThreadingManager::SetThreadPriority(AGThreadHandle thread, i32 /*priority*/) {
    return thread != nullptr;
}

bool PCThreadingManager::SetThreadAffinity(AGThreadHandle thread, u32 mask) {
    return thread && AsThread(thread)->SetAffinity(mask);
}

bool PCThreadingManager::WaitThread(AGThreadHandle thread, u32 timeoutMs) {
    return thread && AsThread(thread)->Wait(timeoutMs);
}

bool PCThreadingManager::SuspendThread(AGThreadHandle /*thread*/) {
    return true;
}

bool PCThreadingManager::ResumeThread(AGThreadHandle /*thread*/) {
    return true;
}
