#include "game/presentation/AudioManagerQZ.h"

#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/AudioSequencerQZ.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/RenderableModelData.h"
#include "gameshow/SequenceManager.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/game/rules/MatchStage.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/LogCapture.h"

using QZ2011::AudioManagerQZ;
using Audio = GameServices::Bridge::AudioProcessingSystem;
using M = AudioManagerQZ;

namespace {

constexpr u32 kToneFrames = 4410;  // 100 ms
constexpr int Mu = M::kMusic, Vo = M::kVoice, Sx = M::kSfx;
const char* const kCrowdSounds[] = {"CrowdNoise", "CrowdLose", "CrowdMedium", "CrowdLoud"};

// One cue as the show defines it, reached by the event named as its sound (without ".snd")
// unless another event or, for cues only the screens call, its operation is given. Flags:
// S streamed, L looped, C stops its category first, H holds the sequence.
struct CueCase {
    std::string sound;
    u32 variants;
    int category;
    std::string flags;
    const char* event = nullptr;
    void (M::*op)() = nullptr;
    bool Has(char flag) const { return flags.find(flag) != std::string::npos; }
};
const CueCase kCues[] = {
    {"music_intro.snd", 0, Mu, "S---"},         {"intro.snd", 0, Vo, "--CH"},
    {"family1intro", 3, Vo, "--CH"},            {"round1", 3, Vo, "S-CH"},
    {"round2", 3, Vo, "S-CH"},                  {"faceoff", 6, Vo, "---H"},
    {"20kwin.snd", 0, Vo, "--C-"},              {"normalwin.snd", 0, Vo, "S-C-"},
    {"fastmoneypart1.snd", 0, Vo, "S-CH"},      {"answer", 7, Vo, "--CH"},
    {"answerreveal", 11, Vo, "--CH"},           {"sfx_podiumbuzzer.snd", 0, Sx, "--CH"},
    {"sfx_strike.snd", 0, Sx, "--C-"},          {"revealothers", 5, Vo, "--CH"},
    {"roundsuddendeath", 3, Vo, "S-CH"},        {"music_endround.snd", 0, Mu, "--C-"},
    {"Music_Countdown.loop.snd", 0, Mu, "SL--"},
    {"revealothersA.snd", 0, Vo, "--C-", "fmrevealothers"},
    {"SFX_FM_Reveal.snd", 0, Sx, "--C-", "sfx_fmreveal"},
    {"SFX_FM_DupeAnswer.snd", 0, Sx, "--C-", nullptr, &M::PlayFastMoneyDupeAnswer},
    {"SFX_FM_Result0.snd", 0, Sx, "--C-", nullptr, &M::PlayFastMoneyResultZero},
    {"FaceOffBetterAnswer", 5, Vo, "--CH", nullptr, &M::PlayFaceOffBetterAnswer},  // a last answer, no winner
};

// With the numbered lines.
std::vector<CueCase> AllCues() {
    std::vector<CueCase> cues(std::begin(kCues), std::end(kCues));
    for (int i = 1; i <= 8; ++i) {
        const std::string n = std::to_string(i);
        if (i <= 5)
            cues.push_back({"fastmoneyreveal" + n + ".snd", 0, Vo, i == 4 ? "----" : "--C-"});
        cues.push_back({"faceoffquestion" + n + ".snd", 0, Vo, i == 1 ? "---H" : "--CH"});
        cues.push_back({"revealother" + n + ".snd", 0, Vo, "---H"});
    }
    return cues;
}

// The game audio bound to a level Set and the show's sequence manager, on the pulled mixer,
// with a 100 ms tone under every sound name of the show.
class GameAudio : public AudioFixture {
protected:
    GameAudio() {
        AddRaw("tone.ogg", authoring::EncodeOggVorbis(authoring::MakeTone(440, kToneFrames)), TypeKey::Data);
        auto sound = [&](std::string name, bool streamed, const char* data = "tone.ogg") {
            for (char& c : name)
                c = char(std::tolower(static_cast<unsigned char>(c)));
            AddRaw(name, authoring::MakeSoundDescriptor(data, streamed), TypeKey::Sound);
        };
        for (const CueCase& cue : AllCues())
            for (u32 v = 0; v < std::max(cue.variants, 1u); ++v)
                sound(cue.variants ? cue.sound + char('A' + v) + ".snd" : cue.sound, cue.Has('S'));
        for (const char* name : {"crowd_noise", "crowd_lose", "crowd_medium", "crowd_loud", "prev"})
            sound(std::string(name) + ".snd", false);
        sound("q1.snd", true);
        sound("empty.snd", false, "empty.ogg");
        sound("corrupt.snd", false, "corrupt.ogg");
        AddRaw("empty.ogg", "", TypeKey::Data);
        AddRaw("corrupt.ogg", "OggS but nothing after", TypeKey::Data);
        Mount();
        LoadCapacities(params, {{"FactoryAudioAsset", 24}});
        GameServices::Entities::GameAudioAssetFactory::Instance()->RegisterAudioAssetFactory();
        Audio::Initialize(&set);
        sequences.RegisterSequencer(Crc32Hash("AudioSequencer"), &sequencer);
        sequences.SetEnabled(true);
        sequences.LoadSequence("show", dir.Write("show.xml", match_stage::SequenceFile(1000, true)).c_str());
        audio.onInitialize(&sequences, &set);
        sequencer.onInitialize(&audio);
    }
    ~GameAudio() override {
        audio.onRelease();
        Audio::Cleanup(&set);
        set.Clear();
    }
    void Event(const char* name, const std::string& target, const char* parameter = "") {
        sequencer.onSequenceEvent(name, target.c_str(), parameter);
    }
    GameServices::Entities::AudioAsset* Asset(const char* name) { return set.FindAudioAsset(name); }
    bool Playing(const char* name) { return Asset(name) && Audio::IsPlaying(&set, name); }
    f32 Volume(const char* name) { return Audio::GetVolume(&set, name); }
    void Step(u32 ms) { context.UpdateWorld(ms); }

    TempDir params;
    QZ2011GameContext context;
    GameServices::Entities::Set set{"level"};
    GameShow::SequenceManager sequences;
    QZ2011::AudioSequencerQZ sequencer;
    AudioManagerQZ audio;
};

TEST_F(GameAudio, EachCueCutsOrKeepsItsCategory) {
    GameServices::Bridge::SeedRandom(1, 2, 3, 4);
    context.m_LastAnswerIndex = 0;
    for (const CueCase& cue : AllCues()) {
        SCOPED_TRACE(cue.sound);
        std::set<char> letters;
        for (u32 draw = 0; draw < (cue.variants ? 8 * cue.variants : 1); ++draw) {
            audio.PlayCue("prev.snd", cue.category, false, false, false);
            if (cue.op)
                (audio.*cue.op)();
            else
                Event("Play", cue.event ? cue.event : cue.sound.substr(0, cue.sound.size() - (cue.variants ? 0 : 4)));
            Audio::Update(&set);  // the level's audio step of the same frame
            const GameServices::Entities::AudioAsset* asset = set.m_AudioAssets.back();
            const std::string name = asset->Name.c_str();
            const size_t base = cue.sound.size() - (cue.variants ? 0 : 4);
            ASSERT_EQ(name.size(), base + (cue.variants ? 5 : 4));
            EXPECT_EQ(name.substr(0, base) + name.substr(name.size() - 4), cue.variants ? cue.sound + ".snd" : cue.sound);
            letters.insert(cue.variants ? name[base] : 'A');
            EXPECT_EQ(strcasecmp(asset->VolatileDatas.GetAudioData()->m_FileName.c_str(), name.c_str()), 0);
            EXPECT_TRUE(asset->m_Volume == 1.0f && asset->m_Streamed == cue.Has('S') && asset->m_Looped == cue.Has('L'));
            EXPECT_EQ(Audio::GetEngineSound(*asset)->GetPlayer()->GetCategory(), u32(cue.category));
            const auto prev = std::count_if(set.m_AudioAssets.begin(), set.m_AudioAssets.end(),
                                            [](auto* a) { return a->Name == "prev.snd"; });
            EXPECT_TRUE(Playing(name.c_str()) && prev == (cue.Has('C') ? 0 : 1));
            EXPECT_EQ(audio.GetSequenceHolder().c_str(), cue.Has('H') ? name : "");
            EXPECT_EQ(sequences.IsPaused(), cue.Has('H'));
            EXPECT_STREQ(audio.GetCategoryNames(cue.category).back().c_str(), name.c_str());
            audio.StopCategory(cue.category);
            EXPECT_TRUE(audio.GetSequenceHolder().IsEmpty() && !sequences.IsPaused());
        }
        EXPECT_EQ(letters.size(), std::max(cue.variants, 1u));
    }
}

TEST_F(GameAudio, AHoldingLineHoldsTheShowToItsEnd) {
    sequences.PlaySequence("show");
    audio.PlayIntro();
    audio.PlayFaceOff();
    EXPECT_STREQ(audio.GetSequenceHolder().c_str(), "intro.snd");
    for (u32 frames : {kToneFrames / 2, kToneFrames / 4}) {
        Render(frames);
        sequences.Update(5000);
        EXPECT_NE(sequences.GetCurrentSequence(), nullptr);
    }
    Render(kToneFrames / 2);
    sequences.Update(1001);  // the show runs on: the sequence ends within a second
    EXPECT_TRUE(!sequences.GetCurrentSequence() && !sequences.IsPaused() && audio.GetSequenceHolder().IsEmpty());
}

TEST_F(GameAudio, ReleasesFreeTheHold) {
    const std::function<void()> releases[] = {
        [&] { audio.StopCue("intro.snd", Vo); }, [&] { audio.PlayVoice("q1"); }, [&] { Event("Stop", "intro", "voice"); },
        [&] { sequences.PlaySequence("show"); }, [&] { sequences.Skip(); }, [&] { sequences.Reset(); },
        [&] { audio.onRelease(); }};
    for (const auto& release : releases) {
        sequences.PlaySequence("show");
        audio.PlayIntro();
        ASSERT_TRUE(sequences.IsPaused());
        release();
        sequences.Update(1001);
        EXPECT_TRUE(!sequences.IsPaused() && !sequences.GetCurrentSequence());
        // A stopped line leaves its category's list.
        const std::vector<TString<char>>& voices = audio.GetCategoryNames(Vo);
        EXPECT_TRUE(std::all_of(voices.begin(), voices.end(), [&](const auto& name) { return Asset(name.c_str()); }));
    }
    // The released line plays on; its end no longer touches the next hold.
    audio.onInitialize(&sequences, &set);
    sequences.PlaySequence("show");
    Render(kToneFrames / 2);
    audio.PlayFaceOff();
    Render(kToneFrames * 3 / 4);
    EXPECT_TRUE(!Playing("intro.snd") && sequences.IsPaused());
}

// Sounds that cannot play would never end: they take no hold.
TEST_F(GameAudio, SoundsThatCannotPlayTakeNoHold) {
    sequences.PlaySequence("show");
    for (const char* name : {"missing.snd", "empty.snd", "corrupt.snd"}) {
        audio.PlayCue(name, Vo, false, false, true);
        audio.AudioPauseSequence(name);
        EXPECT_TRUE(audio.GetSequenceHolder().IsEmpty() && !sequences.IsPaused()) << name;
    }
}

// With no match running the computer family's intro has no name; two players hear the second
// family's line.
TEST_F(GameAudio, TheSecondFamilysIntroFollowsThePlayers) {
    context.SetInstance(nullptr);
    audio.PlayFamily2Intro();
    context.SetInstance(&context);
    EXPECT_STREQ(audio.GetCategoryNames(Vo).back().c_str(), ".snd");
    context.m_TwoPlayers = 1;
    audio.PlayFamily2Intro();
    EXPECT_EQ(std::string(audio.GetCategoryNames(Vo).back().c_str()).substr(0, 12), "Family2Intro");
}

// A fade runs three seconds to its target.
TEST_F(GameAudio, FadesTakeThreeSeconds) {
    audio.PlayCrowdNoise();
    const struct { f32 from, to, half, end; } fades[] = {
        {0.0f, 1.0f, 0.5f, 1.0f}, {1.0f, 0.2f, 0.6f, 0.2f}, {-1.0f, 2.0f, 0.5f, 1.0f}, {0.4f, 0.6f, 0.5f, 0.6f}};
    for (const auto& fade : fades) {
        audio.FadeAudioVolume("CrowdNoise", fade.from, fade.to, false);
        EXPECT_FLOAT_EQ(Volume("CrowdNoise"), fade.half * 2 - fade.end);
        // A long frame after the end does not carry the fade past its target.
        for (const auto& [ms, volume] : {std::pair{1500u, fade.half}, {1500u, fade.end}, {5000u, fade.end}}) {
            Step(ms);
            EXPECT_NEAR(Volume("CrowdNoise"), volume, 1e-5) << ms;
        }
    }
}

// Equal ends do nothing, not even the stop; a volume set by someone else frees the fader.
TEST_F(GameAudio, FadersLetGoOfVolumesSetElsewhere) {
    audio.PlayCrowdNoise();
    Audio::SetVolume(&set, "CrowdNoise", 0.3f);
    audio.FadeAudioVolume("CrowdNoise", 0.7f, 0.7f, true);
    Step(3000);
    EXPECT_TRUE(Volume("CrowdNoise") == 0.3f && Playing("CrowdNoise"));
    audio.FadeAudioVolume("CrowdNoise", 0.0f, 1.0f, true);
    Step(100);
    Audio::SetVolume(&set, "CrowdNoise", 0.9f);
    Step(3000);
    EXPECT_TRUE(Volume("CrowdNoise") == 0.9f && Playing("CrowdNoise"));
}

// Faders stand still while the game is paused; a fade-out with a stop stops at its end.
TEST_F(GameAudio, FadersStandStillWhilePaused) {
    audio.PlayCrowdNoise();
    context.SetPause(true);
    audio.FadeAudioVolume("CrowdNoise", 1.0f, 0.0f, true);
    Step(3000);
    EXPECT_EQ(Volume("CrowdNoise"), 1.0f);
    context.SetPause(false);
    Step(3000);
    EXPECT_TRUE(Volume("CrowdNoise") == 0.0f && !Playing("CrowdNoise") && Asset("CrowdNoise"));
}

// Five faders, each freed at its end; a sixth at once is refused.
TEST_F(GameAudio, FiveFadersAtOnce) {
    audio.PlayCue("prev.snd", Sx, false, false, false);
    audio.PlayIntro();
    for (int round = 0; round < 2; ++round) {
        LogCapture log;
        for (const char* name : {"CrowdNoise", "CrowdLose", "CrowdMedium", "CrowdLoud", "intro.snd", "prev.snd"})
            audio.FadeAudioVolume(name, 0.5f, 1.0f, false);
        EXPECT_TRUE(log.Contains("AudioManager::FadeAudioVolume -> All the audio volume faders are already in use, you "
                                 "need to create more !!!"));
        EXPECT_EQ(Volume("intro.snd"), 0.5f);
        Step(3000);
    }
}

TEST_F(GameAudio, TheMediumAndLoudCrowdsTakeTurns) {
    // The medium and loud crowds take turns, each faded in (a silent crowd would never fade out)
    // over the other's fade-out and stop; the crowd stops with both faded out.
    for (void (M::*start)() : {&M::StartCrowdMedium, &M::StartCrowdLoud, &M::StartCrowdMedium, &M::StopCrowd}) {
        (audio.*start)();
        Step(3000);
    }
    EXPECT_FALSE(Playing("CrowdMedium") || Playing("CrowdLoud"));
}

TEST_F(GameAudio, TheSequencerPlaysAndStopsByName) {
    // The sequencer keys 77 events and stops the playing variant; binding prepares the crowd.
    EXPECT_EQ(sequencer.GetTable().Count(), 77u);  // each event under an id of its own
    audio.PlayCue("round2B.snd", Vo, true, false, true);
    Event("Stop", "round2", "music");
    EXPECT_NE(Asset("round2B.snd"), nullptr);
    Event("Stop", "round2", "voice");
    EXPECT_EQ(Asset("round2B.snd"), nullptr);
    audio.PlayCue("ab", Vo, false, false, false);  // too short to be a variant of "ab"
    Event("Stop", "ab", "voice");
    EXPECT_NE(Asset("ab"), nullptr);
    Event("Stop", "intro", "voice");
    LogCapture lines;
    Event("Play", "nosuch");
    Event("play", "intro");
    EXPECT_TRUE(lines.Contains("AudioSequencer: Cannot find this sound function nosuch"));
    QZ2011::AudioSequencerQZ unbound;
    unbound.onSequenceEvent("Play", "intro", "");
    EXPECT_TRUE(lines.Contains("the audio manager is NULL !!! Did you forget to initialize") && !Asset("intro.snd"));
}

// Binding prepares the crowd, silent, and joins the game's modules once.
TEST_F(GameAudio, BindingPreparesTheCrowd) {
    for (const char* name : kCrowdSounds)
        ASSERT_TRUE(Asset(name) && !Playing(name)) << name;
    const auto& modules = context.GetModules();
    EXPECT_EQ(std::count(modules.begin(), modules.end(), &audio), 1);
}

// The answer's crowd follows the crowd cue, which it empties.
TEST_F(GameAudio, TheAnswersCrowdFollowsTheCrowdCue) {
    const char* answers[][2] = {{"CrowdMedium", "CrowdMedium"}, {"CrowdLoud", "CrowdLoud"}, {"CrowdLose", "CrowdLose"},
                                {"", ""}, {"crowdlose", ""}};
    for (const auto& [cue, plays] : answers) {
        for (const char* name : kCrowdSounds)
            Audio::Stop(&set, name);
        LogCapture log;
        audio.SetCrowdCue(cue);
        Event("Play", *cue ? "StartCrowdAnswer" : "CrowdLose");
        for (const char* name : kCrowdSounds)
            EXPECT_TRUE(!*cue || Playing(name) == (std::string(plays) == name)) << cue << name;
        EXPECT_EQ(log.Contains("No crowd is currently set."), *cue && !*plays);
        EXPECT_TRUE(audio.GetCrowdCue().IsEmpty() || !*cue);
    }
}

// A better face-off answer has its own line (the cue table) only while a last answer stands and no
// family won the face-off; else the plain answer line plays.
TEST_F(GameAudio, ABetterFaceOffAnswerFallsBackToTheAnswerLine) {
    for (auto [last, winner] : {std::pair{-1, -1}, {0, 0}, {1, 1}}) {
        context.m_LastAnswerIndex = last, context.m_FaceOffWinner = winner;
        audio.PlayFaceOffBetterAnswer();
        EXPECT_EQ(std::string(audio.GetCategoryNames(Vo).back().c_str()).substr(0, 6), "answer") << last;
    }
}

// Binding again puts every listed sound back to full volume and frees the faders.
TEST_F(GameAudio, BindingAgainRestoresTheVolumes) {
    audio.PlayIntro();
    Audio::SetVolume(&set, "intro.snd", 0.2f);
    audio.FadeAudioVolume("CrowdNoise", 0.0f, 1.0f, false);
    audio.onInitialize(&sequences, &set);
    context.UpdateWorld(1500);
    EXPECT_TRUE(Volume("intro.snd") == 1.0f && Volume("CrowdNoise") == 0.0f);
    LogCapture log;
    audio.onRelease();
    audio.PlayIntro();  // released: no level to play in
    EXPECT_EQ(std::count(context.GetModules().begin(), context.GetModules().end(), &audio), 0);
    audio.onInitialize(nullptr, nullptr);
    EXPECT_TRUE(log.Contains("AudioManagerQZ::onInitialize : the Sequence Manager is NULL !!!") &&
                log.Contains("AudioManagerQZ::PlayCue : no level is bound for intro.snd"));
}

// The listing the content checker relies on (which checks each sound's streamed flag against the
// content): every variant, family line, tutorial page and crowd sound.
TEST(GameAudioSounds, EveryCueSoundIsListedOnce) {
    const auto sounds = M::CueSounds();
    std::set<std::string> names;
    for (const auto& sound : sounds)
        EXPECT_TRUE(names.insert(sound.name).second) << sound.name;
    EXPECT_EQ(sounds.size(), 166u);  // with the two menu sounds, the 168 of the sample content
    for (const char* name : {"answerrevealK.snd", "AiFamily_theQuessel.snd", "tutorialflow6.snd", "crowd_loud.snd"})
        EXPECT_TRUE(names.count(name)) << name;
    // A crowd sound's cue is its file without ".snd"; a crowd past the table falls back to the noise.
    const M::CueSound loud = M::CrowdSound(M::kCrowdLoud);
    const M::CueSound past = M::CrowdSound(M::kCrowdCount);
    EXPECT_EQ(loud.cue + "|" + loud.name + "|" + past.name, "crowd_loud|crowd_loud.snd|" +
                                                                M::CrowdSound(M::kCrowdNoise).name);
}

}  // namespace
