#pragma once
// The platform-free video player. AGVideoPlayer owns its platform implementation, obtained
// from a factory pointer set by the platform build; with no factory there is none.
#include "engine/core/AGSingleton.h"

class AGVideoPlayerImpl {
public:
    AGVideoPlayerImpl() = default;
    AGVideoPlayerImpl(const AGVideoPlayerImpl&) = delete;
    AGVideoPlayerImpl& operator=(const AGVideoPlayerImpl&) = delete;
    virtual ~AGVideoPlayerImpl() = default;

    // Called once per tick by the run loop.
    virtual void Update() = 0;
};

class AGVideoPlayer : public AGSingleton<AGVideoPlayer> {
public:
    using ImplFactory = AGVideoPlayerImpl* (*)();
    // Set by the platform build before start-up.
    static inline ImplFactory s_implFactory = nullptr;

    AGVideoPlayer() : m_impl(s_implFactory ? s_implFactory() : nullptr) {}
    AGVideoPlayer(const AGVideoPlayer&) = delete;
    AGVideoPlayer& operator=(const AGVideoPlayer&) = delete;
    ~AGVideoPlayer() override { delete m_impl; }

    AGVideoPlayerImpl* GetImpl() const { return m_impl; }
    void Update() {
        if (m_impl)
            m_impl->Update();
    }

private:
    AGVideoPlayerImpl* m_impl = nullptr;
};
