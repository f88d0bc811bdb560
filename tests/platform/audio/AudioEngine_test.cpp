#include "platform/audio/AudioEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using namespace platform::audio;

namespace {

constexpr double kPi = 3.14159265358979323846;

WaveFormat Pcm16(uint16_t channels, uint32_t rate) {
    WaveFormat f;
    f.formatTag = kFormatPcm;
    f.channels = channels;
    f.samplesPerSec = rate;
    f.bitsPerSample = 16;
    f.blockAlign = uint16_t(channels * 2);
    f.avgBytesPerSec = rate * f.blockAlign;
    return f;
}

// Interleaved 16-bit sine of `frames` frames; channel c gets amplitude amp / (c + 1).
std::vector<int16_t> Sine(uint32_t frames, uint16_t channels, double freq, uint32_t rate, double amp,
                          uint32_t startFrame = 0) {
    std::vector<int16_t> out(size_t(frames) * channels);
    for (uint32_t i = 0; i < frames; ++i)
        for (uint16_t c = 0; c < channels; ++c)
            out[size_t(i) * channels + c] =
                int16_t(std::lround(amp / (c + 1) * 32767.0 * std::sin(2 * kPi * freq * (i + startFrame) / rate)));
    return out;
}

AudioBuffer Buffer(const std::vector<int16_t>& data, void* context = nullptr, uint32_t flags = 0) {
    AudioBuffer b;
    b.audioData = reinterpret_cast<const uint8_t*>(data.data());
    b.audioBytes = uint32_t(data.size() * 2);
    b.context = context;
    b.flags = flags;
    return b;
}

std::vector<float> Render(Engine& engine, uint32_t frames) {
    std::vector<float> out(size_t(frames) * 2);
    engine.Render(out.data(), frames);
    return out;
}

double Rms(const std::vector<float>& stereo, int channel, size_t skipFrames = 0) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = skipFrames; i < stereo.size() / 2; ++i, ++n)
        sum += double(stereo[i * 2 + channel]) * stereo[i * 2 + channel];
    return std::sqrt(sum / double(n));
}

// Records callbacks with the number of frames rendered when each fired.
struct Recorder : VoiceCallback {
    std::vector<std::string> events;
    uint64_t* renderedFrames = nullptr;
    void Add(const std::string& e, void* ctx) {
        events.push_back(e + ":" + std::to_string(reinterpret_cast<uintptr_t>(ctx)));
    }
    void OnStreamEnd() override { events.push_back("stream-end"); }
    void OnBufferStart(void* c) override { Add("start", c); }
    void OnBufferEnd(void* c) override { Add("end", c); }
    void OnLoopEnd(void* c) override { Add("loop", c); }
    size_t Count(const std::string& e) const {
        size_t n = 0;
        for (const auto& x : events)
            n += x == e;
        return n;
    }
};

void* Ctx(uintptr_t v) { return reinterpret_cast<void*>(v); }

struct PullFixture : ::testing::Test {
    Engine engine{Engine::Output::Pull};
    MasteringVoice* master = engine.CreateMasteringVoice();
};

}  // namespace

TEST_F(PullFixture, SubmixVolumeHalfLowersLevelBySixDecibels) {
    SubmixVoice* submix = engine.CreateSubmixVoice(2, kMixRate);
    ASSERT_NE(submix, nullptr);
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), nullptr);
    ASSERT_TRUE(voice->SetOutputVoice(submix));
    auto tone = Sine(44100, 1, 441, 44100, 0.5);
    voice->SubmitSourceBuffer(Buffer(tone));
    voice->Start();
    double full = Rms(Render(engine, 22050), 0);
    submix->SetVolume(0.5f);
    double half = Rms(Render(engine, 22050), 0);
    EXPECT_NEAR(20 * std::log10(half / full), -6.02, 0.1);
}

TEST_F(PullFixture, MonoSourceIsIdenticalOnBothChannels) {
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 32000), nullptr);
    auto tone = Sine(8000, 1, 300, 32000, 0.7);
    voice->SubmitSourceBuffer(Buffer(tone));
    voice->Start();
    auto out = Render(engine, 10000);
    double energy = 0;
    for (size_t i = 0; i < out.size() / 2; ++i) {
        ASSERT_EQ(out[i * 2], out[i * 2 + 1]) << "frame " << i;
        energy += std::fabs(out[i * 2]);
    }
    EXPECT_GT(energy, 100.0);
}

TEST_F(PullFixture, ResampledSourceKeepsItsFrequency) {
    for (uint32_t rate : {22050u, 11025u, 48000u}) {
        SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, rate), nullptr);
        auto tone = Sine(rate * 2, 1, 1000, rate, 0.5);
        voice->SubmitSourceBuffer(Buffer(tone));
        voice->Start();
        auto out = Render(engine, 44100);
        // Count rising zero crossings over one second of output.
        int crossings = 0;
        for (size_t i = 1; i < out.size() / 2; ++i)
            crossings += out[(i - 1) * 2] < 0 && out[i * 2] >= 0;
        EXPECT_NEAR(crossings, 1000, 10) << "rate " << rate;
        voice->DestroyVoice();
    }
}

TEST_F(PullFixture, LinearInterpolationBetweenSourceFrames) {
    // 22,050 Hz doubles every frame: output frames alternate source frames and midpoints.
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 22050), nullptr);
    std::vector<int16_t> ramp = {0, 8192, 16384, 0};
    voice->SubmitSourceBuffer(Buffer(ramp));
    voice->Start();
    auto out = Render(engine, 6);
    const float q = 8192.0f / 32768.0f;
    EXPECT_FLOAT_EQ(out[0], 0);
    EXPECT_FLOAT_EQ(out[2], q / 2);
    EXPECT_FLOAT_EQ(out[4], q);
    EXPECT_FLOAT_EQ(out[6], 1.5f * q);
    EXPECT_FLOAT_EQ(out[8], 2 * q);
    EXPECT_FLOAT_EQ(out[10], q);
}

TEST_F(PullFixture, StreamEndFiresRightAfterTheLastFrame) {
    Recorder rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(2, 44100), &rec);
    auto data = Sine(1000, 2, 440, 44100, 0.5);
    ASSERT_TRUE(voice->SubmitSourceBuffer(Buffer(data, Ctx(7), kEndOfStream)));
    EXPECT_EQ(voice->GetState().buffersQueued, 1u);
    EXPECT_EQ(voice->GetState().currentBufferContext, Ctx(7));
    Render(engine, 100);  // not started: nothing happens
    EXPECT_TRUE(rec.events.empty());
    voice->Start();
    Render(engine, 999);
    EXPECT_EQ(rec.events, std::vector<std::string>{"start:7"});
    EXPECT_EQ(voice->GetState().samplesPlayed, 999u);
    auto last = Render(engine, 1);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"start:7", "end:7", "stream-end"}));
    EXPECT_FLOAT_EQ(last[0], data[999 * 2] / 32768.0f);
    EXPECT_EQ(voice->GetState().buffersQueued, 0u);
    EXPECT_EQ(voice->GetState().currentBufferContext, nullptr);
    Render(engine, 5000);
    EXPECT_EQ(rec.Count("stream-end"), 1u);
}

TEST_F(PullFixture, ConsecutiveBuffersJoinWithoutASeam) {
    Recorder rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 22050), &rec);
    // One continuous sine cut into three buffers of odd lengths.
    auto a = Sine(1001, 1, 500, 22050, 0.9, 0);
    auto b = Sine(777, 1, 500, 22050, 0.9, 1001);
    auto c = Sine(3000, 1, 500, 22050, 0.9, 1778);
    voice->SubmitSourceBuffer(Buffer(a, Ctx(1)));
    voice->SubmitSourceBuffer(Buffer(b, Ctx(2)));
    voice->SubmitSourceBuffer(Buffer(c, Ctx(3), kEndOfStream));
    voice->Start();
    auto out = Render(engine, 2 * 4000);
    // The largest step of a 500 Hz sine of amplitude 0.9 sampled at 44,100 Hz.
    const double maxStep = 0.9 * 2 * kPi * 500 / 44100 * 1.05;
    for (size_t i = 1; i < 2 * 4778 - 2 && i < out.size() / 2; ++i)
        ASSERT_LE(std::fabs(out[i * 2] - out[(i - 1) * 2]), maxStep) << "frame " << i;
    EXPECT_EQ(rec.events, (std::vector<std::string>{"start:1", "end:1", "start:2", "end:2", "start:3"}));
}

TEST_F(PullFixture, QueueHoldsAtMost64Buffers) {
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), nullptr);
    std::vector<int16_t> data(10);
    for (int i = 0; i < 64; ++i)
        ASSERT_TRUE(voice->SubmitSourceBuffer(Buffer(data)));
    EXPECT_FALSE(voice->SubmitSourceBuffer(Buffer(data)));
    EXPECT_EQ(voice->GetState().buffersQueued, 64u);
    // A partial frame is refused.
    SourceVoice* stereo = engine.CreateSourceVoice(Pcm16(2, 44100), nullptr);
    AudioBuffer odd = Buffer(data);
    odd.audioBytes = 6;
    EXPECT_FALSE(stereo->SubmitSourceBuffer(odd));
}

TEST_F(PullFixture, FlushOnStoppedVoiceReleasesEveryBuffer) {
    Recorder rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), &rec);
    auto data = Sine(2000, 1, 440, 44100, 0.5);
    voice->SubmitSourceBuffer(Buffer(data, Ctx(1)));
    voice->SubmitSourceBuffer(Buffer(data, Ctx(2)));
    voice->Start();
    Render(engine, 500);
    voice->Stop();
    voice->FlushSourceBuffers();
    VoiceState state = voice->GetState();
    EXPECT_EQ(state.buffersQueued, 0u);
    EXPECT_EQ(state.samplesPlayed, 0u);
    // The ends of the removed buffers come with the next pass, even while stopped.
    auto out = Render(engine, 10);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"start:1", "end:1", "end:2"}));
    EXPECT_FLOAT_EQ(Rms(out, 0), 0.0);
    // Restarting plays a new buffer from its first frame.
    auto fresh = Sine(100, 1, 440, 44100, 0.5, 17);
    voice->SubmitSourceBuffer(Buffer(fresh, Ctx(3)));
    voice->Start();
    out = Render(engine, 1);
    EXPECT_FLOAT_EQ(out[0], fresh[0] / 32768.0f);
}

TEST_F(PullFixture, FlushOnRunningVoiceKeepsTheCurrentBuffer) {
    Recorder rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), &rec);
    auto data = Sine(1000, 1, 440, 44100, 0.5);
    voice->SubmitSourceBuffer(Buffer(data, Ctx(1)));
    voice->SubmitSourceBuffer(Buffer(data, Ctx(2)));
    voice->SubmitSourceBuffer(Buffer(data, Ctx(3)));
    voice->Start();
    Render(engine, 200);
    voice->FlushSourceBuffers();
    EXPECT_EQ(voice->GetState().buffersQueued, 1u);
    EXPECT_EQ(voice->GetState().currentBufferContext, Ctx(1));
    Render(engine, 1000);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"start:1", "end:2", "end:3", "end:1"}));
}

TEST_F(PullFixture, StopAndStartContinueAtTheSameFrame) {
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), nullptr);
    auto data = Sine(5000, 1, 440, 44100, 0.5);
    voice->SubmitSourceBuffer(Buffer(data));
    voice->Start();
    Render(engine, 1234);
    voice->Stop();
    auto silent = Render(engine, 800);
    EXPECT_FLOAT_EQ(Rms(silent, 0), 0.0);
    EXPECT_EQ(voice->GetState().samplesPlayed, 1234u);
    voice->Start();
    auto out = Render(engine, 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_FLOAT_EQ(out[i * 2], data[1234 + i] / 32768.0f);
}

TEST_F(PullFixture, LoopingBufferRepeatsAndReportsEachLoop) {
    Recorder rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), &rec);
    std::vector<int16_t> data = {100, 200, 300};
    AudioBuffer b = Buffer(data, Ctx(4), kEndOfStream);
    b.loopCount = 2;
    voice->SubmitSourceBuffer(b);
    voice->Start();
    auto out = Render(engine, 12);
    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ(out[i * 2], data[i % 3] / 32768.0f);
    EXPECT_FLOAT_EQ(out[9 * 2], 0.0f);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"start:4", "loop:4", "loop:4", "end:4", "stream-end"}));
}

TEST_F(PullFixture, EmptyEndOfStreamBufferEndsTheStream) {
    Recorder rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), &rec);
    AudioBuffer empty;
    empty.flags = kEndOfStream;
    empty.context = Ctx(9);
    AudioBuffer b = empty;
    b.loopCount = kLoopInfinite;  // must not spin
    ASSERT_TRUE(voice->SubmitSourceBuffer(b));
    voice->Start();
    Render(engine, 10);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"start:9", "end:9", "stream-end"}));
}

TEST_F(PullFixture, OutputIsClampedAndVolumesAreBounded) {
    std::vector<int16_t> loud(200, 30000);
    for (int i = 0; i < 3; ++i) {
        SourceVoice* v = engine.CreateSourceVoice(Pcm16(1, 44100), nullptr);
        v->SubmitSourceBuffer(Buffer(loud));
        v->Start();
    }
    auto out = Render(engine, 100);
    for (float s : out)
        ASSERT_EQ(s, 1.0f);

    master->SetVolume(-0.5f);
    EXPECT_EQ(master->GetVolume(), 0.0f);
    master->SetVolume(1.5f);
    EXPECT_EQ(master->GetVolume(), 1.0f);
    master->SetVolume(std::nanf(""));
    EXPECT_EQ(master->GetVolume(), 0.0f);
    out = Render(engine, 50);
    EXPECT_FLOAT_EQ(Rms(out, 0), 0.0);
}

TEST_F(PullFixture, OutputMatrixRoutesChannels) {
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(2, 44100), nullptr);
    std::vector<int16_t> data;
    for (int i = 0; i < 100; ++i) {
        data.push_back(8192);    // left
        data.push_back(-16384);  // right
    }
    const float swap[4] = {0, 1, 0.5f, 0};  // out L = in R, out R = in L / 2
    ASSERT_TRUE(voice->SetOutputMatrix(nullptr, 2, 2, swap));
    EXPECT_FALSE(voice->SetOutputMatrix(nullptr, 1, 2, swap));
    float read[4];
    ASSERT_TRUE(voice->GetOutputMatrix(master, 2, 2, read));
    EXPECT_EQ(read[1], 1.0f);
    voice->SubmitSourceBuffer(Buffer(data));
    voice->Start();
    auto out = Render(engine, 10);
    EXPECT_FLOAT_EQ(out[0], -0.5f);
    EXPECT_FLOAT_EQ(out[1], 0.125f);
}

TEST_F(PullFixture, DestroyingASubmixReroutesItsSourcesToTheMaster) {
    SubmixVoice* submix = engine.CreateSubmixVoice(2, kMixRate);
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), nullptr);
    voice->SetOutputVoice(submix);
    EXPECT_EQ(voice->GetOutputVoice(), submix);
    submix->SetVolume(0.0f);
    std::vector<int16_t> data(1000, 16384);
    voice->SubmitSourceBuffer(Buffer(data));
    voice->Start();
    EXPECT_FLOAT_EQ(Render(engine, 10)[0], 0.0f);
    submix->DestroyVoice();
    EXPECT_EQ(voice->GetOutputVoice(), master);
    EXPECT_FLOAT_EQ(Render(engine, 10)[0], 0.5f);
}

TEST(AudioEngine, RejectsUnsupportedFormats) {
    Engine engine(Engine::Output::Pull);
    WaveFormat f = Pcm16(2, 44100);
    f.blockAlign = 3;
    EXPECT_EQ(engine.CreateSourceVoice(f, nullptr), nullptr);
    f = Pcm16(0, 44100);
    EXPECT_EQ(engine.CreateSourceVoice(f, nullptr), nullptr);
    f = Pcm16(1, 500);
    EXPECT_EQ(engine.CreateSourceVoice(f, nullptr), nullptr);
    f = Pcm16(1, 44100);
    f.bitsPerSample = 24;
    f.blockAlign = 3;
    EXPECT_EQ(engine.CreateSourceVoice(f, nullptr), nullptr);
    EXPECT_EQ(engine.CreateSubmixVoice(2, 48000), nullptr);
    EXPECT_NE(engine.CreateMasteringVoice(), nullptr);
    EXPECT_EQ(engine.CreateMasteringVoice(), nullptr);
}

TEST(AudioEngine, FallsBackToTheDummyDriverWithoutADevice) {
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    std::string keep = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        Engine engine(Engine::Output::Device);
        EXPECT_NE(engine.CreateMasteringVoice(), nullptr) << engine.LastError();
        EXPECT_EQ(engine.DriverName(), "dummy");
    }
    if (saved)
        setenv("SDL_AUDIODRIVER", keep.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}

TEST_F(PullFixture, HandlersMayQueryAndFlushTheirVoiceFromTheMixer) {
    // A video's audio end: when the last buffer starts, flush whatever else is queued.
    struct FlushOnLast : Recorder {
        SourceVoice* voice = nullptr;
        void OnBufferStart(void* c) override {
            Recorder::OnBufferStart(c);
            if (voice->GetState().buffersQueued == 2)
                voice->FlushSourceBuffers();
        }
    } rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), &rec);
    rec.voice = voice;
    std::vector<int16_t> data(100, 1000);
    for (uintptr_t i = 1; i <= 3; ++i)
        voice->SubmitSourceBuffer(Buffer(data, Ctx(i)));
    voice->Start();
    Render(engine, 150);
    Render(engine, 100);
    EXPECT_EQ(rec.events, (std::vector<std::string>{"start:1", "end:1", "start:2", "end:3", "end:2"}));
    EXPECT_EQ(voice->GetState().buffersQueued, 0u);
}
