#pragma once
// A video player that notes its calls as text and shows one texture, installed as the
// engine's player while its scope lives.
#include <string>
#include <utility>
#include <vector>

#include "engine/core/AGAudioManager.h"
#include "engine/core/AGVideoPlayer.h"
#include "engine/core/FDelegate.h"
#include "engine/graphics/PCTexture.h"

class FakeVideoPlayer : public AGVideoPlayerImpl {
public:
    void Update() override {}
    bool Open(const char* name) override {
        return Note(std::string("open ") + name + (m_displayMode == kDisplayFullScreen ? " full" : ""), kStatePaused);
    }
    void Play(bool loop) override { Note(loop ? "play loop" : "play once", kStatePlaying); }
    void Pause() override { Note("pause", state); }
    void Stop() override { Note("stop", kStateClosed); }
    void Resume() override { Note("resume", state); }
    void Seek(f32) override {}
    f32 GetPosition() const override { return 0.0f; }
    void SetVolume(f32 v) override { Note("volume " + std::to_string(int(v * 100)), state); }
    void Rewind() override {}
    PCTexture* GetTexture() override { return &texture; }
    void DrawFullScreen() override {}
    u32 GetState() const override { return state; }

    // What the player does when a video that does not loop ends.
    void End() {
        if (m_finishHandler)
            m_finishHandler->Invoke();
    }
    bool Note(const std::string& call, u32 next) {
        calls.push_back(call);
        state = next;
        return true;
    }
    std::vector<std::string> Take() { return std::exchange(calls, {}); }

    PCTexture texture;
    u32 state = kStateClosed;
    std::vector<std::string> calls;
};

struct FakeVideoPlayerScope {
    FakeVideoPlayerScope() {
        AGVideoPlayer::s_implFactory = [] { return static_cast<AGVideoPlayerImpl*>(new FakeVideoPlayer); };
        AGVideoPlayer::SetInstance(new AGVideoPlayer());
        player = static_cast<FakeVideoPlayer*>(AGVideoPlayer::Get()->GetImpl());
    }
    ~FakeVideoPlayerScope() {
        delete AGVideoPlayer::Get();
        AGVideoPlayer::SetInstance(nullptr);
        AGVideoPlayer::s_implFactory = nullptr;
    }
    FakeVideoPlayer* player;
};

// An audio manager whose mixer does nothing, installed as the engine's while its scope lives.
struct SilentAudioScope {
    struct Mixer : AGAudioManagerImpl {
        void Update() override {}
    };
    SilentAudioScope() {
        AGAudioManager::s_implFactory = [] { return static_cast<AGAudioManagerImpl*>(new Mixer); };
        AGAudioManager::SetInstance(new AGAudioManager());
        AGAudioManager::s_implFactory = nullptr;
    }
    ~SilentAudioScope() {
        delete AGAudioManager::Get();
        AGAudioManager::SetInstance(nullptr);
    }
    AGAudioManagerImpl& Impl() const { return *AGAudioManager::Get()->GetImpl(); }
};
