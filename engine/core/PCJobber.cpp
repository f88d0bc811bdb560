#include "engine/core/PCJobber.h"

#include <cassert>

#include "engine/core/AGLog.h"
#include "platform/thread/Event.h"
#include "platform/thread/Thread.h"

// What the worker thread touches. Shared with the thread, so that an abandoned worker never
// runs on freed memory.
struct PCJobber::Worker {
    std::atomic<u32> state{kStateCreated};
    platform::Event event{false, false};  // auto-reset
    PCJobRing jobs;
};

namespace {
#ifndef NDEBUG
thread_local char t_threadTag;
#endif
}  // namespace

PCJobber::~PCJobber() {
    Stop();
}

bool PCJobber::Start(u32 /*reserved*/, u32 capacity, u32 affinityMask, bool ring,
                     u32 /*reserved2*/) {
    if (m_worker)
        return false;
    if (!ring) {
        AGReport("PCJobber: only the job ring is available");
        return false;
    }
    auto worker = std::make_shared<Worker>();
    if (!worker->jobs.Setup(capacity))
        return false;
    auto* context = new std::shared_ptr<Worker>(worker);
    m_thread = platform::Thread::Create(0, &PCJobber::WorkerRoutine, context);
    if (!m_thread) {
        delete context;
        return false;
    }
    if (affinityMask != 0)
        m_thread->SetAffinity(affinityMask);
    m_affinityMask = affinityMask;
    m_worker = std::move(worker);
    return true;
}

u32 PCJobber::WorkerRoutine(void* context) {
    std::shared_ptr<Worker> worker = std::move(*static_cast<std::shared_ptr<Worker>*>(context));
    delete static_cast<std::shared_ptr<Worker>*>(context);
    for (;;) {
        worker->event.Wait(platform::kWaitInfinite);
        const u32 state = worker->state.load(std::memory_order_acquire);
        if (state == kStateExitRequested)
            return 0;
        if (state == kStateRunRequested)
            worker->jobs.RunAll();
    }
}

void PCJobber::Stop() {
    if (!m_worker)
        return;
    m_worker->state.store(kStateExitRequested, std::memory_order_release);
    m_worker->jobs.Interrupt();
    m_worker->event.Set();
    if (!m_thread->Wait(m_stopTimeoutMs))
        AGReport("PCJobber: the worker did not stop within %u ms and is abandoned",
                 m_stopTimeoutMs);
    delete m_thread;  // joins an ended thread, detaches a running one
    m_thread = nullptr;
    m_worker.reset();
}

bool PCJobber::Post(AGJobFn function, uintptr_t argument) {
    if (!m_worker)
        return false;
#ifndef NDEBUG
    if (!m_producer)
        m_producer = &t_threadTag;
    assert(m_producer == &t_threadTag && "PCJobber::Post from a second thread");
#endif
    if (!m_worker->jobs.Push(function, argument))
        return false;
    if (m_worker->jobs.IsFirstPending())
        Wake();
    return true;
}

i32 PCJobber::Count() const {
    return m_worker ? m_worker->jobs.Count() : 0;
}

u32 PCJobber::Room() const {
    return m_worker ? m_worker->jobs.Room() : 0;
}

void PCJobber::Wake() {
    if (!m_worker)
        return;
    m_worker->state.store(kStateRunRequested, std::memory_order_release);
    m_worker->event.Set();
}

void PCJobber::Interrupt() {
    if (m_worker)
        m_worker->jobs.Interrupt();
}

bool PCJobber::RunJobs() {
    return m_worker ? m_worker->jobs.RunAll() : false;
}
