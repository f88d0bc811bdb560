#pragma once
// The game's sound during a match or the tutorial: every sound is an audio asset of the bound
// level Set, created under its sound file's name when its cue plays and destroyed when it is
// stopped. Categories remember what they started so that a new line can cut the last one; a
// voice line may hold the show's sequence until it ends; five faders ramp volumes over
// 3000 ms; four prepared crowd loops and shouts are crossfaded with them.
#include <string>
#include <vector>

#include "engine/core/AGTypes.h"
#include "engine/core/TString.h"
#include "gameservices/game/IModule.h"

namespace GameShow {
class SequenceManager;
}
namespace GameServices::Entities {
class Set;
}

namespace QZ2011 {

class AudioManagerQZ : public GameServices::KorvoGame::IModule {
public:
    enum Category : int { kMusic = 0, kVoice = 1, kSfx = 2, kCrowd = 3, kCategoryCount = 4 };
    static constexpr u32 kFaderCount = 5;
    static constexpr f32 kFadeMs = 3000.0f;

    // The cues of the show, one table row each (sound, variants, category and flags).
    enum class Cue : u8 {
        MusicIntro, Intro, Family1Intro, Family2Intro, Round1, Round2, Round3, Round4, FaceOff,
        FastMoneyReveal1, FastMoneyReveal2, FastMoneyReveal3, FastMoneyReveal4, FastMoneyReveal5,
        FaceOffQuestion1, FaceOffQuestion2, FaceOffQuestion3, FaceOffQuestion4, FaceOffQuestion5,
        FaceOffQuestion6, FaceOffQuestion7, FaceOffQuestion8, Win20k, Ending, NormalWin, FastMoney,
        FastMoneyPart1, FastMoneyPart2, Answer, ControlSpinPass, AnswerReveal, PodiumBuzzer,
        RevealOther1, RevealOther2, RevealOther3, RevealOther4, RevealOther5, RevealOther6,
        RevealOther7, RevealOther8, AnswerRevealSfx, AnswerOk, WonRound, StrikeSfx, StealFailure,
        RevealOthers, FastMoneyRevealOthers, StealSuccess, StrikeBadAnswer, StrikeTimeout,
        AnswerTwoStrikes, ThirdStrike, RoundSuddenDeath, FamilyControls, ChanceToSteal,
        CountdownMusic, FaceOffMusic, EndRoundMusic, FaceOffBetterAnswer, FastMoneyDupeAnswer,
        EndClock, FastMoneyResult, FastMoneyResultZero, FastMoneyRevealSfx, TutorialFlow, Voice,
        Count
    };
    // A sound ending in ".snd" is used as it is; with variants, one letter 'A' + (0 .. n-1)
    // and ".snd" are appended.
    struct CueRow {
        const char* sound;
        u8 variants;
        u8 category;
        bool streamed;
        bool looped;
        bool stopsCategory;
        bool holds;
    };
    static const CueRow& Row(Cue cue);
    // The crowd's prepared assets by their names (the crowd cues).
    enum Crowd : u8 { kCrowdNoise, kCrowdLose, kCrowdMedium, kCrowdLoud, kCrowdCount };
    static constexpr const char* kCrowdCues[kCrowdCount] = {"CrowdNoise", "CrowdLose", "CrowdMedium", "CrowdLoud"};
    // A sound file the show can play, with the streamed flag of the cue that plays it.
    struct CueSound {
        std::string cue;   // the cue's sound without variant letter and ".snd"
        std::string name;  // the file
        bool streamed;
    };
    // Every sound the cues, the computer families' introductions, the tutorial narration and
    // the crowd can play, variants spelt out, in table order. The question voices, named by
    // each question, are not listed.
    static std::vector<CueSound> CueSounds();
    // The sounds one cue can play (the second family's cue: its variants and every computer
    // family's introduction), and the sound of a crowd asset.
    static std::vector<CueSound> SoundsOf(Cue cue);
    static CueSound CrowdSound(Crowd crowd);

    AudioManagerQZ() = default;
    ~AudioManagerQZ() override = default;
    AudioManagerQZ(const AudioManagerQZ&) = delete;
    AudioManagerQZ& operator=(const AudioManagerQZ&) = delete;

    // Advances the faders by dt milliseconds.
    void Update(u32 dt) override;
    void Reset() override {}
    bool IsPausable() const override { return true; }

    // Binds to a level: volumes back to full, the four crowd assets made, faders freed, the
    // manager joins the running game's modules. Null arguments are reported and stored.
    void onInitialize(GameShow::SequenceManager* sequences, GameServices::Entities::Set* set);
    // Unbinds; releases a hold (the show runs on) and forgets the lists. The level's assets go
    // with its Set.
    void onRelease();

    void PlayCue(const TString<char>& name, int category, bool streamed, bool looped, bool stopCategoryFirst);
    void StopCue(const TString<char>& name, int category);
    void StopCategory(int category);
    // The named playing cue holds the sequence until it ends; refused while another holds it
    // or when the sound does not play.
    void AudioPauseSequence(const TString<char>& name);
    // The holding cue ended: the sequence runs on.
    void ResumeSequence();
    // "music", "voice", "sfx", "crowed"; anything else is voice.
    static int CategoryFromName(const TString<char>& text);
    // The first listed variant of base (base, one letter, ".snd"), else base + ".snd".
    TString<char> ResolveCueName(int category, const TString<char>& base) const;
    // 'A' + a draw from the shared generator below n.
    static char RandomVariantLetter(u32 n);

    void FadeAudioVolume(const TString<char>& name, f32 from, f32 to, bool stopAtEnd);
    void ResetFaders();
    void ResetCategoryVolume(int category);

    void PlayCrowdNoise();
    void PlayCrowdLose();
    void StartCrowdMedium();
    void StartCrowdLoud();
    void FadeOutCrowdMedium();
    void FadeOutCrowdLoud();
    void StopCrowd();
    // By the crowd cue ("CrowdMedium", "CrowdLoud", "CrowdLose"), which it empties.
    void StartCrowdAnswer();
    void SetCrowdCue(const TString<char>& name) { m_CrowdCue = name; }

    // Plays the cue of its row.
    void Play(Cue cue);
    // Player two's family in a two-player game, else the computer family by decade and
    // difficulty.
    void PlayFamily2Intro();
    // A better face-off answer while the face-off is undecided, else an ordinary answer line.
    void PlayFaceOffBetterAnswer();
    // Pages 0 to 6 narrate "tutorialflow<page>.snd"; the tutorial cue names it.
    void PlayTutorialFlow(u32 page);
    // The sound file of a question read aloud: its id + ".snd".
    static TString<char> VoiceSound(const TString<char>& id) { return id + ".snd"; }
    void PlayVoice(const TString<char>& name);
    void StopVoice(const TString<char>& name);
    void StopCountdownMusic();

    void PlayMusicIntro() { Play(Cue::MusicIntro); }
    void PlayIntro() { Play(Cue::Intro); }
    void PlayFamily1Intro() { Play(Cue::Family1Intro); }
    void PlayRound1() { Play(Cue::Round1); }
    void PlayRound2() { Play(Cue::Round2); }
    void PlayRound3() { Play(Cue::Round3); }
    void PlayRound4() { Play(Cue::Round4); }
    void PlayFaceOff() { Play(Cue::FaceOff); }
    void PlayFastMoneyReveal1() { Play(Cue::FastMoneyReveal1); }
    void PlayFastMoneyReveal2() { Play(Cue::FastMoneyReveal2); }
    void PlayFastMoneyReveal3() { Play(Cue::FastMoneyReveal3); }
    void PlayFastMoneyReveal4() { Play(Cue::FastMoneyReveal4); }
    void PlayFastMoneyReveal5() { Play(Cue::FastMoneyReveal5); }
    void PlayFaceOffQuestion1() { Play(Cue::FaceOffQuestion1); }
    void PlayFaceOffQuestion2() { Play(Cue::FaceOffQuestion2); }
    void PlayFaceOffQuestion3() { Play(Cue::FaceOffQuestion3); }
    void PlayFaceOffQuestion4() { Play(Cue::FaceOffQuestion4); }
    void PlayFaceOffQuestion5() { Play(Cue::FaceOffQuestion5); }
    void PlayFaceOffQuestion6() { Play(Cue::FaceOffQuestion6); }
    void PlayFaceOffQuestion7() { Play(Cue::FaceOffQuestion7); }
    void PlayFaceOffQuestion8() { Play(Cue::FaceOffQuestion8); }
    void Play20kWin() { Play(Cue::Win20k); }
    void PlayEnding() { Play(Cue::Ending); }
    void PlayNormalWin() { Play(Cue::NormalWin); }
    void PlayFastMoney() { Play(Cue::FastMoney); }
    void PlayFastMoneyPart1() { Play(Cue::FastMoneyPart1); }
    void PlayFastMoneyPart2() { Play(Cue::FastMoneyPart2); }
    void PlayAnswer() { Play(Cue::Answer); }
    void PlayControlSpinPass() { Play(Cue::ControlSpinPass); }
    void PlayAnswerReveal() { Play(Cue::AnswerReveal); }
    void PlayPodiumBuzzer() { Play(Cue::PodiumBuzzer); }
    void PlayRevealOther1() { Play(Cue::RevealOther1); }
    void PlayRevealOther2() { Play(Cue::RevealOther2); }
    void PlayRevealOther3() { Play(Cue::RevealOther3); }
    void PlayRevealOther4() { Play(Cue::RevealOther4); }
    void PlayRevealOther5() { Play(Cue::RevealOther5); }
    void PlayRevealOther6() { Play(Cue::RevealOther6); }
    void PlayRevealOther7() { Play(Cue::RevealOther7); }
    void PlayRevealOther8() { Play(Cue::RevealOther8); }
    void PlayAnswerRevealSfx() { Play(Cue::AnswerRevealSfx); }
    void PlayAnswerOk() { Play(Cue::AnswerOk); }
    void PlayWonRound() { Play(Cue::WonRound); }
    void PlayStrikeSfx() { Play(Cue::StrikeSfx); }
    void PlayStealFailure() { Play(Cue::StealFailure); }
    void PlayRevealOthers() { Play(Cue::RevealOthers); }
    void PlayFastMoneyRevealOthers() { Play(Cue::FastMoneyRevealOthers); }
    void PlayStealSuccess() { Play(Cue::StealSuccess); }
    void PlayStrikeBadAnswer() { Play(Cue::StrikeBadAnswer); }
    void PlayStrikeTimeout() { Play(Cue::StrikeTimeout); }
    void PlayAnswerTwoStrikes() { Play(Cue::AnswerTwoStrikes); }
    void PlayThirdStrike() { Play(Cue::ThirdStrike); }
    void PlayRoundSuddenDeath() { Play(Cue::RoundSuddenDeath); }
    void PlayFamilyControls() { Play(Cue::FamilyControls); }
    void PlayChanceToSteal() { Play(Cue::ChanceToSteal); }
    void PlayCountdownMusic() { Play(Cue::CountdownMusic); }
    void PlayFaceOffMusic() { Play(Cue::FaceOffMusic); }
    void PlayEndRoundMusic() { Play(Cue::EndRoundMusic); }
    void PlayFastMoneyDupeAnswer() { Play(Cue::FastMoneyDupeAnswer); }
    void PlayEndClock() { Play(Cue::EndClock); }
    void PlayFastMoneyResult() { Play(Cue::FastMoneyResult); }
    void PlayFastMoneyResultZero() { Play(Cue::FastMoneyResultZero); }
    void PlayFastMoneyRevealSfx() { Play(Cue::FastMoneyRevealSfx); }

    GameShow::SequenceManager* GetSequenceManager() const { return m_SequenceManager; }
    GameServices::Entities::Set* GetSet() const { return m_Set; }
    const TString<char>& GetSequenceHolder() const { return m_SequenceHolder; }
    const TString<char>& GetTutorialCue() const { return m_TutorialCue; }
    const TString<char>& GetCrowdCue() const { return m_CrowdCue; }
    f32 GetCategoryVolume(int category) const { return m_Categories[Index(category)].volume; }
    const std::vector<TString<char>>& GetCategoryNames(int category) const {
        return m_Categories[Index(category)].names;
    }

private:
    struct AudioCategory {
        f32 volume = 0.0f;
        std::vector<TString<char>> names;
    };
    struct AudioVolumeFader {
        TString<char> name;
        GameServices::Entities::Set* set = nullptr;
        f32 target = 0.0f;
        f32 current = 0.0f;
        f32 step = 0.0f;
        bool stopAtEnd = false;
    };
    // Category numbers outside 0..3 count as voice.
    static int Index(int category) { return category >= 0 && category < kCategoryCount ? category : kVoice; }
    static void OnHolderEnd(void* manager);
    bool HasAsset(const TString<char>& name) const;
    bool Create(const TString<char>& name, const TString<char>& file, f32 volume, bool streamed, bool looped);
    static void AppendCrowdSounds(std::vector<CueSound>& sounds);
    void PlayNamed(Cue cue, const TString<char>& name);

    TString<char> m_SequenceHolder;
    GameServices::Entities::Set* m_Set = nullptr;
    GameShow::SequenceManager* m_SequenceManager = nullptr;
    AudioCategory m_Categories[kCategoryCount];
    AudioVolumeFader m_Faders[kFaderCount];
    TString<char> m_CrowdCue;
    TString<char> m_TutorialCue;
};

}  // namespace QZ2011
