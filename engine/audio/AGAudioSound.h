#pragma once
// The engine's sound objects. Each owns one platform player made by its class's factory and
// forwards to it; without a player every operation does nothing.
#include "engine/audio/AGAudioPlayerImpl.h"
#include "engine/core/AGObject.h"

class AGAudioObject : public AGObject {
public:
    // Called once a sound that does not loop has played out.
    using EndCallback = void (*)(void* context);

    AGAudioObject(const AGAudioObject&) = delete;
    AGAudioObject& operator=(const AGAudioObject&) = delete;
    // Deletes the player.
    ~AGAudioObject() override;

    // name: a ".snd" descriptor.
    bool Open(const char* name);
    void Play();
    void Stop();
    void Pause(bool pause);
    float GetVolume() const;
    // Clamped to [0, 1]; NaN becomes 0.
    void SetVolume(float volume);
    void SetLoop(bool loop);
    // 0 music, 1 voice, 2 sound effects.
    void SetCategory(u32 category);
    // Bit 0 loaded (open), bit 1 playing.
    u32 GetState() const;
    void SetEndCallback(EndCallback callback, void* context);
    void ClearEndCallback() { SetEndCallback(nullptr, nullptr); }
    // The descriptor's three parameters (index 0 to 2).
    u32 GetParameter(u32 index) const;

    AGAudioPlayerImpl* GetPlayer() const { return m_player; }

protected:
    explicit AGAudioObject(AGAudioPlayerImpl* player) : m_player(player) {}

private:
    AGAudioPlayerImpl* m_player;
};

// A sound loaded whole.
class AGAudioSound : public AGAudioObject {
public:
    AGAudioSound();
};
