#include "engine/audio/PCAudioSoundImpl.h"

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
#include <thread>

#include "engine/audio/AGAudioStream.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/support/LogCapture.h"

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

TEST_F(SoundTest, ShortSoundEndsOnceRightAfterItsLastFrame) {
    PCAudioSoundImpl sound;
    const auto pcm = OpenOnly(sound, EncodeOggVorbis(MakeTone(300, 5000, 44100, 1, 0.5)));
    sound.Play();
    auto out = Render(4999);
    EXPECT_TRUE(MatchesPcm(out, pcm, 0, 4999) && !sound.Playback().StreamEnded());
    impl->GetEngine()->Render(out.data(), 1);
    EXPECT_TRUE(sound.Playback().StreamEnded() && finished.calls == 0);
    impl->Update();
    EXPECT_EQ(sound.GetState() & (AGAudioPlayerImpl::kPlaying | AGAudioPlayerImpl::kFinished),
              AGAudioPlayerImpl::kFinished);
    Render(4410);
    EXPECT_EQ(finished.calls, 1);
}

TEST_F(SoundTest, NestedManagerPauseRestoresExactlyThePlayingSounds) {
    AddSound("one", EncodeOggVorbis(MakeTone(441, 44100, 44100, 1, 0.3)));
    AddSound("two", EncodeOggVorbis(MakeTone(882, 44100, 44100, 1, 0.3)));
    Mount();
    PCAudioSoundImpl a, stoppedMeanwhile;
    ASSERT_TRUE(a.Open("one.snd") && stoppedMeanwhile.Open("two.snd"));
    a.Play();
    stoppedMeanwhile.Play();
    Render(1000);
    const u64 aPlayed = a.Playback().Voice()->GetState().samplesPlayed;

    impl->Pause();
    impl->Pause();
    stoppedMeanwhile.Stop();
    impl->Resume();
    EXPECT_TRUE(Rms(Render(2000), 0) == 0.0 && a.Playback().Voice()->GetState().samplesPlayed == aPlayed);
    impl->Resume();
    EXPECT_GT(Rms(Render(2000), 0), 0.1);
    EXPECT_EQ(a.GetState() & (AGAudioPlayerImpl::kPlaying | AGAudioPlayerImpl::kPaused), AGAudioPlayerImpl::kPlaying);
    // Stopped during the pause: stays stopped, even through a pause and resume of its own, its
    // voice idle, its buffers in the pool.
    stoppedMeanwhile.Pause(true);
    stoppedMeanwhile.Pause(false);
    EXPECT_TRUE((stoppedMeanwhile.GetState() & AGAudioPlayerImpl::kStopped) &&
                !stoppedMeanwhile.Playback().Voice()->IsRunning());
    EXPECT_EQ(impl->DecodePool().FreeCount(), impl->DecodePool().Count() - 3);
}

TEST_F(SoundTest, PoolExhaustionClosesThePlayerANaNVolumeIsSilenceAndPlayersOutliveTheManager) {
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
    EXPECT_TRUE(!(sounds[5]->GetState() & AGAudioPlayerImpl::kOpen) && log.Contains("buffer for tone.ogg"));
    // One that finds only some of its buffers gives those back.
    sounds[4]->Stop();
    u8* lent = impl->TakeDecodeBuffer();
    sounds[4]->Play();
    EXPECT_EQ(impl->DecodePool().FreeCount(), 2u);
    impl->GiveDecodeBuffer(lent);

    sounds[0]->SetVolume(std::nanf(""));
    sounds[0]->SetCategory(3);  // there are three: refused
    EXPECT_TRUE(sounds[0]->Playback().Voice()->GetVolume() == 0.0f && log.Contains("category 3 does not exist"));

    // The manager goes first: the players are closed and later calls do nothing.
    AGAudioManager* manager = AGAudioManager::Get();
    AGAudioManager::SetInstance(nullptr);
    delete manager;
    EXPECT_EQ(sounds[4]->GetState() & 3u, 0u);
    sounds[4]->Play();
    sounds.clear();
    AGAudioManager::SetInstance(new AGAudioManager());  // for the fixture to delete
}

// Descriptors normalise their data names and hold in-memory data only; bad data fails to open,
// with a report.
TEST_F(SoundTest, DescriptorsNormaliseTheDataNameAndBadDataFailsToOpenWithAReport) {
    AddSound("truncated", EncodeOggVorbis(MakeTone(440, 44100)).substr(0, 200));
    AddSound("garbage", std::string(5000, 'x'));
    AddRaw("missing.snd", authoring::MakeSoundDescriptor("nothere.ogg", false), TypeKey::Sound);
    AddRaw("streamed.snd", authoring::MakeSoundDescriptor("Music\\Theme.ogg", true), TypeKey::Sound);
    const std::string descriptor = authoring::MakeSoundDescriptor("tone.ogg", false);
    AddRaw("cut.snd", descriptor.substr(0, 20), TypeKey::Sound);
    AddRaw("unterminated.snd", descriptor.substr(0, descriptor.size() - 1), TypeKey::Sound);
    AddSound("nine", EncodeOggVorbis(MakeTone(440, 4410, 44100, 9)));  // more channels than a voice takes
    AddRaw("sfx/click.ogg", "OggS-bytes", TypeKey::Data);
    AddRaw("click.snd", authoring::MakeSoundDescriptor("SFX\\Click.OGG", false, 1, 2, 0xFFFFFFFF), TypeKey::Sound);
    AddRaw("blank.snd", authoring::MakeSoundDescriptor("", false), TypeKey::Sound);
    Mount();
    for (const char* name : {"truncated.snd", "garbage.snd", "missing.snd", "streamed.snd", "cut.snd",
                             "unterminated.snd", "unknown.snd", "nine.snd"}) {
        LogCapture log;
        AGAudioSound sound;
        EXPECT_TRUE(!sound.Open(name) && !log.Lines().empty()) << name;
        sound.Play();
        sound.Stop();
        EXPECT_EQ(sound.GetState(), 0u) << name;
        // The descriptor is given back.
        const AGResource* left = AGResourceManager::Get()->GetProvider(TypeKey::Sound)->Find(Crc32Hash(name));
        EXPECT_TRUE(!left || left->RefCount() == 0) << name;
    }
    EXPECT_EQ(impl->DecodePool().FreeCount(), impl->DecodePool().Count());
    PCSound* other = PCSound::Acquire("streamed.snd");  // closed again, a sound gives back nothing more
    AGAudioSound().Open("streamed.snd");
    EXPECT_EQ(other->RefCount(), 1u);
    PCSound::Give(other);

    PCSound* click = PCSound::Acquire("Click.snd");
    EXPECT_EQ(std::make_pair(click->GetParameter(2), click->IsStreamed()), std::make_pair(0xFFFFFFFFu, false));
    EXPECT_STREQ(click->GetDataName().c_str(), "sfx/click.ogg");
    const AGData* data = click->GetData();
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data->Bytes()), data->Size()), "OggS-bytes");
    // A copy takes its own hold on the data and gives it back when it goes.
    std::make_unique<PCSound>(*click).reset();
    EXPECT_EQ(data->RefCount(), 1u);
    // The data is the one held under its name, shared with any other holder.
    AGBaseProvider* dataProvider = AGResourceManager::Get()->GetProvider(TypeKey::Data);
    AGResource* held = GetOrLoadResource(dataProvider, Crc32Hash("sfx/click.ogg"), 0, false, true);
    EXPECT_EQ(held, data);
    dataProvider->Release(held);
    PCSound::Give(click);

    PCSound* music = PCSound::Acquire("streamed.snd");
    EXPECT_TRUE(music->IsStreamed() && !music->GetData() && music->GetParameter(3) == 0u);  // three parameters
    EXPECT_STREQ(music->GetDataName().c_str(), "music/theme.ogg");
    PCSound::Give(music);
    PCSound* blank = PCSound::Acquire("blank.snd");  // names no data: holds none
    EXPECT_EQ(blank->GetData(), nullptr);
    PCSound::Give(blank);
}

namespace {

// The pages of Ogg data: 27 header bytes ending in the segment count, the segment sizes, the body.
std::vector<std::string> OggPages(const std::string& ogg) {
    std::vector<std::string> pages;
    for (size_t at = 0; at + 27 <= ogg.size();) {
        const size_t header = 27 + size_t(u8(ogg[at + 26]));
        size_t size = header;
        for (size_t i = 27; i < header; ++i)
            size += u8(ogg[at + i]);
        pages.push_back(ogg.substr(at, size));
        at += size;
    }
    return pages;
}

// The page with its checksum made right.
std::string Sealed(std::string page) {
    auto* bytes = reinterpret_cast<unsigned char*>(page.data());
    const long header = 27 + bytes[26];
    ogg_page view{bytes, header, bytes + header, long(page.size()) - header};
    ogg_page_checksum_set(&view);
    return page;
}

// Valid Ogg pages around a damaged codebook: the data opens, and decoding fails with an error
// that is not a hole. A byte of the setup header (the second page) is changed and the page's
// checksum made right again, trying positions until one gives that failure.
std::string DamagedOgg() {
    const std::string good = EncodeOggVorbis(MakeTone(440, 44100));
    const std::vector<std::string> pages = OggPages(good);
    const std::string& setup = pages[1];
    const size_t header = 27 + size_t(u8(setup[26]));
    for (size_t at = header + (setup.size() - header) / 4; at < setup.size(); at += 97) {
        std::string page = setup;
        page[at] = char(~page[at]);
        std::string bad = good;
        bad.replace(pages[0].size(), page.size(), Sealed(page));
        long error = 0;
        DecodeOgg(bad, &error);
        if (error < 0)
            return bad;
    }
    return {};
}

// `good` with `count` empty pages in its middle, each skipping a page number: one hole each.
std::string WithHoles(const std::string& good, u32 count) {
    std::vector<std::string> pages = OggPages(good);
    std::string empty = pages[0].substr(0, 27);
    empty[5] = empty[26] = 0;
    std::memset(&empty[6], 0xFF, 8);  // no granule position
    pages.insert(pages.begin() + pages.size() / 2, count, empty);
    std::string out;
    u32 number = 0;
    for (std::string& page : pages) {
        number += page.size() == 27 ? 2 : !out.empty();
        std::memcpy(&page[18], &number, 4);
        out += Sealed(page);
    }
    return out;
}

}  // namespace

// Decoding on from a seek after such an error divides by zero inside the decoder: a damaged
// sound or stream played again must end again, however often.
TEST_F(SoundTest, DamagedDataEndsAgainEachTimeItIsPlayed) {
    const std::string damaged = DamagedOgg();
    ASSERT_FALSE(damaged.empty());
    AddSound("damaged", damaged);
    AddStream("damagedstream", damaged);
    Mount();
    for (const char* name : {"damaged.snd", "damagedstream.snd"}) {
        std::unique_ptr<AGAudioObject> sound(
            std::string(name) == "damaged.snd" ? static_cast<AGAudioObject*>(new AGAudioSound) : new AGAudioStream);
        ASSERT_TRUE(sound->Open(name)) << name;
        int ends = 0;
        sound->SetEndCallback([](void* n) { ++*static_cast<int*>(n); }, &ends);
        for (int play = 1; play <= 3; ++play) {
            LogCapture log;
            sound->Play();
            Render(2205);
            // "decoding <data name> failed"
            EXPECT_TRUE(log.Contains(".ogg failed") && ends == play) << name;
        }
        sound->SetLoop(true);
        sound->Play();
        Render(2205);
        EXPECT_EQ(std::pair(ends, sound->GetState() & 3u), std::pair(4, 1u)) << name;
    }
}

// Data cut midway plays what is there and finishes; a looping sound without samples stops
// instead of spinning; 32 holes in a row, as many as a buffer may skip, are played past.
TEST_F(SoundTest, CutDataPlaysOutAndAnEmptyLoopStops) {
    const std::string good = EncodeOggVorbis(authoring::MakeNoise(88200, 44100, 1, 0.5));
    authoring::Pcm16 empty;
    empty.channels = 1;
    AddSound("cut", good.substr(0, good.size() * 2 / 3));
    AddSound("empty", EncodeOggVorbis(empty));
    AddSound("holes", WithHoles(good, 32));
    AddSound("toomany", WithHoles(good, 33));
    Mount();
    PCAudioSoundImpl cut, loop, holes;
    ASSERT_TRUE(Open(cut, "cut.snd"));
    cut.Play();
    EXPECT_TRUE(Rms(Render(88200), 0, 0) > 0.05 && finished.calls == 1);
    ASSERT_TRUE(Open(loop, "empty.snd"));
    loop.SetLoop(true);
    LogCapture log;
    loop.Play();
    Render(4410);
    EXPECT_TRUE(log.Contains("yields no samples") && finished.calls == 2);
    EXPECT_FALSE(loop.GetState() & AGAudioPlayerImpl::kPlaying);
    ASSERT_TRUE(Open(holes, "holes.snd"));
    holes.Play();
    Render(2 * 88200);
    EXPECT_TRUE(!log.Contains("failed") && finished.calls == 3);
    // One more ends the sound there.
    ASSERT_TRUE(Open(cut, "toomany.snd"));
    cut.Play();
    Render(88200);
    EXPECT_TRUE(log.Contains("failed") && finished.calls == 4);
}

class SoundModes : public SoundTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {
        if (GetParam())
            DecodeAhead(4, 1);
    }
};

// Looping switched on after the end was decoded and queued (ahead, or at Play) goes on from
// the start without a gap; switched off, the buffers queued (two of 32,768 frames after the
// first 5,000) play out and the sound ends at the end of the loop then playing: at 75,000 frames.
TEST_P(SoundModes, LoopSwitchedOnAfterTheEndWasDecodedGoesOnAndOffEndsAtALoopsEnd) {
    PCAudioSoundImpl sound;
    const auto pcm = OpenOnly(sound, EncodeOggVorbis(MakeTone(441, 5000, 44100, 1, 0.6)));
    sound.Play();
    Update();
    sound.SetLoop(true);
    auto out = Render(12000);
    sound.SetLoop(false);
    const auto rest = Render(68000);
    out.insert(out.end(), rest.begin(), rest.end());
    EXPECT_TRUE(MatchesPcm(out, pcm, 0, 75000));
    EXPECT_EQ(std::pair(Rms(out, 0, 75000), finished.calls), std::pair(0.0, 1));
    EXPECT_EQ(impl->DecodePool().FreeCount(), impl->DecodePool().Count());
    // Switched on and off again while the next buffer is decoded ahead, not yet queued: that
    // buffer ends where it went back to the start. Decoded at once, it was queued whole.
    sound.Play();
    sound.SetLoop(true);
    Update();
    sound.SetLoop(false);
    EXPECT_EQ(Rms(Render(20000), 0, 5000) == 0.0, GetParam());
}

// Players stopped, restarted, closed and deleted while the worker decodes for them: every
// buffer goes back to the pool and no job outlives its player (the sanitizer run checks).
TEST_P(SoundModes, StopRestartAndDeleteWhileDecoding) {
    AddSound("noise", EncodeOggVorbis(authoring::MakeNoise(44100 * 2, 44100, 2, 0.5)));
    Mount();
    for (int round = 0; round < 20; ++round) {
        auto a = std::make_unique<PCAudioSoundImpl>();
        auto b = std::make_unique<PCAudioSoundImpl>();
        PCAudioSoundImpl c;
        ASSERT_TRUE(a->Open("noise.snd") && b->Open("noise.snd") && c.Open("noise.snd"));
        a->Play();
        b->Play();
        c.Play();
        impl->Update();
        a->Stop();
        b->Play();
        c.Close();
        b.reset();
        impl->Update();
        a->Play();
        a.reset();
    }
    EXPECT_EQ(impl->DecodePool().FreeCount(), impl->DecodePool().Count());
}

INSTANTIATE_TEST_SUITE_P(Decoding, SoundModes, ::testing::Values(false, true));

// Once Stop returns, the worker no longer writes into the player's buffers: they may be lent
// to another player at once.
TEST_F(SoundTest, StopWaitsForTheDecodeInProgress) {
    DecodeAhead(1, 0);
    AddSound("noise", EncodeOggVorbis(authoring::MakeNoise(44100 * 2, 44100, 2, 0.5)));
    Mount();
    PCAudioSoundImpl sound;
    ASSERT_TRUE(sound.Open("noise.snd"));
    // Each buffer queued sets the worker on the next: after two updates two are queued.
    sound.Play();
    Update();
    Update();
    EXPECT_EQ(sound.Playback().Voice()->GetState().buffersQueued, 2u);
    for (int delay = 0; delay <= 1500; delay += 100) {
        sound.Play();
        std::this_thread::sleep_for(std::chrono::microseconds(delay));
        sound.Stop();
        u8* lent[3];
        for (u8*& b : lent) {
            b = impl->TakeDecodeBuffer();
            ASSERT_NE(b, nullptr);
            std::memset(b, 0x5A, PCAudioManagerImpl::kDecodeBufferSize);
        }
        impl->Decoder()->WaitIdle();
        for (u8* b : lent) {
            for (u32 i = 0; i < PCAudioManagerImpl::kDecodeBufferSize; ++i)
                ASSERT_EQ(b[i], 0x5A) << "delay " << delay << " us, byte " << i;
            impl->GiveDecodeBuffer(b);
        }
    }
}
