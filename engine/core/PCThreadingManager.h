#pragma once
// Events and threads behind one interface. Handles are opaque pointers; null is invalid.
// Wait results: 0 signalled (WaitEvents: the index of the signalled event), 256 abandoned,
// 257 time-out, 258 failure.
#include "engine/core/AGSingleton.h"
#include "engine/core/AGTypes.h"

using AGEventHandle = void*;
using AGThreadHandle = void*;
using AGThreadRoutine = u32 (*)(void* context);

class AGThreadingManager {
public:
    static constexpr u32 kWaitSignalled = 0;
    static constexpr u32 kWaitAbandoned = 256;
    static constexpr u32 kWaitTimeout = 257;
    static constexpr u32 kWaitFailed = 258;
    static constexpr u32 kInfinite = 0xFFFFFFFFu;

    virtual AGEventHandle CreateEvent(bool manualReset, bool initiallySet, const char* name) = 0;
    virtual bool CloseEvent(AGEventHandle event) = 0;
    virtual bool SetEvent(AGEventHandle event) = 0;
    virtual bool ResetEvent(AGEventHandle event) = 0;
    virtual u32 WaitEvent(AGEventHandle event, u32 timeoutMs) = 0;
    virtual u32 WaitEvents(u32 count, const AGEventHandle* events, bool waitAll,
                           u32 timeoutMs) = 0;
    virtual bool IsEventValid(AGEventHandle event) = 0;
    virtual AGThreadHandle CreateThread(u32 stackSize, AGThreadRoutine routine, void* context,
                                        u32 creationFlags, u32* threadId) = 0;
    // Frees the handle; a thread still running goes on, detached.
    virtual bool CloseThread(AGThreadHandle thread) = 0;
    virtual bool SetThreadPriority(AGThreadHandle thread, i32 priority) = 0;
    virtual bool SetThreadAffinity(AGThreadHandle thread, u32 mask) = 0;
    virtual bool WaitThread(AGThreadHandle thread, u32 timeoutMs) = 0;
    virtual bool IsThreadValid(AGThreadHandle thread) = 0;
    virtual bool SuspendThread(AGThreadHandle thread) = 0;
    virtual bool ResumeThread(AGThreadHandle thread) = 0;
    virtual ~AGThreadingManager() = default;
};

class PCThreadingManager : public AGThreadingManager, public AGSingleton<PCThreadingManager> {
public:
    AGEventHandle CreateEvent(bool manualReset, bool initiallySet, const char* name) override;
    bool CloseEvent(AGEventHandle event) override;
    bool SetEvent(AGEventHandle event) override;
    bool ResetEvent(AGEventHandle event) override;
    u32 WaitEvent(AGEventHandle event, u32 timeoutMs) override;
    // count 0 gives 258.
    u32 WaitEvents(u32 count, const AGEventHandle* events, bool waitAll, u32 timeoutMs) override;
    bool IsEventValid(AGEventHandle event) override { return event != nullptr; }
    // creationFlags are ignored: threads start at once.
    AGThreadHandle CreateThread(u32 stackSize, AGThreadRoutine routine, void* context,
                                u32 creationFlags, u32* threadId) override;
    bool CloseThread(AGThreadHandle thread) override;
    // Priorities are not changed on this platform; true.
    bool SetThreadPriority(AGThreadHandle thread, i32 priority) override;
    // True when the previous mask was not empty.
    bool SetThreadAffinity(AGThreadHandle thread, u32 mask) override;
    // True when the thread ended within the time-out.
    bool WaitThread(AGThreadHandle thread, u32 timeoutMs) override;
    bool IsThreadValid(AGThreadHandle thread) override { return thread != nullptr; }
    // Threads cannot be suspended here and nothing asks for it: no-ops that report true,
    // as callers of the interface expect.
    bool SuspendThread(AGThreadHandle thread) override;
    bool ResumeThread(AGThreadHandle thread) override;
};
