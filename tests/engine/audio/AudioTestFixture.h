#pragma once
// An audio manager on a pulled mixer, the "data" and "sound" providers, and a folder package
// of generated sounds.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/audio/PCAudioManagerImpl.h"
#include "engine/audio/PCOggCallbacks.h"
#include "engine/audio/PCSound.h"
#include "engine/core/AGResourceManager.h"
#include "engine/core/PcDirectory.h"
#include "tests/support/TempDir.h"
#include "tools/authoring/OggVorbisWriter.h"
#include "tools/authoring/PackageWriter.h"

using authoring::EncodeOggVorbis;
using authoring::MakeNoise;
using authoring::MakeTone;

// Decodes to interleaved 16-bit samples, past holes; empty when the data does not open. `end`
// gets how decoding stopped: 0 at the end of the data, an error, or 1 when it did not open.
inline std::vector<int16_t> DecodeOgg(const std::string& ogg, long* end = nullptr) {
    PCMemorySource source{reinterpret_cast<const u8*>(ogg.data()), 0, ogg.size()};
    OggVorbis_File vf;
    std::vector<int16_t> out;
    long got = 1;
    if (ov_open_callbacks(&source, &vf, nullptr, 0, PCMemoryCallbacks()) == 0) {
        char buffer[4096];
        int section = 0;
        const auto* samples = reinterpret_cast<const int16_t*>(buffer);
        while ((got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) > 0 || got == OV_HOLE)
            out.insert(out.end(), samples, samples + std::max(got, 0L) / 2);
        ov_clear(&vf);
    }
    if (end)
        *end = got;
    return out;
}

inline double Rms(const std::vector<float>& stereo, int channel, size_t from = 0) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = from; i < stereo.size() / 2; ++i, ++n)
        sum += double(stereo[i * 2 + channel]) * stereo[i * 2 + channel];
    return n ? std::sqrt(sum / double(n)) : 0.0;
}

// The stereo output against decoded samples from a frame offset, wrapping (a loop): mono
// samples on both channels, stereo ones as they are.
inline ::testing::AssertionResult MatchesPcm(const std::vector<float>& out, const std::vector<int16_t>& pcm,
                                             size_t offset, size_t frames, int channels = 1) {
    for (size_t i = 0; i < frames * 2; ++i) {
        const size_t at = channels == 1 ? offset + i / 2 : offset * 2 + i;
        const float want = pcm[at % pcm.size()] / 32768.0f;
        if (out[i] != want)
            return ::testing::AssertionFailure() << "sample " << i << ": " << out[i] << " vs " << want;
    }
    return ::testing::AssertionSuccess();
}

struct FinishCounter {
    int calls = 0;
    static void Handler(void* owner) { ++static_cast<FinishCounter*>(owner)->calls; }
};

class AudioFixture : public ::testing::Test {
protected:
    AudioFixture() {
        AGResourceManager::SetInstance(&m_resources);
        m_resources.RegisterProvider(new AGProvider<AGData>(TypeKey::Data));
        RegisterSoundProvider(&m_resources);
        m_savedFactory = AGAudioManager::s_implFactory;
        Install([] { return static_cast<AGAudioManagerImpl*>(new PCAudioManagerImpl(Engine::Output::Pull)); });
    }

    ~AudioFixture() override {
        m_package.Unmount();
        delete AGAudioManager::Get();  // a test may have replaced the manager
        AGAudioManager::SetInstance(nullptr);
        AGAudioManager::s_implFactory = m_savedFactory;
        AGResourceManager::SetInstance(nullptr);
    }

    // Replaces the manager with a pulled one whose players decode ahead on its worker, with
    // buffers for `sounds` and `streams` players (none: Initialize is left to the caller).
    void DecodeAhead(u32 sounds = 0, u32 streams = 0) {
        delete AGAudioManager::Get();
        Install([] { return static_cast<AGAudioManagerImpl*>(new PCAudioManagerImpl(Engine::Output::Pull, true)); });
        impl->Initialize(sounds, streams);
    }
    // Publishes a new manager made by the factory (the old one is the caller's to delete).
    void Install(AGAudioManager::ImplFactory factory) {
        AGAudioManager::s_implFactory = factory;
        AGAudioManager::SetInstance(new AGAudioManager());
        impl = static_cast<PCAudioManagerImpl*>(AGAudioManager::Get()->GetImpl());
    }
    // The manager's update, after the worker has filled what was asked of it (as it does
    // within a tick when the machine is not starved), so that the mix is reproducible.
    void Update() {
        if (impl->Decoder())
            impl->Decoder()->WaitIdle();
        impl->Update();
    }

    // Adds an Ogg file and a descriptor "<name>.snd" naming it, held in memory unless streamed
    // (then read from the package's folder).
    void AddSound(const std::string& name, const std::string& ogg, bool streamed = false) {
        m_writer.Add(name + ".ogg", TypeKey::Data, ogg);
        m_writer.Add(name + ".snd", TypeKey::Sound, authoring::MakeSoundDescriptor(name + ".ogg", streamed));
    }
    void AddStream(const std::string& name, const std::string& ogg) { AddSound(name, ogg, true); }
    void AddRaw(const std::string& name, const std::string& bytes, u32 type) { m_writer.Add(name, type, bytes); }
    // Writes the package and mounts it; call after the Add calls.
    void Mount() {
        const std::string mount = dir.Path() + "/Sounds.dir";
        ASSERT_TRUE(m_writer.WriteFolder(mount));
        m_package.Mount(mount.c_str(), false);
    }

    // Renders in ticks of 735 frames (one 60 Hz frame), updating the manager before each.
    std::vector<float> Render(u32 frames, u32 tick = 735) {
        std::vector<float> out(size_t(frames) * 2);
        for (u32 done = 0; done < frames;) {
            Update();
            const u32 n = frames - done < tick ? frames - done : tick;
            impl->GetEngine()->Render(out.data() + size_t(done) * 2, n);
            done += n;
        }
        return out;
    }

    TempDir dir;
    PCAudioManagerImpl* impl = nullptr;

private:
    using Engine = platform::audio::Engine;
    AGResourceManager m_resources;
    AGAudioManager::ImplFactory m_savedFactory = nullptr;
    authoring::PackageWriter m_writer;
    PcDirectory m_package;
};
