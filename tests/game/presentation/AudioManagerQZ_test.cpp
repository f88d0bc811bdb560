#include "game/presentation/AudioManagerQZ.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "engine/core/Crc32Hash.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/AudioSequencerQZ.h"
#include "gameservices/bridge/FileSystem.h"
#include "gameservices/bridge/systems/AudioProcessingSystem.h"
#include "gameservices/entities/AudioAsset.h"
#include "gameservices/entities/Set.h"
#include "gameservices/game/RenderableModelData.h"
#include "gameshow/SequenceManager.h"
#include "tests/engine/audio/AudioTestFixture.h"
#include "tests/gameservices/entities/PoolSetup.h"
#include "tests/support/ByteDamage.h"
#include "tests/support/LogCapture.h"

using QZ2011::AudioManagerQZ;
using Audio = GameServices::Bridge::AudioProcessingSystem;
using M = AudioManagerQZ;

namespace {

constexpr u32 kToneFrames = 4410;  // 100 ms
constexpr int Mu = M::kMusic, Vo = M::kVoice, Sx = M::kSfx;

// One cue as the show defines it: reached by its sequence event, or by its operation when
// only the screens call it.
struct CueCase {
    const char* event;
    void (M::*op)();
    std::string sound;
    u32 variants;
    int category;
    bool streamed, looped, stops, holds;
};
const CueCase kCues[] = {
    {"music_intro", nullptr, "music_intro.snd", 0, Mu, 1, 0, 0, 0}, {"intro", nullptr, "intro.snd", 0, Vo, 0, 0, 1, 1},
    {"family1intro", nullptr, "family1intro", 3, Vo, 0, 0, 1, 1}, {"round1", nullptr, "round1", 3, Vo, 1, 0, 1, 1},
    {"round2", nullptr, "round2", 3, Vo, 1, 0, 1, 1}, {"round3", nullptr, "round3", 3, Vo, 1, 0, 1, 1},
    {"round4", nullptr, "round4", 3, Vo, 1, 0, 1, 1}, {"faceoff", nullptr, "faceoff", 6, Vo, 0, 0, 0, 1},
    {"20kwin", nullptr, "20kwin.snd", 0, Vo, 0, 0, 1, 0}, {"ending", nullptr, "ending.snd", 0, Vo, 0, 0, 1, 1},
    {"normalwin", nullptr, "normalwin.snd", 0, Vo, 1, 0, 1, 0}, {"fastmoney", nullptr, "fastmoney", 3, Vo, 0, 0, 1, 1},
    {"fastmoneypart1", nullptr, "fastmoneypart1.snd", 0, Vo, 1, 0, 1, 1},
    {"fastmoneypart2", nullptr, "fastmoneypart2.snd", 0, Vo, 1, 0, 1, 1},
    {"answer", nullptr, "answer", 7, Vo, 0, 0, 1, 1}, {"controlspinpass", nullptr, "controlspinpass", 6, Vo, 0, 0, 1, 1},
    {"answerreveal", nullptr, "answerreveal", 11, Vo, 0, 0, 1, 1},
    {"sfx_podiumbuzzer", nullptr, "sfx_podiumbuzzer.snd", 0, Sx, 0, 0, 1, 1},
    {"sfx_answerreveal", nullptr, "sfx_answerreveal.snd", 0, Sx, 0, 0, 1, 0},
    {"answerok", nullptr, "answerok", 6, Vo, 0, 0, 1, 1}, {"wonround", nullptr, "wonround", 4, Vo, 0, 0, 1, 1},
    {"sfx_strike", nullptr, "sfx_strike.snd", 0, Sx, 0, 0, 1, 0},
    {"stealfailure", nullptr, "stealfailure.snd", 0, Vo, 0, 0, 1, 1},
    {"revealothers", nullptr, "revealothers", 5, Vo, 0, 0, 1, 1},
    {"fmrevealothers", nullptr, "revealothersA.snd", 0, Vo, 0, 0, 1, 0},
    {"stealsuccess", nullptr, "stealsuccess.snd", 0, Vo, 0, 0, 1, 1},
    {"receivedstrikebadanswer", nullptr, "receivedstrikebadanswer", 7, Vo, 0, 0, 1, 1},
    {"recievedstriketimeout", nullptr, "recievedstriketimeout", 2, Vo, 0, 0, 1, 1},
    {"answertwostrikes", nullptr, "answertwostrikes", 5, Vo, 0, 0, 1, 1},
    {"recievedthirdstrike", nullptr, "recievedthirdstrike", 4, Vo, 0, 0, 1, 1},
    {"roundsuddendeath", nullptr, "roundsuddendeath", 3, Vo, 1, 0, 1, 1},
    {"familycontrols", nullptr, "familycontrols", 5, Vo, 0, 0, 1, 1},
    {"chancetosteal", nullptr, "chancetosteal", 5, Vo, 0, 0, 1, 1},
    {"Music_Countdown.loop", nullptr, "Music_Countdown.loop.snd", 0, Mu, 1, 1, 0, 0},
    {"music_faceoff", nullptr, "music_faceoff.snd", 0, Mu, 1, 0, 1, 0},
    {"music_endround", nullptr, "music_endround.snd", 0, Mu, 0, 0, 1, 0},
    {"sfx_fmreveal", nullptr, "SFX_FM_Reveal.snd", 0, Sx, 0, 0, 1, 0},
    {"endclock", nullptr, "SFX_EndClock.snd", 0, Sx, 0, 0, 1, 0},
    {nullptr, &M::PlayFastMoneyDupeAnswer, "SFX_FM_DupeAnswer.snd", 0, Sx, 0, 0, 1, 0},
    {nullptr, &M::PlayFastMoneyResult, "SFX_FM_Result.snd", 0, Sx, 0, 0, 1, 0},
    {nullptr, &M::PlayFastMoneyResultZero, "SFX_FM_Result0.snd", 0, Sx, 0, 0, 1, 0},
};

// With the numbered lines, reached by the event named as the sound without ".snd".
std::vector<CueCase> AllCues() {
    std::vector<CueCase> cues(std::begin(kCues), std::end(kCues));
    for (int i = 1; i <= 8; ++i) {
        const std::string n = std::to_string(i);
        if (i <= 5)
            cues.push_back({nullptr, nullptr, "fastmoneyreveal" + n + ".snd", 0, Vo, 0, 0, i != 4, 0});
        cues.push_back({nullptr, nullptr, "faceoffquestion" + n + ".snd", 0, Vo, 0, 0, i != 1, 1});
        cues.push_back({nullptr, nullptr, "revealother" + n + ".snd", 0, Vo, 0, 0, 0, 1});
    }
    return cues;
}

const char* const kComputerFamilies[4][3] = {
    {"AiFamily_theWendle", "AiFamily_theBrask", "AiFamily_theGimbrel"},
    {"AiFamily_theTassley", "AiFamily_theOlvira", "AiFamily_theKelvish"},
    {"AiFamily_theZandor", "AiFamily_thePellory", "AiFamily_theVassen"},
    {"AiFamily_theIdwyn", "AiFamily_theLunmark", "AiFamily_theQuessel"}};

std::string Lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The game audio bound to a level Set and the show's sequence manager, on the pulled mixer,
// with a 100 ms tone under every sound name of the show.
class GameAudio : public AudioFixture {
protected:
    GameAudio() {
        AddRaw("tone.ogg", authoring::EncodeOggVorbis(authoring::MakeTone(440, kToneFrames)), TypeKey::Data);
        auto sound = [&](const std::string& name, bool streamed) {
            AddRaw(Lower(name), authoring::MakeSoundDescriptor("tone.ogg", streamed), TypeKey::Sound);
        };
        for (const CueCase& cue : AllCues())
            for (u32 v = 0; v < (cue.variants ? cue.variants : 1); ++v)
                sound(cue.variants ? cue.sound + char('A' + v) + ".snd" : cue.sound, cue.streamed);
        for (const char* name : {"crowd_noise.snd", "crowd_lose.snd", "crowd_medium.snd", "crowd_loud.snd",
                                 "Family2IntroA.snd", "Family2IntroB.snd", "Family2IntroC.snd", "FaceOffBetterAnswerA.snd"})
            sound(name, false);
        for (const auto& decade : kComputerFamilies)
            for (const char* family : decade)
                sound(std::string(family) + ".snd", false);
        for (int page = 0; page < 7; ++page)
            sound("tutorialflow" + std::to_string(page) + ".snd", false);
        sound("q1.snd", true);
        sound("prev.snd", false);
        AddRaw("empty.ogg", "", TypeKey::Data);
        AddRaw("corrupt.ogg", "OggS but nothing after", TypeKey::Data);
        AddRaw("empty.snd", authoring::MakeSoundDescriptor("empty.ogg", false), TypeKey::Sound);
        AddRaw("corrupt.snd", authoring::MakeSoundDescriptor("corrupt.ogg", false), TypeKey::Sound);
        Mount();
        LoadCapacities(params, {{"FactoryAudioAsset", 24}});
        GameServices::Entities::GameAudioAssetFactory::Instance()->RegisterAudioAssetFactory();
        Audio::Initialize(&set);
        sequences.RegisterSequencer(Crc32Hash("AudioSequencer"), &sequencer);
        sequences.SetEnabled(true);
        sequences.LoadSequence("show", dir.Write("show.xml", "<root><Sequence duration=\"1000\" skippable=\"true\">"
                                                             "<OnStart><Events/></OnStart><Acts/><OnEnd><Events/></OnEnd></Sequence></root>").c_str());
        audio.onInitialize(&sequences, &set);
        sequencer.onInitialize(&audio);
    }
    ~GameAudio() override {
        audio.onRelease();
        Audio::Cleanup(&set);
        set.Clear();
    }
    void Event(const char* name, const char* target, const char* parameter = "") {
        sequencer.onSequenceEvent(name, target, parameter);
    }
    GameServices::Entities::AudioAsset* Asset(const char* name) { return set.FindAudioAsset(name); }
    bool Playing(const char* name) { return Asset(name) && Audio::IsPlaying(&set, name); }
    f32 Volume(const char* name) { return Audio::GetVolume(&set, name); }
    u32 Count(const std::string& name) {
        u32 n = 0;
        for (auto* asset : set.m_AudioAssets)
            n += asset->Name == name.c_str();
        return n;
    }
    std::vector<std::string> Listed(int category) {
        std::vector<std::string> names;
        for (const TString<char>& name : audio.GetCategoryNames(category))
            names.emplace_back(name.c_str());
        return names;
    }
    // The show runs on once the sequence ends within a second.
    bool ShowRunsOn() {
        sequences.Update(1001);
        return sequences.GetCurrentSequence() == nullptr;
    }

    TempDir params;
    QZ2011GameContext context;
    GameServices::Entities::Set set{"level"};
    GameShow::SequenceManager sequences;
    QZ2011::AudioSequencerQZ sequencer;
    AudioManagerQZ audio;
};

TEST_F(GameAudio, EachCueCreatesItsRowsAssetCutsOrKeepsItsCategoryHoldsAndDrawsEveryVariant) {
    GameServices::Bridge::SeedRandom(1, 2, 3, 4);
    for (const CueCase& cue : AllCues()) {
        SCOPED_TRACE(cue.sound);
        std::set<char> letters;
        for (u32 draw = 0; draw < (cue.variants ? 8 * cue.variants : 1); ++draw) {
            audio.PlayCue("prev.snd", cue.category, false, false, false);
            if (cue.event)
                Event("Play", cue.event);
            else if (cue.op)
                (audio.*cue.op)();
            else
                Event("Play", cue.sound.substr(0, cue.sound.size() - 4).c_str());
            Audio::Update(&set);  // the level's audio step of the same frame
            const GameServices::Entities::AudioAsset* asset = set.m_AudioAssets.back();
            const std::string name = asset->Name.c_str();
            if (cue.variants) {
                ASSERT_EQ(name.size(), cue.sound.size() + 5);
                EXPECT_EQ(name.substr(0, cue.sound.size()) + name.substr(name.size() - 4), cue.sound + ".snd");
                letters.insert(name[cue.sound.size()]);
            } else {
                EXPECT_EQ(name, cue.sound);
            }
            EXPECT_EQ(asset->VolatileDatas.GetAudioData()->m_FileName.c_str(), Lower(name));
            EXPECT_TRUE(asset->m_Volume == 1.0f && asset->m_Streamed == cue.streamed && asset->m_Looped == cue.looped);
            EXPECT_EQ(Audio::GetEngineSound(*asset)->GetPlayer()->GetCategory(), u32(cue.category));
            EXPECT_TRUE(Playing(name.c_str()));
            EXPECT_EQ(Count("prev.snd"), cue.stops ? 0u : 1u);
            EXPECT_EQ(audio.GetSequenceHolder().c_str(), cue.holds ? name : "");
            EXPECT_EQ(sequences.IsPaused(), cue.holds);
            EXPECT_EQ(Listed(cue.category).back(), name);
            audio.StopCategory(cue.category);
            EXPECT_TRUE(audio.GetSequenceHolder().IsEmpty() && !sequences.IsPaused());
        }
        EXPECT_EQ(letters.size(), cue.variants);
        if (cue.variants) {
            EXPECT_EQ(*letters.rbegin(), char('A' + cue.variants - 1));
        }
    }
}

TEST_F(GameAudio, CuesThatNameTheirSoundByTheMatchOrByTheirCaller) {
    auto voice = [&] { return Listed(Vo).empty() ? std::string() : Listed(Vo).back(); };
    // The second family: player two's in a two-player game, else the computer family.
    context.m_TwoPlayers = 1;
    audio.PlayFamily2Intro();
    EXPECT_EQ(voice().substr(0, 12) + voice().substr(13), "Family2Intro.snd");
    context.m_TwoPlayers = 0;
    for (u32 decade = 0; decade <= 4; ++decade)
        for (u32 difficulty = 0; difficulty <= 3; ++difficulty) {
            context.m_Decade = decade;
            context.m_Difficulty = difficulty;
            Event("Play", "AiFamily_theWendle");
            EXPECT_EQ(voice(), decade < 4 && difficulty < 3
                                   ? std::string(kComputerFamilies[decade][difficulty]) + ".snd" : ".snd");
            EXPECT_EQ(audio.GetSequenceHolder().c_str(), voice() == ".snd" ? "" : voice());
        }
    // A better face-off answer only while the face-off is undecided and an answer counted.
    const struct { i32 lastAnswer, winner; const char* line; } faceOff[] = {
        {2, -1, "FaceOffBetterAnswer"}, {-1, -1, "answer"}, {2, 0, "answer"}};
    for (const auto& row : faceOff) {
        context.m_LastAnswerIndex = row.lastAnswer;
        context.m_FaceOffWinner = row.winner;
        Event("Play", "FaceOffBetterAnswer");
        EXPECT_EQ(voice().substr(0, voice().size() - 5), row.line);
    }
    // Tutorial pages 0 to 6 narrate; page 7 plays nothing and names no narration.
    for (u32 page = 0; page <= 7; ++page) {
        audio.PlayTutorialFlow(page);
        const std::string name = "tutorialflow" + std::to_string(page < 7 ? page : 6) + ".snd";
        EXPECT_EQ(voice(), name);
        EXPECT_EQ(audio.GetTutorialCue().c_str(), page < 7 ? name : "");
        EXPECT_TRUE(Playing(name.c_str()) && audio.GetSequenceHolder().IsEmpty());
    }
    audio.PlayVoice("q1");
    EXPECT_TRUE(Playing("q1.snd") && Asset("q1.snd")->m_Streamed && !Asset("tutorialflow6.snd"));
    audio.StopVoice("q1");
    EXPECT_TRUE(!Asset("q1.snd") && Listed(Vo).empty());
}

TEST_F(GameAudio, AHoldingLineStopsTheShowClockUntilItEnds) {
    sequences.PlaySequence("show");
    audio.PlayIntro();
    {
        LogCapture log;
        audio.PlayFaceOff();
        EXPECT_TRUE(log.Contains("AudioManagerSinglePlayer::AudioPauseSequence -> An audio is already pausing the "
                                 "sequence, dangerous pattern !!!"));
        EXPECT_STREQ(audio.GetSequenceHolder().c_str(), "intro.snd");
    }
    sequences.Update(5000);
    Render(kToneFrames / 2);
    sequences.Update(5000);
    EXPECT_NE(sequences.GetCurrentSequence(), nullptr);
    Render(kToneFrames);
    EXPECT_TRUE(!sequences.IsPaused() && audio.GetSequenceHolder().IsEmpty());
    EXPECT_TRUE(ShowRunsOn());
    // Starting, skipping or resetting the show lets it run.
    const std::function<void()> clears[] = {[&] { sequences.PlaySequence("show"); }, [&] { sequences.Skip(); },
                                            [&] { sequences.Reset(); }};
    for (const auto& clear : clears) {
        sequences.PlaySequence("show");
        sequences.SetPaused(true);
        clear();
        EXPECT_FALSE(sequences.IsPaused());
    }
}

TEST_F(GameAudio, AHoldReleasedByAnythingButItsEndLetsTheShowRunOn) {
    const std::function<void()> releases[] = {
        [&] { audio.StopCue("intro.snd", Vo); }, [&] { audio.PlayVoice("q1"); }, [&] { Event("Stop", "intro", "voice"); },
        [&] { audio.onRelease(); }};
    for (const auto& release : releases) {
        sequences.PlaySequence("show");
        audio.PlayIntro();
        ASSERT_TRUE(sequences.IsPaused());
        release();
        EXPECT_TRUE(audio.GetSequenceHolder().IsEmpty());
        EXPECT_TRUE(ShowRunsOn());
    }
    // Sounds that cannot play would never end: they take no hold.
    audio.onInitialize(&sequences, &set);
    for (const char* name : {"missing.snd", "empty.snd", "corrupt.snd"}) {
        audio.PlayCue(name, Vo, false, false, true);
        audio.AudioPauseSequence(name);
        EXPECT_TRUE(audio.GetSequenceHolder().IsEmpty() && !sequences.IsPaused()) << name;
    }
}

TEST_F(GameAudio, AOneShotStartedTwiceStacksWhileALoopIsReplaced) {
    audio.PlayFaceOffQuestion1();
    audio.PlayFaceOffQuestion1();
    EXPECT_EQ(Count("faceoffquestion1.snd"), 2u);
    EXPECT_EQ(Listed(Vo), std::vector<std::string>(2, "faceoffquestion1.snd"));
    for (u32 left : {1u, 0u}) {
        GameServices::Entities::AudioAsset* first = Asset("faceoffquestion1.snd");
        audio.StopCue("faceoffquestion1.snd", Vo);
        EXPECT_TRUE(Count("faceoffquestion1.snd") == left && Listed(Vo).size() == left);
        EXPECT_TRUE(left == 0 || Asset("faceoffquestion1.snd") != first);
    }
    audio.PlayCountdownMusic();
    audio.PlayCountdownMusic();
    EXPECT_EQ(Count("Music_Countdown.loop.snd"), 1u);
    EXPECT_EQ(Listed(Mu).size(), 1u);
    audio.StopCountdownMusic();
    EXPECT_EQ(Count("Music_Countdown.loop.snd"), 0u);
    Render(kToneFrames);
    EXPECT_EQ(Rms(Render(kToneFrames), 0), 0.0);
}

TEST_F(GameAudio, FadesLastThreeSecondsWhateverTheirDistanceAndGiveWayToOtherVolumes) {
    auto step = [&](u32 ms) { context.UpdateWorld(ms); };
    audio.PlayCrowdNoise();
    const struct { f32 from, to, half, end; } fades[] = {
        {0.0f, 1.0f, 0.5f, 1.0f}, {0.4f, 0.6f, 0.5f, 0.6f}, {1.0f, 0.2f, 0.6f, 0.2f}, {-1.0f, 2.0f, 0.5f, 1.0f}};
    for (const auto& fade : fades) {
        audio.FadeAudioVolume("CrowdNoise", fade.from, fade.to, false);
        EXPECT_FLOAT_EQ(Volume("CrowdNoise"), fade.half * 2 - fade.end);
        step(1500);
        EXPECT_NEAR(Volume("CrowdNoise"), fade.half, 1e-5);
        step(1500);
        EXPECT_NEAR(Volume("CrowdNoise"), fade.end, 1e-5);
    }
    // Equal ends do nothing, not even the stop; a volume set by someone else frees the fader.
    Audio::SetVolume(&set, "CrowdNoise", 0.3f);
    audio.FadeAudioVolume("CrowdNoise", 0.7f, 0.7f, true);
    step(3000);
    EXPECT_TRUE(Volume("CrowdNoise") == 0.3f && Playing("CrowdNoise"));
    audio.FadeAudioVolume("CrowdNoise", 0.0f, 1.0f, true);
    step(100);
    Audio::SetVolume(&set, "CrowdNoise", 0.9f);
    step(3000);
    EXPECT_TRUE(Volume("CrowdNoise") == 0.9f && Playing("CrowdNoise"));
    // Faders stand still while the game is paused; a fade-out with a stop stops at its end.
    context.SetPause(true);
    audio.FadeAudioVolume("CrowdNoise", 1.0f, 0.0f, true);
    step(3000);
    EXPECT_EQ(Volume("CrowdNoise"), 1.0f);
    context.SetPause(false);
    step(3000);
    EXPECT_TRUE(Volume("CrowdNoise") == 0.0f && !Playing("CrowdNoise") && Asset("CrowdNoise"));
    // Five faders, each freed at its end; a sixth at once is refused.
    audio.PlayIntro();
    for (int round = 0; round < 2; ++round) {
        LogCapture log;
        for (const char* name : {"CrowdNoise", "CrowdLose", "CrowdMedium", "CrowdLoud", "intro.snd", "prev.snd"})
            audio.FadeAudioVolume(name, 0.5f, 1.0f, false);
        EXPECT_TRUE(log.Contains("AudioManager::FadeAudioVolume -> All the audio volume faders are already in use, you "
                                 "need to create more !!!"));
        EXPECT_EQ(Volume("intro.snd"), 0.5f);
        step(3000);
    }
}

TEST_F(GameAudio, BindingPreparesTheCrowdWhoseEventsCrossfadeIt) {
    const struct { const char* name; const char* file; f32 volume; bool looped; } crowd[] = {
        {"CrowdNoise", "crowd_noise.snd", 1.0f, true}, {"CrowdLose", "crowd_lose.snd", 1.0f, false},
        {"CrowdMedium", "crowd_medium.snd", 0.0f, true}, {"CrowdLoud", "crowd_loud.snd", 0.0f, true}};
    for (const auto& row : crowd) {
        const GameServices::Entities::AudioAsset* asset = Asset(row.name);
        ASSERT_NE(asset, nullptr) << row.name;
        EXPECT_EQ(asset->VolatileDatas.GetAudioData()->m_FileName, row.file);
        EXPECT_TRUE(asset->m_Volume == row.volume && asset->m_Looped == row.looped && !asset->m_Streamed);
        EXPECT_EQ(Audio::GetEngineSound(*asset)->GetPlayer()->GetCategory(), 1u);
        EXPECT_FALSE(Playing(row.name));
    }
    audio.PlayCrowdNoise();
    Audio::Update(&set);
    EXPECT_TRUE(Playing("CrowdNoise"));
    const auto& modules = context.GetModules();
    EXPECT_EQ(std::count(modules.begin(), modules.end(), &audio), 1);

    // Loud, then medium: the loud one fades out and stops while the medium one comes up.
    Event("Play", "StartCrowdLoud");
    context.UpdateWorld(3000);
    Event("Play", "StartCrowdMedium");
    context.UpdateWorld(1500);
    EXPECT_TRUE(Volume("CrowdMedium") == 0.5f && Volume("CrowdLoud") == 0.5f);
    context.UpdateWorld(1500);
    EXPECT_TRUE(Volume("CrowdMedium") == 1.0f && Playing("CrowdMedium") && !Playing("CrowdLoud"));
    Event("Play", "StopCrowd");
    context.UpdateWorld(3000);
    EXPECT_FALSE(Playing("CrowdMedium"));
    // A fade-out of a silent crowd does nothing: it plays on at 0.
    Audio::Play(&set, "CrowdLoud");
    Event("Play", "StopCrowd");
    context.UpdateWorld(3000);
    EXPECT_TRUE(Playing("CrowdLoud"));
    Event("Play", "CrowdLose");
    EXPECT_TRUE(Playing("CrowdLose"));
    // The answer's crowd follows the crowd cue, which it empties.
    const struct { const char* cue; const char* plays; } answers[] = {
        {"CrowdMedium", "CrowdMedium"}, {"CrowdLoud", "CrowdLoud"}, {"CrowdLose", "CrowdLose"}, {"", nullptr},
        {"crowdlose", nullptr}};
    for (const auto& row : answers) {
        for (const auto& c : crowd)
            Audio::Stop(&set, c.name);
        LogCapture log;
        audio.SetCrowdCue(row.cue);
        Event("Play", "StartCrowdAnswer");
        for (const auto& c : crowd)
            EXPECT_EQ(Playing(c.name), row.plays && std::string(row.plays) == c.name) << row.cue << c.name;
        EXPECT_EQ(log.Contains("No crowd is currently set."), !row.plays);
        EXPECT_TRUE(audio.GetCrowdCue().IsEmpty());
    }

    audio.onRelease();
    EXPECT_EQ(std::count(modules.begin(), modules.end(), &audio), 0);
    EXPECT_TRUE(!audio.GetSet() && !audio.GetSequenceManager());
    LogCapture log;
    audio.onInitialize(nullptr, nullptr);
    EXPECT_TRUE(log.Contains("AudioManagerSinglePlayer::onInitialize : the set is NULL !!!") &&
                log.Contains("AudioManagerQZ::onInitialize : the Sequence Manager is NULL !!!"));
}

TEST_F(GameAudio, TheSequencerKeysSeventySevenEventsAndStopsThePlayingVariant) {
    const auto& table = sequencer.GetTable();
    std::set<u32> ids;
    for (u32 i = 0; i < QZ2011::AudioSequencerQZ::kEventCount; ++i)
        ids.insert(Crc32Hash(QZ2011::AudioSequencerQZ::EventName(i)));
    EXPECT_EQ(ids.size(), 77u);
    EXPECT_EQ(table.Count(), 77u);
    std::vector<std::vector<u32>> buckets;
    for (u32 b = 0; b < 70; ++b)
        buckets.push_back(table.KeysOfBucket(b));
    for (u32 id : ids) {
        const double product = double(id % 70) * (std::sqrt(5.0) - 1.0) / 2.0;
        const auto& chain = buckets[u32(std::floor(70.0 * (product - std::floor(product))))];
        EXPECT_NE(std::find(chain.begin(), chain.end(), id), chain.end()) << id;
    }
    AudioManagerQZ other;
    sequencer.onInitialize(&other);
    EXPECT_EQ(sequencer.GetAudioManager(), &other);
    for (u32 b = 0; b < 70; ++b)
        EXPECT_EQ(table.KeysOfBucket(b), buckets[b]);
    sequencer.onInitialize(&audio);

    audio.PlayCue("round2B.snd", Vo, true, false, true);
    Event("Stop", "round2", "music");
    EXPECT_NE(Asset("round2B.snd"), nullptr);
    Event("Stop", "round2", "voice");
    EXPECT_EQ(Asset("round2B.snd"), nullptr);
    LogCapture log;
    Event("Play", "nosuch");
    Event("play", "intro");
    EXPECT_TRUE(log.Contains("AudioSequencer: Cannot find this sound function nosuch"));
    QZ2011::AudioSequencerQZ unbound;
    unbound.onSequenceEvent("Play", "intro", "");
    EXPECT_TRUE(log.Contains("AudioSequencerSinglePlayer::onSequenceEvent : the audio manager is NULL !!! Did you "
                             "forget to initialize the AudioSequencerSinglePlayer ?"));
    EXPECT_TRUE(log.Contains("AudioSequencer: Cannot find this sound function intro"));
    EXPECT_EQ(Asset("intro.snd"), nullptr);
}

TEST_F(GameAudio, DamagedSequencesOfAudioEventsPlayWithoutHarm) {
    auto item = [](const char* name, const char* target, const char* parameter) {
        return std::string("<item sequencer=\"AudioSequencer\" name=\"") + name + "\" target=\"" + target +
               "\" parameter=\"" + parameter + "\"/>";
    };
    const std::string text = "<root><Sequence duration=\"40\"><OnStart><Events>" + item("Play", "answer", "") +
                             item("Play", "StartCrowdMedium", "") + item("Play", "sfx_strike", "") +
                             "</Events></OnStart><Acts><item time=\"10\"><Events>" + item("Stop", "answer", "voice") +
                             item("Play", "faceoff", "") + item("Stop", "sfx_strike", "sfx") +
                             "</Events></item></Acts><OnEnd><Events>" + item("Play", "intro", "") +
                             "</Events></OnEnd></Sequence></root>";
    // Rewritten in place: a file emptied and refilled 5000 times makes the file system flush
    // each time.
    const std::string path = dir.Write("damaged.xml", text);
    std::mt19937 rng(11);
    for (int i = 0; i < 5000; ++i) {
        std::string bytes = text;
        DamageBytes(bytes, rng, 1 + i % 3);
        std::FILE* file = std::fopen(path.c_str(), "r+b");
        ASSERT_TRUE(file && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() &&
                    ftruncate(fileno(file), off_t(bytes.size())) == 0);
        std::fclose(file);
        const std::string name = "damaged" + std::to_string(i);
        sequences.LoadSequence(name.c_str(), path.c_str());
        sequences.PlaySequence(name.c_str());
        for (int t = 0; t < 3; ++t)
            sequences.Update(25);
        audio.ResumeSequence();
        sequences.RemoveSequence(Crc32Hash(name.c_str()));
    }
    EXPECT_LE(set.m_AudioAssets.size(), 10u);
}

}  // namespace
