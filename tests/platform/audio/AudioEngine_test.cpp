#include "platform/audio/AudioEngine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/ScopedEnv.h"

using namespace platform::audio;

namespace {

constexpr double kPi = 3.14159265358979323846;

WaveFormat Pcm16(uint16_t channels, uint32_t rate) {
    WaveFormat f;
    f.channels = channels;
    f.samplesPerSec = rate;
    f.bitsPerSample = 16;
    f.blockAlign = uint16_t(channels * 2);
    return f;
}

// Interleaved 16-bit sine, the same on every channel, starting at frame startFrame.
std::vector<int16_t> Sine(uint32_t frames, uint16_t channels, double freq, uint32_t rate, double amp,
                          uint32_t startFrame = 0) {
    std::vector<int16_t> out(size_t(frames) * channels);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = int16_t(std::lround(amp * 32767.0 * std::sin(2 * kPi * freq * double(i / channels + startFrame) / rate)));
    return out;
}

AudioBuffer Buffer(const std::vector<int16_t>& data, uintptr_t context = 0, uint32_t flags = 0) {
    AudioBuffer b;
    b.audioData = reinterpret_cast<const uint8_t*>(data.data());
    b.audioBytes = uint32_t(data.size() * 2);
    b.context = reinterpret_cast<void*>(context);
    b.flags = flags;
    return b;
}

double Rms(const std::vector<float>& stereo, int channel) {
    double sum = 0;
    for (size_t i = 0; i < stereo.size() / 2; ++i)
        sum += double(stereo[i * 2 + channel]) * stereo[i * 2 + channel];
    return std::sqrt(sum / double(stereo.size() / 2));
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
    std::vector<float> Render(uint32_t frames) {
        std::vector<float> out(size_t(frames) * 2);
        engine.Render(out.data(), frames);
        return out;
    }
    SourceVoice* Playing(const WaveFormat& format, const std::vector<int16_t>& data) {
        SourceVoice* voice = engine.CreateSourceVoice(format, nullptr);
        voice->SubmitSourceBuffer(Buffer(data));
        voice->Start();
        return voice;
    }
    // The voice reads the data while it plays.
    SourceVoice* Playing(const WaveFormat&, std::vector<int16_t>&&) = delete;

    Engine engine{Engine::Output::Pull};
    MasteringVoice* master = engine.CreateMasteringVoice();
};

TEST_F(PullFixture, MonoToneIsEqualOnBothChannelsAndHalfSubmixVolumeLowersItBySixDecibels) {
    SubmixVoice* submix = engine.CreateSubmixVoice(2, kMixRate);
    auto tone = Sine(44100, 1, 441, 44100, 0.5);
    ASSERT_TRUE(Playing(Pcm16(1, 44100), tone)->SetOutputVoice(submix));
    auto out = Render(22050);
    for (size_t i = 0; i < out.size() / 2; ++i)
        ASSERT_EQ(out[i * 2], out[i * 2 + 1]) << "frame " << i;
    const double full = Rms(out, 0);
    EXPECT_GT(full, 0.3);
    submix->SetVolume(0.5f);
    EXPECT_NEAR(20 * std::log10(Rms(Render(22050), 0) / full), -6.02, 0.1);
}

TEST_F(PullFixture, ResampledSourceKeepsItsFrequency) {
    for (uint32_t rate : {22050u, 11025u, 48000u}) {
        const auto tone = Sine(rate * 2, 1, 1000, rate, 0.5);
        SourceVoice* voice = Playing(Pcm16(1, rate), tone);
        auto out = Render(44100);
        int risingZeroCrossings = 0;
        for (size_t i = 1; i < out.size() / 2; ++i)
            risingZeroCrossings += out[(i - 1) * 2] < 0 && out[i * 2] >= 0;
        EXPECT_NEAR(risingZeroCrossings, 1000, 10) << "rate " << rate;
        voice->DestroyVoice();
    }
}

TEST_F(PullFixture, StreamEndFiresRightAfterTheLastFrame) {
    Recorder rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(2, 44100), &rec);
    auto data = Sine(1000, 2, 440, 44100, 0.5);
    ASSERT_TRUE(voice->SubmitSourceBuffer(Buffer(data, 7, kEndOfStream)));
    voice->Start();
    Render(999);
    EXPECT_EQ(rec.events, Events{"start:7"});
    EXPECT_EQ(voice->GetState().samplesPlayed, 999u);
    auto last = Render(1);
    EXPECT_EQ(rec.events, (Events{"start:7", "end:7", "stream-end"}));
    EXPECT_FLOAT_EQ(last[0], data[999 * 2] / 32768.0f);
    EXPECT_EQ(voice->GetState().buffersQueued, 0u);
    Render(5000);
    EXPECT_EQ(rec.events.size(), 3u);
}

TEST_F(PullFixture, ConsecutiveBuffersJoinWithoutASeam) {
    Recorder rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 22050), &rec);
    // One continuous sine cut into three buffers of odd lengths.
    auto a = Sine(1001, 1, 500, 22050, 0.9, 0);
    auto b = Sine(777, 1, 500, 22050, 0.9, 1001);
    auto c = Sine(3000, 1, 500, 22050, 0.9, 1778);
    voice->SubmitSourceBuffer(Buffer(a, 1));
    voice->SubmitSourceBuffer(Buffer(b, 2));
    voice->SubmitSourceBuffer(Buffer(c, 3, kEndOfStream));
    voice->Start();
    auto out = Render(8000);
    // The largest step of a 500 Hz sine of amplitude 0.9 sampled at 44,100 Hz.
    const double maxStep = 0.9 * 2 * kPi * 500 / 44100 * 1.05;
    for (size_t i = 1; i < out.size() / 2; ++i)
        ASSERT_LE(std::fabs(out[i * 2] - out[(i - 1) * 2]), maxStep) << "frame " << i;
    EXPECT_EQ(rec.events, (Events{"start:1", "end:1", "start:2", "end:2", "start:3"}));
}

TEST_F(PullFixture, LoopingBufferRepeatsAndAnEmptyEndlessLoopEndsAtOnce) {
    Recorder rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), &rec);
    std::vector<int16_t> data = {100, 200, 300};
    AudioBuffer b = Buffer(data, 4, kEndOfStream);
    b.loopCount = 2;
    voice->SubmitSourceBuffer(b);
    voice->Start();
    auto out = Render(12);
    for (int i = 0; i < 9; ++i)
        EXPECT_FLOAT_EQ(out[i * 2], data[i % 3] / 32768.0f);
    EXPECT_FLOAT_EQ(out[9 * 2], 0.0f);
    EXPECT_EQ(rec.events, (Events{"start:4", "loop:4", "loop:4", "end:4", "stream-end"}));

    rec.events.clear();
    AudioBuffer empty;
    empty.flags = kEndOfStream;
    empty.context = reinterpret_cast<void*>(9);
    empty.loopCount = kLoopInfinite;
    ASSERT_TRUE(voice->SubmitSourceBuffer(empty));
    Render(10);
    EXPECT_EQ(rec.events, (Events{"start:9", "end:9", "stream-end"}));
}

TEST_F(PullFixture, StopAndStartContinueAtTheSameFrame) {
    auto data = Sine(5000, 1, 440, 44100, 0.5);
    SourceVoice* voice = Playing(Pcm16(1, 44100), data);
    Render(1234);
    voice->Stop();
    EXPECT_FLOAT_EQ(Rms(Render(800), 0), 0.0);
    EXPECT_EQ(voice->GetState().samplesPlayed, 1234u);
    voice->Start();
    auto out = Render(10);
    for (int i = 0; i < 10; ++i)
        EXPECT_FLOAT_EQ(out[i * 2], data[1234 + i] / 32768.0f);
}

// The buffers of a stopped voice go back to their owner at once and are never read again.
TEST_F(PullFixture, FlushOnStoppedVoiceReleasesEveryBuffer) {
    Recorder rec;
    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(1, 44100), &rec);
    auto data = Sine(2000, 1, 440, 44100, 0.5);
    voice->SubmitSourceBuffer(Buffer(data, 1));
    voice->SubmitSourceBuffer(Buffer(data, 2));
    voice->Start();
    Render(500);
    voice->Stop();
    voice->FlushSourceBuffers();
    EXPECT_EQ(voice->GetState().buffersQueued, 0u);
    EXPECT_EQ(voice->GetState().samplesPlayed, 0u);
    // The ends of the removed buffers come with the next pass, even while stopped.
    EXPECT_FLOAT_EQ(Rms(Render(10), 0), 0.0);
    EXPECT_EQ(rec.events, (Events{"start:1", "end:1", "end:2"}));
    // Restarting plays a new buffer from its first frame.
    auto fresh = Sine(100, 1, 440, 44100, 0.5, 17);
    voice->SubmitSourceBuffer(Buffer(fresh, 3));
    voice->Start();
    EXPECT_FLOAT_EQ(Render(1)[0], fresh[0] / 32768.0f);
}

// A video's audio end: when the last buffer starts, its handler flushes what else is queued
// (the running buffer stays) from inside the mixer.
TEST_F(PullFixture, HandlersMayQueryAndFlushTheirVoiceFromTheMixer) {
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
        voice->SubmitSourceBuffer(Buffer(data, i));
    voice->Start();
    Render(150);
    Render(100);
    EXPECT_EQ(rec.events, (Events{"start:1", "end:1", "start:2", "end:3", "end:2"}));
    EXPECT_EQ(voice->GetState().buffersQueued, 0u);
}

TEST_F(PullFixture, OutputIsClampedAndNanVolumeIsSilence) {
    std::vector<int16_t> loud(200, 30000);
    for (int i = 0; i < 3; ++i)
        Playing(Pcm16(1, 44100), loud);
    for (float s : Render(100))
        ASSERT_EQ(s, 1.0f);
    master->SetVolume(1.5f);
    EXPECT_EQ(master->GetVolume(), 1.0f);
    master->SetVolume(std::nanf(""));
    EXPECT_EQ(master->GetVolume(), 0.0f);
    EXPECT_FLOAT_EQ(Rms(Render(50), 0), 0.0);
}

TEST_F(PullFixture, DestroyingASubmixReroutesItsSourcesToTheMaster) {
    SubmixVoice* submix = engine.CreateSubmixVoice(2, kMixRate);
    const std::vector<int16_t> data(1000, 16384);
    SourceVoice* voice = Playing(Pcm16(1, 44100), data);
    voice->SetOutputVoice(submix);
    submix->SetVolume(0.0f);
    EXPECT_FLOAT_EQ(Render(10)[0], 0.0f);
    submix->DestroyVoice();
    EXPECT_EQ(voice->GetOutputVoice(), master);
    EXPECT_FLOAT_EQ(Render(10)[0], 0.5f);
}

TEST_F(PullFixture, RefusesFormatsAndBuffersItCannotPlay) {
    WaveFormat oddAlign = Pcm16(2, 44100), noChannels = Pcm16(0, 44100), slow = Pcm16(1, 500), deep = Pcm16(1, 44100);
    oddAlign.blockAlign = 3;
    deep.bitsPerSample = 24;
    deep.blockAlign = 3;
    for (const WaveFormat& f : {oddAlign, noChannels, slow, deep})
        EXPECT_EQ(engine.CreateSourceVoice(f, nullptr), nullptr);
    EXPECT_EQ(engine.CreateSubmixVoice(2, 48000), nullptr);
    ASSERT_NE(master, nullptr);
    EXPECT_EQ(engine.CreateMasteringVoice(), nullptr);  // one exists

    SourceVoice* voice = engine.CreateSourceVoice(Pcm16(2, 44100), nullptr);
    std::vector<int16_t> data(10);
    for (uint32_t i = 0; i < kMaxQueuedBuffers; ++i)
        ASSERT_TRUE(voice->SubmitSourceBuffer(Buffer(data)));
    EXPECT_FALSE(voice->SubmitSourceBuffer(Buffer(data)));
    AudioBuffer partialFrame = Buffer(data);
    partialFrame.audioBytes = 6;
    EXPECT_FALSE(engine.CreateSourceVoice(Pcm16(2, 44100), nullptr)->SubmitSourceBuffer(partialFrame));
}

TEST(AudioEngine, FallsBackToTheDummyDriverWithoutADevice) {
    ScopedEnv env;
    env.Set("SDL_AUDIODRIVER", "no-such-driver");
    Engine engine(Engine::Output::Device);
    EXPECT_NE(engine.CreateMasteringVoice(), nullptr) << engine.LastError();
    EXPECT_EQ(engine.DriverName(), "dummy");
}

}  // namespace
