#pragma once
// Decodes sounds' and streams' next buffers ahead on one worker thread, so the game thread
// only hands finished buffers to the mixer and never spends a tick decoding. The manager has
// one when its mixer plays on a device; in pull mode players decode on the calling thread.
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class PCAudioPlayback;

class PCAudioDecoder {
public:
    PCAudioDecoder();
    // Every playback has cancelled its job by then.
    ~PCAudioDecoder();
    PCAudioDecoder(const PCAudioDecoder&) = delete;
    PCAudioDecoder& operator=(const PCAudioDecoder&) = delete;

    // Runs playback.RunDecodeJob() on the worker after the jobs queued before it. A playback
    // has at most one job queued or running.
    void Request(PCAudioPlayback& playback);
    // On return the playback's job is neither queued nor running: a queued job is dropped, a
    // running one is told to stop (it stops between two reads) and waited for.
    void Cancel(PCAudioPlayback& playback);
    // Waits until no job is queued or running.
    void WaitIdle();

private:
    void Work();

    std::mutex m_lock;
    std::condition_variable m_wake;  // a job was queued, or the worker must quit
    std::condition_variable m_done;  // a job has finished
    std::deque<PCAudioPlayback*> m_queue;
    PCAudioPlayback* m_running = nullptr;
    bool m_quit = false;
    std::thread m_thread;
};
