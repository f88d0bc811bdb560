// The show's sound cues: one row each, played through PlayCue and, for the host's lines, a
// hold on the running sequence.
#include <algorithm>
#include <iterator>

#include "engine/core/AGLog.h"
#include "game/QZ2011GameContext.h"
#include "game/presentation/AudioManagerQZ.h"

namespace QZ2011 {

namespace {

using Cue = AudioManagerQZ::Cue;
constexpr u8 Mu = AudioManagerQZ::kMusic;
constexpr u8 V = AudioManagerQZ::kVoice;
constexpr u8 S = AudioManagerQZ::kSfx;

// sound, variants, category, streamed, looped, stops its category first, holds the sequence
constexpr AudioManagerQZ::CueRow kCues[] = {
    {"music_intro.snd", 0, Mu, true, false, false, false},
    {"intro.snd", 0, V, false, false, true, true},
    {"family1intro", 3, V, false, false, true, true},
    {"Family2Intro", 3, V, false, false, true, true},
    {"round1", 3, V, true, false, true, true},
    {"round2", 3, V, true, false, true, true},
    {"round3", 3, V, true, false, true, true},
    {"round4", 3, V, true, false, true, true},
    {"faceoff", 6, V, false, false, false, true},
    {"fastmoneyreveal1.snd", 0, V, false, false, true, false},
    {"fastmoneyreveal2.snd", 0, V, false, false, true, false},
    {"fastmoneyreveal3.snd", 0, V, false, false, true, false},
    {"fastmoneyreveal4.snd", 0, V, false, false, false, false},
    {"fastmoneyreveal5.snd", 0, V, false, false, true, false},
    {"faceoffquestion1.snd", 0, V, false, false, false, true},
    {"faceoffquestion2.snd", 0, V, false, false, true, true},
    {"faceoffquestion3.snd", 0, V, false, false, true, true},
    {"faceoffquestion4.snd", 0, V, false, false, true, true},
    {"faceoffquestion5.snd", 0, V, false, false, true, true},
    {"faceoffquestion6.snd", 0, V, false, false, true, true},
    {"faceoffquestion7.snd", 0, V, false, false, true, true},
    {"faceoffquestion8.snd", 0, V, false, false, true, true},
    {"20kwin.snd", 0, V, false, false, true, false},
    {"ending.snd", 0, V, false, false, true, true},
    {"normalwin.snd", 0, V, true, false, true, false},
    {"fastmoney", 3, V, false, false, true, true},
    {"fastmoneypart1.snd", 0, V, true, false, true, true},
    {"fastmoneypart2.snd", 0, V, true, false, true, true},
    {"answer", 7, V, false, false, true, true},
    {"controlspinpass", 6, V, false, false, true, true},
    {"answerreveal", 11, V, false, false, true, true},
    {"sfx_podiumbuzzer.snd", 0, S, false, false, true, true},
    {"revealother1.snd", 0, V, false, false, false, true},
    {"revealother2.snd", 0, V, false, false, false, true},
    {"revealother3.snd", 0, V, false, false, false, true},
    {"revealother4.snd", 0, V, false, false, false, true},
    {"revealother5.snd", 0, V, false, false, false, true},
    {"revealother6.snd", 0, V, false, false, false, true},
    {"revealother7.snd", 0, V, false, false, false, true},
    {"revealother8.snd", 0, V, false, false, false, true},
    {"sfx_answerreveal.snd", 0, S, false, false, true, false},
    {"answerok", 6, V, false, false, true, true},
    {"wonround", 4, V, false, false, true, true},
    {"sfx_strike.snd", 0, S, false, false, true, false},
    {"stealfailure.snd", 0, V, false, false, true, true},
    {"revealothers", 5, V, false, false, true, true},
    {"revealothersA.snd", 0, V, false, false, true, false},
    {"stealsuccess.snd", 0, V, false, false, true, true},
    {"receivedstrikebadanswer", 7, V, false, false, true, true},
    {"recievedstriketimeout", 2, V, false, false, true, true},
    {"answertwostrikes", 5, V, false, false, true, true},
    {"recievedthirdstrike", 4, V, false, false, true, true},
    {"roundsuddendeath", 3, V, true, false, true, true},
    {"familycontrols", 5, V, false, false, true, true},
    {"chancetosteal", 5, V, false, false, true, true},
    {"Music_Countdown.loop.snd", 0, Mu, true, true, false, false},
    {"music_faceoff.snd", 0, Mu, true, false, true, false},
    {"music_endround.snd", 0, Mu, false, false, true, false},
    {"FaceOffBetterAnswer", 5, V, false, false, true, true},
    {"SFX_FM_DupeAnswer.snd", 0, S, false, false, true, false},
    {"SFX_EndClock.snd", 0, S, false, false, true, false},
    {"SFX_FM_Result.snd", 0, S, false, false, true, false},
    {"SFX_FM_Result0.snd", 0, S, false, false, true, false},
    {"SFX_FM_Reveal.snd", 0, S, false, false, true, false},
    {"tutorialflow", 0, V, false, false, true, false},
    {"", 0, V, true, false, true, false},
};
static_assert(std::size(kCues) == size_t(Cue::Count));

// The computer family by decade (70s to 00s) and difficulty (easy to hard).
constexpr const char* kComputerFamilies[4][3] = {
    {"AiFamily_theWendle", "AiFamily_theBrask", "AiFamily_theGimbrel"},
    {"AiFamily_theTassley", "AiFamily_theOlvira", "AiFamily_theKelvish"},
    {"AiFamily_theZandor", "AiFamily_thePellory", "AiFamily_theVassen"},
    {"AiFamily_theIdwyn", "AiFamily_theLunmark", "AiFamily_theQuessel"},
};

constexpr u32 kLastTutorialPage = 6;

}  // namespace

const AudioManagerQZ::CueRow& AudioManagerQZ::Row(Cue cue) { return kCues[size_t(cue)]; }

std::vector<AudioManagerQZ::CueSound> AudioManagerQZ::SoundsOf(Cue cue) {
    std::vector<CueSound> sounds;
    if (size_t(cue) >= size_t(Cue::Count))
        return sounds;
    const CueRow& row = Row(cue);
    const std::string base = row.sound;
    const std::string name = base.ends_with(".snd") ? base.substr(0, base.size() - 4) : base;
    if (cue == Cue::TutorialFlow) {
        for (u32 page = 0; page <= kLastTutorialPage; ++page)
            sounds.push_back({name, base + std::to_string(page) + ".snd", row.streamed});
    } else if (row.variants) {
        for (u8 letter = 0; letter < row.variants; ++letter)
            sounds.push_back({name, base + char('A' + letter) + ".snd", row.streamed});
    } else if (!base.empty()) {
        sounds.push_back({name, base, row.streamed});
    }
    if (cue == Cue::Family2Intro)
        for (const auto& decade : kComputerFamilies)
            for (const char* family : decade)
                sounds.push_back({family, std::string(family) + ".snd", row.streamed});
    return sounds;
}

std::vector<AudioManagerQZ::CueSound> AudioManagerQZ::CueSounds() {
    std::vector<CueSound> sounds;
    for (size_t cue = 0; cue < size_t(Cue::Count); ++cue)
        for (CueSound& sound : SoundsOf(Cue(cue)))
            sounds.push_back(std::move(sound));
    AppendCrowdSounds(sounds);
    // Two cues may play one sound: list it once, with the first cue.
    std::vector<CueSound> unique;
    for (CueSound& sound : sounds)
        if (std::none_of(unique.begin(), unique.end(), [&](const CueSound& u) { return u.name == sound.name; }))
            unique.push_back(std::move(sound));
    return unique;
}

void AudioManagerQZ::PlayNamed(Cue cue, const TString<char>& name) {
    const CueRow& row = Row(cue);
    PlayCue(name, row.category, row.streamed, row.looped, row.stopsCategory);
    if (row.holds)
        AudioPauseSequence(name);
}

void AudioManagerQZ::Play(Cue cue) {
    const CueRow& row = Row(cue);
    TString<char> name(row.sound);
    if (row.variants) {
        const char letter[2] = {RandomVariantLetter(row.variants), '\0'};
        name += letter;
        name += ".snd";
    }
    PlayNamed(cue, name);
}

void AudioManagerQZ::PlayFamily2Intro() {
    const QZ2011GameContext* context = QZ2011GameContext::Current();
    if (context && context->m_TwoPlayers == 1) {
        Play(Cue::Family2Intro);
        return;
    }
    // Out of the table the base is empty: ".snd", which no package holds.
    TString<char> name;
    if (context && context->m_Decade < 4 && context->m_Difficulty < 3)
        name = kComputerFamilies[context->m_Decade][context->m_Difficulty];
    PlayNamed(Cue::Family2Intro, name + ".snd");
}

void AudioManagerQZ::PlayFaceOffBetterAnswer() {
    const QZ2011GameContext* context = QZ2011GameContext::Current();
    if (context && context->m_LastAnswerIndex != -1 && context->m_FaceOffWinner == -1)
        Play(Cue::FaceOffBetterAnswer);
    else
        PlayAnswer();
}

void AudioManagerQZ::PlayTutorialFlow(u32 page) {
    m_TutorialCue = "";
    if (page > kLastTutorialPage)
        return;
    m_TutorialCue = TString<char>(Row(Cue::TutorialFlow).sound) + TString<char>::FromUnsigned(page) + ".snd";
    PlayNamed(Cue::TutorialFlow, m_TutorialCue);
}

void AudioManagerQZ::PlayVoice(const TString<char>& name) { PlayNamed(Cue::Voice, VoiceSound(name)); }

void AudioManagerQZ::StopVoice(const TString<char>& name) { StopCue(VoiceSound(name), kVoice); }

void AudioManagerQZ::StopCountdownMusic() { StopCue(Row(Cue::CountdownMusic).sound, kMusic); }

}  // namespace QZ2011
