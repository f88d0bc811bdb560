#include "platform/thread/Thread.h"

#include <atomic>
#include <climits>
#include <sched.h>

#include "platform/thread/Event.h"

namespace platform {

struct Thread::State {
    Routine routine = nullptr;
    void* context = nullptr;
    Event ended{true, false};
    std::atomic<uint32_t> exitCode{0};
};

namespace {
std::atomic<uint32_t> g_nextId{1};
}

void* Thread::Entry(void* arg) {
    // The thread holds its own reference, so the state outlives a detached handle.
    std::shared_ptr<State>* held = static_cast<std::shared_ptr<State>*>(arg);
    std::shared_ptr<State> state = std::move(*held);
    delete held;
    state->exitCode.store(state->routine(state->context));
    state->ended.Set();
    return nullptr;
}

Thread* Thread::Create(size_t stackSize, Routine routine, void* context) {
    if (!routine)
        return nullptr;
    auto state = std::make_shared<State>();
    state->routine = routine;
    state->context = context;

    pthread_attr_t attr;
    if (pthread_attr_init(&attr) != 0)
        return nullptr;
    if (stackSize != 0) {
        if (stackSize < size_t(PTHREAD_STACK_MIN))
            stackSize = PTHREAD_STACK_MIN;
        pthread_attr_setstacksize(&attr, stackSize);
    }
    Thread* thread = new Thread;
    thread->m_state = state;
    thread->m_id = g_nextId.fetch_add(1);
    auto* arg = new std::shared_ptr<State>(state);
    int rc = pthread_create(&thread->m_thread, &attr, &Thread::Entry, arg);
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        delete arg;
        thread->m_joined = true;  // nothing to join
        delete thread;
        return nullptr;
    }
    return thread;
}

Thread::~Thread() {
    if (m_joined)
        return;
    if (HasEnded())
        pthread_join(m_thread, nullptr);
    else
        pthread_detach(m_thread);
}

bool Thread::Wait(uint32_t timeoutMs) {
    if (m_joined)
        return true;
    if (m_state->ended.Wait(timeoutMs) != kWaitSignalled)
        return false;
    if (!IsCurrent()) {
        pthread_join(m_thread, nullptr);
        m_joined = true;
    }
    return true;
}

bool Thread::HasEnded() const {
    return m_joined || m_state->ended.Wait(0) == kWaitSignalled;
}

uint32_t Thread::ExitCode() const {
    return m_state->exitCode.load();
}

bool Thread::SetAffinity(uint64_t mask) {
    if (m_joined)
        return false;
    cpu_set_t old;
    CPU_ZERO(&old);
    if (pthread_getaffinity_np(m_thread, sizeof old, &old) != 0)
        return false;
    cpu_set_t set;
    CPU_ZERO(&set);
    for (int cpu = 0; cpu < 64; ++cpu)
        if (mask & (uint64_t(1) << cpu))
            CPU_SET(cpu, &set);
    if (CPU_COUNT(&set) == 0 || pthread_setaffinity_np(m_thread, sizeof set, &set) != 0)
        return false;
    return CPU_COUNT(&old) != 0;
}

bool Thread::IsCurrent() const {
    return !m_joined && pthread_equal(m_thread, pthread_self());
}

}  // namespace platform
