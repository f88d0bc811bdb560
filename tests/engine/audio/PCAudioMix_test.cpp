// Eight voices started in one tick, mixed in pull mode: the output and the tick of every end
// callback must equal the values recorded for this mix, so a change to how or when sounds
// are decoded cannot alter a single rendered sample. Decoded ahead on the worker (waited for
// before each update), the mix is the same.
#include <memory>
#include <span>

#include "engine/audio/AGAudioStream.h"
#include "tests/engine/audio/AudioTestFixture.h"

namespace {

constexpr u32 kTick = 735;
constexpr u32 kTicks = 360;  // 6 s

struct Ended {
    std::vector<int> ticks;
    const int* now = nullptr;
    static void Callback(void* self) {
        auto* e = static_cast<Ended*>(self);
        e->ticks.push_back(*e->now);
    }
};

class MixModes : public AudioFixture, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            DecodeAhead();
        impl->Initialize(8, 2);
    }
};

}  // namespace

TEST_P(MixModes, EightVoicesMixExactlyAsRecorded) {
    AddSound("mono", EncodeOggVorbis(MakeTone(440, 66150, 44100, 1, 0.4)));         // three buffers
    AddSound("noise", EncodeOggVorbis(MakeNoise(88200, 44100, 2, 0.3)));           // stereo, 2 s
    AddSound("half", EncodeOggVorbis(MakeTone(1000, 22050, 22050, 1, 0.3)));       // resampled
    AddSound("loop", EncodeOggVorbis(MakeTone(441, 6000, 44100, 1, 0.3)));         // short loop
    AddSound("odd", EncodeOggVorbis(MakeTone(523, 57600, 48000, 2, 0.3)));         // 48 kHz stereo
    AddSound("blip", EncodeOggVorbis(MakeTone(880, 5000, 44100, 1, 0.5)));         // ends first
    AddSound("long", EncodeOggVorbis(MakeTone(330, 40000, 32000, 1, 0.3)));        // loops over buffers
    AddStream("music", EncodeOggVorbis(MakeNoise(44100 * 3, 44100, 2, 0.3), 0.8f));
    Mount();

    const char* names[8] = {"mono.snd", "noise.snd", "half.snd", "loop.snd",
                            "odd.snd",  "blip.snd",  "long.snd", "music.snd"};
    std::vector<std::unique_ptr<AGAudioObject>> voices;
    std::vector<Ended> ended(8);
    int tick = 0;
    for (int i = 0; i < 8; ++i) {
        voices.push_back(i == 7 ? std::unique_ptr<AGAudioObject>(std::make_unique<AGAudioStream>())
                                : std::make_unique<AGAudioSound>());
        voices[i]->SetCategory(u32(i % 3));  // before the voice exists: taken at Open
        EXPECT_TRUE(voices[i]->Open(names[i])) << names[i];
        ended[i].now = &tick;
        voices[i]->SetEndCallback(&Ended::Callback, &ended[i]);
        voices[i]->SetVolume(0.4f + 0.07f * float(i));
    }
    voices[3]->SetLoop(true);
    voices[6]->SetLoop(true);
    for (auto& v : voices)
        v->Play();

    u64 checksum = 0xcbf29ce484222325ull;  // FNV-1a over the bytes of every sample (little-endian)
    std::vector<int> endTicks;  // per voice: the number of end callbacks, then the tick of each
    std::vector<float> out(size_t(kTick) * 2);
    for (tick = 0; tick < int(kTicks); ++tick) {
        switch (tick) {
        case 40: voices[1]->Pause(true); break;
        case 55: voices[1]->Pause(false); break;
        case 70: impl->SetCategoryVolume(0.6f, 2); break;
        case 90: voices[3]->SetLoop(false); break;
        case 120: voices[5]->Play(); break;  // played again after its end
        case 100: voices[6]->SetLoop(false); break;
        case 160: voices[4]->Stop(); break;
        case 170: voices[4]->Play(); break;
        }
        Update();
        impl->GetEngine()->Render(out.data(), kTick);
        for (const u8 byte : std::span(reinterpret_cast<const u8*>(out.data()), out.size() * sizeof(float)))
            checksum = (checksum ^ byte) * 0x100000001b3ull;
    }
    for (int i = 0; i < 8; ++i) {
        endTicks.push_back(int(ended[i].ticks.size()));
        endTicks.insert(endTicks.end(), ended[i].ticks.begin(), ended[i].ticks.end());
    }
    EXPECT_EQ(checksum, 0xc9c74cacb1251ec4ull);
    EXPECT_EQ(endTicks, (std::vector<int>{1, 90, 1, 135, 1, 60, 1, 139, 2, 73, 243, 2, 7, 127, 1, 226, 1, 180}));
}

INSTANTIATE_TEST_SUITE_P(Decoding, MixModes, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "AheadOnWorker" : "OnGameThread"; });
