#include "engine/audio/PCAudioDecoder.h"

#include <algorithm>

#include "engine/audio/PCAudioPlayback.h"

PCAudioDecoder::PCAudioDecoder() : m_thread(&PCAudioDecoder::Work, this) {}

PCAudioDecoder::~PCAudioDecoder() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_quit = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void PCAudioDecoder::Request(PCAudioPlayback& playback) {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_queue.push_back(&playback);
    }
    m_wake.notify_one();
}

void PCAudioDecoder::Cancel(PCAudioPlayback& playback) {
    std::unique_lock<std::mutex> guard(m_lock);
    m_queue.erase(std::remove(m_queue.begin(), m_queue.end(), &playback), m_queue.end());
    if (m_running != &playback)
        return;
    playback.StopDecodeJob();
    m_done.wait(guard, [&] { return m_running != &playback; });
}

void PCAudioDecoder::WaitIdle() {
    std::unique_lock<std::mutex> guard(m_lock);
    m_done.wait(guard, [&] { return m_queue.empty() && !m_running; });
}

void PCAudioDecoder::Work() {
    std::unique_lock<std::mutex> guard(m_lock);
    for (;;) {
        m_wake.wait(guard, [&] { return m_quit || !m_queue.empty(); });
        if (m_quit)
            return;
        PCAudioPlayback* job = m_queue.front();
        m_queue.pop_front();
        m_running = job;
        guard.unlock();
        job->RunDecodeJob();
        guard.lock();
        m_running = nullptr;
        m_done.notify_all();
    }
}
