#pragma once
// The platform-free video player. AGVideoPlayer owns its platform implementation, obtained
// from a factory pointer set by the platform build; with no factory there is none.
#include "engine/core/AGSingleton.h"
#include "engine/core/AGTypes.h"

class IDelegate;
class PCTexture;

class AGVideoPlayerImpl {
public:
    enum DisplayMode : u32 {
        kDisplayTexture = 0,     // frames go to a texture the caller draws
        kDisplayFullScreen = 1,  // the player draws them over the whole screen
    };
    enum State : u32 { kStatePlaying = 0, kStatePaused = 1, kStateClosed = 2 };

    AGVideoPlayerImpl() = default;
    AGVideoPlayerImpl(const AGVideoPlayerImpl&) = delete;
    AGVideoPlayerImpl& operator=(const AGVideoPlayerImpl&) = delete;
    virtual ~AGVideoPlayerImpl() = default;

    // Called once per tick by the run loop.
    virtual void Update() = 0;
    // Opens a video, paused at its start. A video that cannot be opened ends at once: the
    // finish handler runs on the next Update.
    virtual bool Open(const char* fileName) = 0;
    virtual void Play(bool loop) = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual void Resume() = 0;
    virtual void Seek(f32 seconds) = 0;
    // Time of the frame on show, in seconds.
    virtual f32 GetPosition() const = 0;
    // Clamped to [0, 1].
    virtual void SetVolume(f32 volume) = 0;
    virtual void Rewind() = 0;
    // The frame texture in texture mode (without pixels while no video shows), null in
    // full-screen mode.
    virtual PCTexture* GetTexture() = 0;
    // Draws the frame over the screen; the graphic device calls it in place of its layers
    // while the player's custom render is on.
    virtual void DrawFullScreen() = 0;
    // kStateClosed while no video is open (before the first Open and after Stop).
    virtual u32 GetState() const = 0;

    // Set by the owner before Open.
    void SetDisplayMode(u32 mode) { m_displayMode = mode; }
    u32 GetDisplayMode() const { return m_displayMode; }
    // Invoked when a video that does not loop ends (not when it is stopped). Not owned.
    void SetFinishHandler(IDelegate* handler) { m_finishHandler = handler; }

protected:
    u32 m_displayMode = kDisplayTexture;
    IDelegate* m_finishHandler = nullptr;
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
