#pragma once
// The platform-free audio manager. AGAudioManager owns its platform implementation, which it
// obtains from a factory pointer set by the platform build; with no factory there is no
// implementation and the manager does nothing.
#include "engine/core/AGArray.h"
#include "engine/core/AGSingleton.h"
#include "engine/core/AGTypes.h"

// What the manager needs of a sound or a stream: its state and a pause switch.
class AGAudioVoice {
public:
    static constexpr u32 kStatePlaying = 1u << 1;

    virtual ~AGAudioVoice() = default;
    virtual u32 GetState() const = 0;
    virtual void Pause(bool pause) = 0;
    // The per-tick work of a sound or stream (AGAudioManagerImpl::Update of the platform).
    virtual void Update() {}

    // Set while paused by AGAudioManagerImpl::Pause, so Resume restarts exactly these.
    bool m_pausedByManager = false;
};

class AGAudioManagerImpl {
public:
    AGAudioManagerImpl() = default;
    AGAudioManagerImpl(const AGAudioManagerImpl&) = delete;
    AGAudioManagerImpl& operator=(const AGAudioManagerImpl&) = delete;
    // Frees the arrays' storage; the voices themselves belong to their owners.
    virtual ~AGAudioManagerImpl() = default;

    // Sets up the buffers for this many sounds and streams playing at the same time.
    virtual bool Initialize(u32 /*soundCount*/, u32 /*streamCount*/) { return false; }
    // Called once per tick by the run loop.
    virtual void Update() = 0;

    // Volumes from 0 to 1; categories 0 music, 1 voice, 2 sound effects.
    virtual float GetMasterVolume() const { return 0.0f; }
    virtual void SetMasterVolume(float /*volume*/) {}
    virtual float GetCategoryVolume(u32 /*category*/) const { return 0.0f; }
    virtual void SetCategoryVolume(float /*volume*/, u32 /*category*/) {}

    // Nested pause: the outermost Pause pauses every playing sound, then every playing
    // stream, and remembers them; the matching outermost Resume resumes exactly those.
    void Pause();
    virtual void Resume();
    u32 PauseDepth() const { return m_pauseDepth; }

    AGArray<AGAudioVoice*>& Sounds() { return m_sounds; }
    AGArray<AGAudioVoice*>& Streams() { return m_streams; }

protected:
    AGArray<AGAudioVoice*> m_sounds;
    AGArray<AGAudioVoice*> m_streams;
    u32 m_pauseDepth = 0;
};

class AGAudioManager : public AGSingleton<AGAudioManager> {
public:
    using ImplFactory = AGAudioManagerImpl* (*)();
    // Set by the platform build before start-up.
    static inline ImplFactory s_implFactory = nullptr;

    AGAudioManager();
    AGAudioManager(const AGAudioManager&) = delete;
    AGAudioManager& operator=(const AGAudioManager&) = delete;
    ~AGAudioManager() override;

    AGAudioManagerImpl* GetImpl() const { return m_impl; }
    // The per-tick platform update (nothing without an implementation).
    void Update() {
        if (m_impl)
            m_impl->Update();
    }

private:
    AGAudioManagerImpl* m_impl = nullptr;
};
