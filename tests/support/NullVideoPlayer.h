#pragma once
// A video player that plays nothing, for tests that only need one installed; derive and
// override the calls a test watches.
#include "engine/core/AGVideoPlayer.h"

struct NullVideoPlayer : AGVideoPlayerImpl {
    void Update() override {}
    bool Open(const char*) override { return false; }
    void Play(bool) override {}
    void Pause() override {}
    void Stop() override {}
    void Resume() override {}
    void Seek(f32) override {}
    f32 GetPosition() const override { return 0.0f; }
    void SetVolume(f32) override {}
    void Rewind() override {}
    PCTexture* GetTexture() override { return nullptr; }
    void DrawFullScreen() override {}
    u32 GetState() const override { return kStateClosed; }
};
