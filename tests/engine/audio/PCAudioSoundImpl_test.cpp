#include "engine/audio/PCAudioSoundImpl.h"

#include <cmath>
#include <memory>

#include "engine/audio/AGAudioSound.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/support/LogCapture.h"

using authoring::EncodeOggVorbis;
using authoring::MakeTone;

namespace {

class SoundTest : public AudioFixture {
protected:
    SoundTest() { impl->Initialize(4, 1); }
    // Opens with the finish handler counting into `finished`.
    bool Open(PCAudioSoundImpl& sound, const char* name) {
        sound.SetFinishHandler(&FinishCounter::Handler, &finished);
        return sound.Open(name);
    }
    // Mounts a package holding only this sound, opens it and gives its decoded samples.
    std::vector<int16_t> OpenOnly(PCAudioSoundImpl& sound, const std::string& ogg) {
        AddSound("only", ogg);
        Mount();
        EXPECT_TRUE(Open(sound, "only.snd"));
        return DecodeOgg(ogg);
    }
    FinishCounter finished;
};

}  // namespace

TEST_F(SoundTest, CategoryVolumeMonoChannelsAndResampledFrequency) {
    AddSound("a440", EncodeOggVorbis(MakeTone(440, 44100, 44100, 1, 0.5)));
    AddSound("low", EncodeOggVorbis(MakeTone(1000, 22050, 22050, 1, 0.5)));
    Mount();
    AGAudioSound sound;
    ASSERT_TRUE(sound.Open("a440.snd"));
    sound.SetCategory(2);
    sound.Play();
    const auto full = Render(22050);
    impl->SetCategoryVolume(0.5f, 2);
    const auto half = Render(22050);
    EXPECT_NEAR(20 * std::log10(Rms(half, 0) / Rms(full, 0, 4410)), -6.02, 0.1);
    for (size_t i = 0; i < full.size(); i += 2)
        ASSERT_EQ(full[i], full[i + 1]) << "frame " << i / 2;

    // A 22,050 Hz file plays its 1 kHz tone at 1 kHz.
    impl->SetCategoryVolume(1.0f, 2);
    sound.Stop();
    AGAudioSound low;
    ASSERT_TRUE(low.Open("LOW.snd"));  // names are looked up lower-cased
    low.Play();
    const auto out = Render(44100);
    int crossings = 0;
    for (size_t i = 1; i < out.size() / 2; ++i)
        crossings += out[(i - 1) * 2] < 0 && out[i * 2] >= 0;
    EXPECT_NEAR(crossings, 1000, 10);
}

TEST_F(SoundTest, ShortSoundEndsOnceRightAfterItsLastFrame) {
    PCAudioSoundImpl sound;
    const auto pcm = OpenOnly(sound, EncodeOggVorbis(MakeTone(300, 5000, 44100, 1, 0.5)));
    ASSERT_EQ(pcm.size(), 5000u);
    sound.Play();
    // One buffer holds the whole sound and carries the end-of-stream flag.
    EXPECT_TRUE(sound.Playback().EndOfData());
    EXPECT_EQ(sound.Playback().Voice()->GetState().buffersQueued, 1u);

    auto out = Render(4999);
    EXPECT_TRUE(MatchesPcm(out, pcm, 0, 4999));
    EXPECT_FALSE(sound.Playback().StreamEnded());
    EXPECT_EQ(finished.calls, 0);
    impl->GetEngine()->Render(out.data(), 1);
    EXPECT_TRUE(sound.Playback().StreamEnded());
    EXPECT_EQ(finished.calls, 0);
    impl->Update();
    EXPECT_EQ(finished.calls, 1);
    EXPECT_FALSE(sound.GetState() & AGAudioPlayerImpl::kPlaying);
    EXPECT_TRUE(sound.GetState() & AGAudioPlayerImpl::kFinished);
    out = Render(4410);
    EXPECT_EQ(Rms(out, 0), 0.0);
    EXPECT_EQ(finished.calls, 1);
    // The decode buffers are back in the pool.
    EXPECT_EQ(impl->DecodePool().FreeCount(), impl->DecodePool().Count());
}

TEST_F(SoundTest, LoopsSeamlesslyAndRestartsAndResumesAtTheRightSample) {
    // 60 cycles of 441 Hz: a loop whose ends meet.
    PCAudioSoundImpl sound;
    const auto pcm = OpenOnly(sound, EncodeOggVorbis(MakeTone(441, 6000, 44100, 1, 0.6)));
    ASSERT_EQ(pcm.size(), 6000u);
    sound.SetLoop(true);
    sound.Play();
    auto out = Render(3 * 6000 + 100);
    EXPECT_TRUE(MatchesPcm(out, pcm, 0, 3 * 6000 + 100));
    EXPECT_FALSE(sound.Playback().EndOfData());

    sound.Stop();
    sound.Play();
    out = Render(1000);
    EXPECT_TRUE(MatchesPcm(out, pcm, 0, 1000));

    sound.Pause(true);
    out = Render(3000);
    EXPECT_EQ(Rms(out, 0), 0.0);
    sound.Pause(false);
    out = Render(2000);
    EXPECT_TRUE(MatchesPcm(out, pcm, 1000, 2000));
    EXPECT_EQ(finished.calls, 0);

    // Ending the loop lets the sound play out to its end.
    sound.SetLoop(false);
    Render(3 * 65536);
    EXPECT_EQ(finished.calls, 1);
}

TEST_F(SoundTest, NestedManagerPauseRestoresExactlyThePlayingSounds) {
    AddSound("one", EncodeOggVorbis(MakeTone(441, 44100, 44100, 1, 0.3)));
    AddSound("two", EncodeOggVorbis(MakeTone(882, 44100, 44100, 1, 0.3)));
    Mount();
    PCAudioSoundImpl a, b, idle, stoppedMeanwhile;
    ASSERT_TRUE(a.Open("one.snd"));
    ASSERT_TRUE(b.Open("two.snd"));
    ASSERT_TRUE(idle.Open("one.snd"));
    ASSERT_TRUE(stoppedMeanwhile.Open("two.snd"));
    a.Play();
    b.Play();
    stoppedMeanwhile.Play();
    Render(1000);
    const u64 aPlayed = a.Playback().Voice()->GetState().samplesPlayed;

    impl->Pause();
    impl->Pause();
    stoppedMeanwhile.Stop();
    EXPECT_EQ(Rms(Render(2000), 0), 0.0);
    impl->Resume();
    EXPECT_EQ(Rms(Render(2000), 0), 0.0);
    EXPECT_EQ(a.Playback().Voice()->GetState().samplesPlayed, aPlayed);
    impl->Resume();
    EXPECT_GT(Rms(Render(2000), 0), 0.1);
    EXPECT_TRUE(a.GetState() & AGAudioPlayerImpl::kPlaying);
    EXPECT_FALSE(a.GetState() & AGAudioPlayerImpl::kPaused);
    EXPECT_TRUE(b.GetState() & AGAudioPlayerImpl::kPlaying);
    EXPECT_FALSE(idle.GetState() & AGAudioPlayerImpl::kPlaying);
    // Stopped during the pause: stays stopped, its voice idle, its buffers in the pool.
    EXPECT_TRUE(stoppedMeanwhile.GetState() & AGAudioPlayerImpl::kStopped);
    EXPECT_FALSE(stoppedMeanwhile.Playback().Voice()->IsRunning());
    EXPECT_EQ(stoppedMeanwhile.Playback().Voice()->GetState().buffersQueued, 0u);
    EXPECT_EQ(impl->DecodePool().FreeCount(), impl->DecodePool().Count() - 6);
}

TEST_F(SoundTest, PoolExhaustionClosesThePlayerAndANaNVolumeIsSilence) {
    AddSound("tone", EncodeOggVorbis(MakeTone(440, 4410)));
    Mount();
    std::vector<std::unique_ptr<PCAudioSoundImpl>> sounds;
    for (int i = 0; i < 6; ++i) {
        sounds.push_back(std::make_unique<PCAudioSoundImpl>());
        ASSERT_TRUE(sounds.back()->Open("tone.snd"));
    }
    LogCapture log;
    for (auto& s : sounds)
        s->Play();  // 4 sounds + 1 stream: 15 buffers, 5 players
    EXPECT_TRUE(sounds[4]->GetState() & AGAudioPlayerImpl::kPlaying);
    EXPECT_EQ(sounds[5]->GetState() & AGAudioPlayerImpl::kOpen, 0u);
    EXPECT_TRUE(log.Contains("no free decode buffer"));

    sounds[0]->SetVolume(std::nanf(""));
    EXPECT_EQ(sounds[0]->Playback().Voice()->GetVolume(), 0.0f);
}

TEST_F(SoundTest, BadDataFailsToOpenWithAReport) {
    const std::string good = EncodeOggVorbis(MakeTone(440, 44100));
    std::string corrupt = good;
    for (size_t i = 0; i < corrupt.size(); i += 7)
        corrupt[i] = char(corrupt[i] ^ 0x5A);
    AddSound("corrupt", corrupt);
    AddSound("truncated", good.substr(0, 200));
    AddSound("garbage", std::string(5000, 'x'));
    AddRaw("missing.snd", authoring::MakeSoundDescriptor("nothere.ogg", false), TypeKey::Sound);
    AddRaw("streamed.snd", authoring::MakeSoundDescriptor("somefile.ogg", true), TypeKey::Sound);
    const std::string descriptor = authoring::MakeSoundDescriptor("tone.ogg", false);
    AddRaw("cut.snd", descriptor.substr(0, 20), TypeKey::Sound);
    AddRaw("unterminated.snd", descriptor.substr(0, descriptor.size() - 1), TypeKey::Sound);
    Mount();
    for (const char* name : {"corrupt.snd", "truncated.snd", "garbage.snd", "missing.snd", "streamed.snd", "cut.snd",
                             "unterminated.snd", "unknown.snd"}) {
        LogCapture log;
        AGAudioSound sound;
        EXPECT_FALSE(sound.Open(name)) << name;
        EXPECT_FALSE(log.Lines().empty()) << name;
        sound.Play();
        EXPECT_EQ(sound.GetState() & (AGAudioPlayerImpl::kOpen | AGAudioPlayerImpl::kPlaying), 0u) << name;
    }
    EXPECT_EQ(impl->DecodePool().FreeCount(), impl->DecodePool().Count());
}

TEST_F(SoundTest, DataCutMidwayPlaysWhatIsThereAndFinishes) {
    const std::string good = EncodeOggVorbis(authoring::MakeNoise(88200, 44100, 1, 0.5));
    PCAudioSoundImpl sound;
    OpenOnly(sound, good.substr(0, good.size() * 2 / 3));
    sound.Play();
    const auto out = Render(88200);
    EXPECT_GT(Rms(out, 0, 0), 0.05);
    EXPECT_EQ(finished.calls, 1);
}

TEST_F(SoundTest, LoopingSoundWithoutSamplesStopsInsteadOfSpinning) {
    authoring::Pcm16 empty;
    empty.channels = 1;
    PCAudioSoundImpl sound;
    OpenOnly(sound, EncodeOggVorbis(empty));
    ASSERT_TRUE(sound.GetState() & AGAudioPlayerImpl::kOpen);
    sound.SetLoop(true);
    LogCapture log;
    sound.Play();
    Render(4410);
    EXPECT_TRUE(log.Contains("yields no samples"));
    EXPECT_EQ(finished.calls, 1);
    EXPECT_FALSE(sound.GetState() & AGAudioPlayerImpl::kPlaying);
}

TEST_F(SoundTest, PlayersOutliveTheManager) {
    AddSound("tone", EncodeOggVorbis(MakeTone(440, 4410)));
    Mount();
    auto sound = std::make_unique<AGAudioSound>();
    ASSERT_TRUE(sound->Open("tone.snd"));
    sound->Play();
    EXPECT_EQ(sound->GetState() & 3u, 3u);
    // The manager goes first: the player is closed and later calls do nothing.
    AGAudioManager* manager = AGAudioManager::Get();
    AGAudioManager::SetInstance(nullptr);
    delete manager;
    EXPECT_EQ(sound->GetState() & 3u, 0u);
    sound->Play();
    sound.reset();
    AGAudioManager::SetInstance(new AGAudioManager());  // for the fixture to delete
}
