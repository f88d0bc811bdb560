#pragma once
// The platform players behind the engine's sounds and streams. A player decodes one sound
// descriptor's Ogg Vorbis data onto a voice of the audio manager's mixer; the manager's
// update drives it and its nested pause calls Pause.
#include "engine/core/AGAudioManager.h"
#include "engine/core/AGTypes.h"

class AGAudioPlayerImpl : public AGAudioVoice {
public:
    // State bits.
    static constexpr u32 kOpen = 0x1;
    static constexpr u32 kPlaying = 0x2;
    static constexpr u32 kPaused = 0x4;
    static constexpr u32 kStopped = 0x8;
    static constexpr u32 kFinished = 0x10;
    static constexpr u32 kReadInFlight = 0x20;
    static constexpr u32 kHoldsBuffers = 0x40;
    static constexpr u32 kLoop = 0x80000000u;

    // Called once a sound that does not loop has played out.
    using FinishHandler = void (*)(void* owner);

    u32 GetState() const override { return m_state; }
    u32 GetCategory() const { return m_category; }
    void SetFinishHandler(FinishHandler handler, void* owner) {
        m_finishHandler = handler;
        m_owner = owner;
    }
    void* GetOwner() const { return m_owner; }
    // The open descriptor's parameters (index 0 to 2), read by the owner.
    u32 GetParameter(u32 index) const { return index < 3 ? m_params[index] : 0; }

    virtual bool Open(const char* descriptorName) = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    virtual float GetVolume() const = 0;
    virtual void SetVolume(float volume) = 0;
    virtual void SetLoop(bool loop) = 0;
    virtual void SetCategory(u32 category) = 0;
    virtual void Close() = 0;

    // The audio manager is going away: give back its voice and buffers and forget it.
    virtual void DetachFromManager() = 0;

protected:
    u32 m_state = 0;
    u32 m_category = 0;
    void* m_owner = nullptr;
    FinishHandler m_finishHandler = nullptr;
    u32 m_params[3] = {0, 0, 0};
};

// A sound decoded from data held in memory.
class AGAudioSoundImpl : public AGAudioPlayerImpl {
public:
    using Factory = AGAudioSoundImpl* (*)();
    // Makes a PCAudioSoundImpl unless replaced.
    static Factory s_factory;
};

// A sound decoded from a disk file while it plays.
class AGAudioStreamImpl : public AGAudioPlayerImpl {
public:
    using Factory = AGAudioStreamImpl* (*)();
    // Makes a PCAudioStreamImpl unless replaced.
    static Factory s_factory;
};
