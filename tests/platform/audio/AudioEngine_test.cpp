#include "platform/audio/AudioEngine.h"

#include <SDL2/SDL.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <vector>

#include "platform/core/Clock.h"
#include "tests/support/ScopedEnv.h"

using namespace platform::audio;

// SDL's audio start and device opening go through here (the test links ahead of SDL), failing while asked.
static std::string_view g_audioFails;
extern "C" int SDL_InitSubSystem(Uint32 flags) {
    static const auto next = reinterpret_cast<int (*)(Uint32)>(dlsym(RTLD_NEXT, "SDL_InitSubSystem"));
    return g_audioFails == "start" && (flags & SDL_INIT_AUDIO) ? SDL_SetError("no start") : next(flags);
}
extern "C" SDL_AudioDeviceID SDL_OpenAudioDevice(const char* name, int capture, const SDL_AudioSpec* want,
                                                 SDL_AudioSpec* have, int changes) {
    static const auto next = reinterpret_cast<decltype(&SDL_OpenAudioDevice)>(dlsym(RTLD_NEXT, "SDL_OpenAudioDevice"));
    return g_audioFails == "open" ? (SDL_SetError("no open"), 0u) : next(name, capture, want, have, changes);
}

namespace {

WaveFormat Pcm16(uint16_t channels, uint32_t rate, uint16_t bits = 16) {
    return {kFormatPcm, channels, rate, 0, uint16_t(channels * bits / 8), bits};
}

AudioBuffer Raw(const void* data, size_t bytes, uintptr_t context = 0, uint32_t flags = 0, uint32_t loops = 0) {
    return {flags, uint32_t(bytes), static_cast<const uint8_t*>(data), loops, reinterpret_cast<void*>(context)};
}

AudioBuffer Buffer(const std::vector<int16_t>& data, uintptr_t context = 0, uint32_t flags = 0, uint32_t loops = 0) {
    return Raw(data.data(), data.size() * 2, context, flags, loops);
}

// "<context>:<buffers queued>:<frames played>".
std::string StateOf(const SourceVoice* voice) {
    const VoiceState state = voice->GetState();
    return std::to_string(reinterpret_cast<uintptr_t>(state.currentBufferContext)) + ":" +
           std::to_string(state.buffersQueued) + ":" + std::to_string(state.samplesPlayed);
}

// Records the callbacks as "start:<context>", "end:<context>", "loop:<context>", "stream-end".
struct Recorder : VoiceCallback {
    std::vector<std::string> events;
    void Add(const char* e, void* ctx) { events.push_back(e + std::to_string(reinterpret_cast<uintptr_t>(ctx))); }
    void OnStreamEnd() override { events.push_back("stream-end"); }
    void OnBufferStart(void* c) override { Add("start:", c); }
    void OnBufferEnd(void* c) override { Add("end:", c); }
    void OnLoopEnd(void* c) override { Add("loop:", c); }
};
using Events = std::vector<std::string>;

struct PullFixture : ::testing::Test {
    // Every sample of the output is written, silence included.
    std::vector<float> Render(uint32_t frames) {
        std::vector<float> out(size_t(frames) * 2, 9.0f);
        engine.Render(out.data(), frames);
        return out;
    }
    // A voice started on the buffer, whose data it reads while it plays.
    SourceVoice* Playing(const WaveFormat& format, const AudioBuffer& buffer, VoiceCallback* callback = nullptr) {
        SourceVoice* voice = engine.CreateSourceVoice(format, callback);
        EXPECT_TRUE(voice->SubmitSourceBuffer(buffer));
        voice->Start();
        return voice;
    }

    Engine engine{Engine::Output::Pull};
    MasteringVoice* master = engine.CreateMasteringVoice();
};

// Looping buffers, handlers that query and flush their voice from inside the mixer, volumes
// and stopping.
TEST_F(PullFixture, LoopingBuffersHandlersThatFlushTheirVoiceVolumesAndStopping) {
    Recorder rec;
    const std::vector<int16_t> data = {100, 200, 300}, one = {500};
    SourceVoice* voice = Playing(Pcm16(1, 44100), Buffer(data, 4, kEndOfStream, 2), &rec);
    auto out = Render(12);
    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ(out[i * 2], data[i % 3] / 32768.0f);
    EXPECT_FLOAT_EQ(out[9 * 2], 0.0f);
    EXPECT_EQ(rec.events, (Events{"start:4", "loop:4", "loop:4", "end:4", "stream-end"}));
    // A buffer of one frame loops too.
    rec.events.clear();
    ASSERT_TRUE(voice->SubmitSourceBuffer(Raw(nullptr, 0, 9, kEndOfStream, kLoopInfinite)) &&
                voice->SubmitSourceBuffer(Buffer(one, 5, 0, 2)));
    Render(10);
    EXPECT_EQ(rec.events, (Events{"start:9", "end:9", "stream-end", "start:5", "loop:5", "loop:5", "end:5"}));

    // A video's audio end: when the last buffer starts, its handler flushes what else is queued
    // (the running buffer stays) from inside the mixer.
    struct FlushOnLast : Recorder {
        SourceVoice* voice = nullptr;
        void OnBufferStart(void* c) override {
            Recorder::OnBufferStart(c);
            if (voice->GetState().buffersQueued == 2)
                voice->FlushSourceBuffers();
        }
    } flushing;
    const std::vector<int16_t> hundred(100, 1000);
    SourceVoice* flushed = flushing.voice = Playing(Pcm16(1, 44100), Buffer(hundred, 1), &flushing);
    for (uintptr_t i = 2; i <= 3; ++i)
        flushed->SubmitSourceBuffer(Buffer(hundred, i));
    Render(150);
    Render(100);
    EXPECT_EQ(flushing.events, (Events{"start:1", "end:1", "start:2", "end:3", "end:2"}));
    EXPECT_EQ(StateOf(flushed), "0:0:200");

    // Volumes are clamped to [0, 1] (NaN: 0), the master's included; a stopped voice is silent
    // and keeps its place; flushing it drops every buffer and its place (what is queued next
    // plays from its start), and their ends are told at the next pass although it is stopped,
    // and so are those an end's handler flushes.
    static const std::vector<int16_t> half(100, 16384);
    struct FlushAgainOnFirstEnd : Recorder {
        SourceVoice* voice = nullptr;
        void OnBufferEnd(void* c) override {
            Recorder::OnBufferEnd(c);
            if (events.size() == 2 && voice->SubmitSourceBuffer(Buffer(half, 3)))
                voice->FlushSourceBuffers();
        }
    } again;
    SourceVoice* stopped = again.voice = Playing(Pcm16(1, 44100), Buffer(half, 1), &again);
    stopped->SubmitSourceBuffer(Buffer(half, 2));
    for (auto [volume, clamped] : {std::pair{2.0f, 1.0f}, {-1.0f, 0.0f}, {std::nanf(""), 0.0f}, {0.5f, 0.5f}}) {
        stopped->SetVolume(volume);
        EXPECT_FLOAT_EQ(Render(1)[0], 0.5f * clamped) << volume;
    }
    master->SetVolume(0.5f);
    EXPECT_FLOAT_EQ(Render(1)[1], 0.125f);
    stopped->Stop();
    EXPECT_TRUE(Render(10) == std::vector<float>(20, 0.0f) && StateOf(stopped) == "1:2:5");
    stopped->FlushSourceBuffers();
    EXPECT_EQ(StateOf(stopped), "0:0:0");
    Render(1);
    Render(1);
    EXPECT_EQ(again.events, (Events{"start:1", "end:1", "end:2", "end:3"}));
    static const std::vector<int16_t> fresh = {8192, 0, 0, 0, 0, 0, 0, 0};
    stopped->SubmitSourceBuffer(Buffer(fresh));
    stopped->Start();
    EXPECT_FLOAT_EQ(Render(1)[0], 0.0625f) << "a buffer queued after the flush starts at its first frame";
}

// Submix voices are mixed by processing stage, whatever their order of creation: a chain
// through two of them is heard in the same pass, pass after pass. Destroying one sends what
// went into it to the master; without a master all is silent, until one is made again.
TEST_F(PullFixture, SubmixesAreMixedInStageOrderAndRerouteWhenDestroyed) {
    SubmixVoice* late = engine.CreateSubmixVoice(2, kMixRate, 1);
    SubmixVoice* early = engine.CreateSubmixVoice(2, kMixRate, 0);
    ASSERT_TRUE(early->SetOutputVoice(late));
    const std::vector<int16_t> data(4000, 16384);
    SourceVoice* voice = Playing(Pcm16(1, 44100), Buffer(data));
    voice->SetOutputVoice(early);
    const std::vector<float> out = Render(kPassFrames + 10);
    EXPECT_EQ(std::pair(out[0], out.back()), std::pair(0.5f, 0.5f));
    late->SetVolume(0.0f);
    EXPECT_FLOAT_EQ(Render(10)[0], 0.0f);
    late->DestroyVoice();
    EXPECT_TRUE(early->GetOutputVoice() == master && Render(10)[0] == 0.5f);
    early->DestroyVoice();
    EXPECT_EQ(voice->GetOutputVoice(), master);
    master->DestroyVoice();
    EXPECT_EQ(Render(2), std::vector<float>(4, 0.0f));
    master = engine.CreateMasteringVoice();
    EXPECT_NE(master, nullptr);
}

// A 1 kHz tone at other rates comes out at 1 kHz and the same level, linearly interpolated:
// within the interpolation error A (2 pi f / rate)^2 / 8 of the ideal tone, far below what
// holding samples, a wrong step or a wrong fraction would give. The interpolation reaches
// into the frame that plays next.
TEST_F(PullFixture, ResamplingKeepsAToneItsFrequencyAndLevelAndInterpolatesIntoTheFrameThatPlaysNext) {
    constexpr double kPi = 3.141592653589793, kTone = 1000.0, kLevel = 0.5;
    for (uint32_t rate : {22050u, 32000u, 48000u}) {
        std::vector<int16_t> tone(rate / 5);
        for (size_t i = 0; i < tone.size(); ++i)
            tone[i] = int16_t(std::lround(kLevel * 32768.0 * std::sin(2 * kPi * kTone * double(i) / rate)));
        SourceVoice* voice = Playing(Pcm16(1, rate), Buffer(tone));
        const uint32_t frames = kMixRate / 10;
        const std::vector<float> out = Render(frames);
        const double bound = kLevel * std::pow(2 * kPi * kTone / rate, 2) / 8 + 1e-4;
        double worst = 0, sum = 0;
        for (uint32_t n = 0; n < frames; ++n) {
            const double ideal = kLevel * std::sin(2 * kPi * kTone * n / kMixRate);
            worst = std::max({worst, std::fabs(out[n * 2] - ideal), std::fabs(out[n * 2 + 1] - ideal)});
            sum += double(out[n * 2]) * out[n * 2];
        }
        EXPECT_LT(worst, bound) << rate;
        EXPECT_NEAR(std::sqrt(sum / frames), kLevel / std::sqrt(2.0), 0.005) << rate;
        EXPECT_NEAR(double(voice->GetState().samplesPlayed), rate / 10, 1) << rate;  // the 32.32 step truncates
        voice->DestroyVoice();
    }

    // At half the mix rate every other output frame lies halfway to the next source frame: the
    // first frame of the next buffer with frames, or of the buffer itself when it loops again
    // (endlessly: a loop of kLoopInfinite is never used up).
    const std::vector<int16_t> first = {0}, one = {-16384}, second = {16384, 8192};
    SourceVoice* voice = Playing(Pcm16(1, kMixRate / 2), Buffer(first));
    voice->SubmitSourceBuffer(AudioBuffer{});
    voice->SubmitSourceBuffer(Buffer(one));
    voice->SubmitSourceBuffer(Buffer(second, 0, 0, kLoopInfinite));
    const std::vector<float> out = Render(2 + 4 * 300);
    EXPECT_EQ((std::vector<float>{out[0], out[2], out[4], out[6], out[8], out[10], out[12]}),
              (std::vector<float>{0, -0.25f, -0.5f, 0, 0.5f, 0.375f, 0.25f}));
    EXPECT_EQ(std::pair(out[2 * (4 * 300 - 4)], voice->GetState().buffersQueued), std::pair(0.5f, 1u));
    // A queue run dry starts the next buffer at its first frame, whatever the step.
    voice->DestroyVoice();
    SourceVoice* odd = Playing(Pcm16(1, 32000), Buffer(first));
    Render(3);
    odd->SubmitSourceBuffer(Buffer(second));
    EXPECT_EQ(Render(1)[0], 0.5f);
}

TEST_F(PullFixture, RefusesWhatItCannotPlayAndTakesDefaultAndExplicitOutputMatrices) {
    const WaveFormat oddAlign = {kFormatPcm, 2, 44100, 0, 3, 16};
    const WaveFormat float16 = {kFormatFloat, 1, 44100, 0, 2, 16}, unknownTag = {2, 1, 44100, 0, 2, 16};
    for (const WaveFormat& f : {oddAlign, float16, unknownTag, Pcm16(0, 44100), Pcm16(9, 44100), Pcm16(1, 500),
                                Pcm16(1, 192001), Pcm16(1, 44100, 24)})
        EXPECT_EQ(engine.CreateSourceVoice(f, nullptr), nullptr);
    EXPECT_TRUE(engine.CreateSourceVoice(Pcm16(8, 192000), nullptr) &&
                engine.CreateSourceVoice(Pcm16(1, 1000), nullptr));
    for (auto [channels, rate] : {std::pair{2u, 48000u}, {0u, kMixRate}, {9u, kMixRate}})
        EXPECT_EQ(engine.CreateSubmixVoice(channels, rate), nullptr);
    EXPECT_TRUE(engine.CreateSubmixVoice(8, kMixRate) && !engine.CreateMasteringVoice());  // a master exists

    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(2, 44100), nullptr);
    std::vector<int16_t> data(10);
    for (uint32_t i = 0; i < 64; ++i)
        ASSERT_TRUE(voice->SubmitSourceBuffer(Buffer(data)));
    EXPECT_FALSE(voice->SubmitSourceBuffer(Buffer(data)));
    // Flushed buffers whose end is not yet told still count.
    voice->FlushSourceBuffers();
    EXPECT_FALSE(voice->SubmitSourceBuffer(Buffer(data)));
    Render(1);
    EXPECT_TRUE(voice->SubmitSourceBuffer(Buffer(data)));
    // Told, each end leaves its place for what the end's handler queues: here the buffer again,
    // its context being its frame.
    struct Refill : VoiceCallback {
        SourceVoice* voice = nullptr;
        void OnBufferEnd(void* frame) override { voice->SubmitSourceBuffer(Raw(frame, 4)); }
    } refill;
    SourceVoice* refilled = refill.voice = engine.CreateSourceVoice(Pcm16(2, 44100), &refill);
    for (uint32_t i = 0; i < kMaxQueuedBuffers; ++i)
        refilled->SubmitSourceBuffer(Raw(data.data(), 4, reinterpret_cast<uintptr_t>(data.data())));
    refilled->FlushSourceBuffers();
    Render(1);
    EXPECT_EQ(refilled->GetState().buffersQueued, kMaxQueuedBuffers);
    for (const AudioBuffer& b : {Raw(data.data(), 6), Raw(nullptr, 20)})  // a partial frame, no data
        EXPECT_FALSE(engine.CreateSourceVoice(Pcm16(2, 44100), nullptr)->SubmitSourceBuffer(b));

    // The default routes (mono to every channel, stereo into mono at half each) and the shapes
    // an output matrix must have: the pair's channel counts, for the current destination only.
    SubmixVoice* mono = engine.CreateSubmixVoice(1, kMixRate);
    const std::vector<int16_t> halves = {16384, 8192, 16384, 8192, 16384, 8192};  // 0.5 left, 0.25 right
    SourceVoice* stereo = Playing(Pcm16(2, 44100), Buffer(halves));
    EXPECT_EQ(Render(1), (std::vector<float>{0.5f, 0.25f}));
    ASSERT_TRUE(stereo->SetOutputVoice(mono));
    EXPECT_EQ(Render(1), (std::vector<float>{0.375f, 0.375f}));

    const float leftOnly[2] = {1.0f, 0.0f};
    // The wrong shape, or a voice it does not send to.
    EXPECT_FALSE(stereo->SetOutputMatrix(nullptr, 1, 2, leftOnly) || stereo->SetOutputMatrix(master, 2, 1, leftOnly));
    ASSERT_TRUE(stereo->SetOutputMatrix(mono, 2, 1, leftOnly));
    float got[2] = {};
    ASSERT_TRUE(stereo->GetOutputMatrix(nullptr, 2, 1, got));
    EXPECT_EQ(std::vector<float>(got, got + 2), std::vector<float>(leftOnly, leftOnly + 2));
    EXPECT_FLOAT_EQ(Render(1)[1], 0.5f);
    EXPECT_FALSE(master->SetOutputVoice(mono) || mono->SetOutputVoice(stereo) || mono->SetOutputVoice(mono));
}

// 8-bit and float data at their scales, NaN data silenced.
TEST_F(PullFixture, SampleFormatsAtTheirScalesAndPassStartTellsTheBytesMissing) {
    const uint8_t bytes[3] = {192, 64, 64};
    const float floats[6] = {0.25f, -0.125f, 0.25f, 0.25f, std::nanf(""), std::nanf("")};
    Playing(Pcm16(1, 44100, 8), Raw(bytes, 3));
    Playing({kFormatFloat, 2, 44100, 0, 8, 32}, Raw(floats, 24));
    auto out = Render(3);
    EXPECT_EQ((std::vector{out[0], out[1], out[4]}), (std::vector{0.5f + 0.25f, 0.5f - 0.125f, 0.0f}));  // -0.5 + NaN

    // Before each pass a voice tells how many bytes it will read beyond what is queued: the
    // frames of the pass, plus one to interpolate towards, less what is queued.
    struct Missing : VoiceCallback {
        std::vector<uint32_t> bytes;
        void OnVoiceProcessingPassStart(uint32_t required) override { bytes.push_back(required); }
    } rec;
    // Slots played before (every one of the queue's ring) count for nothing.
    const std::vector<int16_t> frame(2, 0);
    SourceVoice* voice = Playing(Pcm16(2, 44100), Buffer(frame), &rec);
    for (uint32_t i = 1; i < kMaxQueuedBuffers; ++i)
        voice->SubmitSourceBuffer(Buffer(frame));
    Render(kMaxQueuedBuffers + 1);
    rec.bytes.clear();
    const std::vector<int16_t> data(200, 0);  // 100 frames
    voice->SubmitSourceBuffer(Buffer(data));
    Render(40);
    Render(441);
    voice->SubmitSourceBuffer(Buffer(std::vector<int16_t>(2000, 0)));
    EXPECT_EQ(rec.bytes, (std::vector<uint32_t>{0, (441 + 1 - 60) * 4}));
}

namespace {

// The wall-clock ms a voice of the given frames (44.1 kHz) takes to play out and report its end,
// 2000 when it has not by then.
int PlayOutMs(Engine& engine, uint32_t frames) {
    struct Ended : VoiceCallback {
        std::atomic<bool> ended{false};
        void OnStreamEnd() override { ended = true; }
    } callback;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), &callback);
    const std::vector<int16_t> data(frames, 100);
    voice->SubmitSourceBuffer(Buffer(data, 0, kEndOfStream));
    voice->Start();
    int ms = 0;
    for (; ms < 2000 && !callback.ended; ms += 10)
        SDL_Delay(10);
    voice->DestroyVoice();
    return ms;
}

}  // namespace

// The dummy driver, named or fallen back to, pulls the mix in real time (under a clock run fast,
// as fast): a voice plays out and reports its end. The driver choice made for the fallback does
// not outlive the engine.
TEST(AudioEngine, FallsBackToTheDummyDriverWithoutADevice) {
    {
        ScopedEnv env;
        env.Set("SDL_AUDIODRIVER", "dummy");
        platform::ScaledClock fast(16);
        Engine engine(Engine::Output::Device);
        ASSERT_NE(engine.CreateMasteringVoice(), nullptr) << engine.LastError();
        EXPECT_LT(PlayOutMs(engine, 44100), 400) << "a second's sound, played 16 times as fast";
    }
    for (const char* driver : {"no-such-driver", "dummy"}) {
        ScopedEnv env;
        env.Set("SDL_AUDIODRIVER", driver);
        {
            Engine engine(Engine::Output::Device);
            EXPECT_NE(engine.CreateMasteringVoice(), nullptr) << engine.LastError();
            EXPECT_EQ(engine.DriverName(), "dummy");
            // Its device (SDL numbers the first it opens 2) plays: SDL refuses to queue on it for
            // the callback, not for capturing.
            EXPECT_TRUE(SDL_QueueAudio(2, nullptr, 0) && SDL_strstr(SDL_GetError(), "callback")) << SDL_GetError();
            { Engine pull(Engine::Output::Pull); }  // never took the subsystem: leaves it to the other
            EXPECT_LT(PlayOutMs(engine, 441), 2000);
        }
        EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u) << "the audio subsystem is released with the engine";
        EXPECT_STREQ(SDL_GetHint(SDL_HINT_AUDIODRIVER), driver);
    }
    // Without even the dummy driver there is no mastering voice, both reasons are told and the
    // subsystem is released; Render in device mode only fills silence.
    for (std::string_view step : {"start", "open"}) {
        g_audioFails = step;
        Engine engine(Engine::Output::Device);
        EXPECT_TRUE(engine.CreateMasteringVoice() == nullptr && SDL_WasInit(SDL_INIT_AUDIO) == 0) << step;
        EXPECT_EQ(engine.LastError(), "no " + std::string(step) + "; dummy driver: no " + std::string(step));
        std::vector<float> out(4, 9.0f);
        engine.Render(out.data(), 2);
        EXPECT_EQ(out, std::vector<float>(4, 0.0f));
    }
    g_audioFails = {};
}

}  // namespace
